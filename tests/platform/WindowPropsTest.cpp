#include "PlatformTestSupport.h"

#include <string>
#include <vector>

namespace {

using WindowProps = PlatformTest;

TEST_F(WindowProps, PropertiesAreNamedHandlesThatLiveWithTheWindow)
{
    HWND w = CreateTop(RECT { 0, 0, 50, 50 });
    int a = 0;
    int b = 0;
    EXPECT_TRUE(SetProp(w, "Owner", &a));
    EXPECT_EQ(GetProp(w, "OWNER"), &a) << "names compare without case";
    EXPECT_TRUE(SetProp(w, "owner", &b));
    EXPECT_EQ(GetProp(w, "Owner"), &b) << "setting again replaces";
    const char* atom = MAKEINTRESOURCE(0xC123);
    EXPECT_TRUE(SetProp(w, atom, &a));
    EXPECT_EQ(GetProp(w, atom), &a);
    EXPECT_EQ(GetProp(w, "missing"), nullptr);

    static std::vector<std::string> seen;
    seen.clear();
    EXPECT_EQ(EnumProps(w, [](HWND, const char* name, HANDLE) -> BOOL {
        seen.push_back(IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(name)) : name);
        return TRUE;
    }), TRUE);
    EXPECT_EQ(seen, (std::vector<std::string> { "#49443", "Owner" })) << "newest first";
    EXPECT_EQ(EnumProps(w, nullptr), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    EXPECT_EQ(RemoveProp(w, "Owner"), &b);
    EXPECT_EQ(GetProp(w, "Owner"), nullptr);
    EXPECT_EQ(RemoveProp(w, "Owner"), nullptr);
    EXPECT_FALSE(SetProp(w, "", &a)) << "a property needs a name";

    DestroyWindow(w);
    EXPECT_EQ(GetProp(w, atom), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(WindowProps, DeferredPositionsApplyTogetherAtTheEnd)
{
    HWND parent = CreateTop(RECT { 0, 0, 300, 300 });
    HWND first = CreateChild(parent, RECT { 0, 0, 10, 10 });
    HWND second = CreateChild(parent, RECT { 0, 20, 10, 30 });
    HWND stranger = CreateTop(RECT { 0, 0, 10, 10 });
    Pump();
    StartLog();
    HDWP batch = BeginDeferWindowPos(2);
    ASSERT_NE(batch, nullptr);
    batch = DeferWindowPos(batch, first, nullptr, 5, 5, 50, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    batch = DeferWindowPos(batch, second, nullptr, 5, 40, 50, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    batch = DeferWindowPos(batch, first, nullptr, 6, 6, 60, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_NE(batch, nullptr);
    EXPECT_TRUE(Only({ WM_WINDOWPOSCHANGING }).empty()) << "nothing moves before the end";
    EXPECT_TRUE(EndDeferWindowPos(batch));
    EXPECT_EQ(Steps({ WM_WINDOWPOSCHANGED }),
        (std::vector<TStep> { { first, WM_WINDOWPOSCHANGED }, { second, WM_WINDOWPOSCHANGED } }));
    RECT r;
    GetWindowRect(first, &r);
    EXPECT_EQ(r.left, 6) << "the later call for a window replaces the earlier";
    EXPECT_EQ(r.right - r.left, 60);
    GetWindowRect(second, &r);
    EXPECT_EQ(r.top, 40);
    EXPECT_FALSE(EndDeferWindowPos(batch)) << "a batch ends once";

    // A window of another parent, or a bad flag, ends the batch there.
    batch = BeginDeferWindowPos(1);
    batch = DeferWindowPos(batch, first, nullptr, 0, 0, 10, 10, SWP_NOZORDER);
    HDWP failed = DeferWindowPos(batch, stranger, nullptr, 0, 0, 10, 10, SWP_NOZORDER);
    EXPECT_EQ(failed, nullptr);
    EXPECT_EQ(DeferWindowPos(batch, first, nullptr, 0, 0, 10, 10, 0), nullptr) << "the batch is gone";
    batch = BeginDeferWindowPos(1);
    EXPECT_EQ(DeferWindowPos(batch, first, nullptr, 0, 0, 10, 10, UINT(0x8000)), nullptr);
}

} // namespace

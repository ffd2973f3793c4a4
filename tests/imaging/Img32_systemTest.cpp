#include "imaging/Img32_system.h"

#include "imaging/Img32_drawingex.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Img32_system;
using Img32_drawingex::ClipLine;

TEST(Img32_system, HasMMXOnThisProcessor)
{
#if defined(__x86_64__)
    EXPECT_TRUE(HasMMX());
#else
    EXPECT_FALSE(HasMMX());
#endif
}

TEST(Img32_drawingex, ClipLineCases)
{
    struct Case {
        int32_t x1, y1, x2, y2, minX, minY, maxX, maxY;
        bool visible;
        int32_t ex1, ey1, ex2, ey2;
    };
    const Case kCases[] = {
        { -10, 5, 20, 5, 0, 0, 9, 9, true, 0, 5, 9, 5 },
        { -5, 3, 3, -5, 0, 0, 100, 100, false, 0, 0, 0, 0 },
        { -5, 50, 50, -5, 0, 0, 100, 100, true, 0, 45, 45, 0 },
        { 2, 3, 7, 8, 0, 0, 9, 9, true, 2, 3, 7, 8 },
        { 5, -10, 5, 20, 0, 0, 9, 9, true, 5, 0, 5, 9 },
        { -3, -3, -1, 20, 0, 0, 9, 9, false, 0, 0, 0, 0 },
        { 50, 150, 150, 50, 0, 0, 100, 100, true, 100, 100, 100, 100 },
        // 16.16 coordinates far apart: the differences pass the 32-bit range and must not trap.
        { -0x7FFF0000, 0, 0x7FFF0000, 0, -0x10000, -0x10000, 0x100000, 0x100000, true, -0x10000, 0, 0x100000, 0 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " - " << c.x2 << "," << c.y2);
        int32_t x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        ASSERT_EQ(ClipLine(x1, y1, x2, y2, c.minX, c.minY, c.maxX, c.maxY), c.visible);
        if (c.visible) {
            EXPECT_EQ(x1, c.ex1);
            EXPECT_EQ(y1, c.ey1);
            EXPECT_EQ(x2, c.ex2);
            EXPECT_EQ(y2, c.ey2);
        }
    }
}

namespace {

// A visual-styles library that records what is asked of it.
struct TFakeThemes {
    bool themed = true;
    HTHEME next = 100;
    std::vector<std::string> calls;
};
TFakeThemes* gFake = nullptr;

HTHEME FakeOpen(HWND, const char* classList)
{
    gFake->calls.push_back(std::string("open ") + classList);
    return gFake->next++;
}
HRESULT FakeClose(HTHEME theme)
{
    gFake->calls.push_back("close " + std::to_string(theme));
    return 0;
}
BOOL FakeActive()
{
    return gFake->themed;
}
BOOL FakeAppThemed()
{
    return TRUE;
}
HRESULT FakeEnable(BOOL)
{
    return 0;
}

const TThemeLibrary kFullLibrary = { &FakeOpen, &FakeClose, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    &FakeActive, &FakeAppThemed, &FakeEnable };
const TThemeLibrary kBrokenLibrary = { &FakeOpen, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    &FakeActive, &FakeAppThemed, &FakeEnable };

class ThemeBinding : public testing::Test {
protected:
    void SetUp() override { gFake = &fake; }
    void TearDown() override
    {
        UnloadThemeLibrary();
        ThemeLibraryLoader = saved;
        USE_THEMES = false;
        SCROLLBAR_THEME = GLOBALS_THEME = 0;
        gFake = nullptr;
    }
    TFakeThemes fake;
    TThemeLibraryLoader saved = ThemeLibraryLoader;
};

} // namespace

TEST_F(ThemeBinding, WithoutALibraryEverythingStaysClassic)
{
    EXPECT_FALSE(LoadThemeLibrary());
    TThemeNexus nexus;
    EXPECT_FALSE(USE_THEMES);
    EXPECT_EQ(OpenThemeData, nullptr);
    EXPECT_EQ(SCROLLBAR_THEME, 0u);
}

TEST_F(ThemeBinding, ALibraryMissingARequiredEntryIsUnloaded)
{
    ThemeLibraryLoader = [] { return &kBrokenLibrary; };
    EXPECT_FALSE(LoadThemeLibrary());
    EXPECT_EQ(OpenThemeData, nullptr);
    EXPECT_EQ(IsThemeActive, nullptr);
}

TEST_F(ThemeBinding, NexusOpensHandlesAndReopensThemOnAThemeChange)
{
    ThemeLibraryLoader = [] { return &kFullLibrary; };
    auto nexus = std::make_unique<TThemeNexus>();
    EXPECT_TRUE(USE_THEMES);
    EXPECT_EQ(SCROLLBAR_THEME, 100u);
    EXPECT_EQ(GLOBALS_THEME, 101u);

    // Styles switched off: the handles are not closed (themes are no longer available), USE_THEMES drops.
    fake.themed = false;
    nexus->WndProc(WM_THEMECHANGED, 0, 0);
    EXPECT_FALSE(USE_THEMES);
    EXPECT_EQ(SCROLLBAR_THEME, 100u);

    // Switched on again: the old handles are closed now that themes are available, and two new ones opened.
    fake.themed = true;
    nexus->WndProc(WM_THEMECHANGED, 0, 0);
    EXPECT_TRUE(USE_THEMES);
    EXPECT_EQ(SCROLLBAR_THEME, 102u);
    nexus.reset();
    EXPECT_EQ(SCROLLBAR_THEME, 0u);
    EXPECT_EQ(OpenThemeData, nullptr);
    const std::vector<std::string> expected = { "open SCROLLBAR", "open GLOBALS", "close 100", "close 101",
        "open SCROLLBAR", "open GLOBALS", "close 102", "close 103" };
    EXPECT_EQ(fake.calls, expected);
}

#include "GdiTestSupport.h"
#include "PlatformTestSupport.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

// A white 100x50 popup at (0, 0), painted, with the GDI's DCs drawing the caret.
class GdiCaret : public PlatformTest {
protected:
    void SetUp() override
    {
        InstallGdiDCProvider();
        PlatformTest::SetUp();
        Window = CreateTop(RECT { 0, 0, 100, 50 });
        Pump();
    }

    uint32_t At(int x, int y) { return Backend.WindowPixel(Window, x, y); }

    // Lets `ms` of virtual time pass and runs what falls due.
    void Wait(uint64_t ms)
    {
        Backend.AdvanceClock(ms);
        Pump();
    }

    HWND Window = nullptr;
};

TEST_F(GdiCaret, ShownCaretsBlinkOnTheClockAndHideCallsCount)
{
    ASSERT_EQ(At(10, 5), kWhite);
    ASSERT_TRUE(CreateCaret(Window, nullptr, 2, 10));
    ASSERT_TRUE(SetCaretPos(10, 5));
    Pump();
    EXPECT_EQ(At(10, 5), kWhite) << "a new caret is hidden";
    ASSERT_TRUE(ShowCaret(Window));
    EXPECT_EQ(At(10, 5), kBlack);
    EXPECT_EQ(At(11, 14), kBlack);
    EXPECT_EQ(At(12, 5), kWhite) << "two pixels wide";
    EXPECT_EQ(GetCaretBlinkTime(), 530u);
    Wait(529);
    EXPECT_EQ(At(10, 5), kBlack);
    Wait(1);
    EXPECT_EQ(At(10, 5), kWhite) << "off after one blink time";
    Wait(530);
    EXPECT_EQ(At(10, 5), kBlack) << "and on again";

    // Two hides need two shows; a hidden caret does not blink.
    HideCaret(Window);
    HideCaret(nullptr);
    EXPECT_EQ(At(10, 5), kWhite);
    Wait(530);
    EXPECT_EQ(At(10, 5), kWhite);
    ShowCaret(Window);
    EXPECT_EQ(At(10, 5), kWhite);
    ShowCaret(Window);
    EXPECT_EQ(At(10, 5), kBlack) << "on at once when it shows";
    ShowCaret(Window);
    HideCaret(Window);
    EXPECT_EQ(At(10, 5), kWhite) << "extra shows do not pile up";

    // Moving it redraws it at once, on, and the blink starts over; a new blink time counts from now.
    ShowCaret(Window);
    Wait(300);
    SetCaretPos(40, 20);
    EXPECT_EQ(At(10, 5), kWhite);
    EXPECT_EQ(At(40, 20), kBlack);
    POINT where {};
    EXPECT_TRUE(GetCaretPos(&where));
    EXPECT_EQ(where.x, 40);
    EXPECT_EQ(where.y, 20);
    EXPECT_TRUE(SetCaretBlinkTime(100));
    Wait(100);
    EXPECT_EQ(At(40, 20), kWhite);
    Wait(100);
    EXPECT_EQ(At(40, 20), kBlack);
    SetCaretBlinkTime(530);

    EXPECT_TRUE(DestroyCaret());
    EXPECT_EQ(At(40, 20), kWhite) << "destroying takes it off the screen";
    EXPECT_FALSE(ShowCaret(Window));
    EXPECT_FALSE(GetCaretPos(&where));
    EXPECT_FALSE(DestroyCaret());
}

TEST_F(GdiCaret, PaintingAndScrollingNeverLeaveAnInvertedCaretBehind)
{
    CreateCaret(Window, nullptr, 2, 10);
    SetCaretPos(10, 5);
    ShowCaret(Window);
    ASSERT_EQ(At(10, 5), kBlack);
    // A repaint erases the background under the shown caret; the caret is taken off first and put back after.
    InvalidateRect(Window, nullptr, TRUE);
    Pump();
    EXPECT_EQ(At(10, 5), kBlack);
    Wait(530);
    EXPECT_EQ(At(10, 5), kWhite) << "the blink still inverts the right way round";
    Wait(530);

    // Scrolling moves the caret with the pixels under it.
    ScrollWindowEx(Window, 0, 10, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
    Pump();
    POINT where {};
    GetCaretPos(&where);
    EXPECT_EQ(where.y, 15);
    EXPECT_EQ(At(10, 15), kBlack);
    EXPECT_EQ(At(10, 5), kWhite);

    // A caret dies with its window, and another window cannot show it.
    HWND other = CreateTop(RECT { 200, 0, 300, 50 });
    EXPECT_FALSE(ShowCaret(other));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    DestroyWindow(Window);
    EXPECT_FALSE(GetCaretPos(&where));
}

TEST_F(GdiCaret, GreyAndBitmapCaretsInvertByTheirPattern)
{
    CreateCaret(Window, CARET_GREY_BITMAP, 3, 3);
    ShowCaret(Window);
    EXPECT_EQ(At(1, 1), 0x7F7F7Fu) << "white XOR grey";

    // A 2x1 bitmap caret: its black pixel leaves the window alone, its white one inverts.
    HBITMAP bitmap = CreateBitmap(2, 1, 1, 32, nullptr);
    const uint32_t pixels[2] = { 0x000000, 0xFFFFFF };
    SetBitmapBits(bitmap, sizeof pixels, pixels);
    CreateCaret(Window, bitmap, 0, 0);
    EXPECT_EQ(At(1, 1), kWhite) << "the grey caret went with its replacement";
    SetCaretPos(20, 20);
    ShowCaret(Window);
    EXPECT_EQ(At(20, 20), kWhite);
    EXPECT_EQ(At(21, 20), kBlack);
    DestroyCaret();
    EXPECT_EQ(At(21, 20), kWhite);
    DeleteObject(bitmap);
}

} // namespace

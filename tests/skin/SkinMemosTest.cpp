// The skinned memos on the headless display: their scroll state mirrored into external skinned bars and back,
// the wheel, the read-only filter, and the text of a disabled memo.
#include "SkinControlsTestSupport.h"

#include "framework/graphics/TClipboard.h"
#include "platform/controls/EditControl.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinMemos.h"
#include "skin/controls/SkinScrollBars.h"

namespace {

class SkinMemosTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(0, 0, 400, 300);
        Form->Show();
        Pump();
    }

    template <class T> T* PlaceMemo(int lines)
    {
        auto* memo = new T(Form);
        memo->SetParent(Form);
        memo->SetBounds(10, 10, 200, 100);
        Bar = new TspSkinScrollBar(Form);
        Bar->SetParent(Form);
        Bar->SetKind(sbVertical);
        Bar->SetBounds(210, 10, 16, 100);
        memo->SetVScrollBar(Bar);
        std::string text;
        for (int i = 0; i < lines; ++i)
            text += "line " + std::to_string(i) + "\r\n";
        memo->SetText(text);
        Pump();
        return memo;
    }
    int FirstVisible(TWinControl* memo) { return int(SendMessage(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0)); }
    int VisibleLines(TWinControl* memo)
    {
        SCROLLINFO info {};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(memo->Handle(), SB_VERT, &info);
        return static_cast<int>(info.nPage);
    }

    TForm* Form = nullptr;
    TspSkinScrollBar* Bar = nullptr;
};

TEST_F(SkinMemosTest, BarsMirrorTheScrollStateAndScrollTheMemo)
{
    for (bool light : { false, true }) {
        SCOPED_TRACE(light ? "TspSkinMemo2" : "TspSkinMemo");
        TspSkinCustomMemo* memo
            = light ? static_cast<TspSkinCustomMemo*>(PlaceMemo<TspSkinMemo2>(100)) : PlaceMemo<TspSkinMemo>(100);
        const int page = VisibleLines(memo);
        ASSERT_GT(page, 2);
        EXPECT_EQ(Bar->Min(), 0);
        EXPECT_EQ(Bar->Max(), 100) << "the lines and the empty one after the last break";
        EXPECT_EQ(Bar->PageSize(), page);
        EXPECT_TRUE(Bar->Enabled());
        // Moving the bar scrolls the memo; scrolling the memo moves the bar.
        Bar->SetPosition(40);
        Pump();
        EXPECT_EQ(FirstVisible(memo), 40);
        SendMessage(memo->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
        Pump();
        EXPECT_EQ(Bar->Position(), 41);
        // A turn away from the user scrolls one line up per message.
        Backend.MouseMove(50, 50);
        memo->SetFocus();
        Backend.Wheel(240);
        Pump();
        EXPECT_EQ(FirstVisible(memo), 40);
        EXPECT_EQ(Bar->Position(), 40);
        // A text that fits disables the bar; so does disabling the memo.
        memo->SetText("short");
        Pump();
        EXPECT_FALSE(Bar->Enabled());
        memo->SetText(std::string(200, 'x') + "\r\n" + std::string(100 * 6, '\n'));
        Pump();
        EXPECT_TRUE(Bar->Enabled());
        memo->SetEnabled(false);
        Pump();
        EXPECT_FALSE(Bar->Enabled());
        delete memo;
        delete Bar;
    }
}

// The thumb message carries 16 bits; a bar past 65,535 lines must still bring the memo to its own line.
TEST_F(SkinMemosTest, ABarBeyondSixteenBitsScrollsTheMemoToItsLine)
{
    TspSkinMemo* memo = PlaceMemo<TspSkinMemo>(70000);
    ASSERT_EQ(Bar->Max(), 70000);
    for (int line : { 66000, 65536, 1000 }) {
        Bar->SetPosition(line);
        Pump();
        EXPECT_EQ(FirstVisible(memo), line);
    }
    delete memo;
    delete Bar;
}

TEST_F(SkinMemosTest, ReadOnlyMemoCopiesButChangesNothing)
{
    TspSkinMemo* memo = PlaceMemo<TspSkinMemo>(3);
    memo->SetReadOnly(true);
    const std::string before = memo->Text();
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    memo->SetFocus();
    memo->SetSelStart(0);
    memo->SetSelLength(4);
    Pump();
    Clipboard()->SetAsText("other");
    for (char32_t c : std::u32string(U"ab\r\b"))
        Backend.Char(c);
    Backend.Key(VK_DELETE);
    Pump();
    for (UINT message : { WM_CUT, WM_PASTE, WM_CLEAR, WM_UNDO })
        SendMessage(memo->Handle(), message, 0, 0);
    Pump();
    EXPECT_EQ(memo->Text(), before);
    EXPECT_EQ(changes, 0);
    Backend.KeyDown(VK_CONTROL);
    Backend.Key('C');
    Backend.KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(Clipboard()->AsText(), "line");
}

TEST_F(SkinMemosTest, DisabledMemoDrawsOneLineFewerThanFitInTheDisabledColour)
{
    TspSkinMemo* memo = PlaceMemo<TspSkinMemo>(40);
    memo->SetEnabled(false);
    Pump();
    // Count the rows holding grey text pixels: the last visible line is left out.
    const uint32_t grey = Rgb(clGrayText);
    int rowsWithText = 0;
    for (int y = 10; y < 110; ++y) {
        bool text = false;
        for (int x = 14; x < 60 && !text; ++x)
            text = Backend.WindowPixel(Form->Handle(), x, y) == grey;
        rowsWithText += text;
    }
    EXPECT_GT(rowsWithText, 0);
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->Font()->Assign(memo->DefaultFont());
    const int lineHeight = measure.Canvas()->TextHeight("Wq");
    const int linesPerPage = memo->ClientHeight() / lineHeight;
    EXPECT_LE(rowsWithText, (linesPerPage - 1) * lineHeight);
    EXPECT_GT(rowsWithText, (linesPerPage - 2) * lineHeight / 2);
}

} // namespace

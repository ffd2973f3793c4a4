#include "ControlsTestSupport.h"

#include "framework/controls/Mask.h"
#include "framework/controls/StdCtrls.h"
#include "framework/core/FormatSettings.h"
#include "framework/graphics/TClipboard.h"
#include "platform/controls/EditControl.h"
#include "platform/win/VirtualKeys.h"

namespace {

class EditsTest : public ControlsTest {
protected:
    template <class T> T* Make(TForm* form, int x, int y, int width, int height)
    {
        auto* control = new T(form);
        control->SetParent(form);
        control->SetBounds(x, y, width, height);
        return control;
    }
    void Type(const std::string& ascii)
    {
        for (char c : ascii)
            Backend.Char(static_cast<unsigned char>(c));
        Pump();
    }
};

TEST_F(EditsTest, TypingIntoAnEditChangesItsTextAndFiresOnChangeEachTime)
{
    TForm* form = NewForm(100, 100, 300, 200);
    form->Show();
    auto* edit = Make<TEdit>(form, 10, 10, 150, 24);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText("start");
    EXPECT_EQ(changes, 1);
    Pump();
    Click(100 + 10 + 140, 100 + 20);
    ASSERT_TRUE(edit->Focused());
    edit->SetSelStart(5);
    Type(" more");
    EXPECT_EQ(edit->Text(), "start more");
    EXPECT_EQ(changes, 6);
    EXPECT_TRUE(edit->Modified());

    edit->SetSelStart(0);
    edit->SetSelLength(5);
    EXPECT_EQ(edit->SelText(), "start");
    EXPECT_TRUE(edit->CanUndo());
    edit->Undo();
    EXPECT_EQ(edit->Text(), "start");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "start more");
    // Text replaced by the program cannot be undone, nor what came before it.
    edit->SetSelStart(0);
    edit->SetSelLength(5);
    edit->SetSelText("begin");
    EXPECT_EQ(edit->Text(), "begin more");
    EXPECT_FALSE(edit->CanUndo());
    edit->SetSelStart(0);
    edit->SetSelLength(5);
    edit->SetSelText("start");

    // A limit applies from now on; the window made again keeps the text, the limit and Modified.
    edit->SetMaxLength(12);
    edit->SetSelStart(10);
    Type("xyz");
    EXPECT_EQ(edit->Text(), "start morexy");
    edit->SetCharCase(ecUpperCase); // a style: the window is made again
    EXPECT_EQ(edit->Text(), "START MOREXY");
    EXPECT_TRUE(edit->Modified());
    edit->SetSelStart(12);
    Type("q");
    EXPECT_EQ(edit->Text(), "START MOREXY");

    // Setting the text it holds is no change.
    changes = 0;
    edit->SetText("START MOREXY");
    EXPECT_EQ(changes, 0);
}

TEST_F(EditsTest, TheEditsColourIsItsBackgroundAndReadOnlyKeepsTheText)
{
    TForm* form = NewForm(100, 100, 300, 200);
    form->Show();
    auto* edit = Make<TEdit>(form, 10, 10, 150, 24);
    edit->SetBorderStyle(ebsNone);
    edit->SetColor(clYellow);
    edit->SetText("ab");
    Pump();
    EXPECT_EQ(Backend.WindowPixel(form->Handle(), 10 + 140, 10 + 20) & 0xFFFFFF, 0xFFFF00u);
    edit->SetReadOnly(true);
    edit->SetFocus();
    Type("cd");
    EXPECT_EQ(edit->Text(), "ab");
}

TEST_F(EditsTest, MemoLinesReadAndWriteTheWindowsLines)
{
    TForm* form = NewForm(100, 100, 300, 200);
    form->Show();
    auto* memo = Make<TMemo>(form, 10, 10, 250, 150);
    memo->SetWordWrap(false);
    TStrings* lines = memo->Lines();
    lines->Add("one");
    lines->Add("two");
    lines->Insert(1, "one and a half");
    EXPECT_EQ(memo->Text(), "one\r\none and a half\r\ntwo");
    EXPECT_EQ(lines->Count(), 3);
    EXPECT_EQ(lines->Strings(1), "one and a half");
    lines->SetStrings(2, "2");
    lines->Delete(0);
    EXPECT_EQ(memo->Text(), "one and a half\r\n2");
    lines->Delete(1);
    EXPECT_EQ(memo->Text(), "one and a half");
    // A final line break makes no empty last line.
    memo->SetText("a\r\nb\r\n");
    EXPECT_EQ(lines->Count(), 2);
    lines->Add("c");
    EXPECT_EQ(memo->Text(), "a\r\nb\r\nc\r\n");
    lines->Clear();
    EXPECT_EQ(lines->Count(), 0);

    // Enter breaks the line while WantReturns; otherwise it is left to the form.
    memo->SetFocus();
    Type("x\ry");
    EXPECT_EQ(memo->Text(), "x\r\ny");
    EXPECT_EQ(memo->CaretPos(), (TPoint {1, 1}));
    memo->SetWantReturns(false);
    Type("\r");
    EXPECT_EQ(memo->Text(), "x\r\ny");
    EXPECT_FALSE(memo->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
}

TEST_F(EditsTest, MaskEditOverwritesPositionsAndRefusesToLeaveWhileIncomplete)
{
    TForm* form = NewForm(100, 100, 300, 200);
    form->Show();
    auto* edit = Make<TMaskEdit>(form, 10, 10, 150, 24);
    edit->SetEditMask(std::string("00") + "\\-" + "00;0;_");
    EXPECT_TRUE(edit->IsMasked());
    EXPECT_EQ(edit->EditText(), "__-__");
    edit->SetFocus();
    edit->SetSelStart(0);
    Type("1x2");
    EXPECT_EQ(edit->EditText(), "12-__");
    EXPECT_EQ(edit->SelStart(), 3); // past the literal
    EXPECT_THROW(edit->ValidateEdit(), EDBEditError);
    EXPECT_EQ(edit->SelStart(), 3);
    Type("34");
    EXPECT_EQ(edit->EditText(), "12-34");
    EXPECT_EQ(edit->Text(), "1234"); // literals not saved
    EXPECT_NO_THROW(edit->ValidateEdit());
    Backend.Key(VK_BACK);
    Pump();
    EXPECT_EQ(edit->EditText(), "12-3_");
    edit->SetText("9876");
    EXPECT_EQ(edit->EditText(), "98-76");
    edit->SetSelStart(0);
    edit->SetSelLength(2);
    edit->ClearSelection();
    EXPECT_EQ(edit->EditText(), "__-76");
}

TEST_F(EditsTest, ClipboardKeysGoThroughTheMasksOwnHandling)
{
    TForm* form = NewForm(100, 100, 300, 200);
    form->Show();
    auto* edit = Make<TMaskEdit>(form, 10, 10, 150, 24);
    edit->SetEditMask(std::string("00") + "\\-" + "00;0;_");
    std::vector<UINT> seen;
    const auto previous = edit->WindowProc;
    edit->WindowProc = [&](TMessage& message) {
        if (message.Msg == WM_CUT || message.Msg == WM_COPY || message.Msg == WM_PASTE || message.Msg == WM_UNDO)
            seen.push_back(message.Msg);
        previous(message);
    };
    edit->SetFocus();
    edit->SetText("1234");
    auto press = [&](UINT modifier, UINT key) {
        Backend.KeyDown(modifier);
        Backend.Key(key);
        Backend.KeyUp(modifier);
        Pump();
    };
    struct Case {
        UINT modifier, key;
        const char* clipboard;
        int selStart, selLength;
        const char* editText;
        UINT message;
    };
    // Pasted text is typed into the positions and cut text leaves blanks, literals in place.
    const Case kCases[] = {
        { VK_CONTROL, 'X', nullptr, 0, 2, "__-34", WM_CUT },
        { VK_CONTROL, 'V', "56", 0, 0, "56-34", WM_PASTE },
        { VK_SHIFT, VK_INSERT, "7", 3, 0, "56-74", WM_PASTE },
        { VK_SHIFT, VK_DELETE, nullptr, 0, 5, "__-__", WM_CUT },
        { VK_CONTROL, VK_INSERT, nullptr, 0, 0, "__-__", WM_COPY },
        { VK_CONTROL, 'Z', nullptr, 0, 0, nullptr, WM_UNDO },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.message * 1000 + c.key);
        if (c.clipboard)
            Clipboard()->SetAsText(c.clipboard);
        edit->SetSelStart(c.selStart);
        edit->SetSelLength(c.selLength);
        seen.clear();
        press(c.modifier, c.key);
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.front(), c.message) << "a cut copies through WM_COPY after it";
        if (c.editText)
            EXPECT_EQ(edit->EditText(), c.editText);
    }
    EXPECT_EQ(Clipboard()->AsText(), "56-74") << "what the last cut took";
    edit->WindowProc = previous;
}

TEST_F(EditsTest, MaskSeparatorsAreTheProgramsDateAndTimeSeparators)
{
    TForm* form = NewForm(100, 100, 300, 200);
    form->Show();
    TFormatSettings& settings = FormatSettings();
    const TFormatSettings saved = settings;
    settings.TimeSeparator = U'.';
    settings.DateSeparator = U'-';
    auto* edit = Make<TMaskEdit>(form, 10, 10, 150, 24);
    edit->SetEditMask("!90:00;1;_");
    EXPECT_EQ(edit->EditText(), "__.__");
    edit->SetEditMask("00/00;1;_");
    EXPECT_EQ(edit->EditText(), "__-__");
    settings = saved;
}

} // namespace

// The rich edit window class through the headless backend: character and paragraph formats by their messages,
// streaming in and out, the notifications its event mask asks for, its scroll bars and what it paints.
#include "EditTestSupport.h"
#include "tests/platform/GdiTestSupport.h"

#include "platform/controls/RichEditControl.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinSystem.h"

#include <cstring>

namespace {

class RichEditTest : public EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        ASSERT_NE(RegisterRichEditClass(), 0);
        Self = this;
        Previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtr(Parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RichEditTest::NotifyProc)));
    }
    void TearDown() override
    {
        Self = nullptr;
        EditTest::TearDown();
    }

    HWND MakeRich(DWORD style, const RECT& r, const char* text = "")
    {
        HWND edit = CreateWindowEx(0, WC_RICHEDIT, text, WS_CHILD | WS_VISIBLE | ES_MULTILINE | style, r.left, r.top,
            r.right - r.left, r.bottom - r.top, Parent, reinterpret_cast<HMENU>(uintptr_t(kEditId)), nullptr, nullptr);
        SendMessage(edit, WM_SETFONT, reinterpret_cast<WPARAM>(Font), 0);
        return edit;
    }

    static void Select(HWND edit, LONG from, LONG to)
    {
        CHARRANGE range {from, to};
        SendMessage(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    }
    static CHARFORMAT Format(DWORD mask, DWORD effects, LONG twips = 0, COLORREF colour = 0, const char* face = "")
    {
        CHARFORMAT cf {};
        cf.cbSize = sizeof cf;
        cf.dwMask = mask;
        cf.dwEffects = effects;
        cf.yHeight = twips;
        cf.crTextColor = colour;
        std::strncpy(cf.szFaceName, face, sizeof cf.szFaceName - 1);
        return cf;
    }
    static void SetFormat(HWND edit, WPARAM scope, CHARFORMAT cf)
    {
        EXPECT_TRUE(SendMessage(edit, EM_SETCHARFORMAT, scope, reinterpret_cast<LPARAM>(&cf)));
    }
    static CHARFORMAT SelectionFormat(HWND edit)
    {
        CHARFORMAT cf {};
        cf.cbSize = sizeof cf;
        SendMessage(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        return cf;
    }
    static void Align(HWND edit, WORD alignment)
    {
        PARAFORMAT pf {};
        pf.cbSize = sizeof pf;
        pf.dwMask = PFM_ALIGNMENT;
        pf.wAlignment = alignment;
        SendMessage(edit, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
    }
    static int X(HWND edit, int position)
    {
        return static_cast<int16_t>(LOWORD(SendMessage(edit, EM_POSFROMCHAR, position, 0)));
    }

    // Streams: out into a string, in from a string in small pieces.
    static DWORD Collect(uintptr_t cookie, BYTE* buffer, LONG cb, LONG* pcb)
    {
        reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<char*>(buffer), cb);
        *pcb = cb;
        return 0;
    }
    struct Source {
        std::string Bytes;
        size_t At = 0;
    };
    static DWORD Supply(uintptr_t cookie, BYTE* buffer, LONG cb, LONG* pcb)
    {
        auto* source = reinterpret_cast<Source*>(cookie);
        size_t n = std::min<size_t>({static_cast<size_t>(cb), source->Bytes.size() - source->At, 7});
        std::memcpy(buffer, source->Bytes.data() + source->At, n);
        source->At += n;
        *pcb = static_cast<LONG>(n);
        return 0;
    }
    static std::string StreamOut(HWND edit, WPARAM format)
    {
        std::string out;
        EDITSTREAM stream {reinterpret_cast<uintptr_t>(&out), 0, &Collect};
        SendMessage(edit, EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
        EXPECT_EQ(stream.dwError, 0u);
        return out;
    }
    static DWORD StreamIn(HWND edit, WPARAM format, const std::string& bytes)
    {
        Source source {bytes};
        EDITSTREAM stream {reinterpret_cast<uintptr_t>(&source), 0, &Supply};
        SendMessage(edit, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
        return stream.dwError;
    }

    static LRESULT NotifyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (Self && message == WM_NOTIFY) {
            const auto* change = reinterpret_cast<const SELCHANGE*>(lParam);
            if (change->nmhdr.code == EN_SELCHANGE)
                Self->Selections.push_back({change->chrg.cpMin, change->chrg.cpMax});
        }
        return CallWindowProc(Self ? Self->Previous : &EditTest::ParentProc, hwnd, message, wParam, lParam);
    }

    static inline RichEditTest* Self = nullptr;
    WNDPROC Previous = nullptr;
    std::vector<std::pair<LONG, LONG>> Selections;
};

} // namespace

TEST_F(RichEditTest, CharacterFormatsFollowTheSelectionTheTypingAndEdits)
{
    HWND edit = MakeRich(0, {0, 0, 300, 100}, "plain bold");
    // The window's font is the default format.
    CHARFORMAT all = SelectionFormat(edit);
    EXPECT_STREQ(all.szFaceName, "DejaVu Sans");
    EXPECT_EQ(all.yHeight, 195); // 13 pixels at 96 dots per inch
    EXPECT_TRUE(all.dwEffects & CFE_AUTOCOLOR);

    Select(edit, 6, 10);
    SetFormat(edit, SCF_SELECTION, Format(CFM_BOLD | CFM_COLOR, CFE_BOLD, 0, RGB(200, 0, 0)));
    CHARFORMAT bold = SelectionFormat(edit);
    EXPECT_EQ(bold.dwMask & (CFM_BOLD | CFM_COLOR | CFM_FACE), CFM_BOLD | CFM_COLOR | CFM_FACE);
    EXPECT_TRUE(bold.dwEffects & CFE_BOLD);
    EXPECT_FALSE(bold.dwEffects & CFE_AUTOCOLOR);
    EXPECT_EQ(bold.crTextColor, RGB(200, 0, 0));
    EXPECT_TRUE(SendMessage(edit, EM_GETMODIFY, 0, 0));

    // A selection over both runs shares the face but neither the weight nor the colour.
    Select(edit, 3, 8);
    CHARFORMAT mixed = SelectionFormat(edit);
    EXPECT_EQ(mixed.dwMask & (CFM_BOLD | CFM_COLOR | CFM_FACE | CFM_SIZE), CFM_FACE | CFM_SIZE);
    // Typing continues the run before the caret; a format set with nothing selected waits for the typing.
    SetWindowText(edit, "ab");
    Select(edit, 0, 1);
    SetFormat(edit, SCF_SELECTION, Format(CFM_ITALIC, CFE_ITALIC));
    SetFocus(edit);
    Select(edit, 1, 1);
    Type("x");
    Select(edit, 1, 2);
    EXPECT_TRUE(SelectionFormat(edit).dwEffects & CFE_ITALIC) << "typed after an italic character";
    Select(edit, 3, 3);
    SetFormat(edit, SCF_SELECTION, Format(CFM_SIZE | CFM_UNDERLINE, CFE_UNDERLINE, 400));
    EXPECT_EQ(SelectionFormat(edit).yHeight, 400) << "the insertion point reports the waiting format";
    Type("yz");
    Select(edit, 3, 5);
    CHARFORMAT typed = SelectionFormat(edit);
    EXPECT_EQ(typed.yHeight, 400);
    EXPECT_TRUE(typed.dwEffects & CFE_UNDERLINE);
    EXPECT_EQ(Text(edit), "axbyz");
    // Moving the caret drops a waiting format.
    Select(edit, 5, 5);
    SetFormat(edit, SCF_SELECTION, Format(CFM_STRIKEOUT, CFE_STRIKEOUT));
    Select(edit, 0, 0);
    Select(edit, 5, 5);
    Type("!");
    Select(edit, 5, 6);
    EXPECT_FALSE(SelectionFormat(edit).dwEffects & CFE_STRIKEOUT);

    // Rows are as high as the tallest format in use, and come back down when it goes.
    SetWindowText(edit, "one\r\ntwo");
    int low = LineHeight(edit);
    Select(edit, 0, 3);
    SetFormat(edit, SCF_SELECTION, Format(CFM_SIZE, 0, 600));
    EXPECT_GT(LineHeight(edit), low + 10);
    SendMessage(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
    EXPECT_EQ(LineHeight(edit), low);
    // A bad record is refused.
    CHARFORMAT small {};
    small.cbSize = 4;
    EXPECT_FALSE(SendMessage(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&small)));
    EXPECT_FALSE(SendMessage(edit, EM_SETCHARFORMAT, SCF_ALL, 0));
}

TEST_F(RichEditTest, ParagraphAlignmentPlacesEachLineAndFollowsNewParagraphs)
{
    HWND edit = MakeRich(0, {0, 0, 300, 100}, "left\r\nmiddle\r\nright");
    Select(edit, 7, 7);
    Align(edit, PFA_CENTER);
    Select(edit, 14, 14);
    Align(edit, PFA_RIGHT);
    EXPECT_EQ(X(edit, 0), 0);
    int middleWidth = X(edit, 12) - X(edit, 6);
    EXPECT_EQ(X(edit, 6), (300 - middleWidth) / 2);
    EXPECT_EQ(X(edit, 19), 300) << "the right-aligned line ends at the right edge";

    PARAFORMAT pf {};
    pf.cbSize = sizeof pf;
    Select(edit, 7, 8);
    EXPECT_EQ(SendMessage(edit, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf)), PFM_ALIGNMENT);
    EXPECT_EQ(pf.wAlignment, PFA_CENTER);
    Select(edit, 0, 15);
    EXPECT_EQ(SendMessage(edit, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf)), 0) << "mixed alignments";

    // Breaking a centred paragraph makes two centred ones.
    Select(edit, 9, 9);
    SendMessage(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("\r\n"));
    Select(edit, 11, 11);
    SendMessage(edit, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
    EXPECT_EQ(pf.wAlignment, PFA_CENTER);
    EXPECT_GT(X(edit, 11), 0);
}

TEST_F(RichEditTest, StreamingOutAndInKeepsFormatsAlignmentAndTheSelectionPart)
{
    HWND edit = MakeRich(0, {0, 0, 300, 100}, "Title\r\nbody text");
    Select(edit, 0, 5);
    SetFormat(edit, SCF_SELECTION,
        Format(CFM_BOLD | CFM_SIZE | CFM_FACE | CFM_COLOR, CFE_BOLD, 320, RGB(0, 0, 160), "Liberation Serif"));
    Align(edit, PFA_CENTER);
    Select(edit, 12, 16);
    SetFormat(edit, SCF_SELECTION, Format(CFM_ITALIC | CFM_UNDERLINE, CFE_ITALIC | CFE_UNDERLINE));
    std::string rtf = StreamOut(edit, SF_RTF);
    EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u);
    EXPECT_EQ(StreamOut(edit, SF_TEXT), "Title\r\nbody text");

    HWND copy = MakeRich(0, {0, 100, 300, 200});
    EXPECT_EQ(StreamIn(copy, SF_RTF, rtf), 0u);
    EXPECT_EQ(Text(copy), "Title\r\nbody text");
    EXPECT_EQ(StreamOut(copy, SF_RTF), rtf) << "the copy writes the same RTF";
    Select(copy, 1, 3);
    CHARFORMAT title = SelectionFormat(copy);
    EXPECT_STREQ(title.szFaceName, "Liberation Serif");
    EXPECT_EQ(title.yHeight, 320);
    EXPECT_EQ(title.crTextColor, RGB(0, 0, 160));
    EXPECT_TRUE(title.dwEffects & CFE_BOLD);
    EXPECT_FALSE(SendMessage(copy, EM_GETMODIFY, 0, 0));

    // Only the selection goes out, and RTF streamed into a selection replaces just that.
    Select(edit, 12, 16);
    std::string part = StreamOut(edit, SF_RTF | SFF_SELECTION);
    EXPECT_EQ(StreamOut(edit, SF_TEXT | SFF_SELECTION), "text");
    Select(copy, 0, 5);
    EXPECT_EQ(StreamIn(copy, SF_RTF | SFF_SELECTION, part), 0u);
    EXPECT_EQ(Text(copy), "text\r\nbody text");
    Select(copy, 0, 4);
    EXPECT_TRUE(SelectionFormat(copy).dwEffects & CFE_ITALIC);

    // Plain text comes in as it is, in the format of where it lands.
    EXPECT_EQ(StreamIn(copy, SF_TEXT, "{\\rtf1 not read as RTF}"), 0u);
    EXPECT_EQ(Text(copy), "{\\rtf1 not read as RTF}");
}

TEST_F(RichEditTest, MalformedRtfComesInAsPlainTextWithTheErrorReported)
{
    HWND edit = MakeRich(0, {0, 0, 300, 100}, "before");
    const std::string kBad[] = {"{\\rtf1 unclosed {\\b group", "{\\rtf1 x\\bin99999 y}", "{\\rtf1" + std::string(3000, '{')};
    for (const std::string& bad : kBad) {
        SCOPED_TRACE(bad.substr(0, 30));
        EXPECT_EQ(StreamIn(edit, SF_RTF, bad), SE_BADRTF);
        EXPECT_EQ(Text(edit), bad);
    }
    // Text that is not RTF at all is no error: it is text.
    EXPECT_EQ(StreamIn(edit, SF_RTF, "just words"), 0u);
    EXPECT_EQ(Text(edit), "just words");
}

TEST_F(RichEditTest, TellsItsParentOnlyWhatTheEventMaskAsks)
{
    HWND edit = MakeRich(0, {0, 0, 300, 100}, "abc");
    SetFocus(edit);
    Notifications.clear();
    Type("x");
    EXPECT_EQ(Notifications, std::vector<WORD>()) << "no EN_CHANGE without ENM_CHANGE";
    EXPECT_TRUE(Selections.empty());
    EXPECT_EQ(SendMessage(edit, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE), ENM_NONE);
    EXPECT_EQ(SendMessage(edit, EM_GETEVENTMASK, 0, 0), ENM_CHANGE | ENM_SELCHANGE);
    Type("y");
    EXPECT_EQ(Notifications, std::vector<WORD>({EN_CHANGE}));
    Select(edit, 0, 2);
    Select(edit, 0, 2);
    std::vector<std::pair<LONG, LONG>> expected {{2, 2}, {0, 2}};
    EXPECT_EQ(Selections, expected) << "after the typing and the first selection, not again for the same one";
    CHARRANGE range {};
    SendMessage(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.cpMin, 0);
    EXPECT_EQ(range.cpMax, 2);
}

TEST_F(RichEditTest, IdleScrollBarsGoAwayUnlessKeptDisabled)
{
    auto visible = [](HWND edit) {
        SCROLLBARINFO info {};
        info.cbSize = sizeof info;
        GetScrollBarInfo(edit, OBJID_VSCROLL, &info);
        return !(info.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    };
    HWND edit = MakeRich(WS_VSCROLL, {0, 0, 200, 60}, "short");
    EXPECT_FALSE(visible(edit));
    std::string many;
    for (int i = 0; i < 20; ++i)
        many += "line\r\n";
    SetWindowText(edit, many.c_str());
    EXPECT_TRUE(visible(edit));
    SCROLLINFO info {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(edit, SB_VERT, &info);
    EXPECT_EQ(info.nMax, 20);
    EXPECT_GT(info.nPage, 0u);
    SendMessage(edit, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
    EXPECT_EQ(SendMessage(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 5);

    HWND kept = MakeRich(WS_VSCROLL | ES_DISABLENOSCROLL, {0, 60, 200, 120}, "short");
    EXPECT_TRUE(visible(kept));
}

TEST_F(RichEditTest, ColouredAndBoldRunsPaintDifferently)
{
    HWND edit = MakeRich(0, {0, 0, 300, 40}, "MMMM MMMM MMMM");
    Select(edit, 5, 9);
    SetFormat(edit, SCF_SELECTION, Format(CFM_COLOR, 0, 0, RGB(255, 0, 0)));
    Select(edit, 10, 14);
    SetFormat(edit, SCF_SELECTION, Format(CFM_BOLD, CFE_BOLD));
    SendMessage(edit, EM_SETBKGNDCOLOR, 0, RGB(255, 255, 200));
    Select(edit, 0, 0);

    TTestCanvas canvas(300, 40, RGB(0, 255, 0));
    SendMessage(edit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc), 0);
    EXPECT_EQ(GetPixel(canvas.Dc, 299, 39), RGB(255, 255, 200)) << "the rich edit's own background";
    // Count the pixels of each run: dark ones, red ones.
    struct Ink {
        int Dark = 0;
        int Red = 0;
    };
    auto ink = [&](int from, int to) {
        Ink result;
        for (int x = X(edit, from); x < X(edit, to); ++x)
            for (int y = 0; y < 40; ++y) {
                COLORREF c = GetPixel(canvas.Dc, x, y);
                if (GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100)
                    ++result.Dark;
                if (GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) < 80)
                    ++result.Red;
            }
        return result;
    };
    Ink plain = ink(0, 4), red = ink(5, 9), bold = ink(10, 14);
    EXPECT_GT(plain.Dark, 0);
    EXPECT_EQ(plain.Red, 0);
    EXPECT_GT(red.Red, 0);
    EXPECT_EQ(red.Dark, 0);
    EXPECT_GT(X(edit, 14) - X(edit, 10), X(edit, 4) - X(edit, 0)) << "bold letters are wider";
    EXPECT_GT(bold.Dark, plain.Dark * 5 / 4) << "and darker";
}

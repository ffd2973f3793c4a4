#include "EditTestSupport.h"
#include "tests/platform/GdiTestSupport.h"

#include "platform/win/GdiObjects.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/WinSystem.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"

TEST_F(EditTest, TypingNotifiesUpdateThenChangeForEveryCharacterAndUndoesAsOneStep)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, {10, 10, 200, 30});
    Backend.Click(20, 20);
    Pump();
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(Notifications, std::vector<WORD>({EN_SETFOCUS}));
    Notifications.clear();
    Type("héllo");
    EXPECT_EQ(Text(edit), "héllo");
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD(5), DWORD(5))); // characters, not bytes
    ASSERT_EQ(Notifications.size(), 10u);
    for (size_t i = 0; i < Notifications.size(); i += 2) {
        EXPECT_EQ(Notifications[i], EN_UPDATE);
        EXPECT_EQ(Notifications[i + 1], EN_CHANGE);
    }
    EXPECT_TRUE(SendMessage(edit, EM_GETMODIFY, 0, 0));

    // Shift+Left twice selects "lo", Backspace removes it, Ctrl+Z brings back the typing as it was.
    Chord(VK_SHIFT, VK_LEFT);
    Chord(VK_SHIFT, VK_LEFT);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD(3), DWORD(5)));
    Backend.Key(VK_BACK);
    Pump();
    EXPECT_EQ(Text(edit), "hél");
    Chord(VK_CONTROL, 'Z');
    EXPECT_EQ(Text(edit), "héllo");
    Chord(VK_CONTROL, 'Z');
    EXPECT_EQ(Text(edit), "hél");

    // Losing the focus tells the parent.
    Notifications.clear();
    SetFocus(Parent);
    EXPECT_EQ(Notifications, std::vector<WORD>({EN_KILLFOCUS}));
}

TEST_F(EditTest, TheCaretFollowsTheInsertionPointWhileTheEditHasTheFocus)
{
    HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOHSCROLL, {10, 10, 200, 100}, "ab\r\ncd");
    POINT caret {};
    EXPECT_FALSE(GetCaretPos(&caret)) << "no caret before the focus";
    auto at = [&](int index) {
        LRESULT pos = SendMessage(edit, EM_POSFROMCHAR, index, 0);
        return POINT {static_cast<int16_t>(LOWORD(pos)), static_cast<int16_t>(HIWORD(pos))};
    };
    SetFocus(edit);
    ASSERT_TRUE(GetCaretPos(&caret));
    EXPECT_EQ(caret.x, at(0).x);
    Type("x");
    ASSERT_TRUE(GetCaretPos(&caret));
    EXPECT_EQ(caret.x, at(1).x);
    EXPECT_EQ(caret.y, at(1).y);
    Backend.Key(VK_DOWN);
    Pump();
    ASSERT_TRUE(GetCaretPos(&caret));
    EXPECT_EQ(caret.y, at(5).y);
    EXPECT_GT(caret.y, at(1).y);
    SetFocus(Parent);
    EXPECT_FALSE(GetCaretPos(&caret)) << "gone with the focus";
    SetFocus(edit);
    EXPECT_TRUE(GetCaretPos(&caret));
    DestroyWindow(edit);
    EXPECT_FALSE(GetCaretPos(&caret)) << "gone with the window";
}

TEST_F(EditTest, MouseSelectsByDraggingAndWordsByDoubleClicking)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, {0, 0, 300, 24}, "alpha beta gamma");
    auto x = [&](int position) { return static_cast<int16_t>(LOWORD(SendMessage(edit, EM_POSFROMCHAR, position, 0))); };
    Backend.MouseMove(x(6) + 1, 8);
    Backend.MouseDown();
    Backend.MouseMove(x(10) + 1, 8);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD(6), DWORD(10)));
    EXPECT_FALSE(Backend.MouseCaptured());

    // Shift+click extends from the anchor.
    Backend.KeyDown(VK_SHIFT);
    Backend.Click(x(16) - 1, 8);
    Backend.KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD(6), DWORD(16)));

    Backend.AdvanceClock(1000);
    Backend.Click(x(1), 8);
    Backend.Click(x(1), 8);
    Pump();
    auto [start, end] = Selection(edit);
    EXPECT_EQ(start, 0u);
    EXPECT_GE(end, 5u);
    EXPECT_LE(end, 6u);
}

TEST_F(EditTest, ClipboardRoundTripsThroughCutCopyAndPaste)
{
    HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOHSCROLL, {0, 0, 300, 100}, "one\r\ntwo");
    SetFocus(edit);
    SendMessage(edit, EM_SETSEL, 0, 5); // "one" and the line break
    Chord(VK_CONTROL, 'X');
    EXPECT_EQ(Text(edit), "two");
    Chord(VK_CONTROL, VK_END);
    Chord(VK_CONTROL, 'V');
    Chord(VK_CONTROL, 'V');
    EXPECT_EQ(Text(edit), "twoone\r\none\r\n");
    EXPECT_EQ(SendMessage(edit, EM_GETLINECOUNT, 0, 0), 3);

    // Ctrl+Insert copies and Shift+Insert pastes too; a read-only edit copies but takes nothing.
    SendMessage(edit, EM_SETSEL, 0, 3);
    Chord(VK_CONTROL, VK_INSERT);
    SendMessage(edit, EM_SETREADONLY, TRUE, 0);
    Chord(VK_SHIFT, VK_INSERT);
    Type("x");
    EXPECT_EQ(Text(edit), "twoone\r\none\r\n");
    SendMessage(edit, EM_SETREADONLY, FALSE, 0);
    SendMessage(edit, EM_SETSEL, 0, 0);
    SendMessage(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(edit), "twotwoone\r\none\r\n");

    // A password edit never gives its text away.
    HWND password = MakeEdit(ES_PASSWORD | ES_AUTOHSCROLL, {0, 120, 200, 140}, "secret");
    SendMessage(password, EM_SETSEL, 0, -1);
    SendMessage(password, WM_COPY, 0, 0);
    SendMessage(edit, EM_SETSEL, 0, -1);
    SendMessage(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(edit), "two");
    EXPECT_EQ(SendMessage(password, EM_GETPASSWORDCHAR, 0, 0), '*');
}

TEST_F(EditTest, TypingPastTheBottomScrollsToKeepTheCaretOnTheLastVisibleRow)
{
    HWND probe = MakeEdit(ES_MULTILINE, {0, 0, 100, 100}, "a\r\nb");
    int height = LineHeight(probe);
    ASSERT_GT(height, 0);
    HWND edit = MakeEdit(WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, {0, 0, 200, 3 * height + height / 2});
    SCROLLINFO info {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    // An edit with nothing to scroll keeps its bar, disabled.
    ASSERT_TRUE(GetScrollInfo(edit, SB_VERT, &info));
    EXPECT_EQ(info.nMax, 0);
    SCROLLBARINFO bar {};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(edit, OBJID_VSCROLL, &bar));
    EXPECT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    SetFocus(edit);
    for (int i = 0; i < 10; ++i) {
        Type("line");
        Backend.Key(VK_RETURN);
        Pump();
    }
    EXPECT_EQ(SendMessage(edit, EM_GETLINECOUNT, 0, 0), 11);
    EXPECT_EQ(SendMessage(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 8);
    EXPECT_EQ(SendMessage(edit, EM_LINEFROMCHAR, -1, 0), 10);
    // The bar: rows 0..10, a page of the three visible rows, the first visible row as position.
    ASSERT_TRUE(GetScrollInfo(edit, SB_VERT, &info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 10);
    EXPECT_EQ(info.nPage, 3u);
    EXPECT_EQ(info.nPos, 8);
    // The caret's row is the last visible one.
    EXPECT_EQ(static_cast<int16_t>(HIWORD(SendMessage(edit, EM_POSFROMCHAR, SendMessage(edit, EM_LINEINDEX, 10, 0), 0))),
        2 * height);

    // Scroll requests move the first visible row within 0..rows-visible, telling the parent first.
    Notifications.clear();
    SendMessage(edit, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessage(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(Notifications, std::vector<WORD>({EN_VSCROLL}));
    SendMessage(edit, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
    EXPECT_EQ(SendMessage(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 5);
    EXPECT_EQ(GetScrollPos(edit, SB_VERT), 5);
    SendMessage(edit, EM_LINESCROLL, 0, 100);
    EXPECT_EQ(SendMessage(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 8);
    SendMessage(edit, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0); // away from the user: up
    EXPECT_EQ(SendMessage(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 5);
}

TEST_F(EditTest, APasteOfTenMegabytesKeepsWhatFitsTheLimit)
{
    HWND source = MakeEdit(ES_MULTILINE | ES_AUTOHSCROLL, {0, 0, 100, 100});
    std::string big;
    big.reserve(10 << 20);
    while (big.size() < (10u << 20))
        big += "0123456789abcdef\r\n";
    SendMessage(source, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(big.c_str()));
    SendMessage(source, EM_SETSEL, 0, -1);
    SendMessage(source, WM_COPY, 0, 0);

    HWND edit = MakeEdit(ES_AUTOHSCROLL, {0, 120, 200, 140}, "ab");
    SendMessage(edit, EM_LIMITTEXT, 1000, 0);
    SendMessage(edit, EM_SETSEL, 1, 1);
    Notifications.clear();
    SendMessage(edit, WM_PASTE, 0, 0);
    // A single-line edit takes the first line only; a multi-line one fills up to the limit.
    EXPECT_EQ(Text(edit), "a0123456789abcdefb");
    HWND memo = MakeEdit(ES_MULTILINE | ES_AUTOHSCROLL, {0, 150, 200, 250});
    SendMessage(memo, EM_LIMITTEXT, 1000, 0);
    Notifications.clear();
    SendMessage(memo, WM_PASTE, 0, 0);
    EXPECT_EQ(GetWindowTextLength(memo), 1000);
    EXPECT_EQ(SendMessage(memo, EM_GETLINECOUNT, 0, 0), 1000 / 18 + 1);
    EXPECT_EQ(Notifications, std::vector<WORD>({EN_UPDATE, EN_CHANGE, EN_MAXTEXT}));
    // Full: typing is refused with EN_MAXTEXT alone.
    Notifications.clear();
    SendMessage(memo, WM_CHAR, 'x', 0);
    EXPECT_EQ(Notifications, std::vector<WORD>({EN_MAXTEXT}));
}

TEST_F(EditTest, WordWrapBreaksAfterBlanksAndTheLineMessagesCountRows)
{
    HWND edit = MakeEdit(ES_MULTILINE, {0, 0, 120, 200});
    SendMessage(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("aaaa bbbb cccc dddd eeee ffff\r\nshort"));
    int rows = static_cast<int>(SendMessage(edit, EM_GETLINECOUNT, 0, 0));
    ASSERT_GT(rows, 2);
    // Every row after the first of the long line starts a word; the short line is the last row.
    for (int row = 1; row < rows - 1; ++row) {
        LRESULT start = SendMessage(edit, EM_LINEINDEX, row, 0);
        EXPECT_EQ((start - 0) % 5, 0) << row;
        EXPECT_EQ(SendMessage(edit, EM_LINEFROMCHAR, start, 0), row);
    }
    EXPECT_EQ(SendMessage(edit, EM_LINEINDEX, rows - 1, 0), 31);
    EXPECT_EQ(SendMessage(edit, EM_LINELENGTH, 31, 0), 5);
    char buffer[16] = {};
    *reinterpret_cast<WORD*>(buffer) = sizeof buffer;
    EXPECT_EQ(SendMessage(edit, EM_GETLINE, rows - 1, reinterpret_cast<LPARAM>(buffer)), 5);
    EXPECT_EQ(std::string(buffer, 5), "short");

    // A word longer than the width breaks where it reaches the edge; taking the text away joins the rows again.
    SendMessage(edit, EM_SETSEL, 0, 29);
    SendMessage(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"));
    EXPECT_GT(SendMessage(edit, EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessage(edit, EM_LINEINDEX, 1, 0) > 0, true);
    SendMessage(edit, EM_SETSEL, 0, 40);
    SendMessage(edit, WM_CLEAR, 0, 0);
    EXPECT_EQ(SendMessage(edit, EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_EQ(Text(edit), "\r\nshort");
    EXPECT_TRUE(SendMessage(edit, EM_UNDO, 0, 0));
    EXPECT_GT(SendMessage(edit, EM_GETLINECOUNT, 0, 0), 2);
}

TEST_F(EditTest, FormatRectangleMarginsAlignmentAndTheParentsColours)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL | ES_RIGHT | ES_MULTILINE, {0, 0, 200, 40}, "ab");
    RECT r {};
    SendMessage(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 200);
    SendMessage(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(5, 7));
    SendMessage(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.right, 193);
    EXPECT_EQ(SendMessage(edit, EM_GETMARGINS, 0, 0), MAKELRESULT(5, 7));
    // Right aligned: the text ends at the format rectangle's right edge.
    auto endX = [&] { return static_cast<int16_t>(LOWORD(SendMessage(edit, EM_POSFROMCHAR, 2, 0))); };
    EXPECT_EQ(endX(), 193);
    RECT narrow {20, 2, 150, 38};
    SendMessage(edit, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&narrow));
    SendMessage(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.bottom, 38);
    EXPECT_EQ(endX(), 150);

    // Painting into a given DC: the default background, then a parent that answers a null brush keeps what the
    // DC held (a transparent edit) and only the text is drawn.
    TTestCanvas canvas(200, 40, RGB(255, 0, 0));
    HDC dc = canvas.Dc;
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all {0, 0, 200, 40};
    FillRect(dc, &all, red);
    SendMessage(edit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(GetPixel(dc, 5, 5), GetSysColor(COLOR_WINDOW));
    FillRect(dc, &all, red);
    Brush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    SendMessage(edit, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 0, 0));
    // Some pixel of the text differs from the background.
    bool drawn = false;
    for (int x = 100; x < 150 && !drawn; ++x)
        for (int y = 2; y < 30 && !drawn; ++y)
            drawn = GetPixel(dc, x, y) != RGB(255, 0, 0);
    EXPECT_TRUE(drawn);
    DeleteObject(red);
}

TEST_F(EditTest, OnlySelectedTextIsPaintedInTheHighlight)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL | ES_NOHIDESEL, {0, 0, 200, 24}, "MMMM");
    auto count = [&] {
        TTestCanvas canvas(200, 24, RGB(0, 255, 0));
        SendMessage(edit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc), 0);
        std::pair<int, int> highlightAndDark {0, 0};
        for (int x = 0; x < 60; ++x)
            for (int y = 0; y < 24; ++y) {
                COLORREF c = GetPixel(canvas.Dc, x, y);
                highlightAndDark.first += c == GetSysColor(COLOR_HIGHLIGHT);
                highlightAndDark.second += GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60;
            }
        return highlightAndDark;
    };
    auto [highlight, dark] = count();
    EXPECT_EQ(highlight, 0);
    EXPECT_GT(dark, 0);
    SendMessage(edit, EM_SETSEL, 0, 2);
    EXPECT_GT(count().first, 0);
}

// A memo that was edited shows what a memo given its text afresh shows: the same rows and the same pixels, with
// word wrap on and off, after line breaks put in and taken out at the first and the last line, edits of very long
// lines, a replacement of everything and undo across them.
TEST_F(EditTest, AnEditedMemoShowsWhatAFreshMemoWithItsTextShows)
{
    std::string words;
    for (int i = 0; i < 300; ++i)
        words += "word" + std::to_string(i) + " ";
    const std::string start = "first line\r\n" + words + "\r\nshort\r\n" + std::string(3000, 'w') + "\r\nlast line";
    struct Step {
        long long from, to; // characters; negative counts from the end (-1: the end)
        const char* text;   // null: undo
    };
    const Step steps[] = {{0, 0, "\r\n"}, {0, 2, ""}, {5, 5, "\r\n"}, {-1, -1, "\r\n"}, {-3, -1, ""}, {-5, -5, "\r\n"},
        {0, 0, nullptr}, {0, 0, nullptr}, {20, 20, "x"}, {30, 35, "a\r\nb\r\nc"}, {100, 4000, ""}, {0, 0, nullptr},
        {-4, -4, " more words to wrap the last line of the memo"}, {0, -1, "only\r\none"}, {0, 0, nullptr}};
    const RECT place {0, 0, 200, 120};
    for (DWORD style : {ES_MULTILINE | ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL, ES_MULTILINE | WS_VSCROLL}) {
        HWND memo = MakeEdit(style, place, start.c_str());
        for (size_t i = 0; i < std::size(steps); ++i) {
            const Step& step = steps[i];
            if (step.text) {
                long long length = static_cast<long long>(SendMessage(memo, WM_GETTEXTLENGTH, 0, 0));
                auto at = [&](long long p) { return p >= 0 ? p : length + 1 + p; };
                SendMessage(memo, EM_SETSEL, at(step.from), at(step.to));
                SendMessage(memo, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(step.text));
            } else {
                ASSERT_TRUE(SendMessage(memo, EM_UNDO, 0, 0));
            }
            const std::string text = Text(memo);
            HWND fresh = MakeEdit(style, place, text.c_str());
            SCOPED_TRACE("style " + std::to_string(style) + " step " + std::to_string(i));
            int rows = static_cast<int>(SendMessage(fresh, EM_GETLINECOUNT, 0, 0));
            ASSERT_EQ(SendMessage(memo, EM_GETLINECOUNT, 0, 0), rows);
            for (int row = 0; row < rows; ++row) {
                LRESULT index = SendMessage(fresh, EM_LINEINDEX, row, 0);
                ASSERT_EQ(SendMessage(memo, EM_LINEINDEX, row, 0), index) << "row " << row;
                ASSERT_EQ(SendMessage(memo, EM_LINELENGTH, index, 0), SendMessage(fresh, EM_LINELENGTH, index, 0));
                ASSERT_EQ(SendMessage(memo, EM_LINEFROMCHAR, index, 0), row);
            }
            // Both at the top and then a few rows down, without a selection: every pixel alike.
            for (HWND edit : {memo, fresh}) {
                SendMessage(edit, EM_SETSEL, 0, 0);
                SendMessage(edit, EM_SCROLLCARET, 0, 0);
            }
            for (int down : {0, 3}) {
                TTestCanvas edited(200, 120), afresh(200, 120);
                for (HWND edit : {memo, fresh})
                    SendMessage(edit, EM_LINESCROLL, 0, down);
                SendMessage(memo, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(edited.Dc), 0);
                SendMessage(fresh, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(afresh.Dc), 0);
                int differing = 0;
                for (int y = 0; y < 120; ++y)
                    for (int x = 0; x < 200; ++x)
                        differing += edited.At(x, y) != afresh.At(x, y);
                ASSERT_EQ(differing, 0) << "scrolled down " << down;
            }
            DestroyWindow(fresh);
        }
        DestroyWindow(memo);
    }
}

// A child edit's text lives in its engine alone; a top-level edit still gives the window its text, which
// FindWindow looks for.
TEST_F(EditTest, ATopLevelEditCanBeFoundByItsTextAndAChildEditReadsItsOwn)
{
    HWND child = MakeEdit(ES_MULTILINE, {0, 0, 100, 40});
    SetWindowText(child, "line one\r\nline two");
    EXPECT_EQ(Text(child), "line one\r\nline two");
    EXPECT_EQ(GetWindowTextLength(child), 18);
    HWND top = CreateWindowEx(0, WC_EDIT, "", WS_POPUP | WS_CAPTION, 0, 0, 100, 40, nullptr, nullptr, nullptr, nullptr);
    SetWindowText(top, "find me");
    EXPECT_EQ(FindWindow(WC_EDIT, "find me"), top);
    EXPECT_EQ(Text(top), "find me");
    DestroyWindow(top);
}

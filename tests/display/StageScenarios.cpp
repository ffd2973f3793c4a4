#include "tests/display/StageScenarios.h"

#include "platform/controls/EditControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Caret.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/FileDrops.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

// What each window paints: a fill, a black frame, and optionally a centred caption text.
struct TPaintPlan {
    std::map<HWND, COLORREF> Fill;
    std::map<HWND, std::string> Text;
};

std::optional<LRESULT> PaintByPlan(const TPaintPlan& plan, HWND hwnd, UINT message)
{
    auto fill = plan.Fill.find(hwnd);
    if (fill == plan.Fill.end())
        return std::nullopt;
    if (message == WM_ERASEBKGND)
        return 1;
    if (message != WM_PAINT)
        return std::nullopt;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = CreateSolidBrush(fill->second);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    auto text = plan.Text.find(hwnd);
    if (text != plan.Text.end()) {
        HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        DrawText(dc, text->second.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, oldFont);
    }
    EndPaint(hwnd, &paint);
    return 0;
}

RECT Union(const RECT& a, const RECT& b)
{
    return RECT { std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
        std::max(a.bottom, b.bottom) };
}

std::string WindowName(HWND hwnd, const std::vector<std::pair<HWND, std::string>>& names)
{
    for (const auto& [window, name] : names)
        if (window == hwnd)
            return name;
    return hwnd ? "?" : "none";
}

constexpr std::initializer_list<UINT> kClickMessages
    = { WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_MOUSEACTIVATE, WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP,
          WM_KILLFOCUS, WM_SETFOCUS, WM_PARENTNOTIFY, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_CAPTURECHANGED };

} // namespace

TScenarioResult FormChildAndPopupPixels(TWindowStage& stage)
{
    auto plan = std::make_shared<TPaintPlan>();
    stage.Handler = [plan](HWND h, UINT m, WPARAM, LPARAM) { return PaintByPlan(*plan, h, m); };
    const RECT formRect { 100, 100, 340, 280 };
    const RECT popupRect { 300, 220, 420, 300 };
    HWND form = stage.CreateTop(formRect, WS_POPUP);
    HWND child = stage.CreateChild(form, RECT { 20, 30, 140, 110 });
    HWND popup = stage.CreateTop(popupRect, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, form);
    plan->Fill = { { form, RGB(40, 120, 200) }, { child, RGB(230, 200, 40) }, { popup, RGB(200, 60, 60) } };
    plan->Text = { { form, "Tarnwick Pro" }, { popup, "Popup" } };
    ShowWindow(form, SW_SHOW);
    SetWindowPos(popup, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    const RECT area = Union(formRect, popupRect);
    stage.Settle(area);
    TScenarioResult result;
    result.Screens.push_back(stage.Grab(area));
    result.Facts.push_back("active: " + WindowName(GetActiveWindow(), { { form, "form" }, { popup, "popup" } }));
    return result;
}

TScenarioResult ClickOnAChild(TWindowStage& stage)
{
    stage.Handler = nullptr;
    HWND active = stage.CreateTop(RECT { 500, 100, 700, 300 });
    HWND form = stage.CreateTop(RECT { 100, 100, 300, 300 });
    HWND panel = stage.CreateChild(form, RECT { 10, 10, 110, 110 });
    HWND button = stage.CreateChild(panel, RECT { 10, 10, 50, 30 });
    SetActiveWindow(active);
    stage.Settle(RECT { 100, 100, 700, 300 });
    stage.Log().Clear();
    stage.MoveTo(125, 125);
    stage.ButtonDown();
    stage.ButtonUp();
    const std::vector<std::pair<HWND, std::string>> names
        = { { active, "active" }, { form, "form" }, { panel, "panel" }, { button, "button" } };
    TScenarioResult result;
    result.Steps = NamedSteps(stage.Log(), kClickMessages, names);
    result.Facts.push_back("active: " + WindowName(GetActiveWindow(), names));
    result.Facts.push_back("focus: " + WindowName(GetFocus(), names));
    return result;
}

TScenarioResult DragLeavingTheWindow(TWindowStage& stage, bool capture)
{
    HWND below = stage.CreateTop(RECT { 20, 20, 110, 110 });
    HWND form = stage.CreateTop(RECT { 150, 150, 350, 350 });
    stage.Handler = [form, capture](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (capture && h == form && m == WM_LBUTTONDOWN)
            SetCapture(h);
        if (capture && h == form && m == WM_LBUTTONUP)
            ReleaseCapture();
        return std::nullopt;
    };
    SetActiveWindow(form);
    stage.Settle(RECT { 20, 20, 350, 350 });
    stage.MoveTo(200, 200);
    stage.Log().Clear();
    stage.ButtonDown();
    if (capture)
        stage.MoveTo(300, 380); // below the form, over nothing: only the capture hears of it
    stage.MoveTo(60, 70); // over the other window
    stage.ButtonUp();
    stage.MoveTo(70, 80); // released: the pointer's events follow the window under it again
    const std::vector<std::pair<HWND, std::string>> names = { { below, "below" }, { form, "form" } };
    TScenarioResult result;
    result.Steps = NamedSteps(stage.Log(), kClickMessages, names);
    result.Facts.push_back("capture: " + WindowName(GetCapture(), names));
    return result;
}

TScenarioResult PopupKeepsTheOwnersFocus(TWindowStage& stage)
{
    HWND form = stage.CreateTop(RECT { 100, 100, 400, 300 });
    HWND edit = stage.CreateChild(form, RECT { 10, 10, 200, 40 });
    HWND popup = stage.CreateTop(RECT { 150, 150, 300, 250 }, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, form);
    stage.Handler = [popup](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (h == popup && m == WM_MOUSEACTIVATE)
            return MA_NOACTIVATE;
        return std::nullopt;
    };
    SetActiveWindow(form);
    SetFocus(edit);
    stage.Settle(RECT { 100, 100, 400, 300 });
    stage.Log().Clear();
    SetWindowPos(popup, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    stage.Settle(RECT { 100, 100, 400, 300 });
    stage.MoveTo(200, 200);
    stage.ButtonDown({ WM_LBUTTONDOWN });
    stage.ButtonUp({ WM_LBUTTONUP });
    const std::vector<std::pair<HWND, std::string>> names = { { form, "form" }, { edit, "edit" }, { popup, "popup" } };
    TScenarioResult result;
    result.Steps = NamedSteps(stage.Log(),
        { WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS, WM_SETFOCUS, WM_MOUSEACTIVATE, WM_LBUTTONDOWN,
            WM_LBUTTONUP },
        names);
    result.Facts.push_back("active: " + WindowName(GetActiveWindow(), names));
    result.Facts.push_back("focus: " + WindowName(GetFocus(), names));
    return result;
}

TScenarioResult ShapedWindowPassesClicksThrough(TWindowStage& stage)
{
    auto plan = std::make_shared<TPaintPlan>();
    stage.Handler = [plan](HWND h, UINT m, WPARAM, LPARAM) { return PaintByPlan(*plan, h, m); };
    HWND below = stage.CreateTop(RECT { 100, 100, 300, 300 });
    HWND shaped = stage.CreateTop(RECT { 150, 150, 250, 250 });
    plan->Fill = { { below, RGB(20, 160, 90) }, { shaped, RGB(120, 40, 160) } };
    // A frame 10 pixels wide with a hole in the middle (window-relative coordinates).
    HRGN frame = CreateRectRgn(0, 0, 100, 100);
    HRGN hole = CreateRectRgn(10, 10, 90, 90);
    CombineRgn(frame, frame, hole, RGN_DIFF);
    DeleteObject(hole);
    SetWindowRgn(shaped, frame, TRUE);
    SetActiveWindow(shaped);
    const RECT area { 100, 100, 300, 300 };
    stage.Settle(area);
    TScenarioResult result;
    result.Screens.push_back(stage.Grab(area));
    stage.Log().Clear();
    stage.MoveTo(155, 155); // on the frame
    stage.ButtonDown();
    stage.ButtonUp();
    stage.MoveTo(200, 200); // in the hole
    stage.ButtonDown();
    stage.ButtonUp();
    const std::vector<std::pair<HWND, std::string>> names = { { below, "below" }, { shaped, "shaped" } };
    result.Steps = NamedSteps(stage.Log(), { WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP }, names);
    return result;
}

TScenarioResult HalfTransparentWindow(TWindowStage& stage)
{
    auto plan = std::make_shared<TPaintPlan>();
    stage.Handler = [plan](HWND h, UINT m, WPARAM, LPARAM) { return PaintByPlan(*plan, h, m); };
    HWND below = stage.CreateTop(RECT { 100, 100, 300, 300 });
    HWND above = stage.CreateTop(RECT { 150, 150, 350, 350 }, WS_POPUP | WS_VISIBLE, WS_EX_LAYERED);
    plan->Fill = { { below, RGB(20, 60, 230) }, { above, RGB(240, 30, 30) } };
    TScenarioResult result;
    const BOOL layered = SetLayeredWindowAttributes(above, 0, 128, LWA_ALPHA);
    result.Facts.push_back(layered ? "opacity applied" : "no opacity");
    const RECT area { 100, 100, 350, 350 };
    stage.Settle(area);
    result.Screens.push_back(stage.Grab(area));
    return result;
}

TScenarioResult DroppedFiles(TWindowStage& stage, const std::vector<std::string>& paths)
{
    TScenarioResult result;
    HWND form = stage.CreateTop(RECT { 100, 100, 400, 300 }, WS_POPUP | WS_VISIBLE, WS_EX_ACCEPTFILES);
    HWND list = stage.CreateChild(form, RECT { 20, 20, 220, 180 });
    const std::vector<std::pair<HWND, std::string>> names = { { form, "form" }, { list, "list" } };
    stage.Handler = [&result, &names](HWND h, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_DROPFILES)
            return std::nullopt;
        auto drop = reinterpret_cast<HDROP>(w);
        const UINT count = DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
        result.Facts.push_back(WindowName(h, names) + " got " + std::to_string(count) + " files");
        for (UINT i = 0; i < count; ++i) {
            std::string path(DragQueryFile(drop, i, nullptr, 0), '\0');
            DragQueryFile(drop, i, path.data(), UINT(path.size() + 1));
            result.Facts.push_back(path);
        }
        POINT point {};
        const BOOL inClient = DragQueryPoint(drop, &point);
        result.Facts.push_back("at " + std::to_string(point.x) + "," + std::to_string(point.y)
            + (inClient ? " in the client area" : " outside"));
        DragFinish(drop);
        return 0;
    };
    SetActiveWindow(form);
    stage.Settle(RECT { 100, 100, 400, 300 });
    stage.DropFiles(paths, 150, 170);
    stage.Handler = nullptr;
    return result;
}

namespace {

std::string WindowText(HWND hwnd)
{
    std::string text(GetWindowTextLength(hwnd) + 1, '\0');
    text.resize(GetWindowText(hwnd, text.data(), static_cast<int>(text.size())));
    return text;
}

std::string Selection(HWND edit)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return std::to_string(start) + ".." + std::to_string(end);
}

} // namespace

TScenarioResult TypingAndPastingIntoEdits(TWindowStage& stage)
{
    stage.Handler = nullptr;
    EXPECT_NE(RegisterEditClass(), 0);
    SetCaretBlinkTime(0xFFFFFFFF); // no blinking
    const RECT formRect { 100, 100, 400, 300 };
    HWND form = stage.CreateTop(formRect);
    HWND edit = CreateWindowEx(WS_EX_CLIENTEDGE, WC_EDIT, "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 280, 26,
        form, nullptr, nullptr, nullptr);
    HWND memo = CreateWindowEx(WS_EX_CLIENTEDGE, WC_EDIT, "",
        WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 10, 50, 280, 140, form, nullptr,
        nullptr, nullptr);
    HFONT font = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    SendMessage(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    SendMessage(memo, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    stage.Settle(formRect);
    const std::vector<std::pair<HWND, std::string>> names = { { form, "form" }, { edit, "edit" }, { memo, "memo" } };
    TScenarioResult result;

    // Into the edit: a click there, the text, then Shift+Home selects it and Ctrl+C copies it.
    stage.MoveTo(120, 120);
    stage.ButtonDown();
    stage.ButtonUp();
    stage.Type("Hello, wide world", 17);
    stage.Keys({ VK_SHIFT, VK_HOME });
    result.Facts.push_back("edit selection: " + Selection(edit));
    stage.Keys({ VK_CONTROL, 'C' });

    // Into the memo: two lines, then the copy pasted after them.
    stage.MoveTo(150, 200);
    stage.ButtonDown();
    stage.ButtonUp();
    result.Facts.push_back("focus: " + WindowName(GetFocus(), names));
    stage.Type("first line", 10);
    stage.Keys({ VK_RETURN });
    stage.Type("second ", 7);
    stage.Keys({ VK_CONTROL, 'V' });
    result.Facts.push_back("edit: " + WindowText(edit));
    result.Facts.push_back("memo: " + WindowText(memo));
    result.Facts.push_back("memo selection: " + Selection(memo));
    POINT caret {};
    GetCaretPos(&caret);
    result.Facts.push_back("caret: " + std::to_string(caret.x) + "," + std::to_string(caret.y));
    stage.Settle(formRect);
    result.Screens.push_back(stage.Grab(formRect));
    DestroyWindow(form);
    DeleteObject(font);
    SetCaretBlinkTime(530);
    return result;
}

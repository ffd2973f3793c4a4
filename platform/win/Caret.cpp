// The caret: hide counting, position, and blinking on a timer of its window, drawn by inversion so that
// drawing it twice leaves the pixels as they were.
#include "platform/win/Caret.h"
#include "platform/win/EntryChecks.h"
#include "platform/win/WindowSurface.h"

using namespace WinCore;

namespace {

// A window timer id the system keeps for the blink; its WM_TIMER goes to BlinkProc, never to the window.
constexpr UINT_PTR kBlinkTimer = 0xFFFF;
// INFINITE as a blink time: the caret does not blink.
constexpr UINT kNoBlink = 0xFFFFFFFF;

TCaretState& Caret()
{
    return GPlatform->Caret;
}

// Inverts the caret's rectangle straight in the window's buffer, XOR `mask`, for when no DC layer draws it.
void InvertInBuffer(TWindowRecord* w, const RECT& rect, uint32_t mask)
{
    TWindowRecord* top = nullptr;
    TRegion area = VisibleRegion(w, true, &top);
    if (!top)
        return;
    const POINT topOrigin = WindowOrigin(top);
    const POINT origin = ClientOrigin(w);
    area.Intersect(RectOffset(rect, origin.x - topOrigin.x, origin.y - topOrigin.y));
    TBackBuffer& buffer = *top->Buffer;
    SettleBuffer(buffer);
    area.ForEachRect([&](const RECT& r) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                buffer.Pixels[size_t(y) * size_t(buffer.Width) + size_t(x)] ^= mask;
    });
    MarkDirty(top, area.Bounds());
}

// Draws the caret where it shows, or takes it away where it was drawn: the same inversion.
void Invert()
{
    TCaretState& c = Caret();
    TWindowRecord* w = Find(c.Window);
    if (!w)
        return;
    const RECT rect { c.Pos.x, c.Pos.y, c.Pos.x + c.Width, c.Pos.y + c.Height };
    c.Drawn = !c.Drawn;
    if (TDCProvider* provider = GPlatform->DCProvider; provider && provider->InvertCaret(c.Window, rect, c.Bitmap))
        return;
    // Without the DC layer only solid and grey carets can be drawn.
    if (!c.Bitmap)
        InvertInBuffer(w, rect, 0x00FFFFFF);
    else if (c.Bitmap == CARET_GREY_BITMAP)
        InvertInBuffer(w, rect, 0x00808080);
}

void Erase()
{
    if (Caret().Drawn)
        Invert();
}

void BlinkProc(HWND hwnd, UINT, UINT_PTR, DWORD)
{
    if (GPlatform && Caret().Window == hwnd && Caret().HideCount == 0)
        Invert();
}

// A caret that just showed or moved is on at once, and its blink starts over from there.
void ShowNow()
{
    TCaretState& c = Caret();
    KillTimer(c.Window, kBlinkTimer);
    if (c.HideCount > 0)
        return;
    if (!c.Drawn)
        Invert();
    if (GPlatform->CaretBlinkTime != kNoBlink)
        SetTimer(c.Window, kBlinkTimer, GPlatform->CaretBlinkTime, &BlinkProc);
}

// The caret of `hwnd` (or of any window for null); false, with the last error set, when there is none.
bool OwnsCaret(HWND hwnd)
{
    if (!Ready())
        return false;
    const HWND window = Caret().Window;
    if (!window || (hwnd && hwnd != window)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return true;
}

} // namespace

namespace WinCore {

void HideCaretForPaint(HWND hwnd)
{
    TCaretState& c = Caret();
    if (c.Window != hwnd || c.HiddenByPaint)
        return;
    c.HiddenByPaint = true;
    HideCaret(hwnd);
}

void ShowCaretAfterPaint(HWND hwnd)
{
    TCaretState& c = Caret();
    if (c.Window != hwnd || !c.HiddenByPaint)
        return;
    c.HiddenByPaint = false;
    ShowCaret(hwnd);
}

void ForgetCaretOf(HWND hwnd)
{
    if (Caret().Window == hwnd)
        Caret() = TCaretState {};
}

} // namespace WinCore

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height)
{
    if (!NeedDrawable(hwnd))
        return FALSE;
    if (Caret().Window)
        DestroyCaret();
    TCaretState& c = Caret();
    c.Window = hwnd;
    c.Bitmap = bitmap;
    c.Width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
    c.Height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
    c.HideCount = 1;
    return TRUE;
}

BOOL DestroyCaret()
{
    if (!OwnsCaret(nullptr))
        return FALSE;
    Erase();
    KillTimer(Caret().Window, kBlinkTimer);
    Caret() = TCaretState {};
    return TRUE;
}

BOOL ShowCaret(HWND hwnd)
{
    if (!OwnsCaret(hwnd))
        return FALSE;
    TCaretState& c = Caret();
    if (c.HideCount > 0 && --c.HideCount == 0)
        ShowNow();
    return TRUE;
}

BOOL HideCaret(HWND hwnd)
{
    if (!OwnsCaret(hwnd))
        return FALSE;
    TCaretState& c = Caret();
    if (c.HideCount++ == 0) {
        KillTimer(c.Window, kBlinkTimer);
        Erase();
    }
    return TRUE;
}

BOOL SetCaretPos(int x, int y)
{
    if (!OwnsCaret(nullptr))
        return FALSE;
    TCaretState& c = Caret();
    if (c.Pos.x == x && c.Pos.y == y)
        return TRUE;
    Erase();
    c.Pos = POINT { x, y };
    ShowNow();
    return TRUE;
}

BOOL GetCaretPos(POINT* point)
{
    if (!NeedArguments(point) || !OwnsCaret(nullptr))
        return FALSE;
    *point = Caret().Pos;
    return TRUE;
}

UINT GetCaretBlinkTime()
{
    return GPlatform ? GPlatform->CaretBlinkTime : 530;
}

BOOL SetCaretBlinkTime(UINT milliseconds)
{
    if (!Ready())
        return FALSE;
    GPlatform->CaretBlinkTime = milliseconds;
    if (Caret().Window && Caret().HideCount == 0)
        ShowNow();
    return TRUE;
}

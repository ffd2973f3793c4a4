// The plain default frame: its metrics (WM_NCCALCSIZE, AdjustWindowRectEx), hit testing (WM_NCHITTEST) and
// painting (WM_NCPAINT, WM_NCACTIVATE).
#include "platform/win/PlatformState.h"

#include <algorithm>

using namespace WinCore;

namespace {

struct TFrameMetrics {
    int Border = 0; // frame thickness on every side
    int Caption = 0; // caption height below the top border
};

TFrameMetrics Metrics(DWORD style, DWORD exStyle)
{
    TFrameMetrics m;
    if (style & WS_THICKFRAME)
        m.Border = GetSystemMetrics(SM_CXFRAME);
    else if ((style & WS_CAPTION) == WS_CAPTION || (style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        m.Border = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER)
        m.Border = GetSystemMetrics(SM_CXBORDER);
    if (exStyle & WS_EX_CLIENTEDGE)
        m.Border += GetSystemMetrics(SM_CXEDGE);
    if ((style & WS_CAPTION) == WS_CAPTION)
        m.Caption = CaptionHeight(style, exStyle);
    return m;
}

// The caption buttons from the right: close, then maximize and minimize when the window has either box.
struct TCaptionButtons {
    RECT Close {};
    RECT Maximize {};
    RECT Minimize {};
    RECT SystemMenu {};
    bool HasClose = false;
    bool HasMinMax = false;
    bool HasSystemMenu = false;
};

TCaptionButtons CaptionButtons(const TWindowRecord* w, const RECT& window)
{
    TCaptionButtons b;
    const TFrameMetrics m = Metrics(w->Style, w->ExStyle);
    if (!m.Caption || !(w->Style & WS_SYSMENU))
        return b;
    const int size = std::max(1, m.Caption - 5);
    const int top = window.top + m.Border + 2;
    int right = window.right - m.Border - 2;
    b.HasClose = true;
    b.Close = RECT { right - size - 2, top, right, top + size };
    right = b.Close.left - 2;
    if (!(w->ExStyle & WS_EX_TOOLWINDOW) && (w->Style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX))) {
        b.HasMinMax = true;
        b.Maximize = RECT { right - size - 2, top, right, top + size };
        b.Minimize = RECT { b.Maximize.left - size - 2, top, b.Maximize.left, top + size };
    }
    if (!(w->ExStyle & WS_EX_TOOLWINDOW)) {
        b.HasSystemMenu = true;
        b.SystemMenu = RECT { window.left + m.Border + 2, top, window.left + m.Border + 2 + size, top + size };
    }
    return b;
}

void Bevel(TWindowRecord* w, const RECT& r, COLORREF light, COLORREF dark)
{
    FillBuffer(w, false, nullptr, RECT { r.left, r.top, r.right, r.top + 1 }, light);
    FillBuffer(w, false, nullptr, RECT { r.left, r.top, r.left + 1, r.bottom }, light);
    FillBuffer(w, false, nullptr, RECT { r.left, r.bottom - 1, r.right, r.bottom }, dark);
    FillBuffer(w, false, nullptr, RECT { r.right - 1, r.top, r.right, r.bottom }, dark);
}

void PaintButton(TWindowRecord* w, const RECT& r)
{
    FillBuffer(w, false, nullptr, r, GetSysColor(COLOR_BTNFACE));
    Bevel(w, r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW));
}

} // namespace

namespace WinCore {

int CaptionHeight(DWORD, DWORD exStyle)
{
    return GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

RECT DefaultClientFromWindow(DWORD style, DWORD exStyle, const RECT& window)
{
    const TFrameMetrics m = Metrics(style, exStyle);
    RECT client { window.left + m.Border, window.top + m.Border + m.Caption, window.right - m.Border,
        window.bottom - m.Border };
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    RemoveScrollBarsFromClient(style, exStyle, client);
    return client;
}

LRESULT DefaultHitTest(TWindowRecord* w, POINT screen)
{
    const RECT window = WindowScreenRect(w);
    if (!RectContains(window, screen.x, screen.y))
        return HTNOWHERE;
    if (w->Region)
        if (const TRegion* region = RegionOf(w->Region);
            region && !region->Contains(screen.x - window.left, screen.y - window.top))
            return HTNOWHERE;
    if (RectContains(ClientScreenRect(w), screen.x, screen.y))
        return HTCLIENT;
    const TFrameMetrics m = Metrics(w->Style, w->ExStyle);
    const int x = screen.x;
    const int y = screen.y;
    const bool inBorder = x < window.left + m.Border || x >= window.right - m.Border || y < window.top + m.Border
        || y >= window.bottom - m.Border;
    if (inBorder) {
        if (!(w->Style & WS_THICKFRAME) || (w->Style & WS_MAXIMIZE))
            return HTBORDER;
        // Corner zones reach along the edges as far as the caption is high.
        const int corner = m.Border + GetSystemMetrics(SM_CYCAPTION);
        const bool left = x < window.left + corner;
        const bool right = x >= window.right - corner;
        const bool top = y < window.top + corner;
        const bool bottom = y >= window.bottom - corner;
        if (x < window.left + m.Border)
            return top ? HTTOPLEFT : (bottom ? HTBOTTOMLEFT : HTLEFT);
        if (x >= window.right - m.Border)
            return top ? HTTOPRIGHT : (bottom ? HTBOTTOMRIGHT : HTRIGHT);
        if (y < window.top + m.Border)
            return left ? HTTOPLEFT : (right ? HTTOPRIGHT : HTTOP);
        return left ? HTBOTTOMLEFT : (right ? HTBOTTOMRIGHT : HTBOTTOM);
    }
    if (m.Caption && y < window.top + m.Border + m.Caption) {
        const TCaptionButtons b = CaptionButtons(w, window);
        if (b.HasClose && RectContains(b.Close, x, y))
            return HTCLOSE;
        if (b.HasMinMax && RectContains(b.Maximize, x, y))
            return HTMAXBUTTON;
        if (b.HasMinMax && RectContains(b.Minimize, x, y))
            return HTMINBUTTON;
        if (b.HasSystemMenu && RectContains(b.SystemMenu, x, y))
            return HTSYSMENU;
        return HTCAPTION;
    }
    if (const LRESULT bar = ScrollBarHitTest(w, screen); bar != HTNOWHERE)
        return bar;
    return HTBORDER;
}

void PaintDefaultFrame(TWindowRecord* w, bool active)
{
    if (!IsVisibleChain(w))
        return;
    const RECT window { 0, 0, RectWidth(w->Window), RectHeight(w->Window) };
    const TFrameMetrics m = Metrics(w->Style, w->ExStyle);
    if (m.Border == 0 && m.Caption == 0) {
        PaintScrollBars(w);
        return;
    }
    // Everything outside the client area, band by band.
    const RECT& c = w->Client;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    FillBuffer(w, false, nullptr, RECT { window.left, window.top, window.right, c.top }, face);
    FillBuffer(w, false, nullptr, RECT { window.left, c.bottom, window.right, window.bottom }, face);
    FillBuffer(w, false, nullptr, RECT { window.left, c.top, c.left, c.bottom }, face);
    FillBuffer(w, false, nullptr, RECT { c.right, c.top, window.right, c.bottom }, face);
    if (m.Border >= 2) {
        Bevel(w, window, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
        Bevel(w, RECT { 1, 1, window.right - 1, window.bottom - 1 }, GetSysColor(COLOR_BTNHIGHLIGHT),
            GetSysColor(COLOR_BTNSHADOW));
    } else if (m.Border == 1) {
        Bevel(w, window, GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME));
    }
    if (m.Caption) {
        const RECT caption { m.Border, m.Border, window.right - m.Border, m.Border + m.Caption - 1 };
        FillBuffer(w, false, nullptr, caption, GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        const TCaptionButtons b = CaptionButtons(w, window);
        RECT text = caption;
        if (b.HasClose) {
            PaintButton(w, b.Close);
            text.right = b.Close.left;
        }
        if (b.HasMinMax) {
            PaintButton(w, b.Maximize);
            PaintButton(w, b.Minimize);
            text.right = b.Minimize.left;
        }
        if (b.HasSystemMenu)
            text.left = b.SystemMenu.right + 2;
        if (TDCProvider* provider = GPlatform->DCProvider)
            provider->DrawCaptionText(w->Handle, text, active);
    }
    PaintScrollBars(w);
    if (TWindowRecord* top = RootOf(w); top && top->Buffer) {
        const POINT origin = WindowOrigin(w);
        const POINT topOrigin = WindowOrigin(top);
        MarkDirty(top, RectOffset(window, origin.x - topOrigin.x, origin.y - topOrigin.y));
    }
}

} // namespace WinCore

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL, DWORD exStyle)
{
    if (!rect)
        return FALSE;
    const TFrameMetrics m = Metrics(style, exStyle);
    rect->left -= m.Border;
    rect->top -= m.Border + m.Caption;
    rect->right += m.Border;
    rect->bottom += m.Border;
    return TRUE;
}

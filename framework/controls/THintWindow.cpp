#include "framework/controls/THintWindow.h"

#include "framework/controls/TScreen.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Text.h"
#include "platform/win/Windows.h"

#include <algorithm>

THintWindow::THintWindow(TComponent* owner)
    : TCustomControl(owner)
{
    SetColor(clInfoBk);
    if (Screen)
        Font()->Assign(Screen->HintFont());
    FVisible = false;
}

void THintWindow::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.WndParent = nullptr;
    params.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint, void*)
{
    RECT r { 0, 0, maxWidth, 0 };
    const HDC dc = Canvas()->Handle();
    DrawText(dc, hint.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    // The border and a margin around the text.
    return TRect { 0, 0, r.right + 6, r.bottom + 2 };
}

void THintWindow::ActivateHint(const TRect& rect, const std::string& hint)
{
    ActivateHintData(rect, hint, nullptr);
}

void THintWindow::ActivateHintData(const TRect& rect, const std::string& hint, void*)
{
    TRect r = rect;
    SetCaption(hint);
    if (Screen) {
        const TRect area = Screen->MonitorFromPoint(TPoint { r.Left, r.Top })->BoundsRect();
        const int width = r.Right - r.Left;
        const int height = r.Bottom - r.Top;
        r.Left = std::max(area.Left, std::min(r.Left, area.Right - width));
        r.Top = std::max(area.Top, std::min(r.Top, area.Bottom - height));
        r.Right = r.Left + width;
        r.Bottom = r.Top + height;
    }
    SetBoundsRect(r);
    SetWindowPos(
        Handle(), HWND_TOPMOST, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

bool THintWindow::IsHintMsg(MSG&)
{
    return false;
}

void THintWindow::ReleaseHandle()
{
    DestroyHandle();
}

void THintWindow::Paint()
{
    TRect r = ClientRect();
    r.Left += 2;
    r.Top += 1;
    Canvas()->Font()->Assign(Font());
    Canvas()->Brush()->SetStyle(bsClear);
    RECT text = ToRECT(r);
    DrawText(Canvas()->Handle(), Caption().c_str(), -1, &text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

void THintWindow::WMNCHitTest(TMessage& message)
{
    message.Result = HTTRANSPARENT;
}

void THintWindow::CMTextChanged(TMessage&)
{
    Invalidate();
}

void THintWindow::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCHITTEST:
        WMNCHitTest(message);
        break;
    case CM_TEXTCHANGED:
        CMTextChanged(message);
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}

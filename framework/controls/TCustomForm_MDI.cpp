// The MDI side of forms: the client window of an fsMDIForm form and the fsMDIChild forms in it.
#include "framework/controls/Menus.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TCustomForm.h"
#include "framework/controls/TScreen.h"
#include "framework/graphics/Graphics.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

// Command IDs of the client's window-menu items start here, clear of the application's own commands.
constexpr UINT kFirstMDIChildId = 0xFF00;

} // namespace

void TCustomForm::CreateMDIClient()
{
    RECT client {};
    GetClientRect(FHandle, &client);
    CLIENTCREATESTRUCT params { nullptr, kFirstMDIChildId };
    // The children keep the frame and boxes their forms ask for.
    FClientHandle = CreateWindowEx(0, "MDICLIENT", "",
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES, 0, 0, client.right,
        client.bottom, FHandle, nullptr, nullptr, &params);
    SizeMDIClient();
}

void TCustomForm::SizeMDIClient()
{
    if (FClientHandle)
        AlignControl(nullptr);
}

void TCustomForm::AlignControls(TControl* control, TRect& rect)
{
    inherited::AlignControls(control, rect);
    // The MDI client takes what the aligned controls leave free, so that the children never lie under them.
    if (FClientHandle)
        SetWindowPos(FClientHandle, nullptr, rect.Left, rect.Top, std::max(rect.Right - rect.Left, 0),
            std::max(rect.Bottom - rect.Top, 0), SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND TCustomForm::MainMDIClient()
{
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!main || main->FFormStyle != fsMDIForm)
        return nullptr;
    main->HandleNeeded();
    return main->FClientHandle;
}

bool TCustomForm::IsMDIChildWindow() const
{
    return FFormStyle == fsMDIChild && FHandle && (GetWindowLongPtr(FHandle, GWL_EXSTYLE) & WS_EX_MDICHILD);
}

void TCustomForm::SendToMDIClient(UINT msg)
{
    if (IsMDIChildWindow())
        SendMessage(GetParent(FHandle), msg, reinterpret_cast<WPARAM>(FHandle), 0);
}

void TCustomForm::CreateWindowHandle(const TCreateParams& params)
{
    if (FFormStyle != fsMDIChild || Parent() || ParentWindow()) {
        inherited::CreateWindowHandle(params);
        return;
    }
    const HWND client = MainMDIClient();
    if (!client)
        throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
    // Shown and activated by the showing code, like any form.
    MDICREATESTRUCT create { params.WinClassName.c_str(), params.Caption.c_str(), params.WindowClass.hInstance,
        params.X, params.Y, params.Width, params.Height, params.Style & ~(WS_POPUP | WS_VISIBLE),
        reinterpret_cast<LPARAM>(params.Param) };
    SendMessage(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create));
}

void TCustomForm::DefaultHandler(TMessage& message)
{
    if (FHandle && FFormStyle == fsMDIForm && FClientHandle && message.Msg == WM_COMMAND) {
        message.Result = DefFrameProc(FHandle, FClientHandle, message.Msg, message.WParam, message.LParam);
        return;
    }
    inherited::DefaultHandler(message);
}

void TCustomForm::SetWindowMenu(TMenuItem* value)
{
    if (value == FWindowMenu)
        return;
    if (FWindowMenu)
        FWindowMenu->RemoveFreeNotification(this);
    FWindowMenu = value;
    if (FWindowMenu)
        FWindowMenu->FreeNotification(this);
}

int TCustomForm::MDIChildCount() const
{
    int count = 0;
    while (MDIChildren(count))
        ++count;
    return count;
}

TForm* TCustomForm::MDIChildren(int index) const
{
    if (FFormStyle != fsMDIForm || !FClientHandle || !Screen || index < 0)
        return nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm* form = Screen->Forms(i);
        if (form->IsMDIChildWindow() && GetParent(form->FHandle) == FClientHandle && index-- == 0)
            return form;
    }
    return nullptr;
}

TForm* TCustomForm::ActiveMDIChild() const
{
    if (FFormStyle != fsMDIForm || !FClientHandle)
        return nullptr;
    const HWND active = reinterpret_cast<HWND>(SendMessage(FClientHandle, WM_MDIGETACTIVE, 0, 0));
    return dynamic_cast<TForm*>(FindControl(active));
}

void TCustomForm::Tile()
{
    if (FFormStyle == fsMDIForm && FClientHandle)
        SendMessage(FClientHandle, WM_MDITILE, FTileMode == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}

void TCustomForm::Cascade()
{
    if (FFormStyle == fsMDIForm && FClientHandle)
        SendMessage(FClientHandle, WM_MDICASCADE, 0, 0);
}

void TCustomForm::ArrangeIcons()
{
    if (FFormStyle == fsMDIForm && FClientHandle)
        SendMessage(FClientHandle, WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::Next()
{
    if (FFormStyle == fsMDIForm && FClientHandle)
        SendMessage(FClientHandle, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous()
{
    if (FFormStyle == fsMDIForm && FClientHandle)
        SendMessage(FClientHandle, WM_MDINEXT, 0, 1);
}

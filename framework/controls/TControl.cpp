#include "framework/controls/TControl.h"

#include "framework/controls/ActnList.h"
#include "framework/controls/Menus.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TCustomForm.h"
#include "framework/controls/TWinControl.h"
#include "framework/core/SysUtils.h"
#include "framework/graphics/Graphics.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

// The windowless control that holds the capture through its parent's window (see SetCaptureControl).
TControl* CaptureControl = nullptr;

TPoint MessagePoint(const TMessage& message)
{
    return TPoint { GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam) };
}

} // namespace

// --- Free routines -------------------------------------------------------------------------------------

TShiftState KeysToShiftState(uintptr_t keys)
{
    TShiftState result;
    if (keys & MK_SHIFT)
        result.Include(ssShift);
    if (keys & MK_CONTROL)
        result.Include(ssCtrl);
    if (keys & MK_LBUTTON)
        result.Include(ssLeft);
    if (keys & MK_RBUTTON)
        result.Include(ssRight);
    if (keys & MK_MBUTTON)
        result.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0)
        result.Include(ssAlt);
    return result;
}

TCustomForm* GetParentForm(const TControl* control)
{
    if (!control)
        return nullptr;
    while (control->Parent())
        control = control->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(control));
}

TCustomForm* ValidParentForm(const TControl* control)
{
    TCustomForm* form = GetParentForm(control);
    if (!form)
        throw EInvalidOperation(Format("Control '%s' has no parent window", control ? control->Name() : ""));
    return form;
}

TControl* GetCaptureControl()
{
    TControl* result = TWinControl::FindControl(GetCapture());
    if (result && CaptureControl && CaptureControl->Parent() == result)
        result = CaptureControl;
    return result;
}

void SetCaptureControl(TControl* control)
{
    ReleaseCapture();
    CaptureControl = nullptr;
    if (!control)
        return;
    auto* winControl = dynamic_cast<TWinControl*>(control);
    if (!winControl) {
        if (!control->Parent())
            return;
        CaptureControl = control;
        winControl = control->Parent();
    }
    SetCapture(winControl->Handle());
}

// --- TSizeConstraints ----------------------------------------------------------------------------------

TSizeConstraints::TSizeConstraints(TControl* control)
    : FControl(control)
{
}

void TSizeConstraints::Assign(TPersistent* source)
{
    if (auto* other = dynamic_cast<TSizeConstraints*>(source)) {
        FMaxHeight = other->FMaxHeight;
        FMaxWidth = other->FMaxWidth;
        FMinHeight = other->FMinHeight;
        FMinWidth = other->FMinWidth;
        Change();
        return;
    }
    inherited::Assign(source);
}

// A maximum below the minimum is raised to it, so the control always has a size it may take.
void TSizeConstraints::SetMaxHeight(int value)
{
    value = std::max(value, 0);
    if (value == FMaxHeight)
        return;
    FMaxHeight = value;
    if (value > 0 && value < FMinHeight)
        FMinHeight = value;
    Change();
}

void TSizeConstraints::SetMaxWidth(int value)
{
    value = std::max(value, 0);
    if (value == FMaxWidth)
        return;
    FMaxWidth = value;
    if (value > 0 && value < FMinWidth)
        FMinWidth = value;
    Change();
}

void TSizeConstraints::SetMinHeight(int value)
{
    value = std::max(value, 0);
    if (value == FMinHeight)
        return;
    FMinHeight = value;
    if (FMaxHeight > 0 && value > FMaxHeight)
        FMaxHeight = value;
    Change();
}

void TSizeConstraints::SetMinWidth(int value)
{
    value = std::max(value, 0);
    if (value == FMinWidth)
        return;
    FMinWidth = value;
    if (FMaxWidth > 0 && value > FMaxWidth)
        FMaxWidth = value;
    Change();
}

void TSizeConstraints::Change()
{
    if (OnChange)
        OnChange(this);
}

// --- TControlActionLink --------------------------------------------------------------------------------

namespace {

// Makes a control follow its action.
class TControlActionLink final : public TActionLink {
    using inherited = TActionLink;

public:
    explicit TControlActionLink(TControl* client)
        : TActionLink(client)
        , FControl(client)
    {
    }

    void SetCaption(const std::string& value) override { FControl->SetCaption(value); }
    void SetEnabled(bool value) override { FControl->SetEnabled(value); }
    void SetHint(const std::string& value) override { FControl->SetHint(value); }
    void SetVisible(bool value) override { FControl->SetVisible(value); }

private:
    TControl* FControl;
};

} // namespace

// --- TControl ------------------------------------------------------------------------------------------

TControl::TControl(TComponent* owner)
    : TComponent(owner)
    , FConstraints(std::make_unique<TSizeConstraints>(this))
    , FFont(std::make_unique<TFont>())
{
    WindowProc = [this](TMessage& message) { WndProc(message); };
    FFont->OnChange = [this](TObject* sender) { FontChanged(sender); };
    FConstraints->OnChange = [this](TObject* sender) { ConstraintsChanged(sender); };
}

TControl::~TControl()
{
    if (CaptureControl == this)
        SetCaptureControl(nullptr);
    if (Application)
        Application->ControlDestroyed(this);
    FActionLink.reset();
    if (FParent)
        FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* value)
{
    if (value == FParent)
        return;
    if (value == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (value)
        value->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    DoSetBounds(left, top, width, height);
}

void TControl::DoSetBounds(int left, int top, int width, int height)
{
    if (!CheckNewSize(width, height))
        return;
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    const bool sized = width != FWidth || height != FHeight;
    InvalidateControl(FVisible, false);
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    UpdateAnchorRules();
    Invalidate();
    // Windowless controls hear of their move as windows do.
    TMessage message { WM_WINDOWPOSCHANGED, 0, 0, 0 };
    WindowProc(message);
    RequestAlign();
    if (sized && !ComponentState().Contains(csLoading))
        Resize();
}

bool TControl::CheckNewSize(int& newWidth, int& newHeight)
{
    int w = newWidth;
    int h = newHeight;
    if (!DoCanResize(w, h))
        return false;
    int w2 = w;
    int h2 = h;
    const bool ok = !FAutoSize || (DoCanAutoSize(w2, h2) && w2 == w && h2 == h) || DoCanResize(w2, h2);
    if (ok) {
        newWidth = w2;
        newHeight = h2;
    }
    return ok;
}

bool TControl::CanResize(int& newWidth, int& newHeight)
{
    bool result = true;
    if (OnCanResize)
        OnCanResize(this, newWidth, newHeight, result);
    return result;
}

bool TControl::CanAutoSize(int&, int&)
{
    return true;
}

void TControl::ConstrainedResize(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight)
{
    if (OnConstrainedResize)
        OnConstrainedResize(this, minWidth, minHeight, maxWidth, maxHeight);
}

bool TControl::DoCanResize(int& newWidth, int& newHeight)
{
    if (!CanResize(newWidth, newHeight))
        return false;
    DoConstrainedResize(newWidth, newHeight);
    return true;
}

bool TControl::DoCanAutoSize(int& newWidth, int& newHeight)
{
    if (FAlign == alClient || (FAlign != alNone && FAlign != alCustom && FParent == nullptr))
        return true;
    int w = newWidth;
    int h = newHeight;
    if (!CanAutoSize(w, h))
        return false;
    if (FAlign == alLeft || FAlign == alRight || FAlign == alNone || FAlign == alCustom)
        newWidth = w;
    if (FAlign == alTop || FAlign == alBottom || FAlign == alNone || FAlign == alCustom)
        newHeight = h;
    DoConstrainedResize(newWidth, newHeight);
    return true;
}

void TControl::DoConstrainedResize(int& newWidth, int& newHeight)
{
    int minWidth = FConstraints->MinWidth();
    int minHeight = FConstraints->MinHeight();
    int maxWidth = FConstraints->MaxWidth();
    int maxHeight = FConstraints->MaxHeight();
    ConstrainedResize(minWidth, minHeight, maxWidth, maxHeight);
    if (maxWidth > 0 && newWidth > maxWidth)
        newWidth = maxWidth;
    else if (minWidth > 0 && newWidth < minWidth)
        newWidth = minWidth;
    if (maxHeight > 0 && newHeight > maxHeight)
        newHeight = maxHeight;
    else if (minHeight > 0 && newHeight < minHeight)
        newHeight = minHeight;
}

void TControl::ConstraintsChanged(TObject*)
{
    SetBounds(FLeft, FTop, FWidth, FHeight);
}

TRect TControl::ClientRect() const
{
    return TRect { 0, 0, FWidth, FHeight };
}

int TControl::ClientWidth() const
{
    return ClientRect().Right;
}

int TControl::ClientHeight() const
{
    return ClientRect().Bottom;
}

void TControl::SetClientWidth(int value)
{
    SetWidth(FWidth - ClientRect().Right + value);
}

void TControl::SetClientHeight(int value)
{
    SetHeight(FHeight - ClientRect().Bottom + value);
}

TPoint TControl::ClientOrigin() const
{
    if (!FParent)
        throw EInvalidOperation(Format("Control '%s' has no parent window", Name()));
    const TPoint origin = FParent->ClientOrigin();
    return TPoint { origin.X + FLeft, origin.Y + FTop };
}

TPoint TControl::ClientToScreen(const TPoint& point) const
{
    const TPoint origin = ClientOrigin();
    return TPoint { point.X + origin.X, point.Y + origin.Y };
}

TPoint TControl::ScreenToClient(const TPoint& point) const
{
    const TPoint origin = ClientOrigin();
    return TPoint { point.X - origin.X, point.Y - origin.Y };
}

void TControl::SetAlign(TAlign value)
{
    if (value == FAlign)
        return;
    const TAlign old = FAlign;
    FAlign = value;
    FAnchors = TAnchors { akLeft, akTop };
    if (FParent && !ComponentState().Contains(csLoading)) {
        // A control that stops filling a side takes back a sensible size.
        if (old == alTop || old == alBottom) {
            if (value == alRight || value == alLeft)
                SetWidth(FHeight);
        } else if ((old == alLeft || old == alRight) && (value == alTop || value == alBottom)) {
            SetHeight(FWidth);
        }
    }
    RequestAlign();
}

void TControl::SetAnchors(TAnchors value)
{
    if (value == FAnchors)
        return;
    FAnchors = value;
    UpdateAnchorRules();
}

void TControl::SetAutoSize(bool value)
{
    if (value == FAutoSize)
        return;
    FAutoSize = value;
    if (value)
        AdjustSize();
}

void TControl::AdjustSize()
{
    if (!ComponentState().Contains(csLoading))
        SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::UpdateBoundsRect(const TRect& r)
{
    UpdateAnchorRules();
    FLeft = r.Left;
    FTop = r.Top;
    FWidth = r.Right - r.Left;
    FHeight = r.Bottom - r.Top;
}

void TControl::UpdateAnchorRules()
{
    if (FAnchorMove || ComponentState().Contains(csLoading))
        return;
    if (FAnchors == TAnchors { akLeft, akTop }) {
        FOriginalParentSize = TPoint {};
        return;
    }
    if (FAnchors.Contains(akRight))
        FAnchorRules.X = FAnchors.Contains(akLeft) ? FWidth : FLeft;
    else
        FAnchorRules.X = FLeft + FWidth / 2;
    if (FAnchors.Contains(akBottom))
        FAnchorRules.Y = FAnchors.Contains(akTop) ? FHeight : FTop;
    else
        FAnchorRules.Y = FTop + FHeight / 2;
    if (FParent) {
        const TRect client = FParent->ClientRect();
        FOriginalParentSize = TPoint { client.Right, client.Bottom };
    }
}

void TControl::RequestAlign()
{
    if (FParent)
        FParent->AlignControl(this);
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

void TControl::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    VisibleChanging();
    FVisible = value;
    Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0);
    RequestAlign();
}

void TControl::Show()
{
    if (FParent)
        FParent->Show();
    SetVisible(true);
}

void TControl::Hide()
{
    SetVisible(false);
}

void TControl::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetText(std::string_view value)
{
    if (value == FText)
        return;
    const std::string text(value);
    FText = text;
    Perform(WM_SETTEXT, 0, reinterpret_cast<intptr_t>(text.c_str()));
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetName(std::string_view value)
{
    const bool changeText
        = FControlStyle.Contains(csSetCaption) && !ComponentState().Contains(csLoading) && Name() == Text();
    inherited::SetName(value);
    if (changeText)
        SetText(value);
}

void TControl::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    FParentColor = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool value)
{
    if (value == FParentColor)
        return;
    FParentColor = value;
    if (FParent && value)
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetFont(TFont* value)
{
    FFont->Assign(value);
}

void TControl::FontChanged(TObject*)
{
    if (!FUpdatingFont)
        FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value)
{
    if (value == FParentFont)
        return;
    FParentFont = value;
    if (FParent && value)
        Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool value)
{
    if (value == FShowHint)
        return;
    FShowHint = value;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool value)
{
    if (value == FParentShowHint)
        return;
    FParentShowHint = value;
    if (FParent && value)
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor value)
{
    if (value == FCursor)
        return;
    FCursor = value;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* value)
{
    if (value == FPopupMenu)
        return;
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = value;
    if (FPopupMenu)
        FPopupMenu->FreeNotification(this);
}

TBasicAction* TControl::Action() const
{
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TControl::SetAction(TBasicAction* value)
{
    if (!value) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink) {
        FActionLink = std::make_unique<TControlActionLink>(this);
        FActionLink->OnChange = [this](TObject* sender) { DoActionChange(sender); };
    }
    FActionLink->SetAction(value);
    ActionChange(value, false);
}

void TControl::DoActionChange(TObject* sender)
{
    if (sender == Action())
        ActionChange(sender, false);
}

void TControl::ActionChange(TObject* sender, bool checkDefaults)
{
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action)
        return;
    if (!checkDefaults || Caption().empty())
        SetCaption(action->Caption());
    if (!checkDefaults || FEnabled)
        SetEnabled(action->Enabled());
    if (!checkDefaults || FHint.empty())
        SetHint(action->Hint());
    if (!checkDefaults || FVisible)
        SetVisible(action->Visible());
}

void TControl::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FPopupMenu)
        FPopupMenu = nullptr;
}

// --- Painting ------------------------------------------------------------------------------------------

void TControl::InvalidateControl(bool isVisible, bool isOpaque)
{
    if (!isVisible || !FParent || !FParent->HandleAllocated())
        return;
    RECT r = ToRECT(BoundsRect());
    InvalidateRect(FParent->FHandle, &r, !isOpaque);
}

void TControl::Invalidate()
{
    InvalidateControl(FVisible, FControlStyle.Contains(csOpaque));
}

void TControl::Repaint()
{
    if (!FVisible || !FParent || !FParent->HandleAllocated())
        return;
    Invalidate();
    FParent->Update();
}

void TControl::Update()
{
    if (FParent)
        FParent->Update();
}

void TControl::BringToFront()
{
    if (!FParent)
        return;
    auto& list = FParent->FControls;
    std::erase(list, this);
    list.push_back(this);
    if (auto* self = dynamic_cast<TWinControl*>(this); self && self->HandleAllocated())
        SetWindowPos(self->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::SendToBack()
{
    if (!FParent)
        return;
    auto& list = FParent->FControls;
    std::erase(list, this);
    list.insert(list.begin(), this);
    if (auto* self = dynamic_cast<TWinControl*>(this); self && self->HandleAllocated())
        SetWindowPos(self->FHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

// --- Messages ------------------------------------------------------------------------------------------

intptr_t TControl::Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    TMessage message { msg, wParam, lParam, 0 };
    if (WindowProc)
        WindowProc(message);
    else
        WndProc(message);
    return message.Result;
}

bool TControl::MouseCapture() const
{
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool value)
{
    if (value == MouseCapture())
        return;
    SetCaptureControl(value ? this : nullptr);
}

void TControl::WndProc(TMessage& message)
{
    if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST) {
        if (!FControlStyle.Contains(csDoubleClicks)) {
            switch (message.Msg) {
            case WM_LBUTTONDBLCLK:
            case WM_RBUTTONDBLCLK:
            case WM_MBUTTONDBLCLK:
                message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
                break;
            }
        }
        switch (message.Msg) {
        case WM_MOUSEMOVE:
            if (Application)
                Application->HintMouseMessage(this, message);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            FControlState.Include(csLButtonDown);
            break;
        case WM_LBUTTONUP:
            FControlState.Exclude(csLButtonDown);
            break;
        }
    }
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
        WMLButtonDown(message);
        break;
    case WM_LBUTTONDBLCLK:
        WMLButtonDblClk(message);
        break;
    case WM_LBUTTONUP:
        WMLButtonUp(message);
        break;
    case WM_RBUTTONDOWN:
        WMRButtonDown(message);
        break;
    case WM_RBUTTONDBLCLK:
        WMRButtonDblClk(message);
        break;
    case WM_RBUTTONUP:
        WMRButtonUp(message);
        break;
    case WM_MBUTTONDOWN:
        WMMButtonDown(message);
        break;
    case WM_MBUTTONDBLCLK:
        WMMButtonDblClk(message);
        break;
    case WM_MBUTTONUP:
        WMMButtonUp(message);
        break;
    case WM_MOUSEMOVE:
        WMMouseMove(message);
        break;
    case WM_MOUSEWHEEL:
        WMMouseWheel(message);
        break;
    case WM_CANCELMODE:
        WMCancelMode(message);
        break;
    case WM_CONTEXTMENU:
        WMContextMenu(message);
        break;
    case WM_WINDOWPOSCHANGED:
        WMWindowPosChanged(message);
        break;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(message);
        break;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(message);
        break;
    case CM_FONTCHANGED:
        CMFontChanged(message);
        break;
    case CM_COLORCHANGED:
        CMColorChanged(message);
        break;
    case CM_PARENTFONTCHANGED:
        CMParentFontChanged(message);
        break;
    case CM_PARENTCOLORCHANGED:
        CMParentColorChanged(message);
        break;
    case CM_PARENTSHOWHINTCHANGED:
        CMParentShowHintChanged(message);
        break;
    case CM_HITTEST:
        CMHitTest(message);
        break;
    case CM_MOUSEWHEEL:
        CMMouseWheel(message);
        break;
    default:
        DefaultHandler(message);
        break;
    }
}

void TControl::DefaultHandler(TMessage& message)
{
    switch (message.Msg) {
    case WM_GETTEXT: {
        char* buffer = reinterpret_cast<char*>(message.LParam);
        const size_t size = message.WParam;
        if (!buffer || size == 0) {
            message.Result = 0;
            break;
        }
        size_t n = std::min(size - 1, FText.size());
        while (n > 0 && n < FText.size() && (static_cast<unsigned char>(FText[n]) & 0xC0) == 0x80)
            --n;
        std::copy_n(FText.data(), n, buffer);
        buffer[n] = 0;
        message.Result = static_cast<intptr_t>(n);
        break;
    }
    case WM_GETTEXTLENGTH:
        message.Result = static_cast<intptr_t>(FText.size());
        break;
    case WM_SETTEXT:
        FText = message.LParam ? reinterpret_cast<const char*>(message.LParam) : "";
        message.Result = 1;
        break;
    default:
        break;
    }
}

void TControl::SendCancelMode(TControl* sender)
{
    for (TControl* control = this; control; control = control->FParent)
        if (auto* form = dynamic_cast<TCustomForm*>(control))
            form->SendCancelMode(sender);
}

void TControl::DoMouseDown(TMessage& message, TMouseButton button, TShiftState shift)
{
    if (FControlStyle.Contains(csNoStdEvents))
        return;
    const TPoint p = MessagePoint(message);
    MouseDown(button, KeysToShiftState(message.WParam) + shift, p.X, p.Y);
}

void TControl::DoMouseUp(TMessage& message, TMouseButton button)
{
    if (FControlStyle.Contains(csNoStdEvents))
        return;
    const TPoint p = MessagePoint(message);
    MouseUp(button, KeysToShiftState(message.WParam), p.X, p.Y);
}

void TControl::WMLButtonDown(TMessage& message)
{
    SendCancelMode(this);
    DefaultHandler(message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents))
        FControlState.Include(csClicked);
    DoMouseDown(message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& message)
{
    SendCancelMode(this);
    DefaultHandler(message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents))
        DblClick();
    DoMouseDown(message, mbLeft, { ssDouble });
}

void TControl::WMLButtonUp(TMessage& message)
{
    DefaultHandler(message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(false);
    if (FControlState.Contains(csClicked)) {
        FControlState.Exclude(csClicked);
        const TPoint p = MessagePoint(message);
        const TRect client = ClientRect();
        if (p.X >= client.Left && p.X < client.Right && p.Y >= client.Top && p.Y < client.Bottom)
            Click();
    }
    DoMouseUp(message, mbLeft);
}

void TControl::WMRButtonDown(TMessage& message)
{
    SendCancelMode(this);
    DefaultHandler(message);
    DoMouseDown(message, mbRight, {});
}

void TControl::WMRButtonDblClk(TMessage& message)
{
    SendCancelMode(this);
    DefaultHandler(message);
    DoMouseDown(message, mbRight, { ssDouble });
}

void TControl::WMRButtonUp(TMessage& message)
{
    DefaultHandler(message);
    DoMouseUp(message, mbRight);
}

void TControl::WMMButtonDown(TMessage& message)
{
    SendCancelMode(this);
    DefaultHandler(message);
    DoMouseDown(message, mbMiddle, {});
}

void TControl::WMMButtonDblClk(TMessage& message)
{
    SendCancelMode(this);
    DefaultHandler(message);
    DoMouseDown(message, mbMiddle, { ssDouble });
}

void TControl::WMMButtonUp(TMessage& message)
{
    DefaultHandler(message);
    DoMouseUp(message, mbMiddle);
}

void TControl::WMMouseMove(TMessage& message)
{
    DefaultHandler(message);
    if (FControlStyle.Contains(csNoStdEvents))
        return;
    const TPoint p = MessagePoint(message);
    MouseMove(KeysToShiftState(message.WParam), p.X, p.Y);
}

void TControl::WMMouseWheel(TMessage& message)
{
    // Offered to the control as CM_MOUSEWHEEL first; unhandled, it goes on to the default (the parent).
    const TShiftState shift = KeysToShiftState(GET_KEYSTATE_WPARAM(message.WParam));
    const TPoint pos = MessagePoint(message);
    if (!DoMouseWheel(shift, GET_WHEEL_DELTA_WPARAM(message.WParam), pos))
        DefaultHandler(message);
    else
        message.Result = 1;
}

void TControl::CMMouseWheel(TMessage& message)
{
    const TShiftState shift = KeysToShiftState(GET_KEYSTATE_WPARAM(message.WParam));
    message.Result = DoMouseWheel(shift, GET_WHEEL_DELTA_WPARAM(message.WParam), MessagePoint(message)) ? 1 : 0;
}

void TControl::WMCancelMode(TMessage& message)
{
    DefaultHandler(message);
    if (MouseCapture()) {
        SetMouseCapture(false);
        if (FControlState.Contains(csLButtonDown))
            Perform(WM_LBUTTONUP, 0, -1);
    } else {
        FControlState.Exclude(csLButtonDown);
    }
}

void TControl::WMContextMenu(TMessage& message)
{
    if (message.Result != 0)
        return;
    TPoint pos { GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam) };
    // -1, -1: from the keyboard; the menu opens at the control's top-left.
    TPoint local = (pos.X == -1 && pos.Y == -1) ? TPoint { -1, -1 } : ScreenToClient(pos);
    bool handled = false;
    DoContextPopup(local, handled);
    message.Result = handled ? 1 : 0;
    if (handled)
        return;
    TPopupMenu* menu = GetPopupMenu();
    if (menu && menu->AutoPopup()) {
        if (pos.X == -1 && pos.Y == -1)
            pos = ClientToScreen(TPoint { 0, 0 });
        menu->SetPopupComponent(this);
        menu->Popup(pos.X, pos.Y);
        message.Result = 1;
        return;
    }
    DefaultHandler(message);
}

void TControl::WMWindowPosChanged(TMessage& message)
{
    DefaultHandler(message);
}

void TControl::CMEnabledChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMVisibleChanged(TMessage&)
{
    InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque));
}

void TControl::CMFontChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMColorChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMParentFontChanged(TMessage&)
{
    if (!FParentFont || !FParent)
        return;
    FUpdatingFont = true;
    FFont->Assign(FParent->Font());
    FUpdatingFont = false;
}

void TControl::CMParentColorChanged(TMessage&)
{
    if (!FParentColor || !FParent)
        return;
    SetColor(FParent->Color());
    FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage&)
{
    if (!FParentShowHint || !FParent)
        return;
    SetShowHint(FParent->ShowHint());
    FParentShowHint = true;
}

void TControl::CMHitTest(TMessage& message)
{
    message.Result = 1; // HTCLIENT: the whole bounds rectangle hits
}

// --- Virtual operations ---------------------------------------------------------------------------------

void TControl::Click()
{
    if (OnClick) {
        TNotifyEvent handler = OnClick;
        handler(this);
    } else if (FActionLink) {
        FActionLink->Execute(this);
    }
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    if (!handled) {
        if (wheelDelta < 0)
            handled = DoMouseWheelDown(shift, mousePos);
        else if (wheelDelta > 0)
            handled = DoMouseWheelUp(shift, mousePos);
    }
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState shift, TPoint mousePos)
{
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, shift, mousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState shift, TPoint mousePos)
{
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, shift, mousePos, handled);
    return handled;
}

void TControl::DoContextPopup(TPoint mousePos, bool& handled)
{
    if (OnContextPopup)
        OnContextPopup(this, mousePos, handled);
}

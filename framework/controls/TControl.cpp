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
    DragControlDestroyed(this);
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

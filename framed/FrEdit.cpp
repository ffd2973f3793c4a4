#include "framed/FrEdit.h"

#include "framed/ThemeServices.h"
#include "framework/controls/TControlCanvas.h"
#include "framework/graphics/TCanvas.h"
#include "platform/controls/EditControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Clipboard.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"

// --- What the edit and the memo share ------------------------------------------------------------------------------

template <class Base>
TFrFramedEdit<Base>::TFrFramedEdit(TComponent* owner)
    : Base(owner)
{
    this->FControlStyle.Exclude(csSetCaption);
    this->FControlStyle.Include(csCaptureMouse);
}

template <class Base> TFrFramedEdit<Base>::~TFrFramedEdit()
{
    if (FFrameController)
        FFrameController->RemoveControl(this);
}

template <class Base> bool TFrFramedEdit<Base>::FrameLeftToStyles() const
{
    return FFramingPreference == fpXPThemes && ThemeServices()->StylesEnabled();
}

template <class Base> void TFrFramedEdit<Base>::UpdateColors()
{
    if (this->ComponentState().Contains(csLoading))
        return;
    FUpdatingColor = true;
    if (!this->Enabled())
        TControl::SetColor(FDisabledColor);
    else if (FFocusedFlag)
        TControl::SetColor(FFocusColor);
    else
        TControl::SetColor(FNormalColor);
    FUpdatingColor = false;
}

template <class Base> void TFrFramedEdit<Base>::SetColor(TColor value)
{
    if (FUpdatingColor) {
        TControl::SetColor(value);
        return;
    }
    if (FFocusColor == FNormalColor)
        FFocusColor = value;
    FNormalColor = value;
    UpdateColors();
    if (FFrameVisible && !FrameLeftToStyles())
        RepaintFrame();
}

template <class Base> void TFrFramedEdit<Base>::SetFocusColor(TColor value)
{
    if (value == FFocusColor)
        return;
    FFocusColor = value;
    if (FFocusedFlag)
        UpdateColors();
}

template <class Base> void TFrFramedEdit<Base>::SetDisabledColor(TColor value)
{
    if (value == FDisabledColor)
        return;
    FDisabledColor = value;
    if (!this->Enabled())
        UpdateColors();
}

#define FR_EDIT_FRAME_SETTER(Name, Type)                                                                            \
    template <class Base> void TFrFramedEdit<Base>::Set##Name(Type value)                                           \
    {                                                                                                                \
        if (value == F##Name)                                                                                        \
            return;                                                                                                  \
        F##Name = value;                                                                                             \
        RepaintFrame();                                                                                              \
    }

FR_EDIT_FRAME_SETTER(FrameStyle, TFrameStyle)
FR_EDIT_FRAME_SETTER(FrameColor, TColor)
FR_EDIT_FRAME_SETTER(FrameSides, TSides)
FR_EDIT_FRAME_SETTER(FrameHotStyle, TFrameStyle)
FR_EDIT_FRAME_SETTER(FrameHotColor, TColor)
#undef FR_EDIT_FRAME_SETTER

template <class Base> void TFrFramedEdit<Base>::SetFrameHotTrack(bool value)
{
    if (value == FFrameHotTrack)
        return;
    FFrameHotTrack = value;
    if (value) {
        SetFrameVisible(true);
        if (!this->ComponentState().Contains(csLoading))
            FFrameSides = AllSides;
    }
    RepaintFrame();
    this->Invalidate();
}

template <class Base> void TFrFramedEdit<Base>::SetFrameVisible(bool value)
{
    if (value == FFrameVisible)
        return;
    FFrameVisible = value;
    if (value)
        this->SetCtl3D(true);
    if (this->HandleAllocated())
        this->RecreateWnd();
}

template <class Base> void TFrFramedEdit<Base>::SetFramingPreference(TFramingPreference value)
{
    if (value == FFramingPreference)
        return;
    FFramingPreference = value;
    if (value == fpCustomFraming)
        RepaintFrame();
}

template <class Base> void TFrFramedEdit<Base>::SetFrameController(TFrFrameController* value)
{
    if (value == FFrameController)
        return;
    if (FFrameController) {
        FFrameController->RemoveControl(this);
        FFrameController->RemoveFreeNotification(this);
    }
    FFrameController = value;
    if (FFrameController) {
        FFrameController->AddControl(this);
        FFrameController->FreeNotification(this);
    }
}

template <class Base> void TFrFramedEdit<Base>::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FFrameController)
        FFrameController = nullptr;
}

template <class Base> bool TFrFramedEdit<Base>::SetPublishedProperty(std::string_view name, int64_t value)
{
    if (name == "ParentColor")
        this->SetParentColor(value != 0);
    else if (name == "Color")
        SetColor(TColor(value));
    else if (name == "DisabledColor")
        SetDisabledColor(TColor(value));
    else if (name == "FocusColor")
        SetFocusColor(TColor(value));
    else if (name == "FrameColor")
        SetFrameColor(TColor(value));
    else if (name == "FrameHotColor")
        SetFrameHotColor(TColor(value));
    else if (name == "FrameHotTrack")
        SetFrameHotTrack(value != 0);
    else if (name == "FrameHotStyle")
        SetFrameHotStyle(TFrameStyle(value));
    else if (name == "FrameSides")
        SetFrameSides(IntToSides(int(value)));
    else if (name == "FrameStyle")
        SetFrameStyle(TFrameStyle(value));
    else if (name == "FrameVisible")
        SetFrameVisible(value != 0);
    else if (name == "FramingPreference")
        SetFramingPreference(TFramingPreference(value));
    else
        return false;
    return true;
}

template <class Base> std::vector<TFrStoredValue> TFrFramedEdit<Base>::StoredColors() const
{
    std::vector<TFrStoredValue> stored;
    if (FFrameController)
        return stored;
    if (this->Enabled())
        stored.push_back({ "Color", ColorToString(FNormalColor) });
    if (ColorToRGB(FFocusColor) != ColorToRGB(FNormalColor))
        stored.push_back({ "FocusColor", ColorToString(FFocusColor) });
    stored.push_back({ "DisabledColor", ColorToString(FDisabledColor) });
    return stored;
}

template <class Base> bool TFrFramedEdit<Base>::ReadStoredProperty(std::string_view name, std::string_view value)
{
    if (name == "FrameFlat") {
        const bool flat = value == "True";
        SetFrameHotTrack(flat);
        if (flat) {
            SetFrameStyle(fsStatus);
            SetFrameHotStyle(fsLowered);
        }
        return true;
    }
    if (name == "FrameFocusStyle") {
        TFrameStyle style;
        if (FrameStyleFromIdent(value, style))
            SetFrameHotStyle(style);
        return true;
    }
    return name == "FrameFlatStyle";
}

template <class Base> void TFrFramedEdit<Base>::Loaded()
{
    inherited::Loaded();
    UpdateColors();
    UpdateFrame(false, false);
}

template <class Base> void TFrFramedEdit<Base>::RepaintFrame()
{
    if (this->HandleAllocated())
        RedrawWindow(this->Handle(), nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_INVALIDATE);
}

template <class Base> void TFrFramedEdit<Base>::UpdateFrame(bool viaFocus, bool value)
{
    if (viaFocus)
        FFocusedFlag = value;
    else
        FOverFlag = value;
    if (FFrameHotTrack)
        RepaintFrame();
    UpdateColors();
}

template <class Base> void TFrFramedEdit<Base>::PaintFrame()
{
    HWND window = this->Handle();
    HDC dc = GetWindowDC(window);
    if (!dc)
        return;
    TCanvas canvas;
    canvas.SetHandle(dc);
    const bool hot = HotNow();
    PaintControlFrame(&canvas, this->Width(), this->Height(), hot ? FFrameHotStyle : FFrameStyle, TControl::Color(),
        hot ? FFrameHotColor : FFrameColor, FFrameSides, false);
    canvas.SetHandle(nullptr);
    ReleaseDC(window, dc);
}

template <class Base> void TFrFramedEdit<Base>::KeyPress(char32_t& key)
{
    if (FTabOnEnter && key == '\r') {
        // Enter moves on like Tab, and never reaches the window as a line break.
        key = 0;
        PostMessage(this->Handle(), WM_KEYDOWN, VK_TAB, 0);
        return;
    }
    inherited::KeyPress(key);
}

template <class Base> void TFrFramedEdit<Base>::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCPAINT:
        inherited::WndProc(message);
        if (FFrameVisible && !FrameLeftToStyles())
            PaintFrame();
        message.Result = 0;
        return;
    case CM_ENTER:
        UpdateFrame(true, true);
        inherited::WndProc(message);
        return;
    case CM_EXIT:
        inherited::WndProc(message);
        UpdateFrame(true, false);
        return;
    case CM_MOUSEENTER:
        inherited::WndProc(message);
        UpdateFrame(false, true);
        if (OnMouseEnter)
            OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        UpdateFrame(false, false);
        if (OnMouseLeave)
            OnMouseLeave(this);
        return;
    case CM_ENABLEDCHANGED:
        inherited::WndProc(message);
        if (this->HandleAllocated())
            SendMessage(this->Handle(), WM_NCPAINT, 1, 0);
        UpdateColors();
        return;
    case WM_SIZE:
    case CM_PARENTCOLORCHANGED:
        inherited::WndProc(message);
        if (FFrameVisible && !FrameLeftToStyles())
            RepaintFrame();
        return;
    }
    inherited::WndProc(message);
}

template class TFrFramedEdit<TCustomMaskEdit>;
template class TFrFramedEdit<TMemo>;

// --- The single-line edit ------------------------------------------------------------------------------------------

TFrCustomEdit::TFrCustomEdit(TComponent* owner)
    : TFrFramedEdit<TCustomMaskEdit>(owner)
{
}

void TFrCustomEdit::SetAlignment(TAlignment value)
{
    if (value == taCenter)
        value = taLeftJustify;
    if (value == FAlignment)
        return;
    FAlignment = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TFrCustomEdit::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    params.Style &= ~DWORD(ES_MULTILINE);
    if (FAlignment == taRightJustify)
        params.Style |= ES_RIGHT;
}

void TFrCustomEdit::ValidateEdit()
{
    try {
        inherited::ValidateEdit();
    } catch (const EDBEditError&) {
        if (!OnValidationFailed)
            throw;
        std::string message;
        OnValidationFailed(this, message);
        // The window layer has no system bell to sound before the error.
        if (!message.empty())
            throw EDBEditError(message);
    }
}

// --- The memo ------------------------------------------------------------------------------------------------------

TFrMemo::TFrMemo(TComponent* owner)
    : TFrFramedEdit<TMemo>(owner)
{
}

int TFrMemo::Line() const
{
    return int(SendToWindow(EM_LINEFROMCHAR, uintptr_t(SelStart()), 0)) + 1;
}

int TFrMemo::Column() const
{
    return SelStart() - int(SendToWindow(EM_LINEINDEX, uintptr_t(Line() - 1), 0)) + 1;
}

void TFrMemo::SetColumn(int value)
{
    const int start = int(SendToWindow(EM_LINEINDEX, uintptr_t(Line() - 1), 0));
    if (value < 1 || value > int(SendToWindow(EM_LINELENGTH, uintptr_t(start), 0)) + 1)
        return;
    SendToWindow(EM_SETSEL, uintptr_t(start + value - 1), start + value - 1);
    LineColChange();
}

void TFrMemo::SetLine(int value)
{
    const intptr_t start = SendToWindow(EM_LINEINDEX, uintptr_t(value - 1), 0);
    if (start < 0)
        return;
    SendToWindow(EM_SETSEL, uintptr_t(start), start);
    if (Line() == value) {
        const int first = int(SendToWindow(EM_GETFIRSTVISIBLELINE, 0, 0));
        SendToWindow(EM_LINESCROLL, 0, value - first - 1);
    }
    LineColChange();
}

void TFrMemo::LineColChange()
{
    if (OnLineColChange)
        OnLineColChange(this, Line(), Column());
    ClipboardChange();
}

void TFrMemo::ClipboardChange()
{
    if (OnClipboardChange)
        OnClipboardChange(this, SelLength() != 0, IsClipboardFormatAvailable(CF_TEXT) != 0);
}

void TFrMemo::Change()
{
    inherited::Change();
    LineColChange();
}

void TFrMemo::Click()
{
    inherited::Click();
    LineColChange();
}

void TFrMemo::KeyDown(uint16_t& key, TShiftState shift)
{
    inherited::KeyDown(key, shift);
    LineColChange();
}

void TFrMemo::KeyUp(uint16_t& key, TShiftState shift)
{
    inherited::KeyUp(key, shift);
    LineColChange();
}

void TFrMemo::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    ClipboardChange();
}

void TFrMemo::CreateWnd()
{
    inherited::CreateWnd();
    LineColChange();
    ClipboardChange();
}

void TFrMemo::ScrollLines(int lines)
{
    if (GetKeyState(VK_CONTROL) < 0) {
        UINT wheelLines = 3;
        SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &wheelLines, 0);
        lines *= int(wheelLines);
    }
    SendToWindow(EM_LINESCROLL, 0, lines);
}

bool TFrMemo::DoMouseWheelDown(TShiftState shift, TPoint mousePos)
{
    inherited::DoMouseWheelDown(shift, mousePos);
    ScrollLines(1);
    return true;
}

bool TFrMemo::DoMouseWheelUp(TShiftState shift, TPoint mousePos)
{
    inherited::DoMouseWheelUp(shift, mousePos);
    ScrollLines(-1);
    return true;
}

void TFrMemo::WndProc(TMessage& message)
{
    inherited::WndProc(message);
}

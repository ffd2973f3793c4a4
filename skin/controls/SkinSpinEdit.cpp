#include "skin/controls/SkinSpinEdit.h"

#include "framework/controls/Messages.h"
#include "framework/graphics/TBitmap.h"
#include "framework/core/Numbers.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinEditSupport.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspSkinData.h"

#include <cmath>

using namespace SPUtils;
using namespace SkinNumberRules;

namespace {

constexpr UINT_PTR kRepeatTimer = 1;

} // namespace

// ---- TspSkinNumEdit --------------------------------------------------------------------------------------------

TspSkinNumEdit::TspSkinNumEdit(TComponent* owner)
    : TspCustomEdit(owner)
{
    SetBorderStyle(ebsNone);
}

bool TspSkinNumEdit::IsValidChar(char32_t key) const
{
    return SkinNumberRules::IsValidChar(key, Text(), Float ? vtFloat : vtInteger, EditorEnabled);
}

void TspSkinNumEdit::KeyDown(uint16_t& key, TShiftState shift)
{
    // The arrows step the value instead of moving the caret, and the key handlers never see them.
    if (key == VK_UP || key == VK_DOWN) {
        const std::function<void()>& request = key == VK_UP ? OnUpRequest : OnDownRequest;
        key = 0;
        if (request)
            request();
        return;
    }
    inherited::KeyDown(key, shift);
}

void TspSkinNumEdit::KeyPress(char32_t& key)
{
    if (!IsValidChar(key)) {
        key = 0;
        MessageBeep(0);
        return;
    }
    inherited::KeyPress(key);
}

void TspSkinNumEdit::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_MOUSEWHEEL: {
        // A turn away from the user steps down: one step a message, whatever the delta.
        const std::function<void()>& request
            = GET_WHEEL_DELTA_WPARAM(message.WParam) > 0 ? OnDownRequest : OnUpRequest;
        if (request)
            request();
        message.Result = 1;
        return;
    }
    case CM_MOUSEENTER:
        inherited::WndProc(message);
        if (OnPointerEntered)
            OnPointerEntered();
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        if (OnPointerLeft)
            OnPointerLeft();
        return;
    default:
        inherited::WndProc(message);
    }
}

// ---- TspSkinSpinEdit -------------------------------------------------------------------------------------------

TspSkinSpinEdit::TspSkinSpinEdit(TComponent* owner)
    : TspSkinCustomControl(owner)
{
    SetControlStyle(ControlStyle() + TControlStyle { csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks });
    FEdit = new TspSkinNumEdit(this);
    FEdit->SetParent(this);
    FEdit->SetAutoSize(false);
    FEdit->SetEditTransparent(false);
    FEdit->SetColor(FDefaultColor);
    FEdit->Font()->Assign(DefaultFont());
    FEdit->OnChange = [this](TObject* sender) { EditChange(sender); };
    FEdit->OnUpRequest = [this] { UpClick(this); };
    FEdit->OnDownRequest = [this] { DownClick(this); };
    FEdit->OnKeyDown = [this](TObject* sender, uint16_t& key, TShiftState shift) { EditKeyDown(sender, key, shift); };
    FEdit->OnKeyUp = [this](TObject* sender, uint16_t& key, TShiftState shift) { EditKeyUp(sender, key, shift); };
    FEdit->OnKeyPress = [this](TObject* sender, char32_t& key) { EditKeyPress(sender, key); };
    FEdit->OnEnter = [this](TObject* sender) { EditEnter(sender); };
    FEdit->OnExit = [this](TObject* sender) { EditExit(sender); };
    FEdit->OnPointerEntered = [this] { EditMouseEnter(); };
    FEdit->OnPointerLeft = [this] { EditMouseLeave(); };
    FButtons.StartTimer = [this](UINT ms) { StartTimer(ms); };
    FButtons.StopTimer = [this] { StopTimer(); };
    FButtons.Repaint = [this] { Invalidate(); };
    FButtons.Step = [this](int direction) { SetValue(FValue + direction * FIncrement); };
    ShowText(0);
    SetBounds(Left(), Top(), 120, 20);
    SetSkinDataName("spinedit");
}

TspSkinSpinEdit::~TspSkinSpinEdit()
{
    // The edit's events point back here; the component tree frees it after this destructor.
    FEdit->OnChange = nullptr;
    FEdit->OnExit = nullptr;
    FEdit->OnPointerLeft = nullptr;
}

const TspDataSkinSpinEditControl* TspSkinSpinEdit::SpinRecord() const
{
    return SkinRecordAt<TspDataSkinSpinEditControl>(SkinData(), SkinIndex);
}

// ---- Value -----------------------------------------------------------------------------------------------------

double TspSkinSpinEdit::CheckValue(double value) const
{
    if (FMaxValue == 0 && FMinValue == 0)
        return value;
    // The minimum is tested first, so with the bounds crossed values below it still give it.
    if (value < FMinValue)
        return FMinValue;
    if (value > FMaxValue)
        return FMaxValue;
    return value;
}

void TspSkinSpinEdit::ShowText(double value)
{
    const bool updating = FUpdating;
    FUpdating = true;
    FEdit->SetText(FormatValue(value, FValueType, FDecimal));
    FUpdating = updating;
}

void TspSkinSpinEdit::SetValue(double value)
{
    FValue = CheckValue(value);
    if (FUpdating) {
        // From inside the change handler: only the text follows.
        ShowText(FValue);
        return;
    }
    ShowText(FValue);
    Change();
}

void TspSkinSpinEdit::SimpleSetValue(double value)
{
    FValue = CheckValue(value);
    ShowText(FValue);
}

void TspSkinSpinEdit::Change()
{
    // Text the handler writes is not parsed, and a SetValue from inside it fires no second Change.
    const bool updating = FUpdating;
    FUpdating = true;
    if (OnChange)
        OnChange(this);
    FUpdating = updating;
}

void TspSkinSpinEdit::SetMinValue(double value)
{
    FMinValue = value;
    if (FValue < value)
        SetValue(value);
}

void TspSkinSpinEdit::SetMaxValue(double value)
{
    FMaxValue = value;
    if (FValue > value)
        SetValue(value);
}

void TspSkinSpinEdit::SetValueType(TspValueType value)
{
    if (FValueType == value)
        return;
    FValueType = value;
    if (value == vtInteger) {
        FIncrement = static_cast<double>(Round(FIncrement));
        if (FIncrement == 0)
            FIncrement = 1;
    }
    FEdit->Float = value == vtFloat;
}

void TspSkinSpinEdit::UpClick(TObject*)
{
    SetValue(FValue + FIncrement);
}

void TspSkinSpinEdit::DownClick(TObject*)
{
    SetValue(FValue - FIncrement);
}

void TspSkinSpinEdit::EditChange(TObject*)
{
    if (FUpdating)
        return;
    const std::string text = FEdit->Text();
    if (!IsNumText(text))
        return;
    const double typed = ParseNumber(text, FValueType);
    const double limited = CheckValue(typed);
    // A number too large to convert that no range limits (or a text without a digit yet) changes nothing.
    if (!std::isfinite(limited))
        return;
    if (limited != FValue) {
        FValue = limited;
        Change();
    }
    if (RewriteTyped(typed, limited, FMinValue, FMaxValue))
        ShowText(limited);
}

// ---- The edit's events -----------------------------------------------------------------------------------------

void TspSkinSpinEdit::EditKeyDown(TObject*, uint16_t& key, TShiftState shift)
{
    if (OnEditKeyDown)
        OnEditKeyDown(this, key, shift);
}

void TspSkinSpinEdit::EditKeyUp(TObject*, uint16_t& key, TShiftState shift)
{
    if (OnEditKeyUp)
        OnEditKeyUp(this, key, shift);
}

void TspSkinSpinEdit::EditKeyPress(TObject*, char32_t& key)
{
    if (OnEditKeyPress)
        OnEditKeyPress(this, key);
}

void TspSkinSpinEdit::EditEnter(TObject*)
{
    if (OnEditEnter)
        OnEditEnter(this);
    FEditFocused = true;
    UpdateEditFontColor();
    Invalidate();
}

void TspSkinSpinEdit::EditExit(TObject*)
{
    if (OnEditExit)
        OnEditExit(this);
    FEditFocused = false;
    UpdateEditFontColor();
    Invalidate();
    // A partial entry (a lone minus, a number short of the minimum) gives way to the value.
    ShowText(FValue);
}

void TspSkinSpinEdit::EditMouseEnter()
{
    FPointerOver = true;
    if (!FEditFocused && SpinRecord()) {
        UpdateEditFontColor();
        Invalidate();
    }
}

void TspSkinSpinEdit::EditMouseLeave()
{
    FPointerOver = false;
    if (!FEditFocused && SpinRecord()) {
        UpdateEditFontColor();
        Invalidate();
    }
}

void TspSkinSpinEdit::UpdateEditFontColor()
{
    const TspDataSkinSpinEditControl* record = SpinRecord();
    TColor color;
    if (Enabled())
        color = !record ? DefaultFont()->Color() : (Hot() ? record->ActiveFontColor : record->FontColor);
    else
        color = !record ? clGrayText : record->DisabledFontColor;
    FEdit->Font()->SetColor(color);
}

void TspSkinSpinEdit::SetDefaultColor(TColor value)
{
    FDefaultColor = value;
    if (!SpinRecord())
        FEdit->SetColor(value);
}

void TspSkinSpinEdit::SetUseSkinSize(bool value)
{
    FUseSkinSize = value;
    SetBounds(Left(), Top(), Width(), Height());
}

// ---- Skin and layout -------------------------------------------------------------------------------------------

void TspSkinSpinEdit::GetSkinData()
{
    inherited::GetSkinData();
    CalcRects();
}

void TspSkinSpinEdit::ChangeSkinData()
{
    inherited::ChangeSkinData();
    const TspDataSkinSpinEditControl* record = SpinRecord();
    if (!record) {
        FEdit->Font()->Assign(DefaultFont());
        FEdit->SetEditTransparent(false);
        FEdit->SetColor(FDefaultColor);
    } else {
        SkinControlSupport::ApplyCaptionFont(FEdit->Font(), SkinControlSupport::RecordFont(record), UseSkinFont(),
            DefaultFont(), SkinData());
        FEdit->SetEditTransparent(true);
        if (FUseSkinSize)
            SetHeight(RectHeight(record->SkinRect));
    }
    CalcRects();
    UpdateEditFontColor();
    Invalidate();
}

void TspSkinSpinEdit::DefaultFontChange()
{
    if (SpinRecord() && UseSkinFont())
        return;
    FEdit->Font()->Assign(DefaultFont());
    CalcRects();
}

void TspSkinSpinEdit::CalcSize(int& width, int& height)
{
    if (FUseSkinSize)
        inherited::CalcSize(width, height);
}

void TspSkinSpinEdit::SetControlRegion()
{
    if (FUseSkinSize)
        inherited::SetControlRegion();
}

void TspSkinSpinEdit::CalcRects()
{
    if (!FEdit)
        return;
    const int width = Width();
    const int height = Height();
    const TspDataSkinSpinEditControl* record = SpinRecord();
    TRect editRect;
    if (!record) {
        FButtons.Buttons[0].Rect = TRect(width - 17, 2, width - 2, height / 2);
        FButtons.Buttons[1].Rect = TRect(width - 17, height / 2, width - 2, height - 2);
        editRect = TRect(2, 2, width - 17, height - 2);
        const int editHeight = SkinEditSupport::CharHeight(FEdit->Font());
        FEdit->SetBounds(2, height / 2 - editHeight / 2, width - 19, editHeight);
        return;
    }
    const int dw = width - RectWidth(record->SkinRect);
    TRect up = record->UpButtonRect;
    TRect down = record->DownButtonRect;
    for (TRect* r : { &up, &down }) {
        if (r->Left > record->RightTopPoint.X) {
            r->Left += dw;
            r->Right += dw;
        }
    }
    editRect = record->ClientRect;
    editRect.Right += dw;
    if (!FUseSkinSize) {
        const int dh = height - RectHeight(record->SkinRect);
        editRect.Bottom += dh;
        if (down.Bottom >= up.Bottom && down.Top >= up.Bottom - 1) {
            // Stacked buttons share the grown height, split at the top plus half the bottom coordinate.
            TRect both(up.Left, up.Top, down.Right, down.Bottom + dh);
            const int split = both.Top + both.Bottom / 2;
            up = TRect(both.Left, both.Top, both.Right, split);
            down = TRect(both.Left, split, both.Right, both.Bottom);
        } else {
            up.Bottom += dh;
            down.Bottom += dh;
        }
    }
    FButtons.Buttons[0].Rect = up;
    FButtons.Buttons[1].Rect = down;
    const int editHeight = SkinEditSupport::CharHeight(FEdit->Font());
    FEdit->SetBounds(editRect.Left, editRect.Top + RectHeight(editRect) / 2 - editHeight / 2, RectWidth(editRect),
        editHeight);
}

void TspSkinSpinEdit::Invalidate()
{
    inherited::Invalidate();
    if (SpinRecord())
        FEdit->Invalidate();
}

// ---- Painting --------------------------------------------------------------------------------------------------

void TspSkinSpinEdit::DrawButtonFace(TCanvas* canvas, int index)
{
    const TspStepButtons::TButton& button = FButtons.Buttons[index];
    TRect r = button.Rect;
    if (button.Down && button.MouseIn) {
        canvas->Brush()->SetColor(static_cast<TColor>(RGB(133, 147, 181)));
        canvas->FillRect(r);
        canvas->Brush()->SetColor(clNavy);
        canvas->FrameRect(r);
    } else if (button.MouseIn) {
        canvas->Brush()->SetColor(static_cast<TColor>(RGB(182, 189, 210)));
        canvas->FillRect(r);
        canvas->Brush()->SetColor(clNavy);
        canvas->FrameRect(r);
    } else {
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(r);
    }
    DrawArrowImage(canvas, r, clBlack, index == 0 ? 3 : 4);
}

void TspSkinSpinEdit::CreateControlDefaultImage(TBitmap* bitmap)
{
    CalcRects();
    TCanvas* canvas = bitmap->Canvas();
    const TRect whole(0, 0, Width(), Height());
    canvas->Brush()->SetColor(FDefaultColor);
    canvas->FillRect(whole);
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FrameRect(whole);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FrameRect(TRect(1, 1, Width() - 1, Height() - 1));
    DrawButtonFace(canvas, 0);
    DrawButtonFace(canvas, 1);
}

void TspSkinSpinEdit::CreateControlSkinImage(TBitmap* bitmap)
{
    const TspDataSkinSpinEditControl* record = SpinRecord();
    if (!record) {
        CreateControlDefaultImage(bitmap);
        return;
    }
    CalcRects();
    TBitmap* picture = SkinPictureAt(SkinData(), record->PictureIndex);
    const bool active = Hot() && !IsNullRect(record->ActiveSkinRect);
    if (FUseSkinSize) {
        inherited::CreateControlSkinImage(bitmap);
        if (active)
            CreateHSkinImage(record->LeftTopPoint.X, RectWidth(record->SkinRect) - record->RightTopPoint.X, bitmap,
                picture, record->ActiveSkinRect, Width(), Height(), record->StretchEffect);
        bitmap->SetSize(Width(), Height());
        const TRect pressed[2] = { IsNullRect(record->DownUpButtonRect) ? record->ActiveUpButtonRect
                                                                        : record->DownUpButtonRect,
            IsNullRect(record->DownDownButtonRect) ? record->ActiveDownButtonRect : record->DownDownButtonRect };
        const TRect hot[2] = { record->ActiveUpButtonRect, record->ActiveDownButtonRect };
        for (int i = 0; i < 2; ++i) {
            const TspStepButtons::TButton& button = FButtons.Buttons[i];
            if (button.Down && button.MouseIn)
                SkinEditSupport::CopyPiece(bitmap->Canvas(), button.Rect, picture, pressed[i]);
            else if (button.MouseIn)
                SkinEditSupport::CopyPiece(bitmap->Canvas(), button.Rect, picture, hot[i]);
        }
        return;
    }
    // Any height: the face stretched with its borders kept, the buttons in the default look over it.
    bitmap->SetSize(Width(), Height());
    CreateStretchImage(bitmap, picture, active ? record->ActiveSkinRect : record->SkinRect, record->ClientRect, true);
    DrawButtonFace(bitmap->Canvas(), 0);
    DrawButtonFace(bitmap->Canvas(), 1);
}

// ---- Buttons and auto-repeat ---------------------------------------------------------------------------------

void TspSkinSpinEdit::StartTimer(UINT ms)
{
    if (HandleAllocated())
        SetTimer(Handle(), kRepeatTimer, ms, nullptr);
}

void TspSkinSpinEdit::StopTimer()
{
    if (HandleAllocated())
        KillTimer(Handle(), kRepeatTimer);
}

void TspSkinSpinEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    FButtons.Press(x, y);
    inherited::MouseDown(button, shift, x, y);
}

void TspSkinSpinEdit::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    FButtons.TestActive(x, y);
}

void TspSkinSpinEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    bool inside = false;
    const int released = FButtons.Release(inside);
    // A click steps once, on its release over the button.
    if (released != -1 && inside)
        SetValue(released == 0 ? FValue + FIncrement : FValue - FIncrement);
    inherited::MouseUp(button, shift, x, y);
}

void TspSkinSpinEdit::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_TIMER:
        inherited::WndProc(message);
        if (message.WParam == kRepeatTimer)
            FButtons.Tick();
        return;
    case WM_SIZE:
        inherited::WndProc(message);
        CalcRects();
        return;
    case CM_MOUSEENTER:
        inherited::WndProc(message);
        FButtons.PointerEntered(this);
        if (SpinRecord() && !FEditFocused) {
            FPointerOver = true;
            UpdateEditFontColor();
            Invalidate();
        }
        return;
    case CM_MOUSELEAVE: {
        inherited::WndProc(message);
        FButtons.PointerLeft();
        // Moving onto the edit inside is no leaving.
        POINT cursor {};
        GetCursorPos(&cursor);
        if (WindowFromPoint(cursor) != FEdit->Handle() && SpinRecord() && !FEditFocused) {
            FPointerOver = false;
            UpdateEditFontColor();
            Invalidate();
        }
        return;
    }
    case CM_FOCUSCHANGED:
        inherited::WndProc(message);
        if (Focused() && FEdit->HandleAllocated())
            FEdit->SetFocus();
        return;
    case CM_ENABLEDCHANGED:
        inherited::WndProc(message);
        FEdit->SetEnabled(Enabled());
        UpdateEditFontColor();
        return;
    default:
        inherited::WndProc(message);
    }
}

#include "skin/lists/TspSkinCheckComboBox.h"

#include "framework/controls/Messages.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspSkinData.h"
#include "skin/lists/SkinListSupport.h"

#include <algorithm>

using namespace SPUtils;
using namespace SkinListSupport;

namespace {

constexpr UINT_PTR kScrollTimer = 1;

} // namespace

// ---- TspPopupCheckListBox -------------------------------------------------------------------------------------

TspPopupCheckListBox::TspPopupCheckListBox(TComponent* owner)
    : inherited(owner)
{
    FControlStyle.Include(csNoDesignVisible);
    FControlStyle.Include(csReplicatable);
    SetCtl3D(false);
    SetParentCtl3D(false);
    SetVisible(false);
}

void TspPopupCheckListBox::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    SetPopupListParams(params);
}

void TspPopupCheckListBox::Show(TPoint origin)
{
    ShowPopupWindow(Handle(), origin);
    SetVisible(true);
}

void TspPopupCheckListBox::Hide()
{
    if (HandleAllocated())
        HidePopupWindow(Handle());
    SetVisible(false);
}

void TspPopupCheckListBox::WndProc(TMessage& message)
{
    if (message.Msg == WM_MOUSEACTIVATE) {
        message.Result = MA_NOACTIVATE;
        return;
    }
    inherited::WndProc(message);
}

// ---- TspSkinCustomCheckComboBox -------------------------------------------------------------------------------

TspSkinCustomCheckComboBox::TspSkinCustomCheckComboBox(TComponent* owner)
    : inherited(owner)
{
    FControlStyle = TControlStyle { csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable };
    SetTabStop(true);
    SetSkinDataName("combobox");
    Font()->SetName("Arial");
    Font()->SetColor(clWindowText);
    Font()->SetStyle({});
    Font()->SetHeight(14);
    SetBounds(Left(), Top(), 120, 20);
    FListBox = new TspPopupCheckListBox(this);
    FListBox->SetParent(this);
    TspListBox* inner = FListBox->ListBox();
    inner->SetTabStop(false);
    inner->OnMouseMove = [this](TObject*, TShiftState, int x, int y) {
        const int index = FListBox->ItemAtPos(TPoint { x, y }, true);
        if (index >= 0 && index < Items()->Count())
            FListBox->SetItemIndex(index);
    };
    FOldListProc = inner->WindowProc;
    inner->WindowProc = [this](TMessage& message) { ListHook(message); };
    CalcRects();
}

TspSkinCustomCheckComboBox::~TspSkinCustomCheckComboBox()
{
    *FAlive = false;
    if (HandleAllocated())
        KillTimer(Handle(), kScrollTimer);
    TspPopupCheckListBox* list = FListBox;
    FListBox = nullptr;
    delete list;
}

void TspSkinCustomCheckComboBox::SetDropDownCount(int value)
{
    if (value > 0)
        FDropDownCount = value;
}

void TspSkinCustomCheckComboBox::SetDefaultColor(TColor value)
{
    FDefaultColor = value;
    Repaint();
}

void TspSkinCustomCheckComboBox::SetChecked(int index, bool value)
{
    FListBox->SetChecked(index, value);
    CheckText();
    Repaint();
}

void TspSkinCustomCheckComboBox::CheckText()
{
    std::string text;
    bool first = true;
    for (int i = 0; i < Items()->Count(); ++i)
        if (FListBox->Checked(i)) {
            if (!first)
                text += ',';
            text += Items()->Strings(i);
            first = false;
        }
    SetText(text);
}

void TspSkinCustomCheckComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

bool TspSkinCustomCheckComboBox::IsPopupVisible() const { return FListBox && FListBox->Visible(); }

bool TspSkinCustomCheckComboBox::CanCancelDropDown()
{
    POINT p;
    GetCursorPos(&p);
    return IsPopupVisible() && WindowFromPoint(p) != Handle();
}

// ---- Opening, closing, toggling -------------------------------------------------------------------------------

void TspSkinCustomCheckComboBox::DropDown()
{
    const int count = Items()->Count();
    if (count == 0)
        return;
    const std::shared_ptr<bool> alive = FAlive;
    if (OnDropDown)
        OnDropDown(this);
    if (!*alive || Items()->Count() == 0)
        return;
    FListBox->SetWidth(FListBoxWidth > 0 ? FListBoxWidth : Width());
    FListBox->SetRowCount(std::min(FDropDownCount, count));
    const TPoint origin = DropDownOrigin(this, FListBox->Height());
    FListBox->SetBounds(origin.X, origin.Y, FListBox->Width(), FListBox->Height());
    if (FListBox->ItemIndex() == 0 && count >= 2) {
        FListBox->SetItemIndex(1);
        FListBox->SetItemIndex(0);
    }
    FListBox->SetTopIndex(std::max(0, FListBox->ItemIndex()));
    FListBox->Show(origin);
}

void TspSkinCustomCheckComboBox::CloseUp(bool accept)
{
    StopTimer(this);
    if (!IsPopupVisible())
        return;
    FListBox->Hide();
    if (!accept)
        return;
    Repaint();
    const std::shared_ptr<bool> alive = FAlive;
    if (OnCloseUp)
        OnCloseUp(this);
    if (*alive && OnClick)
        OnClick(this);
}

// With no current item there is nothing to toggle (a key press must not raise a list-index error).
void TspSkinCustomCheckComboBox::ToggleCurrent()
{
    const int index = FListBox->ItemIndex();
    if (index < 0 || index >= Items()->Count())
        return;
    FListBox->SetChecked(index, !FListBox->Checked(index));
    CheckText();
    Repaint();
    const std::shared_ptr<bool> alive = FAlive;
    Change();
    if (*alive && OnClick)
        OnClick(this);
}

void TspSkinCustomCheckComboBox::MoveCurrent(int index)
{
    const int count = Items()->Count();
    if (count == 0)
        return;
    FListBox->SetItemIndex(std::clamp(index, 0, count - 1));
}

// ---- The pointer ----------------------------------------------------------------------------------------------

void TspSkinCustomCheckComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (!Focused() && CanFocus())
        SetFocus();
    if (button != mbLeft)
        return;
    switch (PressFace(this, x, y, true, IsPopupVisible())) {
    case TFaceAction::Open:
        DropDown();
        break;
    case TFaceAction::Close:
        CloseUp(false);
        break;
    case TFaceAction::None:
        break;
    }
}

void TspSkinCustomCheckComboBox::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    FollowPointer(this, FListBox, IsPopupVisible(), x, y);
}

void TspSkinCustomCheckComboBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    if (FTracking && FMovedInList) {
        ReleaseCapture();
        FTracking = false;
        StopTimer(this);
        POINT p;
        GetCursorPos(&p);
        TspListBox* inner = FListBox->ListBox();
        if (inner->HandleAllocated() && WindowFromPoint(p) == inner->Handle()) {
            const std::shared_ptr<bool> alive = FAlive;
            ToggleCurrent();
            if (!*alive)
                return;
        }
    } else {
        FTracking = false;
    }
    if (FButtonPressed) {
        FButtonPressed = false;
        Repaint();
    }
}

void TspSkinCustomCheckComboBox::ListHook(TMessage& message)
{
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
        FTracking = true;
        FMovedInList = true;
        SetCapture(Handle());
        return;
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return;
    default:
        FOldListProc(message);
    }
}

// ---- Keys -----------------------------------------------------------------------------------------------------

void TspSkinCustomCheckComboBox::KeyDown(uint16_t& key, TShiftState shift)
{
    inherited::KeyDown(key, shift);
    const bool alt = shift.Contains(ssAlt);
    const int index = FListBox->ItemIndex();
    const uint16_t pressed = key;
    if (pressed == VK_RETURN || pressed == VK_ESCAPE || pressed == VK_SPACE || (pressed >= VK_PRIOR && pressed <= VK_DOWN))
        key = 0;
    switch (pressed) {
    case VK_RETURN:
        if (IsPopupVisible())
            CloseUp(true);
        break;
    case VK_ESCAPE:
        if (IsPopupVisible())
            CloseUp(false);
        break;
    case VK_SPACE:
        ToggleCurrent();
        break;
    case VK_UP:
    case VK_LEFT:
        if (alt)
            CloseUp(false);
        else if (index > 0)
            MoveCurrent(index - 1);
        break;
    case VK_DOWN:
    case VK_RIGHT:
        if (alt) {
            if (!IsPopupVisible())
                DropDown();
        } else if (index < Items()->Count() - 1) {
            MoveCurrent(index + 1);
        }
        break;
    case VK_PRIOR:
        MoveCurrent(index - (FDropDownCount + 1));
        break;
    case VK_NEXT:
        MoveCurrent(index + (FDropDownCount - 1));
        break;
    default:
        key = pressed;
        break;
    }
}

// ---- Messages -------------------------------------------------------------------------------------------------

void TspSkinCustomCheckComboBox::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETFOCUS:
        inherited::WndProc(message);
        Repaint();
        return;
    case WM_KILLFOCUS:
        inherited::WndProc(message);
        if (IsPopupVisible()) {
            const std::shared_ptr<bool> alive = FAlive;
            CloseUp(false);
            if (!*alive)
                return;
        }
        Repaint();
        return;
    case WM_SIZE:
        inherited::WndProc(message);
        CalcRects();
        return;
    case WM_TIMER:
        if (message.WParam == kScrollTimer) {
            const int index = FListBox->ItemIndex();
            if (TimerMode == 1 && index > 0)
                MoveCurrent(index - 1);
            else if (TimerMode == 2 && index < Items()->Count() - 1)
                MoveCurrent(index + 1);
            return;
        }
        inherited::WndProc(message);
        return;
    case WM_MOUSEWHEEL: {
        const int index = FListBox->ItemIndex();
        if (static_cast<int16_t>(HIWORD(message.WParam)) <= 0)
            MoveCurrent(index + 1);
        else if (index > 0)
            MoveCurrent(index - 1);
        message.Result = 1;
        return;
    }
    case CM_MOUSEENTER:
        inherited::WndProc(message);
        MouseIn = true;
        if (SkinIndex != -1 && !IsNullRect(ActiveSkinRect))
            Invalidate();
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        MouseIn = false;
        FButtonHover = false;
        Repaint();
        return;
    case CM_CANCELMODE: {
        if (!IsOwnPart(MessageSender(message), this, FListBox))
            CloseUp(false);
        return;
    }
    case CM_WANTSPECIALKEY:
        if (!ClaimArrowKey(message))
            inherited::WndProc(message);
        return;
    case CM_ENABLEDCHANGED: {
        inherited::WndProc(message);
        Repaint();
        Change();
        return;
    }
    default:
        inherited::WndProc(message);
    }
}

// ---- Skin and face --------------------------------------------------------------------------------------------

void TspSkinCustomCheckComboBox::GetSkinData()
{
    inherited::GetSkinData();
    if (!ReadComboRecord(SkinData(), SkinIndex))
        SkinIndex = -1;
}

void TspSkinCustomCheckComboBox::ChangeSkinData()
{
    inherited::ChangeSkinData();
    CalcRects();
    Repaint();
    if (!FListBox)
        return;
    std::string name;
    if (SkinIndex != -1)
        name = FListBox->CaptionMode() ? "captionchecklistbox" : "checklistbox";
    FListBox->SetSkinDataName(name);
    FListBox->SetSkinData(SkinData());
    FListBox->UpDateScrollBar();
}

void TspSkinCustomCheckComboBox::DefaultFontChange() { Font()->Assign(DefaultFont()); }

void TspSkinCustomCheckComboBox::CalcRects()
{
    CalcFaceRects(Width(), Height(), SkinIndex != -1, SkinRectangle, RightTopPoint.X, SkinClientRect, false);
}

void TspSkinCustomCheckComboBox::CreateControlDefaultImage(TBitmap* bitmap)
{
    CalcRects();
    TCanvas* canvas = bitmap->Canvas();
    const TRect whole = Rect(0, 0, bitmap->Width(), bitmap->Height());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(whole);
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FrameRect(whole);
    DrawDefaultComboButton(canvas, Enabled());
    DrawText(bitmap);
}

void TspSkinCustomCheckComboBox::CreateControlSkinImage(TBitmap* bitmap)
{
    CalcRects();
    if (!IsNullRect(ActiveSkinRect) && (MouseIn || Focused()))
        CreateHSkinImage(LeftTopPoint.X, RectWidth(SkinRectangle) - RightTopPoint.X, bitmap, SkinPicture,
            ActiveSkinRect, bitmap->Width(), bitmap->Height(), false);
    else
        inherited::CreateControlSkinImage(bitmap);
    DrawSkinComboButton(bitmap->Canvas(), SkinPicture, Enabled());
    DrawText(bitmap);
}

void TspSkinCustomCheckComboBox::DrawText(TBitmap* face)
{
    const int areaWidth = RectWidth(CBItemRect);
    const int areaHeight = RectHeight(CBItemRect);
    if (areaWidth <= 0 || areaHeight <= 0)
        return;
    const bool focused = Focused();
    TBitmap bitmap;
    TCanvas* cnvs = bitmap.Canvas();
    const TspSkinData* skin = SkinData();
    const TColor disabled = DisabledFontColor(SkinIndex != -1 ? skin : nullptr);
    if (SkinIndex == -1 || !SkinPicture) {
        bitmap.SetSize(areaWidth, areaHeight);
        TFont* font = cnvs->Font();
        font->SetName(Font()->Name());
        font->SetStyle(Font()->Style());
        font->SetHeight(Font()->Height());
        SkinLabels::ApplyCharset(font, skin, DefaultFont());
        cnvs->Brush()->SetColor(focused ? clHighlight : FDefaultColor);
        font->SetColor(!Enabled() ? disabled : focused ? clHighlightText : DefaultFont()->Color());
        cnvs->FillRect(Rect(0, 0, areaWidth, areaHeight));
        cnvs->Brush()->SetStyle(bsClear);
        SPDrawText2(cnvs, Text(), Rect(0, 0, areaWidth, areaHeight));
        if (focused) {
            cnvs->Brush()->SetStyle(bsSolid);
            cnvs->Brush()->SetColor(clHighlight);
            cnvs->DrawFocusRect(Rect(0, 0, areaWidth, areaHeight));
        }
        face->Canvas()->Draw(CBItemRect.Left, CBItemRect.Top, &bitmap);
        return;
    }
    const int height = SkinItemHeight(areaHeight);
    bitmap.SetSize(areaWidth, height);
    cnvs->CopyRect(Rect(0, 0, areaWidth, height), face->Canvas(),
        Rect(CBItemRect.Left, CBItemRect.Top, CBItemRect.Right, CBItemRect.Top + height));
    const TRect& source = SkinItemSource(focused);
    if (!IsNullRect(source))
        CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &bitmap, SkinPicture, source, areaWidth, height, false);
    const TRect txtRect = SkinItemTextRect(areaWidth, SkinClientRect);
    SkinControlSupport::ApplyCaptionFont(
        cnvs->Font(), { FontName, FontHeight, FontStyle, FontColor }, UseSkinFont(), DefaultFont(), skin);
    cnvs->Font()->SetColor(Enabled() ? SkinItemFontColor(focused) : disabled);
    cnvs->Brush()->SetStyle(bsClear);
    SPDrawText2(cnvs, Text(), txtRect);
    face->Canvas()->Draw(CBItemRect.Left, CBItemRect.Top, &bitmap);
}

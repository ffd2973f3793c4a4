#include "skin/controls/SkinUpDown.h"

#include "framework/controls/Messages.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinEditSupport.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspSkinData.h"

using namespace SPUtils;

namespace {

constexpr UINT_PTR kRepeatTimer = 1;

} // namespace

TspSkinUpDown::TspSkinUpDown(TComponent* owner)
    : TspSkinCustomControl(owner)
{
    FButtons.StartTimer = [this](UINT ms) {
        if (HandleAllocated())
            SetTimer(Handle(), kRepeatTimer, ms, nullptr);
    };
    FButtons.StopTimer = [this] {
        if (HandleAllocated())
            KillTimer(Handle(), kRepeatTimer);
    };
    FButtons.Repaint = [this] { Invalidate(); };
    // Repeat steps report the change only, not the button.
    FButtons.Step = [this](int direction) { SetPosition(FPosition + direction * FIncrement); };
    SetSkinDataName("hupdown");
    SetBounds(Left(), Top(), 25, 50);
}

void TspSkinUpDown::SetOrientation(TUDOrientation value)
{
    FOrientation = value;
    if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
        SetSkinDataName(value == udVertical ? "vupdown" : "hupdown");
    CalcRects();
    Invalidate();
}

void TspSkinUpDown::SetPosition(int value)
{
    if (value > FMax || value < FMin)
        return;
    FPosition = value;
    if (!ComponentState().Contains(csDesigning) && OnChange)
        OnChange(this);
}

void TspSkinUpDown::SetMin(int value)
{
    FMin = value;
    if (FPosition < value)
        FPosition = value;
}

void TspSkinUpDown::SetMax(int value)
{
    FMax = value;
    if (FPosition > value)
        FPosition = value;
}

void TspSkinUpDown::SetUseSkinSize(bool value)
{
    FUseSkinSize = value;
    SetBounds(Left(), Top(), Width(), Height());
}

void TspSkinUpDown::CalcRects()
{
    const auto* record = SkinRecordAt<TspDataSkinUpDownControl>(SkinData(), SkinIndex);
    TspStepButtons::TButton* b = FButtons.Buttons;
    if (record && FUseSkinSize) {
        b[0].Rect = record->UpButtonRect;
        b[1].Rect = record->DownButtonRect;
    } else if (FOrientation == udVertical) {
        b[0].Rect = TRect(0, 0, Width(), Height() / 2);
        b[1].Rect = TRect(0, Height() / 2, Width(), Height());
    } else {
        b[1].Rect = TRect(0, 0, Width() / 2, Height());
        b[0].Rect = TRect(Width() / 2, 0, Width(), Height());
    }
}

void TspSkinUpDown::GetSkinData()
{
    inherited::GetSkinData();
    CalcRects();
}

void TspSkinUpDown::CalcSize(int& width, int& height)
{
    if (FUseSkinSize)
        inherited::CalcSize(width, height);
}

void TspSkinUpDown::SetControlRegion()
{
    if (FUseSkinSize)
        inherited::SetControlRegion();
    else
        GiveRegion(nullptr);
}

int TspSkinUpDown::ArrowKind(int index) const
{
    if (FOrientation == udVertical)
        return index == 0 ? 3 : 4;
    return index == 0 ? 2 : 1;
}

void TspSkinUpDown::DrawDefaultButton(TCanvas* canvas, int index, const TRect& r, TColor arrow)
{
    const TspStepButtons::TButton& button = FButtons.Buttons[index];
    TColor frame = clBtnShadow, fill = clBtnFace;
    if (button.Down && button.MouseIn) {
        frame = clNavy;
        fill = static_cast<TColor>(RGB(133, 147, 181));
    } else if (button.MouseIn) {
        frame = clNavy;
        fill = static_cast<TColor>(RGB(182, 189, 210));
    }
    canvas->Brush()->SetColor(fill);
    canvas->FillRect(r);
    canvas->Brush()->SetColor(frame);
    canvas->FrameRect(r);
    DrawArrowImage(canvas, r, arrow, ArrowKind(index));
}

void TspSkinUpDown::CreateControlDefaultImage(TBitmap* bitmap)
{
    CalcRects();
    for (int i = 0; i < 2; ++i)
        DrawDefaultButton(bitmap->Canvas(), i, FButtons.Buttons[i].Rect, clBlack);
}

void TspSkinUpDown::CreateControlSkinImage(TBitmap* bitmap)
{
    CalcRects();
    const auto* record = SkinRecordAt<TspDataSkinUpDownControl>(SkinData(), SkinIndex);
    if (!record) {
        CreateControlDefaultImage(bitmap);
        return;
    }
    if (FUseSkinSize) {
        inherited::CreateControlSkinImage(bitmap);
        TBitmap* picture = SkinPictureAt(SkinData(), record->PictureIndex);
        const TRect pressed[2] = { IsNullRect(record->DownUpButtonRect) ? record->ActiveUpButtonRect
                                                                        : record->DownUpButtonRect,
            IsNullRect(record->DownDownButtonRect) ? record->ActiveDownButtonRect : record->DownDownButtonRect };
        const TRect hot[2] = { record->ActiveUpButtonRect, record->ActiveDownButtonRect };
        for (int i = 0; i < 2; ++i) {
            const TspStepButtons::TButton& button = FButtons.Buttons[i];
            const TRect& piece = button.Down && button.MouseIn ? pressed[i] : hot[i];
            if (button.MouseIn)
                SkinEditSupport::CopyPiece(bitmap->Canvas(), button.Rect, picture, piece);
        }
        return;
    }
    // Any size: each button from the skin's resizable button face, its arrow in the face's font colour.
    const auto* face
        = SkinRecordAt<TspDataSkinButtonControl>(SkinData(), SkinData()->GetControlIndex("resizebutton"));
    if (!face)
        return;
    TBitmap* picture = SkinPictureAt(SkinData(), face->PictureIndex);
    for (int i = 0; i < 2; ++i) {
        const TspStepButtons::TButton& button = FButtons.Buttons[i];
        const TRect active = IsNullRect(face->ActiveSkinRect) ? face->SkinRect : face->ActiveSkinRect;
        TRect source = face->SkinRect;
        TColor color = face->FontColor;
        if (button.Down && button.MouseIn) {
            source = IsNullRect(face->DownSkinRect) ? active : face->DownSkinRect;
            color = face->DownFontColor;
        } else if (button.MouseIn) {
            source = active;
            color = face->ActiveFontColor;
        }
        TBitmap piece;
        piece.SetSize(RectWidth(button.Rect), RectHeight(button.Rect));
        CreateStretchImage(&piece, picture, source, face->ClientRect, true);
        bitmap->Canvas()->Draw(button.Rect.Left, button.Rect.Top, &piece);
        TRect arrow = button.Rect;
        if (button.Down && button.MouseIn) {
            arrow.Left += 2;
            arrow.Top += 2;
        }
        DrawArrowImage(bitmap->Canvas(), arrow, color, ArrowKind(i));
    }
}

void TspSkinUpDown::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    FButtons.Repeats = FIncrement != 0;
    FButtons.Press(x, y);
    inherited::MouseDown(button, shift, x, y);
}

void TspSkinUpDown::MouseMove(TShiftState shift, int x, int y)
{
    FButtons.TestActive(x, y);
    inherited::MouseMove(shift, x, y);
}

void TspSkinUpDown::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    bool inside = false;
    const int released = FButtons.Release(inside);
    // The release steps and reports its button wherever the pointer is.
    if (released == 0) {
        if (FIncrement != 0)
            SetPosition(FPosition + FIncrement);
        if (OnUpButtonClick)
            OnUpButtonClick(this);
    } else if (released == 1) {
        if (FIncrement != 0)
            SetPosition(FPosition - FIncrement);
        if (OnDownButtonClick)
            OnDownButtonClick(this);
    }
    inherited::MouseUp(button, shift, x, y);
}

void TspSkinUpDown::WndProc(TMessage& message)
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
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case CM_MOUSEENTER:
        FButtons.PointerEntered(this);
        inherited::WndProc(message);
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        FButtons.PointerLeft();
        return;
    default:
        inherited::WndProc(message);
    }
}

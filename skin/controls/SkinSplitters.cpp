#include "skin/controls/SkinSplitters.h"

#include "framework/controls/Forms.h"
#include "framework/controls/Messages.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinImages.h"

#include <algorithm>

using namespace SPUtils;

namespace {

constexpr uint16_t kEscape = 27;

TspDataSkinSplitterControl* SplitterRecord(const TspSkinData* skin, std::string_view name, int& index)
{
    index = skin && !skin->Empty ? skin->GetControlIndex(name) : -1;
    auto* record = SkinRecordAt<TspDataSkinSplitterControl>(skin, index);
    // A record that names no picture cannot be drawn from.
    if (!record || !SkinPictureAt(skin, record->PictureIndex))
        index = -1;
    return index == -1 ? nullptr : record;
}

bool FaceAligned(TAlign align)
{
    return align != alNone && align != alClient;
}

// The skinned face of a splitter of `width` x `height`: the record's three parts along the splitter, the gripper
// centred on them.
void PaintFace(TCanvas* canvas, const TspSkinData* skin, const TspDataSkinSplitterControl& record, TAlign align,
    int width, int height)
{
    TBitmap* picture = SkinPictureAt(skin, record.PictureIndex);
    const TRect& r = record.SkinRect;
    TBitmap face;
    if (align == alTop || align == alBottom)
        CreateHSkinImage(record.LeftTopPoint.X, (r.Right - r.Left) - record.RightTopPoint.X, &face, picture, r, width,
            r.Bottom - r.Top, record.StretchEffect);
    else
        CreateVSkinImage(record.LeftTopPoint.Y, (r.Bottom - r.Top) - record.LeftBottomPoint.Y, &face, picture, r,
            r.Right - r.Left, height, record.StretchEffect);
    const TRect& grip = record.GripperRect;
    if (!IsNullRect(grip)) {
        const int x = face.Width() / 2 - (grip.Right - grip.Left) / 2;
        const int y = face.Height() / 2 - (grip.Bottom - grip.Top) / 2;
        SkinControlSupport::DrawPiece(face.Canvas(), x, y, picture, grip, record.GripperTransparent,
            record.GripperTransparentColor);
    }
    canvas->Draw(0, 0, &face);
}

// The thickness a splitter takes from its record: the face's height across a top or bottom splitter, its width
// across the others.
void SetThickness(TControl* control, const TspDataSkinSplitterControl* record, int defaultSize)
{
    const bool across = control->Align() == alTop || control->Align() == alBottom;
    const int size = !record ? defaultSize
        : across             ? record->SkinRect.Bottom - record->SkinRect.Top
                             : record->SkinRect.Right - record->SkinRect.Left;
    if (across)
        control->SetHeight(size);
    else
        control->SetWidth(size);
}

const char* RecordNameFor(TAlign align)
{
    return align == alTop || align == alBottom ? "hsplitter" : "vsplitter";
}

} // namespace

// ---- TspSkinSplitter ---------------------------------------------------------------------------------------------

TspSkinSplitter::TspSkinSplitter(TComponent* owner)
    : inherited(owner)
{
    TControlStyle style = ControlStyle();
    style.Include(csOpaque);
    SetControlStyle(style);
}

void TspSkinSplitter::SetSkinData(TspSkinData* value)
{
    SkinControlSupport::BindSkinData(this, FSkinData, value);
    ChangeSkinData();
}

void TspSkinSplitter::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == static_cast<TComponent*>(FSkinData))
        FSkinData = nullptr;
}

void TspSkinSplitter::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    TControlStyle style = ControlStyle();
    if (value)
        style.Exclude(csOpaque);
    else
        style.Include(csOpaque);
    SetControlStyle(style);
    Invalidate();
}

void TspSkinSplitter::GetSkinData()
{
    SplitterRecord(FSkinData, FSkinDataName, SkinIndex);
}

void TspSkinSplitter::ChangeSkinData()
{
    TspDataSkinSplitterControl* record = SplitterRecord(FSkinData, FSkinDataName, SkinIndex);
    SetThickness(this, FTransparent ? nullptr : record, FDefaultSize);
    Invalidate();
}

void TspSkinSplitter::RequestAlign()
{
    inherited::RequestAlign();
    if (ComponentState().Contains(csDesigning))
        FSkinDataName = RecordNameFor(Align());
}

void TspSkinSplitter::Paint()
{
    if (FTransparent || Width() <= 0 || Height() <= 0)
        return;
    TspDataSkinSplitterControl* record = SplitterRecord(FSkinData, FSkinDataName, SkinIndex);
    if (!record || !FaceAligned(Align())) {
        inherited::Paint();
        return;
    }
    PaintFace(Canvas(), FSkinData, *record, Align(), Width(), Height());
}

// ---- TspCustomSplitter -------------------------------------------------------------------------------------------

TspCustomSplitter::TspCustomSplitter(TComponent* owner)
    : inherited(owner)
{
    SetAlign(alLeft);
    SetCursor(crHSplit);
    SetWidth(3);
}

void TspCustomSplitter::RequestAlign()
{
    inherited::RequestAlign();
    if (Cursor() == crVSplit || Cursor() == crHSplit)
        SetCursor(Align() == alTop || Align() == alBottom ? crVSplit : crHSplit);
    if (Designing())
        SetSkinDataName(RecordNameFor(Align()));
}

void TspCustomSplitter::WndProc(TMessage& message)
{
    // The face is drawn whole by Paint: nothing is erased under it.
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1;
        return;
    }
    inherited::WndProc(message);
}

bool TspCustomSplitter::CanResize(int& newSize)
{
    bool accept = true;
    if (OnCanResize)
        OnCanResize(this, newSize, accept);
    return accept;
}

bool TspCustomSplitter::DoCanResize(int& newSize)
{
    const bool accept = CanResize(newSize);
    if (accept && FAutoSnap && newSize <= FMinSize)
        newSize = 0;
    return accept;
}

TControl* TspCustomSplitter::FindControl() const
{
    TPoint p;
    switch (Align()) {
    case alTop:
        p = TPoint { Left(), Top() - 1 };
        break;
    case alBottom:
        p = TPoint { Left(), Top() + Height() };
        break;
    case alLeft:
        p = TPoint { Left() - 1, Top() };
        break;
    case alRight:
        p = TPoint { Left() + Width(), Top() };
        break;
    default:
        return nullptr;
    }
    TWinControl* parent = Parent();
    if (!parent)
        return nullptr;
    const bool before = Align() == alTop || Align() == alLeft;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible() || !c->Enabled())
            continue;
        TRect r = c->BoundsRect();
        // A control with no width or height still touches the splitter on its side.
        if (r.Right == r.Left)
            (before ? r.Left : r.Right) += before ? -1 : 1;
        if (r.Bottom == r.Top)
            (before ? r.Top : r.Bottom) += before ? -1 : 1;
        if (p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom)
            return c;
    }
    return nullptr;
}

void TspCustomSplitter::CalcSplitSize(int x, int y, int& newSize, int& split) const
{
    const bool horizontal = Align() == alLeft || Align() == alRight;
    split = horizontal ? x - FDownPos.X : y - FDownPos.Y;
    int size = 0;
    switch (Align()) {
    case alTop:
        size = FControl->Height() + split;
        break;
    case alBottom:
        size = FControl->Height() - split;
        break;
    case alLeft:
        size = FControl->Width() + split;
        break;
    case alRight:
        size = FControl->Width() - split;
        break;
    default:
        break;
    }
    newSize = size;
    if (newSize < FMinSize)
        newSize = FMinSize;
    else if (newSize > FMaxSize)
        newSize = FMaxSize;
    // The parent may have less room than MinSize (invisible bars count too): never a negative size.
    newSize = std::max(0, newSize);
    if (newSize != size)
        split += (Align() == alBottom || Align() == alRight) ? size - newSize : newSize - size;
}

void TspCustomSplitter::UpdateSize(int x, int y)
{
    CalcSplitSize(x, y, FNewSize, FSplit);
}

void TspCustomSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    FControl = FindControl();
    FDownPos = TPoint { x, y };
    if (!FControl)
        return;
    TWinControl* parent = Parent();
    const bool horizontal = Align() == alLeft || Align() == alRight;
    if (horizontal) {
        FMaxSize = parent->ClientWidth() - FMinSize;
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* c = parent->Controls(i);
            if (c->Visible() && (c->Align() == alLeft || c->Align() == alRight))
                FMaxSize -= c->Width();
        }
        FMaxSize += FControl->Width();
    } else {
        FMaxSize = parent->ClientHeight() - FMinSize;
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* c = parent->Controls(i);
            if (c->Align() == alTop || c->Align() == alBottom)
                FMaxSize -= c->Height();
        }
        FMaxSize += FControl->Height();
    }
    UpdateSize(x, y);
    // Until a move is accepted the sibling keeps its size: a press and release alone changes nothing, and a size
    // that CanResize never saw is never applied.
    FNewSize = FOldSize = horizontal ? FControl->Width() : FControl->Height();
    if (TCustomForm* form = GetParentForm(this); form && form->ActiveControl()) {
        FActiveControl = form->ActiveControl();
        FOldKeyDown = FActiveControl->OnKeyDown;
        FActiveControl->OnKeyDown = [this](TObject* sender, uint16_t& key, TShiftState s) { FocusKeyDown(sender, key, s); };
    }
}

void TspCustomSplitter::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    if (!shift.Contains(ssLeft) || !FControl)
        return;
    int newSize = 0;
    int split = 0;
    CalcSplitSize(x, y, newSize, split);
    if (DoCanResize(newSize)) {
        FNewSize = newSize;
        FSplit = split;
        UpdateControlSize();
    }
}

void TspCustomSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    if (!FControl)
        return;
    UpdateControlSize();
    StopSizing();
}

void TspCustomSplitter::UpdateControlSize()
{
    if (FNewSize == FOldSize)
        return;
    switch (Align()) {
    case alTop:
        FControl->SetHeight(FNewSize);
        break;
    case alLeft:
        FControl->SetWidth(FNewSize);
        break;
    case alBottom:
        Parent()->DisableAlign();
        FControl->SetTop(FControl->Top() + FControl->Height() - FNewSize);
        FControl->SetHeight(FNewSize);
        Parent()->EnableAlign();
        break;
    case alRight:
        Parent()->DisableAlign();
        FControl->SetLeft(FControl->Left() + FControl->Width() - FNewSize);
        FControl->SetWidth(FNewSize);
        Parent()->EnableAlign();
        break;
    default:
        break;
    }
    Update();
    if (OnMoved)
        OnMoved(this);
    FOldSize = FNewSize;
}

void TspCustomSplitter::FocusKeyDown(TObject* sender, uint16_t& key, TShiftState shift)
{
    if (key == kEscape) {
        StopSizing();
        return;
    }
    if (FOldKeyDown)
        FOldKeyDown(sender, key, shift);
}

void TspCustomSplitter::StopSizing()
{
    if (FControl) {
        FControl = nullptr;
        if (FActiveControl) {
            // Kept aside first: the handler running now is the one being replaced.
            TKeyEvent old = std::move(FOldKeyDown);
            TWinControl* active = FActiveControl;
            FActiveControl = nullptr;
            active->OnKeyDown = std::move(old);
        }
    }
    if (OnMoved)
        OnMoved(this);
}

// ---- TspSkinSplitterEx -------------------------------------------------------------------------------------------

TspSkinSplitterEx::TspSkinSplitterEx(TComponent* owner)
    : inherited(owner)
{
    SetSkinDataName("vsplitter");
}

void TspSkinSplitterEx::GetSkinData()
{
    SplitterRecord(SkinData(), SkinDataName(), SkinIndex);
}

void TspSkinSplitterEx::ChangeSkinData()
{
    GetSkinData();
    SetThickness(this, SkinRecordAt<TspDataSkinSplitterControl>(SkinData(), SkinIndex), FDefaultSize);
    Repaint();
}

void TspSkinSplitterEx::Paint()
{
    if (Width() < 1 || Height() < 1)
        return;
    GetSkinData();
    auto* record = SkinRecordAt<TspDataSkinSplitterControl>(SkinData(), SkinIndex);
    if (!record || !FaceAligned(Align())) {
        Canvas()->Brush()->SetStyle(bsSolid);
        Canvas()->Brush()->SetColor(clBtnFace);
        Canvas()->FillRect(ClientRect());
        return;
    }
    PaintFace(Canvas(), SkinData(), *record, Align(), Width(), Height());
}

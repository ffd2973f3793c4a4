#include "skin/lists/TspSkinCheckListBox.h"

#include "framework/core/SysUtils.h"
#include "framework/core/TList.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/lists/SkinListSupport.h"

using namespace SPUtils;
using namespace SkinListSupport;

// ---- TspCheckListBox ------------------------------------------------------------------------------------------

TspCheckListBox::TspCheckListBox(TComponent* owner)
    : inherited(owner)
{
}

TspCheckListBox::~TspCheckListBox() = default;

TspSkinCheckListBox* TspCheckListBox::CheckFrame() const { return dynamic_cast<TspSkinCheckListBox*>(SkinListBox); }

void TspCheckListBox::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(Format("List index out of bounds (%d)", index));
}

// An object the list did not make reads as no wrapper.
TspCheckListBoxDataWrapper* TspCheckListBox::ExtractWrapper(int index) const
{
    CheckIndex(index);
    const auto found = FWrappers.find(Items()->Objects(index));
    return found == FWrappers.end() ? nullptr : found->second.get();
}

TspCheckListBoxDataWrapper* TspCheckListBox::GetWrapper(int index)
{
    if (TspCheckListBoxDataWrapper* wrapper = ExtractWrapper(index))
        return wrapper;
    auto wrapper = std::make_unique<TspCheckListBoxDataWrapper>();
    TspCheckListBoxDataWrapper* raw = wrapper.get();
    FWrappers.emplace(raw, std::move(wrapper));
    Items()->SetObjects(index, raw);
    return raw;
}

bool TspCheckListBox::Checked(int index) const { return State(index) == cbChecked; }

void TspCheckListBox::SetChecked(int index, bool value) { SetState(index, value ? cbChecked : cbUnchecked); }

TCheckBoxState TspCheckListBox::State(int index) const
{
    const TspCheckListBoxDataWrapper* wrapper = ExtractWrapper(index);
    return wrapper ? wrapper->State : cbUnchecked;
}

void TspCheckListBox::SetState(int index, TCheckBoxState value)
{
    if (State(index) == value)
        return;
    GetWrapper(index)->State = value;
    InvalidateCheck(index);
}

int32_t TspCheckListBox::ItemData(int index) const
{
    const TspCheckListBoxDataWrapper* wrapper = ExtractWrapper(index);
    return wrapper ? wrapper->Data : 0;
}

void TspCheckListBox::SetItemData(int index, int32_t value) { GetWrapper(index)->Data = value; }

void TspCheckListBox::InvalidateCheck(int index)
{
    if (!HandleAllocated())
        return;
    const RECT r = ToRECT(ItemRect(index));
    InvalidateRect(Handle(), &r, FALSE);
    UpdateWindow(Handle());
}

void TspCheckListBox::ToggleClickCheck(int index)
{
    if (index < 0 || index >= Count())
        return;
    const TCheckBoxState state = State(index);
    if (state == cbUnchecked)
        SetState(index, cbChecked);
    else if (state == cbChecked)
        SetState(index, cbUnchecked);
    if (OnClickCheck)
        OnClickCheck(this);
}

void TspCheckListBox::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case LB_DELETESTRING: {
        const auto index = static_cast<int>(message.WParam);
        if (index >= 0 && index < Count()) {
            // The previous waiting wrapper did not come back.
            if (FPending)
                FWrappers.erase(FPending);
            FPending = Items()->Objects(index);
        }
        break;
    }
    case LB_SETITEMDATA:
        if (FPending && reinterpret_cast<const TObject*>(message.LParam) == FPending)
            FPending = nullptr;
        break;
    case LB_RESETCONTENT:
        FWrappers.clear();
        FPending = nullptr;
        break;
    default:
        break;
    }
    inherited::WndProc(message);
}

TRect TspCheckListBox::SkinCheckRect(int dw, int dh) const
{
    const TspSkinCheckListBox* frame = CheckFrame();
    TRect r = frame->ItemCheckRect;
    if (r.Left >= frame->ItemTextRect.Right)
        r = Offset(r, dw, 0);
    r.Bottom += dh;
    return r;
}

void TspCheckListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TListBox::MouseDown(button, shift, x, y);
    const int index = ItemAtPos(TPoint { x, y }, true);
    if (index >= 0) {
        const TRect item = ItemRect(index);
        const TspSkinCheckListBox* frame = CheckFrame();
        bool toggle;
        if (!Skinned() || !frame) {
            toggle = x - item.Left < 20;
        } else {
            const int dw = RectWidth(item) - RectWidth(frame->SItemRect);
            const int dh = frame->UseSkinItemHeight() ? 0 : RectHeight(item) - RectHeight(frame->SItemRect);
            toggle = Contains(Offset(SkinCheckRect(dw, dh), item.Left, item.Top), x, y);
        }
        if (toggle)
            ToggleClickCheck(index);
    }
    if (SkinListBox)
        SkinListBox->ListBoxMouseDown(button, shift, x, y);
}

void TspCheckListBox::KeyPress(char32_t& key)
{
    TListBox::KeyPress(key);
    if (key == U' ')
        ToggleClickCheck(ItemIndex());
    if (SkinListBox)
        SkinListBox->ListBoxKeyPress(key);
}

void TspCheckListBox::DrawDefaultItem(TCanvas* canvas, int index, const TRect& rect, TOwnerDrawState state)
{
    const int width = RectWidth(rect);
    const int height = RectHeight(rect);
    if (width <= 0 || height <= 0)
        return;
    TBitmap* bitmap = ItemBitmap(width, height);
    TCanvas* cnvs = bitmap->Canvas();
    cnvs->Brush()->SetColor(clWhite);
    cnvs->FillRect(Rect(0, 0, width, height));
    TFont* font = cnvs->Font();
    font->SetName(SkinListBox->Font()->Name());
    font->SetStyle(SkinListBox->Font()->Style());
    font->SetHeight(SkinListBox->Font()->Height());
    SkinLabels::ApplyCharset(font, SkinListBox->SkinData(), SkinListBox->DefaultFont());
    const bool selected = state.Contains(odSelected);
    cnvs->Brush()->SetColor(selected ? clHighlight : clWindow);
    font->SetColor(selected ? clHighlightText : SkinListBox->Font()->Color());
    const TRect textArea = Rect(20, 0, width, height);
    cnvs->FillRect(textArea);
    cnvs->Brush()->SetColor(clBtnShadow);
    cnvs->FrameRect(Rect(3, height / 2 - 6, 16, height / 2 + 7));
    // A grayed item looks unchecked.
    if (State(index) == cbChecked)
        DrawCheckImage(cnvs, 6, height / 2 - 4, clWindowText);
    DrawItemContent(cnvs, index, Rect(22, 0, width - 2, height), Rect(22, 0, width - 2, height), state, true);
    if (state.Contains(odFocused)) {
        cnvs->Brush()->SetStyle(bsSolid);
        cnvs->Brush()->SetColor(selected ? clHighlight : clWindow);
        cnvs->DrawFocusRect(textArea);
    }
    canvas->Draw(rect.Left, rect.Top, bitmap);
}

void TspCheckListBox::DrawSkinItemCheck(TCanvas* cnvs, int index, int dw, int dh)
{
    const TspSkinCheckListBox* frame = CheckFrame();
    TBitmap* picture = frame ? frame->Picture() : nullptr;
    if (!picture)
        return;
    const TRect source = State(index) == cbChecked ? frame->CheckImageRect : frame->UnCheckImageRect;
    const int w = RectWidth(source);
    const int h = RectHeight(source);
    if (w <= 0 || h <= 0)
        return;
    const TRect r = SkinCheckRect(dw, dh);
    const int x = r.Left + RectWidth(r) / 2 - w / 2;
    const int y = r.Top + RectHeight(r) / 2 - h / 2;
    // The picture's bottom-left pixel is its transparent colour.
    TBitmap mark;
    mark.SetSize(w, h);
    mark.Canvas()->CopyRect(Rect(0, 0, w, h), picture->Canvas(), source);
    mark.SetTransparentMode(tmAuto);
    mark.SetTransparent(true);
    cnvs->Draw(x, y, &mark);
}

// ---- TspSkinCheckListBox --------------------------------------------------------------------------------------

TspSkinCheckListBox::TspSkinCheckListBox(TComponent* owner)
    : inherited(owner, [](TComponent* frame) -> TspListBox* { return new TspCheckListBox(frame); })
{
    SetSkinDataName("checklistbox");
    // Toggles by the mouse and by Space reach the frame's event too.
    CheckListBox()->OnClickCheck = [this](TObject* sender) { ListBoxOnClickCheck(sender); };
}

void TspSkinCheckListBox::ListBoxOnClickCheck(TObject*)
{
    if (OnClickCheck)
        OnClickCheck(this);
}

void TspSkinCheckListBox::CheckButtonAction()
{
    const int index = ItemIndex();
    if (index < 0)
        return;
    SetChecked(index, !Checked(index));
    ListBoxOnClickCheck(this);
}

int TspSkinCheckListBox::CalcHeight(int rows)
{
    const int itemHeight = ListBox()->ItemHeight();
    if (SkinIndex == -1)
        return rows * itemHeight + 4;
    return RectHeight(SkinRectangle) - RectHeight(SkinClientRect) + rows * itemHeight;
}

void TspSkinCheckListBox::GetSkinData()
{
    inherited::GetSkinData();
    auto* record = SkinRecordAt<TspDataSkinCheckListBox>(SkinData(), SkinIndex);
    if (!record) {
        SkinIndex = -1;
        return;
    }
    ItemCheckRect = record->ItemCheckRect;
    CheckImageRect = record->CheckImageRect;
    UnCheckImageRect = record->UnCheckImageRect;
}

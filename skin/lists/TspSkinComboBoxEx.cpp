#include "skin/lists/TspSkinComboBoxEx.h"

#include "framework/controls/ImgList.h"
#include "framework/graphics/TCanvas.h"
#include "skin/core/SPUtils.h"

using namespace SPUtils;

// ---- TspComboExItem -------------------------------------------------------------------------------------------

TspComboExItem::TspComboExItem(TCollection* collection)
    : inherited(collection)
{
}

TspSkinComboBoxEx* TspComboExItem::ComboBox() const
{
    auto* items = dynamic_cast<TspComboExItems*>(Collection());
    return items ? items->ComboBox() : nullptr;
}

void TspComboExItem::SetCaption(std::string_view value)
{
    FCaption = value;
    TspSkinComboBoxEx* combo = ComboBox();
    if (combo && Index() >= 0 && Index() < combo->Items()->Count())
        combo->Items()->SetStrings(Index(), value);
}

void TspComboExItem::Assign(TPersistent* source)
{
    if (auto* item = dynamic_cast<TspComboExItem*>(source)) {
        SetSelectedImageIndex(item->SelectedImageIndex());
        SetIndent(item->Indent());
        SetImageIndex(item->ImageIndex());
        SetCaption(item->Caption());
        return;
    }
    inherited::Assign(source);
}

void TspComboExItem::SetIndex(int value)
{
    const int old = Index();
    inherited::SetIndex(value);
    TspSkinComboBoxEx* combo = ComboBox();
    if (!combo || old == value)
        return;
    // Every line from the old place to the new one shows its item again, not only the moved item's line.
    auto* items = static_cast<TspComboExItems*>(Collection());
    TStrings* lines = combo->Items();
    for (int i = std::min(old, value); i <= std::max(old, value); ++i)
        if (i < lines->Count() && i < items->Count())
            lines->SetStrings(i, items->Items(i)->Caption());
}

// ---- TspComboExItems ------------------------------------------------------------------------------------------

TspComboExItems::TspComboExItems(TspSkinComboBoxEx* comboBox)
    : inherited(CollectionItemClass<TspComboExItem>())
    , FComboBox(comboBox)
{
}

TPersistent* TspComboExItems::GetOwner() const { return FComboBox; }

void TspComboExItems::Notify(TCollectionItem* item, TCollectionNotification action)
{
    inherited::Notify(item, action);
    TStrings* lines = FComboBox->Items();
    const int index = item->Index();
    auto* exItem = static_cast<TspComboExItem*>(item);
    if (action == cnAdded) {
        if (index >= 0 && index <= lines->Count())
            lines->Insert(index, exItem->Caption());
    } else if (action == cnExtracting && index >= 0 && index < lines->Count()) {
        // Every way out of the collection passes here once.
        lines->Delete(index);
    }
}

// ---- TspSkinComboBoxEx ----------------------------------------------------------------------------------------

TspSkinComboBoxEx::TspSkinComboBoxEx(TComponent* owner)
    : inherited(owner)
    , FItemsEx(std::make_unique<TspComboExItems>(this))
{
    SetOnListBoxDrawItem([this](TCanvas* cnvs, int index, int w, int h, TRect& r, TOwnerDrawState state) {
        DrawListItem(cnvs, index, w, h, r, state);
    });
    OnComboBoxDrawItem = [this](TCanvas* cnvs, int index, int w, int h, TRect& r, TOwnerDrawState state) {
        DrawFaceItem(cnvs, index, w, h, r, state);
    };
}

TspSkinComboBoxEx::~TspSkinComboBoxEx()
{
    // The lines go with the list; the collection must not reach for them while it empties.
    FItemsEx->BeginUpdate();
    FItemsEx.reset();
}

void TspSkinComboBoxEx::Loaded()
{
    inherited::Loaded();
    LoadItems();
}

void TspSkinComboBoxEx::LoadItems()
{
    TStrings* lines = Items();
    lines->BeginUpdate();
    lines->Clear();
    for (int i = 0; i < FItemsEx->Count(); ++i)
        lines->Add(FItemsEx->Items(i)->Caption());
    lines->EndUpdate();
}

void TspSkinComboBoxEx::DrawImage(TCanvas* cnvs, int image, TRect& txtRect)
{
    TCustomImageList* images = Images();
    if (!images || image == -1)
        return;
    images->Draw(cnvs, txtRect.Left, txtRect.Top + (RectHeight(txtRect) - images->Height()) / 2, image);
    txtRect.Left += images->Width() + 3;
}

void TspSkinComboBoxEx::DrawCaption(TCanvas* cnvs, int index, const TRect& txtRect)
{
    cnvs->Brush()->SetStyle(bsClear);
    const int y = txtRect.Top + RectHeight(txtRect) / 2 - cnvs->TextHeight("Wg") / 2;
    cnvs->TextRect(txtRect, txtRect.Left, y, Items()->Strings(index));
}

void TspSkinComboBoxEx::DrawListItem(TCanvas* cnvs, int index, int, int, TRect& txtRect, TOwnerDrawState)
{
    // A line without its item (Items changed directly) shows its text alone.
    if (index >= FItemsEx->Count()) {
        DrawCaption(cnvs, index, txtRect);
        return;
    }
    const TspComboExItem* item = FItemsEx->Items(index);
    TCustomImageList* images = Images();
    if (item->Indent() != -1)
        txtRect.Left += images ? item->Indent() * images->Width() / 2 : item->Indent() * 10;
    int image = item->ImageIndex();
    if (index == SavedIndex() && image != -1 && item->SelectedImageIndex() != -1)
        image = item->SelectedImageIndex();
    DrawImage(cnvs, image, txtRect);
    DrawCaption(cnvs, index, txtRect);
}

void TspSkinComboBoxEx::DrawFaceItem(TCanvas* cnvs, int index, int, int, TRect& txtRect, TOwnerDrawState)
{
    txtRect.Left = 2;
    if (index >= FItemsEx->Count()) {
        DrawCaption(cnvs, index, txtRect);
        return;
    }
    const TspComboExItem* item = FItemsEx->Items(index);
    DrawImage(cnvs, item->SelectedImageIndex() != -1 ? item->SelectedImageIndex() : item->ImageIndex(), txtRect);
    DrawCaption(cnvs, index, txtRect);
}

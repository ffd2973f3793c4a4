// TspSkinComboBoxEx, the skinned combo box whose items are a collection: each item has a caption (mirrored into
// Items), an image, a selected image, an indent and a data pointer of the application's, and the combo box draws
// its list items and its face with the item's image before the text.
#pragma once
#include "framework/core/TCollection.h"
#include "skin/lists/TspSkinComboBox.h"

class TspSkinComboBoxEx;

class TspComboExItem : public TCollectionItem {
    using inherited = TCollectionItem;

public:
    explicit TspComboExItem(TCollection* collection);

    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int value) { FImageIndex = value; }
    // -1 takes ImageIndex.
    int SelectedImageIndex() const { return FSelectedImageIndex; }
    virtual void SetSelectedImageIndex(int value) { FSelectedImageIndex = value; }
    // -1: none.
    int Indent() const { return FIndent; }
    void SetIndent(int value) { FIndent = value; }
    const std::string& Caption() const { return FCaption; }
    // Also rewrites the item's line of the combo box's Items.
    virtual void SetCaption(std::string_view value);
    // The application's; never freed by the item.
    void* Data() const { return FData; }
    virtual void SetData(void* value) { FData = value; }

    // Copies everything but Data from another item; anything else goes to the framework (EConvertError).
    void Assign(TPersistent* source) override;
    // Moves the item; every line between the old and the new place follows its item.
    void SetIndex(int value) override;

private:
    TspSkinComboBoxEx* ComboBox() const;

    int FImageIndex = -1;
    int FSelectedImageIndex = -1;
    int FIndent = -1;
    std::string FCaption;
    void* FData = nullptr;
};

// The items; line i of the combo box's Items is always the caption of item i.
class TspComboExItems : public TCollection {
    using inherited = TCollection;

public:
    explicit TspComboExItems(TspSkinComboBoxEx* comboBox);

    TspComboExItem* Add() { return static_cast<TspComboExItem*>(inherited::Add()); }
    TspComboExItem* Insert(int index) { return static_cast<TspComboExItem*>(inherited::Insert(index)); }
    TspComboExItem* Items(int index) const { return static_cast<TspComboExItem*>(GetItem(index)); }
    TPersistent* GetOwner() const override;
    TspSkinComboBoxEx* ComboBox() const { return FComboBox; }

protected:
    void Notify(TCollectionItem* item, TCollectionNotification action) override;

private:
    TspSkinComboBoxEx* FComboBox;
};

class TspSkinComboBoxEx : public TspSkinCustomComboBox {
    using inherited = TspSkinCustomComboBox;

public:
    explicit TspSkinComboBoxEx(TComponent* owner);
    ~TspSkinComboBoxEx() override;

    TspComboExItems* ItemsEx() const { return FItemsEx.get(); }
    void SetItemsEx(TspComboExItems* value) { FItemsEx->Assign(value); }
    void ClearItemsEx() { FItemsEx->Clear(); }
    // Refills Items from the captions of ItemsEx.
    void LoadItems();

protected:
    void Loaded() override;

private:
    void DrawListItem(TCanvas* cnvs, int index, int itemWidth, int itemHeight, TRect& txtRect, TOwnerDrawState state);
    void DrawFaceItem(TCanvas* cnvs, int index, int itemWidth, int itemHeight, TRect& txtRect, TOwnerDrawState state);
    // The image at the left edge of `txtRect`, vertically centred; the edge moves past it.
    void DrawImage(TCanvas* cnvs, int image, TRect& txtRect);
    void DrawCaption(TCanvas* cnvs, int index, const TRect& txtRect);

    std::unique_ptr<TspComboExItems> FItemsEx;
};

// TspSkinButtonsBar, a side bar of sections: a button per section (the open section's and those before it at
// the top, the rest at the bottom) and, between them, the open section's items as tall buttons, scrolled one
// item at a time by two small arrow buttons when they do not fit. The on-screen buttons are rebuilt from the
// Sections collection whenever it changes.
#pragma once
#include "framework/core/TCollection.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinSpeedButtons.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TspSkinButton;
class TspSkinButtonsBar;
class TspButtonBarSection;

// One item of a section: a tall button with its picture above its text by default.
class TspButtonBarItem : public TCollectionItem {
    using inherited = TCollectionItem;

public:
    explicit TspButtonBarItem(TCollection* collection);

    const std::string& Text() const { return FText; }
    void SetText(std::string_view value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }
    TspButtonLayout Layout() const { return FLayout; }
    void SetLayout(TspButtonLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    const std::string& Hint() const { return FHint; }
    void SetHint(std::string_view value) { FHint = value; }
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

    void Click();
    void DblClick();
    void Assign(TPersistent* source) override;

protected:
    std::string GetDisplayName() const override;

private:
    std::string FText;
    int FImageIndex = 0;
    int FTag = 0;
    TspButtonLayout FLayout = blGlyphTop;
    int FMargin = -1;
    int FSpacing = 1;
    std::string FHint;
};

// The items of a section; a change in them is a change of the section.
class TspButtonBarItems : public TCollection {
    using inherited = TCollection;

public:
    explicit TspButtonBarItems(TspButtonBarSection* section);

    TspButtonBarItem* Add() { return static_cast<TspButtonBarItem*>(inherited::Add()); }
    TspButtonBarItem* Items(int index) const { return static_cast<TspButtonBarItem*>(inherited::Items(index)); }
    TPersistent* GetOwner() const override;

protected:
    void Update(TCollectionItem* item) override;

private:
    TspButtonBarSection* FSection;
};

class TspButtonBarSection : public TCollectionItem {
    using inherited = TCollectionItem;

public:
    explicit TspButtonBarSection(TCollection* collection);
    ~TspButtonBarSection() override;

    const std::string& Text() const { return FText; }
    void SetText(std::string_view value);
    TspButtonBarItems* Items() const { return FItems.get(); }
    void SetItems(TspButtonBarItems* value) { FItems->Assign(value); }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(std::string_view value) { FHint = value; }
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

    void Click();
    void DblClick();
    void Assign(TPersistent* source) override;
    // Reported by the items collection.
    void ItemsChanged() { Changed(false); }

protected:
    std::string GetDisplayName() const override;

private:
    std::string FText;
    std::unique_ptr<TspButtonBarItems> FItems;
    int FImageIndex = 0;
    int FTag = 0;
    std::string FHint;
    int FMargin = -1;
    int FSpacing = 1;
};

class TspButtonBarSections : public TCollection {
    using inherited = TCollection;

public:
    explicit TspButtonBarSections(TspSkinButtonsBar* bar);

    TspButtonBarSection* Add() { return static_cast<TspButtonBarSection*>(inherited::Add()); }
    TspButtonBarSection* Items(int index) const { return static_cast<TspButtonBarSection*>(inherited::Items(index)); }
    TPersistent* GetOwner() const override;

protected:
    void Update(TCollectionItem* item) override;

private:
    TspSkinButtonsBar* FBar;
};

// The button of a section: opens it.
class TspSectionButton final : public TspSkinSpeedButton {
    using inherited = TspSkinSpeedButton;

public:
    TspSectionButton(TComponent* owner, TspSkinButtonsBar* bar, int sectionIndex);

    int SectionIndex() const { return FSectionIndex; }
    // The section's OnClick, the section opened (which clicks it again when it was not open), then the
    // speed button's click.
    void ButtonClick() override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TspSkinButtonsBar* FBar;
    int FSectionIndex;
};

// An item of the open section, drawn as a button or, in web style, as an underlined link.
class TspSectionItem final : public TspSkinSpeedButton {
    using inherited = TspSkinSpeedButton;

public:
    TspSectionItem(TComponent* owner, TspSkinButtonsBar* bar, int sectionIndex, int itemIndex);

    int SectionIndex() const { return FSectionIndex; }
    int ItemIndex() const { return FItemIndex; }
    void ButtonClick() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TspButtonBarItem* BarItem() const;
    void PaintWebStyle();

    TspSkinButtonsBar* FBar;
    int FSectionIndex;
    int FItemIndex;
    bool FWebStyle;
};

class TspSkinButtonsBar : public TspSkinPanel {
    using inherited = TspSkinPanel;

public:
    explicit TspSkinButtonsBar(TComponent* owner);
    ~TspSkinButtonsBar() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    TspButtonBarSections* Sections() const { return FSections.get(); }
    void SetSections(TspButtonBarSections* value) { FSections->Assign(value); }
    // The open section, -1 for none.
    int SectionIndex() const { return FSectionIndex; }
    // Accepted from -1 to the last section; opens that section.
    void SetSectionIndex(int value);
    bool WebStyle() const { return FWebStyle; }
    void SetWebStyle(bool value) { FWebStyle = value; }
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool value);
    bool ShowItemHint() const { return FShowItemHint; }
    void SetShowItemHint(bool value) { FShowItemHint = value; }
    // Copied; used when the buttons are next built.
    TFont* DefaultSectionFont() const { return FDefaultSectionFont.get(); }
    void SetDefaultSectionFont(TFont* value);
    TFont* DefaultItemFont() const { return FDefaultItemFont.get(); }
    void SetDefaultItemFont(TFont* value);
    const std::string& SectionButtonSkinDataName() const { return FSectionButtonSkinDataName; }
    void SetSectionButtonSkinDataName(std::string_view value) { FSectionButtonSkinDataName = value; }
    int DefaultButtonHeight() const { return FDefaultButtonHeight; }
    void SetDefaultButtonHeight(int value);
    int ItemHeight() const { return FItemHeight; }
    // Heights below 1 are ignored: the visible items are the panel height divided by it.
    void SetItemHeight(int value);
    bool ItemsTransparent() const { return FItemsTransparent; }
    void SetItemsTransparent(bool value);
    TCustomImageList* ItemImages() const { return FItemImages; }
    void SetItemImages(TCustomImageList* value);
    TCustomImageList* SectionImages() const { return FSectionImages; }
    void SetSectionImages(TCustomImageList* value);

    // ---- What is on screen -------------------------------------------------------------------------------------
    TspSkinPanel* ItemPanel() const { return FItemPanel; }
    const std::vector<TspSectionButton*>& SectionButtons() const { return FButtons; }
    const std::vector<TspSectionItem*>& SectionItems() const { return FItems; }
    // The scroll buttons while they are shown, else null.
    TspSkinButton* UpButton() const;
    TspSkinButton* DownButton() const;
    int FirstVisibleItem() const { return FFirstVisible; }
    int VisibleItemCount() const { return FVisibleCount; }

    void OpenSection(int index);
    void UpdateSections();
    void UpdateSection(int index);
    void UpdateItems();
    void CheckVisibleItems();
    void ScrollUp();
    void ScrollDown();

    void SetSkinData(TspSkinData* value) override;
    void ChangeSkinData() override;

protected:
    void CreateWnd() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TspButtonBarSections;
    void SectionsChanged(TCollectionItem* item);
    void ArangeItems();
    void ClearSectionButtons();
    void ClearItems();
    TspSkinButton* MakeScrollButton(bool up);
    void SetButtonImage(TspSkinSpeedButton* button, TCustomImageList* images, int imageIndex);
    void ApplySection(TspSectionButton* button, TspButtonBarSection* section);
    bool Ready() const;

    std::unique_ptr<TspButtonBarSections> FSections;
    int FSectionIndex = 0;
    bool FWebStyle = false;
    bool FShowButtons = true;
    bool FShowItemHint = true;
    std::unique_ptr<TFont> FDefaultSectionFont;
    std::unique_ptr<TFont> FDefaultItemFont;
    std::string FSectionButtonSkinDataName = "toolbutton";
    int FDefaultButtonHeight = 25;
    int FItemHeight = 60;
    bool FItemsTransparent = true;
    TCustomImageList* FItemImages = nullptr;
    TCustomImageList* FSectionImages = nullptr;
    TspSkinPanel* FItemPanel = nullptr;
    std::vector<TspSectionButton*> FButtons;
    std::vector<TspSectionItem*> FItems;
    TspSkinButton* FUpButton = nullptr;
    TspSkinButton* FDownButton = nullptr;
    int FFirstVisible = 0;
    int FVisibleCount = 0;
};

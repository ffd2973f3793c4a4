// TspSkinComboBox, the skinned combo box: a face drawn from the skin (the current item, or an editor in the edit
// style, and a drop-down button) and its drop-down list, TspPopupListBox, a skinned list box made a top-level
// popup that never takes the activation; incremental search, completion and auto-scrolling of the open list.
#pragma once
#include "framework/controls/TCustomEdit.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/lists/TspComboSkinParts.h"
#include "skin/lists/TspSkinListBox.h"

#include <cstdint>
#include <memory>
#include <string>

class TspCustomEdit;
class TspSkinCustomComboBox;

// The drop-down list of the skinned combo boxes. Shown below (or above) its combo box without activation, and
// faded in from a timer when its combo box asks for it.
class TspPopupListBox : public TspSkinListBox {
    using inherited = TspSkinListBox;

public:
    explicit TspPopupListBox(TComponent* owner);

    // Places the window's top-left at the screen point and shows it on top, without activating it.
    void Show(TPoint origin);
    void Hide();
    // Whether the window is layered, and the opacity last set on it.
    bool Layered = false;
    uint8_t AppliedOpacity = 0;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TspSkinCustomComboBox* ComboBox() const;
    SkinControlSupport::TPopupFade FFade { 2 };
};

enum TspSkinCustomComboBoxStyle : uint8_t { spcbEditStyle, spcbFixedStyle };

class TspSkinCustomComboBox : public TspSkinCustomControl, protected TspComboSkinParts {
    using inherited = TspSkinCustomControl;

public:
    explicit TspSkinCustomComboBox(TComponent* owner);
    ~TspSkinCustomComboBox() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool value);
    TspSkinCustomComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TspSkinCustomComboBoxStyle value);
    TStrings* Items() const { return FListBox->Items(); }
    void SetItems(TStrings* value);
    int ItemIndex() const { return FListBox->ItemIndex(); }
    void SetItemIndex(int value);
    bool Sorted() const { return FListBox->Sorted(); }
    void SetSorted(bool value) { FListBox->SetSorted(value); }
    int DropDownCount() const { return FDropDownCount; }
    // Values below 1 are ignored.
    void SetDropDownCount(int value);
    int ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(int value) { FListBoxWidth = value; }
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool value) { FAutoComplete = value; }
    // Passed to the editor of the edit style.
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value);
    // The editor's selection; 0 without an editor.
    int SelStart() const;
    void SetSelStart(int value);
    int SelLength() const;
    void SetSelLength(int value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor value);
    bool HorizontalExtent() const { return FListBox->HorizontalExtent(); }
    void SetHorizontalExtent(bool value) { FListBox->SetHorizontalExtent(value); }
    TCustomImageList* Images() const { return FListBox->Images(); }
    void SetImages(TCustomImageList* value);
    int ImageIndex() const { return FListBox->ImageIndex(); }
    void SetImageIndex(int value);
    TStrings* TabWidths() const { return FListBox->TabWidths(); }
    void SetTabWidths(TStrings* value);
    bool ListBoxUseSkinItemHeight() const { return FListBox->UseSkinItemHeight(); }
    void SetListBoxUseSkinItemHeight(bool value) { FListBox->SetUseSkinItemHeight(value); }
    bool ListBoxUseSkinFont() const { return FListBox->UseSkinFont(); }
    void SetListBoxUseSkinFont(bool value) { FListBox->SetUseSkinFont(value); }
    TFont* ListBoxDefaultFont() const { return FListBox->DefaultFont(); }
    void SetListBoxDefaultFont(TFont* value) { FListBox->SetDefaultFont(value); }
    int ListBoxDefaultItemHeight() const { return FListBox->DefaultItemHeight(); }
    void SetListBoxDefaultItemHeight(int value) { FListBox->SetDefaultItemHeight(value); }
    const std::string& ListBoxCaption() const { return FListBox->Caption(); }
    void SetListBoxCaption(std::string_view value) { FListBox->SetCaption(value); }
    bool ListBoxCaptionMode() const { return FListBox->CaptionMode(); }
    void SetListBoxCaptionMode(bool value) { FListBox->SetCaptionMode(value); }
    TFont* ListBoxDefaultCaptionFont() const { return FListBox->DefaultCaptionFont(); }
    void SetListBoxDefaultCaptionFont(TFont* value) { FListBox->SetDefaultCaptionFont(value); }
    TAlignment ListBoxCaptionAlignment() const { return FListBox->Alignment(); }
    void SetListBoxCaptionAlignment(TAlignment value) { FListBox->SetAlignment(value); }
    bool ListBoxAlphaBlend() const { return FListBoxAlphaBlend; }
    void SetListBoxAlphaBlend(bool value) { FListBoxAlphaBlend = value; }
    bool ListBoxAlphaBlendAnimation() const { return FListBoxAlphaBlendAnimation; }
    void SetListBoxAlphaBlendAnimation(bool value) { FListBoxAlphaBlendAnimation = value; }
    uint8_t ListBoxAlphaBlendValue() const { return FListBoxAlphaBlendValue; }
    void SetListBoxAlphaBlendValue(uint8_t value) { FListBoxAlphaBlendValue = value; }
    // Handed to the drop-down list as its item drawing.
    void SetOnListBoxDrawItem(TspDrawSkinItemEvent value);
    const TspDrawSkinItemEvent& OnListBoxDrawItem() const { return FListBox->OnDrawItem; }

    TNotifyEvent OnChange;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnDropDown;
    TspDrawSkinItemEvent OnComboBoxDrawItem;

    // ---- Virtual operations ----------------------------------------------------------------------------------
    // A selection or an editor change was applied; empty here.
    virtual void Change() { }

    // ---- The drop-down protocol ------------------------------------------------------------------------------
    void DropDown();
    void CloseUp(bool accept);
    bool IsPopupVisible() const;
    // The list is shown and the pointer is not over the combo box.
    bool CanCancelDropDown();
    void EditUp1(bool events);
    void EditDown1(bool events);
    void EditPageUp1(bool events);
    void EditPageDown1(bool events);
    TspPopupListBox* ListBox() const { return FListBox; }
    // The item current when the list opened (the face shows it while the list is open).
    int SavedIndex() const { return FOldItemIndex; }
    // The face rectangles.
    TRect ItemAreaRect() const { return CBItemRect; }
    TRect ButtonAreaRect() const { return ButtonRect; }
    // The editor of the edit style; null in the fixed style.
    TspCustomEdit* Editor() const { return FEdit; }

    // An MDI main form closes the open list when its menus close.
    bool CancelsModeWithMenus() const override { return true; }
    void Invalidate() override;
    void GetSkinData() override;
    void ChangeSkinData() override;
    void SetControlRegion() override;
    void WndProc(TMessage& message) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void DefaultFontChange() override;
    void CalcSize(int& width, int& height) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;

    void CalcRects();
    // Searches the list for `text` (one character: after the current item, wrapping; longer: from the start).
    int FindItem(const std::string& text);
    bool Loading() const;


private:
    void ListHook(TMessage& message);
    void ListMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void WMTimer();
    void WMMouseWheel(TMessage& message);
    void CMTextChanged(TMessage& message);
    void CMCancelMode(TMessage& message);
    // Closes the open list unless `sender` is the combo box or a part of its list.
    void CancelModeFrom(TControl* sender);
    bool FaceFocused();
    bool Skinned() const { return SkinIndex != -1 && SkinPicture; }

    // The editor of the edit style (TspSkinComboBox_Edit.cpp).
    void CreateEditor();
    void FreeEditor();
    // The editor fills the item area's width at its font's height, centred vertically.
    void PlaceEditor();
    // The editor's font and colours for the look and the state.
    void UpdateEditorFont();
    void EditHook(TMessage& message);
    void EditKeyDown(TMessage& message);
    void EditKeyUp(TMessage& message);
    void EditChange();
    // One item up or down from the editor: with `events` the text follows and OnClick fires, else only the
    // list's selection moves.
    void EditStep(int delta, bool events);
    // Completes the editor's text with the first item it begins.
    void FindLBItemFromEdit();
    // Whether the text is in a Chinese or Japanese character set, whose input the editor leaves alone.
    bool FarEastCharset() const;

    // Face painting.
    void DrawResizeButton(TCanvas* canvas);
    void DrawFaceItem(TBitmap* face);
    void DrawFaceItemContent(TCanvas* cnvs, int index, TRect txtRect, TOwnerDrawState state, int width, int height);

    TspPopupListBox* FListBox = nullptr;
    std::function<void(TMessage&)> FOldListProc;
    TspSkinCustomComboBoxStyle FStyle = spcbFixedStyle;
    bool FUseSkinSize = true;
    int FDropDownCount = 8;
    int FListBoxWidth = 0;
    bool FAutoComplete = true;
    TColor FDefaultColor = clWindow;
    bool FListBoxAlphaBlend = false;
    bool FListBoxAlphaBlendAnimation = false;
    uint8_t FListBoxAlphaBlendValue = 200;
    int FOldItemIndex = -1;
    bool FFromEdit = false;
    std::string FSearchText;
    uint64_t FLastSearchTick = 0;
    TspCustomEdit* FEdit = nullptr;
    std::function<void(TMessage&)> FOldEditProc;
    bool FHideSelection = true;
    TEditCharCase FCharCase = ecNormal;
    uint64_t FLastCompletionTick = 0;
    // Enter or Esc closed the list on its key-down: its character is not the form's.
    bool FListKeyUsed = false;
    // Cleared by the destructor: a handler may free the combo box from inside one of its events, and the code
    // that fired the event must then touch nothing of it.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

class TspSkinComboBox : public TspSkinCustomComboBox {
    using inherited = TspSkinCustomComboBox;

public:
    using TspSkinCustomComboBox::TspSkinCustomComboBox;
};

// A combo box that keeps recently used texts at the top.
class TspSkinMRUComboBox : public TspSkinComboBox {
    using inherited = TspSkinComboBox;

public:
    using TspSkinComboBox::TspSkinComboBox;
    // Nothing for an empty text; a text already listed (letter case aside) moves to the top, else it is inserted
    // there.
    void AddMRUItem(std::string_view s);
};

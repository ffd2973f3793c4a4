// TspSkinListBox, the skinned list box: a skinned frame (TspSkinCustomListBox) hosting an owner-drawn list window
// without a non-client area (TspListBox), skinned scroll bars made on demand that mirror the list's scroll state,
// and an optional caption strip with up, down and check buttons.
#pragma once
#include "framework/controls/TCustomListBox.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/controls/SkinPanels.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

class TCustomImageList;
class TspSkinScrollBar;
class TspSkinCustomListBox;

// An empty skinned list paints its background into the DC in wParam when asked with CM_BGPAINTParam in lParam,
// and answers CM_BGPAINTParam.
constexpr UINT CM_BGPAINT = 0xBC4A;
constexpr LPARAM CM_BGPAINTParam = 0x41A2;

// Draws one item's content into a bitmap whose background the control has painted.
using TspDrawSkinItemEvent = std::function<void(
    TCanvas* cnvs, int index, int itemWidth, int itemHeight, TRect& txtRect, TOwnerDrawState state)>;

// Up to ten tab stops from `tabWidths`: a line of digits only is its value, anything else 0.
std::vector<int> TabStopsOf(const TStrings* tabWidths);
// Draws `text` with tab expansion at x = rect.Left + xOffset + 2, vertically centred, stops measured from x 0.
void DrawTabbedString(const std::string& text, const TStrings* tabWidths, int xOffset, const TRect& rect,
    TCanvas* canvas);

// The list window inside a skinned list frame. It paints every item itself in the frame's look.
class TspListBox : public TListBox {
    using inherited = TListBox;

public:
    explicit TspListBox(TComponent* owner);
    ~TspListBox() override;

    // Set by the frame right after it makes the list (null when the list stands alone).
    TspSkinCustomListBox* SkinListBox = nullptr;
    // Pixels by which item text and images are shifted left (the horizontal bar's position).
    int HorizontalOffset = 0;

    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& message) override;
    // The frame's caption check button runs the list's click.
    void Click() override;
    // The item look in use: default, the skin's item height, or stretched skin items.
    void DrawItemLook(TCanvas* canvas, int index, const TRect& rect, TOwnerDrawState state);
    // The owner-draw state of an item as a paint sees it.
    TOwnerDrawState ItemState(int index);
    // Fills the list's background into `dc` (the default colour, or the skin's client picture tiled).
    void PaintBG(HDC dc);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void PaintWindow(HDC dc) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;

    virtual void DrawDefaultItem(TCanvas* canvas, int index, const TRect& rect, TOwnerDrawState state);
    virtual void DrawSkinItem(TCanvas* canvas, int index, const TRect& rect, TOwnerDrawState state);
    virtual void DrawStretchSkinItem(TCanvas* canvas, int index, const TRect& rect, TOwnerDrawState state);
    // The image and the text of an item in `txtRect` of the item bitmap; `tabbedRect` is where tabbed text goes.
    // `plainText` draws one centred line at the rectangle's left instead of the list's indented text.
    void DrawItemContent(TCanvas* cnvs, int index, TRect txtRect, const TRect& tabbedRect, TOwnerDrawState state,
        bool plainText = false);
    // Drawn over a skinned item's background before its content (the check list's check mark); `dw` and `dh`
    // are how much the item is wider and higher than the record's item.
    virtual void DrawSkinItemCheck(TCanvas* cnvs, int index, int dw, int dh) { (void)cnvs, (void)index, (void)dw, (void)dh; }
    // Tiles the skin's client picture over `width` x `height` at (x, y) of `canvas`.
    void PaintBGWH(TCanvas* canvas, int width, int height, int x, int y);
    bool Skinned() const;
    // The bitmap items are composed in, kept between items.
    TBitmap* ItemBitmap(int width, int height);
    // Draws the three-part item background of `source` at `width` into `bitmap`, from the kept backgrounds when
    // one of this size was composed before (every page of a long list repeats the same few).
    void DrawItemBackground(TBitmap* bitmap, const TRect& source, int width, int height, bool stretch);

public:
    // Forgets the kept item backgrounds (the skin changed).
    void ClearItemBackgrounds();

protected:

private:
    void PaintList(HDC dc);
    void CNDrawItem(TMessage& message);
    void CMBGPaint(TMessage& message);
    void WMMouseWheel(TMessage& message);

    std::unique_ptr<TBitmap> FItemBitmap;
    struct TKeptBackground {
        const TBitmap* Picture;
        TRect Source;
        int Width, Height;
        bool Stretch;
        std::unique_ptr<TBitmap> Image;
    };
    std::vector<TKeptBackground> FBackgrounds;
};


// The frame of the skinned list box and the base of its drop-down and check-list forms.
class TspSkinCustomListBox : public TspSkinCustomControl {
    using inherited = TspSkinCustomControl;

public:
    explicit TspSkinCustomListBox(TComponent* owner);
    ~TspSkinCustomListBox() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    TStrings* TabWidths() const { return FTabWidths.get(); }
    void SetTabWidths(TStrings* value);
    bool UseSkinItemHeight() const { return FUseSkinItemHeight; }
    void SetUseSkinItemHeight(bool value);
    bool HorizontalExtent() const { return FHorizontalExtent; }
    void SetHorizontalExtent(bool value);
    int Columns() const;
    void SetColumns(int value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    TspSkinPanelNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TspSkinPanelNumGlyphs value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    bool CaptionMode() const { return FCaptionMode; }
    void SetCaptionMode(bool value);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    void SetDefaultCaptionHeight(int value);
    TFont* DefaultCaptionFont() const { return FDefaultCaptionFont.get(); }
    void SetDefaultCaptionFont(TFont* value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    const std::string& Caption() const { return Text(); }
    void SetCaption(std::string_view value) { SetText(value); }
    int DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(int value);
    TStrings* Items() const;
    void SetItems(TStrings* value);
    int ItemIndex() const;
    void SetItemIndex(int value);
    int TopIndex() const;
    void SetTopIndex(int value);
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int SelCount() const;
    bool Sorted() const;
    void SetSorted(bool value);
    bool MultiSelect() const;
    void SetMultiSelect(bool value);
    bool ExtandedSelect() const;
    void SetExtandedSelect(bool value);
    bool AutoComplete() const;
    void SetAutoComplete(bool value);
    TFont* ListBoxFont() const;
    void SetListBoxFont(TFont* value);
    TCanvas* GetCanvas() const;
    int ItemAtPos(TPoint pos, bool existing) const;
    TRect ItemRect(int index) const;
    void Clear();

    TMouseEvent OnListBoxMouseDown;
    TMouseMoveEvent OnListBoxMouseMove;
    TMouseEvent OnListBoxMouseUp;
    TNotifyEvent OnListBoxClick;
    TNotifyEvent OnListBoxDblClick;
    TKeyEvent OnListBoxKeyDown;
    TKeyEvent OnListBoxKeyUp;
    TKeyPressEvent OnListBoxKeyPress;
    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;
    TNotifyEvent OnCheckButtonClick;
    TspDrawSkinItemEvent OnDrawItem;

    // ---- Virtual operations ----------------------------------------------------------------------------------
    virtual int GetFullItemWidth(int index, TCanvas* canvas);
    virtual void ListBoxMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void ListBoxMouseMove(TShiftState shift, int x, int y);
    virtual void ListBoxMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void ListBoxClick();
    virtual void ListBoxDblClick();
    virtual void ListBoxKeyDown(uint16_t& key, TShiftState shift);
    virtual void ListBoxKeyUp(uint16_t& key, TShiftState shift);
    virtual void ListBoxKeyPress(char32_t& key);
    virtual void ListBoxEnter() { }
    virtual void ListBoxExit() { }
    // Offered every message of the list first; the list handles it only when `continueHandling` stays true.
    virtual void ListBoxWProc(TMessage& message, bool& continueHandling);
    virtual void ListBoxCreateWnd() { }

    // The frame height that shows `rows` items.
    virtual int CalcHeight(int rows);
    // Mirrors the list's scroll state into the skinned bars.
    void UpDateScrollBar();
    void CalcRects();
    // Moves the horizontal bar by `direction` small steps (keys and wheel of the list).
    void StepHScrollBar(int direction);

    TspListBox* ListBox() const { return FListBox; }
    TspSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    TspSkinScrollBar* HScrollBar() const { return FHScrollBar; }

    void GetSkinData() override;
    void ChangeSkinData() override;
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& message) override;

    // ---- What the inner list reads while it paints ---------------------------------------------------------
    // The skin look is in use (a list-box record was found and the skin has its picture).
    bool ListSkinned() const;
    TRect SItemRect, ActiveItemRect, FocusItemRect, ItemTextRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    std::string FontName;
    TFontStyles FontStyle;
    int FontHeight = 14;
    TColor FontColor = clBlack, ActiveFontColor = clBlack, FocusFontColor = clBlack;
    bool ShowFocus = false;
    bool StretchEffectOn() const { return ClientStretchEffect; }
    TBitmap* Picture() const { return SkinPicture; }
    TRect SkinRect() const { return SkinRectangle; }
    TRect ClientPart() const { return SkinClientRect; }
    void ApplyItemFont(TFont* font);

protected:
    // Makes the inner list (the check list gives its own class).
    TspSkinCustomListBox(TComponent* owner, TspListBox* (*makeList)(TComponent* frame));
    void Notification(TComponent* component, TOperation operation) override;
    void CreateParams(TCreateParams& params) override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void DefaultFontChange() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;

    // What the caption's check button does when no handler replaces it.
    virtual void CheckButtonAction();
    // The default look's height of the caption strip (1 without the caption).
    int DefaultTopInset() const { return FCaptionMode ? FDefaultCaptionHeight : 1; }

    // Copies of the record's caption parts.
    TRect CaptionRect;
    std::string CaptionFontName;
    TFontStyles CaptionFontStyle;
    int CaptionFontHeight = 14;
    TColor CaptionFontColor = clBlack;
    std::array<TRect, 3> ButtonRects {}, ActiveButtonRects {}, DownButtonRects {};
    std::string VScrollBarName, HScrollBarName, BothHScrollBarName;
    bool ChangingSkinData = false;

private:
    struct TCaptionButton {
        TRect R;
        bool MouseIn = false;
        bool Down = false;
    };
    void Init();
    void DrawCaption(TCanvas* canvas, const TRect& area, int textTop, bool skinLook);
    void DrawButton(TCanvas* canvas, int index);
    void PlaceSkinButtons();
    bool ButtonsActive() const;
    void TestActive(int x, int y);
    void ButtonDown(int index);
    void ButtonUp(int index);
    void ButtonEnter(int index);
    void ButtonLeave(int index);
    void StartTimer(int ms);
    void StopTimer();
    void WMTimer();
    void StepUp();
    void StepDown();
    const TNotifyEvent& ButtonEvent(int index) const;

    void ShowVScrollBar();
    void HideVScrollBar();
    void ShowHScrollBar();
    void HideHScrollBar();
    void SBChange(TObject* sender);
    void HSBChange(TObject* sender);
    void UpdateHScrollBar();
    void UpdateBarSkins();
    int LayoutBottomPart() const;

    TspListBox* FListBox = nullptr;
    TspSkinScrollBar* FVScrollBar = nullptr;
    TspSkinScrollBar* FHScrollBar = nullptr;
    std::unique_ptr<TStrings> FTabWidths;
    std::unique_ptr<TBitmap> FGlyph;
    std::unique_ptr<TFont> FDefaultCaptionFont;
    bool FUseSkinItemHeight = true;
    bool FHorizontalExtent = false;
    int FRowCount = 0;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = -1;
    TspSkinPanelNumGlyphs FNumGlyphs = 1;
    int FSpacing = 2;
    bool FCaptionMode = false;
    int FDefaultCaptionHeight = 20;
    TAlignment FAlignment = taLeftJustify;
    int FDefaultItemHeight = 20;

    std::array<TCaptionButton, 3> Buttons {};
    int ActiveButton = -1, OldActiveButton = -1, CaptureButton = -1;
    int TimerMode = 0;
    bool WaitMode = false;
};

class TspSkinListBox : public TspSkinCustomListBox {
    using inherited = TspSkinCustomListBox;

public:
    using TspSkinCustomListBox::TspSkinCustomListBox;
};

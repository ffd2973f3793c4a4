// TCoolBar with its TCoolBands of TCoolBand: a bar of bands in rows, each band a grip, an image and a text
// before the control it holds, which the band stretches to its width.
#pragma once
#include "framework/controls/TCustomControl.h"
#include "framework/core/TCollection.h"

#include <memory>

class TCoolBar;
class TCoolBands;

// One band. Its width is Width when set, else what its caption and its control (as wide as it was when it
// was given to the band) need; never less than its caption and MinWidth. The last band of a row takes the
// rest of the row.
class TCoolBand : public TCollectionItem {
    using inherited = TCollectionItem;

public:
    explicit TCoolBand(TCollection* collection);
    ~TCoolBand() override;

    TWinControl* Control() const { return FControl; }
    // The control becomes a child of the bar; a control that another band held leaves that band.
    void SetControl(TWinControl* value);
    const std::string& Text() const { return FText; }
    void SetText(std::string_view value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // A fixed band has no grip.
    bool FixedSize() const { return FFixedSize; }
    void SetFixedSize(bool value);
    // The band starts a new row.
    bool Break() const { return FBreak; }
    void SetBreak(bool value);
    int Width() const { return FWidth; }
    void SetWidth(int value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value);
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int value);
    // Where the band is in the bar's client area (after the last layout).
    TRect BandRect() const { return FBandRect; }

    TCoolBar* CoolBar() const;
    void Assign(TPersistent* source) override;

protected:
    // The text, else the control's name, else the item's class name.
    std::string GetDisplayName() const override;

private:
    friend class TCoolBar;
    TWinControl* FControl = nullptr;
    std::string FText;
    int FImageIndex = -1;
    bool FVisible = true;
    bool FFixedSize = false;
    bool FBreak = true;
    int FWidth = 0;
    int FMinWidth = 0;
    int FMinHeight = 25;
    int FIdealWidth = 0; // the control's width when the band took it
    TRect FBandRect;
};

class TCoolBands : public TCollection {
    using inherited = TCollection;

public:
    explicit TCoolBands(TCoolBar* coolBar);

    TCoolBand* Add() { return static_cast<TCoolBand*>(inherited::Add()); }
    TCoolBand* Items(int index) const { return static_cast<TCoolBand*>(inherited::Items(index)); }
    // The band that holds `control`, or null.
    TCoolBand* FindBand(const TControl* control) const;
    TCoolBar* CoolBar() const { return FCoolBar; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TCoolBar* FCoolBar;
};

// A windowed child put on the bar gets a band of its own at the end; a band goes with its control. Bands
// stand in collection order in rows (columns when Vertical); a band with Break, or one that does not fit in
// what is left of its row, starts a new row. A row is as high as its highest band (its control's height or
// its MinHeight, whichever is more, with BandMargin above and below). With AutoSize the bar takes the height
// (width when Vertical) of its rows.
class TCoolBar : public TCustomControl {
    using inherited = TCustomControl;

public:
    static constexpr int BandMargin = 2;

    explicit TCoolBar(TComponent* owner);
    ~TCoolBar() override;

    TCoolBands* Bands() const { return FBands.get(); }
    void SetBands(TCoolBands* value);
    bool ShowText() const { return FShowText; }
    void SetShowText(bool value);
    // With FixedOrder the first band (ID 0) has no grip: it cannot be moved off the start.
    bool FixedOrder() const { return FFixedOrder; }
    void SetFixedOrder(bool value);
    bool FixedSize() const { return FFixedSize; }
    void SetFixedSize(bool value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    bool Vertical() const { return FVertical; }
    void SetVertical(bool value);
    TBorderStyle BandBorderStyle() const { return FBandBorderStyle; }
    void SetBandBorderStyle(TBorderStyle value);
    void SetAutoSize(bool value) override;

    // The width (height when Vertical) of a band's caption before its control: the grip, the image and
    // the text with their gaps. 0 for an invisible band.
    int BandCaptionSize(const TCoolBand* band);
    // The height of a text line in the bar's font; 0 without a window.
    int CaptionFontHeight();

    void WndProc(TMessage& message) override;

    TNotifyEvent OnChange;

protected:
    // Lays the bands out (after the aligned children).
    void AlignControls(TControl* control, TRect& rect) override;
    // The background, then each band's grip, image and text and, with BandBorderStyle bsSingle, the
    // etched edges between bands and rows.
    void Paint() override;
    virtual void PaintBand(TCanvas* canvas, TCoolBand* band);
    // Draws a band's grip in `rect` as two raised lines.
    virtual void DrawGrip(TCanvas* canvas, const TRect& rect);
    void Notification(TComponent* component, TOperation operation) override;
    void CMControlChange(TMessage& message);

private:
    friend class TCoolBands;
    void BandsChanged();
    bool HasGrip(const TCoolBand* band) const;
    int TextExtent(const std::string& text);
    int LayoutBands(const TRect& area);

    std::unique_ptr<TCoolBands> FBands;
    bool FShowText = true;
    bool FFixedOrder = false;
    bool FFixedSize = false;
    TCustomImageList* FImages = nullptr;
    bool FVertical = false;
    TBorderStyle FBandBorderStyle = bsSingle;
    bool FLayingOut = false;
};

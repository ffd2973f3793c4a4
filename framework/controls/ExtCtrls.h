// The plain controls of the extra unit: TPanel, TShape, TImage, TPaintBox, TBevel, and Frame3D.
#pragma once
#include "framework/controls/TCustomControl.h"
#include "framework/controls/TGraphicControl.h"
#include "framework/graphics/Colors.h"

#include <memory>

// Draws `width` rings of 3-D frame inside `rect` (top and left in `topColor`, bottom and right in
// `bottomColor`) and shrinks `rect` to what is left inside them.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

enum TPanelBevel : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
using TBevelWidth = int;
using TBorderWidth = int;

// A container with bevels, a border and a centred caption. AdjustClientRect leaves the bevels and border
// out of the area its children align in.
class TCustomPanel : public TCustomControl {
    using inherited = TCustomControl;

public:
    explicit TCustomPanel(TComponent* owner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel value);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    TBevelWidth BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(TBevelWidth value);
    TBorderWidth BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(TBorderWidth value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    bool FullRepaint() const { return FFullRepaint; }
    void SetFullRepaint(bool value) { FFullRepaint = value; }
    bool Locked() const { return FLocked; }
    void SetLocked(bool value) { FLocked = value; }
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool value) { FParentBackground = value; }

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void AdjustClientRect(TRect& rect) override;
    void Paint() override;
    // Whether Paint leaves no pixel of the client area unpainted, so the window needs no erase first. A panel
    // that paints otherwise answers false.
    virtual bool PaintCoversClient() const { return true; }
    void CMTextChanged(TMessage& message);

private:
    void BorderChanged();

    TAlignment FAlignment = taCenter;
    TPanelBevel FBevelInner = bvNone;
    TPanelBevel FBevelOuter = bvRaised;
    TBevelWidth FBevelWidth = 1;
    TBorderWidth FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    bool FFullRepaint = true;
    bool FLocked = false;
    bool FParentBackground = false;
};

class TPanel : public TCustomPanel {
    using inherited = TCustomPanel;

public:
    using TCustomPanel::TCustomPanel;
};

enum TShapeType : uint8_t { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

// A rectangle, square, rounded rectangle or square, ellipse or circle, outlined with Pen and filled with
// Brush; the square and circle kinds centre the largest one that fits.
class TShape : public TGraphicControl {
    using inherited = TGraphicControl;

public:
    explicit TShape(TComponent* owner);
    ~TShape() override;

    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType value);
    TPen* Pen() const { return FPen.get(); }
    void SetPen(TPen* value);
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(TBrush* value);

protected:
    void Paint() override;

private:
    TShapeType FShape = stRectangle;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
};

// A picture shown at its size, centred, or stretched (keeping its proportions when asked).
class TImage : public TGraphicControl {
    using inherited = TGraphicControl;

public:
    explicit TImage(TComponent* owner);
    ~TImage() override;

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* value);
    // The canvas of the picture's bitmap (a new one the size of the control when the picture is empty).
    // Raises EInvalidOperation "Can only modify an image if it contains a bitmap" for other graphics.
    TCanvas* Canvas();
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool IncrementalDisplay() const { return FIncrementalDisplay; }
    void SetIncrementalDisplay(bool value) { FIncrementalDisplay = value; }
    // Where the picture goes in the control's client area.
    TRect DestRect() const;

protected:
    void Paint() override;
    bool CanAutoSize(int& newWidth, int& newHeight) override;

private:
    void PictureChanged(TObject* sender);

    std::unique_ptr<TPicture> FPicture;
    bool FCenter = false;
    bool FStretch = false;
    bool FProportional = false;
    bool FTransparent = false;
    bool FIncrementalDisplay = false;
    bool FDrawing = false;
};

// A windowless control whose OnPaint draws it on Canvas.
class TPaintBox : public TGraphicControl {
    using inherited = TGraphicControl;

public:
    explicit TPaintBox(TComponent* owner);

    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

enum TBevelShape : uint8_t { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle : uint8_t { bsLowered, bsRaised };

// A sunken or raised box, frame or line in the button shadow and highlight colours.
class TBevel : public TGraphicControl {
    using inherited = TGraphicControl;

public:
    explicit TBevel(TComponent* owner);

    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle value);

protected:
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

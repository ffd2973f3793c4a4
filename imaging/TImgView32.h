// TCustomImgView32 and TImgView32: an image control that shows its bitmap at a zoom factor inside a viewport with
// two scroll bars (range bars), centres a bitmap smaller than the viewport, and can show a size grip that resizes
// its form.
#pragma once
#include "imaging/TArrowBar.h"
#include "imaging/TImage32.h"

#include <memory>

class TCustomRangeBar;
class TCustomImgView32;

enum TSizeGripStyle : uint8_t { sgAuto, sgNone, sgAlways };

// The look of the view's two bars (horizontal master, vertical slave), their step and their size.
class TIVScrollProperties : public TArrowBarAccess {
public:
    TCustomImgView32* ImgView = nullptr;

    // Read from the horizontal bar, written to both.
    int Increment() const;
    void SetIncrement(int value);
    // The view's scroll-bar size (0: the system's); a write lays the bars out again, nothing more.
    int Size() const;
    void SetSize(int value);
};

class TCustomImgView32 : public TCustomImage32 {
    using inherited = TCustomImage32;

public:
    explicit TCustomImgView32(TComponent* owner);
    ~TCustomImgView32() override;

    bool Centered() const { return FCentered; }
    void SetCentered(bool value);
    TIVScrollProperties* ScrollBars() const { return FScrollBars.get(); }
    // The scroll property classes define no copy: the framework's conversion error.
    void SetScrollBars(TIVScrollProperties* value);
    TSizeGripStyle SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(TSizeGripStyle value);
    TCustomRangeBar* HScroll() const { return FHScroll; }
    TCustomRangeBar* VScroll() const { return FVScroll; }

    // The scroll-bar size, or the system's horizontal scroll-bar height when it is 0.
    int GetScrollBarSize() const;
    TRect GetViewportRect() override;
    TRect GetSizeGripRect();
    bool IsSizeGripVisible();
    // The bars along the viewport's bottom and right.
    void AlignAll();
    // The bars' ranges from the zoomed bitmap.
    void UpdateScrollBars();
    // The offsets from the bars (or centred), one repaint.
    void UpdateImage();
    void Scroll(int dx, int dy);
    // Bitmap coordinates.
    void ScrollToCenter(int x, int y);
    void Loaded() override;

    TNotifyEvent OnScroll;

protected:
    friend class TIVScrollProperties;

    virtual void DoScroll();
    // The bars' OnUserChange.
    virtual void ScrollHandler(TObject* sender);
    virtual void DoDrawSizeGrip(TRect r);
    void BitmapResized() override;
    void DoScaleChange() override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void Resize() override;

private:
    // The grip when visible, else a button-face fill, in the corner between the bars.
    void PaintSizeGrip();

    bool FCentered = true;
    int FScrollBarSize = 0;
    std::unique_ptr<TIVScrollProperties> FScrollBars;
    TSizeGripStyle FSizeGrip = sgAuto;
    bool FScrollLock = false;
    TCustomRangeBar* FHScroll = nullptr;
    TCustomRangeBar* FVScroll = nullptr;
};

class TImgView32 : public TCustomImgView32 {
public:
    using TCustomImgView32::TCustomImgView32;
};

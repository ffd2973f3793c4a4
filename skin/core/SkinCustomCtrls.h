// The resizable skinned controls: TspSkinCustomControl (windowed) and TspGraphicSkinCustomControl
// (windowless), whose look is a nine-part (or three-part, or fixed) image cut from a nine-part record. They
// keep the control at a size the skin allows, map record rectangles onto the resized control and, windowed,
// cut the window to the skin's mask.
#pragma once
#include "framework/graphics/Graphics.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinCtrls.h"
#include "skin/core/SkinImageCache.h"

#include <memory>

// Picture `index` of the skin's indexable pictures; null for -1, an index past the list or no skin.
TBitmap* SkinPictureAt(const TspSkinData* skin, int index);
// The same, null also for a picture that is empty (named by the skin but not loaded).
TBitmap* LoadedSkinPictureAt(const TspSkinData* skin, int index);

// The part both resizable controls share. Root is TspSkinControl or TspGraphicSkinControl.
template <class Root> class TspSkinCustomRoot : public Root {
    using inherited = Root;

public:
    explicit TspSkinCustomRoot(TComponent* owner);
    ~TspSkinCustomRoot() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    // The font of the default look ("Arial", height 14); owned.
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    // Applied at once while there is no record (0 keeps the current size).
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int value);

    // Copies the nine-part record's geometry when the record is one.
    void GetSkinData() override;
    void ChangeSkinData() override;
    // Keeps the size legal for the skin, recomputes the sized points, centres on a skinned tool bar.
    void SetBounds(int left, int top, int width, int height) override;

    // -1 empty skin rectangle, 0 fixed, 1 both ways, 2 horizontally, 3 vertically.
    int GetResizeMode() const;
    // A rectangle in skin-rectangle coordinates mapped onto the control at its current size.
    TRect GetNewRect(const TRect& r) const;
    int GetRealClientWidth() const { return SizedClientRect.Right - SizedClientRect.Left; }
    int GetRealClientHeight() const { return SizedClientRect.Bottom - SizedClientRect.Top; }
    int GetRealClientLeft() const { return SizedClientRect.Left; }
    int GetRealClientTop() const { return SizedClientRect.Top; }

protected:
    virtual void DefaultFontChange() { }
    // Adjusts a requested size to the skin and computes the sized points for it.
    virtual void CalcSize(int& width, int& height);
    // Windowed: the window region from the mask. The windowless control has none.
    virtual void UpdateControlRegion() { }
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    // Composes `rect` of `picture` at the control's current size into `dest`, by the resize mode. `dest` arrives
    // fresh (white, as a new bitmap is); the composed image comes from the skin's image cache.
    void CreateSkinControlImage(TBitmap* dest, TBitmap* picture, const TRect& rect);
    // What CreateSkinControlImage leaves in a new bitmap of `width` by `height`: the skin's kept image, or one
    // made in `scratch`. Valid until the skin's cache changes.
    TBitmap* SkinControlImage(TBitmap* picture, const TRect& rect, int width, int height, TBitmap& scratch);
    // The skin's kept image of `rect` at the control's size, or null when such images are not kept (no skin,
    // no picture, or a mode that composes nothing). Valid until the skin's cache changes.
    TBitmap* KeptSkinControlImage(TBitmap* picture, const TRect& rect);
    // The composition itself, drawn into `dest`.
    void ComposeSkinControlImage(TBitmap* dest, TBitmap* picture, const TRect& rect);
    // Every value the composition of `rect` into a new bitmap of `destWidth` by `destHeight` reads, under `kind`
    // (a descendant keying an image made from that face adds its own values).
    TspSkinImageKey SkinControlImageKey(TBitmap* picture, const TRect& rect, int destWidth, int destHeight,
        TspSkinImageKind kind = TspSkinImageKind::ControlFace) const;
    // Windowed only: the border strips are painted by Paint rather than composed here.
    virtual bool StripsPainted() const { return false; }
    void OnDefaultFontChange(TObject* sender);

    TBitmap* SkinPicture = nullptr;
    TBitmap* SkinMask = nullptr;
    TRect SkinRectangle;
    TPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
    TRect SkinClientRect;
    bool ClientStretchEffect = false;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    TspStretchType ClientStretchType = spstFull;
    int SkinResizeMode = 0;
    TPoint SizedLeftTopPoint, SizedRightTopPoint, SizedLeftBottomPoint, SizedRightBottomPoint;
    TRect SizedClientRect;

private:
    // Whether the face comes from the skin's image cache: the mode composes one, and there is a skin.
    bool FaceCached() const;
    TBitmap* CachedFace(TBitmap* picture, const TRect& rect, int width, int height);

    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    int FDefaultWidth = 0;
    int FDefaultHeight = 0;
};

extern template class TspSkinCustomRoot<TspSkinControl>;
extern template class TspSkinCustomRoot<TspGraphicSkinControl>;

// The windowed resizable control: adds the window region and the border-strip painting of list boxes.
class TspSkinCustomControl : public TspSkinCustomRoot<TspSkinControl> {
    using inherited = TspSkinCustomRoot<TspSkinControl>;

public:
    explicit TspSkinCustomControl(TComponent* owner);

    // The region cut from the mask when there is a mask and a record; otherwise the region is removed.
    virtual void SetControlRegion();
    void CreateControlRegion();
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void UpdateControlRegion() override { SetControlRegion(); }
    bool StripsPainted() const override { return PaintBorderStrips; }
    void Paint() override;
    void CreateWnd() override;

    // Paint through four border strips and fill the client area straight on the canvas (list boxes).
    bool PaintBorderStrips = false;
    bool PaintClientArea = true;
    // Hands `region` to the window, which deletes the one it held; without a window the region is deleted.
    void GiveRegion(HRGN region);

private:
    void PaintClientTiles();
};

class TspGraphicSkinCustomControl : public TspSkinCustomRoot<TspGraphicSkinControl> {
    using inherited = TspSkinCustomRoot<TspGraphicSkinControl>;

public:
    explicit TspGraphicSkinCustomControl(TComponent* owner);
};

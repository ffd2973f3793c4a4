// The roots of every control the skin draws entirely itself: TspSkinControl (windowed) and
// TspGraphicSkinControl (windowless). They bind a control to a record of a skin, build the control image
// off-screen (skinned or default look), copy it to the screen or blend it over what lies behind the control,
// and answer the skin-change protocol of the form component.
#pragma once
#include "framework/controls/TCustomControl.h"
#include "framework/controls/TGraphicControl.h"
#include "skin/core/Forward.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TBitmap;

// What the form component needs of every control that follows a skin: the skin it is bound to and the two
// steps of a skin change. The roots and the labels that bind to a record by themselves implement it, so the
// form component re-skins them without knowing their classes.
class TspSkinDataClient {
public:
    virtual ~TspSkinDataClient() = default;
    virtual TspSkinData* SkinData() const = 0;
    // Binds the control to another skin (a skinned frame hands its controls one skin this way).
    virtual void SetSkinData(TspSkinData* value) { (void)value; }
    // A load or clear starts: anything painted meanwhile uses the default look.
    virtual void BeforeChangeSkinData() { }
    // The skin changed: look the record up again and repaint.
    virtual void ChangeSkinData() = 0;
    // Whether a skinned form re-skins the control when its skin changes; a control that takes its skin only
    // from a skinned frame or its own setter answers false.
    virtual bool ReskinnedByForm() const { return true; }
    // Whether an MDI parent form sends the control CM_CANCELMODE when the form's menus close (skinned edits and
    // combo boxes, which then close what they have open).
    virtual bool CancelsModeWithMenus() const { return false; }
};

// What a skinned tool bar offers the controls standing on it: whether it centres them vertically, and the
// client part of its skin in its own coordinates. The skinned tool bar implements it.
class TspSkinToolBarLayout {
public:
    virtual ~TspSkinToolBarLayout() = default;
    virtual bool AdjustControls() const = 0;
    virtual TRect GetSkinClientRect() const = 0;
};

// The top at which a control of `height` stands centred in the skinned tool bar `parent`, when the parent is
// one and `always` or its AdjustControls says so; otherwise `top`.
int CenteredTopInToolBar(TControl* parent, int top, int height, bool always);

// Gives `canvas` the tools and copy mode of a new canvas.
void ResetCanvasTools(TCanvas* canvas);

// The part both roots share. Base is TCustomControl or TGraphicControl.
template <class Base> class TspSkinControlRoot : public Base, public TspSkinDataClient {
    using inherited = Base;

public:
    explicit TspSkinControlRoot(TComponent* owner);
    ~TspSkinControlRoot() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    TspSkinData* SkinData() const override { return FSkinData; }
    // Not owned: the control hears of the skin's deletion and falls back to its default look.
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinDataName; }
    // Takes effect at the next look-up (every paint makes one); neither looks up nor repaints.
    virtual void SetSkinDataName(std::string_view value) { FSkinDataName = value; }
    bool DrawDefault() const { return FDrawDefault; }
    void SetDrawDefault(bool value) { FDrawDefault = value; }
    const std::string& AreaName() const { return FAreaName; }
    void SetAreaName(std::string_view value) { FAreaName = value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    virtual void SetAlphaBlend(bool value);
    uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    virtual void SetAlphaBlendValue(uint8_t value);
    bool UseSkinCursor() const { return FUseSkinCursor; }
    void SetUseSkinCursor(bool value) { FUseSkinCursor = value; }
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // ---- The skin binding ------------------------------------------------------------------------------------
    // SkinIndex := the first control record named SkinDataName (letter case included), -1 without one or
    // without a loaded skin. Descendants copy what they need when the record is of their class.
    virtual void GetSkinData();
    // GetSkinData, the skin cursor, Repaint.
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override { SkinIndex = -1; }

    int GetSkinIndex() const { return SkinIndex; }
    void WndProc(TMessage& message) override;

protected:
    // Draw the two looks into `bitmap`, which arrives at the control's size; a descendant may resize it.
    virtual void CreateControlDefaultImage(TBitmap* bitmap) { (void)bitmap; }
    virtual void CreateControlSkinImage(TBitmap* bitmap) { (void)bitmap; }
    // The paint pipeline: record look-up, the off-screen image, the optional blend, the copy to the canvas.
    void Paint() override;
    // Paints the skinned look straight onto `canvas`, when the look can do without the off-screen image (a kept
    // face of the control's size and content drawn over it); false leaves the paint to the image. Never asked
    // for a blended control.
    virtual bool PaintSkinStraight(TCanvas* canvas);
    void Notification(TComponent* component, TOperation operation) override;
    // The skin's cursor for SkinCursorIndex (the default cursor for -1).
    void ApplySkinCursor();
    bool Designing() const { return this->ComponentState().Contains(csDesigning); }
    // A loaded skin that is not being replaced.
    bool SkinReady() const;

    // The off-screen image of a paint, `width` by `height`, in the state of a new bitmap (white, new tools). It
    // is kept between paints and made anew only when the size changes; valid until the next call.
    TBitmap* FreshPaintImage(int width, int height);

    void WMEraseBkgnd(TMessage& message);
    void WMMOVE(TMessage& message);
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);

    int SkinIndex = -1;
    int SkinCursorIndex = -1;

private:
    TspSkinData* FSkinData = nullptr;
    std::unique_ptr<TBitmap> FPaintImage;
    std::vector<uint32_t> FWhiteRow;
    std::string FSkinDataName;
    bool FDrawDefault = true;
    std::string FAreaName;
    bool FAlphaBlend = false;
    uint8_t FAlphaBlendValue = 200;
    bool FUseSkinCursor = false;
};

extern template class TspSkinControlRoot<TCustomControl>;
extern template class TspSkinControlRoot<TGraphicControl>;

// The windowed root.
class TspSkinControl : public TspSkinControlRoot<TCustomControl> {
    using inherited = TspSkinControlRoot<TCustomControl>;

public:
    explicit TspSkinControl(TComponent* owner);
    ~TspSkinControl() override;

    // With AlphaBlend: Repaint, then let the blended children refresh too.
    virtual void CheckParentBackground();
    // Sends WM_CHECKPARENTBG to every child: windowed ones through their window, windowless ones directly.
    void CheckControlsBackground();

    void WndProc(TMessage& message) override;

protected:
    // Answers WM_ERASEBKGND for a control that draws its whole image at once: an erase from outside painting
    // paints the control into the erase's DC, and nothing is erased under it.
    void PaintOnErase(TMessage& message);

    // True while the control handles WM_PAINT, so that an erase from inside painting can be told apart.
    bool InWMPaint = false;
    // The window region cut from the skin's mask; owned until handed to the window.
    HRGN ControlRegion = nullptr;
};

// The windowless root.
class TspGraphicSkinControl : public TspSkinControlRoot<TGraphicControl> {
    using inherited = TspSkinControlRoot<TGraphicControl>;

public:
    explicit TspGraphicSkinControl(TComponent* owner);

    void WndProc(TMessage& message) override;
};

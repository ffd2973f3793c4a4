// The push buttons that open a menu, and the push button with pictures of its own.
//
// TspSkinMenuButton opens a skinned popup menu or an images menu at its screen rectangle, from the whole
// button or, in track-button mode, from a 15-pixel track part at its right while the rest clicks as a push
// button (the opening and the track part are TspSkinMenuTrack's). It draws a drop-down marker or arrow in that
// strip.
//
// TspSkinMenuSpeedButton is its windowless counterpart on the speed button.
//
// TspSkinXFormButton draws itself, without a skin record, from a normal, a hot and a pressed picture of its own
// and takes its window shape from a mask picture.
#pragma once
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinMenuTrack.h"
#include "skin/controls/SkinSpeedButtons.h"

#include <memory>

class TspSkinMenuButton : public TspSkinMenuTrack<TspSkinButton> {
    using inherited = TspSkinMenuTrack<TspSkinButton>;

public:
    explicit TspSkinMenuButton(TComponent* owner);
    ~TspSkinMenuButton() override;

    void OnImagesMenuClose() override;
    void WndProc(TMessage& message) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void CreateButtonImage(TBitmap* bitmap, const TRect& r, bool down, bool mouseIn) override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void DrawSkinContent(TCanvas* canvas, const TRect& r, bool down, bool mouseIn) override;
    // The tool-button looks and the open track part are more than one face.
    bool PaintsFaceStraight() const override { return false; }
    // The marker picture: pressed, hot or normal.
    void DrawMenuMarker(TCanvas* canvas, const TRect& r, bool active, bool down);

private:
    // The stretched ("toolbutton") or nine-part ("resizebutton") tool-button looks.
    void CreateToolButtonImage(TBitmap* bitmap, bool stretched);
    // The strip that the marker or arrow stands in, moved when the button shows pressed or its menu open.
    TRect MarkerRect() const;
    void OpenMenu();
    void CloseSkinMenu();
};

class TspSkinXFormButton : public TspSkinButton {
    using inherited = TspSkinButton;

public:
    explicit TspSkinXFormButton(TComponent* owner);

    // ---- Published properties (pictures owned; the setters copy) ----------------------------------------------
    TBitmap* DefImage() const { return FDefImage.get(); }
    // A picture also gives the button its size while no record is in use.
    void SetDefImage(TBitmap* value);
    TBitmap* DefActiveImage() const { return FDefActiveImage.get(); }
    void SetDefActiveImage(TBitmap* value);
    TBitmap* DefDownImage() const { return FDefDownImage.get(); }
    void SetDefDownImage(TBitmap* value);
    // Black pixels are inside the window's shape.
    TBitmap* DefMask() const { return FDefMask.get(); }
    void SetDefMask(TBitmap* value);
    TColor DefActiveFontColor() const { return FDefActiveFontColor; }
    void SetDefActiveFontColor(TColor value) { FDefActiveFontColor = value; }
    TColor DefDownFontColor() const { return FDefDownFontColor; }
    void SetDefDownFontColor(TColor value) { FDefDownFontColor = value; }

    // Without a record and with a picture, the size stays the picture's.
    void SetBounds(int left, int top, int width, int height) override;
    void ChangeSkinData() override;
    void SetControlRegion() override;
    void Loaded() override;
    // The built-in look from the button's own pictures.
    void DrawDefaultButton(TCanvas* canvas);

protected:
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateWnd() override;

private:
    // No record and a picture of its own.
    bool OwnLook() const;

    std::unique_ptr<TBitmap> FDefImage;
    std::unique_ptr<TBitmap> FDefActiveImage;
    std::unique_ptr<TBitmap> FDefDownImage;
    std::unique_ptr<TBitmap> FDefMask;
    TColor FDefActiveFontColor = 0;
    TColor FDefDownFontColor = 0;
};

// Where the track strip of a new-style menu speed button lies.
enum TspTrackPosition : uint8_t { sptpRight, sptpBottom };

// The windowless menu button: a speed button that opens a popup menu or an images menu from the whole button
// or from its 15-pixel track strip, with a new-style look whose strip may lie at the bottom.
class TspSkinMenuSpeedButton : public TspSkinMenuTrack<TspSkinSpeedButton> {
    using inherited = TspSkinMenuTrack<TspSkinSpeedButton>;

public:
    explicit TspSkinMenuSpeedButton(TComponent* owner);
    ~TspSkinMenuSpeedButton() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    bool NewStyle() const { return FNewStyle; }
    // On, the record becomes "resizetoolbutton" (off keeps it); no repaint.
    void SetNewStyle(bool value);
    TspTrackPosition TrackPosition() const { return FTrackPosition; }
    void SetTrackPosition(TspTrackPosition value);

    void OnImagesMenuClose() override;
    void WndProc(TMessage& message) override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;
    void CreateButtonImage(TBitmap* bitmap, const TRect& r, bool down, bool mouseIn) override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    bool GreyDisabledImages() const override { return FGreyDisabled; }
    // A nine-part image of R's size from another button record, at R's top-left corner.
    void DrawResizeButton(
        const TspDataSkinButtonControl* record, TCanvas* canvas, const TRect& r, bool active, bool down);
    // The bottom 15 pixels of a new-style button with sptpBottom, else the right 15.
    TRect Strip() const override;

private:
    TRect ClientLessStrip() const;
    void OpenMenu();
    void CreateToolButtonImage(TBitmap* bitmap, bool stretched, bool down, bool mouseIn);
    void CreateNewStyleImage(TBitmap* bitmap, bool down, bool mouseIn);
    void CreateNewStyleDefaultImage(TBitmap* bitmap);
    // The arrow or marker in `r` once the content is drawn.
    void DrawMarkerOrArrow(TCanvas* canvas, const TRect& r, bool active, bool down, TColor arrowColor);
    const TspDataSkinButtonControl* ButtonRecord(std::string_view name) const;

    bool FNewStyle = false;
    TspTrackPosition FTrackPosition = sptpRight;
    bool FGreyDisabled = true;
};

// The skin objects that show or set a number: the progress gauge, the frame gauge (one frame of a strip per
// value range), the frame regulator (a knob or slider turned or dragged with the mouse) and the track bar.
#pragma once
#include "skin/forms/SkinObjects.h"

// The frame strip shared by the frame gauge and the regulator: the "activeskinrect" area of the active picture
// cut into CountFrames frames, side by side or stacked.
class TspSkinFrameObject : public TspActiveSkinObject {
    using inherited = TspActiveSkinObject;

public:
    TspSkinFrameObject(TspSkinObjectHost* form, TspDataSkinObject* data);

    // Draws frame FrameIndex (a frame past the strip shows its last frame).
    void Draw(TCanvas* canvas, bool standalone) override;

    int FrameIndex = 1;
    int FrameWidth = 0;
    int FrameHeight = 0;
    int CountFrames = 0;
    TFramesPlacement FramesPlacement = fpHorizontal;

protected:
    void InitFrames(int countFrames, TFramesPlacement placement);
};

class TspSkinFrameGaugeObject : public TspSkinFrameObject {
    using inherited = TspSkinFrameObject;

public:
    TspSkinFrameGaugeObject(TspSkinObjectHost* form, TspDataSkinObject* data);

    void Draw(TCanvas* canvas, bool standalone) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // Values outside MinValue..MaxValue are ignored.
    void SetValue(int value);
    void SimplySetValue(int value);
    void CalcFrame();

    int MinValue = 0;
    int MaxValue = 0;
    int Value = 0;
};

class TspSkinFrameRegulatorObject : public TspSkinFrameObject {
    using inherited = TspSkinFrameObject;

public:
    TspSkinFrameRegulatorObject(TspSkinObjectHost* form, TspDataSkinObject* data);

    void Draw(TCanvas* canvas, bool standalone) override;
    void MouseDown(int x, int y, TMouseButton button) override;
    void MouseUp(int x, int y, TMouseButton button) override;
    void MouseMove(int x, int y) override;

    // The angle of an object-local point around the object's centre: 0 straight down, growing clockwise
    // (90 left, 180 up, 270 right) up to 359. The centre itself gives 0.
    int GetRoundValue(int x, int y) const;
    void CalcRoundValue(int current);
    void CalcValue(int current);
    // Values equal to Value or outside MinValue..MaxValue are ignored; others raise the change event.
    void SetValue(int value);
    void SimplySetValue(int value);
    void CalcFrame();

    int MinValue = 0;
    int MaxValue = 0;
    int Value = 0;
    TRegulatorKind Kind = rkRound;

private:
    // The drag position of a form point: an angle, the local x, or minus the local y.
    int DragPosition(int x, int y) const;
    // The value step of one frame; 0 when the strip has fewer than two frames (nothing to step then).
    int ValueStep() const;
    void TakeStep(bool increase);

    bool FDragging = false;
    int FWorkValue = 0;
    int FAnchor = 0;
    int FLast = 0;
};

class TspSkinTrackBarObject : public TspActiveSkinObject {
    using inherited = TspActiveSkinObject;

public:
    TspSkinTrackBarObject(TspSkinObjectHost* form, TspDataSkinObject* data);

    void Draw(TCanvas* canvas, bool standalone) override;
    void MouseDown(int x, int y, TMouseButton button) override;
    void MouseUp(int x, int y, TMouseButton button) override;
    void MouseMove(int x, int y) override;

    // Object-local rectangle of the button centred on ButtonPos.
    TRect CalcButtonRect() const;
    int CalcValue(TPoint position) const;
    TPoint CalcButtonPos() const;
    void SimplySetValue(int value);
    void SetValue(int value);
    void SetButtonPos(TPoint position);

    TRect ButtonRect;
    TRect ActiveButtonRect;
    TPoint BeginPoint;
    TPoint EndPoint;
    int MinValue = 0;
    int MaxValue = 0;
    bool MouseDownChangeValue = false;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;
    bool Vertical = false;
    int Value = 0;
    TPoint ButtonPos;
    TPoint OldButtonPos;

private:
    // Whether a coordinate along the track lies between the two points.
    bool InTrack(int coordinate) const;

    bool FDragging = false;
    TPoint FLastPoint;
};

class TspSkinGaugeObject : public TspActiveSkinObject {
    using inherited = TspActiveSkinObject;

public:
    TspSkinGaugeObject(TspSkinObjectHost* form, TspDataSkinObject* data);

    void Draw(TCanvas* canvas, bool standalone) override;
    void MouseEnter() override;
    void MouseLeave() override;

    TPoint CalcProgressPos() const;
    void SimplySetValue(int value);
    void SetValue(int value);

    int MinValue = 0;
    int MaxValue = 0;
    bool Vertical = false;
    int Value = 0;
    TPoint ProgressPos;
    TPoint OldProgressPos;
};

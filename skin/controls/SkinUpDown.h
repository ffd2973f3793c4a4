// TspSkinUpDown: a skinned pair of step buttons with an integer position, drawn from the records "hupdown"
// (buttons side by side) or "vupdown" (stacked), repeating while a button is held.
#pragma once
#include "skin/controls/SkinStepButtons.h"
#include "skin/core/SkinCustomCtrls.h"

enum TUDOrientation : uint8_t { udHorizontal, udVertical };

class TspSkinUpDown : public TspSkinCustomControl {
    using inherited = TspSkinCustomControl;

public:
    explicit TspSkinUpDown(TComponent* owner);

    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation value);
    // A position outside Min..Max is ignored; any other is taken and reported, also when unchanged.
    int Position() const { return FPosition; }
    void SetPosition(int value);
    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    // 0 turns stepping and repeating off; the button events still fire.
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool value);
    TNotifyEvent OnChange;
    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;

    // Button 0 is up (right when horizontal), button 1 down (left).
    TRect ButtonRect(int index) const { return FButtons.Buttons[index].Rect; }
    void CalcRects();
    void GetSkinData() override;
    void WndProc(TMessage& message) override;

protected:
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void CalcSize(int& width, int& height) override;
    void SetControlRegion() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void DrawDefaultButton(TCanvas* canvas, int index, const TRect& r, TColor arrow);
    int ArrowKind(int index) const;

    TUDOrientation FOrientation = udHorizontal;
    int FPosition = 0;
    int FMin = 0;
    int FMax = 100;
    int FIncrement = 1;
    bool FUseSkinSize = true;
    TspStepButtons FButtons;
};

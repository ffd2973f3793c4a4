// TSplitter: a bar between an aligned control and the rest of its parent; dragging it sizes that control
// (the control whose edge touches the bar on the side of the bar's alignment), within MinSize and the room the
// parent has left, snapping to nothing below MinSize when AutoSnap is on.
#pragma once
#include "framework/controls/TGraphicControl.h"

using TCanResizeSplitterEvent = std::function<void(TObject* sender, int& newSize, bool& accept)>;

class TSplitter : public TGraphicControl {
    using inherited = TGraphicControl;

public:
    explicit TSplitter(TComponent* owner);

    int MinSize() const { return FMinSize; }
    void SetMinSize(int value) { FMinSize = std::max(1, value); }
    bool AutoSnap() const { return FAutoSnap; }
    void SetAutoSnap(bool value) { FAutoSnap = value; }
    bool Beveled() const { return FBeveled; }
    void SetBeveled(bool value);
    // The control being sized during a drag (nullptr otherwise).
    TControl* SizedControl() const { return FControl; }

    TCanResizeSplitterEvent OnCanResize;
    TNotifyEvent OnMoved;
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    virtual bool CanResize(int& newSize);
    // The aligned control next to the bar on the side of its alignment.
    TControl* FindSizedControl() const;

private:
    bool Horizontal() const { return Align() == alLeft || Align() == alRight; }
    int SizeOf(const TControl* control) const;
    void ApplySize(int size);

    int FMinSize = 30;
    bool FAutoSnap = true;
    bool FBeveled = false;
    TControl* FControl = nullptr;
    TPoint FDownPos;
    int FStartSize = 0;
    int FMaxSize = 0;
};

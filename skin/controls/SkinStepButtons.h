// TspStepButtons: the pair of step buttons of the spin edit and the up-down: which one the pointer is over,
// which one is held, and the repeat while one is held (a first delay of 500 ms that does not step, then a step
// every 100 ms; off the held button the repeat pauses, and back on it resumes every 50 ms).
#pragma once
#include "framework/graphics/Types.h"
#include "platform/win/WinTypes.h"

#include <functional>

class TControl;

class TspStepButtons {
public:
    struct TButton {
        TRect Rect;
        bool MouseIn = false;
        bool Down = false;
    };

    // Button 0 steps up, button 1 down.
    TButton Buttons[2];
    // False: a held button does not repeat (a step of 0).
    bool Repeats = true;
    std::function<void(UINT ms)> StartTimer;
    std::function<void()> StopTimer;
    std::function<void()> Repaint;
    // One repeat step: +1 up, -1 down.
    std::function<void(int direction)> Step;

    int Active() const { return FActive; }
    // The button under (x, y) becomes the active one; while one is held no other can.
    void TestActive(int x, int y);
    // The pointer entered `control`: the button under it (none when it is elsewhere) becomes the active one. The
    // move that brought it in may already have found its button, so this looks where the pointer is.
    void PointerEntered(const TControl* control);
    // A press: the button under the point is held and the repeat armed.
    void Press(int x, int y);
    // A release: the held button (-1 none) and whether the pointer is still on it.
    int Release(bool& inside);
    // The repeat timer's tick.
    void Tick();
    // The pointer left the control.
    void PointerLeft();

private:
    void Enter(int index);
    void Leave(int index);

    int FActive = -1;
    int FHeld = -1;
    // 0 none, 1 decrease, 2 increase.
    int FMode = 0;
    bool FFirstDelay = false;
};

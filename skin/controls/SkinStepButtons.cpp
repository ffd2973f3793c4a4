#include "skin/controls/SkinStepButtons.h"

#include "framework/controls/TControl.h"
#include "platform/win/Windows.h"

namespace {

bool Inside(const TRect& r, int x, int y)
{
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

} // namespace

void TspStepButtons::TestActive(int x, int y)
{
    int active = -1;
    for (int i = 0; i < 2; ++i)
        if (Inside(Buttons[i].Rect, x, y))
            active = i;
    if (FHeld != -1 && active != FHeld)
        active = -1;
    if (active == FActive)
        return;
    const int old = FActive;
    FActive = active;
    if (old != -1)
        Leave(old);
    if (active != -1)
        Enter(active);
}

void TspStepButtons::Enter(int index)
{
    Buttons[1 - index].MouseIn = false;
    Buttons[index].MouseIn = true;
    Repaint();
    // Back on the held button the repeat resumes at once, faster than it started.
    if (Buttons[index].Down && Repeats)
        StartTimer(50);
}

void TspStepButtons::Leave(int index)
{
    Buttons[index].MouseIn = false;
    Repaint();
    if (Buttons[index].Down && Repeats)
        StopTimer();
}

void TspStepButtons::Press(int x, int y)
{
    TestActive(x, y);
    if (FActive == -1)
        return;
    FHeld = FActive;
    Buttons[FHeld].MouseIn = true;
    Buttons[FHeld].Down = true;
    Repaint();
    if (Repeats) {
        FMode = FHeld == 0 ? 2 : 1;
        FFirstDelay = true;
        StartTimer(500);
    }
}

int TspStepButtons::Release(bool& inside)
{
    const int index = FHeld;
    FHeld = -1;
    inside = false;
    if (index == -1)
        return -1;
    StopTimer();
    FMode = 0;
    Buttons[index].Down = false;
    if (index != FActive)
        Buttons[index].MouseIn = false;
    inside = Buttons[index].MouseIn;
    Repaint();
    return index;
}

void TspStepButtons::Tick()
{
    if (FFirstDelay) {
        // The first tick after the press only starts the faster repeat.
        FFirstDelay = false;
        StartTimer(100);
        return;
    }
    if (FMode != 0)
        Step(FMode == 2 ? 1 : -1);
}

void TspStepButtons::PointerLeft()
{
    if (FActive != -1)
        Leave(FActive);
    FActive = -1;
    for (TButton& button : Buttons)
        button.MouseIn = false;
    Repaint();
}

void TspStepButtons::PointerEntered(const TControl* control)
{
    POINT cursor {};
    GetCursorPos(&cursor);
    const TPoint p = control->ScreenToClient(TPoint(cursor.x, cursor.y));
    TestActive(p.X, p.Y);
}

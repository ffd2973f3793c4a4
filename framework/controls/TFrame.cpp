// TFrame: a scrolling container that takes controls.
#include "framework/controls/TFrame.h"

TCustomFrame::TCustomFrame(TComponent* owner)
    : inherited(owner)
{
    FControlStyle = TControlStyle { csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks };
    FWidth = 320;
    FHeight = 240;
}

TFrame::TFrame(TComponent* owner)
    : inherited(owner)
{
}

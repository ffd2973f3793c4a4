// TspParentBackground: what a parent control offers when it paints the background under its children itself.
#pragma once
#include "platform/win/WinTypes.h"

// The skinned tab control implements it: controls that capture what lies beneath them (GetParentImage) take
// the background from PaintBG rather than from the parent's erase and paint, which would draw its tabs too.
class TspParentBackground {
public:
    virtual ~TspParentBackground() = default;
    // Paints the background over the control's whole area into `dc`, in the control's own coordinates.
    virtual void PaintBG(HDC dc) = 0;
};

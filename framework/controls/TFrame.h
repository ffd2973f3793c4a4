// TFrame, a container of controls made once and placed on forms as one control: it scrolls its children like a
// scroll box, without a border of its own.
#pragma once
#include "framework/controls/TScrollingWinControl.h"

class TCustomFrame : public TScrollingWinControl {
    using inherited = TScrollingWinControl;

public:
    explicit TCustomFrame(TComponent* owner);
};

class TFrame : public TCustomFrame {
    using inherited = TCustomFrame;

public:
    explicit TFrame(TComponent* owner);
};

// THintWindow, the small top-most window that shows a control's hint.
#pragma once
#include "framework/controls/TCustomControl.h"

#include <string>

// A borderless pop-up that never takes the activation. The application makes one through HintWindowClass
// and calls CalcHintRect, then ActivateHint; ReleaseHandle hides it.
class THintWindow : public TCustomControl {
    using inherited = TCustomControl;

public:
    explicit THintWindow(TComponent* owner);

    // Shows `hint` in `rect` (screen coordinates), moved to stay on the monitor it is on.
    virtual void ActivateHint(const TRect& rect, const std::string& hint);
    virtual void ActivateHintData(const TRect& rect, const std::string& hint, void* data);
    // The rectangle (at 0, 0) the hint needs, wrapped to `maxWidth`.
    virtual TRect CalcHintRect(int maxWidth, const std::string& hint, void* data);
    // True for a message that should take the hint away (the base: none besides the application's).
    virtual bool IsHintMsg(MSG& message);
    // Hides the window by destroying it.
    void ReleaseHandle();

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void WMNCHitTest(TMessage& message);
    void CMTextChanged(TMessage& message);
};

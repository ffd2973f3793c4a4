// TspSkinFrame, the component that gives the frame owning it a skinned background and hands one skin to every
// control the frame owns.
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "skin/forms/TspSkinComponent.h"

#include <functional>

class TFrame;

class TspSkinFrame : public TspSkinComponent {
    using inherited = TspSkinComponent;

public:
    // On a frame: the frame stops scrolling and sizing itself, and its window procedure becomes the
    // component's. Any other owner leaves the component without a frame, doing nothing.
    explicit TspSkinFrame(TComponent* owner);
    // Gives the frame its own window procedure back.
    ~TspSkinFrame() override;

    TspSkinData* CtrlsSkinData() const { return FCtrlsSkinData; }
    // On a change: stored and handed to the frame's controls.
    void SetCtrlsSkinData(TspSkinData* value);
    bool DrawBackground = true;

    TFrame* Frame() const { return FFrame; }
    // Every control the frame owns takes CtrlsSkinData (when it has another skin).
    void UpdateSkinCtrls();
    void ChangeSkinData() override;
    // The frame's background on `dc`, from the skin's client piece or background picture.
    void PaintBG(HDC dc);
    // WM_CHECKPARENTBG to the frame's windowed children.
    void CheckControlsBackground();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void NewWndProc(TMessage& message);

    TFrame* FFrame = nullptr;
    TspSkinData* FCtrlsSkinData = nullptr;
    std::function<void(TMessage&)> FOldWindowProc;
};

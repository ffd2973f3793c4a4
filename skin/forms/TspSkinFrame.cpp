// TspSkinFrame: the frame's hooked window procedure, its background and the skin it hands its controls.
#include "skin/forms/TspSkinFrame.h"

#include "framework/controls/TFrame.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinCtrls.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinBackground.h"

TspSkinFrame::TspSkinFrame(TComponent* owner)
    : inherited(owner)
{
    FFrame = dynamic_cast<TFrame*>(owner);
    if (!FFrame)
        return;
    FFrame->SetAutoScroll(false);
    FFrame->SetAutoSize(false);
    if (!ComponentState().Contains(csDesigning)) {
        FOldWindowProc = FFrame->WindowProc;
        FFrame->WindowProc = [this](TMessage& message) { NewWndProc(message); };
    }
}

TspSkinFrame::~TspSkinFrame()
{
    if (FFrame && FOldWindowProc)
        FFrame->WindowProc = FOldWindowProc;
    if (FCtrlsSkinData)
        FCtrlsSkinData->RemoveFreeNotification(this);
}

void TspSkinFrame::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FCtrlsSkinData)
        FCtrlsSkinData = nullptr;
}

void TspSkinFrame::SetCtrlsSkinData(TspSkinData* value)
{
    if (value == FCtrlsSkinData)
        return;
    if (FCtrlsSkinData)
        FCtrlsSkinData->RemoveFreeNotification(this);
    FCtrlsSkinData = value;
    if (value)
        value->FreeNotification(this);
    UpdateSkinCtrls();
}

void TspSkinFrame::UpdateSkinCtrls()
{
    if (!FFrame)
        return;
    // The frame's own components, not the children of its child controls: every skinned control takes the
    // skin, the rich edit and the cool bar too, which the form leaves alone.
    for (int i = 0; i < FFrame->ComponentCount(); ++i) {
        auto* client = dynamic_cast<TspSkinDataClient*>(FFrame->Components(i));
        if (client && dynamic_cast<TControl*>(FFrame->Components(i)) && client->SkinData() != FCtrlsSkinData)
            client->SetSkinData(FCtrlsSkinData);
    }
}

void TspSkinFrame::ChangeSkinData()
{
    inherited::ChangeSkinData();
    if (FFrame && !ComponentState().Contains(csDesigning))
        FFrame->Invalidate();
}

void TspSkinFrame::CheckControlsBackground()
{
    if (!FFrame)
        return;
    for (int i = 0; i < FFrame->ControlCount(); ++i)
        if (auto* child = dynamic_cast<TWinControl*>(FFrame->Controls(i)))
            child->Perform(WM_CHECKPARENTBG, 0, 0);
}

void TspSkinFrame::NewWndProc(TMessage& message)
{
    if (message.Msg == WM_ERASEBKGND) {
        // Answered either way: with DrawBackground off the frame keeps what its controls' parent shows.
        if (DrawBackground)
            PaintBG(reinterpret_cast<HDC>(message.WParam));
        message.Result = 1;
        return;
    }
    if (FOldWindowProc)
        FOldWindowProc(message);
    if (message.Msg == WM_SIZE && SkinData() && SkinData()->StretchEffect)
        CheckControlsBackground();
}

void TspSkinFrame::PaintBG(HDC dc)
{
    if (!FFrame)
        return;
    const int width = FFrame->ClientWidth();
    const int height = FFrame->ClientHeight();
    const TRect client = Rect(0, 0, width, height);
    TspSkinData* skin = SkinData();
    TBitmap* picture = nullptr;
    TRect tile = SPUtils::NullRect();
    if (skin && !skin->Empty) {
        if (skin->BGPictureIndex == -1) {
            picture = skin->Picture.get();
            tile = skin->ClientRect;
        } else if ((picture = SkinPictureAt(skin, skin->BGPictureIndex))) {
            tile = Rect(0, 0, picture->Width(), picture->Height());
        }
    }
    // No skin, a null client piece or a picture index that names none: the plain face.
    PaintSkinTiled(dc, picture, tile, client, width, height, skin && skin->StretchEffect,
        skin ? skin->StretchType : spstFull);
}

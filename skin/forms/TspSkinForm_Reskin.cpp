// TspSkinForm: the skin change as the form's controls and components see it: the controls bound to the changing
// skin let go of their records before it and look them up again after it (a skinned frame repaints its
// background), the form's children that show its background hear that it changed, and skinned edits and combo
// boxes of an MDI parent hear that a menu closed.
#include "framework/controls/TFrame.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinCtrls.h"
#include "skin/core/SkinMessages.h"
#include "skin/forms/TspSkinComponent.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/forms/TspSkinFrame.h"

namespace {

// `control` itself, then its children in order: windowed children with their own children, before the next.
template <class Visit> void WalkControls(TControl* control, const Visit& visit)
{
    visit(control);
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (!windowed)
        return;
    for (int i = 0; i < windowed->ControlCount(); ++i)
        WalkControls(windowed->Controls(i), visit);
}

bool UsesSkin(const TspSkinDataClient* client, const TspSkinData* skin)
{
    return !skin || client->SkinData() == skin;
}

} // namespace

void TspSkinForm::BeforeUpDateSkinControls(TspSkinData* skin, TControl* control)
{
    if (!control)
        return;
    // Only the two roots keep records to let go of; the labels look theirs up at each paint.
    WalkControls(control, [skin](TControl* c) {
        TspSkinDataClient* client = dynamic_cast<TspSkinControl*>(c);
        if (!client)
            client = dynamic_cast<TspGraphicSkinControl*>(c);
        if (client && UsesSkin(client, skin))
            client->BeforeChangeSkinData();
    });
}

void TspSkinForm::UpDateSkinControls(TspSkinData* skin, TControl* control)
{
    if (!control)
        return;
    WalkControls(control, [skin](TControl* c) {
        // A frame repaints its skinned background, whatever skin; its controls are walked after it.
        if (auto* frame = dynamic_cast<TFrame*>(c)) {
            for (int i = 0; i < frame->ComponentCount(); ++i)
                if (auto* skinFrame = dynamic_cast<TspSkinFrame*>(frame->Components(i))) {
                    skinFrame->ChangeSkinData();
                    break;
                }
            return;
        }
        if (auto* client = dynamic_cast<TspSkinDataClient*>(c);
            client && client->ReskinnedByForm() && UsesSkin(client, skin))
            client->ChangeSkinData();
    });
}

void TspSkinForm::BeforeUpDateSkinComponents()
{
    for (int i = 0; i < FForm->ComponentCount(); ++i)
        if (auto* component = dynamic_cast<TspSkinComponent*>(FForm->Components(i)))
            component->BeforeChangeSkinData();
}

void TspSkinForm::UpDateSkinComponents()
{
    for (int i = 0; i < FForm->ComponentCount(); ++i)
        if (auto* component = dynamic_cast<TspSkinComponent*>(FForm->Components(i)))
            component->ChangeSkinData();
}

void TspSkinForm::CheckControlsBackground()
{
    for (int i = 0; i < FForm->ControlCount(); ++i)
        if (auto* child = dynamic_cast<TWinControl*>(FForm->Controls(i)))
            child->Perform(WM_CHECKPARENTBG, 0, 0);
}

void TspSkinForm::CancelMessageToControls()
{
    const TComponentState state = ComponentState();
    if (state.Contains(csLoading) || state.Contains(csReading) || state.Contains(csDesigning)
        || state.Contains(csDestroying))
        return;
    if (FForm->FormStyle() != fsMDIForm || !FForm->Visible())
        return;
    // The skinned edits and combo boxes, which close what they have open.
    for (int i = 0; i < FForm->ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(FForm->Components(i));
        auto* client = dynamic_cast<TspSkinDataClient*>(FForm->Components(i));
        if (control && client && client->CancelsModeWithMenus() && control->Visible() && control->Enabled())
            control->Perform(CM_CANCELMODE, 0, 0);
    }
}

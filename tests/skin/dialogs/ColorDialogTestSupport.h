// What the suites of the controls that open the colour dialog share: an answer to every dialog that comes up.
#pragma once
#include "framework/controls/TApplication.h"
#include "framework/controls/TScreen.h"
#include "skin/controls/SkinTrackEdit.h"
#include "skin/dialogs/TspSkinColorDialog.h"

// What the answered dialogs were: how many came up and the colour the last one started with.
struct TColorDialogAnswers {
    int Dialogs = 0;
    TColor StartColor = 0;

    // From now on every colour dialog that comes up is answered OK with `color`, or Cancel when `accept` is
    // false. The caller clears Application->OnIdle when done.
    void Answer(TColor color, bool accept)
    {
        Application->OnIdle = [this, color, accept](TObject*, bool& idle) {
            for (int i = 0; i < Screen->FormCount(); ++i) {
                auto* form = dynamic_cast<TspColorDialogForm*>(Screen->Forms(i));
                if (!form || !form->Visible() || form->ModalResult() != mrNone)
                    continue;
                ++Dialogs;
                StartColor = BytesToColor(static_cast<uint8_t>(form->REdit->Value()),
                    static_cast<uint8_t>(form->GEdit->Value()), static_cast<uint8_t>(form->BEdit->Value()));
                const TRGB bytes = ColorToBytes(color);
                form->REdit->SetValue(bytes.R);
                form->GEdit->SetValue(bytes.G);
                form->BEdit->SetValue(bytes.B);
                form->SetModalResult(accept ? mrOk : mrCancel);
                idle = false;
            }
        };
    }
};

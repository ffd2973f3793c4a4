// TStopPromptForm, the question a Stop in the batch asks while the running conversion is paused, and ConfirmStop.
#pragma once
#include "framework/controls/Forms.h"

class TFrLabel;
class TImage;
class TspSkinButton;
class TspSkinForm;

class TStopPromptForm : public TForm {
    using inherited = TForm;

public:
    explicit TStopPromptForm(TComponent* owner);

    TspSkinForm* FormSkinner = nullptr;
    TImage* Image1 = nullptr;
    TFrLabel* FrLabel1 = nullptr;
    // "NO" (modal result 1) resumes; "YES" (modal result 2) stops.
    TspSkinButton* btnResume = nullptr;
    TspSkinButton* btnCancel = nullptr;

private:
    void CreateComponents();
};

// Asks whether the running conversion is to be stopped. True for YES, and for closing the question by its
// caption's close button, which counts as YES.
bool ConfirmStop();

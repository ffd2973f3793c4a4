#include "app/TStopPromptForm.h"

#include "app/AppPictures.h"
#include "app/ProfileFormLayout.h"
#include "framed/FrLabel.h"
#include "framework/controls/ExtCtrls.h"
#include "skin/controls/SkinButtons.h"

#include <memory>

using namespace ProfileFormLayout;

TStopPromptForm::TStopPromptForm(TComponent* owner)
    : TForm(owner)
{
    CreateComponents();
    SetCaption("Tarnwick Pro");
}

void TStopPromptForm::CreateComponents()
{
    SetBorderStyle(bsDialog);
    SetBorderIcons({});
    SetPosition(poDesktopCenter);
    SetScaled(false);
    SetClientWidth(360);
    SetClientHeight(124);
    FormSkinner = NewFormSkinner(this);
    FormSkinner->SetBorderIcons({ TspBorderIcon::biSystemMenu });

    Image1 = NewAppImage(this, this, "StopPrompt.bmp", 14, 14, 64, 64);
    FrLabel1 = new TFrLabel(this);
    FrLabel1->SetParent(this);
    FrLabel1->SetAutoSize(false);
    FrLabel1->SetBounds(94, 22, 252, 48);
    FrLabel1->SetWordWrap(true);
    FrLabel1->SetTextStyle(tsRecessed);
    FrLabel1->SetLightTextStyle(true);
    FrLabel1->SetTransparent(true);
    FrLabel1->SetCaption("Are you sure you want to stop converting?");

    btnResume = Place<TspSkinButton>(this, this, 186, 88, 75, 25);
    btnResume->SetCaption("NO");
    btnResume->SetModalResult(mrOk);
    btnCancel = Place<TspSkinButton>(this, this, 271, 88, 75, 25);
    btnCancel->SetCaption("YES");
    btnCancel->SetModalResult(mrCancel);
}

bool ConfirmStop()
{
    std::unique_ptr<TStopPromptForm> form(TCustomForm::Create<TStopPromptForm>(Application));
    return form->ShowModal() == mrCancel;
}

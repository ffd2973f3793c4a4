// TOutputSettingsForm: the window's components, their places and properties, and the events they are bound to.
#include "app/AppPictures.h"
#include "app/ProfileFormLayout.h"
#include "app/ProfileFormatTables.h"
#include "app/TOutputSettingsForm.h"
#include "framework/controls/ExtCtrls.h"
#include "skin/controls/SkinButtons.h"

#include <string>

using namespace ProfileFormatTables;
using namespace ProfileFormLayout;

void TOutputSettingsForm::CreateComponents()
{
    SetCaption("Output Settings");
    SetBorderStyle(bsDialog);
    SetClientWidth(700);
    SetClientHeight(601);
    SetKeyPreview(true);
    SetPosition(poMainFormCenter);
    FormSkinner = NewFormSkinner(this);

    MainPanel = Place<TspSkinPanel>(this, this, 0, 0, 700, 489);
    MainPanel->SetAlign(alTop);
    // Two header pictures share one place; only the first shows.
    Image1 = NewAppImage(this, MainPanel, "OutputSettingsHeader1.bmp", 0, 0, 700, 40);
    Image2 = NewAppImage(this, MainPanel, "OutputSettingsHeader2.bmp", 0, 44, 700, 40);
    Image2->SetBounds(Image1->Left(), Image1->Top(), Image2->Width(), Image2->Height());
    Image1->SetVisible(true);
    Image2->SetVisible(false);

    // The format pictures in a row, each with its radio button under it.
    TImage** images[8] = { &ImageAVI, &ImageMPEG, &ImageWMV, &ImageReal, &ImageMov, &ImageMP4, &Image3GP, &ImageFLV };
    TspSkinCheckRadioBox** radios[8] = { &rbAVI, &rbMPEG, &rbWMV, &rbReal, &rbMOV, &rbMP4, &rb3GP, &rbFLV };
    for (size_t i = 0; i < OutputSettingsOrder.size(); ++i) {
        const VideoFormatType type = OutputSettingsOrder[i];
        const int left = 14 + static_cast<int>(i) * 85;
        TImage* image = NewAppImage(
            this, MainPanel, std::string("OutputSettings") + FormatInfo(type).PictureName + ".bmp", left, 44, 71, 81);
        image->SetCursor(crHandPoint);
        image->OnClick = [this, type](TObject*) { FormatImageClick(type); };
        *images[i] = image;
        TspSkinCheckRadioBox* radio = Radio(this, MainPanel, left, 128, FormatInfo(type).RadioCaption, 1);
        radio->SetWidth(80);
        *radios[i] = radio;
    }

    Label(this, MainPanel, 14, 164, "Profiles:");
    cbProfiles = Choice(this, MainPanel, 80, 160, 360);
    cbProfiles->SetDropDownCount(12);
    cbProfiles->OnChange = [this](TObject* sender) { cbProfilesChange(sender); };
    chkFixAspectRatio = Check(this, MainPanel, 470, 160, "Fix Aspect Ratio");
    chkDisableAudio = Check(this, MainPanel, 470, 184, "Disable Audio");

    lblSettingsTitle = Label(this, MainPanel, 0, 210, "Video Settings");
    lblSettingsTitle->SetWidth(700);
    lblSettingsTitle->SetAlignment(taCenter);
    lblSettingsTitle->DefaultFont()->SetStyle({ fsBold });
    VideoPanel = Place<TspSkinPanel>(this, MainPanel, 40, 230, 621, 252);

    btnOk = Place<TspSkinButton>(this, this, 510, 560, 85, 27);
    btnOk->SetCaption("OK");
    btnOk->SetDefault(true);
    btnOk->OnClick = [this](TObject* sender) { btnOkClick(sender); };
    btnCancel = Place<TspSkinButton>(this, this, 605, 560, 85, 27);
    btnCancel->SetCaption("Cancel");
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(mrCancel);

    // The layout's format; the format change follows the radio buttons from here on.
    rbMP4->SetChecked(true);
    for (TspSkinCheckRadioBox** radio : radios)
        (*radio)->OnClick = [this](TObject* sender) { rb3GPClick(sender); };
    chkFixAspectRatio->SetChecked(true);
    OnKeyPress = [this](TObject* sender, char32_t& key) { FormKeyPress(sender, key); };
}

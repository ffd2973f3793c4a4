#include "app/TOutputSettingsForm.h"

#include "app/LastSettings.h"
#include "app/ProfileChoices.h"
#include "app/ProfileFormatTables.h"
#include "app/TEditProfileForm.h"
#include "engine/AppServices.h"
#include "engine/TConvertJob.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/core/SysUtils.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinPanels.h"
#include "skin/lists/TspSkinComboBox.h"

#include <utility>

using namespace ProfileFormatTables;

TOutputSettingsForm::TOutputSettingsForm(TComponent* owner)
    : TOutputSettingsForm(owner, nullptr)
{
}

TOutputSettingsForm::TOutputSettingsForm(TComponent* owner, const TConvertJob& job)
    : TOutputSettingsForm(owner, &job)
{
}

TOutputSettingsForm::TOutputSettingsForm(TComponent* owner, const TConvertJob* job)
    : TForm(owner)
    , FSeeded(job != nullptr)
{
    CreateComponents();
    ResultJob = std::make_unique<TConvertJob>("");
    OwnsResultJob = true;
    FillingList = false;
    CreateEditor();
    if (!job) {
        LoadOutputSettings();
        return;
    }
    chkFixAspectRatio->SetChecked(job->FixAspectRatio);
    chkDisableAudio->SetChecked(job->DisableAudio);
    const TVideoProfile* profile = job->GetProfile();
    if (!profile)
        return;
    FormatRadio(profile->FormatType)->SetChecked(true);
    ResultJob->SetProfile(profile->Clone());
    SelectProfileByName(ResultJob->GetProfile()->ProfileName);
    // The job's own settings, also those never saved to its profile's file.
    EmbeddedEditor->ShowProfile(ResultJob->GetProfile());
}

TOutputSettingsForm::~TOutputSettingsForm()
{
    // The seeded window was made from a job and leaves the user's remembered choices alone.
    if (!FSeeded)
        SaveOutputSettings();
    // The editor goes first: its format panels sit in this window's VideoPanel.
    delete EmbeddedEditor;
    EmbeddedEditor = nullptr;
    if (!OwnsResultJob)
        (void)ResultJob.release();
    ResultJob.reset();
}

void TOutputSettingsForm::CreateEditor()
{
    MyCursor hourglass(-11);
    EmbeddedEditor = TCustomForm::Create<TEditProfileForm>(this);
    rb3GPClick(nullptr);
}

TspSkinCheckRadioBox* TOutputSettingsForm::FormatRadio(VideoFormatType type) const
{
    TspSkinCheckRadioBox* const radios[8] = { rb3GP, rbAVI, rbMPEG, rbMP4, rbWMV, rbReal, rbMOV, rbFLV };
    return radios[type];
}

int TOutputSettingsForm::CheckedFormat() const
{
    for (int type = 0; type < 8; ++type) {
        if (FormatRadio(static_cast<VideoFormatType>(type))->Checked())
            return type;
    }
    return -1;
}

// ---- The format and its profiles -------------------------------------------------------------------------------

void TOutputSettingsForm::rb3GPClick(TObject*)
{
    const int checked = CheckedFormat();
    if (checked >= 0) {
        const auto type = static_cast<VideoFormatType>(checked);
        for (int other = 0; other < 8; ++other) {
            if (other != checked)
                EmbeddedEditor->FormatPanel(static_cast<VideoFormatType>(other))->SetVisible(false);
        }
        TspSkinPanel* panel = EmbeddedEditor->FormatPanel(type);
        panel->SetParent(VideoPanel);
        panel->SetAlign(alClient);
        panel->SetVisible(true);
        lblSettingsTitle->SetCaption(FormatInfo(type).SettingsTitle);
    }
    FillProfileList();
}

void TOutputSettingsForm::FillProfileList()
{
    if (FillingList)
        return;
    FillingList = true;
    TNotifyEvent change = std::exchange(cbProfiles->OnChange, nullptr);
    const int checked = CheckedFormat();
    const auto category = static_cast<VideoFormatType>(checked < 0 ? vf3GP : checked);
    if (ListProfilesOfFormat(cbProfiles, ListedProfiles, category)) {
        const int index = SelectProfileByName(LastProfileNames[category]);
        EmbeddedEditor->ShowProfile(ListedProfiles[static_cast<size_t>(index)]);
    } else {
        cbProfiles->SetItemIndex(0);
        EmbeddedEditor->ShowProfile(nullptr);
    }
    cbProfiles->OnChange = std::move(change);
    FillingList = false;
}

int TOutputSettingsForm::SelectProfileByName(const std::string& name)
{
    int index = 0;
    for (int i = 0; !name.empty() && i < cbProfiles->Items()->Count(); ++i) {
        if (Trim(cbProfiles->Items()->Strings(i)) == name) {
            index = i;
            break;
        }
    }
    cbProfiles->SetItemIndex(index);
    return index;
}

void TOutputSettingsForm::cbProfilesChange(TObject*)
{
    const int index = cbProfiles->ItemIndex();
    EmbeddedEditor->ShowProfile(index >= 0 && index < static_cast<int>(ListedProfiles.size())
            ? ListedProfiles[static_cast<size_t>(index)]
            : nullptr);
    RememberProfileName(cbProfiles->Text());
}

void TOutputSettingsForm::RememberProfileName(const std::string& name)
{
    const int checked = CheckedFormat();
    if (checked >= 0)
        LastProfileNames[static_cast<size_t>(checked)] = name;
}

void TOutputSettingsForm::FormatImageClick(VideoFormatType type)
{
    TspSkinCheckRadioBox* radio = FormatRadio(type);
    radio->SetChecked(true);
    if (radio->Showing() && radio->CanFocus())
        radio->SetFocus();
    rb3GPClick(radio);
}

// ---- The result ------------------------------------------------------------------------------------------------

TVideoProfile* TOutputSettingsForm::CreateProfileFromEditor()
{
    const int checked = CheckedFormat();
    const auto category = static_cast<VideoFormatType>(checked < 0 ? vf3GP : checked);
    auto profile = NewProfileOfFormat(category, "", "");
    EmbeddedEditor->ReadProfileOfFormat(profile.get());
    ResultJob->SetProfile(std::move(profile));
    return ResultJob->GetProfile();
}

void TOutputSettingsForm::btnOkClick(TObject*)
{
    ResultJob->DisableAudio = chkDisableAudio->Checked();
    ResultJob->FixAspectRatio = chkFixAspectRatio->Checked();
    CreateProfileFromEditor();
    SetModalResult(mrOk);
}

void TOutputSettingsForm::FormKeyPress(TObject*, char32_t& key)
{
    if (key == 27)
        SetModalResult(mrCancel);
}

// ---- Remembered choices ----------------------------------------------------------------------------------------

void TOutputSettingsForm::LoadOutputSettings()
{
    TLastSettings settings;
    chkFixAspectRatio->SetChecked(settings.FixAspectRatio());
    chkDisableAudio->SetChecked(settings.DisableAudio());
    for (int type = 0; type < 8; ++type)
        LastProfileNames[static_cast<size_t>(type)] = settings.LastProfile(type);
    const int format = settings.LastVideoFormat();
    const bool known = format >= 0 && format < 8;
    if (known)
        FormatRadio(static_cast<VideoFormatType>(format))->SetChecked(true);
    rb3GPClick(nullptr);
    SelectProfileByName(known ? LastProfileNames[static_cast<size_t>(format)] : std::string());
}

void TOutputSettingsForm::SaveOutputSettings()
{
    WriteLastSettingsInTeardown([this](TLastSettings& settings) {
        settings.SetFixAspectRatio(chkFixAspectRatio->Checked());
        settings.SetDisableAudio(chkDisableAudio->Checked());
        for (int type = 0; type < 8; ++type)
            settings.SetLastProfile(type, LastProfileNames[static_cast<size_t>(type)]);
        const int checked = CheckedFormat();
        settings.SetLastVideoFormat(checked < 0 ? 1 : checked);
    });
}

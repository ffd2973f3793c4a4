// TOutputSettingsForm, the dialog in which the user picks the output format and profile for jobs and adjusts the
// profile's settings for this use, on the profile editor's format panel; it hands back a new profile and the two
// job flags, and never writes profile files.
#pragma once
#include "engine/TVideoProfile.h"
#include "framework/controls/Forms.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class TConvertJob;
class TEditProfileForm;
class TImage;
class TspSkinButton;
class TspSkinCheckRadioBox;
class TspSkinComboBox;
class TspSkinForm;
class TspSkinPanel;
class TspSkinStdLabel;

class TOutputSettingsForm : public TForm {
    using inherited = TForm;

public:
    // The plain window: it opens on the choices remembered in LastSettings.ini and writes them back when it goes.
    explicit TOutputSettingsForm(TComponent* owner);
    // The window seeded from one job: its flags, format and own profile (with changes never saved to a file).
    // It reads and writes no remembered settings.
    TOutputSettingsForm(TComponent* owner, const TConvertJob& job);
    ~TOutputSettingsForm() override;

    // A new profile of the checked format built from the editor's controls; it becomes ResultJob's profile (and
    // stays owned by it). Callers clone it for each job they update.
    TVideoProfile* CreateProfileFromEditor();
    // Selects the first list item whose text, without blanks and control characters at its ends, is `name`
    // exactly; index 0 for an empty or unknown name. Answers the index.
    int SelectProfileByName(const std::string& name);
    // The format of the first checked radio button in type-code order, or -1 when none is checked.
    int CheckedFormat() const;
    // The radio button of a format type code.
    TspSkinCheckRadioBox* FormatRadio(VideoFormatType type) const;

    // ---- Components ------------------------------------------------------------------------------------------
    TspSkinForm* FormSkinner = nullptr;
    TspSkinPanel* MainPanel = nullptr;
    TImage *Image1 = nullptr, *Image2 = nullptr;
    TImage *ImageAVI = nullptr, *ImageMPEG = nullptr, *ImageWMV = nullptr, *ImageReal = nullptr, *ImageMov = nullptr,
           *ImageMP4 = nullptr, *Image3GP = nullptr, *ImageFLV = nullptr;
    TspSkinCheckRadioBox *rbAVI = nullptr, *rbMPEG = nullptr, *rbWMV = nullptr, *rbReal = nullptr, *rbMOV = nullptr,
                         *rbMP4 = nullptr, *rb3GP = nullptr, *rbFLV = nullptr;
    TspSkinComboBox* cbProfiles = nullptr;
    TspSkinCheckRadioBox *chkFixAspectRatio = nullptr, *chkDisableAudio = nullptr;
    TspSkinStdLabel* lblSettingsTitle = nullptr;
    TspSkinPanel* VideoPanel = nullptr;
    TspSkinButton *btnOk = nullptr, *btnCancel = nullptr;

    // ---- Handlers --------------------------------------------------------------------------------------------
    void btnOkClick(TObject* sender);
    // The format change: the click of every radio button, also run directly.
    void rb3GPClick(TObject* sender);
    // The click of a format picture.
    void FormatImageClick(VideoFormatType type);
    void cbProfilesChange(TObject* sender);
    void FormKeyPress(TObject* sender, char32_t& key);

    // ---- State -----------------------------------------------------------------------------------------------
    bool OwnsResultJob = true;
    std::unique_ptr<TConvertJob> ResultJob;
    TEditProfileForm* EmbeddedEditor = nullptr;
    bool FillingList = false;
    // By VideoFormatType code.
    std::array<std::string, 8> LastProfileNames;
    // The profile of each item of cbProfiles (null for "No Profile in this category").
    std::vector<TVideoProfile*> ListedProfiles;

    void FillProfileList();
    void RememberProfileName(const std::string& name);

private:
    TOutputSettingsForm(TComponent* owner, const TConvertJob* job);
    void CreateComponents();
    void CreateEditor();
    void LoadOutputSettings();
    void SaveOutputSettings();

    // The seeded window remembers nothing.
    bool FSeeded = false;
};

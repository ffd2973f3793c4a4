// TEditProfileForm, the profile editor: one page per output format with the stored profiles of that format, the
// format's settings, and New, Save, Copy and Delete. Its format panels also serve the output settings window.
#pragma once
#include "app/ProfileChoices.h"
#include "engine/TVideoProfile.h"
#include "framework/controls/Forms.h"
#include "framework/core/TStrings.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class TMenuItem;
class TProfileManager;
class TspSkinButton;
class TspSkinCheckRadioBox;
class TspSkinComboBox;
class TspSkinEdit;
class TspSkinForm;
class TspSkinGroupBox;
class TspSkinPageControl;
class TspSkinPanel;
class TspSkinPopupMenu;
class TspSkinSpinEdit;
class TspSkinTabSheet;
class T3GPProfile;
class TAVIProfile;
class TMPEGProfile;
class TMP4Profile;
class TWMVProfile;
class TRealProfile;
class TMOVProfile;
class TFLVProfile;

class TEditProfileForm : public TForm {
    using inherited = TForm;

public:
    // Builds the window and its pages on the profiles of ResourceForm's profile manager.
    explicit TEditProfileForm(TComponent* owner);
    ~TEditProfileForm() override;

    // Shows a stored or temporary profile (nullptr: "(empty)" and no format panel); afterwards the editor's
    // parameter lists hold exactly that profile's extra encoder options.
    void ShowProfile(const TVideoProfile* profile);
    // The unsaved-change check, run before the editor leaves the shown profile: asks whether to save a new or
    // changed profile. True: the caller may go on; false: the user refused, or the save failed (and said so).
    bool CheckModified();
    // The check, and the page's list built again when it saved or replaced a stored profile.
    void CheckModifiedKeepingList();

    // ---- The format pages: a profile into the controls, and the controls into a profile ---------------------
    void ShowProfile3GP(const T3GPProfile* profile);
    void ShowProfileAVI(const TAVIProfile* profile);
    void ShowProfileMPEG(const TMPEGProfile* profile);
    void ShowProfileMP4(const TMP4Profile* profile);
    void ShowProfileWMV(const TWMVProfile* profile);
    void ShowProfileReal(const TRealProfile* profile);
    void ShowProfileMOV(const TMOVProfile* profile);
    void ShowProfileFLV(const TFLVProfile* profile);
    void ReadProfile3GP(T3GPProfile* profile);
    void ReadProfileAVI(TAVIProfile* profile);
    void ReadProfileMPEG(TMPEGProfile* profile);
    void ReadProfileMP4(TMP4Profile* profile);
    void ReadProfileWMV(TWMVProfile* profile);
    void ReadProfileReal(TRealProfile* profile);
    void ReadProfileMOV(TMOVProfile* profile);
    void ReadProfileFLV(TFLVProfile* profile);
    // Shows any profile with its own format's operation; reads the controls of `profile`'s format into it.
    void ShowProfileOfFormat(const TVideoProfile* profile);
    void ReadProfileOfFormat(TVideoProfile* profile);
    // The format panel of a format.
    TspSkinPanel* FormatPanel(VideoFormatType type) const;

    // ---- Components ------------------------------------------------------------------------------------------
    TspSkinForm* FormSkinner = nullptr;
    TspSkinPanel* VideoPanel = nullptr;
    TspSkinPageControl* pcFormats = nullptr;
    // By editor page index.
    std::array<TspSkinTabSheet*, 8> Pages {};
    TspSkinTabSheet *tsAVI = nullptr, *tsWMV = nullptr, *tsReal = nullptr, *tsMP4 = nullptr, *tsMPEG = nullptr,
                    *tsMOV = nullptr, *ts3GP = nullptr, *tsFLV = nullptr;
    TspSkinPanel* ProfileInfoPanel = nullptr;
    TspSkinComboBox* cbProfiles = nullptr;
    TspSkinEdit* edtName = nullptr;
    TspSkinButton *btnNew = nullptr, *btnSave = nullptr, *btnSaveAs = nullptr, *btnDeleteProfile = nullptr,
                  *btnClose = nullptr;
    TspSkinPopupMenu* NewPopupMenu = nullptr;
    // By VideoFormatType code.
    std::array<TMenuItem*, 8> NewMenuItems {};

    TspSkinPanel *My3GPPanel = nullptr, *AVIPanel = nullptr, *MPEGPanel = nullptr, *MP4Panel = nullptr,
                 *WMVPanel = nullptr, *RealPanel = nullptr, *MOVPanel = nullptr, *FLVPanel = nullptr;

    // AVI page.
    TspSkinComboBox *cbAVIFrameSize = nullptr, *cbAVIFrameRate = nullptr, *cbAVIVideoCodec = nullptr,
                    *cbAVI_AudioCodec = nullptr, *cbAVIFrequency = nullptr, *cbAVIChannels = nullptr,
                    *cbAVIAudioBitrate = nullptr;
    TspSkinSpinEdit *edtAVIWidth = nullptr, *edtAVIHeight = nullptr, *edtAVIVideoBitrate = nullptr,
                    *edtAVIVideoVBRMaxBitrate = nullptr, *edtAVIVideoVBRMinBitrate = nullptr;
    TspSkinCheckRadioBox *rbAVIUseCBR = nullptr, *rbAVIUseVBR = nullptr;
    // MPEG page.
    TspSkinComboBox *cbMPEGFrameSize = nullptr, *cbMPEGFrameRate = nullptr, *cbMPEGAudioType = nullptr,
                    *cbMPEGFrequency = nullptr, *cbMPEGChannels = nullptr, *cbMPEGAudioBitrate = nullptr;
    TspSkinSpinEdit *edtMPEGWidth = nullptr, *edtMPEGHeight = nullptr, *edtMPEGVideoBitrate = nullptr,
                    *edtMPEGVideoVBRMaxBitrate = nullptr, *edtMPEGVideoVBRMinBitrate = nullptr;
    TspSkinCheckRadioBox *rbMPEG1 = nullptr, *rbMPEG2 = nullptr, *rbMPEGUseCBR = nullptr, *rbMPEGUseVBR = nullptr;
    // MP4 page.
    TspSkinComboBox *cbMP4FrameSize = nullptr, *cbMP4FrameRate = nullptr, *cbMP4VideoCodec = nullptr,
                    *cbMP4Frequency = nullptr, *cbMP4Channels = nullptr, *cbMP4AudioBitrate = nullptr;
    TspSkinSpinEdit *edtMP4Width = nullptr, *edtMP4Height = nullptr, *edtMP4VideoBitrate = nullptr,
                    *edtMP4VideoVBRMaxBitrate = nullptr, *edtMP4VideoVBRMinBitrate = nullptr;
    TspSkinCheckRadioBox *rbMP4UseCBR = nullptr, *rbMP4UseVBR = nullptr;
    // MOV page.
    TspSkinComboBox *cbMOVFrameSize = nullptr, *cbMOVFrameRate = nullptr, *cbMOVVideoCodec = nullptr,
                    *cbMOVFrequency = nullptr, *cbMOVChannels = nullptr, *cbMOVAudioBitrate = nullptr;
    TspSkinSpinEdit *edtMOVWidth = nullptr, *edtMOVHeight = nullptr, *edtMOVVideoBitrate = nullptr;
    // FLV page.
    TspSkinComboBox *cbFLVFrameSize = nullptr, *cbFLVFrameRate = nullptr, *cbFLVVideoCodec = nullptr,
                    *cbFLVFrequency = nullptr, *cbFLVChannels = nullptr, *cbFLVAudioBitrate = nullptr;
    TspSkinSpinEdit *edtFLVWidth = nullptr, *edtFLVHeight = nullptr, *edtFLVVideoBitrate = nullptr;
    // WMV page.
    TspSkinCheckRadioBox *chkUseSystemProfile = nullptr, *chkWMVUseVBR = nullptr;
    TspSkinComboBox *cbSystemProfile = nullptr, *cbWMVFrameSize = nullptr, *cbWMVFrameRate = nullptr,
                    *cbWMVVersion = nullptr, *cbWMVAudioFormat = nullptr;
    TspSkinSpinEdit *edtWMVWidth = nullptr, *edtWMVHeight = nullptr, *edtWMVVideoBitrate = nullptr,
                    *edtWMVVBRQuality = nullptr;
    // Real page.
    TspSkinComboBox *cbRealFrameSize = nullptr, *cbRealFrameRate = nullptr, *cbRealVideoCodec = nullptr,
                    *cbRealAudioFormat = nullptr;
    TspSkinSpinEdit *edtRealWidth = nullptr, *edtRealHeight = nullptr, *edtRealVideoBitrate = nullptr,
                    *edtRealVideoVBRMaxBitrate = nullptr;
    TspSkinCheckRadioBox *rbRealUseCBR = nullptr, *rbRealUseVBR = nullptr, *chkRealVideoNoiseReduction = nullptr;
    // 3GP page.
    TspSkinComboBox *cb3GPFormat = nullptr, *cb3GPVideoCodec = nullptr, *cb3GPFrameSize = nullptr,
                    *cb3GPFrameRate = nullptr, *cb3GPVideoBitrate = nullptr, *cb3GPAudioCodec = nullptr,
                    *cb3GPFrequency = nullptr, *cb3GPChannels = nullptr, *cb3GPAudioBitrate = nullptr;
    TspSkinSpinEdit* edt3GPBitrateTolerance = nullptr;

    // ---- Handlers --------------------------------------------------------------------------------------------
    void pcFormatsChange(TObject* sender);
    void cbProfilesChange(TObject* sender);
    void btnNewClick(TObject* sender);
    // "New" for one format (the menu items).
    void NewProfile(VideoFormatType type);
    void btnSaveClick(TObject* sender);
    void btnSaveAsClick(TObject* sender);
    void btnDeleteProfileClick(TObject* sender);
    void btnCloseClick(TObject* sender);
    void FormKeyPress(TObject* sender, char32_t& key);

    void rbAVIUseCBRClick(TObject* sender);
    void cbAVIVideoCodecChange(TObject* sender);
    void cbAVI_AudioCodecChange(TObject* sender);
    void rbMPEGUseCBRClick(TObject* sender);
    void rbMP4UseCBRClick(TObject* sender);
    void cbMP4VideoCodecChange(TObject* sender);
    void cbMOVVideoCodecChange(TObject* sender);
    void chkUseSystemProfileClick(TObject* sender);
    void chkWMVUseVBRClick(TObject* sender);
    void cbRealVideoCodecChange(TObject* sender);
    void rbRealUseCBRClick(TObject* sender);
    void cb3GPVideoCodecChange(TObject* sender);
    void cb3GPAudioCodecChange(TObject* sender);
    // The exit of every width and height edit.
    void edtFLVWidthEditExit(TObject* sender);

    // ---- State -----------------------------------------------------------------------------------------------
    bool NewProfilePending = false;
    bool EditorReady = false;
    VideoFormatType CurrentFormat = vfMP4;
    int ShownIndex = -1;
    bool FillingProfiles = false;
    // By VideoFormatType code.
    std::array<std::string, 8> LastEditedNames;
    TStringList EditorParamKeys;
    TStringList EditorParamValues;

    // The profile of each item of cbProfiles (null for "No Profile in this category").
    std::vector<TVideoProfile*> ListedProfiles;
    TVideoProfile* ListedProfile(int index) const;
    // Set when a save changed the stored profiles, and when a save failed.
    bool StoreChangedList = false;
    bool StoreFailed = false;

    // The editor's units of the pages, by VideoFormatType code; 3GP has no frame-size unit.
    std::array<std::unique_ptr<TFrameSizeUnit>, 8> FrameSizeUnits;

    void FillProfileList();
    // Selects the item whose text is `name` (index 0 for an empty or unknown name) and answers the index.
    int SelectProfileByName(const std::string& name);
    void RememberProfileName(const std::string& name);
    // The format of the active page.
    VideoFormatType ActiveFormat() const;

private:
    // Builds the components and binds the events (the form's layout).
    void CreateComponents();
    void CreateFormatPages();
    void CreatePageAVI();
    void CreatePageMPEG();
    void CreatePageMP4();
    void CreatePageMOV();
    void CreatePageFLV();
    void CreatePageWMV();
    void CreatePageReal();
    void CreatePage3GP();
    // The pages' item lists, the layout's values and the events of the choices that change other controls.
    void SetUpFormatPages();
    // The dependent states applied, the list built and the library lists copied: the editor is ready.
    void InitControls();

    // Makes `type`'s page active around a show, with the unsaved-change check off.
    void ActivateFormatPage(VideoFormatType type, const std::string& name);
    // Hides every format panel and shows `type`'s.
    void ShowOnlyPanel(VideoFormatType type);
    void HideAllPanels();
    // The extra encoder options of the shown profile into a profile read from the controls.
    void ReadAdditionalParams(TVideoProfile* profile);
    // The name from the name edit and the page's settings into a new profile of `type`.
    std::unique_ptr<TVideoProfile> ReadNewProfile(VideoFormatType type);
    // Saves `profile` under its name; `replaced` (may be null) is the stored profile it takes the place of.
    // Another stored profile of the same name is replaced only when the user agrees. False when the user
    // refuses or the save fails (said to the user; every stored profile and file is kept).
    bool StoreProfile(std::unique_ptr<TVideoProfile> profile, const TVideoProfile* replaced);
    int ManagerIndexOf(const TVideoProfile* profile) const;
    TProfileManager* Manager() const;

    // The units of the choices that stand for numbers.
    struct TChoices;
    std::unique_ptr<TChoices> FChoices;
};

// The class of `type`, new, with the class's defaults.
std::unique_ptr<TVideoProfile> NewProfileOfFormat(
    VideoFormatType type, const std::string& profileName, const std::string& fileName);

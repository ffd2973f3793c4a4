#include "app/TEditProfileForm.h"

#include "app/ProfileFormatTables.h"
#include "app/TEditProfileForm_Choices.h"
#include "engine/AppServices.h"
#include "engine/FormatProfiles.h"
#include "engine/TProfileManager.h"
#include "engine/TResourceForm.h"
#include "platform/controls/MessageBox.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinPanels.h"
#include "skin/dialogs/TspSkinPageControl.h"
#include "skin/lists/TspSkinComboBox.h"
#include "skin/menus/TspSkinPopupMenu.h"

#include <utility>

using namespace ProfileFormatTables;

namespace {

constexpr int32_t kQuestionFlags = 0x44;
constexpr char kEmptyName[] = "(empty)";

// The text with its one "%s" replaced by `name`.
std::string Format(std::string_view text, const std::string& name)
{
    std::string result(text);
    const size_t at = result.find("%s");
    if (at != std::string::npos)
        result.replace(at, 2, name);
    return result;
}

// Copies a string list (the profiles hold their option lists as values, the editor as its own lists).
void CopyStrings(const TStringList& from, TStringList& to)
{
    to.Clear();
    for (int i = 0; i < from.Count(); ++i)
        to.Add(from.Strings(i));
}

bool AskYes(std::string_view text, const std::string& name)
{
    return ShowMessageBox(Format(text, name), std::string(ApplicationTitle), kQuestionFlags) == IDYES;
}

} // namespace

std::unique_ptr<TVideoProfile> NewProfileOfFormat(
    VideoFormatType type, const std::string& profileName, const std::string& fileName)
{
    switch (type) {
    case vf3GP:
        return std::make_unique<T3GPProfile>(profileName, fileName);
    case vfAVI:
        return std::make_unique<TAVIProfile>(profileName, fileName);
    case vfMPEG:
        return std::make_unique<TMPEGProfile>(profileName, fileName);
    case vfMP4:
        return std::make_unique<TMP4Profile>(profileName, fileName);
    case vfWMV:
        return std::make_unique<TWMVProfile>(profileName, fileName);
    case vfReal:
        return std::make_unique<TRealProfile>(profileName, fileName);
    case vfMOV:
        return std::make_unique<TMOVProfile>(profileName, fileName);
    case vfFLV:
        return std::make_unique<TFLVProfile>(profileName, fileName);
    }
    return nullptr;
}

TEditProfileForm::TEditProfileForm(TComponent* owner)
    : TForm(owner)
{
    MyCursor hourglass(-11);
    CreateComponents();
    SetUpFormatPages();
    // The layout opens on the AVI page.
    pcFormats->SetActivePage(tsAVI);
    pcFormatsChange(nullptr);
    InitControls();
}

TEditProfileForm::~TEditProfileForm() = default;

void TEditProfileForm::InitControls()
{
    HideAllPanels();
    for (const auto& unit : FrameSizeUnits) {
        if (unit)
            unit->ChoiceChange(nullptr);
    }
    FillProfileList();
    EditorReady = true;
}

TProfileManager* TEditProfileForm::Manager() const
{
    return ResourceForm ? ResourceForm->ProfileManager.get() : nullptr;
}

VideoFormatType TEditProfileForm::ActiveFormat() const
{
    const int page = pcFormats->ActivePageIndex();
    return page < 0 ? vfAVI : EditorPageOrder[static_cast<size_t>(page)];
}

TspSkinPanel* TEditProfileForm::FormatPanel(VideoFormatType type) const
{
    TspSkinPanel* const panels[8]
        = { My3GPPanel, AVIPanel, MPEGPanel, MP4Panel, WMVPanel, RealPanel, MOVPanel, FLVPanel };
    return panels[type];
}

void TEditProfileForm::HideAllPanels()
{
    for (int type = 0; type < 8; ++type)
        FormatPanel(static_cast<VideoFormatType>(type))->SetVisible(false);
}

void TEditProfileForm::ShowOnlyPanel(VideoFormatType type)
{
    HideAllPanels();
    FormatPanel(type)->SetVisible(true);
}

void TEditProfileForm::ActivateFormatPage(VideoFormatType type, const std::string& name)
{
    EditorReady = false;
    pcFormats->SetActivePage(Pages[static_cast<size_t>(EditorPageOf(type))]);
    pcFormatsChange(nullptr);
    EditorReady = true;
    edtName->SetText(name);
}

void TEditProfileForm::ReadAdditionalParams(TVideoProfile* profile)
{
    profile->ProfileName = edtName->Text();
    CopyStrings(EditorParamKeys, profile->ParamKeys);
    CopyStrings(EditorParamValues, profile->ParamValues);
}

std::unique_ptr<TVideoProfile> TEditProfileForm::ReadNewProfile(VideoFormatType type)
{
    auto profile = NewProfileOfFormat(type, "", "");
    ReadProfileOfFormat(profile.get());
    return profile;
}

// ---- Showing profiles and the page's list ----------------------------------------------------------------------

void TEditProfileForm::ShowProfile(const TVideoProfile* profile)
{
    EditorParamKeys.Clear();
    EditorParamValues.Clear();
    if (!profile) {
        edtName->SetText(kEmptyName);
        HideAllPanels();
        return;
    }
    ShowProfileOfFormat(profile);
    // The page switch on the way may have shown another profile of the rebuilt list: the lists hold this one's.
    CopyStrings(profile->ParamKeys, EditorParamKeys);
    CopyStrings(profile->ParamValues, EditorParamValues);
}

void TEditProfileForm::pcFormatsChange(TObject*)
{
    if (EditorReady)
        CheckModified();
    const VideoFormatType format = ActiveFormat();
    ProfileInfoPanel->SetParent(pcFormats->ActivePage());
    if (format != CurrentFormat) {
        CurrentFormat = format;
        FillProfileList();
    }
}

void TEditProfileForm::FillProfileList()
{
    if (FillingProfiles)
        return;
    FillingProfiles = true;
    TNotifyEvent change = std::exchange(cbProfiles->OnChange, nullptr);
    const VideoFormatType format = ActiveFormat();
    if (ListProfilesOfFormat(cbProfiles, ListedProfiles, format)) {
        const int index = SelectProfileByName(LastEditedNames[format]);
        ShowProfile(ListedProfiles[static_cast<size_t>(index)]);
        ShownIndex = index;
    } else {
        cbProfiles->SetItemIndex(0);
        ShownIndex = -1;
        ShowProfile(nullptr);
    }
    cbProfiles->OnChange = std::move(change);
    FillingProfiles = false;
}

int TEditProfileForm::SelectProfileByName(const std::string& name)
{
    int index = 0;
    for (int i = 0; i < cbProfiles->Items()->Count(); ++i) {
        if (!name.empty() && cbProfiles->Items()->Strings(i) == name) {
            index = i;
            break;
        }
    }
    cbProfiles->SetItemIndex(index);
    return index;
}

void TEditProfileForm::RememberProfileName(const std::string& name)
{
    LastEditedNames[ActiveFormat()] = name;
}

TVideoProfile* TEditProfileForm::ListedProfile(int index) const
{
    return index >= 0 && index < static_cast<int>(ListedProfiles.size()) ? ListedProfiles[static_cast<size_t>(index)]
                                                                         : nullptr;
}

void TEditProfileForm::cbProfilesChange(TObject*)
{
    const int chosen = cbProfiles->ItemIndex();
    const std::string name = cbProfiles->Text();
    StoreChangedList = false;
    CheckModified();
    if (StoreChangedList) {
        // A save or replace changed the stored profiles: the list is built again, on the profile chosen.
        LastEditedNames[ActiveFormat()] = name;
        FillProfileList();
        return;
    }
    ShowProfile(ListedProfile(chosen));
    ShownIndex = ListedProfile(chosen) ? chosen : -1;
    RememberProfileName(name);
}

// ---- Commands --------------------------------------------------------------------------------------------------

void TEditProfileForm::btnNewClick(TObject*)
{
    POINT at {};
    GetCursorPos(&at);
    NewPopupMenu->Popup(at.x, at.y);
}

void TEditProfileForm::NewProfile(VideoFormatType type)
{
    CheckModifiedKeepingList();
    NewProfilePending = true;
    // The new profile takes over the extra encoder options of the profile shown before it, also when the page
    // switch on the way shows another one.
    TStringList keys, values;
    CopyStrings(EditorParamKeys, keys);
    CopyStrings(EditorParamValues, values);
    const auto profile = NewProfileOfFormat(type, FormatInfo(type).NewProfileName, "");
    ShowProfileOfFormat(profile.get());
    CopyStrings(keys, EditorParamKeys);
    CopyStrings(values, EditorParamValues);
    // The output settings window's editor is never shown, and its name edit takes no focus.
    if (edtName->Showing() && edtName->CanFocus())
        edtName->SetFocus();
}

void TEditProfileForm::btnSaveClick(TObject*)
{
    StoreFailed = false;
    CheckModified();
    // A save that failed keeps the edits in the controls, so nothing typed is lost.
    if (StoreFailed)
        return;
    LastEditedNames[ActiveFormat()] = edtName->Text();
    FillProfileList();
}

void TEditProfileForm::btnSaveAsClick(TObject*)
{
    CheckModifiedKeepingList();
    if (ShownIndex == -1)
        return;
    NewProfilePending = true;
    edtName->SetText(edtName->Text() + " - Copy");
}

void TEditProfileForm::btnDeleteProfileClick(TObject*)
{
    if (!CheckModified())
        return;
    TProfileManager* manager = Manager();
    if (!manager)
        return;
    const std::string name = edtName->Text();
    int n = -1;
    for (int i = 0; i < manager->Count() && n < 0; ++i) {
        if (manager->Get(i)->ProfileName == name && AskYes("Do you want delete profile:\n%s?", name))
            n = i;
    }
    if (n < 0)
        return;
    manager->Delete(n);
    if (n >= manager->Count())
        n = manager->Count() - 1;
    ShowProfile(n >= 0 ? manager->Get(n) : nullptr);
    FillProfileList();
}

void TEditProfileForm::btnCloseClick(TObject*)
{
    Close();
}

void TEditProfileForm::FormKeyPress(TObject*, char32_t& key)
{
    if (key == 27)
        SetModalResult(mrCancel);
}

// ---- The unsaved-change check ----------------------------------------------------------------------------------

void TEditProfileForm::CheckModifiedKeepingList()
{
    StoreChangedList = false;
    CheckModified();
    // A profile the check saved or replaced leaves the page's list behind: it is built again on the name shown.
    if (StoreChangedList) {
        RememberProfileName(edtName->Text());
        FillProfileList();
    }
}

bool TEditProfileForm::CheckModified()
{
    if (!EditorReady)
        return true;
    std::unique_ptr<TVideoProfile> edited = ReadNewProfile(CurrentFormat);
    if (NewProfilePending) {
        NewProfilePending = false;
        if (!AskYes("Do You Want To Save Profile:\n%s?", edited->ProfileName))
            return false;
        return StoreProfile(std::move(edited), nullptr);
    }
    if (ShownIndex == -1)
        return true;
    const TVideoProfile* shown = ListedProfile(ShownIndex);
    if (!shown || edited->Equals(*shown))
        return true;
    if (!AskYes("Profile:%s\n has been modified ,Do you want to save it?", edited->ProfileName))
        return false;
    if (ManagerIndexOf(shown) < 0)
        return true;
    return StoreProfile(std::move(edited), shown);
}

int TEditProfileForm::ManagerIndexOf(const TVideoProfile* profile) const
{
    TProfileManager* manager = Manager();
    for (int i = 0; manager && i < manager->Count(); ++i) {
        if (manager->Get(i) == profile)
            return i;
    }
    return -1;
}

bool TEditProfileForm::StoreProfile(std::unique_ptr<TVideoProfile> profile, const TVideoProfile* replaced)
{
    TProfileManager* manager = Manager();
    if (!manager)
        return false;
    // Another stored profile of this name, of any format, is overwritten only when the user says so: a
    // renamed profile asks as a new one does.
    TVideoProfile* other = nullptr;
    for (int i = 0; i < manager->Count() && !other; ++i) {
        TVideoProfile* candidate = manager->Get(i);
        if (candidate != replaced && candidate->ProfileName == profile->ProfileName)
            other = candidate;
    }
    if (other
        && !AskYes("There is already a Profile having the same name of %s,\nDo you want to overwrite it?",
            profile->ProfileName))
        return false;

    // The new file is written first; the file it replaces goes only once that succeeded, so a failed save
    // keeps every stored profile and file. Writing over the file of the profile it replaces takes its place;
    // Save deletes that file when the new one has another name.
    const TVideoProfile* takesFileOf = other ? other : replaced;
    profile->FileName = takesFileOf ? takesFileOf->FileName : std::string();
    if (!profile->Save("")) {
        StoreFailed = true;
        ShowMessageBox("The profile \"" + profile->ProfileName
                + "\" could not be saved. The stored profiles are kept as they were.",
            std::string(ApplicationTitle), 16);
        return false;
    }
    // Take the replaced profiles out of the list; a file they still own is deleted with them, unless it is
    // the one just written.
    for (const TVideoProfile* old : { static_cast<const TVideoProfile*>(other), replaced }) {
        const int index = ManagerIndexOf(old);
        if (index < 0)
            continue;
        TVideoProfile* stored = manager->Get(index);
        if (stored->FileName == profile->FileName || stored == takesFileOf)
            stored->FileName.clear();
        manager->Delete(index);
    }
    manager->Add(std::move(profile));
    StoreChangedList = true;
    return true;
}

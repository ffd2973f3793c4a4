// TMainForm: the output profile combo, which lists every loaded profile by format with the format's icon, and gives
// the chosen one to the selected jobs.
#include "app/ProfileFormatTables.h"
#include "app/TMainForm.h"
#include "engine/TProfileManager.h"
#include "engine/TResourceForm.h"
#include "skin/lists/SkinListViews.h"
#include "skin/lists/TspSkinComboBoxEx.h"

using namespace ProfileFormatTables;

void TMainForm::FillProfileCombo()
{
    ClearProfileCombo();
    for (VideoFormatType type : ProfileComboOrder)
        AddProfilesOfFormat(type, FormatIconIndex(type));
    cbOutputProfile->SetItemIndex(0);
}

void TMainForm::AddProfilesOfFormat(int formatType, int imageIndex)
{
    if (!ResourceForm || !ResourceForm->ProfileManager)
        return;
    const TProfileManager& manager = *ResourceForm->ProfileManager;
    for (int32_t i = 0; i < manager.Count(); ++i) {
        const TVideoProfile* profile = manager.Get(i);
        if (profile->FormatType != formatType)
            continue;
        TspComboExItem* item = cbOutputProfile->ItemsEx()->Add();
        item->SetCaption(profile->ProfileName);
        item->SetImageIndex(imageIndex);
        // The combo's own copy: the profile editor may delete the manager's meanwhile.
        item->SetData(profile->Clone().release());
    }
}

void TMainForm::ClearProfileCombo()
{
    for (int i = 0; i < cbOutputProfile->ItemsEx()->Count(); ++i) {
        TspComboExItem* item = cbOutputProfile->ItemsEx()->Items(i);
        delete static_cast<TVideoProfile*>(item->Data());
        item->SetData(nullptr);
    }
    cbOutputProfile->ClearItemsEx();
}

void TMainForm::cbOutputProfileChange(TObject*)
{
    cbOutputProfile->SetHint(cbOutputProfile->Text());
}

void TMainForm::ApplyProfileToSelection(TObject*)
{
    const std::vector<int> rows = SelectedRows();
    const int index = cbOutputProfile->ItemIndex();
    if (rows.empty() || index < 0 || index >= cbOutputProfile->ItemsEx()->Count())
        return;
    const auto* profile = static_cast<const TVideoProfile*>(cbOutputProfile->ItemsEx()->Items(index)->Data());
    if (!profile)
        return;
    ApplyProfile(Jobs, rows, *profile);
    RefreshJobList();
}

#include "app/TTagEditForm.h"

#include "app/AppDialog.h"
#include "engine/TConvertJob.h"
#include "framework/core/TStrings.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinEffectLabels.h"
#include "skin/lists/TspSkinComboBox.h"

#include <string>

namespace {
constexpr int kFirstYear = 1980;
constexpr int kLastYear = 2010;
} // namespace

TTagEditForm::TTagEditForm(TComponent* owner, TConvertJob* job)
    : TForm(owner)
    , Job(job)
{
    SetCaption("Edit Metadata");
    SkinAppDialog(this);
    SetClientWidth(360);
    SetClientHeight(222);

    // One row per tag: its label on the left, its field on the right, in tab order.
    const char* const labels[] = { "Title:", "Author:", "Year:", "Copyright:", "Comment:" };
    for (int row = 0; row < 5; ++row)
        PlaceLabel(this, 12, 16 + row * 32, labels[row]);
    edtTitle = PlaceSkinned<TspSkinEdit>(this, 90, 12, 256, 21);
    edtAuthor = PlaceSkinned<TspSkinEdit>(this, 90, 44, 256, 21);
    edtYear = PlaceSkinned<TspSkinComboBox>(this, 90, 76, 100, 21);
    edtYear->SetStyle(spcbEditStyle);
    for (int year = kFirstYear; year <= kLastYear; ++year)
        edtYear->Items()->Add(std::to_string(year));
    edtYear->SetText("2005");
    edtCopyright = PlaceSkinned<TspSkinEdit>(this, 90, 108, 256, 21);
    edtComment = PlaceSkinned<TspSkinEdit>(this, 90, 140, 256, 21);
    PlaceSkinned<TspSkinBevel>(this, 12, 172, 334, 2)->SetShape(bsTopLine);

    btnOK = PlaceSkinned<TspSkinButton>(this, 176, 184, 80, 25);
    btnOK->SetCaption("OK");
    btnOK->SetModalResult(1);
    btnOK->OnClick = [this](TObject* sender) { btnOKClick(sender); };
    btnCancel = PlaceSkinned<TspSkinButton>(this, 266, 184, 80, 25);
    btnCancel->SetCaption("Cancel");
    btnCancel->SetModalResult(2);
    // The edits hand Escape to the form as a dialog key, which only a cancel button answers.
    btnCancel->SetCancel(true);
    OnKeyPress = [this](TObject* sender, char32_t& key) { FormKeyPress(sender, key); };

    if (Job) {
        edtTitle->SetText(Job->Title);
        edtAuthor->SetText(Job->Author);
        edtYear->SetText(Job->Year);
        edtCopyright->SetText(Job->Copyright);
        edtComment->SetText(Job->Comment);
    }
}

void TTagEditForm::btnOKClick(TObject*)
{
    if (Job) {
        Job->Title = edtTitle->Text();
        Job->Author = edtAuthor->Text();
        Job->Year = edtYear->Text();
        Job->Copyright = edtCopyright->Text();
        Job->Comment = edtComment->Text();
    }
    SetModalResult(1);
}

void TTagEditForm::FormKeyPress(TObject*, char32_t& key)
{
    if (key == 27)
        SetModalResult(2);
}

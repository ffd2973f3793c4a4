// TTagEditForm, "Edit Metadata": the five tag texts of one job (title, author, year, copyright, comment).
#pragma once
#include "framework/controls/Forms.h"

class TConvertJob;
class TspSkinButton;
class TspSkinComboBox;
class TspSkinEdit;

class TTagEditForm : public TForm {
    using inherited = TForm;

public:
    // Shows the tags of `job` (not owned; may be null, and then OK writes nothing).
    TTagEditForm(TComponent* owner, TConvertJob* job);

    TspSkinEdit* edtTitle = nullptr;
    TspSkinEdit* edtAuthor = nullptr;
    // Free text; the list offers the years 1980 to 2010.
    TspSkinComboBox* edtYear = nullptr;
    TspSkinEdit* edtCopyright = nullptr;
    TspSkinEdit* edtComment = nullptr;
    TspSkinButton* btnOK = nullptr;
    TspSkinButton* btnCancel = nullptr;

    // Writes the five texts back into the job, as they stand.
    void btnOKClick(TObject* sender);
    // Escape closes without writing.
    void FormKeyPress(TObject* sender, char32_t& key);

private:
    TConvertJob* Job;
};

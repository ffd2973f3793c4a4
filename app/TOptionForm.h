// TOptionForm, "Tarnwick Pro - Option": the decoder mode per file extension with the mode for the others, and how
// a source with several streams is opened. The window edits a private copy of the program's decoder-mode table
// and writes it (DecoderMode.cfg) and the stream choice (LastSettings.ini) only on OK.
#pragma once
#include "engine/TDecoderModeMap.h"
#include "framework/controls/Forms.h"
#include "framework/controls/TCustomListView.h"

#include <string>

class TspSkinButton;
class TspSkinCheckRadioBox;
class TspSkinComboBox;
class TspSkinEdit;
class TspSkinListView;
class TspSkinPanel;
class TspSkinScrollBar;

class TOptionForm : public TForm {
    using inherited = TForm;

public:
    explicit TOptionForm(TComponent* owner);

    TspSkinComboBox* cbDefaultDecoderMode = nullptr;
    TspSkinPanel* SkinPanelFileList = nullptr;
    TspSkinListView* lvMapList = nullptr;
    TspSkinScrollBar* spSkinScrollBarH = nullptr;
    TspSkinScrollBar* spSkinScrollBarV = nullptr;
    TspSkinButton* btnAdd = nullptr;
    TspSkinButton* btnDelete = nullptr;
    TspSkinButton* btnSave = nullptr;
    TspSkinEdit* edtExt = nullptr;
    TspSkinEdit* edtNote = nullptr;
    TspSkinComboBox* cbDecoderMode = nullptr;
    TspSkinCheckRadioBox* cbFirstStream = nullptr;
    TspSkinCheckRadioBox* cbSelectByUser = nullptr;
    TspSkinButton* btnOK = nullptr;
    TspSkinButton* btnCancel = nullptr;

    // The table as edited so far.
    const TDecoderModeMap& Edited() const { return EditedModes; }

    void lvMapListData(TObject* sender, TListItem* item);
    void lvMapListSelectItem(TObject* sender, TListItem* item, bool selected);
    void lvMapListDrawItem(TCustomListView* sender, TListItem* item, TRect rect, TListDrawState state);
    // A new entry ".Ext" in the edits; it enters the table with Modify.
    void btnAddClick(TObject* sender);
    // Stores the edits as an entry, replacing the entry shown before (so a changed extension renames it).
    void btnSaveClick(TObject* sender);
    // Removes the entry shown; nothing while a new entry is being added.
    void btnDeleteClick(TObject* sender);
    // Saves the table and the stream choice, and has every later probe use the new table. A write that fails is
    // reported and keeps the window open with its edits; the files and the program's table stay as they were.
    void btnOKClick(TObject* sender);
    void FormKeyDown(TObject* sender, uint16_t& key, TShiftState shift);

    // What Modify stores for a typed extension: trimmed, lower-case, with a leading dot; empty when there is no
    // extension in it.
    static std::string NormalizedExtension(std::string_view typed);

private:
    void RefreshItemList();

    TDecoderModeMap EditedModes;
    TDecoderModeMapItem CurrentItem;
    bool AddingItem = false;
};

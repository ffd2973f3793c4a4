#include "app/TOptionForm.h"

#include "app/AppDialog.h"
#include "app/LastSettings.h"
#include "app/TResourceSkinData.h"
#include "engine/AppServices.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TStrings.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Text.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/lists/SkinListViews.h"
#include "skin/lists/TspSkinComboBox.h"

#include <algorithm>

namespace {

constexpr TColor kSelectedRowColor = RGB(61, 128, 223);
constexpr int kModeCount = 4;

std::string DecoderModeText(int mode)
{
    return mode >= 0 && mode < kModeCount ? std::string(DecoderModeTexts[mode]) : std::string();
}

TspSkinComboBox* PlaceModeChoice(TWinControl* parent, int x, int y, int width)
{
    auto* combo = PlaceSkinned<TspSkinComboBox>(parent, x, y, width, 21);
    for (std::string_view text : DecoderModeTexts)
        combo->Items()->Add(std::string(text));
    return combo;
}

// Draws `text` from `left` up to `right` on the row, centred by the height of "A", cut with an ellipsis.
void DrawCell(TCanvas* canvas, const std::string& text, int left, int right, const TRect& row)
{
    const int textHeight = canvas->TextHeight("A");
    RECT r { left, row.Top + (row.Bottom - row.Top - textHeight) / 2, right, row.Bottom };
    if (r.right <= r.left)
        return;
    DrawText(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
        DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

} // namespace

TOptionForm::TOptionForm(TComponent* owner)
    : TForm(owner)
{
    SetCaption(std::string(ApplicationTitle) + " - Option");
    SkinAppDialog(this);
    SetClientWidth(500);
    SetClientHeight(528);

    PlaceLabel(this, 12, 16, "Default Decoding Mode:");
    cbDefaultDecoderMode = PlaceModeChoice(this, 160, 12, 328);

    SkinPanelFileList = PlacePanel(this, 12, 44, 476, 240);
    spSkinScrollBarV = PlaceSkinned<TspSkinScrollBar>(SkinPanelFileList, 455, 2, 19, 217);
    spSkinScrollBarV->SetSkinData(MainSkinData());
    spSkinScrollBarV->SetKind(sbVertical);
    spSkinScrollBarV->SetSkinDataName("vscrollbar");
    spSkinScrollBarV->SetAlign(alRight);
    spSkinScrollBarV->SetVisible(false);
    spSkinScrollBarH = PlaceSkinned<TspSkinScrollBar>(SkinPanelFileList, 2, 219, 472, 19);
    spSkinScrollBarH->SetSkinData(MainSkinData());
    spSkinScrollBarH->SetSkinDataName("hscrollbar");
    spSkinScrollBarH->SetAlign(alBottom);
    lvMapList = PlaceSkinned<TspSkinListView>(SkinPanelFileList, 2, 2, 472, 217);
    lvMapList->SetAlign(alClient);
    lvMapList->SetHeaderSkinDataName("HeadButton");
    lvMapList->SetViewStyle(vsReport);
    lvMapList->SetOwnerData(true);
    lvMapList->SetOwnerDraw(true);
    lvMapList->SetReadOnly(true);
    lvMapList->SetRowSelect(true);
    lvMapList->SetGridLines(true);
    lvMapList->SetHScrollBar(spSkinScrollBarH);
    lvMapList->SetVScrollBar(spSkinScrollBarV);
    const std::pair<const char*, int> columns[] = { { "Extension Name", 100 }, { "Decoder Mode", 200 }, { "Note", 120 } };
    for (const auto& [caption, width] : columns) {
        TListColumn* column = lvMapList->Columns()->Add();
        column->SetCaption(caption);
        column->SetWidth(width);
    }
    lvMapList->OnData = [this](TObject* sender, TListItem* item) { lvMapListData(sender, item); };
    lvMapList->OnSelectItem = [this](TObject* sender, TListItem* item, bool selected) {
        lvMapListSelectItem(sender, item, selected);
    };
    lvMapList->OnDrawItem = [this](TCustomListView* sender, TListItem* item, TRect rect, TListDrawState state) {
        lvMapListDrawItem(sender, item, rect, state);
    };

    btnAdd = PlaceSkinned<TspSkinButton>(this, 228, 294, 80, 25);
    btnAdd->SetCaption("Add");
    btnAdd->OnClick = [this](TObject* sender) { btnAddClick(sender); };
    btnDelete = PlaceSkinned<TspSkinButton>(this, 318, 294, 80, 25);
    btnDelete->SetCaption("Remove");
    btnDelete->OnClick = [this](TObject* sender) { btnDeleteClick(sender); };
    btnSave = PlaceSkinned<TspSkinButton>(this, 408, 294, 80, 25);
    btnSave->SetCaption("Modify");
    btnSave->OnClick = [this](TObject* sender) { btnSaveClick(sender); };

    PlaceLabel(this, 12, 336, "Extension Name");
    edtExt = PlaceSkinned<TspSkinEdit>(this, 160, 332, 328, 21);
    PlaceLabel(this, 12, 366, "Decoding Mode:");
    cbDecoderMode = PlaceModeChoice(this, 160, 362, 328);
    PlaceLabel(this, 12, 396, "Note:");
    edtNote = PlaceSkinned<TspSkinEdit>(this, 160, 392, 328, 21);

    PlaceLabel(this, 12, 436, "Multi-Audio / Video Streams:");
    cbFirstStream = PlaceSkinned<TspSkinCheckRadioBox>(this, 200, 432, 130, 21);
    cbSelectByUser = PlaceSkinned<TspSkinCheckRadioBox>(this, 340, 432, 148, 21);
    for (TspSkinCheckRadioBox* radio : { cbFirstStream, cbSelectByUser }) {
        radio->SetSkinDataName("radiobox");
        radio->SetRadio(true);
        radio->SetGroupIndex(1);
    }
    cbFirstStream->SetCaption("First Stream");
    cbSelectByUser->SetCaption("Select By User");

    btnOK = PlaceSkinned<TspSkinButton>(this, 318, 490, 80, 25);
    btnOK->SetCaption("OK");
    btnOK->SetModalResult(mrOk);
    btnOK->OnClick = [this](TObject* sender) { btnOKClick(sender); };
    btnCancel = PlaceSkinned<TspSkinButton>(this, 408, 490, 80, 25);
    btnCancel->SetCaption("Cancel");
    btnCancel->SetModalResult(mrCancel);
    // The edits hand Escape to the form as a dialog key, which only a cancel button answers.
    btnCancel->SetCancel(true);
    OnKeyDown = [this](TObject* sender, uint16_t& key, TShiftState shift) { FormKeyDown(sender, key, shift); };

    // The window's own copy of the program's table.
    if (GlobalDecoderModeMap)
        EditedModes = *GlobalDecoderModeMap;
    cbDefaultDecoderMode->SetItemIndex(EditedModes.GetDefaultMode());
    lvMapList->HandleNeeded();
    lvMapList->Items()->SetCount(EditedModes.Count());
    if (EditedModes.Count() > 0) {
        // The first entry shown in the edits, as its selection would.
        lvMapList->SetItemIndex(0);
        EditedModes.GetItem(0, CurrentItem);
        RefreshItemList();
    }
    if (TLastSettings().MultiStreamsMethod() == 0)
        cbFirstStream->SetChecked(true);
    else
        cbSelectByUser->SetChecked(true);
}

std::string TOptionForm::NormalizedExtension(std::string_view typed)
{
    std::string extension = LowerCase(Trim(typed));
    extension.erase(0, extension.find_first_not_of('.'));
    return extension.empty() ? std::string() : "." + extension;
}

void TOptionForm::lvMapListData(TObject*, TListItem* item)
{
    TDecoderModeMapItem entry;
    if (!EditedModes.GetItem(item->Index(), entry))
        return;
    item->SetCaption(entry.Extension);
    item->SubItems()->Add(DecoderModeText(entry.DecoderMode));
    item->SubItems()->Add(entry.Note);
}

void TOptionForm::lvMapListSelectItem(TObject*, TListItem* item, bool selected)
{
    if (!selected || !item || !EditedModes.GetItem(item->Index(), CurrentItem))
        return;
    AddingItem = false;
    RefreshItemList();
}

void TOptionForm::lvMapListDrawItem(TCustomListView* sender, TListItem* item, TRect rect, TListDrawState state)
{
    TCanvas* canvas = sender->Canvas();
    const int listWidth = sender->Width();
    if (state.Contains(ldsSelected) || state.Contains(ldsFocused)) {
        canvas->Brush()->SetColor(kSelectedRowColor);
        canvas->FillRect(TRect { rect.Left + 1, rect.Top, listWidth - 1, rect.Bottom });
        canvas->Font()->SetColor(clWhite);
    } else {
        canvas->Brush()->SetColor(sender->Color());
        canvas->FillRect(rect);
        canvas->Font()->SetColor(clBlack);
    }
    canvas->Brush()->SetStyle(bsClear);
    TListColumns* columns = sender->Columns();
    DrawCell(canvas, item->Caption(), rect.Left + 4, rect.Left + columns->Items(0)->Width(), rect);
    int left = rect.Left + 4;
    for (int i = 0; i < item->SubItems()->Count() && i + 1 < columns->Count(); ++i) {
        left += columns->Items(i)->Width();
        const int right = std::min(left + columns->Items(i + 1)->Width(), listWidth - 2);
        DrawCell(canvas, item->SubItems()->Strings(i), left, right, rect);
    }
}

void TOptionForm::RefreshItemList()
{
    lvMapList->Items()->SetCount(EditedModes.Count());
    lvMapList->Invalidate();
    edtExt->SetText(CurrentItem.Extension);
    edtNote->SetText(CurrentItem.Note);
    cbDecoderMode->SetItemIndex(CurrentItem.DecoderMode);
}

void TOptionForm::btnAddClick(TObject*)
{
    CurrentItem = TDecoderModeMapItem { ".Ext", "", dmBuiltInThenDirectShow };
    AddingItem = true;
    RefreshItemList();
}

void TOptionForm::btnSaveClick(TObject*)
{
    // The probe looks extensions up in lower case with their dot: store them so, or the entry never applies.
    const std::string extension = NormalizedExtension(edtExt->Text());
    if (extension.empty()) {
        ShowMessageBox("Please enter an extension name, such as .avi.", std::string(ApplicationTitle), 64);
        return;
    }
    if (!AddingItem && lvMapList->ItemIndex() >= 0)
        EditedModes.Remove(CurrentItem.Extension);
    const int mode = cbDecoderMode->ItemIndex();
    CurrentItem.DecoderMode = static_cast<DecoderMode>(mode >= 0 && mode < kModeCount ? mode : 0);
    CurrentItem.Extension = extension;
    CurrentItem.Note = edtNote->Text();
    EditedModes.SetItem(CurrentItem);
    RefreshItemList();
    AddingItem = false;
    // The highlighted row is the entry the edits show, so Remove and Modify act on what the user sees.
    for (int i = 0; i < EditedModes.Count(); ++i) {
        TDecoderModeMapItem entry;
        if (EditedModes.GetItem(i, entry) && entry.Extension == CurrentItem.Extension) {
            lvMapList->SetItemIndex(i);
            break;
        }
    }
}

void TOptionForm::btnDeleteClick(TObject*)
{
    if (!AddingItem && lvMapList->ItemIndex() >= 0)
        EditedModes.Remove(CurrentItem.Extension);
    AddingItem = false;
    RefreshItemList();
}

void TOptionForm::btnOKClick(TObject*)
{
    const int mode = cbDefaultDecoderMode->ItemIndex();
    EditedModes.SetDefaultMode(static_cast<DecoderMode>(mode >= 0 && mode < kModeCount ? mode : 0));
    const std::string path = ProgramFolder() + "DecoderMode.cfg";
    if (!EditedModes.SaveToFile(path)) {
        ShowMessageBox("Unable to write to " + path, std::string(ApplicationTitle), 16);
        SetModalResult(mrNone);
        return;
    }
    // Every later probe uses the table just written.
    if (GlobalDecoderModeMap)
        GlobalDecoderModeMap->LoadFromFile(path);
    try {
        TLastSettings settings;
        settings.SetMultiStreamsMethod(cbFirstStream->Checked() ? 0 : 1);
        settings.Save();
    } catch (const Exception& error) {
        ShowMessageBox(error.Message(), std::string(ApplicationTitle), 16);
        SetModalResult(mrNone);
    }
}

void TOptionForm::FormKeyDown(TObject*, uint16_t& key, TShiftState)
{
    if (key == 27)
        SetModalResult(mrCancel);
}

// TAdvanceForm: the window's components, their places and properties, and the events they are bound to.
#include "app/AppDialog.h"
#include "app/TAdvanceForm.h"
#include "framed/FrEdit.h"
#include "framed/FrPanel.h"
#include "framed/FrSplit.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/TTimer.h"
#include "framework/dialogs/Dialogs.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TPicture.h"
#include "imaging/TImage32.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinNotebook.h"
#include "skin/controls/SkinSpinEdit.h"
#include "skin/controls/SkinTrackBars.h"
#include "skin/dialogs/TspSkinPageControl.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/lists/TspSkinComboBox.h"

#include <array>

namespace {

TFrPanel* NewFrPanel(TComponent* owner, TWinControl* parent, TAlign align, int size, TColor colour)
{
    auto* panel = new TFrPanel(owner);
    panel->SetParent(parent);
    panel->SetAlign(align);
    if (align == alTop || align == alBottom)
        panel->SetHeight(size);
    else if (align == alLeft || align == alRight)
        panel->SetWidth(size);
    panel->SetColor(colour);
    return panel;
}

// A trim marker: a small triangle pointing up at its time on the track, drawn here so that it needs no picture
// file.
TImage* NewTrimMarker(TComponent* owner, TWinControl* parent, TColor colour)
{
    auto* marker = new TImage(owner);
    marker->SetParent(parent);
    marker->SetBounds(0, 30, 9, 9);
    TBitmap* bitmap = marker->Picture()->Bitmap();
    bitmap->SetSize(9, 9);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(RGB(224, 224, 224));
    canvas->FillRect(TRect { 0, 0, 9, 9 });
    canvas->Brush()->SetColor(colour);
    canvas->Pen()->SetColor(clBlack);
    const std::array<TPoint, 3> triangle { TPoint { 4, 0 }, TPoint { 8, 8 }, TPoint { 0, 8 } };
    canvas->Polygon(triangle);
    marker->SetCursor(crHandPoint);
    marker->SetShowHint(true);
    return marker;
}

TspSkinSpinEdit* CropEdit(TWinControl* parent, int x, int y)
{
    auto* edit = PlaceSkinned<TspSkinSpinEdit>(parent, x, y, 60, 21);
    edit->SetValueType(vtInteger);
    edit->SetMinValue(0);
    edit->SetMaxValue(10000);
    edit->SetIncrement(1);
    return edit;
}

} // namespace

void TAdvanceForm::CreateComponents()
{
    SetCaption("Advance Settings");
    SetClientWidth(752);
    SetClientHeight(543);
    Constraints()->SetMinWidth(620);
    Constraints()->SetMinHeight(570);
    SetKeyPreview(true);
    SetPosition(poDesktopCenter);
    FormSkinner = new TspSkinForm(this);
    FormSkinner->SetSkinData(DialogSkin());
    FormSkinner->SetSupportNCArea(true);
    FormSkinner->MinWidth = 705;
    FormSkinner->MinHeight = 690;
    FormSkinner->Sizeable = true;

    BtnPanel = NewFrPanel(this, this, alBottom, 52, clBtnFace);
    btnOk = PlaceSkinned<TspSkinButton>(BtnPanel, 0, 12, 85, 27);
    btnOk->SetCaption("OK");
    btnOk->SetDefault(true);
    btnCancel = PlaceSkinned<TspSkinButton>(BtnPanel, 0, 12, 85, 27);
    btnCancel->SetCaption("Cancel");
    btnCancel->SetModalResult(mrCancel);
    btnCancel->SetCancel(true);
    // The buttons keep to the panel's right edge as the window is sized.
    btnOk->SetAnchors({ akRight, akTop });
    btnCancel->SetAnchors({ akRight, akTop });
    btnOk->SetLeft(BtnPanel->Width() - 190);
    btnCancel->SetLeft(BtnPanel->Width() - 95);

    PageControl = PlaceSkinned<TspSkinPageControl>(this, 0, 0, 752, 491);
    PageControl->SetAlign(alClient);
    const auto newSheet = [this](const char* caption) {
        auto* sheet = new TspSkinTabSheet(this);
        sheet->SetPageControl(PageControl);
        sheet->SetCaption(caption);
        return sheet;
    };
    tbVisualAdjust = newSheet("Edit");
    tsOutputSettings = newSheet("Output Settings");
    tbDetail = newSheet("Detail");
    PageControl->SetActivePage(tbVisualAdjust);

    CreateEditPage();
    CreateOutputPages();

    PreviewTimer = new TTimer(this);
    PreviewTimer->SetEnabled(false);
    PreviewTimer->SetInterval(200);

    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    OnDestroy = [this](TObject* sender) { FormDestroy(sender); };
    OnResize = [this](TObject* sender) { FormResize(sender); };
    OnKeyPress = [this](TObject* sender, char32_t& key) { FormKeyPress(sender, key); };
    PageControl->OnChange = [this](TObject* sender) { PageControlChange(sender); };
    PreviewTimer->SetOnTimer([this](TObject* sender) { PreviewTimerTimer(sender); });
    btnOk->OnClick = [this](TObject* sender) { btnOkClick(sender); };
}

void TAdvanceForm::CreateEditPage()
{
    FrPanel6 = NewFrPanel(this, tbVisualAdjust, alTop, 33, clBtnFace);
    PlaceLabel(FrPanel6, 8, 9, "Preview Mode:");
    chkSourceMovie = PlaceSkinned<TspSkinCheckRadioBox>(FrPanel6, 100, 6, 110, 21);
    chkOutputMovie = PlaceSkinned<TspSkinCheckRadioBox>(FrPanel6, 215, 6, 110, 21);
    for (TspSkinCheckRadioBox* radio : { chkSourceMovie, chkOutputMovie }) {
        radio->SetSkinDataName("radiobox");
        radio->SetRadio(true);
        radio->SetGroupIndex(1);
    }
    chkSourceMovie->SetCaption("Source Movie");
    chkOutputMovie->SetCaption("Output Movie");
    chkSourceMovie->SetChecked(true);

    FrSizePanel1 = new TFrSizePanel(this);
    FrSizePanel1->SetParent(tbVisualAdjust);
    FrSizePanel1->SetAlign(alRight);
    FrSizePanel1->SetWidth(210);
    FrSizePanel1->SetSizeBarWidth(7);
    FrSizePanel1->SetHotSpotVisible(true);
    FrSizePanel1->SetHotSpotSizePercent(10);
    FrSizePanel1->SetLockBar(true);
    spSkinNotebook = PlaceSkinned<TspSkinNotebook>(FrSizePanel1, 0, 0, 203, 400);
    spSkinNotebook->SetAlign(alClient);
    spSkinNotebook->SetButtonSkinDataName("resizebutton");
    spSkinNotebook->SetButtonsMode(true);
    // The notebook comes with one page, which becomes the first of ours.
    spSkinNotebook->Pages()->SetStrings(0, "Cropping && Aspect Ratio");
    spSkinNotebook->Pages()->Add("Mulit-AV Streams Option");
    spSkinNotebook->SetPageIndex(0);
    // A page is shown before its buttons are arranged around it, which moves it: its controls are painted again
    // in their final place.
    spSkinNotebook->OnPageChanged = [this](TObject*) {
        TWinControl* page = spSkinNotebook->Page(spSkinNotebook->PageIndex());
        RedrawWindow(page->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    };
    CreateCropPage();

    FrPanel1 = NewFrPanel(this, tbVisualAdjust, alBottom, 54, RGB(234, 234, 234));
    TrackBarPanel = NewFrPanel(this, tbVisualAdjust, alBottom, 56, RGB(224, 224, 224));
    CreateTrackBarPanel();

    FrPanel = NewFrPanel(this, tbVisualAdjust, alClient, 0, RGB(188, 188, 188));
    FrPanel->SetBorderOuter(fsLowered);
    PreviewImage = new TImage32(this);
    PreviewImage->SetParent(FrPanel);
    PreviewImage->SetAlign(alClient);
    PreviewImage->SetBitmapAlign(baTopLeft);
    PreviewImage->SetScale(1);
    PreviewImage->SetScaleMode(smNormal);
    PreviewImage->SetColor(RGB(60, 60, 60));

    chkSourceMovie->OnClick = [this](TObject* sender) { chkSourceMovieClick(sender); };
    chkOutputMovie->OnClick = [this](TObject* sender) { chkSourceMovieClick(sender); };
    PreviewImage->OnResize = [this](TObject* sender) { PreviewImageResize(sender); };
    PreviewImage->OnMouseDown = [this](TObject* sender, TMouseButton button, TShiftState shift, int x, int y,
                                    TCustomLayer* layer) { PreviewImageMouseDown(sender, button, shift, x, y, layer); };
    PreviewImage->OnMouseMove = [this](TObject* sender, TShiftState shift, int x, int y, TCustomLayer* layer) {
        PreviewImageMouseMove(sender, shift, x, y, layer);
    };
    PreviewImage->OnMouseUp = [this](TObject* sender, TMouseButton button, TShiftState shift, int x, int y,
                                  TCustomLayer* layer) { PreviewImageMouseUp(sender, button, shift, x, y, layer); };
}

void TAdvanceForm::CreateCropPage()
{
    TWinControl* page = spSkinNotebook->Page(0);
    const char* const captions[] = { "Left", "Right", "Top", "Bottom" };
    TspSkinSpinEdit** edits[] = { &edtCropLeft, &edtCropRight, &edtCropTop, &edtCropBottom };
    for (int i = 0; i < 4; ++i) {
        const int x = 10 + (i % 2) * 95;
        const int y = 10 + (i / 2) * 50;
        PlaceLabel(page, x, y, captions[i]);
        *edits[i] = CropEdit(page, x, y + 18);
        (*edits[i])->OnChange = [this](TObject* sender) { edtCropLeftChange(sender); };
    }
    btnAutoCrop = PlaceSkinned<TspSkinButton>(page, 10, 112, 85, 25);
    btnAutoCrop->SetCaption("Auto Crop");
    btnAutoCrop->OnClick = [this](TObject* sender) { btnAutoCropClick(sender); };
    btnReset = PlaceSkinned<TspSkinButton>(page, 105, 112, 85, 25);
    btnReset->SetCaption("Reset Crop");
    btnReset->OnClick = [this](TObject* sender) { btnResetClick(sender); };

    chkFixAspectRatio = PlaceSkinned<TspSkinCheckRadioBox>(page, 10, 150, 180, 21);
    chkFixAspectRatio->SetCaption("Fix Aspect Ratio");
    chkSpecifyAspectRatio = PlaceSkinned<TspSkinCheckRadioBox>(page, 10, 176, 180, 21);
    chkSpecifyAspectRatio->SetCaption("Set Aspect Ratio");
    PlaceLabel(page, 10, 208, "AR:");
    cbAspectRatio = PlaceSkinned<TspSkinComboBox>(page, 40, 204, 150, 21);
    cbAspectRatio->SetStyle(spcbEditStyle);
    for (const char* item : { "Auto", "4:3", "5:4", "16:9", "185:100", "235:100" })
        cbAspectRatio->Items()->Add(item);
    cbAspectRatio->SetHint("Set aspect ratio (4:3, 16:9 or 1.3333, 1.7777).");
    cbAspectRatio->SetShowHint(true);
    PlaceLabel(page, 10, 236, "Note:");
    auto* note = PlaceLabel(page, 10, 236,
        "           Set Aspect Ratio with custom\nsize in the above field, The symbols\nmust be 4:3, 16:9 or 1.3333, "
        "1.7777.",
        185);
    note->SetAutoSize(false);
    note->SetHeight(48);
    chkFixAspectRatio->OnClick = [this](TObject* sender) { chkFixAspectRatioClick(sender); };
    chkSpecifyAspectRatio->OnClick = [this](TObject* sender) { chkSpecifyAspectRatioClick(sender); };

    TWinControl* streams = spSkinNotebook->Page(1);
    PlaceLabel(streams, 10, 10, "Video Streams:");
    cbVideoStream = PlaceSkinned<TspSkinComboBox>(streams, 10, 28, 185, 21);
    PlaceLabel(streams, 10, 60, "Audio Streams:");
    cbAudioStream = PlaceSkinned<TspSkinComboBox>(streams, 10, 78, 185, 21);
    for (TspSkinComboBox* list : { cbVideoStream, cbAudioStream }) {
        list->SetStyle(spcbFixedStyle);
        list->SetListBoxWidth(400);
    }
}

void TAdvanceForm::CreateTrackBarPanel()
{
    btnPlayPause = PlaceSkinned<TspSkinButton>(TrackBarPanel, 6, 4, 47, 29);
    btnPlayPause->SetCaption("Play");
    btnPlayPause->OnClick = [this](TObject* sender) { btnPlayPauseClick(sender); };
    tbPreview = PlaceSkinned<TspSkinTrackBar>(TrackBarPanel, 60, 6, TrackBarPanel->Width() - 75, 22);
    tbPreview->SetSkinDataName("htrackbar");
    tbPreview->SetJumpWhenClick(true);
    tbPreview->SetMinValue(0);
    tbPreview->SetMaxValue(100);
    tbPreview->OnChange = [this](TObject* sender) { tbPreviewChange(sender); };

    StartEndTimeShape = new TShape(this);
    StartEndTimeShape->SetParent(TrackBarPanel);
    StartEndTimeShape->SetBounds(TrackLeft, 40, 10, 5);
    StartEndTimeShape->Brush()->SetColor(clLime);
    StartEndTimeShape->Pen()->SetColor(clGray);
    StartEndTimeShape->SetShowHint(true);
    imgStartTime = NewTrimMarker(this, TrackBarPanel, clLime);
    imgEndTime = NewTrimMarker(this, TrackBarPanel, clRed);
    for (TImage* marker : { imgStartTime, imgEndTime }) {
        marker->OnMouseDown = [this](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
            imgStartTimeMouseDown(sender, button, shift, x, y);
        };
        marker->OnMouseUp = [this](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
            imgStartTimeMouseUp(sender, button, shift, x, y);
        };
    }
    imgStartTime->OnMouseMove
        = [this](TObject* sender, TShiftState shift, int x, int y) { imgStartTimeMouseMove(sender, shift, x, y); };
    imgEndTime->OnMouseMove
        = [this](TObject* sender, TShiftState shift, int x, int y) { imgEndTimeMouseMove(sender, shift, x, y); };
    TrackBarPanel->OnResize = [this](TObject* sender) { TrackBarPanelResize(sender); };

    // The time labels, in two rows of two.
    const char* const captions[] = { "Start Time:", "End Time:", "Clip Length:", "Current Time:" };
    TspSkinStdLabel** values[] = { &lblStartTime, &lblEndTime, &lblClipLenght, &lblCurrentTime };
    for (int i = 0; i < 4; ++i) {
        const int x = 10 + (i % 2) * 200;
        const int y = 8 + (i / 2) * 20;
        PlaceLabel(FrPanel1, x, y, captions[i], 85);
        *values[i] = PlaceLabel(FrPanel1, x + 90, y, FormatTime(0), 90);
    }
}

void TAdvanceForm::CreateOutputPages()
{
    FrPanel2 = NewFrPanel(this, tsOutputSettings, alBottom, 40, clBtnFace);
    PlaceLabel(FrPanel2, 10, 12, "Output File:");
    edtName = PlaceSkinned<TspSkinEdit>(FrPanel2, 90, 9, 500, 21);
    btnBrowse = PlaceSkinned<TspSkinButton>(FrPanel2, 600, 7, 85, 25);
    btnBrowse->SetCaption("Browse");
    btnBrowse->OnClick = [this](TObject* sender) { btnBrowseClick(sender); };
    SaveDialog = new TSaveDialog(this);
    tsOutputSettings->OnResize = [this](TObject* sender) { tsOutputSettingsResize(sender); };

    DetailMemo = new TFrMemo(this);
    DetailMemo->SetParent(tbDetail);
    DetailMemo->SetAlign(alClient);
    DetailMemo->SetReadOnly(true);
    DetailMemo->SetScrollBars(ssVertical);
    DetailMemo->SetFrameStyle(fsLowered);
}

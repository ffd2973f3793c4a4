// TMainForm: the window's components, their places on the main skin's face and their properties, the actions with
// their captions and shortcuts, the three popup menus, and the events they are bound to.
#include "app/AppPictures.h"
#include "app/JobListView.h"
#include "app/ProfileFormatTables.h"
#include "app/TMainForm.h"
#include "app/TResourceSkinData.h"
#include "framed/FrLabel.h"
#include "framed/FrPanel.h"
#include "framework/controls/ActnList.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/ImgList.h"
#include "framework/controls/Menus.h"
#include "framework/controls/TTimer.h"
#include "framework/dialogs/Dialogs.h"
#include "framework/core/Exception.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "imaging/TPNGObject.h"
#include "engine/AppServices.h"
#include "imaging/TBitmap32.h"
#include "imaging/TImage32.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinGauges.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/controls/SkinTrackBars.h"
#include "skin/dialogs/TspPNGImageList.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/lists/SkinListViews.h"
#include "skin/lists/TspSkinComboBoxEx.h"
#include "skin/menus/TspSkinHint.h"
#include "skin/menus/TspSkinPopupMenu.h"

#include <cstdio>

using namespace ProfileFormatTables;

namespace {

// The face's size; the skin's picture gives the window the same.
constexpr int kFaceWidth = 785;
constexpr int kFaceHeight = 521;
// The progress panel's colour and the hint line's.
constexpr TColor kConvertInfoColor = 14737632;
constexpr TColor kHintMessageColor = 4802889;
constexpr TColor kPreviewImageColor = 5592405;

template <class T> T* Place(TMainForm* form, TWinControl* parent, int x, int y, int width, int height)
{
    auto* control = new T(form);
    control->SetBounds(x, y, width, height);
    control->SetParent(parent);
    return control;
}

TShortCut Key(uint16_t key, TShiftState shift = {})
{
    return ShortCut(key, shift);
}

TMenuItem* NewItem(TComponent* owner, TMenuItem* parent, TAction* action, const char* caption = nullptr)
{
    auto* item = new TMenuItem(owner);
    if (action)
        item->SetAction(action);
    if (caption)
        item->SetCaption(caption);
    parent->Add(item);
    return item;
}

void NewSeparator(TComponent* owner, TMenuItem* parent)
{
    auto* item = new TMenuItem(owner);
    item->SetCaption(cLineCaption);
    parent->Add(item);
}

} // namespace

void TMainForm::CreateComponents()
{
    SetCaption(std::string(ApplicationTitle));
    SetBorderStyle(bsNone);
    SetBorderIcons({});
    SetClientWidth(kFaceWidth);
    SetClientHeight(kFaceHeight);
    SetPosition(poDesktopCenter);
    SetScaled(false);

    // The whole face is the main skin's picture, its buttons the skin's objects.
    spSkinHint = new TspSkinHint(this);
    FormSkinner = new TspSkinForm(this);
    FormSkinner->SetSupportNCArea(false);
    FormSkinner->DraggAble = true;
    FormSkinner->SetBorderIcons({ TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize });
    FormSkinner->ShowObjectHint = true;
    FormSkinner->SetSkinHint(spSkinHint);

    CreateActions();
    CreateListArea();
    CreatePreviewArea();
    CreateProgressPanel();
    CreateMenus();

    OpenDialog = new TOpenDialog(this);
    OpenDialog->SetTitle("Add Video Files");
    OpenDialog->SetOptions({ ofHideReadOnly, ofAllowMultiSelect, ofExtensionDifferent, ofEnableSizing });
    OpenDialog->SetFilter(
        "All Supported Video Files|*.avi;*.wmv;*.asf;*.mpg;*.mpeg;*.mov;*.qt;*.vob;*.rmvb;*.rm;*.mp4;*.mkv;*.ogm;*.flv"
        "|AVI Files(*.avi)|*.avi|Windows Media Files(*.wmv, *.asf)|*.wmv;*.asf"
        "|MPEG1/2 Files(*.mpg, *.mpeg)|*.mpg;*.mpeg|Quick Time Files(*.mov, *.qt)|*.mov;*.qt"
        "|DVD Files(*.vob)|*.vob|VCD Files(*.dat)|*.dat|Real Video(*.rmvb, *.rm)|*.rmvb;*.rm"
        "|MPEG4 Files(*.mp4)|*.mp4|Matroska Files(*.mkv)|*.mkv|OGM Files(*.ogm)|*.ogm"
        "|Flash Video Files(*.flv)|*.flv|All Files(*.*)|*.*");
    OpenDialog->SetFilterIndex(1);

    ConvertInfoTimer = new TTimer(this);
    ConvertInfoTimer->SetEnabled(false);
    ConvertInfoTimer->SetInterval(1000);
    PreviewTimer = new TTimer(this);
    PreviewTimer->SetEnabled(false);
    PreviewTimer->SetInterval(200);
    DisplayTimer = new TTimer(this);
    DisplayTimer->SetEnabled(false);
    DisplayTimer->SetInterval(10);

    // The skin last: its areas place the controls made above.
    FormSkinner->OnChangeSkinData = [this](TObject* sender) { FormSkinnerChangeSkinData(sender); };
    FormSkinner->OnMouseUpEvent = [this](const std::string& idName, int x, int y, const TRect& rect,
                                      TMouseButton button) { FormSkinnerMouseUpEvent(idName, x, y, rect, button); };
    FormSkinner->SetSkinData(MainSkinData());
}

void TMainForm::CreateActions()
{
    ActionList = new TActionList(this);
    struct TActionSpec {
        TAction** Field;
        const char* Caption;
        TShortCut ShortCut;
        void (TMainForm::*Handler)(TObject*);
    };
    const TShiftState ctrl { ssCtrl };
    const TShiftState alt { ssAlt };
    const TActionSpec specs[] = {
        { &actHelp, "&Help Topics", Key(VK_F1), &TMainForm::actHelpExecute },
        { &actWeb, "", scNone, &TMainForm::actWebExecute },
        { &actSupport, "Technical Support...", scNone, &TMainForm::actSupportExecute },
        { &actAbout, "", scNone, &TMainForm::actAboutExecute },
        { &actAddFiles, "", Key('A', alt), &TMainForm::actAddFilesExecute },
        { &actAddFolder, "", Key('F', ctrl), &TMainForm::actAddFolderExecute },
        { &actClearTasks, "Clear Tasks", Key(VK_DELETE, ctrl), &TMainForm::actClearTasksExecute },
        { &actBrowse, "", Key('B', ctrl), &TMainForm::actBrowseExecute },
        { &actSetting, "actSetting", Key('S', ctrl), &TMainForm::actSettingExecute },
        { &actDelete, "Remove Selected Tasks", Key(VK_DELETE), &TMainForm::actDeleteExecute },
        { &actSetStartTime, "", Key('B', alt), &TMainForm::actSetStartTimeExecute },
        { &actSetEndTime, "actSetEndTime", Key('E', alt), &TMainForm::actSetEndTimeExecute },
        { &actUp, "", Key(VK_UP, ctrl), &TMainForm::actUpExecute },
        { &actDown, "", Key(VK_DOWN, ctrl), &TMainForm::actDownExecute },
        { &actAdvance, "actDetailInput", scNone, &TMainForm::actAdvanceExecute },
        { &actGo, "Start Convert", Key(VK_F9), &TMainForm::actGoExecute },
        { &actStop, "Stop Convert", Key(VK_F10), &TMainForm::actStopExecute },
        { &actSelectAll, "Select All", Key('A', ctrl), &TMainForm::actSelectAllExecute },
        { &actEditTitleInfo, "Edit Title Info", Key('T', ctrl), &TMainForm::actEditTitleInfoExecute },
        { &actEditProfile, "actEditProfile", scNone, &TMainForm::actEditProfileExecute },
        { &actPreview, "", Key(VK_F5), &TMainForm::actPreviewExecute },
        { &actPausePreview, "Pause Preview", Key(VK_F6), &TMainForm::actPausePreviewExecute },
        { &actStopPreview, "Stop Preview", Key(VK_F7), &TMainForm::actStopPreviewExecute },
        { &actDirectShowMode, "DirectShow Decoder", scNone, &TMainForm::actDirectShowModeExecute },
        { &actBuiltInDecoderMode, "Built-in Decoder", scNone, &TMainForm::actBuiltInDecoderModeExecute },
        { &actAllProfile, "\xE6\xB5\x8B\xE8\xAF\x95\xE6\x89\x80\xE6\x9C\x89Profiles", Key('A', { ssCtrl, ssAlt }),
            &TMainForm::actAllProfileExecute },
        { &actOption, "Option", scNone, &TMainForm::actOptionExecute },
    };
    for (const TActionSpec& spec : specs) {
        auto* action = new TAction(this);
        action->SetActionList(ActionList);
        action->SetCaption(spec.Caption);
        action->SetShortCut(spec.ShortCut);
        // The commands of the list's context menu that belong to no button.
        const bool popMenu = spec.Field == &actHelp || spec.Field == &actWeb || spec.Field == &actSupport
            || spec.Field == &actAbout;
        action->SetCategory(popMenu ? "PopMenu" : "Buttons");
        action->OnExecute = [this, handler = spec.Handler](TObject* sender) { (this->*handler)(sender); };
        *spec.Field = action;
    }
    const std::string title(ApplicationTitle);
    actWeb->SetCaption(title + " On The Web");
    actAbout->SetCaption("About " + title);
}

void TMainForm::CreateMenus()
{
    FileListPopupMenu = new TspSkinPopupMenu(this);
    TMenuItem* items = FileListPopupMenu->Items();
    TMenuItem* addFiles = NewItem(this, items, actAddFiles, "Add Video Files");
    addFiles->SetDefault(true);
    addFiles->SetShortCut(Key(VK_F2));
    NewItem(this, items, actAddFolder, "Add Folder")->SetShortCut(Key(VK_F3));
    NewSeparator(this, items);
    NewItem(this, items, actGo);
    NewItem(this, items, actStop);
    NewSeparator(this, items);
    NewItem(this, items, actSelectAll);
    NewItem(this, items, actClearTasks);
    NewItem(this, items, actDelete);
    NewSeparator(this, items);
    NewItem(this, items, actSetting, "Setting");
    NewSeparator(this, items);
    NewItem(this, items, actPreview, "Preview");
    NewItem(this, items, actPausePreview);
    NewItem(this, items, actStopPreview);
    NewSeparator(this, items);
    mnuDecoderMode = NewItem(this, items, nullptr, "Decoding Mode...");
    NewItem(this, mnuDecoderMode, actDirectShowMode);
    NewItem(this, mnuDecoderMode, actBuiltInDecoderMode);
    NewSeparator(this, items);
    NewItem(this, items, actEditTitleInfo, "Edit Metadata");

    HelpPopupMenu = new TspSkinPopupMenu(this);
    items = HelpPopupMenu->Items();
    NewItem(this, items, actHelp);
    NewSeparator(this, items);
    NewItem(this, items, actWeb);
    NewItem(this, items, actSupport, "Technical Support...");
    NewSeparator(this, items);
    NewItem(this, items, actAbout);

    iPodMenuPopupMenu = new TspSkinPopupMenu(this);
    items = iPodMenuPopupMenu->Items();
    NewItem(this, items, actPreview, "Preview / Stop");
    NewItem(this, items, actSetStartTime, "Set Start Time");
    NewItem(this, items, actSetEndTime, "Set End Time");
    NewItem(this, items, actAdvance, "Accurate Settings");
    NewItem(this, items, actEditTitleInfo);

    for (TspSkinPopupMenu* menu : { FileListPopupMenu, HelpPopupMenu, iPodMenuPopupMenu })
        menu->SetSkinData(MainSkinData());
    lvFileList->SetPopupMenu(FileListPopupMenu);
}

void TMainForm::CreateListArea()
{
    // The panel sits in the skin's "FileList" area; the list fills it beside its two skinned bars.
    SkinPanelFileList = Place<TspSkinPanel>(this, this, 12, 96, 517, 308);
    SkinPanelFileList->SetSkinData(FormSkinData());
    SkinPanelFileList->SetAreaName("FileList");
    spSkinScrollBarV = Place<TspSkinScrollBar>(this, SkinPanelFileList, 496, 2, 19, 285);
    spSkinScrollBarV->SetSkinData(MainSkinData());
    spSkinScrollBarV->SetKind(sbVertical);
    spSkinScrollBarV->SetSkinDataName("vscrollbar");
    spSkinScrollBarV->SetAlign(alRight);
    spSkinScrollBarH = Place<TspSkinScrollBar>(this, SkinPanelFileList, 2, 287, 494, 19);
    spSkinScrollBarH->SetSkinData(MainSkinData());
    spSkinScrollBarH->SetSkinDataName("hscrollbar");
    spSkinScrollBarH->SetAlign(alBottom);

    ImageList = new TImageList(this);
    ImageList->SetWidth(16);
    ImageList->SetHeight(16);
    LoadRowIcon();
    lvFileList = Place<TspSkinListView>(this, SkinPanelFileList, 2, 2, 494, 285);
    lvFileList->SetSkinData(FormSkinData());
    lvFileList->SetAlign(alClient);
    lvFileList->SetHeaderSkinDataName("HeadButton");
    lvFileList->SetViewStyle(vsReport);
    lvFileList->SetOwnerData(true);
    lvFileList->SetOwnerDraw(true);
    lvFileList->SetMultiSelect(true);
    lvFileList->SetRowSelect(true);
    lvFileList->SetReadOnly(true);
    lvFileList->SetHideSelection(false);
    lvFileList->SetSmallImages(ImageList);
    lvFileList->SetHScrollBar(spSkinScrollBarH);
    lvFileList->SetVScrollBar(spSkinScrollBarV);
    AddJobListColumns(lvFileList);

    // Covers the list while it is empty; moved into the list under its header once the window exists.
    FileListBackgroundPanel = Place<TPanel>(this, this, 14, 98, 450, 340);
    FileListBackgroundPanel->SetColor(clWhite);
    FileListBackgroundPanel->SetBevelOuter(bvNone);
    FileListBackgroundPanel->SetAutoSize(true);
    FileListBackgroundImage = NewAppImage(this, FileListBackgroundPanel, "MainListBackground.bmp", 0, 0, 450, 340);

    edtOutputFolder = Place<TspSkinEdit>(this, this, 110, 451, 326, 24);
    edtOutputFolder->SetSkinData(FormSkinData());
    lblHintMessage = Place<TFrLabel>(this, this, 38, 487, 485, 18);
    lblHintMessage->Font()->SetStyle({ fsBold });
    lblHintMessage->Font()->SetColor(kHintMessageColor);
    lblHintMessage->SetTextStyle(tsRecessed);
    lblHintMessage->SetLightTextStyle(true);
    lblHintMessage->SetTransparent(true);
    // The line keeps its skin area: a long hint or failure report is cut at its end rather than drawn over the
    // buttons beside it.
    lblHintMessage->SetAutoSize(false);

    cbOutputProfile = Place<TspSkinComboBoxEx>(this, this, 110, 417, 226, 24);
    cbOutputProfile->SetSkinData(MainSkinData());
    cbOutputProfile->SetSkinDataName("combobox");
    cbOutputProfile->SetAreaName("OutputProfile");
    cbOutputProfile->SetListBoxWidth(600);
    cbOutputProfile->SetDropDownCount(8);
    cbOutputProfile->SetShowHint(true);
    IconImageList = new TspPNGImageList(this);
    IconImageList->SetPngWidth(16);
    IconImageList->SetPngHeight(16);
    LoadFormatIcons();
    cbOutputProfile->SetImages(IconImageList);

    // The edition pictures: the professional ones show.
    ListIconStdImage = Place<TImage>(this, this, 0, 0, 0, 0);
    ListIconProImage = Place<TImage>(this, this, 0, 0, 0, 0);
    ProfessionalImage = Place<TImage>(this, this, 0, 0, 0, 0);
}

void TMainForm::CreatePreviewArea()
{
    PreviewPanel = Place<TFrPanel>(this, this, 541, 96, 232, 174);
    PreviewPanel->SetColor(clBlack);
    PreviewPanel->SetBorderOuter(fsNone);
    PreviewPanel->SetVisible(false);
    PreviewImage = Place<TImage32>(this, PreviewPanel, 0, 0, 232, 174);
    PreviewImage->SetAlign(alClient);
    PreviewImage->SetScaleMode(smResize);
    PreviewImage->SetBitmapAlign(baCenter);
    PreviewImage->SetColor(kPreviewImageColor);
    PreviewImage->Bitmap()->SetStretchFilter(sfMitchell);

    tbPreview = Place<TspSkinTrackBar>(this, this, 541, 276, 179, 22);
    tbPreview->SetSkinData(MainSkinData());
    tbPreview->SetSkinDataName("htrackbar");
    tbPreview->SetAreaName("PreviewTrackBar");
    tbPreview->SetJumpWhenClick(true);
    tbPreview->SetMouseSupport(true);
    tbPreview->SetValue(0);

    imgStartTime = NewAppImage(this, this, "TrimStart.bmp", 541, 0, 9, 9);
    imgEndTime = NewAppImage(this, this, "TrimEnd.bmp", 711, 0, 9, 9);
    for (TImage* marker : { imgStartTime, imgEndTime }) {
        marker->SetTransparent(true);
        marker->SetShowHint(true);
        marker->SetVisible(false);
    }
    StartEndTimeShape = Place<TShape>(this, this, 541, 0, 170, 5);
    StartEndTimeShape->Brush()->SetColor(clLime);
    StartEndTimeShape->Pen()->SetColor(clGray);
    StartEndTimeShape->SetShowHint(true);
    StartEndTimeShape->SetVisible(false);
}

void TMainForm::CreateProgressPanel()
{
    // The panel covers the skin's "ConvertInfoArea" during a batch; the two boxes below it stay visible.
    ConvertInfoPanel = Place<TPanel>(this, this, 541, 342, 232, 104);
    ConvertInfoPanel->SetColor(kConvertInfoColor);
    ConvertInfoPanel->SetBevelOuter(bvNone);
    ConvertInfoPanel->SetVisible(false);
    struct TRow {
        const char* Caption;
        TspSkinStdLabel** Label;
    };
    const TRow rows[] = { { "Target File:", &lblTargetFile }, { "Total Time:", &lblTotalTime },
        { "Remain Time:", &lblRemainTime }, { "FPS:", &lblFPS } };
    int top = 3;
    for (const TRow& row : rows) {
        auto* caption = Place<TspSkinStdLabel>(this, ConvertInfoPanel, 6, top, 76, 15);
        caption->SetSkinData(FormSkinData());
        caption->SetCaption(row.Caption);
        auto* label = Place<TspSkinStdLabel>(this, ConvertInfoPanel, 84, top, 144, 15);
        label->SetSkinData(FormSkinData());
        label->SetShowHint(true);
        *row.Label = label;
        top += 15;
    }
    auto* progress = Place<TspSkinStdLabel>(this, ConvertInfoPanel, 6, top, 76, 15);
    progress->SetSkinData(FormSkinData());
    progress->SetCaption("Progress:");
    Gauge = Place<TspSkinGauge>(this, ConvertInfoPanel, 84, top, 142, 15);
    Gauge->SetSkinData(FormSkinData());
    Gauge->SetMinValue(0);
    Gauge->SetMaxValue(100);
    Gauge->SetShowPercent(true);
    Gauge->SetShowProgressText(true);

    chkPreviewMovie = Place<TspSkinCheckRadioBox>(this, this, 545, 421, 106, 20);
    chkPreviewMovie->SetSkinData(FormSkinData());
    chkPreviewMovie->SetCaption("Preview Movie");
    chkAutoShutdown = Place<TspSkinCheckRadioBox>(this, this, 652, 421, 120, 20);
    chkAutoShutdown->SetSkinData(FormSkinData());
    chkAutoShutdown->SetCaption("Auto Shutdown");
}

void TMainForm::LoadFormatIcons()
{
    IconImageList->PngImages()->Clear();
    for (VideoFormatType type : FormatIconOrder) {
        TspPngImageItem* item = IconImageList->PngImages()->Add();
        item->SetName(FormatInfo(type).PictureName);
        const std::string path = AppPicturePath(std::string("Format") + FormatInfo(type).PictureName + ".png");
        try {
            TPNGObject icon;
            icon.LoadFromFile(path);
            item->SetPngImage(&icon);
        } catch (const Exception& e) {
            std::fprintf(stderr, "Tarnwick Pro: the picture %s is not read: %s\n", path.c_str(), e.Message().c_str());
        }
    }
}

void TMainForm::LoadRowIcon()
{
    const std::string path = AppPicturePath("MainRowIcon.bmp");
    try {
        TBitmap icon;
        icon.LoadFromFile(path);
        ImageList->Add(&icon, nullptr);
    } catch (const Exception& e) {
        std::fprintf(stderr, "Tarnwick Pro: the picture %s is not read: %s\n", path.c_str(), e.Message().c_str());
    }
}

void TMainForm::BindEvents()
{
    FSelectItemHandler = [this](TObject* sender, TListItem* item, bool selected) {
        lvFileListSelectItem(sender, item, selected);
    };
    lvFileList->OnData = [this](TObject* sender, TListItem* item) { lvFileListData(sender, item); };
    lvFileList->OnDrawItem = [this](TCustomListView* sender, TListItem* item, TRect rect, TListDrawState state) {
        lvFileListDrawItem(sender, item, rect, state);
    };
    lvFileList->OnDrawHeaderSection = [](TCanvas* canvas, TListColumn* column, bool, TRect rect) {
        DrawJobListHeaderSection(canvas, column, rect);
    };
    AttachSelectItem();
    lvFileList->OnDblClick = [this](TObject* sender) { lvFileListDblClick(sender); };
    edtOutputFolder->OnChange = [this](TObject* sender) { edtOutputFolderChange(sender); };
    spSkinScrollBarH->OnMouseMove = [this](TObject* sender, TShiftState shift, int x, int y) {
        spSkinScrollBarHMouseMove(sender, shift, x, y);
    };
    cbOutputProfile->OnChange = [this](TObject* sender) { cbOutputProfileChange(sender); };
    chkPreviewMovie->OnClick = [this](TObject* sender) { chkPreviewMovieClick(sender); };
    tbPreview->OnChange = [this](TObject* sender) { tbPreviewChange(sender); };
    PreviewImage->OnResize = [this](TObject* sender) { PreviewImageResize(sender); };
    ConvertInfoTimer->SetOnTimer([this](TObject* sender) { ConvertInfoTimerTimer(sender); });
    PreviewTimer->SetOnTimer([this](TObject* sender) { PreviewTimerTimer(sender); });
    DisplayTimer->SetOnTimer([this](TObject* sender) { DisplayTimerTimer(sender); });
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
}

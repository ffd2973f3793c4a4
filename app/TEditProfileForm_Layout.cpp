// TEditProfileForm: the window's components, their places and properties, and the events they are bound to.
#include "app/ProfileFormLayout.h"
#include "app/TEditProfileForm.h"
#include "framework/controls/Menus.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinSpinEdit.h"
#include "skin/dialogs/TspSkinPageControl.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/lists/TspSkinComboBox.h"
#include "skin/menus/TspSkinPopupMenu.h"

using namespace ProfileFormatTables;
using namespace ProfileFormLayout;

namespace {

// Where the rows of a page's two group boxes go.
constexpr int kRowTop = 22;
constexpr int kRowStep = 27;

int Row(int row)
{
    return kRowTop + row * kRowStep;
}

} // namespace

void TEditProfileForm::CreateComponents()
{
    SetCaption("Tarnwick Pro - Profile Editor");
    SetBorderStyle(bsDialog);
    SetClientWidth(694);
    SetClientHeight(477);
    SetKeyPreview(true);
    SetPosition(poScreenCenter);
    FormSkinner = NewFormSkinner(this);

    VideoPanel = Place<TspSkinPanel>(this, this, 0, 0, 694, 477);
    VideoPanel->SetAlign(alClient);

    pcFormats = Place<TspSkinPageControl>(this, VideoPanel, 0, 0, 694, 377);
    pcFormats->SetAlign(alTop);
    for (size_t page = 0; page < EditorPageOrder.size(); ++page) {
        auto* sheet = new TspSkinTabSheet(this);
        sheet->SetPageControl(pcFormats);
        sheet->SetCaption(FormatInfo(EditorPageOrder[page]).PageCaption);
        Pages[page] = sheet;
    }
    tsAVI = Pages[0];
    tsWMV = Pages[1];
    tsReal = Pages[2];
    tsMP4 = Pages[3];
    tsMPEG = Pages[4];
    tsMOV = Pages[5];
    ts3GP = Pages[6];
    tsFLV = Pages[7];

    ProfileInfoPanel = Place<TspSkinPanel>(this, tsAVI, 0, 0, 686, 89);
    ProfileInfoPanel->SetAlign(alTop);
    Label(this, ProfileInfoPanel, 24, 16, "Profiles:");
    cbProfiles = Choice(this, ProfileInfoPanel, 120, 12, 420);
    cbProfiles->SetShowHint(true);
    Label(this, ProfileInfoPanel, 24, 52, "Profile Name:");
    edtName = Place<TspSkinEdit>(this, ProfileInfoPanel, 120, 48, 420, 21);

    CreateFormatPages();

    const char* captions[] = { "&New", "&Save", "&Copy", "&Delete", "Close" };
    TspSkinButton** buttons[] = { &btnNew, &btnSave, &btnSaveAs, &btnDeleteProfile, &btnClose };
    for (int i = 0; i < 5; ++i) {
        *buttons[i] = Place<TspSkinButton>(this, VideoPanel, 150 + i * 80, 420, 75, 25);
        (*buttons[i])->SetCaption(captions[i]);
    }
    btnNew->OnClick = [this](TObject* sender) { btnNewClick(sender); };
    btnSave->OnClick = [this](TObject* sender) { btnSaveClick(sender); };
    btnSaveAs->OnClick = [this](TObject* sender) { btnSaveAsClick(sender); };
    btnDeleteProfile->OnClick = [this](TObject* sender) { btnDeleteProfileClick(sender); };
    btnClose->OnClick = [this](TObject* sender) { btnCloseClick(sender); };

    NewPopupMenu = new TspSkinPopupMenu(this);
    NewPopupMenu->SetSkinData(FormSkinner->SkinData());
    for (VideoFormatType type : NewMenuOrder) {
        auto* item = new TMenuItem(this);
        item->SetCaption(FormatInfo(type).NewMenuCaption);
        item->OnClick = [this, type](TObject*) { NewProfile(type); };
        NewPopupMenu->Items()->Add(item);
        NewMenuItems[type] = item;
    }

    pcFormats->OnChange = [this](TObject* sender) { pcFormatsChange(sender); };
    cbProfiles->OnChange = [this](TObject* sender) { cbProfilesChange(sender); };
    OnKeyPress = [this](TObject* sender, char32_t& key) { FormKeyPress(sender, key); };
}

void TEditProfileForm::CreateFormatPages()
{
    TspSkinPanel** panels[8]
        = { &My3GPPanel, &AVIPanel, &MPEGPanel, &MP4Panel, &WMVPanel, &RealPanel, &MOVPanel, &FLVPanel };
    for (VideoFormatType type : EditorPageOrder) {
        auto* panel = Place<TspSkinPanel>(this, Pages[static_cast<size_t>(EditorPageOf(type))], 33, 95, 619, 250);
        *panels[type] = panel;
    }
    CreatePageAVI();
    CreatePageMPEG();
    CreatePageMP4();
    CreatePageMOV();
    CreatePageFLV();
    CreatePageWMV();
    CreatePageReal();
    CreatePage3GP();
}

void TEditProfileForm::CreatePageAVI()
{
    TspSkinGroupBox* video = Group(this, AVIPanel, 6, 4, 320, 240, "Video");
    TspSkinGroupBox* audio = Group(this, AVIPanel, 332, 4, 281, 240, "Audio");
    cbAVIFrameSize = LabelledChoice(this, video, Row(0), "Frame Size:");
    Label(this, video, 10, Row(1) + 3, "Width/Height:");
    edtAVIWidth = Spin(this, video, 110, Row(1), 90);
    edtAVIHeight = Spin(this, video, 210, Row(1), 90);
    cbAVIFrameRate = LabelledChoice(this, video, Row(2), "Frame Rate:");
    cbAVIVideoCodec = LabelledChoice(this, video, Row(3), "Video Codec:");
    Label(this, video, 10, Row(4) + 3, "Video Bitrate:");
    edtAVIVideoBitrate = Spin(this, video, 110, Row(4), 110);
    rbAVIUseCBR = Radio(this, video, 10, Row(5), "Use CBR", 1);
    rbAVIUseVBR = Radio(this, video, 110, Row(5), "Use VBR", 1);
    Label(this, video, 10, Row(6) + 3, "Max/Min Bitrate:");
    edtAVIVideoVBRMaxBitrate = Spin(this, video, 110, Row(6), 90);
    edtAVIVideoVBRMinBitrate = Spin(this, video, 210, Row(6), 90);
    cbAVI_AudioCodec = LabelledChoice(this, audio, Row(0), "Audio Codec:");
    cbAVIFrequency = LabelledChoice(this, audio, Row(1), "Frequency:");
    cbAVIChannels = LabelledChoice(this, audio, Row(2), "Channels:");
    cbAVIAudioBitrate = LabelledChoice(this, audio, Row(3), "Audio Bitrate:");
}

void TEditProfileForm::CreatePageMPEG()
{
    TspSkinGroupBox* video = Group(this, MPEGPanel, 6, 4, 320, 240, "Video");
    TspSkinGroupBox* audio = Group(this, MPEGPanel, 332, 4, 281, 240, "Audio");
    cbMPEGFrameSize = LabelledChoice(this, video, Row(0), "Frame Size:");
    Label(this, video, 10, Row(1) + 3, "Width/Height:");
    edtMPEGWidth = Spin(this, video, 110, Row(1), 90);
    edtMPEGHeight = Spin(this, video, 210, Row(1), 90);
    cbMPEGFrameRate = LabelledChoice(this, video, Row(2), "Frame Rate:");
    Label(this, video, 10, Row(3) + 3, "Video Bitrate:");
    edtMPEGVideoBitrate = Spin(this, video, 110, Row(3), 110);
    // The two radio pairs of this page are two groups on one parent.
    rbMPEG1 = Radio(this, video, 10, Row(4), "MPEG1", 2);
    rbMPEG2 = Radio(this, video, 110, Row(4), "MPEG2", 2);
    rbMPEGUseCBR = Radio(this, video, 10, Row(5), "Use CBR", 1);
    rbMPEGUseVBR = Radio(this, video, 110, Row(5), "Use VBR", 1);
    Label(this, video, 10, Row(6) + 3, "Max/Min Bitrate:");
    edtMPEGVideoVBRMaxBitrate = Spin(this, video, 110, Row(6), 90);
    edtMPEGVideoVBRMinBitrate = Spin(this, video, 210, Row(6), 90);
    cbMPEGAudioType = LabelledChoice(this, audio, Row(0), "Audio Type:");
    cbMPEGFrequency = LabelledChoice(this, audio, Row(1), "Frequency:");
    cbMPEGChannels = LabelledChoice(this, audio, Row(2), "Channels:");
    cbMPEGAudioBitrate = LabelledChoice(this, audio, Row(3), "Audio Bitrate:");
}

void TEditProfileForm::CreatePageMP4()
{
    TspSkinGroupBox* video = Group(this, MP4Panel, 6, 4, 320, 240, "Video");
    TspSkinGroupBox* audio = Group(this, MP4Panel, 332, 4, 281, 240, "Audio");
    cbMP4FrameSize = LabelledChoice(this, video, Row(0), "Frame Size:");
    Label(this, video, 10, Row(1) + 3, "Width/Height:");
    edtMP4Width = Spin(this, video, 110, Row(1), 90);
    edtMP4Height = Spin(this, video, 210, Row(1), 90);
    cbMP4FrameRate = LabelledChoice(this, video, Row(2), "Frame Rate:");
    cbMP4VideoCodec = LabelledChoice(this, video, Row(3), "Video Codec:");
    Label(this, video, 10, Row(4) + 3, "Video Bitrate:");
    edtMP4VideoBitrate = Spin(this, video, 110, Row(4), 110);
    rbMP4UseCBR = Radio(this, video, 10, Row(5), "Use CBR", 1);
    rbMP4UseVBR = Radio(this, video, 110, Row(5), "Use VBR", 1);
    Label(this, video, 10, Row(6) + 3, "Max/Min Bitrate:");
    edtMP4VideoVBRMaxBitrate = Spin(this, video, 110, Row(6), 90);
    edtMP4VideoVBRMinBitrate = Spin(this, video, 210, Row(6), 90);
    cbMP4Frequency = LabelledChoice(this, audio, Row(0), "Frequency:");
    cbMP4Channels = LabelledChoice(this, audio, Row(1), "Channels:");
    cbMP4AudioBitrate = LabelledChoice(this, audio, Row(2), "Audio Bitrate:");
}

void TEditProfileForm::CreatePageMOV()
{
    TspSkinGroupBox* video = Group(this, MOVPanel, 6, 4, 320, 240, "Video");
    TspSkinGroupBox* audio = Group(this, MOVPanel, 332, 4, 281, 240, "Audio");
    cbMOVFrameSize = LabelledChoice(this, video, Row(0), "Frame Size:");
    Label(this, video, 10, Row(1) + 3, "Width/Height:");
    edtMOVWidth = Spin(this, video, 110, Row(1), 90);
    edtMOVHeight = Spin(this, video, 210, Row(1), 90);
    cbMOVFrameRate = LabelledChoice(this, video, Row(2), "Frame Rate:");
    cbMOVVideoCodec = LabelledChoice(this, video, Row(3), "Video Codec:");
    Label(this, video, 10, Row(4) + 3, "Video Bitrate:");
    edtMOVVideoBitrate = Spin(this, video, 110, Row(4), 110);
    cbMOVFrequency = LabelledChoice(this, audio, Row(0), "Frequency:");
    cbMOVChannels = LabelledChoice(this, audio, Row(1), "Channels:");
    cbMOVAudioBitrate = LabelledChoice(this, audio, Row(2), "Audio Bitrate:");
}

void TEditProfileForm::CreatePageFLV()
{
    TspSkinGroupBox* video = Group(this, FLVPanel, 6, 4, 320, 240, "Video");
    TspSkinGroupBox* audio = Group(this, FLVPanel, 332, 4, 281, 240, "Audio");
    cbFLVFrameSize = LabelledChoice(this, video, Row(0), "Frame Size:");
    Label(this, video, 10, Row(1) + 3, "Width/Height:");
    edtFLVWidth = Spin(this, video, 110, Row(1), 90);
    edtFLVHeight = Spin(this, video, 210, Row(1), 90);
    cbFLVFrameRate = LabelledChoice(this, video, Row(2), "Frame Rate:");
    cbFLVVideoCodec = LabelledChoice(this, video, Row(3), "Video Codec:");
    Label(this, video, 10, Row(4) + 3, "Video Bitrate:");
    edtFLVVideoBitrate = Spin(this, video, 110, Row(4), 110);
    cbFLVFrequency = LabelledChoice(this, audio, Row(0), "Frequency:");
    cbFLVChannels = LabelledChoice(this, audio, Row(1), "Channels:");
    cbFLVAudioBitrate = LabelledChoice(this, audio, Row(2), "Audio Bitrate:");
}

void TEditProfileForm::CreatePageWMV()
{
    TspSkinGroupBox* video = Group(this, WMVPanel, 6, 4, 320, 240, "Video");
    TspSkinGroupBox* audio = Group(this, WMVPanel, 332, 4, 281, 240, "Audio");
    chkUseSystemProfile = Check(this, video, 10, Row(0), "Use System Profile");
    cbSystemProfile = LabelledChoice(this, video, Row(1), "System Profile:");
    cbWMVFrameSize = LabelledChoice(this, video, Row(2), "Frame Size:");
    Label(this, video, 10, Row(3) + 3, "Width/Height:");
    edtWMVWidth = Spin(this, video, 110, Row(3), 90);
    edtWMVHeight = Spin(this, video, 210, Row(3), 90);
    cbWMVFrameRate = LabelledChoice(this, video, Row(4), "Frame Rate:");
    Label(this, video, 10, Row(5) + 3, "Video Bitrate:");
    edtWMVVideoBitrate = Spin(this, video, 110, Row(5), 110);
    cbWMVVersion = LabelledChoice(this, video, Row(6), "Version:");
    chkWMVUseVBR = Check(this, video, 10, Row(7), "Use VBR");
    Label(this, video, 110, Row(7) + 3, "VBR Quality:");
    edtWMVVBRQuality = Spin(this, video, 200, Row(7), 60);
    cbWMVAudioFormat = LabelledChoice(this, audio, Row(0), "Audio Format:");
}

void TEditProfileForm::CreatePageReal()
{
    TspSkinGroupBox* video = Group(this, RealPanel, 6, 4, 320, 240, "Video");
    TspSkinGroupBox* audio = Group(this, RealPanel, 332, 4, 281, 240, "Audio");
    cbRealFrameSize = LabelledChoice(this, video, Row(0), "Frame Size:");
    Label(this, video, 10, Row(1) + 3, "Width/Height:");
    edtRealWidth = Spin(this, video, 110, Row(1), 90);
    edtRealHeight = Spin(this, video, 210, Row(1), 90);
    cbRealFrameRate = LabelledChoice(this, video, Row(2), "Frame Rate:");
    cbRealVideoCodec = LabelledChoice(this, video, Row(3), "Video Codec:");
    Label(this, video, 10, Row(4) + 3, "Video Bitrate:");
    edtRealVideoBitrate = Spin(this, video, 110, Row(4), 110);
    rbRealUseCBR = Radio(this, video, 10, Row(5), "Use CBR", 1);
    rbRealUseVBR = Radio(this, video, 110, Row(5), "Use VBR", 1);
    Label(this, video, 10, Row(6) + 3, "Max Bitrate:");
    edtRealVideoVBRMaxBitrate = Spin(this, video, 110, Row(6), 110);
    chkRealVideoNoiseReduction = Check(this, video, 10, Row(7), "Video Noise Reduction");
    cbRealAudioFormat = LabelledChoice(this, audio, Row(0), "Audio Format:");
}

void TEditProfileForm::CreatePage3GP()
{
    TspSkinGroupBox* video = Group(this, My3GPPanel, 6, 4, 320, 240, "Video");
    TspSkinGroupBox* audio = Group(this, My3GPPanel, 332, 4, 281, 240, "Audio");
    cb3GPFormat = LabelledChoice(this, video, Row(0), "Format:");
    cb3GPVideoCodec = LabelledChoice(this, video, Row(1), "Video Codec:");
    cb3GPFrameSize = LabelledChoice(this, video, Row(2), "Frame Size:");
    cb3GPFrameRate = LabelledChoice(this, video, Row(3), "Frame Rate:");
    cb3GPVideoBitrate = LabelledChoice(this, video, Row(4), "Video Bitrate:");
    Label(this, video, 10, Row(5) + 3, "Bitrate Tolerance:");
    edt3GPBitrateTolerance = Spin(this, video, 110, Row(5), 90);
    cb3GPAudioCodec = LabelledChoice(this, audio, Row(0), "Audio Codec:");
    cb3GPFrequency = LabelledChoice(this, audio, Row(1), "Frequency:");
    cb3GPChannels = LabelledChoice(this, audio, Row(2), "Channels:");
    cb3GPAudioBitrate = LabelledChoice(this, audio, Row(3), "Audio Bitrate:");
}

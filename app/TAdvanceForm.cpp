#include "app/TAdvanceForm.h"

#include "app/AdvanceDetailReport.h"
#include "app/AdvanceFormRules.h"
#include "app/JobList.h"
#include "app/LastSettings.h"
#include "app/TOutputSettingsForm.h"
#include "app/TSelectStreamForm.h"
#include "engine/AppServices.h"
#include "engine/DecoderBase.h"
#include "engine/TConvertJob.h"
#include "engine/TResourceForm.h"
#include "framed/FrEdit.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TTimer.h"
#include "framework/core/FileSystem.h"
#include "framework/core/TStrings.h"
#include "framework/dialogs/Dialogs.h"
#include "imaging/TBitmap32.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinSpinEdit.h"
#include "skin/controls/SkinTrackBars.h"
#include "skin/dialogs/TspSkinPageControl.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/lists/TspSkinComboBox.h"

#include <algorithm>
#include <utility>

TAdvanceForm::TAdvanceForm(TComponent* owner, DecoderBase* decoder, TConvertJob* job)
    : TForm(owner)
    , EditedJob(job)
    , SharedDecoder(decoder)
{
    CreateComponents();
    TLastSettings settings;
    RememberedWidth = settings.AdvanceSettingsFormWidth();
    RememberedHeight = settings.AdvanceSettingsFormHeight();
    ShowJob();
    EmbedOutputSettings();

    // Aspect: a stored text is shown as set; otherwise "Auto".
    if (!EditedJob->AspectRatio.empty()) {
        cbAspectRatio->SetText(EditedJob->AspectRatio);
        chkSpecifyAspectRatio->SetChecked(true);
    } else {
        cbAspectRatio->SetItemIndex(0);
        chkSpecifyAspectRatio->SetChecked(false);
    }
    chkSpecifyAspectRatioClick(chkSpecifyAspectRatio);
}

TAdvanceForm::~TAdvanceForm()
{
    // FormDestroy needs this window's own members, which are gone once the base destructor runs it.
    DoDestroy();
}

std::string TAdvanceForm::FormatTime(uint32_t seconds)
{
    return FormatAdvanceTime(seconds);
}

double TAdvanceForm::Duration() const
{
    return EditedJob->VideoInfo.GetDuration();
}

double TAdvanceForm::DecoderPosition() const
{
    double position = 0;
    if (SharedDecoder)
        SharedDecoder->GetPosition(&position);
    return position;
}

void TAdvanceForm::ShowJob()
{
    const TConvertJob& job = *EditedJob;
    TrimStart = job.StartTime == -1.0 ? 0.0 : job.StartTime;
    TrimEnd = job.EndTime == -1.0 ? Duration() : job.EndTime;

    // Hundredths of a second; the bar is only a display here, so its change (a seek) stays quiet.
    TNotifyEvent change = std::exchange(tbPreview->OnChange, nullptr);
    tbPreview->SetMaxValue(int(WholeSeconds(Duration() * 100)));
    tbPreview->SetValue(int(WholeSeconds(DecoderPosition() * 100)));
    tbPreview->OnChange = std::move(change);

    SetCropEdits(job.CropLeft, job.CropRight, job.CropTop, job.CropBottom);
    chkFixAspectRatio->SetChecked(job.FixAspectRatio);
    edtName->SetText(job.OutputFile);
    FillStreamLists();

    // Without a decoder there is nothing to play or seek; without a duration, no time for a marker to stand for.
    const bool canSeek = SharedDecoder != nullptr;
    btnPlayPause->SetEnabled(canSeek);
    tbPreview->SetEnabled(canSeek);
    const bool canTrim = canSeek && Duration() > 0;
    imgStartTime->SetEnabled(canTrim);
    imgEndTime->SetEnabled(canTrim);

    UpdateTrimHints();
    UpdateTimeLabels();
    TrackBarPanelResize(nullptr);
}

void TAdvanceForm::FillStreamLists()
{
    const TVideoInfoReader& info = EditedJob->VideoInfo;
    for (int i = 0; i < info.GetVideoStreamCount(); ++i)
        cbVideoStream->Items()->Add(TSelectStreamForm::VideoStreamText(info, i));
    for (int i = 0; i < info.GetAudioStreamCount(); ++i)
        cbAudioStream->Items()->Add(TSelectStreamForm::AudioStreamText(info, i));
    cbVideoStream->OnChange = nullptr;
    cbAudioStream->OnChange = nullptr;
    cbVideoStream->SetItemIndex(EditedJob->VideoStreamIndex);
    cbAudioStream->SetItemIndex(EditedJob->AudioStreamIndex);
    cbVideoStream->OnChange = [this](TObject* sender) { cbVideoStreamChange(sender); };
    cbAudioStream->OnChange = [this](TObject* sender) { cbAudioStreamChange(sender); };
}

void TAdvanceForm::EmbedOutputSettings()
{
    EmbeddedOutputSettings = TCustomForm::Create<TOutputSettingsForm>(this, *EditedJob);
    TspSkinPanel* panel = EmbeddedOutputSettings->MainPanel;
    panel->SetParent(tsOutputSettings);
    panel->SetAlign(alClient);
    SavedFormatClick = [settings = EmbeddedOutputSettings](TObject* sender) { settings->rb3GPClick(sender); };
    for (int type = 0; type < 8; ++type) {
        EmbeddedOutputSettings->FormatRadio(static_cast<VideoFormatType>(type))->OnClick
            = [this](TObject* sender) { OutputFormatClick(sender); };
    }
}

// ---- Form and pages ----------------------------------------------------------------------------------------------

void TAdvanceForm::FormCreate(TObject*)
{
    PreviewTimer->SetEnabled(true);
    PageControlChange(PageControl);
}

bool TAdvanceForm::IsEditPageActive() const
{
    return PageControl->ActivePage() == tbVisualAdjust;
}

void TAdvanceForm::PageControlChange(TObject*)
{
    ApplyOutputSettings();
    TspSkinCheckRadioBox* embeddedFix = EmbeddedOutputSettings->chkFixAspectRatio;
    if (IsEditPageActive()) {
        FormSkinner->Sizeable = true;
        SetBounds(Left(), Top(), RememberedWidth, RememberedHeight);
        chkFixAspectRatio->SetChecked(embeddedFix->Checked());
    } else {
        if (btnPlayPause->Tag() == 1) {
            if (SharedDecoder)
                SharedDecoder->Pause();
            btnPlayPause->SetTag(0);
        }
        SetBounds(Left(), Top(), 705, 690);
        FormSkinner->Sizeable = false;
        embeddedFix->SetChecked(chkFixAspectRatio->Checked());
    }
    if (PageControl->ActivePage() == tbDetail) {
        TDetailReportEdits edits;
        edits.OutputFile = edtName->Text();
        edits.CropLeft = int32_t(edtCropLeft->Value());
        edits.CropRight = int32_t(edtCropRight->Value());
        edits.CropTop = int32_t(edtCropTop->Value());
        edits.CropBottom = int32_t(edtCropBottom->Value());
        const TProfileManager* manager = ResourceForm ? ResourceForm->ProfileManager.get() : nullptr;
        DetailMemo->Lines()->Clear();
        for (const std::string& line : BuildDetailReport(*EditedJob, manager, edits))
            DetailMemo->Lines()->Add(line);
    }
}

void TAdvanceForm::FormResize(TObject*)
{
    if (PageControl && IsEditPageActive()) {
        RememberedWidth = Width();
        RememberedHeight = Height();
    }
}

void TAdvanceForm::tsOutputSettingsResize(TObject*)
{
    if (!EmbeddedOutputSettings)
        return;
    TspSkinPanel* panel = EmbeddedOutputSettings->MainPanel;
    panel->SetLeft((tsOutputSettings->Width() - panel->Width()) / 2);
    panel->SetTop((tsOutputSettings->Height() - panel->Height()) / 2);
}

void TAdvanceForm::FormDestroy(TObject*)
{
    PreviewTimer->SetEnabled(false);
    WriteLastSettingsInTeardown([this](TLastSettings& settings) {
        settings.SetAdvanceSettingsFormWidth(RememberedWidth);
        settings.SetAdvanceSettingsFormHeight(RememberedHeight);
    });
    delete EmbeddedOutputSettings;
    EmbeddedOutputSettings = nullptr;
}

void TAdvanceForm::FormKeyPress(TObject*, char32_t& key)
{
    if (key == 27)
        SetModalResult(mrCancel);
}

// ---- Playing and the position ------------------------------------------------------------------------------------

void TAdvanceForm::PreviewTimerTimer(TObject*)
{
    TNotifyEvent change = std::exchange(tbPreview->OnChange, nullptr);
    const double position = DecoderPosition();
    lblCurrentTime->SetCaption(FormatTime(WholeSeconds(position)));
    tbPreview->SetValue(int(WholeSeconds(position * 100)));
    Application->ProcessMessages();
    tbPreview->OnChange = std::move(change);

    const bool playing = SharedDecoder && SharedDecoder->GetState() == dsPlaying;
    btnPlayPause->SetCaption(playing ? "Pause" : "Play");
    btnPlayPause->SetTag(playing ? 1 : 0);
}

void TAdvanceForm::tbPreviewChange(TObject*)
{
    if (!SharedDecoder)
        return;
    const bool wasEnabled = PreviewTimer->Enabled();
    PreviewTimer->SetEnabled(false);
    SharedDecoder->Seek(tbPreview->Value() * 0.01);
    PreviewTimer->SetEnabled(wasEnabled);
}

void TAdvanceForm::btnPlayPauseClick(TObject*)
{
    if (!SharedDecoder)
        return;
    if (btnPlayPause->Tag() == 1) {
        SharedDecoder->Pause();
        btnPlayPause->SetTag(0);
        return;
    }
    // At the end of the source, play starts again from the beginning.
    if (WholeSeconds(DecoderPosition()) == WholeSeconds(Duration()))
        SharedDecoder->Seek(0);
    SharedDecoder->Play(reinterpret_cast<uintptr_t>(Handle()));
}

// ---- Streams, aspect, output -------------------------------------------------------------------------------------

void TAdvanceForm::cbVideoStreamChange(TObject*)
{
    if (SharedDecoder && cbVideoStream->ItemIndex() >= 0)
        SharedDecoder->SetVideoStream(cbVideoStream->ItemIndex());
}

void TAdvanceForm::cbAudioStreamChange(TObject*)
{
    if (SharedDecoder && cbAudioStream->ItemIndex() >= 0)
        SharedDecoder->SetAudioStream(cbAudioStream->ItemIndex());
}

void TAdvanceForm::chkSpecifyAspectRatioClick(TObject*)
{
    cbAspectRatio->SetEnabled(chkSpecifyAspectRatio->Enabled() && chkSpecifyAspectRatio->Checked());
}

void TAdvanceForm::ApplyOutputSettings()
{
    if (EmbeddedOutputSettings)
        EditedJob->SetProfile(EmbeddedOutputSettings->CreateProfileFromEditor()->Clone());
}

void TAdvanceForm::OutputFormatClick(TObject* sender)
{
    if (SavedFormatClick)
        SavedFormatClick(sender);
    ApplyOutputSettings();
    if (const TVideoProfile* profile = EditedJob->GetProfile())
        edtName->SetText(ChangeFileExt(edtName->Text(), profile->Extension));
}

void TAdvanceForm::btnBrowseClick(TObject*)
{
    const std::string ext = ExtractFileExt(edtName->Text());
    SaveDialog->SetDefaultExt(ext);
    SaveDialog->SetFilter("*" + ext + "|*" + ext);
    if (SaveDialog->Execute())
        edtName->SetText(SaveDialog->FileName());
}

void TAdvanceForm::btnOkClick(TObject*)
{
    const std::string aspect = cbAspectRatio->Text();
    if (!ValidateAspectRatio(aspect)) {
        ShowMessageBox("Invalid Aspect Ratio!", "Tarnwick Pro", 0x40);
        return;
    }
    TConvertJob& job = *EditedJob;
    job.AspectRatio = StoredAspectRatio(aspect);
    const TStoredTrim trim = StoredTrim(TrimStart, TrimEnd, Duration());
    job.StartTime = trim.StartTime;
    job.EndTime = trim.EndTime;
    job.CropLeft = int32_t(edtCropLeft->Value());
    job.CropRight = int32_t(edtCropRight->Value());
    job.CropTop = int32_t(edtCropTop->Value());
    job.CropBottom = int32_t(edtCropBottom->Value());
    job.FixAspectRatio = chkFixAspectRatio->Checked();
    job.DisableAudio = EmbeddedOutputSettings->chkDisableAudio->Checked();
    // An empty list (a source without that kind of stream) selects nothing; the job keeps stream 0 then, which
    // every reader of the index can look up.
    job.VideoStreamIndex = std::max(0, cbVideoStream->ItemIndex());
    job.AudioStreamIndex = std::max(0, cbAudioStream->ItemIndex());
    job.OutputFile = edtName->Text();
    job.Status = jsQueue;
    ApplyOutputSettings();
    SetModalResult(mrOk);
}

bool ShowAdvanceSettings(TComponent* owner, DecoderBase* decoder, TConvertJob* job, TAdvanceForm** shown)
{
    std::unique_ptr<TAdvanceForm> form(TCustomForm::Create<TAdvanceForm>(owner, decoder, job));
    if (shown)
        *shown = form.get();
    TModalResult result = mrCancel;
    try {
        result = form->ShowModal();
    } catch (...) {
        if (shown)
            *shown = nullptr;
        throw;
    }
    if (shown)
        *shown = nullptr;
    return result == mrOk;
}

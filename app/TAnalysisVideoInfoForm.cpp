#include "app/TAnalysisVideoInfoForm.h"

#include "app/AppDialog.h"
#include "app/LastSettings.h"
#include "engine/AppServices.h"
#include "engine/TConvertJob.h"
#include "framed/FrLabel.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TTimer.h"
#include "framework/core/TStrings.h"
#include "framework/graphics/Graphics.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinGauges.h"
#include "skin/controls/SkinLabels.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/lists/TspSkinListBox.h"

#include <string>

const std::string_view CodecDownloadPage = "https://www.tarnwickpro.example/codecs.html";

namespace {

constexpr int kFormHeight = 544;
// The arrow with the hourglass, shown while a file is probed.
constexpr int32_t kAppStartCursor = -19;

} // namespace

TAnalysisVideoInfoForm::TAnalysisVideoInfoForm(TComponent* owner, TJobList* jobs)
    : TForm(owner)
    , Jobs(jobs)
    , JobCount(jobs ? static_cast<int>(jobs->size()) : 0)
{
    SetCaption("Video Media Information Analysis");
    TspSkinForm* skin = SkinAppDialog(this, true);
    // Wider or narrower as the user likes, never higher or lower.
    skin->Sizeable = true;
    skin->MinHeight = kFormHeight;
    skin->MaxHeight = kFormHeight;
    skin->MinWidth = 420;
    SetWidth(560);
    SetHeight(kFormHeight);
    const int width = ClientWidth();

    PlaceLabel(this, 12, 12, "File:");
    lblFileName = PlaceLabel(this, 80, 12, "", width - 92);
    PlaceLabel(this, 12, 36, "Progress:");
    lblProgress = PlaceLabel(this, 80, 36, "", 120);
    Gauge = PlaceSkinned<TspSkinGauge>(this, 12, 60, width - 24, 20);
    Gauge->SetShowPercent(true);
    Gauge->SetMinValue(0);
    Gauge->SetMaxValue(JobCount);
    Gauge->SetValue(0);

    PlaceLabel(this, 12, 92, "File formats that are supported:");
    lblSupportedNum = PlaceLabel(this, width - 112, 92, "", 100);
    lbSupported = PlaceSkinned<TspSkinListBox>(this, 12, 112, width - 24, 150);
    PlaceLabel(this, 12, 272, "File formats that are not supported:");
    lblNotSupportedNum = PlaceLabel(this, width - 112, 272, "", 100);
    lbNotSupported = PlaceSkinned<TspSkinListBox>(this, 12, 292, width - 24, 130);
    for (TspSkinListBox* list : { lbSupported, lbNotSupported }) {
        list->SetUseSkinItemHeight(true);
        list->SetAnchors({ akLeft, akTop, akRight });
    }

    lblDownloadCodecInfo = PlaceControl<TFrURLLabel>(this, 12, 430, 160, 18);
    lblDownloadCodecInfo->SetCaption("Download codec!");
    lblDownloadCodecInfo->SetURL(CodecDownloadPage);
    lblDownloadCodecInfo->SetBlinkColor(clRed);
    lblDownloadCodecInfo->SetBlinkIntervalOn(200);
    lblDownloadCodecInfo->SetBlinkIntervalOff(200);
    lblDownloadCodecInfo->SetVisible(false);

    chkAutoClose = PlaceSkinned<TspSkinCheckRadioBox>(this, 12, 456, 320, 22);
    chkAutoClose->SetCaption("Auto close window after analysis complete");
    chkAutoClose->SetChecked(TLastSettings().AutoCloseAnalysisForm());
    btnCancel = PlaceSkinned<TspSkinButton>(this, width - 92, 456, 80, 25);
    btnCancel->SetCaption("Cancel");
    btnCancel->SetAnchors({ akTop, akRight });
    btnCancel->OnClick = [this](TObject* sender) { btnCancelClick(sender); };

    Timer = new TTimer(this);
    Timer->SetEnabled(false);
    Timer->SetInterval(10);
    Timer->SetOnTimer([this](TObject* sender) { TimerTimer(sender); });
    OnShow = [this](TObject* sender) { FormShow(sender); };
    OnKeyPress = [this](TObject* sender, char32_t& key) { FormKeyPress(sender, key); };
}

TAnalysisVideoInfoForm::~TAnalysisVideoInfoForm()
{
    const bool autoClose = chkAutoClose->Checked();
    WriteLastSettingsInTeardown([autoClose](TLastSettings& settings) { settings.SetAutoCloseAnalysisForm(autoClose); });
}

void TAnalysisVideoInfoForm::FormShow(TObject*)
{
    Timer->SetEnabled(true);
}

bool TAnalysisVideoInfoForm::AnalyseJob(TConvertJob& job)
{
    {
        MyCursor cursor(kAppStartCursor);
        job.Analyse();
    }
    Application->ProcessMessages();
    return job.VideoInfo.IsOpened();
}

void TAnalysisVideoInfoForm::TimerTimer(TObject*)
{
    Timer->SetEnabled(false);
    int started = 0;
    size_t i = 0;
    // Closing the window meanwhile (its caption button) stops the analysis as Cancel does.
    while (Jobs && i < Jobs->size() && !Cancelled && ModalResult() == mrNone) {
        TConvertJob& job = *(*Jobs)[i];
        ++started;
        lblProgress->SetCaption(std::to_string(started) + " / " + std::to_string(JobCount));
        lblFileName->SetCaption(job.VideoInfo.GetFileName());
        Application->ProcessMessages();
        const std::string path = job.VideoInfo.GetFileName();
        if (AnalyseJob(job)) {
            lbSupported->Items()->Add(path);
            lblSupportedNum->SetCaption(std::to_string(lbSupported->Items()->Count()) + " files");
            job.Analysed = true;
            ++i;
        } else {
            lbNotSupported->Items()->Add(path);
            lblNotSupportedNum->SetCaption(std::to_string(lbNotSupported->Items()->Count()) + " files");
            Jobs->erase(Jobs->begin() + static_cast<std::ptrdiff_t>(i));
            lblDownloadCodecInfo->SetVisible(true);
            lblDownloadCodecInfo->SetBlinking(true);
        }
        Gauge->SetValue(Gauge->Value() + 1);
        Application->ProcessMessages();
    }
    if (chkAutoClose->Checked() && lbNotSupported->Items()->Count() == 0)
        Close();
    btnCancel->SetCaption("Close");
    btnCancel->SetTag(1);
}

void TAnalysisVideoInfoForm::btnCancelClick(TObject*)
{
    if (btnCancel->Tag() != 0)
        Close();
    else
        Cancelled = true;
}

void TAnalysisVideoInfoForm::FormKeyPress(TObject* sender, char32_t& key)
{
    if (key == 27)
        btnCancelClick(sender);
}

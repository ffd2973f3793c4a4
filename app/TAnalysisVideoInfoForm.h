// TAnalysisVideoInfoForm, "Video Media Information Analysis": probes the sources of new jobs one after another,
// lists those some decoder reads and those none reads, and drops the jobs of the latter.
#pragma once
#include "framework/controls/Forms.h"

#include <memory>
#include <vector>

class TConvertJob;
class TFrURLLabel;
class TTimer;
class TspSkinButton;
class TspSkinCheckRadioBox;
class TspSkinGauge;
class TspSkinListBox;
class TspSkinStdLabel;

// Where "Download codec!" leads.
extern const std::string_view CodecDownloadPage;

class TAnalysisVideoInfoForm : public TForm {
    using inherited = TForm;

public:
    using TJobList = std::vector<std::unique_ptr<TConvertJob>>;

    // Analyses the jobs of `jobs` (not owned) once shown; the jobs of unreadable sources leave the list.
    TAnalysisVideoInfoForm(TComponent* owner, TJobList* jobs);
    // Remembers whether the window closes by itself; a refused write is reported, never raised.
    ~TAnalysisVideoInfoForm() override;

    TspSkinStdLabel* lblFileName = nullptr;
    TspSkinStdLabel* lblProgress = nullptr;
    TspSkinGauge* Gauge = nullptr;
    TspSkinCheckRadioBox* chkAutoClose = nullptr;
    TspSkinButton* btnCancel = nullptr;
    TspSkinListBox* lbSupported = nullptr;
    TspSkinStdLabel* lblSupportedNum = nullptr;
    TspSkinListBox* lbNotSupported = nullptr;
    TspSkinStdLabel* lblNotSupportedNum = nullptr;
    TFrURLLabel* lblDownloadCodecInfo = nullptr;
    TTimer* Timer = nullptr;

    void FormShow(TObject* sender);
    // Runs the whole analysis, once, after the window is up.
    void TimerTimer(TObject* sender);
    // "Cancel" stops the analysis after the file being probed; "Close" closes the window.
    void btnCancelClick(TObject* sender);
    void FormKeyPress(TObject* sender, char32_t& key);

private:
    // Probes one job; false when no decoder opened its source.
    bool AnalyseJob(TConvertJob& job);

    TJobList* Jobs;
    bool Cancelled = false;
    int JobCount;
};

// The add road of the main window.
#include "app/AddJobs.h"

#include "app/TOutputSettingsForm.h"
#include "engine/AppServices.h"

namespace {

// The status, the settings the add gives and the start of the probe share the job's first two cache lines.
void PrefetchJobHead(const TConvertJob& job)
{
    const char* head = reinterpret_cast<const char*>(&job);
    __builtin_prefetch(head);
    __builtin_prefetch(head + 64);
}

} // namespace

std::optional<TNewJobSettings> ChooseNewJobSettings(TComponent* owner)
{
    std::unique_ptr<TOutputSettingsForm> window(TCustomForm::Create<TOutputSettingsForm>(owner));
    if (window->ShowModal() != mrOk || !window->ResultJob || !window->ResultJob->GetProfile())
        return std::nullopt;
    // OK left the window's profile and boxes on its result job.
    TNewJobSettings settings;
    settings.Profile = window->ResultJob->GetProfile()->Clone();
    settings.DisableAudio = window->ResultJob->DisableAudio;
    settings.FixAspectRatio = window->ResultJob->FixAspectRatio;
    return settings;
}

int AddAnalysedJobs(TJobList& jobs, TJobList newJobs, const std::string& outputFolder, const TAddRoad& road)
{
    if (road.Analyse)
        road.Analyse(newJobs);
    if (newJobs.empty()) {
        ShowMessageBox("These file formats are not supported. There is no video file to be added.",
            std::string(ApplicationTitle), 64);
        return -1;
    }
    std::optional<TNewJobSettings> settings = road.ChooseSettings ? road.ChooseSettings() : std::nullopt;
    if (!settings || !settings->Profile)
        return -1; // The new jobs go with `newJobs`.
    MyCursor hourglass(-11);
    const int first = static_cast<int>(jobs.size());
    const size_t count = newJobs.size();
    for (size_t i = 0; i < count; ++i) {
        // A folder search can bring thousands of jobs whose analysis left them far apart in memory: fetching the
        // next ones' first lines and source names while this one is set keeps the loop from waiting on each.
        if (i + 8 < count)
            PrefetchJobHead(*newJobs[i + 8]);
        if (i + 4 < count)
            __builtin_prefetch(newJobs[i + 4]->VideoInfo.GetFileName().data());
        TConvertJob& job = *newJobs[i];
        // Nothing runs these jobs yet, so the status needs no ordering against other threads.
        job.Status.store(jsQueue, std::memory_order_relaxed);
        job.SetProfile(settings->Profile->Clone());
        job.DisableAudio = settings->DisableAudio;
        job.FixAspectRatio = settings->FixAspectRatio;
        job.OutputFile = BuildOutputPath(outputFolder, job);
        jobs.push_back(std::move(newJobs[i]));
    }
    return first;
}

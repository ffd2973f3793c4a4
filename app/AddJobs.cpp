// The add road of the main window.
#include "app/AddJobs.h"

#include "app/TOutputSettingsForm.h"
#include "engine/AppServices.h"

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
    for (auto& job : newJobs) {
        job->Status = jsQueue;
        job->SetProfile(settings->Profile->Clone());
        job->DisableAudio = settings->DisableAudio;
        job->FixAspectRatio = settings->FixAspectRatio;
        job->OutputFile = BuildOutputPath(outputFolder, *job);
        jobs.push_back(std::move(job));
    }
    return first;
}

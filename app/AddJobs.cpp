// The add road of the main window.
#include "app/AddJobs.h"

#include "engine/AppServices.h"

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

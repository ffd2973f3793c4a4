// The road every add command of the main window ends on: the new jobs are probed, the unreadable ones dropped,
// the user chooses their output settings, and they join the job list.
#pragma once
#include "app/JobList.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class TComponent;

// The answer of the output settings window for new jobs: the profile each job gets a copy of, and the window's
// "Disable Audio" and "Fix Aspect Ratio" boxes.
struct TNewJobSettings {
    std::unique_ptr<TVideoProfile> Profile;
    bool DisableAudio = false;
    bool FixAspectRatio = false;
};

// The two windows on the road. Analyse probes every new job and removes (deleting them) those no decoder reads;
// ChooseSettings answers the user's settings, or nothing when the window was cancelled.
struct TAddRoad {
    std::function<void(TJobList& newJobs)> Analyse;
    std::function<std::optional<TNewJobSettings>()> ChooseSettings;
};

// Shows the output settings window for new jobs, owned by `owner`, modally; its answer, or nothing when it was
// cancelled. The window is gone when this returns.
std::optional<TNewJobSettings> ChooseNewJobSettings(TComponent* owner);

// Takes the new jobs: after the analysis, with none left, says so in a message box and adds nothing; a cancelled
// settings window deletes them all. Otherwise each is queued with its own copy of the chosen profile, the boxes'
// values and an output file in `outputFolder`, and appended in order. Answers the row of the first added job,
// or -1 when none was added.
int AddAnalysedJobs(TJobList& jobs, TJobList newJobs, const std::string& outputFolder, const TAddRoad& road);

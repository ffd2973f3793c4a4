// The main window's job list apart from its window: the output path of a job, the texts of its row, and the
// progress bar drawn in the status cell of the running job.
#pragma once
#include "engine/TConvertJob.h"
#include "framework/graphics/Types.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TCanvas;
class TFont;

// The jobs of the list, owned; row i shows job i.
using TJobList = std::vector<std::unique_ptr<TConvertJob>>;

// "hh:mm:ss " with a trailing blank, as every time in the main window is shown. Hours grow past two digits.
std::string FormatDuration(uint32_t seconds);

// The whole seconds of a time in seconds, truncated; a negative or unknown time gives 0.
uint32_t WholeSeconds(double seconds);

// The text of the Status column: "Queue", "Processing", "" while the stop prompt is open, "Completed",
// "Failed", "Previewing".
std::string JobStatusName(JobStatus status);

// The text of the Target Format column for the profile's format and its variant ("3GP2", "MPEG2",
// "MP4-AVC(H.264)" ...); empty without a profile.
std::string TargetFormatName(const TVideoProfile* profile);

// `folder` + the source's file name without its last extension + the profile's extension. The folder is put in
// front as it stands: callers keep its trailing '/'.
std::string BuildOutputPath(const std::string& folder, const TConvertJob& job);

// Every job's output file made again from `folder` (the output folder's text changed). Creates nothing.
void RetargetJobs(TJobList& jobs, const std::string& folder);

// Every job's output file moved into `folder`, keeping the file name it has (a folder was browsed to).
void MoveOutputFiles(TJobList& jobs, const std::string& folder);

// Deletes the jobs whose entry in `selected` (one per job) is true and packs the list. Answers the row to select
// afterwards: the index of the last removed row, at most the last remaining row; -1 when no job remains or none
// was selected.
int RemoveSelectedJobs(TJobList& jobs, const std::vector<bool>& selected);

// Moves the job at `index` one row up (`step` -1) or down (+1); answers the index it moved to, or -1 (nothing
// moved) at either end or for an index out of the list.
int MoveJob(TJobList& jobs, int index, int step);

// Gives each job of `indices` its own copy of `profile`, puts it back in the queue and changes its output file's
// extension to the profile's. The other settings of the job stay.
void ApplyProfile(TJobList& jobs, const std::vector<int>& indices, const TVideoProfile& profile);

// The caption and the seven sub-item texts of a job's row: frame size, duration, target format, status,
// estimated size, output file, profile name. A job not analysed yet shows "-" for what the probe would give.
struct TJobRowTexts {
    std::string Caption;
    std::array<std::string, 7> SubItems;
};
TJobRowTexts JobRowTexts(const TConvertJob& job);

// The index of the status sub-item, which shows the progress bar while the job runs.
constexpr int kStatusSubItem = 3;

// The progress bar's text: the percentage with two decimals and no sign ("12.34"); a negative progress reads
// as 0.
std::string ProgressText(double progress);

// Draws the progress bar of a running job into `box` of `target` (one pixel above the box, as the row's text
// sits): a highlight-framed white bar filled green up to `progress` (negative as 0, past 1 as full), with the
// percentage centred on the whole bar in `font`, drawn inverted so it reads over both parts.
void DrawProgressCell(TCanvas* target, const TRect& box, double progress, TFont* font);

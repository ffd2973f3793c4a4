// The main window's job list apart from its window: output paths, row texts and the progress cell.
#include "app/JobList.h"

#include "engine/FormatProfiles.h"
#include "framework/core/FileSystem.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::string FormatDuration(uint32_t seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u ", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

uint32_t WholeSeconds(double seconds)
{
    if (!(seconds > 0.0))
        return 0;
    return seconds >= 4294967295.0 ? 4294967295u : static_cast<uint32_t>(seconds);
}

std::string JobStatusName(JobStatus status)
{
    switch (status) {
    case jsQueue:
        return "Queue";
    case jsProcessing:
        return "Processing";
    case jsPaused:
        return "";
    case jsCompleted:
        return "Completed";
    case jsFailed:
        return "Failed";
    case jsPreviewing:
        return "Previewing";
    }
    return "";
}

std::string TargetFormatName(const TVideoProfile* profile)
{
    if (!profile)
        return "";
    switch (profile->FormatType) {
    case vf3GP:
        return static_cast<const T3GPProfile*>(profile)->Format3GP != 0 ? "3GP2" : "3GP";
    case vfAVI:
        return "AVI";
    case vfMPEG:
        return static_cast<const TMPEGProfile*>(profile)->MPEGVersion != 0 ? "MPEG2" : "MPEG1";
    case vfMP4:
        return static_cast<const TMP4Profile*>(profile)->MP4VideoCodec == 3 ? "MP4-AVC(H.264)" : "MP4";
    case vfWMV:
        return "WMV";
    case vfReal:
        return "RealMedia";
    case vfMOV:
        return "MOV";
    case vfFLV:
        return "FLV";
    }
    return "";
}

namespace {

// The part of `path` after its last folder separator.
std::string_view FileNamePart(std::string_view path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// `folder` followed by `name` and `extension`, built in one allocation: adding files builds one per job.
std::string JoinPath(std::string_view folder, std::string_view name, std::string_view extension = {})
{
    std::string path;
    path.reserve(folder.size() + name.size() + extension.size());
    path.append(folder).append(name).append(extension);
    return path;
}

} // namespace

std::string BuildOutputPath(const std::string& folder, const TConvertJob& job)
{
    std::string_view name = FileNamePart(job.VideoInfo.GetFileName());
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);
    const TVideoProfile* profile = job.GetProfile();
    return JoinPath(folder, name, profile ? std::string_view(profile->Extension) : std::string_view());
}

void RetargetJobs(TJobList& jobs, const std::string& folder)
{
    for (auto& job : jobs)
        job->OutputFile = BuildOutputPath(folder, *job);
}

void MoveOutputFiles(TJobList& jobs, const std::string& folder)
{
    for (auto& job : jobs)
        job->OutputFile = JoinPath(folder, FileNamePart(job->OutputFile));
}

int RemoveSelectedJobs(TJobList& jobs, const std::vector<bool>& selected)
{
    int lastRemoved = -1;
    size_t kept = 0;
    for (size_t i = 0; i < jobs.size(); ++i) {
        if (i < selected.size() && selected[i]) {
            jobs[i].reset();
            lastRemoved = static_cast<int>(i);
        } else {
            jobs[kept++] = std::move(jobs[i]);
        }
    }
    jobs.resize(kept);
    if (lastRemoved < 0 || jobs.empty())
        return -1;
    return std::min(lastRemoved, static_cast<int>(jobs.size()) - 1);
}

int MoveJob(TJobList& jobs, int index, int step)
{
    const int target = index + step;
    const int count = static_cast<int>(jobs.size());
    if (index < 0 || index >= count || target < 0 || target >= count)
        return -1;
    std::swap(jobs[index], jobs[target]);
    return target;
}

void ApplyProfile(TJobList& jobs, const std::vector<int>& indices, const TVideoProfile& profile)
{
    for (const int index : indices) {
        if (index < 0 || index >= static_cast<int>(jobs.size()))
            continue;
        TConvertJob& job = *jobs[index];
        job.Status = jsQueue;
        job.SetProfile(profile.Clone());
        job.OutputFile = ChangeFileExt(job.OutputFile, profile.Extension);
    }
}

TJobRowTexts JobRowTexts(const TConvertJob& job)
{
    TJobRowTexts row;
    row.Caption = job.VideoInfo.GetFileName();
    const TVideoProfile* profile = job.GetProfile();
    auto& items = row.SubItems;
    if (job.Analysed) {
        // An index out of the table (no stream chosen) reads as a 0 x 0 stream rather than past the table.
        const VideoStreamInfo& stream = job.VideoInfo.GetVideoStream(job.VideoStreamIndex);
        items[0] = std::to_string(stream.Width) + " x " + std::to_string(stream.Height);
        items[1] = FormatDuration(WholeSeconds(job.VideoInfo.GetDuration()));
        const int32_t bytes = profile ? profile->EstimateSize(job.VideoInfo.GetDuration()) : 0;
        items[4] = std::to_string(bytes / 1024) + " KB";
    } else {
        items[0] = "-";
        items[1] = "-";
        items[4] = "-";
    }
    items[2] = TargetFormatName(profile);
    items[kStatusSubItem] = JobStatusName(job.Status);
    items[5] = job.OutputFile;
    items[6] = profile ? profile->ProfileName : std::string();
    return row;
}

std::string ProgressText(double progress)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", std::max(progress, 0.0) * 100.0);
    return text;
}

void DrawProgressCell(TCanvas* target, const TRect& box, double progress, TFont* font)
{
    const double p = std::max(progress, 0.0);
    const int w = box.Right - box.Left;
    const int h = box.Bottom - box.Top;
    if (w <= 0 || h <= 0)
        return;
    TBitmap bar;
    bar.SetSize(w + 1, h + 1);
    TCanvas* canvas = bar.Canvas();
    canvas->Pen()->SetColor(clHighlight);
    canvas->Brush()->SetColor(clWhite);
    canvas->Rectangle(0, 0, w, h + 1);
    canvas->Brush()->SetColor(clGreen);
    const int filled = static_cast<int>(std::min(std::trunc(w * p), static_cast<double>(w)));
    if (filled > 1)
        canvas->FillRect(TRect { 1, 1, filled, h });

    // The text goes on black so that the inverting copy changes the bar only under the letters.
    const std::string text = ProgressText(p);
    TBitmap letters;
    letters.SetSize(w + 1, h + 1);
    TCanvas* textCanvas = letters.Canvas();
    textCanvas->Brush()->SetColor(clWindowFrame);
    textCanvas->FillRect(TRect { 0, 0, w + 1, h + 1 });
    if (font)
        textCanvas->SetFont(font);
    textCanvas->Font()->SetColor(clWhite);
    textCanvas->Brush()->SetStyle(bsClear);
    textCanvas->TextRect(TRect { 0, 0, w, h + 1 }, (w + 1 - textCanvas->TextWidth(text)) / 2,
        (h + 2 - textCanvas->TextHeight(text)) / 2, text);
    canvas->SetCopyMode(cmSrcInvert);
    canvas->Draw(0, 0, &letters);

    const TCopyMode oldMode = target->CopyMode();
    target->SetCopyMode(cmSrcCopy);
    target->Draw(box.Left, box.Top - 1, &bar);
    target->SetCopyMode(oldMode);
}

// The texts of the batch's progress step.
#include "app/BatchProgress.h"

#include "app/JobList.h"

#include <algorithm>

uint32_t JobSpanSeconds(const TConvertJob& job)
{
    const double start = job.StartTime < 0.0 ? 0.0 : job.StartTime;
    const double end = job.EndTime < 0.0 ? job.VideoInfo.GetDuration() : job.EndTime;
    return WholeSeconds(end - start);
}

std::string ProgressHintText(double position, uint32_t tickCount, double progress)
{
    return "Current Time: " + FormatDuration(WholeSeconds(position)) + "   Time Used: " + FormatDuration(tickCount)
        + "   Percent: " + ProgressText(progress);
}

std::string RemainingTimeText(uint32_t secondsOnJob, double progress)
{
    if (!(progress > 0.0))
        return "-";
    const double remaining = progress >= 1.0 ? 0.0 : secondsOnJob * (1.0 - progress) / progress;
    return FormatDuration(WholeSeconds(remaining));
}

int32_t FramesSinceLastStep(int32_t frames, int32_t framesAtLastStep)
{
    return std::max(frames - framesAtLastStep, 0);
}

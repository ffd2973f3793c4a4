// The texts of the batch's progress step: the clip length of the running job, the progress line of the hint bar,
// the remaining time and the frames decoded since the last step.
#pragma once
#include "engine/TConvertJob.h"

#include <cstdint>
#include <string>

// The length of the part of the source the job converts, in whole seconds: from StartTime (0 when unset) to
// EndTime (the source's duration when unset); 0 when that span is empty.
uint32_t JobSpanSeconds(const TConvertJob& job);

// "Current Time: hh:mm:ss    Time Used: hh:mm:ss    Percent: 12.34": the decoder's position, the progress steps
// since the batch began (about one a second) and the progress, a negative one as 0.
std::string ProgressHintText(double position, uint32_t tickCount, double progress);

// The time the running job still needs, from the seconds it has run and its progress: "-" while nothing is
// done yet, otherwise the seconds that the rate so far gives for the rest (0 once the progress reaches 1).
std::string RemainingTimeText(uint32_t secondsOnJob, double progress);

// The frames decoded since the previous step; 0 when the count went back (a new job starts at 0).
int32_t FramesSinceLastStep(int32_t frames, int32_t framesAtLastStep);

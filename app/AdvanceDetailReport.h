// The plain-text report of the advanced settings window's "Detail" page: the source and its streams, the output
// file and flags, the encoder settings of the job's profile, and the crop and tag values.
#pragma once
#include "engine/Forward.h"

#include <cstdint>
#include <string>
#include <vector>

class TConvertJob;

// What the report takes from the window's edits rather than from the job: the output-file edit's text and the
// four crop edits, truncated to whole pixels.
struct TDetailReportEdits {
    std::string OutputFile;
    int32_t CropLeft = 0;
    int32_t CropRight = 0;
    int32_t CropTop = 0;
    int32_t CropBottom = 0;
};

// Whole seconds as "hh:mm:ss " (trailing blank included), the time text of the advanced window.
std::string FormatAdvanceTime(uint32_t seconds);

// The report on `job`, one entry per memo line. The source comes from the job's probe and its chosen streams;
// the profile name gets "(Changed)" when the last profile of that name in `manager` (which may be null) is no
// longer equal to the job's copy. Without a profile the encoder settings section stays empty.
std::vector<std::string> BuildDetailReport(
    const TConvertJob& job, const TProfileManager* manager, const TDetailReportEdits& edits);

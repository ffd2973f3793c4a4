// The media writer's working state between Open and Close; seen only by TBraskelMediaWriter's sources.
#pragma once
#include "codecs/avcore/AvHandles.h"
#include "codecs/avcore/TAvEncoder.h"
#include "codecs/avcore/TAvPictureScaler.h"
#include "codecs/avcore/TAvSampleQueue.h"
#include "codecs/braskel/TBraskelMediaWriter.h"

#include <cstdint>
#include <limits>

extern "C" {
#include <libavutil/rational.h>
}

struct TBraskelWriterState {
    TAvOutputContextPtr Output;
    // Open's encoder contexts before they are opened, and the free options each of them takes.
    TAvCodecContextPtr VideoSetup;
    TAvCodecContextPtr AudioSetup;
    TBraskelWriterOptions VideoOptions;
    TBraskelWriterOptions AudioOptions;
    // Set once avio_open created the file, so a failed Open knows to remove it.
    bool FileCreated = false;

    // False when the output has no video stream ("disable_video").
    bool HasVideo = false;
    TAvEncoder Video;
    TAvPictureScaler Scaler;
    AVRational FrameRate { 0, 1 };
    // The last picture handed to the encoder, kept to fill gaps on the frame-rate grid.
    TAvFramePtr LastPicture;
    int64_t LastSlot = -1;
    double LastTime = std::numeric_limits<double>::quiet_NaN();
    double LastInterval = 0.0;

    bool HasAudio = false;
    TAvEncoder Audio;
    TAvSampleQueue Samples;
    int AudioSourceChannels = 0;
    // The time stamp of the next audio frame in samples; -1 until the first block places the audio.
    int64_t NextAudioPts = -1;
};

// TEditProfileForm's units of the format pages' lists: each list whose items stand for numbers or names.
#pragma once
#include "app/ProfileChoices.h"
#include "app/TEditProfileForm.h"

struct TEditProfileForm::TChoices {
    explicit TChoices(TEditProfileForm& form);

    TValueChoice AVIFrameRate, AVIVideoCodec, AVIAudioCodec, AVIFrequency, AVIChannels, AVIAudioBitrate;
    TValueChoice MPEGFrameRate, MPEGAudioType, MPEGFrequency, MPEGChannels, MPEGAudioBitrate;
    TValueChoice MP4FrameRate, MP4VideoCodec, MP4Frequency, MP4Channels, MP4AudioBitrate;
    TValueChoice MOVFrameRate, MOVVideoCodec, MOVFrequency, MOVChannels, MOVAudioBitrate;
    TValueChoice FLVFrameRate, FLVFrequency, FLVChannels, FLVAudioBitrate;
    TValueChoice WMVFrameRate, WMVVersion;
    TTextChoice SystemProfile, WMVAudioFormat;
    // The WMV quality a read stores while VBR is off: the shown profile's own.
    int32_t WMVQualityKept = 90;
    TValueChoice RealFrameRate, RealVideoCodec;
    TTextChoice RealAudioFormat;
    // The 3GP lists; the frame-size items stand for the index of their size entry, the others for values.
    TValueChoice Format3GP, VideoCodec3GP, FrameSize3GP, FrameRate3GP, VideoBitrate3GP, AudioCodec3GP, Frequency3GP,
        Channels3GP, AudioBitrate3GP;
};

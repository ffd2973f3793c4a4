// The standard test clips.
#include "codecs/testclips/TTestClip.h"

TTestClipSpec TestClipSpec(TTestClipKind kind)
{
    TTestClipSpec spec;
    TTestVideoStream video;
    TTestAudioStream audio;
    switch (kind) {
    case TTestClipKind::Mp4H264Aac:
        video.Codec = "libx264";
        video.AspectNum = 1;
        spec = { "mp4", 1.0, { video }, { audio } };
        break;
    case TTestClipKind::AviMpeg4Mp3:
        audio.Codec = "libmp3lame";
        spec = { "avi", 1.0, { video }, { audio } };
        break;
    case TTestClipKind::MkvTwoVideoTwoAudio: {
        TTestVideoStream second = video;
        second.Width = 96;
        second.Height = 64;
        second.FrameRateNum = 15;
        TTestAudioStream mono = audio;
        mono.SampleRate = 22050;
        mono.Channels = 1;
        mono.ToneHz = 880.0;
        spec = { "matroska", 1.0, { video, second }, { audio, mono } };
        break;
    }
    case TTestClipKind::Wmv:
        video.Codec = "wmv2";
        audio.Codec = "wmav2";
        spec = { "asf", 1.0, { video }, { audio } };
        break;
    case TTestClipKind::Flv:
        video.Codec = "flv";
        audio.Codec = "libmp3lame";
        spec = { "flv", 1.0, { video }, { audio } };
        break;
    case TTestClipKind::MpegProgram:
        video.Codec = "mpeg1video";
        video.FrameRateNum = 25;
        audio.Codec = "mp2";
        spec = { "mpeg", 1.0, { video }, { audio } };
        break;
    case TTestClipKind::VideoOnly:
        spec = { "mp4", 1.0, { video }, {} };
        break;
    case TTestClipKind::AudioOnly:
        audio.Codec = "libmp3lame";
        spec = { "mp3", 1.0, {}, { audio } };
        break;
    case TTestClipKind::OddSize:
        video.Width = 175;
        video.Height = 143;
        audio.Channels = 1;
        spec = { "mp4", 1.0, { video }, { audio } };
        break;
    }
    return spec;
}

std::string TestClipExtension(TTestClipKind kind)
{
    switch (kind) {
    case TTestClipKind::AviMpeg4Mp3:
        return ".avi";
    case TTestClipKind::MkvTwoVideoTwoAudio:
        return ".mkv";
    case TTestClipKind::Wmv:
        return ".wmv";
    case TTestClipKind::Flv:
        return ".flv";
    case TTestClipKind::MpegProgram:
        return ".mpg";
    case TTestClipKind::AudioOnly:
        return ".mp3";
    default:
        return ".mp4";
    }
}

// TBraskelMediaWriter's Open: the output file, its encoders and streams, built from the recorded settings.
#include "codecs/braskel/BraskelWriterCodecs.h"
#include "codecs/braskel/TBraskelMediaWriter.h"
#include "codecs/braskel/TBraskelWriterState.h"

#include <algorithm>
#include <cstdio>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

using namespace BraskelWriterCodecs;

namespace {

constexpr uint8_t kOk = 0;
constexpr uint8_t kFailed = 1;

std::string WithReason(const std::string& what, int error)
{
    return what + ": " + AvErrorText(error);
}

// Which of the three objects takes a free option: the video encoder for options of video encoding, then the
// audio encoder, then the muxer. FFmpeg's generic names ("b", "g") thus reach the video encoder only.
enum class TOptionTarget { None, Video, Audio, Muxer };

TOptionTarget FindOptionTarget(
    const std::string& name, AVCodecContext* video, AVCodecContext* audio, AVFormatContext* output)
{
    if (video && av_opt_find(video, name.c_str(), nullptr, AV_OPT_FLAG_VIDEO_PARAM, AV_OPT_SEARCH_CHILDREN))
        return TOptionTarget::Video;
    if (audio && av_opt_find(audio, name.c_str(), nullptr, AV_OPT_FLAG_AUDIO_PARAM, AV_OPT_SEARCH_CHILDREN))
        return TOptionTarget::Audio;
    if (av_opt_find(output, name.c_str(), nullptr, AV_OPT_FLAG_ENCODING_PARAM, AV_OPT_SEARCH_CHILDREN))
        return TOptionTarget::Muxer;
    return TOptionTarget::None;
}

// The audio encoder's context for the settings, not opened yet.
TAvCodecContextPtr MakeAudioContext(
    const AVCodec* codec, const TBraskelWriterSettings& settings, const AVOutputFormat* format, bool qualityMode)
{
    TAvCodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context)
        return nullptr;
    context->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    context->sample_rate = SnapSampleRate(codec, format, settings.OutputRate);
    ChooseChannelLayout(codec, settings.OutputChannels, &context->ch_layout);
    if (qualityMode) {
        // libvorbis refuses bit rates outside its tables for the rate and channels; a middle quality always works.
        context->flags |= AV_CODEC_FLAG_QSCALE;
        context->global_quality = 4 * FF_QP2LAMBDA;
    } else
        context->bit_rate = SnapAudioBitRate(codec, context->sample_rate, settings.AudioBitRate);
    if (settings.BitExact)
        context->flags |= AV_CODEC_FLAG_BITEXACT;
    if (format->flags & AVFMT_GLOBALHEADER)
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    return context;
}

// Sets the free options meant for an encoder on its context; false with the failing option in `failed`.
bool SetOptions(AVCodecContext* context, const TBraskelWriterOptions& options, std::string& failed)
{
    for (const auto& [name, value] : options) {
        const int error = av_opt_set(context, name.c_str(), value.c_str(), AV_OPT_SEARCH_CHILDREN);
        if (error < 0) {
            failed = WithReason("bad value \"" + value + "\" of option " + name, error);
            return false;
        }
    }
    return true;
}

} // namespace

uint8_t TBraskelMediaWriter::Open()
{
    if (FOpen)
        return Fail("the writer is already open");
    FState = std::make_unique<TBraskelWriterState>();
    if (!CheckSettings() || !CreateOutput() || !SetUpVideo() || !SetUpAudio() || !SortFreeOptions() || !OpenEncoders()
        || !WriteHeader()) {
        Discard();
        return kFailed;
    }
    FOpen = true;
    FWrittenSize = 0;
    FError.clear();
    return kOk;
}

bool TBraskelMediaWriter::CheckSettings()
{
    if (FPath.empty())
        return Failed("no output path");
    if (FSettings.Format.empty())
        return Failed("no container set");
    if (FSettings.DisableVideo) {
        // Audio alone; a file with no stream at all is nothing anyone could play.
        if (FSettings.AudioCodec.empty())
            return Failed("neither video nor audio to write");
    } else if (FSettings.VideoCodec.empty() || !FSettings.HasVideoParams)
        return Failed("no video codec or video parameters set");
    if (!FSettings.AudioCodec.empty() && !FSettings.HasAudioParams)
        return Failed("no audio parameters set");
    return true;
}

bool TBraskelMediaWriter::CreateOutput()
{
    AVFormatContext* output = nullptr;
    const int error = avformat_alloc_output_context2(&output, nullptr, FSettings.Format.c_str(), FPath.c_str());
    if (error < 0 || !output)
        return Failed(WithReason("cannot set up the container " + FSettings.Format, error));
    FState->Output.reset(output);
    if (FSettings.BitExact)
        output->flags |= AVFMT_FLAG_BITEXACT;

    // The five tags; "author" is also given as "artist", the name most containers store it under.
    AVDictionary** metadata = &output->metadata;
    const auto tag = [&](const char* key, const std::string& value) {
        if (!value.empty())
            av_dict_set(metadata, key, value.c_str(), 0);
    };
    tag("title", FSettings.Title);
    tag("author", FSettings.Author);
    tag("artist", FSettings.Author);
    tag("copyright", FSettings.Copyright);
    tag("comment", FSettings.Comment);
    tag("date", FSettings.Date);
    return true;
}

bool TBraskelMediaWriter::SetUpVideo()
{
    const TBraskelWriterSettings& settings = FSettings;
    if (settings.DisableVideo)
        return true;
    const AVOutputFormat* format = FState->Output->oformat;
    const AVCodec* codec = FindVideoEncoder(settings.VideoCodec);
    if (!codec)
        return Failed("no video encoder for " + settings.VideoCodec);
    TAvCodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context)
        return Failed("out of memory");

    int width = settings.OutputWidth;
    int height = settings.OutputHeight;
    SnapVideoSize(codec, width, height);
    context->width = width;
    context->height = height;
    context->pix_fmt = AVPixelFormat(VideoPixelFormat(codec));
    FState->FrameRate = VideoFrameRate(codec, settings.FrameRate);
    context->framerate = FState->FrameRate;
    context->time_base = av_inv_q(FState->FrameRate);
    // Let the encoder pick its thread count, as the ffmpeg command line does.
    context->thread_count = 0;
    if (settings.BitExact)
        context->flags |= AV_CODEC_FLAG_BITEXACT;
    if (format->flags & AVFMT_GLOBALHEADER)
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

    // Rate control. A maximum of 0 means none; a maximum below the average is raised to it and a minimum above
    // it lowered, since every encoder refuses an average outside its bounds.
    const int64_t bitRate = settings.VideoBitRate;
    if (bitRate > 0)
        context->bit_rate = bitRate;
    if (settings.RcMaxRate > 0)
        context->rc_max_rate = std::max(settings.RcMaxRate, bitRate);
    if (settings.RcMinRate > 0 && KeepsMinimumRate(codec))
        context->rc_min_rate = bitRate > 0 ? std::min(settings.RcMinRate, bitRate) : settings.RcMinRate;
    if (context->rc_min_rate > 0 && context->rc_max_rate > 0)
        context->rc_min_rate = std::min(context->rc_min_rate, context->rc_max_rate);
    if (settings.RcBufferSize > 0)
        context->rc_buffer_size = int(settings.RcBufferSize);
    else if (context->rc_max_rate > 0)
        context->rc_buffer_size = int(std::min<int64_t>(context->rc_max_rate, INT32_MAX));
    if (settings.BitRateTolerance > 0)
        context->bit_rate_tolerance = int(settings.BitRateTolerance);

    // The picture: crop, scale, and either fit it inside the frame with bars or stretch it over the frame.
    TAvPictureLayout layout;
    layout.SourceWidth = settings.SourceWidth;
    layout.SourceHeight = settings.SourceHeight;
    layout.SourceCode = TAvColorCode(settings.ColorFormat);
    layout.Crop = TAvCrop { settings.CropLeft, settings.CropRight, settings.CropTop, settings.CropBottom };
    layout.OutputWidth = width;
    layout.OutputHeight = height;
    layout.OutputPixelFormat = context->pix_fmt;
    layout.Fit = settings.FixAspectRatio;
    if (settings.FrameAspectNum > 0)
        layout.SourceAspect = double(settings.FrameAspectNum) / settings.FrameAspectDen;
    if (FState->Scaler.Init(layout) != TAvStatus::Ok)
        return Failed("cannot convert the frames: " + FState->Scaler.ErrorText());
    if (settings.FrameAspectNum > 0 && !settings.FixAspectRatio) {
        // The stretched picture keeps its shape on screen through the pixel aspect: the cropped source's display
        // aspect spread over the coded size. 255 keeps it within what MPEG-4 and H.263 can signal.
        const int64_t cropWidth = int64_t(settings.SourceWidth) - settings.CropLeft - settings.CropRight;
        const int64_t cropHeight = int64_t(settings.SourceHeight) - settings.CropTop - settings.CropBottom;
        av_reduce(&context->sample_aspect_ratio.num, &context->sample_aspect_ratio.den,
            int64_t(settings.FrameAspectNum) * cropWidth * settings.SourceHeight * height,
            int64_t(settings.FrameAspectDen) * cropHeight * settings.SourceWidth * width, 255);
    } else if (settings.FixAspectRatio)
        context->sample_aspect_ratio = AVRational { 1, 1 };

    if (settings.VideoCodecTag) {
        if (ContainerTakesTag(format, codec->id, settings.VideoCodecTag))
            context->codec_tag = settings.VideoCodecTag;
        else
            av_log(nullptr, AV_LOG_INFO, "The container %s has no tag %.4s for %s; its own tag is used.\n",
                format->name, reinterpret_cast<const char*>(&settings.VideoCodecTag), codec->name);
    }
    // Opened once the free options are applied.
    FState->VideoSetup = std::move(context);
    return true;
}

bool TBraskelMediaWriter::SetUpAudio()
{
    const TBraskelWriterSettings& settings = FSettings;
    if (settings.AudioCodec.empty())
        return true;
    const AVOutputFormat* format = FState->Output->oformat;
    const AVCodec* codec = FindAudioEncoder(settings.AudioCodec);
    if (!codec)
        return Failed("no audio encoder for " + settings.AudioCodec);
    FState->AudioSetup = MakeAudioContext(AudioEncoderForContainer(codec, format), settings, format, false);
    return FState->AudioSetup != nullptr || Failed("out of memory");
}

bool TBraskelMediaWriter::SortFreeOptions()
{
    TBraskelWriterState& state = *FState;
    AVFormatContext* output = state.Output.get();
    for (const auto& [name, value] : FSettings.FreeOptions) {
        switch (FindOptionTarget(name, state.VideoSetup.get(), state.AudioSetup.get(), output)) {
        case TOptionTarget::None:
            av_log(nullptr, AV_LOG_WARNING, "Ignoring the option \"%s\": no encoder or container knows it.\n",
                name.c_str());
            break;
        case TOptionTarget::Video:
            state.VideoOptions.emplace_back(name, value);
            break;
        case TOptionTarget::Audio:
            state.AudioOptions.emplace_back(name, value);
            break;
        case TOptionTarget::Muxer:
            if (const int error = av_opt_set(output, name.c_str(), value.c_str(), AV_OPT_SEARCH_CHILDREN); error < 0)
                return Failed(WithReason("bad value \"" + value + "\" of option " + name, error));
            break;
        }
    }
    return true;
}

bool TBraskelMediaWriter::OpenEncoders()
{
    std::string failed;
    if (AVCodecContext* video = FState->VideoSetup.get(); video && !OpenVideoEncoder(video, failed))
        return Failed(failed);
    return OpenAudioEncoder();
}

bool TBraskelMediaWriter::OpenVideoEncoder(AVCodecContext* video, std::string& failed)
{
    TBraskelWriterState& state = *FState;
    AVFormatContext* output = state.Output.get();
    if (!SetOptions(video, state.VideoOptions, failed))
        return false;
    // A free option may have changed the coded size or pixel format; the frames must follow it.
    const TAvPictureLayout& layout = state.Scaler.Layout();
    if (video->width != layout.OutputWidth || video->height != layout.OutputHeight
        || video->pix_fmt != layout.OutputPixelFormat) {
        TAvPictureLayout changed = layout;
        changed.OutputWidth = video->width;
        changed.OutputHeight = video->height;
        changed.OutputPixelFormat = video->pix_fmt;
        if (state.Scaler.Init(changed) != TAvStatus::Ok) {
            failed = "cannot convert the frames: " + state.Scaler.ErrorText();
            return false;
        }
    }
    if (state.Video.Open(std::move(state.VideoSetup), output) != TAvStatus::Ok) {
        failed = state.Video.ErrorText();
        return false;
    }
    state.HasVideo = true;
    return true;
}

bool TBraskelMediaWriter::OpenAudioEncoder()
{
    TBraskelWriterState& state = *FState;
    AVFormatContext* output = state.Output.get();
    std::string failed;
    if (!state.AudioSetup)
        return true;
    const AVCodec* codec = state.AudioSetup->codec;
    if (!SetOptions(state.AudioSetup.get(), state.AudioOptions, failed))
        return Failed(failed);
    state.AudioSetup->time_base = AVRational { 1, state.AudioSetup->sample_rate };
    if (state.Audio.Open(std::move(state.AudioSetup), output) != TAvStatus::Ok) {
        if (codec->id != AV_CODEC_ID_VORBIS)
            return Failed(state.Audio.ErrorText());
        // A failed open adds no stream, so a second context in quality mode can simply take its place.
        TAvCodecContextPtr retry = MakeAudioContext(codec, FSettings, output->oformat, true);
        if (!retry || !SetOptions(retry.get(), state.AudioOptions, failed))
            return Failed(failed.empty() ? "out of memory" : failed);
        retry->time_base = AVRational { 1, retry->sample_rate };
        if (state.Audio.Open(std::move(retry), output) != TAvStatus::Ok)
            return Failed(state.Audio.ErrorText());
    }
    if (state.Samples.Init(FSettings.SourceRate, FSettings.SourceChannels, state.Audio.Context()) != TAvStatus::Ok)
        return Failed("cannot convert the audio for " + std::string(codec->name));
    state.HasAudio = true;
    state.AudioSourceChannels = FSettings.SourceChannels;
    return true;
}

bool TBraskelMediaWriter::WriteHeader()
{
    AVFormatContext* output = FState->Output.get();
    if (!(output->oformat->flags & AVFMT_NOFILE)) {
        // Always a local file: without the prefix, a name such as "http:clip.mp4" would pick a network protocol.
        const int error = avio_open(&output->pb, ("file:" + FPath).c_str(), AVIO_FLAG_WRITE);
        if (error < 0)
            return Failed(WithReason("cannot create " + FPath, error));
        FState->FileCreated = true;
    }
    const int error = avformat_write_header(output, nullptr);
    if (error < 0)
        return Failed(WithReason("cannot write the header of " + FPath, error));
    return true;
}

void TBraskelMediaWriter::Discard()
{
    if (FState) {
        const bool created = FState->FileCreated;
        // The output context's deleter closes the file before the state goes.
        FState.reset();
        // A file this Open created holds at most a part of a header: nothing anyone can use.
        if (created)
            std::remove(FPath.c_str());
    }
}

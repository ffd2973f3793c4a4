#include "codecs/avcore/TAvDemuxer.h"

#include <algorithm>
#include <cmath>
#include <limits>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/mathematics.h>
}

namespace {

// Degrees clockwise that turn the stream's frames upright, from its display matrix (a track matrix in MP4 and
// MOV), rounded to a quarter turn; 0 when it has none. FFmpeg reads a matrix as a counterclockwise turn.
int StreamRotation(const AVStream* stream)
{
    const auto* matrix
        = reinterpret_cast<const int32_t*>(av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr));
    if (!matrix)
        return 0;
    const double counterclockwise = av_display_rotation_get(matrix);
    if (!std::isfinite(counterclockwise))
        return 0;
    const long quarters = std::lround(-counterclockwise / 90.0);
    return int(((quarters % 4) + 4) % 4) * 90;
}

TAvStreamInfo DescribeStream(AVFormatContext* context, AVStream* stream)
{
    TAvStreamInfo info;
    const AVCodecParameters* parameters = stream->codecpar;
    info.Index = stream->index;
    info.CodecName = avcodec_get_name(parameters->codec_id);
    if (info.CodecName.size() > 31)
        info.CodecName.resize(31);
    const bool known = parameters->codec_id != AV_CODEC_ID_NONE;
    if (parameters->codec_type == AVMEDIA_TYPE_VIDEO && known && parameters->width > 0 && parameters->height > 0
        && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
        info.Kind = TAvMediaKind::Video;
        info.Width = parameters->width;
        info.Height = parameters->height;
        const AVRational sampleAspect = av_guess_sample_aspect_ratio(context, stream, nullptr);
        if (sampleAspect.num > 0 && sampleAspect.den > 0) {
            av_reduce(&info.AspectX, &info.AspectY, int64_t(info.Width) * sampleAspect.num,
                int64_t(info.Height) * sampleAspect.den, 1 << 30);
        }
        info.Rotation = StreamRotation(stream);
        if (info.Rotation == 90 || info.Rotation == 270) {
            std::swap(info.Width, info.Height);
            if (info.AspectX != 0)
                std::swap(info.AspectX, info.AspectY);
        }
        AVRational rate = stream->avg_frame_rate;
        if (rate.num <= 0 || rate.den <= 0)
            rate = stream->r_frame_rate;
        if (rate.num > 0 && rate.den > 0)
            info.FrameRate = av_q2d(rate);
    } else if (parameters->codec_type == AVMEDIA_TYPE_AUDIO && known && parameters->sample_rate > 0
        && parameters->ch_layout.nb_channels > 0) {
        info.Kind = TAvMediaKind::Audio;
        info.SampleRate = parameters->sample_rate;
        info.Channels = parameters->ch_layout.nb_channels;
    }
    return info;
}

} // namespace

TAvDemuxer::TAvDemuxer() = default;
TAvDemuxer::~TAvDemuxer() = default;

TAvStatus TAvDemuxer::Fail(int error, const std::string& what)
{
    FErrorText = what + ": " + AvErrorText(error);
    return AvStatusFromError(error);
}

TAvStatus TAvDemuxer::Open(const std::string& fileName)
{
    Close();
    if (fileName.empty()) {
        FErrorText = "no file name";
        return TAvStatus::InvalidArgument;
    }
    AVFormatContext* raw = nullptr;
    int error = avformat_open_input(&raw, fileName.c_str(), nullptr, nullptr);
    if (error < 0)
        return Fail(error, "cannot open " + fileName);
    TAvInputContextPtr context(raw);
    error = avformat_find_stream_info(context.get(), nullptr);
    if (error < 0)
        return Fail(error, "cannot read the streams of " + fileName);

    std::vector<TAvStreamInfo> streams;
    bool decodable = false;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        streams.push_back(DescribeStream(context.get(), context->streams[i]));
        decodable = decodable || streams.back().Kind != TAvMediaKind::Other;
    }
    if (!decodable) {
        FErrorText = fileName + " has no audio or video stream";
        return TAvStatus::Unsupported;
    }

    FStartOffset = context->start_time != AV_NOPTS_VALUE ? context->start_time / double(AV_TIME_BASE) : 0.0;
    FDuration = 0.0;
    if (context->duration != AV_NOPTS_VALUE && context->duration > 0) {
        FDuration = context->duration / double(AV_TIME_BASE);
    } else {
        for (unsigned i = 0; i < context->nb_streams; ++i) {
            const AVStream* stream = context->streams[i];
            if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
                FDuration = std::max(FDuration, stream->duration * av_q2d(stream->time_base));
        }
    }
    FStreams = std::move(streams);
    FContext = std::move(context);
    FErrorText.clear();
    return TAvStatus::Ok;
}

void TAvDemuxer::Close()
{
    FContext.reset();
    FStreams.clear();
    FDuration = 0.0;
    FStartOffset = 0.0;
}

AVStream* TAvDemuxer::Stream(int index) const
{
    if (!FContext || index < 0 || unsigned(index) >= FContext->nb_streams)
        return nullptr;
    return FContext->streams[index];
}

TAvStatus TAvDemuxer::ReadPacket(AVPacket* packet)
{
    if (!FContext)
        return TAvStatus::InvalidState;
    const int error = av_read_frame(FContext.get(), packet);
    if (error == AVERROR_EOF)
        return TAvStatus::EndOfStream;
    if (error < 0)
        return Fail(error, "read error");
    return TAvStatus::Ok;
}

TAvStatus TAvDemuxer::Seek(double seconds, int streamIndex)
{
    AVStream* stream = Stream(streamIndex);
    if (!stream)
        return TAvStatus::InvalidState;
    const double fileTime = std::max(0.0, seconds) + FStartOffset;
    const int64_t target = int64_t(std::floor(fileTime / av_q2d(stream->time_base)));
    int error = av_seek_frame(FContext.get(), streamIndex, target, AVSEEK_FLAG_BACKWARD);
    if (error < 0) {
        // Some demuxers only seek through the generic index; ask for any position not after the target.
        const int64_t global = int64_t(fileTime * AV_TIME_BASE);
        error = avformat_seek_file(FContext.get(), -1, std::numeric_limits<int64_t>::min(), global, global, 0);
    }
    if (error < 0 && seconds <= 0.0)
        error = avformat_seek_file(FContext.get(), -1, 0, 0, 0, AVSEEK_FLAG_BYTE);
    if (error < 0)
        return Fail(error, "cannot seek");
    return TAvStatus::Ok;
}

double TAvDemuxer::TimeOf(int64_t timestamp, int streamIndex) const
{
    const AVStream* stream = Stream(streamIndex);
    if (!stream || timestamp == AV_NOPTS_VALUE)
        return std::numeric_limits<double>::quiet_NaN();
    return timestamp * av_q2d(stream->time_base) - FStartOffset;
}

int TAvDemuxer::BestStream(TAvMediaKind kind) const
{
    if (!FContext || kind == TAvMediaKind::Other)
        return -1;
    const AVMediaType type = kind == TAvMediaKind::Video ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO;
    const int index = av_find_best_stream(FContext.get(), type, -1, -1, nullptr, 0);
    return index >= 0 ? index : -1;
}

#include "codecs/avcore/TAvStatus.h"

#include <cerrno>

extern "C" {
#include <libavutil/error.h>
}

TAvStatus AvStatusFromError(int error)
{
    if (error >= 0)
        return TAvStatus::Ok;
    switch (error) {
    case AVERROR(EAGAIN):
        return TAvStatus::NeedsInput;
    case AVERROR_EOF:
        return TAvStatus::EndOfStream;
    case AVERROR(ENOMEM):
        return TAvStatus::NoMemory;
    case AVERROR(EINVAL):
        return TAvStatus::InvalidArgument;
    case AVERROR_DECODER_NOT_FOUND:
    case AVERROR_DEMUXER_NOT_FOUND:
    case AVERROR_STREAM_NOT_FOUND:
    case AVERROR_PATCHWELCOME:
    case AVERROR(ENOSYS):
        return TAvStatus::Unsupported;
    case AVERROR_INVALIDDATA:
    case AVERROR_BUG:
        return TAvStatus::Corrupt;
    default:
        return TAvStatus::IoError;
    }
}

std::string AvErrorText(int error)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof(text));
    return text;
}

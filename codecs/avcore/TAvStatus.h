// The outcome categories of every FFmpeg-facing operation in the codec libraries, and the mapping from FFmpeg errors.
#pragma once
#include <string>

// The codec libraries report failures as values, never as exceptions; the detail text stays in the object
// that failed, and each library interface turns a status into the result its callers expect.
enum class TAvStatus {
    Ok,
    NeedsInput, // The decoder wants another packet before it can give a frame.
    EndOfStream, // Nothing more will come.
    Corrupt, // The data is not what it claims to be.
    NoMemory,
    IoError, // The file is missing, unreadable or cut short.
    Unsupported, // No decoder or no conversion for this input.
    InvalidArgument, // The caller passed a value outside the contract.
    InvalidState, // The operation does not fit the object's current state.
};

// The category of an FFmpeg error code (a negative AVERROR value); 0 and above are Ok.
TAvStatus AvStatusFromError(int error);

// FFmpeg's text for an error code ("No such file or directory").
std::string AvErrorText(int error);

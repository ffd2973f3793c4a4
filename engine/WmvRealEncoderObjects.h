// The encoder objects of the two run-time encoder libraries: TWMVEncoderObject (Windows Media) and TRealEncoderObject.
#pragma once
#include "engine/Forward.h"
#include "engine/TEncoderObject.h"

#include <string>
#include <string_view>

class FrameScaler;

// Both objects scale each frame with the codec library's frame scaler to the output size in colour code 5, hand it
// to their library through the resource holder's binding, and hand audio blocks over unchanged. The libraries keep
// the encoder state themselves, so one conversion at a time can use each.
//
// Without the resource holder's binding of its library (the library is missing or unusable), or without a frame
// scaler, an object configures nothing, Open and the writes fail, and its destructor leaves the library alone.

// Windows Media through WM9EncoderDllWarper. Output sizes are even.
class TWMVEncoderObject final : public TEncoderObject {
    using inherited = TEncoderObject;

public:
    // The base's arguments; then the frame scaler is created (Scaler stays null when that fails).
    TWMVEncoderObject(std::string outputPath, int32_t sourceWidth, int32_t sourceHeight, int32_t colorFormat,
        double sourceFrameRate, int32_t sampleRate, int32_t channels, bool fixAspectRatio, bool disableAudio,
        int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2,
        int32_t extra3, int32_t extra4);
    // Ends the library's encoding (also when it never began or already ended), then releases the scaler.
    ~TWMVEncoderObject() override;

    // Sets the scaler and the library up from the profile; the library's answers are not examined.
    void Configure(const TWMVProfile& profile);

    // Sends the tags and begins encoding; true when the library began. With DisableVideo the input is described
    // again as audio only first.
    bool Open() override;
    // Ends encoding; true when the library finished the file.
    bool Close() override;
    bool WriteVideo(const uint8_t* frame, double startTime, double endTime) override;
    bool WriteAudio(const uint8_t* samples, int32_t byteCount, double startTime, double endTime) override;
    int64_t GetOutputSize() override;

    // The audio codec names the object (and the resource holder) accept, compared exactly: "Windows Media Audio"
    // and 8, 9 or 10, alone or with one decimal from .0 to .9.
    static bool IsAudioCodecName(std::string_view name);
    // Whether a video codec name suits the profile's WMV_Version: 0 accepts version 7, 8 and 9 names, 1 version 8
    // and 9 names, 2 version 9 names, any other value none. A version N name is "Windows Media Video N" or that
    // with ".1" to ".9", or "Windows Media Video VN.1" to "VN.9".
    static bool IsVideoCodecName(std::string_view name, int version);

    // The codec library's frame scaler, owned; null when creating it failed.
    FrameScaler* Scaler = nullptr;

private:
    // Keeps the library's reason for its last refusal in ErrorText; returns false.
    bool KeepReason(WM9EncoderDllWarper* dll);

    // The output size Configure worked out, for describing the input again.
    int32_t OutputWidth = 0;
    int32_t OutputHeight = 0;
};

// RealMedia through RealEncoderDllWarper. Output sizes are multiples of 4. Each Configure starts the binding on a
// fresh encoder handle.
class TRealEncoderObject final : public TEncoderObject {
    using inherited = TEncoderObject;

public:
    // The base's arguments; then the frame scaler is created (Scaler stays null when that fails).
    TRealEncoderObject(std::string outputPath, int32_t sourceWidth, int32_t sourceHeight, int32_t colorFormat,
        double sourceFrameRate, int32_t sampleRate, int32_t channels, bool fixAspectRatio, bool disableAudio,
        int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2,
        int32_t extra3, int32_t extra4);
    // Closes, then releases the scaler.
    ~TRealEncoderObject() override;

    // Sets the scaler and the library up from the profile. A refused destination file or media profile ends it
    // early; Open then still asks the library to begin and reports its answer.
    void Configure(const TRealProfile& profile);

    // Sends the tags and begins encoding; false when the library refuses either. With DisableVideo the input is
    // described again as audio only first.
    bool Open() override;
    // Ends the library's run once: true at once when it is not open.
    bool Close() override;
    bool WriteVideo(const uint8_t* frame, double startTime, double endTime) override;
    bool WriteAudio(const uint8_t* samples, int32_t byteCount, double startTime, double endTime) override;
    int64_t GetOutputSize() override;

    // The codec library's frame scaler, owned; null when creating it failed.
    FrameScaler* Scaler = nullptr;
    // True from construction until a successful Open, and again after Close.
    bool Closed = true;

private:
    // Keeps the library's reason for its last refusal in ErrorText; returns false.
    bool KeepReason(RealEncoderDllWarper* dll);

    int32_t OutputWidth = 0;
    int32_t OutputHeight = 0;
};

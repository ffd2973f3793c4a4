// Program folders holding the encoder libraries (or their test variants), and fake entry points that record calls.
#pragma once
#include "engine/RealEncoderDllWarper.h"
#include "engine/TResourceForm.h"
#include "engine/WM9EncoderDllWarper.h"
#include "framework/core/Exception.h"
#include "tests/engine/EngineTestSupport.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

// The library files the build made, by target name (see tests/engine/CMakeLists.txt).
constexpr const char* kSorvane = TP_LIBRARY_Sorvane;
constexpr const char* kTiberl = TP_LIBRARY_Tiberl;
constexpr const char* kSorvaneWithoutSetVideoTag = TP_LIBRARY_SorvaneWithoutSetVideoTag;
constexpr const char* kSorvaneWithoutEncodeSample = TP_LIBRARY_SorvaneWithoutEncodeSample;
constexpr const char* kSorvaneInitFails = TP_LIBRARY_SorvaneInitFails;
constexpr const char* kTiberlWithoutSetParamsMode = TP_LIBRARY_TiberlWithoutSetParamsMode;
constexpr const char* kTiberlWithoutStartDo2Pass = TP_LIBRARY_TiberlWithoutStartDo2Pass;
// Stands for a file that is there under the library's name but is no library.
constexpr const char* kNotALibrary = "not a library";

// A fresh temporary folder that ProgramFolder() points at while it lives, holding the chosen library files under
// the names the program loads (null leaves a library out).
class TLibraryFolder {
public:
    TLibraryFolder(const char* sorvane, const char* tiberl)
    {
        Place(sorvane, WM9EncoderDllWarper::LibraryName);
        Place(tiberl, RealEncoderDllWarper::LibraryName);
    }
    const std::string& Path() const { return Folder.Path(); }
    std::string File(std::string_view name) const { return Folder.File(name); }

private:
    void Place(const char* file, const char* name)
    {
        if (!file)
            return;
        if (std::strcmp(file, kNotALibrary) == 0)
            WriteText(Folder.File(name), "This is no shared object.\n");
        else
            std::filesystem::create_symlink(file, Folder.File(name));
    }

    TTempFolder Folder;
    TProgramFolderScope Scope { Folder.Path() };
};

// The resource holder made in the current program folder, set as ResourceForm while the scope lives.
class TResourceFormScope {
public:
    TResourceFormScope()
        : Form(std::make_unique<TResourceForm>(nullptr))
    {
        ResourceForm = Form.get();
    }
    ~TResourceFormScope() { Form.reset(); }
    TResourceFormScope(const TResourceFormScope&) = delete;
    TResourceFormScope& operator=(const TResourceFormScope&) = delete;

    TResourceForm* operator->() const { return Form.get(); }
    std::unique_ptr<TResourceForm> Form;
};

// ---- Fake entry points -----------------------------------------------------------------------------------------

// What the fake libraries report, and every call they took as text ("WMV_SetVideoBitrate(768000)"), in order.
struct TFakeLibraries {
    std::vector<std::string> Calls;
    std::vector<std::string> WmvAudioCodecs { "Windows Media Audio 9.2" };
    std::vector<std::string> WmvAudioFormats { "64 kbps, 44 kHz, stereo CBR" };
    std::vector<std::string> WmvVideoCodecs { "Windows Media Video 8", "Windows Media Video 7" };
    std::vector<std::string> WmvSystemProfiles;
    std::vector<std::string> RealAudioCodecs { "44 Kbps Music - RealAudio (music)" };
    int32_t Result = 1; // Of every entry point with a result not listed below.
    int32_t BeginResult = 1;
    int32_t EndResult = 1;
    int32_t EncodeResult = 1;
    int32_t DestinationResult = 1;
    int32_t MediaProfileResult = 1;
    int32_t TagResult = 1;
    int32_t WmvOutputSize = 0;
    uint32_t RealOutputSize = 0;
    bool ThrowOnEncode = false; // The encode calls raise the framework's exception.
    // When not empty, the formats of each codec in place of WmvAudioFormats.
    std::vector<std::vector<std::string>> WmvAudioFormatsPerCodec;
    RealEncoderHandle NextHandle = 7;
    std::vector<RealManualSettings> Blocks;
    const void* LastSamples = nullptr;
    const void* LastFrame = nullptr;
};

// The one fake state; each test starts it afresh with ResetFakeLibraries.
inline TFakeLibraries& FakeLibraries()
{
    static TFakeLibraries fake;
    return fake;
}

inline void ResetFakeLibraries()
{
    FakeLibraries() = TFakeLibraries();
}

inline void AppendArguments(std::ostringstream&)
{
}

template <class TFirst, class... TRest> void AppendArguments(std::ostringstream& out, TFirst first, TRest... rest)
{
    if constexpr (std::is_same_v<TFirst, const char*>)
        out << '"' << (first ? first : "(null)") << '"';
    else if constexpr (std::is_same_v<TFirst, uint8_t>)
        out << int(first);
    else
        out << first;
    if constexpr (sizeof...(rest) > 0) {
        out << ", ";
        AppendArguments(out, rest...);
    }
}

template <class... TArgs> void RecordCall(const char* name, TArgs... args)
{
    std::ostringstream out;
    out << name << '(';
    AppendArguments(out, args...);
    out << ')';
    FakeLibraries().Calls.push_back(out.str());
}

inline void FakeName(const std::vector<std::string>& names, int32_t index, char* buffer)
{
    const std::string name = index >= 0 && size_t(index) < names.size() ? names[size_t(index)] : "";
    std::snprintf(buffer, 1024, "%s", name.c_str());
}

inline const std::vector<std::string>& FakeAudioFormats(int32_t codec)
{
    static const std::vector<std::string> none;
    const TFakeLibraries& fake = FakeLibraries();
    if (fake.WmvAudioFormatsPerCodec.empty())
        return fake.WmvAudioFormats;
    return codec >= 0 && size_t(codec) < fake.WmvAudioFormatsPerCodec.size()
        ? fake.WmvAudioFormatsPerCodec[size_t(codec)]
        : none;
}

inline int32_t FakeEncodeResult()
{
    if (FakeLibraries().ThrowOnEncode)
        throw Exception("the library raised");
    return FakeLibraries().EncodeResult;
}

// Makes the binding a usable one whose entry points are the recording fakes. Name getters and counts are recorded
// only by name, so the lists read back stay short in the call log.
inline void InstallFakeSorvane(WM9EncoderDllWarper& binding)
{
    TSorvaneEntryPoints& e = binding.EntryPoints;
    e.WMV_Init = [] {
        RecordCall("WMV_Init");
        return FakeLibraries().Result;
    };
    e.WMV_Uninit = [] {
        RecordCall("WMV_Uninit");
        return FakeLibraries().Result;
    };
    e.WMV_SetLanguage = [](int32_t a) { RecordCall("WMV_SetLanguage", a); };
    e.WMV_SetUseSMPTEStream = [](uint8_t a) { RecordCall("WMV_SetUseSMPTEStream", a); };
    e.WMV_GetAudioCodecCount = [] {
        RecordCall("WMV_GetAudioCodecCount");
        return int32_t(FakeLibraries().WmvAudioCodecs.size());
    };
    e.WMV_GetAudioCodecName = [](int32_t i, char* b) {
        RecordCall("WMV_GetAudioCodecName", i);
        FakeName(FakeLibraries().WmvAudioCodecs, i, b);
    };
    e.WMV_GetAudioFormatCount = [](int32_t c) {
        RecordCall("WMV_GetAudioFormatCount", c);
        return int32_t(FakeAudioFormats(c).size());
    };
    e.WMV_GetAudioFormat = [](int32_t c, int32_t i, char* b) {
        RecordCall("WMV_GetAudioFormat", c, i);
        FakeName(FakeAudioFormats(c), i, b);
    };
    e.WMV_SetAudioCodecAndFormat = [](int32_t c, int32_t f) { RecordCall("WMV_SetAudioCodecAndFormat", c, f); };
    e.WMV_SetAudioUseUncompressed = [](uint8_t a) { RecordCall("WMV_SetAudioUseUncompressed", a); };
    e.WMV_SetAudioBufferWindow = [](int32_t a) { RecordCall("WMV_SetAudioBufferWindow", a); };
    e.WMV_GetVideoCodecCount = [] {
        RecordCall("WMV_GetVideoCodecCount");
        return int32_t(FakeLibraries().WmvVideoCodecs.size());
    };
    e.WMV_GetVideoCodecName = [](int32_t i, char* b) {
        RecordCall("WMV_GetVideoCodecName", i);
        FakeName(FakeLibraries().WmvVideoCodecs, i, b);
    };
    e.WMV_SetVideoCodec = [](int32_t a) { RecordCall("WMV_SetVideoCodec", a); };
    e.WMV_SetVideoUseUncompressed = [](uint8_t a) { RecordCall("WMV_SetVideoUseUncompressed", a); };
    e.WMV_SetVideoUseVBR = [](uint8_t a) { RecordCall("WMV_SetVideoUseVBR", a); };
    e.WMV_SetVideoVBRMode = [](int32_t a) { RecordCall("WMV_SetVideoVBRMode", a); };
    e.WMV_SetVideoBufferWindow = [](int32_t a) { RecordCall("WMV_SetVideoBufferWindow", a); };
    e.WMV_SetVideoBitrate = [](int32_t a) { RecordCall("WMV_SetVideoBitrate", a); };
    e.WMV_SetVideoQuality = [](int32_t a) { RecordCall("WMV_SetVideoQuality", a); };
    e.WMV_SetVideoVBRMaxBitrate = [](int32_t a) { RecordCall("WMV_SetVideoVBRMaxBitrate", a); };
    e.WMV_SetVideoVBRMaxBuffer = [](int32_t a) { RecordCall("WMV_SetVideoVBRMaxBuffer", a); };
    e.WMV_SetVideoVBRQuality = [](int32_t a) { RecordCall("WMV_SetVideoVBRQuality", a); };
    e.WMV_SetVideoWidth = [](int32_t a) { RecordCall("WMV_SetVideoWidth", a); };
    e.WMV_SetVideoHeight = [](int32_t a) { RecordCall("WMV_SetVideoHeight", a); };
    e.WMV_SetVideoFPS = [](double a) { RecordCall("WMV_SetVideoFPS", a); };
    e.WMV_SetVideoSecsKeyframe = [](int32_t a) { RecordCall("WMV_SetVideoSecsKeyframe", a); };
    e.WMV_SetInputParms = [](uint8_t v, uint8_t a, int32_t w, int32_t h, double fps, int32_t c, int32_t r, int32_t n) {
        RecordCall("WMV_SetInputParms", v, a, w, h, fps, c, r, n);
    };
    e.WMV_BeginEncoding = [] {
        RecordCall("WMV_BeginEncoding");
        return FakeLibraries().BeginResult;
    };
    e.WMV_EndEncoding = [] {
        RecordCall("WMV_EndEncoding");
        return FakeLibraries().EndResult;
    };
    e.WMV_EncodeVideoSample = [](const void* frame, double t) {
        RecordCall("WMV_EncodeVideoSample", t);
        FakeLibraries().LastFrame = frame;
        return FakeEncodeResult();
    };
    e.WMV_EncodeAudioSample = [](const void* samples, int32_t n, double t) {
        RecordCall("WMV_EncodeAudioSample", n, t);
        FakeLibraries().LastSamples = samples;
        return FakeEncodeResult();
    };
    e.WMV_GetOutputSize = [] { return FakeLibraries().WmvOutputSize; };
    e.WMV_SetupDestinationFile = [](const char* path) {
        RecordCall("WMV_SetupDestinationFile", path);
        return FakeLibraries().DestinationResult;
    };
    e.WMV_GetUseSystemProfileCount = [] {
        RecordCall("WMV_GetUseSystemProfileCount");
        return int32_t(FakeLibraries().WmvSystemProfiles.size());
    };
    e.WMV_GetUseSystemProfileName = [](int32_t i, char* b) {
        RecordCall("WMV_GetUseSystemProfileName", i);
        FakeName(FakeLibraries().WmvSystemProfiles, i, b);
    };
    e.WMV_SetUseSystemProfile = [](uint8_t u, int32_t i) { RecordCall("WMV_SetUseSystemProfile", u, i); };
    e.WMV_SetVideoTag = [](const char* a, const char* b, const char* c, const char* d, const char* f) {
        RecordCall("WMV_SetVideoTag", a, b, c, d, f);
    };
    binding.Usable = true;
}

inline void InstallFakeTiberl(RealEncoderDllWarper& binding)
{
    TTiberlEntryPoints& e = binding.EntryPoints;
    e.Real_CreateEncoderHandle = [] {
        RecordCall("Real_CreateEncoderHandle");
        return FakeLibraries().NextHandle++;
    };
    e.Real_FreeEncoderHandle = [](RealEncoderHandle h) { RecordCall("Real_FreeEncoderHandle", h); };
    e.Real_SetInputParms = [](RealEncoderHandle h, uint8_t v, uint8_t a, int32_t w, int32_t ht, double fps, int32_t c,
                               int32_t r, int32_t n) {
        RecordCall("Real_SetInputParms", h, v, a, w, ht, fps, c, r, n);
        return FakeLibraries().Result;
    };
    e.Real_SetupDestinationFile = [](RealEncoderHandle h, const char* path) {
        RecordCall("Real_SetupDestinationFile", h, path);
        return FakeLibraries().DestinationResult;
    };
    e.Real_SetupMediaProfile = [](RealEncoderHandle h, uint8_t a, uint8_t v) {
        RecordCall("Real_SetupMediaProfile", h, a, v);
        return FakeLibraries().MediaProfileResult;
    };
    e.Real_SetUse2Pass = [](RealEncoderHandle h, uint8_t a) {
        RecordCall("Real_SetUse2Pass", h, a);
        return FakeLibraries().Result;
    };
    e.Real_SetupTag
        = [](RealEncoderHandle h, const char* a, const char* b, const char* c, const char* d, const char* f) {
              RecordCall("Real_SetupTag", h, a, b, c, d, f);
              return FakeLibraries().TagResult;
          };
    e.Real_BeginEncoding = [](RealEncoderHandle h) {
        RecordCall("Real_BeginEncoding", h);
        return FakeLibraries().BeginResult;
    };
    e.Real_EndEncoding = [](RealEncoderHandle h) {
        RecordCall("Real_EndEncoding", h);
        return FakeLibraries().EndResult;
    };
    e.Real_EncodeVideoSample = [](RealEncoderHandle h, const void* frame, double s, double t) {
        RecordCall("Real_EncodeVideoSample", h, s, t);
        FakeLibraries().LastFrame = frame;
        return FakeEncodeResult();
    };
    e.Real_EncodeAudioSample = [](RealEncoderHandle h, const void* samples, int32_t n, double s, double t) {
        RecordCall("Real_EncodeAudioSample", h, n, s, t);
        FakeLibraries().LastSamples = samples;
        return FakeEncodeResult();
    };
    e.Real_GetOutputSize = [](RealEncoderHandle) { return FakeLibraries().RealOutputSize; };
    e.Real_SetManualSettingsParams = [](RealEncoderHandle h, const RealManualSettings* block) {
        RecordCall("Real_SetManualSettingsParams", h);
        FakeLibraries().Blocks.push_back(*block);
        return FakeLibraries().Result;
    };
    e.Real_GetAudioCodecCount = [](RealEncoderHandle h) {
        RecordCall("Real_GetAudioCodecCount", h);
        return int32_t(FakeLibraries().RealAudioCodecs.size());
    };
    e.Real_GetAudioCodecName = [](RealEncoderHandle h, int32_t i, char* b) {
        RecordCall("Real_GetAudioCodecName", h, i);
        FakeName(FakeLibraries().RealAudioCodecs, i, b);
    };
    e.Real_SetParamsMode = [](RealEncoderHandle h, uint8_t m) {
        RecordCall("Real_SetParamsMode", h, m);
        return FakeLibraries().Result;
    };
    binding.Usable = true;
}

// A resource holder in a program folder without libraries, given bindings whose entry points are the fakes, and
// set as ResourceForm while the scope lives. The RealMedia binding holds the handle 7.
class TFakeResourceFormScope {
public:
    TFakeResourceFormScope()
    {
        ResetFakeLibraries();
        Form->WM9EncoderDll = std::make_unique<WM9EncoderDllWarper>();
        InstallFakeSorvane(*Form->WM9EncoderDll);
        Form->RealEncoderDll = std::make_unique<RealEncoderDllWarper>();
        InstallFakeTiberl(*Form->RealEncoderDll);
        Form->RealEncoderDll->CreateHandle();
        FakeLibraries().Calls.clear();
    }

    TResourceForm* operator->() const { return Form.Form.get(); }

    TLibraryFolder Folder { nullptr, nullptr };
    TResourceFormScope Form;
};

// The codec libraries' entry points, each forwarding to the shared codec library opened on its first use. Without
// the library the calls fail as the entry points allow: a writer that refuses every call with the load error as its
// reason (so a conversion says which library could not be loaded), a reader that cannot open, and no scaler,
// converter or handle.
#include "codecs/library/CodecLibraryLoader.h"

#include <cstring>
#include <new>

namespace {

constexpr uint8_t kFailed = 1;

class TUnloadedMediaWriter final : public MediaWriter {
public:
    uint8_t SetVideoCodec(const char*) override { return kFailed; }
    uint8_t SetAudioCodec(const char*) override { return kFailed; }
    uint8_t SetFormat(const char*) override { return kFailed; }
    uint8_t SetAudioParams(int32_t, int32_t, int32_t, int32_t, int32_t) override { return kFailed; }
    uint8_t SetVideoParams(int32_t, int32_t, int32_t, double, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
        int32_t, int32_t, int32_t, int32_t, int32_t) override
    {
        return kFailed;
    }
    uint8_t Unused5() override { return kFailed; }
    uint8_t Unused6() override { return kFailed; }
    uint8_t Unused7() override { return kFailed; }
    uint8_t Unused8() override { return kFailed; }
    uint8_t Unused9() override { return kFailed; }
    uint8_t Unused10() override { return kFailed; }
    uint8_t Open() override { return kFailed; }
    uint8_t Close() override { return 0; }
    uint8_t WriteVideo(const void*, double) override { return kFailed; }
    uint8_t WriteAudio(const void*, int32_t, double) override { return kFailed; }
    uint8_t SetOption(const char*, const char*) override { return kFailed; }
    int64_t GetOutputSize() override { return 0; }
    const char* GetErrorText() override { return CodecLibrary::LoadError().c_str(); }
};

class TUnloadedMediaReader final : public MediaReader {
public:
    uint8_t Open(MediaReaderOpenParams*) override { return kFailed; }
    uint8_t Prepare() override { return kFailed; }
    uint8_t Unused2() override { return kFailed; }
    uint8_t SetRange(double, double) override { return kFailed; }
    uint8_t Unnamed4(int32_t, int32_t) override { return kFailed; }
    uint8_t GetInfo(MediaReaderInfo* info) override
    {
        if (info)
            std::memset(info, 0, sizeof(*info));
        return 0;
    }
    uint8_t SetVideoStream(int32_t) override { return kFailed; }
    uint8_t SetAudioStream(int32_t) override { return kFailed; }
    uint8_t Run() override { return kFailed; }
    uint8_t Pause() override { return kFailed; }
    uint8_t Stop() override { return 0; }
    uint8_t Play(uintptr_t) override { return kFailed; }
    uint8_t Resume() override { return kFailed; }
    uint8_t GetPosition(double*) override { return kFailed; }
    uint8_t Seek(double) override { return kFailed; }
    int32_t GetState() override { return kMediaReaderStopped; }
};

// The library, loaded now if no call loaded it yet: what every call that makes an object or a handle uses.
const TCodecEntryPoints* Library()
{
    return CodecLibrary::EntryPoints();
}

// The library when it is loaded: what every call on an object or a handle uses, since there is none otherwise.
const TCodecEntryPoints* Loaded()
{
    return CodecLibrary::LoadedEntryPoints();
}

} // namespace

// The library is opened once and never closed, so whether it loaded never changes: while it is not loaded, every
// object passed back here is null or one of the stand-ins above.

MediaWriter* Braskel_CreateMediaWriter(const char* path)
{
    return Library() ? Library()->Braskel_CreateMediaWriter(path) : new (std::nothrow) TUnloadedMediaWriter;
}

void Braskel_ReleaseMediaWriter(MediaWriter* writer)
{
    if (Loaded())
        Loaded()->Braskel_ReleaseMediaWriter(writer);
    else
        delete writer;
}

FrameScaler* Braskel_CreateFrameScaler()
{
    return Library() ? Library()->Braskel_CreateFrameScaler() : nullptr;
}

void Braskel_ReleaseFrameScaler(FrameScaler* scaler)
{
    if (Loaded())
        Loaded()->Braskel_ReleaseFrameScaler(scaler);
}

MediaReader* Braskel_CreateMediaReader(const char* fileName)
{
    if (Library())
        return Library()->Braskel_CreateMediaReader(fileName);
    static TUnloadedMediaReader unloaded;
    return &unloaded;
}

void Braskel_ReleaseMediaReader(MediaReader* reader)
{
    if (Loaded())
        Loaded()->Braskel_ReleaseMediaReader(reader);
}

ColorConverter* Braskel_CreateColorConverter()
{
    return Library() ? Library()->Braskel_CreateColorConverter() : nullptr;
}

void Braskel_ReleaseColorConverter(ColorConverter* converter)
{
    if (Loaded())
        Loaded()->Braskel_ReleaseColorConverter(converter);
}

QuentimHandle Quentim_Create()
{
    return Library() ? Library()->Quentim_Create() : 0;
}

void Quentim_Destroy(QuentimHandle handle)
{
    if (Loaded())
        Loaded()->Quentim_Destroy(handle);
}

uint8_t Quentim_Open(QuentimHandle handle, QuentimOpenParams* params)
{
    return Loaded() ? Loaded()->Quentim_Open(handle, params) : 0;
}

void Quentim_GetInfo(QuentimHandle handle, QuentimInfo* info)
{
    if (Loaded())
        Loaded()->Quentim_GetInfo(handle, info);
    else if (info)
        std::memset(info, 0, sizeof(*info));
}

void Quentim_SetRange(QuentimHandle handle, double startTime, double endTime)
{
    if (Loaded())
        Loaded()->Quentim_SetRange(handle, startTime, endTime);
}

void Quentim_SetConversionFlags(QuentimHandle handle, int32_t flags)
{
    if (Loaded())
        Loaded()->Quentim_SetConversionFlags(handle, flags);
}

uint8_t Quentim_Run(QuentimHandle handle)
{
    return Loaded() ? Loaded()->Quentim_Run(handle) : 0;
}

uint8_t Quentim_Pause(QuentimHandle handle)
{
    return Loaded() ? Loaded()->Quentim_Pause(handle) : 0;
}

int32_t Quentim_GetPosition(QuentimHandle handle, double* position)
{
    return Loaded() ? Loaded()->Quentim_GetPosition(handle, position) : 0;
}

int32_t Quentim_Seek(QuentimHandle handle, double position)
{
    return Loaded() ? Loaded()->Quentim_Seek(handle, position) : 0;
}

int32_t Quentim_GetState(QuentimHandle handle)
{
    return Loaded() ? Loaded()->Quentim_GetState(handle) : kQuentimStopped;
}

PelliquaHandle Pelliqua_Create(int width, int height)
{
    return Library() ? Library()->Pelliqua_Create(width, height) : 0;
}

int32_t Pelliqua_Convert(PelliquaHandle handle, const void* source16, void* target32, int flags)
{
    return Loaded() ? Loaded()->Pelliqua_Convert(handle, source16, target32, flags) : 0;
}

void Pelliqua_Free(PelliquaHandle handle)
{
    if (Loaded())
        Loaded()->Pelliqua_Free(handle);
}

// The codec libraries' entry points as one table: what the shared codec library hands out, and what the program and
// the encoder libraries call through when they open it on first use.
#pragma once
#include "codecs/braskel/Braskel.h"
#include "codecs/pelliqua/Pelliqua.h"
#include "codecs/quentim/Quentim.h"

#include <cstdint>

struct TCodecEntryPoints {
    // sizeof(TCodecEntryPoints) of the library's own build; a library built against another table is refused.
    uint32_t Size;

    MediaWriter* (*Braskel_CreateMediaWriter)(const char* path);
    void (*Braskel_ReleaseMediaWriter)(MediaWriter* writer);
    FrameScaler* (*Braskel_CreateFrameScaler)();
    void (*Braskel_ReleaseFrameScaler)(FrameScaler* scaler);
    MediaReader* (*Braskel_CreateMediaReader)(const char* fileName);
    void (*Braskel_ReleaseMediaReader)(MediaReader* reader);
    ColorConverter* (*Braskel_CreateColorConverter)();
    void (*Braskel_ReleaseColorConverter)(ColorConverter* converter);

    QuentimHandle (*Quentim_Create)();
    void (*Quentim_Destroy)(QuentimHandle handle);
    uint8_t (*Quentim_Open)(QuentimHandle handle, QuentimOpenParams* params);
    void (*Quentim_GetInfo)(QuentimHandle handle, QuentimInfo* info);
    void (*Quentim_SetRange)(QuentimHandle handle, double startTime, double endTime);
    void (*Quentim_SetConversionFlags)(QuentimHandle handle, int32_t flags);
    uint8_t (*Quentim_Run)(QuentimHandle handle);
    uint8_t (*Quentim_Pause)(QuentimHandle handle);
    int32_t (*Quentim_GetPosition)(QuentimHandle handle, double* position);
    int32_t (*Quentim_Seek)(QuentimHandle handle, double position);
    int32_t (*Quentim_GetState)(QuentimHandle handle);

    PelliquaHandle (*Pelliqua_Create)(int width, int height);
    int32_t (*Pelliqua_Convert)(PelliquaHandle handle, const void* source16, void* target32, int flags);
    void (*Pelliqua_Free)(PelliquaHandle handle);
};

// The shared codec library's file name; it sits beside the program and the encoder libraries.
constexpr const char* kCodecLibraryFileName = "libTarnwickCodecs.so";
// The one name the library exports: a function returning its table.
constexpr const char* kCodecEntryPointsName = "TarnwickCodecs_EntryPoints";
using TCodecEntryPointsFunction = const TCodecEntryPoints* (*)();

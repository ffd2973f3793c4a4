// The shared codec library's single export: the table of the codec libraries' entry points, filled with the
// in-process implementations linked into it.
#include "codecs/library/CodecEntryPoints.h"

namespace {

constexpr TCodecEntryPoints kEntryPoints {
    sizeof(TCodecEntryPoints),
    &Braskel_CreateMediaWriter,
    &Braskel_ReleaseMediaWriter,
    &Braskel_CreateFrameScaler,
    &Braskel_ReleaseFrameScaler,
    &Braskel_CreateMediaReader,
    &Braskel_ReleaseMediaReader,
    &Braskel_CreateColorConverter,
    &Braskel_ReleaseColorConverter,
    &Quentim_Create,
    &Quentim_Destroy,
    &Quentim_Open,
    &Quentim_GetInfo,
    &Quentim_SetRange,
    &Quentim_SetConversionFlags,
    &Quentim_Run,
    &Quentim_Pause,
    &Quentim_GetPosition,
    &Quentim_Seek,
    &Quentim_GetState,
    &Pelliqua_Create,
    &Pelliqua_Convert,
    &Pelliqua_Free,
};

} // namespace

extern "C" __attribute__((visibility("default"))) const TCodecEntryPoints* TarnwickCodecs_EntryPoints()
{
    return &kEntryPoints;
}

// The codec library's writer and scaler entry points as the encoder objects call them.
#pragma once
#include "codecs/braskel/Braskel.h"

// The encoder objects reach the library through this table, the way the program reaches a library it imports by
// ordinal; tests put recording fakes in its place.
struct TBraskelLibrary {
    MediaWriter* (*CreateMediaWriter)(const char* path) = &Braskel_CreateMediaWriter;
    void (*ReleaseMediaWriter)(MediaWriter* writer) = &Braskel_ReleaseMediaWriter;
    FrameScaler* (*CreateFrameScaler)() = &Braskel_CreateFrameScaler;
    void (*ReleaseFrameScaler)(FrameScaler* scaler) = &Braskel_ReleaseFrameScaler;
};

// The table in use; only changed while no encoder object exists.
extern TBraskelLibrary BraskelLibrary;

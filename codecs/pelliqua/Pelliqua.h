// The preview converter library: 16-bit RGB565 frames to 32-bit B,G,R,A frames of the same size and orientation.
#pragma once
#include <cstdint>

// 0 is no converter.
using PelliquaHandle = uintptr_t;

// A converter for width x height frames; 0 when a side is outside 1..16384.
PelliquaHandle Pelliqua_Create(int width, int height);

// Reads width x height x 2 bytes of RGB565 (little-endian) and writes width x height x 4 bytes of B,G,R,A with
// alpha 255, rows in the same order (bottom-up frames stay bottom-up). `flags` is 0 and is not read. Returns 1,
// or 0 for an unknown handle or a null buffer (nothing is written then).
int32_t Pelliqua_Convert(PelliquaHandle handle, const void* source16, void* target32, int flags);

// Releases the converter; 0 and handles already freed are ignored.
void Pelliqua_Free(PelliquaHandle handle);

// The shared codec library opened on first use. The program and the encoder libraries link the codec entry points
// from here instead of the FFmpeg-backed code itself, so FFmpeg is loaded only when the first file is probed,
// decoded, encoded or previewed, and not while the program starts.
#pragma once
#include "codecs/library/CodecEntryPoints.h"

#include <string>

namespace CodecLibrary {

// The library's table, opened from the folder of the module that calls (the program's or the encoder library's)
// on the first call; null, now and on every later call, when it is missing or cannot be loaded.
const TCodecEntryPoints* EntryPoints();

// The table when an earlier call to EntryPoints() loaded it; null otherwise, without trying to load. Objects and
// handles come only from a loaded library, so releasing one never needs a load.
const TCodecEntryPoints* LoadedEntryPoints();

// Why EntryPoints() is null ("cannot load the codec library /opt/tp/libTarnwickCodecs.so: ..."); empty when the
// library loaded. Tries the load itself when no call did yet.
const std::string& LoadError();

} // namespace CodecLibrary

// Reads arbitrary bytes as a packed skin file, and (packed first) as the data inside one, into a container.
// Every failure must be the framework's error and leave the container empty or as it was.
#include "framework/core/Exception.h"
#include "framework/core/Streams.h"
#include "skin/core/TspCompressedStoredSkin.h"
#include "skin/core/TspSkinData.h"
#include "skin/core/spzlibcompress.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Load(TspCompressedStoredSkin& packed)
{
    TspSkinData skin(nullptr);
    try {
        skin.LoadCompressedStoredSkin(&packed);
    } catch (const Exception&) {
        return;
    }
    // A packed skin that loaded packs again.
    TspCompressedStoredSkin repacked(nullptr);
    repacked.LoadFromSkinData(&skin);
    if (!skin.Empty && repacked.GetEmpty())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryStream input;
    if (size > 0)
        input.WriteBuffer(data, static_cast<int32_t>(size));

    // As a packed file.
    TspCompressedStoredSkin packed(nullptr);
    try {
        packed.LoadFromCompressStream(input);
        Load(packed);
    } catch (const Exception&) {
    }

    // As the data inside, so that the layout is reached without valid zlib streams.
    TMemoryStream zlib;
    spzlibcompress::CompressStream(input, zlib);
    TMemoryStream file;
    int32_t header[2] = { 2, static_cast<int32_t>(zlib.Size()) };
    file.WriteBuffer(header, sizeof(header));
    zlib.SaveToStream(file);
    TspCompressedStoredSkin inner(nullptr);
    inner.LoadFromCompressStream(file);
    Load(inner);
    return 0;
}

// Fuzz target: the bytes as DecoderMode.cfg, loaded into the decoder-mode table and saved again.
#include "engine/TDecoderModeMap.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// One temporary folder per process, removed when the process ends.
struct TFuzzFolder {
    TFuzzFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tp-fuzz-decodermode-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        Path = pattern + "/";
    }
    ~TFuzzFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(Path, error);
    }
    std::string Path;
};

const std::string& Folder()
{
    static TFuzzFolder folder;
    return folder.Path;
}

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_decodermode: %s\n", what);
        std::abort();
    }
}

// Every mode the table holds is one the probe knows.
void CheckModes(const TDecoderModeMap& map)
{
    Check(map.GetDefaultMode() <= dmDirectShowOnly, "default mode out of range");
    TDecoderModeMapItem item;
    for (int32_t i = 0; map.GetItem(i, item); ++i) {
        Check(item.DecoderMode <= dmDirectShowOnly, "mode out of range");
        Check(map.GetDecoderMode(item.Extension) == item.DecoderMode, "look-up disagrees with the item");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input = Folder() + "DecoderMode.cfg";
    const std::string output = Folder() + "saved.cfg";
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    TDecoderModeMap map;
    Check(map.LoadFromFile(input), "an existing file does not load");
    CheckModes(map);
    if (map.SaveToFile(output)) {
        TDecoderModeMap reloaded;
        Check(reloaded.LoadFromFile(output), "a saved table does not load");
        CheckModes(reloaded);
        Check(reloaded.Count() <= map.Count(), "saving added items");
        TDecoderModeMapItem item;
        for (int32_t i = 0; reloaded.GetItem(i, item); ++i)
            Check(LowerCase(item.Extension) == item.Extension, "a saved key is not lower-case");
    }

    ::DeleteFile(input);
    ::DeleteFile(output);
    return 0;
}

// Fuzz target: the bytes as a .pf file, loaded by each of the eight profile classes and by the profile manager.
#include "engine/AppServices.h"
#include "engine/FormatProfiles.h"
#include "engine/TProfileManager.h"
#include "framework/core/FileSystem.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// One temporary folder per process, removed when the process ends.
struct TFuzzFolder {
    TFuzzFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tp-fuzz-profile-XXXXXX").string();
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

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_profile: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& folder = Folder();
    // Default file names and message boxes stay inside the fuzzer's own world.
    SetProgramFolder(folder);
    SetMessageBoxHandler([](const std::string&, const std::string&, int32_t) { return 1; });

    const std::string input = folder + "input.pf";
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    const std::string first = folder + "first.out";
    const std::string second = folder + "second.out";
    for (const char* word : { "3GPP", "AVI", "MPEG", "MP4", "WMV", "REAL", "MOV", "FLV" }) {
        std::unique_ptr<TVideoProfile> profile = CreateVideoProfile(word, "", input);
        if (!profile->Load())
            continue;
        profile->EstimateSize(3600.5);
        profile->GetDefaultFileName();
        // What a file gave must save, and saving what that reads back must write the same text again.
        std::unique_ptr<TVideoProfile> clone = profile->Clone();
        clone->FileName.clear();
        Check(clone->Save(first), "a loaded profile does not save");
        std::unique_ptr<TVideoProfile> reloaded = CreateVideoProfile(word, "", first);
        Check(reloaded->Load(), "a saved profile does not load");
        reloaded->FileName.clear();
        Check(reloaded->Save(second), "a reloaded profile does not save");
        Check(ReadFile(first) == ReadFile(second), "saving a reloaded profile changes the file");
        ::DeleteFile(first);
        ::DeleteFile(second);
    }

    TProfileManager manager(folder);
    manager.LoadAll();
    for (int32_t i = 0; i < manager.Count(); ++i)
        manager.Get(i)->Clone();
    manager.Clear();

    ::DeleteFile(input);
    SetMessageBoxHandler(nullptr);
    SetProgramFolder("");
    return 0;
}

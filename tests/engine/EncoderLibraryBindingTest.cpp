// The bindings of the two encoder libraries over the program's real libraries and over variants that lack one
// entry point: what loads, what counts as usable, and what the forwarders do on a binding that is not.
#include "tests/engine/EncoderLibraryTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <link.h>

namespace {

struct UnusableCase {
    const char* Name;
    const char* Library;
    bool Loads; // The file loads as a library, so only a name is missing.
};

TEST(WM9EncoderDllWarper, TheProgramsLibraryIsUsableAndForwards)
{
    TLibraryFolder folder(kSorvane, nullptr);
    WM9EncoderDllWarper binding;
    ASSERT_NE(binding.Module, nullptr);
    ASSERT_TRUE(binding.Usable);
    EXPECT_NE(binding.EntryPoints.WMV_Init, nullptr);
    EXPECT_NE(binding.EntryPoints.WMV_SetVideoTag, nullptr);
    ASSERT_EQ(binding.WMV_Init(), 1);
    EXPECT_EQ(binding.WMV_GetVideoCodecCount(), 2);
    char name[kSorvaneNameBufferSize] = {};
    binding.WMV_GetVideoCodecName(0, name);
    EXPECT_STREQ(name, "Windows Media Video 8");
    EXPECT_EQ(binding.WMV_EndEncoding(), 1);
    EXPECT_EQ(binding.WMV_Uninit(), 1);
}

TEST(WM9EncoderDllWarper, AMissingOrIncompleteLibraryLeavesAnUnusableBinding)
{
    const UnusableCase kCases[] = {
        { "no library", nullptr, false },
        { "a file that is no library", kNotALibrary, false },
        { "WMV_SetVideoTag, the last name, missing", kSorvaneWithoutSetVideoTag, true },
        { "WMV_EncodeSample, a name the program never calls, missing", kSorvaneWithoutEncodeSample, true },
    };
    for (const UnusableCase& c : kCases) {
        SCOPED_TRACE(c.Name);
        TLibraryFolder folder(c.Library, nullptr);
        WM9EncoderDllWarper binding;
        EXPECT_EQ(binding.Module != nullptr, c.Loads);
        EXPECT_FALSE(binding.Usable);
        if (c.Loads) {
            EXPECT_NE(binding.EntryPoints.WMV_Init, nullptr); // Found, but not to be called.
        }
        // Every forwarder gives 0 or does nothing; in particular the library is never initialised.
        EXPECT_EQ(binding.WMV_Init(), 0);
        EXPECT_EQ(binding.WMV_GetAudioCodecCount(), 0);
        EXPECT_EQ(binding.WMV_BeginEncoding(), 0);
        EXPECT_EQ(binding.WMV_EncodeVideoSample(nullptr, 0.0), 0);
        char name[kSorvaneNameBufferSize];
        std::memset(name, 'x', sizeof name);
        binding.WMV_GetAudioCodecName(0, name);
        EXPECT_EQ(name[0], 'x');
        binding.WMV_SetVideoTag("a", "b", "c", "d", "");
    }
}

TEST(RealEncoderDllWarper, TheProgramsLibraryIsUsableAndEachHandleReplacesTheLast)
{
    TLibraryFolder folder(nullptr, kTiberl);
    RealEncoderDllWarper binding;
    ASSERT_NE(binding.Module, nullptr);
    ASSERT_TRUE(binding.Usable);
    EXPECT_EQ(binding.EncoderHandle, 0u);
    binding.CreateHandle();
    const RealEncoderHandle first = binding.EncoderHandle;
    ASSERT_NE(first, 0u);
    EXPECT_EQ(binding.Real_GetAudioCodecCount(), 9);

    // The library knows one handle of the binding at a time: the one before is freed.
    binding.CreateHandle();
    ASSERT_NE(binding.EncoderHandle, 0u);
    EXPECT_NE(binding.EncoderHandle, first);
    EXPECT_EQ(binding.EntryPoints.Real_GetAudioCodecCount(first), 0);
    EXPECT_EQ(binding.Real_GetAudioCodecCount(), 9);
    EXPECT_EQ(binding.Real_GetOutputSize(), 0.0);
}

TEST(RealEncoderDllWarper, AMissingOrIncompleteLibraryMakesNoHandle)
{
    const UnusableCase kCases[] = {
        { "no library", nullptr, false },
        { "a file that is no library", kNotALibrary, false },
        { "Real_SetParamsMode, the last name, missing", kTiberlWithoutSetParamsMode, true },
        { "Real_StartDo2Pass, a name the program never calls, missing", kTiberlWithoutStartDo2Pass, true },
    };
    for (const UnusableCase& c : kCases) {
        SCOPED_TRACE(c.Name);
        TLibraryFolder folder(nullptr, c.Library);
        RealEncoderDllWarper binding;
        EXPECT_EQ(binding.Module != nullptr, c.Loads);
        EXPECT_FALSE(binding.Usable);
        binding.CreateHandle();
        EXPECT_EQ(binding.EncoderHandle, 0u);
        EXPECT_EQ(binding.Real_GetAudioCodecCount(), 0);
        EXPECT_EQ(binding.Real_BeginEncoding(), 0);
        EXPECT_EQ(binding.Real_GetOutputSize(), 0.0);
    }
}

TEST(RealEncoderDllWarper, TheOutputSizeComesInMegabytes)
{
    ResetFakeLibraries();
    TLibraryFolder folder(nullptr, nullptr);
    RealEncoderDllWarper binding;
    InstallFakeTiberl(binding);
    struct Case {
        uint32_t Bytes;
        double Megabytes;
    };
    const Case kCases[] = { { 3145728u, 3.0 }, { 0u, 0.0 }, { 524288u, 0.5 }, { 4294967295u, 4096.0 - 1.0 / 1048576 } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Bytes);
        FakeLibraries().RealOutputSize = c.Bytes;
        EXPECT_DOUBLE_EQ(binding.Real_GetOutputSize(), c.Megabytes);
    }
}

// ---- FFmpeg on first use --------------------------------------------------------------------------------------

// The names of the libraries the shared object at `path` needs (its DT_NEEDED entries), read from its loaded image.
std::vector<std::string> NeededLibraries(const char* path)
{
    std::vector<std::string> names;
    void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    link_map* map = nullptr;
    if (!module || dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || !map)
        return { std::string("cannot load ") + path };
    const char* strings = nullptr;
    for (const ElfW(Dyn)* entry = map->l_ld; entry->d_tag != DT_NULL; ++entry) {
        if (entry->d_tag == DT_STRTAB)
            strings = reinterpret_cast<const char*>(entry->d_un.d_ptr);
    }
    for (const ElfW(Dyn)* entry = map->l_ld; strings && entry->d_tag != DT_NULL; ++entry) {
        if (entry->d_tag == DT_NEEDED)
            names.emplace_back(strings + entry->d_un.d_val);
    }
    dlclose(module);
    return names;
}

// The libraries the program loads as it starts, as the dynamic loader lists them without running it.
std::string ProgramStartLibraries()
{
    const std::string command = std::string("LD_TRACE_LOADED_OBJECTS=1 '") + TP_PROGRAM_FILE + "'";
    std::string listed;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            listed.append(buffer, n);
        pclose(pipe);
    }
    return listed;
}

bool NamesFFmpeg(const std::string& name)
{
    return name.find("libavcodec") != std::string::npos || name.find("libavformat") != std::string::npos
        || name.find("libavutil") != std::string::npos || name.find("libswscale") != std::string::npos;
}

// Loading FFmpeg's dependency tree took longer than the rest of the start, so neither the program nor the encoder
// libraries it loads at start-up for their lists may need FFmpeg: only the codec library, opened on first use, does.
TEST(CodecLibraryOnFirstUse, NeitherTheProgramNorItsEncoderLibrariesNeedFFmpegToLoad)
{
    const std::string program = ProgramStartLibraries();
    ASSERT_NE(program.find("libc.so"), std::string::npos) << program;
    EXPECT_FALSE(NamesFFmpeg(program)) << program;
    for (const char* library : { kSorvane, kTiberl }) {
        SCOPED_TRACE(library);
        const std::vector<std::string> needed = NeededLibraries(library);
        ASSERT_FALSE(needed.empty());
        for (const std::string& name : needed)
            EXPECT_FALSE(NamesFFmpeg(name)) << name;
    }
    const std::string codecs = std::filesystem::path(kSorvane).replace_filename("libTarnwickCodecs.so").string();
    const std::vector<std::string> needed = NeededLibraries(codecs.c_str());
    EXPECT_TRUE(std::any_of(needed.begin(), needed.end(), NamesFFmpeg)) << codecs;
}

// A copy of the Windows Media library in a folder without the codec library: it loads and answers its lists from
// its own tables, and its run fails saying which library could not be loaded, leaving no file.
TEST(CodecLibraryOnFirstUse, AnEncoderLibraryWithoutTheCodecLibraryListsItsNamesAndFailsItsRunSayingWhy)
{
    TTempFolder folder;
    std::filesystem::copy_file(kSorvane, folder.File(WM9EncoderDllWarper::LibraryName));
    TProgramFolderScope scope(folder.Path());
    WM9EncoderDllWarper binding;
    ASSERT_TRUE(binding.Usable);
    ASSERT_EQ(binding.WMV_Init(), 1);
    EXPECT_EQ(binding.WMV_GetVideoCodecCount(), 2);
    EXPECT_GT(binding.WMV_GetAudioCodecCount(), 0);

    const std::string output = folder.File("out.wmv");
    binding.WMV_SetInputParms(1, 0, 96, 64, 25.0, 5, 0, 0);
    EXPECT_EQ(binding.WMV_SetupDestinationFile(output.c_str()), 1);
    EXPECT_EQ(binding.WMV_BeginEncoding(), 0);
    EXPECT_NE(binding.WMV_GetLastError().find("cannot load the codec library " + folder.File("libTarnwickCodecs.so")),
        std::string::npos)
        << binding.WMV_GetLastError();
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_EQ(binding.WMV_Uninit(), 1);
}

} // namespace

// The bindings of the two encoder libraries over the program's real libraries and over variants that lack one
// entry point: what loads, what counts as usable, and what the forwarders do on a binding that is not.
#include "tests/engine/EncoderLibraryTestSupport.h"

#include <cstring>

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

} // namespace

// The codec entry points of a program whose codec library is missing: this test program opens the library on first
// use, from its own folder, where there is none. Every call fails as its entry point allows, never crashes, and
// the writer's reason names the library that could not be loaded.
#include "codecs/library/CodecLibraryLoader.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

std::string ExpectedLibraryPath()
{
    return std::filesystem::read_symlink("/proc/self/exe").replace_filename(kCodecLibraryFileName).string();
}

TEST(CodecLibraryMissing, AWriterRefusesEveryCallNamingTheLibraryAndLeavesNoFile)
{
    const std::string output
        = std::filesystem::temp_directory_path() / ("tp-codecs-" + std::to_string(getpid()) + ".avi");
    MediaWriter* writer = Braskel_CreateMediaWriter(output.c_str());
    ASSERT_NE(writer, nullptr);
    EXPECT_NE(writer->SetFormat("avi"), 0);
    EXPECT_NE(writer->SetVideoCodec("mpeg4"), 0);
    EXPECT_NE(writer->Open(), 0);
    EXPECT_NE(writer->WriteVideo("", 0.0), 0);
    EXPECT_EQ(writer->GetOutputSize(), 0);
    const std::string reason = writer->GetErrorText();
    EXPECT_EQ(reason.rfind("cannot load the codec library " + ExpectedLibraryPath() + ": ", 0), 0u) << reason;
    EXPECT_EQ(CodecLibrary::LoadError(), reason);
    EXPECT_EQ(CodecLibrary::EntryPoints(), nullptr);
    Braskel_ReleaseMediaWriter(writer);
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST(CodecLibraryMissing, ReadersCannotOpenAndNoScalerConverterOrHandleIsMade)
{
    MediaReader* reader = Braskel_CreateMediaReader("/nonexistent.mp4");
    ASSERT_NE(reader, nullptr); // Never null, as its callers rely on.
    MediaReaderOpenParams params;
    EXPECT_NE(reader->Open(&params), 0);
    MediaReaderInfo info;
    std::memset(&info, 0xAB, sizeof info);
    EXPECT_EQ(reader->GetInfo(&info), 0);
    EXPECT_EQ(info.Opened, 0);
    EXPECT_EQ(info.VideoStreamCount, 0);
    EXPECT_EQ(reader->GetState(), kMediaReaderStopped);
    Braskel_ReleaseMediaReader(reader);

    EXPECT_EQ(Braskel_CreateFrameScaler(), nullptr);
    EXPECT_EQ(Braskel_CreateColorConverter(), nullptr);
    Braskel_ReleaseFrameScaler(nullptr);
    Braskel_ReleaseColorConverter(nullptr);

    EXPECT_EQ(Quentim_Create(), 0u);
    QuentimInfo quentim;
    std::memset(&quentim, 0xAB, sizeof quentim);
    Quentim_GetInfo(0, &quentim);
    EXPECT_EQ(quentim.Opened, 0);
    EXPECT_EQ(Quentim_Run(0), 0);
    EXPECT_EQ(Quentim_GetState(0), kQuentimStopped);
    Quentim_Destroy(0);

    EXPECT_EQ(Pelliqua_Create(16, 16), 0u);
    EXPECT_EQ(Pelliqua_Convert(0, "", nullptr, 0), 0);
    Pelliqua_Free(0);
}

} // namespace

#include "framework/core/Streams.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <string>

namespace {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "StreamsTest.XXXXXX").string();
        FPath = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    std::string File(const char* name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

// Everything the stream holds, read from its start; the position is restored.
std::string Contents(TStream& stream)
{
    int64_t position = stream.Position();
    stream.SetPosition(0);
    std::string bytes(static_cast<size_t>(stream.Size()), '\0');
    stream.ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(position);
    return bytes;
}

} // namespace

// The three kinds of stream share the positioning rules, so each case runs on every kind.
TEST(TStream, EveryKindSeeksGrowsAndZeroFills)
{
    TempFolder folder;
    struct Case {
        const char* name;
        std::function<std::unique_ptr<TStream>()> make;
    };
    const Case kCases[] = {
        { "TMemoryStream", [] { return std::make_unique<TMemoryStream>(); } },
        { "TStringStream", [] { return std::make_unique<TStringStream>(); } },
        { "TFileStream", [&] { return std::make_unique<TFileStream>(folder.File("seek.bin"), fmCreate); } },
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        auto stream = c.make();
        stream->WriteBuffer("abcdef", 6);
        EXPECT_EQ(stream->Size(), 6);
        EXPECT_EQ(stream->Seek(-2, soEnd), 4);
        EXPECT_EQ(stream->Seek(-1, soCurrent), 3);
        stream->WriteBuffer("X", 1);
        EXPECT_EQ(Contents(*stream), "abcXef") << "a write in the middle keeps what follows";

        EXPECT_EQ(stream->Seek(-1, soBeginning), -1) << "before the start";
        EXPECT_EQ(stream->Position(), 4) << "a refused seek leaves the position";

        EXPECT_EQ(stream->Seek(3, soEnd), 9);
        EXPECT_EQ(stream->Size(), 6) << "seeking past the end does not grow";
        stream->WriteBuffer("Z", 1);
        EXPECT_EQ(Contents(*stream), std::string("abcXef\0\0\0Z", 10));

        char buffer[4] = {};
        EXPECT_EQ(stream->Read(buffer, 4), 0) << "at the end";
        EXPECT_EQ(stream->Read(buffer, -3), 0);
        EXPECT_EQ(stream->Write(buffer, -3), 0);

        stream->SetSize(2);
        EXPECT_EQ(stream->Size(), 2);
        EXPECT_EQ(stream->Position(), 2) << "cut back to the new end";
        EXPECT_EQ(Contents(*stream), "ab");
    }
}

TEST(TStream, ReadBufferRaisesOnAShortRead)
{
    TStringStream stream("abc");
    char buffer[8] = {};
    stream.ReadBuffer(buffer, 2);
    EXPECT_EQ(std::string(buffer, 2), "ab");
    EXPECT_THROW(stream.ReadBuffer(buffer, 2), EReadError);
    try {
        stream.SetPosition(0);
        stream.ReadBuffer(buffer, 4);
        ADD_FAILURE() << "no exception";
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    stream.ReadBuffer(buffer, 0);
}

TEST(TStream, WriteBufferRaisesWhenTheBytesAreNotTaken)
{
    TempFolder folder;
    std::string path = folder.File("readonly.txt");
    WriteFile(path, "keep");
    TFileStream stream(path, fmOpenRead | fmShareDenyNone);
    try {
        stream.WriteBuffer("more", 4);
        ADD_FAILURE() << "no exception";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), "Stream write error");
    }
    EXPECT_EQ(ReadFile(path), "keep");
}

TEST(TStream, CopyFrom)
{
    TStringStream source("0123456789");
    source.SetPosition(7);
    TMemoryStream target;
    EXPECT_EQ(target.CopyFrom(source, 0), 10) << "0 copies the whole source from its start";
    EXPECT_EQ(Contents(target), "0123456789");

    source.SetPosition(2);
    TStringStream part;
    EXPECT_EQ(part.CopyFrom(source, 3), 3);
    EXPECT_EQ(part.DataString(), "234");
    EXPECT_EQ(source.Position(), 5);

    EXPECT_THROW(part.CopyFrom(source, 6), EReadError) << "only 5 bytes are left";
    EXPECT_THROW(part.CopyFrom(source, -1), EReadError);

    // More than one internal buffer's worth.
    std::string big(200000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    TStringStream bigSource(big);
    TStringStream bigTarget;
    EXPECT_EQ(bigTarget.CopyFrom(bigSource, 0), 200000);
    EXPECT_EQ(bigTarget.DataString(), big);
}

TEST(TFileStream, OpenErrorsNameTheFileAndTheReason)
{
    TempFolder folder;
    struct Case {
        const char* name;
        std::string path;
        uint16_t mode;
        bool create;
        const char* reason;
    };
    const Case kCases[] = {
        { "missing file", folder.File("missing.txt"), fmOpenRead, false, "No such file or directory" },
        { "missing file for writing", folder.File("missing.txt"), fmOpenReadWrite, false, "No such file or directory" },
        { "a folder", folder.File(""), fmOpenRead, false, "Is a directory" },
        { "create in a missing folder", folder.File("none/new.txt"), fmCreate, true, "No such file or directory" },
        { "create over a folder", folder.File(""), fmCreate, true, "Is a directory" },
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        try {
            TFileStream stream(c.path, c.mode);
            ADD_FAILURE() << "no exception";
        } catch (const EFOpenError& e) {
            EXPECT_FALSE(c.create);
            EXPECT_EQ(e.Message(), "Cannot open file \"" + c.path + "\". " + c.reason);
        } catch (const EFCreateError& e) {
            EXPECT_TRUE(c.create);
            EXPECT_EQ(e.Message(), "Cannot create file \"" + c.path + "\". " + c.reason);
        }
    }
}

TEST(TFileStream, CreateTruncatesAndOpenKeeps)
{
    TempFolder folder;
    std::string path = folder.File("data.bin");
    WriteFile(path, "a long original content");
    {
        TFileStream stream(path, fmCreate | fmShareExclusive);
        EXPECT_EQ(stream.FileName(), path);
        EXPECT_EQ(stream.Size(), 0);
        stream.WriteBuffer("new", 3);
    }
    EXPECT_EQ(ReadFile(path), "new");
    {
        TFileStream stream(path, fmOpenReadWrite | fmShareDenyWrite);
        EXPECT_EQ(stream.Size(), 3);
        stream.SetPosition(1);
        stream.WriteBuffer("EWER", 4);
    }
    EXPECT_EQ(ReadFile(path), "nEWER");
    {
        TFileStream stream(path, fmOpenWrite);
        stream.WriteBuffer("N", 1);
        char c;
        EXPECT_EQ(stream.Read(&c, 1), 0) << "opened for writing only";
    }
    EXPECT_EQ(ReadFile(path), "NEWER");
}

TEST(TMemoryStream, MemoryFilesAndClear)
{
    TempFolder folder;
    TMemoryStream stream;
    EXPECT_EQ(stream.Size(), 0);
    stream.SetSize(4);
    EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), 4), std::string(4, '\0'));
    stream.SetPosition(0);
    stream.WriteBuffer("data", 4);
    stream.SetPosition(2);
    std::string path = folder.File("memory.bin");
    stream.SaveToFile(path);
    EXPECT_EQ(ReadFile(path), "data") << "the whole stream, whatever the position";

    WriteFile(path, std::string("bin\0ary", 7));
    TMemoryStream loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(std::string(static_cast<const char*>(loaded.Memory()), 7), std::string("bin\0ary", 7));

    EXPECT_THROW(loaded.LoadFromFile(folder.File("missing.bin")), EFOpenError);
    EXPECT_EQ(loaded.Size(), 7) << "a failed load keeps the contents";

    loaded.Clear();
    EXPECT_EQ(loaded.Size(), 0);
    EXPECT_EQ(loaded.Position(), 0);
}

TEST(TStringStream, StringsInAndOut)
{
    TStringStream stream("hello world");
    EXPECT_EQ(stream.ReadString(5), "hello");
    EXPECT_EQ(stream.ReadString(100), " world") << "clamped at the end";
    EXPECT_EQ(stream.ReadString(1), "");
    stream.SetPosition(6);
    stream.WriteString("W");
    EXPECT_EQ(stream.DataString(), "hello World");
    stream.Seek(0, soEnd);
    stream.WriteString("!!");
    EXPECT_EQ(stream.DataString(), "hello World!!");
    EXPECT_EQ(stream.Position(), 13);
}

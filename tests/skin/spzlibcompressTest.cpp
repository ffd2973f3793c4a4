#include "skin/core/spzlibcompress.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <zlib.h>

using namespace spzlibcompress;

namespace {

// Bytes that compress, but not to nothing: several 4096-byte blocks of output at level 0.
std::string SampleBytes(size_t size)
{
    std::string bytes(size, '\0');
    uint32_t state = 12345;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245 + 12345;
        bytes[i] = static_cast<char>(i % 3 == 0 ? (state >> 24) : 'a' + (i / 100) % 26);
    }
    return bytes;
}

std::string Compress(const std::string& bytes, TCompressionLevel level = TCompressionLevel::clMax)
{
    TMemoryStream packed;
    TCompressionStream compressor(level, packed);
    compressor.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    compressor.Finish();
    return std::string(static_cast<const char*>(packed.Memory()), static_cast<size_t>(packed.Size()));
}

std::string Decompress(TMemoryStream& source)
{
    TMemoryStream out;
    DeCompressStream(out, source);
    return std::string(static_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
}

std::unique_ptr<TMemoryStream> StreamOf(const std::string& bytes)
{
    auto stream = std::make_unique<TMemoryStream>();
    stream->WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream->SetPosition(0);
    return stream;
}

TEST(spzlibcompress, WholeStreamsRoundTripThroughOneZlibStream)
{
    for (size_t size : { size_t(0), size_t(1), size_t(4096), size_t(50000) }) {
        SCOPED_TRACE(size);
        std::string bytes = SampleBytes(size);
        auto source = StreamOf(bytes);
        source->SetPosition(source->Size());
        TMemoryStream packed;
        CompressStream(*source, packed);
        // Any conforming inflater reads it.
        std::string plain(size + 1, '\0');
        uLongf plainSize = static_cast<uLongf>(plain.size());
        ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(plain.data()), &plainSize,
                      static_cast<const Bytef*>(packed.Memory()), static_cast<uLong>(packed.Size())),
            Z_OK);
        EXPECT_EQ(plain.substr(0, plainSize), bytes);
        EXPECT_EQ(Decompress(packed), bytes);
    }
}

TEST(spzlibcompress, CompressionStreamWritesFullBlocksAndReportsItsRate)
{
    std::string bytes = SampleBytes(20000);
    TMemoryStream packed;
    int progress = 0;
    {
        TCompressionStream compressor(TCompressionLevel::clNone, packed);
        compressor.OnProgress = [&progress](TObject*) { ++progress; };
        EXPECT_EQ(compressor.GetCompressionRate(), 0.0f);
        compressor.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
        EXPECT_EQ(compressor.Position(), 20000);
        EXPECT_EQ(packed.Size() % TCustomZlibStream::BufferSize, 0);
        EXPECT_EQ(progress, packed.Size() / TCustomZlibStream::BufferSize);
        EXPECT_THROW(compressor.Seek(1, soCurrent), ECompressionError);
        char byte;
        EXPECT_THROW(compressor.Read(&byte, 1), ECompressionError);
        compressor.Finish();
        // Stored data grows a little.
        EXPECT_LT(compressor.GetCompressionRate(), 0.0f);
    }
    auto again = StreamOf(std::string(static_cast<const char*>(packed.Memory()), packed.Size()));
    EXPECT_EQ(Decompress(*again), bytes);
    EXPECT_GT(Compress(std::string(20000, 'x')).size(), 0u);
}

TEST(spzlibcompress, DecompressionStreamReadsSeeksAndStopsAtTheEnd)
{
    std::string bytes = SampleBytes(30000);
    auto packed = StreamOf(Compress(bytes));
    TDecompressionStream unpacker(*packed);
    std::string first(1000, '\0');
    ASSERT_EQ(unpacker.Read(first.data(), 1000), 1000);
    EXPECT_EQ(first, bytes.substr(0, 1000));
    // Skipping forward from the current position and from the beginning.
    EXPECT_EQ(unpacker.Seek(9000, soCurrent), 10000);
    EXPECT_EQ(unpacker.Seek(15000, soBeginning), 15000);
    std::string middle(10, '\0');
    ASSERT_EQ(unpacker.Read(middle.data(), 10), 10);
    EXPECT_EQ(middle, bytes.substr(15000, 10));
    EXPECT_THROW(unpacker.Seek(-1, soCurrent), EDecompressionError);
    EXPECT_THROW(unpacker.Seek(100, soBeginning), EDecompressionError);
    EXPECT_THROW(unpacker.Seek(0, soEnd), EDecompressionError);
    // Back to the start: the same bytes again.
    EXPECT_EQ(unpacker.Seek(0, soBeginning), 0);
    ASSERT_EQ(unpacker.Read(first.data(), 1000), 1000);
    EXPECT_EQ(first, bytes.substr(0, 1000));
    std::string rest(40000, '\0');
    EXPECT_EQ(unpacker.Read(rest.data(), 40000), 29000);
    char byte;
    EXPECT_EQ(unpacker.Read(&byte, 1), 0);
    EXPECT_THROW(unpacker.Write(&byte, 1), EDecompressionError);
}

TEST(spzlibcompress, EmptyInputGivesACompleteStream)
{
    auto packed = StreamOf(Compress(""));
    EXPECT_GT(packed->Size(), 0);
    TDecompressionStream unpacker(*packed);
    char byte;
    EXPECT_EQ(unpacker.Read(&byte, 1), 0);
}

TEST(spzlibcompress, BrokenDataIsAnErrorAndShortDataUnpacksShort)
{
    std::string bytes = SampleBytes(30000);
    std::string packed = Compress(bytes);
    struct Case {
        const char* Name;
        std::string Data;
        bool Raises;
        size_t MinSize; // of what unpacks
    };
    const Case kCases[] = {
        { "not zlib", std::string("this is not a zlib stream at all"), true, 0 },
        { "bad checksum", packed.substr(0, packed.size() - 1) + char(packed.back() ^ 0x55), true, 0 },
        { "preset dictionary", std::string("\x78\xBB\x00\x00\x00\x01", 6) + std::string(10, 'x'), true, 0 },
        { "truncated", packed.substr(0, packed.size() / 2), false, 1 },
        { "trailing bytes", packed + "trailing", false, bytes.size() },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        auto source = StreamOf(c.Data);
        if (c.Raises) {
            try {
                Decompress(*source);
                FAIL() << "no error";
            } catch (const EDecompressionError& e) {
                EXPECT_EQ(e.Message(), "compression error");
            }
        } else {
            std::string out = Decompress(*source);
            EXPECT_GE(out.size(), c.MinSize);
            EXPECT_EQ(out, bytes.substr(0, out.size()));
            source->SetPosition(0);
            TDecompressionStream unpacker(*source);
            std::string all(bytes.size() + 10, '\0');
            unpacker.Read(all.data(), static_cast<int32_t>(all.size()));
            EXPECT_EQ(unpacker.StreamEnded(), out.size() == bytes.size());
        }
    }
}

} // namespace

#include "framework/core/TFiler.h"

#include "framework/core/Streams.h"
#include "framework/core/TPersistent.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Stores an old-style value property "Frame" (flag, width, style name) when `stored` says so.
class TFramed : public TPersistent {
public:
    bool stored = true;
    bool flat = false;
    int32_t width = 0;
    std::string style;

protected:
    void DefineProperties(TFiler* filer) override
    {
        filer->DefineProperty(
            "Frame",
            [this](TReader& reader) {
                flat = reader.ReadBoolean();
                width = reader.ReadInteger();
                style = reader.ReadIdent();
            },
            [this](TWriter& writer) {
                writer.WriteBoolean(flat);
                writer.WriteInteger(width);
                writer.WriteIdent(style);
            },
            stored);
    }
};

std::string Stored(TFramed& object)
{
    TStringStream stream;
    TWriter(stream).WriteProperties(object);
    return stream.DataString();
}

TEST(TFiler, ValuePropertiesRoundTrip)
{
    TFramed source;
    source.flat = true;
    source.width = -70000;
    source.style = "fsLowered";
    TStringStream stream(Stored(source));
    TFramed read;
    TReader(stream).ReadProperties(read);
    EXPECT_TRUE(read.flat);
    EXPECT_EQ(read.width, -70000);
    EXPECT_EQ(read.style, "fsLowered");

    source.stored = false;
    EXPECT_EQ(Stored(source), std::string(1, '\0'));
    // A persistent that defines nothing reads an empty list and refuses any stored property.
    TPersistent plain;
    TStringStream empty(std::string(1, '\0'));
    TReader(empty).ReadProperties(plain);
    TStringStream stray(Stored(read));
    EXPECT_THROW(TReader(stray).ReadProperties(plain), EReadError);
}

TEST(TFiler, ValuesOfTheWrongTypeOrLeftUnreadRaise)
{
    TFramed source;
    source.style = "x";
    const std::string good = Stored(source);
    // name length, "Frame", kind, 8-byte payload length, then: false, int32 0, ident "x"; then the end.
    constexpr size_t kPayload = 15;
    ASSERT_EQ(good.substr(kPayload), std::string("\x04\x03\0\0\0\0\x06\x01x\0", 10));
    std::string wrongType = good;
    wrongType[kPayload] = '\x03';
    std::string leftOver = good;
    leftOver[7] = char(leftOver[7] + 1);
    leftOver.insert(good.size() - 1, "\x05");
    for (const std::string& bad : { wrongType, leftOver }) {
        TStringStream stream(bad);
        TFramed read;
        EXPECT_THROW(TReader(stream).ReadProperties(read), EReadError);
    }
}

} // namespace

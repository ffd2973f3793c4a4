// Streaming of the properties a persistent object defines itself (DefineProperties): TFiler, and its
// reading and writing forms TReader and TWriter over a TStream.
//
// The stored form is a list of records, each
//     uint8 name length (1..255), the name's bytes,
//     uint8 kind (TValueType: vaBinary or vaValues),
//     uint64 payload length, little-endian, then the payload,
// closed by a single 0 byte. A vaBinary payload holds the bytes the property's stream writer wrote; a
// vaValues payload holds values written through a TWriter, each a TValueType tag followed by its bytes.
// Every malformed, short or unknown piece raises EReadError.
#pragma once
#include "framework/core/TObject.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TPersistent;
class TReader;
class TStream;
class TWriter;

enum TValueType : uint8_t { vaNull, vaBinary, vaValues, vaInt32, vaFalse, vaTrue, vaIdent };

using TReaderProc = std::function<void(TReader&)>;
using TWriterProc = std::function<void(TWriter&)>;
using TStreamProc = std::function<void(TStream&)>;

// What a persistent object's DefineProperties talks to: it declares each stored property by name, with
// how to read it, how to write it and whether it has anything to write.
class TFiler : public TObject {
public:
    explicit TFiler(TStream& stream) : FStream(stream) { }

    // The object the written one is compared with (nil: none); properties equal to it need not be stored.
    TPersistent* Ancestor() const { return FAncestor; }
    void SetAncestor(TPersistent* value) { FAncestor = value; }

    // A property stored as values read and written through the filer.
    virtual void DefineProperty(const std::string& name, TReaderProc readData, TWriterProc writeData,
                                bool hasData) = 0;
    // A property stored as raw bytes; the read procedure gets a stream of exactly the stored bytes.
    virtual void DefineBinaryProperty(const std::string& name, TStreamProc readData, TStreamProc writeData,
                                      bool hasData) = 0;

protected:
    TStream& FStream;
    TPersistent* FAncestor = nullptr;
};

class TReader : public TFiler {
public:
    using TFiler::TFiler;

    // Reads the records at the stream's position into `instance`'s defined properties. The whole list is
    // read and checked (framing, known names, matching kinds) before the instance is touched; a property
    // whose own reader fails may still leave it changed.
    void ReadProperties(TPersistent& instance);

    // The values of a vaValues property.
    bool ReadBoolean();
    int32_t ReadInteger();
    std::string ReadIdent();

    void DefineProperty(const std::string& name, TReaderProc readData, TWriterProc writeData,
                        bool hasData) override;
    void DefineBinaryProperty(const std::string& name, TStreamProc readData, TStreamProc writeData,
                              bool hasData) override;

private:
    struct TRecord {
        std::string name;
        TValueType kind = vaNull;
        std::vector<uint8_t> payload;
        bool known = false;
    };

    TRecord ReadRecord();
    TRecord* Find(const std::string& name, TValueType kind);
    TValueType ReadValueType();

    std::vector<TRecord> FRecords;
    bool FApplying = false;
};

class TWriter : public TFiler {
public:
    using TFiler::TFiler;

    // Writes `instance`'s defined properties that have data, then the end of the list.
    void WriteProperties(TPersistent& instance);

    // The values of a vaValues property.
    void WriteBoolean(bool value);
    void WriteInteger(int32_t value);
    // Identifiers are at most 255 bytes long.
    void WriteIdent(const std::string& value);

    void DefineProperty(const std::string& name, TReaderProc readData, TWriterProc writeData,
                        bool hasData) override;
    void DefineBinaryProperty(const std::string& name, TStreamProc readData, TStreamProc writeData,
                              bool hasData) override;

private:
    void WriteRecord(const std::string& name, TValueType kind, TStream& payload);
};

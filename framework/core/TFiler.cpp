#include "framework/core/TFiler.h"

#include "framework/core/Streams.h"
#include "framework/core/TPersistent.h"

#include <algorithm>

namespace {

// Payloads arrive in pieces of this size, so storage grows with the bytes that are really there and not
// with the length a record claims.
constexpr int32_t kPayloadChunk = 0x10000;

[[noreturn]] void InvalidValue()
{
    throw EReadError("Invalid property value");
}

uint8_t ReadByte(TStream& stream)
{
    uint8_t value = 0;
    stream.ReadBuffer(&value, 1);
    return value;
}

uint64_t ReadLittleEndian(TStream& stream, int bytes)
{
    uint8_t buffer[8] {};
    stream.ReadBuffer(buffer, bytes);
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | buffer[i];
    return value;
}

void WriteLittleEndian(TStream& stream, uint64_t value, int bytes)
{
    uint8_t buffer[8] {};
    for (int i = 0; i < bytes; ++i)
        buffer[i] = uint8_t(value >> (8 * i));
    stream.WriteBuffer(buffer, bytes);
}

// A name or identifier: a length byte and that many bytes.
std::string ReadShortString(TStream& stream)
{
    std::string s(ReadByte(stream), '\0');
    if (!s.empty())
        stream.ReadBuffer(s.data(), int32_t(s.size()));
    return s;
}

void WriteShortString(TStream& stream, const std::string& s)
{
    if (s.size() > 255)
        throw EWriteError("Name too long: " + s.substr(0, 32) + "...");
    const uint8_t length = uint8_t(s.size());
    stream.WriteBuffer(&length, 1);
    if (length)
        stream.WriteBuffer(s.data(), length);
}

std::vector<uint8_t> ReadPayload(TStream& stream, uint64_t length)
{
    const int64_t size = stream.Size();
    const int64_t position = stream.Position();
    if (size >= 0 && position >= 0 && (position > size || uint64_t(size - position) < length))
        throw EReadError("Stream read error");
    std::vector<uint8_t> payload;
    while (payload.size() < length) {
        const size_t done = payload.size();
        const int32_t count = int32_t(std::min<uint64_t>(length - done, kPayloadChunk));
        payload.resize(done + size_t(count));
        stream.ReadBuffer(payload.data() + done, count);
    }
    return payload;
}

void Fill(TMemoryStream& stream, const std::vector<uint8_t>& bytes)
{
    for (size_t done = 0; done < bytes.size();) {
        const int32_t count = int32_t(std::min<size_t>(bytes.size() - done, kPayloadChunk));
        stream.WriteBuffer(bytes.data() + done, count);
        done += size_t(count);
    }
    stream.SetPosition(0);
}

// A property's reader must take all of its bytes; anything left means the data is not what it claims.
void ExpectConsumed(TStream& stream)
{
    if (stream.Position() != stream.Size())
        InvalidValue();
}

} // namespace

// --- TReader ---

void TReader::ReadProperties(TPersistent& instance)
{
    FRecords.clear();
    for (;;) {
        TRecord record = ReadRecord();
        if (record.name.empty())
            break;
        for (const TRecord& other : FRecords)
            if (other.name == record.name)
                throw EReadError("Property " + record.name + " is stored twice");
        FRecords.push_back(std::move(record));
    }
    // First pass: the instance only declares, so unknown names fail before anything is read into it.
    FApplying = false;
    instance.DefineProperties(this);
    for (const TRecord& record : FRecords)
        if (!record.known)
            throw EReadError("Property " + record.name + " does not exist");
    FApplying = true;
    instance.DefineProperties(this);
    FApplying = false;
    FRecords.clear();
}

TReader::TRecord TReader::ReadRecord()
{
    TRecord record;
    record.name = ReadShortString(FStream);
    if (record.name.empty())
        return record;
    record.kind = TValueType(ReadByte(FStream));
    if (record.kind != vaBinary && record.kind != vaValues)
        InvalidValue();
    record.payload = ReadPayload(FStream, ReadLittleEndian(FStream, 8));
    return record;
}

TReader::TRecord* TReader::Find(const std::string& name, TValueType kind)
{
    for (TRecord& record : FRecords) {
        if (record.name != name)
            continue;
        if (record.kind != kind)
            InvalidValue();
        record.known = true;
        return &record;
    }
    return nullptr;
}

void TReader::DefineProperty(const std::string& name, TReaderProc readData, TWriterProc, bool)
{
    TRecord* record = Find(name, vaValues);
    if (!record || !FApplying || !readData)
        return;
    TMemoryStream payload;
    Fill(payload, record->payload);
    TReader values(payload);
    readData(values);
    ExpectConsumed(payload);
}

void TReader::DefineBinaryProperty(const std::string& name, TStreamProc readData, TStreamProc, bool)
{
    TRecord* record = Find(name, vaBinary);
    if (!record || !FApplying || !readData)
        return;
    TMemoryStream payload;
    Fill(payload, record->payload);
    readData(payload);
    ExpectConsumed(payload);
}

TValueType TReader::ReadValueType()
{
    return TValueType(ReadByte(FStream));
}

bool TReader::ReadBoolean()
{
    const TValueType type = ReadValueType();
    if (type != vaFalse && type != vaTrue)
        InvalidValue();
    return type == vaTrue;
}

int32_t TReader::ReadInteger()
{
    if (ReadValueType() != vaInt32)
        InvalidValue();
    return int32_t(uint32_t(ReadLittleEndian(FStream, 4)));
}

std::string TReader::ReadIdent()
{
    if (ReadValueType() != vaIdent)
        InvalidValue();
    return ReadShortString(FStream);
}

// --- TWriter ---

void TWriter::WriteProperties(TPersistent& instance)
{
    instance.DefineProperties(this);
    const uint8_t end = 0;
    FStream.WriteBuffer(&end, 1);
}

void TWriter::WriteRecord(const std::string& name, TValueType kind, TStream& payload)
{
    if (name.empty())
        throw EWriteError("A stored property needs a name");
    WriteShortString(FStream, name);
    const uint8_t tag = kind;
    FStream.WriteBuffer(&tag, 1);
    const int64_t length = payload.Size();
    WriteLittleEndian(FStream, uint64_t(length), 8);
    if (length > 0)
        FStream.CopyFrom(payload, length);
}

void TWriter::DefineProperty(const std::string& name, TReaderProc, TWriterProc writeData, bool hasData)
{
    if (!hasData || !writeData)
        return;
    TMemoryStream payload;
    TWriter values(payload);
    writeData(values);
    payload.SetPosition(0);
    WriteRecord(name, vaValues, payload);
}

void TWriter::DefineBinaryProperty(const std::string& name, TStreamProc, TStreamProc writeData, bool hasData)
{
    if (!hasData || !writeData)
        return;
    TMemoryStream payload;
    writeData(payload);
    payload.SetPosition(0);
    WriteRecord(name, vaBinary, payload);
}

void TWriter::WriteBoolean(bool value)
{
    const uint8_t tag = value ? vaTrue : vaFalse;
    FStream.WriteBuffer(&tag, 1);
}

void TWriter::WriteInteger(int32_t value)
{
    const uint8_t tag = vaInt32;
    FStream.WriteBuffer(&tag, 1);
    WriteLittleEndian(FStream, uint32_t(value), 4);
}

void TWriter::WriteIdent(const std::string& value)
{
    const uint8_t tag = vaIdent;
    FStream.WriteBuffer(&tag, 1);
    WriteShortString(FStream, value);
}

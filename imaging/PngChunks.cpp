#include "imaging/PngChunks.h"

#include "framework/core/Streams.h"
#include "imaging/PngImageData.h"
#include "imaging/PngMessages.h"
#include "imaging/TPNGObject.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <zlib.h>

namespace {

// The virtual constructor of a class reference. The name is set here, where the object's class is complete.
template <class T> TChunk* CreateChunk(TPNGObject* owner)
{
    T* chunk = new T(owner);
    std::string name = TChunk::GetName(&T::ClassInfo);
    if (name.size() == 4)
        std::memcpy(chunk->Name.data(), name.data(), 4);
    return chunk;
}

// zTXt texts are inflated in memory; a few kilobytes that claim gigabytes must not exhaust it.
constexpr size_t MaxTextSize = 8u << 20;

std::vector<TChunkClass>& Registry()
{
    // Filled on first use, before any caller can register a class of its own, in the order look-ups walk it.
    static std::vector<TChunkClass> registry { &TChunkIEND::ClassInfo, &TChunkIHDR::ClassInfo, &TChunkIDAT::ClassInfo,
        &TChunkPLTE::ClassInfo, &TChunkgAMA::ClassInfo, &TChunktRNS::ClassInfo, &TChunkpHYs::ClassInfo,
        &TChunktIME::ClassInfo, &TChunktEXt::ClassInfo, &TChunkzTXt::ClassInfo };
    return registry;
}

// The data up to the first zero byte; all of it when there is none.
size_t KeywordLength(const uint8_t* data, size_t size)
{
    const void* zero = std::memchr(data, 0, size);
    return zero ? size_t(static_cast<const uint8_t*>(zero) - data) : size;
}

} // namespace

const TChunkClassInfo TChunk::ClassInfo { "TChunk", nullptr, &CreateChunk<TChunk> };
const TChunkClassInfo TChunkIEND::ClassInfo { "TChunkIEND", &TChunk::ClassInfo, &CreateChunk<TChunkIEND> };
const TChunkClassInfo TChunkPLTE::ClassInfo { "TChunkPLTE", &TChunk::ClassInfo, &CreateChunk<TChunkPLTE> };
const TChunkClassInfo TChunkgAMA::ClassInfo { "TChunkgAMA", &TChunk::ClassInfo, &CreateChunk<TChunkgAMA> };
const TChunkClassInfo TChunktRNS::ClassInfo { "TChunktRNS", &TChunk::ClassInfo, &CreateChunk<TChunktRNS> };
const TChunkClassInfo TChunkpHYs::ClassInfo { "TChunkpHYs", &TChunk::ClassInfo, &CreateChunk<TChunkpHYs> };
const TChunkClassInfo TChunktIME::ClassInfo { "TChunktIME", &TChunk::ClassInfo, &CreateChunk<TChunktIME> };
const TChunkClassInfo TChunktEXt::ClassInfo { "TChunktEXt", &TChunk::ClassInfo, &CreateChunk<TChunktEXt> };
const TChunkClassInfo TChunkzTXt::ClassInfo { "TChunkzTXt", &TChunktEXt::ClassInfo, &CreateChunk<TChunkzTXt> };

bool TChunkClassInfo::InheritsFrom(const TChunkClassInfo* other) const
{
    for (const TChunkClassInfo* c = this; c; c = c->Parent) {
        if (c == other)
            return true;
    }
    return false;
}

void RegisterChunk(TChunkClass chunkClass)
{
    Registry().push_back(chunkClass);
}

TChunkClass FindChunkClass(const TChunkName& name)
{
    std::string wanted(name.data(), 4);
    for (TChunkClass chunkClass : Registry()) {
        if (TChunk::GetName(chunkClass) == wanted)
            return chunkClass;
    }
    return &TChunk::ClassInfo;
}

void ReadChunkBytes(TStream& stream, void* buffer, uint32_t count)
{
    auto* bytes = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        int32_t step = int32_t(std::min<uint32_t>(count, 0x40000000u));
        int32_t got = stream.Read(bytes, step);
        if (got <= 0)
            RaiseError<EPngUnexpectedEnd>(EPNGUnexpectedEndText);
        bytes += got;
        count -= uint32_t(got);
    }
}

// ---------------------------------------------------------------------------------------------------------------
// TChunk

TChunk::TChunk(TPNGObject* owner)
    : FData(1, 0)
    , FOwner(owner)
{
}

std::string TChunk::GetName(TChunkClass chunkClass)
{
    std::string className = chunkClass->ClassName;
    return className.size() > 6 ? className.substr(6) : std::string();
}

void TChunk::Assign(TChunk* source)
{
    Name = source->Name;
    FDataSize = source->FDataSize;
    FData.assign(source->FData.begin(), source->FData.begin() + FDataSize + 1);
}

bool TChunk::LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size)
{
    Name = chunkName;
    // A length the stream cannot hold is refused before anything is allocated for it.
    int64_t left = stream.Size() - stream.Position();
    if (int64_t(size) + 4 > left)
        RaiseError<EPngUnexpectedEnd>(EPNGUnexpectedEndText);
    ResizeData(size);
    if (size > 0)
        ReadChunkBytes(stream, FData.data(), size);
    uint8_t stored[4];
    ReadChunkBytes(stream, stored, 4);
    if (ReadBigEndian32(stored) != ChunkCRC(Name, FData.data(), FDataSize))
        RaiseError<EPngInvalidCRC>(EPngInvalidCRCText);
    return true;
}

bool TChunk::SaveToStream(TStream& stream)
{
    return SaveData(stream);
}

void TChunk::ResizeData(uint32_t size)
{
    FData.resize(size_t(size) + 1);
    FDataSize = size;
}

int TChunk::GetIndex() const
{
    TPNGList& list = FOwner->Chunks();
    for (uint32_t i = 0; i < list.Count(); ++i) {
        if (list.Item(i) == this)
            return int(i);
    }
    return -1;
}

TChunkIHDR* TChunk::GetHeader() const
{
    return FOwner->Header();
}

bool TChunk::SaveData(TStream& stream)
{
    uint8_t frame[8];
    WriteBigEndian32(frame, FDataSize);
    std::memcpy(frame + 4, Name.data(), 4);
    stream.WriteBuffer(frame, 8);
    if (FDataSize > 0)
        stream.WriteBuffer(FData.data(), int32_t(FDataSize));
    WriteBigEndian32(frame, ChunkCRC(Name, FData.data(), FDataSize));
    stream.WriteBuffer(frame, 4);
    return true;
}

// ---------------------------------------------------------------------------------------------------------------
// PLTE

void TChunkPLTE::Assign(TChunk* source)
{
    if (source->ClassType() != &TChunkPLTE::ClassInfo)
        RaiseError<EPngError>(EPNGCannotAssignChunkText);
    FCount = static_cast<TChunkPLTE*>(source)->FCount;
    // The raw entries travel too: they are what a picture without a palette in its store writes back.
    inherited::Assign(source);
}

bool TChunkPLTE::LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size)
{
    bool result = inherited::LoadFromStream(stream, chunkName, size);
    if (FDataSize % 3 != 0 || FDataSize / 3 > 256)
        RaiseError<EPNGInvalidPalette>(EPNGInvalidPaletteText);
    FCount = int32_t(FDataSize / 3);
    const uint8_t* gamma = FOwner->GammaTable;
    TPngPalette palette(static_cast<size_t>(FCount));
    for (int32_t i = 0; i < FCount; ++i) {
        palette[i].peRed = gamma[FData[i * 3]];
        palette[i].peGreen = gamma[FData[i * 3 + 1]];
        palette[i].peBlue = gamma[FData[i * 3 + 2]];
    }
    // A suggested palette of an RGB image has no place in the store; the chunk keeps its raw entries instead.
    FOwner->SetPalette(palette);
    return result;
}

bool TChunkPLTE::SaveToStream(TStream& stream)
{
    TChunkIHDR* header = GetHeader();
    // Without a palette in the store (a suggested palette of an RGB image) the entries read are written back as
    // they were; building them from a palette that does not exist would write black.
    if (!header->HasPalette)
        return SaveData(stream);
    if (FCount == 0)
        FCount = int32_t(std::min<uint32_t>(header->BitmapInfo.bmiHeader.biClrUsed, 256));
    ResizeData(uint32_t(FCount) * 3);
    const uint8_t* inverse = FOwner->InverseGamma;
    for (int32_t i = 0; i < FCount; ++i) {
        uint8_t r, g, b;
        if (size_t(i) < header->ImagePalette.size()) {
            r = header->ImagePalette[i].peRed;
            g = header->ImagePalette[i].peGreen;
            b = header->ImagePalette[i].peBlue;
        } else {
            r = header->BitmapInfo.bmiColors[i].rgbRed;
            g = header->BitmapInfo.bmiColors[i].rgbGreen;
            b = header->BitmapInfo.bmiColors[i].rgbBlue;
        }
        FData[i * 3] = inverse[r];
        FData[i * 3 + 1] = inverse[g];
        FData[i * 3 + 2] = inverse[b];
    }
    return SaveData(stream);
}

TPngRGBQuad TChunkPLTE::GetPaletteItem(uint8_t index) const
{
    if (int32_t(index) > FCount - 1)
        RaiseError<EPngError>(EPNGUnknownPalEntryText);
    return GetHeader()->BitmapInfo.bmiColors[index];
}

// ---------------------------------------------------------------------------------------------------------------
// gAMA

TChunkgAMA::TChunkgAMA(TPNGObject* owner)
    : TChunk(owner)
{
    SetValue(1);
}

void TChunkgAMA::Assign(TChunk* source)
{
    if (source->ClassType() != &TChunkgAMA::ClassInfo)
        RaiseError<EPngError>(EPNGCannotAssignChunkText);
    Name = source->Name;
    SetValue(static_cast<TChunkgAMA*>(source)->GetValue());
}

bool TChunkgAMA::LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size)
{
    bool result = inherited::LoadFromStream(stream, chunkName, size);
    uint32_t value = GetValue();
    if (value != 0) {
        // The tables are computed in extended precision and rounded with halves to even; the inverse table keeps
        // its identity entries where no level lands.
        long double exponent = 1.0L / ((long double)value / 100000.0L * 2.2L);
        for (int i = 0; i < 256; ++i) {
            long double base = (long double)i / 255.0L;
            long double power = base == 0 ? 0.0L : std::exp2l(exponent * std::log2l(base));
            auto g = static_cast<uint8_t>(std::clamp<long double>(std::nearbyintl(power * 255.0L), 0, 255));
            FOwner->GammaTable[i] = g;
            FOwner->InverseGamma[g] = uint8_t(i);
        }
    }
    return result;
}

uint32_t TChunkgAMA::GetValue()
{
    if (FDataSize != 4) {
        ResizeData(4);
        return 1;
    }
    return ReadBigEndian32(FData.data());
}

void TChunkgAMA::SetValue(uint32_t value)
{
    if (FDataSize != 4)
        ResizeData(4);
    WriteBigEndian32(FData.data(), value);
}

// ---------------------------------------------------------------------------------------------------------------
// tRNS

TChunktRNS::TChunktRNS(TPNGObject* owner)
    : TChunk(owner)
{
    std::memset(PaletteValues, 255, sizeof PaletteValues);
}

void TChunktRNS::Assign(TChunk* source)
{
    if (source->ClassType() == &TChunktRNS::ClassInfo) {
        auto* other = static_cast<TChunktRNS*>(source);
        std::memcpy(PaletteValues, other->PaletteValues, sizeof PaletteValues);
        BitTransparency = other->BitTransparency;
    }
    inherited::Assign(source);
}

bool TChunktRNS::LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size)
{
    bool result = inherited::LoadFromStream(stream, chunkName, size);
    if (FDataSize > 256)
        RaiseError<EPNGInvalidPalette>(EPNGInvalidPaletteText);
    std::memset(PaletteValues, 255, sizeof PaletteValues);
    std::memcpy(PaletteValues, FData.data(), FDataSize);
    switch (GetHeader()->IHDRData.ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB:
        BitTransparency = true;
        break;
    case COLOR_PALETTE: {
        // Bit transparency is one entry fully transparent and every other one opaque. A single entry of partial
        // alpha is no key: it is drawn with its alpha, never keyed on a colour no entry is transparent for.
        int notOpaque = 0;
        int clear = 0;
        for (uint32_t i = 0; i < FDataSize; ++i) {
            notOpaque += FData[i] != 255;
            clear += FData[i] == 0;
        }
        BitTransparency = notOpaque == 1 && clear == 1;
        break;
    }
    default:
        break;
    }
    return result;
}

bool TChunktRNS::SaveToStream(TStream& stream)
{
    if (FDataSize <= 256)
        std::memcpy(FData.data(), PaletteValues, FDataSize);
    return SaveData(stream);
}

void TChunktRNS::SetTransparentColor(uint32_t value)
{
    TChunkIHDR* header = GetHeader();
    uint8_t red = value & 0xFF, green = (value >> 8) & 0xFF, blue = (value >> 16) & 0xFF;
    // Samples are written at the image's own depth: a 16-bit key repeats the level in both bytes, and a grey key
    // of fewer than 8 bits is the level scaled down, so the key names the colour that was asked for.
    uint8_t depth = header->IHDRData.BitDepth;
    auto sample = [depth](uint8_t level) -> uint16_t {
        if (depth == 16)
            return uint16_t(level * 257);
        if (depth >= 8)
            return level;
        int maxValue = (1 << depth) - 1;
        return uint16_t((level * maxValue + 127) / 255);
    };
    switch (header->IHDRData.ColorType) {
    case COLOR_GRAYSCALE: {
        std::memset(PaletteValues, 0, sizeof PaletteValues);
        BitTransparency = true;
        ResizeData(2);
        uint16_t grey = sample(red);
        PaletteValues[0] = uint8_t(grey >> 8);
        PaletteValues[1] = uint8_t(grey);
        break;
    }
    case COLOR_RGB: {
        std::memset(PaletteValues, 0, sizeof PaletteValues);
        BitTransparency = true;
        ResizeData(6);
        const uint16_t samples[3] = { sample(red), sample(green), sample(blue) };
        for (int i = 0; i < 3; ++i) {
            PaletteValues[i * 2] = uint8_t(samples[i] >> 8);
            PaletteValues[i * 2 + 1] = uint8_t(samples[i]);
        }
        break;
    }
    case COLOR_PALETTE: {
        // A colour the palette does not hold changes nothing: marking some other entry would hide a colour that
        // was never asked for.
        uint32_t count = std::min<uint32_t>(header->BitmapInfo.bmiHeader.biClrUsed, 256);
        for (uint32_t k = 0; k < count; ++k) {
            const TPngRGBQuad& entry = header->BitmapInfo.bmiColors[k];
            if (entry.rgbBlue == blue && entry.rgbGreen == green && entry.rgbRed == red) {
                std::memset(PaletteValues, 0, sizeof PaletteValues);
                BitTransparency = true;
                std::memset(PaletteValues, 255, k);
                ResizeData(k + 1);
                break;
            }
        }
        break;
    }
    default:
        break;
    }
}

uint32_t TChunktRNS::GetTransparentColor() const
{
    TChunkIHDR* header = GetHeader();
    uint8_t depth = header->IHDRData.BitDepth;
    switch (header->IHDRData.ColorType) {
    case COLOR_GRAYSCALE: {
        // The store keeps the high byte of a 16-bit sample and widens 2-bit samples to 4 bits. Bits above the
        // depth are ignored, as other readers do.
        uint16_t sample = uint16_t((PaletteValues[0] << 8) | PaletteValues[1]);
        uint32_t index = depth == 16 ? uint32_t(sample >> 8)
            : depth == 2             ? uint32_t(sample & 3) * 5
                                     : uint32_t(sample & ((1u << std::min<uint32_t>(depth, 8)) - 1));
        uint8_t level = header->BitmapInfo.bmiColors[index & 0xFF].rgbRed;
        return uint32_t(level) | (uint32_t(level) << 8) | (uint32_t(level) << 16);
    }
    case COLOR_RGB: {
        const uint8_t* gamma = FOwner->GammaTable;
        int byte = depth == 16 ? 0 : 1;
        return uint32_t(gamma[PaletteValues[byte]]) | (uint32_t(gamma[PaletteValues[2 + byte]]) << 8)
            | (uint32_t(gamma[PaletteValues[4 + byte]]) << 16);
    }
    case COLOR_PALETTE: {
        auto* palette = FOwner->Chunks().Find<TChunkPLTE>();
        for (uint32_t i = 0; i < FDataSize && i < 256; ++i) {
            if (PaletteValues[i] == 0) {
                TPngRGBQuad entry = palette ? palette->GetPaletteItem(uint8_t(i)) : header->BitmapInfo.bmiColors[i];
                return uint32_t(entry.rgbRed) | (uint32_t(entry.rgbGreen) << 8) | (uint32_t(entry.rgbBlue) << 16);
            }
        }
        return 0;
    }
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------------------------------------------
// pHYs

void TChunkpHYs::Assign(TChunk* source)
{
    if (source->ClassType() == &TChunkpHYs::ClassInfo) {
        auto* other = static_cast<TChunkpHYs*>(source);
        PPUnitX = other->PPUnitX;
        PPUnitY = other->PPUnitY;
        UnitType = other->UnitType;
    }
    Name = source->Name;
}

bool TChunkpHYs::LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size)
{
    bool result = inherited::LoadFromStream(stream, chunkName, size);
    if (FDataSize == 9) {
        PPUnitX = ReadBigEndian32(FData.data());
        PPUnitY = ReadBigEndian32(FData.data() + 4);
        UnitType = FData[8] == 1 ? utMeter : utUnknown;
    }
    return result;
}

bool TChunkpHYs::SaveToStream(TStream& stream)
{
    ResizeData(9);
    WriteBigEndian32(FData.data(), PPUnitX);
    WriteBigEndian32(FData.data() + 4, PPUnitY);
    FData[8] = uint8_t(UnitType);
    return SaveData(stream);
}

// ---------------------------------------------------------------------------------------------------------------
// tIME

void TChunktIME::Assign(TChunk* source)
{
    if (source->ClassType() == &TChunktIME::ClassInfo) {
        auto* other = static_cast<TChunktIME*>(source);
        Year = other->Year;
        Month = other->Month;
        Day = other->Day;
        Hour = other->Hour;
        Minute = other->Minute;
        Second = other->Second;
    }
    Name = source->Name;
}

bool TChunktIME::LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size)
{
    bool result = inherited::LoadFromStream(stream, chunkName, size);
    if (FDataSize == 7) {
        Year = uint16_t((FData[0] << 8) | FData[1]);
        Month = FData[2];
        Day = FData[3];
        Hour = FData[4];
        Minute = FData[5];
        Second = FData[6];
    }
    return result;
}

bool TChunktIME::SaveToStream(TStream& stream)
{
    ResizeData(7);
    FData[0] = uint8_t(Year >> 8);
    FData[1] = uint8_t(Year);
    FData[2] = Month;
    FData[3] = Day;
    FData[4] = Hour;
    FData[5] = Minute;
    FData[6] = Second;
    return SaveData(stream);
}

// ---------------------------------------------------------------------------------------------------------------
// tEXt and zTXt

void TChunktEXt::Assign(TChunk* source)
{
    if (source->ClassType()->InheritsFrom(&TChunktEXt::ClassInfo)) {
        auto* other = static_cast<TChunktEXt*>(source);
        Keyword = other->Keyword;
        Text = other->Text;
    }
    Name = source->Name;
}

bool TChunktEXt::LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size)
{
    bool result = inherited::LoadFromStream(stream, chunkName, size);
    if (FDataSize > 2) {
        // Without a separator the whole data is the keyword and the text is empty.
        size_t keywordLength = KeywordLength(FData.data(), FDataSize);
        Keyword.assign(reinterpret_cast<const char*>(FData.data()), keywordLength);
        size_t textStart = std::min<size_t>(keywordLength + 1, FDataSize);
        Text.assign(reinterpret_cast<const char*>(FData.data()) + textStart, FDataSize - textStart);
    }
    return result;
}

bool TChunktEXt::SaveToStream(TStream& stream)
{
    ResizeData(uint32_t(Keyword.size() + Text.size() + 1));
    std::memcpy(FData.data(), Keyword.data(), Keyword.size());
    FData[Keyword.size()] = 0;
    std::memcpy(FData.data() + Keyword.size() + 1, Text.data(), Text.size());
    return SaveData(stream);
}

namespace {

// Inflates one complete zlib stream through a 256-byte step buffer. False when the stream is corrupt, incomplete
// or would grow past MaxTextSize.
bool InflateText(const uint8_t* data, size_t size, std::string& result)
{
    z_stream zs {};
    if (inflateInit(&zs) != Z_OK)
        return false;
    zs.next_in = const_cast<uint8_t*>(data);
    zs.avail_in = uInt(size);
    uint8_t step[256];
    int status = Z_OK;
    while (status == Z_OK) {
        zs.next_out = step;
        zs.avail_out = sizeof step;
        status = inflate(&zs, Z_NO_FLUSH);
        result.append(reinterpret_cast<const char*>(step), sizeof step - zs.avail_out);
        if (result.size() > MaxTextSize)
            status = Z_MEM_ERROR;
    }
    inflateEnd(&zs);
    return status == Z_STREAM_END;
}

bool DeflateText(const std::string& text, int level, std::string& result)
{
    z_stream zs {};
    if (deflateInit(&zs, level) != Z_OK)
        return false;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    zs.avail_in = uInt(text.size());
    uint8_t step[256];
    int status = Z_OK;
    while (status == Z_OK) {
        zs.next_out = step;
        zs.avail_out = sizeof step;
        status = deflate(&zs, Z_FINISH);
        result.append(reinterpret_cast<const char*>(step), sizeof step - zs.avail_out);
    }
    deflateEnd(&zs);
    return status == Z_STREAM_END;
}

} // namespace

bool TChunkzTXt::LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size)
{
    bool result = inherited::LoadFromStream(stream, chunkName, size);
    if (FDataSize >= 4) {
        size_t keywordLength = KeywordLength(FData.data(), FDataSize);
        Keyword.assign(reinterpret_cast<const char*>(FData.data()), keywordLength);
        Text.clear();
        // The method byte and the compressed bytes must lie inside the data; a failed inflation leaves no text.
        if (keywordLength + 1 < FDataSize && FData[keywordLength + 1] == 0) {
            size_t start = keywordLength + 2;
            std::string text;
            if (InflateText(FData.data() + start, FDataSize - start, text))
                Text = std::move(text);
        }
    }
    return result;
}

bool TChunkzTXt::SaveToStream(TStream& stream)
{
    if (Text.empty())
        Text.assign(1, ' ');
    std::string compressed;
    if (!DeflateText(Text, FOwner->CompressionLevel(), compressed))
        return false;
    ResizeData(uint32_t(Keyword.size() + 2 + compressed.size()));
    std::memcpy(FData.data(), Keyword.data(), Keyword.size());
    FData[Keyword.size()] = 0;
    FData[Keyword.size() + 1] = 0;
    std::memcpy(FData.data() + Keyword.size() + 2, compressed.data(), compressed.size());
    return SaveData(stream);
}

// ---------------------------------------------------------------------------------------------------------------
// TPNGPointerList and TPNGList

void TPNGPointerList::Add(void* value)
{
    FItems.push_back(value);
}

void TPNGPointerList::Insert(void* value, uint32_t position)
{
    if (position < FItems.size() || FItems.empty())
        FItems.insert(FItems.begin() + std::min<size_t>(position, FItems.size()), value);
}

void* TPNGPointerList::Remove(void* value)
{
    for (size_t i = FItems.size(); i-- > 0;) {
        if (FItems[i] == value) {
            FItems.erase(FItems.begin() + ptrdiff_t(i));
            return value;
        }
    }
    return nullptr;
}

void TPNGPointerList::SetItem(uint32_t index, void* value)
{
    if (index < FItems.size())
        FItems[index] = value;
}

void TPNGPointerList::SetSize(uint32_t size)
{
    FItems.resize(size, nullptr);
    if (size == 0)
        FItems.shrink_to_fit();
}

TChunk* TPNGList::Add(TChunkClass chunkClass)
{
    TPNGObject* owner = Owner();
    bool critical = chunkClass == &TChunkIHDR::ClassInfo || chunkClass == &TChunkIDAT::ClassInfo
        || chunkClass == &TChunkPLTE::ClassInfo || chunkClass == &TChunkIEND::ClassInfo;
    if (critical && !owner->BeingCreated)
        RaiseError<EPngError>(EPNGCannotAddChunkText);
    bool single = chunkClass == &TChunkgAMA::ClassInfo || chunkClass == &TChunktRNS::ClassInfo
        || chunkClass == &TChunkpHYs::ClassInfo;
    if (single && ItemFromClass(chunkClass))
        RaiseError<EPngError>(EPNGCannotAddChunkText);
    TChunk* ihdr = ItemFromClass(&TChunkIHDR::ClassInfo);
    TChunk* iend = ItemFromClass(&TChunkIEND::ClassInfo);
    if ((!iend || !ihdr) && !owner->BeingCreated)
        RaiseError<EPngError>(EPNGCannotAddInvalidImageText);

    TChunk* chunk = chunkClass->Create(owner);
    uint32_t afterHeader = ihdr ? uint32_t(ihdr->GetIndex() + 1) : 0;
    if (chunkClass == &TChunkgAMA::ClassInfo || chunkClass == &TChunkpHYs::ClassInfo
        || chunkClass == &TChunkPLTE::ClassInfo) {
        Insert(chunk, afterHeader);
    } else if (chunkClass == &TChunkIEND::ClassInfo) {
        Insert(chunk, Count());
    } else if (chunkClass == &TChunkIHDR::ClassInfo) {
        Insert(chunk, 0);
    } else if (chunkClass == &TChunktRNS::ClassInfo) {
        TChunk* palette = ItemFromClass(&TChunkPLTE::ClassInfo);
        TChunk* data = ItemFromClass(&TChunkIDAT::ClassInfo);
        if (palette)
            Insert(chunk, uint32_t(palette->GetIndex() + 1));
        else if (data)
            Insert(chunk, uint32_t(data->GetIndex()));
        else
            Insert(chunk, afterHeader);
    } else {
        Insert(chunk, iend ? uint32_t(iend->GetIndex()) : Count());
    }
    // NOTE: a position the rules cannot take (past the end of a non-empty list) inserts nothing; the chunk is then
    // freed here rather than leaked.
    if (chunk->GetIndex() < 0) {
        delete chunk;
        return nullptr;
    }
    return chunk;
}

TChunk* TPNGList::ItemFromClass(TChunkClass chunkClass) const
{
    for (uint32_t i = 0; i < Count(); ++i) {
        TChunk* chunk = Item(i);
        if (chunk && chunk->ClassType()->InheritsFrom(chunkClass))
            return chunk;
    }
    return nullptr;
}

void TPNGList::RemoveChunk(TChunk* chunk)
{
    if (Remove(chunk))
        delete chunk;
}

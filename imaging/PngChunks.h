// The PNG chunk objects: the TChunk base, the chunk-class registry, the picture's chunk list and the simple chunks.
#pragma once
#include "framework/core/TObject.h"
#include "imaging/PngCodec.h"

#include <cstdint>
#include <string>
#include <vector>

class TStream;
class TChunk;
class TChunkIHDR;
class TPNGObject;

// A class reference to TChunk or a descendant: its name, its parent class and its virtual constructor.
struct TChunkClassInfo {
    const char* ClassName;
    const TChunkClassInfo* Parent;
    TChunk* (*Create)(TPNGObject* owner);

    // True for this class and every class derived from it.
    bool InheritsFrom(const TChunkClassInfo* other) const;
};
using TChunkClass = const TChunkClassInfo*;

// Appends a class to the program-wide registry, after the ten classes the codec registers itself.
void RegisterChunk(TChunkClass chunkClass);
// The first registered class whose GetName is `name` (case-sensitive); TChunk itself when none is.
TChunkClass FindChunkClass(const TChunkName& name);

// Reads exactly count bytes; a stream that ends first raises EPngUnexpectedEnd.
void ReadChunkBytes(TStream& stream, void* buffer, uint32_t count);

// One chunk of a picture's file. The data block always has one byte more than DataSize.
class TChunk : public TObject {
    using inherited = TObject;

public:
    static const TChunkClassInfo ClassInfo;
    explicit TChunk(TPNGObject* owner);

    virtual TChunkClass ClassType() const { return &ClassInfo; }
    // The chunk name of a class: its class name without the leading "TChunk" ("IHDR"), empty for TChunk.
    static std::string GetName(TChunkClass chunkClass);

    // Copies another chunk's name and data.
    virtual void Assign(TChunk* source);
    // Reads the chunk's data and CRC; the file reader has already read its length and name. Raises
    // EPngInvalidCRC when the stored CRC differs and EPngUnexpectedEnd when the stream ends inside the chunk.
    virtual bool LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size);
    // Writes the whole chunk.
    virtual bool SaveToStream(TStream& stream);

    // Sets the data size; the block keeps one spare byte. Bytes past the old size are zero.
    void ResizeData(uint32_t size);
    // The position in the owner's list, -1 when absent.
    int GetIndex() const;
    // The owner's first chunk as a header; raises EPNGHeaderNotPresent when there is none.
    TChunkIHDR* GetHeader() const;
    std::string GetChunkName() const { return std::string(Name.data(), 4); }
    // Writes the framing: length, name, data, CRC of name and data.
    bool SaveData(TStream& stream);

    uint8_t* Data() { return FData.data(); }
    const uint8_t* Data() const { return FData.data(); }
    uint32_t DataSize() const { return FDataSize; }
    TPNGObject* Owner() const { return FOwner; }

    TChunkName Name {};

protected:
    std::vector<uint8_t> FData;
    uint32_t FDataSize = 0;
    TPNGObject* FOwner;
};

// IEND: no data; the generic load, save and assignment.
class TChunkIEND final : public TChunk {
    using inherited = TChunk;

public:
    static const TChunkClassInfo ClassInfo;
    using TChunk::TChunk;
    TChunkClass ClassType() const override { return &ClassInfo; }
};

// PLTE: the palette of a palette image. The colours live in the header's image store; the chunk keeps their count.
class TChunkPLTE final : public TChunk {
    using inherited = TChunk;

public:
    static const TChunkClassInfo ClassInfo;
    using TChunk::TChunk;
    TChunkClass ClassType() const override { return &ClassInfo; }

    void Assign(TChunk* source) override;
    // Raises EPNGInvalidPalette for a size that is not a multiple of 3 or holds more than 256 entries.
    bool LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size) override;
    bool SaveToStream(TStream& stream) override;

    // The store's colour-table entry Index; raises EPngError for an entry past the palette.
    TPngRGBQuad GetPaletteItem(uint8_t index) const;
    int32_t Count() const { return FCount; }
    void SetCount(int32_t value) { FCount = value; }

private:
    int32_t FCount = 0;
};

// gAMA: the image's gamma times 100000; loading it rebuilds the owner's gamma tables.
class TChunkgAMA final : public TChunk {
    using inherited = TChunk;

public:
    static const TChunkClassInfo ClassInfo;
    explicit TChunkgAMA(TPNGObject* owner);
    TChunkClass ClassType() const override { return &ClassInfo; }

    void Assign(TChunk* source) override;
    bool LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size) override;

    uint32_t GetValue();
    void SetValue(uint32_t value);
};

// tRNS: one alpha value per palette entry, or the transparent grey or RGB sample.
class TChunktRNS final : public TChunk {
    using inherited = TChunk;

public:
    static const TChunkClassInfo ClassInfo;
    explicit TChunktRNS(TPNGObject* owner);
    TChunkClass ClassType() const override { return &ClassInfo; }

    void Assign(TChunk* source) override;
    // Raises EPNGInvalidPalette for more than 256 data bytes.
    bool LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size) override;
    bool SaveToStream(TStream& stream) override;

    // value is an RGB colour 0x00BBGGRR.
    void SetTransparentColor(uint32_t value);
    uint32_t GetTransparentColor() const;

    // Alpha per palette entry (255 past the loaded values).
    uint8_t PaletteValues[256];
    bool BitTransparency = false;
};

// pHYs: the intended pixel size.
class TChunkpHYs final : public TChunk {
    using inherited = TChunk;

public:
    static const TChunkClassInfo ClassInfo;
    using TChunk::TChunk;
    TChunkClass ClassType() const override { return &ClassInfo; }

    void Assign(TChunk* source) override;
    bool LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size) override;
    bool SaveToStream(TStream& stream) override;

    uint32_t PPUnitX = 0;
    uint32_t PPUnitY = 0;
    TUnitType UnitType = utUnknown;
};

// tIME: the time of the last change.
class TChunktIME final : public TChunk {
    using inherited = TChunk;

public:
    static const TChunkClassInfo ClassInfo;
    using TChunk::TChunk;
    TChunkClass ClassType() const override { return &ClassInfo; }

    void Assign(TChunk* source) override;
    bool LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size) override;
    bool SaveToStream(TStream& stream) override;

    uint16_t Year = 0;
    uint8_t Month = 0;
    uint8_t Day = 0;
    uint8_t Hour = 0;
    uint8_t Minute = 0;
    uint8_t Second = 0;
};

// tEXt: a keyword and a text, which may hold zero bytes.
class TChunktEXt : public TChunk {
    using inherited = TChunk;

public:
    static const TChunkClassInfo ClassInfo;
    using TChunk::TChunk;
    TChunkClass ClassType() const override { return &ClassInfo; }

    // Copies keyword and text, also between tEXt and zTXt chunks.
    void Assign(TChunk* source) override;
    bool LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size) override;
    bool SaveToStream(TStream& stream) override;

    std::string Keyword;
    std::string Text;
};

// zTXt: a keyword and a zlib-compressed text.
class TChunkzTXt final : public TChunktEXt {
    using inherited = TChunktEXt;

public:
    static const TChunkClassInfo ClassInfo;
    using TChunktEXt::TChunktEXt;
    TChunkClass ClassType() const override { return &ClassInfo; }

    bool LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size) override;
    // False, and nothing written, when the text cannot be compressed.
    bool SaveToStream(TStream& stream) override;
};

// An owned array of untyped pointers; the array always has exactly Count slots.
class TPNGPointerList : public TObject {
    using inherited = TObject;

public:
    explicit TPNGPointerList(TPNGObject* owner)
        : FOwner(owner)
    {
    }

    void Add(void* value);
    // Inserts only before an existing slot, or into an empty list.
    void Insert(void* value, uint32_t position);
    // Closes the gap of the last slot holding value; returns value, or nil when it is not there.
    virtual void* Remove(void* value);
    // Nil past the end.
    void* GetItem(uint32_t index) const { return index < FItems.size() ? FItems[index] : nullptr; }
    // Ignored past the end.
    void SetItem(uint32_t index, void* value);
    // New slots are nil.
    void SetSize(uint32_t size);
    uint32_t Count() const { return uint32_t(FItems.size()); }
    TPNGObject* Owner() const { return FOwner; }

private:
    TPNGObject* FOwner;
    std::vector<void*> FItems;
};

// The chunks of one picture, in file order. The picture owns the chunks; the list only refers to them.
class TPNGList final : public TPNGPointerList {
    using inherited = TPNGPointerList;

public:
    using TPNGPointerList::TPNGPointerList;

    // Creates a chunk of the class for the owner and places it where the PNG layout wants it. Raises EPngError for
    // a critical chunk or a second gAMA, tRNS or pHYs, and for a picture that lacks IHDR or IEND. Nil, and nothing
    // added, when the list has no slot where the chunk belongs.
    TChunk* Add(TChunkClass chunkClass);
    // The first chunk of the class or of a class derived from it, nil when there is none.
    TChunk* ItemFromClass(TChunkClass chunkClass) const;
    TChunk* FindChunk(TChunkClass chunkClass) const { return ItemFromClass(chunkClass); }
    template <class T> T* Find() const { return static_cast<T*>(ItemFromClass(&T::ClassInfo)); }
    // Removes the chunk from the list and frees it.
    void RemoveChunk(TChunk* chunk);
    TChunk* Item(uint32_t index) const { return static_cast<TChunk*>(GetItem(index)); }
};

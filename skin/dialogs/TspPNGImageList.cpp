#include "skin/dialogs/TspPNGImageList.h"

#include "framework/core/Numbers.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TFiler.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "imaging/PngImageData.h"
#include "imaging/TPNGObject.h"

#include <cstring>

namespace {

uint32_t ReadU32(TStream& stream)
{
    uint8_t bytes[4];
    if (stream.Read(bytes, 4) != 4)
        throw EReadError("PNG image list: the stored pictures end early");
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

void WriteU32(TStream& stream, uint32_t value)
{
    const uint8_t bytes[4] = { static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
        static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24) };
    stream.WriteBuffer(bytes, 4);
}

// A count read from the stream that cannot fit in what is left of it is refused before anything is allocated.
uint32_t ReadLength(TStream& stream)
{
    const uint32_t length = ReadU32(stream);
    if (length > stream.Size() - stream.Position())
        throw EReadError("PNG image list: a stored length passes the end of the data");
    return length;
}

// Grey and palette pictures: a new RGBA picture with the same colours, alpha `amount` (0 for the keyed colour).
void RebuildPngWithAlpha(TPNGObject& png, uint8_t amount, bool bitTransparent, TColor transparentColor)
{
    const int width = png.GetWidth(), height = png.GetHeight();
    TPNGObject rebuilt(COLOR_RGB, 8, width, height);
    rebuilt.CreateAlpha();
    for (int y = 0; y < height; ++y) {
        uint8_t* alpha = rebuilt.GetAlphaScanline(y);
        for (int x = 0; x < width; ++x) {
            const TColor color = png.GetPixels(x, y);
            rebuilt.SetPixels(x, y, color);
            alpha[x] = bitTransparent && color == transparentColor ? 0 : amount;
        }
    }
    png.Assign(&rebuilt);
}

} // namespace

void ScalePngOpacity(TPNGObject& png, uint8_t amount)
{
    if (!png.HeaderPresent())
        return;
    const bool bitTransparent = png.GetTransparencyMode() == ptmBit;
    const TColor transparentColor = png.GetTransparentColor();
    switch (png.Header()->IHDRData.ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE:
        RebuildPngWithAlpha(png, amount, bitTransparent, transparentColor);
        return;
    case COLOR_RGB:
        png.CreateAlpha();
        break;
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA:
        break;
    default:
        return;
    }
    for (int y = 0; y < png.GetHeight(); ++y) {
        uint8_t* alpha = png.GetAlphaScanline(y);
        for (int x = 0; x < png.GetWidth(); ++x) {
            if (bitTransparent && png.GetPixels(x, y) == transparentColor)
                alpha[x] = 0;
            else
                alpha[x] = static_cast<uint8_t>(Round(alpha[x] / 256.0 * (amount + 1)));
        }
    }
}

// --- TspPngImageItem ----------------------------------------------------------------------------------------------

TspPngImageItem::TspPngImageItem(TCollection* collection)
    : TCollectionItem(collection)
    , FPngImage(std::make_unique<TPNGObject>())
    , FName(Format("PngImage%d", Index()))
{
    if (TspPNGImageList* list = ImageList())
        list->InsertBitMap(Index());
}

TspPngImageItem::~TspPngImageItem() = default;

TspPNGImageList* TspPngImageItem::ImageList() const
{
    auto* items = dynamic_cast<TspPngImageItems*>(Collection());
    return items ? items->ImageList() : nullptr;
}

void TspPngImageItem::SetPngImage(TPNGObject* value)
{
    FPngImage->Assign(value);
    Changed(false);
}

void TspPngImageItem::Assign(TPersistent* source)
{
    if (auto* item = dynamic_cast<TspPngImageItem*>(source)) {
        FPngImage->Assign(item->FPngImage.get());
        FName = item->FName;
        return;
    }
    inherited::Assign(source);
}

std::string TspPngImageItem::GetDisplayName() const { return FName.empty() ? inherited::GetDisplayName() : FName; }

// --- TspPngImageItems ---------------------------------------------------------------------------------------------

TspPngImageItems::TspPngImageItems(TspPNGImageList* imageList)
    : TCollection(CollectionItemClass<TspPngImageItem>())
    , FImageList(imageList)
{
}

TPersistent* TspPngImageItems::GetOwner() const { return FImageList; }

void TspPngImageItems::Notify(TCollectionItem* item, TCollectionNotification action)
{
    inherited::Notify(item, action);
    // An item leaving (deleted, cleared or moved to another collection) takes its placeholder with it while its
    // index is still known.
    if (action == cnExtracting && FImageList) {
        const int index = item->Index();
        if (index >= 0 && index < FImageList->Count())
            FImageList->DeleteBitMap(index);
    }
}

// --- TspPNGImageList ----------------------------------------------------------------------------------------------

TspPNGImageList::TspPNGImageList(TComponent* owner)
    : TCustomImageList(owner)
    , FPngImages(std::make_unique<TspPngImageItems>(this))
{
}

TspPNGImageList::~TspPNGImageList() { FPngImages.reset(); }

void TspPNGImageList::SetPngImages(TspPngImageItems* value) { FPngImages->Assign(value); }

void TspPNGImageList::SetPngWidth(int value)
{
    if (value == Width())
        return;
    SetWidth(value);
    if (ComponentState().Contains(csLoading))
        RestorePlaceholders();
    else
        FPngImages->Clear();
}

void TspPNGImageList::SetPngHeight(int value)
{
    if (value == Height())
        return;
    SetHeight(value);
    if (ComponentState().Contains(csLoading))
        RestorePlaceholders();
    else
        FPngImages->Clear();
}

void TspPNGImageList::RestorePlaceholders()
{
    while (Count() > 0)
        Delete(Count() - 1);
    for (int i = 0; i < FPngImages->Count(); ++i)
        InsertBitMap(i);
}

void TspPNGImageList::InsertBitMap(int index)
{
    TBitmap placeholder;
    placeholder.SetMonochrome(true);
    placeholder.SetSize(Width(), Height());
    Insert(index, &placeholder, nullptr);
}

void TspPNGImageList::DeleteBitMap(int index) { Delete(index); }

void TspPNGImageList::DoDraw(int index, TCanvas* canvas, int x, int y, TDrawingStyle, bool enabled)
{
    if (index < 0 || index >= FPngImages->Count())
        return;
    TPNGObject* png = FPngImages->Items(index)->PngImage();
    const TRect rect { x, y, x + Width(), y + Height() };
    if (enabled) {
        png->Draw(canvas, rect);
        return;
    }
    if (png->GetEmpty())
        return;
    TPNGObject faded;
    faded.Assign(png);
    ScalePngOpacity(faded, 127);
    faded.Draw(canvas, rect);
}

void TspPNGImageList::DefineProperties(TFiler* filer)
{
    inherited::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "PngImages", [this](TStream& stream) { ReadPngImages(stream); },
        [this](TStream& stream) { WritePngImages(stream); }, true);
    filer->DefineProperty(
        "PngWidth", [this](TReader& reader) { SetPngWidth(reader.ReadInteger()); },
        [this](TWriter& writer) { writer.WriteInteger(PngWidth()); }, true);
    filer->DefineProperty(
        "PngHeight", [this](TReader& reader) { SetPngHeight(reader.ReadInteger()); },
        [this](TWriter& writer) { writer.WriteInteger(PngHeight()); }, true);
}

void TspPNGImageList::WritePngImages(TStream& stream)
{
    WriteU32(stream, static_cast<uint32_t>(FPngImages->Count()));
    for (int i = 0; i < FPngImages->Count(); ++i) {
        TspPngImageItem* item = FPngImages->Items(i);
        TMemoryStream data;
        if (!item->PngImage()->GetEmpty())
            item->PngImage()->SaveToStream(data);
        WriteU32(stream, static_cast<uint32_t>(data.Size()));
        if (data.Size() > 0)
            stream.WriteBuffer(data.Memory(), static_cast<int32_t>(data.Size()));
        WriteU32(stream, static_cast<uint32_t>(item->Name().size()));
        stream.WriteBuffer(item->Name().data(), static_cast<int32_t>(item->Name().size()));
    }
}

void TspPNGImageList::ReadPngImages(TStream& stream)
{
    // The pictures are decoded into a list of their own first, so a bad one leaves the current pictures alone.
    struct TStored {
        std::unique_ptr<TPNGObject> Png;
        std::string Name;
    };
    std::vector<TStored> stored;
    const uint32_t count = ReadU32(stream);
    for (uint32_t i = 0; i < count; ++i) {
        TStored item { std::make_unique<TPNGObject>(), {} };
        if (const uint32_t size = ReadLength(stream); size > 0) {
            TMemoryStream data;
            data.SetSize(size);
            stream.ReadBuffer(data.Memory(), static_cast<int32_t>(size));
            data.SetPosition(0);
            item.Png->LoadFromStream(data);
        }
        item.Name.resize(ReadLength(stream));
        if (!item.Name.empty())
            stream.ReadBuffer(item.Name.data(), static_cast<int32_t>(item.Name.size()));
        stored.push_back(std::move(item));
    }
    FPngImages->BeginUpdate();
    FPngImages->Clear();
    for (TStored& item : stored) {
        TspPngImageItem* added = FPngImages->Add();
        added->PngImage()->Assign(item.Png.get());
        added->SetName(item.Name);
    }
    FPngImages->EndUpdate();
}

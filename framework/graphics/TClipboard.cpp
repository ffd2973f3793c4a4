#include "framework/graphics/TClipboard.h"

#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TGraphic.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Windows.h"

#include <cstring>
#include <memory>
#include <typeindex>

namespace {

struct TPictureFormat {
    std::string Name;
    TGraphicClass GraphicClass;
};

std::vector<TPictureFormat>& PictureFormats()
{
    static std::vector<TPictureFormat> formats { { "Tarnwick Bitmap", TGraphicClass::Of<TBitmap>() } };
    return formats;
}

// The formats are registered with the window layer when asked for, as each start of the layer has its own
// table of names.
UINT FormatNumber(const std::string& name)
{
    return RegisterClipboardFormat(name.c_str());
}

HGLOBAL BlockOf(const void* bytes, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (void* p = GlobalLock(block); p && size)
        std::memcpy(p, bytes, size);
    GlobalUnlock(block);
    return block;
}

std::vector<uint8_t> BytesOf(HANDLE block)
{
    const auto* p = static_cast<const uint8_t*>(GlobalLock(block));
    std::vector<uint8_t> out;
    if (p)
        out.assign(p, p + GlobalSize(block));
    GlobalUnlock(block);
    return out;
}

// Reads a graphic of `graphicClass` from clipboard bytes; null when the bytes are not one.
std::unique_ptr<TGraphic> GraphicFrom(const TGraphicClass& graphicClass, const std::vector<uint8_t>& bytes)
{
    std::unique_ptr<TGraphic> graphic = graphicClass.Create();
    TMemoryStream stream;
    if (!bytes.empty())
        stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
    graphic->LoadFromStream(stream);
    return graphic;
}

} // namespace

void TClipboard::Open()
{
    if (FOpenRefCount == 0) {
        if (!OpenClipboard(nullptr))
            throw EClipboardException("Cannot open clipboard");
        FEmptied = false;
    }
    ++FOpenRefCount;
}

void TClipboard::Close()
{
    if (FOpenRefCount == 0)
        return;
    if (--FOpenRefCount == 0)
        CloseClipboard();
}

void TClipboard::Clear()
{
    Open();
    EmptyClipboard();
    FEmptied = true;
    Close();
}

// Everything set between one Open and Close makes up the new contents together.
void TClipboard::Adding()
{
    if (!FEmptied) {
        EmptyClipboard();
        FEmptied = true;
    }
}

bool TClipboard::HasFormat(UINT format)
{
    return IsClipboardFormatAvailable(format) != FALSE;
}

std::string TClipboard::AsText()
{
    Open();
    std::string text;
    if (HANDLE block = GetClipboardData(CF_TEXT)) {
        const std::vector<uint8_t> bytes = BytesOf(block);
        text.assign(bytes.begin(), bytes.end());
        text.resize(std::strlen(text.c_str()));
    }
    Close();
    return text;
}

void TClipboard::SetAsText(std::string_view text)
{
    std::string terminated(text);
    SetAsBytes(CF_TEXT, std::vector<uint8_t>(terminated.c_str(), terminated.c_str() + terminated.size() + 1));
}

std::vector<uint8_t> TClipboard::GetAsBytes(UINT format)
{
    Open();
    std::vector<uint8_t> bytes;
    if (HANDLE block = GetClipboardData(format))
        bytes = BytesOf(block);
    Close();
    return bytes;
}

void TClipboard::SetAsBytes(UINT format, const std::vector<uint8_t>& bytes)
{
    Open();
    Adding();
    SetClipboardData(format, BlockOf(bytes.data(), bytes.size()));
    Close();
}

void TClipboard::Assign(TPersistent* source)
{
    TGraphic* graphic = nullptr;
    if (auto* picture = dynamic_cast<TPicture*>(source))
        graphic = picture->Graphic();
    else
        graphic = dynamic_cast<TGraphic*>(source);
    if (!source || (graphic == nullptr && dynamic_cast<TPicture*>(source))) {
        Clear();
        return;
    }
    if (!graphic) {
        inherited::Assign(source);
        return;
    }
    const UINT format = PictureFormatOf(*graphic);
    if (format == 0)
        throw EClipboardException("Unsupported clipboard format: " + graphic->ClassName());
    TMemoryStream stream;
    graphic->SaveToStream(stream);
    const auto* p = static_cast<const uint8_t*>(stream.Memory());
    SetAsBytes(format, std::vector<uint8_t>(p, p + stream.Size()));
}

void TClipboard::AssignTo(TPersistent* dest)
{
    auto* picture = dynamic_cast<TPicture*>(dest);
    auto* graphic = dynamic_cast<TGraphic*>(dest);
    if (!picture && !graphic) {
        inherited::AssignTo(dest);
        return;
    }
    for (const TPictureFormat& f : PictureFormats()) {
        if (graphic && std::type_index(typeid(*graphic)) != f.GraphicClass.Type)
            continue;
        const UINT format = FormatNumber(f.Name);
        if (!HasFormat(format))
            continue;
        std::unique_ptr<TGraphic> loaded = GraphicFrom(f.GraphicClass, GetAsBytes(format));
        if (picture)
            picture->SetGraphic(loaded.get());
        else
            graphic->Assign(loaded.get());
        return;
    }
    throw EClipboardException("Clipboard does not contain a picture");
}

UINT TClipboard::RegisterPictureFormat(std::string_view formatName, const TGraphicClass& graphicClass)
{
    auto& formats = PictureFormats();
    std::erase_if(formats, [&](const TPictureFormat& f) { return f.GraphicClass.Type == graphicClass.Type; });
    formats.push_back(TPictureFormat { std::string(formatName), graphicClass });
    return FormatNumber(std::string(formatName));
}

UINT TClipboard::PictureFormatOf(const TGraphic& graphic)
{
    for (const TPictureFormat& f : PictureFormats())
        if (f.GraphicClass.Type == std::type_index(typeid(graphic)))
            return FormatNumber(f.Name);
    return 0;
}

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}

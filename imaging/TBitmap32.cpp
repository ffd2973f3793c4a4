#include "imaging/TBitmap32.h"

#include "framework/controls/TControl.h"
#include "framework/core/Streams.h"
#include "framework/core/TFiler.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TClipboard.h"
#include "framework/graphics/TPicture.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <mutex>
#include <typeinfo>

static_assert(std::endian::native == std::endian::little, "pixels and the \"Data\" property are little-endian");

namespace {

// Guards the LockCount arithmetic of every bitmap. A std::mutex is constant-initialised, so it exists before any
// bitmap whatever the order of static construction.
std::mutex gCounterLock;

// The largest pixel store a bitmap takes: its bytes fit a signed 32-bit count, as every size and stream count of
// the framework does. Larger sizes fail like a refused allocation, before any memory is asked for.
constexpr uint64_t kMaxPixels = 0x7FFFFFFFu / sizeof(TColor32);

// "Data" is read and written in pieces that a stream call can move (a single call moves at most 2 GiB).
constexpr int32_t kDataChunk = 1 << 24;

} // namespace

// ---- TThreadPersistent ----------------------------------------------------------------------------------------

void TThreadPersistent::Lock()
{
    {
        std::lock_guard<std::mutex> guard(gCounterLock);
        ++FLockCount;
    }
    FLock.lock();
}

void TThreadPersistent::Unlock()
{
    FLock.unlock();
    std::lock_guard<std::mutex> guard(gCounterLock);
    --FLockCount;
}

int32_t TThreadPersistent::LockCount() const
{
    std::lock_guard<std::mutex> guard(gCounterLock);
    return FLockCount;
}

void TThreadPersistent::EndUpdate()
{
    if (UpdateCount <= 0)
        throw EAssertionFailed("Unpaired TThreadPersistent.EndUpdate");
    --UpdateCount;
}

void TThreadPersistent::Changed()
{
    if (UpdateCount == 0 && OnChange)
        OnChange(this);
}

// ---- TCustomMap -----------------------------------------------------------------------------------------------

bool TCustomMap::SetSize(int32_t newWidth, int32_t newHeight)
{
    newWidth = std::max(newWidth, 0);
    newHeight = std::max(newHeight, 0);
    if (newWidth == FWidth && newHeight == FHeight)
        return false;
    ChangeSize(FWidth, FHeight, newWidth, newHeight);
    Changed();
    Resized();
    return true;
}

void TCustomMap::ChangeSize(int32_t& width, int32_t& height, int32_t newWidth, int32_t newHeight)
{
    width = newWidth;
    height = newHeight;
}

void TCustomMap::Delete()
{
    SetSize(0, 0);
}

bool TCustomMap::Empty() const
{
    return FWidth == 0 || FHeight == 0;
}

void TCustomMap::Resized()
{
    if (OnResize)
        OnResize(this);
}

bool TCustomMap::SetSizeFrom(TPersistent* source)
{
    if (!source)
        return SetSize(0, 0);
    if (auto* map = dynamic_cast<TCustomMap*>(source))
        return SetSize(map->Width(), map->Height());
    if (auto* graphic = dynamic_cast<TGraphic*>(source))
        return SetSize(graphic->Width(), graphic->Height());
    if (auto* control = dynamic_cast<TControl*>(source))
        return SetSize(control->Width(), control->Height());
    throw Exception("Can't set size from '" + source->ClassName() + "'");
}

// ---- TBitmap32: life and storage -------------------------------------------------------------------------------

TBitmap32::TBitmap32()
    : FFont(std::make_unique<TFont>())
{
    FBitmapInfo.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    FBitmapInfo.bmiHeader.biPlanes = 1;
    FBitmapInfo.bmiHeader.biBitCount = 32;
    FBitmapInfo.bmiHeader.biCompression = BI_RGB;
    FFont->OnChange = [this](TObject* sender) { FontChanged(sender); };
    FFont->SetOwnerCriticalSection(&CriticalSection());
}

TBitmap32::~TBitmap32()
{
    BeginUpdate();
    Lock();
    try {
        DeleteCanvas();
        SetSize(0, 0);
    } catch (...) {
        // A destructor cannot report; the storage is released below in any case.
    }
    FontChanged(this);
    ReleaseStorage();
    FFont->OnChange = nullptr;
    Unlock();
}

void TBitmap32::ReleaseStorage()
{
    // The canvas lets go of the DC before it goes, so it never draws on or deselects from a freed handle.
    if (FCanvas)
        FCanvas->SetHandle(nullptr);
    if (FHandle) {
        DeleteDC(FHandle);
        FHandle = nullptr;
    }
    if (FDibSection) {
        DeleteObject(FDibSection);
        FDibSection = nullptr;
    }
    FBits = nullptr;
}

void TBitmap32::ChangeSize(int32_t& width, int32_t& height, int32_t newWidth, int32_t newHeight)
{
    FontChanged(this);
    ReleaseStorage();
    width = 0;
    height = 0;
    try {
        if (newWidth > 0 && newHeight > 0) {
            const uint64_t count = uint64_t(newWidth) * uint64_t(newHeight);
            if (count > kMaxPixels)
                throw Exception("Can't allocate the DIB handle");
            FBitmapInfo.bmiHeader.biWidth = newWidth;
            FBitmapInfo.bmiHeader.biHeight = -newHeight;
            void* bits = nullptr;
            FDibSection = CreateDIBSection(nullptr, &FBitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
            if (!FDibSection || !bits) {
                ReleaseStorage();
                throw Exception("Can't allocate the DIB handle");
            }
            FHandle = CreateCompatibleDC(nullptr);
            if (!FHandle) {
                ReleaseStorage();
                throw Exception("Can't create compatible DC");
            }
            if (!SelectObject(FHandle, FDibSection)) {
                ReleaseStorage();
                throw Exception("Can't select an object into DC");
            }
            FBits = static_cast<TColor32*>(bits);
        }
        width = newWidth;
        height = newHeight;
    } catch (...) {
        HandleChanged();
        throw;
    }
    HandleChanged();
}

bool TBitmap32::Empty() const
{
    return !FBits || FWidth == 0 || FHeight == 0;
}

void TBitmap32::Delete()
{
    SetSize(0, 0);
}

void TBitmap32::HandleChanged()
{
    if (FCanvas)
        FCanvas->SetHandle(FHandle);
    if (OnHandleChanged)
        OnHandleChanged(this);
}

void TBitmap32::Clear()
{
    Clear(0xFF000000);
}

void TBitmap32::Clear(TColor32 fillColor)
{
    if (Empty())
        return;
    std::fill_n(FBits, size_t(FWidth) * size_t(FHeight), fillColor);
    Changed();
}

void TBitmap32::ResetAlpha()
{
    if (!Empty()) {
        TColor32* p = FBits;
        for (size_t i = 0, n = size_t(FWidth) * size_t(FHeight); i < n; ++i)
            p[i] |= 0xFF000000;
    }
    Changed();
}

// ---- Pixel access ----------------------------------------------------------------------------------------------

TColor32 TBitmap32::PixelS(int x, int y) const
{
    if (x >= 0 && x < FWidth && y >= 0 && y < FHeight && FBits)
        return Pixel(x, y);
    return OuterColor;
}

void TBitmap32::SetPixelS(int x, int y, TColor32 value)
{
    if (x >= 0 && x < FWidth && y >= 0 && y < FHeight && FBits)
        SetPixel(x, y, value);
}

TColor32 TBitmap32::PixelB(int x, int y) const
{
    // An empty bitmap has no pixel to clamp to; it reads like the outside.
    if (Empty())
        return OuterColor;
    return Pixel(std::clamp(x, 0, FWidth - 1), std::clamp(y, 0, FHeight - 1));
}

void TBitmap32::SetDrawMode(TDrawMode value)
{
    if (value != FDrawMode) {
        FDrawMode = value;
        Changed();
    }
}

void TBitmap32::SetMasterAlpha(uint32_t value)
{
    if (value != FMasterAlpha) {
        FMasterAlpha = value;
        Changed();
    }
}

void TBitmap32::SetStretchFilter(TStretchFilter value)
{
    if (value != FStretchFilter) {
        FStretchFilter = value;
        Changed();
    }
}

// ---- Copying ---------------------------------------------------------------------------------------------------

void TBitmap32::CopyPropertiesTo(TBitmap32& dst) const
{
    dst.FDrawMode = FDrawMode;
    dst.FMasterAlpha = FMasterAlpha;
    dst.OuterColor = OuterColor;
    dst.FStretchFilter = FStretchFilter;
}

void TBitmap32::Assign(TPersistent* source)
{
    BeginUpdate();
    try {
        if (!source) {
            SetSize(0, 0);
        } else if (auto* src = dynamic_cast<TBitmap32*>(source)) {
            SetSize(src->Width(), src->Height());
            if (!Empty()) {
                // Assigning a bitmap to itself keeps its pixels: the size does not change, so they are still there.
                if (src != this)
                    std::memcpy(FBits, src->Bits(), size_t(FWidth) * size_t(FHeight) * sizeof(TColor32));
                src->CopyPropertiesTo(*this);
            }
        } else if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
            AssignFromBitmap(bitmap);
        } else if (auto* picture = dynamic_cast<TPicture*>(source)) {
            // A picture that holds nothing gives an empty bitmap rather than a fault.
            if (auto* held = dynamic_cast<TBitmap*>(picture->Graphic()))
                AssignFromBitmap(held);
            else if (picture->Graphic())
                AssignFromGraphic(picture->Graphic(), picture->Width(), picture->Height());
            else
                SetSize(0, 0);
        } else if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
            AssignFromGraphic(graphic, graphic->Width(), graphic->Height());
        } else if (auto* clipboard = dynamic_cast<TClipboard*>(source)) {
            // The clipboard's first picture, drawn in; its alpha bytes do not survive the drawing.
            TPicture picture;
            picture.Assign(clipboard);
            AssignFromGraphic(picture.Graphic(), picture.Width(), picture.Height());
        } else {
            inherited::Assign(source);
        }
    } catch (...) {
        EndUpdate();
        Changed();
        throw;
    }
    EndUpdate();
    Changed();
}

bool TBitmap32::Equal(TBitmap32* other)
{
    if (!other)
        return false;
    if (Empty() || other->Empty())
        return Empty() && other->Empty();
    // Two saved 32-bit BMP streams are equal exactly when class, size and pixel bytes are.
    if (typeid(*this) != typeid(*other) || FWidth != other->FWidth || FHeight != other->FHeight)
        return false;
    return std::memcmp(FBits, other->Bits(), size_t(FWidth) * size_t(FHeight) * sizeof(TColor32)) == 0;
}

// ---- "Data" persistence ----------------------------------------------------------------------------------------

void TBitmap32::ReadData(TStream& stream)
{
    try {
        int32_t size[2];
        stream.ReadBuffer(size, sizeof(size));
        const int32_t width = std::max(size[0], 0);
        const int32_t height = std::max(size[1], 0);
        const uint64_t bytes = uint64_t(width) * uint64_t(height) * sizeof(TColor32);
        // Short or hostile data fails before the bitmap is touched, so it keeps what it had and no store is
        // allocated for pixels that are not there.
        const int64_t streamSize = stream.Size();
        const int64_t position = stream.Position();
        if (streamSize >= 0 && position >= 0 && position <= streamSize && uint64_t(streamSize - position) < bytes)
            throw EReadError("Stream read error");
        SetSize(width, height);
        if (!Empty()) {
            auto* p = reinterpret_cast<uint8_t*>(FBits);
            for (uint64_t done = 0; done < bytes;) {
                const int32_t count = int32_t(std::min<uint64_t>(bytes - done, kDataChunk));
                stream.ReadBuffer(p + done, count);
                done += uint64_t(count);
            }
        }
    } catch (...) {
        Changed();
        throw;
    }
    Changed();
}

void TBitmap32::WriteData(TStream& stream)
{
    const int32_t size[2] = { FWidth, FHeight };
    stream.WriteBuffer(size, sizeof(size));
    if (Empty())
        return;
    const uint64_t bytes = uint64_t(FWidth) * uint64_t(FHeight) * sizeof(TColor32);
    const auto* p = reinterpret_cast<const uint8_t*>(FBits);
    for (uint64_t done = 0; done < bytes;) {
        const int32_t count = int32_t(std::min<uint64_t>(bytes - done, kDataChunk));
        stream.WriteBuffer(p + done, count);
        done += uint64_t(count);
    }
}

void TBitmap32::DefineProperties(TFiler* filer)
{
    inherited::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "Data", [this](TStream& stream) { ReadStoredData(stream); },
        [this](TStream& stream) { WriteData(stream); }, DataStored(filer->Ancestor()));
}

void TBitmap32::ReadStoredData(TStream& stream)
{
    // Trailing bytes would only be found after ReadData had taken the pixels; refusing them first keeps the
    // bitmap as it was. Short data is ReadData's own to refuse.
    int32_t size[2] {};
    if (stream.Read(size, sizeof(size)) == sizeof(size)) {
        const uint64_t pixels = uint64_t(std::max(size[0], 0)) * uint64_t(std::max(size[1], 0));
        if (uint64_t(stream.Size()) > sizeof(size) + pixels * sizeof(TColor32))
            throw EReadError("Invalid property value");
    }
    stream.SetPosition(0);
    ReadData(stream);
}

bool TBitmap32::DataStored(TPersistent* ancestor)
{
    if (!ancestor)
        return !Empty();
    auto* bitmap = dynamic_cast<TBitmap32*>(ancestor);
    return !bitmap || !Equal(bitmap);
}

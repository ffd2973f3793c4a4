// The cursor and icon table: handles, images, copies, destruction and the standard cursors' pseudo handles.
#include "platform/win/Cursors.h"

#include "platform/win/PlatformState.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>

namespace {

// Handle value: generation in the high 32 bits, slot index above four tag bits 0x7. Windows carry tag 2 and GDI
// objects tag 1 in their two low bits; standard cursors are (id << 4) | 3.
constexpr uintptr_t kIconTag = 0x7;
constexpr uintptr_t kStandardTag = 0x3;

struct TIconSlot {
    uint32_t Generation = 1;
    std::unique_ptr<TCursorImage> Image;
};

struct TIconTable {
    std::mutex Lock;
    std::vector<TIconSlot> Slots;
    std::vector<uint32_t> Free;
    size_t Live = 0;
};

TIconTable& Table()
{
    static TIconTable table;
    return table;
}

HICON Encode(uint32_t index, uint32_t generation)
{
    return reinterpret_cast<HICON>((uintptr_t(generation) << 32) | (uintptr_t(index) << 4) | kIconTag);
}

// The slot of a live handle; the table lock must be held.
TIconSlot* Decode(TIconTable& table, HICON handle)
{
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if ((value & 0xF) != kIconTag)
        return nullptr;
    const uintptr_t index = (value & 0xFFFFFFFFu) >> 4;
    const uint32_t generation = static_cast<uint32_t>(value >> 32);
    if (index >= table.Slots.size())
        return nullptr;
    TIconSlot& slot = table.Slots[index];
    if (slot.Generation != generation || !slot.Image)
        return nullptr;
    return &slot;
}

bool IsStandard(HICON handle)
{
    return StandardCursorId(handle) != 0;
}

// Bit `x` of a row of 1-bit pixels, most significant bit first.
bool BitAt(const uint8_t* row, int x)
{
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

} // namespace

std::vector<uint32_t> TCursorImage::StraightPixels() const
{
    std::vector<uint32_t> out(Pixels.size());
    for (size_t i = 0; i < Pixels.size(); ++i) {
        const uint32_t rgb = Pixels[i] & 0xFFFFFF;
        if (HasAlpha)
            out[i] = Pixels[i];
        else if (!Mask[i])
            out[i] = 0xFF000000u | rgb;
        else
            out[i] = rgb ? 0xFF000000u : 0;
    }
    return out;
}

HICON CreateIconFromImage(TCursorImage image)
{
    if (!image.IsValid() || image.Width > kMaxCursorSide || image.Height > kMaxCursorSide) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    TIconTable& table = Table();
    std::lock_guard lock(table.Lock);
    uint32_t index;
    if (!table.Free.empty()) {
        index = table.Free.back();
        table.Free.pop_back();
    } else {
        index = static_cast<uint32_t>(table.Slots.size());
        table.Slots.emplace_back();
    }
    TIconSlot& slot = table.Slots[index];
    slot.Image = std::make_unique<TCursorImage>(std::move(image));
    ++table.Live;
    return Encode(index, slot.Generation);
}

bool GetCursorImage(HCURSOR cursor, TCursorImage& image)
{
    TIconTable& table = Table();
    std::lock_guard lock(table.Lock);
    TIconSlot* slot = Decode(table, cursor);
    if (!slot)
        return false;
    image = *slot->Image;
    return true;
}

UINT StandardCursorId(HCURSOR cursor)
{
    const uintptr_t value = reinterpret_cast<uintptr_t>(cursor);
    if ((value & 0xF) != kStandardTag)
        return 0;
    const uintptr_t id = value >> 4;
    return id >= 32512 && id <= 32651 ? UINT(id) : 0;
}

size_t CursorObjectCount()
{
    TIconTable& table = Table();
    std::lock_guard lock(table.Lock);
    return table.Live;
}

HCURSOR CreateCursor(
    HINSTANCE, int xHotSpot, int yHotSpot, int width, int height, const void* andPlane, const void* xorPlane)
{
    if (width <= 0 || height <= 0 || width > kMaxCursorSide || height > kMaxCursorSide || !andPlane || !xorPlane) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    TCursorImage image;
    image.Width = width;
    image.Height = height;
    image.HotSpot = POINT { xHotSpot, yHotSpot };
    image.Monochrome = true;
    image.Pixels.resize(size_t(width) * size_t(height));
    image.Mask.resize(image.Pixels.size());
    const size_t stride = size_t((width + 15) / 16) * 2;
    const auto* andBytes = static_cast<const uint8_t*>(andPlane);
    const auto* xorBytes = static_cast<const uint8_t*>(xorPlane);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t i = size_t(y) * size_t(width) + size_t(x);
            image.Mask[i] = BitAt(andBytes + size_t(y) * stride, x);
            image.Pixels[i] = BitAt(xorBytes + size_t(y) * stride, x) ? 0x00FFFFFFu : 0;
        }
    return CreateIconFromImage(std::move(image));
}

HICON CopyIcon(HICON icon)
{
    if (IsStandard(icon))
        return icon;
    TCursorImage image;
    if (!GetCursorImage(icon, image)) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return nullptr;
    }
    return CreateIconFromImage(std::move(image));
}

BOOL DestroyIcon(HICON icon)
{
    if (IsStandard(icon))
        return TRUE;
    TIconTable& table = Table();
    std::unique_ptr<TCursorImage> doomed;
    {
        std::lock_guard lock(table.Lock);
        TIconSlot* slot = Decode(table, icon);
        if (!slot) {
            SetLastError(ERROR_INVALID_CURSOR_HANDLE);
            return FALSE;
        }
        doomed = std::move(slot->Image);
        ++slot->Generation;
        table.Free.push_back(static_cast<uint32_t>(slot - table.Slots.data()));
        --table.Live;
    }
    // The display must not keep showing (or look up) a cursor that is gone.
    if (GPlatform && WinCore::IsUiThread() && GPlatform->Cursor == icon) {
        GPlatform->Cursor = LoadCursor(nullptr, IDC_ARROW);
        GPlatform->Backend->SetCursorShape(GPlatform->Cursor);
    }
    return TRUE;
}

BOOL DestroyCursor(HCURSOR cursor)
{
    return DestroyIcon(cursor);
}

HCURSOR LoadCursorFromFile(const char* fileName)
{
    if (!fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    // Cursor files are small; anything past the largest image a file can describe is not a cursor.
    constexpr size_t kMaxFile = 16u << 20;
    std::vector<uint8_t> bytes;
    char chunk[65536];
    while (in && bytes.size() <= kMaxFile) {
        in.read(chunk, sizeof chunk);
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
    }
    if (bytes.size() > kMaxFile) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    TCursorImage image;
    std::string error;
    if (!ParseCursorFile(bytes.data(), bytes.size(), image, error)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return CreateIconFromImage(std::move(image));
}

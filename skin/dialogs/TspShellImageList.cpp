#include "skin/dialogs/TspShellImageList.h"

#include "framework/graphics/Colors.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "imaging/TPNGObject.h"
#include "platform/shell/TSystemImageList.h"

#include <mutex>

bool DecodeShellIcon(const std::string& file, int size, std::vector<uint32_t>& pixels)
{
    if (size <= 0)
        return false;
    try {
        TPNGObject png;
        png.LoadFromFile(file);
        const int width = png.GetWidth();
        const int height = png.GetHeight();
        if (width <= 0 || height <= 0)
            return false;
        const bool hasAlpha = png.GetAlphaScanline(0) != nullptr;
        pixels.assign(static_cast<size_t>(size) * size, 0);
        for (int y = 0; y < size; ++y) {
            const int top = y * height / size;
            const int bottom = std::max(top + 1, (y + 1) * height / size);
            for (int x = 0; x < size; ++x) {
                const int left = x * width / size;
                const int right = std::max(left + 1, (x + 1) * width / size);
                uint64_t r = 0, g = 0, b = 0, a = 0, count = 0;
                for (int sy = top; sy < bottom; ++sy) {
                    const uint8_t* alphaRow = hasAlpha ? png.GetAlphaScanline(sy) : nullptr;
                    for (int sx = left; sx < right; ++sx) {
                        const uint32_t colour = static_cast<uint32_t>(png.GetPixels(sx, sy));
                        const uint32_t alpha = alphaRow ? alphaRow[sx] : 255;
                        r += (colour & 0xFF) * alpha;
                        g += ((colour >> 8) & 0xFF) * alpha;
                        b += ((colour >> 16) & 0xFF) * alpha;
                        a += alpha;
                        ++count;
                    }
                }
                if (a == 0)
                    continue;
                pixels[static_cast<size_t>(y) * size + x] = static_cast<uint32_t>(b / a) | static_cast<uint32_t>(g / a) << 8
                    | static_cast<uint32_t>(r / a) << 16 | static_cast<uint32_t>(a / count) << 24;
            }
        }
        return true;
    } catch (const Exception&) {
        return false;
    }
}

void InstallShellIconDecoder()
{
    static std::once_flag once;
    std::call_once(once, [] { TSystemImageList::Instance().SetDecoder(DecodeShellIcon); });
}

TspShellImageList::TspShellImageList(TComponent* owner, bool large)
    : inherited(owner, large ? TSystemImageList::LargeSize : TSystemImageList::SmallSize,
        large ? TSystemImageList::LargeSize : TSystemImageList::SmallSize)
{
    InstallShellIconDecoder();
    SetShareImages(true);
}

void TspShellImageList::Sync()
{
    TSystemImageList& system = TSystemImageList::Instance();
    const int size = Width();
    std::vector<uint32_t> pixels;
    if (Count() >= system.Count())
        return;
    FSyncing = true;
    struct TEndSync {
        bool& Flag;
        ~TEndSync() { Flag = false; }
    } endSync { FSyncing };
    for (int index = Count(); index < system.Count(); ++index) {
        TBitmap image, mask;
        image.SetSize(size, size);
        mask.SetSize(size, size);
        if (!system.IconPixels(index, size, pixels) || pixels.size() != static_cast<size_t>(size) * size)
            pixels = TSystemImageList::GenericIconPixels(size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const uint32_t pixel = pixels[static_cast<size_t>(y) * size + x];
                const uint32_t rgb = ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
                image.Canvas()->SetPixels(x, y, static_cast<TColor>(rgb));
                // The mask's white parts are left out.
                mask.Canvas()->SetPixels(x, y, (pixel >> 24) < 128 ? clWhite : clBlack);
            }
        Add(&image, &mask);
    }
}

void TspShellImageList::Change()
{
    if (!FSyncing)
        inherited::Change();
}

// TspSkinImageCache, the images a skin's controls compose from its pictures (nine-part faces, strips, marks),
// kept between paints so that a repaint copies a finished image instead of cutting and stretching its pieces.
#pragma once
#include "framework/graphics/Types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

class TBitmap;

// The compositions whose images are kept.
enum class TspSkinImageKind : uint8_t {
    ControlFace, // a resizable control's face at its size (nine-part, strips or a plain copy)
    CheckMark,   // a check box's mark, greyed or not
    TrackThumb,  // a track bar's thumb
    ScrollThumb, // a scroll bar's thumb at its length, with its glyph
    HeaderSection, // a column header section's nine-part face at its size, without its caption
    GaugeFill,   // a gauge's progress fill at its length
    ButtonState, // a push button's face with its caption in one state
};

// Everything a composed image depends on: what composition it is, the picture it is cut from and every other
// input of that composition (rectangles, points, sizes, flags), in an order the composition fixes. Two keys
// are equal only when all of them are, so an image is found again only for the same request.
class TspSkinImageKey final {
public:
    TspSkinImageKey(TspSkinImageKind kind, const TBitmap* picture)
        : FKind(static_cast<int>(kind))
        , FPicture(picture)
    {
    }

    TspSkinImageKey& Add(int value);
    TspSkinImageKey& Add(bool value) { return Add(value ? 1 : 0); }
    TspSkinImageKey& Add(TPoint value) { return Add(value.X).Add(value.Y); }
    TspSkinImageKey& Add(const TRect& value) { return Add(value.Left).Add(value.Top).Add(value.Right).Add(value.Bottom); }
    // A text the image shows (a caption, a font name), kept whole.
    TspSkinImageKey& AddText(std::string_view text);

    const TBitmap* Picture() const { return FPicture; }
    size_t Hash() const;
    bool operator==(const TspSkinImageKey& other) const;

private:
    static constexpr size_t kCapacity = 64;
    int FKind;
    const TBitmap* FPicture;
    size_t FCount = 0;
    std::array<int32_t, kCapacity> FValues {};
    // The texts, each preceded by its length.
    std::string FTexts;
};

// Owned by the skin (TspSkinData), so its images die with the pictures they were cut from; the skin empties it
// whenever its pictures change (a load, a clear, a picture added, removed or drawn on). Images are made on the
// first request and kept until the skin changes or the cache outgrows its pixel budget, when the images used
// longest ago go first.
class TspSkinImageCache final {
public:
    TspSkinImageCache();
    ~TspSkinImageCache();
    TspSkinImageCache(const TspSkinImageCache&) = delete;
    TspSkinImageCache& operator=(const TspSkinImageCache&) = delete;

    // The image kept for `key`, or null. The image stays valid until the next Add or Clear.
    TBitmap* Find(const TspSkinImageKey& key);
    // Keeps `image` for `key` and returns it.
    TBitmap* Add(const TspSkinImageKey& key, std::unique_ptr<TBitmap> image);
    // The image for `key`: the kept one, or one that `compose` draws into a fresh (white) bitmap and that is then
    // kept.
    template <class Compose> TBitmap* Image(const TspSkinImageKey& key, Compose&& compose)
    {
        if (TBitmap* found = Find(key))
            return found;
        return Add(key, NewImage(compose));
    }
    void Clear();

    size_t Count() const { return FEntries.size(); }
    // How many images were composed since the cache was made (lookups that found nothing).
    uint64_t Compositions() const { return FCompositions; }
    // The most pixels the kept images may hold together.
    static constexpr int64_t kPixelBudget = int64_t(4) << 20;

private:
    struct TKeyHash {
        size_t operator()(const TspSkinImageKey& key) const { return key.Hash(); }
    };
    struct TEntry {
        std::unique_ptr<TBitmap> Image;
        uint64_t LastUse = 0;
    };
    template <class Compose> static std::unique_ptr<TBitmap> NewImage(Compose& compose)
    {
        auto image = MakeImage();
        compose(image.get());
        return image;
    }
    static std::unique_ptr<TBitmap> MakeImage();
    void Trim(const TspSkinImageKey& keep);

    std::unordered_map<TspSkinImageKey, TEntry, TKeyHash> FEntries;
    int64_t FPixels = 0;
    uint64_t FUses = 0;
    uint64_t FCompositions = 0;
};

// The image for `key` from `cache`; without a cache `compose` draws it into `scratch`, which is returned.
template <class Compose>
TBitmap* CachedSkinImage(TspSkinImageCache* cache, const TspSkinImageKey& key, TBitmap& scratch, Compose&& compose)
{
    if (cache)
        return cache->Image(key, compose);
    compose(&scratch);
    return &scratch;
}

// Makes `dest` a copy of `image`: its size and every pixel.
void CopyCachedImage(TBitmap* dest, TBitmap* image);

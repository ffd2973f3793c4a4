#include "skin/core/SkinImageCache.h"

#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"

#include <stdexcept>

TspSkinImageKey& TspSkinImageKey::Add(int value)
{
    // Keys are built by the compositions themselves with a fixed number of values; more is a programming error,
    // and dropping values would let two different requests share an image.
    if (FCount == kCapacity)
        throw std::length_error("a skin image key holds at most 64 values");
    FValues[FCount++] = value;
    return *this;
}

TspSkinImageKey& TspSkinImageKey::AddText(std::string_view text)
{
    FTexts += std::to_string(text.size());
    FTexts += ':';
    FTexts += text;
    return *this;
}

size_t TspSkinImageKey::Hash() const
{
    // FNV-1a over the kind, the picture and the values.
    uint64_t hash = 14695981039346656037ull;
    auto mix = [&hash](uint64_t value) {
        hash ^= value;
        hash *= 1099511628211ull;
    };
    mix(static_cast<uint64_t>(FKind));
    mix(reinterpret_cast<uintptr_t>(FPicture));
    for (size_t i = 0; i < FCount; ++i)
        mix(static_cast<uint32_t>(FValues[i]));
    for (char c : FTexts)
        mix(static_cast<uint8_t>(c));
    return static_cast<size_t>(hash);
}

bool TspSkinImageKey::operator==(const TspSkinImageKey& other) const
{
    if (FKind != other.FKind || FPicture != other.FPicture || FCount != other.FCount || FTexts != other.FTexts)
        return false;
    for (size_t i = 0; i < FCount; ++i) {
        if (FValues[i] != other.FValues[i])
            return false;
    }
    return true;
}

TspSkinImageCache::TspSkinImageCache() = default;
TspSkinImageCache::~TspSkinImageCache() = default;

TBitmap* TspSkinImageCache::Find(const TspSkinImageKey& key)
{
    auto found = FEntries.find(key);
    if (found == FEntries.end())
        return nullptr;
    found->second.LastUse = ++FUses;
    return found->second.Image.get();
}

TBitmap* TspSkinImageCache::Add(const TspSkinImageKey& key, std::unique_ptr<TBitmap> image)
{
    ++FCompositions;
    TEntry& entry = FEntries[key];
    if (entry.Image)
        FPixels -= int64_t(entry.Image->Width()) * entry.Image->Height();
    entry.Image = std::move(image);
    entry.LastUse = ++FUses;
    FPixels += int64_t(entry.Image->Width()) * entry.Image->Height();
    TBitmap* kept = entry.Image.get();
    if (FPixels > kPixelBudget)
        Trim(key);
    return kept;
}

void TspSkinImageCache::Trim(const TspSkinImageKey& keep)
{
    // Rare (the budget holds the faces of many windows), so a plain search for the oldest is enough.
    while (FPixels > kPixelBudget && FEntries.size() > 1) {
        auto oldest = FEntries.end();
        for (auto it = FEntries.begin(); it != FEntries.end(); ++it) {
            if (it->first == keep)
                continue;
            if (oldest == FEntries.end() || it->second.LastUse < oldest->second.LastUse)
                oldest = it;
        }
        FPixels -= int64_t(oldest->second.Image->Width()) * oldest->second.Image->Height();
        FEntries.erase(oldest);
    }
}

void TspSkinImageCache::Clear()
{
    FEntries.clear();
    FPixels = 0;
}

std::unique_ptr<TBitmap> TspSkinImageCache::MakeImage()
{
    return std::make_unique<TBitmap>();
}

void CopyCachedImage(TBitmap* dest, TBitmap* image)
{
    const int width = image->Width();
    const int height = image->Height();
    dest->SetSize(width, height);
    if (width > 0 && height > 0)
        dest->Canvas()->CopyRect(Rect(0, 0, width, height), image->Canvas(), Rect(0, 0, width, height));
}

// TspMenuLookCache, the resting looks of menu items kept across the openings of a menu chain, and TspLookKey,
// the key that names such a look by everything its pixels depend on.
#pragma once
#include "framework/graphics/Colors.h"
#include "framework/graphics/Forward.h"
#include "framework/graphics/Types.h"
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TBitmap;
class TFont;
class TMenuItem;

// Every value a look depends on, appended as bytes: two looks with equal keys have the same pixels, so a kept
// look is found again only while nothing that shows in it has changed. Colours are kept as drawn (system
// colours resolved) and skin pictures by the pixels that are read from them.
class TspLookKey {
public:
    // Room for an item's key, built on every opening of a menu, without growing.
    TspLookKey() { FBytes.reserve(128); }
    // In as few bytes as the value needs, in a form no longer value starts with, so the values that follow
    // cannot be mistaken for part of it: zigzag (small negative values stay short), then seven bits a byte with
    // the high bit on every byte but the last. Inline, as an item's key is made of a dozen of them.
    TspLookKey& AddInt(int64_t value)
    {
        uint64_t bits = (uint64_t(value) << 1) ^ uint64_t(value >> 63);
        for (; bits >= 0x80; bits >>= 7)
            FBytes.push_back(char(uint8_t(bits) | 0x80));
        FBytes.push_back(char(uint8_t(bits)));
        return *this;
    }
    // Length first, so that neighbouring texts cannot run into each other.
    TspLookKey& AddText(std::string_view text);
    TspLookKey& AddRect(const TRect& rect);
    TspLookKey& AddColor(TColor color);
    TspLookKey& AddFont(TFont* font);
    // The pixels of `rect` in `picture` and a 1-pixel border round it (clipped to the picture), with the
    // picture's size; a missing or empty picture adds only that it is missing.
    TspLookKey& AddPixels(TBitmap* picture, const TRect& rect);
    const std::string& Bytes() const { return FBytes; }
    // The bytes, handed over without a copy.
    std::string Take() && { return std::move(FBytes); }

private:
    std::string FBytes;
};

// Owned by a menu chain. Reopening a menu finds its items' looks here instead of drawing every caption again;
// items whose look is not wholly given by their key (images, owner drawing) are never kept.
class TspMenuLookCache {
public:
    // The normal [0] and highlighted [1] images of one look, each made on first use by the item that needs it.
    struct TLooks {
        std::unique_ptr<TBitmap> Image[2];
        // When the chain last handed the look out: the least recently used looks are let go first.
        uint64_t LastUse = 0;
    };

    // More looks than the menus of a program show, and few enough megabytes (two item images each) that a
    // program that keeps making new menus does not grow without end.
    static constexpr size_t MaxLooks = 256;

    TspMenuLookCache();
    ~TspMenuLookCache();

    // The number of the level look `levelKey` (what all items of a level share): equal keys give the same number,
    // and a number is never given to another key.
    uint64_t LevelLook(const std::string& levelKey);
    // The looks kept under `key` (new and empty when there are none). They stay valid while held, even once the
    // cache has let go of them.
    std::shared_ptr<TLooks> Looks(const std::string& key);
    // The width of `text` in level look `level`: `measure` runs only the first time.
    int TextWidth(uint64_t level, const std::string& text, const std::function<int()>& measure);
    // The same two answers kept with the item that asked (a menu's items are sized and drawn on every opening)
    // and compared value by value with what it shows now, so no key is built or looked up. `width` (the item's
    // text width, which may look it up by its text) and `key` (the item's look key) run only when the item
    // shows anything it did not show when it last asked this cache.
    int ItemTextWidth(TMenuItem* item, uint64_t level, const std::function<int()>& width);
    std::shared_ptr<TLooks> ItemLooks(
        TMenuItem* item, uint64_t level, int width, int height, const std::function<std::string()>& key);
    // A copy of the window region made by `make` (which may give null) for `key`, for the caller to own: the
    // last region made is kept, so reopening a menu does not trace its mask again.
    HRGN Region(const std::string& key, const std::function<HRGN()>& make);
    int LookCount() const { return static_cast<int>(FLooks.size()); }

private:
    template <class T> struct TKept {
        T Value;
        uint64_t LastUse = 0;
    };
    struct TItemMemo;
    // Lets go of the least recently used half when a table has grown past its bound; `lastUse` reads an entry's.
    template <class Table, class LastUse> static void Trim(Table& table, size_t bound, LastUse lastUse);
    template <class Table> static void Trim(Table& table, size_t bound);
    // The memo `item` keeps for this cache, emptied of its answers when the item shows other values than it
    // holds.
    TItemMemo& Memo(TMenuItem* item, uint64_t level);

    std::unordered_map<std::string, TKept<uint64_t>> FLevelLooks;
    std::unordered_map<std::string, std::shared_ptr<TLooks>> FLooks;
    std::unordered_map<std::string, TKept<int>> FTextWidths;
    // Tells this cache's item memos from those of other caches, whose level look numbers mean other looks.
    const uint64_t FId;
    std::string FRegionKey;
    HRGN FRegion = nullptr;
    uint64_t FNextLevelLook = 1;
    uint64_t FClock = 0;
};

// The window image of a closed level, kept for the next level of its size with what it shows, so that a menu
// opened again draws only what differs: the key of its background (empty when the background may not be kept:
// a skin frame, scroll markers, a mix with the screen) and, per item, the kept look copied to its rectangle.
struct TspKeptLevelImage {
    struct TItem {
        TRect Rect;
        // Null when something else was drawn there (a transition, owner drawing, an image).
        std::shared_ptr<TspMenuLookCache::TLooks> Looks;
        int State = 0;
        bool operator==(const TItem& other) const
        {
            return Looks && Looks == other.Looks && State == other.State && Rect == other.Rect;
        }
    };
    std::unique_ptr<TBitmap> Image;
    std::string Background;
    std::vector<TItem> Items;
};

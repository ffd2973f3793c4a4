#include "skin/menus/TspMenuLookCache.h"

#include "framework/controls/Menus.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Raster.h"
#include "platform/win/GdiObjects.h"
#include "platform/win/Regions.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Bounds on what a chain keeps besides the looks themselves.
constexpr size_t kMaxLevelLooks = 32;
constexpr size_t kMaxTextWidths = 2048;

// The owner tag of the caches' item memos, and the number of the last cache made.
constexpr char kItemMemoTag = 0;
uint64_t GLastCacheId = 0;

} // namespace

// What an item showed when it last asked a cache for its text width or look: every value of the item that either
// depends on, with the answers. It never keeps a look alive: the cache's table of looks decides how long they
// stay.
struct TspMenuLookCache::TItemMemo : TMenuItem::TShowMemo {
    TItemMemo()
        : TShowMemo(&kItemMemoTag)
    {
    }
    uint64_t Cache = 0;
    uint64_t Level = 0;
    std::string Caption;
    std::string Name;
    int ShortCut = 0;
    // Enabled, checked, radio item, default, has sub-items: a bit each.
    unsigned Flags = 0;
    int TextWidth = -1;
    int LookWidth = -1;
    int LookHeight = -1;
    std::weak_ptr<TLooks> Looks;
};

// ---- TspLookKey -------------------------------------------------------------------------------------------------

TspLookKey& TspLookKey::AddText(std::string_view text)
{
    AddInt(int64_t(text.size()));
    FBytes.append(text);
    return *this;
}

TspLookKey& TspLookKey::AddRect(const TRect& rect)
{
    return AddInt(rect.Left).AddInt(rect.Top).AddInt(rect.Right).AddInt(rect.Bottom);
}

TspLookKey& TspLookKey::AddColor(TColor color)
{
    return AddInt(ColorToRGB(color));
}

TspLookKey& TspLookKey::AddFont(TFont* font)
{
    AddText(font->Name()).AddInt(font->Height()).AddInt(font->Charset()).AddInt(font->Pitch());
    AddInt(font->Orientation()).AddColor(font->Color());
    for (TFontStyle style : { fsBold, fsItalic, fsUnderline, fsStrikeOut })
        AddInt(font->Style().Contains(style));
    return *this;
}

TspLookKey& TspLookKey::AddPixels(TBitmap* picture, const TRect& rect)
{
    if (!picture || picture->Empty())
        return AddInt(-1);
    const int width = picture->Width();
    const int height = picture->Height();
    AddInt(width).AddInt(height).AddRect(rect);
    // Stretching may look one pixel past the rectangle's edge, so the border is part of the look too.
    const int left = std::clamp(std::min(rect.Left, rect.Right) - 1, 0, width);
    const int right = std::clamp(std::max(rect.Left, rect.Right) + 1, 0, width);
    const int top = std::clamp(std::min(rect.Top, rect.Bottom) - 1, 0, height);
    const int bottom = std::clamp(std::max(rect.Top, rect.Bottom) + 1, 0, height);
    if (right <= left || bottom <= top)
        return *this;
    // Read through a 32-bit copy, whatever the picture's own format and colour table.
    TBitmap copy;
    copy.SetPixelFormat(pf32bit);
    copy.SetSize(right - left, bottom - top);
    BitBlt(copy.Canvas()->Handle(), 0, 0, right - left, bottom - top, picture->Canvas()->Handle(), left, top, SRCCOPY);
    for (int y = 0; y < bottom - top; ++y)
        FBytes.append(static_cast<const char*>(copy.ScanLine(y)), size_t(right - left) * 4);
    return *this;
}

// ---- TspMenuLookCache -------------------------------------------------------------------------------------------

TspMenuLookCache::TspMenuLookCache()
    : FId(++GLastCacheId)
{
}

TspMenuLookCache::~TspMenuLookCache()
{
    if (FRegion)
        DeleteObject(FRegion);
}

template <class Table, class LastUse> void TspMenuLookCache::Trim(Table& table, size_t bound, LastUse lastUse)
{
    if (table.size() <= bound)
        return;
    std::vector<uint64_t> uses;
    uses.reserve(table.size());
    for (const auto& entry : table)
        uses.push_back(lastUse(entry.second));
    auto middle = uses.begin() + std::ptrdiff_t(uses.size() / 2);
    std::nth_element(uses.begin(), middle, uses.end());
    const uint64_t oldest = *middle;
    std::erase_if(table, [&](const auto& entry) { return lastUse(entry.second) < oldest; });
}

template <class Table> void TspMenuLookCache::Trim(Table& table, size_t bound)
{
    Trim(table, bound, [](const auto& kept) { return kept.LastUse; });
}

uint64_t TspMenuLookCache::LevelLook(const std::string& levelKey)
{
    auto [it, added] = FLevelLooks.try_emplace(levelKey);
    if (added)
        it->second.Value = FNextLevelLook++;
    it->second.LastUse = ++FClock;
    const uint64_t level = it->second.Value;
    Trim(FLevelLooks, kMaxLevelLooks);
    return level;
}

std::shared_ptr<TspMenuLookCache::TLooks> TspMenuLookCache::Looks(const std::string& key)
{
    auto [it, added] = FLooks.try_emplace(key);
    if (added)
        it->second = std::make_shared<TLooks>();
    std::shared_ptr<TLooks> looks = it->second;
    looks->LastUse = ++FClock;
    Trim(FLooks, MaxLooks, [](const std::shared_ptr<TLooks>& kept) { return kept->LastUse; });
    return looks;
}

int TspMenuLookCache::TextWidth(uint64_t level, const std::string& text, const std::function<int()>& measure)
{
    std::string key = std::move(TspLookKey().AddInt(int64_t(level)).AddText(text)).Take();
    auto [it, added] = FTextWidths.try_emplace(std::move(key));
    if (added)
        it->second.Value = measure();
    it->second.LastUse = ++FClock;
    const int width = it->second.Value;
    Trim(FTextWidths, kMaxTextWidths);
    return width;
}

TspMenuLookCache::TItemMemo& TspMenuLookCache::Memo(TMenuItem* item, uint64_t level)
{
    TMenuItem::TShowMemo* kept = item->ShowMemo();
    if (!kept || kept->Owner != &kItemMemoTag) {
        item->SetShowMemo(std::make_unique<TItemMemo>());
        kept = item->ShowMemo();
    }
    TItemMemo& memo = static_cast<TItemMemo&>(*kept);
    const unsigned flags = unsigned(item->Enabled()) | unsigned(item->Checked()) << 1 | unsigned(item->RadioItem()) << 2
        | unsigned(item->Default()) << 3 | unsigned(item->Count() > 0) << 4;
    if (memo.Cache != FId || memo.Level != level || memo.ShortCut != item->ShortCut() || memo.Flags != flags
        || memo.Caption != item->Caption() || memo.Name != item->Name()) {
        memo.Cache = FId;
        memo.Level = level;
        memo.Caption = item->Caption();
        memo.Name = item->Name();
        memo.ShortCut = item->ShortCut();
        memo.Flags = flags;
        memo.TextWidth = -1;
        memo.LookWidth = -1;
        memo.LookHeight = -1;
        memo.Looks.reset();
    }
    return memo;
}

int TspMenuLookCache::ItemTextWidth(TMenuItem* item, uint64_t level, const std::function<int()>& width)
{
    TItemMemo& memo = Memo(item, level);
    if (memo.TextWidth < 0)
        memo.TextWidth = width();
    return memo.TextWidth;
}

std::shared_ptr<TspMenuLookCache::TLooks> TspMenuLookCache::ItemLooks(
    TMenuItem* item, uint64_t level, int width, int height, const std::function<std::string()>& key)
{
    TItemMemo& memo = Memo(item, level);
    std::shared_ptr<TLooks> looks;
    if (memo.LookWidth == width && memo.LookHeight == height)
        looks = memo.Looks.lock();
    if (looks) {
        looks->LastUse = ++FClock;
        return looks;
    }
    looks = Looks(key());
    memo.LookWidth = width;
    memo.LookHeight = height;
    memo.Looks = looks;
    return looks;
}

HRGN TspMenuLookCache::Region(const std::string& key, const std::function<HRGN()>& make)
{
    if (FRegionKey != key || FRegionKey.empty()) {
        HRGN made = make();
        if (FRegion)
            DeleteObject(FRegion);
        FRegion = made;
        FRegionKey = key;
    }
    if (!FRegion)
        return nullptr;
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(copy, FRegion, nullptr, RGN_COPY);
    return copy;
}

// The shared icon list: theme lookups at both sizes, on-demand entries and the built-in generic icon.
#include "platform/shell/TSystemImageList.h"

#include "platform/shell/TIconTheme.h"

TSystemImageList& TSystemImageList::Instance()
{
    static TSystemImageList list;
    return list;
}

TSystemImageList::TSystemImageList()
    : FTheme(std::make_unique<TIconTheme>())
{
}

TSystemImageList::~TSystemImageList() = default;

int TSystemImageList::AddLocked(const TEntry& entry)
{
    auto [it, inserted] = FByFiles.try_emplace({ entry.Small, entry.Large }, static_cast<int>(FEntries.size()));
    if (inserted)
        FEntries.push_back(entry);
    return it->second;
}

int TSystemImageList::IndexOf(const std::vector<std::string>& iconNames, const std::vector<std::string>& fallbackNames)
{
    std::string key;
    for (const std::string& name : iconNames)
        key += name + '\n';
    key += '\n';
    for (const std::string& name : fallbackNames)
        key += name + '\n';

    std::lock_guard<std::mutex> lock(FLock);
    if (auto it = FByNames.find(key); it != FByNames.end())
        return it->second;
    TEntry entry;
    for (const auto* names : { &iconNames, &fallbackNames }) {
        // A name counts only when the theme has it at both sizes (possibly from the nearest size).
        for (const std::string& name : *names) {
            entry.Small = FTheme->Lookup({ name }, SmallSize);
            entry.Large = FTheme->Lookup({ name }, LargeSize);
            if (!entry.Small.empty() && !entry.Large.empty()) {
                entry.Name = name;
                break;
            }
        }
        if (!entry.Name.empty())
            break;
    }
    if (entry.Name.empty())
        entry = TEntry {};
    const int index = AddLocked(entry);
    FByNames[key] = index;
    return index;
}

int TSystemImageList::Count() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return static_cast<int>(FEntries.size());
}

std::string TSystemImageList::IconName(int index) const
{
    std::lock_guard<std::mutex> lock(FLock);
    return index >= 0 && index < static_cast<int>(FEntries.size()) ? FEntries[index].Name : std::string();
}

std::string TSystemImageList::IconFile(int index, int size) const
{
    std::lock_guard<std::mutex> lock(FLock);
    if (index < 0 || index >= static_cast<int>(FEntries.size()))
        return {};
    return size <= SmallSize ? FEntries[index].Small : FEntries[index].Large;
}

bool TSystemImageList::IconPixels(int index, int size, std::vector<uint32_t>& pixels) const
{
    std::string file;
    TShellIconDecoder decoder;
    {
        std::lock_guard<std::mutex> lock(FLock);
        if (index < 0 || index >= static_cast<int>(FEntries.size()))
            return false;
        file = size <= SmallSize ? FEntries[index].Small : FEntries[index].Large;
        decoder = FDecoder;
    }
    if (file.empty() || !decoder || !decoder(file, size, pixels) || pixels.size() != size_t(size) * size)
        pixels = GenericIconPixels(size);
    return true;
}

void TSystemImageList::SetTheme(std::unique_ptr<TIconTheme> theme)
{
    std::lock_guard<std::mutex> lock(FLock);
    FTheme = std::move(theme);
    FEntries.clear();
    FByFiles.clear();
    FByNames.clear();
}

void TSystemImageList::SetDecoder(TShellIconDecoder decoder)
{
    std::lock_guard<std::mutex> lock(FLock);
    FDecoder = std::move(decoder);
}

std::vector<uint32_t> TSystemImageList::GenericIconPixels(int size)
{
    constexpr uint32_t clear = 0x00000000;
    constexpr uint32_t paper = 0xFFFFFFFF;
    constexpr uint32_t edge = 0xFF808080;
    std::vector<uint32_t> pixels(size_t(size) * size, clear);
    // A sheet inset by an eighth of the size on the sides, with its top-right corner folded over.
    const int left = size / 8;
    const int right = size - 1 - size / 8;
    const int top = 0;
    const int bottom = size - 1;
    const int fold = size / 4;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const int intoCorner = (x - (right - fold)) - (y - top);
            if (intoCorner > 0)
                continue; // cut away by the fold
            const bool border = x == left || x == right || y == top || y == bottom || intoCorner == 0
                || (x == right - fold && y <= top + fold) || (y == top + fold && x >= right - fold);
            pixels[size_t(y) * size + x] = border ? edge : paper;
        }
    }
    return pixels;
}

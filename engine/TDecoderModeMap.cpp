#include "engine/TDecoderModeMap.h"

#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TIniFile.h"
#include "framework/core/TStrings.h"

#include <iterator>

TDecoderModeMap* GlobalDecoderModeMap = nullptr;

namespace {

constexpr const char* kDefaultSection = "Default";
constexpr const char* kExtSection = "Ext";

// The file holds plain integers. Like the table's byte, only the low byte counts; what is then no mode at
// all (a hand-edited 7, or -1) would make the probe try no decoder and the extension unreadable, so it
// reads as the first mode instead.
DecoderMode ModeFromFile(int value)
{
    const auto mode = static_cast<uint8_t>(value);
    return mode <= dmDirectShowOnly ? static_cast<DecoderMode>(mode) : dmBuiltInThenDirectShow;
}

} // namespace

bool TDecoderModeMap::LoadFromFile(const std::string& path)
{
    FItems.clear();
    if (!FileExists(path))
        return false;
    TMemIniFile ini(path);
    DefaultMode = ModeFromFile(ini.ReadInteger(kDefaultSection, "DefaultDecoderMode", 0));
    TStringList keys;
    ini.ReadSection(kExtSection, keys);
    for (int i = 0; i < keys.Count(); ++i) {
        TDecoderModeMapItem item;
        item.Extension = keys.Strings(i);
        item.Note = ini.ReadString(item.Extension, "Note", "");
        item.DecoderMode = ModeFromFile(ini.ReadInteger(item.Extension, "DecoderMode", 0));
        // A name listed twice keeps its first item.
        FItems.try_emplace(item.Extension, std::move(item));
    }
    return true;
}

bool TDecoderModeMap::SaveToFile(const std::string& path) const
{
    // An item named like the list section would write its note and mode into that list, which would then
    // read back as two more extensions; the file cannot hold such an item.
    for (const auto& entry : FItems) {
        if (SameText(entry.first, kExtSection))
            return false;
    }
    try {
        TMemIniFile ini(path);
        // Starting from an empty file does what deleting the old one would, without losing it when the
        // new one cannot be written: UpdateFile replaces it only once the new text is complete.
        ini.Clear();
        ini.WriteInteger(kDefaultSection, "DefaultDecoderMode", DefaultMode);
        for (const auto& [key, item] : FItems) {
            ini.WriteString(kExtSection, LowerCase(key), "");
            ini.WriteString(key, "Note", item.Note);
            ini.WriteInteger(key, "DecoderMode", item.DecoderMode);
        }
        ini.UpdateFile();
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool TDecoderModeMap::SetItem(const TDecoderModeMapItem& item)
{
    FItems.insert_or_assign(item.Extension, item);
    return true;
}

bool TDecoderModeMap::Remove(std::string_view extension)
{
    auto found = FItems.find(extension);
    if (found == FItems.end())
        return false;
    FItems.erase(found);
    return true;
}

DecoderMode TDecoderModeMap::GetDecoderMode(std::string_view extension) const
{
    auto found = FItems.find(extension);
    return found == FItems.end() ? DefaultMode : found->second.DecoderMode;
}

int32_t TDecoderModeMap::Count() const
{
    return static_cast<int32_t>(FItems.size());
}

bool TDecoderModeMap::GetItem(int32_t index, TDecoderModeMapItem& item) const
{
    if (index < 0 || index >= Count())
        return false;
    item = std::next(FItems.begin(), index)->second;
    return true;
}

void CreateGlobalDecoderModeMap()
{
    if (!GlobalDecoderModeMap)
        GlobalDecoderModeMap = new TDecoderModeMap;
}

void DestroyGlobalDecoderModeMap()
{
    delete GlobalDecoderModeMap;
    GlobalDecoderModeMap = nullptr;
}

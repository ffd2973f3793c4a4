#include "engine/TProfileManager.h"

#include "engine/AppServices.h"
#include "engine/FormatProfiles.h"
#include "engine/TVideoProfile.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TIniFile.h"
#include "framework/core/TList.h"

#include <algorithm>

namespace {

// The message box style of an error: an OK button with the error icon.
constexpr int32_t kErrorBoxStyle = 16;

} // namespace

TProfileManager::TProfileManager(std::string directory)
    : Directory(std::move(directory))
{
}

TProfileManager::~TProfileManager()
{
    Clear();
}

int32_t TProfileManager::Count() const
{
    return static_cast<int32_t>(Profiles.size());
}

TVideoProfile* TProfileManager::Get(int32_t index) const
{
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return Profiles[index].get();
}

void TProfileManager::Add(std::unique_ptr<TVideoProfile> profile)
{
    // Inserting after every equal profile keeps the list sorted exactly as a re-sort would.
    auto place = std::upper_bound(
        Profiles.begin(), Profiles.end(), profile, [](const auto& a, const auto& b) { return Compare(*a, *b) < 0; });
    Profiles.insert(place, std::move(profile));
}

void TProfileManager::Delete(int32_t index)
{
    TVideoProfile* profile = Get(index);
    profile->DeleteFile();
    FRemoved.push_back(std::move(Profiles[index]));
    Profiles.erase(Profiles.begin() + index);
}

void TProfileManager::Clear()
{
    Profiles.clear();
}

void TProfileManager::LoadAll()
{
    TSearchRec entry;
    if (FindFirst(Directory + "*.pf", faAnyFile, entry) != 0)
        return;
    std::string path;
    try {
        do {
            path = Directory + entry.Name;
            if (entry.Attr & faDirectory)
                continue;
            TMemIniFile ini(path);
            const std::string name = ini.ReadString("ProfileCommon", "ProfileName", "Unknow");
            const std::string word = ini.ReadString("ProfileCommon", "VideoFormat", "");
            std::unique_ptr<TVideoProfile> profile = CreateVideoProfile(word, name, path);
            if (profile && profile->Load())
                Add(std::move(profile));
        } while (FindNext(entry) == 0);
    } catch (const Exception&) {
        ShowMessageBox("Failed to read the Profiles file:\n" + path, std::string(ApplicationTitle), kErrorBoxStyle);
    }
    FindClose(entry);
}

int TProfileManager::Compare(const TVideoProfile& a, const TVideoProfile& b)
{
    if (a.FormatType != b.FormatType)
        return a.FormatType < b.FormatType ? -1 : 1;
    // std::string compares its bytes as unsigned char, so upper-case letters come before lower-case ones
    // and a name comes before every longer name that starts with it.
    const int order = a.ProfileName.compare(b.ProfileName);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

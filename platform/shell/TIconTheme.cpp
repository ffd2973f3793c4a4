// The freedesktop icon-theme lookup over index.theme files and folder listings.
#include "platform/shell/TIconTheme.h"

#include "platform/shell/ShellFolders.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>

struct TIconTheme::TThemeDir {
    std::string Subdir;
    int Size = 0;
    int MinSize = 0;
    int MaxSize = 0;
    int Threshold = 2;
    enum class TKind { Fixed, Scalable, Threshold } Kind = TKind::Threshold;
};

struct TIconTheme::TTheme {
    std::string Name;
    // "<base>/<name>" for every base folder that has the theme.
    std::vector<std::string> Roots;
    std::vector<TThemeDir> Dirs;
    std::vector<std::string> Inherits;
};

namespace {

std::vector<std::string> SplitList(const std::string& text, char separator)
{
    std::vector<std::string> items;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, separator)) {
        while (!item.empty() && (item.back() == ' ' || item.back() == '\r'))
            item.pop_back();
        size_t start = item.find_first_not_of(' ');
        if (start != std::string::npos)
            items.push_back(item.substr(start));
    }
    return items;
}

// index.theme as groups of keys.
using TIniGroups = std::map<std::string, std::map<std::string, std::string>>;

TIniGroups ReadIni(const std::string& path)
{
    TIniGroups groups;
    std::ifstream file(path);
    std::string line;
    std::string group;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            group = line.substr(1, line.find(']') - 1);
            continue;
        }
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            groups[group][line.substr(0, equals)] = line.substr(equals + 1);
    }
    return groups;
}

// A size from index.theme, kept within what any icon can be so the size arithmetic cannot overflow.
int Number(const std::map<std::string, std::string>& keys, const char* key, int fallback)
{
    auto it = keys.find(key);
    if (it == keys.end())
        return fallback;
    const long value = std::strtol(it->second.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp(value, 0L, 65536L));
}

} // namespace

// Whether a theme folder serves a size exactly, and how far its sizes lie from it when none does.
bool TIconTheme::MatchesSize(const TThemeDir& dir, int size)
{
    switch (dir.Kind) {
    case TThemeDir::TKind::Fixed:
        return dir.Size == size;
    case TThemeDir::TKind::Scalable:
        return dir.MinSize <= size && size <= dir.MaxSize;
    default:
        return dir.Size - dir.Threshold <= size && size <= dir.Size + dir.Threshold;
    }
}

int TIconTheme::SizeDistance(const TThemeDir& dir, int size)
{
    switch (dir.Kind) {
    case TThemeDir::TKind::Fixed:
        return std::abs(dir.Size - size);
    case TThemeDir::TKind::Scalable:
        return size < dir.MinSize ? dir.MinSize - size : size > dir.MaxSize ? size - dir.MaxSize : 0;
    default:
        return size < dir.Size - dir.Threshold ? dir.MinSize - size
            : size > dir.Size + dir.Threshold  ? size - dir.MaxSize
                                               : 0;
    }
}

TIconTheme::TIconTheme(std::string themeName, std::vector<std::string> baseDirs)
    : FThemeName(std::move(themeName))
    , FBaseDirs(std::move(baseDirs))
{
}

TIconTheme::~TIconTheme() = default;

std::vector<std::string> TIconTheme::DefaultIconDirs()
{
    std::vector<std::string> dirs { XdgDataHome() + "/icons" };
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    const std::string list = dataDirs && dataDirs[0] ? dataDirs : "/usr/local/share:/usr/share";
    for (const std::string& dir : SplitList(list, ':')) {
        if (dir[0] == '/')
            dirs.push_back(dir + "/icons");
    }
    dirs.push_back("/usr/share/pixmaps");
    return dirs;
}

const TIconTheme::TTheme* TIconTheme::LoadTheme(const std::string& name)
{
    if (auto it = FThemes.find(name); it != FThemes.end())
        return it->second.get();
    auto theme = std::make_unique<TTheme>();
    theme->Name = name;
    TIniGroups ini;
    for (const std::string& base : FBaseDirs) {
        const std::string root = base + "/" + name;
        if (!Listing(root).empty() || !ReadIni(root + "/index.theme").empty())
            theme->Roots.push_back(root);
        if (ini.empty())
            ini = ReadIni(root + "/index.theme");
    }
    const auto& header = ini["Icon Theme"];
    if (auto it = header.find("Inherits"); it != header.end())
        theme->Inherits = SplitList(it->second, ',');
    if (auto it = header.find("Directories"); it != header.end()) {
        for (const std::string& subdir : SplitList(it->second, ',')) {
            const auto& keys = ini[subdir];
            // Folders for doubled (HiDPI) pixels hold the same icons drawn twice as large.
            if (Number(keys, "Scale", 1) != 1)
                continue;
            TThemeDir dir;
            dir.Subdir = subdir;
            dir.Size = Number(keys, "Size", 0);
            dir.MinSize = Number(keys, "MinSize", dir.Size);
            dir.MaxSize = Number(keys, "MaxSize", dir.Size);
            dir.Threshold = Number(keys, "Threshold", 2);
            const auto type = keys.find("Type");
            const std::string kind = type == keys.end() ? "Threshold" : type->second;
            dir.Kind = kind == "Fixed" ? TThemeDir::TKind::Fixed : kind == "Scalable" ? TThemeDir::TKind::Scalable : TThemeDir::TKind::Threshold;
            theme->Dirs.push_back(dir);
        }
    }
    const TTheme* result = theme.get();
    FThemes[name] = std::move(theme);
    return result;
}

void TIconTheme::CollectChain(const std::string& name, std::vector<const TTheme*>& chain, std::set<std::string>& seen)
{
    if (!seen.insert(name).second)
        return;
    const TTheme* theme = LoadTheme(name);
    chain.push_back(theme);
    for (const std::string& parent : theme->Inherits)
        CollectChain(parent, chain, seen);
}

const std::set<std::string>& TIconTheme::Listing(const std::string& folder)
{
    auto [it, inserted] = FListings.try_emplace(folder);
    if (!inserted)
        return it->second;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0)
                it->second.insert(name.substr(0, name.size() - 4));
            else if (name != "." && name != "..")
                it->second.insert(std::string()); // the folder is not empty (a theme root with subfolders)
        }
        closedir(dir);
    }
    return it->second;
}

std::string TIconTheme::LookupInTheme(const TTheme& theme, const std::string& name, int size)
{
    for (const TThemeDir& dir : theme.Dirs) {
        if (!MatchesSize(dir, size))
            continue;
        for (const std::string& root : theme.Roots) {
            const std::string folder = root + "/" + dir.Subdir;
            if (Listing(folder).count(name))
                return folder + "/" + name + ".png";
        }
    }
    std::string closest;
    int best = INT_MAX;
    for (const TThemeDir& dir : theme.Dirs) {
        for (const std::string& root : theme.Roots) {
            const std::string folder = root + "/" + dir.Subdir;
            const int distance = SizeDistance(dir, size);
            if (distance < best && Listing(folder).count(name)) {
                closest = folder + "/" + name + ".png";
                best = distance;
            }
        }
    }
    return closest;
}

std::string TIconTheme::LookupInPixmaps(const std::string& name)
{
    for (const std::string& base : FBaseDirs) {
        if (base.size() < 8 || base.compare(base.size() - 8, 8, "/pixmaps") != 0)
            continue;
        if (Listing(base).count(name))
            return base + "/" + name + ".png";
    }
    return {};
}

std::string TIconTheme::Lookup(const std::vector<std::string>& names, int size)
{
    std::lock_guard<std::mutex> lock(FLock);
    if (!FChainLoaded) {
        std::set<std::string> seen;
        CollectChain(FThemeName, FChain, seen);
        CollectChain("hicolor", FChain, seen);
        FChainLoaded = true;
    }
    for (const std::string& name : names) {
        const bool symbolic = name.size() >= 9 && name.compare(name.size() - 9, 9, "-symbolic") == 0;
        if (name.empty() || name.find('/') != std::string::npos || symbolic)
            continue;
        for (const TTheme* theme : FChain) {
            if (std::string file = LookupInTheme(*theme, name, size); !file.empty())
                return file;
        }
    }
    for (const std::string& name : names) {
        if (!name.empty() && name.find('/') == std::string::npos)
            if (std::string file = LookupInPixmaps(name); !file.empty())
                return file;
    }
    return {};
}

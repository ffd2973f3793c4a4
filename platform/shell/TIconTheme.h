// TIconTheme: finds icon files by name and size in an installed freedesktop icon theme.
#pragma once
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// The freedesktop icon-theme lookup, for PNG files only (the program draws no SVG): a name is looked for in
// the theme, then in the themes it inherits from, then in "hicolor", each time first in the folders made for
// the size, then in the folder of the nearest size; last in the plain pixmaps folders. Thread-safe. Folder
// listings are read once and kept, so a lookup after the first touches no disk.
class TIconTheme final {
public:
    // `baseDirs` are the folders that hold themes ("<dir>/<theme>/index.theme"); the pixmaps folders are
    // those named "pixmaps" beside them. By default: DefaultIconDirs().
    explicit TIconTheme(std::string themeName = "Adwaita", std::vector<std::string> baseDirs = DefaultIconDirs());
    ~TIconTheme();

    // $XDG_DATA_HOME/icons, each $XDG_DATA_DIRS/icons (default /usr/local/share:/usr/share), then the
    // pixmaps folder /usr/share/pixmaps.
    static std::vector<std::string> DefaultIconDirs();

    const std::string& ThemeName() const { return FThemeName; }
    // The PNG file of the first of `names` that the theme has, at the size nearest `size`; "" when none.
    // Symbolic (monochrome) variants are never chosen.
    std::string Lookup(const std::vector<std::string>& names, int size);

private:
    struct TThemeDir;
    struct TTheme;

    static bool MatchesSize(const TThemeDir& dir, int size);
    static int SizeDistance(const TThemeDir& dir, int size);
    const TTheme* LoadTheme(const std::string& name);
    void CollectChain(const std::string& name, std::vector<const TTheme*>& chain, std::set<std::string>& seen);
    std::string LookupInTheme(const TTheme& theme, const std::string& name, int size);
    std::string LookupInPixmaps(const std::string& name);
    // The PNG names (without ".png") of one folder, read once.
    const std::set<std::string>& Listing(const std::string& folder);

    std::string FThemeName;
    std::vector<std::string> FBaseDirs;
    std::mutex FLock;
    std::map<std::string, std::unique_ptr<TTheme>> FThemes;
    std::vector<const TTheme*> FChain;
    bool FChainLoaded = false;
    std::map<std::string, std::set<std::string>> FListings;
};

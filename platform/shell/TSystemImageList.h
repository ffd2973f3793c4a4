// TSystemImageList: the process-wide list of file-type icons that every shell control shares, at 16 and 32 px.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class TIconTheme;

// Turns a PNG icon file into `size` x `size` pixels of 32-bit B,G,R,A (premultiplied is the caller's choice),
// rows top-down. Installed by the layer that owns the PNG codec; false when the file cannot be read.
using TShellIconDecoder = std::function<bool(const std::string& file, int size, std::vector<uint32_t>& pixels)>;

// One list holds both sizes: index i is the same icon in the small (16 px) and the large (32 px) form, as the
// two system image lists share their indexes. Icons are added on demand and never removed, so an index stays
// valid for the life of the process and an icon added later shows in every control. Thread-safe.
class TSystemImageList final {
public:
    static constexpr int SmallSize = 16;
    static constexpr int LargeSize = 32;

    // The one list of the process.
    static TSystemImageList& Instance();

    TSystemImageList();
    ~TSystemImageList();
    TSystemImageList(const TSystemImageList&) = delete;
    TSystemImageList& operator=(const TSystemImageList&) = delete;

    // The index of the first of `iconNames` that the theme has (looked up at both sizes); when it has none,
    // the index of the generic icon `fallbackNames` name, and when the theme lacks that too, the built-in
    // generic icon. The same files always give the same index.
    int IndexOf(const std::vector<std::string>& iconNames, const std::vector<std::string>& fallbackNames);
    int Count() const;
    // The theme name the icon was found under ("" for the built-in icon), and its PNG file at `size`
    // (SmallSize or LargeSize; "" for the built-in icon).
    std::string IconName(int index) const;
    std::string IconFile(int index, int size) const;
    // The icon's pixels at `size` through the installed decoder, or the built-in generic icon when there is no
    // decoder, no file or the file is unreadable. False for an index that does not exist.
    bool IconPixels(int index, int size, std::vector<uint32_t>& pixels) const;

    // Replaces the icon theme (tests point it at a fixture, or at an empty folder for the built-in icon) and
    // empties the list, which invalidates every index handed out. Not for use while controls show icons.
    void SetTheme(std::unique_ptr<TIconTheme> theme);
    void SetDecoder(TShellIconDecoder decoder);

    // The built-in generic icon: a white sheet with a folded corner, `size` x `size`, B,G,R,A.
    static std::vector<uint32_t> GenericIconPixels(int size);

private:
    struct TEntry {
        std::string Name;
        std::string Small;
        std::string Large;
    };

    int AddLocked(const TEntry& entry);

    mutable std::mutex FLock;
    std::unique_ptr<TIconTheme> FTheme;
    TShellIconDecoder FDecoder;
    std::vector<TEntry> FEntries;
    // Files of an entry -> its index.
    std::map<std::pair<std::string, std::string>, int> FByFiles;
    // Joined icon names -> index, so a repeated question touches neither the theme nor the map above.
    std::map<std::string, int> FByNames;
};

// Loading a skin of 200 records and 20 pictures from a folder and from a packed file, against reading the same
// bytes from disk.
#include "bench/BenchTiming.h"
#include "skin/core/TspSkinData.h"
#include "skin/testing/TFixtureSkin.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kPictures = 20;
constexpr int kRecords = 200;

// Reads every byte of the files, the least any loader must do.
size_t ReadFiles(const std::vector<std::string>& paths)
{
    size_t total = 0;
    for (const std::string& path : paths) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        total += bytes.size();
    }
    return total;
}

} // namespace

int main()
{
    TFixtureSkin skin;
    std::vector<std::string> files;
    for (int i = 0; i < kPictures; ++i) {
        std::string name = "picture" + std::to_string(i) + ".bmp";
        skin.AddActivePicture(name, 160, 120, static_cast<uint32_t>(i + 1));
        files.push_back(skin.Path(name));
    }
    const std::vector<std::string>& words = TFixtureSkin::ControlTypeWords();
    for (int i = 0; i < kRecords; ++i) {
        const std::string& word = words[static_cast<size_t>(i) % words.size()];
        skin.AddControl(word + std::to_string(i), word,
            { { "pictureindex", std::to_string(i % kPictures) }, { "skinrect", "0,0,60,24" }, { "lefttoppoint", "3,3" },
                { "rightbottompoint", "57,21" }, { "clientrect", "3,3,57,21" }, { "activeskinrect", "0,24,60,48" },
                { "fontcolor", "255" }, { "fontstyle", "fsbold" } });
    }
    std::string description = skin.Write();
    files.push_back(description);

    TspSkinData data(nullptr);
    double ours = BestOf([&] { data.LoadFromFile(description); });
    if (data.Empty || data.ControlRecords.size() != static_cast<size_t>(kRecords)) {
        std::fprintf(stderr, "the skin did not load\n");
        return 1;
    }
    size_t bytes = 0;
    double peer = BestOf([&] { bytes = ReadFiles(files); });
    Report("skin_folder", ours, peer);

    std::string packedPath = skin.Path("skin.packed");
    data.SaveToCompressedFile(packedPath);
    TspSkinData unpacked(nullptr);
    ours = BestOf([&] { unpacked.LoadFromCompressedFile(packedPath); });
    if (unpacked.Empty || unpacked.ActivePictures.size() != static_cast<size_t>(kPictures)) {
        std::fprintf(stderr, "the packed skin did not load\n");
        return 1;
    }
    peer = BestOf([&] { bytes = ReadFiles({ packedPath }); });
    Report("skin_packed", ours, peer);
    return bytes > 0 ? 0 : 1;
}

// Loads arbitrary bytes as a skin description next to a few real pictures, then saves, reloads and packs what
// loaded. Every failure must be the framework's error and leave the container empty or as it was.
#include "framework/core/Exception.h"
#include "framework/core/TIniFile.h"
#include "skin/core/TspCompressedStoredSkin.h"
#include "skin/core/TspSkinData.h"
#include "skin/testing/TFixtureSkin.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The folder keeps pictures the description may name: BMP and JPEG files, and a text file under a BMP name.
TFixtureSkin& Folder()
{
    static TFixtureSkin* folder = [] {
        auto* fixture = new TFixtureSkin;
        TFixtureSkin::WriteBmp(fixture->Path("a.bmp"), 6, 4, 1);
        TFixtureSkin::WriteBmp(fixture->Path("mask.bmp"), 6, 4, 2);
        TFixtureSkin::WriteJpeg(fixture->Path("b.jpg"), 8, 8, 3);
        TFixtureSkin::WriteBytes(fixture->Path("text.bmp"), "not a picture");
        std::atexit([] { delete folder; });
        return fixture;
    }();
    return *folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFixtureSkin& folder = Folder();
    std::string path = folder.Path("fuzz.ini");
    TFixtureSkin::WriteBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));
    TspSkinData skin(nullptr);
    try {
        skin.LoadFromFile(path);
    } catch (const Exception&) {
        if (!skin.Empty)
            std::abort();
        return 0;
    }
    if (skin.Empty)
        return 0;
    // What loaded is written, read again and packed. Each step may fail (a record name the INI format cannot
    // hold as a section, records that share a section), but only with the framework's error.
    TspSkinData again(nullptr);
    try {
        TMemIniFile saved("");
        skin.SaveToCustomIniFile(&saved);
        skin.SaveToFile(folder.Path("saved.ini"));
        again.LoadFromFile(folder.Path("saved.ini"));
        TspCompressedStoredSkin packed(nullptr);
        packed.LoadFromSkinData(&skin);
        again.LoadCompressedStoredSkin(&packed);
    } catch (const Exception&) {
    }
    return 0;
}

// TFixtureSkin, a skin made for tests: a description text and small generated pictures in a temporary folder.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Builds a skin description section by section and writes it, with BMP (or JPEG) pictures of generated pixels,
// into a folder of its own that is removed with everything in it when the fixture goes. A new fixture holds
// the smallest description a skin loader accepts: "VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS" and
// "SKINCONTROLS", each with one key. Sections and keys keep the order in which they were first set.
//
//   TFixtureSkin skin;
//   skin.AddActivePicture("controls.bmp", 64, 32);
//   skin.AddControl("button", "button", { { "pictureindex", "0" }, { "skinrect", "0,0,30,20" } });
//   data->LoadFromFile(skin.Write());
class TFixtureSkin {
public:
    using TKeyValues = std::vector<std::pair<std::string, std::string>>;

    TFixtureSkin();
    TFixtureSkin(const TFixtureSkin&) = delete;
    TFixtureSkin& operator=(const TFixtureSkin&) = delete;
    ~TFixtureSkin();

    // The folder, with a trailing '/'.
    const std::string& Folder() const { return FFolder; }
    std::string Path(std::string_view name) const { return FFolder + std::string(name); }

    // ---- The description ---------------------------------------------------------------------------------------
    // Sets (or replaces) one value; the section is created when missing.
    TFixtureSkin& Set(std::string_view section, std::string_view key, std::string_view value);
    TFixtureSkin& Set(std::string_view section, const TKeyValues& values);
    TFixtureSkin& Remove(std::string_view section, std::string_view key);
    TFixtureSkin& RemoveSection(std::string_view section);
    // The value set, or "" when none.
    std::string Value(std::string_view section, std::string_view key) const;
    // The description as text, "\r\n" line ends.
    std::string Text() const;
    // Writes the description into the folder and returns its path.
    std::string Write(std::string_view fileName = "skin.ini") const;

    // ---- Pictures ----------------------------------------------------------------------------------------------
    // Writes a picture file of generated pixels (JPEG when the name holds ".jpg", BMP otherwise) and names it
    // under `key` of "PICTURES" ("picture", "mask" ...).
    TFixtureSkin& SetPicture(std::string_view key, std::string_view name, int width, int height, uint32_t seed = 1);
    // Writes a picture file and appends it to "activepictures"; returns its picture index.
    int AddActivePicture(std::string_view name, int width, int height, uint32_t seed = 1);

    // ---- Records -----------------------------------------------------------------------------------------------
    // Appends "name:type" to the list and writes the record's section.
    TFixtureSkin& AddObject(std::string_view name, std::string_view type, const TKeyValues& values = {});
    TFixtureSkin& AddControl(std::string_view name, std::string_view type, const TKeyValues& values = {});
    // Appends "name:rect" to "SKINAREAS".
    TFixtureSkin& AddArea(std::string_view name, std::string_view rect);
    // Appends a raw entry to a list section, for entries no valid skin has.
    TFixtureSkin& AddListEntry(std::string_view section, std::string_view entry);

    // A complete skin: a 60 x 40 main picture with a mask, two active pictures, a form description, the ten
    // colours, popup and hint windows, two areas, and one object and one control per type word, each with a few
    // values. Controls are named after their word, objects too unless a control has the same word: those are
    // named word + "object" ("buttonobject"), since records of one name share their section.
    void AddEverything();

    // ---- Files -------------------------------------------------------------------------------------------------
    // The type words of the two record lists, in the order the skin reader knows them.
    static const std::vector<std::string>& ObjectTypeWords();
    static const std::vector<std::string>& ControlTypeWords();
    // The colour (0x00RRGGBB) of pixel (x, y) of a generated picture.
    static uint32_t PixelOf(int x, int y, uint32_t seed);
    // A 24-bit bottom-up BMP file of generated pixels.
    static void WriteBmp(const std::string& path, int width, int height, uint32_t seed = 1);
    // A baseline JPEG file of generated pixels (quality 95).
    static void WriteJpeg(const std::string& path, int width, int height, uint32_t seed = 1);
    static void WriteBytes(const std::string& path, std::string_view bytes);
    static std::string ReadBytes(const std::string& path);

private:
    struct TSection {
        std::string Name;
        TKeyValues Values;
    };

    TSection& SectionNamed(std::string_view name);
    const TSection* FindSection(std::string_view name) const;
    // Appends an entry to a numbered list of a section ("count" or name + "count").
    int AppendToList(std::string_view section, std::string_view countKey, std::string_view entry);
    void WritePicture(std::string_view name, int width, int height, uint32_t seed) const;

    std::string FFolder;
    std::vector<TSection> FSections;
};

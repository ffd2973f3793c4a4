// Loads arbitrary bytes as an INI file, reads everything back, writes, and checks that a save reloads the same.
#include "framework/core/TIniFile.h"
#include "framework/core/TStrings.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A folder of its own for each input, removed when the input is done: fuzzers do not always leave through
// exit handlers, and one input's files must not reach the next.
class TTempFolder {
public:
    TTempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "IniFileFuzz.XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        FPath = pattern;
    }
    ~TTempFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(FPath, error);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    std::string Path(const char* name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};

void WriteInput(const std::string& path, const uint8_t* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out)
        std::abort();
}

// Everything a reader can see: each section with its "key=value" lines, and every key read one by one.
std::vector<std::string> Snapshot(const TCustomIniFile& ini)
{
    std::vector<std::string> result;
    TStringList sections;
    ini.ReadSections(sections);
    for (int i = 0; i < sections.Count(); ++i) {
        std::string section = sections.Strings(i);
        result.push_back("[" + section + "]");
        TStringList lines;
        ini.ReadSectionValues(section, lines);
        TStringList keys;
        ini.ReadSection(section, keys);
        if (keys.Count() != lines.Count() || ini.SectionExists(section) != (keys.Count() > 0))
            std::abort();
        for (int k = 0; k < keys.Count(); ++k) {
            std::string key = keys.Strings(k);
            std::string value = ini.ReadString(section, key, "");
            if (lines.Strings(k) != key + "=" + value || !ini.ValueExists(section, key))
                std::abort();
            // The number readers must cope with any text.
            (void)ini.ReadInteger(section, key, 0);
            (void)ini.ReadFloat(section, key, 0.0);
            result.push_back(lines.Strings(k));
        }
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TTempFolder folder;
    std::string path = folder.Path("fuzz.ini");
    WriteInput(path, data, size);
    TMemIniFile ini(path);
    std::vector<std::string> loaded = Snapshot(ini);

    // Names read from a file are always valid to write back, so these writes must succeed.
    TStringList sections;
    ini.ReadSections(sections);
    if (sections.Count() > 0) {
        TStringList keys;
        ini.ReadSection(sections.Strings(0), keys);
        if (keys.Count() > 0) {
            ini.WriteString(sections.Strings(0), keys.Strings(0), "fuzz value");
            if (ini.ReadString(sections.Strings(0), keys.Strings(0), "") != "fuzz value")
                std::abort();
        }
    }
    ini.WriteString("Fuzz Section", "Fuzz Key", "1");
    if (ini.ReadInteger("fuzz section", "FUZZ KEY", 0) != 1)
        std::abort();

    // The saved text, and the text as lines, load back to exactly what the reader sees now.
    std::vector<std::string> written = Snapshot(ini);
    ini.UpdateFile();
    if (Snapshot(TMemIniFile(path)) != written)
        std::abort();
    TStringList lines;
    ini.GetStrings(lines);
    TMemIniFile copy(folder.Path("unused.ini"));
    copy.SetStrings(lines);
    if (Snapshot(copy) != written)
        std::abort();

    // The original bytes survive a save and reload that changed nothing.
    TMemIniFile original(folder.Path("unused.ini"));
    WriteInput(path, data, size);
    original.Rename(path, true);
    original.UpdateFile();
    if (Snapshot(TMemIniFile(path)) != loaded)
        std::abort();
    return 0;
}

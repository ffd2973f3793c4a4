// Helpers shared by the skin suites: INI objects made from text, section contents as "key=value" lines, and the
// byte pieces of packed skins.
#pragma once
#include "framework/core/Streams.h"
#include "framework/core/TIniFile.h"
#include "framework/core/TStrings.h"
#include "skin/core/spzlibcompress.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// An in-memory INI object holding `text`.
inline std::unique_ptr<TMemIniFile> IniFromText(std::string_view text)
{
    auto ini = std::make_unique<TMemIniFile>("");
    TStringList lines;
    lines.SetText(text);
    ini->SetStrings(lines);
    return ini;
}

// The "key=value" lines of a section, in file order.
inline std::vector<std::string> SectionLines(const TCustomIniFile& ini, std::string_view section)
{
    TStringList lines;
    ini.ReadSectionValues(section, lines);
    std::vector<std::string> result;
    for (int i = 0; i < lines.Count(); ++i)
        result.push_back(lines.Strings(i));
    return result;
}

// The whole INI object as text.
inline std::string IniText(const TMemIniFile& ini)
{
    TStringList lines;
    ini.GetStrings(lines);
    return lines.Text();
}

// The bytes of a 32-bit integer as packed skins store it.
inline std::string Int32(int32_t value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof(value));
}

// `bytes` compressed as packed skins compress their data.
inline std::string Zlib(const std::string& bytes)
{
    TMemoryStream source;
    source.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    TMemoryStream packed;
    spzlibcompress::CompressStream(source, packed);
    return std::string(static_cast<const char*>(packed.Memory()), static_cast<size_t>(packed.Size()));
}

#include "skin/testing/TFixtureSkin.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <jpeglib.h>
#include <stdexcept>

namespace {

void PutLE(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool IsJpegName(std::string_view name)
{
    return name.find(".jpg") != std::string_view::npos || name.find(".jpeg") != std::string_view::npos;
}

} // namespace

TFixtureSkin::TFixtureSkin()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tp-skin-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    FFolder = pattern + "/";
    Set("VERSION", "ver", "2");
    Set("PICTURES", "activepicturescount", "0");
    Set("FORMINFO", "bgpictureindex", "-1");
    Set("SKINOBJECTS", "count", "0");
    Set("SKINCONTROLS", "count", "0");
}

TFixtureSkin::~TFixtureSkin()
{
    std::error_code error;
    std::filesystem::remove_all(FFolder, error);
}

TFixtureSkin::TSection& TFixtureSkin::SectionNamed(std::string_view name)
{
    for (TSection& section : FSections) {
        if (section.Name == name)
            return section;
    }
    FSections.push_back(TSection { std::string(name), {} });
    return FSections.back();
}

const TFixtureSkin::TSection* TFixtureSkin::FindSection(std::string_view name) const
{
    for (const TSection& section : FSections) {
        if (section.Name == name)
            return &section;
    }
    return nullptr;
}

TFixtureSkin& TFixtureSkin::Set(std::string_view section, std::string_view key, std::string_view value)
{
    TSection& target = SectionNamed(section);
    for (auto& entry : target.Values) {
        if (entry.first == key) {
            entry.second = value;
            return *this;
        }
    }
    target.Values.emplace_back(std::string(key), std::string(value));
    return *this;
}

TFixtureSkin& TFixtureSkin::Set(std::string_view section, const TKeyValues& values)
{
    SectionNamed(section);
    for (const auto& [key, value] : values)
        Set(section, key, value);
    return *this;
}

TFixtureSkin& TFixtureSkin::Remove(std::string_view section, std::string_view key)
{
    for (TSection& target : FSections) {
        if (target.Name != section)
            continue;
        std::erase_if(target.Values, [key](const auto& entry) { return entry.first == key; });
    }
    return *this;
}

TFixtureSkin& TFixtureSkin::RemoveSection(std::string_view section)
{
    std::erase_if(FSections, [section](const TSection& target) { return target.Name == section; });
    return *this;
}

std::string TFixtureSkin::Value(std::string_view section, std::string_view key) const
{
    if (const TSection* target = FindSection(section)) {
        for (const auto& entry : target->Values) {
            if (entry.first == key)
                return entry.second;
        }
    }
    return "";
}

std::string TFixtureSkin::Text() const
{
    std::string text;
    for (const TSection& section : FSections) {
        text += "[" + section.Name + "]\r\n";
        for (const auto& [key, value] : section.Values)
            text += key + "=" + value + "\r\n";
        text += "\r\n";
    }
    return text;
}

std::string TFixtureSkin::Write(std::string_view fileName) const
{
    std::string path = Path(fileName);
    WriteBytes(path, Text());
    return path;
}

int TFixtureSkin::AppendToList(std::string_view section, std::string_view countKey, std::string_view entry)
{
    std::string text = Value(section, countKey);
    int count = text.empty() ? 0 : std::atoi(text.c_str());
    Set(section, countKey, std::to_string(count + 1));
    Set(section, std::to_string(count), entry);
    return count;
}

void TFixtureSkin::WritePicture(std::string_view name, int width, int height, uint32_t seed) const
{
    if (IsJpegName(name))
        WriteJpeg(Path(name), width, height, seed);
    else
        WriteBmp(Path(name), width, height, seed);
}

TFixtureSkin& TFixtureSkin::SetPicture(
    std::string_view key, std::string_view name, int width, int height, uint32_t seed)
{
    WritePicture(name, width, height, seed);
    return Set("PICTURES", key, name);
}

int TFixtureSkin::AddActivePicture(std::string_view name, int width, int height, uint32_t seed)
{
    WritePicture(name, width, height, seed);
    return AppendToList("PICTURES", "activepicturescount", name);
}

TFixtureSkin& TFixtureSkin::AddObject(std::string_view name, std::string_view type, const TKeyValues& values)
{
    AppendToList("SKINOBJECTS", "count", std::string(name) + ":" + std::string(type));
    return Set(name, values);
}

TFixtureSkin& TFixtureSkin::AddControl(std::string_view name, std::string_view type, const TKeyValues& values)
{
    AppendToList("SKINCONTROLS", "count", std::string(name) + ":" + std::string(type));
    return Set(name, values);
}

TFixtureSkin& TFixtureSkin::AddArea(std::string_view name, std::string_view rect)
{
    AppendToList("SKINAREAS", "count", std::string(name) + ":" + std::string(rect));
    return *this;
}

TFixtureSkin& TFixtureSkin::AddListEntry(std::string_view section, std::string_view entry)
{
    AppendToList(section, "count", entry);
    return *this;
}

const std::vector<std::string>& TFixtureSkin::ObjectTypeWords()
{
    static const std::vector<std::string> words = { "menuitem", "mainmenubaritem", "mainmenuitem", "stdbutton",
        "mainmenubarbutton", "button", "caption", "trackbar", "gauge", "framegauge", "frameregulator", "label",
        "bitlabel", "switch", "animate", "userobject" };
    return words;
}

const std::vector<std::string>& TFixtureSkin::ControlTypeWords()
{
    static const std::vector<std::string> words = { "slider", "bevel", "panel", "expanel", "menubutton", "button",
        "checkradio", "gauge", "splitter", "trackbar", "label", "stdlabel", "bitlabel", "frameregulator", "framegauge",
        "animate", "updown", "switch", "grid", "tab", "mainmenubar", "controlbar", "memo", "edit", "checklistbox",
        "listbox", "combobox", "scrollbar", "spinedit", "scrollbox", "treeview", "listview", "richedit" };
    return words;
}

void TFixtureSkin::AddEverything()
{
    Set("VERSION",
        { { "skinname", "Fixture" }, { "skinauthor", "Tests" }, { "authoremail", "tests@example.org" },
            { "authorurl", "http://example.org/" }, { "skincomments", "made by TFixtureSkin" } });
    SetPicture("picture", "frame.bmp", 60, 40, 1);
    SetPicture("mask", "mask.bmp", 60, 40, 2);
    AddActivePicture("states.bmp", 60, 40, 3);
    AddActivePicture("controls.bmp", 64, 48, 4);
    Set("FORMINFO",
        { { "lefttoppoint", "4,20" }, { "righttoppoint", "56,20" }, { "leftbottompoint", "4,36" },
            { "rightbottompoint", "56,36" }, { "clientrect", "4,20,56,36" }, { "bgpictureindex", "-1" },
            { "captionrect", "4,2,40,18" }, { "buttonsrect", "40,2,58,18" }, { "buttonsoffset", "1" },
            { "borderwidth", "3" }, { "maskrectarea", "2,2,58,38" }, { "inactiveeffect", "iedarkness" },
            { "statusbarname", "status" } });
    Set("SKINCOLORS",
        { { "cbtnface", "15790320" }, { "cbtntext", "0" }, { "cwindow", "16777215" }, { "cwindowtext", "1" },
            { "chighlight", "8388608" }, { "chighlighttext", "16777214" }, { "cbtnhighlight", "16777213" },
            { "cbtnshadow", "8421504" }, { "c3dlight", "14737632" }, { "c3ddkshadow", "4210752" } });
    Set("POPUPWINDOW",
        { { "windowpictureindex", "1" }, { "lefttoppoint", "2,2" }, { "rightbottompoint", "62,46" },
            { "itemsrect", "2,2,62,46" }, { "scrollmarkercolor", "255" } });
    Set("HINTWINDOW", { { "windowpictureindex", "1" }, { "clientrect", "3,3,61,45" }, { "fontname", "Tahoma" } });
    AddArea("OutputFolder", "10,20,300,42");
    AddArea("PreviewArea", "5,5,50,30");
    // An object and a control of one name would share a section, so objects whose word is also a control
    // word are named word + "object".
    const std::vector<std::string>& controlWords = ControlTypeWords();
    for (const std::string& word : ObjectTypeWords()) {
        bool shared = std::find(controlWords.begin(), controlWords.end(), word) != controlWords.end();
        AddObject(shared ? word + "object" : word, word,
            { { "activepictureindex", "0" }, { "skinrect", "1,2,11,12" }, { "hint", word } });
    }
    for (const std::string& word : ControlTypeWords())
        AddControl(word, word, { { "pictureindex", "1" }, { "skinrect", "0,0,20,10" }, { "fontheight", "13" } });
}

uint32_t TFixtureSkin::PixelOf(int x, int y, uint32_t seed)
{
    uint32_t r = (static_cast<uint32_t>(x) * 37 + seed * 11) & 0xFF;
    uint32_t g = (static_cast<uint32_t>(y) * 59 + seed * 23) & 0xFF;
    uint32_t b = (static_cast<uint32_t>(x + y) * 13 + seed * 7) & 0xFF;
    return (r << 16) | (g << 8) | b;
}

void TFixtureSkin::WriteBmp(const std::string& path, int width, int height, uint32_t seed)
{
    int stride = (width * 3 + 3) & ~3;
    uint32_t imageSize = static_cast<uint32_t>(stride * height);
    std::string out;
    out += "BM";
    PutLE(out, 54 + imageSize, 4);
    PutLE(out, 0, 4);
    PutLE(out, 54, 4);
    PutLE(out, 40, 4);
    PutLE(out, static_cast<uint32_t>(width), 4);
    PutLE(out, static_cast<uint32_t>(height), 4);
    PutLE(out, 1, 2);
    PutLE(out, 24, 2);
    PutLE(out, 0, 4);
    PutLE(out, imageSize, 4);
    PutLE(out, 2835, 4);
    PutLE(out, 2835, 4);
    PutLE(out, 0, 4);
    PutLE(out, 0, 4);
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x)
            PutLE(out, PixelOf(x, row, seed), 3);
        out.append(static_cast<size_t>(stride - width * 3), '\0');
    }
    WriteBytes(path, out);
}

void TFixtureSkin::WriteJpeg(const std::string& path, int width, int height, uint32_t seed)
{
    jpeg_compress_struct info {};
    jpeg_error_mgr error {};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < width; ++x) {
            uint32_t pixel = PixelOf(x, y, seed);
            row[x * 3] = static_cast<unsigned char>(pixel >> 16);
            row[x * 3 + 1] = static_cast<unsigned char>(pixel >> 8);
            row[x * 3 + 2] = static_cast<unsigned char>(pixel);
        }
        JSAMPROW rows[1] = { row.data() };
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    WriteBytes(path, std::string_view(reinterpret_cast<const char*>(buffer), size));
    std::free(buffer);
}

void TFixtureSkin::WriteBytes(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string TFixtureSkin::ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

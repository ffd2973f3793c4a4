#include "tools/skinmaker/TSkinDescription.h"

#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/graphics/TBitmap.h"
#include "imaging/TBitmap32.h"

#include <cstring>
#include <fstream>

namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return CompareText(std::string(a), std::string(b)) == 0;
}

} // namespace

void SaveAs24BitBmp(const TBitmap32& source, const std::string& path)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(source.Width(), source.Height());
    for (int y = 0; y < source.Height(); ++y) {
        auto* row = static_cast<uint8_t*>(bitmap.ScanLine(y));
        const TColor32* pixels = source.ScanLine(y);
        for (int x = 0; x < source.Width(); ++x) {
            row[x * 3 + 0] = uint8_t(pixels[x]);
            row[x * 3 + 1] = uint8_t(pixels[x] >> 8);
            row[x * 3 + 2] = uint8_t(pixels[x] >> 16);
        }
    }
    bitmap.SaveToFile(path);
}

std::string RectText(const TRect& rect)
{
    return Num(rect.Left) + "," + Num(rect.Top) + "," + Num(rect.Right) + "," + Num(rect.Bottom);
}

std::string PointText(int x, int y)
{
    return Num(x) + "," + Num(y);
}

std::string Num(long long value)
{
    return std::to_string(value);
}

TSkinDescription::TSkinDescription() = default;
TSkinDescription::~TSkinDescription() = default;

TSkinDescription::TSection& TSkinDescription::SectionNamed(std::string_view name)
{
    for (TSection& section : FSections)
        if (SameName(section.Name, name))
            return section;
    FSections.push_back(TSection { std::string(name), {} });
    return FSections.back();
}

void TSkinDescription::Set(std::string_view sectionName, std::string_view key, std::string_view value)
{
    TSection& section = SectionNamed(sectionName);
    for (auto& [name, old] : section.Values)
        if (SameName(name, key)) {
            old = value;
            return;
        }
    section.Values.emplace_back(std::string(key), std::string(value));
}

void TSkinDescription::Set(std::string_view section, const TKeyValues& values)
{
    SectionNamed(section);
    for (const auto& [key, value] : values)
        Set(section, key, value);
}

int TSkinDescription::AppendToList(std::string_view section, std::string_view entry)
{
    TSection& list = SectionNamed(section);
    int count = 0;
    for (const auto& [key, value] : list.Values)
        if (SameName(key, "count"))
            count = std::stoi(value);
    Set(section, "count", Num(count + 1));
    Set(section, Num(count), entry);
    return count;
}

void TSkinDescription::AddPictureFile(std::string_view fileName, const TBitmap32& picture)
{
    auto copy = std::make_unique<TBitmap32>();
    copy->SetSize(picture.Width(), picture.Height());
    if (picture.Width() > 0 && picture.Height() > 0)
        std::memcpy(copy->Bits(), picture.Bits(), size_t(picture.Width()) * size_t(picture.Height()) * 4);
    FPictures.push_back(TPictureFile { std::string(fileName), std::move(copy) });
}

void TSkinDescription::SetPicture(std::string_view key, std::string_view fileName, const TBitmap32& picture)
{
    AddPictureFile(fileName, picture);
    Set("PICTURES", key, fileName);
}

int TSkinDescription::AddActivePicture(std::string_view fileName, const TBitmap32& picture)
{
    AddPictureFile(fileName, picture);
    Set("PICTURES", "activepicturescount", Num(FActivePictures + 1));
    Set("PICTURES", Num(FActivePictures), fileName);
    return FActivePictures++;
}

void TSkinDescription::AddObject(std::string_view name, std::string_view type, const TKeyValues& values)
{
    AppendToList("SKINOBJECTS", std::string(name) + ":" + std::string(type));
    Set(name, values);
}

void TSkinDescription::AddControl(std::string_view name, std::string_view type, const TKeyValues& values)
{
    AppendToList("SKINCONTROLS", std::string(name) + ":" + std::string(type));
    Set(name, values);
}

void TSkinDescription::AddArea(std::string_view name, const TRect& rect)
{
    AppendToList("SKINAREAS", std::string(name) + ":" + RectText(rect));
}

std::string TSkinDescription::Text() const
{
    std::string text;
    for (const TSection& section : FSections) {
        text += "[" + section.Name + "]\r\n";
        // A key without a value is left out: the reader gives it its default, where an empty rectangle or
        // point would stop the whole load.
        for (const auto& [key, value] : section.Values)
            if (!value.empty())
                text += key + "=" + value + "\r\n";
        text += "\r\n";
    }
    return text;
}

void TSkinDescription::Write(const std::string& folder, std::string_view iniName) const
{
    for (const TPictureFile& picture : FPictures)
        SaveAs24BitBmp(*picture.Bitmap, folder + picture.Name);
    const std::string path = folder + std::string(iniName);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const std::string text = Text();
    file.write(text.data(), std::streamsize(text.size()));
    if (!file.flush())
        throw EFCreateError("Cannot create file \"" + path + "\"");
}

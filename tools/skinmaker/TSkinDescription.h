// TSkinDescription, a skin description and its pictures as the skin maker builds them, and the value texts.
#pragma once
#include "framework/graphics/Types.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TBitmap32;

// Writes the bitmap's colours as a 24-bit BMP file: skins compare colours exactly (masks, transparent colours),
// and a 24-bit picture carries no alpha to disagree about. Raises EFCreateError when the file cannot be written.
void SaveAs24BitBmp(const TBitmap32& source, const std::string& path);

// "l,t,r,b", "x,y" and decimal numbers as skin descriptions write them.
std::string RectText(const TRect& rect);
std::string PointText(int x, int y);
std::string Num(long long value);

// A skin description built section by section (sections and keys keep the order they were first set in),
// with the pictures it names. Write puts the description and every picture, as 24-bit BMP files, into a
// folder; pictures are copied when they are added, so the caller may go on drawing into its bitmap.
class TSkinDescription {
public:
    using TKeyValues = std::vector<std::pair<std::string, std::string>>;

    TSkinDescription();
    ~TSkinDescription();

    void Set(std::string_view section, std::string_view key, std::string_view value);
    void Set(std::string_view section, const TKeyValues& values);
    // Names a picture under `key` of "PICTURES" ("picture", "mask").
    void SetPicture(std::string_view key, std::string_view fileName, const TBitmap32& picture);
    // Appends an active picture; returns its picture index.
    int AddActivePicture(std::string_view fileName, const TBitmap32& picture);
    // Appends "name:type" to "SKINOBJECTS" or "SKINCONTROLS" and writes the record's section.
    void AddObject(std::string_view name, std::string_view type, const TKeyValues& values);
    void AddControl(std::string_view name, std::string_view type, const TKeyValues& values);
    void AddArea(std::string_view name, const TRect& rect);

    // The description as text with "\r\n" line ends.
    std::string Text() const;
    // Writes the pictures and the description `iniName` into `folder` (which must exist), replacing files of
    // the same names. Raises EFCreateError when a file cannot be written.
    void Write(const std::string& folder, std::string_view iniName) const;

private:
    struct TSection {
        std::string Name;
        TKeyValues Values;
    };
    struct TPictureFile {
        std::string Name;
        std::unique_ptr<TBitmap32> Bitmap;
    };

    TSection& SectionNamed(std::string_view name);
    int AppendToList(std::string_view section, std::string_view entry);
    void AddPictureFile(std::string_view fileName, const TBitmap32& picture);

    std::vector<TSection> FSections;
    std::vector<TPictureFile> FPictures;
    int FActivePictures = 0;
};

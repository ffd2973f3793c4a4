#include "skin/core/SPUtils.h"

#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TIniFile.h"
#include "framework/core/TStrings.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TJPEGImage.h"

#include <algorithm>
#include <array>
#include <vector>

namespace SPUtils {

namespace {

    // The digits of each comma-separated part; every other character is dropped.
    std::vector<std::string> DigitParts(std::string_view text)
    {
        std::vector<std::string> parts(1);
        for (char c : text) {
            if (c == ',')
                parts.emplace_back();
            else if (c >= '0' && c <= '9')
                parts.back() += c;
        }
        return parts;
    }

    // Exactly `count` parts, each converted; a part without digits, a number past the 32-bit range or another
    // number of parts fails.
    template <size_t Count> std::array<int32_t, Count> ParseParts(std::string_view text, const char* kind)
    {
        std::vector<std::string> parts = DigitParts(text);
        std::array<int32_t, Count> values {};
        bool valid = parts.size() == Count;
        for (size_t i = 0; valid && i < Count; ++i)
            valid = !parts[i].empty() && TryStrToInt(parts[i], values[i]);
        if (!valid)
            throw EConvertError(Format("'%s' is not a valid %s", text, kind));
        return values;
    }

    template <class Result, class Parse>
    Result ReadValue(
        const TCustomIniFile* ini, std::string_view section, std::string_view key, std::string_view def, Parse parse)
    {
        std::string text = ini->ReadString(section, key, def);
        try {
            return parse(text);
        } catch (const EConvertError& e) {
            throw EConvertError(Format("%s (key \"%s\" of section [%s])", e.Message(), key, section));
        }
    }

    int ReadListCount(const TCustomIniFile* ini, std::string_view section, const std::string& countKey)
    {
        int count = ini->ReadInteger(section, countKey, 0);
        if (count > MaxListCount)
            throw EConvertError(
                Format("The list count %d of key \"%s\" of section [%s] is too large", count, countKey, section));
        return count;
    }

    constexpr struct {
        TFontStyle Style;
        const char* Word;
    } kFontStyleWords[] = {
        { fsBold, "fsbold" },
        { fsItalic, "fsitalic" },
        { fsUnderline, "fsunderline" },
        { fsStrikeOut, "fsstrikeout" },
    };

} // namespace

TRect GetRect(std::string_view text)
{
    auto v = ParseParts<4>(text, "rectangle");
    return TRect { v[0], v[1], v[2], v[3] };
}

TPoint GetPoint(std::string_view text)
{
    auto v = ParseParts<2>(text, "point");
    return TPoint { v[0], v[1] };
}

std::string SetRect(const TRect& rect)
{
    return IntToStr(rect.Left) + "," + IntToStr(rect.Top) + "," + IntToStr(rect.Right) + "," + IntToStr(rect.Bottom);
}

TRect ReadRect(const TCustomIniFile* ini, std::string_view section, std::string_view key)
{
    return ReadValue<TRect>(ini, section, key, "0,0,0,0", GetRect);
}

TPoint ReadPoint(const TCustomIniFile* ini, std::string_view section, std::string_view key)
{
    return ReadValue<TPoint>(ini, section, key, "0,0", GetPoint);
}

bool ReadBoolean(const TCustomIniFile* ini, std::string_view section, std::string_view key)
{
    return ini->ReadInteger(section, key, 0) == 1;
}

TFontStyles ReadFontStyles(const TCustomIniFile* ini, std::string_view section, std::string_view key)
{
    std::string text = ini->ReadString(section, key, "");
    TFontStyles styles;
    for (const auto& entry : kFontStyleWords) {
        if (text.find(entry.Word) != std::string::npos)
            styles.Include(entry.Style);
    }
    return styles;
}

TAlignment ReadAlignment(const TCustomIniFile* ini, std::string_view section, std::string_view key)
{
    std::string text = ini->ReadString(section, key, "tacenter");
    if (text == "tacenter")
        return taCenter;
    if (text == "taleftjustify")
        return taLeftJustify;
    return taRightJustify;
}

void ReadStrings(const TCustomIniFile* ini, std::string_view section, std::string_view name, TStrings* list)
{
    std::string prefix(name);
    int count = ReadListCount(ini, section, prefix + "linecount");
    for (int i = 0; i < count; ++i)
        list->Add(ini->ReadString(section, prefix + "line" + IntToStr(i), ""));
}

void ReadStrings1(const TCustomIniFile* ini, std::string_view section, std::string_view name, TStrings* list)
{
    int count = ReadListCount(ini, section, std::string(name) + "count");
    for (int i = 0; i < count; ++i)
        list->Add(ini->ReadString(section, IntToStr(i), ""));
}

void WriteRect(TCustomIniFile* ini, std::string_view section, std::string_view key, const TRect& rect)
{
    ini->WriteString(section, key, SetRect(rect));
}

void WritePoint(TCustomIniFile* ini, std::string_view section, std::string_view key, const TPoint& point)
{
    ini->WriteString(section, key, IntToStr(point.X) + "," + IntToStr(point.Y));
}

void WriteBoolean(TCustomIniFile* ini, std::string_view section, std::string_view key, bool value)
{
    ini->WriteString(section, key, value ? "1" : "0");
}

void WriteFontStyles(TCustomIniFile* ini, std::string_view section, std::string_view key, TFontStyles styles)
{
    std::string text;
    for (const auto& entry : kFontStyleWords) {
        if (!styles.Contains(entry.Style))
            continue;
        if (!text.empty())
            text += ",";
        text += entry.Word;
    }
    ini->WriteString(section, key, text);
}

void WriteAlignment(TCustomIniFile* ini, std::string_view section, std::string_view key, TAlignment alignment)
{
    const char* word = alignment == taCenter ? "tacenter"
        : alignment == taLeftJustify         ? "taleftjustify"
                                             : "tarightjustify";
    ini->WriteString(section, key, word);
}

void WriteStrings(TCustomIniFile* ini, std::string_view section, std::string_view name, const TStrings* list)
{
    std::string prefix(name);
    ini->WriteInteger(section, prefix + "linecount", list->Count());
    for (int i = 0; i < list->Count(); ++i)
        ini->WriteString(section, prefix + "line" + IntToStr(i), list->Strings(i));
}

void WriteStrings1(TCustomIniFile* ini, std::string_view section, std::string_view name, const TStrings* list)
{
    ini->WriteInteger(section, std::string(name) + "count", list->Count());
    for (int i = 0; i < list->Count(); ++i)
        ini->WriteString(section, IntToStr(i), list->Strings(i));
}

bool IsNullRect(const TRect& rect)
{
    return RectWidth(rect) <= 0 || RectHeight(rect) <= 0;
}

bool IsNullPoint(const TPoint& point)
{
    return point.X == 0 || point.Y == 0;
}

bool EqRects(const TRect& a, const TRect& b)
{
    return a == b;
}

bool EqPoints(const TPoint& a, const TPoint& b)
{
    return a == b;
}

bool PointInRect(const TRect& rect, const TPoint& point)
{
    return point.X >= rect.Left && point.X <= rect.Right && point.Y >= rect.Top && point.Y <= rect.Bottom;
}

bool RectInRect(const TRect& inner, const TRect& outer)
{
    auto inside
        = [&outer](int x, int y) { return x >= outer.Left && x < outer.Right && y >= outer.Top && y < outer.Bottom; };
    return inside(inner.Left, inner.Top) && inside(inner.Right, inner.Bottom);
}

TRect RectToCenter(TRect& rect, const TRect& bounds)
{
    int width = RectWidth(rect);
    int height = RectHeight(rect);
    rect.Left = bounds.Left + (RectWidth(bounds) - width) / 2;
    rect.Top = bounds.Top + (RectHeight(bounds) - height) / 2;
    rect.Right = rect.Left + width;
    rect.Bottom = rect.Top + height;
    return rect;
}

int ExtractDay(TDateTime date)
{
    int year, month, day;
    DecodeDate(date, year, month, day);
    return day;
}

int ExtractMonth(TDateTime date)
{
    int year, month, day;
    DecodeDate(date, year, month, day);
    return month;
}

int ExtractYear(TDateTime date)
{
    int year, month, day;
    DecodeDate(date, year, month, day);
    return year;
}

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysPerMonth(int year, int month)
{
    static constexpr int kDays[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (month < 1 || month > 12)
        return 0;
    return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

void WriteStringToStream(const std::string& text, TStream& stream)
{
    int32_t length = static_cast<int32_t>(text.size());
    stream.WriteBuffer(&length, sizeof(length));
    stream.WriteBuffer(text.data(), length);
}

void ReadStringFromStream(std::string& text, TStream& stream)
{
    int32_t length = 0;
    stream.ReadBuffer(&length, sizeof(length));
    if (length < 0)
        throw EReadError("Stream read error");
    // Read in pieces, so that a length the stream does not hold fails before it costs its memory.
    constexpr int32_t kPiece = 65536;
    std::string result;
    while (static_cast<int32_t>(result.size()) < length) {
        int32_t n = std::min(kPiece, length - static_cast<int32_t>(result.size()));
        size_t at = result.size();
        result.resize(at + static_cast<size_t>(n));
        stream.ReadBuffer(result.data() + at, n);
    }
    text = std::move(result);
}

bool IsJpegFile(std::string_view name)
{
    return name.find(".jpg") != std::string_view::npos || name.find(".jpeg") != std::string_view::npos;
}

void LoadFromJpegFile(TBitmap* bitmap, std::string_view path)
{
    TJPEGImage jpeg;
    jpeg.LoadFromFile(path);
    LoadFromJPegImage(bitmap, &jpeg);
}

void LoadFromJpegStream(TBitmap* bitmap, TStream& stream)
{
    TJPEGImage jpeg;
    jpeg.LoadFromStream(stream);
    LoadFromJPegImage(bitmap, &jpeg);
}

void LoadFromJPegImage(TBitmap* bitmap, TJPEGImage* jpeg)
{
    // Decoding first means a broken picture raises before the bitmap is touched.
    bitmap->Assign(jpeg->Bitmap());
}

} // namespace SPUtils

// The skin's value readers and writers (rectangles, points, flags, font styles, alignment, lists) and the pure
// helpers of the rendering unit: rectangle and point tests, dates, length-prefixed strings, JPEG loading.
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/core/FileSystem.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Types.h"

#include <cstdint>
#include <string>
#include <string_view>

class TCustomIniFile;
class TStream;
class TStrings;

// How a stretched client part fills its target: the whole target, stretched to the target's height and
// repeated across, or stretched to its width and repeated down.
enum TspStretchType : uint8_t { spstFull, spstHorz, spstVert };

namespace SPUtils {

// ---- Skin values ----------------------------------------------------------------------------------------------

// Rectangles and points are comma-separated parts of which only the digits count ("-4,5,30,40" reads
// (4, 5, 30, 40)). A rectangle needs exactly four parts and a point two, each with at least one digit and
// within the 32-bit range; anything else raises EConvertError.
TRect GetRect(std::string_view text);
TPoint GetPoint(std::string_view text);
// "left,top,right,bottom" in decimal.
std::string SetRect(const TRect& rect);

// A missing key gives (0, 0, 0, 0) and (0, 0); a malformed value raises EConvertError naming the key.
TRect ReadRect(const TCustomIniFile* ini, std::string_view section, std::string_view key);
TPoint ReadPoint(const TCustomIniFile* ini, std::string_view section, std::string_view key);
// True only when the value reads as the integer 1 ("1", "0x1").
bool ReadBoolean(const TCustomIniFile* ini, std::string_view section, std::string_view key);
// The styles whose words ("fsbold", "fsitalic", "fsunderline", "fsstrikeout") occur anywhere in the value,
// letter case as written.
TFontStyles ReadFontStyles(const TCustomIniFile* ini, std::string_view section, std::string_view key);
// Missing: taCenter. Exactly "tacenter" or "taleftjustify" give those; every other text gives taRightJustify.
TAlignment ReadAlignment(const TCustomIniFile* ini, std::string_view section, std::string_view key);
// Append to `list` without clearing it. The line list keeps its count under name + "linecount" and its items
// under name + "line" + i; the numbered list under name + "count" and the bare numbers. A count above
// MaxListCount raises EConvertError instead of filling memory with empty items.
void ReadStrings(const TCustomIniFile* ini, std::string_view section, std::string_view name, TStrings* list);
void ReadStrings1(const TCustomIniFile* ini, std::string_view section, std::string_view name, TStrings* list);
constexpr int MaxListCount = 65536;

void WriteRect(TCustomIniFile* ini, std::string_view section, std::string_view key, const TRect& rect);
void WritePoint(TCustomIniFile* ini, std::string_view section, std::string_view key, const TPoint& point);
void WriteBoolean(TCustomIniFile* ini, std::string_view section, std::string_view key, bool value);
// The words of the set in the order fsbold, fsitalic, fsunderline, fsstrikeout, joined by ",".
void WriteFontStyles(TCustomIniFile* ini, std::string_view section, std::string_view key, TFontStyles styles);
void WriteAlignment(TCustomIniFile* ini, std::string_view section, std::string_view key, TAlignment alignment);
void WriteStrings(TCustomIniFile* ini, std::string_view section, std::string_view name, const TStrings* list);
void WriteStrings1(TCustomIniFile* ini, std::string_view section, std::string_view name, const TStrings* list);

// ---- Rectangles, points and numbers ---------------------------------------------------------------------------

inline int RectWidth(const TRect& rect)
{
    return rect.Right - rect.Left;
}
inline int RectHeight(const TRect& rect)
{
    return rect.Bottom - rect.Top;
}
inline TRect NullRect()
{
    return TRect { 0, 0, 0, 0 };
}
// True when the width or the height is 0 or less.
bool IsNullRect(const TRect& rect);
// True when x or y is 0.
bool IsNullPoint(const TPoint& point);
bool EqRects(const TRect& a, const TRect& b);
bool EqPoints(const TPoint& a, const TPoint& b);
// All four edges included.
bool PointInRect(const TRect& rect, const TPoint& point);
// Both corners of `inner` inside `outer`, left and top edges included, right and bottom excluded.
bool RectInRect(const TRect& inner, const TRect& outer);
// Moves `rect` so that it is centred in `bounds` (halves truncated) and returns it.
TRect RectToCenter(TRect& rect, const TRect& bounds);
inline int Max(int a, int b)
{
    return a > b ? a : b;
}
inline int Min(int a, int b)
{
    return a < b ? a : b;
}

// ---- Dates ----------------------------------------------------------------------------------------------------

int ExtractDay(TDateTime date);
int ExtractMonth(TDateTime date);
int ExtractYear(TDateTime date);
bool IsLeapYear(int year);
// 28 to 31; 0 for a month outside 1..12.
int DaysPerMonth(int year, int month);

// ---- Streams --------------------------------------------------------------------------------------------------

// A 32-bit length, then the bytes.
void WriteStringToStream(const std::string& text, TStream& stream);
// Raises EReadError for a negative length or one the stream does not hold; `text` is then unchanged.
void ReadStringFromStream(std::string& text, TStream& stream);

// ---- Pictures -------------------------------------------------------------------------------------------------

// True when the name contains ".jpg" or ".jpeg", letter case as written: "back.JPG" is not, "back.jpg.bmp" is.
bool IsJpegFile(std::string_view name);
// Make `bitmap` a copy of the decoded JPEG picture, of the picture's size. The errors of the file, the stream and
// the decoder reach the caller; the bitmap is then unchanged.
void LoadFromJpegFile(TBitmap* bitmap, std::string_view path);
void LoadFromJpegStream(TBitmap* bitmap, TStream& stream);
void LoadFromJPegImage(TBitmap* bitmap, TJPEGImage* jpeg);

} // namespace SPUtils

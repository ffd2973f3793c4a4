// The skin's value readers and writers (rectangles, points, flags, font styles, alignment, lists) and the small
// routines of the rendering unit: rectangle and point tests, dates, strings, JPEG loading, text fitting, default
// glyphs, the capture of a control's background, and the system routines (screen grab, layered alpha, version
// tests, scroll-bar info, monitor work areas).
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/core/FileSystem.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Types.h"

#include <cstdint>
#include <string>
#include <string_view>

class TBitmap;
class TCanvas;
class TControl;
class TCustomIniFile;
class TStream;
class TStrings;

// The system calls that the rendering unit binds once, on first use, because not every system offers them. An
// empty entry means the system lacks the call.
struct TspSystemEntryPoints {
    HMONITOR (*MonitorFromWindow)(HWND window, DWORD flags) = nullptr;
    BOOL (*GetMonitorInfo)(HMONITOR monitor, MONITORINFO* info) = nullptr;
    BOOL (*GetScrollBarInfo)(HWND window, LONG objectId, SCROLLBARINFO* info) = nullptr;
};

// Replaces the bound entry points while it lives and restores the previous ones when it goes (tests simulate
// systems with and without the calls). Overrides nest; destroy them in reverse order. UI thread only.
class TspSystemEntryPointsOverride final {
public:
    explicit TspSystemEntryPointsOverride(const TspSystemEntryPoints& replacement);
    ~TspSystemEntryPointsOverride();
    TspSystemEntryPointsOverride(const TspSystemEntryPointsOverride&) = delete;
    TspSystemEntryPointsOverride& operator=(const TspSystemEntryPointsOverride&) = delete;

private:
    TspSystemEntryPoints FSaved;
};

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

// ---- Text -----------------------------------------------------------------------------------------------------
// Texts are UTF-8; shortening removes whole code points.

// Leaves a text that fits `width` on the canvas; otherwise the longest prefix that fits with "..." appended, or
// "..." alone.
void CorrectTextbyWidth(TCanvas* canvas, std::string& text, int width);
// The same, measuring as SPDrawSkinText does.
void CorrectTextbyWidthW(TCanvas* canvas, std::string& text, int width);
// DrawText with the canvas's font into `rect` (which DT_CALCRECT updates); returns the text height.
int SPDrawSkinText(TCanvas* canvas, std::string_view text, TRect& rect, uint32_t flags);
int CalcTextWidthW(TCanvas* canvas, std::string_view text);
int CalcTextHeightW(TCanvas* canvas, std::string_view text);
// One line, vertically centred, left-aligned; nothing for an empty text.
void SPDrawText(TCanvas* canvas, std::string_view text, const TRect& rect);
// Clipped to `rect`, left at rect.Left + 2 (+ offset), vertically centred by the text height.
void SPDrawText2(TCanvas* canvas, std::string_view text, const TRect& rect);
void SPDrawText3(TCanvas* canvas, std::string_view text, const TRect& rect, int offset);

// ---- Default glyphs -------------------------------------------------------------------------------------------
// Each sets the pen colour (and, where the glyph is filled, the brush). "From a to b" lines leave out b, as
// LineTo does; the triangles' lines cover both ends so that their tips are one pixel.

// kind 1 left, 2 right, 3 up, 4 down; any other kind draws nothing.
void DrawArrowImage(TCanvas* canvas, const TRect& rect, TColor color, int kind);
void DrawTrackArrowImage(TCanvas* canvas, const TRect& rect, TColor color);
void DrawCheckImage(TCanvas* canvas, int x, int y, TColor color);
void DrawRadioImage(TCanvas* canvas, int x, int y, TColor color);
void DrawCloseImage(TCanvas* canvas, int x, int y, TColor color);
void DrawRCloseImage(TCanvas* canvas, const TRect& rect, TColor color);
void DrawSysMenuImage(TCanvas* canvas, int x, int y, TColor color);
void DrawMinimizeImage(TCanvas* canvas, int x, int y, TColor color);
void DrawMaximizeImage(TCanvas* canvas, int x, int y, TColor color);
void DrawRestoreImage(TCanvas* canvas, int x, int y, TColor color);
void DrawRollUpImage(TCanvas* canvas, int x, int y, TColor color);
void DrawRestoreRollUpImage(TCanvas* canvas, int x, int y, TColor color);
void DrawMTImage(TCanvas* canvas, int x, int y, TColor color);
// A one-pixel 3-D frame: top and left in the first colour, right and bottom in the second.
void Frm3D(TCanvas* canvas, TRect rect, TColor topLeftColor, TColor bottomRightColor);
// Cell `index` (from 1) of a strip of `count` equal cells, drawn at (x, y) with the colour of the cell's
// bottom-left pixel left out. Nothing for an empty strip or an index outside 1..count.
void DrawGlyph(TCanvas* canvas, int x, int y, TBitmap* glyphs, int count, int index);

// ---- Background capture ---------------------------------------------------------------------------------------

// Paints onto `canvas`, in the control's coordinates, its parent's background and the visible windowless
// siblings before it in child order that overlap it. The background of an MDI parent form is its client window's;
// a parent that is a TspParentBackground paints its own; any other parent erases and, unless it is a form,
// paints its face. Nothing without a control or a parent.
void GetParentImage(TControl* control, TCanvas* canvas);
// The same with the canvas's origin at the control's point (rect.Left, rect.Top).
void GetParentImageRect(TControl* control, const TRect& rect, TCanvas* canvas);

// ---- System: screen, layered windows, version, scroll bars, monitors -------------------------------------------

// The entry points bound on first use (see TspSystemEntryPoints).
const TspSystemEntryPoints& SystemEntryPoints();

// Copies the screen area at (x, y) (screen coordinates) of the bitmap's size into the bitmap. Nothing for a null
// or empty bitmap.
void GetScreenImage(int x, int y, TBitmap* bitmap);
// The constant opacity of a layered window, clamped to 0..255; nothing where the display has no layered windows.
void SetAlphaBlendTransparent(HWND window, int alpha);

// The system's major and minor version.
void GetWindowsVersion(int& major, int& minor);
// Major above 5.
bool IsVistaOs();
// Major below 5.
bool Is9XOS();
// Major above 5, or 5.1: drop shadows are available.
bool CheckWXP();
// Major above 5, or 5.0 to 5.2: layered windows are available.
bool CheckW2KWXP();

// The bound GetScrollBarInfo; without it info.rgstate[0] becomes STATE_SYSTEM_INVISIBLE and the answer FALSE.
BOOL MyGetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO& info);

// The primary monitor's work area when `workArea` is set, else (0, 0, screen width, screen height).
void GetPrimaryMonitorWorkArea(bool workArea, TRect& result);
// With more than one monitor and the monitor calls bound: the work area (or, without `workArea`, the whole
// rectangle) of the monitor nearest to the window; `result` is left as passed when the monitor call fails.
// Otherwise GetPrimaryMonitorWorkArea.
void GetMonitorWorkArea(HWND window, bool workArea, TRect& result);

} // namespace SPUtils

// Text output and measurement: TextOut, ExtTextOut, text extents and metrics, alignment, and DrawText with its
// layout flags. Text is UTF-8 (counts in bytes; -1 for a NUL-terminated string) or UTF-16 in the W forms.
#pragma once
#include "platform/gdi/GdiTypes.h"

constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT TA_RTLREADING = 256;

constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;
constexpr UINT ETO_GLYPH_INDEX = 0x0010;
constexpr UINT ETO_RTLREADING = 0x0080;
constexpr UINT ETO_IGNORELANGUAGE = 0x1000;

constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_INTERNAL = 0x00001000;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_MODIFYSTRING = 0x00010000;
constexpr UINT DT_RTLREADING = 0x00020000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x00080000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

struct DRAWTEXTPARAMS {
    UINT cbSize;
    int iTabLength; // in average character widths
    int iLeftMargin;
    int iRightMargin;
    UINT uiLengthDrawn;
};

// GDI_ERROR_UINT on failure.
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
// Pixels added after every character.
int SetTextCharacterExtra(HDC dc, int extra);
int GetTextCharacterExtra(HDC dc);

// Draws at (x, y) by the text alignment; in OPAQUE mode the character cells are first filled with the background
// colour. Fonts with an escapement draw along the turned baseline. Antialiased on 32-bit surfaces.
BOOL TextOut(HDC dc, int x, int y, const char* text, int count);
BOOL TextOutW(HDC dc, int x, int y, const WCHAR* text, int count);
// ETO_OPAQUE fills `rect` with the background colour, ETO_CLIPPED clips to it. `dx` (optional) gives each
// character's advance (one per code point).
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, UINT count, const INT* dx);
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, const WCHAR* text, UINT count, const INT* dx);

// Width: the sum of the advances (plus the character extra); height: the font's cell height.
BOOL GetTextExtentPoint32(HDC dc, const char* text, int count, SIZE* size);
BOOL GetTextExtentPoint32W(HDC dc, const WCHAR* text, int count, SIZE* size);
// Also how many characters fit in `maxExtent` (when `fit` is given) and each character's end offset.
BOOL GetTextExtentExPoint(HDC dc, const char* text, int count, int maxExtent, int* fit, int* dx, SIZE* size);
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics);
// The selected font's face name as requested; returns the bytes copied without the NUL.
int GetTextFace(HDC dc, int count, char* name);

// Lays `text` out in `rect`: lines break at CR, LF and CR LF, and with DT_WORDBREAK between words that would pass
// the right edge (a longer word keeps its line); DT_SINGLELINE keeps one line, and only then do DT_VCENTER and
// DT_BOTTOM move it. "&x" underlines x unless DT_NOPREFIX ("&&" is "&"). DT_END_ELLIPSIS, DT_WORD_ELLIPSIS and
// DT_PATH_ELLIPSIS shorten lines that do not fit. DT_CALCRECT draws nothing and sets rect's right and bottom to the
// text's extent. Returns the text height (with DT_VCENTER or DT_BOTTOM the offset from rect.top to the bottom of
// the text), 0 on failure or for an empty text. Right-to-left reading is not supported (lines run left to
// right).
int DrawText(HDC dc, const char* text, int count, RECT* rect, UINT format);
int DrawTextW(HDC dc, const WCHAR* text, int count, RECT* rect, UINT format);
int DrawTextEx(HDC dc, const char* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params);
int DrawTextExW(HDC dc, const WCHAR* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params);

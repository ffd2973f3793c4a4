// Listing the installed fonts: EnumFontFamilies and EnumFontFamiliesEx over fontconfig and the bitmap faces of the
// wine folder.
#pragma once
#include "platform/gdi/GdiTypes.h"

constexpr DWORD RASTER_FONTTYPE = 0x0001;
constexpr DWORD DEVICE_FONTTYPE = 0x0002;
constexpr DWORD TRUETYPE_FONTTYPE = 0x0004;

struct ENUMLOGFONT {
    LOGFONT elfLogFont;
    char elfFullName[64];
    char elfStyle[32];
};

struct ENUMLOGFONTEX {
    LOGFONT elfLogFont;
    char elfFullName[64];
    char elfStyle[32];
    char elfScript[32];
};

struct NEWTEXTMETRIC {
    TEXTMETRIC tm;
    DWORD ntmFlags;
    UINT ntmSizeEM;
    UINT ntmCellHeight;
    UINT ntmAvgWidth;
};

// The font and metrics point to an ENUMLOGFONTEX and a NEWTEXTMETRIC; a zero result stops the enumeration.
using FONTENUMPROC = int (*)(const LOGFONT* font, const TEXTMETRIC* metrics, DWORD fontType, LPARAM param);

// Scalable faces report TRUETYPE_FONTTYPE and a height of 16 (any size can be made), bitmap faces RASTER_FONTTYPE
// and one entry per strike height. lfPitchAndFamily is FIXED_PITCH for monospaced faces and VARIABLE_PITCH for
// the rest, tmPitchAndFamily has TMPF_TRUETYPE | TMPF_VECTOR for scalable faces and TMPF_FIXED_PITCH for
// proportional ones (set means variable, as on Windows). lfCharSet is SYMBOL_CHARSET for symbol faces.
//
// Without a family: one entry per family, in name order. With a family (case-insensitive): one entry per style
// of it (and per strike). Returns the last callback result, 1 when nothing was reported.
int EnumFontFamilies(HDC dc, const char* family, FONTENUMPROC proc, LPARAM param);
// lfFaceName empty: one entry per family; else the styles of that family. lfCharSet DEFAULT_CHARSET takes every
// face (with its own character set); another character set takes the faces that cover it. `flags` must be 0.
int EnumFontFamiliesEx(HDC dc, const LOGFONT* font, FONTENUMPROC proc, LPARAM param, DWORD flags);

// The realized fonts behind logical fonts: a LOGFONT mapped to an installed face (fontconfig, plus the bitmap
// faces of the wine folder that fontconfig declines), sized, with its metrics and a cache of rendered glyphs.
// FreeType and fontconfig stay inside FontCache.cpp.
#pragma once
#include "platform/gdi/GdiTypes.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// One rendered glyph: coverage 0..255, `Left`/`Top` from the pen position to the bitmap's top-left (Top counts
// up from the baseline), and the advance vector in 1/64 pixel (rotated with the text).
struct TGlyph {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    long AdvanceX = 0;
    long AdvanceY = 0;
    std::vector<uint8_t> Coverage;
};

// Pixel metrics of a realized font. Underline and strike-out positions are offsets from the baseline, positive
// downwards for the underline and upwards for the strike-out.
struct TFontMetrics {
    int Height = 0;
    int Ascent = 0;
    int Descent = 0;
    int InternalLeading = 0;
    int ExternalLeading = 0;
    int AveCharWidth = 0;
    int MaxCharWidth = 0;
    int Weight = FW_NORMAL;
    int UnderlinePosition = 0;
    int UnderlineThickness = 1;
    int StrikeoutPosition = 0;
    int StrikeoutThickness = 1;
    bool Scalable = true;
    bool FixedPitch = false;
    bool Symbol = false;
    std::string Family;
    std::string File;
};

class TFontFace;

// A number no face had before.
uint64_t NewFaceSerial();

// One installed face as font enumeration lists it.
struct TInstalledFace {
    std::string Family;
    std::string Style;
    int Weight = FW_NORMAL;
    bool Italic = false;
    bool FixedPitch = false;
    bool Scalable = true;
    // Glyphs in the symbol area instead of letters (Marlett, Wingdings).
    bool Symbol = false;
    // The strike heights of a bitmap face.
    std::vector<int> Heights;
    // Which of 'A', U+3042, U+4E2D and U+2591 the face has, to tell the character sets it covers.
    std::vector<uint32_t> Covered;
};

// Everything here runs under this lock (FreeType and fontconfig objects are not thread-safe).
std::unique_lock<std::mutex> LockFonts();

// Starts FreeType and fontconfig and scans the bitmap faces now, under the lock, if nothing has yet: a program may
// call it on a thread of its own at start, so that its first text does not wait for the set-up.
void PrepareFonts();

// The realized font for `log`; `rotated` asks for an outline face (bitmap faces cannot turn). An unknown name
// falls back to the default sans face; null only when no face at all can be loaded. Call with the lock held; the
// face stays valid while the shared pointer is held.
std::shared_ptr<TFontFace> RealizeFont(const LOGFONT& log, bool rotated);
// Every face fontconfig knows (the wine folder included), then the bitmap faces it declines. Call with the lock
// held.
std::vector<TInstalledFace> InstalledFaces();

class TFontFace {
public:
    virtual ~TFontFace();
    // Unique to this face for the whole run: what is kept of its glyphs is kept by it.
    const uint64_t Serial = NewFaceSerial();
    virtual const TFontMetrics& Metrics() const = 0;
    // The glyph of a code point (the face's missing-glyph shape when it has none), unrotated, cached.
    virtual const TGlyph& Glyph(uint32_t codePoint, bool antialiased) = 0;
    // The same turned counter-clockwise by `degrees`; not cached.
    virtual TGlyph RotatedGlyph(uint32_t codePoint, bool antialiased, double degrees) = 0;
    // The whole-pixel advance of a code point, the width text measurement adds up.
    virtual int Advance(uint32_t codePoint) = 0;
};

// Decodes UTF-8 (invalid bytes become U+FFFD, each on its own) and UTF-16.
std::vector<uint32_t> DecodeUtf8(const char* text, size_t bytes);
// The same into `out`, which keeps its storage (for callers that decode on every call).
void DecodeUtf8(const char* text, size_t bytes, std::vector<uint32_t>& out);
std::vector<uint32_t> DecodeUtf16(const WCHAR* text, size_t units);
std::string EncodeUtf8(const std::vector<uint32_t>& codePoints);

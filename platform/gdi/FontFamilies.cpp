#include "platform/gdi/FontFamilies.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/FontCache.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace {

// A character each character set needs, to tell which faces cover it.
struct TCharsetSample {
    BYTE Charset;
    uint32_t CodePoint;
};
constexpr TCharsetSample kCharsetSamples[] = {
    { ANSI_CHARSET, 'A' },
    { SHIFTJIS_CHARSET, 0x3042 },
    { GB2312_CHARSET, 0x4E2D },
    { CHINESEBIG5_CHARSET, 0x4E2D },
    { OEM_CHARSET, 0x2591 },
};

bool Covers(const TInstalledFace& face, BYTE charset)
{
    if (charset == DEFAULT_CHARSET)
        return true;
    if (charset == SYMBOL_CHARSET)
        return face.Symbol;
    if (face.Symbol)
        return false;
    for (const TCharsetSample& sample : kCharsetSamples)
        if (sample.Charset == charset)
            return std::find(face.Covered.begin(), face.Covered.end(), sample.CodePoint) != face.Covered.end();
    return false;
}

void Copy(char* to, size_t size, const std::string& from)
{
    const size_t n = std::min(size - 1, from.size());
    std::memcpy(to, from.data(), n);
    to[n] = '\0';
}

struct TEntry {
    ENUMLOGFONTEX Font {};
    NEWTEXTMETRIC Metrics {};
    DWORD Type = 0;
};

TEntry EntryOf(const TInstalledFace& face, BYTE charset, int height)
{
    TEntry e;
    LOGFONT& lf = e.Font.elfLogFont;
    lf.lfHeight = height;
    lf.lfWeight = face.Weight;
    lf.lfItalic = face.Italic ? 1 : 0;
    lf.lfCharSet = face.Symbol ? SYMBOL_CHARSET : charset == DEFAULT_CHARSET ? ANSI_CHARSET : charset;
    lf.lfOutPrecision = face.Scalable ? OUT_TT_PRECIS : 0;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = BYTE((face.FixedPitch ? FIXED_PITCH : VARIABLE_PITCH) | (face.FixedPitch ? FF_MODERN : FF_DONTCARE));
    Copy(lf.lfFaceName, sizeof lf.lfFaceName, face.Family);
    Copy(e.Font.elfFullName, sizeof e.Font.elfFullName, face.Family + (face.Style.empty() ? "" : " " + face.Style));
    Copy(e.Font.elfStyle, sizeof e.Font.elfStyle, face.Style);
    Copy(e.Font.elfScript, sizeof e.Font.elfScript, face.Symbol ? "Symbol" : "Western");
    TEXTMETRIC& tm = e.Metrics.tm;
    tm.tmHeight = height;
    tm.tmWeight = face.Weight;
    tm.tmItalic = lf.lfItalic;
    tm.tmCharSet = lf.lfCharSet;
    tm.tmPitchAndFamily = BYTE((face.FixedPitch ? 0 : TMPF_FIXED_PITCH) | (face.Scalable ? TMPF_TRUETYPE | TMPF_VECTOR : 0));
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
    e.Metrics.ntmSizeEM = face.Scalable ? 2048 : UINT(height);
    e.Type = face.Scalable ? TRUETYPE_FONTTYPE : RASTER_FONTTYPE;
    return e;
}

int Enumerate(const char* family, BYTE charset, FONTENUMPROC proc, LPARAM param)
{
    if (!proc)
        return 0;
    std::vector<TInstalledFace> faces;
    {
        auto lock = LockFonts();
        faces = InstalledFaces();
    }
    std::sort(faces.begin(), faces.end(), [](const TInstalledFace& a, const TInstalledFace& b) {
        const int byName = strcasecmp(a.Family.c_str(), b.Family.c_str());
        if (byName != 0)
            return byName < 0;
        return a.Style < b.Style;
    });
    const bool oneFamily = family && *family;
    std::vector<TEntry> entries;
    std::string lastFamily;
    for (const TInstalledFace& face : faces) {
        if (!Covers(face, charset))
            continue;
        if (oneFamily) {
            if (strcasecmp(face.Family.c_str(), family) != 0)
                continue;
            if (face.Scalable)
                entries.push_back(EntryOf(face, charset, 16));
            for (int height : face.Heights)
                entries.push_back(EntryOf(face, charset, height));
        } else if (strcasecmp(face.Family.c_str(), lastFamily.c_str()) != 0) {
            lastFamily = face.Family;
            entries.push_back(EntryOf(face, charset, face.Scalable || face.Heights.empty() ? 16 : face.Heights.front()));
        }
    }
    // The callbacks run without the font lock: they may create fonts and measure text.
    int result = 1;
    for (const TEntry& e : entries) {
        result = proc(&e.Font.elfLogFont, &e.Metrics.tm, e.Type, param);
        if (result == 0)
            break;
    }
    return result;
}

} // namespace

int EnumFontFamilies(HDC dc, const char* family, FONTENUMPROC proc, LPARAM param)
{
    if (dc && !DCOf(dc))
        return 0;
    return Enumerate(family, DEFAULT_CHARSET, proc, param);
}

int EnumFontFamiliesEx(HDC dc, const LOGFONT* font, FONTENUMPROC proc, LPARAM param, DWORD flags)
{
    if ((dc && !DCOf(dc)) || !font || flags != 0)
        return 0;
    return Enumerate(font->lfFaceName, font->lfCharSet, proc, param);
}

#include "platform/gdi/Fonts.h"

#include "platform/gdi/FontCache.h"

#include <cstring>

TFontObject* FontOf(HGDIOBJ font)
{
    return GdiLookup<TFontObject>(font, OBJ_FONT);
}

HFONT CreateFontIndirect(const LOGFONT* font)
{
    if (!font)
        return nullptr;
    LOGFONT log = *font;
    log.lfFaceName[LF_FACESIZE - 1] = '\0';
    return static_cast<HFONT>(GdiAddDrawObject(std::make_unique<TFontObject>(log)));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
    DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
    const char* faceName)
{
    LOGFONT log {};
    log.lfHeight = height;
    log.lfWidth = width;
    log.lfEscapement = escapement;
    log.lfOrientation = orientation;
    log.lfWeight = weight;
    log.lfItalic = BYTE(italic ? 1 : 0);
    log.lfUnderline = BYTE(underline ? 1 : 0);
    log.lfStrikeOut = BYTE(strikeOut ? 1 : 0);
    log.lfCharSet = BYTE(charSet);
    log.lfOutPrecision = BYTE(outPrecision);
    log.lfClipPrecision = BYTE(clipPrecision);
    log.lfQuality = BYTE(quality);
    log.lfPitchAndFamily = BYTE(pitchAndFamily);
    if (faceName)
        std::strncpy(log.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&log);
}

namespace {

template <class F> std::string FaceInfo(HFONT font, F&& f)
{
    const TFontObject* object = FontOf(font);
    if (!object)
        return std::string();
    auto lock = LockFonts();
    std::shared_ptr<TFontFace> face = RealizeFont(object->Log, object->Log.lfEscapement % 3600 != 0);
    return face ? f(face->Metrics()) : std::string();
}

} // namespace

std::string FontFaceFile(HFONT font)
{
    return FaceInfo(font, [](const TFontMetrics& m) { return m.File; });
}

std::string FontFaceFamily(HFONT font)
{
    return FaceInfo(font, [](const TFontMetrics& m) { return m.Family; });
}

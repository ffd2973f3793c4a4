// Logical fonts (HFONT): CreateFontIndirect and CreateFont, and where a logical font's face comes from (names
// mapped through fontconfig to installed faces; the wine folder's faces added to it).
#pragma once
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/TGdiDrawObject.h"

#include <string>

class TFontObject final : public TGdiDrawObject {
    using inherited = TGdiDrawObject;

public:
    explicit TFontObject(const LOGFONT& log)
        : TGdiDrawObject(OBJ_FONT)
        , Log(log)
    {
    }

    LOGFONT Log;
};

TFontObject* FontOf(HGDIOBJ font);

// The face name is cut to LF_FACESIZE - 1 bytes. Null for a null record.
HFONT CreateFontIndirect(const LOGFONT* font);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
    DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
    const char* faceName);

// The file and family of the installed face that draws `font` ("Arial" is drawn by Liberation Sans); empty for
// a bad handle. For diagnostics and tests.
std::string FontFaceFile(HFONT font);
std::string FontFaceFamily(HFONT font);

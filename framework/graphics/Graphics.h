// The drawing tools of the graphics unit: TGraphicsObject and its TFont, TPen and TBrush, their enumerations,
// and the errors the graphics classes raise.
#pragma once
#include "framework/core/Exception.h"
#include "framework/core/TPersistent.h"
#include "framework/core/TSet.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Forward.h"
#include "framework/graphics/GraphicsEvents.h"
#include "framework/graphics/Types.h"
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

// A picture's bytes are not in the form its class reads ("Bitmap image is not valid").
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// An operation the graphic cannot do ("Cannot change the size of an icon", "Scan line index out of range").
class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};

// The system could not make a handle ("Out of system resources").
class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};

// An operation not allowed in the object's present state ("Canvas does not allow drawing"). The controls
// raise it too ("Control has no parent window").
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle, fsStrikeOut>;
enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };
// The LOGFONT character set (ANSI_CHARSET 0, DEFAULT_CHARSET 1, SYMBOL_CHARSET 2 ...). Stored and handed to
// the font mapper; UTF-8 text does not depend on it.
using TFontCharset = uint8_t;
using TFontName = std::string;

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode : uint8_t {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
enum TBrushStyle : uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

// The logical pixels per inch of the screen (96 unless the display says otherwise); TFont converts between
// points and pixels with it.
int ScreenLogPixels();

// The base of the drawing tools. A tool makes its GDI handle on first use and remakes it after a change;
// OnChange tells the canvas that uses it to let go of the old handle.
class TGraphicsObject : public TPersistent {
    using inherited = TPersistent;

public:
    TNotifyEvent OnChange;

    // When set, the tool holds this lock while it changes, so a canvas shared with another thread (a bitmap
    // drawn on by a decoder thread) never sees half a change. Not owned.
    std::recursive_mutex* OwnerCriticalSection() const { return FOwnerLock; }
    void SetOwnerCriticalSection(std::recursive_mutex* value) { FOwnerLock = value; }

    // True while the tool holds a handle.
    virtual bool HandleAllocated() const = 0;

protected:
    // Frees the handle (after OnChange, so the canvas deselects it first) and fires OnChange.
    virtual void Changed();
    void Lock();
    void Unlock();

private:
    std::recursive_mutex* FOwnerLock = nullptr;
};

// A logical font. Height is in pixels (negative: the character height without internal leading, as LOGFONT
// has it; positive: the cell height); Size is in points, Size = -Height * 72 / PixelsPerInch.
class TFont : public TGraphicsObject {
    using inherited = TGraphicsObject;

public:
    // "MS Sans Serif", 8 points, clWindowText, no style, DEFAULT_CHARSET, fpDefault.
    TFont();
    ~TFont() override;

    // Copies name, height, style, colour, charset, pitch and orientation from another TFont; the pixels per
    // inch stay this font's.
    void Assign(TPersistent* source) override;

    // The HFONT for the present attributes, made on first use. The font owns it.
    HFONT Handle();
    // Takes over `value` (a font made with CreateFontIndirect): the attributes are read back from it, and it
    // is freed with the font or on the next change. A null or foreign handle resets to the default font.
    void SetHandle(HFONT value);
    bool HandleAllocated() const override { return FHandle != nullptr; }

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int Height() const { return FHeight; }
    void SetHeight(int value);
    int Size() const;
    void SetSize(int value);
    const TFontName& Name() const { return FName; }
    void SetName(std::string_view value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch value);
    // The angle of the text's base line in tenths of a degree, counter-clockwise (LOGFONT lfEscapement).
    int Orientation() const { return FOrientation; }
    void SetOrientation(int value);
    int PixelsPerInch() const { return FPixelsPerInch; }
    // Changes how Size maps to Height from now on; the height stays.
    void SetPixelsPerInch(int value) { FPixelsPerInch = value > 0 ? value : FPixelsPerInch; }

protected:
    void Changed() override;

private:
    void FreeHandle();

    HFONT FHandle = nullptr;
    TColor FColor;
    int FHeight;
    TFontName FName;
    TFontStyles FStyle;
    TFontCharset FCharset = 1;
    TFontPitch FPitch = fpDefault;
    int FOrientation = 0;
    int FPixelsPerInch;
};

// A pen: clBlack, width 1, psSolid, pmCopy. Mode is applied by the canvas (SetROP2), not kept in the handle.
class TPen : public TGraphicsObject {
    using inherited = TGraphicsObject;

public:
    TPen() = default;
    ~TPen() override;

    void Assign(TPersistent* source) override;

    HPEN Handle();
    bool HandleAllocated() const override { return FHandle != nullptr; }

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // Negative widths are ignored; 0 draws one pixel wide, as 1 does.
    int Width() const { return FWidth; }
    void SetWidth(int value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode value);

protected:
    void Changed() override;

private:
    void FreeHandle();

    HPEN FHandle = nullptr;
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

// A brush: clWhite, bsSolid. With a Bitmap it paints that bitmap's top-left 8x8 pixels as a pattern.
class TBrush : public TGraphicsObject {
    using inherited = TGraphicsObject;

public:
    TBrush() = default;
    ~TBrush() override;

    void Assign(TPersistent* source) override;

    HBRUSH Handle();
    bool HandleAllocated() const override { return FHandle != nullptr; }

    TColor Color() const { return FColor; }
    // A colour on a bsClear brush makes it bsSolid, as a colour is meant to be seen.
    void SetColor(TColor value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value);
    // Not owned: the caller keeps the bitmap alive while the brush uses it. Null returns to Style.
    TBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* value);

protected:
    void Changed() override;

private:
    void FreeHandle();

    HBRUSH FHandle = nullptr;
    bool FOwnsHandle = false;
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    TBitmap* FBitmap = nullptr;
};

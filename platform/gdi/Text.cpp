#include "platform/gdi/Text.h"

#include "platform/gdi/GlyphRun.h"
#include "platform/gdi/Paint.h"
#include "platform/gdi/Scanlines.h"
#include "platform/gdi/TextPaint.h"
#include "platform/win/Rects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

size_t Utf8Length(const char* text, int count)
{
    return count < 0 ? std::strlen(text) : size_t(count);
}

size_t Utf16Length(const WCHAR* text, int count)
{
    if (count >= 0)
        return size_t(count);
    size_t n = 0;
    while (text[n])
        ++n;
    return n;
}

namespace {

// The turn of the selected font's baseline in degrees, counter-clockwise, 0 for none.
double Escapement(const TDeviceContext& dc)
{
    const TFontObject* font = dc.State.Font.Get();
    if (!font)
        return 0;
    return std::fmod(font->Log.lfEscapement / 10.0, 360.0);
}

// A band along the baseline: [a0, a1] along `u` and [c0, c1] across it (positive down the glyphs), from `origin`.
TRegion Band(TPointF origin, TPointF u, bool rotated, double a0, double a1, double c0, double c1, const RECT& limit)
{
    if (!rotated) {
        const RECT r { int(std::lround(origin.x + a0)), int(std::lround(origin.y + c0)),
            int(std::lround(origin.x + a1)), int(std::lround(origin.y + c1)) };
        return TRegion(RectIntersection(NormalizedRect(r), limit));
    }
    // "Down" across the baseline is u turned a quarter clockwise on the screen.
    const TPointF down { -u.y, u.x };
    auto at = [&](double a, double c) {
        return TPointF { origin.x + a * u.x + c * down.x, origin.y + a * u.y + c * down.y };
    };
    return PolygonRegion({ { at(a0, c0), at(a1, c0), at(a1, c1), at(a0, c1) } }, false, limit);
}

// Puts one glyph's coverage on the target within `clip`: blended towards the colour when antialiased, else every
// pixel at least half covered takes the colour.
void BlitGlyph(TDrawTarget& target, const TRegion& clip, int gx, int gy, const TGlyph& glyph, uint32_t color,
    bool antialiased)
{
    if (glyph.Width <= 0 || glyph.Height <= 0)
        return;
    const RECT box { gx, gy, gx + glyph.Width, gy + glyph.Height };
    TSurface& surface = *target.Surface;
    TRowAccess access(surface);
    clip.ForEachRect([&](const RECT& c) {
        const RECT r = RectIntersection(box, c);
        if (r.left >= r.right || r.top >= r.bottom)
            return;
        const int n = r.right - r.left;
        const uint8_t* coverage = glyph.Coverage.data() + size_t(r.top - gy) * size_t(glyph.Width) + size_t(r.left - gx);
        for (int y = r.top; y < r.bottom; ++y, coverage += glyph.Width) {
            if (antialiased && surface.IsBgra()) {
                BlendCoverageRow(surface.Row32(y) + r.left, coverage, n, color);
                continue;
            }
            uint32_t* d = access.Begin(y, r.left, n);
            if (antialiased) {
                BlendCoverageRow(d, coverage, n, color);
            } else {
                for (int i = 0; i < n; ++i)
                    if (coverage[i] >= 128)
                        d[i] = color;
            }
            access.Commit();
        }
        target.AddDirty(r);
    });
}

// Turned text, glyph by glyph along the baseline `u` from `origin`.
void BlitRotated(TDrawTarget& target, TFontFace& face, const std::vector<uint32_t>& chars, const int* adv,
    TPointF origin, TPointF u, double degrees, const RECT& limit, int height, uint32_t color, bool antialiased)
{
    double pen = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
        const double px = origin.x + pen * u.x;
        const double py = origin.y + pen * u.y;
        pen += adv[i];
        // Far-off glyphs are skipped before they are rendered.
        if (px < limit.left - 4.0 * height - adv[i] || px > limit.right + 4.0 * height || py < limit.top - 4.0 * height
            || py > limit.bottom + 4.0 * height)
            continue;
        const TGlyph glyph = face.RotatedGlyph(chars[i], antialiased, degrees);
        BlitGlyph(target, target.Clip, int(std::lround(px)) + glyph.Left, int(std::lround(py)) - glyph.Top, glyph,
            color, antialiased);
    }
}

// Level text with its baseline's start at (x, y), all in whole pixels. Antialiased text on a 32-bit surface is
// gathered into one run and blended row by row.
void BlitLevel(TDrawTarget& target, TFontFace& face, const std::vector<uint32_t>& chars, const int* adv, int64_t x,
    int64_t y, const RECT& limit, int height, uint32_t color, bool antialiased)
{
    // Far-off glyphs are skipped before they are rendered; a baseline far above or below skips them all.
    const int64_t margin = 4 * int64_t(height);
    if (y < limit.top - margin || y > limit.bottom + margin)
        return;
    const bool asRun = antialiased && target.Surface->IsBgra();
    thread_local std::vector<TPlacedGlyph> run;
    run.clear();
    int64_t pen = x;
    for (size_t i = 0; i < chars.size(); ++i) {
        const int64_t at = pen;
        pen += adv[i];
        if (at < limit.left - margin - adv[i] || at > limit.right + margin)
            continue;
        const TGlyph& glyph = face.Glyph(chars[i], antialiased);
        const int gx = int(at) + glyph.Left;
        const int gy = int(y) - glyph.Top;
        if (!asRun)
            BlitGlyph(target, target.Clip, gx, gy, glyph, color, antialiased);
        else if (glyph.Width > 0 && glyph.Height > 0)
            run.push_back(TPlacedGlyph { gx, gy, &glyph });
    }
    if (run.empty())
        return;
    if (const TGlyphRun* composed = ComposedRun(face.Serial, run))
        composed->Blend(target, target.Clip, color, POINT { run[0].X, run[0].Y });
    else
        for (const TPlacedGlyph& g : run)
            BlitGlyph(target, target.Clip, g.X, g.Y, *g.Glyph, color, true);
}

template <class F> BOOL WithFace(HDC handle, F&& f)
{
    TDeviceContext* dc = DCOf(handle);
    if (!dc)
        return FALSE;
    auto lock = LockFonts();
    std::shared_ptr<TFontFace> face = SelectedFace(*dc);
    if (!face)
        return FALSE;
    return f(*dc, *face);
}

} // namespace

std::shared_ptr<TFontFace> SelectedFace(const TDeviceContext& dc)
{
    const TFontObject* font = dc.State.Font.Get();
    if (!font)
        return nullptr;
    return RealizeFont(font->Log, Escapement(dc) != 0);
}

int Advances(TFontFace& face, const TDeviceContext& dc, const std::vector<uint32_t>& chars, std::vector<int>& out)
{
    out.resize(chars.size());
    int64_t total = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
        out[i] = face.Advance(chars[i]) + dc.State.CharExtra;
        total += out[i];
    }
    return int(std::clamp<int64_t>(total, -kCoordLimit, kCoordLimit));
}

BOOL PaintText(TDeviceContext& dc, TFontFace& face, int x, int y, UINT align, UINT options, const RECT* rect,
    const std::vector<uint32_t>& chars, const int* advances, const std::vector<std::pair<int, int>>* marks)
{
    // Clipped text touches nothing outside its rectangle, so the clip is worked out for that part only.
    const bool clipped = rect && (options & ETO_CLIPPED);
    const RECT deviceLimit = clipped ? NormalizedRect(dc.ToDevice(*rect)) : RECT {};
    TDrawTarget target;
    if (!dc.BeginDraw(target, clipped ? &deviceLimit : nullptr))
        return FALSE;
    const TFontMetrics& m = face.Metrics();
    const LOGFONT& log = dc.State.Font->Log;
    std::vector<int> measured;
    const int* adv = advances;
    int64_t total = 0;
    if (advances) {
        for (size_t i = 0; i < chars.size(); ++i)
            total += advances[i];
    } else {
        total = Advances(face, dc, chars, measured);
        adv = measured.data();
    }
    total = std::clamp<int64_t>(total, -kCoordLimit, kCoordLimit);
    const double degrees = Escapement(dc);
    const bool rotated = degrees != 0;
    const double radians = degrees * std::numbers::pi / 180;
    // Level text, nearly all of it, needs no trigonometry.
    const TPointF u = rotated ? TPointF { std::cos(radians), -std::sin(radians) } : TPointF { 1.0, 0.0 };
    const POINT reference = (align & TA_UPDATECP) ? dc.State.CurrentPos : POINT { x, y };
    const POINT p = ToSurface(dc, target, reference.x, reference.y);
    const UINT horizontal = align & TA_CENTER;
    const double along = horizontal == TA_RIGHT ? -double(total) : horizontal == TA_CENTER ? -double(total / 2) : 0.0;
    const UINT vertical = align & TA_BASELINE;
    const double across = vertical == TA_BASELINE ? 0.0 : vertical == TA_BOTTOM ? -double(m.Descent) : double(m.Ascent);
    const TPointF down { -u.y, u.x };
    const TPointF origin { p.x + along * u.x + across * down.x, p.y + along * u.y + across * down.y };

    const bool drawable = target.Surface->IsValid() && !target.Clip.IsEmpty();
    if (drawable) {
        if (rect && (options & ETO_OPAQUE))
            PaintRegion(target, TRegion(NormalizedRect(ToSurface(dc, target, *rect))),
                SolidFill(target, dc.State.BkColor), 0xF0);
        if (rect && (options & ETO_CLIPPED))
            target.Clip.Intersect(NormalizedRect(ToSurface(dc, target, *rect)));
    }
    if (drawable && !target.Clip.IsEmpty()) {
        const RECT limit = target.Clip.Bounds();
        if (dc.State.BkMode == OPAQUE)
            PaintRegion(target, Band(origin, u, rotated, 0, double(total), -m.Ascent, m.Descent, limit),
                SolidFill(target, dc.State.BkColor), 0xF0);
        const bool antialiased = target.Surface->IsBgra() && m.Scalable && log.lfQuality != NONANTIALIASED_QUALITY;
        const uint32_t color = target.Surface->Representable(PixelFromColor(dc.State.TextColor));
        if (rotated)
            BlitRotated(target, face, chars, adv, origin, u, degrees, limit, m.Height, color, antialiased);
        else
            BlitLevel(target, face, chars, adv, std::lround(origin.x), std::lround(origin.y), limit, m.Height, color,
                antialiased);
        const TFill ink = SolidFill(target, dc.State.TextColor);
        if (log.lfUnderline)
            PaintRegion(target,
                Band(origin, u, rotated, 0, double(total), m.UnderlinePosition,
                    m.UnderlinePosition + m.UnderlineThickness, limit),
                ink, 0xF0);
        if (log.lfStrikeOut)
            PaintRegion(target,
                Band(origin, u, rotated, 0, double(total), -m.StrikeoutPosition,
                    -m.StrikeoutPosition + m.StrikeoutThickness, limit),
                ink, 0xF0);
        if (marks)
            for (const auto& [from, to] : *marks)
                PaintRegion(target,
                    Band(origin, u, rotated, from, to, m.UnderlinePosition, m.UnderlinePosition + 1, limit), ink, 0xF0);
    }
    dc.EndDraw(target);
    if (align & TA_UPDATECP) {
        // The current position moves past the text (left-aligned) or before it (right-aligned).
        const double move = horizontal == TA_LEFT ? double(total) : horizontal == TA_RIGHT ? -double(total) : 0.0;
        dc.State.CurrentPos = POINT { ClampCoord(reference.x + std::lround(move * u.x)),
            ClampCoord(reference.y + std::lround(move * u.y)) };
    }
    return TRUE;
}

UINT SetTextAlign(HDC handle, UINT align)
{
    TDeviceContext* dc = DCOf(handle);
    if (!dc)
        return GDI_ERROR_UINT;
    return std::exchange(dc->State.TextAlign, align);
}

UINT GetTextAlign(HDC handle)
{
    TDeviceContext* dc = DCOf(handle);
    return dc ? dc->State.TextAlign : GDI_ERROR_UINT;
}

int SetTextCharacterExtra(HDC handle, int extra)
{
    TDeviceContext* dc = DCOf(handle);
    if (!dc)
        return INT32_MIN;
    return std::exchange(dc->State.CharExtra, std::clamp(extra, -1000, 1000));
}

int GetTextCharacterExtra(HDC handle)
{
    TDeviceContext* dc = DCOf(handle);
    return dc ? dc->State.CharExtra : INT32_MIN;
}

namespace {

BOOL ExtTextOutChars(
    HDC handle, int x, int y, UINT options, const RECT* rect, const std::vector<uint32_t>& chars, const INT* dx)
{
    if (options & ETO_GLYPH_INDEX)
        return FALSE;
    return WithFace(handle, [&](TDeviceContext& dc, TFontFace& face) {
        std::vector<int> advances;
        if (dx)
            advances.assign(dx, dx + chars.size());
        return PaintText(
            dc, face, x, y, dc.State.TextAlign, options, rect, chars, dx ? advances.data() : nullptr, nullptr);
    });
}

} // namespace

BOOL TextOut(HDC dc, int x, int y, const char* text, int count)
{
    if (!text && count != 0)
        return FALSE;
    return ExtTextOut(dc, x, y, 0, nullptr, text ? text : "", UINT(text ? Utf8Length(text, count) : 0), nullptr);
}

BOOL TextOutW(HDC dc, int x, int y, const WCHAR* text, int count)
{
    if (!text && count != 0)
        return FALSE;
    static const WCHAR kEmpty[1] = { 0 };
    return ExtTextOutW(dc, x, y, 0, nullptr, text ? text : kEmpty, UINT(text ? Utf16Length(text, count) : 0), nullptr);
}

BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, UINT count, const INT* dx)
{
    if (!text && count != 0)
        return FALSE;
    return ExtTextOutChars(dc, x, y, options, rect, DecodeUtf8(text ? text : "", count), dx);
}

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, const WCHAR* text, UINT count, const INT* dx)
{
    if (!text && count != 0)
        return FALSE;
    return ExtTextOutChars(dc, x, y, options, rect, text ? DecodeUtf16(text, count) : std::vector<uint32_t>(), dx);
}

namespace {

BOOL Extent(HDC handle, const std::vector<uint32_t>& chars, int maxExtent, int* fit, int* dx, SIZE* size)
{
    if (!size)
        return FALSE;
    return WithFace(handle, [&](TDeviceContext& dc, TFontFace& face) {
        std::vector<int> advances;
        const int total = Advances(face, dc, chars, advances);
        int64_t running = 0;
        int fits = 0;
        for (size_t i = 0; i < advances.size(); ++i) {
            running += advances[i];
            if (dx)
                dx[i] = int(std::clamp<int64_t>(running, -kCoordLimit, kCoordLimit));
            if (running <= maxExtent)
                fits = int(i) + 1;
        }
        if (fit)
            *fit = fits;
        *size = SIZE { total, face.Metrics().Height };
        return TRUE;
    });
}

} // namespace

BOOL GetTextExtentPoint32(HDC dc, const char* text, int count, SIZE* size)
{
    if (!text && count != 0)
        return FALSE;
    return Extent(
        dc, DecodeUtf8(text ? text : "", text ? Utf8Length(text, count) : 0), INT32_MAX, nullptr, nullptr, size);
}

BOOL GetTextExtentPoint32W(HDC dc, const WCHAR* text, int count, SIZE* size)
{
    if (!text && count != 0)
        return FALSE;
    return Extent(dc, text ? DecodeUtf16(text, Utf16Length(text, count)) : std::vector<uint32_t>(), INT32_MAX, nullptr,
        nullptr, size);
}

BOOL GetTextExtentExPoint(HDC dc, const char* text, int count, int maxExtent, int* fit, int* dx, SIZE* size)
{
    if (!text && count != 0)
        return FALSE;
    return Extent(dc, DecodeUtf8(text ? text : "", text ? Utf8Length(text, count) : 0), fit ? maxExtent : INT32_MAX,
        fit, dx, size);
}

BOOL GetTextMetrics(HDC handle, TEXTMETRIC* metrics)
{
    if (!metrics)
        return FALSE;
    return WithFace(handle, [&](TDeviceContext& dc, TFontFace& face) {
        const TFontMetrics& m = face.Metrics();
        const LOGFONT& log = dc.State.Font->Log;
        TEXTMETRIC tm {};
        tm.tmHeight = m.Height;
        tm.tmAscent = m.Ascent;
        tm.tmDescent = m.Descent;
        tm.tmInternalLeading = m.InternalLeading;
        tm.tmExternalLeading = m.ExternalLeading;
        tm.tmAveCharWidth = m.AveCharWidth;
        tm.tmMaxCharWidth = m.MaxCharWidth;
        tm.tmWeight = m.Weight;
        tm.tmOverhang = 0;
        tm.tmDigitizedAspectX = 96;
        tm.tmDigitizedAspectY = 96;
        tm.tmFirstChar = 0x20;
        tm.tmLastChar = m.Symbol ? 0xFF : 0xFFFC;
        tm.tmDefaultChar = m.Symbol ? 0x20 : 0x1F;
        tm.tmBreakChar = 0x20;
        tm.tmItalic = log.lfItalic ? 0xFF : 0;
        tm.tmUnderlined = log.lfUnderline ? 0xFF : 0;
        tm.tmStruckOut = log.lfStrikeOut ? 0xFF : 0;
        // The fixed-pitch bit means a variable pitch.
        const BYTE family = (log.lfPitchAndFamily & 0xF0) ? (log.lfPitchAndFamily & 0xF0) : FF_SWISS;
        tm.tmPitchAndFamily
            = BYTE((m.FixedPitch ? 0 : TMPF_FIXED_PITCH) | (m.Scalable ? (TMPF_VECTOR | TMPF_TRUETYPE) : 0) | family);
        tm.tmCharSet = m.Symbol ? SYMBOL_CHARSET : (log.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : log.lfCharSet);
        *metrics = tm;
        return TRUE;
    });
}

int GetTextFace(HDC handle, int count, char* name)
{
    TDeviceContext* dc = DCOf(handle);
    if (!dc || !dc->State.Font)
        return 0;
    const LOGFONT& log = dc->State.Font->Log;
    std::string face(log.lfFaceName, strnlen(log.lfFaceName, LF_FACESIZE));
    if (face.empty()) {
        auto lock = LockFonts();
        if (std::shared_ptr<TFontFace> realized = SelectedFace(*dc))
            face = realized->Metrics().Family;
    }
    if (!name)
        return int(face.size()) + 1;
    if (count <= 0)
        return 0;
    const size_t n = std::min(face.size(), size_t(count) - 1);
    std::memcpy(name, face.data(), n);
    name[n] = '\0';
    return int(n);
}

#include "platform/gdi/SystemIcons.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Icons.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <mutex>

namespace {

constexpr int kSize = 32;
constexpr int kSamples = 4; // per pixel and axis

enum class TKind { Application, Error, Question, Warning, Information };

struct TPoint2 {
    double X, Y;
};

double SegmentDistance(TPoint2 p, TPoint2 a, TPoint2 b)
{
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double t = std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

bool InDisc(TPoint2 p, double cx, double cy, double r) { return std::hypot(p.X - cx, p.Y - cy) <= r; }

bool InBox(TPoint2 p, double left, double top, double right, double bottom)
{
    return p.X >= left && p.X <= right && p.Y >= top && p.Y <= bottom;
}

// The shape behind the sign: a disc, or a rounded triangle for the warning.
bool InBody(TKind kind, TPoint2 p)
{
    if (kind == TKind::Warning) {
        const TPoint2 a { 16, 2.5 }, b { 30, 28.5 }, c { 2, 28.5 };
        auto side = [&](TPoint2 u, TPoint2 v) { return (v.X - u.X) * (p.Y - u.Y) - (v.Y - u.Y) * (p.X - u.X); };
        const bool inside = side(a, b) >= 0 && side(b, c) >= 0 && side(c, a) >= 0;
        return inside || SegmentDistance(p, a, b) <= 1.5 || SegmentDistance(p, b, c) <= 1.5
            || SegmentDistance(p, c, a) <= 1.5;
    }
    if (kind == TKind::Application)
        return InBox(p, 2, 4, 30, 28);
    return InDisc(p, 16, 16, 15);
}

// The sign drawn over the shape.
bool InSign(TKind kind, TPoint2 p)
{
    switch (kind) {
    case TKind::Error:
        return SegmentDistance(p, { 10, 10 }, { 22, 22 }) <= 2.2 || SegmentDistance(p, { 22, 10 }, { 10, 22 }) <= 2.2;
    case TKind::Information: return InDisc(p, 16, 9, 2.4) || InBox(p, 14, 13, 18, 25);
    case TKind::Warning: return InBox(p, 14.2, 10, 17.8, 21) || InDisc(p, 16, 24.5, 2);
    case TKind::Question: {
        // A hook: the upper arc of a ring with its right side running down into a short stem, and the dot.
        const double d = std::hypot(p.X - 16, p.Y - 12.5);
        const bool ring = d >= 3.2 && d <= 6.8 && !(p.Y > 12.5 && p.X < 16.5);
        return ring || InBox(p, 14.2, 16, 17.8, 21) || InDisc(p, 16, 25, 2.1);
    }
    case TKind::Application: return InBox(p, 2, 4, 30, 9);
    }
    return false;
}

struct TColors {
    uint32_t Body, Sign; // 0xRRGGBB
};

TColors ColorsOf(TKind kind)
{
    switch (kind) {
    case TKind::Error: return { 0xD32F2F, 0xFFFFFF };
    case TKind::Warning: return { 0xF9C80E, 0x202020 };
    case TKind::Information:
    case TKind::Question: return { 0x1E6FD0, 0xFFFFFF };
    case TKind::Application: return { 0xF4F4F4, 0x1E6FD0 };
    }
    return { 0, 0 };
}

HICON MakeIcon(TKind kind)
{
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kSize;
    info.bmiHeader.biHeight = -kSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!color || !bits)
        return nullptr;
    const TColors colors = ColorsOf(kind);
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            int body = 0, sign = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const TPoint2 p { x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples };
                    if (InBody(kind, p)) {
                        ++body;
                        if (InSign(kind, p))
                            ++sign;
                    }
                }
            // Premultiplied: the sign's share of the covered samples over the body colour.
            const int all = kSamples * kSamples;
            uint32_t out = 0;
            for (int shift : { 0, 8, 16 }) {
                const int b = (colors.Body >> shift) & 0xFF, s = (colors.Sign >> shift) & 0xFF;
                const int value = ((body - sign) * b + sign * s + all / 2) / all;
                out |= static_cast<uint32_t>(value) << shift;
            }
            out |= static_cast<uint32_t>((body * 255 + all / 2) / all) << 24;
            pixels[y * kSize + x] = out;
        }
    const uint8_t zeros[kSize * kSize / 8] {};
    HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, zeros);
    ICONINFO icon {};
    icon.fIcon = TRUE;
    icon.hbmMask = mask;
    icon.hbmColor = color;
    HICON handle = CreateIconIndirect(&icon);
    DeleteObject(mask);
    DeleteObject(color);
    return handle;
}

} // namespace

HICON LoadIcon(HINSTANCE instance, const char* name)
{
    const auto id = reinterpret_cast<uintptr_t>(name);
    if (instance || id < 32512 || id > 32516) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    static std::mutex lock;
    static HICON icons[5] {};
    const std::lock_guard guard(lock);
    HICON& icon = icons[id - 32512];
    if (!icon)
        icon = MakeIcon(static_cast<TKind>(id - 32512));
    return icon;
}

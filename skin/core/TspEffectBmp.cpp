#include "skin/core/TspEffectBmp.h"

#include "skin/core/EffectBlendRows.h"

#include "framework/core/Exception.h"
#include "framework/graphics/Graphics.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/PensBrushes.h"
#include "platform/gdi/Raster.h"
#include "platform/win/GdiObjects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

// Half-to-even in extended precision, as the transition steps are computed: the tick counts of a morph land on
// exact halves often enough that double rounding would change the picture. NaN gives 0 and huge values
// saturate instead of being undefined. rintl rounds as nearbyintl does in the default to-nearest mode, without
// saving and restoring the floating-point environment on every pixel.
int Rnd(long double value)
{
    if (std::isnan(value))
        return 0;
    const long double rounded = std::rintl(value);
    if (rounded >= 2147483647.0L)
        return 2147483647;
    if (rounded <= -2147483648.0L)
        return -2147483647 - 1;
    return static_cast<int>(rounded);
}

uint8_t Clamp(int value)
{
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

// A blend factor outside 0..1 (NaN included) is taken as its nearest end; NaN as 0.
long double ClampFactor(double kf)
{
    if (!(kf >= 0))
        return 0;
    return kf > 1 ? 1 : kf;
}

// own · h + other · (1 − h) for the three channels of a pixel, written into `own`.
// A blend of two channel values lies within 0..255 and is never NaN, so it needs none of Rnd's guards: lrintl
// rounds half to even as rintl does, in one instruction where the processor has it.
inline uint8_t RoundChannel(long double value)
{
    const long rounded = std::lrintl(value);
    return static_cast<uint8_t>(rounded < 0 ? 0 : (rounded > 255 ? 255 : rounded));
}

// The result of blending every pair of channel values with one factor, for a whole bitmap at a time: each entry is
// rounded from exactly the products the per-pixel formula (1 - k) * own + k * other makes, so the pictures are
// the same to the last bit. A morph repeats the same few factors tick after tick and a blended control the same
// one paint after paint, so the last tables made are kept for the thread.
class TBlendTable {
public:
    static const TBlendTable& For(long double k)
    {
        thread_local std::vector<std::unique_ptr<TBlendTable>> cache;
        for (size_t i = 0; i < cache.size(); ++i)
            if (cache[i]->FFactor == k) {
                // Most recently used first.
                std::rotate(cache.begin(), cache.begin() + long(i), cache.begin() + long(i) + 1);
                return *cache.front();
            }
        if (cache.size() == kCacheSize)
            cache.pop_back();
        cache.insert(cache.begin(), std::make_unique<TBlendTable>(k));
        return *cache.front();
    }

    explicit TBlendTable(long double k)
        : FFactor(k)
    {
        long double other[256];
        for (int i = 0; i < 256; ++i)
            other[i] = k * i;
        for (int a = 0; a < 256; ++a) {
            const long double own = (1 - k) * a;
            for (int b = 0; b < 256; ++b)
                FResult[a * 256 + b] = RoundChannel(own + other[b]);
        }
        ChooseWeight(k);
    }

    uint8_t operator()(uint8_t own, uint8_t other) const { return FResult[(own << 8) | other]; }

    // The fixed-point weight rows are blended with, and the band around halves where a byte is looked up in
    // the table instead (0 when the weight gives the table's result for every pair).
    int Weight() const { return FWeight; }
    int Band() const { return FBand; }

private:
    // A weight next to k * 2^15 that gives every entry of the table is used without a band; factors such as
    // 0.3, whose products land a hair from a half, usually have one. Otherwise the nearest weight with its band.
    void ChooseWeight(long double k)
    {
        const int base = static_cast<int>(std::floor(k * (1 << EffectBlend::kWeightBits)));
        for (int weight : { base, base + 1, base - 1, base + 2 }) {
            if (weight < 0 || weight > EffectBlend::kMaxWeight || !Reproduces(weight))
                continue;
            FWeight = weight;
            FBand = 0;
            return;
        }
        FWeight = std::clamp(static_cast<int>(std::lrint(static_cast<double>(k) * (1 << EffectBlend::kWeightBits))), 0,
            EffectBlend::kMaxWeight);
        FBand = EffectBlend::UncertainBand(k, FWeight);
    }

    bool Reproduces(int weight) const
    {
        for (int a = 0; a < 256; ++a)
            for (int b = 0; b < 256; ++b)
                if (EffectBlend::BlendByte(a, b, weight) != FResult[a * 256 + b])
                    return false;
        return true;
    }

    static constexpr size_t kCacheSize = 16;
    long double FFactor;
    int FWeight = 0;
    int FBand = 0;
    uint8_t FResult[256 * 256];
};

// Per-byte weights of a row (the same for the three bytes of a pixel) for EffectBlend::BlendRow, with the
// exact weight each byte falls back to near a half.
struct TRowWeights {
    std::vector<int16_t> Weight;
    std::vector<int16_t> Band;
    std::vector<long double> Own; // the weight of the own picture, for MixChannel

    void Resize(size_t bytes)
    {
        Weight.resize(bytes);
        Band.resize(bytes);
        Own.resize(bytes);
    }
    // Byte range [3 * x, 3 * x + 3) gets the own weight h.
    void SetPixel(int x, long double h)
    {
        const long double other = 1 - h;
        int weight = std::clamp(
            static_cast<int>(std::lrint(static_cast<double>(other) * (1 << EffectBlend::kWeightBits))), 0,
            EffectBlend::kMaxWeight);
        int band = EffectBlend::UncertainBand(other, weight);
        // The ends are exact: weight 0 keeps the own byte, the largest weight gives the other byte for every
        // pair (own * 2^15 + (other - own) * (2^15 - 1) rounds to other).
        if (h == 0 || h == 1) {
            weight = h == 0 ? EffectBlend::kMaxWeight : 0;
            band = 0;
        }
        for (size_t i = size_t(3 * x); i < size_t(3 * x + 3); ++i) {
            Weight[i] = static_cast<int16_t>(weight);
            Band[i] = static_cast<int16_t>(band);
            Own[i] = h;
        }
    }
};

// Each pixel of a gradient has a weight of its own. The blend is first computed in double precision, off from the
// extended one by far less than 1e-9; only a result that close to a half could round differently, and that one
// is computed again exactly.
uint8_t MixChannel(uint8_t own, uint8_t other, long double h)
{
    const double hd = static_cast<double>(h);
    const double gd = 1 - hd;
    const double value = hd * own + gd * other;
    // Adding and taking away 1.5 * 2^52 rounds half to even in the default rounding mode.
    const double rounded = (value + 6755399441055744.0) - 6755399441055744.0;
    if (std::fabs(std::fabs(value - rounded) - 0.5) < 1e-9)
        return RoundChannel(h * own + (1 - h) * other);
    return static_cast<uint8_t>(std::clamp(rounded, 0.0, 255.0));
}

// The column weights of a gradient depend only on its kind, the width and the factor, and a morph steps through
// the same few factors tick after tick: the last ones made are kept for the thread.
enum class TGradient { Centre, Left, Right };

template <class Build> const TRowWeights& ColumnWeights(TGradient kind, int width, double kf, Build&& build)
{
    struct TEntry {
        TGradient Kind;
        int Width;
        double Factor;
        std::unique_ptr<TRowWeights> Weights;
    };
    constexpr size_t kCacheSize = 16;
    thread_local std::vector<TEntry> cache;
    for (size_t i = 0; i < cache.size(); ++i)
        if (cache[i].Kind == kind && cache[i].Width == width && cache[i].Factor == kf) {
            std::rotate(cache.begin(), cache.begin() + long(i), cache.begin() + long(i) + 1);
            return *cache.front().Weights;
        }
    if (cache.size() == kCacheSize)
        cache.pop_back();
    auto weights = std::make_unique<TRowWeights>();
    build(*weights);
    cache.insert(cache.begin(), TEntry { kind, width, kf, std::move(weights) });
    return *cache.front().Weights;
}

// Rows go through the fixed-point blend; the few bytes it cannot vouch for are blended again exactly, from
// the own value they had.
std::vector<uint32_t>& UnsureBytes()
{
    thread_local std::vector<uint32_t> unsure;
    unsure.clear();
    return unsure;
}

void MixRow(uint8_t* own, const uint8_t* other, int bytes, const TRowWeights& weights, size_t first = 0)
{
    std::vector<uint32_t>& unsure = UnsureBytes();
    EffectBlend::BlendRow(own, other, bytes, weights.Weight.data() + first, weights.Band.data() + first, unsure);
    for (uint32_t u : unsure) {
        const size_t i = u & 0xFFFFFF;
        own[i] = MixChannel(static_cast<uint8_t>(u >> 24), other[i], weights.Own[first + i]);
    }
}

void BlendRow(uint8_t* own, const uint8_t* other, int bytes, const TBlendTable& blend)
{
    thread_local std::vector<int16_t> weight;
    thread_local std::vector<int16_t> band;
    if (weight.size() < size_t(bytes) || weight.empty() || weight[0] != blend.Weight() || band[0] != blend.Band()) {
        weight.assign(std::max<size_t>(size_t(bytes), weight.size()), static_cast<int16_t>(blend.Weight()));
        band.assign(weight.size(), static_cast<int16_t>(blend.Band()));
    }
    std::vector<uint32_t>& unsure = UnsureBytes();
    EffectBlend::BlendRow(own, other, bytes, weight.data(), band.data(), unsure);
    for (uint32_t u : unsure) {
        const size_t i = u & 0xFFFFFF;
        own[i] = blend(static_cast<uint8_t>(u >> 24), other[i]);
    }
}

// The weights 0, step, 2 step ... (at most 1) of `count` columns in turn, summed as a walk along a row sums them.
std::vector<long double> Ramp(int count, long double step)
{
    std::vector<long double> weights(size_t(std::max(count, 0)));
    long double h = 0;
    for (auto& weight : weights) {
        weight = h;
        h = std::min(h + step, 1.0L);
    }
    return weights;
}

bool IsWhite(const uint8_t* p)
{
    return p[0] == 255 && p[1] == 255 && p[2] == 255;
}

// The neighbour index of the blur rules: before = i − amount unless that is negative, after = i + amount unless
// that reaches the size (then size − i). Both are kept inside the image, which the rules alone do not do for
// images no larger than the amount (one-pixel border strips).
void Neighbours(int i, int amount, int size, int& before, int& after)
{
    before = i - amount < 0 ? i : i - amount;
    after = i + amount < size ? i + amount : size - i;
    before = std::clamp(before, 0, size - 1);
    after = std::clamp(after, 0, size - 1);
}

std::minstd_rand& NoiseGenerator()
{
    static std::minstd_rand generator(20261210u);
    return generator;
}

int RandomBelow(int n)
{
    if (n <= 0)
        return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(NoiseGenerator());
}

} // namespace

TspEffectBmp::TspEffectBmp(int width, int height)
{
    Initialize(width, height);
}

TspEffectBmp::TspEffectBmp(HBITMAP bitmap)
{
    BITMAP info {};
    if (!bitmap || !GetObject(bitmap, sizeof(info), &info)) {
        Initialize(0, 0);
        return;
    }
    Initialize(info.bmWidth, std::abs(info.bmHeight));
    if (Empty())
        return;
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, bitmap, 0, PixelHeight, PixelBits, &DibInfo, DIB_RGB_COLORS);
    DeleteDC(dc);
}

TspEffectBmp::TspEffectBmp(const TspEffectBmp* source)
{
    Initialize(source ? source->PixelWidth : 0, source ? source->PixelHeight : 0);
    if (!Empty())
        std::memcpy(PixelBits, source->PixelBits, BitsSize);
}

TspEffectBmp::~TspEffectBmp()
{
    if (DibHandle)
        DeleteObject(DibHandle);
}

void TspEffectBmp::Initialize(int width, int height)
{
    // A zero-size section would leave no pixel memory behind PixelBits; keep the bitmap empty instead so that
    // every operation can test for it.
    if (width < 1 || height < 1)
        width = height = 0;
    PixelWidth = width;
    PixelHeight = height;
    BitsSize = PixelHeight * Stride();
    DibHeader = {};
    DibHeader.biSize = sizeof(BITMAPINFOHEADER);
    DibHeader.biWidth = PixelWidth;
    DibHeader.biHeight = -PixelHeight;
    DibHeader.biPlanes = 1;
    DibHeader.biBitCount = 24;
    DibHeader.biCompression = BI_RGB;
    DibInfo = {};
    DibInfo.bmiHeader = DibHeader;
    if (width == 0)
        return;
    void* bits = nullptr;
    DibHandle = CreateDIBSection(nullptr, &DibInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!DibHandle || !bits)
        throw EOutOfResources("Out of system resources: cannot create a " + std::to_string(width) + "x"
            + std::to_string(height) + " effect bitmap");
    PixelBits = static_cast<uint8_t*>(bits);
}

bool TspEffectBmp::SameSize(const TspEffectBmp* other) const
{
    return other && !Empty() && other->PixelWidth == PixelWidth && other->PixelHeight == PixelHeight;
}

int TspEffectBmp::GetPixel(int x, int y) const
{
    const uint8_t* p = Pixel(x, y);
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

void TspEffectBmp::SetPixel(int x, int y, int value)
{
    uint8_t* p = Pixel(x, y);
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
}

uint8_t* TspEffectBmp::GetLine(int y) const
{
    return PixelBits + y * Stride();
}

void TspEffectBmp::GetScanLine(int y, void* buffer) const
{
    std::memcpy(buffer, GetLine(y), 3 * PixelWidth);
}

void TspEffectBmp::SetLine(int y, const void* buffer)
{
    std::memcpy(GetLine(y), buffer, 3 * PixelWidth);
}

void TspEffectBmp::Draw(HDC dc, int x, int y) const
{
    if (!Empty())
        SetDIBitsToDevice(dc, x, y, PixelWidth, PixelHeight, 0, 0, 0, PixelHeight, PixelBits, &DibInfo, DIB_RGB_COLORS);
}

void TspEffectBmp::Stretch(HDC dc, int x, int y, int w, int h) const
{
    if (!Empty())
        StretchDIBits(dc, x, y, w, h, 0, 0, PixelWidth, PixelHeight, PixelBits, &DibInfo, DIB_RGB_COLORS, SRCCOPY);
}

void TspEffectBmp::DrawRect(HDC dc, int x, int y, int sx, int sy, int w, int h) const
{
    if (!Empty())
        StretchDIBits(
            dc, x, y + h - 1, w, 1 - h, sx, PixelHeight - sy, w, 1 - h, PixelBits, &DibInfo, DIB_RGB_COLORS, SRCCOPY);
}

void TspEffectBmp::Resize(TspEffectBmp* dest) const
{
    if (Empty() || !dest || dest->Empty())
        return;
    const long double sx = static_cast<long double>(dest->PixelWidth - 1) / PixelWidth;
    const long double sy = static_cast<long double>(dest->PixelHeight - 1) / PixelHeight;
    const int bw = Rnd(sx) + 1;
    const int bh = Rnd(sy) + 1;
    for (int y = 0; y < PixelHeight; ++y) {
        const int top = Rnd(y * sy);
        for (int x = 0; x < PixelWidth; ++x) {
            const int left = Rnd(x * sx);
            const uint8_t* source = Pixel(x, y);
            // The rounded block positions can reach one pixel past the destination; those pixels are left out.
            for (int by = top; by < std::min(top + bh, dest->PixelHeight); ++by)
                for (int bx = left; bx < std::min(left + bw, dest->PixelWidth); ++bx)
                    std::memcpy(dest->Pixel(bx, by), source, 3);
        }
    }
}

void TspEffectBmp::Morph(const TspEffectBmp* other, double kf)
{
    if (!SameSize(other))
        return;
    const TBlendTable& blend = TBlendTable::For(ClampFactor(kf));
    for (int y = 0; y < PixelHeight; ++y)
        BlendRow(GetLine(y), other->GetLine(y), 3 * PixelWidth, blend);
}

void TspEffectBmp::MorphRect(const TspEffectBmp* other, double kf, const TRect& r, int sx, int sy)
{
    if (Empty() || !other || other->Empty())
        return;
    const TBlendTable& blend = TBlendTable::For(ClampFactor(kf));
    // Pixels outside either bitmap are skipped rather than addressed: x runs where both x and the matching
    // column of `other`, sx + x - r.Left, lie inside.
    const int fromX = std::max({ r.Left, 0, r.Left - sx });
    const int toX = std::min({ r.Right, PixelWidth, r.Left - sx + other->PixelWidth });
    if (fromX >= toX)
        return;
    for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, PixelHeight); ++y) {
        const int oy = sy + y - r.Top;
        if (oy < 0 || oy >= other->PixelHeight)
            continue;
        BlendRow(Pixel(fromX, y), other->Pixel(sx + fromX - r.Left, oy), 3 * (toX - fromX), blend);
    }
}

void TspEffectBmp::CopyRect(const TspEffectBmp* other, TRect r, int sx, int sy)
{
    if (Empty() || !other || other->Empty())
        return;
    r.Right = std::min(r.Right, PixelWidth - 1);
    r.Bottom = std::min(r.Bottom, PixelHeight - 1);
    for (int y = std::max(r.Top, 0); y <= r.Bottom; ++y) {
        const int oy = sy + y - r.Top;
        if (oy < 0 || oy >= other->PixelHeight)
            continue;
        for (int x = std::max(r.Left, 0); x <= r.Right; ++x) {
            const int ox = sx + x - r.Left;
            if (ox >= 0 && ox < other->PixelWidth)
                std::memcpy(Pixel(x, y), other->Pixel(ox, oy), 3);
        }
    }
}

void TspEffectBmp::MorphGrad(const TspEffectBmp* other, double kf)
{
    if (PixelWidth < PixelHeight)
        MorphVGrad(other, kf);
    else
        MorphHGrad(other, kf);
}

void TspEffectBmp::MorphHGrad(const TspEffectBmp* other, double kf)
{
    if (!SameSize(other))
        return;
    const int w = PixelWidth;
    const int a = Rnd(static_cast<long double>(w) * kf);
    const int b = (w - a) / 2;
    const long double e = b == 0 ? 1.0L : 1.0L / b;
    const int g = std::max(w / 2 - a / 2, 0);
    const int f = std::min(w / 2 + a / 2, w - 1);
    const int left = std::min(g, w - 1);
    const int right = std::max(f, 0);
    // Columns g..f become the other picture (weight 0, as the copy and the zero-weight ends of both ramps
    // give); the ramps run outwards from there. left = g and right = f, so the three parts meet only there.
    const TRowWeights& weights = ColumnWeights(TGradient::Centre, w, kf, [&](TRowWeights& built) {
        const std::vector<long double> leftWeights = Ramp(left + 1, e);
        const std::vector<long double> rightWeights = Ramp(w - right, e);
        built.Resize(size_t(3 * w));
        for (int x = 0; x < w; ++x)
            built.SetPixel(x,
                x >= g && x <= f ? 0.0L : x < g ? leftWeights[size_t(left - x)] : rightWeights[size_t(x - right)]);
    });
    for (int y = 0; y < PixelHeight; ++y)
        MixRow(GetLine(y), other->GetLine(y), 3 * w, weights);
}

void TspEffectBmp::MorphVGrad(const TspEffectBmp* other, double kf)
{
    if (!SameSize(other))
        return;
    const int hgt = PixelHeight;
    const int a = Rnd(static_cast<long double>(hgt) * kf);
    const int b = (hgt - 1 - a) / 2;
    const long double e = b == 0 ? 0.0L : 1.0L / b;
    const int g = std::max(hgt / 2 - a / 2, 0);
    const int f = std::min(hgt / 2 + a / 2, hgt - 1);
    for (int y = g; y <= f; ++y)
        std::memcpy(GetLine(y), other->GetLine(y), 3 * PixelWidth);
    TRowWeights weights;
    weights.Resize(size_t(3 * PixelWidth));
    auto mixRow = [&](int y, long double h) {
        weights.SetPixel(0, h);
        std::fill(weights.Weight.begin(), weights.Weight.end(), weights.Weight[0]);
        std::fill(weights.Band.begin(), weights.Band.end(), weights.Band[0]);
        std::fill(weights.Own.begin(), weights.Own.end(), h);
        MixRow(GetLine(y), other->GetLine(y), 3 * PixelWidth, weights);
    };
    long double h = 0;
    for (int y = std::min(g, hgt - 1); y >= 0; --y) {
        mixRow(y, h);
        h = std::min(h + e, 1.0L);
    }
    h = 0;
    for (int y = std::max(f, 0); y < hgt; ++y) {
        mixRow(y, h);
        h = std::min(h + e, 1.0L);
    }
}

void TspEffectBmp::MorphLeftGrad(const TspEffectBmp* other, double kf)
{
    if (!SameSize(other))
        return;
    const int w = PixelWidth;
    int n = Rnd(static_cast<long double>(w) * kf);
    n = std::min(std::max(n, 1), w - 1);
    const long double step = n == 0 ? 1.0L : 1.0L / n;
    const TRowWeights& weights = ColumnWeights(TGradient::Left, w, kf, [&](TRowWeights& built) {
        const std::vector<long double> ramp = Ramp(n + 1, step);
        built.Resize(size_t(3 * (n + 1)));
        for (int x = 0; x <= n; ++x)
            built.SetPixel(x, ramp[size_t(x)]);
    });
    for (int y = 0; y < PixelHeight; ++y)
        MixRow(GetLine(y), other->GetLine(y), 3 * (n + 1), weights);
}

void TspEffectBmp::MorphRightGrad(const TspEffectBmp* other, double kf)
{
    if (!SameSize(other))
        return;
    const int w = PixelWidth;
    int m = w - Rnd(static_cast<long double>(w) * kf);
    m = std::min(std::max(m, 0), w - 1);
    const long double step = 1.0L / (w - m);
    const TRowWeights& weights = ColumnWeights(TGradient::Right, w, kf, [&](TRowWeights& built) {
        const std::vector<long double> ramp = Ramp(w - m, step);
        built.Resize(size_t(3 * w));
        for (int x = m; x < w; ++x)
            built.SetPixel(x, ramp[size_t(w - 1 - x)]);
    });
    for (int y = 0; y < PixelHeight; ++y)
        MixRow(Pixel(m, y), other->Pixel(m, y), 3 * (w - m), weights, size_t(3 * m));
}

void TspEffectBmp::MorphPush(const TspEffectBmp* other, double kf)
{
    if (!SameSize(other))
        return;
    const int w = PixelWidth;
    int n = Rnd(static_cast<long double>(w) * kf);
    n = std::min(std::max(n, 0), w - 1);
    for (int y = 0; y < PixelHeight; ++y) {
        uint8_t* row = GetLine(y);
        std::memmove(row + 3 * (n + 1), row, 3 * (w - n - 1));
        // Columns 0..n take the other picture's last n + 1 columns.
        std::memcpy(row, other->Pixel(w - n - 1, y), size_t(3 * (n + 1)));
    }
}

void TspEffectBmp::MorphLeftSlide(const TspEffectBmp* other, double kf)
{
    if (!SameSize(other))
        return;
    const int w = PixelWidth;
    const int n = std::min(std::max(Rnd(static_cast<long double>(w) * kf), 1), w - 1);
    for (int y = 0; y < PixelHeight; ++y)
        std::memcpy(GetLine(y), other->Pixel(w - n, y), 3 * n);
}

void TspEffectBmp::MorphRightSlide(const TspEffectBmp* other, double kf)
{
    if (!SameSize(other))
        return;
    const int w = PixelWidth;
    const int n = std::min(std::max(Rnd(static_cast<long double>(w) * kf), 1), w - 1);
    for (int y = 0; y < PixelHeight; ++y)
        std::memcpy(Pixel(w - n, y), other->GetLine(y), 3 * n);
}

void TspEffectBmp::ChangeBrightness(double kf)
{
    const long double k = ClampFactor(kf);
    for (int y = 0; y < PixelHeight; ++y) {
        uint8_t* row = GetLine(y);
        for (int i = 0; i < 3 * PixelWidth; ++i)
            row[i] = Clamp(Rnd((1 - k) * row[i] + 255 * k));
    }
}

void TspEffectBmp::ChangeDarkness(double kf)
{
    const long double k = ClampFactor(kf);
    for (int y = 0; y < PixelHeight; ++y) {
        uint8_t* row = GetLine(y);
        for (int i = 0; i < 3 * PixelWidth; ++i)
            row[i] = Clamp(Rnd((1 - k) * row[i]));
    }
}

void TspEffectBmp::Invert()
{
    for (int y = 0; y < PixelHeight; ++y) {
        uint8_t* row = GetLine(y);
        for (int i = 0; i < 3 * PixelWidth; ++i)
            row[i] ^= 255;
    }
}

void TspEffectBmp::GrayScale()
{
    for (int y = 0; y < PixelHeight; ++y)
        for (int x = 0; x < PixelWidth; ++x) {
            uint8_t* p = Pixel(x, y);
            const uint8_t v = Clamp(Rnd(0.3L * p[2] + 0.59L * p[1] + 0.11L * p[0]));
            p[0] = p[1] = p[2] = v;
        }
}

void TspEffectBmp::BlurPass(const TspEffectBmp* mask, int amount, bool antialias)
{
    for (int y = 0; y < PixelHeight; ++y) {
        int u, d;
        Neighbours(y, amount, PixelHeight, u, d);
        for (int x = 0; x < PixelWidth; ++x) {
            if (mask && IsWhite(mask->Pixel(x, y)))
                continue;
            int l, r;
            Neighbours(x, amount, PixelWidth, l, r);
            if (antialias
                && !(IsWhite(mask->Pixel(l, u)) || IsWhite(mask->Pixel(l, d)) || IsWhite(mask->Pixel(r, u))
                    || IsWhite(mask->Pixel(r, d))))
                continue;
            uint8_t* p = Pixel(x, y);
            for (int c = 0; c < 3; ++c)
                p[c] = Clamp((Pixel(l, u)[c] + Pixel(l, d)[c] + Pixel(r, u)[c] + Pixel(r, d)[c]) >> 2);
        }
    }
}

void TspEffectBmp::SplitBlur(int amount)
{
    if (amount != 0 && !Empty())
        BlurPass(nullptr, amount, false);
}

void TspEffectBmp::MaskAntialiasing(const TspEffectBmp* mask, int amount)
{
    if (amount != 0 && !Empty() && mask && mask->PixelWidth == PixelWidth && mask->PixelHeight >= PixelHeight)
        BlurPass(mask, amount, true);
}

void TspEffectBmp::MaskBlur(const TspEffectBmp* mask, int amount)
{
    if (amount != 0 && !Empty() && mask && mask->PixelWidth == PixelWidth && mask->PixelHeight >= PixelHeight)
        BlurPass(mask, amount, false);
}

void TspEffectBmp::Mosaic(int size)
{
    if (size <= 0)
        return;
    for (int y = 0; y < PixelHeight; ++y)
        for (int x = 0; x < PixelWidth; ++x)
            std::memmove(Pixel(x, y), Pixel(x - x % size, y - y % size), 3);
}

void TspEffectBmp::AddMonoNoise(int amount)
{
    for (int y = 0; y < PixelHeight; ++y)
        for (int x = 0; x < PixelWidth; ++x) {
            const int v = RandomBelow(amount) - amount / 2;
            uint8_t* p = Pixel(x, y);
            for (int c = 0; c < 3; ++c)
                p[c] = Clamp(p[c] + v);
        }
}

void TspEffectBmp::AddColorNoise(int amount)
{
    for (int y = 0; y < PixelHeight; ++y)
        for (int x = 0; x < PixelWidth; ++x) {
            uint8_t* p = Pixel(x, y);
            for (int c = 2; c >= 0; --c)
                p[c] = Clamp(p[c] + RandomBelow(amount) - amount / 2);
        }
}

void TspEffectBmp::Wave(int xDiv, int yDiv, int ratio)
{
    if (xDiv == 0 || yDiv == 0 || Empty())
        return;
    const std::vector<uint8_t> copy(PixelBits, PixelBits + BitsSize);
    const int stride = Stride();
    for (int x = 0; x < PixelWidth; ++x)
        for (int y = 0; y < PixelHeight; ++y) {
            const long double ySin = std::sin(static_cast<long double>(y) / yDiv);
            const long double xSin = std::sin(static_cast<long double>(x) / xDiv);
            const int sx = std::clamp(Rnd((std::isfinite(ySin) ? ySin : 0) * ratio + x), 0, PixelWidth - 1);
            const int sy = std::clamp(Rnd((std::isfinite(xSin) ? xSin : 0) * ratio + y), 0, PixelHeight - 1);
            std::memcpy(Pixel(x, y), copy.data() + sy * stride + 3 * sx, 3);
        }
}

void TspEffectBmp::MaskFillColor(const TspEffectBmp* mask, TColor color, double kf)
{
    if (Empty() || !mask || mask->PixelWidth != PixelWidth || mask->PixelHeight < PixelHeight)
        return;
    const int32_t rgb = ColorToRGB(color);
    const uint8_t fill[3]
        = { static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb) };
    const long double k = kf;
    for (int y = 0; y < PixelHeight; ++y)
        for (int x = 0; x < PixelWidth; ++x) {
            if (IsWhite(mask->Pixel(x, y)))
                continue;
            uint8_t* p = Pixel(x, y);
            for (int c = 0; c < 3; ++c)
                p[c] = Clamp(Rnd((1 - k) * p[c] + k * fill[c]));
        }
}

void TspEffectBmp::Rotate90_1(TspEffectBmp* dest) const
{
    if (Empty() || !dest || dest->PixelWidth != PixelHeight || dest->PixelHeight != PixelWidth)
        return;
    for (int y = 0; y < PixelHeight; ++y)
        for (int x = 0; x < PixelWidth; ++x)
            std::memcpy(dest->Pixel(y, PixelWidth - 1 - x), Pixel(x, y), 3);
}

void TspEffectBmp::Rotate90_2(TspEffectBmp* dest) const
{
    if (Empty() || !dest || dest->PixelWidth != PixelHeight || dest->PixelHeight != PixelWidth)
        return;
    for (int y = 0; y < PixelHeight; ++y)
        for (int x = 0; x < PixelWidth; ++x)
            std::memcpy(dest->Pixel(PixelHeight - 1 - y, x), Pixel(x, y), 3);
}

void TspEffectBmp::FlipVert(TspEffectBmp* dest) const
{
    if (!SameSize(dest))
        return;
    for (int y = 0; y < PixelHeight; ++y)
        std::memcpy(dest->GetLine(PixelHeight - 1 - y), GetLine(y), 3 * PixelWidth);
}

void MorphByKind(TspEffectBmp& source, const TspEffectBmp& target, TMorphKind kind, double kf)
{
    switch (kind) {
    case mkDefault:
        source.Morph(&target, kf);
        break;
    case mkGradient:
        source.MorphGrad(&target, kf);
        break;
    case mkLeftGradient:
        source.MorphLeftGrad(&target, kf);
        break;
    case mkRightGradient:
        source.MorphRightGrad(&target, kf);
        break;
    case mkLeftSlide:
        source.MorphLeftSlide(&target, kf);
        break;
    case mkRightSlide:
        source.MorphRightSlide(&target, kf);
        break;
    case mkPush:
        source.MorphPush(&target, kf);
        break;
    }
}

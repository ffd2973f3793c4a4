// Blending and resampling speed of the imaging code against pixman on the same pixels, in the same run, and the
// image control's paint cycle against a plain BitBlt of the same size on the headless display. Before timing, each
// case compares what both sides made once and says how far apart they are and why.
#include "bench/BenchTiming.h"
#include "framework/controls/Forms.h"
#include "framework/controls/TCustomControl.h"
#include "framework/graphics/TCanvas.h"
#include "imaging/Img32_blend.h"
#include "imaging/TBitmap32.h"
#include "imaging/TImage32.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/gdi/Raster.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <pixman.h>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Colour channels never above alpha, so the pixels are valid for pixman's premultiplied OVER as well.
TColor32 Pixel(uint32_t alpha, std::mt19937& random)
{
    const uint32_t r = alpha ? random() % (alpha + 1) : 0;
    const uint32_t g = alpha ? random() % (alpha + 1) : 0;
    const uint32_t b = alpha ? random() % (alpha + 1) : 0;
    return (alpha << 24) | (r << 16) | (g << 8) | b;
}

void FillFrame(TBitmap32& bitmap, const std::function<uint32_t(int x, int y)>& alpha, std::mt19937& random)
{
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            bitmap.SetPixel(x, y, Pixel(alpha(x, y), random));
}

pixman_image_t* Wrap(TBitmap32& bitmap)
{
    return pixman_image_create_bits(PIXMAN_a8r8g8b8, bitmap.Width(), bitmap.Height(),
        reinterpret_cast<uint32_t*>(bitmap.Bits()), bitmap.Width() * 4);
}

bool gFailed = false;

// Compares the colour channels of both results; a difference above `tolerance` is a fault, anything up to it is
// the rounding that `why` names.
void Check(const char* name, const TBitmap32& ours, const TBitmap32& peer, int tolerance, const char* why)
{
    int largest = 0;
    size_t differing = 0;
    for (int y = 0; y < ours.Height(); ++y) {
        for (int x = 0; x < ours.Width(); ++x) {
            TColor32 a = ours.Pixel(x, y), b = peer.Pixel(x, y);
            int most = 0;
            for (int shift = 0; shift < 24; shift += 8)
                most = std::max(most, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
            largest = std::max(largest, most);
            differing += most != 0;
        }
    }
    if (largest == 0) {
        std::printf("check %s: same pixels\n", name);
    } else if (largest <= tolerance) {
        std::printf("check %s: %zu pixels differ, by at most %d per channel (%s)\n", name, differing, largest, why);
    } else {
        std::printf("check %s: DIFFERENT pixels, %zu differ by up to %d per channel\n", name, differing, largest);
        gFailed = true;
    }
}

void BenchBlend(const char* name, const std::function<uint32_t(int x, int y)>& alpha)
{
    std::mt19937 random(1);
    TBitmap32 src, dst, peerSrc, peerDst;
    src.SetSize(kWidth, kHeight);
    dst.SetSize(kWidth, kHeight);
    FillFrame(src, alpha, random);
    FillFrame(
        dst, [](int, int) { return 255u; }, random);
    // Our blend takes straight colour, pixman's OVER premultiplied colour: pixman gets the same source in its form.
    peerSrc.SetSize(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            TColor32 p = src.Pixel(x, y);
            uint32_t a = p >> 24, out = a << 24;
            for (int shift = 0; shift < 24; shift += 8)
                out |= ((((p >> shift) & 0xFF) * a + 127) / 255) << shift;
            peerSrc.SetPixel(x, y, out);
        }
    }
    peerDst.Assign(&dst);
    pixman_image_t* s = Wrap(peerSrc);
    pixman_image_t* d = Wrap(peerDst);
    auto ourBlend = [&] {
        for (int y = 0; y < kHeight; ++y)
            Img32_blend::BlendLine(src.ScanLine(y), dst.ScanLine(y), kWidth);
    };
    auto peerBlend = [&] { pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, kWidth, kHeight); };
    ourBlend();
    peerBlend();
    Check(name, dst, peerDst, 2, "both round F x a + B x (255 - a) to 8 bits their own way");

    const double ours = BestOf(ourBlend);
    const double peer = BestOf(peerBlend);
    pixman_image_unref(s);
    pixman_image_unref(d);
    Report(name, ours, peer);
}

void BenchShrink(const char* name, TStretchFilter filter, const std::function<void(pixman_image_t*)>& peerFilter)
{
    std::mt19937 random(2);
    TBitmap32 src, dst, peerDst;
    src.SetSize(kWidth, kHeight);
    FillFrame(
        src, [](int, int) { return 255u; }, random);
    src.SetStretchFilter(filter);
    dst.SetSize(640, 360);
    peerDst.SetSize(640, 360);

    pixman_image_t* s = Wrap(src);
    pixman_image_t* d = Wrap(peerDst);
    pixman_transform_t transform;
    pixman_transform_init_scale(&transform, pixman_double_to_fixed(3.0), pixman_double_to_fixed(3.0));
    pixman_image_set_transform(s, &transform);
    // Taps past the edge read the edge pixel, as our weight tables do; pixman would read transparent black.
    pixman_image_set_repeat(s, PIXMAN_REPEAT_PAD);
    peerFilter(s);
    auto ourShrink = [&] { dst.Draw(dst.BoundsRect(), src.BoundsRect(), &src); };
    auto peerShrink = [&] { pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, 640, 360); };
    ourShrink();
    peerShrink();
    Check(name, dst, peerDst, 3,
        "the same kernel over the same source pixels; our weights are 8-bit, pixman's 16-bit at 16 phases a pixel");

    const double ours = BestOf(ourShrink);
    const double peer = BestOf(peerShrink);
    pixman_image_unref(s);
    pixman_image_unref(d);
    Report(name, ours, peer);
}

// A control whose whole paint is one BitBlt of a finished frame: the least any control can do per frame.
class TBlitControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    TBitmap32* Frame = nullptr;

protected:
    void Paint() override
    {
        BitBlt(Canvas()->Handle(), 0, 0, Frame->Width(), Frame->Height(), Frame->Handle(), 0, 0, SRCCOPY);
    }
};

// A new frame in the image control's bitmap, from the change to its pixels in the window's back buffer: the
// change notification, the buffer rendered by the paint stages, and the one copy to the window. The peer is a
// control that only copies a finished frame of the same size to the same window, through the same paint path.
void BenchPaintCycle()
{
    constexpr int kFrameWidth = 1280;
    constexpr int kFrameHeight = 720;
    THeadlessBackend backend;
    if (!backend.Install()) {
        gFailed = true;
        return;
    }
    backend.Log().SetEnabled(false);
    InitializeForms();
    {
        auto* form = TCustomForm::Create<TForm>(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, kFrameWidth, kFrameHeight * 2);
        form->Show();
        auto* image = new TImage32(form);
        image->SetBounds(0, 0, kFrameWidth, kFrameHeight);
        image->SetParent(form);
        auto* blit = new TBlitControl(form);
        blit->SetBounds(0, kFrameHeight, kFrameWidth, kFrameHeight);
        blit->SetParent(form);
        std::mt19937 random(5);
        TBitmap32 frame;
        frame.SetSize(kFrameWidth, kFrameHeight);
        FillFrame(frame, [](int, int) { return 255u; }, random);
        image->Bitmap()->Assign(&frame);
        blit->Frame = &frame;
        Application->ProcessMessages();

        uint32_t counter = 0;
        auto ourCycle = [&] {
            for (int i = 0; i < 10; ++i) {
                image->Bitmap()->SetPixel(0, 0, 0xFF000000 | ++counter);
                image->Bitmap()->Changed();
                UpdateWindow(image->Handle());
            }
        };
        auto peerCycle = [&] {
            for (int i = 0; i < 10; ++i) {
                frame.SetPixel(0, 0, 0xFF000000 | ++counter);
                InvalidateRect(blit->Handle(), nullptr, FALSE);
                UpdateWindow(blit->Handle());
            }
        };
        ourCycle();
        peerCycle();
        // Both halves of the window now show the same frame but for the counter pixel.
        size_t differing = 0;
        for (int y = 0; y < kFrameHeight; y += 7)
            for (int x = 1; x < kFrameWidth; x += 5)
                differing += backend.WindowPixel(form->Handle(), x, y)
                    != backend.WindowPixel(form->Handle(), x, y + kFrameHeight);
        std::printf("check paint_cycle_720p: %s\n", differing ? "the two halves differ" : "same pixels");
        gFailed |= differing != 0;
        const double ours = BestOf(ourCycle);
        const double peer = BestOf(peerCycle);
        Report("paint_cycle_720p", ours / 10, peer / 10);
    }
    FinalizeForms();
    backend.Uninstall();
}

} // namespace

int main()
{
    BenchPaintCycle();
    BenchBlend("blend_1080p_alpha0", [](int, int) { return 0u; });
    BenchBlend("blend_1080p_alpha255", [](int, int) { return 255u; });
    std::mt19937 random(9);
    std::vector<uint32_t> noise(size_t(kWidth) * kHeight);
    for (uint32_t& a : noise)
        a = random() % 256;
    BenchBlend("blend_1080p_alpha_random", [&](int x, int y) { return noise[size_t(y) * kWidth + size_t(x)]; });
    BenchBlend("blend_1080p_alpha_gradient", [](int x, int) { return uint32_t(x * 255 / (kWidth - 1)); });

    // A shrinking linear filter is a tent three source pixels wide on each side, as pixman's separable convolution
    // with a linear sampling kernel is; its BILINEAR filter would read only the four nearest pixels.
    BenchShrink("shrink_1080p_to_360p_linear", sfLinear, [](pixman_image_t* s) {
        int count = 0;
        pixman_fixed_t* params = pixman_filter_create_separable_convolution(&count, pixman_double_to_fixed(3.0),
            pixman_double_to_fixed(3.0), PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_LINEAR,
            PIXMAN_KERNEL_LINEAR, 4, 4);
        pixman_image_set_filter(s, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, count);
        std::free(params);
    });
    BenchShrink("shrink_1080p_to_360p_mitchell", sfMitchell, [](pixman_image_t* s) {
        int count = 0;
        pixman_fixed_t* params = pixman_filter_create_separable_convolution(&count, pixman_double_to_fixed(3.0),
            pixman_double_to_fixed(3.0), PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_CUBIC,
            PIXMAN_KERNEL_CUBIC, 4, 4);
        pixman_image_set_filter(s, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, count);
        std::free(params);
    });
    return gFailed ? 1 : 0;
}

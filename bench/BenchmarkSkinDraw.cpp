// Composing skin images, morphing button pictures and repainting a panel of skinned labels and frame strips, per
// operation, against a plain BitBlt of the same area.
#include "bench/BenchDisplay.h"
#include "bench/BenchTiming.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinFrameCtrls.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/TspSkinData.h"
#include "skin/testing/TFixtureSkin.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Raster.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspEffectBmp.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

// A 100x100 skin frame with 20-pixel borders, every pixel a different colour.
std::unique_ptr<TBitmap> SkinPicture()
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(100, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            bmp->Canvas()->SetPixels(x, y, static_cast<TColor>(x | (y << 8) | ((x ^ y) << 16)));
    return bmp;
}

// Milliseconds per call of `run`, best of several rounds of `count` calls.
double PerCall(int count, const std::function<void()>& run)
{
    return BestOf([&] {
        for (int i = 0; i < count; ++i)
            run();
    }) / count;
}

std::unique_ptr<TspEffectBmp> Picture(int seed)
{
    auto bmp = std::make_unique<TspEffectBmp>(200, 50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 200; ++x)
            bmp->SetPixel(x, y, (x * 7 + y * 13 + seed) & 0xFFFFFF);
    return bmp;
}

// A full repaint of a 600x400 panel holding 50 skinned labels and 10 frame-strip switches, on the headless display,
// against one BitBlt of the panel's area between two memory DCs.
void ReportPanelRepaint()
{
    THeadlessBackend backend;
    if (!InstallBenchDisplay(backend))
        return;
    {
        TFixtureSkin fixture;
        fixture.AddActivePicture("strips.bmp", 80, 30, 5);
        fixture.AddControl("stdlabel", "stdlabel", { { "fontname", "DejaVu Sans" }, { "fontcolor", "255" } });
        fixture.AddControl("switch", "switch", { { "pictureindex", "0" }, { "skinrect", "0,0,80,30" }, { "framescount", "4" } });
        auto* skin = new TspSkinData(Application);
        skin->LoadFromFile(fixture.Write());
        auto* form = TCustomForm::Create<TForm>(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 620, 420);
        auto* panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(10, 10, 600, 400);
        for (int i = 0; i < 50; ++i) {
            auto* label = new TspSkinStdLabel(form);
            label->SetParent(panel);
            label->SetCaption("Skinned label " + std::to_string(i));
            label->SetBounds(10 + (i % 5) * 115, 10 + (i / 5) * 30, 110, 20);
            label->SetSkinData(skin);
        }
        for (int i = 0; i < 10; ++i) {
            auto* strip = new TspSkinSwitch(form);
            strip->SetParent(panel);
            strip->SetBounds(10 + i * 55, 330, 20, 30);
            strip->SetSkinDataName("switch");
            strip->SetSkinData(skin);
        }
        form->Show();
        Application->ProcessMessages();
        const HWND window = panel->Handle();
        const double ours = PerCall(20, [&] {
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        });
        TBitmap area, copy;
        area.SetSize(600, 400);
        copy.SetSize(600, 400);
        const double blit = PerCall(
            20, [&] { BitBlt(copy.Canvas()->Handle(), 0, 0, 600, 400, area.Canvas()->Handle(), 0, 0, SRCCOPY); });
        Report("panel_50_labels_10_strips_600x400", ours, blit);
    }
    FinalizeForms();
    backend.Uninstall();
}

} // namespace

int main()
{
    auto source = SkinPicture();
    const TPoint LT { 20, 20 }, RT { 80, 20 }, LB { 20, 80 }, RB { 80, 80 };
    const TRect C = Rect(20, 20, 80, 80);
    const TRect nC = Rect(20, 20, 780, 580);
    const TPoint nLT { 20, 20 }, nRT { 780, 20 }, nLB { 20, 580 }, nRB { 780, 580 };

    // The peer: one BitBlt of the whole 800x600 area between two memory DCs.
    TBitmap frame, copy;
    frame.SetSize(800, 600);
    copy.SetSize(800, 600);
    const double blit = PerCall(
        20, [&] { BitBlt(copy.Canvas()->Handle(), 0, 0, 800, 600, frame.Canvas()->Handle(), 0, 0, SRCCOPY); });
    const struct {
        const char* name;
        bool stretch;
    } kFrames[] = { { "nine_part_800x600_tiled", false }, { "nine_part_800x600_stretched", true } };
    for (const auto& f : kFrames) {
        const double ours = PerCall(20, [&] {
            SPUtils::CreateSkinImage(LT, RT, LB, RB, C, nLT, nRT, nLB, nRB, nC, &frame, source.get(),
                Rect(0, 0, 100, 100), 800, 600, true, f.stretch, f.stretch, f.stretch, f.stretch, f.stretch, spstFull);
        });
        Report(f.name, ours, blit);
    }

    // Morphs: each call starts from a fresh copy of the normal picture, as a button's timer tick does.
    auto normal = Picture(0);
    auto active = Picture(0x404040);
    TspEffectBmp work(200, 50);
    TBitmap button, buttonCopy;
    button.SetSize(200, 50);
    buttonCopy.SetSize(200, 50);
    const double buttonBlit = PerCall(
        500, [&] { BitBlt(buttonCopy.Canvas()->Handle(), 0, 0, 200, 50, button.Canvas()->Handle(), 0, 0, SRCCOPY); });
    using Transition = void (TspEffectBmp::*)(const TspEffectBmp*, double);
    const struct {
        const char* name;
        Transition transition;
    } kMorphs[] = {
        { "morph_default_200x50", &TspEffectBmp::Morph },
        { "morph_gradient_200x50", &TspEffectBmp::MorphGrad },
        { "morph_left_gradient_200x50", &TspEffectBmp::MorphLeftGrad },
        { "morph_right_gradient_200x50", &TspEffectBmp::MorphRightGrad },
        { "morph_left_slide_200x50", &TspEffectBmp::MorphLeftSlide },
        { "morph_right_slide_200x50", &TspEffectBmp::MorphRightSlide },
        { "morph_push_200x50", &TspEffectBmp::MorphPush },
    };
    for (const auto& m : kMorphs) {
        int step = 0;
        const double ours = PerCall(500, [&] {
            std::memcpy(work.PixelBits, normal->PixelBits, work.BitsSize);
            (work.*m.transition)(active.get(), (step++ % 11) / 10.0);
        });
        Report(m.name, ours, buttonBlit);
    }
    ReportPanelRepaint();
    return 0;
}

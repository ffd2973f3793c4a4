// The form of framed controls the display test plays on both backends.
#include "tests/display/FramedScenario.h"

#include "framed/FrButton.h"
#include "framed/FrEdit.h"
#include "framed/FrLabel.h"
#include "framed/FrPanel.h"
#include "framed/FrSplit.h"
#include "framework/controls/Forms.h"

namespace {

constexpr RECT kFormArea { 100, 100, 460, 340 };

uint32_t Rgb(TColor color)
{
    const uint32_t c = static_cast<uint32_t>(ColorToRGB(color));
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

template <class T> T* Add(TForm* form, int x, int y, int w, int h)
{
    auto* c = new T(form);
    c->SetBounds(x, y, w, h);
    c->SetParent(form);
    // No control takes the focus: a caret would blink on its own clock.
    if (auto* windowed = dynamic_cast<TWinControl*>(c))
        windowed->SetTabStop(false);
    return c;
}

} // namespace

TFramedScreens PlayFramedForm(TWindowStage& stage)
{
    TFramedScreens result;
    InitializeForms();
    {
        auto* form = TCustomForm::Create<TForm>(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(kFormArea.left, kFormArea.top, kFormArea.right - kFormArea.left,
            kFormArea.bottom - kFormArea.top);
        form->SetColor(clBtnFace);

        auto* side = Add<TFrSizePanel>(form, 0, 0, 90, 10);
        side->SetAlign(alRight);
        side->SetHotSpotVisible(true);
        side->SetLockBar(true);
        side->SetBorderOuter(fsGroove);
        side->SetCaption("Side");

        auto* panel = Add<TFrPanel>(form, 10, 10, 150, 60);
        panel->SetBorderOuter(fsLowered);
        panel->SetBorderWidth(2);
        panel->SetBorderInner(fsFlat);
        panel->SetCaption("Framed panel");
        panel->SetShowGrid(true);

        auto* label = Add<TFrLabel>(form, 10, 80, 150, 24);
        label->SetAutoSize(false);
        label->SetBounds(10, 80, 150, 24);
        label->SetCaption("Recessed label");
        label->SetTextStyle(tsRecessed);
        label->SetBorderOuter(fsBump);
        label->SetLayout(tlCenter);

        auto* edit = Add<TFrEdit>(form, 10, 115, 150, 24);
        edit->SetText("Framed edit");
        edit->SetFrameVisible(true);
        edit->SetFrameStyle(fsFlatBold);
        edit->SetFrameColor(clNavy);

        auto* memo = Add<TFrMemo>(form, 10, 150, 150, 50);
        memo->SetText("Memo line one\r\nline two");
        memo->SetFrameVisible(true);
        memo->SetFrameStyle(fsLowered);
        memo->SetColor(0xEAEAEA);

        auto* button = Add<TFrButton>(form, 170, 10, 90, 25);
        button->SetCaption("Button");
        button->SetDefault(true);
        auto* flat = Add<TFrButton>(form, 170, 45, 90, 25);
        flat->SetCaption("Flat");
        flat->SetHotTrack(true);
        auto* down = Add<TFrButton>(form, 170, 80, 90, 25);
        down->SetCaption("Down");
        down->SetGroupIndex(1);
        down->SetDown(true);

        form->Show();
        stage.Settle(kFormArea);
        result.Screens.push_back(stage.Grab(kFormArea));
        // Chosen points in system colours, as the frame routines draw them.
        const TStagePixels& shown = result.Screens.back();
        result.Facts.push_back(
            std::string("panel ring: ") + (shown.At(110, 140) == Rgb(clBtnShadow) ? "shadow" : "other"));
        result.Facts.push_back(std::string("edit frame: ") + (shown.At(110, 225) == Rgb(clNavy) ? "navy" : "other"));
        result.Facts.push_back(std::string("memo frame: ")
            + (shown.At(110, 270) == Rgb(DarkenColor(0xEAEAEA, 50)) ? "darkened" : "other"));

        // The hot spot in the middle of the right panel's bar collapses it.
        const int barX = kFormArea.left + side->Left() + 3;
        const int barY = kFormArea.top + side->Height() / 2;
        stage.MoveTo(barX, barY);
        stage.ButtonDown();
        stage.ButtonUp();
        stage.Settle(kFormArea);
        result.Screens.push_back(stage.Grab(kFormArea));
        result.Facts.push_back("side width: " + std::to_string(side->Width()));
        stage.MoveTo(TWindowStage::kRestingPoint.x, TWindowStage::kRestingPoint.y, {});
    }
    FinalizeForms();
    return result;
}

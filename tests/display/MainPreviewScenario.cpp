// The scenario of the main window preview player's display test.
#include "tests/display/MainPreviewScenario.h"

#include "app/MainPreview.h"
#include "app/PreviewFrames.h"
#include "codecs/testclips/TTestClip.h"
#include "engine/TConvertJob.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/graphics/Colors.h"
#include "imaging/TBitmap32.h"
#include "imaging/TImage32.h"
#include "skin/controls/SkinTrackBars.h"
#include "tests/display/TApplicationLoop.h"
#include "tests/engine/EngineTestSupport.h"

#include <chrono>
#include <memory>

namespace {

RECT ScreenRect(TControl* control)
{
    const TPoint topLeft = control->ClientToScreen(TPoint { 0, 0 });
    return RECT { topLeft.X, topLeft.Y, topLeft.X + control->Width(), topLeft.Y + control->Height() };
}

// The colour at a point of a grab, named: the three the picture shows where frames agree, else its value.
std::string ColourName(uint32_t rgb)
{
    const int r = rgb >> 16 & 0xFF;
    const int g = rgb >> 8 & 0xFF;
    const int b = rgb & 0xFF;
    if (r < 16 && g < 16 && b < 16)
        return "black";
    if (r > 180 && g < 90 && b < 90)
        return "red";
    if (std::abs(r - g) < 12 && std::abs(g - b) < 12 && r > 100 && r < 160)
        return "grey";
    if (r < 40 && g > 220 && b < 40)
        return "lime";
    char text[16];
    std::snprintf(text, sizeof text, "%06x", rgb);
    return text;
}

} // namespace

TSkinFormScreens PlayMainPreview(TWindowStage& stage)
{
    TSkinFormScreens result;
    TTempFolder folder;
    TTestClipSpec spec;
    spec.Container = "avi";
    spec.Duration = 4.0;
    spec.Video.push_back({ .Codec = "mpeg4", .Width = 64, .Height = 48, .FrameRateNum = 5 });
    std::string error;
    if (!MakeTestClip(folder.File("clip.avi"), spec, &error)) {
        result.Facts.push_back("no clip: " + error);
        return result;
    }
    {
        const TApplicationLoop loop(stage);
        // The window's preview area: the image, the track bar where the main window has it, markers and bar.
        auto* form = TCustomForm::Create<TForm>(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(10, 10, 760, 260);
        TMainPreviewControls controls;
        controls.PreviewImage = new TImage32(form);
        controls.PreviewImage->SetParent(form);
        controls.PreviewImage->SetBounds(541, 20, 120, 90);
        controls.tbPreview = new TspSkinTrackBar(form);
        controls.tbPreview->SetParent(form);
        // Short enough that the trim bar under it shows.
        controls.tbPreview->SetBounds(541, 160, 179, 12);
        controls.tbPreview->SetJumpWhenClick(true);
        controls.tbPreview->SetMouseSupport(true);
        controls.imgStartTime = new TImage(form);
        controls.imgEndTime = new TImage(form);
        for (TImage* marker : { controls.imgStartTime, controls.imgEndTime }) {
            marker->SetParent(form);
            marker->SetBounds(0, 0, 9, 9);
            marker->SetVisible(false);
        }
        controls.StartEndTimeShape = new TShape(form);
        controls.StartEndTimeShape->SetParent(form);
        controls.StartEndTimeShape->SetBounds(0, 0, 10, 5);
        controls.StartEndTimeShape->Brush()->SetColor(clLime);
        controls.StartEndTimeShape->Pen()->SetColor(clGray);
        controls.StartEndTimeShape->SetVisible(false);
        form->Show();

        TConvertJob job(folder.File("clip.avi"));
        job.CropLeft = 8;
        job.CropRight = 8;
        job.FixAspectRatio = true;
        job.StartTime = 1.0;
        job.EndTime = 3.0;
        TPreviewFrames frames;
        auto player = std::make_unique<TMainPreview>(frames, controls);
        player->Preview(&job);
        TBitmap32* image = controls.PreviewImage->Bitmap();
        // The decoder runs in real time whatever the stage's clock, so the wait is bounded in real time too.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        bool drawn = false;
        while (!drawn && std::chrono::steady_clock::now() < deadline)
            drawn = stage.PumpUntil([&] { return image->Width() == 64; }, std::chrono::milliseconds(50));
        result.Facts.push_back(std::string("frame drawn: ") + (drawn ? "yes" : "no") + ", bar to "
            + std::to_string(controls.tbPreview->MaxValue()) + ", trim from "
            + std::to_string(controls.imgStartTime->Left()) + " to " + std::to_string(controls.imgEndTime->Left()));

        // The track bar clicked at three quarters seeks the playing preview there.
        const TPoint click = controls.tbPreview->ClientToScreen(TPoint { controls.tbPreview->Width() * 3 / 4, 6 });
        stage.MoveTo(click.X, click.Y);
        stage.ButtonDown();
        stage.ButtonUp();
        const auto position = [&] {
            double seconds = 0.0;
            if (player->Decoder())
                player->Decoder()->GetPosition(&seconds);
            return seconds;
        };
        // The decoder may report the new position only once it has decoded there; within two seconds, playing on
        // from the start could not have reached it.
        const auto seekDeadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        bool seeked = false;
        while (!seeked && std::chrono::steady_clock::now() < seekDeadline)
            seeked = stage.PumpUntil([&] { return position() >= 2.5; }, std::chrono::milliseconds(50));
        result.Facts.push_back(std::string("seeked past 2.5 s: ") + (seeked ? "yes" : "no"));

        player->StopPreview();
        result.Facts.push_back(std::string("stopped: ") + (job.Status == jsQueue ? "queue" : "not queued"));
        stage.Settle(ScreenRect(form));
        const TStagePixels picture = stage.Grab(ScreenRect(controls.PreviewImage));
        const int left = picture.Area.left;
        const int top = picture.Area.top;
        result.Facts.push_back("left bar " + ColourName(picture.At(left + 3, top + 24)) + ", band "
            + ColourName(picture.At(left + 32, top + 2)) + ", middle " + ColourName(picture.At(left + 32, top + 20))
            + ", right bar " + ColourName(picture.At(left + 60, top + 24)));
        const TStagePixels track = stage.Grab(ScreenRect(controls.StartEndTimeShape));
        result.Facts.push_back("trim bar " + ColourName(track.At((track.Area.left + track.Area.right) / 2,
                                                 (track.Area.top + track.Area.bottom) / 2)));
        // Pixels that agree between any two frames: the bars and the band, row 2 and the middle row.
        TStagePixels chosen;
        chosen.Area = RECT { 0, 0, 64, 2 };
        for (int y : { top + 2, top + 24 })
            for (int x = left; x < left + 64; ++x)
                chosen.Pixels.push_back(picture.At(x, y));
        result.Screens.push_back(chosen);
        result.Screens.push_back(track);
        player.reset();
        delete form;
        stage.Pump();
    }
    return result;
}

// The scenario of the advanced settings window's display test.
#include "tests/display/AdvanceFormScenario.h"

#include "app/TAdvanceForm.h"
#include "codecs/testclips/TTestClip.h"
#include "engine/AppServices.h"
#include "engine/FormatProfiles.h"
#include "engine/TConvertJob.h"
#include "engine/TProfileManager.h"
#include "engine/TResourceForm.h"
#include "framed/FrPanel.h"
#include "framework/controls/ExtCtrls.h"
#include "imaging/Img32.h"
#include "imaging/TBitmap32.h"
#include "imaging/TImage32.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinSpinEdit.h"
#include "tests/display/TApplicationLoop.h"
#include "tests/engine/EngineTestSupport.h"

#include <filesystem>
#include <memory>

namespace {

// A form's whole window on the screen.
RECT WindowRect(TControl* form)
{
    return RECT { form->Left(), form->Top(), form->Left() + form->Width(), form->Top() + form->Height() };
}

RECT ScreenRect(TControl* control)
{
    const TPoint topLeft = control->ClientToScreen(TPoint { 0, 0 });
    return RECT { topLeft.X, topLeft.Y, topLeft.X + control->Width(), topLeft.Y + control->Height() };
}

// Presses at (x, y) in `control`, moves by (dx, dy) in four steps and releases, as a hand drags.
void DragIn(TWindowStage& stage, TControl* control, int x, int y, int dx, int dy)
{
    const TPoint from = control->ClientToScreen(TPoint { x, y });
    stage.MoveTo(from.X, from.Y);
    stage.ButtonDown();
    for (int step = 1; step <= 4; ++step)
        stage.MoveTo(from.X + dx * step / 4, from.Y + dy * step / 4);
    stage.ButtonUp();
}

// A 320 x 240 grey frame with a white box in the middle, so the crop's frame and the picture show.
std::unique_ptr<TBitmap32> PreviewFrame()
{
    auto frame = std::make_unique<TBitmap32>();
    frame->SetSize(320, 240);
    frame->Clear(Img32::Color32(96, 96, 96));
    frame->FillRectS(100, 80, 220, 160, Img32::Color32(255, 255, 255));
    return frame;
}

std::string CropText(const TAdvanceForm& window)
{
    return std::to_string(int(window.edtCropLeft->Value())) + " " + std::to_string(int(window.edtCropRight->Value()))
        + " " + std::to_string(int(window.edtCropTop->Value())) + " "
        + std::to_string(int(window.edtCropBottom->Value()));
}

} // namespace

TSkinFormScreens PlayAdvanceForm(TWindowStage& stage)
{
    TSkinFormScreens result;
    TTempFolder folder;
    TProgramFolderScope programFolder(folder.Path());
    std::filesystem::create_directory(folder.File("Profiles"));
    TAVIProfile("Archive", "").Clone()->Save("");
    TTestClipSpec spec;
    spec.Container = "avi";
    spec.Duration = 6.0;
    spec.Video.push_back({ .Codec = "mpeg4", .Width = 64, .Height = 48 });
    std::string error;
    if (!MakeTestClip(folder.File("clip.avi"), spec, &error)) {
        result.Facts.push_back("no clip: " + error);
        return result;
    }
    SetMessageBoxHandler([&result](const std::string& text, const std::string&, int32_t) {
        result.Facts.push_back("told: " + text);
        return int32_t(IDOK);
    });
    {
        const TApplicationLoop loop(stage);
        auto holder = std::make_unique<TResourceForm>(nullptr);
        ResourceForm = holder.get();
        holder->LoadProfiles();
        TConvertJob job(folder.File("clip.avi"));
        job.Analyse();
        job.SetProfile(holder->ProfileManager->Get(0)->Clone());
        job.OutputFile = folder.File("clip-out.avi");
        // The main window's preview, started and paused, as the window is opened over it.
        const std::unique_ptr<DecoderBase> decoder = job.CreateDecoder();
        decoder->Play(0);
        decoder->Pause();

        auto* window = TCustomForm::Create<TAdvanceForm>(Application, decoder.get(), &job);
        window->SetPosition(poDesigned);
        window->SetBounds(20, 10, window->Width(), window->Height());
        window->Show();
        stage.Settle(WindowRect(window));
        const auto frame = PreviewFrame();
        window->DrawPreviewFrame(frame.get());
        stage.Settle(ScreenRect(window->PreviewImage));
        result.Facts.push_back(
            "opens with: " + window->lblStartTime->Caption() + "to " + window->lblEndTime->Caption());

        // A crop dragged over the picture from 20 pixels in at its top left.
        TImage32* image = window->PreviewImage;
        const int pictureX = (image->Width() - 320) / 2;
        const int pictureY = (image->Height() - 240) / 2;
        DragIn(stage, image, pictureX + 20, pictureY + 20, 240, 180);
        stage.Pump();
        result.Facts.push_back("crop: " + CropText(*window));

        // The end marker dragged back by half its track.
        TImage* marker = window->imgEndTime;
        DragIn(stage, marker, 4, 4, -(window->TrackRight - window->TrackLeft) / 2, 0);
        stage.Pump();
        result.Facts.push_back("end: " + window->lblEndTime->Caption());
        stage.Settle(WindowRect(window));
        result.Screens.push_back(stage.Grab(ScreenRect(image)));
        result.Screens.push_back(stage.Grab(ScreenRect(window->TrackBarPanel)));

        const TPoint ok = window->btnOk->ClientToScreen(TPoint { window->btnOk->Width() / 2, 10 });
        stage.MoveTo(ok.X, ok.Y);
        stage.ButtonDown();
        stage.ButtonUp();
        stage.Pump();
        result.Facts.push_back(std::string("closed with OK: ") + (window->ModalResult() == mrOk ? "yes" : "no"));
        result.Facts.push_back("job: crop " + std::to_string(job.CropLeft) + " " + std::to_string(job.CropRight) + " "
            + std::to_string(job.CropTop) + " " + std::to_string(job.CropBottom) + ", ends at "
            + std::to_string(int(job.EndTime)));
        delete window;
        stage.Pump();
        ResourceForm = nullptr;
    }
    SetMessageBoxHandler(nullptr);
    return result;
}

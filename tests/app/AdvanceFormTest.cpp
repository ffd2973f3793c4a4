// The advanced settings window on the headless display, over a real preview decoder of a clip the test makes:
// what OK writes into the job (trim, crop, aspect, streams, output), the trim markers dragged with the mouse, the
// pages and the remembered size, playing, the embedded output settings, the preview picture with its crop and
// letterbox, the crop by mouse and the automatic crop, and a window without a decoder.
#include "app/AdvanceCrop.h"
#include "app/LastSettings.h"
#include "app/TAdvanceForm.h"
#include "app/TOutputSettingsForm.h"
#include "app/TResourceSkinData.h"
#include "codecs/testclips/TTestClip.h"
#include "engine/TConvertJob.h"
#include "framed/FrEdit.h"
#include "framed/FrPanel.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TTimer.h"
#include "framework/dialogs/FileDialogProviders.h"
#include "imaging/Img32.h"
#include "imaging/TBitmap32.h"
#include "imaging/TImage32.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinNotebook.h"
#include "skin/controls/SkinSpinEdit.h"
#include "skin/controls/SkinTrackBars.h"
#include "skin/dialogs/TspSkinPageControl.h"
#include "skin/lists/TspSkinComboBox.h"
#include "tests/app/ProfileWindowsTestSupport.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double kClipSeconds = 6.0;

class AdvanceFormTest : public ProfileWindowsTest {
protected:
    void SetUp() override
    {
        ProfileWindowsTest::SetUp();
        // The embedded output settings show the skin maker's format pictures.
        std::filesystem::create_directory(Folder->File("Skin"));
        std::filesystem::create_directory_symlink(TP_SKIN_DIR, Folder->File("Skin/TarnwickPro"));
        WriteProfile(TAVIProfile("Archive", ""));
        WriteProfile(TFLVProfile("Web", ""));
        LoadHolder();
        // The window in the program's skins, as the program shows it.
        InstallResourceSkins(*Holder->Form);
        Holder->Form->LoadMainSkin();
        Holder->Form->LoadFormSkin();
        Job = NewJob("source.avi", true);
        Decoder = Job->CreateDecoder();
        // The reader exists once the preview has played; the main window hands the window a started preview.
        ASSERT_TRUE(Decoder->Play(0));
        ASSERT_TRUE(Decoder->Pause());
    }

    void TearDown() override
    {
        delete Window;
        Window = nullptr;
        Decoder.reset();
        Job.reset();
        ProfileWindowsTest::TearDown();
    }

    // A probed job on a clip of kClipSeconds at 64x48, with the AVI profile and an output name.
    std::unique_ptr<TConvertJob> NewJob(const std::string& name, bool withAudio)
    {
        TTestClipSpec spec;
        spec.Container = "avi";
        spec.Duration = kClipSeconds;
        spec.Video.push_back({ .Codec = "mpeg4", .Width = 64, .Height = 48 });
        if (withAudio)
            spec.Audio.push_back({ .Codec = "libmp3lame" });
        const std::string path = Folder->File(name);
        std::string error;
        EXPECT_TRUE(MakeTestClip(path, spec, &error)) << error;
        auto job = std::make_unique<TConvertJob>(path);
        EXPECT_TRUE(job->Analyse());
        job->SetProfile(Manager().Get(0)->Clone());
        job->OutputFile = Folder->File("out/source.avi");
        return job;
    }

    TAdvanceForm* Open(DecoderBase* decoder)
    {
        Window = TCustomForm::Create<TAdvanceForm>(Application, decoder, Job.get());
        return Window;
    }
    TAdvanceForm* Open() { return Open(Decoder.get()); }

    double Position()
    {
        double position = -1;
        Decoder->GetPosition(&position);
        return position;
    }

    std::unique_ptr<TConvertJob> Job;
    std::unique_ptr<DecoderBase> Decoder;
    TAdvanceForm* Window = nullptr;
};

TEST_F(AdvanceFormTest, OkWritesTheEditedSettingsIntoTheJob)
{
    Job->Status = jsPreviewing;
    Open();
    const double duration = Job->VideoInfo.GetDuration();
    ASSERT_GT(duration, 5.0);
    // An untouched job shows its whole length.
    EXPECT_EQ(Window->lblStartTime->Caption(), "00:00:00 ");
    EXPECT_EQ(Window->lblEndTime->Caption(), TAdvanceForm::FormatTime(uint32_t(duration)));
    EXPECT_EQ(Window->TrimStart, 0.0);
    EXPECT_EQ(Window->TrimEnd, duration);

    Window->edtCropLeft->SetValue(2);
    Window->edtCropRight->SetValue(4);
    Window->edtCropTop->SetValue(6);
    Window->edtCropBottom->SetValue(8);
    Window->chkFixAspectRatio->SetChecked(true);
    Window->EmbeddedOutputSettings->chkDisableAudio->SetChecked(true);
    Window->edtName->SetText("/videos/elsewhere.avi");
    Window->btnOkClick(nullptr);
    EXPECT_EQ(Window->ModalResult(), mrOk);
    EXPECT_EQ(Job->StartTime, -1.0);
    EXPECT_EQ(Job->EndTime, -1.0);
    EXPECT_EQ(Job->CropLeft, 2);
    EXPECT_EQ(Job->CropRight, 4);
    EXPECT_EQ(Job->CropTop, 6);
    EXPECT_EQ(Job->CropBottom, 8);
    EXPECT_TRUE(Job->FixAspectRatio);
    EXPECT_TRUE(Job->DisableAudio);
    EXPECT_EQ(Job->OutputFile, "/videos/elsewhere.avi");
    EXPECT_EQ(Job->AspectRatio, "");
    EXPECT_EQ(Job->Status, jsQueue);
    ASSERT_NE(Job->GetProfile(), nullptr);
    EXPECT_EQ(Job->GetProfile()->ProfileName, "Archive");
}

TEST_F(AdvanceFormTest, TrimRangesAreStoredUnsetWithinTheFirstAndLastSecond)
{
    struct Case {
        double TrimStart; // -1: the end of the source minus this much.
        double TrimEnd;
        double StartTime;
        double EndTime;
    };
    const double duration = Job->VideoInfo.GetDuration();
    const Case cases[] = {
        { 0.7, 4.0, -1.0, 4.0 },
        { 2.5, duration - 0.1, 2.5, -1.0 },
        { 1.0, 3.5, 1.0, 3.5 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.TrimStart);
        Open();
        Window->TrimStart = c.TrimStart;
        Window->TrimEnd = c.TrimEnd;
        Window->btnOkClick(nullptr);
        EXPECT_EQ(Job->StartTime, c.StartTime);
        EXPECT_EQ(Job->EndTime, c.EndTime);
        delete Window;
        Window = nullptr;
        // The next window opens on what the job stores.
        Open();
        EXPECT_EQ(Window->TrimStart, c.StartTime == -1.0 ? 0.0 : c.StartTime);
        EXPECT_EQ(Window->TrimEnd, c.EndTime == -1.0 ? duration : c.EndTime);
        delete Window;
        Window = nullptr;
    }
}

TEST_F(AdvanceFormTest, AnInvalidAspectTextIsRefusedAndWritesNothing)
{
    struct Case {
        const char* Text;
        bool Valid;
        const char* Stored;
    };
    const Case cases[] = {
        { "auto ", true, "" },
        { "AUTO", true, "" },
        { "16:9", true, "16:9" },
        { "1.7777", true, "1.7777" },
        { "185:100", true, "185:100" },
        { "4:0", false, nullptr },
        { "-4:3", false, nullptr },
        { "abc", false, nullptr },
        { "", false, nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        Job->AspectRatio = "4:3";
        Job->CropLeft = 0;
        Questions.clear();
        Open();
        // A stored aspect opens ticked and shown.
        EXPECT_TRUE(Window->chkSpecifyAspectRatio->Checked());
        EXPECT_TRUE(Window->cbAspectRatio->Enabled());
        EXPECT_EQ(Window->cbAspectRatio->Text(), "4:3");
        Window->cbAspectRatio->SetText(c.Text);
        Window->edtCropLeft->SetValue(10);
        Window->btnOkClick(nullptr);
        if (c.Valid) {
            EXPECT_TRUE(Questions.empty());
            EXPECT_EQ(Window->ModalResult(), mrOk);
            EXPECT_EQ(Job->AspectRatio, c.Stored);
            EXPECT_EQ(Job->CropLeft, 10);
        } else {
            EXPECT_EQ(Questions, std::vector<std::string> { "Invalid Aspect Ratio!" });
            EXPECT_EQ(QuestionFlags.back(), 0x40);
            EXPECT_EQ(Window->ModalResult(), mrNone);
            EXPECT_EQ(Job->AspectRatio, "4:3");
            EXPECT_EQ(Job->CropLeft, 0);
        }
        delete Window;
        Window = nullptr;
    }
    // Without a stored aspect the window offers "Auto", and the box is clear.
    Job->AspectRatio.clear();
    Open();
    EXPECT_EQ(Window->cbAspectRatio->Text(), "Auto");
    EXPECT_FALSE(Window->chkSpecifyAspectRatio->Checked());
    EXPECT_FALSE(Window->cbAspectRatio->Enabled());
}

// Drags `control` from the point (x, y) in it to `toX` pixels right of there (negative: left), in a few steps.
void DragBy(THeadlessBackend& backend, TControl* control, int x, int y, int toX)
{
    const TPoint from = control->ClientToScreen(TPoint { x, y });
    backend.MouseMove(from.X, from.Y);
    backend.MouseDown();
    Application->ProcessMessages();
    for (int step = 1; step <= 4; ++step) {
        backend.MouseMove(from.X + toX * step / 4, from.Y);
        Application->ProcessMessages();
    }
    backend.MouseUp();
    Application->ProcessMessages();
}

TEST_F(AdvanceFormTest, DraggedMarkersStayASecondApartAndSeekThePreview)
{
    Open()->Show();
    Pump();
    const double duration = Job->VideoInfo.GetDuration();
    const double secondWidth = double(Window->TrackRight - Window->TrackLeft) / duration;
    ASSERT_GT(secondWidth, 10.0) << "the track is wide enough to tell seconds apart";
    EXPECT_EQ(Window->imgStartTime->Left(), Window->TrackLeft);
    EXPECT_EQ(Window->imgEndTime->Left(), Window->TrackRight);

    // The end marker halfway back: the trim ends there, and the preview shows that time.
    DragBy(Backend, Window->imgEndTime, 4, 4, -(Window->TrackRight - Window->TrackLeft) / 2);
    EXPECT_NEAR(Window->TrimEnd, duration / 2, 1.5 / secondWidth);
    EXPECT_NEAR(Position(), Window->TrimEnd, 1e-9);
    EXPECT_EQ(Window->tbPreview->Value(), int(Window->TrimEnd * 100));
    EXPECT_EQ(Window->lblEndTime->Caption(), TAdvanceForm::FormatTime(uint32_t(Window->TrimEnd)));
    EXPECT_EQ(Window->lblClipLenght->Caption(), TAdvanceForm::FormatTime(uint32_t(Window->TrimEnd)));
    EXPECT_EQ(Window->imgEndTime->Hint(),
        "Start Time:  00:00:00 \nEnd Time:    " + TAdvanceForm::FormatTime(uint32_t(Window->TrimEnd))
            + "\nClip Lenght: " + TAdvanceForm::FormatTime(uint32_t(Window->TrimEnd)));

    // The start marker dragged past the end marker stops a second before it.
    DragBy(Backend, Window->imgStartTime, 4, 4, Window->TrackRight);
    EXPECT_LE(Window->TrimStart, Window->TrimEnd - 1);
    EXPECT_GT(Window->TrimStart, Window->TrimEnd - 1 - 1.5 / secondWidth);
    EXPECT_NEAR(Position(), Window->TrimStart, 1e-9);
    // The bar between the markers spans the gap.
    EXPECT_EQ(Window->StartEndTimeShape->Left(), Window->imgStartTime->Left() + Window->imgStartTime->Width() + 1);
    EXPECT_EQ(Window->StartEndTimeShape->Width(), Window->imgEndTime->Left() - Window->StartEndTimeShape->Left() - 1);

    // And the end marker dragged to the far left stops a second after the start.
    const double start = Window->TrimStart;
    DragBy(Backend, Window->imgEndTime, 4, 4, -Window->TrackRight);
    // A second apart to the pixel: a marker's time is that of its truncated pixel.
    EXPECT_GT(Window->TrimEnd, start + 1 - 1 / secondWidth);
    EXPECT_LT(Window->TrimEnd, start + 1 + 1 / secondWidth);
    EXPECT_EQ(Window->TrimStart, start);

    // A marker taken by its very first column drags too.
    const int before = Window->imgStartTime->Left();
    DragBy(Backend, Window->imgStartTime, 0, 4, -int(secondWidth));
    EXPECT_LT(Window->imgStartTime->Left(), before);

    Window->btnOkClick(nullptr);
    EXPECT_NEAR(Job->StartTime, Window->TrimStart, 1e-9);
    EXPECT_NEAR(Job->EndTime, Window->TrimEnd, 1e-9);
}

TEST_F(AdvanceFormTest, ThePositionFollowsTheDecoderAndTheBarSeeksIt)
{
    Open();
    EXPECT_EQ(Window->tbPreview->MaxValue(), int(Job->VideoInfo.GetDuration() * 100));
    EXPECT_TRUE(Window->PreviewTimer->Enabled());
    EXPECT_EQ(Window->PreviewTimer->Interval(), 200u);
    Decoder->Seek(3.25);
    Backend.AdvanceClock(200);
    Pump();
    EXPECT_EQ(Window->lblCurrentTime->Caption(), "00:00:03 ");
    EXPECT_EQ(Window->tbPreview->Value(), 325);
    EXPECT_NEAR(Position(), 3.25, 1e-9) << "the bar following the decoder does not seek it";
    EXPECT_EQ(Window->btnPlayPause->Caption(), "Play");

    // The user moving the bar seeks, with the timer as it was afterwards.
    Window->tbPreview->SetValue(150);
    EXPECT_NEAR(Position(), 1.5, 1e-9);
    EXPECT_TRUE(Window->PreviewTimer->Enabled());
}

TEST_F(AdvanceFormTest, PlayPausesAndStartsAgainFromTheBeginningAtTheEnd)
{
    Open();
    Window->btnPlayPauseClick(nullptr);
    EXPECT_EQ(Decoder->GetState(), dsPlaying);
    Backend.AdvanceClock(200);
    Pump();
    EXPECT_EQ(Window->btnPlayPause->Caption(), "Pause");
    EXPECT_EQ(Window->btnPlayPause->Tag(), 1);
    Window->btnPlayPauseClick(nullptr);
    EXPECT_EQ(Decoder->GetState(), dsPaused);
    EXPECT_EQ(Window->btnPlayPause->Tag(), 0);
    Backend.AdvanceClock(200);
    Pump();
    EXPECT_EQ(Window->btnPlayPause->Caption(), "Play");

    // At the end, play goes back to the start first.
    Decoder->Seek(Job->VideoInfo.GetDuration());
    Window->btnPlayPauseClick(nullptr);
    EXPECT_LT(Position(), 1.0);
    Decoder->Pause();
}

TEST_F(AdvanceFormTest, LeavingTheEditPagePausesAndFixesTheSizeUntilItComesBack)
{
    WriteText(
        TLastSettings::FileName(), "[LastSettings]\nAdvanceSettingsFormWidth=800\nAdvanceSettingsFormHeight=760\n");
    Open()->Show();
    Pump();
    EXPECT_EQ(Window->Width(), 800);
    EXPECT_EQ(Window->Height(), 760);
    Window->SetBounds(Window->Left(), Window->Top(), 820, 780);
    EXPECT_EQ(Window->RememberedWidth, 820);

    Window->btnPlayPauseClick(nullptr);
    Backend.AdvanceClock(200);
    Pump();
    ASSERT_EQ(Window->btnPlayPause->Tag(), 1);
    Window->chkFixAspectRatio->SetChecked(true);
    Window->PageControl->SetActivePage(Window->tsOutputSettings);
    Window->PageControlChange(Window->PageControl);
    EXPECT_EQ(Decoder->GetState(), dsPaused);
    EXPECT_EQ(Window->btnPlayPause->Tag(), 0);
    EXPECT_EQ(Window->Width(), 705);
    EXPECT_EQ(Window->Height(), 690);
    EXPECT_EQ(Window->RememberedWidth, 820) << "only the Edit page's size is remembered";
    EXPECT_TRUE(Window->EmbeddedOutputSettings->chkFixAspectRatio->Checked());

    Window->EmbeddedOutputSettings->chkFixAspectRatio->SetChecked(false);
    Window->PageControl->SetActivePage(Window->tbVisualAdjust);
    Window->PageControlChange(Window->PageControl);
    EXPECT_EQ(Window->Width(), 820);
    EXPECT_EQ(Window->Height(), 780);
    EXPECT_FALSE(Window->chkFixAspectRatio->Checked());

    delete Window;
    Window = nullptr;
    TLastSettings settings;
    EXPECT_EQ(settings.AdvanceSettingsFormWidth(), 820);
    EXPECT_EQ(settings.AdvanceSettingsFormHeight(), 780);
}

TEST_F(AdvanceFormTest, TheOutputSettingsPageChangesTheJobsProfileAndTheOutputName)
{
    WriteProfile(TAVIProfile("Backup", ""));
    Manager().Add(std::make_unique<TAVIProfile>("Backup", ""));
    Open();
    TOutputSettingsForm& settings = *Window->EmbeddedOutputSettings;
    EXPECT_EQ(settings.MainPanel->Parent(), Window->tsOutputSettings);
    EXPECT_TRUE(settings.rbAVI->Checked());

    // A format choice changes the profile at once, and the output name's extension with it.
    settings.rbFLV->SetChecked(true);
    EXPECT_EQ(Job->GetProfile()->FormatType, vfFLV);
    EXPECT_EQ(Job->GetProfile()->ProfileName, "Web");
    EXPECT_EQ(Window->edtName->Text(), Folder->File("out/source.flv"));

    // Another profile of the same format reaches the job at the next page change, and Cancel keeps it.
    settings.rbAVI->SetChecked(true);
    EXPECT_EQ(Window->edtName->Text(), Folder->File("out/source.avi"));
    settings.cbProfiles->SetItemIndex(1);
    EXPECT_EQ(Job->GetProfile()->ProfileName, "Archive");
    Window->PageControl->SetActivePage(Window->tbDetail);
    Window->PageControlChange(Window->PageControl);
    EXPECT_EQ(Job->GetProfile()->ProfileName, "Backup");
    // The report is built for the page, with the window's own output name.
    const std::string report = Window->DetailMemo->Lines()->Text();
    EXPECT_NE(report.find(" Profile Name          : Backup\n"), std::string::npos);
    EXPECT_NE(report.find(" Output File           : " + Folder->File("out/source.avi")), std::string::npos);
    Window->FormKeyPress(nullptr, *std::make_unique<char32_t>(27));
    EXPECT_EQ(Window->ModalResult(), mrCancel);
    delete Window;
    Window = nullptr;
    EXPECT_EQ(Job->GetProfile()->ProfileName, "Backup");
    EXPECT_EQ(Job->OutputFile, Folder->File("out/source.avi")) << "Cancel writes nothing else";
}

// ---- The preview picture and the crop -------------------------------------------------------------------------

const TColor32 kFrameGrey = Img32::Color32(128, 128, 128);
const TColor32 kBand = Img32::Color32(188, 188, 188, 0);
const TColor32 kGreen = Img32::Color32(0, 255, 0, 255);
const TColor32 kBlack = Img32::Color32(0, 0, 0, 255);

// A 320 x 240 mid-grey frame, with 8 black rows at its top and bottom when `bars`.
std::unique_ptr<TBitmap32> GreyFrame(bool bars = false)
{
    auto frame = std::make_unique<TBitmap32>();
    frame->SetSize(320, 240);
    frame->Clear(kFrameGrey);
    if (bars) {
        frame->FillRectS(0, 0, 320, 8, kBlack);
        frame->FillRectS(0, 232, 320, 240, kBlack);
    }
    return frame;
}

class AdvancePreviewTest : public AdvanceFormTest {
protected:
    // The window with its preview image at 536 x 378.
    void OpenPreview()
    {
        Open()->Show();
        Pump();
        Window->PreviewImage->SetAlign(alNone);
        Window->PreviewImage->SetBounds(0, 0, 536, 378);
        ASSERT_EQ(Window->PreviewImage->Bitmap()->Width(), 536);
        ASSERT_EQ(Window->PreviewImage->Bitmap()->Height(), 378);
    }
    TColor32 At(int x, int y) const { return Window->PreviewImage->Bitmap()->Pixel(x, y); }
    void SetCrop(int left, int right, int top, int bottom)
    {
        Window->edtCropLeft->SetValue(left);
        Window->edtCropRight->SetValue(right);
        Window->edtCropTop->SetValue(top);
        Window->edtCropBottom->SetValue(bottom);
    }
    TCropEdges Crop() const
    {
        return { int32_t(Window->edtCropLeft->Value()), int32_t(Window->edtCropRight->Value()),
            int32_t(Window->edtCropTop->Value()), int32_t(Window->edtCropBottom->Value()) };
    }
    // The output size the profile asks for, set on the output settings page as a user would.
    void SetOutputSize(int width, int height)
    {
        TEditProfileForm& editor = *Window->EmbeddedOutputSettings->EmbeddedEditor;
        editor.edtAVIWidth->SetValue(width);
        editor.edtAVIHeight->SetValue(height);
        Window->ApplyOutputSettings();
    }
};

TEST_F(AdvancePreviewTest, TheSourceIsDrawnCentredWithItsCropFramedInGreen)
{
    OpenPreview();
    SetCrop(10, 30, 20, 40);
    auto frame = GreyFrame();
    Window->DrawPreviewFrame(frame.get());
    // 320 x 240 in 536 x 378 lands at (108, 69); the crop rectangle runs from (118, 89) to (397, 268) inclusive.
    struct Point {
        int X, Y;
        TColor32 Colour;
    };
    const Point points[] = {
        { 107, 150, kBand },
        { 108, 150, kFrameGrey },
        { 427, 150, kFrameGrey },
        { 428, 150, kBand },
        { 200, 68, kBand },
        { 200, 69, kFrameGrey },
        { 200, 308, kFrameGrey },
        { 200, 309, kBand },
        { 118, 150, kGreen },
        { 117, 150, kFrameGrey },
        { 397, 150, kGreen },
        { 398, 150, kFrameGrey },
        { 200, 89, kGreen },
        { 200, 268, kGreen },
        { 200, 269, kFrameGrey },
        { 119, 150, kFrameGrey },
    };
    for (const Point& p : points)
        EXPECT_EQ(At(p.X, p.Y), p.Colour) << p.X << "," << p.Y;
    // The window keeps its own copy of the frame.
    frame->Clear(kBlack);
    SetCrop(0, 0, 0, 0);
    EXPECT_EQ(At(200, 150), kFrameGrey);
    EXPECT_EQ(At(118, 150), kFrameGrey) << "the crop edits redraw the kept frame";
}

TEST_F(AdvancePreviewTest, TheOutputIsTheCropScaledToTheProfileAndLetterboxedWithFixAspectRatio)
{
    struct Case {
        const char* Name;
        int Width, Height; // The profile's size.
        bool Fix;
        TCropEdges Crop;
        int PictureLeft, PictureRight; // The picture's columns in the image, right exclusive.
        int BarLeft, BarRight; // Columns of the left black bar, right exclusive (none when equal).
    };
    const Case cases[] = {
        // 640 x 360 lands at (-52, 9); a 4:3 picture in it spans 480 columns after an even 80-column bar.
        { "4:3 into 16:9 with Fix Aspect Ratio", 640, 360, true, {}, 28, 508, 0, 28 },
        { "stretched without it", 640, 360, false, {}, 0, 536, 0, 0 },
        // A profile of size 0 keeps the crop's own size: 280 x 180 at (128, 99).
        { "the crop at its own size", 0, 0, true, { 10, 30, 20, 40 }, 128, 408, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        OpenPreview();
        SetOutputSize(c.Width, c.Height);
        Window->chkFixAspectRatio->SetChecked(c.Fix);
        SetCrop(c.Crop.Left, c.Crop.Right, c.Crop.Top, c.Crop.Bottom);
        auto frame = GreyFrame();
        Window->DrawPreviewFrame(frame.get());
        Window->chkOutputMovie->SetChecked(true);
        const int y = 150;
        if (c.PictureLeft > 0) {
            EXPECT_NE(At(c.PictureLeft - 1, y), kFrameGrey);
        }
        EXPECT_EQ(At(c.PictureLeft, y), kFrameGrey);
        EXPECT_EQ(At(c.PictureRight - 1, y), kFrameGrey);
        if (c.PictureRight < 536) {
            EXPECT_NE(At(c.PictureRight, y), kFrameGrey);
        }
        for (int x = c.BarLeft; x < c.BarRight; x += 9)
            EXPECT_EQ(At(x, y), kBlack) << x;
        if (c.Width == 0) {
            EXPECT_EQ(At(127, y), kBand);
            EXPECT_EQ(At(200, 98), kBand);
            EXPECT_EQ(At(200, 99), kFrameGrey);
        }
        delete Window;
        Window = nullptr;
    }
}

// A crop that leaves no pixels, or one beyond a frame smaller than the probe said, is drawn without reading
// outside the frame.
TEST_F(AdvancePreviewTest, ACropThatLeavesNoPixelsDrawsNoPicture)
{
    OpenPreview();
    SetOutputSize(0, 0);
    auto frame = GreyFrame();
    Window->DrawPreviewFrame(frame.get());
    for (const bool output : { false, true }) {
        SCOPED_TRACE(output);
        (output ? Window->chkOutputMovie : Window->chkSourceMovie)->SetChecked(true);
        SetCrop(200, 200, 0, 0);
        EXPECT_EQ(At(300, 300), output ? kBand : kFrameGrey);
        SetCrop(0, 0, 5000, 10000);
        EXPECT_EQ(At(300, 300), output ? kBand : kFrameGrey);
    }
    Window->chkSourceMovie->SetChecked(true);
    SetCrop(0, 0, 0, 0);
    EXPECT_EQ(At(300, 300), kFrameGrey);
}

TEST_F(AdvancePreviewTest, TheMouseCropsTheSourcePictureAndAClickClearsTheCrop)
{
    OpenPreview();
    auto frame = GreyFrame();
    Window->DrawPreviewFrame(frame.get());
    TImage32* image = Window->PreviewImage;
    const auto drag = [&](int fromX, int fromY, int toX, int toY) {
        const TPoint from = image->ClientToScreen(TPoint { fromX, fromY });
        const TPoint to = image->ClientToScreen(TPoint { toX, toY });
        Backend.AdvanceClock(1000);
        Backend.MouseMove(from.X, from.Y);
        Backend.MouseDown();
        Pump();
        Backend.MouseMove((from.X + to.X) / 2, (from.Y + to.Y) / 2);
        Pump();
        Backend.MouseMove(to.X, to.Y);
        Pump();
        Backend.MouseUp();
        Pump();
    };
    // Either direction gives the same rectangle; the paused preview redraws it at once.
    drag(118, 79, 418, 299);
    EXPECT_EQ(Crop(), (TCropEdges { 10, 10, 10, 10 }));
    EXPECT_EQ(At(118, 150), kGreen);
    EXPECT_EQ(image->Cursor(), crCross);
    drag(418, 299, 128, 89);
    EXPECT_EQ(Crop(), (TCropEdges { 20, 10, 20, 10 }));
    // A click without a drag clears all four.
    drag(200, 150, 200, 150);
    EXPECT_EQ(Crop(), TCropEdges {});
    EXPECT_EQ(At(118, 150), kFrameGrey);
    // Outside the picture, and in output mode, the mouse crops nothing.
    drag(20, 20, 300, 300);
    EXPECT_EQ(Crop(), TCropEdges {});
    EXPECT_EQ(image->Cursor(), crCross) << "the drag ended over the picture";
    Window->chkOutputMovie->SetChecked(true);
    drag(118, 79, 418, 299);
    EXPECT_EQ(Crop(), TCropEdges {});
    EXPECT_EQ(image->Cursor(), crDefault);
}

TEST_F(AdvancePreviewTest, AutoCropAndResetWorkOnTheLastFrame)
{
    OpenPreview();
    Window->btnAutoCropClick(nullptr);
    EXPECT_EQ(Crop(), TCropEdges {}) << "no frame yet";
    auto frame = GreyFrame(true);
    Window->DrawPreviewFrame(frame.get());
    Window->btnAutoCropClick(nullptr);
    // The last content row and column go with the border.
    EXPECT_EQ(Crop(), (TCropEdges { 0, 1, 8, 9 }));
    EXPECT_EQ(At(200, 69 + 8), kGreen);
    Window->btnResetClick(nullptr);
    EXPECT_EQ(Crop(), TCropEdges {});
    EXPECT_EQ(At(200, 69 + 8), kFrameGrey);
}

// Frames reach the window only while its "Edit" page shows.
TEST_F(AdvancePreviewTest, FramesAreDrawnOnlyOnTheEditPage)
{
    OpenPreview();
    Window->PageControl->SetActivePage(Window->tbDetail);
    Window->PageControlChange(Window->PageControl);
    auto frame = GreyFrame();
    Window->DrawPreviewFrame(frame.get());
    EXPECT_EQ(Window->LastFrame, nullptr);
    Window->DrawPreviewFrame(nullptr);
    Window->PageControl->SetActivePage(Window->tbVisualAdjust);
    Window->PageControlChange(Window->PageControl);
    Window->DrawPreviewFrame(nullptr);
    EXPECT_EQ(Window->LastFrame, nullptr);
}

// ---- Streams, a window without a decoder, the entry the main window uses -----------------------------------------

TEST_F(AdvanceFormTest, TheStreamListsShowTheProbeAndOkStoresTheChoice)
{
    const std::string path = Folder->File("streams.mkv");
    std::string error;
    ASSERT_TRUE(MakeTestClip(path, TestClipSpec(TTestClipKind::MkvTwoVideoTwoAudio), &error)) << error;
    Job = std::make_unique<TConvertJob>(path);
    ASSERT_TRUE(Job->Analyse());
    Job->VideoStreamIndex = 1;
    Job->AudioStreamIndex = 1;
    Decoder = Job->CreateDecoder();
    Open();
    // The side notebook holds the crop page and the streams page, nothing else.
    ASSERT_EQ(Window->spSkinNotebook->PageCount(), 2);
    EXPECT_EQ(Window->spSkinNotebook->Pages()->Strings(0), "Cropping && Aspect Ratio");
    EXPECT_EQ(Window->spSkinNotebook->Pages()->Strings(1), "Mulit-AV Streams Option");
    EXPECT_EQ(Window->cbVideoStream->Parent(), Window->spSkinNotebook->Page(1));
    EXPECT_EQ(Window->edtCropLeft->Parent(), Window->spSkinNotebook->Page(0));
    ASSERT_EQ(Window->cbVideoStream->Items()->Count(), 2);
    ASSERT_EQ(Window->cbAudioStream->Items()->Count(), 2);
    EXPECT_EQ(Window->cbVideoStream->Items()->Strings(1).rfind("Video Stream 2 : 96 x 64 (", 0), 0u)
        << Window->cbVideoStream->Items()->Strings(1);
    EXPECT_EQ(Window->cbAudioStream->Items()->Strings(1), "Audio Stream 2 : 22050 Hz, 1 channels, Audio Codec: aac");
    EXPECT_EQ(Window->cbVideoStream->ItemIndex(), 1);
    EXPECT_EQ(Window->cbAudioStream->ItemIndex(), 1);
    // The preview follows a choice at once; the job takes it only with OK.
    Window->cbVideoStream->SetItemIndex(0);
    EXPECT_EQ(Job->VideoStreamIndex, 1);
    Window->btnOkClick(nullptr);
    EXPECT_EQ(Job->VideoStreamIndex, 0);
    EXPECT_EQ(Job->AudioStreamIndex, 1);
}

// A source without audio leaves its list empty; the job keeps stream 0, never the list's "no selection".
TEST_F(AdvanceFormTest, AnEmptyStreamListStoresTheFirstStream)
{
    Job = NewJob("silent.avi", false);
    Job->AudioStreamIndex = 0;
    Decoder = Job->CreateDecoder();
    Open();
    EXPECT_EQ(Window->cbAudioStream->Items()->Count(), 0);
    EXPECT_EQ(Window->cbAudioStream->ItemIndex(), -1);
    Window->btnOkClick(nullptr);
    EXPECT_EQ(Job->AudioStreamIndex, 0);
    EXPECT_EQ(Job->VideoStreamIndex, 0);
}

// Without a preview decoder (none could be started), or without a duration (a source the probe could not read),
// the window offers nothing to play or drag, and every handler that would use them does nothing.
TEST_F(AdvanceFormTest, WithoutADecoderOrADurationNothingPlaysOrSeeks)
{
    struct Case {
        const char* Name;
        bool WithDecoder;
        bool Probed;
    };
    const Case cases[] = { { "no decoder", false, true }, { "no duration", true, false } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        if (!c.Probed) {
            Job = std::make_unique<TConvertJob>(Folder->File("gone.avi"));
            Job->SetProfile(Manager().Get(0)->Clone());
        }
        Open(c.WithDecoder ? Decoder.get() : nullptr)->Show();
        Pump();
        EXPECT_EQ(Window->btnPlayPause->Enabled(), c.WithDecoder);
        EXPECT_EQ(Window->tbPreview->Enabled(), c.WithDecoder);
        EXPECT_FALSE(Window->imgStartTime->Enabled());
        EXPECT_FALSE(Window->imgEndTime->Enabled());
        EXPECT_EQ(Window->imgStartTime->Left(), Window->TrackLeft);
        EXPECT_EQ(Window->imgEndTime->Left(), Window->TrackRight);
        // The handlers run as the controls would call them.
        Window->btnPlayPauseClick(nullptr);
        Window->tbPreviewChange(nullptr);
        Window->imgStartTime->SetTag(5);
        Window->imgStartTimeMouseMove(nullptr, {}, 100, 4);
        Window->cbVideoStreamChange(nullptr);
        Window->cbAudioStreamChange(nullptr);
        Backend.AdvanceClock(200);
        Pump();
        EXPECT_EQ(Window->btnPlayPause->Caption(), c.WithDecoder ? "Pause" : "Play");
        Window->PageControl->SetActivePage(Window->tbDetail);
        Window->PageControlChange(Window->PageControl);
        Window->btnOkClick(nullptr);
        EXPECT_EQ(Window->ModalResult(), mrOk);
        EXPECT_EQ(Job->StartTime, -1.0);
        EXPECT_EQ(Job->EndTime, -1.0);
        delete Window;
        Window = nullptr;
    }
    Decoder->Pause();
}

// The main window shows the window through one call, and hands it frames while it is open.
TEST_F(AdvanceFormTest, ShowAdvanceSettingsAnswersOkAndKnowsTheOpenWindowMeanwhile)
{
    for (const bool ok : { true, false }) {
        SCOPED_TRACE(ok);
        TAdvanceForm* shown = nullptr;
        bool sawWindow = false;
        Application->OnIdle = [&](TObject*, bool& idle) {
            if (!shown || !shown->Visible() || shown->ModalResult() != mrNone)
                return;
            idle = false;
            sawWindow = shown->EditedJob == Job.get() && shown->SharedDecoder == Decoder.get();
            auto frame = GreyFrame();
            shown->DrawPreviewFrame(frame.get());
            shown->edtCropTop->SetValue(12);
            if (ok)
                shown->btnOk->Click();
            else
                Backend.Key(VK_ESCAPE);
        };
        Job->CropTop = 0;
        EXPECT_EQ(ShowAdvanceSettings(Application, Decoder.get(), Job.get(), &shown), ok);
        Application->OnIdle = nullptr;
        EXPECT_TRUE(sawWindow);
        EXPECT_EQ(shown, nullptr);
        EXPECT_EQ(Job->CropTop, ok ? 12 : 0);
    }
}

// The desktop's save dialog, answered by the test: it records what it was asked and chooses `Answer` (or is
// cancelled when that is empty).
class TAnsweringSaveDialog final : public TFileDialogProvider {
public:
    TAnsweringSaveDialog(std::vector<TFileChooserRequest>* requests, std::string answer)
        : FRequests(requests)
        , FAnswer(std::move(answer))
    {
    }
    std::string Name() const override { return "answering"; }
    bool OutOfProcess() const override { return false; }
    TFileChooserResult Run(const TFileChooserRequest& request) override
    {
        FRequests->push_back(request);
        TFileChooserResult result;
        result.Status = FAnswer.empty() ? TFileChooserStatus::Cancelled : TFileChooserStatus::Chosen;
        if (!FAnswer.empty())
            result.Paths = { FAnswer };
        return result;
    }

private:
    std::vector<TFileChooserRequest>* FRequests;
    std::string FAnswer;
};

TEST_F(AdvanceFormTest, BrowseOffersTheOutputsOwnTypeAndTakesTheChosenPath)
{
    std::vector<TFileChooserRequest> requests;
    for (const char* answer : { "", "/videos/chosen.avi" }) {
        SCOPED_TRACE(answer);
        std::vector<std::unique_ptr<TFileDialogProvider>> providers;
        providers.push_back(std::make_unique<TAnsweringSaveDialog>(&requests, answer));
        SetFileDialogProviders(std::move(providers));
        Open();
        Window->btnBrowseClick(nullptr);
        EXPECT_EQ(Window->edtName->Text(), *answer ? std::string(answer) : Folder->File("out/source.avi"));
        delete Window;
        Window = nullptr;
    }
    ResetFileDialogProviders();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].Kind, TFileChooserKind::Save);
    ASSERT_EQ(requests[0].Filters.size(), 1u);
    EXPECT_EQ(requests[0].Filters[0].Name, "*.avi");
    EXPECT_EQ(requests[0].Filters[0].Patterns, std::vector<std::string> { "*.avi" });
}

// The number edits' numbers stand on the edit's own face in the program's skin (a crop edit, and a bitrate of the
// output settings page), on the first show and after a short number replaces a long one: the face shows through
// the number's edit, never black or the old digits.
TEST_F(AdvanceFormTest, TheNumberEditsNumbersStandOnTheirFace)
{
    Open()->Show();
    Pump();
    const auto check = [&](TspSkinSpinEdit* spin, double longValue) {
        ASSERT_TRUE(spin->Edit()->EditTransparent()) << "skinned";
        const TRect edit = spin->Edit()->BoundsRect();
        const TPoint origin = spin->ClientToScreen(TPoint { 0, 0 });
        const auto shown = [&](int x, int y) { return Backend.ScreenPixel(origin.X + x, origin.Y + y); };
        // The face is one colour inside its border; the spin edit paints the row above the number's edit itself.
        const int y = (edit.Top + edit.Bottom) / 2;
        const uint32_t face = shown(edit.Right - 3, edit.Top - 1);
        EXPECT_NE(face, 0u);
        // The pixels of the middle row from `from` on that differ from the face.
        const auto marks = [&](int from) {
            int count = 0;
            for (int x = from; x < edit.Right; ++x)
                count += shown(x, y) != face;
            return count;
        };
        EXPECT_EQ(marks(edit.Right - 10), 0) << "first show, right of the number";
        spin->SetValue(longValue);
        Pump();
        EXPECT_GT(marks(edit.Left + 12), 0) << "the long number reaches past its first digit";
        spin->SetValue(1);
        Pump();
        EXPECT_EQ(marks(edit.Left + 12), 0) << "the old digits are gone";
    };
    check(Window->edtCropLeft, 10000);
    Window->PageControl->SetActivePage(Window->tsOutputSettings);
    Pump();
    check(Window->EmbeddedOutputSettings->EmbeddedEditor->edtAVIVideoBitrate, 100000);
}

// The side notebook's page buttons are arranged around a page after it shows, which moves it; what the page
// shows then is what a full repaint of it would show.
TEST_F(AdvanceFormTest, TheStreamsPageShowsItsListsWhenItsButtonIsPressed)
{
    Open()->Show();
    Pump();
    const auto grab = [this](TControl* control) {
        const TPoint origin = control->ClientToScreen(TPoint { 0, 0 });
        std::vector<uint32_t> pixels;
        for (int y = 0; y < control->Height(); ++y)
            for (int x = 0; x < control->Width(); ++x)
                pixels.push_back(Backend.ScreenPixel(origin.X + x, origin.Y + y));
        return pixels;
    };
    Window->spSkinNotebook->PageButtons()[1]->ButtonClick();
    Pump();
    ASSERT_EQ(Window->spSkinNotebook->PageIndex(), 1);
    const std::vector<uint32_t> shown = grab(Window->cbVideoStream);
    RedrawWindow(Window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    Pump();
    EXPECT_EQ(shown, grab(Window->cbVideoStream));
}

} // namespace

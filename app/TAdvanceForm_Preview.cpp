// TAdvanceForm: the preview picture on the "Edit" page (the source with its crop, or the output as it will look),
// the crop by mouse and the automatic crop.
#include "app/AdvanceCrop.h"
#include "app/TAdvanceForm.h"
#include "engine/DecoderBase.h"
#include "engine/TConvertJob.h"
#include "framework/core/FileSystem.h"
#include "imaging/Img32.h"
#include "imaging/TBitmap32.h"
#include "imaging/TImage32.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinSpinEdit.h"
#include "skin/dialogs/TspSkinPageControl.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

const TColor32 kBandColour = Img32::Color32(188, 188, 188, 0);
const TColor32 kCropFrameColour = Img32::Color32(0, 255, 0, 255);
const TColor32 kBarColour = Img32::Color32(0, 0, 0, 255);

// The part of a w x h frame the crop keeps, kept within the frame; empty when the crop leaves no pixels.
TRect CropRectIn(int32_t width, int32_t height, const TCropEdges& crop)
{
    TRect rect { std::clamp(crop.Left, 0, width), std::clamp(crop.Top, 0, height),
        std::clamp(width - crop.Right, 0, width), std::clamp(height - crop.Bottom, 0, height) };
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top)
        return {};
    return rect;
}

} // namespace

bool TAdvanceForm::ShowsSource() const
{
    return chkSourceMovie->Checked();
}

void TAdvanceForm::SetCropEdits(int32_t left, int32_t right, int32_t top, int32_t bottom)
{
    TspSkinSpinEdit* const edits[] = { edtCropLeft, edtCropRight, edtCropTop, edtCropBottom };
    const int32_t values[] = { left, right, top, bottom };
    for (int i = 0; i < 4; ++i) {
        TNotifyEvent change = std::exchange(edits[i]->OnChange, nullptr);
        edits[i]->SetValue(values[i]);
        edits[i]->OnChange = std::move(change);
    }
}

static TCropEdges CropOf(const TAdvanceForm& form)
{
    return { int32_t(form.edtCropLeft->Value()), int32_t(form.edtCropRight->Value()), int32_t(form.edtCropTop->Value()),
        int32_t(form.edtCropBottom->Value()) };
}

void TAdvanceForm::DrawPreviewFrame(TBitmap32* frame)
{
    if (!frame || !IsEditPageActive())
        return;
    if (frame != LastFrame.get()) {
        if (!LastFrame)
            LastFrame = std::make_unique<TBitmap32>();
        LastFrame->Assign(frame);
    }
    const int32_t width = LastFrame->Width();
    const int32_t height = LastFrame->Height();
    const TCropEdges crop = CropOf(*this);
    TBitmap32* image = PreviewImage->Bitmap();

    if (ShowsSource()) {
        TBitmap32 copy;
        copy.Assign(LastFrame.get());
        copy.FrameRectS(crop.Left, crop.Top, width - crop.Right, height - crop.Bottom, kCropFrameColour);
        ShowCentred(&copy);
        DrawOutlinedText(image, 5, 5, "Source File: " + ExtractFileName(EditedJob->VideoInfo.GetFileName()));
        std::string size = "FrameSize: " + std::to_string(width) + "x" + std::to_string(height);
        if (EditedJob->VideoInfo.GetDecoderKind() == 1) {
            const VideoStreamInfo& stream = EditedJob->VideoInfo.GetVideoStream(EditedJob->VideoStreamIndex);
            size += " (" + std::to_string(stream.AspectX) + ":" + std::to_string(stream.AspectY) + ")";
        }
        DrawOutlinedText(image, 5, 25, size);
    } else {
        int32_t outWidth = 0;
        int32_t outHeight = 0;
        std::unique_ptr<TBitmap32> output = OutputPicture(LastFrame.get(), outWidth, outHeight);
        if (output) {
            ShowCentred(output.get());
        } else {
            // The crop leaves no pixels: there is no picture to show, only the texts.
            image->FillRectS(0, 0, image->Width(), image->Height(), kBandColour);
        }
        const TVideoProfile* profile = EditedJob->GetProfile();
        DrawOutlinedText(image, 5, 5, "Profile: " + (profile ? profile->ProfileName : std::string()));
        DrawOutlinedText(
            image, 5, 25, "Output FrameSize: " + std::to_string(outWidth) + "x" + std::to_string(outHeight));
    }
    PreviewImage->Changed();
}

std::unique_ptr<TBitmap32> TAdvanceForm::OutputPicture(TBitmap32* frame, int32_t& outWidth, int32_t& outHeight)
{
    const TRect kept = CropRectIn(frame->Width(), frame->Height(), CropOf(*this));
    const int32_t cropWidth = kept.Right - kept.Left;
    const int32_t cropHeight = kept.Bottom - kept.Top;
    const TVideoProfile* profile = EditedJob->GetProfile();
    outWidth = profile && profile->Width > 0 ? profile->Width : cropWidth;
    outHeight = profile && profile->Height > 0 ? profile->Height : cropHeight;
    if (cropWidth <= 0 || cropHeight <= 0 || outWidth <= 0 || outHeight <= 0)
        return nullptr;

    TBitmap32 cropped;
    cropped.SetSize(cropWidth, cropHeight);
    cropped.SetStretchFilter(sfLinear);
    cropped.Draw(TRect { 0, 0, cropWidth, cropHeight }, kept, frame);

    auto output = std::make_unique<TBitmap32>();
    output->SetSize(outWidth, outHeight);
    const TLetterbox box = LetterboxOf(outWidth, outHeight, cropWidth, cropHeight, chkFixAspectRatio->Checked());
    // The bars are what the picture leaves uncovered.
    output->Clear(kBarColour);
    output->Draw(TRect { box.Left, box.Top, box.Right, box.Bottom }, TRect { 0, 0, cropWidth, cropHeight }, &cropped);
    return output;
}

void TAdvanceForm::ShowCentred(TBitmap32* picture)
{
    TBitmap32* image = PreviewImage->Bitmap();
    const int32_t imageWidth = image->Width();
    const int32_t imageHeight = image->Height();
    const TCentredPicture place = TCentredPicture::In(imageWidth, imageHeight, picture->Width(), picture->Height());
    image->Draw(place.X, place.Y, picture);
    const int32_t right = place.X + place.Width;
    const int32_t bottom = place.Y + place.Height;
    image->FillRectS(0, 0, place.X, imageHeight, kBandColour);
    image->FillRectS(place.X, 0, right, place.Y, kBandColour);
    image->FillRectS(right, 0, imageWidth, imageHeight, kBandColour);
    image->FillRectS(place.X, bottom, right, imageHeight, kBandColour);
}

void TAdvanceForm::DrawOutlinedText(TBitmap32* bitmap, int x, int y, const std::string& text)
{
    bitmap->Font()->SetColor(clWhite);
    bitmap->Textout(x - 1, y, text);
    bitmap->Textout(x + 1, y, text);
    bitmap->Textout(x, y - 1, text);
    bitmap->Textout(x, y + 1, text);
    bitmap->Font()->SetColor(clBlack);
    bitmap->Textout(x, y, text);
}

void TAdvanceForm::RedrawLastFrame()
{
    if (LastFrame)
        DrawPreviewFrame(LastFrame.get());
}

void TAdvanceForm::RedrawWhenStill()
{
    // A playing preview brings its next frame soon, drawn with the new crop.
    const DecoderState state = SharedDecoder ? SharedDecoder->GetState() : dsStopped;
    if (state == dsPaused || state == dsStopped)
        RedrawLastFrame();
}

void TAdvanceForm::edtCropLeftChange(TObject*)
{
    RedrawLastFrame();
}

void TAdvanceForm::chkFixAspectRatioClick(TObject*)
{
    RedrawLastFrame();
}

void TAdvanceForm::chkSourceMovieClick(TObject*)
{
    RedrawLastFrame();
}

void TAdvanceForm::PreviewImageResize(TObject*)
{
    PreviewImage->Bitmap()->SetSize(PreviewImage->Width(), PreviewImage->Height());
    PreviewImage->Bitmap()->Clear(Img32::Color32(60, 60, 60));
    RedrawLastFrame();
}

void TAdvanceForm::btnResetClick(TObject*)
{
    edtCropLeft->SetValue(0);
    edtCropTop->SetValue(0);
    edtCropRight->SetValue(0);
    edtCropBottom->SetValue(0);
}

void TAdvanceForm::btnAutoCropClick(TObject*)
{
    AutoCrop(LastFrame.get());
    RedrawLastFrame();
}

void TAdvanceForm::AutoCrop(TBitmap32* frame)
{
    if (!frame)
        return;
    const TCropEdges edges = AutoCropEdges(*frame);
    SetCropEdits(edges.Left, edges.Right, edges.Top, edges.Bottom);
}

// ---- The crop by mouse, over the source picture ------------------------------------------------------------------

void TAdvanceForm::PreviewImageMouseDown(TObject*, TMouseButton button, TShiftState shift, int x, int y, TCustomLayer*)
{
    if (!ShowsSource() || !LastFrame || !(button == mbLeft || shift.Contains(ssLeft)))
        return;
    const TCentredPicture picture
        = TCentredPicture::In(PreviewImage->Width(), PreviewImage->Height(), LastFrame->Width(), LastFrame->Height());
    if (!picture.Contains(x, y))
        return;
    CropDragging = true;
    DragStartX = x;
    DragStartY = y;
    const TCropEdges crop = picture.CropAtPress(x, y, CropOf(*this));
    SetCropEdits(crop.Left, crop.Right, crop.Top, crop.Bottom);
    RedrawWhenStill();
}

void TAdvanceForm::PreviewImageMouseMove(TObject*, TShiftState shift, int x, int y, TCustomLayer*)
{
    const TCentredPicture picture = LastFrame
        ? TCentredPicture::In(PreviewImage->Width(), PreviewImage->Height(), LastFrame->Width(), LastFrame->Height())
        : TCentredPicture {};
    if (!LastFrame || !ShowsSource() || !picture.Contains(x, y)) {
        PreviewImage->SetCursor(crDefault);
        return;
    }
    PreviewImage->SetCursor(crCross);
    if (!shift.Contains(ssLeft) || !CropDragging)
        return;
    const TCropEdges crop = picture.CropOfDrag(DragStartX, DragStartY, x, y);
    SetCropEdits(crop.Left, crop.Right, crop.Top, crop.Bottom);
    RedrawWhenStill();
}

void TAdvanceForm::PreviewImageMouseUp(TObject*, TMouseButton, TShiftState, int, int, TCustomLayer*)
{
    if (!CropDragging)
        return;
    CropDragging = false;
    DragStartX = 0;
    DragStartY = 0;
    if (!LastFrame)
        return;
    const TCentredPicture picture
        = TCentredPicture::In(PreviewImage->Width(), PreviewImage->Height(), LastFrame->Width(), LastFrame->Height());
    // A click, or a rectangle too thin to keep, clears the crop (each edit redrawing as it changes).
    if (picture.CropAtRelease(CropOf(*this)) == TCropEdges {})
        btnResetClick(nullptr);
}

#include "app/TSelectStreamForm.h"

#include "app/AppDialog.h"
#include "engine/AppServices.h"
#include "engine/TVideoInfoReader.h"
#include "framework/controls/TApplication.h"
#include "framework/core/TStrings.h"
#include "framework/core/SysUtils.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinPanels.h"
#include "skin/lists/TspSkinComboBox.h"

#include <cstring>
#include <memory>

namespace {

// A codec name as the probe stores it: up to its terminating zero, and never past its field.
template <size_t N> std::string CodecName(const char (&name)[N])
{
    return std::string(name, strnlen(name, N));
}

} // namespace

TSelectStreamForm::TSelectStreamForm(TComponent* owner, const TVideoInfoReader* info)
    : TForm(owner)
{
    // The caption shows one ampersand.
    SetCaption("Select a video & audio stream ");
    SkinAppDialog(this);
    SetClientWidth(480);
    SetClientHeight(176);

    TspSkinPanel* client = PlacePanel(this, 0, 0, 480, 132, alClient);
    PlaceLabel(client, 12, 14, "File:");
    lblFileName = PlaceLabel(client, 110, 14, "", 358);
    lblFileName->SetShowHint(true);
    PlaceLabel(client, 12, 50, "Video Streams:");
    cbVideoStream = PlaceSkinned<TspSkinComboBox>(client, 110, 46, 358, 21);
    PlaceLabel(client, 12, 88, "Audio Streams:");
    cbAudioStream = PlaceSkinned<TspSkinComboBox>(client, 110, 84, 358, 21);

    TspSkinPanel* bottom = PlacePanel(this, 0, 132, 480, 44, alBottom);
    btnOK = PlaceSkinned<TspSkinButton>(bottom, 388, 10, 80, 25);
    btnOK->SetCaption("&OK");
    btnOK->SetDefault(true);
    btnOK->SetModalResult(1);
    OnKeyDown = [this](TObject* sender, uint16_t& key, TShiftState shift) { FormKeyDown(sender, key, shift); };

    if (!info)
        return;
    lblFileName->SetCaption(info->GetFileName());
    lblFileName->SetHint(info->GetFileName());
    for (int i = 0; i < info->GetVideoStreamCount(); ++i)
        cbVideoStream->Items()->Add(VideoStreamText(*info, i));
    for (int i = 0; i < info->GetAudioStreamCount(); ++i)
        cbAudioStream->Items()->Add(AudioStreamText(*info, i));
    if (cbVideoStream->Items()->Count() > 0)
        cbVideoStream->SetItemIndex(0);
    if (cbAudioStream->Items()->Count() > 0)
        cbAudioStream->SetItemIndex(0);
}

std::string TSelectStreamForm::VideoStreamText(const TVideoInfoReader& info, int index)
{
    const VideoStreamInfo& stream = info.GetVideoStream(index);
    return Format("Video Stream %d : %d x %d (%d : %d), %.3f fps, Video Codec: %s", index + 1, stream.Width,
        stream.Height, stream.AspectX, stream.AspectY, stream.FrameRate, CodecName(stream.CodecName));
}

std::string TSelectStreamForm::AudioStreamText(const TVideoInfoReader& info, int index)
{
    const AudioStreamInfo& stream = info.GetAudioStream(index);
    return Format("Audio Stream %d : %d Hz, %d channels, Audio Codec: %s", index + 1, stream.SampleRate,
        stream.Channels, CodecName(stream.CodecName));
}

void TSelectStreamForm::FormKeyDown(TObject*, uint16_t& key, TShiftState)
{
    if (key == 27)
        Close();
}

void InstallStreamChoiceWindow()
{
    SetChooseStreamsHandler([](const TVideoInfoReader& info, int32_t& videoStreamIndex, int32_t& audioStreamIndex) {
        std::unique_ptr<TSelectStreamForm> form(TCustomForm::Create<TSelectStreamForm>(Application, &info));
        form->ShowModal();
        videoStreamIndex = form->cbVideoStream->ItemIndex();
        audioStreamIndex = form->cbAudioStream->ItemIndex();
    });
}

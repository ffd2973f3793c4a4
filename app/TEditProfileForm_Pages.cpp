// TEditProfileForm: the eight format pages: their item lists, the choices that change other controls, and the
// operations that copy a profile into a page's controls and back.
#include "app/ProfileChoices.h"
#include "app/TEditProfileForm.h"
#include "app/TEditProfileForm_Choices.h"
#include "engine/FormatProfiles.h"
#include "engine/TResourceForm.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinSpinEdit.h"
#include "skin/lists/TspSkinComboBox.h"

using namespace ProfileFormatTables;

namespace {

const std::vector<std::string> kChannels { "1 (Mono)", "2 (Stereo)" };
const std::vector<double> kChannelValues { 1, 2 };

std::vector<double> Indices(size_t count)
{
    std::vector<double> values;
    for (size_t i = 0; i < count; ++i)
        values.push_back(static_cast<double>(i));
    return values;
}

// A list whose items stand for their own index (codes), `selected` chosen.
void FillCodes(TValueChoice& choice, const std::vector<std::string>& texts, int selected)
{
    choice.Fill(texts, Indices(texts.size()), selected);
}

void FillChannels(TValueChoice& choice)
{
    choice.Fill(kChannels, kChannelValues, 1);
}

// A bit-rate edit in kbit/s.
void SetUpBitrate(TspSkinSpinEdit* edit, int value, int increment)
{
    edit->SetMinValue(0);
    edit->SetMaxValue(100000);
    edit->SetIncrement(increment);
    edit->SetValue(value);
}

int32_t Kbps(const TspSkinSpinEdit* edit)
{
    return static_cast<int32_t>(edit->Value()) * 1000;
}
void ShowKbps(TspSkinSpinEdit* edit, int32_t bitsPerSecond)
{
    edit->SetValue(bitsPerSecond / 1000);
}

// Copies one of the resource holder's name lists into a page's choice; its first item is chosen.
void CopyList(const TResourceComboList& source, TspSkinComboBox* target)
{
    target->Items()->Clear();
    for (int i = 0; i < source.Items.Count(); ++i)
        target->Items()->Add(source.Items.Strings(i));
    if (target->Items()->Count() > 0)
        target->SetItemIndex(0);
}

// The CBR/VBR pair of a page: the maximum edit is enabled while the VBR radio is enabled and ticked, the minimum
// edit (when the page has one) while the maximum edit is.
void ApplyBitrateMode(TspSkinCheckRadioBox* vbr, TspSkinSpinEdit* maximum, TspSkinSpinEdit* minimum)
{
    maximum->SetEnabled(vbr->Enabled() && vbr->Checked());
    if (minimum)
        minimum->SetEnabled(maximum->Enabled());
}

} // namespace

TEditProfileForm::TChoices::TChoices(TEditProfileForm& f)
    : AVIFrameRate(f.cbAVIFrameRate)
    , AVIVideoCodec(f.cbAVIVideoCodec)
    , AVIAudioCodec(f.cbAVI_AudioCodec)
    , AVIFrequency(f.cbAVIFrequency)
    , AVIChannels(f.cbAVIChannels)
    , AVIAudioBitrate(f.cbAVIAudioBitrate)
    , MPEGFrameRate(f.cbMPEGFrameRate)
    , MPEGAudioType(f.cbMPEGAudioType)
    , MPEGFrequency(f.cbMPEGFrequency)
    , MPEGChannels(f.cbMPEGChannels)
    , MPEGAudioBitrate(f.cbMPEGAudioBitrate)
    , MP4FrameRate(f.cbMP4FrameRate)
    , MP4VideoCodec(f.cbMP4VideoCodec)
    , MP4Frequency(f.cbMP4Frequency)
    , MP4Channels(f.cbMP4Channels)
    , MP4AudioBitrate(f.cbMP4AudioBitrate)
    , MOVFrameRate(f.cbMOVFrameRate)
    , MOVVideoCodec(f.cbMOVVideoCodec)
    , MOVFrequency(f.cbMOVFrequency)
    , MOVChannels(f.cbMOVChannels)
    , MOVAudioBitrate(f.cbMOVAudioBitrate)
    , FLVFrameRate(f.cbFLVFrameRate)
    , FLVFrequency(f.cbFLVFrequency)
    , FLVChannels(f.cbFLVChannels)
    , FLVAudioBitrate(f.cbFLVAudioBitrate)
    , WMVFrameRate(f.cbWMVFrameRate)
    , WMVVersion(f.cbWMVVersion)
    , SystemProfile(f.cbSystemProfile)
    , WMVAudioFormat(f.cbWMVAudioFormat)
    , RealFrameRate(f.cbRealFrameRate)
    , RealVideoCodec(f.cbRealVideoCodec)
    , RealAudioFormat(f.cbRealAudioFormat)
    , Format3GP(f.cb3GPFormat)
    , VideoCodec3GP(f.cb3GPVideoCodec)
    , FrameSize3GP(f.cb3GPFrameSize)
    , FrameRate3GP(f.cb3GPFrameRate)
    , VideoBitrate3GP(f.cb3GPVideoBitrate)
    , AudioCodec3GP(f.cb3GPAudioCodec)
    , Frequency3GP(f.cb3GPFrequency)
    , Channels3GP(f.cb3GPChannels)
    , AudioBitrate3GP(f.cb3GPAudioBitrate)
{
}

// ---- The item lists, the layout's values, and the dependent states ---------------------------------------------

void TEditProfileForm::SetUpFormatPages()
{
    FChoices = std::make_unique<TChoices>(*this);
    TChoices& c = *FChoices;
    const TSizeList sizeLists[8] = { TSizeList::Base, TSizeList::Base, TSizeList::MPEG, TSizeList::Wide,
        TSizeList::Base, TSizeList::Base, TSizeList::Wide, TSizeList::Wide };
    struct TUnitControls {
        VideoFormatType Type;
        TspSkinComboBox* Choice;
        TspSkinSpinEdit* Width;
        TspSkinSpinEdit* Height;
    };
    const TUnitControls units[] = { { vfAVI, cbAVIFrameSize, edtAVIWidth, edtAVIHeight },
        { vfMPEG, cbMPEGFrameSize, edtMPEGWidth, edtMPEGHeight }, { vfMP4, cbMP4FrameSize, edtMP4Width, edtMP4Height },
        { vfWMV, cbWMVFrameSize, edtWMVWidth, edtWMVHeight }, { vfReal, cbRealFrameSize, edtRealWidth, edtRealHeight },
        { vfMOV, cbMOVFrameSize, edtMOVWidth, edtMOVHeight }, { vfFLV, cbFLVFrameSize, edtFLVWidth, edtFLVHeight } };
    for (const TUnitControls& u : units) {
        auto unit = std::make_unique<TFrameSizeUnit>(u.Choice, u.Width, u.Height, FrameSizes(sizeLists[u.Type]));
        unit->Initialize(DefaultFrameSizeIndex(sizeLists[u.Type]));
        for (TspSkinSpinEdit* edit : { u.Width, u.Height })
            edit->OnEditExit = [this](TObject* sender) { edtFLVWidthEditExit(sender); };
        FrameSizeUnits[u.Type] = std::move(unit);
    }

    // AVI.
    c.AVIFrameRate.Fill(FrameRates(TRateList::AVI), 8);
    FillCodes(c.AVIVideoCodec,
        { "MPEG4", "DIVX", "XVID", "MSMPEG4 V1", "MSMPEG4 V2", "MSMPEG4 V3", "Motion JPEG", "H264", "ZLIB",
            "Uncompressed" },
        0);
    SetUpBitrate(edtAVIVideoBitrate, 1500, 50);
    SetUpBitrate(edtAVIVideoVBRMaxBitrate, 1500, 50);
    SetUpBitrate(edtAVIVideoVBRMinBitrate, 1500, 50);
    FillCodes(c.AVIAudioCodec, { "MP3", "PCM", "ADPCM", "A-LAW", "U-LAW", "AC3", "MP2", "OGG Vorbis", "AAC" }, 0);
    c.AVIFrequency.Fill(Frequencies(TAudioList::AVI), 1);
    FillChannels(c.AVIChannels);
    c.AVIAudioBitrate.Fill(AudioBitrates(TAudioList::AVI), 4);
    rbAVIUseCBR->SetChecked(true);

    // MPEG.
    c.MPEGFrameRate.Fill(FrameRates(TRateList::MPEG), 0);
    SetUpBitrate(edtMPEGVideoBitrate, 1500, 50);
    SetUpBitrate(edtMPEGVideoVBRMaxBitrate, 1500, 50);
    SetUpBitrate(edtMPEGVideoVBRMinBitrate, 1500, 50);
    rbMPEG2->SetChecked(true);
    rbMPEGUseCBR->SetChecked(true);
    FillCodes(c.MPEGAudioType, { "MPEG-1 Audio Layer2", "AC3" }, 0);
    c.MPEGFrequency.Fill(Frequencies(TAudioList::MPEG), 1);
    FillChannels(c.MPEGChannels);
    c.MPEGAudioBitrate.Fill(AudioBitrates(TAudioList::MPEG), 10);

    // MP4 and MOV.
    c.MP4FrameRate.Fill(FrameRates(TRateList::MP4), 9);
    FillCodes(c.MP4VideoCodec, { "MPEG4", "DIVX", "XVID", "H264(AVC)" }, 0);
    SetUpBitrate(edtMP4VideoBitrate, 1500, 50);
    SetUpBitrate(edtMP4VideoVBRMaxBitrate, 1500, 50);
    SetUpBitrate(edtMP4VideoVBRMinBitrate, 1500, 50);
    rbMP4UseCBR->SetChecked(true);
    c.MP4Frequency.Fill(Frequencies(TAudioList::MP4), 0);
    FillChannels(c.MP4Channels);
    c.MP4AudioBitrate.Fill(AudioBitrates(TAudioList::MP4), 7);
    c.MOVFrameRate.Fill(FrameRates(TRateList::MP4), 9);
    FillCodes(c.MOVVideoCodec, { "MPEG4", "DIVX", "XVID", "H264(AVC)", "Motion JPEG", "Sorenson 1" }, 0);
    SetUpBitrate(edtMOVVideoBitrate, 1500, 50);
    c.MOVFrequency.Fill(Frequencies(TAudioList::MP4), 0);
    FillChannels(c.MOVChannels);
    c.MOVAudioBitrate.Fill(AudioBitrates(TAudioList::MP4), 7);

    // FLV.
    c.FLVFrameRate.Fill(FrameRates(TRateList::FLV), 0);
    cbFLVVideoCodec->Items()->Add("Sorenson Spark");
    cbFLVVideoCodec->SetItemIndex(0);
    SetUpBitrate(edtFLVVideoBitrate, 1500, 50);
    c.FLVFrequency.Fill(Frequencies(TAudioList::FLV), 0);
    FillChannels(c.FLVChannels);
    c.FLVAudioBitrate.Fill(AudioBitrates(TAudioList::FLV), 4);

    // WMV.
    c.WMVFrameRate.Fill(FrameRates(TRateList::WMV), 14);
    SetUpBitrate(edtWMVVideoBitrate, 768, 100);
    FillCodes(c.WMVVersion, { "Windows Media Video 7", "Windows Media Video 8", "Windows Media Video 9" }, 1);
    edtWMVVBRQuality->SetMinValue(1);
    edtWMVVBRQuality->SetMaxValue(100);
    edtWMVVBRQuality->SetMaxLength(3);
    edtWMVVBRQuality->SetValue(90);

    // Real.
    c.RealFrameRate.Fill(FrameRates(TRateList::WMV), 10);
    FillCodes(c.RealVideoCodec, { "Real Video 8 (CBR)", "Real Video 9 (CBR & VBR)", "Real Video 10 (CBR & VBR)" }, 0);
    SetUpBitrate(edtRealVideoBitrate, 768, 50);
    SetUpBitrate(edtRealVideoVBRMaxBitrate, 1500, 50);
    rbRealUseCBR->SetChecked(true);

    // 3GP.
    FillCodes(c.Format3GP,
        { "3GPP - 3rd Generation Partnership Project (*.3gp)", "3GPP2 - 3rd Generation Partnership Project 2 (*.3g2)" },
        0);
    FillCodes(c.VideoCodec3GP, { "H263", "MPEG4", "XVID" }, 0);
    c.VideoBitrate3GP.Fill(VideoBitrates3GP(), 3);
    edt3GPBitrateTolerance->SetMinValue(0);
    edt3GPBitrateTolerance->SetMaxValue(512);
    edt3GPBitrateTolerance->SetIncrement(10);
    edt3GPBitrateTolerance->SetMaxLength(3);
    edt3GPBitrateTolerance->SetValue(60);
    FillCodes(c.AudioCodec3GP, { "AMR-NB", "AMR-WB", "AAC" }, 0);

    // The choices that change other controls, bound once the lists hold their items, then applied once.
    rbAVIUseCBR->OnClick = rbAVIUseVBR->OnClick = [this](TObject* sender) { rbAVIUseCBRClick(sender); };
    cbAVIVideoCodec->OnChange = [this](TObject* sender) { cbAVIVideoCodecChange(sender); };
    cbAVI_AudioCodec->OnChange = [this](TObject* sender) { cbAVI_AudioCodecChange(sender); };
    rbMPEGUseCBR->OnClick = rbMPEGUseVBR->OnClick = [this](TObject* sender) { rbMPEGUseCBRClick(sender); };
    rbMP4UseCBR->OnClick = rbMP4UseVBR->OnClick = [this](TObject* sender) { rbMP4UseCBRClick(sender); };
    cbMP4VideoCodec->OnChange = [this](TObject* sender) { cbMP4VideoCodecChange(sender); };
    cbMOVVideoCodec->OnChange = [this](TObject* sender) { cbMOVVideoCodecChange(sender); };
    chkUseSystemProfile->OnClick = [this](TObject* sender) { chkUseSystemProfileClick(sender); };
    chkWMVUseVBR->OnClick = [this](TObject* sender) { chkWMVUseVBRClick(sender); };
    cbRealVideoCodec->OnChange = [this](TObject* sender) { cbRealVideoCodecChange(sender); };
    rbRealUseCBR->OnClick = rbRealUseVBR->OnClick = [this](TObject* sender) { rbRealUseCBRClick(sender); };
    cb3GPVideoCodec->OnChange = [this](TObject* sender) { cb3GPVideoCodecChange(sender); };
    cb3GPAudioCodec->OnChange = [this](TObject* sender) { cb3GPAudioCodecChange(sender); };
    rbAVIUseCBRClick(nullptr);
    cbAVI_AudioCodecChange(nullptr);
    rbMPEGUseCBRClick(nullptr);
    rbMP4UseCBRClick(nullptr);
    chkWMVUseVBRClick(nullptr);
    cbRealVideoCodecChange(nullptr);
    chkUseSystemProfileClick(nullptr);
    cb3GPVideoCodecChange(nullptr);
    cb3GPAudioCodecChange(nullptr);

    if (ResourceForm) {
        CopyList(ResourceForm->cbSystemProfile, cbSystemProfile);
        CopyList(ResourceForm->cbWMVAudioFormat, cbWMVAudioFormat);
        CopyList(ResourceForm->cbRealAudioFormat, cbRealAudioFormat);
    }
}

void TEditProfileForm::rbAVIUseCBRClick(TObject*)
{
    ApplyBitrateMode(rbAVIUseVBR, edtAVIVideoVBRMaxBitrate, edtAVIVideoVBRMinBitrate);
}

void TEditProfileForm::cbAVIVideoCodecChange(TObject*)
{
    FrameSizeUnits[vfAVI]->SetIncrement(cbAVIVideoCodec->ItemIndex() == 7 ? 16 : 2);
}

void TEditProfileForm::cbAVI_AudioCodecChange(TObject*)
{
    // PCM, ADPCM, A-law and u-law have no bit rate to choose.
    const int codec = cbAVI_AudioCodec->ItemIndex();
    cbAVIAudioBitrate->SetEnabled(codec < 1 || codec > 4);
}

void TEditProfileForm::rbMPEGUseCBRClick(TObject*)
{
    ApplyBitrateMode(rbMPEGUseVBR, edtMPEGVideoVBRMaxBitrate, edtMPEGVideoVBRMinBitrate);
}

void TEditProfileForm::rbMP4UseCBRClick(TObject*)
{
    ApplyBitrateMode(rbMP4UseVBR, edtMP4VideoVBRMaxBitrate, edtMP4VideoVBRMinBitrate);
}

void TEditProfileForm::cbMP4VideoCodecChange(TObject*)
{
    FrameSizeUnits[vfMP4]->SetIncrement(cbMP4VideoCodec->ItemIndex() == 3 ? 16 : 2);
}

void TEditProfileForm::cbMOVVideoCodecChange(TObject*)
{
    FrameSizeUnits[vfMOV]->SetIncrement(cbMOVVideoCodec->ItemIndex() == 3 ? 16 : 2);
}

void TEditProfileForm::chkUseSystemProfileClick(TObject*)
{
    const bool system = chkUseSystemProfile->Checked();
    cbSystemProfile->SetEnabled(system);
    // A system profile chosen for the first time starts on the first one.
    if (system && cbSystemProfile->ItemIndex() < 0 && cbSystemProfile->Items()->Count() > 0)
        cbSystemProfile->SetItemIndex(0);
    for (TControl* control : std::initializer_list<TControl*> { cbWMVFrameSize, edtWMVWidth, edtWMVHeight, cbWMVVersion,
             edtWMVVideoBitrate, chkWMVUseVBR, edtWMVVBRQuality, cbWMVAudioFormat })
        control->SetEnabled(!system);
    chkWMVUseVBRClick(nullptr);
}

void TEditProfileForm::chkWMVUseVBRClick(TObject*)
{
    edtWMVVBRQuality->SetEnabled(chkWMVUseVBR->Enabled() && chkWMVUseVBR->Checked());
}

void TEditProfileForm::cbRealVideoCodecChange(TObject*)
{
    // Real Video 8 codes at a constant bit rate only.
    if (cbRealVideoCodec->ItemIndex() == 0) {
        rbRealUseVBR->SetEnabled(false);
        edtRealVideoVBRMaxBitrate->SetEnabled(false);
        rbRealUseCBR->SetEnabled(false);
        rbRealUseCBR->SetChecked(true);
        return;
    }
    rbRealUseVBR->SetEnabled(true);
    edtRealVideoVBRMaxBitrate->SetEnabled(true);
    rbRealUseCBR->SetEnabled(true);
    rbRealUseCBRClick(nullptr);
}

void TEditProfileForm::rbRealUseCBRClick(TObject*)
{
    // While Real Video 8 holds the radios disabled, the maximum edit stays disabled with them.
    edtRealVideoVBRMaxBitrate->SetEnabled(rbRealUseVBR->Enabled() && rbRealUseVBR->Checked());
}

void TEditProfileForm::cb3GPVideoCodecChange(TObject*)
{
    TChoices& c = *FChoices;
    const int codec = cb3GPVideoCodec->ItemIndex();
    std::vector<std::string> texts;
    std::vector<double> entries;
    const TCodecLists3GP sizes = FrameSizes3GP(codec);
    for (const TNumberItem& item : sizes.Items) {
        texts.push_back(item.Text);
        entries.push_back(item.Value);
    }
    c.FrameSize3GP.Fill(texts, entries, sizes.Default);
    // The rate items stand for the rates of their entries.
    texts.clear();
    std::vector<double> rates;
    const TCodecLists3GP rateItems = FrameRates3GP(codec);
    for (const TNumberItem& item : rateItems.Items) {
        texts.push_back(item.Text);
        rates.push_back(Rates3GP()[static_cast<size_t>(item.Value)]);
    }
    c.FrameRate3GP.Fill(texts, rates, rateItems.Default);
}

void TEditProfileForm::cb3GPAudioCodecChange(TObject*)
{
    TChoices& c = *FChoices;
    const int codec = cb3GPAudioCodec->ItemIndex();
    auto fill = [](TValueChoice& choice, const TCodecLists3GP& lists, std::span<const int32_t> table) {
        std::vector<std::string> texts;
        std::vector<double> values;
        for (const TNumberItem& item : lists.Items) {
            texts.push_back(item.Text);
            values.push_back(table.empty() ? item.Value : table[static_cast<size_t>(item.Value)]);
        }
        choice.Fill(texts, values, lists.Default);
    };
    fill(c.Frequency3GP, AudioFrequencies3GP(codec), Frequencies3GP());
    fill(c.Channels3GP, AudioChannels3GP(codec), {});
    fill(c.AudioBitrate3GP, AudioBitrateItems3GP(codec), AudioBitrates3GP());
}

void TEditProfileForm::edtFLVWidthEditExit(TObject* sender)
{
    if (auto* edit = dynamic_cast<TspSkinSpinEdit*>(sender))
        RoundToIncrement(edit);
}

// ---- Show and read ---------------------------------------------------------------------------------------------

void TEditProfileForm::ShowProfileAVI(const TAVIProfile* p)
{
    if (!p)
        return ShowProfile(nullptr);
    TChoices& c = *FChoices;
    ActivateFormatPage(vfAVI, p->ProfileName);
    FrameSizeUnits[vfAVI]->Show(p->Width, p->Height);
    c.AVIFrameRate.Show(p->FrameRate);
    c.AVIVideoCodec.Show(p->AVIVideoCodec);
    ShowKbps(edtAVIVideoBitrate, p->VideoBitrate);
    if (p->UseVBR) {
        rbAVIUseVBR->SetChecked(true);
        ShowKbps(edtAVIVideoVBRMaxBitrate, p->VideoVBRMaxBitrate);
        ShowKbps(edtAVIVideoVBRMinBitrate, p->VideoVBRMinBitrate);
    } else {
        rbAVIUseCBR->SetChecked(true);
        ShowKbps(edtAVIVideoVBRMaxBitrate, p->VideoBitrate);
        edtAVIVideoVBRMinBitrate->SetValue(0);
    }
    c.AVIAudioCodec.Show(p->AVIAudioCodec);
    c.AVIFrequency.Show(p->AudioFrequency);
    c.AVIChannels.Show(p->AudioChannels);
    c.AVIAudioBitrate.Show(p->AudioBitrate);
    ShowOnlyPanel(vfAVI);
}

void TEditProfileForm::ReadProfileAVI(TAVIProfile* p)
{
    TChoices& c = *FChoices;
    p->Width = FrameSizeUnits[vfAVI]->Width();
    p->Height = FrameSizeUnits[vfAVI]->Height();
    p->FrameRate = c.AVIFrameRate.Read();
    p->AVIVideoCodec = static_cast<int8_t>(c.AVIVideoCodec.ReadInt());
    p->VideoBitrate = Kbps(edtAVIVideoBitrate);
    p->UseVBR = rbAVIUseVBR->Checked();
    p->VideoVBRMaxBitrate = p->UseVBR ? Kbps(edtAVIVideoVBRMaxBitrate) : p->VideoBitrate;
    p->VideoVBRMinBitrate = p->UseVBR ? Kbps(edtAVIVideoVBRMinBitrate) : 0;
    p->AVIAudioCodec = static_cast<int8_t>(c.AVIAudioCodec.ReadInt());
    p->AudioFrequency = c.AVIFrequency.ReadInt();
    p->AudioChannels = c.AVIChannels.ReadInt();
    p->AudioBitrate = c.AVIAudioBitrate.ReadInt();
    ReadAdditionalParams(p);
}

void TEditProfileForm::ShowProfileMPEG(const TMPEGProfile* p)
{
    if (!p)
        return ShowProfile(nullptr);
    TChoices& c = *FChoices;
    ActivateFormatPage(vfMPEG, p->ProfileName);
    FrameSizeUnits[vfMPEG]->Show(p->Width, p->Height);
    c.MPEGFrameRate.Show(p->FrameRate);
    ShowKbps(edtMPEGVideoBitrate, p->VideoBitrate);
    (p->MPEGVersion != 0 ? rbMPEG2 : rbMPEG1)->SetChecked(true);
    if (p->UseVBR) {
        rbMPEGUseVBR->SetChecked(true);
        ShowKbps(edtMPEGVideoVBRMaxBitrate, p->VideoVBRMaxBitrate);
        ShowKbps(edtMPEGVideoVBRMinBitrate, p->VideoVBRMinBitrate);
    } else {
        rbMPEGUseCBR->SetChecked(true);
        ShowKbps(edtMPEGVideoVBRMaxBitrate, p->VideoBitrate);
        edtMPEGVideoVBRMinBitrate->SetValue(0);
    }
    c.MPEGAudioType.Show(p->MPEGAudioType);
    c.MPEGFrequency.Show(p->AudioFrequency);
    c.MPEGChannels.Show(p->AudioChannels);
    c.MPEGAudioBitrate.Show(p->AudioBitrate);
    ShowOnlyPanel(vfMPEG);
}

void TEditProfileForm::ReadProfileMPEG(TMPEGProfile* p)
{
    TChoices& c = *FChoices;
    p->MPEGVersion = rbMPEG1->Checked() ? 0 : 1;
    p->Width = FrameSizeUnits[vfMPEG]->Width();
    p->Height = FrameSizeUnits[vfMPEG]->Height();
    p->FrameRate = c.MPEGFrameRate.Read();
    p->VideoBitrate = Kbps(edtMPEGVideoBitrate);
    p->UseVBR = rbMPEGUseVBR->Checked();
    p->VideoVBRMaxBitrate = p->UseVBR ? Kbps(edtMPEGVideoVBRMaxBitrate) : p->VideoBitrate;
    p->VideoVBRMinBitrate = p->UseVBR ? Kbps(edtMPEGVideoVBRMinBitrate) : 0;
    p->MPEGAudioType = static_cast<int8_t>(c.MPEGAudioType.ReadInt());
    p->AudioFrequency = c.MPEGFrequency.ReadInt();
    p->AudioChannels = c.MPEGChannels.ReadInt();
    p->AudioBitrate = c.MPEGAudioBitrate.ReadInt();
    ReadAdditionalParams(p);
}

void TEditProfileForm::ShowProfileMP4(const TMP4Profile* p)
{
    if (!p)
        return ShowProfile(nullptr);
    TChoices& c = *FChoices;
    ActivateFormatPage(vfMP4, p->ProfileName);
    FrameSizeUnits[vfMP4]->Show(p->Width, p->Height);
    c.MP4FrameRate.Show(p->FrameRate);
    c.MP4VideoCodec.Show(p->MP4VideoCodec);
    ShowKbps(edtMP4VideoBitrate, p->VideoBitrate);
    if (p->UseVBR) {
        rbMP4UseVBR->SetChecked(true);
        ShowKbps(edtMP4VideoVBRMaxBitrate, p->VideoVBRMaxBitrate);
        ShowKbps(edtMP4VideoVBRMinBitrate, p->VideoVBRMinBitrate);
    } else {
        rbMP4UseCBR->SetChecked(true);
        ShowKbps(edtMP4VideoVBRMaxBitrate, p->VideoBitrate);
        edtMP4VideoVBRMinBitrate->SetValue(0);
    }
    c.MP4Frequency.Show(p->AudioFrequency);
    c.MP4Channels.Show(p->AudioChannels);
    c.MP4AudioBitrate.Show(p->AudioBitrate);
    ShowOnlyPanel(vfMP4);
}

void TEditProfileForm::ReadProfileMP4(TMP4Profile* p)
{
    TChoices& c = *FChoices;
    p->Width = FrameSizeUnits[vfMP4]->Width();
    p->Height = FrameSizeUnits[vfMP4]->Height();
    p->FrameRate = c.MP4FrameRate.Read();
    p->MP4VideoCodec = static_cast<int8_t>(c.MP4VideoCodec.ReadInt());
    p->VideoBitrate = Kbps(edtMP4VideoBitrate);
    p->UseVBR = rbMP4UseVBR->Checked();
    p->VideoVBRMaxBitrate = p->UseVBR ? Kbps(edtMP4VideoVBRMaxBitrate) : p->VideoBitrate;
    p->VideoVBRMinBitrate = p->UseVBR ? Kbps(edtMP4VideoVBRMinBitrate) : 0;
    p->AudioFrequency = c.MP4Frequency.ReadInt();
    p->AudioChannels = c.MP4Channels.ReadInt();
    p->AudioBitrate = c.MP4AudioBitrate.ReadInt();
    ReadAdditionalParams(p);
}

void TEditProfileForm::ShowProfileMOV(const TMOVProfile* p)
{
    if (!p)
        return ShowProfile(nullptr);
    TChoices& c = *FChoices;
    ActivateFormatPage(vfMOV, p->ProfileName);
    FrameSizeUnits[vfMOV]->Show(p->Width, p->Height);
    c.MOVFrameRate.Show(p->FrameRate);
    c.MOVVideoCodec.Show(p->MOVVideoCodec);
    ShowKbps(edtMOVVideoBitrate, p->VideoBitrate);
    c.MOVFrequency.Show(p->AudioFrequency);
    c.MOVChannels.Show(p->AudioChannels);
    c.MOVAudioBitrate.Show(p->AudioBitrate);
    ShowOnlyPanel(vfMOV);
}

void TEditProfileForm::ReadProfileMOV(TMOVProfile* p)
{
    // The page has no bit-rate mode: UseVBR and the VBR rates stay as the profile holds them.
    TChoices& c = *FChoices;
    p->Width = FrameSizeUnits[vfMOV]->Width();
    p->Height = FrameSizeUnits[vfMOV]->Height();
    p->FrameRate = c.MOVFrameRate.Read();
    p->MOVVideoCodec = static_cast<int8_t>(c.MOVVideoCodec.ReadInt());
    p->VideoBitrate = Kbps(edtMOVVideoBitrate);
    p->AudioFrequency = c.MOVFrequency.ReadInt();
    p->AudioChannels = c.MOVChannels.ReadInt();
    p->AudioBitrate = c.MOVAudioBitrate.ReadInt();
    ReadAdditionalParams(p);
}

void TEditProfileForm::ShowProfileFLV(const TFLVProfile* p)
{
    if (!p)
        return ShowProfile(nullptr);
    TChoices& c = *FChoices;
    ActivateFormatPage(vfFLV, p->ProfileName);
    FrameSizeUnits[vfFLV]->Show(p->Width, p->Height);
    c.FLVFrameRate.Show(p->FrameRate);
    ShowKbps(edtFLVVideoBitrate, p->VideoBitrate);
    c.FLVFrequency.Show(p->AudioFrequency);
    c.FLVChannels.Show(p->AudioChannels);
    c.FLVAudioBitrate.Show(p->AudioBitrate);
    ShowOnlyPanel(vfFLV);
}

void TEditProfileForm::ReadProfileFLV(TFLVProfile* p)
{
    TChoices& c = *FChoices;
    p->Width = FrameSizeUnits[vfFLV]->Width();
    p->Height = FrameSizeUnits[vfFLV]->Height();
    p->FrameRate = c.FLVFrameRate.Read();
    p->VideoBitrate = Kbps(edtFLVVideoBitrate);
    p->AudioFrequency = c.FLVFrequency.ReadInt();
    p->AudioChannels = c.FLVChannels.ReadInt();
    p->AudioBitrate = c.FLVAudioBitrate.ReadInt();
    ReadAdditionalParams(p);
}

void TEditProfileForm::ShowProfileWMV(const TWMVProfile* p)
{
    if (!p)
        return ShowProfile(nullptr);
    TChoices& c = *FChoices;
    ActivateFormatPage(vfWMV, p->ProfileName);
    // The system-profile name is kept, even while the box is not ticked, so it is read back as stored.
    c.SystemProfile.Show(p->SystemProfileName);
    chkUseSystemProfile->SetChecked(p->UseSystemProfile);
    FrameSizeUnits[vfWMV]->Show(p->Width, p->Height);
    c.WMVVersion.Show(p->WMV_Version);
    c.WMVFrameRate.Show(p->FrameRate);
    ShowKbps(edtWMVVideoBitrate, p->VideoBitrate);
    chkWMVUseVBR->SetChecked(p->UseVBR);
    edtWMVVBRQuality->SetValue(p->UseVBR ? p->VBRVideoQuality : 90);
    c.WMVQualityKept = p->UseVBR ? 90 : p->VBRVideoQuality;
    c.WMVAudioFormat.Show(p->AudioFormatName);
    ShowOnlyPanel(vfWMV);
}

void TEditProfileForm::ReadProfileWMV(TWMVProfile* p)
{
    TChoices& c = *FChoices;
    p->UseSystemProfile = chkUseSystemProfile->Checked();
    p->SystemProfileName = c.SystemProfile.Read();
    p->Width = FrameSizeUnits[vfWMV]->Width();
    p->Height = FrameSizeUnits[vfWMV]->Height();
    p->WMV_Version = static_cast<int8_t>(c.WMVVersion.ReadInt());
    p->FrameRate = c.WMVFrameRate.Read();
    p->VideoBitrate = Kbps(edtWMVVideoBitrate);
    p->UseVBR = chkWMVUseVBR->Checked();
    // Without VBR the quality is not in use: it stays as the shown profile had it, so an unchanged profile
    // never reads as changed.
    p->VBRVideoQuality = p->UseVBR ? static_cast<int32_t>(edtWMVVBRQuality->Value()) : c.WMVQualityKept;
    p->AudioFormatName = c.WMVAudioFormat.Read();
    ReadAdditionalParams(p);
}

void TEditProfileForm::ShowProfileReal(const TRealProfile* p)
{
    if (!p)
        return ShowProfile(nullptr);
    TChoices& c = *FChoices;
    ActivateFormatPage(vfReal, p->ProfileName);
    FrameSizeUnits[vfReal]->Show(p->Width, p->Height);
    c.RealVideoCodec.Show(p->RealVersion);
    c.RealFrameRate.Show(p->FrameRate);
    ShowKbps(edtRealVideoBitrate, p->VideoBitrate);
    chkRealVideoNoiseReduction->SetChecked(p->VideoNoiseReduction);
    if (p->UseVBR) {
        rbRealUseVBR->SetChecked(true);
        ShowKbps(edtRealVideoVBRMaxBitrate, p->VideoVBRMaxBitrate);
    } else {
        rbRealUseCBR->SetChecked(true);
        ShowKbps(edtRealVideoVBRMaxBitrate, p->VideoBitrate);
    }
    c.RealAudioFormat.Show(p->AudioFormatName);
    cbRealVideoCodecChange(nullptr);
    ShowOnlyPanel(vfReal);
}

void TEditProfileForm::ReadProfileReal(TRealProfile* p)
{
    TChoices& c = *FChoices;
    p->Width = FrameSizeUnits[vfReal]->Width();
    p->Height = FrameSizeUnits[vfReal]->Height();
    p->RealVersion = static_cast<int8_t>(c.RealVideoCodec.ReadInt());
    p->FrameRate = c.RealFrameRate.Read();
    p->VideoBitrate = Kbps(edtRealVideoBitrate);
    p->UseVBR = rbRealUseVBR->Checked();
    p->VideoVBRMaxBitrate = p->UseVBR ? Kbps(edtRealVideoVBRMaxBitrate) : p->VideoBitrate;
    p->VideoNoiseReduction = chkRealVideoNoiseReduction->Checked();
    p->AudioFormatName = c.RealAudioFormat.Read();
    ReadAdditionalParams(p);
}

void TEditProfileForm::ShowProfile3GP(const T3GPProfile* p)
{
    if (!p)
        return ShowProfile(nullptr);
    TChoices& c = *FChoices;
    ActivateFormatPage(vf3GP, p->ProfileName);
    c.VideoCodec3GP.Show(p->VideoCodec);
    c.Format3GP.Show(p->Format3GP);
    // The frame size: the item of the stored size, else the list's last item.
    int size = static_cast<int>(c.FrameSize3GP.Values.size()) - 1;
    for (size_t i = 0; i < c.FrameSize3GP.Values.size(); ++i) {
        const TSizeItem& entry = Sizes3GP()[static_cast<size_t>(c.FrameSize3GP.Values[i])];
        if (entry.Width == p->Width && entry.Height == p->Height) {
            size = static_cast<int>(i);
            break;
        }
    }
    c.FrameSize3GP.ShowIndex(size);
    c.FrameRate3GP.Show(p->FrameRate);
    c.VideoBitrate3GP.Show(p->VideoBitrate);
    edt3GPBitrateTolerance->SetValue(p->VideoBitrateTolerance / 1000);
    c.AudioCodec3GP.Show(p->AudioCodec);
    // Frequency and bit rate: the stored value's item, else the list's last one.
    for (TValueChoice* choice : { &c.Frequency3GP, &c.AudioBitrate3GP }) {
        const double stored = choice == &c.Frequency3GP ? p->AudioFrequency : p->AudioBitrate;
        const int index = choice->IndexOf(stored);
        choice->ShowIndex(index >= 0 ? index : static_cast<int>(choice->Values.size()) - 1);
    }
    c.Channels3GP.Show(p->AudioChannels);
    ShowOnlyPanel(vf3GP);
}

void TEditProfileForm::ReadProfile3GP(T3GPProfile* p)
{
    TChoices& c = *FChoices;
    p->Format3GP = static_cast<int8_t>(c.Format3GP.ReadInt());
    p->VideoCodec = static_cast<int8_t>(c.VideoCodec3GP.ReadInt());
    const int size = c.FrameSize3GP.ReadInt();
    if (size >= 0 && size < static_cast<int>(Sizes3GP().size())) {
        p->Width = Sizes3GP()[static_cast<size_t>(size)].Width;
        p->Height = Sizes3GP()[static_cast<size_t>(size)].Height;
    }
    p->FrameRate = c.FrameRate3GP.Read();
    p->VideoBitrate = c.VideoBitrate3GP.ReadInt();
    p->VideoBitrateTolerance = static_cast<int32_t>(edt3GPBitrateTolerance->Value()) * 1000;
    p->AudioCodec = static_cast<int8_t>(c.AudioCodec3GP.ReadInt());
    p->AudioFrequency = c.Frequency3GP.ReadInt();
    p->AudioChannels = c.Channels3GP.ReadInt();
    p->AudioBitrate = c.AudioBitrate3GP.ReadInt();
    ReadAdditionalParams(p);
}

void TEditProfileForm::ShowProfileOfFormat(const TVideoProfile* profile)
{
    if (!profile)
        return ShowProfile(nullptr);
    switch (profile->FormatType) {
    case vf3GP:
        return ShowProfile3GP(dynamic_cast<const T3GPProfile*>(profile));
    case vfAVI:
        return ShowProfileAVI(dynamic_cast<const TAVIProfile*>(profile));
    case vfMPEG:
        return ShowProfileMPEG(dynamic_cast<const TMPEGProfile*>(profile));
    case vfMP4:
        return ShowProfileMP4(dynamic_cast<const TMP4Profile*>(profile));
    case vfWMV:
        return ShowProfileWMV(dynamic_cast<const TWMVProfile*>(profile));
    case vfReal:
        return ShowProfileReal(dynamic_cast<const TRealProfile*>(profile));
    case vfMOV:
        return ShowProfileMOV(dynamic_cast<const TMOVProfile*>(profile));
    case vfFLV:
        return ShowProfileFLV(dynamic_cast<const TFLVProfile*>(profile));
    }
}

void TEditProfileForm::ReadProfileOfFormat(TVideoProfile* profile)
{
    switch (profile->FormatType) {
    case vf3GP:
        return ReadProfile3GP(dynamic_cast<T3GPProfile*>(profile));
    case vfAVI:
        return ReadProfileAVI(dynamic_cast<TAVIProfile*>(profile));
    case vfMPEG:
        return ReadProfileMPEG(dynamic_cast<TMPEGProfile*>(profile));
    case vfMP4:
        return ReadProfileMP4(dynamic_cast<TMP4Profile*>(profile));
    case vfWMV:
        return ReadProfileWMV(dynamic_cast<TWMVProfile*>(profile));
    case vfReal:
        return ReadProfileReal(dynamic_cast<TRealProfile*>(profile));
    case vfMOV:
        return ReadProfileMOV(dynamic_cast<TMOVProfile*>(profile));
    case vfFLV:
        return ReadProfileFLV(dynamic_cast<TFLVProfile*>(profile));
    }
}

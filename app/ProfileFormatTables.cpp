#include "app/ProfileFormatTables.h"

#include <algorithm>
#include <vector>

namespace ProfileFormatTables {

namespace {

    // By VideoFormatType code.
    const TProfileFormatInfo kFormats[8] = {
        { vf3GP, "3GP", "New 3GP Profile", "New 3GP Profile", "3GP,3G2", "3GP Video Settings", "Last3GPProfile",
            "3GP" },
        { vfAVI, "AVI", "New AVI Profile", "New AVI Profile", "AVI", "AVI Video Settings", "LastAVIProfile", "AVI" },
        { vfMPEG, "MPEG1/2", "New MPEG Profile", "New MPEG Profile", "MPEG", "MPEG Video Settings", "LastMPEGProfile",
            "MPEG" },
        { vfMP4, "MP4", "New MP4 Profile", "New MP4 Profile", "MP4", "MP4 Video Settings", "LastMP4Profile", "MP4" },
        { vfWMV, "WMV", "New WMV Profile", "New WMV Profile", "WMV", "WMV Video Settings", "LastWMVProfile", "WMV" },
        { vfReal, "RM/RMVB", "New RealVideo Profile", "New Real Profile", "RMVB", "Real Video Settings",
            "LastRealProfile", "RMVB" },
        { vfMOV, "MOV", "New MOV Profile", "New MOV Profile", "MOV", "MOV Video Settings", "LastMOVProfile", "MOV" },
        { vfFLV, "FLV", "New FLV Profile", "New FLV Profile", "FLV", "FLV Video Settings", "LastFLVProfile", "FLV" },
    };

    // The base sizes; the wider lists insert theirs after "352 x 288 (CIF)".
    const TSizeItem kBaseSizes[]
        = { { "80 x 60", 80, 60 }, { "96 x 72", 96, 72 }, { "128 x 96(SQCIF)", 128, 96 }, { "160 x 120", 160, 120 },
              { "176 x 120", 176, 120 }, { "176 x 144 (QCIF)", 176, 144 }, { "192 x 144", 192, 144 },
              { "240 x 180", 240, 180 }, { "320 x 200", 320, 200 }, { "320 x 240(QVGA)", 320, 240 },
              { "352 x 240", 352, 240 }, { "352 x 288 (CIF)", 352, 288 }, { "640 x 480(VGA)", 640, 480 },
              { "720 x 480", 720, 480 }, { "720 x 576", 720, 576 }, { "800 x 600(SVGA)", 800, 600 } };
    constexpr int kAfterCIF = 12;
    constexpr TSizeItem kCustom { "Custom", 0, 0 };

    std::vector<TSizeItem> SizesWith(std::initializer_list<TSizeItem> inserted)
    {
        std::vector<TSizeItem> sizes(std::begin(kBaseSizes), std::begin(kBaseSizes) + kAfterCIF);
        sizes.insert(sizes.end(), inserted);
        sizes.insert(sizes.end(), std::begin(kBaseSizes) + kAfterCIF, std::end(kBaseSizes));
        sizes.push_back(kCustom);
        return sizes;
    }

    const TRateItem kAVIRates[]
        = { { "1.0 fps", 1.0 }, { "2.0 fps", 2.0 }, { "3.0 fps", 3.0 }, { "5.0 fps", 5.0 }, { "10.00 fps", 10.0 },
              { "12.00 fps", 12.0 }, { "15.00 fps", 15.0 }, { "20.00 fps", 20.0 }, { "23.97 fps", 23.97 },
              { "24.00 fps", 24.0 }, { "25.00 fps", 25.0 }, { "29.97 fps", 29.97 }, { "30.00 fps", 30.0 } };
    const TRateItem kMPEGRates[] = { { "23.97 fps", 23.97 }, { "24.00 fps", 24.0 }, { "25.00 fps", 25.0 },
        { "29.97 fps", 29.97 }, { "30.00 fps", 30.0 } };
    const TRateItem kMP4Rates[] = { { "1.0 fps", 1.0 }, { "2.0 fps", 2.0 }, { "3.0 fps", 3.0 }, { "5.0 fps", 5.0 },
        { "10.00 fps", 10.0 }, { "12.00 fps", 12.0 }, { "14.985 fps", 14.985 }, { "15.00 fps", 15.0 },
        { "20.00 fps", 20.0 }, { "23.97 fps", 23.97 }, { "24.00 fps", 24.0 }, { "25.00 fps", 25.0 },
        { "29.97 fps", 29.97 }, { "30.00 fps", 30.0 } };
    const TRateItem kWMVRates[] = { { "1.0 fps", 1.0 }, { "2.0 fps", 2.0 }, { "3.0 fps", 3.0 }, { "4.0 fps", 4.0 },
        { "5.0 fps", 5.0 }, { "6.0 fps", 6.0 }, { "7.0 fps", 7.0 }, { "8.0 fps", 8.0 }, { "9.0 fps", 9.0 },
        { "10.00 fps", 10.0 }, { "11.00 fps", 11.0 }, { "12.00 fps", 12.0 }, { "15.00 fps", 15.0 },
        { "20.00 fps", 20.0 }, { "23.97 fps", 23.97 }, { "24.00 fps", 24.0 }, { "25.00 fps", 25.0 },
        { "29.97 fps", 29.97 }, { "30.00 fps", 30.0 } };
    const TRateItem kFLVRates[] = { { "10.00 fps", 10.0 }, { "12.00 fps", 12.0 }, { "14.985 fps", 14.985 },
        { "15.00 fps", 15.0 }, { "20.00 fps", 20.0 }, { "24.00 fps", 24.0 }, { "25.00 fps", 25.0 },
        { "29.97 fps", 29.97 }, { "30.00 fps", 30.0 } };

    std::vector<TNumberItem> Hertz(std::initializer_list<int32_t> values)
    {
        std::vector<TNumberItem> items;
        for (int32_t hz : values)
            items.push_back({ std::to_string(hz) + " Hz", hz });
        return items;
    }

    std::vector<TNumberItem> Kbps(std::initializer_list<int32_t> values)
    {
        std::vector<TNumberItem> items;
        for (int32_t kbps : values)
            items.push_back({ std::to_string(kbps) + " kbps", kbps * 1000 });
        return items;
    }

    const std::vector<TNumberItem>& AllFrequencies()
    {
        static const auto items = Hertz({ 48000, 44100, 32000, 24000, 22050, 16000, 11025, 8000 });
        return items;
    }

    const TSizeItem k3GPSizes[] = { { "128 x 96(SQCIF)", 128, 96 }, { "160 x 120", 160, 120 },
        { "176 x 144 (QCIF)", 176, 144 }, { "220 x 176", 220, 176 }, { "240 x 192", 240, 192 },
        { "320 x 240(QVGA)", 320, 240 }, { "352 x 288 (CIF)", 352, 288 } };
    const double k3GPRates[] = { 11.988, 12.5, 14.985, 15.0, 18.0, 20.0, 23.98, 25.0, 29.97, 30.0 };
    const int32_t k3GPFrequencies[] = { 48000, 44100, 32000, 24000, 22050, 16000, 12000, 11025, 8000 };
    const int32_t k3GPAudioBitrates[] = { 4750, 5150, 5900, 6600, 6700, 7400, 7950, 8850, 10200, 12200, 12650, 14250,
        15850, 18250, 19850, 20000, 23050, 23850, 24000, 32000, 48000, 56000, 64000, 96000, 112000, 128000 };

    // Items whose value is the index of the entry they show.
    using TEntries = std::vector<TNumberItem>;

} // namespace

const TProfileFormatInfo& FormatInfo(VideoFormatType type)
{
    return kFormats[std::min<int>(type, 7)];
}

int EditorPageOf(VideoFormatType type)
{
    const auto* at = std::find(EditorPageOrder.begin(), EditorPageOrder.end(), type);
    return at == EditorPageOrder.end() ? 0 : static_cast<int>(at - EditorPageOrder.begin());
}

int FormatIconIndex(VideoFormatType type)
{
    const auto* at = std::find(FormatIconOrder.begin(), FormatIconOrder.end(), type);
    return at == FormatIconOrder.end() ? -1 : static_cast<int>(at - FormatIconOrder.begin());
}

std::span<const TSizeItem> FrameSizes(TSizeList list)
{
    static const std::vector<TSizeItem> base = SizesWith({});
    static const std::vector<TSizeItem> wide = SizesWith({ { "368 x 208", 368, 208 } });
    static const std::vector<TSizeItem> mpeg = SizesWith({ { "480 x 480", 480, 480 }, { "480 x 576", 480, 576 } });
    switch (list) {
    case TSizeList::Wide:
        return wide;
    case TSizeList::MPEG:
        return mpeg;
    case TSizeList::Base:
        break;
    }
    return base;
}

int DefaultFrameSizeIndex(TSizeList list)
{
    const auto sizes = FrameSizes(list);
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (sizes[i].Width == 320 && sizes[i].Height == 240)
            return static_cast<int>(i);
    }
    return 0;
}

std::span<const TRateItem> FrameRates(TRateList list)
{
    switch (list) {
    case TRateList::AVI:
        return kAVIRates;
    case TRateList::MPEG:
        return kMPEGRates;
    case TRateList::MP4:
        return kMP4Rates;
    case TRateList::WMV:
        return kWMVRates;
    case TRateList::FLV:
        return kFLVRates;
    }
    return kAVIRates;
}

std::span<const TNumberItem> Frequencies(TAudioList list)
{
    static const auto mpeg = Hertz({ 48000, 44100, 32000 });
    return list == TAudioList::MPEG ? std::span<const TNumberItem>(mpeg)
                                    : std::span<const TNumberItem>(AllFrequencies());
}

std::span<const TNumberItem> AudioBitrates(TAudioList list)
{
    static const auto avi = Kbps({ 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384 });
    static const auto mpeg = Kbps({ 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 448 });
    static const auto mp4 = Kbps({ 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384 });
    static const auto flv = Kbps({ 64, 80, 96, 112, 128, 160, 192, 224, 256 });
    switch (list) {
    case TAudioList::AVI:
        return avi;
    case TAudioList::MPEG:
        return mpeg;
    case TAudioList::MP4:
        return mp4;
    case TAudioList::FLV:
        return flv;
    }
    return avi;
}

std::span<const TSizeItem> Sizes3GP()
{
    return k3GPSizes;
}
std::span<const double> Rates3GP()
{
    return k3GPRates;
}
std::span<const int32_t> Frequencies3GP()
{
    return k3GPFrequencies;
}
std::span<const int32_t> AudioBitrates3GP()
{
    return k3GPAudioBitrates;
}

std::span<const TNumberItem> VideoBitrates3GP()
{
    static const auto items
        = Kbps({ 40, 64, 75, 80, 85, 96, 120, 128, 144, 160, 192, 240, 256, 288, 336, 384, 432, 480, 512 });
    return items;
}

TCodecLists3GP FrameSizes3GP(int videoCodec)
{
    static const TEntries h263 { { "128 x 96(SQCIF)", 0 }, { "176 x 144 (QCIF)", 2 }, { "352 x 288 (CIF)", 6 } };
    static const TEntries mpeg4 { { "128 x 96(SQCIF)", 0 }, { "160 x 120", 1 }, { "176 x 144 (QCIF)", 2 },
        { "220 x 176", 3 }, { "240 x 192", 4 }, { "320 x 240(QVGA)", 5 }, { "352 x 288 (CIF)", 6 } };
    // QCIF is chosen for every codec.
    return videoCodec == 0 ? TCodecLists3GP { h263, 1 } : TCodecLists3GP { mpeg4, 2 };
}

TCodecLists3GP FrameRates3GP(int videoCodec)
{
    static const TEntries h263 { { "11.988 fps", 0 }, { "12.5 fps", 1 }, { "14.985 fps", 2 }, { "15.00 fps", 3 } };
    static const TEntries mpeg4 { { "11.988 fps", 0 }, { "12.5 fps", 1 }, { "14.985 fps", 2 }, { "15.00 fps", 3 },
        { "18.00 fps", 4 }, { "20.00 fps", 5 }, { "23.98 fps", 6 }, { "25 fps", 7 }, { "29.97 fps", 8 },
        { "30 fps", 9 } };
    // "15.00 fps" is chosen for every codec.
    return videoCodec == 0 ? TCodecLists3GP { h263, 3 } : TCodecLists3GP { mpeg4, 3 };
}

TCodecLists3GP AudioFrequencies3GP(int audioCodec)
{
    static const TEntries nb { { "8000 Hz", 8 } };
    static const TEntries wb { { "16000 Hz", 5 } };
    static const TEntries aac = [] {
        TEntries items;
        for (int i = 0; i < 9; ++i)
            items.push_back({ std::to_string(k3GPFrequencies[i]) + " Hz", i });
        return items;
    }();
    switch (audioCodec) {
    case 0:
        return { nb, 0 };
    case 1:
        return { wb, 0 };
    default:
        return { aac, 4 };
    }
}

TCodecLists3GP AudioChannels3GP(int audioCodec)
{
    static const TEntries mono { { "1 (Mono)", 1 } };
    static const TEntries both { { "1 (Mono)", 1 }, { "2 (Stereo)", 2 } };
    return audioCodec == 2 ? TCodecLists3GP { both, 1 } : TCodecLists3GP { mono, 0 };
}

TCodecLists3GP AudioBitrateItems3GP(int audioCodec)
{
    static const TEntries nb { { "4.75 kbps", 0 }, { "5.15 kbps", 1 }, { "5.9 kbps", 2 }, { "6.7 kbps", 4 },
        { "7.4 kbps", 5 }, { "7.95 kbps", 6 }, { "10.2 kbps", 8 }, { "12.2 kbps", 9 } };
    static const TEntries wb { { "6.6 kbps", 3 }, { "8.85 kbps", 7 }, { "12.65 kbps", 10 }, { "14.25 kbps", 11 },
        { "15.85 kbps", 12 }, { "18.25 kbps", 13 }, { "19.85 kbps", 14 }, { "23.05 kbps", 16 }, { "23.85 kbps", 17 } };
    static const TEntries aac { { "24 kbps", 18 }, { "32 kbps", 19 }, { "48 kbps", 20 }, { "56 kbps", 21 },
        { "64 kbps", 22 }, { "96 kbps", 23 }, { "112 kbps", 24 }, { "128 kbps", 25 } };
    switch (audioCodec) {
    case 0:
        return { nb, 7 };
    case 1:
        return { wb, 8 };
    default:
        return { aac, 2 };
    }
}

} // namespace ProfileFormatTables

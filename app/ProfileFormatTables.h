// The value tables behind the profile windows: the eight formats in the order each window shows them, and the
// frame sizes, frame rates, frequencies and bit rates each format page offers with the numbers they stand for.
#pragma once
#include "engine/TVideoProfile.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

// What the windows say about one format.
struct TProfileFormatInfo {
    VideoFormatType Type;
    // The profile editor's tab and its "New" menu item.
    const char* PageCaption;
    const char* NewMenuCaption;
    // The name of a profile made by "New".
    const char* NewProfileName;
    // The output settings window's radio button, the title above its settings, and the key of LastSettings.ini
    // that remembers the profile last chosen there.
    const char* RadioCaption;
    const char* SettingsTitle;
    const char* LastProfileKey;
    // Its picture in the output settings window: the skin folder's "OutputSettings<name>.bmp".
    const char* PictureName;
};

namespace ProfileFormatTables {

// By VideoFormatType code.
const TProfileFormatInfo& FormatInfo(VideoFormatType type);

// The profile editor's pages, left to right.
constexpr std::array<VideoFormatType, 8> EditorPageOrder { vfAVI, vfWMV, vfReal, vfMP4, vfMPEG, vfMOV, vf3GP, vfFLV };
// The profile editor's "New" menu, top to bottom.
constexpr std::array<VideoFormatType, 8> NewMenuOrder { vfAVI, vfWMV, vfReal, vfMP4, vfMPEG, vf3GP, vfMOV, vfFLV };
// The output settings window's pictures and radio buttons, left to right.
constexpr std::array<VideoFormatType, 8> OutputSettingsOrder { vfAVI, vfMPEG, vfWMV, vfReal, vfMOV, vfMP4, vf3GP,
    vfFLV };

// The main window's profile combo, top to bottom.
constexpr std::array<VideoFormatType, 8> ProfileComboOrder { vfAVI, vfMPEG, vfWMV, vfReal, vfMP4, vfMOV, vf3GP, vfFLV };
// The main window's format icons, in the order of its image list; each is the skin folder's
// "Format<PictureName>.png".
constexpr std::array<VideoFormatType, 8> FormatIconOrder { vf3GP, vfAVI, vfFLV, vfMOV, vfMP4, vfMPEG, vfReal, vfWMV };

// The index of `type`'s icon in FormatIconOrder.
int FormatIconIndex(VideoFormatType type);

// The editor page that shows `type`.
int EditorPageOf(VideoFormatType type);

// ---- Item tables -----------------------------------------------------------------------------------------------

struct TSizeItem {
    const char* Text;
    int32_t Width;
    int32_t Height;
};

struct TRateItem {
    const char* Text;
    double Value;
};

// An item standing for a whole number: Hz, bit/s, or a table entry's index.
struct TNumberItem {
    std::string Text;
    int32_t Value;
};

enum class TSizeList { Base, Wide, MPEG };
// The frame sizes of a page; each list ends with "Custom" (0 x 0).
std::span<const TSizeItem> FrameSizes(TSizeList list);
// The item the layout preselects on each page: "320 x 240(QVGA)".
int DefaultFrameSizeIndex(TSizeList list);

enum class TRateList { AVI, MPEG, MP4, WMV, FLV };
std::span<const TRateItem> FrameRates(TRateList list);

// Frequencies ("48000 Hz", value in Hz) and audio bit rates ("128 kbps", value in bit/s) of a page.
enum class TAudioList { AVI, MPEG, MP4, FLV };
std::span<const TNumberItem> Frequencies(TAudioList list);
std::span<const TNumberItem> AudioBitrates(TAudioList list);

// ---- The 3GP page, whose lists are rebuilt by the codecs -------------------------------------------------------

// The entries of the 3GP tables; a list item carries the index of its entry.
std::span<const TSizeItem> Sizes3GP();
std::span<const double> Rates3GP();
std::span<const int32_t> Frequencies3GP();
std::span<const int32_t> AudioBitrates3GP();
// The video bit-rate list: "40 kbps" ... "512 kbps", value in bit/s.
std::span<const TNumberItem> VideoBitrates3GP();

// The items of the lists a 3GP codec offers, each with its entry index as its value, and the item selected
// when the codec is chosen.
struct TCodecLists3GP {
    std::span<const TNumberItem> Items;
    int Default;
};
// Video codec 0 H263, 1 MPEG4, 2 XVID.
TCodecLists3GP FrameSizes3GP(int videoCodec);
TCodecLists3GP FrameRates3GP(int videoCodec);
// Audio codec 0 AMR-NB, 1 AMR-WB, 2 AAC.
TCodecLists3GP AudioFrequencies3GP(int audioCodec);
TCodecLists3GP AudioChannels3GP(int audioCodec);
TCodecLists3GP AudioBitrateItems3GP(int audioCodec);

} // namespace ProfileFormatTables

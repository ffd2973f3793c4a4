// TVideoProfile, the abstract output profile that one small .pf file in the Profiles folder stores.
#pragma once
#include "engine/Forward.h"
#include "framework/core/TStrings.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The eight target formats; the codes are also the first sort key of the profile manager.
enum VideoFormatType : uint8_t { vf3GP, vfAVI, vfMPEG, vfMP4, vfWMV, vfReal, vfMOV, vfFLV };

// One named set of encoding settings for one target format. Each format class describes its settings once,
// in a table of fields (engine/ProfileLayout.h), and Load, Save and Equals walk that table. Clone copies the
// object whole, since every job in the list holds its own copy of a profile and a copy is made per job.
class TVideoProfile {
public:
    TVideoProfile& operator=(const TVideoProfile&) = delete;
    virtual ~TVideoProfile();

    // Reads FileName into this freshly constructed profile. False for a file of another format (ProfileName
    // has been replaced by then) and for any failure; the profile is then partly filled and not to be used.
    virtual bool Load();
    // Writes the profile to `path`, or to the default file name when `path` is empty, and makes that path
    // FileName. The file is written whole into a fresh file that replaces the target only once complete, and
    // the previous file is deleted only after that (when it is another file); on failure false, with both
    // files and FileName as they were. With an empty `path`, a default file that belongs to another profile
    // is never overwritten: the first free "<name>_1.pf", "<name>_2.pf" ... is taken instead.
    virtual bool Save(std::string_view path);
    // True when `other` is a profile of the same format and name whose compared settings are all equal.
    // FileName, Extension and the options never take part.
    virtual bool Equals(const TVideoProfile& other) const;
    // A new profile of the same class with the same name, file, settings and options.
    virtual std::unique_ptr<TVideoProfile> Clone() const;
    // The encoder object that writes one output file with these settings, owned by the caller.
    virtual std::unique_ptr<TEncoderObject> CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
        int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate,
        int32_t sourceChannels, bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight,
        int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4) const;
    // The expected output size in bytes of a run of `seconds`; 0 here.
    virtual int32_t EstimateSize(double seconds) const;

    // Replaces the value of option `key` (exact comparison, first match), or appends key and value.
    void SetOption(std::string_view key, std::string_view value);
    // ProgramFolder() + "Profiles/" + the cleaned name + ".pf". The cleaning turns / \ : * ? " < > | and every
    // control character into '_' and puts '_' before a name that is empty or starts with a dot, so the file
    // always lies inside the Profiles folder and is never a hidden file. The folder is not created here.
    std::string GetDefaultFileName() const;
    // Deletes the file named by FileName; false when that fails, also for an empty name. The profile stays.
    bool DeleteFile() const;

    // The description of this profile's format: its code, words, section and fields.
    const TProfileLayout& Layout() const { return *FLayout; }

    // Full path of the profile's file; empty for a profile never saved or loaded.
    std::string FileName;
    VideoFormatType FormatType = vf3GP;
    // The display name, also the base of the default file name.
    std::string ProfileName;
    // Output frame size; 0 stands for the source size minus the crop.
    int32_t Width = 0;
    int32_t Height = 0;
    // Extension of the output file, dot included.
    std::string Extension;
    // The free encoder options: two parallel lists, value i belonging to key i, in file order.
    TStringList ParamKeys;
    TStringList ParamValues;

protected:
    TVideoProfile(std::string profileName, std::string fileName);
    // For Clone only: the format classes' own copies call it, so every member of theirs and of this base is
    // copied in one go. Protected, so a profile is never sliced into a bare base.
    TVideoProfile(const TVideoProfile& other);

    // Makes `layout` this profile's format and sets FormatType, Extension and every field to the layout's
    // constructor values. Each format class calls it from its constructor, once its own fields exist.
    void ApplyDefaults(const TProfileLayout& layout);
    // Bytes of a run of `seconds` at `videoBitrate` + `audioBitrate` bits per second, truncated toward zero.
    // Computed in double, so no bit rate or duration overflows; saturated to the int32 range.
    static int32_t EstimateFromBitrates(int64_t videoBitrate, int64_t audioBitrate, double seconds);

private:
    const TProfileLayout* FLayout = nullptr;

    // Save's target when it is given no path: the default file, unless that belongs to another profile.
    std::string FreeDefaultFileName() const;
};

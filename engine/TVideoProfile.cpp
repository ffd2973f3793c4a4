#include "engine/TVideoProfile.h"

#include "engine/AppServices.h"
#include "engine/ProfileLayout.h"
#include "engine/TEncoderObject.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TIniFile.h"

#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <sys/stat.h>

namespace {

constexpr const char* kCommonSection = "ProfileCommon";
constexpr const char* kParamSection = "AdditionalParam";
constexpr const char* kProfileExtension = ".pf";

template <class T> using TDefaultType = std::conditional_t<std::is_same_v<T, std::string>, std::string_view, T>;

// The constructor value of `field`, for a slot of type T*.
template <class T> T DefaultOf(const TProfileField& field)
{
    return T(std::get<TDefaultType<T>>(field.Default));
}

// Reading and writing one value of each kind. Codes are signed 8-bit, so a larger number keeps its low byte;
// flags are true for any non-zero number.
int32_t ReadValue(const TCustomIniFile& ini, const char* section, const char* key, int32_t def)
{
    return ini.ReadInteger(section, key, def);
}

int8_t ReadValue(const TCustomIniFile& ini, const char* section, const char* key, int8_t def)
{
    return static_cast<int8_t>(ini.ReadInteger(section, key, def));
}

bool ReadValue(const TCustomIniFile& ini, const char* section, const char* key, bool def)
{
    return ini.ReadBool(section, key, def);
}

double ReadValue(const TCustomIniFile& ini, const char* section, const char* key, double def)
{
    return ini.ReadFloat(section, key, def);
}

std::string ReadValue(const TCustomIniFile& ini, const char* section, const char* key, const std::string& def)
{
    return ini.ReadString(section, key, def);
}

void WriteValue(TCustomIniFile& ini, const char* section, const char* key, int32_t value)
{
    ini.WriteInteger(section, key, value);
}

void WriteValue(TCustomIniFile& ini, const char* section, const char* key, int8_t value)
{
    ini.WriteInteger(section, key, value);
}

void WriteValue(TCustomIniFile& ini, const char* section, const char* key, bool value)
{
    ini.WriteBool(section, key, value);
}

void WriteValue(TCustomIniFile& ini, const char* section, const char* key, double value)
{
    ini.WriteFloat(section, key, value);
}

void WriteValue(TCustomIniFile& ini, const char* section, const char* key, const std::string& value)
{
    ini.WriteString(section, key, value);
}

// The profile is only read through the slot; slots are built from non-const references for the writers.
TProfileSlot ConstSlot(const TProfileField& field, const TVideoProfile& profile)
{
    return field.Slot(const_cast<TVideoProfile&>(profile));
}

// Something (a file, a folder, a link) already has this name.
bool PathTaken(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// Both names lead to the same file, however they are spelled.
bool SameFile(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty())
        return false;
    if (a == b)
        return true;
    struct stat infoA;
    struct stat infoB;
    return stat(a.c_str(), &infoA) == 0 && stat(b.c_str(), &infoB) == 0 && infoA.st_dev == infoB.st_dev
        && infoA.st_ino == infoB.st_ino;
}

} // namespace

TVideoProfile::TVideoProfile(std::string profileName, std::string fileName)
    : FileName(std::move(fileName))
    , ProfileName(std::move(profileName))
{
}

TVideoProfile::TVideoProfile(const TVideoProfile& other)
    : FileName(other.FileName)
    , FormatType(other.FormatType)
    , ProfileName(other.ProfileName)
    , Width(other.Width)
    , Height(other.Height)
    , Extension(other.Extension)
    , FLayout(other.FLayout)
{
    // The option lists are objects of their own; their texts are copied, nothing is shared.
    for (int i = 0; i < other.ParamKeys.Count(); ++i)
        ParamKeys.Add(other.ParamKeys.Strings(i));
    for (int i = 0; i < other.ParamValues.Count(); ++i)
        ParamValues.Add(other.ParamValues.Strings(i));
}

TVideoProfile::~TVideoProfile() = default;

void TVideoProfile::ApplyDefaults(const TProfileLayout& layout)
{
    FLayout = &layout;
    FormatType = layout.Code;
    Extension = layout.Extension;
    for (const TProfileField& field : layout.Fields) {
        std::visit(
            [&](auto* value) {
                using T = std::remove_pointer_t<decltype(value)>;
                *value = DefaultOf<T>(field);
            },
            field.Slot(*this));
    }
}

bool TVideoProfile::Load()
{
    try {
        const TProfileLayout& layout = Layout();
        TMemIniFile ini(FileName);
        // NOTE: "Unknow" is the name a file without one has always loaded with; keep the spelling.
        ProfileName = ini.ReadString(kCommonSection, "ProfileName", "Unknow");
        if (UpperCase(ini.ReadString(kCommonSection, "VideoFormat", "")) != layout.FormatWord)
            return false;
        for (const TProfileField& field : layout.Fields) {
            std::visit(
                [&](auto* value) {
                    using T = std::remove_pointer_t<decltype(value)>;
                    *value = ReadValue(ini, layout.Section, field.Key, DefaultOf<T>(field));
                },
                field.Slot(*this));
        }
        ParamKeys.Clear();
        ParamValues.Clear();
        ini.ReadSection(kParamSection, ParamKeys);
        for (int i = 0; i < ParamKeys.Count(); ++i)
            ParamValues.Add(ini.ReadString(kParamSection, ParamKeys.Strings(i), ""));
        FormatType = layout.Code;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TVideoProfile::Save(std::string_view path)
{
    try {
        const TProfileLayout& layout = Layout();
        const std::string target = path.empty() ? FreeDefaultFileName() : std::string(path);
        TMemIniFile ini(target);
        // Start from an empty file, so no key of whatever the target held before survives or merges.
        ini.Clear();
        ini.WriteString(kCommonSection, "ProfileName", ProfileName);
        ini.WriteString(kCommonSection, "VideoFormat", layout.FormatWord);
        for (const TProfileField& field : layout.Fields)
            std::visit([&](auto* value) { WriteValue(ini, layout.Section, field.Key, *value); }, field.Slot(*this));
        for (int i = 0; i < ParamKeys.Count(); ++i)
            ini.WriteString(kParamSection, ParamKeys.Strings(i), ParamValues.Strings(i));
        // The INI layer writes a temporary file and renames it over the target, so a failure here leaves
        // the target as it was, and the old file is deleted only once the new one is complete.
        ini.UpdateFile();
        if (!SameFile(FileName, target))
            ::DeleteFile(FileName);
        FileName = target;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TVideoProfile::Equals(const TVideoProfile& other) const
{
    const TProfileLayout& layout = Layout();
    if (&other.Layout() != &layout || other.FormatType != FormatType || other.ProfileName != ProfileName)
        return false;
    for (const TProfileField& field : layout.Fields) {
        if (!field.Compared)
            continue;
        const bool same = std::visit(
            [](auto* mine, auto* theirs) {
                if constexpr (std::is_same_v<decltype(mine), decltype(theirs)>)
                    return *mine == *theirs;
                else
                    return false;
            },
            ConstSlot(field, *this), ConstSlot(field, other));
        if (!same)
            return false;
    }
    return true;
}

std::unique_ptr<TVideoProfile> TVideoProfile::Clone() const
{
    return Layout().Copy(*this);
}

std::unique_ptr<TEncoderObject> TVideoProfile::CreateEncoderObject(const std::string& /*outputPath*/,
    int32_t /*sourceWidth*/, int32_t /*sourceHeight*/, int32_t /*colorFormat*/, double /*sourceFrameRate*/,
    int32_t /*sourceSampleRate*/, int32_t /*sourceChannels*/, bool /*fixAspectRatio*/, bool /*disableAudio*/,
    int32_t /*cropLeft*/, int32_t /*cropRight*/, int32_t /*cropTop*/, int32_t /*cropBottom*/, int32_t /*extra1*/,
    int32_t /*extra2*/, int32_t /*extra3*/, int32_t /*extra4*/) const
{
    // Each format class creates the encoder object of its format; the base has none to give.
    return nullptr;
}

int32_t TVideoProfile::EstimateSize(double /*seconds*/) const
{
    return 0;
}

int32_t TVideoProfile::EstimateFromBitrates(int64_t videoBitrate, int64_t audioBitrate, double seconds)
{
    const double bytes = static_cast<double>(videoBitrate + audioBitrate) * seconds * 0.125;
    if (std::isnan(bytes))
        return 0;
    if (bytes >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (bytes <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(bytes);
}

void TVideoProfile::SetOption(std::string_view key, std::string_view value)
{
    for (int i = 0; i < ParamKeys.Count(); ++i) {
        if (ParamKeys.Strings(i) == key) {
            ParamValues.SetStrings(i, value);
            return;
        }
    }
    ParamKeys.Add(key);
    ParamValues.Add(value);
}

std::string TVideoProfile::GetDefaultFileName() const
{
    constexpr std::string_view kReserved = "/\\:*?\"<>|";
    std::string name = ProfileName;
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || kReserved.find(c) != std::string_view::npos)
            c = '_';
    }
    // A name that is empty or starts with a dot ("..", ".x") would give a hidden file such as "...pf".
    if (name.empty() || name.front() == '.')
        name.insert(0, "_");
    return ProgramFolder() + "Profiles/" + name + kProfileExtension;
}

std::string TVideoProfile::FreeDefaultFileName() const
{
    const std::string path = GetDefaultFileName();
    if (!PathTaken(path) || SameFile(path, FileName))
        return path;
    // Two names that clean to the same file ("a/b" and "a:b") must not overwrite each other.
    const std::string stem = path.substr(0, path.size() - std::string_view(kProfileExtension).size());
    for (int64_t counter = 1;; ++counter) {
        std::string candidate = stem + "_" + IntToStr(counter) + kProfileExtension;
        if (!PathTaken(candidate) || SameFile(candidate, FileName))
            return candidate;
    }
}

bool TVideoProfile::DeleteFile() const
{
    return !FileName.empty() && ::DeleteFile(FileName);
}

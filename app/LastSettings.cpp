#include "app/LastSettings.h"

#include "engine/AppServices.h"
#include "framework/core/FileSystem.h"
#include "framework/core/TIniFile.h"
#include "platform/shell/ShellFolders.h"

#include <array>
#include <cstdio>
#include <exception>

namespace {

constexpr std::string_view Section = "LastSettings";

// Indexed by output format type code.
constexpr std::array<std::string_view, LastSettingsFormatCount> ProfileKeys = {
    "Last3GPProfile",
    "LastAVIProfile",
    "LastMPEGProfile",
    "LastMP4Profile",
    "LastWMVProfile",
    "LastRealProfile",
    "LastMOVProfile",
    "LastFLVProfile",
};

bool IsFormatType(int formatType)
{
    return formatType >= 0 && formatType < LastSettingsFormatCount;
}

} // namespace

TLastSettings::TLastSettings()
    : FFile(std::make_unique<TMemIniFile>(FileName()))
{
}

TLastSettings::~TLastSettings() = default;

std::string TLastSettings::FileName()
{
    return ProgramFolder() + "LastSettings.ini";
}

std::string TLastSettings::ReadString(std::string_view key, std::string_view def) const
{
    return FFile->ReadString(Section, key, def);
}

int TLastSettings::ReadInteger(std::string_view key, int def) const
{
    return FFile->ReadInteger(Section, key, def);
}

void TLastSettings::WriteString(std::string_view key, std::string_view value)
{
    // Only a real change is saved, so closing a window whose choices stayed as stored writes nothing.
    if (FFile->ValueExists(Section, key) && FFile->ReadString(Section, key, "") == value)
        return;
    FFile->WriteString(Section, key, value);
    FChanged = true;
}

void TLastSettings::WriteInteger(std::string_view key, int value)
{
    WriteString(key, std::to_string(value));
}

std::string TLastSettings::OutputFolder() const
{
    // The desktop's videos folder stands in for "My Videos" under the personal documents folder.
    return ReadString("OutputFolder", IncludeTrailingPathDelimiter(SpecialFolderPath(CSIDL_MYVIDEO)));
}

void TLastSettings::SetOutputFolder(std::string_view value)
{
    WriteString("OutputFolder", value);
}

bool TLastSettings::PreviewMovie() const
{
    return ReadInteger("PreviewMovie", 1) != 0;
}

void TLastSettings::SetPreviewMovie(bool value)
{
    WriteString("PreviewMovie", value ? "1" : "0");
}

bool TLastSettings::IncludedSubdir() const
{
    return ReadInteger("IncludedSubdir", 0) != 0;
}

void TLastSettings::SetIncludedSubdir(bool value)
{
    WriteInteger("IncludedSubdir", value ? 1 : 0);
}

bool TLastSettings::AutoCloseAnalysisForm() const
{
    return ReadInteger("AutoCloseAnalysisForm", 1) != 0;
}

void TLastSettings::SetAutoCloseAnalysisForm(bool value)
{
    WriteInteger("AutoCloseAnalysisForm", value ? 1 : 0);
}

bool TLastSettings::FixAspectRatio() const
{
    return ReadInteger("FixAspectRatio", 0) != 0;
}

void TLastSettings::SetFixAspectRatio(bool value)
{
    WriteInteger("FixAspectRatio", value ? 1 : 0);
}

bool TLastSettings::DisableAudio() const
{
    return ReadInteger("DisableAudio", 0) != 0;
}

void TLastSettings::SetDisableAudio(bool value)
{
    WriteInteger("DisableAudio", value ? 1 : 0);
}

int TLastSettings::LastVideoFormat() const
{
    return ReadInteger("LastVideoFormat", 1);
}

void TLastSettings::SetLastVideoFormat(int value)
{
    WriteInteger("LastVideoFormat", value);
}

std::string TLastSettings::LastProfile(int formatType) const
{
    return IsFormatType(formatType) ? ReadString(ProfileKeys[size_t(formatType)], "") : std::string();
}

void TLastSettings::SetLastProfile(int formatType, std::string_view name)
{
    if (IsFormatType(formatType))
        WriteString(ProfileKeys[size_t(formatType)], name);
}

int TLastSettings::AdvanceSettingsFormWidth() const
{
    return ReadInteger("AdvanceSettingsFormWidth", 705);
}

void TLastSettings::SetAdvanceSettingsFormWidth(int value)
{
    WriteInteger("AdvanceSettingsFormWidth", value);
}

int TLastSettings::AdvanceSettingsFormHeight() const
{
    return ReadInteger("AdvanceSettingsFormHeight", 740);
}

void TLastSettings::SetAdvanceSettingsFormHeight(int value)
{
    WriteInteger("AdvanceSettingsFormHeight", value);
}

int TLastSettings::MultiStreamsMethod() const
{
    return ReadInteger("MultiStreamsMethod", 1);
}

void TLastSettings::SetMultiStreamsMethod(int value)
{
    WriteInteger("MultiStreamsMethod", value);
}

void TLastSettings::Save()
{
    if (FChanged)
        FFile->UpdateFile();
    FChanged = false;
}

bool WriteLastSettingsInTeardown(const std::function<void(TLastSettings&)>& write) noexcept
{
    // A window being destroyed cannot hand an error to anyone, and leaving a destructor with one would end the
    // program: the refusal is told here and the teardown goes on.
    std::string why;
    try {
        TLastSettings settings;
        write(settings);
        settings.Save();
        return true;
    } catch (const std::exception& e) {
        why = e.what();
    } catch (...) {
        why = "an unknown error";
    }
    std::fprintf(stderr, "Tarnwick Pro: the remembered settings were not saved: %s\n", why.c_str());
    return false;
}

// LastSettings.ini, the choices the windows remember between runs: the file, its keys with their defaults, and
// the safe way to write it from a window's teardown.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class TMemIniFile;

// Output format type codes, which index the remembered profile names.
constexpr int LastSettingsFormatCount = 8; // 0 3GP, 1 AVI, 2 MPEG, 3 MP4, 4 WMV, 5 RealMedia, 6 MOV, 7 FLV.

// The program folder's LastSettings.ini, opened for one batch of reads and writes the way each window uses it:
// open, read or set its keys, Save, free. Nothing is cached between two of them.
//
// Reading never fails: a missing or unreadable file, section or key gives the key's default, and any boolean
// is true when its stored number is not 0. Setters only change what Save will write (a value an INI file cannot
// hold, a line break, raises EIniFileException and is not stored); Save replaces the whole file at once (a
// temporary file, then a rename), so a refused or interrupted save leaves the previous file as it was. Keys that
// are not set keep their stored values.
class TLastSettings final {
public:
    TLastSettings();
    ~TLastSettings();
    TLastSettings(const TLastSettings&) = delete;
    TLastSettings& operator=(const TLastSettings&) = delete;

    // The program folder followed by "LastSettings.ini".
    static std::string FileName();

    // The main window's output folder; by default the desktop's videos folder, with a trailing '/'.
    std::string OutputFolder() const;
    void SetOutputFolder(std::string_view value);
    // The main window's "Preview Movie" box; by default ticked. Written as "1" or "0".
    bool PreviewMovie() const;
    void SetPreviewMovie(bool value);
    // The add-folder dialog's "Include subdirectories" box; by default clear.
    bool IncludedSubdir() const;
    void SetIncludedSubdir(bool value);
    // The analysis dialog's "Auto close window after analysis complete" box; by default ticked.
    bool AutoCloseAnalysisForm() const;
    void SetAutoCloseAnalysisForm(bool value);
    // The output-settings window's two boxes for new jobs; by default clear.
    bool FixAspectRatio() const;
    void SetFixAspectRatio(bool value);
    bool DisableAudio() const;
    void SetDisableAudio(bool value);
    // The output format chosen first for new jobs (a type code, by default 1, AVI), as stored: the reader checks
    // its range.
    int LastVideoFormat() const;
    void SetLastVideoFormat(int value);
    // The profile name preselected for an output format type code (Last3GPProfile ... LastFLVProfile); empty by
    // default, and for a code outside 0..7, whose setter stores nothing.
    std::string LastProfile(int formatType) const;
    void SetLastProfile(int formatType, std::string_view name);
    // The advanced-settings window's size; by default 705 x 740.
    int AdvanceSettingsFormWidth() const;
    void SetAdvanceSettingsFormWidth(int value);
    int AdvanceSettingsFormHeight() const;
    void SetAdvanceSettingsFormHeight(int value);
    // How a source with several streams is opened: 0 its first video and audio stream, otherwise the user
    // chooses. This reader's default is the options window's, 1; the conversion job reads a missing key as 0.
    int MultiStreamsMethod() const;
    void SetMultiStreamsMethod(int value);

    // Writes what was set, when anything differs from the file; raises EIniFileException "Unable to write to
    // <path>" when the file cannot be written (the file on disk is then unchanged).
    void Save();

private:
    std::string ReadString(std::string_view key, std::string_view def) const;
    int ReadInteger(std::string_view key, int def) const;
    void WriteString(std::string_view key, std::string_view value);
    void WriteInteger(std::string_view key, int value);

    std::unique_ptr<TMemIniFile> FFile;
    bool FChanged = false;
};

// For destructors and FormDestroy handlers: opens the settings, lets `write` set its keys and saves them. A
// refusal (a read-only program folder, a full disk, a value the file cannot hold) never leaves here: it is
// reported on the standard error stream and answered false, so the rest of the teardown still runs.
bool WriteLastSettingsInTeardown(const std::function<void(TLastSettings&)>& write) noexcept;

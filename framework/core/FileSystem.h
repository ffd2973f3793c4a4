// The framework's path and file routines, dates of files, and the FindFirst/FindNext folder search.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr char PathDelim = '/';

// ---- Paths (pure text; nothing here touches the disk except ExpandFileName's current folder) ---------------

// Up to and including the last '/' ("" when there is none).
std::string ExtractFilePath(std::string_view path);
// ExtractFilePath without its trailing '/', except for the root "/".
std::string ExtractFileDir(std::string_view path);
// After the last '/'.
std::string ExtractFileName(std::string_view path);
// From the last '.' of the file-name part, the dot included ("" when the name has no dot; ".hidden" for a
// name that starts with its only dot). A dot in a folder name never counts.
std::string ExtractFileExt(std::string_view path);
// Replaces (or adds) the extension of the file-name part; an empty `ext` removes it.
std::string ChangeFileExt(std::string_view path, std::string_view ext);
// Adds a trailing '/' when missing. "" stays "" (the current folder), so joining never lands in "/".
std::string IncludeTrailingPathDelimiter(std::string_view path);
// Drops one trailing '/'. The root "/" stays "/".
std::string ExcludeTrailingPathDelimiter(std::string_view path);
// Absolute form of `path` (relative to the current folder) with "." and ".." resolved textually and repeated
// '/' collapsed; a trailing '/' is kept. Symbolic links are not followed. "" stays "".
std::string ExpandFileName(std::string_view path);

// ---- Files and folders ---------------------------------------------------------------------------------------

// True only for a regular file (symbolic links followed).
bool FileExists(std::string_view path);
bool DirectoryExists(std::string_view path);
// Creates every missing folder of `path`; true when the folder exists afterwards; false for "".
bool ForceDirectories(std::string_view path);
bool CreateDir(std::string_view path);
// Removes an empty folder.
bool RemoveDir(std::string_view path);
// Removes a file; false for folders and missing files.
bool DeleteFile(std::string_view path);
// Renames a file or folder. Never overwrites: false when `newPath` exists.
bool RenameFile(std::string_view oldPath, std::string_view newPath);

std::string GetCurrentDir();
// The running executable (from /proc/self/exe) and its folder, with the trailing '/'.
std::string ExeFileName();
std::string ExeFolder();

// ---- Dates -------------------------------------------------------------------------------------------------

// Days since 1899-12-30; the fraction is the time of day. Always local time.
using TDateTime = double;

TDateTime Now();
// EncodeDate and EncodeTime raise EConvertError for an impossible date or time.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);

// The packed DOS date and time: (year-1980)<<25 | month<<21 | day<<16 | hour<<11 | minute<<5 | second/2.
// FileDateToDateTime raises EConvertError for a value that is no valid date. DateTimeToFileDate clamps dates
// outside 1980..2107 (what the packed form can hold) to the first or last moment it can.
TDateTime FileDateToDateTime(int32_t fileDate);
int32_t DateTimeToFileDate(TDateTime value);

// ---- Folder search -----------------------------------------------------------------------------------------

constexpr int32_t faReadOnly = 1;
constexpr int32_t faHidden = 2;
constexpr int32_t faSysFile = 4;
constexpr int32_t faVolumeID = 8;
constexpr int32_t faDirectory = 16;
constexpr int32_t faArchive = 32;
constexpr int32_t faSymLink = 64;
constexpr int32_t faAnyFile = 63;

// Whether a file name matches a mask of '*' (any run) and '?' (one character), case-insensitively, by the rule
// FindFirst applies: a mask ending in ".*" also matches names without a dot, so "*.*" matches every name.
bool MatchesMask(std::string_view name, std::string_view mask);

struct TSearchRec;
// Starts a search of `pathAndMask` ("folder/*.mp4"). The mask is the file-name part: '*' and '?' match
// case-insensitively, "*.*" matches every name, and a mask ending in ".*" also matches names without a dot.
// Regular files are always eligible; folders (including "." and "..") only with faDirectory in `attr`; names
// starting with '.' (other than "." and "..") only with faHidden. Other kinds of entries (devices, pipes,
// sockets, dangling links) are never returned. Matches come in name order (case-insensitive).
// Returns 0 and fills `rec` with the first match, or an errno value (ENOENT for none, or when the folder is
// missing; EACCES when it cannot be read).
int FindFirst(std::string_view pathAndMask, int32_t attr, TSearchRec& rec);
// 0 and the next match, or non-zero when there is none.
int FindNext(TSearchRec& rec);
// Releases the search; safe to call twice, and the record's destructor releases it too.
void FindClose(TSearchRec& rec);

struct TSearchRec {
    // DateTimeToFileDate of the local modification time.
    int32_t Time = 0;
    // Bytes; 0 for folders.
    int64_t Size = 0;
    // faDirectory, faReadOnly (not writable by us), faHidden (dot-names), faArchive (regular files), and
    // faSymLink added for symbolic links.
    int32_t Attr = 0;
    std::string Name;

private:
    friend int FindFirst(std::string_view pathAndMask, int32_t attr, TSearchRec& rec);
    friend int FindNext(TSearchRec& rec);
    friend void FindClose(TSearchRec& rec);

    // The folder's names are read and sorted at once, so nothing stays open between calls.
    std::string FFolder;
    std::vector<std::string> FNames;
    size_t FNext = 0;
    int32_t FAttr = 0;
};

// One folder's entries read once, for a search that looks for several masks in the same folder: Find gives what
// FindFirst and FindNext give for the folder and a mask, in the same order and with the same records, without
// reading the folder again. The folder stays open while the object lives, so its entries are examined by name.
class TFolderEntries {
public:
    // `folder` ends with a path delimiter. A folder that cannot be read has no entries.
    explicit TFolderEntries(const std::string& folder);
    ~TFolderEntries();
    TFolderEntries(const TFolderEntries&) = delete;
    TFolderEntries& operator=(const TFolderEntries&) = delete;

    // Calls `found` with each match of `mask` (the file-name part of FindFirst's argument) under `attr`.
    template <class F> void Find(std::string_view mask, int32_t attr, F&& found) const
    {
        TSearchRec rec;
        const std::string folded = FoldMask(mask);
        for (size_t i = 0; NextMatch(folded, attr, i, rec); ++i)
            found(static_cast<const TSearchRec&>(rec));
    }
    // The names of the entries that are folders (links to folders too), "." and ".." left out, in name order.
    std::vector<std::string> SubFolders() const;

private:
    // The mask as names are matched against it.
    static std::string FoldMask(std::string_view mask);
    // From entry `index` on, the first that matches the folded mask; `index` is left at it.
    bool NextMatch(std::string_view foldedMask, int32_t attr, size_t& index, TSearchRec& rec) const;

    struct TEntry {
        std::string Name;
        std::string Folded; // AnsiUpperCase(Name), what masks are matched against.
        unsigned char Type; // The folder's own idea of the kind of entry (DT_*), DT_UNKNOWN when it has none.
    };
    int FFolder = -1;
    std::vector<TEntry> FEntries;
};

#include "framework/core/FileSystem.h"

#include "framework/core/DateUtils.h"
#include "framework/core/Exception.h"
#include "framework/core/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// ---- Dates -----------------------------------------------------------------------------------------------

constexpr int64_t kMsPerDay = 86'400'000;
// Days from 1970-01-01 back to the TDateTime epoch 1899-12-30.
constexpr int64_t kUnixEpochDays = 25'569;

// Days since 1970-01-01 of a proleptic Gregorian date (the well-known era-based civil calendar algorithm).
int64_t DaysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

// Splits a TDateTime into whole days since the epoch and milliseconds of the day. As in the framework, a
// negative value's fraction still counts forward from midnight (-1.25 is 1899-12-29 06:00). Values beyond the
// years 1..9999 are clamped to them, and NaN reads as the epoch.
void SplitDateTime(TDateTime value, int64_t& days, int64_t& ms)
{
    constexpr double kFirstDay = -693593.0; // 0001-01-01
    constexpr double kLastDay = 2958465.0; // 9999-12-31
    if (std::isnan(value))
        value = 0;
    value = std::clamp(value, kFirstDay, kLastDay + 0.99999999);
    days = static_cast<int64_t>(std::trunc(value));
    ms = std::llround(std::fabs(value - std::trunc(value)) * kMsPerDay);
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        days += value < 0 ? -1 : 1;
    }
}

// Packs a local date and time into the DOS form, clamping to the years it can hold.
int32_t PackFileDate(int year, int month, int day, int hour, int minute, int second)
{
    if (year < 1980) {
        year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    } else if (year > 2107) {
        year = 2107, month = 12, day = 31, hour = 23, minute = 59, second = 59;
    }
    uint32_t packed = uint32_t(year - 1980) << 25 | uint32_t(month) << 21 | uint32_t(day) << 16 | uint32_t(hour) << 11
        | uint32_t(minute) << 5 | uint32_t(std::min(second, 59) / 2);
    return static_cast<int32_t>(packed);
}

// ---- Paths -----------------------------------------------------------------------------------------------

size_t FileNameStart(std::string_view path)
{
    size_t slash = path.rfind(PathDelim);
    return slash == std::string_view::npos ? 0 : slash + 1;
}

// The name's extension dot, or npos.
size_t ExtensionDot(std::string_view path)
{
    size_t dot = path.rfind('.');
    return (dot == std::string_view::npos || dot < FileNameStart(path)) ? std::string_view::npos : dot;
}

// ---- Folder search ---------------------------------------------------------------------------------------

size_t NextChar(std::string_view s, size_t i)
{
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
        ++i;
    return i;
}

// '*' matches any run of characters, '?' exactly one (a whole UTF-8 sequence). Both sides come folded.
// Backtracks only to the last star, so no mask can make it take more than |name| * |mask| steps.
bool WildcardMatch(std::string_view name, std::string_view mask)
{
    size_t n = 0;
    size_t m = 0;
    size_t starMask = std::string_view::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && mask[m] == '?') {
            n = NextChar(name, n);
            ++m;
        } else if (m < mask.size() && mask[m] == name[n]) {
            ++n;
            ++m;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            starName = NextChar(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

bool FoldedMaskMatches(std::string_view folded, std::string_view foldedMask)
{
    if (WildcardMatch(folded, foldedMask))
        return true;
    // "name.*" also finds "name", and so "*.*" finds every name.
    return foldedMask.size() >= 2 && foldedMask.ends_with(".*") && folded.find('.') == std::string::npos
        && WildcardMatch(folded, foldedMask.substr(0, foldedMask.size() - 2));
}

bool MaskMatches(std::string_view name, std::string_view foldedMask)
{
    return FoldedMaskMatches(AnsiUpperCase(name), foldedMask);
}

} // namespace

bool MatchesMask(std::string_view name, std::string_view mask)
{
    return MaskMatches(name, AnsiUpperCase(mask));
}

namespace {

bool IsDotOrDotDot(std::string_view name)
{
    return name == "." || name == "..";
}

// Fills `rec` for the entry `name`, reached as `path` from the folder `folder` (AT_FDCWD with a whole path), when
// it passes `attr`; false for an entry that is gone, of another kind, or left out by `attr`.
bool ReadSearchEntry(int folder, const std::string& path, const std::string& name, int32_t attr, TSearchRec& rec)
{
    struct stat linkInfo { };
    struct stat info { };
    if (fstatat(folder, path.c_str(), &linkInfo, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (!S_ISLNK(linkInfo.st_mode))
        info = linkInfo;
    else if (fstatat(folder, path.c_str(), &info, 0) != 0)
        return false;
    const bool isFolder = S_ISDIR(info.st_mode);
    // Devices, pipes and sockets are no files to convert; opening a pipe would even block.
    if (!isFolder && !S_ISREG(info.st_mode))
        return false;
    const bool hidden = name.front() == '.' && !IsDotOrDotDot(name);
    if ((isFolder && !(attr & faDirectory)) || (hidden && !(attr & faHidden)))
        return false;
    int32_t found = isFolder ? faDirectory : faArchive;
    if (hidden)
        found |= faHidden;
    if (faccessat(folder, path.c_str(), W_OK, 0) != 0)
        found |= faReadOnly;
    if (S_ISLNK(linkInfo.st_mode))
        found |= faSymLink;
    tm local {};
    localtime_r(&info.st_mtime, &local);
    rec.Time = PackFileDate(
        local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    rec.Size = isFolder ? 0 : static_cast<int64_t>(info.st_size);
    rec.Attr = found;
    rec.Name = name;
    return true;
}

// The order in which a search gives names: case-insensitive, ties by the bytes.
bool SearchOrder(std::string_view a, std::string_view b)
{
    const int byText = CompareText(a, b);
    return byText != 0 ? byText < 0 : a < b;
}

} // namespace

// ---- Paths -------------------------------------------------------------------------------------------------

std::string ExtractFilePath(std::string_view path)
{
    return std::string(path.substr(0, FileNameStart(path)));
}

std::string ExtractFileDir(std::string_view path)
{
    std::string folder = ExtractFilePath(path);
    if (folder.size() > 1)
        folder.pop_back();
    return folder;
}

std::string ExtractFileName(std::string_view path)
{
    return std::string(path.substr(FileNameStart(path)));
}

std::string ExtractFileExt(std::string_view path)
{
    size_t dot = ExtensionDot(path);
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext)
{
    size_t dot = ExtensionDot(path);
    std::string result(path.substr(0, dot));
    result += ext;
    return result;
}

std::string IncludeTrailingPathDelimiter(std::string_view path)
{
    std::string result(path);
    if (!result.empty() && result.back() != PathDelim)
        result += PathDelim;
    return result;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path)
{
    std::string result(path);
    if (result.size() > 1 && result.back() == PathDelim)
        result.pop_back();
    return result;
}

std::string ExpandFileName(std::string_view path)
{
    if (path.empty())
        return {};
    std::string full = path.front() == PathDelim ? std::string(path) : GetCurrentDir() + PathDelim + std::string(path);
    std::vector<std::string_view> parts;
    std::string_view rest = full;
    while (!rest.empty()) {
        size_t slash = rest.find(PathDelim);
        std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string result;
    for (std::string_view part : parts) {
        result += PathDelim;
        result += part;
    }
    if (result.empty() || path.back() == PathDelim)
        result += PathDelim;
    return result;
}

// ---- Files and folders ---------------------------------------------------------------------------------------

bool FileExists(std::string_view path)
{
    struct stat st { };
    return !path.empty() && stat(std::string(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(std::string_view path)
{
    struct stat st { };
    return !path.empty() && stat(std::string(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(std::string_view path)
{
    if (path.empty())
        return false;
    const std::string full(path);
    // Each prefix that ends before a '/' is a folder to have; failures show in the final check.
    for (size_t slash = full.find(PathDelim, 1); slash != std::string::npos; slash = full.find(PathDelim, slash + 1)) {
        if (full[slash - 1] != PathDelim)
            mkdir(full.substr(0, slash).c_str(), 0777);
    }
    mkdir(full.c_str(), 0777);
    return DirectoryExists(full);
}

bool CreateDir(std::string_view path)
{
    return !path.empty() && mkdir(std::string(path).c_str(), 0777) == 0;
}

bool RemoveDir(std::string_view path)
{
    return !path.empty() && rmdir(std::string(path).c_str()) == 0;
}

bool DeleteFile(std::string_view path)
{
    const std::string name(path);
    struct stat st { };
    if (name.empty() || lstat(name.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    return unlink(name.c_str()) == 0;
}

bool RenameFile(std::string_view oldPath, std::string_view newPath)
{
    const std::string from(oldPath);
    const std::string to(newPath);
    if (from.empty() || to.empty())
        return false;
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // The file system cannot rename without replacing. A hard link fails when the target exists, so it gives
    // the same guarantee for files.
    if (link(from.c_str(), to.c_str()) == 0) {
        if (unlink(from.c_str()) == 0)
            return true;
        unlink(to.c_str());
        return false;
    }
    if (errno == EEXIST)
        return false;
    // No hard links either (folders, or file systems without them): check, then rename. Another process could
    // create the target in between; nothing better exists on such a file system.
    struct stat st { };
    if (lstat(to.c_str(), &st) == 0 || errno != ENOENT)
        return false;
    return rename(from.c_str(), to.c_str()) == 0;
}

std::string GetCurrentDir()
{
    std::string buffer(256, '\0');
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return {};
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    return buffer;
}

std::string ExeFileName()
{
    std::string buffer(256, '\0');
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<size_t>(n) < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string ExeFolder()
{
    return ExtractFilePath(ExeFileName());
}

// ---- Dates -------------------------------------------------------------------------------------------------

TDateTime EncodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysPerMonth(year, month))
        throw EConvertError("Invalid argument to date encode");
    return static_cast<double>(DaysFromCivil(year, month, day) + kUnixEpochDays);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0
        || millisecond > 999)
        throw EConvertError("Invalid argument to time encode");
    return static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond) / kMsPerDay;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    int64_t days = 0;
    int64_t ms = 0;
    SplitDateTime(value, days, ms);
    CivilFromDays(days - kUnixEpochDays, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond)
{
    int64_t days = 0;
    int64_t ms = 0;
    SplitDateTime(value, days, ms);
    hour = static_cast<int>(ms / 3'600'000);
    minute = static_cast<int>(ms / 60'000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    millisecond = static_cast<int>(ms % 1000);
}

TDateTime Now()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local {};
    localtime_r(&now.tv_sec, &local);
    TDateTime date = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    // A leap second (tm_sec 60) is shown as the last second of the minute.
    return date
        + EncodeTime(
            local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), static_cast<int>(now.tv_nsec / 1'000'000));
}

TDateTime FileDateToDateTime(int32_t fileDate)
{
    const uint32_t bits = static_cast<uint32_t>(fileDate);
    return EncodeDate(static_cast<int>(bits >> 25) + 1980, (bits >> 21) & 15, (bits >> 16) & 31)
        + EncodeTime((bits >> 11) & 31, (bits >> 5) & 63, (bits & 31) * 2, 0);
}

int32_t DateTimeToFileDate(TDateTime value)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, ms);
    return PackFileDate(year, month, day, hour, minute, second);
}

// ---- Folder search -----------------------------------------------------------------------------------------

int FindFirst(std::string_view pathAndMask, int32_t attr, TSearchRec& rec)
{
    FindClose(rec);
    rec.FFolder = ExtractFilePath(pathAndMask);
    rec.FAttr = attr;
    const std::string mask = AnsiUpperCase(ExtractFileName(pathAndMask));
    if (mask.empty())
        return ENOENT;
    DIR* dir = opendir(rec.FFolder.empty() ? "." : rec.FFolder.c_str());
    if (!dir)
        return errno ? errno : ENOENT;
    while (dirent* entry = readdir(dir)) {
        if (MaskMatches(entry->d_name, mask))
            rec.FNames.emplace_back(entry->d_name);
    }
    closedir(dir);
    std::sort(rec.FNames.begin(), rec.FNames.end(), SearchOrder);
    return FindNext(rec);
}

int FindNext(TSearchRec& rec)
{
    // Entries are examined only now, so one that vanished since FindFirst is simply skipped.
    while (rec.FNext < rec.FNames.size()) {
        const std::string& name = rec.FNames[rec.FNext++];
        if (ReadSearchEntry(AT_FDCWD, rec.FFolder + name, name, rec.FAttr, rec))
            return 0;
    }
    return ENOENT;
}

void FindClose(TSearchRec& rec)
{
    rec.FNames.clear();
    rec.FNames.shrink_to_fit();
    rec.FNext = 0;
}

TFolderEntries::TFolderEntries(const std::string& folder)
{
    FFolder = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (FFolder < 0)
        return;
    // The stream takes its own descriptor, so the folder's stays open for the entries' look-ups.
    const int listing = dup(FFolder);
    DIR* dir = listing >= 0 ? fdopendir(listing) : nullptr;
    if (!dir) {
        if (listing >= 0)
            close(listing);
        return;
    }
    while (dirent* entry = readdir(dir))
        FEntries.push_back({ entry->d_name, AnsiUpperCase(entry->d_name), entry->d_type });
    closedir(dir);
    std::sort(FEntries.begin(), FEntries.end(),
        [](const TEntry& a, const TEntry& b) { return SearchOrder(a.Name, b.Name); });
}

TFolderEntries::~TFolderEntries()
{
    if (FFolder >= 0)
        close(FFolder);
}

std::string TFolderEntries::FoldMask(std::string_view mask)
{
    return AnsiUpperCase(mask);
}

bool TFolderEntries::NextMatch(std::string_view foldedMask, int32_t attr, size_t& index, TSearchRec& rec) const
{
    if (foldedMask.empty())
        return false;
    for (; index < FEntries.size(); ++index) {
        const TEntry& entry = FEntries[index];
        if (FoldedMaskMatches(entry.Folded, foldedMask) && ReadSearchEntry(FFolder, entry.Name, entry.Name, attr, rec))
            return true;
    }
    return false;
}

std::vector<std::string> TFolderEntries::SubFolders() const
{
    std::vector<std::string> folders;
    for (const TEntry& entry : FEntries) {
        if (entry.Type == DT_REG || IsDotOrDotDot(entry.Name))
            continue;
        // Only a plain folder is known without a look; a link or an unknown kind is looked at.
        struct stat info { };
        if (entry.Type == DT_DIR || (fstatat(FFolder, entry.Name.c_str(), &info, 0) == 0 && S_ISDIR(info.st_mode)))
            folders.push_back(entry.Name);
    }
    return folders;
}

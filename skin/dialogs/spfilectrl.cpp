#include "skin/dialogs/spfilectrl.h"

#include "framework/core/Exception.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "framework/graphics/TCanvas.h"
#include "platform/shell/ShellDrives.h"
#include "platform/shell/ShellFileInfo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace spfilectrl {

bool DirectoryExists(const std::string& name)
{
    if (name.empty())
        return false;
    const DWORD attributes = GetFileAttributes(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(std::string dir)
{
    if (dir.empty())
        return false;
    // Only the bare root needs nothing; every other name, however short, is created.
    if (dir.find_first_not_of('/') == std::string::npos)
        return true;
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    if (DirectoryExists(dir))
        return true;
    const std::string parent = ExtractFilePath(dir);
    if (!parent.empty() && !ForceDirectories(parent))
        return false;
    return CreateDir(dir) || DirectoryExists(dir);
}

std::string JoinPath(const std::string& path, const std::string& s)
{
    if (!path.empty() && path.back() == '/')
        return path + s;
    return path + "/" + s;
}

void DropFirstFolder(std::string& s)
{
    if (s == "/") {
        s.clear();
        return;
    }
    const bool leading = !s.empty() && s[0] == '/';
    if (leading)
        s.erase(0, 1);
    // An earlier ".../" marker.
    if (!s.empty() && s[0] == '.')
        s.erase(0, std::min<size_t>(4, s.size()));
    const size_t slash = s.find('/');
    if (slash != std::string::npos)
        s = ".../" + s.substr(slash + 1);
    else
        s.clear();
    if (leading)
        s.insert(0, "/");
}

int PathDepth(const std::string& pathName)
{
    return static_cast<int>(std::count(pathName.begin(), pathName.end(), '/'));
}

std::string MinimizeName(const std::string& fileName, const std::function<int(const std::string&)>& textWidth, int maxLen)
{
    std::string result = fileName;
    std::string dir = ExtractFilePath(fileName);
    const std::string name = ExtractFileName(fileName);
    while (!dir.empty() && textWidth(result) > maxLen) {
        if (dir == "/.../")
            dir = ".../";
        else
            DropFirstFolder(dir);
        result = dir + name;
    }
    return result;
}

std::string MinimizeName(const std::string& fileName, TCanvas& canvas, int maxLen)
{
    return MinimizeName(fileName, [&canvas](const std::string& text) { return canvas.TextWidth(text); }, maxLen);
}

void ChDir(const std::string& dir)
{
    if (chdir(dir.c_str()) != 0)
        throw EInOutError(Format("Cannot change to folder \"%s\": %s", dir, std::strerror(errno)));
}

TCurrentDirGuard::TCurrentDirGuard()
    : FSaved(GetCurrentDir())
{
}

TCurrentDirGuard::~TCurrentDirGuard()
{
    if (!FSaved.empty() && DirectoryExists(FSaved)) {
        [[maybe_unused]] const int ignored = chdir(FSaved.c_str());
    }
}

void ProcessPath(const std::string& editText, char& drive, std::string& dirPart, std::string& filePart)
{
    TCurrentDirGuard guard;
    drive = '/';
    dirPart = editText;
    if (dirPart.size() >= 2 && dirPart.front() == '[' && dirPart.back() == ']')
        dirPart = dirPart.substr(1, dirPart.size() - 2);
    filePart = ExtractFileName(dirPart);
    if (dirPart.size() == filePart.size() + 1)
        dirPart = "/";
    else if (dirPart.size() > filePart.size())
        dirPart.erase(dirPart.size() - filePart.size() - 1);
    else
        dirPart = guard.Saved().empty() ? "/" : guard.Saved();
    // A relative folder part is taken from the current folder, and the answer is always absolute.
    dirPart = ExcludeTrailingPathDelimiter(ExpandFileName(dirPart[0] == '/' ? dirPart : JoinPath(guard.Saved(), dirPart)));
    ChDir(dirPart);
    if (!filePart.empty() && filePart.find_first_of("*?") == std::string::npos && !FileExists(filePart)) {
        ChDir(filePart);
        dirPart = JoinPath(dirPart, filePart);
        filePart.clear();
    }
}

void ParseFilter(const std::string& filter, std::vector<std::string>& descriptions, std::vector<std::string>& masks)
{
    descriptions.clear();
    masks.clear();
    size_t start = 0;
    while (start < filter.size()) {
        const size_t bar = filter.find('|', start);
        if (bar == std::string::npos)
            break;
        size_t end = filter.find('|', bar + 1);
        if (end == std::string::npos)
            end = filter.size();
        descriptions.push_back(filter.substr(start, bar - start));
        masks.push_back(filter.substr(bar + 1, end - bar - 1));
        start = end + 1;
    }
}

std::string CompleteSaveFileName(const std::string& fileName, const std::string& mask, const std::string& defaultExt)
{
    std::string result = fileName;
    if (mask.find(".*") == std::string::npos && ExtractFileExt(result).empty()) {
        const std::string first = mask.substr(0, mask.find(';'));
        const std::string ext = ExtractFileExt(Trim(first));
        // "*.txt" gives ".txt"; a mask without a plain extension ("*.t?t", "name") gives none.
        if (ext.size() > 1 && ext.find_first_of("*?") == std::string::npos)
            result += ext;
    }
    if (ExtractFileExt(result).empty() && !defaultExt.empty())
        result += "." + defaultExt;
    return result;
}

std::string DriveVolumeLabel(const std::string& drive)
{
    char label[261] = {};
    if (!GetVolumeInformation(drive.c_str(), label, sizeof(label), nullptr, nullptr, nullptr, nullptr, 0))
        label[0] = 0;
    return Format("[%s]", label);
}

std::string DriveRemoteName(const std::string& drive)
{
    TShellDrive mount;
    if (ShellDriveOf(drive, mount) && mount.Kind == DRIVE_REMOTE)
        return mount.Device;
    return DriveVolumeLabel(drive);
}

} // namespace spfilectrl

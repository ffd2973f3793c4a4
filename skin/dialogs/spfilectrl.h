// Path routines of the file-system controls and dialogs: folder tests and creation, fitting a path into a
// width, splitting a typed or listed path, and the names of mounts. Paths are Linux paths ("/" separates,
// "/" is the one root; the mounts stand for drives).
#pragma once
#include <functional>
#include <string>
#include <vector>

class TCanvas;

namespace spfilectrl {

// True for an existing folder (links followed); false for files, "" and missing paths.
bool DirectoryExists(const std::string& name);
// Creates `dir` and every missing parent; true when it exists afterwards. The bare root "/" is there already;
// "" fails.
bool ForceDirectories(std::string dir);

// `fileName` shortened, folder by folder from the front, with ".../" until `textWidth` of it is at most
// `maxLen` (pixels): /usr/share/doc/x.txt, /.../share/doc/x.txt, /.../doc/x.txt, /.../x.txt, .../x.txt, x.txt.
// The bare file name when nothing shorter fits.
std::string MinimizeName(const std::string& fileName, const std::function<int(const std::string&)>& textWidth, int maxLen);
// The same measured in the canvas's font.
std::string MinimizeName(const std::string& fileName, TCanvas& canvas, int maxLen);

// Splits a typed path, or a folder entry of the file list ("[name]"), into the root ('/'), the folder (always
// absolute: relative parts are resolved against the current folder) and the file part. A last part that is
// neither a mask nor an existing file is taken as a folder, leaving the file part empty. The current folder is
// restored afterwards; EInOutError when a folder part does not exist.
void ProcessPath(const std::string& editText, char& drive, std::string& dirPart, std::string& filePart);

// `path` + "/" + `s` (no second '/' when `path` ends with one).
std::string JoinPath(const std::string& path, const std::string& s);
// Drops the first folder of a shortened folder part ("/a/b/" -> "/.../b/", "/.../b/" -> "/.../", "/" -> "").
void DropFirstFolder(std::string& s);
// The number of '/' in a path.
int PathDepth(const std::string& pathName);
// "[label]" of the mount holding `drive` ("[]" when it has none or cannot be read).
std::string DriveVolumeLabel(const std::string& drive);
// The remote source a network mount is connected to ("server:/export"); the volume label for other mounts.
std::string DriveRemoteName(const std::string& drive);

// A filter text of descriptions and masks, alternating and separated by '|' ("Videos|*.mp4;*.avi|All|*.*"),
// as the filter box lists it: one description per mask; a last description without a mask is dropped.
void ParseFilter(const std::string& filter, std::vector<std::string>& descriptions, std::vector<std::string>& masks);

// The name a save dialog returns for a typed `fileName` under the filter mask `mask`: a name without an
// extension takes the mask's extension (of its first part), unless the mask allows any (".*"); a name that
// still has none takes `defaultExt` (without its dot). The overwrite question is asked about this name.
std::string CompleteSaveFileName(const std::string& fileName, const std::string& mask, const std::string& defaultExt);

// Changes the current folder; EInOutError when it cannot.
void ChDir(const std::string& dir);

// Restores the current folder it found when it ends (when that folder still exists).
class TCurrentDirGuard {
public:
    TCurrentDirGuard();
    ~TCurrentDirGuard();
    TCurrentDirGuard(const TCurrentDirGuard&) = delete;
    TCurrentDirGuard& operator=(const TCurrentDirGuard&) = delete;
    const std::string& Saved() const { return FSaved; }

private:
    std::string FSaved;
};

} // namespace spfilectrl

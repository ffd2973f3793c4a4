// TProfileManager, the store of every output profile of the Profiles folder, sorted by format and name.
#pragma once
#include "engine/Forward.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Reads every profile file of one folder and keeps the profiles sorted by format code, then by name compared
// byte by byte. Only the user-interface thread uses it.
class TProfileManager final {
public:
    // `directory` is kept as given and must end with '/'.
    explicit TProfileManager(std::string directory);
    TProfileManager(const TProfileManager&) = delete;
    TProfileManager& operator=(const TProfileManager&) = delete;
    // Destroys every profile it holds, the deleted ones included.
    ~TProfileManager();

    int32_t Count() const;
    // The profile at `index` of the sorted list (not a copy). Raises EListError for an index outside
    // 0..Count() - 1.
    TVideoProfile* Get(int32_t index) const;
    // Takes ownership of `profile` and puts it in its sorted place, after profiles of the same format and
    // name. It does not look for a profile of the same name.
    void Add(std::unique_ptr<TVideoProfile> profile);
    // Deletes the profile's file (a failure is ignored) and removes it from the list. The profile object
    // stays valid, since the profile editor's list may still hold it, until the manager is destroyed.
    // Raises EListError for a bad index.
    void Delete(int32_t index);
    // Destroys every profile of the list.
    void Clear();
    // Loads every "*.pf" entry of Directory whose format word names one of the eight formats and whose
    // profile loads; other files are skipped without a message. When reading an entry raises, a message box
    // names the file and loading stops, keeping the profiles read so far.
    void LoadAll();

    // -1, 0 or 1: by FormatType, then by ProfileName byte by byte as unsigned values.
    static int Compare(const TVideoProfile& a, const TVideoProfile& b);

    // The folder LoadAll reads, ending with '/'.
    std::string Directory;

private:
    std::vector<std::unique_ptr<TVideoProfile>> Profiles;
    // Profiles that Delete took out of the list: owned by nobody else, and freed with the manager rather
    // than leaked.
    std::vector<std::unique_ptr<TVideoProfile>> FRemoved;
};

// TResourceSkinData, the skin container that fills the resource holder's two skin slots, and the look-ups of
// the holder's skins.
#pragma once
#include "engine/TResourceForm.h"
#include "skin/core/TspSkinData.h"

#include <string>

// One skin of the resource holder: a skin container with skinned forms and skin effects on. A load that
// fails leaves the container empty, tells the user which file could not be used, and lets every window fall
// back to its default look.
class TResourceSkinData final : public TResourceSkin {
    using inherited = TResourceSkin;

public:
    TResourceSkinData();

    // Loads `path`. A missing file, a file that is not a complete skin, and a skin whose pictures or values
    // do not load each give a warning naming the file; the container is then empty and has told the forms so.
    void LoadSkin(const std::string& path) override;

    TspSkinData* SkinData() { return &FSkinData; }

    // The text of the warning for a skin that could not be used, empty when `path` loaded.
    static std::string LoadSkinData(TspSkinData& skin, const std::string& path);

private:
    TspSkinData FSkinData;
};

// Fills the holder's two slots with skin containers.
void InstallResourceSkins(TResourceForm& form);
// The skins of ResourceForm; null when there is no holder or its slot is not filled.
TspSkinData* MainSkinData();
TspSkinData* FormSkinData();

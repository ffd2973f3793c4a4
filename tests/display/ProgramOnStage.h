// The program's windows on a stage: the application on the stage's loop, a program folder of the scenario's own
// holding the program's skins (TP_SKIN_DIR), and the resource holder with both skins loaded.
#pragma once
#include "app/TResourceSkinData.h"
#include "engine/AppServices.h"
#include "engine/TResourceForm.h"
#include "framework/controls/Forms.h"
#include "tests/display/TWindowStage.h"

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

class TProgramOnStage {
public:
    explicit TProgramOnStage(TWindowStage& stage)
        : FStage(stage)
    {
        namespace fs = std::filesystem;
        std::string pattern = fs::temp_directory_path().string() + "/app-display-XXXXXX";
        if (mkdtemp(pattern.data()))
            Folder = pattern + "/";
        fs::create_directories(Folder + "Skin");
        fs::create_directory_symlink(TP_SKIN_DIR, Folder + "Skin/TarnwickPro");
        SetProgramFolder(Folder);
        InitializeForms();
        FStage.MessageLoop = [] { Application->ProcessMessages(); };
        FHolder = std::make_unique<TResourceForm>(nullptr);
        ResourceForm = FHolder.get();
        InstallResourceSkins(*FHolder);
        FHolder->LoadMainSkin();
        FHolder->LoadFormSkin();
    }
    ~TProgramOnStage()
    {
        FStage.MoveTo(TWindowStage::kRestingPoint.x, TWindowStage::kRestingPoint.y, {});
        FHolder.reset();
        ResourceForm = nullptr;
        FStage.MessageLoop = nullptr;
        FinalizeForms();
        SetProgramFolder("");
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }
    TProgramOnStage(const TProgramOnStage&) = delete;
    TProgramOnStage& operator=(const TProgramOnStage&) = delete;

    TResourceForm& Holder() { return *FHolder; }

    // The program folder, with a trailing '/'.
    std::string Folder;

private:
    TWindowStage& FStage;
    std::unique_ptr<TResourceForm> FHolder;
};

#include "app/StartUp.h"

#include "app/TCoverForm.h"
#include "app/TMainForm.h"
#include "app/TResourceSkinData.h"
#include "engine/TProfileManager.h"
#include "engine/TResourceForm.h"
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/TScreen.h"
#include "skin/dialogs/SkinFileDialogProvider.h"

#include <exception>
#include <string>

TStartUpStages DefaultStartUpStages()
{
    TStartUpStages stages;
    stages.LoadMainSkin = [](TResourceForm& holder) { holder.LoadMainSkin(); };
    stages.LoadFormSkin = [](TResourceForm& holder) { holder.LoadFormSkin(); };
    stages.LoadProfiles = [](TResourceForm& holder) { holder.LoadProfiles(); };
    stages.CreateMainForm = [] {
        TMainForm* form = nullptr;
        Application->CreateForm(form);
    };
    return stages;
}

int RunStartUp(const TStartUpStages& stages)
{
    TCoverForm* splash = nullptr;
    try {
        Application->Initialize();
        Application->SetTitle("Tarnwick Pro");
        // Hints appear without delay.
        Application->SetHintPause(0);
        Screen->SetCursor(crHourGlass);

        splash = TCustomForm::Create<TCoverForm>(Application);
        splash->Show();
        splash->Update();

        ResourceForm = new TResourceForm(Application);
        InstallResourceSkins(*ResourceForm);
        splash->ShowInfoText("Loading Main UI resources...");
        stages.LoadMainSkin(*ResourceForm);
        splash->ShowInfoText("Loading Other UI resources...");
        stages.LoadFormSkin(*ResourceForm);
        splash->ShowInfoText("Loading Profiles...");
        stages.LoadProfiles(*ResourceForm);
        splash->Update();
        splash->ShowInfoText("Starting...");

        // The program's own skinned file dialogs, for when the desktop can show none.
        InstallFileDialogProvider(NewSkinFileDialogProvider(FormSkinData(), FormSkinData()));
        stages.CreateMainForm();
        splash->Close();
        delete splash;
        splash = nullptr;
        Screen->SetCursor(crDefault);
        Application->Run();
        // The provider's skins go with the resource holder.
        InstallFileDialogProvider(nullptr);
        return 0;
    } catch (...) {
        // The splash would stand in front of the error; the hourglass would stay over it.
        delete splash;
        Screen->SetCursor(crDefault);
        InstallFileDialogProvider(nullptr);
        try {
            throw;
        } catch (const Exception& e) {
            Application->ShowException(e);
        } catch (const std::exception& e) {
            Application->ShowException(Exception(e.what()));
        } catch (...) {
            Application->ShowException(Exception(""));
        }
        // The start-up failed: whoever started the program learns it too.
        return 1;
    }
}

// Start-up of the converter. Until the application windows exist it loads what the program shares (the
// resource holder's skins and profiles) and opens a small demonstration form.
#include "app/DemoForm.h"
#include "app/TResourceSkinData.h"
#include "engine/AppServices.h"
#include "engine/TDecoderModeMap.h"
#include "engine/TProfileManager.h"
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include "framework/core/FileSystem.h"
#include "framework/graphics/TIcon.h"
#include "imaging/Img32_system.h"
#include "platform/backend/sdl/TSdlBackend.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

int main()
{
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::fprintf(stderr, "Tarnwick Pro needs a graphical display, and none is available (DISPLAY is unset).\n");
        return 1;
    }
    TSdlBackend backend;
    // Every window of the program is one program to the desktop.
    backend.SetWindowClass("tarnwickpro", "TarnwickPro");
    std::string error;
    if (!backend.Install(nullptr, &error)) {
        std::fprintf(stderr, "Tarnwick Pro needs a graphical display: %s.\n", error.c_str());
        return 1;
    }
    // The resource holder, as the start-up makes it: skins first, then the profiles. A skin that does not load
    // is reported and leaves the default look.
    CreateGlobalDecoderModeMap();
    auto holder = std::make_unique<TResourceForm>(nullptr);
    ResourceForm = holder.get();
    InstallResourceSkins(*holder);
    holder->LoadMainSkin();
    holder->LoadFormSkin();
    holder->LoadProfiles();

    InitializeForms();
    // The engine's questions and failures go to the system's message box, owned by the active window.
    SetMessageBoxHandler([](const std::string& text, const std::string& caption, int32_t flags) {
        return int32_t(Application->MessageBox(text, caption, flags));
    });
    // The imaging controls' scroll bars follow the platform's visual styles through the theme nexus.
    Img32_system::InitializeThemeNexus();
    Application->Initialize();
    Application->SetTitle("Tarnwick Pro");
    // The program's icon, drawn by the skin maker beside the skins; without it the windows show none.
    const std::string icon = ProgramFolder() + "Skin/TarnwickPro/TarnwickPro.ico";
    if (FileExists(icon)) {
        try {
            Application->Icon()->LoadFromFile(icon);
        } catch (const Exception& e) {
            std::fprintf(stderr, "Tarnwick Pro: the program's icon %s is not read: %s\n", icon.c_str(), e.Message().c_str());
        }
    }
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    form->Label()->SetCaption(std::to_string(holder->ProfileManager->Count())
        + " output profiles loaded; the converter's windows come later.");
    Application->Run();
    Img32_system::FinalizeThemeNexus();
    SetMessageBoxHandler(nullptr);
    FinalizeForms();

    ResourceForm = nullptr;
    holder.reset();
    DestroyGlobalDecoderModeMap();
    backend.Uninstall();
    return 0;
}

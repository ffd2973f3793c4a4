// The converter's entry point: brings up the display and the program-wide services, then runs the start-up (the
// splash, the resource holder, the main window and the message loop) and takes everything down again.
#include "app/StartUp.h"
#include "app/TSelectStreamForm.h"
#include "engine/AppServices.h"
#include "engine/TDecoderModeMap.h"
#include "framework/controls/Forms.h"
#include "framework/controls/TScreen.h"
#include "framework/core/FileSystem.h"
#include "framework/graphics/TIcon.h"
#include "imaging/Img32_system.h"
#include "imaging/TPNGObject.h"
#include "platform/backend/sdl/TSdlBackend.h"
#include "platform/gdi/FontCache.h"
#include "skin/dialogs/TspShellImageList.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

// The engine's questions and failures, its cursor and its waits go through the application's windows.
void InstallAppServices()
{
    SetMessageBoxHandler([](const std::string& text, const std::string& caption, int32_t flags) {
        return int32_t(Application->MessageBox(text, caption, flags));
    });
    SetScreenCursorHandler([](int32_t cursor) { Screen->SetCursor(TCursor(cursor)); });
    SetProcessMessagesHandler([] { Application->ProcessMessages(); });
    InstallStreamChoiceWindow();
}

void RemoveAppServices()
{
    SetChooseStreamsHandler(nullptr);
    SetProcessMessagesHandler(nullptr);
    SetScreenCursorHandler(nullptr);
    SetMessageBoxHandler(nullptr);
}

// The program's icon, drawn by the skin maker beside the skins; without it the windows show none.
void LoadProgramIcon()
{
    const std::string icon = ProgramFolder() + "Skin/TarnwickPro/TarnwickPro.ico";
    if (!FileExists(icon))
        return;
    try {
        Application->Icon()->LoadFromFile(icon);
    } catch (const Exception& e) {
        std::fprintf(stderr, "Tarnwick Pro: the program's icon %s is not read: %s\n", icon.c_str(), e.Message().c_str());
    }
}

// With TP_QUIT_AFTER_FIRST_PRESENT set, the program writes "presented" on its standard output once its main
// window's first frame is on the display, and quits: the start-up benchmark times it up to that line.
void QuitAfterFirstPresentIfAsked(TSdlBackend& backend)
{
    if (!std::getenv("TP_QUIT_AFTER_FIRST_PRESENT"))
        return;
    backend.SetPresentObserver([told = false](HWND window) mutable {
        TCustomForm* mainForm = Application->MainForm();
        if (told || !mainForm || !mainForm->HandleAllocated() || window != mainForm->Handle())
            return;
        told = true;
        std::puts("presented");
        std::fflush(stdout);
        Application->Terminate();
    });
}

} // namespace

int main()
{
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::fprintf(stderr, "Tarnwick Pro needs a graphical display, and none is available (DISPLAY is unset).\n");
        return 1;
    }
    // The font set-up (fontconfig's configuration, the scan of the bitmap faces) needs no display: it runs beside the
    // display's start instead of before the splash's first text, which waits for it if it is not done.
    std::jthread fonts(PrepareFonts);
    TSdlBackend backend;
    // Every window of the program is one program to the desktop.
    backend.SetWindowClass("tarnwickpro", "TarnwickPro");
    std::string error;
    if (!backend.Install(nullptr, &error)) {
        std::fprintf(stderr, "Tarnwick Pro needs a graphical display: %s.\n", error.c_str());
        return 1;
    }
    // PNG pictures (image lists, skins, the clipboard) and the shell's file-type icons read through our codec.
    RegisterPNGFormat();
    InstallShellIconDecoder();
    CreateGlobalDecoderModeMap();
    InitializeForms();
    InstallAppServices();
    // The imaging controls' scroll bars follow the platform's visual styles through the theme nexus.
    Img32_system::InitializeThemeNexus();
    LoadProgramIcon();

    QuitAfterFirstPresentIfAsked(backend);
    const int result = RunStartUp();
    backend.SetPresentObserver(nullptr);

    Img32_system::FinalizeThemeNexus();
    RemoveAppServices();
    // Deletes the application with the forms and the resource holder it owns.
    FinalizeForms();
    DestroyGlobalDecoderModeMap();
    backend.Uninstall();
    return result;
}

// Start-up of the converter. Until the windows exist it loads what the program shares (the resource holder's
// skins and profiles) and reports what is built.
#include "app/TResourceSkinData.h"
#include "engine/TDecoderModeMap.h"
#include "engine/TProfileManager.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

bool HasDisplay()
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

} // namespace

int main()
{
    if (!HasDisplay()) {
        std::fprintf(stderr,
            "Tarnwick Pro needs a graphical display, and none is available (DISPLAY and WAYLAND_DISPLAY are unset).\n"
            "Start it from a desktop session, or under a virtual X server such as Xvfb.\n");
        return 1;
    }
    // The resource holder, as the start-up makes it: skins first, then the profiles. A skin that does not load
    // is reported and leaves the default look.
    CreateGlobalDecoderModeMap();
    {
        auto holder = std::make_unique<TResourceForm>(nullptr);
        ResourceForm = holder.get();
        InstallResourceSkins(*holder);
        holder->LoadMainSkin();
        holder->LoadFormSkin();
        holder->LoadProfiles();
        std::printf("Tarnwick Pro: the conversion engine (all eight output formats), the window layer, the\n"
                    "framework, imaging with PNG, the skin engine's core and the program's skins are built so far\n"
                    "(%d output profiles loaded). The converter's windows come in later steps.\n",
            holder->ProfileManager->Count());
    }
    DestroyGlobalDecoderModeMap();
    return 0;
}

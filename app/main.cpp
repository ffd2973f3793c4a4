// Start-up of the converter. Until the windows exist it reports what is built and checks for a display.
#include <cstdio>
#include <cstdlib>

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
    std::printf("Tarnwick Pro: the conversion engine (all eight output formats), the window layer, the\n"
                "framework, imaging with PNG and the skin engine's core are built so far. The converter's\n"
                "windows come in later steps.\n");
    return 0;
}

// tp_xdnd_drop X Y PATH...: drops the files on the window under the screen point (on $DISPLAY) and waits
// until the target has taken them. Exit code 0 when it did; otherwise the reason goes to standard error.
#include "tests/display/support/XdndSource.h"

#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: tp_xdnd_drop X Y PATH...\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "tp_xdnd_drop: cannot open the display\n");
        return 2;
    }
    std::vector<std::string> paths(argv + 3, argv + argc);
    std::string error;
    int result = DropFiles(display, paths, atoi(argv[1]), atoi(argv[2]), error);
    if (result != 0)
        fprintf(stderr, "tp_xdnd_drop: %s\n", error.c_str());
    XCloseDisplay(display);
    return result;
}

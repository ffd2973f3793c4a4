// Presenting an 800x600 back buffer on a real window: one 200x24 dirty rectangle and the full frame, through
// the SDL display backend, against XShmPutImage of the same pixels to a plain X window, under a private Xvfb.
// Both sides copy the same rectangle of the same buffer into their shared image and wait for the server.
#include "BenchTiming.h"
#include "platform/backend/sdl/TSdlBackend.h"
#include "platform/win/WinStyles.h"
#include "tests/display/support/TXSession.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kPresents = 200;

// The peer: a plain window of the same size with one shared-memory image.
class TShmWindow {
public:
    TShmWindow()
    {
        FDisplay = XOpenDisplay(nullptr);
        if (!FDisplay)
            throw std::runtime_error("cannot open the benchmark's display");
        const int screen = DefaultScreen(FDisplay);
        FWindow = XCreateSimpleWindow(FDisplay, RootWindow(FDisplay, screen), 100, 100, kWidth, kHeight, 0, 0, 0);
        XSetWindowAttributes attributes {};
        attributes.override_redirect = True;
        XChangeWindowAttributes(FDisplay, FWindow, CWOverrideRedirect, &attributes);
        XMapWindow(FDisplay, FWindow);
        FGc = XCreateGC(FDisplay, FWindow, 0, nullptr);
        FImage = XShmCreateImage(FDisplay, DefaultVisual(FDisplay, screen), DefaultDepth(FDisplay, screen), ZPixmap,
            nullptr, &FShm, kWidth, kHeight);
        if (!FImage)
            throw std::runtime_error("the X server has no shared-memory images");
        FShm.shmid = shmget(IPC_PRIVATE, size_t(FImage->bytes_per_line) * kHeight, IPC_CREAT | 0600);
        FShm.shmaddr = FImage->data = static_cast<char*>(shmat(FShm.shmid, nullptr, 0));
        FShm.readOnly = False;
        XShmAttach(FDisplay, &FShm);
        XSync(FDisplay, False);
        // Removed now, freed when both sides have detached.
        shmctl(FShm.shmid, IPC_RMID, nullptr);
    }
    ~TShmWindow()
    {
        XShmDetach(FDisplay, &FShm);
        XDestroyImage(FImage);
        shmdt(FShm.shmaddr);
        XFreeGC(FDisplay, FGc);
        XDestroyWindow(FDisplay, FWindow);
        XCloseDisplay(FDisplay);
    }

    void Present(const TBackBuffer& buffer, const RECT& r)
    {
        const int columns = r.right - r.left;
        for (int y = r.top; y < r.bottom; ++y)
            std::memcpy(FImage->data + size_t(y) * size_t(FImage->bytes_per_line) + size_t(r.left) * 4,
                &buffer.Pixels[size_t(y) * size_t(buffer.Width) + size_t(r.left)], size_t(columns) * 4);
        XShmPutImage(FDisplay, FWindow, FGc, FImage, r.left, r.top, r.left, r.top, unsigned(columns),
            unsigned(r.bottom - r.top), False);
        XSync(FDisplay, False);
    }

private:
    Display* FDisplay = nullptr;
    Window FWindow = 0;
    GC FGc = nullptr;
    XImage* FImage = nullptr;
    XShmSegmentInfo FShm {};
};

TBackBuffer Pattern()
{
    TBackBuffer buffer;
    buffer.Width = kWidth;
    buffer.Height = kHeight;
    buffer.Pixels.resize(size_t(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            buffer.Pixels[size_t(y) * kWidth + size_t(x)] = 0xFF000000u | uint32_t((x * 3) & 0xFF) << 16
                | uint32_t((y * 5) & 0xFF) << 8 | uint32_t((x + y) & 0xFF);
    return buffer;
}

} // namespace

int main()
{
    TXSession session;
    session.Export();
    TSdlBackend backend;
    std::string error;
    if (!backend.Install(session.DisplayName().c_str(), &error)) {
        std::fprintf(stderr, "bench_present: %s\n", error.c_str());
        return 1;
    }
    const TNativeWindow ours = backend.CreateNativeWindow(nullptr, RECT { 0, 0, kWidth, kHeight }, WS_POPUP, 0);
    backend.ShowNativeWindow(ours, true);
    TShmWindow peer;
    const TBackBuffer buffer = Pattern();
    const RECT full { 0, 0, kWidth, kHeight };
    // The first present fills the new window surface whole; later ones show only what they are given.
    backend.PresentNativeWindow(ours, buffer, full);
    peer.Present(buffer, full);

    struct Case {
        const char* Name;
        RECT Dirty;
    };
    const Case kCases[] = {
        { "present_rect_200x24", RECT { 300, 288, 500, 312 } },
        { "present_full_800x600", full },
    };
    for (const Case& c : kCases) {
        const double ourMs = BestOf([&] {
            for (int i = 0; i < kPresents; ++i)
                backend.PresentNativeWindow(ours, buffer, c.Dirty);
        });
        const double peerMs = BestOf([&] {
            for (int i = 0; i < kPresents; ++i)
                peer.Present(buffer, c.Dirty);
        });
        Report(c.Name, ourMs / kPresents, peerMs / kPresents);
    }
    backend.DestroyNativeWindow(ours);
    backend.Uninstall();
    return 0;
}

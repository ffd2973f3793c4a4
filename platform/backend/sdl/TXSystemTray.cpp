#include "platform/backend/sdl/TXSystemTray.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

// The tray's opcodes and the XEmbed flag for "map me".
constexpr long SYSTEM_TRAY_REQUEST_DOCK = 0;
constexpr long XEMBED_MAPPED = 1;
// In the screen's visual a pixel at least half opaque is drawn, and the tray's own background shows through
// the others.
constexpr uint32_t kOpaqueAlpha = 0x80;
constexpr int kDefaultIconSide = 16;
constexpr int kMaxIconSide = 256;

int ShiftOf(unsigned long mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// A straight 0xAARRGGBB colour as a pixel of a true-colour visual.
unsigned long PixelOf(const Visual* visual, uint32_t argb)
{
    auto channel = [](uint32_t value, unsigned long mask) {
        const int shift = ShiftOf(mask);
        const unsigned long max = mask >> shift;
        return ((unsigned long)value * max / 255) << shift;
    };
    return channel((argb >> 16) & 0xFF, visual->red_mask) | channel((argb >> 8) & 0xFF, visual->green_mask)
        | channel(argb & 0xFF, visual->blue_mask);
}

} // namespace

TTrayImage ScaleTrayImage(const TTrayImage& image, int width, int height)
{
    TTrayImage scaled;
    scaled.Width = std::max(0, width);
    scaled.Height = std::max(0, height);
    scaled.Pixels.assign(size_t(scaled.Width) * size_t(scaled.Height), 0);
    if (image.Width <= 0 || image.Height <= 0 || image.Pixels.size() != size_t(image.Width) * size_t(image.Height))
        return scaled;
    for (int y = 0; y < scaled.Height; ++y) {
        const int sy = int(int64_t(y) * image.Height / scaled.Height);
        for (int x = 0; x < scaled.Width; ++x) {
            const int sx = int(int64_t(x) * image.Width / scaled.Width);
            scaled.Pixels[size_t(y) * size_t(scaled.Width) + size_t(x)]
                = image.Pixels[size_t(sy) * size_t(image.Width) + size_t(sx)];
        }
    }
    return scaled;
}

TXSystemTray::TXSystemTray(const std::string& displayName, std::function<void()> wake)
    : FWake(std::move(wake))
{
    FDisplay = XOpenDisplay(displayName.c_str());
    if (!FDisplay)
        return;
    FRoot = DefaultRootWindow(FDisplay);
    char selection[40];
    std::snprintf(selection, sizeof selection, "_NET_SYSTEM_TRAY_S%d", DefaultScreen(FDisplay));
    FSelection = XInternAtom(FDisplay, selection, False);
    FOpcode = XInternAtom(FDisplay, "_NET_SYSTEM_TRAY_OPCODE", False);
    FManagerMessage = XInternAtom(FDisplay, "MANAGER", False);
    FXEmbedInfo = XInternAtom(FDisplay, "_XEMBED_INFO", False);
    FNetWmName = XInternAtom(FDisplay, "_NET_WM_NAME", False);
    FUtf8String = XInternAtom(FDisplay, "UTF8_STRING", False);
    FTrayVisual = XInternAtom(FDisplay, "_NET_SYSTEM_TRAY_VISUAL", False);
    // A tray that starts later announces itself to the root window's structure listeners.
    XSelectInput(FDisplay, FRoot, StructureNotifyMask);
    FindManager();
    XFlush(FDisplay);
    FStopFd = eventfd(0, EFD_CLOEXEC);
    if (FStopFd >= 0 && FWake)
        FWatcher = std::thread([this] { Watch(); });
}

TXSystemTray::~TXSystemTray()
{
    if (FWatcher.joinable()) {
        {
            std::lock_guard lock(FLock);
            FStopping = true;
        }
        FPumped.notify_all();
        const uint64_t one = 1;
        (void)!write(FStopFd, &one, sizeof one);
        FWatcher.join();
    }
    if (FStopFd >= 0)
        close(FStopFd);
    if (FDisplay) {
        // The icon windows go with the connection; the tray sees them destroyed.
        for (const auto& [window, icon] : FIcons)
            XDestroyWindow(FDisplay, window);
        FreeManagerVisual();
        XCloseDisplay(FDisplay);
    }
}

void TXSystemTray::Watch()
{
    const int xfd = ConnectionNumber(FDisplay);
    for (;;) {
        pollfd fds[2] = { { xfd, POLLIN, 0 }, { FStopFd, POLLIN, 0 } };
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        // A broken connection ends in Xlib's handler at the next read; watching it further would only spin.
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
            FWake();
            return;
        }
        std::unique_lock lock(FLock);
        const uint64_t before = FPumps;
        lock.unlock();
        FWake();
        lock.lock();
        FPumped.wait(lock, [&] { return FStopping || FPumps != before; });
        if (FStopping)
            return;
    }
}

void TXSystemTray::WakeForQueued()
{
    if (FWake && XEventsQueued(FDisplay, QueuedAlready) > 0)
        FWake();
}

bool TXSystemTray::FindManager()
{
    // The owner is read and watched under a grab, so it cannot go unseen in between.
    XGrabServer(FDisplay);
    const Window owner = XGetSelectionOwner(FDisplay, FSelection);
    if (owner != None)
        XSelectInput(FDisplay, owner, StructureNotifyMask);
    XUngrabServer(FDisplay);
    XFlush(FDisplay);
    const bool changed = owner != FManager;
    FManager = owner;
    if (changed)
        TakeManagerVisual();
    return changed && owner != None;
}

void TXSystemTray::FreeManagerVisual()
{
    if (FAlphaColormap)
        XFreeColormap(FDisplay, FAlphaColormap);
    FAlphaColormap = 0;
    FAlphaVisual = nullptr;
}

void TXSystemTray::TakeManagerVisual()
{
    FreeManagerVisual();
    if (!FManager)
        return;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    VisualID id = 0;
    if (XGetWindowProperty(FDisplay, FManager, FTrayVisual, 0, 1, False, XA_VISUALID, &type, &format, &count, &after,
            &data)
            == Success
        && data && format == 32 && count == 1)
        id = VisualID(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    if (!id)
        return;
    // Only a visual with an alpha channel is worth the difference; any other is drawn as the screen's own.
    XVisualInfo wanted {};
    wanted.visualid = id;
    int found = 0;
    XVisualInfo* info = XGetVisualInfo(FDisplay, VisualIDMask, &wanted, &found);
    if (info && found > 0 && info->depth == 32 && info->c_class == TrueColor) {
        FAlphaVisual = info->visual;
        FAlphaColormap = XCreateColormap(FDisplay, FRoot, info->visual, AllocNone);
    }
    if (info)
        XFree(info);
}

void TXSystemTray::DropIcons()
{
    // A tray that dies hands its embedded windows back to the root, mapped: they must not stay there.
    for (const auto& [window, icon] : FIcons)
        XDestroyWindow(FDisplay, window);
    FIcons.clear();
    XFlush(FDisplay);
}

unsigned long TXSystemTray::Dock(const TTrayImage& image, const std::string& tip)
{
    if (!FDisplay || !FManager)
        return 0;
    const bool sized = image.Width > 0 && image.Height > 0;
    const int width = sized ? std::min(image.Width, kMaxIconSide) : kDefaultIconSide;
    const int height = sized ? std::min(image.Height, kMaxIconSide) : kDefaultIconSide;
    XSetWindowAttributes attributes {};
    attributes.event_mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | ExposureMask | StructureNotifyMask;
    Window window = None;
    if (FAlphaVisual) {
        // In the tray's visual the icon's own alpha blends it with the tray (through a compositor).
        attributes.background_pixel = 0;
        attributes.border_pixel = 0;
        attributes.colormap = FAlphaColormap;
        window = XCreateWindow(FDisplay, FRoot, 0, 0, unsigned(width), unsigned(height), 0, 32, InputOutput,
            static_cast<Visual*>(FAlphaVisual), CWBackPixel | CWBorderPixel | CWColormap | CWEventMask, &attributes);
    } else {
        // The tray's background shows where the icon is transparent.
        attributes.background_pixmap = ParentRelative;
        window = XCreateWindow(FDisplay, FRoot, 0, 0, unsigned(width), unsigned(height), 0, CopyFromParent,
            InputOutput, CopyFromParent, CWBackPixmap | CWEventMask, &attributes);
    }
    if (!window)
        return 0;
    // XEmbed version 0; the tray maps the window once it is embedded.
    const long info[2] = { 0, XEMBED_MAPPED };
    XChangeProperty(FDisplay, window, FXEmbedInfo, FXEmbedInfo, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(info), 2);
    FIcons[window] = TIconWindow { image, width, height, FAlphaVisual != nullptr };
    SetTip(window, tip);

    XEvent request {};
    request.xclient.type = ClientMessage;
    request.xclient.window = FManager;
    request.xclient.message_type = FOpcode;
    request.xclient.format = 32;
    request.xclient.data.l[0] = CurrentTime;
    request.xclient.data.l[1] = SYSTEM_TRAY_REQUEST_DOCK;
    request.xclient.data.l[2] = long(window);
    XSendEvent(FDisplay, FManager, False, NoEventMask, &request);
    XSync(FDisplay, False);
    WakeForQueued();
    return window;
}

void TXSystemTray::SetImage(unsigned long window, const TTrayImage& image)
{
    auto found = FIcons.find(window);
    if (found == FIcons.end())
        return;
    found->second.Image = image;
    Draw(window, found->second);
    XFlush(FDisplay);
}

void TXSystemTray::SetTip(unsigned long window, const std::string& tip)
{
    if (!FIcons.count(window))
        return;
    XChangeProperty(FDisplay, window, FNetWmName, FUtf8String, 8, PropModeReplace,
        reinterpret_cast<const unsigned char*>(tip.data()), int(tip.size()));
    XStoreName(FDisplay, window, tip.c_str());
    XFlush(FDisplay);
}

void TXSystemTray::Remove(unsigned long window)
{
    if (!FIcons.erase(window))
        return;
    XUnmapWindow(FDisplay, window);
    XDestroyWindow(FDisplay, window);
    XFlush(FDisplay);
}

bool TXSystemTray::ScreenRect(unsigned long window, int& x, int& y, int& width, int& height)
{
    if (!FIcons.count(window))
        return false;
    XWindowAttributes attributes {};
    Window child = None;
    const bool shown = XGetWindowAttributes(FDisplay, window, &attributes) && attributes.map_state == IsViewable
        && XTranslateCoordinates(FDisplay, window, FRoot, 0, 0, &x, &y, &child);
    width = attributes.width;
    height = attributes.height;
    WakeForQueued();
    return shown;
}

void TXSystemTray::Draw(unsigned long window, const TIconWindow& icon)
{
    if (icon.Width <= 0 || icon.Height <= 0)
        return;
    const TTrayImage scaled = ScaleTrayImage(icon.Image, icon.Width, icon.Height);
    if (icon.Alpha) {
        DrawWithAlpha(window, icon, scaled);
        return;
    }
    const int screen = DefaultScreen(FDisplay);
    Visual* visual = DefaultVisual(FDisplay, screen);
    const int depth = DefaultDepth(FDisplay, screen);
    // The colours, and a bitmap of the pixels that are drawn (XBM rows: a byte per 8 pixels, low bit first).
    XImage* colours = XCreateImage(FDisplay, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(icon.Width),
        unsigned(icon.Height), 32, 0);
    if (!colours)
        return;
    colours->data = static_cast<char*>(std::calloc(size_t(colours->bytes_per_line), size_t(icon.Height)));
    if (!colours->data) {
        XDestroyImage(colours);
        return;
    }
    const int maskStride = (icon.Width + 7) / 8;
    std::vector<char> maskBits(size_t(maskStride) * size_t(icon.Height), 0);
    for (int y = 0; y < icon.Height; ++y)
        for (int x = 0; x < icon.Width; ++x) {
            const uint32_t argb = scaled.Pixels[size_t(y) * size_t(icon.Width) + size_t(x)];
            XPutPixel(colours, x, y, PixelOf(visual, argb));
            if ((argb >> 24) >= kOpaqueAlpha)
                maskBits[size_t(y) * size_t(maskStride) + size_t(x / 8)] |= char(1 << (x % 8));
        }
    const Pixmap mask
        = XCreateBitmapFromData(FDisplay, window, maskBits.data(), unsigned(icon.Width), unsigned(icon.Height));
    GC gc = XCreateGC(FDisplay, window, 0, nullptr);
    XSetClipMask(FDisplay, gc, mask);
    XClearWindow(FDisplay, window);
    XPutImage(FDisplay, window, gc, colours, 0, 0, 0, 0, unsigned(icon.Width), unsigned(icon.Height));
    XFreeGC(FDisplay, gc);
    XFreePixmap(FDisplay, mask);
    XDestroyImage(colours);
}

void TXSystemTray::DrawWithAlpha(unsigned long window, const TIconWindow& icon, const TTrayImage& scaled)
{
    auto* visual = static_cast<Visual*>(FAlphaVisual);
    if (!visual)
        return;
    XImage* pixels = XCreateImage(
        FDisplay, visual, 32, ZPixmap, 0, nullptr, unsigned(icon.Width), unsigned(icon.Height), 32, 0);
    if (!pixels)
        return;
    pixels->data = static_cast<char*>(std::calloc(size_t(pixels->bytes_per_line), size_t(icon.Height)));
    if (!pixels->data) {
        XDestroyImage(pixels);
        return;
    }
    // The alpha takes the bits the colours leave; the colours are premultiplied, as a compositor blends them.
    const unsigned long colourBits = visual->red_mask | visual->green_mask | visual->blue_mask;
    const unsigned long alphaMask = ~colourBits & 0xFFFFFFFFul;
    for (int y = 0; y < icon.Height; ++y)
        for (int x = 0; x < icon.Width; ++x) {
            const uint32_t argb = scaled.Pixels[size_t(y) * size_t(icon.Width) + size_t(x)];
            const uint32_t alpha = argb >> 24;
            auto premultiplied = [alpha](uint32_t channel) { return (channel * alpha + 127) / 255; };
            const uint32_t colour = premultiplied((argb >> 16) & 0xFF) << 16 | premultiplied((argb >> 8) & 0xFF) << 8
                | premultiplied(argb & 0xFF);
            const unsigned long alphaBits = ((unsigned long)alpha * (alphaMask >> ShiftOf(alphaMask)) / 255)
                << ShiftOf(alphaMask);
            XPutPixel(pixels, x, y, PixelOf(visual, colour) | alphaBits);
        }
    GC gc = XCreateGC(FDisplay, window, 0, nullptr);
    XPutImage(FDisplay, window, gc, pixels, 0, 0, 0, 0, unsigned(icon.Width), unsigned(icon.Height));
    XFreeGC(FDisplay, gc);
    XDestroyImage(pixels);
}

void TXSystemTray::Pump(const std::function<void(const TEvent&)>& report)
{
    if (!FDisplay)
        return;
    while (XPending(FDisplay)) {
        XEvent event;
        XNextEvent(FDisplay, &event);
        Handle(event, report);
    }
    {
        std::lock_guard lock(FLock);
        ++FPumps;
    }
    FPumped.notify_all();
}

void TXSystemTray::Handle(const XEvent& event, const std::function<void(const TEvent&)>& report)
{
    switch (event.type) {
    case ClientMessage:
        // A tray took the selection: the old one's icons are gone, and the new one takes icons.
        if (event.xclient.window == FRoot && event.xclient.message_type == FManagerMessage
            && (unsigned long)event.xclient.data.l[1] == FSelection) {
            const unsigned long previous = FManager;
            if (FindManager()) {
                if (previous) {
                    DropIcons();
                    report(TEvent { TEventKind::ManagerGone });
                }
                report(TEvent { TEventKind::ManagerAppeared });
            }
        }
        return;
    case DestroyNotify:
        if (event.xdestroywindow.window == FManager && FManager) {
            FManager = 0;
            DropIcons();
            report(TEvent { TEventKind::ManagerGone });
            // Another tray may have taken over before this one ended.
            if (FindManager())
                report(TEvent { TEventKind::ManagerAppeared });
        }
        return;
    case ConfigureNotify: {
        auto found = FIcons.find(event.xconfigure.window);
        if (found != FIcons.end()) {
            found->second.Width = event.xconfigure.width;
            found->second.Height = event.xconfigure.height;
        }
        return;
    }
    case Expose:
        if (event.xexpose.count == 0) {
            auto found = FIcons.find(event.xexpose.window);
            if (found != FIcons.end())
                Draw(found->first, found->second);
        }
        return;
    case ButtonPress:
    case ButtonRelease: {
        // Buttons 1, 2, 3 are left, middle, right; the wheel's 4 and up are not the tray's.
        const unsigned int button = event.xbutton.button;
        if (!FIcons.count(event.xbutton.window) || button < 1 || button > 3)
            return;
        const int index = button == 1 ? 0 : button == 3 ? 1 : 2;
        report(TEvent { event.type == ButtonPress ? TEventKind::ButtonDown : TEventKind::ButtonUp,
            event.xbutton.window, index });
        return;
    }
    case MotionNotify:
        if (FIcons.count(event.xmotion.window))
            report(TEvent { TEventKind::PointerMoved, event.xmotion.window });
        return;
    default:
        return;
    }
}

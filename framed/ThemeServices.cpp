#include "framed/ThemeServices.h"

#include "framework/controls/TApplication.h"
#include "platform/win/Windows.h"

#include <map>
#include <mutex>

namespace {

const char* const ElementClassNames[StyleElementCount] = { "button", "clock", "combobox", "edit", "explorerbar",
    "header", "listview", "menu", "page", "progress", "rebar", "scrollbar", "spin", "startpanel", "status", "tab",
    "taskband", "taskbar", "toolbar", "tooltip", "trackbar", "traynotify", "treeview", "window" };

// The binding: one library for the process, counted, under one lock.
struct TStyleBinding {
    std::mutex Lock;
    int Count = 0;
    std::unique_ptr<IStyleLibrary> Library;
    TStyleLibraryLoader Loader;
};

TStyleBinding& Binding()
{
    static TStyleBinding binding;
    return binding;
}

std::map<HWND, TThemeServices*>& Subclassed()
{
    static std::map<HWND, TThemeServices*> windows;
    return windows;
}

// Left to the process's end on purpose: the window layer may be gone by then.
TThemeServices* TheServices = nullptr;

} // namespace

TStyleLibraryLoader SetStyleLibraryLoader(TStyleLibraryLoader loader)
{
    TStyleBinding& b = Binding();
    std::lock_guard guard(b.Lock);
    TStyleLibraryLoader previous = std::move(b.Loader);
    b.Loader = std::move(loader);
    return previous;
}

bool BindStyleLibrary()
{
    TStyleBinding& b = Binding();
    std::lock_guard guard(b.Lock);
    ++b.Count;
    // This platform has no styles library of its own: only a loader a test installed gives one.
    if (!b.Library && b.Loader)
        b.Library = b.Loader();
    return b.Library != nullptr;
}

void ReleaseStyleLibrary()
{
    TStyleBinding& b = Binding();
    std::lock_guard guard(b.Lock);
    if (b.Count > 0)
        --b.Count;
    if (b.Library && b.Count == 0)
        b.Library.reset();
}

IStyleLibrary* StyleLibrary()
{
    TStyleBinding& b = Binding();
    std::lock_guard guard(b.Lock);
    return b.Library.get();
}

TThemeServices::TThemeServices(HWND window)
    : FWindow(window)
{
    if (FWindow && IsWindow(FWindow)) {
        Subclassed()[FWindow] = this;
        FPreviousProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(FWindow, GWL_WNDPROC));
        SetWindowLongPtr(FWindow, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&TThemeServices::SubclassProc));
    }
    FLibraryPresent = BindStyleLibrary();
    RefreshStyleState();
}

TThemeServices::~TThemeServices()
{
    // The window may have gone first: its WM_NCDESTROY took the subclass down already.
    auto found = Subclassed().find(FWindow);
    if (FPreviousProc && found != Subclassed().end() && found->second == this) {
        SetWindowLongPtr(FWindow, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FPreviousProc));
        Subclassed().erase(found);
    }
    CloseElementHandles();
    ReleaseStyleLibrary();
}

LRESULT TThemeServices::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto found = Subclassed().find(hwnd);
    if (found == Subclassed().end())
        return DefWindowProc(hwnd, message, wParam, lParam);
    TThemeServices* self = found->second;
    WNDPROC previous = self->FPreviousProc;
    if (message == WM_THEMECHANGED) {
        self->RefreshStyleState();
        self->StyleChanged();
    }
    if (message == WM_NCDESTROY) {
        // The window goes: hand it back to its own procedure for its last message.
        SetWindowLongPtr(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        Subclassed().erase(found);
        self->FPreviousProc = nullptr;
    }
    return CallWindowProc(previous, hwnd, message, wParam, lParam);
}

HTHEME TThemeServices::ElementHandle(int element)
{
    if (element < 0 || element >= StyleElementCount || !StylesEnabled())
        return nullptr;
    IStyleLibrary* library = StyleLibrary();
    if (!FHandles[size_t(element)] && library)
        FHandles[size_t(element)] = library->OpenThemeData(FWindow, ElementClassNames[element]);
    return FHandles[size_t(element)];
}

TStyleElementRef TThemeServices::ButtonPartState(int detail)
{
    if (detail == 0 || detail == 1)
        return { teButton, 0, detail + 1 };
    if (detail >= 2 && detail <= 6)
        return { teButton, 1, detail - 1 };
    if (detail >= 7 && detail <= 14)
        return { teButton, 2, detail - 6 };
    if (detail >= 15 && detail <= 26)
        return { teButton, 3, detail - 14 };
    if (detail == 27 || detail == 28)
        return { teButton, 4, detail - 26 };
    if (detail == 29)
        return { teButton, 5, 1 };
    return { teButton, 0, detail + 1 };
}

TStyleElementRef TThemeServices::ComboPartState(int detail)
{
    if (detail >= 2 && detail <= 5)
        return { teComboBox, 1, detail - 1 };
    return { teComboBox, 0, detail + 1 };
}

void TThemeServices::PaintElement(HDC dc, const TStyleElementRef& ref, const RECT& rect)
{
    HTHEME theme = ElementHandle(ref.Element);
    if (IStyleLibrary* library = StyleLibrary(); library && theme)
        library->DrawThemeBackground(theme, dc, ref.Part, ref.State, rect);
}

void TThemeServices::PaintElementParent(
    HWND window, HDC dc, const TStyleElementRef* ref, bool onlyIfTransparent, const RECT& rect)
{
    IStyleLibrary* library = StyleLibrary();
    if (!library)
        return;
    if (onlyIfTransparent && ref
        && !library->IsThemeBackgroundPartiallyTransparent(ElementHandle(ref->Element), ref->Part, ref->State))
        return;
    library->DrawThemeParentBackground(window, dc, &rect);
}

void TThemeServices::RefreshStyleState()
{
    if (StylesEnabled())
        CloseElementHandles();
    IStyleLibrary* library = FLibraryPresent ? StyleLibrary() : nullptr;
    FUseStyles = library && library->IsAppThemed() && library->IsThemeActive()
        && library->CommonControlsVersion() > 0x5FFFF;
    FControlsStyled = FUseStyles && (library->GetThemeAppProperties() & STAP_ALLOW_CONTROLS) != 0;
}

void TThemeServices::CloseElementHandles()
{
    IStyleLibrary* library = StyleLibrary();
    for (HTHEME& handle : FHandles) {
        if (handle && library)
            library->CloseThemeData(handle);
        handle = nullptr;
    }
}

void TThemeServices::StyleChanged()
{
    if (OnStyleChange)
        OnStyleChange(this);
}

TThemeServices* ThemeServices()
{
    // A new application (a test starts one after another) gets a service of its own.
    HWND window = Application ? Application->Handle() : nullptr;
    if (TheServices && TheServices->Window() != window)
        FreeThemeServices();
    if (!TheServices)
        TheServices = new TThemeServices(window);
    return TheServices;
}

void FreeThemeServices()
{
    delete TheServices;
    TheServices = nullptr;
}

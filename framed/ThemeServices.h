// The visual-styles service: whether the platform's visual styles apply to the application's controls, and the
// few styled parts the framed controls draw through it. The styles library is bound at run time through a
// loader; this platform has none, so the service reports styles as off and every control paints its own look.
// Tests install a loader that gives a library, to take the styled paths.
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/core/TObject.h"
#include "platform/win/WinTypes.h"

#include <array>
#include <functional>
#include <memory>

using HTHEME = void*;

// The entry points of a visual-styles library.
class IStyleLibrary {
public:
    virtual ~IStyleLibrary() = default;
    virtual bool IsAppThemed() = 0;
    virtual bool IsThemeActive() = 0;
    // Bit 2 (STAP_ALLOW_CONTROLS): controls may be styled.
    virtual DWORD GetThemeAppProperties() = 0;
    // The version of the common controls the styles apply to: major in the high word, minor in the low.
    virtual DWORD CommonControlsVersion() = 0;
    virtual HTHEME OpenThemeData(HWND window, const char* classList) = 0;
    virtual void CloseThemeData(HTHEME theme) = 0;
    virtual void DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT& rect) = 0;
    virtual bool IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state) = 0;
    virtual void DrawThemeParentBackground(HWND window, HDC dc, const RECT* rect) = 0;
};

constexpr DWORD STAP_ALLOW_CONTROLS = 2;

// Makes the library when it is first bound; null when the platform has none (the default loader).
using TStyleLibraryLoader = std::function<std::unique_ptr<IStyleLibrary>()>;
// Replaces the loader (an empty one restores the default) and returns the previous one.
TStyleLibraryLoader SetStyleLibraryLoader(TStyleLibraryLoader loader);

// Reference-counted binding of the library, safe from any thread: Bind loads it on the first binding and
// tells whether it is loaded; the release that brings the count to 0 unloads it.
bool BindStyleLibrary();
void ReleaseStyleLibrary();
// The bound library, or null.
IStyleLibrary* StyleLibrary();

// The element classes, in the order of their class names.
enum TStyleElement : uint8_t {
    teButton, teClock, teComboBox, teEdit, teExplorerBar, teHeader, teListView, teMenu, tePage, teProgress,
    teRebar, teScrollBar, teSpin, teStartPanel, teStatus, teTab, teTaskBand, teTaskBar, teToolBar, teToolTip,
    teTrackBar, teTrayNotify, teTreeview, teWindow
};
constexpr int StyleElementCount = 24;

struct TStyleElementRef {
    int Element = 0;
    int Part = 0;
    int State = 0;
    friend bool operator==(const TStyleElementRef&, const TStyleElementRef&) = default;
};

// The push-button details the button paints with.
constexpr int tbPushButtonNormal = 2;
constexpr int tbPushButtonHot = 3;
constexpr int tbPushButtonPressed = 4;
constexpr int tbPushButtonDisabled = 5;
constexpr int tbPushButtonDefaulted = 6;
// The drop-down button of a combo box in its normal state.
constexpr int tcDropDownButtonNormal = 2;

class TThemeServices : public TObject {
    using inherited = TObject;

public:
    // With a window, the window is subclassed to hear WM_THEMECHANGED.
    explicit TThemeServices(HWND window);
    ~TThemeServices() override;

    // The library is there, the styles are on and the application lets them style its controls.
    bool StylesEnabled() const { return FLibraryPresent && FUseStyles && FControlsStyled; }
    bool LibraryPresent() const { return FLibraryPresent; }
    HWND Window() const { return FWindow; }
    // The element class's theme data, opened on first use; null while styles are not in use.
    HTHEME ElementHandle(int element);
    static TStyleElementRef ButtonPartState(int detail);
    static TStyleElementRef ComboPartState(int detail);
    void PaintElement(HDC dc, const TStyleElementRef& ref, const RECT& rect);
    // Paints the parent's background under `window` (only when the element is partly transparent, with
    // `onlyIfTransparent` and an element given).
    void PaintElementParent(HWND window, HDC dc, const TStyleElementRef* ref, bool onlyIfTransparent, const RECT& rect);
    // Reads the style state again (after a theme change); the element handles are closed first.
    void RefreshStyleState();
    void CloseElementHandles();

    TNotifyEvent OnStyleChange;

protected:
    virtual void StyleChanged();

private:
    static LRESULT SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    bool FLibraryPresent = false;
    bool FUseStyles = false;
    bool FControlsStyled = false;
    HWND FWindow = nullptr;
    WNDPROC FPreviousProc = nullptr;
    std::array<HTHEME, StyleElementCount> FHandles {};
};

// The program-wide service, made on first use for the application's hidden window (again for a new
// application) and freed by FreeThemeServices.
TThemeServices* ThemeServices();
void FreeThemeServices();

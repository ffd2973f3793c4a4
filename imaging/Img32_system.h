// The processor test that picks the blend routines, and the run-time binding of the platform's visual styles.
#pragma once
#include "framework/core/TObject.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinTypes.h"

#include <cstdint>

namespace Img32_system {

// True when the processor has the MMX instructions (on x86-64 always; false on other architectures).
bool HasMMX();
// The wider vector instructions that the row routines use where the processor has them.
bool HasSSE41();
bool HasAVX2();

using HTHEME = uintptr_t;
using HRESULT = int32_t;

struct MARGINS {
    int cxLeftWidth;
    int cxRightWidth;
    int cyTopHeight;
    int cyBottomHeight;
};

using TOpenThemeData = HTHEME (*)(HWND hwnd, const char* classList);
using TCloseThemeData = HRESULT (*)(HTHEME theme);
using TDrawThemeBackground
    = HRESULT (*)(HTHEME theme, HDC dc, int partId, int stateId, const RECT* rect, const RECT* clipRect);
using TDrawThemeEdge = HRESULT (*)(
    HTHEME theme, HDC dc, int partId, int stateId, const RECT* destRect, UINT edge, UINT flags, RECT* contentRect);
using TGetThemeColor = HRESULT (*)(HTHEME theme, int partId, int stateId, int propId, COLORREF* color);
using TGetThemeMetric = HRESULT (*)(HTHEME theme, HDC dc, int partId, int stateId, int propId, int* value);
using TGetThemeMargins
    = HRESULT (*)(HTHEME theme, HDC dc, int partId, int stateId, int propId, RECT* rect, MARGINS* margins);
using TSetWindowTheme = HRESULT (*)(HWND hwnd, const char* subAppName, const char* subIdList);
using TIsThemeActive = BOOL (*)();
using TIsAppThemed = BOOL (*)();
using TEnableTheming = HRESULT (*)(BOOL enable);

using ::WM_THEMECHANGED;

// The entry points of the visual-styles library, nil while it is not loaded. Users call the optional ones
// (DrawThemeBackground ... SetWindowTheme) only while USE_THEMES is true, and test them for nil even then.
extern TOpenThemeData OpenThemeData;
extern TCloseThemeData CloseThemeData;
extern TDrawThemeBackground DrawThemeBackground;
extern TDrawThemeEdge DrawThemeEdge;
extern TGetThemeColor GetThemeColor;
extern TGetThemeMetric GetThemeMetric;
extern TGetThemeMargins GetThemeMargins;
extern TSetWindowTheme SetWindowTheme;
extern TIsThemeActive IsThemeActive;
extern TIsAppThemed IsAppThemed;
extern TEnableTheming EnableTheming;

// Visual styles are available and on. Users read it, and the two handles, at every use: a theme change
// replaces them.
extern bool USE_THEMES;
extern HTHEME SCROLLBAR_THEME;
extern HTHEME GLOBALS_THEME;

} // namespace Img32_system

// What loading the visual-styles library finds: its entry points by name, any of which may be missing.
struct TThemeLibrary {
    Img32_system::TOpenThemeData OpenThemeData;
    Img32_system::TCloseThemeData CloseThemeData;
    Img32_system::TDrawThemeBackground DrawThemeBackground;
    Img32_system::TDrawThemeEdge DrawThemeEdge;
    Img32_system::TGetThemeColor GetThemeColor;
    Img32_system::TGetThemeMetric GetThemeMetric;
    Img32_system::TGetThemeMargins GetThemeMargins;
    Img32_system::TSetWindowTheme SetWindowTheme;
    Img32_system::TIsThemeActive IsThemeActive;
    Img32_system::TIsAppThemed IsAppThemed;
    Img32_system::TEnableTheming EnableTheming;
};

// Keeps the two theme handles open and reopens them when the platform's theme changes.
class TThemeNexus final : public TObject {
    using inherited = TObject;

public:
    TThemeNexus();
    ~TThemeNexus() override;

    // The utility window's message handler: WM_THEMECHANGED closes and reopens the handles; every message then
    // goes to the default window procedure, whose result is returned.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // The hidden utility window whose messages WndProc handles; null while the window layer is not running.
    HWND WindowHandle = nullptr;

private:
    void OpenThemeHandles();
    void CloseThemeHandles();
};

namespace Img32_system {

// Loads the library: returns its entry points, or nullptr when there is none. This system has no visual-styles
// library, so the default loader finds none and every user draws its classic look; tests install a fake.
using TThemeLibraryLoader = const TThemeLibrary* (*)();
extern TThemeLibraryLoader ThemeLibraryLoader;

// Loads the library when it is not loaded and binds the entry points; a library without OpenThemeData,
// CloseThemeData, IsThemeActive, IsAppThemed or EnableTheming is unloaded again. True when it is loaded.
bool LoadThemeLibrary();
// Unbinds all eleven entry points.
void UnloadThemeLibrary();
// The library is loaded, the application is themed and the theme is active.
bool ThemesAvailable();

// The program's one nexus, created when the imaging code starts (after the platform) and freed when it ends.
void InitializeThemeNexus();
void FinalizeThemeNexus();
TThemeNexus* ThemeNexus();

} // namespace Img32_system

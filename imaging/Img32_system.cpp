#include "imaging/Img32_system.h"

#include "framework/controls/AllocateHWnd.h"
#include "platform/win/Windows.h"

#include <memory>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace Img32_system {

bool HasMMX()
{
#if defined(__i386__) || defined(__x86_64__)
    // __get_cpuid_max tests the identification bit of the flags register on processors that may lack the
    // instruction, and answers 0 there.
    if (__get_cpuid_max(0, nullptr) < 1)
        return false;
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return false;
    if (((eax >> 8) & 0xF) < 5)
        return false;
    return (edx >> 23) & 1;
#else
    return false;
#endif
}

// The answers are fixed for the life of the process, so they are asked once. The blend routines are chosen
// before main, possibly before the compiler's own start-up code has read the processor model, hence the
// explicit __builtin_cpu_init.
bool HasSSE41()
{
#if defined(__x86_64__)
    static const bool has = (__builtin_cpu_init(), __builtin_cpu_supports("sse4.1"));
    return has;
#else
    return false;
#endif
}

bool HasAVX2()
{
#if defined(__x86_64__)
    static const bool has = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
    return has;
#else
    return false;
#endif
}

TOpenThemeData OpenThemeData = nullptr;
TCloseThemeData CloseThemeData = nullptr;
TDrawThemeBackground DrawThemeBackground = nullptr;
TDrawThemeEdge DrawThemeEdge = nullptr;
TGetThemeColor GetThemeColor = nullptr;
TGetThemeMetric GetThemeMetric = nullptr;
TGetThemeMargins GetThemeMargins = nullptr;
TSetWindowTheme SetWindowTheme = nullptr;
TIsThemeActive IsThemeActive = nullptr;
TIsAppThemed IsAppThemed = nullptr;
TEnableTheming EnableTheming = nullptr;

bool USE_THEMES = false;
HTHEME SCROLLBAR_THEME = 0;
HTHEME GLOBALS_THEME = 0;

namespace {

    const TThemeLibrary* NoThemeLibrary()
    {
        return nullptr;
    }

    const TThemeLibrary* gModule = nullptr;
    std::unique_ptr<TThemeNexus> gThemeNexus;

} // namespace

TThemeLibraryLoader ThemeLibraryLoader = &NoThemeLibrary;

bool LoadThemeLibrary()
{
    if (!gModule) {
        gModule = ThemeLibraryLoader ? ThemeLibraryLoader() : nullptr;
        if (gModule) {
            OpenThemeData = gModule->OpenThemeData;
            CloseThemeData = gModule->CloseThemeData;
            DrawThemeBackground = gModule->DrawThemeBackground;
            DrawThemeEdge = gModule->DrawThemeEdge;
            GetThemeColor = gModule->GetThemeColor;
            GetThemeMetric = gModule->GetThemeMetric;
            GetThemeMargins = gModule->GetThemeMargins;
            SetWindowTheme = gModule->SetWindowTheme;
            IsThemeActive = gModule->IsThemeActive;
            IsAppThemed = gModule->IsAppThemed;
            EnableTheming = gModule->EnableTheming;
            if (!OpenThemeData || !CloseThemeData || !IsThemeActive || !IsAppThemed || !EnableTheming)
                UnloadThemeLibrary();
        }
    }
    return gModule != nullptr;
}

void UnloadThemeLibrary()
{
    if (!gModule)
        return;
    gModule = nullptr;
    OpenThemeData = nullptr;
    CloseThemeData = nullptr;
    DrawThemeBackground = nullptr;
    DrawThemeEdge = nullptr;
    GetThemeColor = nullptr;
    GetThemeMetric = nullptr;
    GetThemeMargins = nullptr;
    SetWindowTheme = nullptr;
    IsThemeActive = nullptr;
    IsAppThemed = nullptr;
    EnableTheming = nullptr;
}

bool ThemesAvailable()
{
    return gModule && IsAppThemed() != 0 && IsThemeActive() != 0;
}

} // namespace Img32_system

using namespace Img32_system;

TThemeNexus::TThemeNexus()
{
    WindowHandle = AllocateHWnd([this](TMessage& message) {
        message.Result = WndProc(message.Msg, message.WParam, message.LParam);
    });
    OpenThemeHandles();
}

TThemeNexus::~TThemeNexus()
{
    CloseThemeHandles();
    DeallocateHWnd(WindowHandle);
}

LRESULT TThemeNexus::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_THEMECHANGED) {
        CloseThemeHandles();
        OpenThemeHandles();
    }
    return WindowHandle ? DefWindowProc(WindowHandle, msg, wParam, lParam) : 0;
}

void TThemeNexus::OpenThemeHandles()
{
    USE_THEMES = false;
    if (LoadThemeLibrary()) {
        USE_THEMES = ThemesAvailable();
        if (USE_THEMES) {
            SCROLLBAR_THEME = OpenThemeData(WindowHandle, "SCROLLBAR");
            GLOBALS_THEME = OpenThemeData(WindowHandle, "GLOBALS");
        }
    }
}

void TThemeNexus::CloseThemeHandles()
{
    // Closing happens only while themes are available, so after a switch to the classic look the two handle
    // variables keep their old values; users test USE_THEMES first.
    if (ThemesAvailable()) {
        if (SCROLLBAR_THEME != 0) {
            CloseThemeData(SCROLLBAR_THEME);
            SCROLLBAR_THEME = 0;
        }
        if (GLOBALS_THEME != 0) {
            CloseThemeData(GLOBALS_THEME);
            GLOBALS_THEME = 0;
        }
    }
    UnloadThemeLibrary();
}

namespace Img32_system {

void InitializeThemeNexus()
{
    if (!gThemeNexus)
        gThemeNexus = std::make_unique<TThemeNexus>();
}

void FinalizeThemeNexus()
{
    gThemeNexus.reset();
}

TThemeNexus* ThemeNexus()
{
    return gThemeNexus.get();
}

} // namespace Img32_system

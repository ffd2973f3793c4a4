#include "framework/controls/TScreen.h"

#include "framework/controls/TCustomForm.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TList.h"
#include "framework/core/TStrings.h"
#include "framework/graphics/Graphics.h"
#include "platform/gdi/FontFamilies.h"
#include "platform/win/Platform.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <set>

TScreen* Screen = nullptr;
TMouse* Mouse = nullptr;

namespace {

struct TStandardCursor {
    TCursor Cursor;
    const char* Id;
};

const TStandardCursor kStandardCursors[] = {
    { crArrow, IDC_ARROW },
    { crCross, IDC_CROSS },
    { crIBeam, IDC_IBEAM },
    { crSizeNESW, IDC_SIZENESW },
    { crSizeNS, IDC_SIZENS },
    { crSizeNWSE, IDC_SIZENWSE },
    { crSizeWE, IDC_SIZEWE },
    { crUpArrow, IDC_UPARROW },
    { crHourGlass, IDC_WAIT },
    { crDrag, IDC_ARROW },
    { crNoDrop, IDC_NO },
    { crHSplit, IDC_SIZEWE },
    { crVSplit, IDC_SIZENS },
    { crMultiDrag, IDC_ARROW },
    { crSQLWait, IDC_WAIT },
    { crNo, IDC_NO },
    { crAppStart, IDC_APPSTARTING },
    { crHelp, IDC_HELP },
    { crHandPoint, IDC_HAND },
    { crSizeAll, IDC_SIZEALL },
};

MONITORINFO InfoOf(HMONITOR monitor)
{
    MONITORINFO info {};
    info.cbSize = sizeof(info);
    GetMonitorInfo(monitor, &info);
    return info;
}

} // namespace

// --- TMonitor ------------------------------------------------------------------------------------------

TRect TMonitor::BoundsRect() const
{
    return FromRECT(InfoOf(FHandle).rcMonitor);
}

TRect TMonitor::WorkareaRect() const
{
    return FromRECT(InfoOf(FHandle).rcWork);
}

int TMonitor::Width() const
{
    const TRect r = BoundsRect();
    return r.Right - r.Left;
}

int TMonitor::Height() const
{
    const TRect r = BoundsRect();
    return r.Bottom - r.Top;
}

bool TMonitor::Primary() const
{
    return (InfoOf(FHandle).dwFlags & MONITORINFOF_PRIMARY) != 0;
}

// --- TScreen -------------------------------------------------------------------------------------------

TScreen::TScreen(TComponent* owner)
    : TComponent(owner)
    , FHintFont(std::make_unique<TFont>())
    , FMenuFont(std::make_unique<TFont>())
    , FIconFont(std::make_unique<TFont>())
{
    FCursors[crDefault] = LoadCursor(nullptr, IDC_ARROW);
    FCursors[crNone] = nullptr;
    for (const TStandardCursor& c : kStandardCursors)
        FCursors[c.Cursor] = LoadCursor(nullptr, c.Id);
    FHintFont->SetColor(clInfoText);
}

TScreen::~TScreen()
{
    std::set<HCURSOR> owned;
    for (const auto& entry : FCursors)
        owned.insert(entry.second);
    for (HCURSOR cursor : owned)
        DestroyCursor(cursor);
}

// A form joins the list from its base constructor, before it is a TForm: the TForm test waits until asked.
int TScreen::FormCount() const
{
    int count = 0;
    for (TCustomForm* form : FCustomForms)
        if (dynamic_cast<TForm*>(form))
            ++count;
    return count;
}

TForm* TScreen::Forms(int index) const
{
    int n = 0;
    for (TCustomForm* form : FCustomForms)
        if (auto* f = dynamic_cast<TForm*>(form); f && n++ == index)
            return f;
    throw EListError(Format("List index out of bounds (%d)", index));
}

TCustomForm* TScreen::CustomForms(int index) const
{
    if (index < 0 || index >= CustomFormCount())
        throw EListError(Format("List index out of bounds (%d)", index));
    return FCustomForms[size_t(index)];
}

void TScreen::AddForm(TCustomForm* form)
{
    FCustomForms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form)
{
    std::erase(FCustomForms, form);
    std::erase(FSaveFocusedList, form);
    if (FFocusedForm == form)
        FFocusedForm = nullptr;
    if (FActiveCustomForm == form) {
        FActiveCustomForm = nullptr;
        FActiveForm = nullptr;
        FActiveControl = nullptr;
        if (OnActiveFormChange)
            OnActiveFormChange(this);
    }
    // An MDI child form can itself be the focused control of the active form.
    if (FActiveControl && (FActiveControl == form || form->ContainsControl(FActiveControl)))
        FActiveControl = nullptr;
    if (FLastActiveControl && (FLastActiveControl == form || form->ContainsControl(FLastActiveControl)))
        FLastActiveControl = nullptr;
}

void TScreen::SetActiveCustomForm(TCustomForm* form)
{
    if (form == FActiveCustomForm)
        return;
    FActiveCustomForm = form;
    FActiveForm = dynamic_cast<TForm*>(form);
    if (OnActiveFormChange)
        OnActiveFormChange(this);
}

void TScreen::ActiveControlChanged()
{
    if (FActiveControl == FLastActiveControl)
        return;
    FLastActiveControl = FActiveControl;
    if (OnActiveControlChange)
        OnActiveControlChange(this);
}

void TScreen::SetCursor(TCursor value)
{
    ++FCursorCount;
    if (value == FCursor)
        return;
    FCursor = value;
    if (value == crDefault) {
        // Each window under the pointer shows its own cursor again.
        POINT p;
        GetCursorPos(&p);
        if (HWND hwnd = WindowFromPoint(p)) {
            const LRESULT hit = SendMessage(hwnd, WM_NCHITTEST, 0, MAKELPARAM(WORD(int16_t(p.x)), WORD(int16_t(p.y))));
            SendMessage(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(WORD(hit), WM_MOUSEMOVE));
            return;
        }
    }
    ::SetCursor(Cursors(value));
}

HCURSOR TScreen::Cursors(TCursor index) const
{
    auto it = FCursors.find(index);
    if (it != FCursors.end())
        return it->second;
    return FCursors.at(crDefault);
}

void TScreen::SetCursors(TCursor index, HCURSOR handle)
{
    if (index == crDefault && !handle)
        return;
    if (!handle)
        handle = LoadCursor(nullptr, IDC_ARROW);
    auto it = FCursors.find(index);
    const HCURSOR old = it != FCursors.end() ? it->second : nullptr;
    FCursors[index] = handle;
    // The table owns the cursors put into it (a skin's, loaded from files); one that is replaced goes, unless
    // another number still shows it. Standard cursors are shared and never freed.
    if (old && old != handle && !IsCursorListed(old))
        DestroyCursor(old);
}

bool TScreen::IsCursorListed(HCURSOR cursor) const
{
    for (const auto& entry : FCursors)
        if (entry.second == cursor)
            return true;
    return false;
}

TStrings* TScreen::Fonts()
{
    if (!FFonts) {
        FFonts = std::make_unique<TStringList>();
        FFonts->SetSorted(true);
        FFonts->SetDuplicates(dupIgnore);
        LOGFONT all {};
        all.lfCharSet = DEFAULT_CHARSET;
        EnumFontFamiliesEx(
            nullptr, &all,
            [](const LOGFONT* font, const TEXTMETRIC*, DWORD, LPARAM param) {
                // Vertical faces ("@name") are for vertical writing and not offered by name.
                if (font->lfFaceName[0] != '@')
                    reinterpret_cast<TStringList*>(param)->Add(font->lfFaceName);
                return 1;
            },
            reinterpret_cast<LPARAM>(FFonts.get()), 0);
    }
    return FFonts.get();
}

TMonitor* TScreen::MonitorOf(HMONITOR handle)
{
    if (!handle)
        return nullptr;
    for (auto& m : FMonitors)
        if (m->Handle() == handle)
            return m.get();
    FMonitors.push_back(std::make_unique<TMonitor>(handle, static_cast<int>(FMonitors.size())));
    return FMonitors.back().get();
}

int TScreen::MonitorCount()
{
    TBackend* backend = PlatformBackend();
    return backend ? static_cast<int>(backend->Monitors().size()) : 0;
}

TMonitor* TScreen::Monitors(int index)
{
    TBackend* backend = PlatformBackend();
    const std::vector<TMonitorLayout> layouts = backend ? backend->Monitors() : std::vector<TMonitorLayout> {};
    if (index < 0 || index >= static_cast<int>(layouts.size()))
        throw EListError(Format("List index out of bounds (%d)", index));
    const RECT& r = layouts[size_t(index)].Monitor;
    return MonitorOf(::MonitorFromPoint(POINT { r.left, r.top }, MONITOR_DEFAULTTONEAREST));
}

TMonitor* TScreen::PrimaryMonitor()
{
    return MonitorOf(::MonitorFromPoint(POINT { 0, 0 }, MONITOR_DEFAULTTOPRIMARY));
}

TMonitor* TScreen::MonitorFromPoint(const TPoint& point)
{
    return MonitorOf(::MonitorFromPoint(ToPOINT(point), MONITOR_DEFAULTTONEAREST));
}

TMonitor* TScreen::MonitorFromRect(const TRect& rect)
{
    const RECT r = ToRECT(rect);
    return MonitorOf(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST));
}

TMonitor* TScreen::MonitorFromWindow(HWND hwnd)
{
    return MonitorOf(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
}

int TScreen::Width() const
{
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const
{
    return GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::DesktopRect() const
{
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return Bounds(left, top, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

int TScreen::DesktopWidth() const
{
    return GetSystemMetrics(SM_CXVIRTUALSCREEN);
}

int TScreen::DesktopHeight() const
{
    return GetSystemMetrics(SM_CYVIRTUALSCREEN);
}

TRect TScreen::WorkAreaRect() const
{
    RECT r {};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0);
    return FromRECT(r);
}

int TScreen::WorkAreaWidth() const
{
    const TRect r = WorkAreaRect();
    return r.Right - r.Left;
}

int TScreen::WorkAreaHeight() const
{
    const TRect r = WorkAreaRect();
    return r.Bottom - r.Top;
}

int TScreen::PixelsPerInch() const
{
    return ScreenLogPixels();
}

// --- TMouse --------------------------------------------------------------------------------------------

TPoint TMouse::CursorPos() const
{
    POINT p {};
    GetCursorPos(&p);
    return TPoint { p.x, p.y };
}

void TMouse::SetCursorPos(const TPoint& value)
{
    ::SetCursorPos(value.X, value.Y);
}

HWND TMouse::Capture() const
{
    return GetCapture();
}

void TMouse::SetCapture(HWND value)
{
    if (value)
        ::SetCapture(value);
    else
        ReleaseCapture();
}

bool TMouse::WheelPresent() const
{
    return GetSystemMetrics(SM_MOUSEWHEELPRESENT) != 0;
}

int TMouse::WheelScrollLines() const
{
    UINT lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    return static_cast<int>(lines);
}

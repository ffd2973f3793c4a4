// TScreen (the forms, the active form and control, cursors, fonts, monitors) and TMouse, with the global
// Screen and Mouse objects.
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/controls/Forward.h"
#include "framework/core/TComponent.h"
#include "framework/graphics/Forward.h"
#include "framework/graphics/Types.h"
#include "platform/win/WinTypes.h"

#include <map>
#include <memory>
#include <vector>

class TStrings;
class TStringList;

// One display of the screen.
class TMonitor : public TObject {
    using inherited = TObject;

public:
    TMonitor(HMONITOR handle, int monitorNum)
        : FHandle(handle)
        , FMonitorNum(monitorNum)
    {
    }

    HMONITOR Handle() const { return FHandle; }
    int MonitorNum() const { return FMonitorNum; }
    TRect BoundsRect() const;
    TRect WorkareaRect() const;
    int Left() const { return BoundsRect().Left; }
    int Top() const { return BoundsRect().Top; }
    int Width() const;
    int Height() const;
    bool Primary() const;

private:
    HMONITOR FHandle;
    int FMonitorNum;
};

// The application's view of the screen. Forms are listed in the order they were made.
class TScreen : public TComponent {
    using inherited = TComponent;

public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    // The TForm descendants among the custom forms.
    int FormCount() const;
    TForm* Forms(int index) const;
    int CustomFormCount() const { return static_cast<int>(FCustomForms.size()); }
    TCustomForm* CustomForms(int index) const;
    TForm* ActiveForm() const { return FActiveForm; }
    TCustomForm* ActiveCustomForm() const { return FActiveCustomForm; }
    // The control that has the focus (or last had it in the active form).
    TWinControl* ActiveControl() const { return FActiveControl; }

    // The cursor for the whole application; crDefault lets every control show its own.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    // The cursor shape of an identity: the standard cursors, and the ones registered with SetCursors
    // (unknown identities give the arrow).
    HCURSOR Cursors(TCursor index) const;
    // The screen owns the cursors it is given: a replaced cursor is destroyed, and so are all when it goes.
    void SetCursors(TCursor index, HCURSOR handle);

    // The font families the system has, sorted.
    TStrings* Fonts();
    TFont* HintFont() const { return FHintFont.get(); }
    TFont* MenuFont() const { return FMenuFont.get(); }
    TFont* IconFont() const { return FIconFont.get(); }

    int MonitorCount();
    TMonitor* Monitors(int index);
    TMonitor* PrimaryMonitor();
    TMonitor* MonitorFromPoint(const TPoint& point);
    TMonitor* MonitorFromRect(const TRect& rect);
    TMonitor* MonitorFromWindow(HWND hwnd);
    // The primary monitor.
    int Width() const;
    int Height() const;
    // The bounding box of all monitors.
    TRect DesktopRect() const;
    int DesktopLeft() const { return DesktopRect().Left; }
    int DesktopTop() const { return DesktopRect().Top; }
    int DesktopWidth() const;
    int DesktopHeight() const;
    // The primary monitor's work area.
    TRect WorkAreaRect() const;
    int WorkAreaWidth() const;
    int WorkAreaHeight() const;
    int PixelsPerInch() const;

    TNotifyEvent OnActiveControlChange;
    TNotifyEvent OnActiveFormChange;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetActiveCustomForm(TCustomForm* form);
    void ActiveControlChanged();
    TMonitor* MonitorOf(HMONITOR handle);
    bool IsCursorListed(HCURSOR cursor) const;

    std::vector<TCustomForm*> FCustomForms;
    TCustomForm* FActiveCustomForm = nullptr;
    TForm* FActiveForm = nullptr;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FLastActiveControl = nullptr;
    TCustomForm* FFocusedForm = nullptr;
    std::vector<TCustomForm*> FSaveFocusedList;
    TCursor FCursor = crDefault;
    int FCursorCount = 0;
    std::map<TCursor, HCURSOR> FCursors;
    std::unique_ptr<TStringList> FFonts;
    std::unique_ptr<TFont> FHintFont;
    std::unique_ptr<TFont> FMenuFont;
    std::unique_ptr<TFont> FIconFont;
    std::vector<std::unique_ptr<TMonitor>> FMonitors;
};

// The mouse: where it is, which window captures it, and its wheel.
class TMouse : public TObject {
    using inherited = TObject;

public:
    TPoint CursorPos() const;
    void SetCursorPos(const TPoint& value);
    HWND Capture() const;
    void SetCapture(HWND value);
    bool WheelPresent() const;
    int WheelScrollLines() const;
    bool DragImmediate() const { return FDragImmediate; }
    void SetDragImmediate(bool value) { FDragImmediate = value; }
    int DragThreshold() const { return FDragThreshold; }
    void SetDragThreshold(int value) { FDragThreshold = value; }

private:
    bool FDragImmediate = true;
    int FDragThreshold = 5;
};

// Made by InitializeForms, deleted by FinalizeForms (Forms.h).
extern TScreen* Screen;
extern TMouse* Mouse;

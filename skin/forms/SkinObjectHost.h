// TspSkinObjectHost: what a skinned form offers the run-time skin objects on it. The form component implements
// it; the objects know the form only through it, so they can be built and tested without a window.
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/controls/TCustomForm.h"
#include "framework/graphics/Types.h"
#include "skin/core/Forward.h"

#include <string>

class TCanvas;
class TFont;
class TMenuItem;
class TspActiveSkinObject;

// The two states of a switch object, in this order.
enum TSwitchState : uint8_t { swsOn, swsOff };

class TspSkinObjectHost {
public:
    virtual ~TspSkinObjectHost() = default;

    // ---- The skin and the form's state ---------------------------------------------------------------------------
    // The form's skin; null without one.
    virtual TspSkinData* SkinData() const = 0;
    // Whether the form counts as active now (the screen's active form, or the stored flag of MDI forms).
    virtual bool GetFormActive() = 0;
    // The stored active flag, as the last activation message left it.
    virtual bool FormActive() const = 0;
    // Frame mode (true) or picture mode (false).
    virtual bool SupportNCArea() const = 0;
    // The form component's own window state and roll-up state.
    virtual TWindowState WindowState() const = 0;
    virtual bool RolledUp() const = 0;
    virtual bool ShowIcon() const = 0;
    virtual bool AlwaysMinimizeToTray() const = 0;
    // Whether the skin's picture can be stretched to another size.
    virtual bool CanScale() const = 0;
    // The text the caption writes (the form's caption, with a maximized MDI child's in brackets).
    virtual std::string CaptionText() const = 0;
    // The caption font without a skin string table's character set.
    virtual TFont* DefCaptionFont() const = 0;

    // ---- The objects ---------------------------------------------------------------------------------------------
    virtual int ObjectCount() const = 0;
    virtual TspActiveSkinObject* ObjectAt(int index) const = 0;
    // Draws one object now, over what the window shows (nothing when it is not part of the current roll-up state).
    virtual void DrawSkinObject(TspActiveSkinObject* object) = 0;
    // Starting the 25 ms morph and animation timers; the form stops them when nothing moves any more.
    virtual void StartMorphTimer() = 0;
    virtual void StartAnimationTimer() = 0;

    // ---- What objects ask of the form ----------------------------------------------------------------------------
    virtual void SetWindowState(TWindowState value) = 0;
    virtual void SetRollUpState(bool value) = 0;
    virtual void MinimizeToTray() = 0;
    virtual void CloseForm() = 0;
    virtual void DrawFormIcon(TCanvas* canvas, int x, int y) = 0;
    // The size of the caption icon.
    virtual TSize GetIconSize() const = 0;
    // Picture mode: a drag of the whole form starts at the client point (x, y) or ends.
    virtual void StartDragg(int x, int y) = 0;
    virtual void EndDragg() = 0;
    // The form's system menu (its items), null while it has none.
    virtual TMenuItem* GetSystemMenu() = 0;
    // Opens the items of `menu` under (or, upward, above) the object's rectangle, in `skin` (the form's menu skin
    // when null). The form releases the object's pressed look when the menu closes.
    virtual void PopupObjectMenu(TspActiveSkinObject* object, TMenuItem* menu, bool upward, TspSkinData* skin = nullptr)
        = 0;
    // The main menu the form draws from main-menu item objects: its rectangle and the skin's client rectangle for
    // the current size; an item's submenu opened (the form enters its main menu once and tells the application);
    // a leaf item was clicked (the form leaves its skinned-menu state before the command runs).
    virtual TRect MainMenuRect() const = 0;
    virtual TRect SkinClientRect() const = 0;
    virtual void MainMenuEntered() = 0;
    virtual void MainMenuItemClicked() = 0;
    // Raises OnCaptionPaint; false when the application gave none (the caption then writes its own text).
    virtual bool CaptionPaint(TCanvas* canvas, const TRect& rect, bool active) = 0;

    // ---- The form's events by IDName -----------------------------------------------------------------------------
    virtual void MouseDownEvent(const std::string& idName, int x, int y, const TRect& objectRect, TMouseButton button)
        = 0;
    virtual void MouseUpEvent(const std::string& idName, int x, int y, const TRect& objectRect, TMouseButton button)
        = 0;
    virtual void MouseMoveEvent(const std::string& idName, int x, int y, const TRect& objectRect) = 0;
    virtual void MouseEnterEvent(const std::string& idName) = 0;
    virtual void MouseLeaveEvent(const std::string& idName) = 0;
    virtual void PaintEvent(const std::string& idName, TCanvas* canvas, const TRect& objectRect) = 0;
    virtual void SwitchChangeStateEvent(const std::string& idName, TSwitchState state) = 0;
    virtual void TrackBarChangeValueEvent(const std::string& idName, int value) = 0;
    virtual void FrameRegulatorChangeValueEvent(const std::string& idName, int value) = 0;
};

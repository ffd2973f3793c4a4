// The framed edits and memo: the platform's EDIT window (single-line through the mask edit, multi-line through the
// memo) with a frame the control paints itself in its non-client area, a second "hot" frame while it has the focus
// or the pointer, separate background colours for the normal, focused and disabled states, the settings of a
// frame controller, Enter as Tab, and pointer enter and leave events. The memo also reports its caret's line and
// column and whether the clipboard has text, and scrolls by single lines on the mouse wheel.
#pragma once
#include "framed/FrCommon.h"
#include "framed/FrFrameController.h"
#include "framework/controls/Mask.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/TWinControl.h"

#include <functional>
#include <string>
#include <vector>

// What the single-line edit and the memo share: the frame, the colour states, the controller link and the keys.
template <class Base> class TFrFramedEdit : public Base, public IFrPublishedProperties {
    using inherited = Base;

public:
    explicit TFrFramedEdit(TComponent* owner);
    ~TFrFramedEdit() override;

    // The background in the normal state; the control shows DisabledColor while disabled and FocusColor while
    // focused. Setting it carries FocusColor along while the two are equal.
    TColor Color() const { return FNormalColor; }
    virtual void SetColor(TColor value);
    TColor FocusColor() const { return FFocusColor; }
    virtual void SetFocusColor(TColor value);
    TColor DisabledColor() const { return FDisabledColor; }
    virtual void SetDisabledColor(TColor value);
    bool FrameVisible() const { return FFrameVisible; }
    virtual void SetFrameVisible(bool value);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    virtual void SetFrameStyle(TFrameStyle value);
    TColor FrameColor() const { return FFrameColor; }
    virtual void SetFrameColor(TColor value);
    TSides FrameSides() const { return FFrameSides; }
    virtual void SetFrameSides(TSides value);
    bool FrameHotTrack() const { return FFrameHotTrack; }
    virtual void SetFrameHotTrack(bool value);
    TFrameStyle FrameHotStyle() const { return FFrameHotStyle; }
    virtual void SetFrameHotStyle(TFrameStyle value);
    TColor FrameHotColor() const { return FFrameHotColor; }
    virtual void SetFrameHotColor(TColor value);
    TFramingPreference FramingPreference() const { return FFramingPreference; }
    virtual void SetFramingPreference(TFramingPreference value);
    TFrFrameController* FrameController() const { return FFrameController; }
    virtual void SetFrameController(TFrFrameController* value);
    bool TabOnEnter() const { return FTabOnEnter; }
    void SetTabOnEnter(bool value) { FTabOnEnter = value; }
    // With fpXPThemes and visual styles on, the system frames the control and no frame of ours is painted.
    virtual bool FrameLeftToStyles() const;
    // The frame is painted hot now.
    bool HotNow() const { return FFrameHotTrack && (FFocusedFlag || FOverFlag); }

    bool SetPublishedProperty(std::string_view name, int64_t value) override;
    // What the form stores of the colours ("Color", "FocusColor", "DisabledColor"), and the values of older
    // versions it may hold ("FrameFlat", "FrameFocusStyle", "FrameFlatStyle").
    std::vector<TFrStoredValue> StoredColors() const;
    bool ReadStoredProperty(std::string_view name, std::string_view value);

    void Loaded() override;
    void WndProc(TMessage& message) override;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    virtual void UpdateColors();
    virtual void UpdateFrame(bool viaFocus, bool value);
    virtual void RepaintFrame();
    void KeyPress(char32_t& key) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void PaintFrame();

    TColor FNormalColor = clWindow;
    TColor FFocusColor = clWindow;
    TColor FDisabledColor = clBtnFace;
    bool FFrameVisible = false;
    TFrameStyle FFrameStyle = fsFlat;
    TColor FFrameColor = clBtnShadow;
    TSides FFrameSides = AllSides;
    bool FFrameHotTrack = false;
    TFrameStyle FFrameHotStyle = fsFlatBold;
    TColor FFrameHotColor = clBtnShadow;
    TFramingPreference FFramingPreference = fpXPThemes;
    TFrFrameController* FFrameController = nullptr;
    bool FTabOnEnter = false;
    bool FUpdatingColor = false;
    bool FFocusedFlag = false;
    bool FOverFlag = false;
};

// Sender and the message to show, which the handler may fill.
using TFrValidationFailedEvent = std::function<void(TObject* sender, std::string& message)>;

class TFrCustomEdit : public TFrFramedEdit<TCustomMaskEdit> {
    using inherited = TFrFramedEdit<TCustomMaskEdit>;

public:
    explicit TFrCustomEdit(TComponent* owner);

    TAlignment Alignment() const { return FAlignment; }
    // taLeftJustify or taRightJustify; a change makes the window again.
    virtual void SetAlignment(TAlignment value);
    // A failed mask check: with this assigned, a message it gives is raised (after a beep) and no message
    // lets the text stand.
    void ValidateEdit() override;

    TFrValidationFailedEvent OnValidationFailed;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TAlignment FAlignment = taLeftJustify;
};

class TFrEdit : public TFrCustomEdit {
    using inherited = TFrCustomEdit;

public:
    using TFrCustomEdit::TFrCustomEdit;
};

using TLineColChangeEvent = std::function<void(TObject* sender, int line, int column)>;
using TClipboardChangeEvent = std::function<void(TObject* sender, bool hasSelection, bool hasText)>;

class TFrMemo : public TFrFramedEdit<TMemo> {
    using inherited = TFrFramedEdit<TMemo>;

public:
    explicit TFrMemo(TComponent* owner);

    // The caret's line and column, from 1. Setting a column beyond the line's end + 1 does nothing; setting a
    // line brings it to the top.
    virtual int Line() const;
    virtual void SetLine(int value);
    virtual int Column() const;
    virtual void SetColumn(int value);

    void Click() override;
    void WndProc(TMessage& message) override;

    TLineColChangeEvent OnLineColChange;
    TClipboardChangeEvent OnClipboardChange;

protected:
    virtual void LineColChange();
    virtual void ClipboardChange();
    void Change() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyUp(uint16_t& key, TShiftState shift) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;
    void CreateWnd() override;

private:
    void ScrollLines(int lines);
};

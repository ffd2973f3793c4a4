// The framework's buttons over the platform's "BUTTON" window class: TButtonControl, the push button TButton
// (default and cancel buttons, ModalResult), the check box and the radio button; and the group box, which
// paints its own frame and holds controls.
#pragma once
#include "framework/controls/TCustomControl.h"

// A windowed control of the "BUTTON" class. The window reports its clicks by BN_CLICKED (reflected to the
// control as CN_COMMAND).
class TButtonControl : public TWinControl {
    using inherited = TWinControl;

public:
    explicit TButtonControl(TComponent* owner);

    virtual bool Checked() const { return false; }
    virtual void SetChecked(bool) { }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    // While set, setting the check state raises no click (used when the window reports a state it made).
    bool ClicksDisabled() const { return FClicksDisabled; }
    void SetClicksDisabled(bool value) { FClicksDisabled = value; }
    virtual void CNCommand(TMessage&) { }
    intptr_t SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam);

private:
    bool FClicksDisabled = false;
    bool FWordWrap = false;
};

// The push button. Enter clicks the default button while no other button has the focus (a focused button
// takes Enter itself); Escape clicks a cancel button. A click hands ModalResult to the parent form.
class TButton : public TButtonControl {
    using inherited = TButtonControl;

public:
    explicit TButton(TComponent* owner);

    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    // This button takes Enter now (it is the default and no other button has the focus, or it has it).
    bool Active() const { return FActive; }

    void Click() override;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    // Shows the default button's ring while the button takes Enter.
    void SetButtonStyle(bool isDefault);
    void CNCommand(TMessage& message) override;
    void CMDialogKey(TMessage& message);
    void CMDialogChar(TMessage& message);
    void CMFocusChanged(TMessage& message);

private:
    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;
    TModalResult FModalResult = mrNone;
};

enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };

// The check box: a click toggles it (through the grayed state when AllowGrayed); setting the state by code
// raises OnClick as a click does.
class TCustomCheckBox : public TButtonControl {
    using inherited = TButtonControl;

public:
    explicit TCustomCheckBox(TComponent* owner);

    // Which side of the box the caption is on: taRightJustify (the default) puts it right of the box.
    TLeftRight Alignment() const { return FAlignment; }
    void SetAlignment(TLeftRight value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState value);
    bool Checked() const override { return FState == cbChecked; }
    void SetChecked(bool value) override { SetState(value ? cbChecked : cbUnchecked); }

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    virtual void Toggle();
    void CNCommand(TMessage& message) override;
    void CMDialogChar(TMessage& message);

private:
    TLeftRight FAlignment = taRightJustify;
    bool FAllowGrayed = false;
    TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
public:
    using TCustomCheckBox::TCustomCheckBox;
};

// The radio button: checking it unchecks the radio buttons beside it (same parent) and raises OnClick; only
// the checked one of a group is a tab stop, and the arrow keys move the check along the group.
class TRadioButton : public TButtonControl {
    using inherited = TButtonControl;

public:
    explicit TRadioButton(TComponent* owner);

    TLeftRight Alignment() const { return FAlignment; }
    void SetAlignment(TLeftRight value);
    bool Checked() const override { return FChecked; }
    void SetChecked(bool value) override;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void CNCommand(TMessage& message) override;
    void CMDialogChar(TMessage& message);

private:
    TLeftRight FAlignment = taRightJustify;
    bool FChecked = false;
};

// A frame with a caption around a group of controls; its accelerator focuses the first of them.
class TCustomGroupBox : public TCustomControl {
    using inherited = TCustomControl;

public:
    explicit TCustomGroupBox(TComponent* owner);

    void WndProc(TMessage& message) override;

protected:
    void AdjustClientRect(TRect& rect) override;
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void CMDialogChar(TMessage& message);
    void CMTextChanged(TMessage& message);
};

class TGroupBox : public TCustomGroupBox {
public:
    using TCustomGroupBox::TCustomGroupBox;
};

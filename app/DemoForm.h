// The window the program shows until its own windows exist: a form on the framework with a caption, a
// label, a check box and a button that closes it.
#pragma once
#include "framework/controls/TCustomForm.h"
#include "framework/controls/TGraphicControl.h"

class TLabel;
class TDemoButton;
class TDemoCheckBox;

class TDemoForm : public TForm {
    using inherited = TForm;

public:
    explicit TDemoForm(TComponent* owner);

    TLabel* Label() const { return FLabel; }
    TDemoCheckBox* CheckBox() const { return FCheckBox; }
    TDemoButton* CloseButton() const { return FCloseButton; }

private:
    TLabel* FLabel = nullptr;
    TDemoCheckBox* FCheckBox = nullptr;
    TDemoButton* FCloseButton = nullptr;
};

// A push button drawn with the canvas: raised, sunk while pressed with the pointer over it.
class TDemoButton : public TGraphicControl {
    using inherited = TGraphicControl;

public:
    explicit TDemoButton(TComponent* owner);

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    bool FDown = false;
};

// A check box drawn with the canvas; a click toggles it.
class TDemoCheckBox : public TGraphicControl {
    using inherited = TGraphicControl;

public:
    explicit TDemoCheckBox(TComponent* owner);

    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    void Click() override;

protected:
    void Paint() override;

private:
    bool FChecked = false;
};

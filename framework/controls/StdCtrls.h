// The standard controls: the label (TCustomLabel, TLabel) here; the buttons, the edits, the memo, the list box
// and the combo box in their own units.
#pragma once
#include "framework/controls/StdButtons.h"
#include "framework/controls/TCustomComboBox.h"
#include "framework/controls/TCustomEdit.h"
#include "framework/controls/TCustomListBox.h"
#include "framework/controls/TCustomMemo.h"
#include "framework/controls/TGraphicControl.h"

#include <string>

// Text drawn on its parent, sized to the text while AutoSize is on. With FocusControl, its accelerator
// ("&Name") focuses that control.
class TCustomLabel : public TGraphicControl {
    using inherited = TGraphicControl;

public:
    explicit TCustomLabel(TComponent* owner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    void SetAutoSize(bool value) override;
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // A transparent label paints only its text over what its parent painted.
    bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
    void SetTransparent(bool value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);

    void WndProc(TMessage& message) override;

protected:
    // Draws (or with DT_CALCRECT measures into `rect`) the caption with the DrawText `flags`.
    virtual void DoDrawText(TRect& rect, uint32_t flags);
    // Fits the bounds to the text when AutoSize is on, keeping the side the alignment anchors.
    virtual void AdjustBounds();
    virtual std::string GetLabelText() const { return Caption(); }
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;

    void CMTextChanged(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMDialogChar(TMessage& message);

private:
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
    using inherited = TCustomLabel;

public:
    using TCustomLabel::TCustomLabel;
};

// The mask edit: TCustomMaskEdit and TMaskEdit. With an EditMask the edit text has one character per mask
// position, typing overwrites and skips literals, and leaving the control checks that every required position
// is filled (EDBEditError otherwise). Without a mask it is a plain edit.
#pragma once
#include "framework/controls/TCustomEdit.h"
#include "framework/core/Exception.h"
#include "platform/controls/MaskEngine.h"

#include <string>

class EDBEditError : public Exception {
public:
    using Exception::Exception;
};

class TCustomMaskEdit : public TCustomEdit {
    using inherited = TCustomEdit;

public:
    explicit TCustomMaskEdit(TComponent* owner);

    const std::string& EditMask() const { return FEditMask; }
    void SetEditMask(std::string_view value);
    bool IsMasked() const { return FMask.IsMasked(); }
    // What the window shows: literals and blank characters included.
    std::string EditText() const { return inherited::Text(); }
    void SetEditText(std::string_view value);
    // The text without blanks, and without literals unless the mask saves them.
    const std::string& Text() const override;
    // Raises EDBEditError, with the caret on the first position left wrong, unless the edit text fits the mask.
    virtual void ValidateEdit();

    void WndProc(TMessage& message) override;

protected:
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void DoExit() override;

private:
    // Puts an edit text into the window as it is, with the caret at `caret`.
    void ShowEditText(const std::u32string& edit, int caret, bool typed = true);
    void TypeText(std::u32string_view text);

    std::string FEditMask;
    MaskEngine FMask;
    mutable std::string FMaskedText;
    bool FSettingText = false;
};

class TMaskEdit : public TCustomMaskEdit {
    using inherited = TCustomMaskEdit;

public:
    using TCustomMaskEdit::TCustomMaskEdit;
};

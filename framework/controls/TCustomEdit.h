// The edit controls of the framework: TCustomEdit over the platform's "EDIT" window class, and TEdit. The text,
// the selection and the undo live in the window; the object keeps what it must to make the window again.
#pragma once
#include "framework/controls/TWinControl.h"

#include <string>

enum TEditCharCase : uint8_t { ecNormal, ecUpperCase, ecLowerCase };
enum TEditBorderStyle : uint8_t { ebsNone, ebsSingle };

class TCustomEdit : public TWinControl {
    using inherited = TWinControl;

public:
    explicit TCustomEdit(TComponent* owner);

    // The text as the window holds it (the object's copy while there is no window).
    const std::string& Text() const override;

    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }
    TEditBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TEditBorderStyle value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    // 0: no limit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);
    bool Modified() const;
    void SetModified(bool value);
    char32_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char32_t value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);

    // The selection, in characters.
    int SelStart() const;
    void SetSelStart(int value);
    int SelLength() const;
    void SetSelLength(int value);
    std::string SelText() const;
    void SetSelText(std::string_view value);
    bool CanUndo() const;

    void Clear();
    void ClearSelection();
    void ClearUndo();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    void SelectAll();

    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void Change();
    void DoEnter() override;
    // The window's style bits for the properties (multi-line edits add theirs).
    virtual void UpdateStyle();
    intptr_t SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const;

    void CNCommand(TMessage& message);
    void CNCtlColor(TMessage& message);

    bool FAutoSelect = true;
    TEditBorderStyle FBorderStyle = ebsSingle;
    TEditCharCase FCharCase = ecNormal;
    bool FHideSelection = true;
    int FMaxLength = 0;
    char32_t FPasswordChar = 0;
    bool FReadOnly = false;

private:
    mutable std::string FWindowText;
    // Kept across a re-creation of the window.
    bool FModified = false;
    bool FCreating = false;
};

class TEdit : public TCustomEdit {
    using inherited = TCustomEdit;

public:
    using TCustomEdit::TCustomEdit;
};

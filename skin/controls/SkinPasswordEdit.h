// TspSkinPasswordEdit: a password field drawn entirely by the control, with no system edit behind it. Every
// character shows as the same mark (a rounded square, a square or a triangle of one fixed width); the control
// keeps its own caret, selection, word jumps, deletion and pasting, and offers no way to copy or cut the text
// out. Skinned from the "edit" record.
#pragma once
#include "framework/controls/TCustomEdit.h"
#include "skin/core/SkinCustomCtrls.h"

#include <cstdint>
#include <cstdlib>
#include <string>

enum TspPasswordKind : uint8_t { pkRoundRect, pkRect, pkTriangle };

class TspSkinPasswordEdit : public TspSkinCustomControl {
    using inherited = TspSkinCustomControl;

public:
    explicit TspSkinPasswordEdit(TComponent* owner);
    ~TspSkinPasswordEdit() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    // The password, UTF-8. Positions, lengths and MaxLength count characters.
    const std::string& Text() const override { return FTextUtf8; }
    // Stored converted by CharCase; Change runs when the text differs from the old one.
    void SetText(std::string_view value);
    TspPasswordKind PasswordKind() const { return FPasswordKind; }
    void SetPasswordKind(TspPasswordKind value);
    TAlignment TextAlignment() const { return FTextAlignment; }
    void SetTextAlignment(TAlignment value);
    // The most characters typing and pasting may make; 0: no limit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value) { FMaxLength = value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }
    TEditCharCase CharCase() const { return FCharCase; }
    // A text already there is converted at once.
    void SetCharCase(TEditCharCase value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor value);
    TNotifyEvent OnChange;

    // ---- Caret and selection ---------------------------------------------------------------------------------
    int CaretPosition() const { return FCaretPosition; }
    void SetCaretPosition(int value);
    int SelStart() const;
    void SetSelStart(int value);
    int SelLength() const { return std::abs(FSelLength); }
    // Positive: the selection runs right from its start; negative: left from the caret.
    void SetSelLength(int value);
    std::string SelText() const;
    void SelectAll();
    // The word under the caret with the spaces after it.
    void SelectWord();
    void Clear() { SetText(""); }
    // The first character shown, 1-based.
    int FirstVisibleChar() const { return FFirstVisibleChar; }

    // ---- Editing ---------------------------------------------------------------------------------------------
    // Replaces the selection (not when ReadOnly). A result longer than MaxLength inserts nothing and drops the
    // selection.
    void InsertText(std::u32string_view text);
    void InsertChar(char32_t c) { InsertText(std::u32string_view(&c, 1)); }
    // Inserts after `position` characters, cut to what MaxLength leaves room for, even when ReadOnly; with
    // `select` the inserted part becomes the selection.
    void InsertAfter(int position, std::u32string_view text, bool select);
    // Deletes `count` characters from the 1-based `start`; with `reset` the caret goes to `start` - 1 and the
    // selection is dropped.
    void DeleteFrom(int start, int count, bool reset);
    void ClearSelection();
    void PasteFromClipboard();

    // ---- Geometry --------------------------------------------------------------------------------------------
    virtual TRect GetEditRect();
    // The width every mark takes.
    virtual int GetPasswordCharWidth();
    virtual TRect GetSelRect();
    // The x of the caret before character `index`.
    int GetCharX(int index);
    // The caret position under x.
    int GetCoordinatePosition(int x);
    // Word jumps: a word is a run of characters other than the space.
    int GetPrivWordBeging(int position) const;
    int GetNextWordBeging(int position) const;

    void GetSkinData() override;
    void Loaded() override;
    void WndProc(TMessage& message) override;

protected:
    virtual void DrawPasswordChar(const TRect& cell, bool selected, TCanvas* canvas);
    // Whether a text may be set; every text may here.
    virtual bool ValidText(std::u32string_view text)
    {
        (void)text;
        return true;
    }
    virtual void ShowCaret();
    virtual void HideCaret();

    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void CalcSize(int& width, int& height) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    virtual void Change();

private:
    void SetText32(std::u32string value);
    // The offset of the marks when they all fit and are not left-aligned.
    int AlignmentOffset();
    void UpdateFirstVisibleChar();
    // Moves the caret to `position` and extends the selection from its anchor (Shift and dragging) or drops it.
    void MoveCaret(int position, bool extend);
    void UpdateCaretPos();
    void CreateSystemCaret();
    // The selection and the marks over the face.
    void PaintText(TCanvas* canvas);
    TColor MarkColor() const;
    bool Hot() const { return FMouseIn || Focused(); }

    std::u32string FText;
    std::string FTextUtf8;
    TspPasswordKind FPasswordKind = pkRoundRect;
    TAlignment FTextAlignment = taLeftJustify;
    int FMaxLength = 0;
    bool FReadOnly = false;
    bool FAutoSelect = true;
    TEditCharCase FCharCase = ecNormal;
    bool FHideSelection = true;
    TColor FDefaultColor = clWindow;

    int FCaretPosition = 0;
    // The selection: its end is where the caret is, and the signed length runs from there to the anchor.
    int FSelEnd = 0;
    int FSelLength = 0;
    int FFirstVisibleChar = 1;
    bool FDragging = false;
    bool FMouseIn = false;
    bool FHasCaret = false;

    // Copies of the record.
    TRect ActiveSkinRect;
    int LOffset = 0, ROffset = 0;
    bool StretchEffect = false;
    TColor FontColor = clBlack, ActiveFontColor = clBlack, DisabledFontColor = clGrayText;
};

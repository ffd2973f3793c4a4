// The rich edit of the framework: TCustomRichEdit over the platform's "RICHEDIT" window class, its text
// attributes (the selection's and the default text's), its paragraph attributes, its Lines that load and save
// RTF, and TRichEdit.
#pragma once
#include "framework/controls/TCustomMemo.h"
#include "framework/core/TPersistent.h"
#include "framework/graphics/Graphics.h"

#include <memory>
#include <string>

class TCustomRichEdit;

enum TAttributeType : uint8_t { atSelected, atDefaultText };
enum TConsistentAttribute : uint8_t { caBold, caColor, caFace, caItalic, caSize, caStrikeOut, caUnderline };
using TConsistentAttributes = TSet<TConsistentAttribute, caUnderline>;

// The character format of the selection (atSelected) or of text nobody formatted (atDefaultText), read from and
// written to the window. Without a window the default text's attributes are the control's Font.
class TTextAttributes : public TPersistent {
    using inherited = TPersistent;

public:
    TTextAttributes(TCustomRichEdit* richEdit, TAttributeType type) : FRichEdit(richEdit), FType(type) {}

    // From a TFont or another TTextAttributes.
    void Assign(TPersistent* source) override;
    // Into a TFont.
    void AssignTo(TPersistent* dest) override;

    TColor Color() const;
    void SetColor(TColor value);
    std::string Name() const;
    void SetName(std::string_view value);
    // Points.
    int Size() const;
    void SetSize(int value);
    // Pixels of the character height, as TFont's Height (negative values are taken as their size).
    int Height() const;
    void SetHeight(int value);
    TFontStyles Style() const;
    void SetStyle(TFontStyles value);
    // The attributes that are the same over the whole selection.
    TConsistentAttributes ConsistentAttributes() const;

private:
    struct Format;
    Format Get() const;
    void Set(const Format& format);

    TCustomRichEdit* FRichEdit;
    TAttributeType FType;
};

// The alignment of the paragraphs the selection touches.
class TParaAttributes : public TPersistent {
    using inherited = TPersistent;

public:
    explicit TParaAttributes(TCustomRichEdit* richEdit) : FRichEdit(richEdit) {}
    void Assign(TPersistent* source) override;

    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);

private:
    TCustomRichEdit* FRichEdit;
};

// The lines of a rich edit: as a memo's, except that loading and saving go through the window's streams, as
// RTF unless the rich edit is PlainText.
class TRichEditStrings : public TMemoStrings {
    using inherited = TMemoStrings;

public:
    explicit TRichEditStrings(TCustomRichEdit* richEdit);
    // RTF that cannot be read is loaded as plain text, and then EOutOfResources says so.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;

private:
    TCustomRichEdit* FRichEdit;
};

class TCustomRichEdit : public TCustomMemo {
    using inherited = TCustomMemo;

public:
    explicit TCustomRichEdit(TComponent* owner);
    ~TCustomRichEdit() override;

    TTextAttributes* DefAttributes() const { return FDefAttributes.get(); }
    void SetDefAttributes(TTextAttributes* value) { FDefAttributes->Assign(value); }
    TTextAttributes* SelAttributes() const { return FSelAttributes.get(); }
    void SetSelAttributes(TTextAttributes* value) { FSelAttributes->Assign(value); }
    TParaAttributes* Paragraph() const { return FParagraph.get(); }
    // Lines load and save plain text instead of RTF.
    bool PlainText() const { return FPlainText; }
    void SetPlainText(bool value) { FPlainText = value; }
    // False keeps a scroll bar with nothing to scroll on screen, disabled.
    bool HideScrollBars() const { return FHideScrollBars; }
    void SetHideScrollBars(bool value);

    TNotifyEvent OnSelectionChange;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void SelectionChange();

private:
    void CNNotify(TMessage& message);
    // What the window shows that a plain text would lose, kept as RTF while the window is made again.
    std::string FSavedRtf;
    std::unique_ptr<TTextAttributes> FDefAttributes;
    std::unique_ptr<TTextAttributes> FSelAttributes;
    std::unique_ptr<TParaAttributes> FParagraph;
    bool FPlainText = false;
    bool FHideScrollBars = true;

    friend class TTextAttributes;
    friend class TParaAttributes;
    friend class TRichEditStrings;
};

class TRichEdit : public TCustomRichEdit {
    using inherited = TCustomRichEdit;

public:
    using TCustomRichEdit::TCustomRichEdit;
};

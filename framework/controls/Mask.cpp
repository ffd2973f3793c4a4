#include "framework/controls/Mask.h"

#include "framework/controls/Messages.h"
#include "framework/core/FormatSettings.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/EditServices.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/Windows.h"

TCustomMaskEdit::TCustomMaskEdit(TComponent* owner)
    : TCustomEdit(owner)
{
}

void TCustomMaskEdit::SetEditMask(std::string_view value)
{
    std::u32string text = ToUtf32(Text());
    FEditMask = std::string(value);
    // The mask's "/" and ":" stand for the program's date and time separators.
    const TFormatSettings& settings = FormatSettings();
    FMask = MaskEngine(FEditMask, MaskSeparators { settings.DateSeparator, settings.TimeSeparator });
    if (!IsMasked()) {
        SetMaxLength(0);
        return;
    }
    SetMaxLength(FMask.Length());
    ShowEditText(FMask.EditText(text), 0, false);
}

void TCustomMaskEdit::SetEditText(std::string_view value)
{
    if (!IsMasked()) {
        SetText(value);
        return;
    }
    std::u32string edit = ToUtf32(value);
    edit.resize(FMask.Length(), FMask.BlankChar());
    ShowEditText(FMask.EditText(FMask.Text(edit)), 0, false);
}

const std::string& TCustomMaskEdit::Text() const
{
    if (!IsMasked())
        return inherited::Text();
    FMaskedText = ToUtf8(FMask.Text(ToUtf32(inherited::Text())));
    return FMaskedText;
}

// The window's EN_CHANGE reaches OnChange; typing marks the text modified, setting it does not.
void TCustomMaskEdit::ShowEditText(const std::u32string& edit, int caret, bool typed)
{
    const std::string text = ToUtf8(edit);
    FSettingText = true;
    if (HandleAllocated())
        SendMessage(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    FText = text;
    FSettingText = false;
    if (typed)
        SetModified(true);
    SetSelStart(caret);
}

void TCustomMaskEdit::ValidateEdit()
{
    if (!IsMasked())
        return;
    int wrong = FMask.Invalid(ToUtf32(EditText()));
    if (wrong < 0)
        return;
    SetSelStart(wrong);
    SetSelLength(1);
    throw EDBEditError("Invalid input value.  Use escape key to abandon changes");
}

void TCustomMaskEdit::DoExit()
{
    ValidateEdit();
    inherited::DoExit();
}

// Characters overwrite the mask positions one by one; a selection is blanked first.
void TCustomMaskEdit::TypeText(std::u32string_view text)
{
    std::u32string edit = ToUtf32(EditText());
    int start = SelStart();
    if (SelLength() > 0)
        FMask.Blank(edit, start, start + SelLength());
    int caret = start;
    for (char32_t c : text) {
        int next = FMask.Type(edit, caret, c);
        if (next >= 0)
            caret = next;
    }
    ShowEditText(edit, FMask.NextEditable(caret) < FMask.Length() ? FMask.NextEditable(caret) : caret);
}

void TCustomMaskEdit::KeyPress(char32_t& key)
{
    inherited::KeyPress(key);
    if (!IsMasked() || key == 0 || ReadOnly())
        return;
    if (key == 8) {
        std::u32string edit = ToUtf32(EditText());
        int start = SelStart();
        int length = SelLength();
        if (length == 0) {
            start = FMask.PrevEditable(start - 1);
            length = start >= 0 ? 1 : 0;
        }
        if (start >= 0) {
            FMask.Blank(edit, start, start + length);
            ShowEditText(edit, start);
        }
        key = 0;
        return;
    }
    if (key < 32) // Ctrl+C and the like stay the edit's
        return;
    std::u32string edit = ToUtf32(EditText());
    int caret = SelStart();
    if (SelLength() > 0)
        FMask.Blank(edit, caret, caret + SelLength());
    int next = FMask.Type(edit, caret, key);
    key = 0;
    if (next < 0)
        return;
    int after = FMask.NextEditable(next);
    ShowEditText(edit, after < FMask.Length() ? after : next);
}

void TCustomMaskEdit::KeyDown(uint16_t& key, TShiftState shift)
{
    inherited::KeyDown(key, shift);
    if (!IsMasked() || ReadOnly() || key != VK_DELETE || shift.Contains(ssShift))
        return;
    std::u32string edit = ToUtf32(EditText());
    int start = SelStart();
    int length = std::max(1, SelLength());
    FMask.Blank(edit, start, start + length);
    ShowEditText(edit, start);
    key = 0;
}

void TCustomMaskEdit::WndProc(TMessage& message)
{
    if (IsMasked() && !FSettingText) {
        switch (message.Msg) {
        case WM_SETTEXT: {
            // Text set by the program is fitted into the mask.
            std::u32string text = ToUtf32(message.LParam ? reinterpret_cast<const char*>(message.LParam) : "");
            ShowEditText(FMask.EditText(text), 0, false);
            message.Result = TRUE;
            return;
        }
        case WM_PASTE: {
            std::string pasted;
            if (!ReadOnly() && GetClipboardText(Handle(), &pasted))
                TypeText(ToUtf32(pasted));
            return;
        }
        case WM_CUT:
        case WM_CLEAR: {
            if (message.Msg == WM_CUT)
                SendMessage(Handle(), WM_COPY, 0, 0);
            if (ReadOnly() || SelLength() == 0)
                return;
            std::u32string edit = ToUtf32(EditText());
            int start = SelStart();
            FMask.Blank(edit, start, start + SelLength());
            ShowEditText(edit, start);
            return;
        }
        default:
            break;
        }
    }
    inherited::WndProc(message);
}

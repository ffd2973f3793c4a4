#include "framework/controls/TCustomEdit.h"

#include "framework/controls/Messages.h"
#include "framework/graphics/Graphics.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/TextEngine.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"

TCustomEdit::TCustomEdit(TComponent* owner)
    : TWinControl(owner)
{
    FControlStyle = TControlStyle { csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight };
    FWidth = 121;
    FHeight = 21;
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    // The window is an "EDIT" under the control's own class name: its procedure is the edit's.
    RegisterEditClass();
    WNDCLASS edit {};
    GetClassInfo(nullptr, WC_EDIT, &edit);
    params.WindowClass.lpfnWndProc = edit.lpfnWndProc;
    params.WindowClass.cbWndExtra = edit.cbWndExtra;
    params.WindowClass.hCursor = edit.hCursor;
    params.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
    params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (FBorderStyle == ebsSingle) {
        if (Ctl3D())
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
    if (FCharCase == ecUpperCase)
        params.Style |= ES_UPPERCASE;
    else if (FCharCase == ecLowerCase)
        params.Style |= ES_LOWERCASE;
    if (!FHideSelection)
        params.Style |= ES_NOHIDESEL;
    if (FReadOnly)
        params.Style |= ES_READONLY;
}

void TCustomEdit::CreateWnd()
{
    FCreating = true;
    try {
        inherited::CreateWnd();
    } catch (...) {
        FCreating = false;
        throw;
    }
    FCreating = false;
    // The window may have changed the text (its character case).
    FText = TCustomEdit::Text();
    SendToWindow(EM_LIMITTEXT, static_cast<uintptr_t>(FMaxLength), 0);
    SendToWindow(WM_SETFONT, reinterpret_cast<uintptr_t>(Font()->Handle()), 0);
    if (FPasswordChar)
        SendToWindow(EM_SETPASSWORDCHAR, FPasswordChar, 0);
    SendToWindow(EM_SETMODIFY, FModified, 0);
}

void TCustomEdit::DestroyWnd()
{
    // What only the window knew goes back into the object, for the next window.
    FModified = Modified();
    FText = TCustomEdit::Text();
    inherited::DestroyWnd();
}

intptr_t TCustomEdit::SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const
{
    auto* self = const_cast<TCustomEdit*>(this);
    if (!self->HandleAllocated())
        return 0;
    return SendMessage(self->Handle(), message, wParam, lParam);
}

const std::string& TCustomEdit::Text() const
{
    auto* self = const_cast<TCustomEdit*>(this);
    if (!self->HandleAllocated())
        return FText;
    HWND hwnd = self->Handle();
    FWindowText.assign(GetWindowTextLength(hwnd) + 1, '\0');
    FWindowText.resize(GetWindowText(hwnd, FWindowText.data(), static_cast<int>(FWindowText.size())));
    return FWindowText;
}

void TCustomEdit::SetBorderStyle(TEditBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    UpdateStyle();
}

void TCustomEdit::SetCharCase(TEditCharCase value)
{
    if (value == FCharCase)
        return;
    FCharCase = value;
    UpdateStyle();
}

void TCustomEdit::SetHideSelection(bool value)
{
    if (value == FHideSelection)
        return;
    FHideSelection = value;
    UpdateStyle();
}

// The styles are read when the window is made, so a change makes it again.
void TCustomEdit::UpdateStyle()
{
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomEdit::SetMaxLength(int value)
{
    FMaxLength = std::max(0, value);
    SendToWindow(EM_LIMITTEXT, static_cast<uintptr_t>(FMaxLength), 0);
}

bool TCustomEdit::Modified() const
{
    if (const_cast<TCustomEdit*>(this)->HandleAllocated())
        return SendToWindow(EM_GETMODIFY, 0, 0) != 0;
    return FModified;
}

void TCustomEdit::SetModified(bool value)
{
    FModified = value;
    SendToWindow(EM_SETMODIFY, value, 0);
}

void TCustomEdit::SetPasswordChar(char32_t value)
{
    if (value == FPasswordChar)
        return;
    FPasswordChar = value;
    if (HandleAllocated()) {
        SendToWindow(EM_SETPASSWORDCHAR, value, 0);
        Invalidate();
    }
}

void TCustomEdit::SetReadOnly(bool value)
{
    if (value == FReadOnly)
        return;
    FReadOnly = value;
    SendToWindow(EM_SETREADONLY, value, 0);
}

int TCustomEdit::SelStart() const
{
    DWORD start = 0, end = 0;
    SendToWindow(EM_GETSEL, reinterpret_cast<uintptr_t>(&start), reinterpret_cast<intptr_t>(&end));
    return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int value) { SendToWindow(EM_SETSEL, value, value); }

int TCustomEdit::SelLength() const
{
    DWORD start = 0, end = 0;
    SendToWindow(EM_GETSEL, reinterpret_cast<uintptr_t>(&start), reinterpret_cast<intptr_t>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int value)
{
    DWORD start = 0, end = 0;
    SendToWindow(EM_GETSEL, reinterpret_cast<uintptr_t>(&start), reinterpret_cast<intptr_t>(&end));
    SendToWindow(EM_SETSEL, start, static_cast<intptr_t>(start) + value);
    SendToWindow(EM_SCROLLCARET, 0, 0);
}

std::string TCustomEdit::SelText() const
{
    // Positions count characters (a line break is two, as it is two bytes of the text).
    const std::string& text = Text();
    DWORD start = 0, end = 0;
    SendToWindow(EM_GETSEL, reinterpret_cast<uintptr_t>(&start), reinterpret_cast<intptr_t>(&end));
    size_t a = utf8::Offset(text, static_cast<int>(start));
    return text.substr(a, utf8::Offset(text, static_cast<int>(end)) - a);
}

void TCustomEdit::SetSelText(std::string_view value)
{
    const std::string text(value);
    SendToWindow(EM_REPLACESEL, 0, reinterpret_cast<intptr_t>(text.c_str()));
}

bool TCustomEdit::CanUndo() const { return SendToWindow(EM_CANUNDO, 0, 0) != 0; }
void TCustomEdit::Clear() { SetText(""); }
void TCustomEdit::ClearSelection() { SendToWindow(WM_CLEAR, 0, 0); }
void TCustomEdit::ClearUndo() { SendToWindow(EM_EMPTYUNDOBUFFER, 0, 0); }
void TCustomEdit::CopyToClipboard() { SendToWindow(WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { SendToWindow(WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { SendToWindow(WM_PASTE, 0, 0); }
void TCustomEdit::Undo() { SendToWindow(WM_UNDO, 0, 0); }
void TCustomEdit::SelectAll() { SendToWindow(EM_SETSEL, 0, -1); }

void TCustomEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

// A single-line edit entered by the keyboard selects all its text.
void TCustomEdit::DoEnter()
{
    if (FAutoSelect && !FControlState.Contains(csLButtonDown) && HandleAllocated() &&
        !(GetWindowLongPtr(Handle(), GWL_STYLE) & ES_MULTILINE))
        SelectAll();
    inherited::DoEnter();
}

void TCustomEdit::CNCommand(TMessage& message)
{
    if (HIWORD(message.WParam) == EN_CHANGE && !FCreating) {
        // The object's copy follows the window, so setting the text it already has is still a no-op.
        FText = TCustomEdit::Text();
        Change();
    }
}

void TCustomEdit::CNCtlColor(TMessage& message)
{
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    ::SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    ::SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(Color())));
    message.Result = reinterpret_cast<intptr_t>(Brush()->Handle());
}

void TCustomEdit::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CN_COMMAND:
        CNCommand(message);
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
        CNCtlColor(message);
        return;
    case CM_FONTCHANGED:
        inherited::WndProc(message);
        SendToWindow(WM_SETFONT, reinterpret_cast<uintptr_t>(Font()->Handle()), TRUE);
        return;
    default:
        inherited::WndProc(message);
    }
}

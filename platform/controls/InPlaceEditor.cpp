#include "platform/controls/InPlaceEditor.h"

#include "platform/controls/EditControl.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WindowProps.h"
#include "platform/win/Windows.h"

namespace {

constexpr const char* kEditorProp = "InPlaceEditor";

WNDPROC EditClassProc()
{
    WNDCLASS edit {};
    GetClassInfo(nullptr, WC_EDIT, &edit);
    return edit.lpfnWndProc;
}

// The editor's procedure: the owner hears of its keys and of its loss of focus first.
LRESULT EditorProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* editor = static_cast<InPlaceEditor*>(GetProp(edit, kEditorProp));
    if (message == WM_NCDESTROY)
        RemoveProp(edit, kEditorProp);
    if (!editor || editor->Window() != edit || message == WM_NCDESTROY)
        return CallWindowProc(EditClassProc(), edit, message, wParam, lParam);
    return editor->Message(edit, message, wParam, lParam);
}

} // namespace

InPlaceEditor::~InPlaceEditor()
{
    Close();
}

HWND InPlaceEditor::Open(HWND owner, const RECT& rect, std::string_view text, HFONT font, DoneProc done)
{
    Close();
    RegisterEditClass();
    std::string initial(text);
    hwnd_ = CreateWindowEx(0, WC_EDIT, initial.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect.left,
        rect.top, rect.right - rect.left, rect.bottom - rect.top, owner, nullptr, nullptr, nullptr);
    if (!hwnd_)
        return nullptr;
    owner_ = owner;
    done_ = std::move(done);
    SendMessage(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    SetProp(hwnd_, kEditorProp, this);
    SetWindowLongPtr(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditorProc));
    SendMessage(hwnd_, EM_SETSEL, 0, -1);
    SetFocus(hwnd_);
    return hwnd_;
}

std::string InPlaceEditor::Text() const
{
    if (!hwnd_)
        return {};
    std::string text(static_cast<size_t>(GetWindowTextLength(hwnd_)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowText(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void InPlaceEditor::Close()
{
    HWND edit = hwnd_;
    if (!edit)
        return;
    hwnd_ = nullptr;
    done_ = nullptr;
    if (GetFocus() == edit && IsWindow(owner_))
        SetFocus(owner_);
    if (IsWindow(edit))
        DestroyWindow(edit);
}

void InPlaceEditor::Finish(bool commit)
{
    if (!hwnd_ || finishing_)
        return;
    finishing_ = true;
    DoneProc done = done_;
    if (done)
        done(commit);
    else
        Close();
    finishing_ = false;
}

LRESULT InPlaceEditor::Message(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | CallWindowProc(EditClassProc(), edit, message, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            Finish(wParam == VK_RETURN);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r' || wParam == '\n' || wParam == 0x1B)
            return 0;
        break;
    case WM_KILLFOCUS: {
        LRESULT result = CallWindowProc(EditClassProc(), edit, message, wParam, lParam);
        Finish(true);
        return result;
    }
    default:
        break;
    }
    return CallWindowProc(EditClassProc(), edit, message, wParam, lParam);
}

#include "platform/controls/EditServices.h"

// The caret, the scroll bars and the clipboard are arriving in the window layer; until they are there the edit
// keeps its caret position and clipboard text here so that everything above works the same.

void EditCaret::Create(HWND, int)
{
    created_ = true;
    visible_ = false;
}

void EditCaret::Move(HWND, int x, int y) { position_ = {x, y}; }

void EditCaret::Show(HWND)
{
    if (created_)
        visible_ = true;
}

void EditCaret::Destroy() { created_ = visible_ = false; }

void PublishScrollInfo(HWND, DWORD, int, int, int, const std::function<int()>&, int, int) {}

namespace {
std::string& ClipboardText()
{
    static std::string text;
    return text;
}
bool& ClipboardHasText()
{
    static bool has = false;
    return has;
}
} // namespace

bool PutClipboardText(HWND, const std::string& text)
{
    ClipboardText() = text;
    ClipboardHasText() = true;
    return true;
}

bool GetClipboardText(HWND, std::string* text)
{
    if (!ClipboardHasText())
        return false;
    *text = ClipboardText();
    return true;
}

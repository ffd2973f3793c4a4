#include "platform/controls/EditServices.h"

#include "platform/win/ScrollBars.h"
#include "platform/win/WinStyles.h"

#include <algorithm>

// The caret and the clipboard are arriving in the window layer; until they are there the edit keeps its caret
// position and clipboard text here so that everything above works the same.

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

void PublishScrollInfo(HWND hwnd, DWORD style, int rows, int visibleRows, int top, const std::function<int()>& widest,
    int width, int x)
{
    if (style & WS_VSCROLL) {
        SCROLLINFO info {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, std::max(0, rows - 1),
            static_cast<UINT>(std::max(0, visibleRows)), top, 0};
        SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
    }
    if (style & WS_HSCROLL) {
        SCROLLINFO info {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0,
            std::max(0, widest() - 1), static_cast<UINT>(std::max(0, width)), x, 0};
        SetScrollInfo(hwnd, SB_HORZ, &info, TRUE);
    }
}

int ThumbPosition(HWND hwnd, int bar, int fromMessage)
{
    SCROLLINFO info {sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    if (GetScrollInfo(hwnd, bar, &info))
        return info.nTrackPos;
    return fromMessage;
}

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

#include "platform/controls/EditServices.h"

#include "platform/win/Clipboard.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/WinStyles.h"

#include <algorithm>
#include <cstring>

void PublishScrollInfo(HWND hwnd, DWORD style, int rows, int visibleRows, int top, const std::function<int()>& widest,
    int width, int x, bool keepIdleBars)
{
    const UINT idle = keepIdleBars ? SIF_DISABLENOSCROLL : 0;
    if (style & WS_VSCROLL) {
        SCROLLINFO info {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | idle, 0, std::max(0, rows - 1),
            static_cast<UINT>(std::max(0, visibleRows)), top, 0};
        SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
    }
    if (style & WS_HSCROLL) {
        SCROLLINFO info {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | idle, 0,
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

int WholeThumbPosition(HWND hwnd, int bar, int fromMessage)
{
    SCROLLINFO info {sizeof info, SIF_POS, 0, 0, 0, 0, 0};
    if (GetScrollInfo(hwnd, bar, &info) && WORD(info.nPos) == WORD(fromMessage))
        return info.nPos;
    return fromMessage;
}

// The clipboard's text travels as CF_TEXT, UTF-8 with its terminating zero.
bool PutClipboardText(HWND owner, const std::string& text)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!block)
        return false;
    char* bytes = static_cast<char*>(GlobalLock(block));
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    bool set = SetClipboardData(CF_TEXT, block) != nullptr;
    if (!set)
        GlobalFree(block);
    CloseClipboard();
    return set;
}

bool GetClipboardText(HWND owner, std::string* text)
{
    if (!OpenClipboard(owner))
        return false;
    bool got = false;
    if (HANDLE block = GetClipboardData(CF_TEXT)) {
        const char* bytes = static_cast<const char*>(GlobalLock(block));
        size_t size = GlobalSize(block);
        if (bytes) {
            // Up to the terminating zero, never past the block.
            *text = std::string(bytes, strnlen(bytes, size));
            got = true;
        }
        GlobalUnlock(block);
    }
    CloseClipboard();
    return got;
}

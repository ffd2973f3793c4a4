// The clipboard and the movable memory blocks its data travels in. Text is CF_TEXT in UTF-8 (with the
// terminating zero in the block); CF_UNICODETEXT (UTF-16) is offered alongside it and converted either way.
// Other programs see the text; formats registered with RegisterClipboardFormat stay within this program.
#pragma once
#include "platform/win/WinSystem.h" // ERROR_ACCESS_DENIED
#include "platform/win/WinTypes.h"

#include <cstddef>

using HGLOBAL = HANDLE;

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

// Memory blocks: GlobalLock gives the bytes (null for a bad handle), GlobalSize their count.
HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
void* GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
size_t GlobalSize(HGLOBAL block);
// Null on success, the block on failure (as Windows does).
HGLOBAL GlobalFree(HGLOBAL block);

// One opener at a time (UI thread): FALSE while another window has it open.
BOOL OpenClipboard(HWND owner);
// Hands what was set since opening to the display.
BOOL CloseClipboard();
// Clears the clipboard; the opener becomes its owner. Needs the clipboard open.
BOOL EmptyClipboard();
// Takes over the block (freed by the clipboard) and returns it; null (and nothing set) when the clipboard is
// not open or `data` is no block.
HANDLE SetClipboardData(UINT format, HANDLE data);
// A block the clipboard owns, valid until it is closed; null when the format is not there or it is not open.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
// A format number from 0xC000 up for a name (case-insensitive), the same for the same name; 0 for an empty
// name.
UINT RegisterClipboardFormat(const char* name);
HWND GetClipboardOwner();

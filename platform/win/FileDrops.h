// Files dropped on a window from other programs: WM_DROPFILES hands over an HDROP with the paths and the
// point of the drop, read with DragQueryFile and DragQueryPoint and released with DragFinish. Only windows
// with WS_EX_ACCEPTFILES (DragAcceptFiles) or their children get drops.
#pragma once
#include "platform/win/WinTypes.h"

struct HDROP__;
using HDROP = HDROP__*;

void DragAcceptFiles(HWND hwnd, BOOL accept);
// Index 0xFFFFFFFF: the number of files. A null buffer: the length of the path `index` in bytes, without
// the terminating zero. Otherwise copies at most size - 1 bytes and a zero, and returns the bytes copied.
// Paths are UTF-8. 0 for a bad handle or index.
UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size);
// The drop point in the client coordinates of the window that got it; TRUE when it lies in the client area.
BOOL DragQueryPoint(HDROP drop, POINT* point);
void DragFinish(HDROP drop);

// Small rectangle helpers shared by the skinned lists.
#pragma once
#include "framework/graphics/Types.h"
#include "platform/win/WinTypes.h"

struct TCreateParams;

namespace SkinListSupport {

inline TRect Offset(const TRect& r, int dx, int dy) { return Rect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy); }
inline TRect Inflate(const TRect& r, int dx, int dy) { return Rect(r.Left - dx, r.Top - dy, r.Right + dx, r.Bottom + dy); }
// Left and top edges inside, right and bottom outside.
inline bool Contains(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

// A drop-down's window shown at a screen point on top without activation, and hidden again.
void ShowPopupWindow(HWND window, TPoint origin);
void HidePopupWindow(HWND window);
// A drop-down list's window: a popup tool window that keeps what it covers, with a shadow where the system has one.
void SetPopupListParams(TCreateParams& params);

} // namespace SkinListSupport

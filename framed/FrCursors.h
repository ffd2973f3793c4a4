// The cursors of the framed controls, drawn here: the pointing hand of link labels and the four cursors of the
// size panel's bar. Each call makes a new handle; the caller (usually Screen) owns it.
#pragma once
#include "platform/win/WinTypes.h"

#include <string_view>

// "RZCOMMON_HANDCURSOR", "RZSPLIT_HORZ", "RZSPLIT_HORZHOTSPOT", "RZSPLIT_VERT", "RZSPLIT_VERTHOTSPOT"; null for
// another name.
HCURSOR LoadFrCursor(std::string_view name);

// The screen cursor number the link labels register their hand as.
constexpr short crFrHandCursor = 26000;

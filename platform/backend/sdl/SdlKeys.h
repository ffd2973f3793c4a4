// The virtual key of an SDL key event.
#pragma once
#include "platform/win/WinTypes.h"

#include <SDL2/SDL_keyboard.h>

// 0 for keys the window layer has no virtual key for. Letters and digits go by the layout's key (keycode);
// keys the layout gives a non-ASCII character go by their place on the keyboard (scancode).
UINT VirtualKeyOf(const SDL_Keysym& key);

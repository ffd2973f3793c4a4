#include "platform/backend/sdl/SdlKeys.h"

#include "platform/win/VirtualKeys.h"

namespace {

struct TKeyPair {
    SDL_Keycode Key;
    UINT VirtualKey;
};

constexpr TKeyPair kKeys[] = {
    { SDLK_RETURN, VK_RETURN },
    { SDLK_ESCAPE, VK_ESCAPE },
    { SDLK_BACKSPACE, VK_BACK },
    { SDLK_TAB, VK_TAB },
    { SDLK_SPACE, VK_SPACE },
    { SDLK_SEMICOLON, VK_OEM_1 },
    { SDLK_EQUALS, VK_OEM_PLUS },
    { SDLK_PLUS, VK_OEM_PLUS },
    { SDLK_COMMA, VK_OEM_COMMA },
    { SDLK_MINUS, VK_OEM_MINUS },
    { SDLK_PERIOD, VK_OEM_PERIOD },
    { SDLK_SLASH, VK_OEM_2 },
    { SDLK_BACKQUOTE, VK_OEM_3 },
    { SDLK_LEFTBRACKET, VK_OEM_4 },
    { SDLK_BACKSLASH, VK_OEM_5 },
    { SDLK_RIGHTBRACKET, VK_OEM_6 },
    { SDLK_QUOTE, VK_OEM_7 },
    { SDLK_CAPSLOCK, VK_CAPITAL },
    { SDLK_PRINTSCREEN, VK_SNAPSHOT },
    { SDLK_SCROLLLOCK, VK_SCROLL },
    { SDLK_PAUSE, VK_PAUSE },
    { SDLK_INSERT, VK_INSERT },
    { SDLK_DELETE, VK_DELETE },
    { SDLK_HOME, VK_HOME },
    { SDLK_END, VK_END },
    { SDLK_PAGEUP, VK_PRIOR },
    { SDLK_PAGEDOWN, VK_NEXT },
    { SDLK_RIGHT, VK_RIGHT },
    { SDLK_LEFT, VK_LEFT },
    { SDLK_DOWN, VK_DOWN },
    { SDLK_UP, VK_UP },
    { SDLK_NUMLOCKCLEAR, VK_NUMLOCK },
    { SDLK_KP_DIVIDE, VK_DIVIDE },
    { SDLK_KP_MULTIPLY, VK_MULTIPLY },
    { SDLK_KP_MINUS, VK_SUBTRACT },
    { SDLK_KP_PLUS, VK_ADD },
    { SDLK_KP_ENTER, VK_RETURN },
    { SDLK_KP_PERIOD, VK_DECIMAL },
    { SDLK_KP_0, VK_NUMPAD0 },
    { SDLK_APPLICATION, VK_APPS },
    { SDLK_HELP, VK_HELP },
    { SDLK_LCTRL, VK_CONTROL },
    { SDLK_RCTRL, VK_CONTROL },
    { SDLK_LSHIFT, VK_SHIFT },
    { SDLK_RSHIFT, VK_SHIFT },
    { SDLK_LALT, VK_MENU },
    { SDLK_RALT, VK_MENU },
    { SDLK_LGUI, VK_LWIN },
    { SDLK_RGUI, VK_RWIN },
};

// The punctuation keys by place, for layouts that put other characters there.
struct TScanPair {
    SDL_Scancode Scan;
    UINT VirtualKey;
};

constexpr TScanPair kScans[] = {
    { SDL_SCANCODE_SEMICOLON, VK_OEM_1 },
    { SDL_SCANCODE_EQUALS, VK_OEM_PLUS },
    { SDL_SCANCODE_COMMA, VK_OEM_COMMA },
    { SDL_SCANCODE_MINUS, VK_OEM_MINUS },
    { SDL_SCANCODE_PERIOD, VK_OEM_PERIOD },
    { SDL_SCANCODE_SLASH, VK_OEM_2 },
    { SDL_SCANCODE_GRAVE, VK_OEM_3 },
    { SDL_SCANCODE_LEFTBRACKET, VK_OEM_4 },
    { SDL_SCANCODE_BACKSLASH, VK_OEM_5 },
    { SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6 },
    { SDL_SCANCODE_APOSTROPHE, VK_OEM_7 },
};

} // namespace

UINT VirtualKeyOf(const SDL_Keysym& key)
{
    const SDL_Keycode k = key.sym;
    if (k >= SDLK_a && k <= SDLK_z)
        return UINT('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9)
        return UINT('0' + (k - SDLK_0));
    if (k >= SDLK_F1 && k <= SDLK_F12)
        return VK_F1 + UINT(k - SDLK_F1);
    if (k >= SDLK_KP_1 && k <= SDLK_KP_9)
        return VK_NUMPAD0 + 1 + UINT(k - SDLK_KP_1);
    for (const TKeyPair& p : kKeys)
        if (p.Key == k)
            return p.VirtualKey;
    const SDL_Scancode s = key.scancode;
    if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z)
        return UINT('A' + (s - SDL_SCANCODE_A));
    if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9)
        return UINT('1' + (s - SDL_SCANCODE_1));
    if (s == SDL_SCANCODE_0)
        return '0';
    for (const TScanPair& p : kScans)
        if (p.Scan == s)
            return p.VirtualKey;
    return 0;
}

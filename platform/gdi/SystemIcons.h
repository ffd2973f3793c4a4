// The system's message icons (error, question, warning, information), drawn by this program at their first use:
// LoadIcon(nullptr, IDI_...) hands out one shared 32 x 32 icon with alpha per kind, never to be destroyed.
#pragma once
#include "platform/gdi/GdiTypes.h"
#include "platform/win/WinSystem.h"

constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;

inline const char* const IDI_APPLICATION = MAKEINTRESOURCE(32512);
inline const char* const IDI_HAND = MAKEINTRESOURCE(32513);
inline const char* const IDI_QUESTION = MAKEINTRESOURCE(32514);
inline const char* const IDI_EXCLAMATION = MAKEINTRESOURCE(32515);
inline const char* const IDI_ASTERISK = MAKEINTRESOURCE(32516);
inline const char* const IDI_ERROR = IDI_HAND;
inline const char* const IDI_WARNING = IDI_EXCLAMATION;
inline const char* const IDI_INFORMATION = IDI_ASTERISK;

// One of the system icons above for a null instance; null (ERROR_RESOURCE_NAME_NOT_FOUND) for anything else.
HICON LoadIcon(HINSTANCE instance, const char* name);

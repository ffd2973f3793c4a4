// The shell services' shared numbers: path length and the error codes their calls leave in GetLastError.
#pragma once
#include "platform/win/WinSystem.h"
#include "platform/win/WinTypes.h"

using ULONG = uint32_t;

constexpr int MAX_PATH = 260;

// ERROR_ACCESS_DENIED comes with the window layer's codes.
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
// No program is known to open the target.
constexpr DWORD ERROR_NO_ASSOCIATION = 1155;

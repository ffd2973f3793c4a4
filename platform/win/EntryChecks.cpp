#include "platform/win/EntryChecks.h"

namespace WinCore {

namespace {

bool Accepts(const TWindowRecord* w, TAccept accept)
{
    switch (accept) {
    case TAccept::Windows:
        return !IsPseudoWindow(w);
    case TAccept::Drawable:
        return !IsPseudoWindow(w) && !IsMessageOnly(w);
    case TAccept::WithDesktop:
        return !w->IsMessageRoot;
    }
    return false;
}

} // namespace

TWindowRecord* CheckWindow(HWND hwnd, TAccept accept, bool pointersGiven)
{
    if (!Ready())
        return nullptr;
    TWindowRecord* w = Find(hwnd);
    if (!w || !Accepts(w, accept)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (!pointersGiven) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return w;
}

} // namespace WinCore

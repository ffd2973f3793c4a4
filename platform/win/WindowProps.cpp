// Window properties, kept in the window's record.
#include "platform/win/EntryChecks.h"
#include "platform/win/WindowProps.h"

#include <algorithm>
#include <strings.h>

using namespace WinCore;

namespace {

bool IsAtom(const char* name)
{
    return IS_INTRESOURCE(name);
}

bool SameName(const TWindowProp& prop, const char* name)
{
    if (IsAtom(name))
        return prop.Atom == reinterpret_cast<uintptr_t>(name);
    return prop.Atom == 0 && strcasecmp(prop.Name.c_str(), name) == 0;
}

TWindowProp* FindProp(TWindowRecord* w, const char* name)
{
    auto it = std::find_if(w->Props.begin(), w->Props.end(), [&](const TWindowProp& p) { return SameName(p, name); });
    return it == w->Props.end() ? nullptr : &*it;
}

bool ValidName(const char* name)
{
    if (name && (IsAtom(name) || *name))
        return true;
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

} // namespace

BOOL SetProp(HWND hwnd, const char* name, HANDLE data)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w || !ValidName(name))
        return FALSE;
    if (TWindowProp* prop = FindProp(w, name)) {
        prop->Data = data;
        return TRUE;
    }
    TWindowProp prop;
    if (IsAtom(name))
        prop.Atom = reinterpret_cast<uintptr_t>(name);
    else
        prop.Name = name;
    prop.Data = data;
    w->Props.push_back(std::move(prop));
    return TRUE;
}

HANDLE GetProp(HWND hwnd, const char* name)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w || !ValidName(name))
        return nullptr;
    const TWindowProp* prop = FindProp(w, name);
    return prop ? prop->Data : nullptr;
}

HANDLE RemoveProp(HWND hwnd, const char* name)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w || !ValidName(name))
        return nullptr;
    TWindowProp* prop = FindProp(w, name);
    if (!prop)
        return nullptr;
    const HANDLE data = prop->Data;
    w->Props.erase(w->Props.begin() + (prop - w->Props.data()));
    return data;
}

int EnumProps(HWND hwnd, PROPENUMPROC callback)
{
    TWindowRecord* w = NeedWindow(hwnd, callback);
    if (!w)
        return -1;
    // The callback may change the properties, so it walks a copy.
    const std::vector<TWindowProp> props = w->Props;
    int result = -1;
    for (auto it = props.rbegin(); it != props.rend(); ++it) {
        const char* name = it->Atom ? reinterpret_cast<const char*>(it->Atom) : it->Name.c_str();
        result = callback(hwnd, name, it->Data);
        if (!result)
            break;
    }
    return result;
}

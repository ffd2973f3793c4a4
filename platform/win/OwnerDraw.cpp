// The owner-draw messages as controls send them to their parents.
#include "platform/win/EntryChecks.h"

using namespace WinCore;

namespace {

// Owner-drawn items are drawn by the control's parent; a top-level control has none to ask.
LRESULT SendToParent(HWND control, UINT message, UINT id, void* record)
{
    TWindowRecord* w = NeedWindow(control);
    if (!w || !IsChildWindow(w))
        return 0;
    return Send(w->Parent, message, WPARAM(id), reinterpret_cast<LPARAM>(record));
}

UINT IdOf(HWND control)
{
    return static_cast<UINT>(GetWindowLongPtr(control, GWLP_ID));
}

} // namespace

LRESULT SendDrawItem(HWND control, DRAWITEMSTRUCT& item)
{
    item.CtlID = IdOf(control);
    item.hwndItem = control;
    return SendToParent(control, WM_DRAWITEM, item.CtlID, &item);
}

LRESULT SendMeasureItem(HWND control, MEASUREITEMSTRUCT& measure)
{
    measure.CtlID = IdOf(control);
    return SendToParent(control, WM_MEASUREITEM, measure.CtlID, &measure);
}

LRESULT SendCompareItem(HWND control, COMPAREITEMSTRUCT& compare)
{
    compare.CtlID = IdOf(control);
    compare.hwndItem = control;
    return SendToParent(control, WM_COMPAREITEM, compare.CtlID, &compare);
}

LRESULT SendDeleteItem(HWND control, DELETEITEMSTRUCT& item)
{
    item.CtlID = IdOf(control);
    item.hwndItem = control;
    return SendToParent(control, WM_DELETEITEM, item.CtlID, &item);
}

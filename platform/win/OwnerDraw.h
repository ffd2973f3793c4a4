// Owner-drawn controls and control colours: the messages a control sends its parent to have its items measured,
// drawn, compared and deleted, and to ask for its colours, with the records they carry.
#pragma once
#include "platform/win/WinTypes.h"

constexpr UINT WM_DRAWITEM = 0x002B;
constexpr UINT WM_MEASUREITEM = 0x002C;
constexpr UINT WM_DELETEITEM = 0x002D;
constexpr UINT WM_COMPAREITEM = 0x0039;
// wParam: the control's DC; lParam: the control. The answer is the brush to paint the background with.
constexpr UINT WM_CTLCOLORMSGBOX = 0x0132;
constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
constexpr UINT WM_CTLCOLORBTN = 0x0135;
constexpr UINT WM_CTLCOLORDLG = 0x0136;
constexpr UINT WM_CTLCOLORSCROLLBAR = 0x0137;

// CtlType.
constexpr UINT ODT_MENU = 1;
constexpr UINT ODT_LISTBOX = 2;
constexpr UINT ODT_COMBOBOX = 3;
constexpr UINT ODT_BUTTON = 4;
constexpr UINT ODT_STATIC = 5;
constexpr UINT ODT_HEADER = 100;
constexpr UINT ODT_TAB = 101;
constexpr UINT ODT_LISTVIEW = 102;

// DRAWITEMSTRUCT.itemAction: what to draw.
constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODA_SELECT = 0x0002;
constexpr UINT ODA_FOCUS = 0x0004;

// DRAWITEMSTRUCT.itemState.
constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_GRAYED = 0x0002;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_CHECKED = 0x0008;
constexpr UINT ODS_FOCUS = 0x0010;
constexpr UINT ODS_DEFAULT = 0x0020;
constexpr UINT ODS_HOTLIGHT = 0x0040;
constexpr UINT ODS_INACTIVE = 0x0080;
constexpr UINT ODS_NOACCEL = 0x0100;
constexpr UINT ODS_NOFOCUSRECT = 0x0200;
constexpr UINT ODS_COMBOBOXEDIT = 0x1000;

// WM_DRAWITEM lParam; wParam is CtlID.
struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    UINT_PTR itemData;
};

// WM_MEASUREITEM lParam; the parent fills itemWidth/itemHeight.
struct MEASUREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemWidth;
    UINT itemHeight;
    UINT_PTR itemData;
};

// WM_COMPAREITEM lParam; the answer is -1, 0 or 1 as item 1 sorts before, with or after item 2.
struct COMPAREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    HWND hwndItem;
    UINT itemID1;
    UINT_PTR itemData1;
    UINT itemID2;
    UINT_PTR itemData2;
    DWORD dwLocaleId;
};

// WM_DELETEITEM lParam.
struct DELETEITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    HWND hwndItem;
    UINT_PTR itemData;
};

// For the controls that draw through their parent: each fills in CtlID (the control's GWLP_ID) and, where the
// record has it, hwndItem, sends the message to the control's parent and returns the answer (0 for a control
// without a parent). The parent fills itemWidth and itemHeight of a MEASUREITEMSTRUCT.
LRESULT SendDrawItem(HWND control, DRAWITEMSTRUCT& item);
LRESULT SendMeasureItem(HWND control, MEASUREITEMSTRUCT& measure);
LRESULT SendCompareItem(HWND control, COMPAREITEMSTRUCT& compare);
LRESULT SendDeleteItem(HWND control, DELETEITEMSTRUCT& item);

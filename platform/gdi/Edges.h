// The system's frame controls: push buttons, check boxes and radio buttons, scroll arrows and size grips,
// caption buttons and menu marks, drawn with DrawFrameControl (DrawEdge is declared with the shapes).
#pragma once
#include "platform/gdi/GdiTypes.h"

constexpr UINT DFC_CAPTION = 1;
constexpr UINT DFC_MENU = 2;
constexpr UINT DFC_SCROLL = 3;
constexpr UINT DFC_BUTTON = 4;
constexpr UINT DFC_POPUPMENU = 5;

constexpr UINT DFCS_CAPTIONCLOSE = 0x0000;
constexpr UINT DFCS_CAPTIONMIN = 0x0001;
constexpr UINT DFCS_CAPTIONMAX = 0x0002;
constexpr UINT DFCS_CAPTIONRESTORE = 0x0003;
constexpr UINT DFCS_CAPTIONHELP = 0x0004;

constexpr UINT DFCS_MENUARROW = 0x0000;
constexpr UINT DFCS_MENUCHECK = 0x0001;
constexpr UINT DFCS_MENUBULLET = 0x0002;
constexpr UINT DFCS_MENUARROWRIGHT = 0x0004;

constexpr UINT DFCS_SCROLLUP = 0x0000;
constexpr UINT DFCS_SCROLLDOWN = 0x0001;
constexpr UINT DFCS_SCROLLLEFT = 0x0002;
constexpr UINT DFCS_SCROLLRIGHT = 0x0003;
constexpr UINT DFCS_SCROLLCOMBOBOX = 0x0005;
constexpr UINT DFCS_SCROLLSIZEGRIP = 0x0008;
constexpr UINT DFCS_SCROLLSIZEGRIPRIGHT = 0x0010;

constexpr UINT DFCS_BUTTONCHECK = 0x0000;
constexpr UINT DFCS_BUTTONRADIOIMAGE = 0x0001;
constexpr UINT DFCS_BUTTONRADIOMASK = 0x0002;
constexpr UINT DFCS_BUTTONRADIO = 0x0004;
constexpr UINT DFCS_BUTTON3STATE = 0x0008;
constexpr UINT DFCS_BUTTONPUSH = 0x0010;

constexpr UINT DFCS_INACTIVE = 0x0100;
constexpr UINT DFCS_PUSHED = 0x0200;
constexpr UINT DFCS_CHECKED = 0x0400;
constexpr UINT DFCS_TRANSPARENT = 0x0800;
constexpr UINT DFCS_HOT = 0x1000;
constexpr UINT DFCS_ADJUSTRECT = 0x2000;
constexpr UINT DFCS_FLAT = 0x4000;
constexpr UINT DFCS_MONO = 0x8000;

// Draws the control of `type` in the state `state` (a DFCS_ kind in the low byte, DFCS_ state flags above) into
// `rect`, in the system colours, with the glyphs of the "Marlett" symbol font:
//  - buttons: push buttons raised, or sunken when pushed, checked or flat; check boxes and radio buttons as a
//    square of the rectangle's smaller side at its centre, sunken, white (face colour when inactive or pushed),
//    with the check mark or dot when checked (a greyed mark for checked three-state boxes); RADIOMASK draws the
//    black-on-white mask of the round button;
//  - scroll arrows and combo box buttons: a raised button with the arrow (sunken and the arrow moved one pixel
//    when pushed, an etched grey arrow when inactive), size grips as diagonal lines;
//  - caption buttons: the same buttons with close, minimize, maximize, restore or help;
//  - menu marks (DFC_MENU): a black arrow, check mark or bullet on white, to be used as a mask;
//    DFC_POPUPMENU draws the same mark in the DC's text colour without a background.
// With DFCS_ADJUSTRECT a push button returns the inside of its border in `rect`. FALSE for an unknown type.
BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state);

// The shared vocabulary of the controls: shift states, mouse buttons, alignment and text placement, anchors,
// cursors, modal results, shortcuts, and the event types of controls, forms and the application.
#pragma once
#include "framework/controls/Messages.h"
#include "framework/core/Exception.h"
#include "framework/core/TObject.h"
#include "framework/core/TSet.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Types.h"
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <functional>
#include <string>

enum TShiftStateItem : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem, ssDouble>;

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

// Horizontal placement of text in its rectangle, and vertical placement (labels).
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
using TLeftRight = TAlignment;
enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };

// The border of a form; panels and other controls use the first two (TBorderStyle).
enum TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

enum TAnchorKind : uint8_t { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind, akBottom>;

// Cursor identities: 0 and negative numbers are the standard cursors, positive ones are registered with
// Screen->SetCursors.
using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = -22;

// What ShowModal returns; a non-zero ModalResult ends a modal loop.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

// A key with its modifiers: the virtual key in the low byte, scShift, scCtrl and scAlt above it.
using TShortCut = uint16_t;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// What a form does when it is closed.
enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };

class TControl;

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TMouseWheelEvent
    = std::function<void(TObject* sender, TShiftState shift, int wheelDelta, TPoint mousePos, bool& handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* sender, TShiftState shift, TPoint mousePos, bool& handled)>;
using TKeyEvent = std::function<void(TObject* sender, uint16_t& key, TShiftState shift)>;
// The character typed, a Unicode code point; setting it to 0 drops it.
using TKeyPressEvent = std::function<void(TObject* sender, char32_t& key)>;
using TContextPopupEvent = std::function<void(TObject* sender, TPoint mousePos, bool& handled)>;
using TCanResizeEvent = std::function<void(TObject* sender, int& newWidth, int& newHeight, bool& resize)>;
using TConstrainedResizeEvent
    = std::function<void(TObject* sender, int& minWidth, int& minHeight, int& maxWidth, int& maxHeight)>;
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;
using TShortCutEvent = std::function<void(TWMKey& message, bool& handled)>;
// Application->OnMessage: sees every message the loop retrieves; handled = true stops it there.
using TMessageEvent = std::function<void(MSG& message, bool& handled)>;
using TIdleEvent = std::function<void(TObject* sender, bool& done)>;
using TExceptionEvent = std::function<void(TObject* sender, const Exception& e)>;

// What the hint service is about to show; OnShowHint and CM_HINTSHOW may change it.
struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint HintPos; // screen coordinates of the hint window's top-left
    int HintMaxWidth = 0;
    TColor HintColor = 0;
    TRect CursorRect; // client coordinates of HintControl: the hint stays while the cursor is inside
    TPoint CursorPos; // client coordinates of HintControl
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    std::string HintStr;
};
using TShowHintEvent = std::function<void(std::string& hintStr, bool& canShow, THintInfo& hintInfo)>;

// Forward declarations of the controls classes, for headers that only pass them around.
#pragma once

class TControl;
class TWinControl;
class TGraphicControl;
class TCustomControl;
class TControlCanvas;
class TSizeConstraints;
class TCustomForm;
class TForm;
class TApplication;
class TScreen;
class TMonitor;
class TMouse;
class TTimer;
class TBasicAction;
class TCustomAction;
class TAction;
class TCustomActionList;
class TActionList;
class TMenu;
class TMainMenu;
class TPopupMenu;
class TMenuItem;
class TCustomImageList;
class TImageList;
class THintWindow;

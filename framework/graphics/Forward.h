// Forward declarations of the graphics classes, for headers that only pass them around.
#pragma once

class TGraphicsObject;
class TFont;
class TPen;
class TBrush;
class TCanvas;
class TGraphic;
class TBitmap;
class TIcon;
class TPicture;
class TJPEGImage;
struct TGraphicClass;

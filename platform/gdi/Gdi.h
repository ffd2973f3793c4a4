// The whole GDI stand-in in one include: device contexts, drawing objects, bitmaps, palettes, raster operations,
// shapes, shape regions, fonts and text, and the window DCs.
#pragma once
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/FontFamilies.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/Palettes.h"
#include "platform/gdi/PensBrushes.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/ShapeRegions.h"
#include "platform/gdi/Shapes.h"
#include "platform/gdi/TabbedText.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/WindowDCs.h"

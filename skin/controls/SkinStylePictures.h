// The pictures of the style buttons, drawn at run time and found by name: gradient kinds, brush patterns, pen
// styles, pen widths and shadow kinds.
#pragma once
#include <string_view>

class TBitmap;

// Draws the style picture called `name` into `bitmap`, which takes the picture's size:
//   "SP_GRAD_HORZ_IN", "SP_GRAD_HORZ_OUT", "SP_GRAD_HORZ_INOUT", "SP_GRAD_VERT_IN", "SP_GRAD_VERT_OUT",
//   "SP_GRAD_VERT_INOUT" (40 x 16 grey ramps in a grey frame);
//   "SP_BRUSH_CLEAR", "SP_BRUSH_SOLID", "SP_BRUSH_CROSS", "SP_BRUSH_DCROSS", "SP_BRUSH_FD", "SP_BRUSH_BD",
//   "SP_BRUSH_H", "SP_BRUSH_V" (44 x 16 black patterns on white in a silver border);
//   "SP_PEN_SOLID", "SP_PEN_DASH", "SP_PEN_DASHDOT", "SP_PEN_DOT", "SP_PEN_DASHDOTDOT" (44 x 15, a black line
//   three pixels thick in each style, on white in a silver border);
//   "SP_PEN1", "SP_PEN2", "SP_PEN3", "SP_PEN4", "SP_PEN6" (40 x 16, a black line of that many pixels, on white
//   in a silver border);
//   "SP_SHADOW1" to "SP_SHADOW21" (20 x 20 on white: a teal square in a black frame with a dithered grey
//   shadow in twenty placements and perspectives; the 21st adds a check mark).
// Returns false, leaving the bitmap as it was, for any other name.
bool LoadStylePicture(TBitmap* bitmap, std::string_view name);

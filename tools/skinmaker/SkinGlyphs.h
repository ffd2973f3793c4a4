// The skin maker's icons, drawn as strokes and shapes on a 24-unit grid and scaled to any size.
#pragma once
#include "tools/skinmaker/TSkinPainter.h"

enum class TGlyph {
    AddFiles,
    AddFolder,
    ClearList,
    Remove,
    ArrowUp,
    ArrowDown,
    Menu,
    Device,
    Browse,
    Sliders,
    Pencil,
    Play,
    Pause,
    Stop,
    MarkStart,
    MarkEnd,
    Jump,
    Camera,
    Gear,
    Close,
    Minimize,
    Maximize,
    Restore,
    RollUp,
    AppIcon,
    ChevronUp,
    ChevronDown,
    ChevronLeft,
    ChevronRight,
    Check,
    Ellipsis,
    Film,
    Crop,
    Info,
};

namespace SkinGlyphs {

// Draws `glyph` centred on (cx, cy) in a square of `size` pixels. `background` is the colour under the glyph,
// used where a glyph cuts a shape out of another (the knobs of the sliders, the logo's mark).
void Draw(TSkinPainter& painter, TGlyph glyph, float cx, float cy, float size, const TPaint& colour,
    const TPaint& background);

} // namespace SkinGlyphs

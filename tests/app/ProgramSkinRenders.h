// The program's skins drawn the way skinned windows draw them, without a display: a dialog frame at a size of
// its own from the frame skin's pictures, and the main face with a button hot. The render tests check them
// against the skins' pictures; the display tests show the same renders on a real window.
#pragma once
#include "framework/graphics/TBitmap.h"

#include <cstdint>
#include <string>

class TspSkinData;
class TspDataSkinButton;
class TspDataSkinCaption;
class TspDataSkinStdButton;

namespace ProgramSkinRenders {

// The colour (0x00RRGGBB) of a pixel of a 24- or 32-bit bitmap.
uint32_t PixelAt(TBitmap& bitmap, int x, int y);
// Writes `bitmap` as an opaque PNG file `name` into `folder`, which is made when missing.
void KeepScreenshot(TBitmap& bitmap, const std::string& folder, const std::string& name);

// What the dialog frame render used and where it put the caption buttons.
struct TDialogFrame {
    const TspDataSkinStdButton* Close = nullptr;
    const TspDataSkinStdButton* SysMenu = nullptr;
    const TspDataSkinCaption* Caption = nullptr;
    TBitmap* Buttons = nullptr; // the picture of the caption buttons
    int CloseLeft = 0;
};

// A dialog frame of width x height (32-bit): the nine-part frame, the close button at the right end of the
// button row, the system menu mark at the start of the caption and the caption text after it. False when the
// skin lacks one of those records.
bool RenderDialogFrame(TspSkinData& skin, int width, int height, TBitmap& frame, TDialogFrame& parts);

// The main face (24-bit) with the face button `name` in its hot state; the button's record, or null when the
// skin has none of that name.
const TspDataSkinButton* RenderMainFaceHot(TspSkinData& skin, const char* name, TBitmap& window);

} // namespace ProgramSkinRenders

// The small pictures of the file dialogs and the file-system controls, drawn at run time and found by name.
#pragma once
#include <string_view>

class TBitmap;

// Draws the 16 x 16 glyph called `name` into `bitmap` (which takes that size). Each glyph's bottom-left pixel is
// its background colour, which the controls draw as transparent:
//   "SP_BACK", "SP_UP", "SP_NEWFOLDER", "SP_LVSTYLE"       the dialog's tool buttons
//   "SP_STRETCH", "SP_PLAY", "SP_STOP"                     the picture and sound dialogs' buttons
//   "SP_FLOPPY", "SP_HARD", "SP_NETWORK", "SP_CDROM", "SP_RAM"   the kinds of drive (mount)
//   "SP_CLOSEDFOLDER", "SP_OPENFOLDER", "SP_CURRENTFOLDER" the folders of a directory list
//   "SP_PRIORMONTH", "SP_NEXTMONTH", "SP_PRIORYEAR", "SP_NEXTYEAR"   the month calendar's step buttons
// Returns false, leaving the bitmap as it was, for any other name.
bool LoadDialogGlyph(TBitmap* bitmap, std::string_view name);

// The two skins of the program: the main window's face and the frame that every other window wears.
#pragma once
#include "tools/skinmaker/TSkinDescription.h"

#include <string>

namespace SkinMaker {

// The description and pictures of "MainSkin.ini": the 785 x 521 face of the main window in picture mode, with
// its mask, the states of its buttons, and the controls, popup menus and colours the main window uses.
void BuildMainSkin(TSkinDescription& skin);
// The description and pictures of "Skin.ini": a sizeable frame with caption buttons for every dialog, and
// every control record the dialogs look up.
void BuildFormSkin(TSkinDescription& skin);
// Draws the program's icon and writes it as an ICO file.
void WriteAppIcon(const std::string& path);
// Draws the pictures of the program's small windows (the splash and its edition pictures, the stop prompt's and
// the shutdown countdown's) and writes them into `folder` as 24-bit BMP files.
void WriteAppPictures(const std::string& folder);
// Draws the output settings window's format tiles ("OutputSettingsAVI.bmp" ... "OutputSettingsFLV.bmp", 71 x 81)
// and header bands ("OutputSettingsHeader1.bmp", "OutputSettingsHeader2.bmp", 700 x 40) into `folder`, which
// ends with '/'.
void WriteOutputSettingsPictures(const std::string& folder);
// Draws the main window's format icons ("Format3GP.png" ... "FormatRMVB.png", 16 x 16 PNG, named as the tiles) into
// `folder`, which ends with '/'.
void WriteFormatIcons(const std::string& folder);
// Draws the main window's own pictures into `folder` as 24-bit BMP files: the job rows' icon
// ("MainRowIcon.bmp", 16 x 16), the picture the empty job list shows ("MainListBackground.bmp", 450 x 340) and
// the trim markers ("TrimStart.bmp", "TrimEnd.bmp", 9 x 9).
void WriteMainWindowPictures(const std::string& folder);
// Builds both skins, the program's icon ("TarnwickPro.ico") and the windows' pictures and writes them into
// `folder` (created when missing).
void WriteSkins(const std::string& folder);

} // namespace SkinMaker

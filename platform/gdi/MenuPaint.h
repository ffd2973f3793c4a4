// The look of popup menus: installs the GDI painter of the menu loop (the menu font, frame, highlight, marks).
#pragma once

// InstallGdiDCProvider installs it too.
void InstallGdiMenuPainter();

// The DCs of windows: installing the provider through which GetDC, GetWindowDC and BeginPaint hand out DCs that
// draw straight into the windows' back buffers, and the default caption text.
#pragma once

// Client DCs start at the client area's top-left and are clipped to the client area within the window region
// (and to the update region while painting); window DCs start at the window's top-left and keep the frame. Call
// once per process, before or after the window layer starts.
void InstallGdiDCProvider();

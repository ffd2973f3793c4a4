// Screenshots of the display tests written as PNG files (8-bit RGB), so they open in any viewer.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes `pixels` (0x00RRGGBB, rows top-down) as a PNG file; false when the file cannot be written.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);

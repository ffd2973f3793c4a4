// The private X server of the skin display tests, reached without the X session's own header: its names
// (a mouse button enum among them) clash with the framework's, which the skin tests include.
#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace SkinDisplaySession {

// ":N" of the shared Xvfb (started on first use, stopped at exit).
std::string DisplayName();
// Moves the pointer there (and waits until the server has it).
void MovePointer(int x, int y);
// Moves the pointer there and clicks the left button.
void Click(int x, int y);
// Presses and releases keys as xdotool names them ("space", "Right").
void Key(const std::string& keys);
// The screen's pixels of a rectangle, 0x00RRGGBB, rows top-down.
std::vector<uint32_t> Grab(int left, int top, int width, int height);
// Runs `step` until `done` holds or about fifteen seconds have passed; true when done.
bool WaitUntil(const std::function<bool()>& done, const std::function<void(std::chrono::milliseconds)>& step);

} // namespace SkinDisplaySession

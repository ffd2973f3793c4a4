// The picture every test clip shows, and how tests read it back from decoded frames.
#pragma once
#include <cstdint>

// Rows 0..7 are pure red, the bottom 8 rows hold the frame number as 8 black or white 8 x 8 cells (bit 0 at
// the left), and the rest is mid grey. Frames must be at least 64 x 24.
constexpr int kTestPictureRedRows = 8;
constexpr int kTestPictureCell = 8;

// BT.601 limited-range values of the colours drawn.
constexpr uint8_t kTestRedY = 81;
constexpr uint8_t kTestRedU = 90;
constexpr uint8_t kTestRedV = 240;
constexpr uint8_t kTestGreyY = 128;
// The cells' two levels lie less than 128 apart: some codecs cannot change a block by more in one P-frame.
constexpr uint8_t kTestCellOn = 186;
constexpr uint8_t kTestCellOff = 70;

// Draws frame `number` into I420 planes. With `moving`, the grey area becomes a ramp that moves with the
// frame number, with fine noise on it, so coded frames carry real work for a decoder (benchmarks).
void DrawTestPicture(uint8_t* y, int yStride, uint8_t* u, int uStride, uint8_t* v, int vStride, int width, int height,
    int number, bool moving = false);

// The frame number read from the luma plane of a decoded test picture (0..255), or -1 when a cell is unclear.
int ReadTestPictureNumber(const uint8_t* y, int yStride, int width, int height);

// True when the B,G,R,A pixel is clearly red.
bool IsTestRed(const uint8_t* bgra);

#include "codecs/testclips/TestPicture.h"

#include <cstring>

void DrawTestPicture(uint8_t* y, int yStride, uint8_t* u, int uStride, uint8_t* v, int vStride, int width, int height,
    int number, bool moving)
{
    uint32_t noise = 0x9E3779B9u * uint32_t(number + 1);
    for (int row = 0; row < height; ++row) {
        uint8_t* line = y + row * yStride;
        if (row < kTestPictureRedRows) {
            std::memset(line, kTestRedY, width);
        } else if (row >= height - kTestPictureCell) {
            std::memset(line, kTestGreyY, width);
            for (int bit = 0; bit < 8 && (bit + 1) * kTestPictureCell <= width; ++bit)
                std::memset(
                    line + bit * kTestPictureCell, (number >> bit) & 1 ? kTestCellOn : kTestCellOff, kTestPictureCell);
        } else if (moving) {
            for (int column = 0; column < width; ++column) {
                noise = noise * 1664525u + 1013904223u;
                line[column] = uint8_t(64 + ((column + 2 * row + 4 * number) & 127) + (noise >> 29));
            }
        } else {
            std::memset(line, kTestGreyY, width);
        }
    }
    const int chromaWidth = (width + 1) / 2;
    const int chromaHeight = (height + 1) / 2;
    for (int row = 0; row < chromaHeight; ++row) {
        const bool red = row < kTestPictureRedRows / 2;
        std::memset(u + row * uStride, red ? kTestRedU : 128, chromaWidth);
        std::memset(v + row * vStride, red ? kTestRedV : 128, chromaWidth);
        if (moving && !red && row < chromaHeight - kTestPictureCell / 2) {
            for (int column = 0; column < chromaWidth; ++column)
                u[row * uStride + column] = uint8_t(96 + ((column - row + number) & 63));
        }
    }
}

int ReadTestPictureNumber(const uint8_t* y, int yStride, int width, int height)
{
    if (width < 8 * kTestPictureCell || height < 3 * kTestPictureCell)
        return -1;
    int number = 0;
    for (int bit = 0; bit < 8; ++bit) {
        // The middle of each cell: its edges blur under lossy coding.
        int sum = 0;
        for (int row = height - 6; row < height - 2; ++row)
            for (int column = bit * kTestPictureCell + 2; column < bit * kTestPictureCell + 6; ++column)
                sum += y[row * yStride + column];
        const int mean = sum / 16;
        if (mean > kTestCellOn - 30)
            number |= 1 << bit;
        else if (mean > kTestCellOff + 30)
            return -1;
    }
    return number;
}

bool IsTestRed(const uint8_t* bgra)
{
    return bgra[2] > 180 && bgra[1] < 80 && bgra[0] < 80 && bgra[3] == 255;
}

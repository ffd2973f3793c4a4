#include "framed/FrCursors.h"

#include "platform/win/Cursors.h"

#include <array>
#include <cstdint>

namespace {

// 32 x 32 pictures: '#' black, '.' white, anything else transparent. Rows beyond the picture are transparent.
using TPicture = std::array<const char*, 22>;

constexpr TPicture Hand = {
    "      ##",
    "     #..#",
    "     #..#",
    "     #..#",
    "     #..###",
    "     #..#..###",
    "     #..#..#..##",
    "  ## #..#..#..#.#",
    " #..##........#.#",
    " #...#..........#",
    "  #..#..........#",
    "  #.............#",
    "   #............#",
    "   #...........#",
    "    #..........#",
    "    #.........#",
    "     #........#",
    "     #........#",
    "     ##########",
    "",
    "",
    "",
};

constexpr TPicture SplitHorizontal = {
    "",
    "",
    "       #.#",
    "       #.#",
    "       #.#",
    "    #  #.#  #",
    "   ##  #.#  ##",
    "  #.####.####.#",
    " #.............#",
    "  #.####.####.#",
    "   ##  #.#  ##",
    "    #  #.#  #",
    "       #.#",
    "       #.#",
    "       #.#",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
};

constexpr TPicture SplitVertical = {
    "",
    "        #",
    "       #.#",
    "      #...#",
    "     ###.###",
    "       #.#",
    "  ############",
    "  #..........#",
    "  ############",
    "       #.#",
    "     ###.###",
    "      #...#",
    "       #.#",
    "        #",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
};

constexpr TPicture ArrowHorizontalSign = {
    "#",
    "##",
    "#.#",
    "#..#",
    "#...#",
    "#....#",
    "#.....#",
    "#......#",
    "#.......#",
    "#....#####",
    "#.##.#",
    "##  #.#",
    "     #.#",
    "      #.#      #  #",
    "      ##      ##  ##",
    "             #.####.#",
    "              ##  ##",
    "               #  #",
    "",
    "",
    "",
    "",
};

constexpr TPicture ArrowVerticalSign = {
    "#",
    "##",
    "#.#",
    "#..#",
    "#...#",
    "#....#",
    "#.....#",
    "#......#",
    "#.......#",
    "#....#####",
    "#.##.#",
    "##  #.#       #",
    "     #.#     #.#",
    "      #.#    #.#",
    "      ##     #.#",
    "             #.#",
    "              #",
    "",
    "",
    "",
    "",
    "",
};

HCURSOR Make(const TPicture& picture, int hotX, int hotY)
{
    std::array<uint8_t, 128> andPlane;
    std::array<uint8_t, 128> xorPlane {};
    andPlane.fill(0xFF);
    for (size_t y = 0; y < picture.size(); ++y) {
        for (size_t x = 0; x < 32 && picture[y][x] != 0; ++x) {
            const char c = picture[y][x];
            if (c != '#' && c != '.')
                continue;
            const size_t byte = y * 4 + x / 8;
            const uint8_t bit = uint8_t(0x80 >> (x % 8));
            andPlane[byte] &= uint8_t(~bit);
            if (c == '.')
                xorPlane[byte] |= bit;
        }
    }
    return CreateCursor(nullptr, hotX, hotY, 32, 32, andPlane.data(), xorPlane.data());
}

} // namespace

HCURSOR LoadFrCursor(std::string_view name)
{
    if (name == "RZCOMMON_HANDCURSOR")
        return Make(Hand, 6, 0);
    if (name == "RZSPLIT_HORZ")
        return Make(SplitHorizontal, 8, 8);
    if (name == "RZSPLIT_VERT")
        return Make(SplitVertical, 8, 8);
    if (name == "RZSPLIT_HORZHOTSPOT")
        return Make(ArrowHorizontalSign, 0, 0);
    if (name == "RZSPLIT_VERTHOTSPOT")
        return Make(ArrowVerticalSign, 0, 0);
    return nullptr;
}

#include "hand_cursor.h"

#include <QBitmap>

#include <array>
#include <string_view>

namespace tolvu {
namespace {

constexpr int kSize = 32;
constexpr int kHotX = 4;
constexpr int kHotY = 1;

// '#' black, '.' white, anything else transparent. Rows past the picture
// are transparent.
constexpr std::array<std::string_view, 20> kHand = {
    "    ##",           "   #..#",          "   #..#",          "   #..#",          "   #..#",
    "   #..###",        "   #..#..###",     "   #..#..#..##",   "   #..#..#..#.#",  "## #..#..#..#..#",
    "#..#...........#", "#...#..........#", " #..#..........#", "  #............#", "  #...........#",
    "   #..........#",  "   #.........#",   "    #........#",   "    #........#",   "    ##########",
};

// One bit a pixel, least significant bit first, 32 pixels a row.
using Bits = std::array<uchar, kSize * kSize / 8>;

Bits bitsWhere(char wanted1, char wanted2)
{
    Bits bits{};
    for (std::size_t y = 0; y < kHand.size(); ++y) {
        for (std::size_t x = 0; x < kHand[y].size(); ++x) {
            const char c = kHand[y][x];
            if (c == wanted1 || c == wanted2) bits[(y * kSize + x) / 8] |= static_cast<uchar>(1u << (x % 8));
        }
    }
    return bits;
}

} // namespace

QCursor handCursor()
{
    const Bits black = bitsWhere('#', '#');
    const Bits opaque = bitsWhere('#', '.');
    const QSize size(kSize, kSize);
    return QCursor(QBitmap::fromData(size, black.data(), QImage::Format_MonoLSB),
                   QBitmap::fromData(size, opaque.data(), QImage::Format_MonoLSB), kHotX, kHotY);
}

} // namespace tolvu

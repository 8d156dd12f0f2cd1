#pragma once

// The picture of one run: a hit count for every pixel of a grid of the run's size, the largest of
// them, and, once coloured for the window, a colour for every pixel. Pixels are [column][row],
// column 0 at the left and row 0 at the bottom; they are kept row after row, bottom row first,
// the order in which the window draws them (display/draw.h).

#include <cstddef>
#include <vector>

class screen {
public:
    std::vector<int>   iScreenHits;   // hits, exact, at most the iteration count; row by row
    std::vector<float> fScreenArray;  // red, green, blue, alpha in [0, 1]; empty until coloured
    int                iMaxHit = 0;   // the largest count of any pixel

    screen(int iSizeWidth, int iSizeHight);     // every count 0, no colours; at least 1 x 1
    int width() const { return iSizeWidth; }   // columns
    int height() const { return iSizeHight; }   // rows

    int&  hits(int iColumn, int iRow) { return iScreenHits[at(iColumn, iRow)]; }
    int   hits(int iColumn, int iRow) const { return iScreenHits[at(iColumn, iRow)]; }
    float* colour(int iColumn, int iRow);       // its four components; the colours made black first
    const float* colour(int iColumn, int iRow) const {
        return &fScreenArray[4 * at(iColumn, iRow)];
    }

    void setPixelBW(int x, int y, int colour);  // 1: opaque white, 0: all 0, else kept; count 0
    void clearColours();                        // every colour to 0, if there are any; counts kept
    void clearHits();                           // every count and the most hits to 0

private:
    size_t at(int iColumn, int iRow) const {
        return static_cast<size_t>(iRow) * static_cast<size_t>(iSizeWidth) +
               static_cast<size_t>(iColumn);
    }

    int iSizeWidth;
    int iSizeHight;
};

// A colour channel as the window and a saved picture show it: clamped to [0, 1], then the
// nearest of 256 steps. 255 · c is exact in double, so adding 0.5 and truncating rounds it.
inline unsigned char eightBits(float fChannel) {
    if (!(fChannel > 0)) return 0;  // NaN too
    if (fChannel >= 1) return 255;
    return static_cast<unsigned char>(255.0 * fChannel + 0.5);
}

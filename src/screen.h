#pragma once

// The image buffer: a colour and a hit count for every pixel of a fixed grid, indexed
// [column][row] with column 0 at the left and row 0 at the bottom of the window.

constexpr int iBufferSide = 1000;  // capacity in columns and rows; the image in use is smaller

class screen {
public:
    float fScreenArray[iBufferSide][iBufferSide][4];  // red, green, blue, alpha, each in [0, 1]
    int   iScreenHits[iBufferSide][iBufferSide];      // hits, exact; at most the iteration count

    screen();                                   // every colour and count of the capacity to 0
    void setPixelBW(int x, int y, int colour);  // 1: opaque white, 0: all 0, else kept; count 0
    void drawScreen();                          // the pixels in use, as one GL pixel rectangle
    void clearColours();                        // every colour of the capacity to 0; counts kept
    void clearHits();                           // every count of the capacity to 0; colours kept
};

// A colour channel as the window and a saved picture show it: clamped to [0, 1], then the
// nearest of 256 steps. 255 · c is exact in double, so adding 0.5 and truncating rounds it.
inline unsigned char eightBits(float fChannel) {
    if (!(fChannel > 0)) return 0;  // NaN too
    if (fChannel >= 1) return 255;
    return static_cast<unsigned char>(255.0 * fChannel + 0.5);
}

extern screen myScreen;    // the one buffer, far too large for a stack frame
extern int iScreenWidth;   // 800: image, window and viewport width, at most iBufferSide
extern int iScreenHight;   // 800: image, window and viewport height, at most iBufferSide

#include "screen.h"

#include <GL/gl.h>

#include <algorithm>
#include <iterator>

screen myScreen;
int iScreenWidth = 800;
int iScreenHight = 800;

screen::screen() {
    clearColours();
    clearHits();
}

void screen::clearHits() {
    std::fill(&iScreenHits[0][0], &iScreenHits[0][0] + std::size(iScreenHits) * iBufferSide, 0);
}

void screen::clearColours() {
    std::fill(&fScreenArray[0][0][0],
              &fScreenArray[0][0][0] + std::size(fScreenArray) * iBufferSide * 4, 0.0f);
}

void screen::setPixelBW(int x, int y, int colour) {
    if (colour == 1 || colour == 0) {
        float fValue = colour == 1 ? 1.0f : 0.0f;
        std::fill(std::begin(fScreenArray[x][y]), std::end(fScreenArray[x][y]), fValue);
    }
    iScreenHits[x][y] = 0;
}

namespace {

// The picture in the row order that glDrawPixels reads: the buffer's [column][row] turned to
// [row][column], bottom row first, 8 bits a channel. Static, like the buffer, and the same size.
unsigned char ucRowImage[iBufferSide * iBufferSide * 4];

}  // namespace

// One pixel rectangle from the raster position of the lower-left pixel: the same pixels as a GL
// point per pixel, in a few milliseconds instead of 640,000 calls. In bytes rather than floats:
// the driver then keeps a quarter of the memory for it, and the window shows exactly the bytes
// of a saved picture. The limits are read from the globals at every redraw, so a change of the
// image size shows at the next one.
void screen::drawScreen() {
    const int iWidth = std::min(iScreenWidth, iBufferSide);
    const int iHeight = std::min(iScreenHight, iBufferSide);
    if (iWidth <= 0 || iHeight <= 0) return;
    unsigned char* pPixel = ucRowImage;
    for (int j = 0; j < iHeight; j++) {
        for (int i = 0; i < iWidth; i++, pPixel += 4) {
            const float* fColour = fScreenArray[i][j];
            for (int k = 0; k < 4; k++) pPixel[k] = eightBits(fColour[k]);
        }
    }
    glRasterPos2i(0, 0);
    glDrawPixels(iWidth, iHeight, GL_RGBA, GL_UNSIGNED_BYTE, ucRowImage);
}

#include "core/screen.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

size_t pixelsOf(int iSizeWidth, int iSizeHight) {
    if (iSizeWidth < 1 || iSizeHight < 1)
        throw std::invalid_argument("a picture of " + std::to_string(iSizeWidth) + " x " +
                                    std::to_string(iSizeHight) + " pixels has no pixel");
    return static_cast<size_t>(iSizeWidth) * static_cast<size_t>(iSizeHight);
}

}  // namespace

screen::screen(int iSizeWidth, int iSizeHight)
    : iScreenHits(pixelsOf(iSizeWidth, iSizeHight), 0),
      iSizeWidth(iSizeWidth),
      iSizeHight(iSizeHight) {}

// A picture that is only saved never needs them: its colours are made row by row as it is
// written. The window's are made at its first colouring.
float* screen::colour(int iColumn, int iRow) {
    if (fScreenArray.empty()) fScreenArray.assign(4 * iScreenHits.size(), 0.0f);
    return &fScreenArray[4 * at(iColumn, iRow)];
}

void screen::clearHits() {
    std::fill(iScreenHits.begin(), iScreenHits.end(), 0);
    iMaxHit = 0;
}

void screen::clearColours() { std::fill(fScreenArray.begin(), fScreenArray.end(), 0.0f); }

void screen::setPixelBW(int x, int y, int colour) {
    if (colour == 1 || colour == 0) {
        float* fColour = this->colour(x, y);
        std::fill(fColour, fColour + 4, colour == 1 ? 1.0f : 0.0f);
    }
    hits(x, y) = 0;
}

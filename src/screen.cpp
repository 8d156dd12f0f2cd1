#include "screen.h"

#include <GL/gl.h>

#include <algorithm>
#include <iterator>

screen myScreen;
int iScreenWidth = 800;
int iScreenHight = 800;

screen::screen() {
    std::fill(&fScreenArray[0][0][0],
              &fScreenArray[0][0][0] + std::size(fScreenArray) * iBufferSide * 4, 0.0f);
    std::fill(&iScreenHits[0][0], &iScreenHits[0][0] + std::size(iScreenHits) * iBufferSide, 0);
}

void screen::setPixelBW(int x, int y, int colour) {
    if (colour == 1 || colour == 0) {
        float fValue = colour == 1 ? 1.0f : 0.0f;
        std::fill(std::begin(fScreenArray[x][y]), std::end(fScreenArray[x][y]), fValue);
    }
    iScreenHits[x][y] = 0;
}

// Immediate mode, one begin/end pair per pixel. The limits are read from the globals on every
// pass of the loops, so a change of the image size shows at the next redraw.
void screen::drawScreen() {
    for (int i = 0; i < iScreenWidth; i++) {
        for (int j = 0; j < iScreenHight; j++) {
            const float* fColour = fScreenArray[i][j];
            glBegin(GL_POINTS);
            glColor4f(fColour[0], fColour[1], fColour[2], fColour[3]);
            glVertex2f(static_cast<float>(i), static_cast<float>(j));
            glEnd();
        }
    }
}

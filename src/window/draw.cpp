#include "window/draw.h"

#include "core/screen.h"

#include <GL/gl.h>

#include <algorithm>
#include <vector>

// One pixel rectangle from the raster position of the lower-left pixel: the same pixels as a GL
// point per pixel, in a few milliseconds instead of one call per pixel. In bytes rather than
// floats: the driver then keeps a quarter of the memory for it, and the window shows exactly the
// bytes of a saved picture. The bytes are kept between redraws: the window shows one picture.
void drawScreen(const screen& picture) {
    static std::vector<unsigned char> ucRowImage;
    ucRowImage.resize(4 * picture.iScreenHits.size());
    if (picture.fScreenArray.empty()) std::fill(ucRowImage.begin(), ucRowImage.end(), 0);
    else
        std::transform(picture.fScreenArray.begin(), picture.fScreenArray.end(),
                       ucRowImage.begin(), eightBits);
    glRasterPos2i(0, 0);
    glDrawPixels(picture.width(), picture.height(), GL_RGBA, GL_UNSIGNED_BYTE, ucRowImage.data());
}

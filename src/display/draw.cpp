#include "display/draw.h"

#include "core/screen.h"

#include <GL/gl.h>

#include <algorithm>
#include <vector>

// One pixel rectangle from the raster position of the lower-left pixel: the same pixels as a GL
// point per pixel, in a few milliseconds instead of one call per pixel. In bytes rather than
// floats: the driver then keeps a quarter of the memory for it, and the window shows exactly the
// bytes of a saved picture. The bytes are kept between redraws, not made anew for each.
void drawScreen(const screen& picture, std::vector<unsigned char>& vBytes) {
    vBytes.resize(4 * picture.iScreenHits.size());
    if (picture.fScreenArray.empty()) std::fill(vBytes.begin(), vBytes.end(), 0);
    else
        std::transform(picture.fScreenArray.begin(), picture.fScreenArray.end(), vBytes.begin(),
                       eightBits);
    glRasterPos2i(0, 0);
    glDrawPixels(picture.width(), picture.height(), GL_RGBA, GL_UNSIGNED_BYTE, vBytes.data());
}

// ceil(W / k) <= S exactly when k >= W / S. A screen GLUT could not measure shrinks nothing.
int shrinkFactor(int iWidth, int iHeight, int iScreenWidth, int iScreenHeight) {
    const auto least = [](int iSide, int iScreenSide) {
        return iScreenSide < 1 ? 1 : (iSide + iScreenSide - 1) / iScreenSide;
    };
    return std::max({1, least(iWidth, iScreenWidth), least(iHeight, iScreenHeight)});
}

CShrunkPicture::CShrunkPicture(int iPictureWidth, int iPictureHeight, int iFactor)
    : rows(iPictureWidth, iPictureHeight, iFactor) {}

// The most hits are taken once: every row of one colouring is on the same scale, even while a
// live run goes on hitting.
void CShrunkPicture::beginColouring(const screen& picture, int iColourType) {
    vBytes.resize(4 * static_cast<size_t>(width()) * static_cast<size_t>(height()));
    pass.emplace(iColourType, picture.iMaxHit);
    iNextRow = 0;
    begun = Clock::now();
}

bool CShrunkPicture::colourRows(const screen& picture, Clock::time_point end,
                                bool (*pfStop)()) {
    if (!pass) return false;
    while (iNextRow < height()) {
        colourRow(picture, iNextRow++);
        if (Clock::now() >= end || pfStop()) break;
    }
    if (iNextRow < height()) return false;
    pass.reset();
    iLastMs = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - begun).count());
    return true;
}

// Window row iRow stands for picture rows k·iRow on, as many of the k as the picture has; a
// pixel never hit adds black.
void CShrunkPicture::colourRow(const screen& picture, int iRow) {
    const int iFirst = iRow * factor();
    const int iRows = std::min(factor(), picture.height() - iFirst);
    for (int j = iFirst; j < iFirst + iRows; j++) {
        const size_t iRowStart = static_cast<size_t>(j) * static_cast<size_t>(picture.width());
        const int* pHits = picture.iScreenHits.data() + iRowStart;
        for (int i = 0; i < picture.width(); i++) {
            float fColour[4];
            if (pass->colourOf(pHits[i], fColour)) rows.add(i, fColour);
        }
    }
    unsigned char* pRow = &vBytes[4 * static_cast<size_t>(iRow) * static_cast<size_t>(width())];
    rows.writeRow(iRow, pRow,
                  [](double dAverage) { return eightBits(static_cast<float>(dAverage)); });
}

void CShrunkPicture::clear() {
    pass.reset();
    std::fill(vBytes.begin(), vBytes.end(), 0);
}

void CShrunkPicture::draw() const {
    if (vBytes.empty()) return;  // never coloured: black, as the window is cleared
    glRasterPos2i(0, 0);
    glDrawPixels(width(), height(), GL_RGBA, GL_UNSIGNED_BYTE, vBytes.data());
}

void CEnlargedPicture::resize(int iWidth_, int iHeight_, int iZoom_) {
    iWidth = iWidth_, iHeight = iHeight_, iZoom = iZoom_;
    vBytes.resize(4 * static_cast<size_t>(iWidth) * static_cast<size_t>(iHeight));
}

void CEnlargedPicture::takeRow(int iRow, const unsigned char* pRgb) {
    unsigned char* pBytes = &vBytes[4 * static_cast<size_t>(iHeight - 1 - iRow) * iWidth];
    for (int i = 0; i < iWidth; i++, pBytes += 4, pRgb += 3)
        pBytes[0] = pRgb[0], pBytes[1] = pRgb[1], pBytes[2] = pRgb[2], pBytes[3] = 255;
}

void CEnlargedPicture::draw() const {
    glPixelZoom(static_cast<float>(iZoom), static_cast<float>(iZoom));
    glRasterPos2i(0, 0);
    glDrawPixels(iWidth, iHeight, GL_RGBA, GL_UNSIGNED_BYTE, vBytes.data());
    glPixelZoom(1, 1);
}

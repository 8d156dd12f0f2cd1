#pragma once

// A genome's picture written as the tone curve leaves its pixels, in the format asked for: PNG
// of 8 or 16 bits a channel, or OpenEXR of half or full floats, RGB or RGBA. Each writer takes
// rows one at a time, top row first, and holds one row of its own: a picture costs its rows in
// flight, whatever its format or size.

#include "base/picture_format.h"
#include "pictures/png_codec.h"
#include "tone/tone_curve.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// Begin with the texts the file keeps, a row after another, finish. A call that fails returns
// false, and so does every later one; error() then says why.
class CPictureWriter {
public:
    virtual ~CPictureWriter() = default;
    virtual bool begin(int iWidth, int iHeight, const std::vector<SPngText>& vTexts) = 0;
    virtual bool row(const STonedPixel* pRow) = 0;  // iWidth pixels
    virtual bool finish() = 0;
    virtual std::string error() const = 0;
};

// The writer of format into pFile (open for writing, and seeking where it is OpenEXR).
std::unique_ptr<CPictureWriter> pictureWriter(const SPictureFormat& format, FILE* pFile);

// A pixel's levels as a PNG of the format holds them, iChannels of two bytes each where it has
// 16 bits, the high byte first.
void pngLevels(const SPictureFormat& format, const STonedPixel* pRow, int iWidth,
               unsigned char* pLevels);

// A pixel's channels as an OpenEXR picture holds them, linear light: the tone curve's values
// taken for sRGB, decoded (past white too: above 1 where the curve passes white), NaN as white;
// with alpha, the colours multiplied by it, as OpenEXR keeps them. pValues gets 3 or 4 a pixel.
void exrValues(bool bTransparent, const STonedPixel& pixel, float* pValues);

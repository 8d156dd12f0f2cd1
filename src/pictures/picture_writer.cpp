#include "pictures/picture_writer.h"

#include "pictures/exr_codec.h"

#include <cmath>
#include <limits>

void pngLevels(const SPictureFormat& format, const STonedPixel* pRow, int iWidth,
               unsigned char* pLevels) {
    const bool bWide = format.iDepth == 16;
    const int iChannels = format.bTransparent ? 4 : 3;
    for (int p = 0; p < iWidth; p++) {
        const STonedPixel& pixel = pRow[p];
        unsigned int uLevels[4];
        for (int c = 0; c < 3; c++)
            uLevels[c] = bWide ? sixteenBitLevel(pixel.dRgb[c]) : eightBitLevel(pixel.dRgb[c]);
        uLevels[3] = bWide ? sixteenBitAlpha(pixel.dAlpha) : eightBitAlpha(pixel.dAlpha);
        for (int c = 0; c < iChannels; c++) {
            if (bWide) *pLevels++ = static_cast<unsigned char>(uLevels[c] >> 8);
            *pLevels++ = static_cast<unsigned char>(uLevels[c] & 0xFF);
        }
    }
}

namespace {

// sRGB's decoding, its curve carried on past 1.
double linearOf(double dEncoded) {
    if (dEncoded <= 0.04045) return dEncoded / 12.92;
    return std::pow((dEncoded + 0.055) / 1.055, 2.4);
}

}  // namespace

void exrValues(bool bTransparent, const STonedPixel& pixel, float* pValues) {
    for (int c = 0; c < 3; c++) {
        const double dLevel = pixel.dRgb[c];
        const double dLinear = std::isnan(dLevel) ? 1 : dLevel > 0 ? linearOf(dLevel / 255) : 0;
        const double dMost = std::numeric_limits<float>::max();
        pValues[c] = static_cast<float>(std::min(dLinear, dMost) * (bTransparent ? pixel.dAlpha : 1));
    }
    if (bTransparent) pValues[3] = static_cast<float>(pixel.dAlpha);
}

namespace {

class CPngPictureWriter : public CPictureWriter {
public:
    CPngPictureWriter(const SPictureFormat& format_, FILE* pFile)
        : format(format_), png(pFile, iPngLevelGrainy) {}

    bool begin(int iWidth_, int iHeight, const std::vector<SPngText>& vTexts) override {
        iWidth = iWidth_;
        const int iChannels = format.bTransparent ? 4 : 3;
        vLevels.resize(static_cast<size_t>(iWidth) * iChannels * (format.iDepth / 8));
        return png.begin(iWidth, iHeight, iChannels, vTexts, format.iDepth);
    }
    bool row(const STonedPixel* pRow) override {
        pngLevels(format, pRow, iWidth, vLevels.data());
        return png.row(vLevels.data());
    }
    bool finish() override { return png.finish(); }
    std::string error() const override { return png.error(); }

private:
    SPictureFormat format;
    CPngWriter png;
    int iWidth = 0;
    std::vector<unsigned char> vLevels;  // a row's
};

}  // namespace

std::unique_ptr<CPictureWriter> pictureWriter(const SPictureFormat& format, FILE* pFile) {
    if (format.eKind == EPictureKind::eExr)
        return exrWriter(format.iDepth, format.bTransparent, pFile);
    return std::make_unique<CPngPictureWriter>(format, pFile);
}

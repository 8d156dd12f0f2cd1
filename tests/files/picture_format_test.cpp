// A genome's picture in 16 bits, with alpha and as OpenEXR: an OpenEXR picture read back by the
// library is the 8-bit picture once encoded as sRGB; the levels of the tone curve's values are
// the bytes every earlier version wrote; and a picture made again keeps its depth and alpha.

#include "app/genome_choice.h"
#include "files/genome_file.h"
#include "files/picture_file.h"
#include "render/render.h"
#include "scratch_folder.h"
#include "xml/genome_xml.h"

#include <OpenEXR/ImfArray.h>
#include <OpenEXR/ImfChannelList.h>
#include <OpenEXR/ImfFrameBuffer.h>
#include <OpenEXR/ImfHeader.h>
#include <OpenEXR/ImfInputFile.h>
#include <OpenEXR/ImfStringAttribute.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A small flame that passes white in places, drawn quickly.
std::unique_ptr<CGenomeRender> smallRender() {
    const std::string sXml =
        R"(<flame size="48 40" scale="16" quality="20" brightness="8" palette="5"
                  background="0.2 0.3 0.5">
             <xform weight="0.6" color="0" linear="0.6" swirl="0.4" coefs="0.6 0.3 -0.3 0.6 0.2 0.1"/>
             <xform weight="0.4" color="1" spherical="0.8" coefs="0.5 -0.2 0.2 0.5 -0.4 0.3"/>
           </flame>)";
    std::vector<SGenome> vGenomes;
    std::string sError;
    EXPECT_TRUE(readGenomes(sXml, vGenomes, sError)) << sError;
    auto pRender = std::make_unique<CGenomeRender>(vGenomes.at(0), 5, 2);
    while (pRender->continueRender(std::chrono::milliseconds(1000))) {}
    return pRender;
}

// The 8-bit levels of the tone curve's values, 4 a pixel (alpha 255 where opaque).
std::vector<int> eightBitPicture(CGenomeRender& render, bool bTransparent) {
    const int iWidth = render.renderedGenome().iWidth;
    std::vector<int> vLevels;
    render.writeTonedImage(bTransparent, [&](int, const STonedPixel* pRow) {
        for (int p = 0; p < iWidth; p++) {
            for (int c = 0; c < 3; c++) vLevels.push_back(eightBitLevel(pRow[p].dRgb[c]));
            vLevels.push_back(bTransparent ? eightBitAlpha(pRow[p].dAlpha) : 255);
        }
    });
    return vLevels;
}

double srgbEncoded(double dLinear) {
    return dLinear <= 0.0031308 ? 12.92 * dLinear : 1.055 * std::pow(dLinear, 1 / 2.4) - 0.055;
}

TEST(GenomePictureFormatTest, ToneCurveValuesAtEightBitsAreTheBytesWritten) {
    const auto pRender = smallRender();
    const std::vector<int> vToned = eightBitPicture(*pRender, false);
    std::vector<int> vBytes;
    pRender->writeImage([&](int, const unsigned char* pRgb) {
        for (int p = 0; p < pRender->renderedGenome().iWidth; p++)
            vBytes.insert(vBytes.end(), {pRgb[3 * p], pRgb[3 * p + 1], pRgb[3 * p + 2], 255});
    });
    EXPECT_EQ(vToned, vBytes);
}

TEST(GenomePictureFormatTest, OpenExrEncodedAsSrgbIsTheEightBitPicture) {
    const auto pRender = smallRender();
    const int iWidth = pRender->renderedGenome().iWidth, iHeight = pRender->renderedGenome().iHeight;
    const struct {
        int iDepth;
        bool bTransparent;
        Imf::PixelType eType;
    } formats[] = {{16, false, Imf::HALF}, {32, false, Imf::FLOAT}, {16, true, Imf::HALF}};
    CFolder folder;
    for (const auto& format : formats) {
        const std::string sPath = folder / "picture.exr";
        std::string sError;
        ASSERT_TRUE(saveGenomePicture(sPath, *pRender, 5, sError,
                                      {EPictureKind::eExr, format.iDepth, format.bTransparent}))
            << sError;
        Imf::InputFile file(sPath.c_str());
        const Imf::Header& header = file.header();
        EXPECT_EQ(header.typedAttribute<Imf::StringAttribute>("Seed").value(), "5");
        EXPECT_EQ(header.typedAttribute<Imf::StringAttribute>("flam3_genome").value(),
                  genomeXml(pRender->renderedGenome()));
        EXPECT_EQ(header.channels().findChannel("R")->type, format.eType);
        EXPECT_EQ(header.channels().findChannel("A") != nullptr, format.bTransparent);
        Imf::Array2D<float> values[4];
        Imf::FrameBuffer frame;
        for (int c = 0; c < 4; c++) {
            values[c].resizeErase(iHeight, iWidth);
            frame.insert(std::string(1, "RGBA"[c]),
                         Imf::Slice(Imf::FLOAT, reinterpret_cast<char*>(&values[c][0][0]),
                                    sizeof(float), sizeof(float) * iWidth, 1, 1, 1.0));
        }
        file.setFrameBuffer(frame);
        file.readPixels(0, iHeight - 1);
        const std::vector<int> vLevels = eightBitPicture(*pRender, format.bTransparent);
        int iPastWhite = 0;
        const double dSlack = format.iDepth == 16 ? 0.15 : 0.001;  // a half float's digits
        for (int y = 0; y < iHeight; y++)
            for (int x = 0; x < iWidth; x++) {
                const float fAlpha = values[3][y][x];
                const int* pLevels = &vLevels[4 * (static_cast<size_t>(y) * iWidth + x)];
                EXPECT_NEAR(255.0 * fAlpha, pLevels[3] + 0.5, 0.5 + dSlack) << x << ", " << y;
                // Colours multiplied by alpha, as OpenEXR keeps them: where it is below an 8-bit
                // step the pixel does not show, and a half float holds little of its colour.
                if (pLevels[3] == 0) continue;
                for (int c = 0; c < 3; c++) {
                    const double dLinear = format.bTransparent && fAlpha > 0
                                               ? values[c][y][x] / fAlpha : values[c][y][x];
                    iPastWhite += dLinear > 1;
                    const double dLevel = std::min(255 * srgbEncoded(dLinear), 255.0);
                    EXPECT_TRUE(dLevel > pLevels[c] - dSlack && dLevel < pLevels[c] + 1 + dSlack)
                        << x << ", " << y << ", channel " << c << ": " << dLevel << " for "
                        << pLevels[c] << ", depth " << format.iDepth;
                }
            }
        EXPECT_GT(iPastWhite, 0) << "values past white are kept above 1";
    }
}

// Read back as --load reads it: its depth and alpha, and the format written again from them.
TEST(GenomePictureFormatTest, PictureMadeAgainKeepsItsDepthAndAlpha) {
    const auto pRender = smallRender();
    CFolder folder;
    const struct {
        SPictureFormat saved;
        const char* sAgain;         // saved again to
        SPictureFormat again;
    } cases[] = {
        {{EPictureKind::ePng, 16, true}, "again.png", {EPictureKind::ePng, 16, true}},
        {{EPictureKind::ePng, 16, false}, "again.exr", {EPictureKind::eExr, 16, false}},
        {{EPictureKind::eExr, 32, false}, "again.png", {EPictureKind::ePng, 16, false}},
        {{EPictureKind::eExr, 16, true}, "again", {EPictureKind::ePng, 16, true}},
        {{EPictureKind::ePng, 8, false}, "again.exr", {EPictureKind::eExr, 16, false}},
    };
    for (const auto& example : cases) {
        const std::string sPath =
            folder / (example.saved.eKind == EPictureKind::eExr ? "saved.exr" : "saved.png");
        std::string sError;
        ASSERT_TRUE(saveGenomePicture(sPath, *pRender, 5, sError, example.saved)) << sError;
        SRecordedPicture recorded;
        ASSERT_TRUE(readRecordedPicture(sPath, recorded, sError)) << sError;
        ASSERT_TRUE(recorded.bGenome);
        EXPECT_EQ(recorded.genome.uSeed, 5u);
        SGenomeChoice choice;
        choice.iDepth = recorded.genome.iDepth;
        choice.bTransparent = recorded.genome.bTransparent;
        const SPictureFormat again = pictureFormatOf(SOptions(), example.sAgain, &choice);
        EXPECT_TRUE(again.eKind == example.again.eKind && again.iDepth == example.again.iDepth &&
                    again.bTransparent == example.again.bTransparent)
            << sPath << " to " << example.sAgain << ": " << again.iDepth;
    }
}

}  // namespace

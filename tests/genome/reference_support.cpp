#include "reference_support.h"

#include "xml/genome_xml.h"
#include "render/render.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <unistd.h>

SPicture renderOurs(const std::string& sXml, unsigned long long uSeed, int iThreads,
                    std::string& sError) {
    SPicture picture;
    std::vector<SGenome> vGenomes;
    if (!readGenomes(sXml, vGenomes, sError)) return picture;
    CGenomeRender render(vGenomes[0], uSeed, iThreads);
    if (!render.error().empty()) {
        sError = render.error();
        return picture;
    }
    while (render.continueRender(std::chrono::milliseconds(1000))) {}
    picture.iWidth = vGenomes[0].iWidth;
    picture.iHeight = vGenomes[0].iHeight;
    picture.vRgb.resize(static_cast<size_t>(picture.iWidth) * picture.iHeight * 3);
    render.writeImage([&](int iRow, const unsigned char* pRgb) {
        std::copy(pRgb, pRgb + picture.iWidth * 3, &picture.vRgb[iRow * picture.iWidth * 3]);
    });
    return picture;
}

std::string referenceRenderer() {
    for (const char* sPath : {FLAM3_RENDER_PATH, "/usr/bin/flam3-render"})
        if (*sPath != '\0' && access(sPath, X_OK) == 0) return sPath;
    return "";
}

std::string fileText(const std::string& sPath) {
    std::ifstream file(sPath, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

bool readPpm(const std::string& sText, SPicture& picture) {
    std::istringstream in(sText);
    std::string sMagic;
    int iMax = 0;
    if (!(in >> sMagic >> picture.iWidth >> picture.iHeight >> iMax) || sMagic != "P6" ||
        iMax != 255)
        return false;
    in.get();
    picture.vRgb.resize(static_cast<size_t>(picture.iWidth) * picture.iHeight * 3);
    in.read(reinterpret_cast<char*>(picture.vRgb.data()),
            static_cast<std::streamsize>(picture.vRgb.size()));
    return static_cast<size_t>(in.gcount()) == picture.vRgb.size();
}

namespace {

std::string folderOf(const std::string& sPath) {
    const size_t uSlash = sPath.rfind('/');
    return uSlash == std::string::npos ? "." : sPath.substr(0, uSlash);
}

// sXml drawn by the reference's sToolPath (named sToolName in what it says) at sSeed, with
// the environment's sSettings, into a file of sFormat that readOut reads: false with sError
// where it fails (its input kept to look at).
template <class FRead>
bool runReference(const std::string& sXml, const std::string& sSeed, const std::string& sToolPath,
                  const std::string& sToolName, const std::string& sSettings,
                  const std::string& sFormat, const FRead& readOut, std::string& sError) {
    char sFolder[] = "/tmp/genome-reference-XXXXXX";
    if (!mkdtemp(sFolder)) {
        sError = "no temporary folder";
        return false;
    }
    const std::string sIn = std::string(sFolder) + "/in.flame";
    const std::string sOut = std::string(sFolder) + "/out." + sFormat;
    std::ofstream(sIn) << sXml;
    const std::string sCommand = "env isaac_seed=" + sSeed + " nthreads=1 format=" + sFormat +
                                 " out=" + sOut + " " + sSettings + " " + sToolPath + " < " +
                                 sIn + " > /dev/null 2>&1";
    if (sToolPath.empty() || std::system(sCommand.c_str()) != 0 || !readOut(sOut)) {
        sError = sToolName + " failed on " + sIn;
        return false;
    }
    std::remove(sOut.c_str());
    std::remove(sIn.c_str());
    rmdir(sFolder);
    return true;
}

SPicture renderReferenceOnce(const std::string& sXml, const std::string& sSeed,
                             std::string& sError, const std::string& sTool = "flam3-render",
                             const std::string& sSettings = "") {
    SPicture picture;
    const std::string sRenderer = referenceRenderer();
    if (sRenderer.empty()) {
        sError = "no flam3-render: scripts/install-deps.sh installs flam3-utils";
        return picture;
    }
    const std::string sToolPath = sTool == "flam3-render" ? sRenderer
                                                           : folderOf(sRenderer) + "/" + sTool;
    const auto readOut = [&](const std::string& sOut) {
        return readPpm(fileText(sOut), picture);
    };
    if (!runReference(sXml, sSeed, sToolPath, sTool, sSettings, "ppm", readOut, sError))
        picture = SPicture();
    return picture;
}
}  // namespace

SPicture renderReference(const std::string& sXml, const std::string& sSeed, std::string& sError) {
    static std::map<std::pair<std::string, std::string>, SPicture> rendered;
    const auto key = std::make_pair(sXml, sSeed);
    const auto found = rendered.find(key);
    if (found != rendered.end()) return found->second;
    const SPicture picture = renderReferenceOnce(sXml, sSeed, sError);
    if (!picture.vRgb.empty()) rendered[key] = picture;
    return picture;
}

namespace {

std::vector<double> luma(const SPicture& picture) {
    std::vector<double> vLuma(static_cast<size_t>(picture.iWidth) * picture.iHeight);
    for (size_t i = 0; i < vLuma.size(); i++)
        vLuma[i] = 0.299 * picture.vRgb[3 * i] + 0.587 * picture.vRgb[3 * i + 1] +
                   0.114 * picture.vRgb[3 * i + 2];
    return vLuma;
}

}  // namespace

double lumaSsim(const SPicture& a, const SPicture& b) {
    const int iW = a.iWidth, iH = a.iHeight, iR = 5;
    const std::vector<double> vA = luma(a), vB = luma(b);
    double dWindow[2 * iR + 1];
    double dSum = 0;
    for (int k = -iR; k <= iR; k++) dSum += dWindow[k + iR] = std::exp(-k * k / (2 * 1.5 * 1.5));
    for (double& d : dWindow) d /= dSum;
    const double dC1 = (0.01 * 255) * (0.01 * 255), dC2 = (0.03 * 255) * (0.03 * 255);
    double dTotal = 0;
    int iWindows = 0;
    for (int y = iR; y < iH - iR; y++)
        for (int x = iR; x < iW - iR; x++) {
            double dMa = 0, dMb = 0, dAa = 0, dBb = 0, dAb = 0;
            for (int j = -iR; j <= iR; j++)
                for (int i = -iR; i <= iR; i++) {
                    const double w = dWindow[i + iR] * dWindow[j + iR];
                    const double dPa = vA[(y + j) * iW + x + i], dPb = vB[(y + j) * iW + x + i];
                    dMa += w * dPa, dMb += w * dPb;
                    dAa += w * dPa * dPa, dBb += w * dPb * dPb, dAb += w * dPa * dPb;
                }
            const double dVa = dAa - dMa * dMa, dVb = dBb - dMb * dMb, dCov = dAb - dMa * dMb;
            dTotal += (2 * dMa * dMb + dC1) * (2 * dCov + dC2) /
                      ((dMa * dMa + dMb * dMb + dC1) * (dVa + dVb + dC2));
            iWindows++;
        }
    return dTotal / iWindows;
}

double channelMean(const SPicture& picture, int iChannel) {
    double dSum = 0;
    const size_t uPixels = picture.vRgb.size() / 3;
    for (size_t i = 0; i < uPixels; i++) dSum += picture.vRgb[3 * i + iChannel];
    return dSum / uPixels;
}

SPicture renderReferenceFrame(const std::string& sXml, long long iFrame, const std::string& sSeed,
                              std::string& sError) {
    return renderReferenceOnce(sXml, sSeed, sError, "flam3-animate",
                               "frame=" + std::to_string(iFrame));
}

SLevels renderOursLevels(const std::string& sXml, unsigned long long uSeed, int iBits,
                         bool bTransparent, std::string& sError) {
    SLevels picture;
    std::vector<SGenome> vGenomes;
    if (!readGenomes(sXml, vGenomes, sError)) return picture;
    CGenomeRender render(vGenomes[0], uSeed, 2);
    if (!render.error().empty()) {
        sError = render.error();
        return picture;
    }
    while (render.continueRender(std::chrono::milliseconds(1000))) {}
    picture.iWidth = vGenomes[0].iWidth;
    picture.iHeight = vGenomes[0].iHeight;
    picture.iChannels = 4;
    picture.vLevels.resize(static_cast<size_t>(picture.iWidth) * picture.iHeight * 4);
    render.writeTonedImage(bTransparent, [&](int iRow, const STonedPixel* pRow) {
        unsigned int* pLevels = &picture.vLevels[static_cast<size_t>(iRow) * picture.iWidth * 4];
        for (int p = 0; p < picture.iWidth; p++, pLevels += 4) {
            for (int c = 0; c < 3; c++)
                pLevels[c] = iBits == 16 ? sixteenBitLevel(pRow[p].dRgb[c])
                                         : eightBitLevel(pRow[p].dRgb[c]);
            pLevels[3] = !bTransparent ? (1u << iBits) - 1
                         : iBits == 16 ? sixteenBitAlpha(pRow[p].dAlpha)
                                       : eightBitAlpha(pRow[p].dAlpha);
        }
    });
    return picture;
}

namespace {

// An RGBA PNG of 8 or 16 bits, as flam3 writes them; false where it is not one.
bool readRgbaPng(const std::string& sPath, SLevels& picture) {
    FILE* pFile = std::fopen(sPath.c_str(), "rb");
    if (!pFile) return false;
    png_structp pPng = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop pInfo = png_create_info_struct(pPng);
    bool bRead = false;
    if (!setjmp(png_jmpbuf(pPng))) {
        png_init_io(pPng, pFile);
        png_read_png(pPng, pInfo, PNG_TRANSFORM_IDENTITY, nullptr);
        const int iBits = png_get_bit_depth(pPng, pInfo);
        picture.iWidth = static_cast<int>(png_get_image_width(pPng, pInfo));
        picture.iHeight = static_cast<int>(png_get_image_height(pPng, pInfo));
        picture.iChannels = png_get_channels(pPng, pInfo);
        bRead = picture.iChannels == 4 && (iBits == 8 || iBits == 16);
        png_bytepp pRows = png_get_rows(pPng, pInfo);
        const size_t uRow = static_cast<size_t>(picture.iWidth) * 4;
        picture.vLevels.resize(bRead ? uRow * picture.iHeight : 0);
        for (int y = 0; bRead && y < picture.iHeight; y++)
            for (size_t k = 0; k < uRow; k++)
                picture.vLevels[y * uRow + k] = iBits == 8 ? pRows[y][k]
                                                           : pRows[y][2 * k] << 8 |
                                                                 pRows[y][2 * k + 1];
    }
    png_destroy_read_struct(&pPng, &pInfo, nullptr);
    std::fclose(pFile);
    return bRead;
}

}  // namespace

SLevels renderReferenceLevels(const std::string& sXml, const std::string& sSeed, int iBits,
                              bool bTransparent, std::string& sError) {
    SLevels picture;
    const std::string sSettings = "bpc=" + std::to_string(iBits) +
                                  " transparency=" + (bTransparent ? "1" : "0");
    const auto readOut = [&](const std::string& sOut) { return readRgbaPng(sOut, picture); };
    if (!runReference(sXml, sSeed, referenceRenderer(), "flam3-render", sSettings, "png", readOut,
                      sError))
        return SLevels();
    return picture;
}

double channelDistance(const SLevels& a, const SLevels& b, int iChannel) {
    double dSum = 0;
    const size_t uPixels = a.vLevels.size() / a.iChannels;
    for (size_t i = 0; i < uPixels; i++)
        dSum += std::fabs(static_cast<double>(a.vLevels[i * a.iChannels + iChannel]) -
                          b.vLevels[i * b.iChannels + iChannel]);
    return dSum / uPixels;
}

SGenome firstGenomeOf(const std::string& sXml) {
    std::vector<SGenome> vGenomes;
    std::string sError;
    EXPECT_TRUE(readGenomes(sXml, vGenomes, sError)) << sError;
    return vGenomes.empty() ? SGenome() : vGenomes[0];
}

#include "png_file.h"

#include "calc.h"
#include "colouring.h"
#include "console.h"
#include "options.h"
#include "patterns.h"
#include "flame.h"
#include "run.h"
#include "screen.h"
#include "whole_file.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

namespace {

std::string colourPhrase(int iColourType) {
    if (!isColouring(iColourType)) return "not coloured";
    return std::string("in ") + colourNames[iColourType - 1];
}

// "5000000 iterations of pattern 3, linear & spiral & swirl, in rainbow colours, seed 7".
std::string describeRun(const SRun& run, int iColourType) {
    return std::to_string(run.iIterations) + " iterations of " + drawnPhrase(run) +
           ", " + colourPhrase(iColourType) + ", seed " + std::to_string(run.uSeed);
}

std::string pathError(const std::string& sPath, const std::string& sReason) {
    return shownText(sPath) + ": " + sReason;
}

// One row of the picture as the file holds it: three bytes a pixel, red first, each pixel
// coloured as the window colours it.
void colourRow(const screen& picture, const CColouring& colouring, int iRow, unsigned char* pRgb) {
    for (int i = 0; i < picture.width(); i++, pRgb += 3) {
        float fColour[4] = {0, 0, 0, 0};
        colouring.colourOf(picture.hits(i, iRow), fColour);
        for (int k = 0; k < 3; k++) pRgb[k] = eightBits(fColour[k]);
    }
}

std::vector<std::pair<std::string, std::string>> textChunks(const CCalculation& calc) {
    const SRun& run = calc.parameters();
    std::vector<std::pair<std::string, std::string>> vText = {
        {"Software", sProgramVersion},
        {"Iterations", std::to_string(run.iIterations)},
    };
    const SFlame& flame = run.flame;
    if (flame.iFunctions == 0) vText.push_back({"Pattern", std::to_string(run.iPattern)});
    if (flame.bRandom) vText.push_back({"Flame", std::to_string(flame.uSeed)});
    if (flame.iFunctions > 0) vText.push_back({"Functions", flameText(flame)});
    vText.insert(vText.end(), {
        {"Colouring", std::to_string(calc.iColourType)},
        {"Seed", std::to_string(run.uSeed)},
        {"Size", sizeText(run.iWidth, run.iHeight)},
        {"View", viewText(run.view)},
        {"Description", describeRun(run, calc.iColourType)},
    });
    if (calc.iterationsDone() < run.iIterations)
        vText.push_back({"Done", std::to_string(calc.iterationsDone())});
    return vText;
}

// Where libpng's bytes go, and why it stopped: the system's reason for a failed write, else
// libpng's own message.
struct SPngSink {
    FILE* pFile;
    int   iErrno;
    char  cMessage[160];
};

void onPngError(png_structp pPng, png_const_charp sMessage) {
    SPngSink* pSink = static_cast<SPngSink*>(png_get_error_ptr(pPng));
    std::snprintf(pSink->cMessage, sizeof pSink->cMessage, "%s",
                  pSink->iErrno ? std::strerror(pSink->iErrno) : sMessage);
    png_longjmp(pPng, 1);
}

void onPngWarning(png_structp, png_const_charp) {}  // nothing a user could act on

void onPngWrite(png_structp pPng, png_bytep pBytes, size_t iSize) {
    SPngSink* pSink = static_cast<SPngSink*>(png_get_io_ptr(pPng));
    if (std::fwrite(pBytes, 1, iSize, pSink->pFile) == iSize) return;
    pSink->iErrno = errno ? errno : EIO;
    png_error(pPng, "write error");
}

void onPngFlush(png_structp pPng) {
    std::fflush(static_cast<SPngSink*>(png_get_io_ptr(pPng))->pFile);
}

// What goes into the file: the picture, coloured a row at a time into pRow, and the texts.
struct SPngPicture {
    const screen*     pPicture;
    const CColouring* pColouring;
    unsigned char*    pRow;
    png_text*         pTexts;
    int               iTexts;
};

// libpng reports an error by a long jump back to the setjmp here: between the two, this function
// holds only plain data, whose lifetime the jump cannot cut short. The rows go top row first.
bool writePng(SPngSink& sink, const SPngPicture& png) {
    png_structp pPng =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, onPngError, onPngWarning);
    png_infop pInfo = pPng ? png_create_info_struct(pPng) : nullptr;
    if (!pInfo) {
        png_destroy_write_struct(&pPng, nullptr);
        std::snprintf(sink.cMessage, sizeof sink.cMessage, "%s", std::strerror(ENOMEM));
        return false;
    }
    if (setjmp(png_jmpbuf(pPng))) {
        png_destroy_write_struct(&pPng, &pInfo);
        return false;
    }
    png_set_write_fn(pPng, &sink, onPngWrite, onPngFlush);
    const screen& picture = *png.pPicture;
    png_set_IHDR(pPng, pInfo, static_cast<png_uint_32>(picture.width()),
                 static_cast<png_uint_32>(picture.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_text(pPng, pInfo, png.pTexts, png.iTexts);
    png_write_info(pPng, pInfo);
    for (int iRow = picture.height() - 1; iRow >= 0; iRow--) {
        colourRow(picture, *png.pColouring, iRow, png.pRow);
        png_write_row(pPng, png.pRow);
    }
    png_write_end(pPng, nullptr);
    png_destroy_write_struct(&pPng, &pInfo);
    return true;
}

// The whole picture into a new file of sFolder, not yet named; "" or the reason.
std::string writeNewFile(CWholeFile& file, const std::string& sFolder, const CCalculation& calc) {
    if (const int iError = file.create(sFolder)) return std::strerror(iError);
    const screen& picture = calc.picture();
    const CColouring colouring(calc.iColourType, picture.iMaxHit);
    std::vector<unsigned char> vRow(3 * static_cast<size_t>(picture.width()));
    std::vector<std::pair<std::string, std::string>> vText = textChunks(calc);
    std::vector<png_text> vChunks(vText.size());
    for (size_t i = 0; i < vText.size(); i++) {
        vChunks[i].compression = PNG_TEXT_COMPRESSION_NONE;
        vChunks[i].key = vText[i].first.data();
        vChunks[i].text = vText[i].second.data();
    }
    SPngSink sink{file.stream(), 0, ""};
    const SPngPicture png{&picture, &colouring, vRow.data(), vChunks.data(),
                          static_cast<int>(vChunks.size())};
    if (!writePng(sink, png)) return sink.cMessage;
    return "";
}

std::string errorText(int iError) { return iError == 0 ? "" : std::strerror(iError); }

// Reads the file's header and the chunks before its image. libpng's long jump comes back to the
// setjmp here, whose function holds only plain data; once it has returned, nothing that is
// called on the structures can fail.
bool readPngInfo(FILE* pFile, png_structp& pPng, png_infop& pInfo, SPngSink& sink) {
    pPng = png_create_read_struct(PNG_LIBPNG_VER_STRING, &sink, onPngError, onPngWarning);
    pInfo = pPng ? png_create_info_struct(pPng) : nullptr;
    if (!pInfo) {
        std::snprintf(sink.cMessage, sizeof sink.cMessage, "%s", std::strerror(ENOMEM));
        return false;
    }
    if (setjmp(png_jmpbuf(pPng))) return false;
    png_init_io(pPng, pFile);
    png_set_sig_bytes(pPng, 8);
    png_read_info(pPng, pInfo);
    return true;
}

// The text chunks of a PNG file; "" or the reason it has none to give.
std::string readTextChunks(const std::string& sPath, std::map<std::string, std::string>& text) {
    FILE* pFile = std::fopen(sPath.c_str(), "rb");
    if (!pFile) return std::strerror(errno);
    unsigned char cSignature[8] = {};
    std::string sReason;
    if (std::fread(cSignature, 1, 8, pFile) != 8 || png_sig_cmp(cSignature, 0, 8) != 0) {
        sReason = std::ferror(pFile) ? std::strerror(errno) : "not a PNG file";
    } else {
        SPngSink sink{pFile, 0, ""};
        png_structp pPng = nullptr;
        png_infop pInfo = nullptr;
        if (readPngInfo(pFile, pPng, pInfo, sink)) {
            png_textp pTexts = nullptr;
            const int iTexts = png_get_text(pPng, pInfo, &pTexts, nullptr);
            for (int i = 0; i < iTexts; i++) text[pTexts[i].key] = pTexts[i].text;
        } else {
            sReason = std::string("not a readable PNG file: ") + sink.cMessage;
        }
        png_destroy_read_struct(&pPng, &pInfo, nullptr);
    }
    std::fclose(pFile);
    return sReason;
}

bool readInt(const std::string& sText, int& iValue) {
    const bool bNegative = !sText.empty() && sText[0] == '-';
    long long iRead = 0;
    if (!readWholeNumber(sText.substr(bNegative ? 1 : 0), 0, 2147483648LL, iRead)) return false;
    iRead = bNegative ? -iRead : iRead;
    if (iRead > 2147483647LL) return false;
    iValue = static_cast<int>(iRead);
    return true;
}

// What one chunk gives to the run; "" or what is wrong with it.
struct SRecorded {
    const char* sKey;
    bool bNeeded;  // else the default stands: a picture saved before the chunk was written
    bool (*pfRead)(const std::string& sText, SRun& run, int& iColourType);
};

const SRecorded recordedChunks[] = {
    {"Iterations", true,
     [](const std::string& sText, SRun& run, int&) { return readInt(sText, run.iIterations); }},
    {"Pattern", false,  // where there are no Functions
     [](const std::string& sText, SRun& run, int&) { return readInt(sText, run.iPattern); }},
    {"Functions", false,  // a flame, maybe edited by hand: drawn as written
     [](const std::string& sText, SRun& run, int&) {
         std::string sError;
         return readFlame(sText, run.flame, sError);
     }},
    {"Flame", false,  // the seed of a random flame
     [](const std::string& sText, SRun& run, int&) {
         run.flame.bRandom = readSeed(sText, run.flame.uSeed);
         return run.flame.bRandom && run.flame.iFunctions > 0;
     }},
    {"Colouring", true,
     [](const std::string& sText, SRun&, int& iColourType) { return readInt(sText, iColourType); }},
    {"Seed", true,
     [](const std::string& sText, SRun& run, int&) { return readSeed(sText, run.uSeed); }},
    {"Size", false,
     [](const std::string& sText, SRun& run, int&) {
         return readSize(sText, run.iWidth, run.iHeight);
     }},
    {"View", false,
     [](const std::string& sText, SRun& run, int&) { return readView(sText, run.view); }},
    {"Done", false,  // a picture saved during its run holds that many iterations
     [](const std::string& sText, SRun& run, int&) { return readInt(sText, run.iIterations); }},
};

}  // namespace

// The place is tried with a file that has no name, which leaves nothing behind.
bool checkSavable(const std::string& sPath, std::string& sError) {
    std::string sReason;
    const std::string sTarget = savingTarget(sPath, sReason);
    if (sReason.empty()) {
        CWholeFile probe;
        sReason = errorText(probe.create(folderOf(sTarget)));
    }
    if (!sReason.empty()) sError = pathError(sPath, sReason);
    return sReason.empty();
}

// The target is looked at again: it may have changed during the run.
bool savePicture(const std::string& sPath, const CCalculation& calc, std::string& sError) {
    std::string sReason;
    const std::string sTarget = savingTarget(sPath, sReason);
    CWholeFile file;
    if (sReason.empty()) sReason = writeNewFile(file, folderOf(sTarget), calc);
    if (sReason.empty()) sReason = errorText(file.replace(sTarget));
    if (!sReason.empty()) sError = pathError(sPath, sReason);
    return sReason.empty();
}

// The complete file is linked to the first free name: two savers can never take the same name,
// and an existing file is never replaced.
bool savePictureAsNew(const CCalculation& calc, std::string& sName, std::string& sError) {
    const SRun& run = calc.parameters();
    const int iHeld = std::min(calc.iterationsDone(), run.iIterations);  // a run in progress
    const std::string sStem = "flame-" + drawnTag(run) + "-c" + std::to_string(calc.iColourType) +
                              "-" + std::to_string(iHeld) + "-" + std::to_string(run.uSeed);
    CWholeFile file;
    std::string sReason = writeNewFile(file, ".", calc);
    for (int iCopy = 1; sReason.empty(); iCopy++) {
        sName = sStem + (iCopy > 1 ? "-" + std::to_string(iCopy) : "") + ".png";
        const int iError = file.linkAsNew(sName);
        if (iError == 0) break;
        if (iError != EEXIST || iCopy == 9999) sReason = std::strerror(iError);
    }
    if (!sReason.empty()) sError = pathError(sName.empty() ? sStem + ".png" : sName, sReason);
    return sReason.empty();
}

bool readRecordedRun(const std::string& sPath, SRun& run, int& iColourType, std::string& sError) {
    std::map<std::string, std::string> text;
    std::string sReason = readTextChunks(sPath, text);
    for (const SRecorded& chunk : recordedChunks) {
        if (!sReason.empty()) break;
        const auto found = text.find(chunk.sKey);
        if (found == text.end()) {
            if (chunk.bNeeded)
                sReason = std::string("no ") + chunk.sKey + " chunk: not a picture saved by flames";
        } else if (!chunk.pfRead(found->second, run, iColourType)) {
            sReason = std::string("its ") + chunk.sKey + " chunk '" + shownText(found->second, 60) +
                      "' is not what flames writes there";
        }
    }
    if (sReason.empty() && !text.count("Pattern") && !text.count("Functions"))
        sReason = "no Pattern chunk: not a picture saved by flames";
    if (!sReason.empty()) sError = pathError(sPath, sReason);
    return sReason.empty();
}

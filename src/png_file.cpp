#include "png_file.h"

#include "calc.h"
#include "colouring.h"
#include "options.h"
#include "patterns.h"
#include "screen.h"

#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// "pattern 3, linear & spiral & swirl"; a number that is no pattern or colouring says so.
std::string patternPhrase(int iPattern) {
    const std::string sNumber = "pattern " + std::to_string(iPattern);
    if (!isPattern(iPattern)) return sNumber + ", which is no pattern";
    return sNumber + ", " + patternTable[iPattern - 1].sName;
}

std::string colourPhrase(int iColourType) {
    if (!isColouring(iColourType)) return "not coloured";
    return std::string("in ") + colourNames[iColourType - 1];
}

// "5000000 iterations of pattern 3, linear & spiral & swirl, in rainbow colours, seed 7".
std::string describeRun(const SRunParameters& run) {
    return std::to_string(run.iIterations) + " iterations of " + patternPhrase(run.iPattern) +
           ", " + colourPhrase(run.iColourType) + ", seed " + std::to_string(run.uSeed);
}

std::string pathError(const std::string& sPath, const std::string& sReason) {
    return sPath + ": " + sReason;
}

// The folder of a path, where its temporary file goes.
std::string folderOf(const std::string& sPath) {
    const size_t iSlash = sPath.find_last_of('/');
    if (iSlash == std::string::npos) return ".";
    return iSlash == 0 ? "/" : sPath.substr(0, iSlash);
}

// Three bytes a pixel, red first; the top row first, which is the buffer's last row in use.
std::vector<unsigned char> pictureBytes() {
    std::vector<unsigned char> vRgb;
    vRgb.reserve(static_cast<size_t>(iScreenWidth) * iScreenHight * 3);
    for (int j = iScreenHight - 1; j >= 0; j--)
        for (int i = 0; i < iScreenWidth; i++)
            for (int k = 0; k < 3; k++) vRgb.push_back(eightBits(myScreen.fScreenArray[i][j][k]));
    return vRgb;
}

std::vector<std::pair<std::string, std::string>> textChunks(const SRunParameters& run) {
    std::vector<std::pair<std::string, std::string>> vText = {
        {"Software", sProgramVersion},
        {"Iterations", std::to_string(run.iIterations)},
        {"Pattern", std::to_string(run.iPattern)},
        {"Colouring", std::to_string(run.iColourType)},
        {"Seed", std::to_string(run.uSeed)},
        {"Description", describeRun(run)},
    };
    if (run.iDone < run.iIterations) vText.push_back({"Done", std::to_string(run.iDone)});
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

// libpng reports an error by a long jump back to the setjmp here: between the two, this function
// holds only plain data, whose lifetime the jump cannot cut short.
bool writePng(SPngSink& sink, const unsigned char* pRgb, png_text* pTexts, int iTexts) {
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
    png_set_IHDR(pPng, pInfo, iScreenWidth, iScreenHight, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_text(pPng, pInfo, pTexts, iTexts);
    png_write_info(pPng, pInfo);
    for (int iRow = 0; iRow < iScreenHight; iRow++)
        png_write_row(pPng, pRgb + static_cast<size_t>(iRow) * iScreenWidth * 3);
    png_write_end(pPng, nullptr);
    png_destroy_write_struct(&pPng, &pInfo);
    return true;
}

// The whole picture into the open temporary file, then to the disk; "" or the reason.
std::string writeTemporary(FILE* pFile, const SRunParameters& run) {
    const std::vector<unsigned char> vRgb = pictureBytes();
    std::vector<std::pair<std::string, std::string>> vText = textChunks(run);
    std::vector<png_text> vChunks(vText.size());
    for (size_t i = 0; i < vText.size(); i++) {
        vChunks[i].compression = PNG_TEXT_COMPRESSION_NONE;
        vChunks[i].key = vText[i].first.data();
        vChunks[i].text = vText[i].second.data();
    }
    SPngSink sink{pFile, 0, ""};
    if (!writePng(sink, vRgb.data(), vChunks.data(), static_cast<int>(vChunks.size())))
        return sink.cMessage;
    if (std::fflush(pFile) != 0 || fsync(fileno(pFile)) != 0) return std::strerror(errno);
    return "";
}

// New files get the permissions the user's umask gives, not mkstemp's owner-only ones.
void allowAsUmaskDoes(int iFd) {
    const mode_t iMask = umask(0);
    umask(iMask);
    fchmod(iFd, 0666 & ~iMask);
}

// Writes the picture to a temporary file in sFolder and hands that to place, which gives it its
// name; the temporary file is gone afterwards, whatever happened. "" or the reason.
template <typename Place>
std::string writeThenPlace(const std::string& sFolder, const SRunParameters& run, Place place) {
    std::string sTemporary = sFolder + "/.flames-XXXXXX";
    const int iFd = mkstemp(sTemporary.data());
    if (iFd < 0) return std::strerror(errno);
    allowAsUmaskDoes(iFd);
    FILE* pFile = fdopen(iFd, "wb");
    std::string sReason = pFile ? writeTemporary(pFile, run) : std::strerror(errno);
    if (pFile ? std::fclose(pFile) != 0 : close(iFd) != 0) {
        if (sReason.empty()) sReason = std::strerror(errno);
    }
    if (sReason.empty()) sReason = place(sTemporary);
    unlink(sTemporary.c_str());  // after a rename, already gone; after a link, the second name
    return sReason;
}

// A folder's name cannot take a picture: rename would even put one in place of an empty folder.
std::string folderRefusal(const std::string& sPath) {
    struct stat info;
    const bool bFolder = stat(sPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    return bFolder ? std::strerror(EISDIR) : "";
}

}  // namespace

SRunParameters parametersOf(const CCalculation& calc, unsigned int uSeed) {
    return {calc.iIterations, calc.iPattern, calc.iColourType, uSeed, calc.iterationsDone()};
}

bool checkSavable(const std::string& sPath, std::string& sError) {
    std::string sReason = folderRefusal(sPath);
    if (sReason.empty()) {
        std::string sProbe = folderOf(sPath) + "/.flames-XXXXXX";
        const int iFd = mkstemp(sProbe.data());
        if (iFd < 0) sReason = std::strerror(errno);
        else close(iFd), unlink(sProbe.c_str());
    }
    if (!sReason.empty()) sError = pathError(sPath, sReason);
    return sReason.empty();
}

bool savePicture(const std::string& sPath, const SRunParameters& run, std::string& sError) {
    std::string sReason = folderRefusal(sPath);
    if (sReason.empty())
        sReason = writeThenPlace(folderOf(sPath), run, [&](const std::string& sTemporary) {
            return rename(sTemporary.c_str(), sPath.c_str()) == 0 ? "" : std::strerror(errno);
        });
    if (!sReason.empty()) sError = pathError(sPath, sReason);
    return sReason.empty();
}

// link() gives the complete file its name only where that name is free, in one step: two savers
// can never take the same name, and an existing file is never replaced.
bool savePictureAsNew(const SRunParameters& run, std::string& sName, std::string& sError) {
    const std::string sStem = "flame-p" + std::to_string(run.iPattern) + "-c" +
                              std::to_string(run.iColourType) + "-" +
                              std::to_string(run.iIterations) + "-" + std::to_string(run.uSeed);
    const std::string sReason =
        writeThenPlace(".", run, [&](const std::string& sTemporary) -> std::string {
            for (int iCopy = 1; iCopy < 10000; iCopy++) {
                sName = sStem + (iCopy > 1 ? "-" + std::to_string(iCopy) : "") + ".png";
                if (link(sTemporary.c_str(), sName.c_str()) == 0) return "";
                if (errno != EEXIST) return std::strerror(errno);
            }
            return std::strerror(EEXIST);
        });
    if (!sReason.empty()) sError = pathError(sName.empty() ? sStem + ".png" : sName, sReason);
    return sReason.empty();
}

#include "files/picture_file.h"

#include "core/calc.h"
#include "core/colouring.h"
#include "core/screen.h"
#include "files/run_record.h"
#include "pictures/exr_codec.h"
#include "pictures/png_codec.h"
#include "pictures/whole_file.h"
#include "text/text_forms.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// One row of the picture as the file holds it: three bytes a pixel, red first, each pixel
// coloured as the window colours it.
void colourRow(const screen& picture, const CColouring& colouring, int iRow, unsigned char* pRgb) {
    for (int i = 0; i < picture.width(); i++, pRgb += 3) {
        float fColour[4] = {0, 0, 0, 0};
        colouring.colourOf(picture.hits(i, iRow), fColour);
        for (int k = 0; k < 3; k++) pRgb[k] = eightBits(fColour[k]);
    }
}

// The whole picture into a new file of sFolder, not yet named, its top row first; "" or the
// reason.
std::string writeNewFile(CWholeFile& file, const std::string& sFolder, const CCalculation& calc,
                         int iDone) {
    if (const int iError = file.create(sFolder)) return std::strerror(iError);
    const screen& picture = calc.picture();
    const CColouring colouring(calc.iColourType, picture.iMaxHit);
    const SRecord record{calc.parameters(), calc.iColourType, iDone};
    return writePng(file.stream(), picture.width(), picture.height(), 3, recordTexts(record),
                    [&](int iRow, unsigned char* pRow) {
                        colourRow(picture, colouring, picture.height() - 1 - iRow, pRow);
                    });
}

// Whether the texts are a picture of this program's: its Software text names it.
bool madeHere(const std::vector<SPngText>& vTexts) {
    const std::string sName = std::string(sProgramVersion).substr(0, 7);  // "flames "
    return std::any_of(vTexts.begin(), vTexts.end(), [&](const SPngText& text) {
        return text.sKey == "Software" && text.sText.rfind(sName, 0) == 0;
    });
}

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
bool savePicture(const std::string& sPath, const CCalculation& calc, int iDone,
                 std::string& sError) {
    std::string sReason;
    const std::string sTarget = savingTarget(sPath, sReason);
    CWholeFile file;
    if (sReason.empty()) sReason = writeNewFile(file, folderOf(sTarget), calc, iDone);
    if (sReason.empty()) sReason = errorText(file.replace(sTarget));
    if (!sReason.empty()) sError = pathError(sPath, sReason);
    return sReason.empty();
}

// The complete file is linked to the first free name: two savers can never take the same name,
// and an existing file is never replaced.
bool savePictureAsNew(const CCalculation& calc, int iDone, std::string& sName,
                      std::string& sError) {
    const SRun& run = calc.parameters();
    const int iHeld = std::min(iDone, run.iIterations);  // a run in progress
    const std::string sStem = "flame-" + drawnTag(run) + "-c" + std::to_string(calc.iColourType) +
                              "-" + std::to_string(iHeld) + "-" + std::to_string(run.uSeed);
    CWholeFile file;
    std::string sReason = writeNewFile(file, ".", calc, iDone);
    if (sReason.empty()) sReason = errorText(linkUnderFreeName(file, sStem, ".png", sName));
    if (!sReason.empty()) sError = pathError(sName.empty() ? sStem + ".png" : sName, sReason);
    return sReason.empty();
}

bool readRecordedPicture(const std::string& sPath, SRecordedPicture& recorded,
                         std::string& sError) {
    std::vector<SPngText> vTexts;
    int iDepth = 8;
    bool bAlpha = false;
    std::string sReason;
    if (looksLikeExr(sPath)) {
        sReason = readExrTexts(sPath, vTexts, iDepth, bAlpha);
    } else {
        SPngShape shape;
        sReason = readPngTexts(sPath, vTexts, &shape);
        iDepth = shape.iBits, bAlpha = shape.bAlpha;
    }
    if (sReason.empty()) recorded.bGenome = readRecordedGenome(vTexts, recorded.genome, sReason);
    // Only this program's pictures are made again in their depth and alpha: flam3 writes RGBA
    // with alpha 255, and its pictures were always made again as 8-bit RGB.
    if (madeHere(vTexts)) {
        recorded.genome.iDepth = iDepth;
        recorded.genome.bTransparent = bAlpha;
    }
    if (sReason.empty() && !recorded.bGenome) {
        SRecord record{recorded.run, recorded.iColourType, 0};
        if (readRecord(vTexts, record, sReason)) {
            recorded.run = record.run;
            recorded.iColourType = record.iColourType;
        }
    }
    if (sReason.empty()) return true;
    sError = pathError(sPath, sReason);
    return false;
}

bool readRecordedRun(const std::string& sPath, SRun& run, int& iColourType, std::string& sError) {
    std::vector<SPngText> vTexts;
    std::string sReason = readPngTexts(sPath, vTexts);
    SRecord record{run, iColourType, 0};
    if (sReason.empty() && readRecord(vTexts, record, sReason)) {
        run = record.run;
        iColourType = record.iColourType;
        return true;
    }
    sError = pathError(sPath, sReason);
    return false;
}

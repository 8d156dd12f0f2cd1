#include "files/genome_file.h"
#include "base/limits.h"

#include "base/number_text.h"
#include "pictures/picture_writer.h"
#include "pictures/whole_file.h"
#include "render/render.h"
#include "text/text_forms.h"
#include "workers/row_pipe.h"
#include "xml/genome_xml.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

constexpr const char* sGenomeKey = "flam3_genome";  // where flam3 keeps a picture's genome
// Rows on their way to the PNG writer: three of the tone map's groups of rows.
constexpr int iPipeRows = 96;
constexpr const char* sFrameKey = "flames_keyframes";  // a frame's, to draw it again
constexpr const char* sDoneKey = "Done";             // the samples drawn, where not all were
constexpr size_t iLongestName = 64;

// The genome's name as a file name takes it: letters, digits, '.', '-' and '_', the rest '_'.
std::string fileStem(const SGenome& genome) {
    std::string sStem = genome.sName.substr(0, iLongestName);
    for (char& c : sStem)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-') c = '_';
    return "flame-" + (sStem.empty() ? std::string("genome") : sStem);
}

// The file as a genome file holds it: one <flame>, the root.
std::string genomeText(const SGenome& genome) { return genomeXml(genome) + "\n"; }

std::string writeText(CWholeFile& file, const std::string& sFolder, const std::string& sText) {
    if (const int iError = file.create(sFolder)) return errorText(iError);
    if (std::fwrite(sText.data(), 1, sText.size(), file.stream()) != sText.size())
        return errorText(errno ? errno : EIO);
    return "";
}

}  // namespace

// One stopped part way says how far it had come, in Done.
std::vector<SPngText> genomePictureTexts(const CGenomeRender& render, unsigned int uSeed) {
    const SGenome& genome = render.renderedGenome();
    std::vector<SPngText> vTexts = {{"Software", sProgramVersion},
                                    {"Seed", std::to_string(uSeed)},
                                    {"Size", sizeText(genome.iWidth, genome.iHeight)},
                                    {"Description", genomeCaption(genome, uSeed)}};
    if (!render.done()) vTexts.push_back({sDoneKey, std::to_string(render.samplesDone())});
    vTexts.push_back({sGenomeKey, genomeXml(genome), true});
    // A frame keeps the keyframes its moments are blended from: its genome alone draws a still.
    // Those of a thousand xforms each may not fit: such a frame is drawn again as a still.
    const std::vector<SGenome>& vKeys = render.renderPlan().vFrameKeys;
    if (!vKeys.empty()) {
        std::string sKeys = "<flames>\n";
        for (const SGenome& key : vKeys) sKeys += genomeXml(key);
        sKeys += "</flames>\n";
        // Within what a picture's genome may take, which reading it back allows a chunk.
        if (sKeys.size() <= uMostGenomeTextBytes) vTexts.push_back({sFrameKey, sKeys, true});
    }
    return vTexts;
}

// A PNG's rows as they come, compressed beside the threads that tone-map the next rows where
// bBeside.
struct SPngRows {
    SPngRows(FILE* pFile, int iWidth, bool bBeside)
        : writer(pFile, iPngLevelGrainy),
          pipe(static_cast<size_t>(iWidth) * 3, iPipeRows,
               [this](const unsigned char* pRgb) { bWritten = bWritten && writer.row(pRgb); },
               bBeside) {}
    CPngWriter writer;
    bool bWritten = true;
    CRowPipe pipe;  // last: it is finished before the writer goes
};

namespace {

// The whole picture into a new file of sFolder, not yet named: the rows as the render's tone
// mapping hands them out. "" or the reason.
std::string writeGenomePng(CWholeFile& file, const std::string& sFolder, CGenomeRender& render,
                           unsigned int uSeed) {
    const SGenome& genome = render.renderedGenome();
    std::string sTooLarge;
    if (!genomeKeepable(genome, sTooLarge)) return sTooLarge;
    if (const int iError = file.create(sFolder)) return errorText(iError);
    SPngRows rows(file.stream(), genome.iWidth, render.threads() > 1);
    if (!rows.writer.begin(genome.iWidth, genome.iHeight, 3, genomePictureTexts(render, uSeed)))
        return rows.writer.error();
    const bool bWhole =
        render.writeImage([&](int, const unsigned char* pRgb) { rows.pipe.put(pRgb); });
    rows.pipe.finish();
    if (!bWhole) return "the render was stopped while its picture was written";
    if (!rows.bWritten || !rows.writer.finish()) return rows.writer.error();
    return "";
}

// The same in another format than 8-bit RGB PNG: the rows as the tone curve leaves them, each
// given its levels by the format's writer.
std::string writeGenomeFormatted(CWholeFile& file, const std::string& sFolder,
                                 CGenomeRender& render, unsigned int uSeed,
                                 const SPictureFormat& format) {
    if (format.plain()) return writeGenomePng(file, sFolder, render, uSeed);
    const SGenome& genome = render.renderedGenome();
    std::string sTooLarge;
    if (!genomeKeepable(genome, sTooLarge)) return sTooLarge;
    // JWildfire's tone mapping gives 8-bit colours: levels between them would be made up.
    if (genome.eToneStyle == eToneJwildfire)
        return "a JWildfire flame's picture is drawn as an 8-bit RGB PNG only: not 16 bits, "
               "alpha or OpenEXR";
    if (const int iError = file.create(sFolder)) return errorText(iError);
    const std::unique_ptr<CPictureWriter> pWriter = pictureWriter(format, file.stream());
    if (!pWriter->begin(genome.iWidth, genome.iHeight, genomePictureTexts(render, uSeed)))
        return pWriter->error();
    bool bWritten = true;
    const bool bWhole = render.writeTonedImage(format.bTransparent,
                                               [&](int, const STonedPixel* pRow) {
                                                   bWritten = bWritten && pWriter->row(pRow);
                                               });
    if (!bWhole) return "the render was stopped while its picture was written";
    if (!bWritten || !pWriter->finish()) return pWriter->error();
    return "";
}

// Written whole into a new file beside the target, which then takes its place.
bool replaceWith(const std::string& sPath, std::string& sError,
                 const std::function<std::string(CWholeFile&, const std::string&)>& write) {
    std::string sReason;
    const std::string sTarget = savingTarget(sPath, sReason);
    CWholeFile file;
    if (sReason.empty()) sReason = write(file, folderOf(sTarget));
    if (sReason.empty()) sReason = errorText(file.replace(sTarget));
    if (!sReason.empty()) sError = pathError(sPath, sReason);
    return sReason.empty();
}

// Written whole into a new file of the current folder, then named after sStem.
bool linkAsNew(const std::string& sStem, const std::string& sExtension, std::string& sName,
               std::string& sError,
               const std::function<std::string(CWholeFile&, const std::string&)>& write) {
    CWholeFile file;
    std::string sReason = write(file, ".");
    if (sReason.empty()) sReason = errorText(linkUnderFreeName(file, sStem, sExtension, sName));
    if (!sReason.empty()) sError = pathError(sName.empty() ? sStem + sExtension : sName, sReason);
    return sReason.empty();
}

}  // namespace

// A name as a caption says it: at most iLongestName bytes, cut where a character begins, "..."
// after the cut; so a Description is bounded as a file name is.
std::string captionName(const std::string& sName) {
    if (sName.size() <= iLongestName) return sName;
    size_t uCut = iLongestName;
    while (uCut > 0 && (static_cast<unsigned char>(sName[uCut]) & 0xC0) == 0x80) uCut--;
    return sName.substr(0, uCut) + "...";
}

std::string genomeCaption(const SGenome& genome, unsigned int uSeed) {
    char cNumbers[120];
    std::snprintf(cNumbers, sizeof cNumbers, "%d x %d, quality %g, seed %u", genome.iWidth,
                  genome.iHeight, genome.dQuality, uSeed);
    return "flame " +
           (genome.sName.empty() ? std::string("without a name") : captionName(genome.sName)) +
           ", " + cNumbers;
}

std::string numberedPicture(const std::string& sPrefix, int iNumber) {
    char cNumber[16];
    std::snprintf(cNumber, sizeof cNumber, "%05d", iNumber);
    const size_t uSize = sPrefix.size();
    std::string sEnd = uSize >= 4 ? sPrefix.substr(uSize - 4) : "";
    for (char& c : sEnd) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const SPictureKind& kind : pictureKinds)
        if (sEnd == std::string(".") + kind.sExtension)
            return sPrefix.substr(0, uSize - 4) + cNumber + sPrefix.substr(uSize - 4);
    return sPrefix + cNumber + ".png";
}

bool genomeKeepable(const SGenome& genome, std::string& sError) {
    const size_t uBytes = genomeXml(genome).size();
    if (uBytes <= uMostGenomeTextBytes) return true;
    sError = "the genome is too large for a picture to keep: " + std::to_string(uBytes) +
             " bytes of text, over the " + std::to_string(uMostGenomeTextBytes) +
             " a picture keeps";
    return false;
}

bool loadGenomeFile(const std::string& sPath, CFlameFile& file, std::string& sError,
                    bool bMendNames) {
    std::string sReason;
    file.mendNames(bMendNames);
    if (file.load(sPath, sReason)) return true;
    sError = pathError(sPath, sReason);
    return false;
}

bool readPickedGenome(const CFlameFile& file, const std::string& sPath, int iPick,
                      SGenome& genome, std::string& sError, SLeniency* pLeniency) {
    std::string sReason;
    const int iCount = file.count();
    if (iPick < 1 || iPick > iCount) {
        sError = pathError(sPath, "--pick " + std::to_string(iPick) + ": it holds " +
                                      std::to_string(iCount) + " flame" + (iCount > 1 ? "s" : ""));
        return false;
    }
    if (file.read(iPick - 1, genome, sReason, pLeniency)) return true;
    sError = pathError(sPath, sReason);
    return false;
}

bool writeGenomeFile(const std::string& sPath, const SGenome& genome, std::string& sError) {
    return writeGenomesText(sPath, genomeText(genome), sError);
}

// Several flames under one root, in their order, as flam3-genome writes a sequence.
bool writeGenomesFile(const std::string& sPath, const std::vector<SGenome>& vGenomes,
                      std::string& sError) {
    return writeGenomesFile(
        sPath, static_cast<int64_t>(vGenomes.size()),
        [&](int64_t k) { return vGenomes[static_cast<size_t>(k)]; }, sError);
}

namespace {

constexpr char sFlamesHead[] = "<flames>\n", sFlamesTail[] = "</flames>\n";

// The flames' text, a flame at a time, to onText: "" or why it stopped, at the first text that
// would take the file over what a genome file may hold.
std::string streamGenomes(int64_t iCount, const std::function<SGenome(int64_t)>& genomeOf,
                          const std::function<bool(const std::string&)>& onText) {
    size_t uBytes = sizeof sFlamesHead - 1 + sizeof sFlamesTail - 1;
    if (!onText(sFlamesHead)) return errorText(errno ? errno : EIO);
    for (int64_t k = 0; k < iCount; k++) {
        const std::string sText = genomeText(genomeOf(k));
        uBytes += sText.size();
        if (uBytes > uMostGenomeFileBytes)
            return "flame " + std::to_string(k + 1) + " of " + std::to_string(iCount) +
                   " takes the file over " + std::to_string(uMostGenomeFileBytes) +
                   " bytes (64 MiB), the most a genome file may hold: fewer frames, or one "
                   "written at a time with --frame";
        if (!onText(sText)) return errorText(errno ? errno : EIO);
    }
    return onText(sFlamesTail) ? "" : errorText(errno ? errno : EIO);
}

}  // namespace

bool writeGenomesFile(const std::string& sPath, int64_t iCount,
                      const std::function<SGenome(int64_t)>& genomeOf, std::string& sError) {
    if (iCount > iMostFlamesInFile) {
        const std::string sReason = std::to_string(iCount) + " flames, over the " +
                                    std::to_string(iMostFlamesInFile) +
                                    " a genome file may hold: fewer frames, or one written at "
                                    "a time with --frame";
        sError = sPath == "-" ? "standard output: " + sReason : pathError(sPath, sReason);
        return false;
    }
    const auto written = [](FILE* pFile) {
        return [pFile](const std::string& sText) {
            return std::fwrite(sText.data(), 1, sText.size(), pFile) == sText.size();
        };
    };
    if (sPath == "-") {  // what a pipe has been given cannot be taken back: measured first
        std::string sReason = streamGenomes(iCount, genomeOf, [](const std::string&) {
            return true;
        });
        if (sReason.empty()) sReason = streamGenomes(iCount, genomeOf, written(stdout));
        if (sReason.empty() && std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
        sError = "standard output: " + (sReason.empty() ? errorText(errno ? errno : EIO)
                                                         : sReason);
        return false;
    }
    return replaceWith(sPath, sError, [&](CWholeFile& file, const std::string& sFolder) {
        if (const int iError = file.create(sFolder)) return errorText(iError);
        return streamGenomes(iCount, genomeOf, written(file.stream()));
    });
}

bool writeGenomesText(const std::string& sPath, const std::string& sText, std::string& sError) {
    if (sPath == "-") {  // standard output, for a pipe
        std::fwrite(sText.data(), 1, sText.size(), stdout);
        if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
        sError = "standard output: " + errorText(errno ? errno : EIO);
        return false;
    }
    return replaceWith(sPath, sError, [&](CWholeFile& file, const std::string& sFolder) {
        return writeText(file, sFolder, sText);
    });
}

bool writeGenomeFileAsNew(const SGenome& genome, std::string& sName, std::string& sError) {
    return linkAsNew(fileStem(genome), ".flame", sName, sError,
                     [&](CWholeFile& file, const std::string& sFolder) {
                         return writeText(file, sFolder, genomeText(genome));
                     });
}

bool saveGenomePicture(const std::string& sPath, CGenomeRender& render, unsigned int uSeed,
                       std::string& sError, const SPictureFormat& format) {
    return replaceWith(sPath, sError, [&](CWholeFile& file, const std::string& sFolder) {
        return writeGenomeFormatted(file, sFolder, render, uSeed, format);
    });
}

bool saveGenomePictureAsNew(CGenomeRender& render, unsigned int uSeed, std::string& sName,
                            std::string& sError) {
    const std::string sStem = fileStem(render.renderedGenome()) + "-" + std::to_string(uSeed);
    return linkAsNew(sStem, ".png", sName, sError,
                     [&](CWholeFile& file, const std::string& sFolder) {
                         return writeGenomePng(file, sFolder, render, uSeed);
                     });
}

// The place is looked at when the file is made, before the rows come.
CPictureRowsFile::CPictureRowsFile(const std::string& sPath_)
    : sPath(sPath_), pFile(std::make_unique<CWholeFile>()) {
    sTarget = savingTarget(sPath, sReason);
    if (sReason.empty()) sReason = errorText(pFile->create(folderOf(sTarget)));
}

CPictureRowsFile::~CPictureRowsFile() = default;

void CPictureRowsFile::begin(int iWidth, int iHeight, const std::vector<SPngText>& vTexts,
                             bool bBeside) {
    if (!sReason.empty()) return;
    pRows = std::make_unique<SPngRows>(pFile->stream(), iWidth, bBeside);
    if (!pRows->writer.begin(iWidth, iHeight, 3, vTexts)) sReason = pRows->writer.error();
}

void CPictureRowsFile::row(const unsigned char* pRgb) {
    if (sReason.empty() && pRows) pRows->pipe.put(pRgb);
}

bool CPictureRowsFile::finish(std::string& sError) {
    if (sReason.empty() && !pRows) sReason = "no rows were written";
    if (pRows) pRows->pipe.finish();
    if (sReason.empty() && (!pRows->bWritten || !pRows->writer.finish()))
        sReason = pRows->writer.error();
    if (sReason.empty()) sReason = errorText(pFile->replace(sTarget));
    if (!sReason.empty()) sError = pathError(sPath, sReason);
    return sReason.empty();
}

bool readRecordedGenome(const std::vector<SPngText>& vTexts, SRecordedGenome& recorded,
                        std::string& sReason) {
    const auto text = [&](const char* sKey) {
        const auto found = std::find_if(vTexts.rbegin(), vTexts.rend(),
                                        [&](const SPngText& chunk) { return chunk.sKey == sKey; });
        return found == vTexts.rend() ? nullptr : &found->sText;
    };
    sReason.clear();
    const std::string* pGenome = text(sGenomeKey);
    if (!pGenome) return false;
    std::vector<SGenome> vGenomes;
    std::string sProblem;
    if (!readGenomes(*pGenome, vGenomes, sProblem)) {
        sReason = std::string("its ") + sGenomeKey + " chunk: " + sProblem;
        return false;
    }
    recorded.genome = vGenomes.front();
    if (const std::string* pKeys = text(sFrameKey);
        pKeys && !readGenomes(*pKeys, recorded.vFrameKeys, sProblem)) {
        sReason = std::string("its ") + sFrameKey + " chunk: " + sProblem;
        return false;
    }
    const std::string* pSeed = text("Seed");
    recorded.bSeed = pSeed != nullptr;
    if (pSeed && !readSeed(*pSeed, recorded.uSeed)) {
        sReason = "its Seed chunk \"" + shownText(*pSeed, 60) + "\" is not what flames writes";
        return false;
    }
    const std::string* pDone = text(sDoneKey);
    long long iDone = 0;
    const long long iAll = samplesOf(recorded.genome);
    if (pDone && !(readWholeNumber(*pDone, 1, iAll, iDone) && iDone < iAll)) {
        sReason = "its Done chunk \"" + shownText(*pDone, 60) + "\" is not what flames writes";
        return false;
    }
    recorded.iSamplesDone = pDone ? iDone : -1;
    return true;
}

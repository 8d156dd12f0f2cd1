#pragma once

// Genomes in files: a flame picked from a .flame file, a genome written to one, and the picture
// of a genome's render as a PNG file that keeps its genome, as drawn, where flam3 keeps it (a
// zTXt chunk flam3_genome), beside this program's chunks Software, Seed, Size and Description.

#include "base/picture_format.h"
#include "genome/genome.h"
#include "pictures/png_codec.h"
#include "xml/genome_xml.h"

#include <memory>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CGenomeRender;
class CWholeFile;
struct SPngRows;

// The genome file at sPath, parsed, its flames to be read one at a time; and flame iPick (1 to
// the count) of it, read as pLeniency says (strictly where null). On failure, sError is
// "PATH: reason". bMendNames reads JWildfire's NAME#k# names, as --lenient does.
bool loadGenomeFile(const std::string& sPath, CFlameFile& file, std::string& sError,
                    bool bMendNames = false);
bool readPickedGenome(const CFlameFile& file, const std::string& sPath, int iPick,
                      SGenome& genome, std::string& sError, SLeniency* pLeniency = nullptr);

// The genome as a .flame file of one <flame>, as drawn (every attribute written out): at sPath
// (nothing there, or a regular file, replaced whole; "-" standard output), or in the current
// folder under a new name,
// flame-NAME.flame (NAME the genome's name, -2, -3, ... added where that is taken).
bool writeGenomeFile(const std::string& sPath, const SGenome& genome, std::string& sError);
// The same for several, under a <flames> root: keyframes, loops and sequences.
bool writeGenomesFile(const std::string& sPath, const std::vector<SGenome>& vGenomes,
                      std::string& sError);
// The same for iCount flames made one at a time, genomeOf(k) the k-th, each written as it is
// made: refused with sError, nothing written, where the file would be one that no genome file
// may be (over iMostFlamesInFile flames or uMostGenomeFileBytes bytes) and reading it back
// would refuse it.
bool writeGenomesFile(const std::string& sPath, int64_t iCount,
                      const std::function<SGenome(int64_t)>& genomeOf, std::string& sError);
// A genome file's text, there.
bool writeGenomesText(const std::string& sPath, const std::string& sText, std::string& sError);
bool writeGenomeFileAsNew(const SGenome& genome, std::string& sName, std::string& sError);

// The picture numbered iNumber of a run of pictures named sPrefix: the prefix, the number in
// five digits (-0001 below 0) and .png, or the number before the prefix's own .png or .exr.
std::string numberedPicture(const std::string& sPrefix, int iNumber);

// Whether a picture can keep the genome, which --load then reads back: false with sError where
// its text is over uMostGenomeTextBytes (a name of millions of characters, thousands of xforms).
bool genomeKeepable(const SGenome& genome, std::string& sError);

// The render's picture so far, with its genome and the seed it was drawn from: at sPath in
// format (8-bit RGB PNG unless it says otherwise), or under a new name, flame-NAME-SEED.png,
// 8-bit RGB. False with sError "PATH: reason".
bool saveGenomePicture(const std::string& sPath, CGenomeRender& render, unsigned int uSeed,
                       std::string& sError, const SPictureFormat& format = SPictureFormat());
bool saveGenomePictureAsNew(CGenomeRender& render, unsigned int uSeed, std::string& sName,
                            std::string& sError);

// The texts a render's picture keeps: its genome, the seed, its size; how far it had come where
// it was stopped part way.
std::vector<SPngText> genomePictureTexts(const CGenomeRender& render, unsigned int uSeed);

// A picture written to a file as its rows come, 8-bit RGB (W × 3 bytes a row, top row first):
// into a new file beside sPath with no name yet, which takes sPath's place (the file a link
// names) once finish has every row. Dropped before that, it leaves nothing. So a picture drawn
// in strips costs one strip, its rows written as each ends.
class CPictureRowsFile {
public:
    explicit CPictureRowsFile(const std::string& sPath);
    ~CPictureRowsFile();
    CPictureRowsFile(const CPictureRowsFile&) = delete;
    CPictureRowsFile& operator=(const CPictureRowsFile&) = delete;

    // The size and texts, before the first row; bBeside: rows compressed on a thread of their
    // own, beside those that make the next ones.
    void begin(int iWidth, int iHeight, const std::vector<SPngText>& vTexts, bool bBeside);
    void row(const unsigned char* pRgb);
    // True once the file has every row and sPath's place; else sError is "PATH: reason".
    bool finish(std::string& sError);

private:
    std::string sPath, sTarget, sReason;  // the first failure's reason, "" none
    std::unique_ptr<CWholeFile> pFile;
    std::unique_ptr<SPngRows> pRows;
};

// The genome a picture's texts keep, and the seed it was drawn from where it says (bSeed):
// false with sReason "" for texts that keep no genome, or with why the one they keep cannot be
// drawn.
struct SRecordedGenome {
    SGenome      genome;
    unsigned int uSeed = 0;
    bool         bSeed = false;
    long long    iSamplesDone = -1;  // where the picture was saved part way; -1: whole
    int          iDepth = 8;         // bits a channel of the picture that keeps it
    bool         bTransparent = false;
    std::vector<SGenome> vFrameKeys;  // a frame's keyframes (SRenderPlan's); empty: a still
};
bool readRecordedGenome(const std::vector<SPngText>& vTexts, SRecordedGenome& recorded,
                        std::string& sReason);

// "flame lovely, 800 x 600, quality 100, seed 7": as the Description and a title say it.
std::string genomeCaption(const SGenome& genome, unsigned int uSeed);

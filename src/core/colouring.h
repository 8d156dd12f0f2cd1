#pragma once

// Hit counts to colours: each pixel's count on a logarithmic scale against the most-hit pixel,
// through one of five colourings. A colouring is a row of colourTable; the menu, the names, the
// window's keys and every text that names the range follow from it.

class screen;
class CLog10Table;
struct SBand;

struct SColouringRow {
    const char*  sMenuLine;  // "1 - Black & white."
    const char*  sName;      // "black & white": as a sentence names it
    const SBand* pBands;     // of a scale of bands; null: white (the first) or grey (the second)
    int          iBands;
};

constexpr int iColourCount = 5;  // colourings 1 to 5
extern const SColouringRow colourTable[iColourCount];

constexpr bool isColouring(int iColourType) {
    return iColourType >= 1 && iColourType <= iColourCount;
}

// The colour of a pixel under one colouring, from its count and the most hits of any pixel.
class CColouring {
public:
    CColouring(int iColourType, int iMaxHit);

    // The pixel's red, green, blue and alpha into fColour; false, and fColour as it was, for a
    // pixel never hit and for every pixel under a colouring other than 1 to 5. Inline: black
    // and white costs a test and four stores a pixel.
    bool colourOf(int iHits, float fColour[4]) const {
        if (iHits == 0 || !isColouring(iColourType)) return false;
        if (iColourType == 1) {
            for (int k = 0; k < 4; k++) fColour[k] = 1.0f;
        } else {
            colourOnScale(iHits, fColour);
        }
        return true;
    }

private:
    void colourOnScale(int iHits, float fColour[4]) const;  // colourings 2 to 5

    int                  iColourType;
    int                  iMaxHit;
    const CLog10Table*   pLog10;
    double               dLogMaxHit;
    const SColouringRow* pRow;  // null: no colouring
};

// Colours columns 0 to iColumns - 1 and rows 0 to iRows - 1 of the picture (never past its size)
// from their counts, into its colours for the window. A pixel never hit, and every pixel under a
// colouring other than 1 to 5, keeps its colour.
void colourHits(screen& picture, int iColourType, int iColumns, int iRows);

// Red, green, blue and alpha at the log level dLog in [0, 1] under colouring 2 to 5.
void colourOfLevel(int iColourType, double dLog, float fColour[4]);

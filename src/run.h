#pragma once

// What a run is of: everything its picture depends on but the colouring. One seed, one set of
// these, one picture.

#include "flame.h"

#include <string>

// The plotting window: the part of the plane that the picture shows, bounds included.
struct SView {
    double dXMin = -1;
    double dYMin = -1;
    double dXMax = 1;
    double dYMax = 1;
};

constexpr int iScreenWidth = 800;  // the picture's size, and the window's, unless a run says else
constexpr int iScreenHight = 800;

struct SSize {
    int iWidth;
    int iHeight;
};

struct SRun {
    int          iIterations = 1000000;  // zero or less runs none
    int          iPattern = 1;           // 1 to 20; any other number leaves the point in place
    SFlame       flame;                  // drawn instead of the pattern where it has functions
    unsigned int uSeed = 0;              // of every draw of the run
    int          iWidth = iScreenWidth;  // pixels: columns and rows
    int          iHeight = iScreenHight;
    SView        view;
};

// Why a computation cannot hold the run (a size below 1 x 1, a view with a bound that is not a
// number, or that is empty), or "" when it can.
std::string runProblem(const SRun& run);

constexpr int iSmallestSide = 16;     // of a picture asked for by name, in pixels
constexpr int iLargestSide = 16384;

// The text forms of a run's parts, as options take them and a saved picture records them. A
// whole number is decimal digits only, no sign; a size is "1200x900", each side from
// iSmallestSide to iLargestSide; a view is "XMIN,YMIN,XMAX,YMAX", four finite numbers with
// XMIN < XMAX and YMIN < YMAX, written each in the shortest form that reads back the same.
bool readWholeNumber(const std::string& sText, long long iLowest, long long iHighest,
                     long long& iValue);
bool readSeed(const std::string& sText, unsigned int& uSeed);  // 0 to 4294967295
bool readSize(const std::string& sText, int& iWidth, int& iHeight);
bool readView(const std::string& sText, SView& view);
bool readFinite(const std::string& sText, double& dValue);  // as strtod, all of it; finite
std::string shortest(double dValue);  // the shortest text that reads back to dValue
std::string sizeText(int iWidth, int iHeight);
std::string viewText(const SView& view);

// What the run draws, as a sentence says it: "pattern 3, linear & spiral & swirl", "random flame
// 5, swirl & disc", "flame swirl & disc"; and as a file name says it: "p3", "r5", "f".
std::string drawnPhrase(const SRun& run);
std::string drawnTag(const SRun& run);

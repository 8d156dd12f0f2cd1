#pragma once

// A flame genome: what one <flame> element of a .flame file says about a still picture, with
// flam3's defaults for everything it leaves out. Plain data, copied and compared freely; the
// reader fills it (genome_xml.h), the render draws it (render.h).

#include "variations/variations.h"

#include <array>
#include <string>
#include <vector>

constexpr int iPaletteSize = 256;
constexpr int iMostPixelsPerSide = 16384;
constexpr int iMostSupersample = 16;
constexpr double dMostQuality = 100000;
constexpr double dWidestEstimator = 400;  // estimator_radius × supersample

// The spatial filter's kernels by the name the file gives. Several names select another kernel
// than they say, as flam3 draws them (filter.cpp has the kernel each one uses).
enum EFilterShape {
    eGaussian, eHermite, eBox, eTriangle, eBell, eBspline, eLanczos3, eLanczos2, eMitchell,
    eBlackman, eCatrom, eHamming, eHanning, eQuadratic, eFilterShapeCount
};

enum EPaletteMode { ePaletteStep, ePaletteLinear };

// One palette entry, premultiplied by its alpha: each of the four in [0, 1] for a palette read
// from a file.
struct SColour {
    double dRed = 0, dGreen = 0, dBlue = 0, dAlpha = 0;
    bool operator==(const SColour& other) const;
};

using CPalette = std::array<SColour, iPaletteSize>;

// One transform: colour blend, pre-affine, variations, post-affine.
struct SXform {
    double dWeight = 0;      // chance of being chosen, relative; >= 0; 0 for a final xform
    double dColor = 0;       // colour coordinate it blends toward, usually in [0, 1]
    double dColorSpeed = 0.5;// blend factor s: c' = s·color + (1 − s)·c
    double dOpacity = 1;     // plot weight opacity^(log2 10); the final's: chance it is applied
    std::array<double, 6> coefs = {1, 0, 0, 1, 0, 0};  // A B C D E F: x' = Ax + Cy + E,
    std::array<double, 6> post = {1, 0, 0, 1, 0, 0};   //              y' = Bx + Dy + F
    std::vector<double> vChaos;  // multipliers of the next choice's weights; missing ones are 1
    std::array<double, iVariationCount> variations{};  // each variation's weight, 0 for none
    std::vector<double> parameters = defaultParameters();  // every variation's, variations.h

    bool operator==(const SXform& other) const;
};

struct SGenome {
    std::string sName;               // for file names only
    int    iWidth = 100;             // output pixels, 1 to iMostPixelsPerSide
    int    iHeight = 100;
    double dCenterX = 0;             // world point at the picture's centre, and the rotation's
    double dCenterY = 0;
    double dScale = 50;              // pixels per world unit at zoom 0
    double dZoom = 0;                // scale × 2^zoom, samples × 4^zoom
    double dRotate = 0;              // degrees, clockwise on screen
    int    iSupersample = 1;         // buckets per pixel per axis, 1 to iMostSupersample
    double dFilter = 0.5;            // spatial filter radius in output pixels, >= 0
    EFilterShape eFilterShape = eGaussian;
    double dQuality = 1;             // samples per output pixel, (0, dMostQuality]
    int    iPasses = 1;              // layers of log density averaged, >= 1
    double dBackground[3] = {0, 0, 0};  // red, green, blue in [0, 1]
    double dBrightness = 4;
    double dGamma = 4;
    double dGammaThreshold = 0.01;   // below it the gamma curve turns linear
    double dVibrancy = 1;
    double dHighlightPower = -1;     // negative: off
    double dHue = 0;                 // fmod(hue, 1); turns a library palette only
    int    iPalette = -1;            // number of a library palette, -1 for none
    EPaletteMode ePaletteMode = ePaletteStep;
    double dEstimatorRadius = 9;     // density estimation's widest kernel; 0: off
    double dEstimatorMinimum = 0;    // its narrowest, <= radius
    double dEstimatorCurve = 0.4;    // how fast kernels narrow with density, > 0
    int    iSoloXform = -1;          // >= 0: every other standard xform plots nothing

    std::vector<SXform> vXforms;     // the standard xforms, in the file's order, symmetry's added
    bool   bFinalXform = false;
    SXform finalXform;               // applied to each plotted point, never fed back
    CPalette palette{};              // all (0, 0, 0, 0) when the file gives none

    bool operator==(const SGenome& other) const;
};

// The same framing at another size, as flam3's size scaling does: the picture's width spans the
// same stretch of the world (scale × iWidth ÷ the old width). iHeight 0 keeps the aspect ratio.
SGenome resizedGenome(const SGenome& genome, int iWidth, int iHeight);

// The xforms that <symmetry kind="iKind"/> stands for, as flam3 makes them: for iKind < 0 a
// mirror x → −x first, then the turns by 2πk/|iKind| (k = 1 … |iKind| − 1); each of weight 1,
// colour speed 0, linear 1, its coefs rounded to 6 decimals. Kinds 0 and 1 give none, −1 the
// mirror alone.
std::vector<SXform> symmetryXforms(int iKind);

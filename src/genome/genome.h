#pragma once

// A flame genome: what one <flame> element of a .flame file says about a still picture, with
// flam3's defaults for everything it leaves out. Plain data, copied and compared freely; the
// reader fills it (genome_xml.h), the render draws it (render.h).

#include "base/limits.h"
#include "genome_parts/colour_curves.h"
#include "genome_parts/variation_use.h"
#include "variations/variations.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

constexpr int iPaletteSize = 256;

// The spatial filter's kernels by the name the file gives. Several names select another kernel
// than they say, as flam3 draws them (filter.cpp has the kernel each one uses).
enum EFilterShape {
    eGaussian, eHermite, eBox, eTriangle, eBell, eBspline, eLanczos3, eLanczos2, eMitchell,
    eBlackman, eCatrom, eHamming, eHanning, eQuadratic, eFilterShapeCount
};

enum EPaletteMode { ePaletteStep, ePaletteLinear };

// Whose tone mapping, filter and background draw the flame: flam3's, or JWildfire's for a flame
// JWildfire wrote (tone/jwildfire_tone.h).
enum EToneStyle { eToneFlam3, eToneJwildfire };

// How a flame moves to the next keyframe: on a straight line in time, or on a Catmull-Rom curve
// through its neighbours; how the affine coefs move (by angle and log magnitude, or each number
// alone); how palettes blend; and how a frame's moments weigh in its motion blur.
enum ETimeInterpolation { eTimeLinear, eTimeSmooth };
enum EAffineInterpolation { eAffineLog, eAffineLinear, eAffineOld, eAffineOlder };
enum EPaletteInterpolation { ePaletteHsvCircular, ePaletteHsv, ePaletteRgb, ePaletteSweep };
enum ETemporalFilter { eTemporalBox, eTemporalGaussian, eTemporalExp };

// One palette entry, premultiplied by its alpha: each of the four in [0, 1] for a palette read
// from a file.
struct SColour {
    double dRed = 0, dGreen = 0, dBlue = 0, dAlpha = 0;
    bool operator==(const SColour& other) const;
};

using CPalette = std::array<SColour, iPaletteSize>;

// How a <motion> element swings with a loop's blend b, at x = frequency·b: sin 2πx; a triangle
// wave of the same period, rising first; (1 − cos 2πx)/2, the hill, which only rises and falls
// back. Their names in a file, in this order.
enum EMotionFunction { eMotionSin, eMotionTriangle, eMotionHill };
inline constexpr const char* sMotionFunctionNames[] = {"sin", "triangle", "hill"};

struct SMotion;

// One transform: colour blend, pre-affine, variations, post-affine. Its attributes' defaults,
// and how each is read, written and compared, are their rows in attributes.h.
struct SXform {
    SXform();                // every attribute at its default

    double dWeight;          // chance of being chosen, relative; >= 0; 0 for a final xform
    double dColor;           // colour coordinate it blends toward, usually in [0, 1]
    double dColorSpeed;      // blend factor s: c' = s·color + (1 − s)·c
    double dOpacity;         // plot weight opacity^(log2 10); the final's: chance it is applied
    double dAnimate;         // 0: a loop leaves it unturned; anything else turns it
    double dVarColor;        // of a colour a variation sets, the share kept; [0, 1]
    std::array<double, 6> coefs;  // A B C D E F: x' = Ax + Cy + E,
    std::array<double, 6> post;   //              y' = Bx + Dy + F
    // JWildfire's planes beside them, a₀ … a₅ each (game/xform_apply.h): the pre-affine's
    // (y, z) and (x, z), and the post-affine's.
    std::array<double, 6> yzCoefs, zxCoefs, yzPost, zxPost;
    std::vector<double> vChaos;   // multipliers of the next choice's weights; missing ones are 1
    std::array<double, iVariationCount> variations{};  // each variation's weight, 0 for none
    std::vector<double> parameters = defaultParameters();  // every variation's, variations.h
    std::vector<SVariationUse> vUses;  // pre_ and post_ forms and repeats, in the file's order
    // JWildfire's <name>_fx_priority of a plain variation, each {variation, −1 or 1}: run as a
    // pre_ (−1) or post_ (1) form that adds its part to the point, rather than summed.
    std::vector<std::pair<int, int>> vPriorities;
    std::vector<SMotion> vMotions;     // what loops add to it; a still flame leaves them be

    bool operator==(const SXform& other) const;
};

// A <motion> element of an xform: at a loop's blend b it adds amplitudes × g(iFrequency·b) to
// each of the xform's numbers, g as eFunction says (animation/motion.h).
struct SMotion {
    SMotion();                       // frequency 0, the hill, every amplitude 0

    int             iFrequency;      // swings per loop; 0 keeps still
    EMotionFunction eFunction;
    SXform          amplitudes;      // no chaos, no pre_ or post_ forms, no motions of its own

    bool operator==(const SMotion& other) const;
};

// A flame. Its attributes' defaults, and how each is read, written and compared, are their rows
// in attributes.h.
struct SGenome {
    SGenome();                       // every attribute at its default

    std::string sName;               // for file names only
    int    iWidth;                   // output pixels, 1 to iMostPixelsPerSide
    int    iHeight;
    double dCenterX;                 // world point at the picture's centre, and the rotation's
    double dCenterY;
    double dScale;                   // pixels per world unit at zoom 0
    double dZoom;                    // scale × 2^zoom, samples × 4^zoom
    double dRotate;                  // degrees, clockwise on screen
    int    iSupersample;             // buckets per pixel per axis, 1 to iMostSupersample
    double dFilter;                  // spatial filter radius in output pixels, >= 0
    EFilterShape eFilterShape;
    double dQuality;                 // samples per output pixel, (0, dMostQuality]
    int    iPasses;                  // layers of log density averaged, >= 1
    double dBackground[3];           // red, green, blue in [0, 1]
    double dBrightness;
    double dGamma;
    double dGammaThreshold;          // below it the gamma curve turns linear
    double dVibrancy;
    double dHighlightPower;          // negative: off
    double dHue;                     // fmod(hue, 1); turns a library palette only
    int    iPalette;                 // number of a library palette, -1 for none
    EPaletteMode ePaletteMode;
    double dEstimatorRadius;         // density estimation's widest kernel; 0: off
    double dEstimatorMinimum;        // its narrowest, <= radius
    double dEstimatorCurve;          // how fast kernels narrow with density, > 0
    int    iSoloXform;               // >= 0: every other standard xform plots nothing
    // The editors' camera in three dimensions, before the 2D one (render/camera.h); all 0: none.
    double dCamPitch;                // radians, the turn about x
    double dCamYaw;                  // radians, the turn about z
    double dCamPerspective;          // P: the point's x and y divided by 1 − P·(its depth)
    double dCamZpos;                 // the z that the turns and the perspective measure from
    double dCamDof;                  // depth of field: a tenth of it is the blur per unit depth
    double dCamRoll;                 // JWildfire's: radians, the turn about the screen's vertical
    double dBlurCurve;               // Fractorium's: the blur's growth away from the centre
    CCurves curves;                  // the editors' colour curves; all neutral: none
    int    iRemoveInvalid;           // the Houdini editor's flam3h_rip, 0 or 1: the points it
                                     // drops plot nothing here either
    // JWildfire's tone mapping, used where eToneStyle says (and written only there).
    EToneStyle eToneStyle = eToneFlam3;
    double dContrast;
    double dWhiteLevel;              // colour over alpha goes as 200/white level
    double dLowDensityBrightness;    // the glow that lifts buckets of few hits
    double dBalanceRed, dBalanceGreen, dBalanceBlue;  // gains of each channel
    double dSaturation;              // 1: unchanged; the HSL saturation moves by saturation − 1
    double dFgOpacity;               // above 1 the flame shows the background through
    // Animation: the keyframe's time and how it moves to the next; a frame's motion blur.
    double dTime;
    ETimeInterpolation    eTimeInterpolation;     // of the segment that starts here
    EAffineInterpolation  eAffineInterpolation;
    EPaletteInterpolation ePaletteInterpolation;
    double dHsvRgbPaletteBlend;      // hsv_circular: the share of the blend made in RGB
    int    iTemporalSamples;         // moments a frame is drawn at, spread over its blur
    ETemporalFilter eTemporalFilter; // how the moments weigh
    double dTemporalFilterWidth;     // the blur's span in frames
    double dTemporalFilterExp;       // exp filter: > 0 weighs the end, < 0 the start

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
int symmetryXformCount(int iKind);  // how many that is, without making them

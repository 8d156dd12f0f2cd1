#pragma once

// Every variation's number: its row's place in the table (variations/table.h), flam3's 99 first
// in flam3's own order, then the editors'.

namespace variation {

enum EVariation : int {
    eLinear, eSinusoidal, eSpherical, eSwirl, eHorseshoe, ePolar, eHandkerchief, eHeart, eDisc,
    eSpiral, eHyperbolic, eDiamond, eEx, eJulia, eBent, eWaves, eFisheye, ePopcorn, eExponential,
    ePower, eCosine, eRings, eFan, eBlob, ePdj, eFan2, eRings2, eEyefish, eBubble, eCylinder,
    ePerspective, eNoise, eJulian, eJuliascope, eBlur, eGaussianBlur, eRadialBlur, ePie, eNgon,
    eCurl, eRectangles, eArch, eTangent, eSquare, eRays, eBlade, eSecant2, eTwintrian, eCross,
    eDisc2, eSuperShape, eFlower, eConic, eParabola, eBent2, eBipolar, eBoarders, eButterfly,
    eCell, eCpow, eCurve, eEdisc, eElliptic, eEscher, eFoci, eLazysusan, eLoonie,
    ePreBlur, eModulus, eOscilloscope, ePolar2, ePopcorn2, eScry, eSeparation, eSplit, eSplits,
    eStripes, eWedge, eWedgeJulia, eWedgeSph, eWhorl, eWaves2,
    eExp, eLog, eSin, eCos, eTan, eSec, eCsc, eCot, eSinh, eCosh, eTanh, eSech, eCsch, eCoth,
    eAuger, eFlux, eMobius,
    // The editors' three dimensions (space.h) and plugins (plugins.h).
    eLinear3D, eSpherical3D, eBlur3D, eJulia3D, eJulia3Dz, eHemisphere, eCurl3D, eBlob3D,
    eFlatten, eZscale, eZtranslate, eZcone, eZblur, eRotateX, eRotateY,
    eEditorsMobius, eBwraps, eBoarders2, eSineblur, eBlurCircle, eJuliac, eAxisSymmetry,
    ePointSymmetry,
    // JWildfire's (wildfire.h).
    eHypertile1, ePoincare3D, eAffine3D, eEpispiral, eBlurLinear, eWaffle, eWaves2In3D,
    eWaves2b, eYinYang, eTileLog, eEpispiralWf, eTwoface, eBlurZoom, eUnpolar, eSpirograph,
    eBubble2, eCannabisCurve, eCloverleaf,
    eCount
};

}  // namespace variation

constexpr int iVariationCount = variation::eCount;

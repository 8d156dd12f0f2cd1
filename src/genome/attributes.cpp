#include "genome/attributes.h"

#include "base/number_text.h"
#include "genome/attribute_rows.h"
#include "genome/filter.h"
#include "genome/genome.h"
#include "genome_parts/colour_curves.h"
#include "genome_parts/numbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <type_traits>

namespace {

using namespace attribute_rows;

constexpr const char* sTimeInterpolations[] = {"linear", "smooth"};
constexpr const char* sAffineInterpolations[] = {"log", "linear", "old", "older"};
constexpr const char* sPaletteInterpolations[] = {"hsv_circular", "hsv", "rgb", "sweep"};
constexpr const char* sTemporalFilters[] = {"box", "gaussian", "exp"};

// How the flame moves from this keyframe to the next, and how a frame is blurred in time.
std::vector<SAttribute<SGenome>> animationRows() {
    return {
        ifChanged(number<&SGenome::dTime>("time", "0", eFromFirst)),
        ifChanged(choice<&SGenome::eTimeInterpolation, sTimeInterpolations, 2>("interpolation")),
        ifChanged(choice<&SGenome::eAffineInterpolation, sAffineInterpolations, 4>(
            "interpolation_type")),
        ifChanged(choice<&SGenome::ePaletteInterpolation, sPaletteInterpolations, 4>(
            "palette_interpolation")),
        ifChanged(number<&SGenome::dHsvRgbPaletteBlend>("hsv_rgb_palette_blend", "0", eBlend)),
        ifChanged(single<&SGenome::iTemporalSamples, readWholeValue>(
            "temporal_samples", "1000", "a whole number", eBlendRounded)),
        ifChanged(choice<&SGenome::eTemporalFilter, sTemporalFilters, 3>(
            "temporal_filter_type")),
        ifChanged(number<&SGenome::dTemporalFilterWidth>("temporal_filter_width", "1", eBlend)),
        ifChanged(number<&SGenome::dTemporalFilterExp>("temporal_filter_exp", "0", eBlend)),
        // flam3's other name of interpolation_type.
        oldForm<SGenome>("interpolation_space", "", [](const char* sText, SGenome& genome) {
            return flameAttribute("interpolation_type")->pfRead(sText, genome);
        }),
    };
}

// The picture's size: two whole numbers, which may be written as reals ("640.0").
SAttribute<SGenome> size() {
    return {"size", "100 100", "two whole numbers", eBlendRounded,
            [](const char* sText, SGenome& genome) {
                double dSize[2];
                if (!readNumbers(sText, 2, dSize)) return false;
                for (double d : dSize)
                    if (d != std::trunc(d) || !(std::fabs(d) < 1e9)) return false;
                genome.iWidth = static_cast<int>(dSize[0]);
                genome.iHeight = static_cast<int>(dSize[1]);
                return true;
            },
            [](const SGenome& genome, std::string& sText) {
                const double dSize[2] = {static_cast<double>(genome.iWidth),
                                         static_cast<double>(genome.iHeight)};
                sText = numbersText(dSize, 2);
                return true;
            },
            [](const SGenome& one, const SGenome& other) {
                return one.iWidth == other.iWidth && one.iHeight == other.iHeight;
            },
            true,
            [](const SGenome* const* pKeys, const double* pWeights, int iKeys,
               EInterpolation eInterpolation, SGenome& out) {
                blendMember<&SGenome::iWidth>(pKeys, pWeights, iKeys, eInterpolation, out);
                blendMember<&SGenome::iHeight>(pKeys, pWeights, iKeys, eInterpolation, out);
            }};
}

// One of the colour curves, its knots as x y pairs. The four are written only where one of them
// is not neutral: a flame without curves is written as before there were any.
template <int iCurve>
SAttribute<SGenome> colourCurve(const char* sName) {
    return {sName, "0 0 0.25 0.25 0.5 0.5 0.75 0.75 1 1",
            "pairs of numbers x y, at least two, no two of the same x", eFromFirst,
            [](const char* sText, SGenome& genome) {
                return readCurve(sText, genome.curves[iCurve]);
            },
            [](const SGenome& genome, std::string& sText) {
                sText = curveText(genome.curves[iCurve]);
                return !curvesOff(genome.curves);
            },
            [](const SGenome& one, const SGenome& other) {
                return one.curves[iCurve] == other.curves[iCurve];
            }};
}

// The Houdini editor's switch to drop the points that are not finite, far away or of an xform
// of opacity 0: none of them is drawn here anyway. Written only where it is on.
SAttribute<SGenome> removeInvalid() {
    return {"flam3h_rip", "0", "0 or 1", eFromFirst,
            [](const char* sText, SGenome& genome) {
                return readInteger(sText, genome.iRemoveInvalid) &&
                       (genome.iRemoveInvalid == 0 || genome.iRemoveInvalid == 1);
            },
            [](const SGenome& genome, std::string& sText) {
                sText = shortest(genome.iRemoveInvalid);
                return genome.iRemoveInvalid != 0;
            },
            sameMember<&SGenome::iRemoveInvalid>};
}

// Who wrote the flame, as far as it decides how it is drawn: a JWildfire version marks a
// JWildfire flame, and only such a flame is written with one. Any other version changes nothing.
SAttribute<SGenome> version() {
    return {"version", "", "", eFromFirst,
            [](const char* sText, SGenome& genome) {
                if (isJwildfireVersion(sText)) genome.eToneStyle = eToneJwildfire;
                return true;
            },
            [](const SGenome& genome, std::string& sText) {
                sText = "JWildfire";
                return genome.eToneStyle == eToneJwildfire;
            },
            sameMember<&SGenome::eToneStyle>};
}

// JWildfire's tone mapping, with JWildfire's defaults.
std::vector<SAttribute<SGenome>> jwildfireRows() {
    return {
        jwildfireOnly(number<&SGenome::dContrast>("contrast", "1", eBlend)),
        jwildfireOnly(number<&SGenome::dWhiteLevel>("white_level", "220", eBlend)),
        jwildfireOnly(number<&SGenome::dLowDensityBrightness>("low_density_brightness", "0.24",
                                                             eBlend)),
        jwildfireOnly(number<&SGenome::dBalanceRed>("balancing_red", "1", eBlend)),
        jwildfireOnly(number<&SGenome::dBalanceGreen>("balancing_green", "1", eBlend)),
        jwildfireOnly(number<&SGenome::dBalanceBlue>("balancing_blue", "1", eBlend)),
        jwildfireOnly(number<&SGenome::dSaturation>("saturation", "1", eBlend)),
        jwildfireOnly(number<&SGenome::dFgOpacity>("fg_opacity", "1", eBlend)),
    };
}

std::vector<SAttribute<SGenome>> flameRows() {
    std::vector<SAttribute<SGenome>> vRows = {
        {"name", "", "", eFromFirst,
         [](const char* sText, SGenome& genome) {
             genome.sName = sText;
             return true;
         },
         [](const SGenome& genome, std::string& sText) {
             sText = genome.sName;
             return true;
         },
         sameMember<&SGenome::sName>},
        size(),
        numberPair<&SGenome::dCenterX, &SGenome::dCenterY>("center", "0 0", eBlend),
        number<&SGenome::dScale>("scale", "50", eBlend),
        number<&SGenome::dZoom>("zoom", "0", eBlend),
        number<&SGenome::dRotate>("rotate", "0", eBlend),
        whole<&SGenome::iSupersample>("supersample", "1", eBlendRounded),
        number<&SGenome::dFilter>("filter", "0.5", eBlend),
        // A shape flam3 does not know is its default, as flam3 draws it.
        {"filter_shape", "gaussian", "", eFromFirst,
         [](const char* sText, SGenome& genome) {
             if (!filterShapeByName(sText, genome.eFilterShape)) genome.eFilterShape = eGaussian;
             return true;
         },
         [](const SGenome& genome, std::string& sText) {
             sText = filterShapeName(genome.eFilterShape);
             return true;
         },
         sameMember<&SGenome::eFilterShape>},
        number<&SGenome::dQuality>("quality", "1", eBlend),
        whole<&SGenome::iPasses>("passes", "1", eBlendRounded),
        numbers<&SGenome::dBackground>("background", "0 0 0", "three finite numbers", eBlend),
        number<&SGenome::dBrightness>("brightness", "4", eBlend),
        number<&SGenome::dGamma>("gamma", "4", eBlend),
        number<&SGenome::dGammaThreshold>("gamma_threshold", "0.01", eBlend),
        number<&SGenome::dVibrancy>("vibrancy", "1", eBlend),
        number<&SGenome::dHighlightPower>("highlight_power", "-1", eBlend),
        number<&SGenome::dHue>("hue", "0", eBlend),
        // Written only where there is one: -1 stands for none.
        {"palette", "-1", "a whole number", eFromFirst,
         [](const char* sText, SGenome& genome) { return readInteger(sText, genome.iPalette); },
         [](const SGenome& genome, std::string& sText) {
             sText = shortest(genome.iPalette);
             return genome.iPalette >= 0;
         },
         sameMember<&SGenome::iPalette>},
        // Anything but linear is step, as flam3 reads it.
        {"palette_mode", "step", "", eFromFirst,
         [](const char* sText, SGenome& genome) {
             genome.ePaletteMode = std::strcmp(sText, "linear") == 0 ? ePaletteLinear
                                                                     : ePaletteStep;
             return true;
         },
         [](const SGenome& genome, std::string& sText) {
             sText = genome.ePaletteMode == ePaletteLinear ? "linear" : "step";
             return true;
         },
         sameMember<&SGenome::ePaletteMode>},
        number<&SGenome::dEstimatorRadius>("estimator_radius", "9", eBlend),
        number<&SGenome::dEstimatorMinimum>("estimator_minimum", "0", eBlend),
        number<&SGenome::dEstimatorCurve>("estimator_curve", "0.4", eBlend),
        whole<&SGenome::iSoloXform>("soloxform", "-1", eFromFirst),
        numberUnlessZero<&SGenome::dCamPitch>("cam_pitch", eBlend),
        numberUnlessZero<&SGenome::dCamYaw>("cam_yaw", eBlend),
        numberUnlessZero<&SGenome::dCamPerspective>("cam_persp", eBlend),
        numberUnlessZero<&SGenome::dCamZpos>("cam_zpos", eBlend),
        numberUnlessZero<&SGenome::dCamDof>("cam_dof", eBlend),
        numberUnlessZero<&SGenome::dCamRoll>("cam_roll", eBlend),
        numberUnlessZero<&SGenome::dBlurCurve>("blur_curve", eBlend),
        colourCurve<0>("overall_curve"),
        colourCurve<1>("red_curve"),
        colourCurve<2>("green_curve"),
        colourCurve<3>("blue_curve"),
        removeInvalid(),
        oldForm<SGenome>("oversample", "a whole number", [](const char* sText, SGenome& genome) {
            return readInteger(sText, genome.iSupersample);
        }),
        // The older form of the four curves, points with weights the spline does not use; the
        // curves read after it, as the editors write them, take its place.
        oldForm<SGenome>("curves", "48 numbers, four curves of four points x y weight",
                         [](const char* sText, SGenome& genome) {
                             return readOldCurves(sText, genome.curves);
                         }),
        // Apophysis's name of cam_persp.
        oldForm<SGenome>("cam_perspective", "a finite number",
                         [](const char* sText, SGenome& genome) {
                             return readNumber(sText, genome.dCamPerspective);
                         }),
    };
    vRows.push_back(version());
    for (const SAttribute<SGenome>& row : jwildfireRows()) vRows.push_back(row);
    for (const SAttribute<SGenome>& row : animationRows()) vRows.push_back(row);
    return vRows;
}

// The chaos rows blended entry by entry, each at least 0; an entry a keyframe lacks counts as 1.
void blendChaos(const SXform* const* pKeys, const double* pWeights, int iKeys,
                EInterpolation eInterpolation, SXform& out) {
    size_t uLongest = 0;
    for (int k = 0; k < iKeys; k++) uLongest = std::max(uLongest, pKeys[k]->vChaos.size());
    out.vChaos.resize(uLongest);
    for (size_t j = 0; j < uLongest; j++)
        out.vChaos[j] = blendedValue<double>(pWeights, iKeys, eInterpolation, [&](int k) {
            return j < pKeys[k]->vChaos.size() ? pKeys[k]->vChaos[j] : 1.0;
        });
}

// The multipliers of the next choice's weights; written only where there are any. They do not
// move in a loop: flam3 refuses a <motion> that holds them.
SAttribute<SXform> chaos() {
    return unmoving<SXform>(
        {"chaos", "", "a list of finite numbers", eBlendNonNegative,
         [](const char* sText, SXform& xform) { return readNumberList(sText, xform.vChaos); },
         [](const SXform& xform, std::string& sText) {
             sText = numbersText(xform.vChaos.data(), static_cast<int>(xform.vChaos.size()));
             return !xform.vChaos.empty();
         },
         sameMember<&SXform::vChaos>, true, blendChaos});
}

// How much of a colour its variations set the xform keeps, clamped into [0, 1] as the editors
// clamp it; written only where it is not 1, which keeps the blended colour as it was.
SAttribute<SXform> varColor() {
    SAttribute<SXform> row = number<&SXform::dVarColor>("var_color", "1", eBlendWithinUnit);
    row.pfRead = [](const char* sText, SXform& xform) {
        if (!readNumber(sText, xform.dVarColor)) return false;
        xform.dVarColor = std::clamp(xform.dVarColor, 0.0, 1.0);
        return true;
    };
    row.pfWrite = [](const SXform& xform, std::string& sText) {
        sText = shortest(xform.dVarColor);
        return xform.dVarColor != 1;
    };
    return row;
}

std::vector<SAttribute<SXform>> xformRows() {
    SAttribute<SXform> weight = number<&SXform::dWeight>("weight", "0", eBlendNonNegative);
    weight.bInFinal = false;  // a final xform is never chosen: its weight is 0
    return {
        weight,
        // A second number, from old files, is not used.
        {"color", "0", "one or two finite numbers", eBlendWithinUnit,
         [](const char* sText, SXform& xform) {
             std::vector<double> vColor;
             if (!readNumberList(sText, vColor) || vColor.empty() || vColor.size() > 2)
                 return false;
             xform.dColor = vColor[0];
             return true;
         },
         [](const SXform& xform, std::string& sText) {
             sText = shortest(xform.dColor);
             return true;
         },
         sameMember<&SXform::dColor>, true, blendMember<&SXform::dColor>},
        number<&SXform::dColorSpeed>("color_speed", "0.5", eBlendWithinUnit),
        number<&SXform::dOpacity>("opacity", "1", eBlend),
        numbers<&SXform::coefs>("coefs", "1 0 0 1 0 0", "six finite numbers", eBlendAffine),
        numbers<&SXform::post>("post", "1 0 0 1 0 0", "six finite numbers", eBlendAffine),
        ifChanged(numbers<&SXform::yzCoefs>("yzCoefs", "1 0 0 1 0 0", "six finite numbers",
                                            eBlend)),
        ifChanged(numbers<&SXform::zxCoefs>("zxCoefs", "1 0 0 1 0 0", "six finite numbers",
                                            eBlend)),
        ifChanged(numbers<&SXform::yzPost>("yzPost", "1 0 0 1 0 0", "six finite numbers",
                                           eBlend)),
        ifChanged(numbers<&SXform::zxPost>("zxPost", "1 0 0 1 0 0", "six finite numbers",
                                           eBlend)),
        chaos(),
        ifChanged(number<&SXform::dAnimate>("animate", "1", eBlend)),
        unmoving(varColor()),
        oldForm<SXform>("symmetry", "a finite number", [](const char* sText, SXform& xform) {
            double dSymmetry;  // the colour speed's old name and scale; a symmetry stays still
            if (!readNumber(sText, dSymmetry)) return false;
            xform.dColorSpeed = (1 - dSymmetry) / 2;
            xform.dAnimate = dSymmetry > 0 ? 0 : 1;
            return true;
        }),
        unmoving(oldForm<SXform>("plotmode", "", [](const char* sText, SXform& xform) {
            if (std::strcmp(sText, "off") == 0) xform.dOpacity = 0;
            return true;
        })),
    };
}

template <class TOwner>
const SAttribute<TOwner>* rowNamed(const std::vector<SAttribute<TOwner>>& vRows,
                                   const char* sName) {
    for (const SAttribute<TOwner>& row : vRows)
        if (std::strcmp(row.sName, sName) == 0) return &row;
    return nullptr;
}

template <class TOwner>
void readDefaults(const std::vector<SAttribute<TOwner>>& vRows, TOwner& owner) {
    for (const SAttribute<TOwner>& row : vRows)
        if (row.sDefault) row.pfRead(row.sDefault, owner);
}

}  // namespace

double blendFinished(double dSum, EInterpolation eInterpolation) {
    switch (eInterpolation) {
    case eBlendNonNegative: return std::max(0.0, dSum);
    case eBlendWithinUnit: return std::clamp(dSum, 0.0, 1.0);
    default: return dSum;
    }
}

const std::vector<SAttribute<SGenome>>& flameAttributes() {
    static const std::vector<SAttribute<SGenome>> vRows = flameRows();
    return vRows;
}

const std::vector<SAttribute<SXform>>& xformAttributes() {
    static const std::vector<SAttribute<SXform>> vRows = xformRows();
    return vRows;
}

const SAttribute<SGenome>* flameAttribute(const char* sName) {
    return rowNamed(flameAttributes(), sName);
}

const SAttribute<SXform>* xformAttribute(const char* sName) {
    return rowNamed(xformAttributes(), sName);
}

bool isJwildfireVersion(const char* sVersion) {
    if (std::strncmp(sVersion, "JWildfire", 9) == 0) return true;
    int iDay, iMonth, iYear, iEnd = 0;
    double dRelease;
    return std::sscanf(sVersion, "%lf (%2d.%2d.%4d)%n", &dRelease, &iDay, &iMonth, &iYear,
                       &iEnd) == 4 &&
           sVersion[iEnd] == '\0' && iDay >= 1 && iDay <= 31 && iMonth >= 1 && iMonth <= 12;
}

bool writtenFor(const SAttribute<SGenome>& row, const SGenome& genome) {
    return !row.bJwildfire || genome.eToneStyle == eToneJwildfire;
}

bool writtenFor(const SAttribute<SXform>& row, const SXform&) { return !row.bJwildfire; }

void setDefaults(SGenome& genome) { readDefaults(flameAttributes(), genome); }

void setDefaults(SXform& xform) { readDefaults(xformAttributes(), xform); }

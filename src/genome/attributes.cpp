#include "genome/attributes.h"

#include "genome/filter.h"
#include "genome/genome.h"
#include "genome/numbers.h"
#include "text/text_forms.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <iterator>

namespace {

// The owner and value type of a pointer to member.
template <class> struct SMemberOf;
template <class TValue, class TOwner> struct SMemberOf<TValue TOwner::*> {
    using Owner = TOwner;
    using Value = TValue;
};
template <auto pMember> using OwnerOf = typename SMemberOf<decltype(pMember)>::Owner;

// How many numbers an array member holds.
template <class> struct SCount;
template <class T, std::size_t N> struct SCount<T[N]> { static constexpr int i = N; };
template <class T, std::size_t N> struct SCount<std::array<T, N>> { static constexpr int i = N; };
template <auto pMember>
constexpr int iCountOf = SCount<typename SMemberOf<decltype(pMember)>::Value>::i;

template <auto pMember>
bool sameMember(const OwnerOf<pMember>& one, const OwnerOf<pMember>& other) {
    return one.*pMember == other.*pMember;
}

// One value, read by pfReadText; written in the shortest form that reads back the same.
template <auto pMember, auto pfReadText>
SAttribute<OwnerOf<pMember>> single(const char* sName, const char* sDefault,
                                    const char* sExpected, EInterpolation eInterpolation) {
    using TOwner = OwnerOf<pMember>;
    return {sName, sDefault, sExpected, eInterpolation,
            [](const char* sText, TOwner& owner) { return pfReadText(sText, owner.*pMember); },
            [](const TOwner& owner, std::string& sText) {
                sText = shortest(owner.*pMember);
                return true;
            },
            sameMember<pMember>};
}

template <auto pMember>
SAttribute<OwnerOf<pMember>> number(const char* sName, const char* sDefault,
                                    EInterpolation eInterpolation) {
    return single<pMember, readNumber>(sName, sDefault, "a finite number", eInterpolation);
}

template <auto pMember>
SAttribute<OwnerOf<pMember>> whole(const char* sName, const char* sDefault,
                                   EInterpolation eInterpolation) {
    return single<pMember, readInteger>(sName, sDefault, "a whole number", eInterpolation);
}

// Several numbers in one attribute, kept in an array member.
template <auto pMember>
SAttribute<OwnerOf<pMember>> numbers(const char* sName, const char* sDefault,
                                     const char* sExpected, EInterpolation eInterpolation) {
    using TOwner = OwnerOf<pMember>;
    constexpr int iCount = iCountOf<pMember>;
    return {sName, sDefault, sExpected, eInterpolation,
            [](const char* sText, TOwner& owner) {
                return readNumbers(sText, iCount, std::data(owner.*pMember));
            },
            [](const TOwner& owner, std::string& sText) {
                sText = numbersText(std::data(owner.*pMember), iCount);
                return true;
            },
            [](const TOwner& one, const TOwner& other) {
                return std::equal(std::begin(one.*pMember), std::end(one.*pMember),
                                  std::begin(other.*pMember));
            }};
}

// A number written only where it is not 0: a flame without it is written as before there was
// such an attribute.
template <auto pMember>
SAttribute<OwnerOf<pMember>> numberUnlessZero(const char* sName, EInterpolation eInterpolation) {
    using TOwner = OwnerOf<pMember>;
    SAttribute<TOwner> row = number<pMember>(sName, "0", eInterpolation);
    row.pfWrite = [](const TOwner& owner, std::string& sText) {
        sText = shortest(owner.*pMember);
        return owner.*pMember != 0;
    };
    return row;
}

// An old name of an attribute, read and never written.
template <class TOwner>
SAttribute<TOwner> oldForm(const char* sName, const char* sExpected,
                           bool (*pfRead)(const char* sText, TOwner& owner)) {
    return {sName, nullptr, sExpected, eFromFirst, pfRead, nullptr, nullptr};
}

// Two numbers in one attribute, kept in two members.
template <auto pFirst, auto pSecond>
SAttribute<OwnerOf<pFirst>> numberPair(const char* sName, const char* sDefault,
                                       EInterpolation eInterpolation) {
    using TOwner = OwnerOf<pFirst>;
    return {sName, sDefault, "two finite numbers", eInterpolation,
            [](const char* sText, TOwner& owner) {
                double dPair[2];
                if (!readNumbers(sText, 2, dPair)) return false;
                owner.*pFirst = dPair[0];
                owner.*pSecond = dPair[1];
                return true;
            },
            [](const TOwner& owner, std::string& sText) {
                const double dPair[2] = {owner.*pFirst, owner.*pSecond};
                sText = numbersText(dPair, 2);
                return true;
            },
            [](const TOwner& one, const TOwner& other) {
                return one.*pFirst == other.*pFirst && one.*pSecond == other.*pSecond;
            }};
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
            }};
}

std::vector<SAttribute<SGenome>> flameRows() {
    return {
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
        numberUnlessZero<&SGenome::dBlurCurve>("blur_curve", eBlend),
        oldForm<SGenome>("oversample", "a whole number", [](const char* sText, SGenome& genome) {
            return readInteger(sText, genome.iSupersample);
        }),
        // Apophysis's name of cam_persp.
        oldForm<SGenome>("cam_perspective", "a finite number",
                         [](const char* sText, SGenome& genome) {
                             return readNumber(sText, genome.dCamPerspective);
                         }),
    };
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
         sameMember<&SXform::dColor>},
        number<&SXform::dColorSpeed>("color_speed", "0.5", eBlendWithinUnit),
        number<&SXform::dOpacity>("opacity", "1", eBlend),
        numbers<&SXform::coefs>("coefs", "1 0 0 1 0 0", "six finite numbers", eBlendAffine),
        numbers<&SXform::post>("post", "1 0 0 1 0 0", "six finite numbers", eBlendAffine),
        // The multipliers of the next choice's weights; written only where there are any.
        {"chaos", "", "a list of finite numbers", eBlendNonNegative,
         [](const char* sText, SXform& xform) { return readNumberList(sText, xform.vChaos); },
         [](const SXform& xform, std::string& sText) {
             sText = numbersText(xform.vChaos.data(), static_cast<int>(xform.vChaos.size()));
             return !xform.vChaos.empty();
         },
         sameMember<&SXform::vChaos>},
        oldForm<SXform>("symmetry", "a finite number", [](const char* sText, SXform& xform) {
            double dSymmetry;  // the colour speed's old name and scale
            if (!readNumber(sText, dSymmetry)) return false;
            xform.dColorSpeed = (1 - dSymmetry) / 2;
            return true;
        }),
        oldForm<SXform>("plotmode", "", [](const char* sText, SXform& xform) {
            if (std::strcmp(sText, "off") == 0) xform.dOpacity = 0;
            return true;
        }),
        oldForm<SXform>("animate", "", [](const char*, SXform&) { return true; }),
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

void setDefaults(SGenome& genome) { readDefaults(flameAttributes(), genome); }

void setDefaults(SXform& xform) { readDefaults(xformAttributes(), xform); }

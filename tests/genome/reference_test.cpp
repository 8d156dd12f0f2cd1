// Our pictures against flam3-render's: every kind of genome element, compared by SSIM with the
// distance between two of flam3's own renders at different seeds, and drawn by flam3 again
// once written by us; and the deterministic parts of the tone mapping, compared by mean level
// on flames that fill the frame evenly.

#include "reference_support.h"

#include "xml/genome_xml.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

// Three xforms with a little of everything: affine, smooth and singular variations.
const std::string sXforms =
    R"(<xform weight="0.5" color="0" linear="0.6" swirl="0.4" coefs="0.6 0.3 -0.3 0.6 0.2 0.1"/>
       <xform weight="0.3" color="1" spherical="0.8" julia="0.2"
              coefs="0.5 -0.2 0.2 0.5 -0.4 0.3"/>
       <xform weight="0.2" color="0.5" sinusoidal="1" coefs="0.9 0 0 0.9 0 0"/>)";

std::string flame(const std::string& sAttributes, const std::string& sBody,
                  int iQuality = 40) {
    return "<flame size=\"128 128\" scale=\"40\" quality=\"" + std::to_string(iQuality) +
           "\" " + sAttributes + ">" + sBody + "</flame>";
}

struct SCase {
    const char* sName;
    std::string sXml;
};

std::vector<SCase> cases() {
    const std::string sLib = "palette=\"5\"";
    return {
        {"library palette turned in hue", flame("palette=\"23\" hue=\"0.3\"", sXforms)},
        {"<color> entries filled in", flame("", sXforms +
            R"(<color index="0" rgb="255 0 0"/><color index="128" rgb="0 255 0" a="128"/>
               <color index="200" rgb="40 80 255"/>)")},
        {"<colors>", flame("", sXforms +
            R"(<colors count="4" data="00ff2000 0020ff00 000040ff 00ffffff"/>)")},
        {"<palette> RGBA", flame("", sXforms +
            R"(<palette count="3" format="RGBA">FF0000FF 00FF0080 2020FFFF</palette>)")},
        {"final xform", flame(sLib, sXforms +
            R"(<finalxform color="0.9" spherical="0.7" linear="0.3" coefs="1 0.2 -0.2 1 0 0"/>)")},
        {"final xform opacity", flame(sLib, sXforms +
            R"(<finalxform color="0.9" opacity="0.5" spherical="1"/>)")},
        {"post", flame(sLib,
            R"(<xform weight="0.5" color="0" linear="1" coefs="0.6 0.3 -0.3 0.6 0.2 0.1"
                      post="0.9 0.3 -0.3 0.9 0.1 -0.2"/>
               <xform weight="0.5" color="1" spherical="1" coefs="0.5 0 0 0.5 0.3 0"
                      post="1 0 0.4 1 0 0"/>)")},
        {"symmetry 3", flame(sLib, sXforms + "<symmetry kind=\"3\"/>")},
        {"symmetry -2", flame(sLib, "<symmetry kind=\"-2\"/>" + sXforms)},
        {"chaos", flame(sLib,
            R"(<xform weight="0.5" color="0" linear="0.6" swirl="0.4" chaos="0 1 1"
                      coefs="0.6 0.3 -0.3 0.6 0.2 0.1"/>
               <xform weight="0.3" color="1" spherical="0.8" chaos="1 0 3"
                      coefs="0.5 -0.2 0.2 0.5 -0.4 0.3"/>
               <xform weight="0.2" color="0.5" sinusoidal="1" chaos="2 1 0"
                      coefs="0.9 0 0 0.9 0 0"/>)")},
        {"opacity", flame(sLib,
            R"(<xform weight="0.5" color="0" linear="1" coefs="0.5 0 0 0.5 -0.5 0"/>
               <xform weight="0.5" color="1" opacity="0.5" linear="1"
                      coefs="0.5 0 0 0.5 0.5 0"/>)")},
        {"random variations", flame(sLib,
            R"(<xform weight="0.3" color="0" julian="0.7" noise="0.3" julian_power="3"
                      julian_dist="0.5" coefs="0.7 0.1 -0.1 0.7 0.3 0"/>
               <xform weight="0.3" color="1" pie="0.5" radial_blur="0.5" pie_slices="5"
                      radial_blur_angle="0.3" coefs="0.6 0 0 0.6 -0.2 0.2"/>
               <xform weight="0.4" color="0.5" gaussian_blur="0.3" juliascope="0.4" blade="0.3"
                      juliascope_power="2" coefs="0.8 0.2 0.1 0.7 0 -0.3"/>)")},
        {"supersample 2", flame(sLib + " supersample=\"2\"", sXforms)},
        {"estimation off", flame(sLib + " estimator_radius=\"0\"", sXforms)},
        {"filter bspline 1", flame(sLib + " filter_shape=\"bspline\" filter=\"1\"", sXforms)},
        // Negative lobes: flam3 outlines the flame where they make a channel negative. The
        // outline is a line of single pixels, noisy at low quality: a higher one here.
        {"filter mitchell 1.3", flame(sLib + " filter_shape=\"mitchell\" filter=\"1.3\"",
                                      sXforms, 400)},
        {"estimator minimum, curve", flame(sLib + " estimator_minimum=\"2\" "
                                           "estimator_radius=\"7\" estimator_curve=\"0.8\"",
                                           sXforms)},
        {"supersample 3", flame(sLib + " supersample=\"3\"", sXforms)},
        {"supersample 4, estimator 4", flame(sLib + " supersample=\"4\" "
                                             "estimator_radius=\"4\"", sXforms)},
        {"background", flame(sLib + " background=\"0.2 0.3 0.6\"", sXforms)},
        {"gamma threshold", flame(sLib + " gamma_threshold=\"0.3\"", sXforms)},
        {"vibrancy", flame(sLib + " vibrancy=\"0.3\"", sXforms)},
        {"highlight power", flame(sLib + " highlight_power=\"1\" brightness=\"30\"", sXforms)},
        {"rotate", flame(sLib + " rotate=\"30\"", sXforms)},
        {"zoom", flame(sLib + " zoom=\"1\" center=\"0.3 0.1\"", sXforms)},
        {"linear palette", flame(sLib + " palette_mode=\"linear\"", sXforms)},
        {"passes 2", flame(sLib + " passes=\"2\"", sXforms)},
        {"soloxform", flame(sLib + " soloxform=\"1\"", sXforms)},
        {"flam3-genome", fileText(GENOME_TEST_DATA "/small.flame")},
    };
}

// Ours at seed 1 must be as close to flam3's at seed 1 as flam3's at seed 2 is, give or take;
// and what this program writes of the genome, flam3 must draw as it drew the original (the same
// picture where the xforms come in the same order, else as close as its other seed).
constexpr double dSsimMargin = 0.02;

TEST(ReferenceRenderTest, EveryKindOfElementLooksAsFlam3DrawsItAlsoOnceWritten) {
    ASSERT_FALSE(referenceRenderer().empty())
        << "no flam3-render: scripts/install-deps.sh installs flam3-utils";
    for (const SCase& example : cases()) {
        std::string sError;
        const SPicture ours = renderOurs(example.sXml, 1, 2, sError);
        ASSERT_FALSE(ours.vRgb.empty()) << example.sName << ": " << sError;
        const SPicture first = renderReference(example.sXml, "1", sError);
        const SPicture second = renderReference(example.sXml, "2", sError);
        ASSERT_FALSE(first.vRgb.empty() || second.vRgb.empty()) << example.sName << ": " << sError;
        const double dOurs = lumaSsim(ours, first), dTheirs = lumaSsim(first, second);
        std::printf("%-32s SSIM ours %.4f, flam3's two seeds %.4f\n", example.sName, dOurs,
                    dTheirs);
        EXPECT_GE(dOurs, dTheirs - dSsimMargin) << example.sName;

        std::vector<SGenome> vGenomes;
        ASSERT_TRUE(readGenomes(example.sXml, vGenomes, sError)) << example.sName << sError;
        const SPicture written = renderReference(genomeXml(vGenomes[0]), "1", sError);
        ASSERT_FALSE(written.vRgb.empty()) << example.sName << ", written: " << sError;
        if (written.vRgb != first.vRgb) {
            EXPECT_GE(lumaSsim(written, first), dTheirs - dSsimMargin) << example.sName;
        }
    }
}

// A square filled evenly, one colour at full alpha: flam3's tone curve is deterministic there,
// so the mean levels must agree to a fraction of a step. Brightness 1 and gamma 1 unless
// sAttributes says otherwise.
std::string evenSquare(std::string sAttributes, const char* sRgb) {
    if (sAttributes.find("brightness") == std::string::npos) sAttributes += " brightness=\"1\"";
    if (sAttributes.find("gamma=") == std::string::npos) sAttributes += " gamma=\"1\"";
    std::string sBody;
    for (const char* sShift : {"0 0", "0.5 0", "0 0.5", "0.5 0.5"})
        sBody += std::string("<xform weight=\"1\" linear=\"1\" coefs=\"0.5 0 0 0.5 ") + sShift +
                 "\"/>";
    for (int i = 0; i < 256; i++)
        sBody += "<color index=\"" + std::to_string(i) + "\" rgb=\"" + sRgb + "\"/>";
    return "<flame size=\"64 64\" center=\"0.5 0.5\" scale=\"64\" quality=\"200\" " +
           sAttributes + ">" + sBody + "</flame>";
}

TEST(ReferenceRenderTest, EvenSquaresHaveFlam3sMeanLevels) {
    ASSERT_FALSE(referenceRenderer().empty())
        << "no flam3-render: scripts/install-deps.sh installs flam3-utils";
    // Past white with highlight_power >= 0 the largest channel is exactly 255 before it is
    // truncated; flam3's float arithmetic makes most of those 254: a step allowed there.
    const std::string sPastWhite = "brightness=\"3\" highlight_power=";
    const struct {
        const char* sName;
        std::string sXml;
        double dTolerance = 0.25;
    } squares[] = {
        {"estimation off", evenSquare("estimator_radius=\"0\"", "255 0 0")},
        {"estimation on", evenSquare("", "255 0 0")},
        {"gamma 2", evenSquare("gamma=\"2\" estimator_radius=\"0\"", "255 0 0")},
        {"gamma threshold 1", evenSquare("gamma_threshold=\"1\" gamma=\"2\"", "255 0 0")},
        {"vibrancy 0.5", evenSquare("vibrancy=\"0.5\" gamma=\"2\"", "255 0 0")},
        {"background blue", evenSquare("background=\"0 0 1\" gamma=\"3\"", "255 0 0")},
        {"highlight -0.5", evenSquare("highlight_power=\"-0.5\" brightness=\"3\"", "250 120 10")},
        {"highlight 0", evenSquare(sPastWhite + "\"0\"", "250 120 10"), 1},
        {"highlight 1", evenSquare(sPastWhite + "\"1\"", "250 120 10"), 1},
        {"supersample 2, passes 2", evenSquare("supersample=\"2\" passes=\"2\"", "255 0 0")},
    };
    for (const auto& square : squares) {
        std::string sError;
        const SPicture ours = renderOurs(square.sXml, 1, 2, sError);
        const SPicture theirs = renderReference(square.sXml, "1", sError);
        ASSERT_FALSE(ours.vRgb.empty() || theirs.vRgb.empty()) << square.sName << ": " << sError;
        for (int c = 0; c < 3; c++) {
            std::printf("%-24s channel %d: ours %.3f, flam3 %.3f\n", square.sName, c,
                        channelMean(ours, c), channelMean(theirs, c));
            EXPECT_NEAR(channelMean(ours, c), channelMean(theirs, c), square.dTolerance)
                << square.sName << ", channel " << c;
        }
    }
}

}  // namespace

namespace {

// The colours of a transparent picture as they show, multiplied by their alpha: where the alpha is
// nearly 0, a colour divided by it is a level of noise, 0 or 255 by a hit more or less.
SLevels shown(SLevels picture, int iBits) {
    const double dMost = (1u << iBits) - 1;
    for (size_t i = 0; i < picture.vLevels.size(); i += 4)
        for (int c = 0; c < 3; c++)
            picture.vLevels[i + c] = static_cast<unsigned int>(
                picture.vLevels[i + c] * (picture.vLevels[i + 3] / dMost));
    return picture;
}

// 16 bits a channel and alpha: every channel of ours as far from flam3's picture at seed 1, on
// average, as flam3's own at seed 2 is, give or take; a transparent picture's colours as they
// show. A background and a vibrancy below 1, so that a background left in, or a colour not
// divided by its alpha, would show.
TEST(ReferenceRenderTest, DepthAndAlphaAreFlam3sWithinItsNoise) {
    ASSERT_FALSE(referenceRenderer().empty())
        << "no flam3-render: scripts/install-deps.sh installs flam3-utils";
    const std::string sXml =
        flame("palette=\"5\" background=\"0.3 0.5 0.8\" vibrancy=\"0.6\"", sXforms);
    const struct {
        const char* sName;
        int iBits;
        bool bTransparent;
    } modes[] = {{"16 bits", 16, false}, {"alpha", 8, true}, {"16 bits, alpha", 16, true}};
    for (const auto& mode : modes) {
        std::string sError;
        const SLevels ours =
            shown(renderOursLevels(sXml, 1, mode.iBits, mode.bTransparent, sError), mode.iBits);
        const SLevels first = shown(
            renderReferenceLevels(sXml, "1", mode.iBits, mode.bTransparent, sError), mode.iBits);
        const SLevels second = shown(
            renderReferenceLevels(sXml, "2", mode.iBits, mode.bTransparent, sError), mode.iBits);
        ASSERT_FALSE(ours.vLevels.empty() || first.vLevels.empty() || second.vLevels.empty())
            << mode.sName << ": " << sError;
        const double dStep = mode.iBits == 16 ? 256 : 1;  // an 8-bit level
        for (int c = 0; c < 4; c++) {
            const double dOurs = channelDistance(ours, first, c) / dStep;
            const double dTheirs = channelDistance(first, second, c) / dStep;
            std::printf("%-16s channel %d: ours %.2f, flam3's two seeds %.2f levels apart\n",
                        mode.sName, c, dOurs, dTheirs);
            EXPECT_LE(dOurs, 1.1 * dTheirs + 0.5) << mode.sName << ", channel " << c;
        }
    }
}

}  // namespace

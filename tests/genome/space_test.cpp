// The editors' point with z: each of their variations at points whose images follow by hand,
// the order of pre_ and post_ forms, flatten, and which flames walk with z at all.

#include "reference_support.h"

#include "base/angles.h"
#include "game/xform_apply.h"
#include "xml/genome_xml.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct SPoint3 {
    double x, y, z;
};

SGenome genomeWith(const std::string& sXform) {
    std::vector<SGenome> vGenomes;
    std::string sError;
    EXPECT_TRUE(readGenomes("<flame size=\"8 8\"><xform weight=\"1\" " + sXform + "/></flame>",
                            vGenomes, sError)) << sError;
    return vGenomes.empty() ? SGenome() : vGenomes[0];
}

// Point p through an xform of sAttributes (coefs the identity), its points carrying z, with the
// random numbers of batch uBatch.
SPoint3 mapped(const std::string& sAttributes, SPoint3 p, uint64_t uBatch = 1) {
    const CXformMap map(genomeWith(sAttributes).vXforms[0], true, true);
    CBatchRandom random(5, uBatch);
    SWalkPoint<double> point = {p.x, p.y, p.z, 0};
    map.apply<double, true>(point, random);
    return {point.x, point.y, point.z};
}

bool near(const SPoint3& a, const SPoint3& b) {
    const auto close = [](double u, double v) {
        return std::fabs(u - v) <= 1e-12 * (1 + std::fabs(v));
    };
    return close(a.x, b.x) && close(a.y, b.y) && close(a.z, b.z);
}

const double dRoot2 = std::sqrt(2.0), dRoot5 = std::sqrt(5.0);

// Each variation at weight w, parameters given, at a point: its image, or each of the images
// its random branches can give (every one must come up in 64 draws).
const struct {
    const char* sAttributes;
    SPoint3 in;
    std::vector<SPoint3> out;
} formulas[] = {
    {"linear3D=\"0.5\"", {1, 2, 3}, {{0.5, 1, 1.5}}},
    {"linear=\"2\"", {1, -1, 0.5}, {{2, -2, 1}}},  // Apophysis's linear is linear3D
    {"handkerchief=\"1\"", {0, 1, 5}, {{std::sin(1.0), std::cos(-1.0), 0}}},  // no z of its own
    {"spherical3D=\"1\"", {1, 1, 1}, {{1 / 3.0, 1 / 3.0, 1 / 3.0}}},
    {"spherical3D=\"2\"", {0, 0, 2}, {{0, 0, 1}}},
    {"hemisphere=\"26\"", {3, 4, 7},
     {{15.297058540778355, 20.39607805437114, 5.099019513592785}}},  // k = 26/√26
    {"julia3D=\"1\"", {0, 2, 0}, {{1, 1, 0}, {-1, -1, 0}}},  // R·r = √2, α = π/4 + πk
    {"julia3D=\"1\"", {3, 0, 8}, {{3 / dRoot5, 0, 4 / dRoot5}, {-3 / dRoot5, 0, 4 / dRoot5}}},
    {"julia3D=\"1\" julia3D_power=\"-2\"", {0, 0, 4}, {{0, 0, 1 / dRoot2}}},  // 2·4^(−3/4)
    {"julia3Dz=\"1\"", {3, 4, 10}, {{2, 1, dRoot5}, {-2, -1, dRoot5}}},  // R = √5
    {"curl3D=\"1\" curl3D_cx=\"1\"", {1, 0, 0}, {{0.5, 0, 0}}},
    {"curl3D=\"1\" curl3D_cx=\"1\" curl3D_cy=\"1\" curl3D_cz=\"1\"", {0, 0, 1},
     {{1 / 6.0, -1 / 6.0, 1 / 3.0}}},
    {"blob3D=\"1\"", {0, 2, 0}, {{0, 1, 0}}},  // θ = 0
    {"blob3D=\"1\"", {2, 0, 0}, {{2, 0, 2}}},  // θ = π/2
    {"bubble=\"1\"", {0, 0, 0}, {{0, 0, 1}}},
    {"bubble=\"1\"", {2, 0, 0}, {{1, 0, 0}}},
    {"cylinder=\"1\"", {0, 3, 0}, {{0, 3, 1}}},
    {"zscale=\"3\"", {1, 2, 0.5}, {{0, 0, 1.5}}},
    {"ztranslate=\"2\"", {1, 2, 0.5}, {{0, 0, 2}}},
    {"zcone=\"2\"", {3, 4, 1}, {{0, 0, 10}}},
    {"linear3D=\"1\" flatten=\"1\"", {1, 2, 3}, {{1, 2, 0}}},
    // JWildfire's priorities: linear forced before the sum, t + 0.5·t; after it, S + 1·S
    {"linear=\"0.5\" linear_fx_priority=\"-1\" linear3D=\"1\"", {1, 2, 3}, {{1.5, 3, 4.5}}},
    {"linear3D=\"1\" linear=\"1\" linear_fx_priority=\"1\"", {1, 2, 3}, {{2, 4, 6}}},
    {"linear3D=\"1\" linear3D_fx_priority=\"0\" pre_zscale=\"2\" pre_zscale_fx_priority=\"-1\"",
     {1, 2, 3}, {{1, 2, 6}}},
    // JWildfire's planes of the pre-affine and the post-affine
    {"linear3D=\"1\" yzCoefs=\"0 1 -1 0 0.5 0.25\"", {1, 2, 3}, {{1, -2.5, 2.25}}},
    {"linear3D=\"1\" zxCoefs=\"0.5 0 0 2 0.1 -0.2\"", {1, 2, 3}, {{0.6, 2, 5.8}}},
    {"linear3D=\"1\" coefs=\"0.8 0.2 -0.1 0.9 0.05 0.02\" yzCoefs=\"0 1 -1 0 0.5 0.25\" "
     "zxCoefs=\"0.5 0 0 2 0.1 -0.2\"", {1, 2, 3}, {{0.45, -2.48, 4.05}}},
    {"linear3D=\"1\" post=\"0.8 0.2 -0.1 0.9 0.05 0.02\" yzPost=\"0 1 -1 0 0.5 0.25\" "
     "zxPost=\"0.5 0 0 2 0.1 -0.2\"", {1, 2, 3}, {{0.45, -2.48, 4.05}}},
    {"rotate_x=\"1\"", {1, 2, 3}, {{1, 3, -2}}},   // a quarter turn
    {"rotate_y=\"1\"", {1, 2, 3}, {{-3, 2, 1}}},
    {"Mobius=\"2\"", {1, 2, 3}, {{2, 4, 6}}},      // the identity, at the editors' defaults
    {"Mobius=\"1\" Re_A=\"0\" Mobius_Im_A=\"1\"", {1, 2, 0}, {{-2, 1, 0}}},  // i·z
    {"Mobius=\"1\" Re_C=\"1\" Re_D=\"0\"", {1, 2, 0}, {{1, 0, 0}}},          // z/z
    {"bwraps=\"2\" bwraps_cellsize=\"0\"", {0.6, 0.5, 1}, {{1.2, 1, 2}}},
    {"bwraps7=\"1\"", {0.95, 0.95, 0}, {{0.95, 0.95, 0}}},  // outside its cell's circle
    {"bwraps2=\"1\" bwraps2_inner_twist=\"0.5\"", {0.6, 0.5, 0},
     {{0.5941285884093802, 0.451290252217006, 0}}},
    // boarders2's R rounds halves away from 0 (0.5 to 1), unlike boarders' rint
    {"boarders2=\"1\"", {0.2, 0.1, 0}, {{0.1, 0.05, 0}, {0.35, 0.175, 0}}},
    {"boarders2=\"1\"", {0.5, 0, 0}, {{0.75, 0, 0}, {0.5, 0, 0}}},
    {"Juliac=\"1\" Juliac_im=\"0\"", {0, 4, 0}, {{dRoot2, dRoot2, 0}, {-dRoot2, -dRoot2, 0}}},
    {"juliac=\"1\" juliac_im=\"100\"", {1, 0, 0}, {{1, 0, 0}, {-std::exp(-2 * dPI), 0, 0}}},
    {"point_symmetry_wf=\"2\" point_symmetry_wf_centre_x=\"1\" point_symmetry_wf_centre_y=\"1\" "
     "point_symmetry_wf_order=\"4\"", {2, 1, 0}, {{3, 1, 0}, {1, -1, 0}, {-1, 1, 0}, {1, 3, 0}}},
    {"point_symmetry=\"1\" point_symmetry_centre_x=\"0\" point_symmetry_centre_y=\"0\" "
     "point_symmetry_order=\"2\"", {1, 2, 0}, {{1, 2, 0}, {-1, -2, 0}}},
    {"axis_symmetry_wf=\"1\" axis_symmetry_wf_centre_x=\"0\" axis_symmetry_wf_rotation=\"0\"",
     {1, 5, 0}, {{1.5, 5, 0}, {-1.5, 5, 0}}},
    {"axis_symmetry_wf=\"1\" axis_symmetry_wf_centre_x=\"0\" axis_symmetry_wf_centre_y=\"0\" "
     "axis_symmetry_wf_rotation=\"90\"", {1, 5, 0}, {{5, -1.5, 0}, {-5, -1.5, 0}}},
    {"axis_symmetry_wf=\"1\" axis_symmetry_wf_axis=\"1\" axis_symmetry_wf_centre_y=\"0\" "
     "axis_symmetry_wf_rotation=\"0\"", {5, 1, 0}, {{5, 1.5, 0}, {5, -1.5, 0}}},
    {"axis_symmetry_wf=\"1\" axis_symmetry_wf_axis=\"2\" axis_symmetry_wf_centre_z=\"0\" "
     "axis_symmetry_wf_rotation=\"0\"", {1, 2, 3}, {{1, 2, 3.5}, {1, 2, -3.5}}},
};

TEST(SpaceVariationTest, EachMakesItsImageWithZ) {
    for (const auto& formula : formulas) {
        std::vector<bool> vSeen(formula.out.size());
        bool bKnown = true;
        for (uint64_t uBatch = 0; bKnown && uBatch < 64; uBatch++) {
            const SPoint3 out = mapped(formula.sAttributes, formula.in, uBatch);
            bKnown = false;
            for (size_t k = 0; k < formula.out.size(); k++)
                if (near(out, formula.out[k])) bKnown = vSeen[k] = true;
            EXPECT_TRUE(bKnown) << formula.sAttributes << ": (" << out.x << ", " << out.y
                                << ", " << out.z << ")";
        }
        for (size_t k = 0; k < formula.out.size(); k++)
            EXPECT_TRUE(vSeen[k]) << formula.sAttributes << ": branch " << k << " never drawn";
    }
}

// The random ones, whose images spread from their centre: never beyond their reach, nearly to
// it, and as far on average as their spread gives (a bell of four uniform numbers less 2: 7/15
// of its reach of 2; an even disc: 2/3 of its radius; sineblur at power 1: 1/2).
TEST(SpaceVariationTest, RandomOnesSpreadAsFarAsTheyShould) {
    const struct {
        const char* sAttributes;
        SPoint3 in, centre;
        double dReach, dMost, dMean;
    } cases[] = {
        {"blur3D=\"0.5\"", {1, 2, 3}, {0, 0, 0}, 1, 0.7, 0.5 * 7 / 15},
        {"zblur=\"0.5\"", {1, 2, 3}, {0, 0, 0}, 1, 0.7, 0.5 * 7 / 15},
        {"pre_gaussian_blur=\"0.5\" linear3D=\"1\"", {1, 2, 2}, {1, 2, 3}, 1, 0.7, 0.5 * 7 / 15},
        {"sineblur=\"0.5\"", {1, 2, 3}, {0, 0, 0}, 0.5, 0.49, 0.25},
        {"blur_circle=\"0.5\"", {1, 2, 0}, {0, 0, 0}, 0.5, 0.49, 0.5 * 2 / 3},
    };
    for (const auto& example : cases) {
        const CXformMap map(genomeWith(example.sAttributes).vXforms[0], true, true);
        CBatchRandom random(11, 1);
        const int iDraws = 40000;
        double dMost = 0, dMean = 0;
        for (int i = 0; i < iDraws; i++) {
            SWalkPoint<double> point = {example.in.x, example.in.y, example.in.z, 0};
            map.apply<double, true>(point, random);
            const SPoint3 p = {point.x, point.y, point.z};
            const SPoint3& o = example.centre;
            const double dFar = std::sqrt((p.x - o.x) * (p.x - o.x) + (p.y - o.y) * (p.y - o.y) +
                                          (p.z - o.z) * (p.z - o.z));
            dMost = std::max(dMost, dFar);
            dMean += dFar / iDraws;
        }
        EXPECT_LE(dMost, example.dReach) << example.sAttributes;
        EXPECT_GE(dMost, example.dMost) << example.sAttributes;
        EXPECT_NEAR(dMean, example.dMean, 0.005) << example.sAttributes;
    }
}

// pre_ forms act in the file's order on the pre-affine output, post_ forms on the sum; a form
// that replaces the point keeps what its row makes nothing of, one that adds keeps it all.
TEST(SpaceFormTest, FormsActInTheFilesOrderReplacingOrAdding) {
    const struct {
        const char* sAttributes;
        SPoint3 in, out;
    } cases[] = {
        {"pre_zscale=\"2\" pre_ztranslate=\"1\" linear3D=\"1\"", {1, 2, 3}, {1, 2, 7}},
        {"pre_ztranslate=\"1\" pre_zscale=\"2\" linear3D=\"1\"", {1, 2, 3}, {1, 2, 8}},
        {"pre_linear=\"2\" linear3D=\"1\"", {1, 2, 3}, {2, 4, 6}},
        {"pre_spherical=\"1\" linear3D=\"1\"", {2, 0, 3}, {2 / (4 + 1e-10), 0, 3}},
        {"pre_rotate_y=\"1\" linear3D=\"1\"", {1, 2, 3}, {-3, 2, 1}},
        {"pre_handkerchief=\"1\" linear3D=\"1\"", {0, 1, 5}, {std::sin(1.0), std::cos(1.0), 5}},
        {"linear3D=\"1\" post_linear3D=\"3\"", {1, 2, 3}, {3, 6, 9}},
        {"linear3D=\"1\" post_ztranslate=\"1\" post_zscale=\"2\"", {1, 2, 3}, {1, 2, 8}},
        {"linear3D=\"1\" post_zscale=\"2\" post_ztranslate=\"1\"", {1, 2, 3}, {1, 2, 7}},
        {"post_rotate_x=\"1\" linear3D=\"1\"", {1, 2, 3}, {1, 3, -2}},
        {"post_zcone=\"1\" linear=\"1\"", {3, 4, 9}, {3, 4, 5}},
        // flatten zeroes the sum's z before the post_ forms, wherever it stands
        {"post_ztranslate=\"1\" linear3D=\"1\" flatten=\"1\"", {1, 2, 3}, {1, 2, 1}},
        {"pre_ztranslate=\"1\" linear3D=\"1\" flatten=\"1\"", {1, 2, 3}, {1, 2, 0}},
        {"pre_ztranslate=\"1\"", {1, 2, 3}, {0, 0, 0}},  // no plain variation: flam3's 0
    };
    for (const auto& example : cases) {
        const SPoint3 out = mapped(example.sAttributes, example.in);
        EXPECT_TRUE(near(out, example.out)) << example.sAttributes << ": (" << out.x << ", "
                                            << out.y << ", " << out.z << ")";
    }
}

std::vector<unsigned char> pictureOf(const std::string& sXforms, const std::string& sFlame = "") {
    std::string sError;
    const SPicture picture = renderOurs("<flame size=\"40 30\" scale=\"12\" quality=\"20\" "
                                        "palette=\"9\" " + sFlame + ">" + sXforms + "</flame>",
                                        3, 1, sError);
    EXPECT_FALSE(picture.vRgb.empty()) << sError;
    return picture.vRgb;
}

// Where nothing reads z, the variations that move z alone are left out with their random draws:
// the picture is the one without them, bit for bit.
TEST(SpaceFormTest, ZThatNothingReadsLeavesThePictureAsItWas) {
    const std::string sPlain =
        "<xform weight=\"1\" color=\"0\" julian=\"1\" julian_power=\"3\" "
        "coefs=\"0.7 0.2 -0.2 0.7 0.1 0\"/><xform weight=\"1\" color=\"1\" spherical=\"0.5\" "
        "coefs=\"0.5 0 0 0.5 0.3 0.2\"/>";
    const std::string sWithZ =
        "<xform weight=\"1\" color=\"0\" julian=\"1\" julian_power=\"3\" zblur=\"1\" "
        "pre_zscale=\"2\" coefs=\"0.7 0.2 -0.2 0.7 0.1 0\"/><xform weight=\"1\" color=\"1\" "
        "spherical=\"0.5\" ztranslate=\"1\" post_zcone=\"1\" flatten=\"1\" "
        "coefs=\"0.5 0 0 0.5 0.3 0.2\"/>";
    EXPECT_EQ(pictureOf(sWithZ), pictureOf(sPlain));
    EXPECT_EQ(pictureOf(sWithZ, "cam_zpos=\"3\""), pictureOf(sPlain));
    EXPECT_NE(pictureOf(sWithZ, "cam_pitch=\"0.5\""), pictureOf(sPlain, "cam_pitch=\"0.5\""));
}

// An xform of linear alone is mapped without the formulas where the point carries no z: the
// same bits as through them, signed zeros and a post-affine included.
TEST(SpaceTest, LinearAloneMapsAsThroughTheFormulas) {
    const char* sXforms[] = {
        "linear=\"1\" coefs=\"-1 0 0 1 0 0\"",
        "linear=\"-0.7\" coefs=\"0.5 0.2 -0.3 0.5 0.1 -0.4\"",
        "linear=\"0.3\" color=\"0.8\" color_speed=\"0.2\" coefs=\"0 0 0 0 -0 -0\"",
        "linear=\"2\" coefs=\"1 0 0 1 0 0\" post=\"0.9 0.1 -0.1 0.9 0.2 0\""};
    const SPoint3 points[] = {{0.25, -0.5, 0}, {-0.0, 0.0, 0}, {1e300, -3, 0}, {-0.0, -0.0, 0}};
    for (const char* sXform : sXforms) {
        const CXformMap map(genomeWith(sXform).vXforms[0], true, false);
        for (const SPoint3& p : points) {
            SWalkPoint<double> flat = {p.x, p.y, 0, 0.4}, withZ = flat;
            CBatchRandom random(5, 1);
            map.apply<double, false>(flat, random);
            map.apply<double, true>(withZ, random);  // every formula's way, z 0
            const double x = flat.x, y = flat.y, c = flat.c, x2 = withZ.x, y2 = withZ.y;
            const double c2 = withZ.c;
            EXPECT_EQ(std::signbit(x), std::signbit(x2)) << sXform;
            EXPECT_EQ(std::signbit(y), std::signbit(y2)) << sXform;
            EXPECT_TRUE(x == x2 && y == y2 && c == c2) << sXform << " at " << p.x << ", " << p.y;
        }
    }
}

}  // namespace

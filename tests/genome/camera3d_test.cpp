// The editors' camera in three dimensions: its turn and perspective at points whose images
// follow by hand, its depth of field, and a small flame in three dimensions drawn through it.

#include "reference_support.h"

#include "game/camera.h"
#include "xml/genome_xml.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// A 40 × 30 picture at scale 10: the world's half sides are 2 and 1.5.
CCamera cameraOf(const std::string& sAttributes) {
    return CCamera(firstGenomeOf("<flame size=\"40 30\" scale=\"10\" " + sAttributes +
                            "><xform weight=\"1\" linear=\"1\"/></flame>"));
}

const std::string sQuarter = "1.5707963267948966";  // π/2

// Each case's point (x, y, z), seen by the 3D camera of its attributes, lands at (dX, dY)
// within dTolerance.
template <class TCases>
void expectProjections(const TCases& cases, double dTolerance) {
    for (const auto& example : cases) {
        const CCamera camera = cameraOf(example.sAttributes);
        EXPECT_TRUE(camera.threeD()) << example.sAttributes;
        CBatchRandom random(1, 1);
        double x = example.x, y = example.y;
        camera.project(x, y, example.z, random);
        EXPECT_NEAR(x, example.dX, dTolerance) << example.sAttributes;
        EXPECT_NEAR(y, example.dY, dTolerance) << example.sAttributes;
    }
}

TEST(Camera3DTest, TurnsAndDividesKnownPoints) {
    const struct {
        std::string sAttributes;
        double x, y, z, dX, dY;
    } cases[] = {
        {"cam_pitch=\"" + sQuarter + "\"", 1, 2, 3, 1, -3},
        {"cam_pitch=\"" + sQuarter + "\" cam_zpos=\"1\"", 1, 2, 3, 1, -2},
        {"cam_yaw=\"" + sQuarter + "\"", 1, 2, 3, 2, -1},
        {"cam_persp=\"0.5\"", 1, 2, 1, 2, 4},                  // ζ = 1/2
        {"cam_perspective=\"0.5\" cam_zpos=\"1\"", 1, 2, 1, 1, 2},  // in its plane: ζ = 1
        {"cam_persp=\"0.25\" cam_yaw=\"" + sQuarter + "\"", 1, 2, 2, 4, -2},
        // z′ = −1 after both turns: ζ = 3/2
        {"cam_persp=\"0.5\" cam_pitch=\"" + sQuarter + "\" cam_yaw=\"" + sQuarter + "\"", 1, 2, 3,
         4 / 3.0, -2},
    };
    expectProjections(cases, 1e-12);
    EXPECT_FALSE(cameraOf("cam_zpos=\"2\" blur_curve=\"1\"").threeD());
    // At ζ = 0, far off rather than NaN.
    CBatchRandom random(1, 1);
    double x = 1, y = 2;
    cameraOf("cam_persp=\"1\"").project(x, y, 1.0, random);
    EXPECT_GT(x, 1e9);
    EXPECT_GT(y, 1e9);
}

// JWildfire's turn with cam_roll, rotate within it: its points at values worked by hand; a
// point at ζ below 10⁻⁸ is not shown.
TEST(Camera3DTest, RollTurnsAsJWildfireTurns) {
    const struct {
        const char* sAttributes;
        double x, y, z, dX, dY;
    } cases[] = {
        {"cam_roll=\"0.5\"", 1, 0, 0, 0.877583, 0},
        {"cam_roll=\"0.5\"", 0, 1, 0, 0, 1},
        {"cam_roll=\"0.5\" cam_persp=\"1\"", 1, 0, 0, 0.877583 / 1.479426, 0},  // Z = −0.479426
        {"cam_yaw=\"0.2\" cam_pitch=\"0.3\" cam_roll=\"0.4\" rotate=\"30\" cam_persp=\"0.2\"",
         0.3, -0.4, 0.5, 0.640219, -0.286980},
    };
    expectProjections(cases, 2e-6);
    CBatchRandom random(1, 1);
    double x = 1, y = 0;
    cameraOf("cam_roll=\"0.5\" cam_persp=\"-3\"").project(x, y, 0.0, random);  // ζ = 1 − 3·0.48 < 0
    EXPECT_TRUE(std::isnan(x) && std::isnan(y));
}

// The largest and the mean distance a point at depth z moves, over many draws.
void blurOf(const CCamera& camera, double x, double y, double z, double& dMost, double& dMean) {
    CBatchRandom random(2, 9);
    dMost = dMean = 0;
    const int iDraws = 20000;
    for (int i = 0; i < iDraws; i++) {
        double u = x, v = y;
        camera.project(u, v, z, random);
        const double dMoved = std::hypot(u - x, v - y);
        dMost = std::max(dMost, dMoved);
        dMean += dMoved / iDraws;
    }
}

// cam_dof D moves a point by U·D/10 times its depth, in a random direction: nothing on the plane
// of depth 0, half of D/10·|z′| on average. Fractorium's blur_curve κ makes it grow away from
// the centre, d²/(4κ) with d = 10 at the picture's side.
TEST(Camera3DTest, DepthOfFieldBlursByDepth) {
    double dMost, dMean;
    const CCamera dof = cameraOf("cam_dof=\"1\"");
    blurOf(dof, 1, 2, 0, dMost, dMean);
    EXPECT_EQ(dMost, 0);
    blurOf(dof, 1, 2, 2, dMost, dMean);
    EXPECT_LE(dMost, 0.2);
    EXPECT_GT(dMost, 0.199);
    EXPECT_NEAR(dMean, 0.1, 0.002);
    const CCamera curve = cameraOf("cam_dof=\"1\" blur_curve=\"1\"");
    blurOf(curve, 0, 0, 1, dMost, dMean);
    EXPECT_EQ(dMost, 0);
    blurOf(curve, 2, 0, 1, dMost, dMean);
    EXPECT_LE(dMost, 2.5);
    EXPECT_GT(dMost, 2.49);
}

// linear3D beside julia3D turned about x, stacked in z by ztranslate, seen turned, in perspective
// and with depth of field.
const char* const sFlame3D =
    "<flame size=\"64 48\" scale=\"16\" quality=\"40\" palette=\"9\" cam_pitch=\"0.9\" "
    "cam_yaw=\"0.4\" cam_persp=\"0.3\" cam_zpos=\"0.2\" cam_dof=\"0.3\">"
    "<xform weight=\"1\" color=\"0\" linear3D=\"0.6\" ztranslate=\"0.5\" "
    "coefs=\"0.8 0.2 -0.2 0.8 0.3 0\"/>"
    "<xform weight=\"1\" color=\"1\" julia3D=\"1\" julia3D_power=\"3\" pre_rotate_x=\"0.3\" "
    "coefs=\"0.6 0 0 0.6 -0.2 0.1\"/>"
    "<xform weight=\"0.5\" color=\"0.5\" spherical3D=\"0.7\" post_ztranslate=\"-0.4\"/></flame>";

int litPixels(const SPicture& picture) {
    int iLit = 0;
    for (size_t i = 0; i < picture.vRgb.size(); i += 3)
        iLit += picture.vRgb[i] + picture.vRgb[i + 1] + picture.vRgb[i + 2] > 30;
    return iLit;
}

TEST(Camera3DTest, AFlameInThreeDimensionsDrawsAndReadsBackToTheSamePixels) {
    std::string sError;
    const SPicture picture = renderOurs(sFlame3D, 3, 2, sError);
    ASSERT_FALSE(picture.vRgb.empty()) << sError;
    EXPECT_GT(litPixels(picture), 64 * 48 / 5);
    const std::string sWritten = genomeXml(firstGenomeOf(sFlame3D));
    EXPECT_NE(sWritten.find("cam_pitch=\"0.9\""), std::string::npos) << sWritten;
    EXPECT_NE(sWritten.find("pre_rotate_x=\"0.3\""), std::string::npos) << sWritten;
    EXPECT_EQ(renderOurs(sWritten, 3, 2, sError).vRgb, picture.vRgb);
    // Seen straight on, the same flame is another picture.
    SGenome flat = firstGenomeOf(sFlame3D);
    flat.dCamPitch = flat.dCamYaw = flat.dCamPerspective = flat.dCamDof = 0;
    EXPECT_NE(renderOurs(genomeXml(flat), 3, 2, sError).vRgb, picture.vRgb);
}

// JWildfire's planes and cam_roll through the whole render: drawn, written, read back to the
// same pixels, and unlike the picture without them.
TEST(Camera3DTest, PlanesAndRollDrawAndReadBackToTheSamePixels) {
    const std::string sFlame =
        "<flame size=\"64 48\" scale=\"16\" quality=\"40\" palette=\"9\" cam_roll=\"0.6\" "
        "cam_pitch=\"0.4\" rotate=\"20\" cam_persp=\"0.2\">"
        "<xform weight=\"1\" color=\"0\" linear3D=\"0.6\" yzCoefs=\"0.8 0.3 -0.3 0.8 0.1 0.2\" "
        "coefs=\"0.8 0.2 -0.2 0.8 0.3 0\"/>"
        "<xform weight=\"1\" color=\"1\" spherical3D=\"0.8\" zxPost=\"0.9 -0.2 0.2 0.9 0 0.3\" "
        "coefs=\"0.6 0 0 0.6 -0.2 0.1\"/></flame>";
    std::string sError;
    const SPicture picture = renderOurs(sFlame, 3, 2, sError);
    ASSERT_FALSE(picture.vRgb.empty()) << sError;
    EXPECT_GT(litPixels(picture), 64 * 48 / 40);
    const std::string sWritten = genomeXml(firstGenomeOf(sFlame));
    for (const char* sAttribute : {"cam_roll=\"0.6\"", "yzCoefs=\"0.8 0.3 -0.3 0.8 0.1 0.2\"",
                                   "zxPost=\"0.9 -0.2 0.2 0.9 0 0.3\""})
        EXPECT_NE(sWritten.find(sAttribute), std::string::npos) << sWritten;
    EXPECT_EQ(sWritten.find("zxCoefs"), std::string::npos) << sWritten;
    EXPECT_EQ(renderOurs(sWritten, 3, 2, sError).vRgb, picture.vRgb);
    SGenome plain = firstGenomeOf(sFlame);
    plain.dCamRoll = 0;
    plain.vXforms[0].yzCoefs = plain.vXforms[1].zxPost = {1, 0, 0, 1, 0, 0};
    EXPECT_NE(renderOurs(genomeXml(plain), 3, 2, sError).vRgb, picture.vRgb);
}

}  // namespace

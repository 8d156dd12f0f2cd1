// Frames against flam3-animate's at the same times: keyframes that turn, zoom and change
// palette, each frame blurred in time; ours must be as close to flam3's as flam3's two seeds
// are to each other. And a frame is one picture at any thread count.

#include "reference_support.h"

#include "animation/keyframes.h"
#include "animation/motion_blur.h"
#include "render/render.h"
#include "xml/genome_xml.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

const std::string sKeyframes = R"(<flames>
<flame time="0" size="96 72" scale="24" quality="40" temporal_samples="6" palette="12">
  <xform weight="0.5" color="0" linear="1" coefs="0.5 0 0 0.5 0.5 0"/>
  <xform weight="0.5" color="1" spherical="1" coefs="0.6 0.3 -0.3 0.6 -0.5 0.2"/>
  <xform weight="0.3" color="0.5" swirl="0.5" coefs="0.5 0 0 0.5 0 -0.5"/>
</flame>
<flame time="4" size="96 72" scale="30" rotate="30" quality="40" temporal_samples="6"
       temporal_filter_type="gaussian" temporal_filter_width="1.5" palette="40">
  <xform weight="0.5" color="0" linear="1" coefs="0.3 0.4 -0.4 0.3 0.5 0.1"/>
  <xform weight="0.5" color="1" spherical="1" coefs="0.6 -0.3 0.3 0.6 -0.5 0.2"/>
</flame>
</flames>)";

SPicture renderFrame(double dTime, unsigned int uSeed, int iThreads,
                     const std::string& sFlames = sKeyframes) {
    std::vector<SGenome> vKeys;
    std::string sError;
    EXPECT_TRUE(readGenomes(sFlames, vKeys, sError)) << sError;
    settleKeyframes(vKeys);
    SRenderPlan plan;
    EXPECT_TRUE(framePlan(std::make_shared<const std::vector<SGenome>>(vKeys), dTime, plan,
                          sError))
        << sError;
    CGenomeRender render(plan, uSeed, iThreads);
    EXPECT_EQ(render.error(), "");
    while (render.continueRender(std::chrono::milliseconds(1000))) {}
    SPicture picture;
    picture.iWidth = plan.picture.iWidth;
    picture.iHeight = plan.picture.iHeight;
    picture.vRgb.resize(static_cast<size_t>(picture.iWidth) * picture.iHeight * 3);
    render.writeImage([&](int iRow, const unsigned char* pRgb) {
        std::copy(pRgb, pRgb + picture.iWidth * 3, &picture.vRgb[iRow * picture.iWidth * 3]);
    });
    return picture;
}

constexpr double dSsimMargin = 0.02;

TEST(FramesReferenceTest, FramesLookAsFlam3AnimateDrawsThem) {
    ASSERT_FALSE(referenceRenderer().empty())
        << "no flam3-render: scripts/install-deps.sh installs flam3-utils";
    for (long long iFrame : {0, 2, 3}) {
        std::string sError;
        const SPicture ours = renderFrame(static_cast<double>(iFrame), 1, 2);
        const SPicture first = renderReferenceFrame(sKeyframes, iFrame, "1", sError);
        const SPicture second = renderReferenceFrame(sKeyframes, iFrame, "2", sError);
        ASSERT_FALSE(first.vRgb.empty() || second.vRgb.empty()) << sError;
        const double dOurs = lumaSsim(ours, first), dTheirs = lumaSsim(first, second);
        std::printf("frame %lld: SSIM ours %.4f, flam3-animate's two seeds %.4f\n", iFrame, dOurs,
                    dTheirs);
        EXPECT_GE(dOurs, dTheirs - dSsimMargin) << "frame " << iFrame;
    }
}

// Blended palettes too: each plot then carries its own colour's sums beside it.
TEST(FramesReferenceTest, AFrameIsOnePictureAtAnyThreadCount) {
    std::string sBlended = sKeyframes;
    for (size_t u = sBlended.find("<flame "); u != std::string::npos;
         u = sBlended.find("<flame ", u + 1))
        sBlended.insert(u + 7, "palette_mode=\"linear\" ");
    for (const std::string& sFlames : {sKeyframes, sBlended})
        EXPECT_EQ(renderFrame(2.5, 7, 1, sFlames).vRgb, renderFrame(2.5, 7, 2, sFlames).vRgb);
}

}  // namespace

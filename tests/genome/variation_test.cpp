// Each variation against flam3-render: one xform of it beside a plain contraction.

#include "reference_support.h"

#include "variations/variations.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string variationFlame(int iVariation) {
    const SVariationInfo& info = variationInfo(iVariation);
    std::string sParameters;
    // Parameters away from their defaults, where the defaults draw nothing (perspective's 0, 0).
    const char* sValues[] = {"0.7", "0.45", "3", "0.25"};
    for (int k = 0; k < info.iParameters; k++)
        sParameters += std::string(" ") + parameterInfo(info.iFirstParameter + k).sName + "=\"" +
                       sValues[k] + "\"";
    return std::string("<flame size=\"96 96\" scale=\"24\" quality=\"30\" palette=\"7\">"
                       "<xform weight=\"0.5\" color=\"0\" linear=\"1\" "
                       "coefs=\"0.5 0.1 -0.1 0.5 0.5 0.3\"/>"
                       "<xform weight=\"0.5\" color=\"1\" ") +
           info.sName + "=\"0.9\"" + sParameters +
           " coefs=\"0.8 0.3 -0.2 0.9 -0.3 0.2\"/></flame>";
}

TEST(VariationTest, EachDrawsAsFlam3DrawsIt) {
    ASSERT_FALSE(referenceRenderer().empty())
        << "no flam3-render: scripts/install-deps.sh installs flam3-utils";
    for (int i = 0; i < iVariationCount; i++) {
        const std::string sXml = variationFlame(i);
        std::string sError;
        const SPicture ours = renderOurs(sXml, 1, 2, sError);
        const SPicture first = renderReference(sXml, "1", sError);
        const SPicture second = renderReference(sXml, "2", sError);
        ASSERT_FALSE(ours.vRgb.empty() || first.vRgb.empty() || second.vRgb.empty())
            << variationInfo(i).sName << ": " << sError;
        const double dOurs = lumaSsim(ours, first), dTheirs = lumaSsim(first, second);
        std::printf("%2d %-14s SSIM ours %.4f, flam3's two seeds %.4f\n", i,
                    variationInfo(i).sName, dOurs, dTheirs);
        EXPECT_GE(dOurs, dTheirs - 0.02) << variationInfo(i).sName;
    }
}

}  // namespace

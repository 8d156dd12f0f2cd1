// Each variation against flam3-render: one xform of it beside a plain contraction.

#include "reference_support.h"

#include "genome/variation_use.h"
#include "variations/variations.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

std::string variationFlame(int iVariation) {
    const SVariation& variation = variationOf(iVariation);
    std::string sParameters;
    // Parameters away from their defaults, where the defaults draw nothing (perspective's 0, 0).
    const char* sValues[] = {"0.7", "0.45", "3", "0.25"};
    for (int k = 0; k < variation.parameterCount(); k++)
        sParameters += std::string(" ") + variation.parameters[k].sName + "=\"" + sValues[k] +
                       "\"";
    return std::string("<flame size=\"96 96\" scale=\"24\" quality=\"30\" palette=\"7\">"
                       "<xform weight=\"0.5\" color=\"0\" linear=\"1\" "
                       "coefs=\"0.5 0.1 -0.1 0.5 0.5 0.3\"/>"
                       "<xform weight=\"0.5\" color=\"1\" ") +
           variation.sName + "=\"0.9\"" + sParameters +
           " coefs=\"0.8 0.3 -0.2 0.9 -0.3 0.2\"/></flame>";
}

// Every variation and parameter found by each of its names, and no name given twice: a row the
// reader could not reach, or a name that reached another row, would draw something else. A
// parameter's name is its variation's, "_" and its own, which its forms' names are made from.
TEST(VariationTableTest, EveryNameReadsBackToItsRow) {
    std::set<std::string> names;
    for (int i = 0; i < iVariationCount; i++) {
        const SVariation& variation = variationOf(i);
        for (const char* sName : {variation.sName, variation.aliases[0], variation.aliases[1]}) {
            if (!sName) continue;
            EXPECT_EQ(variationIndex(sName), i) << sName;
            EXPECT_TRUE(names.insert(sName).second) << sName;
        }
        const std::string sPrefix = std::string(variation.sName) + "_";
        for (int k = 0; k < variation.parameterCount(); k++) {
            const SParameter& parameter = variation.parameters[k];
            EXPECT_EQ(std::string(parameter.sName).rfind(sPrefix, 0), 0u) << parameter.sName;
            for (const char* sName : {parameter.sName, parameter.sAlias}) {
                if (!sName) continue;
                EXPECT_EQ(parameterIndex(sName), firstParameter(i) + k) << sName;
                EXPECT_TRUE(names.insert(sName).second) << sName;
            }
            EXPECT_LE(parameter.dRandomLow, parameter.dRandomHigh) << parameter.sName;
        }
    }
}

// Each form of each row, weight and parameters, named as the writer names it, reads back as that
// use.
TEST(VariationTableTest, EveryFormOfEveryRowReadsBack) {
    for (int i = 0; i < iVariationCount; i++)
        for (EVariationForm eForm : {ePlainForm, ePreForm, ePostForm}) {
            const SVariationUse use = {i, eForm, 1, {}};
            for (int k = -1; k < variationOf(i).parameterCount(); k++) {
                SVariationName name;
                const std::string sName = useAttributeName(use, k);
                ASSERT_TRUE(variationName(sName.c_str(), name)) << sName;
                EXPECT_EQ(name.iVariation, i) << sName;
                EXPECT_EQ(name.eForm, eForm) << sName;
                EXPECT_EQ(name.iParameter, k) << sName;
            }
        }
}

TEST(VariationTest, EachDrawsAsFlam3DrawsIt) {
    ASSERT_FALSE(referenceRenderer().empty())
        << "no flam3-render: scripts/install-deps.sh installs flam3-utils";
    for (int i = 0; i < iFlam3Variations; i++) {
        const std::string sXml = variationFlame(i);
        std::string sError;
        const SPicture ours = renderOurs(sXml, 1, 2, sError);
        const SPicture first = renderReference(sXml, "1", sError);
        const SPicture second = renderReference(sXml, "2", sError);
        ASSERT_FALSE(ours.vRgb.empty() || first.vRgb.empty() || second.vRgb.empty())
            << variationOf(i).sName << ": " << sError;
        const double dOurs = lumaSsim(ours, first), dTheirs = lumaSsim(first, second);
        std::printf("%2d %-14s SSIM ours %.4f, flam3's two seeds %.4f\n", i,
                    variationOf(i).sName, dOurs, dTheirs);
        EXPECT_GE(dOurs, dTheirs - 0.02) << variationOf(i).sName;
    }
}

}  // namespace

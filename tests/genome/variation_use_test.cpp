// The editors' names of a variation's pre_ and post_ forms, and xforms that use them written and
// read back.

#include "reference_support.h"

#include "genome_parts/variation_use.h"
#include "variations/variations.h"
#include "xml/genome_xml.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace variation;

SXform xformOf(const std::string& sAttributes) {
    return firstGenomeOf("<flame size=\"10 10\"><xform weight=\"1\" " + sAttributes + "/></flame>")
        .vXforms.at(0);
}

TEST(VariationNameTest, ReadsFormsAndAliasesInTheirCase) {
    const struct {
        const char*    sName;
        int            iVariation;
        EVariationForm eForm;
        int            iParameter;
    } cases[] = {
        {"pre_zscale", eZscale, ePreForm, -1},
        {"post_point_symmetry_wf_order", ePointSymmetry, ePostForm, 2},
        {"pre_bwraps7_inner_twist", eBwraps, ePreForm, 3},
        {"post_juliac_dist", eJuliac, ePostForm, 2},
        {"Mobius_Im_D", eEditorsMobius, ePlainForm, 7},
        {"pre_Mobius", eEditorsMobius, ePreForm, -1},
    };
    SVariationName name;
    for (const auto& example : cases) {
        ASSERT_TRUE(variationName(example.sName, name)) << example.sName;
        EXPECT_EQ(name.iVariation, example.iVariation) << example.sName;
        EXPECT_EQ(name.eForm, example.eForm) << example.sName;
        EXPECT_EQ(name.iParameter, example.iParameter) << example.sName;
    }
    for (const char* sName : {"Linear3D", "linear3d", "MOBIUS", "re_a", "pre_", "pre_nothing",
                              "post_post_linear", "bubble#1#"})
        EXPECT_FALSE(variationName(sName, name)) << sName;
}

const char* const sUses =
    "<flame size=\"10 10\" cam_pitch=\"0.3\" cam_perspective=\"0.2\" name=\"a#b\">"
    "<xform weight=\"1\" pre_julia3D_power=\"3\" linear3D=\"1\" post_zscale=\"2\" "
    "pre_julia3D=\"0.5\" Re_B=\"0.1\" post_juliac=\"1\"/></flame>";

// The plain variations as before; then the forms in the order of their first mention, each with
// all its parameters, under the row's own name. JWildfire's repeat of a variation, X#k#, is no
// XML name: refused as not XML.
TEST(VariationUseTest, FormsAreWrittenInTheirOrderAndReadBack) {
    const SGenome genome = firstGenomeOf(sUses);
    EXPECT_EQ(genome.sName, "a#b");
    ASSERT_EQ(genome.vXforms.at(0).vUses.size(), 3u);
    const std::string sWritten = genomeXml(genome);
    size_t uAt = 0;
    for (const char* sAttribute :
         {"cam_pitch=\"0.3\"", "cam_persp=\"0.2\"", "linear3D=\"1\"", "Mobius_Re_B=\"0.1\"",
          "pre_julia3D=\"0.5\"", "pre_julia3D_power=\"3\"", "post_zscale=\"2\"",
          "post_Juliac=\"1\"", "post_Juliac_re=\"2\""}) {
        const size_t uNext = sWritten.find(sAttribute, uAt);
        ASSERT_NE(uNext, std::string::npos) << sAttribute << " in " << sWritten;
        uAt = uNext;
    }
    EXPECT_TRUE(firstGenomeOf(sWritten) == genome) << sWritten;
    EXPECT_EQ(genomeXml(firstGenomeOf(sWritten)), sWritten);
    std::vector<SGenome> vGenomes;
    std::string sError;
    EXPECT_FALSE(readGenomes("<flame><xform weight=\"1\" bubble#1#=\"1\"/></flame>", vGenomes,
                             sError));
    EXPECT_EQ(sError.rfind("not XML", 0), 0u) << sError;
}

// JWildfire's priority of a plain variation is kept and written; one at its form's own kind is
// nothing to keep.
TEST(VariationUseTest, PrioritiesAreKeptAndWritten) {
    const SXform xform = xformOf("spherical=\"0.5\" spherical_fx_priority=\"1\" "
                                 "pre_blur_fx_priority=\"-1\" linear=\"1\" linear_fx_priority=\"0\"");
    ASSERT_EQ(xform.vPriorities.size(), 1u);
    EXPECT_EQ(xform.vPriorities[0], std::make_pair(static_cast<int>(eSpherical), 1));
    const SGenome genome = firstGenomeOf("<flame size=\"10 10\"><xform weight=\"1\" "
                                         "spherical=\"0.5\" spherical_fx_priority=\"1\"/></flame>");
    const std::string sWritten = genomeXml(genome);
    EXPECT_NE(sWritten.find("spherical_fx_priority=\"1\""), std::string::npos) << sWritten;
    EXPECT_TRUE(firstGenomeOf(sWritten) == genome) << sWritten;
}

// Forms act in their order, so it is part of the xform; plain variations are summed, whatever
// their order.
TEST(VariationUseTest, TheFormsOrderIsPartOfTheXform) {
    EXPECT_FALSE(xformOf("pre_zscale=\"2\" pre_ztranslate=\"1\"") ==
                 xformOf("pre_ztranslate=\"1\" pre_zscale=\"2\""));
    EXPECT_FALSE(xformOf("post_zscale=\"2\"") == xformOf("pre_zscale=\"2\""));
    EXPECT_TRUE(xformOf("linear=\"1\" bubble=\"1\"") == xformOf("bubble=\"1\" linear=\"1\""));
}

}  // namespace

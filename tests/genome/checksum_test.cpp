// Pins the genome pictures: every variation alone, every kind of element and attribute, random
// genomes and mutations must come out bit for bit as when these checksums were taken. A change
// here is a changed picture: a bug until shown otherwise.

#include "reference_support.h"

#include "editing/genome_mutate.h"
#include "editing/genome_random.h"
#include "xml/genome_xml.h"
#include "render/render.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

uint64_t fnv1a(const unsigned char* pBytes, size_t uBytes,
               uint64_t uHash = 1469598103934665603ull) {
    for (size_t i = 0; i < uBytes; i++) {
        uHash ^= pBytes[i];
        uHash *= 1099511628211ull;
    }
    return uHash;
}

uint64_t textChecksum(const std::string& sText) {
    return fnv1a(reinterpret_cast<const unsigned char*>(sText.data()), sText.size());
}

// The picture of the first genome of sXml at seed 3, as its bytes' checksum; 0 when it cannot be
// drawn.
uint64_t pictureChecksum(const std::string& sXml) {
    std::string sError;
    const SPicture picture = renderOurs(sXml, 3, 2, sError);
    EXPECT_FALSE(picture.vRgb.empty()) << sError;
    return fnv1a(picture.vRgb.data(), picture.vRgb.size());
}

// One variation at weight 0.9 beside a plain contraction, its parameters away from their
// defaults.
std::string variationFlame(const std::string& sVariation, const std::string& sParameters) {
    return "<flame size=\"64 48\" scale=\"18\" quality=\"12\" palette=\"7\">"
           "<xform weight=\"0.5\" color=\"0\" linear=\"1\" coefs=\"0.5 0.1 -0.1 0.5 0.5 0.3\"/>"
           "<xform weight=\"0.5\" color=\"1\" " + sVariation + "=\"0.9\" " + sParameters +
           " coefs=\"0.8 0.3 -0.2 0.9 -0.3 0.2\"/></flame>";
}

struct SPinned {
    const char* sVariation;
    const char* sParameters;
    uint64_t    uChecksum;
};

const SPinned pinnedVariations[] = {
    {"linear", "", 0x0d4b584ab00d554f},
    {"sinusoidal", "", 0x83d30591a598f597},
    {"spherical", "", 0x758926465998d082},
    {"swirl", "", 0x579cc57d1622bab1},
    {"horseshoe", "", 0x2e70e1f250ae61e8},
    {"polar", "", 0xa38e2d38369a878c},
    {"handkerchief", "", 0xba19c85ade9a9688},
    {"heart", "", 0x546916873e064b3e},
    {"disc", "", 0xf99052a71891afaf},
    {"spiral", "", 0x8ff009597a8b65f4},
    {"hyperbolic", "", 0xa707079e99ae771d},
    {"diamond", "", 0x21952f5cd7a0b547},
    {"ex", "", 0x5cdfecdeb3e80636},
    {"julia", "", 0x37d5594370bf3a54},
    {"bent", "", 0x9de5d736a1d0c500},
    {"waves", "", 0x5917d001bf241bf6},
    {"fisheye", "", 0xf6e04173cfb3b264},
    {"popcorn", "", 0xa84933b0feb43f5b},
    {"exponential", "", 0x0191b2c49ed6e2b3},
    {"power", "", 0x67857c135fc7c5cb},
    {"cosine", "", 0x6eb13c64c5b94599},
    {"rings", "", 0xbd393703633d22c2},
    {"fan", "", 0x3d0791c98ffa71ee},
    {"blob", "blob_low=\"0.3\" blob_high=\"1.1\" blob_waves=\"4\"", 0x2efb534d87601e74},
    {"pdj", "pdj_a=\"1.1\" pdj_b=\"-2\" pdj_c=\"0.7\" pdj_d=\"2.4\"", 0x020cca97d356f2e8},
    {"fan2", "fan2_x=\"0.6\" fan2_y=\"-0.3\"", 0x29366d51f43693c1},
    {"rings2", "rings2_val=\"0.45\"", 0x7e2ea674914b4b4d},
    {"eyefish", "", 0x04dbb9474de76115},
    {"bubble", "", 0x735fd9ab1d578685},
    {"cylinder", "", 0x83648bf53804cb29},
    {"perspective", "perspective_angle=\"0.6\" perspective_dist=\"2\"", 0xd89d5575b058595a},
    {"noise", "", 0x0bf6cdc12a05d9a7},
    {"julian", "julian_power=\"3\" julian_dist=\"0.7\"", 0xeb0fb9c2dc1b8f37},
    {"juliascope", "juliascope_power=\"4\" juliascope_dist=\"1.2\"", 0xd8d220f6f9b3221d},
    {"blur", "", 0xd19bd479fb1303b2},
    {"gaussian_blur", "", 0x7f40b7584730548b},
    {"radial_blur", "radial_blur_angle=\"0.4\"", 0x04a04cc583e13226},
    {"pie", "pie_slices=\"5\" pie_rotation=\"0.3\" pie_thickness=\"0.6\"", 0x7009779170437dcf},
    {"ngon", "ngon_sides=\"6\" ngon_power=\"2.5\" ngon_circle=\"0.8\" ngon_corners=\"1.2\"",
     0x431c0869bff4bd43},
    {"curl", "curl_c1=\"0.4\" curl_c2=\"-0.2\"", 0xd2b3173753e31e7f},
    {"rectangles", "rectangles_x=\"0.4\" rectangles_y=\"0.7\"", 0x08d5175b6340f4a9},
    {"arch", "", 0x906f4b199ed82a02},
    {"tangent", "", 0xcb2a22bcf9bebb68},
    {"square", "", 0x7d9902da6efba628},
    {"rays", "", 0x4b0edaa7dbff646d},
    {"blade", "", 0x093e2e2ec3a8925f},
    {"secant2", "", 0xcd8434d04e5341e5},
    {"twintrian", "", 0x1afdf8790c997b85},
    {"cross", "", 0x0f93f70dd210d7d4},
};

TEST(GenomeChecksumTest, EveryVariationDrawsThePinnedPicture) {
    for (const SPinned& pinned : pinnedVariations) {
        const uint64_t uChecksum =
            pictureChecksum(variationFlame(pinned.sVariation, pinned.sParameters));
        EXPECT_EQ(uChecksum, pinned.uChecksum) << pinned.sVariation;
    }
}

const char* const sTwoXforms =
    "<xform weight=\"0.6\" color=\"0\" julian=\"1\" julian_power=\"3\" "
    "coefs=\"0.7 0.2 -0.2 0.7 0.1 0\"/><xform weight=\"0.4\" color=\"1\" "
    "noise=\"0.5\" spherical=\"0.5\" coefs=\"0.5 0 0 0.5 0.3 0.2\" post=\"1 0.1 0 1 0 0.2\"/>";

struct SPinnedFlame {
    const char* sWhat;
    std::string sXml;
    uint64_t    uChecksum;
};

// Each attribute and element of the format away from its default, a few at a time.
const SPinnedFlame pinnedFlames[] = {
    {"camera", "<flame size=\"64 40\" center=\"0.2 -0.1\" scale=\"30\" zoom=\"0.5\" "
               "rotate=\"30\" quality=\"10\" palette=\"9\" hue=\"0.3\">" +
                   std::string(sTwoXforms) + "</flame>", 0x0b5d188f552f69f2},
    {"supersample, passes, filter", "<flame size=\"48 48\" scale=\"20\" quality=\"10\" "
               "supersample=\"2\" passes=\"2\" filter=\"0.8\" filter_shape=\"mitchell\" "
               "palette=\"9\">" + std::string(sTwoXforms) + "</flame>", 0x14d6a02dfc3b4435},
    {"tone", "<flame size=\"48 48\" scale=\"20\" quality=\"10\" brightness=\"8\" gamma=\"2.5\" "
               "gamma_threshold=\"0.1\" vibrancy=\"0.5\" highlight_power=\"1\" "
               "background=\"0.1 0.2 0.3\" palette=\"9\" palette_mode=\"linear\">" +
                   std::string(sTwoXforms) + "</flame>", 0x1cad4922a47fa2b6},
    {"estimator", "<flame size=\"48 48\" scale=\"20\" quality=\"10\" estimator_radius=\"5\" "
               "estimator_minimum=\"1\" estimator_curve=\"0.6\" palette=\"9\">" +
                   std::string(sTwoXforms) + "</flame>", 0xd2a712b52f6d6462},
    {"final, chaos, opacity, solo", "<flame size=\"48 48\" scale=\"20\" quality=\"10\" "
               "palette=\"9\" soloxform=\"1\">"
               "<xform weight=\"0.5\" color=\"0\" linear=\"1\" chaos=\"0 1 2\" "
               "coefs=\"0.5 0 0 0.5 0.5 0\"/><xform weight=\"0.5\" color=\"0.5\" swirl=\"1\" "
               "opacity=\"0.5\" coefs=\"0.5 0 0 0.5 -0.5 0\"/><xform weight=\"0.3\" color=\"1\" "
               "linear=\"1\" color_speed=\"0.9\" coefs=\"0.5 0 0 0.5 0 0.5\"/>"
               "<finalxform color=\"0.2\" color_speed=\"0.3\" opacity=\"0.8\" spherical=\"1\" "
               "coefs=\"1 0 0 1 0 0\"/></flame>", 0x13269b037c67b66a},
    {"symmetry, inline palette", "<flame size=\"48 48\" scale=\"20\" quality=\"10\">"
               "<symmetry kind=\"-3\"/>" + std::string(sTwoXforms) +
               "<color index=\"0\" rgb=\"255 0 0\"/><color index=\"128\" rgb=\"0 255 64\"/>"
               "<color index=\"255\" rgb=\"10 20 250\" a=\"128\"/></flame>", 0xc43fa226f177751f},
};

TEST(GenomeChecksumTest, EveryKindOfElementDrawsThePinnedPicture) {
    for (const SPinnedFlame& pinned : pinnedFlames) {
        const uint64_t uChecksum = pictureChecksum(pinned.sXml);
        EXPECT_EQ(uChecksum, pinned.uChecksum) << pinned.sWhat;
    }
}

// The file a reference genome came from, drawn smaller and quicker than it says.
TEST(GenomeChecksumTest, SampleFilesDrawThePinnedPictures) {
    const struct {
        const char* sFile;
        uint64_t    uChecksum;
    } pinned[] = {{"small.flame", 0x9c3bec3ea949845a}, {"bench-a.flame", 0x85363ce523d8c75b},
                  {"bench-b.flame", 0x30150dcec57fdcda}, {"bench-c.flame", 0x5261a0abbcba144c}};
    for (const auto& file : pinned) {
        std::vector<SGenome> vGenomes;
        std::string sError;
        ASSERT_TRUE(readGenomes(fileText(std::string(GENOME_TEST_DATA "/") + file.sFile),
                                vGenomes, sError)) << sError;
        SGenome genome = resizedGenome(vGenomes[0], 80, 0);
        genome.dQuality = 8;
        const uint64_t uChecksum = pictureChecksum(genomeXml(genome));
        EXPECT_EQ(uChecksum, file.uChecksum) << file.sFile;
    }
}

// Random genomes and their mutations, as the genomes written: the draws, the trials and the
// framing all pinned at once.
TEST(GenomeChecksumTest, RandomGenomesAndMutationsAreThePinnedGenomes) {
    const uint64_t pinnedRandom[] = {0xf088074e9a790b57, 0xb8589fe9601a1c91, 0x3d34ad5845fa0685,
                                     0xaf84e88e15793a9f};
    const uint64_t pinnedMutations[] = {0x0fc2d7dc6f870945, 0x79f60a292619b11e, 0xeba94299623579ae,
                                        0x28cbb71607f2cf3f};
    for (uint32_t uSeed = 1; uSeed <= 4; uSeed++) {
        SGenome genome;
        std::string sError;
        ASSERT_TRUE(randomGenome(uSeed, genome, sError)) << sError;
        const uint64_t uRandom = textChecksum(genomeXml(genome));
        const uint64_t uMutation =
            textChecksum(genomeXml(mutatedGenome(genome, uSeed, static_cast<int>(uSeed))));
        EXPECT_EQ(uRandom, pinnedRandom[uSeed - 1]) << uSeed;
        EXPECT_EQ(uMutation, pinnedMutations[uSeed - 1]) << uSeed;
    }
}

}  // namespace

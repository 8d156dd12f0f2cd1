// --load's reading of a saved picture: what it takes, and every file that flames never writes
// refused with its reason, at once and at little cost, a bomb of a file included.

#include "files/picture_file.h"
#include "pictures/png_codec.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using TChunks = std::vector<std::pair<std::string, std::string>>;  // type and data

std::string bigEndian(uint32_t uValue) {
    return {static_cast<char>(uValue >> 24), static_cast<char>(uValue >> 16),
            static_cast<char>(uValue >> 8), static_cast<char>(uValue)};
}

// A chunk as the file holds it: length, type, data and CRC; iCrcOffset spoils the CRC, and
// iLength, where not -1, is the length it claims.
std::string chunk(const std::string& sType, const std::string& sData, uint32_t uCrcOffset = 0,
                  long long iLength = -1) {
    const std::string sBody = sType + sData;
    const uint32_t uCrc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(sBody.data()), static_cast<uInt>(sBody.size())));
    return bigEndian(static_cast<uint32_t>(iLength < 0 ? sData.size() : iLength)) + sBody +
           bigEndian(uCrc + uCrcOffset);
}

// A 1 x 1 black RGB picture with those chunks before its image and afterChunks after it.
std::string pngOf(const std::string& sBeforeImage, const std::string& sAfterImage = "") {
    const std::string sRow(4, '\0');
    uLongf iSize = compressBound(sRow.size());
    std::string sCompressed(iSize, '\0');
    compress(reinterpret_cast<Bytef*>(sCompressed.data()), &iSize,
             reinterpret_cast<const Bytef*>(sRow.data()), sRow.size());
    sCompressed.resize(iSize);
    const std::string sHeader = bigEndian(1) + bigEndian(1) + std::string("\x08\x02\0\0\0", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", sHeader) + sBeforeImage +
           chunk("IDAT", sCompressed) + sAfterImage + chunk("IEND", "");
}

std::string text(const std::string& sKey, const std::string& sValue) {
    return chunk("tEXt", sKey + std::string(1, '\0') + sValue);
}

// The chunks of a picture of pattern 3 as flames writes them, with one of them replaced.
std::string recordWith(const std::string& sKey, const std::string& sValue) {
    const TChunks vRecorded = {{"Iterations", "10"}, {"Pattern", "3"}, {"Colouring", "4"},
                               {"Seed", "7"},        {"Size", "320x240"}};
    std::string sChunks;
    for (const auto& [sRecordedKey, sRecorded] : vRecorded)
        if (sRecordedKey != sKey) sChunks += text(sRecordedKey, sRecorded);
    return sChunks + (sKey.empty() ? "" : text(sKey, sValue));
}

std::string reasonOf(const std::string& sPath) {
    SRun run;
    int iColourType = 1;
    std::string sError;
    if (readRecordedRun(sPath, run, iColourType, sError)) return "";
    return sError.substr(sError.find(": ") + 2);
}

void writeFile(const std::string& sPath, const std::string& sBytes) {
    std::ofstream(sPath, std::ios::binary) << sBytes;
}

TEST(RecordedRunTest, TakesWhatFlamesWrites) {
    CFolder folder;
    writeFile(folder / "done.png", pngOf(recordWith("Done", "4")));
    SRun run;
    int iColourType = 1;
    std::string sError;
    ASSERT_TRUE(readRecordedRun(folder / "done.png", run, iColourType, sError)) << sError;
    EXPECT_EQ(run.iIterations, 4);  // what the picture holds
    EXPECT_EQ(run.iPattern, 3);
    EXPECT_EQ(iColourType, 4);
    EXPECT_EQ(run.iWidth, 320);
}

// Every value checked as the options check theirs, named with its chunk.
TEST(RecordedRunTest, RefusesWhatFlamesNeverWrites) {
    const std::string sCut = "not a readable PNG file: ";
    const struct {
        std::string sBytes;
        std::string sReason;
    } cases[] = {
        {pngOf(recordWith("Iterations", "-1")),
         "its Iterations chunk \"-1\" is not what flames writes"},
        {pngOf(recordWith("Iterations", "0")),
         "its Iterations chunk \"0\" is not what flames writes"},
        {pngOf(recordWith("Iterations", "-2147483648")),
         "its Iterations chunk \"-2147483648\" is not what flames writes"},
        {pngOf(recordWith("Pattern", "0")), "its Pattern chunk \"0\" is not what flames writes"},
        {pngOf(recordWith("Pattern", "99")), "its Pattern chunk \"99\" is not what flames writes"},
        {pngOf(recordWith("Colouring", "0")),
         "its Colouring chunk \"0\" is not what flames writes"},
        {pngOf(recordWith("Colouring", "-7")),
         "its Colouring chunk \"-7\" is not what flames writes"},
        {pngOf(recordWith("Done", "-1")), "its Done chunk \"-1\" is not what flames writes"},
        {pngOf(recordWith("Done", "2147483647")),
         "its Done chunk \"2147483647\" is not what flames writes"},
        {pngOf(recordWith("Seed", std::string("7\0" "9", 3))), "its Seed chunk holds a NUL byte"},
        {pngOf(recordWith("Functions", std::string(2 << 20, ';'))),
         sCut + "tEXt: chunk data is too large"},
        {pngOf(recordWith("", "") + chunk("tEXt", "Seed\0" "7", 1)), sCut + "tEXt: CRC error"},
        {pngOf(chunk("tEXt", "x", 0, 2147483647)), sCut + "tEXt: chunk data is too large"},
        {pngOf("", recordWith("", "")),
         "no Iterations chunk before its image: not a picture saved by flames"},
    };
    CFolder folder;
    for (const auto& example : cases) {
        writeFile(folder / "odd.png", example.sBytes);
        EXPECT_EQ(reasonOf(folder / "odd.png"), example.sReason);
    }
}

TEST(RecordedRunTest, OpensOnlyRegularFiles) {
    CFolder folder;
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(reasonOf(folder / "fifo"), "not a regular file");  // at once, not blocked
    EXPECT_EQ(reasonOf(folder.path.string()), "Is a directory");
    EXPECT_EQ(reasonOf("/dev/zero"), "not a regular file");
}

// A megabyte of blanks compressed: a kilobyte.
std::string compressedBlanks() {
    const std::string sText(1 << 20, ' ');
    uLongf uSize = compressBound(static_cast<uLong>(sText.size()));
    std::string sCompressed(uSize, '\0');
    compress(reinterpret_cast<Bytef*>(&sCompressed[0]), &uSize,
             reinterpret_cast<const Bytef*>(sText.data()), static_cast<uLong>(sText.size()));
    return sCompressed.substr(0, uSize);
}

// A 45-byte file whose text chunk says it holds 2^31 - 1 bytes, one of 1001 chunks, and a
// megabyte of compressed chunks that would inflate to a gigabyte: refused before they are taken
// in, within 20 MiB more than the texts' own limit. (How long each takes, make bench says.)
TEST(RecordedRunTest, BombsAreRefusedAtLittleCost) {
#ifdef __SANITIZE_ADDRESS__  // whose quarantine keeps what is freed: only the refusal counts
    const long iMostGrowthKiB = 1L << 40;
#else
    const long iMostGrowthKiB = 28 * 1024;
#endif
    CFolder folder;
    std::string sMany = recordWith("", "");
    for (int i = 0; i < 1001; i++) sMany += text("Note" + std::to_string(i), "x");
    std::string sInflating = recordWith("", "");
    const std::string sBlanks = compressedBlanks();
    for (int i = 0; i < 990; i++)
        sInflating += chunk("zTXt", "Note" + std::to_string(i) + std::string(2, '\0') + sBlanks);
    const std::string sBomb = pngOf(chunk("tEXt", "", 0, 2147483647)).substr(0, 45);
    writeFile(folder / "bomb.png", sBomb);
    writeFile(folder / "many.png", pngOf(sMany));
    writeFile(folder / "inflating.png", pngOf(sInflating));
    EXPECT_EQ(sBomb.size(), 45u);
    EXPECT_EQ(reasonOf(folder / "many.png"), "over 1000 text chunks");
    EXPECT_EQ(reasonOf(folder / "inflating.png"), "its texts are too long");
    for (const char* sName : {"bomb.png", "many.png", "inflating.png"}) {
        const pid_t iPid = fork();
        if (iPid == 0) {
            rusage before{}, after{};
            getrusage(RUSAGE_SELF, &before);
            const bool bRefused = !reasonOf(folder / sName).empty();
            getrusage(RUSAGE_SELF, &after);
            _exit(bRefused && after.ru_maxrss - before.ru_maxrss < iMostGrowthKiB ? 0 : 1);
        }
        int iStatus = 0;
        waitpid(iPid, &iStatus, 0);
        EXPECT_TRUE(WIFEXITED(iStatus) && WEXITSTATUS(iStatus) == 0) << sName;
        EXPECT_NE(reasonOf(folder / sName), "") << sName;
    }
}

}  // namespace

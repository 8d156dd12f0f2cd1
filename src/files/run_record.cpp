#include "files/run_record.h"

#include "base/number_text.h"
#include "core/colouring.h"
#include "text/text_forms.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace {

using TText = std::optional<std::string>;  // a chunk's text; none: not written for this run

struct SChunk {
    const char* sKey;
    bool bNeeded;  // else the value held stands: a picture saved before the chunk was written
    TText (*pfWrite)(const SRecord& record);
    bool (*pfRead)(const std::string& sText, SRecord& record);  // null: not read back
};

bool writesPattern(const SRecord& record) { return !drawsFlame(record.run); }

// A value read as the options read theirs: decimal digits only, within the range.
bool readWithin(const std::string& sText, int iLowest, int iHighest, int& iValue) {
    long long iRead = 0;
    if (!readWholeNumber(sText, iLowest, iHighest, iRead)) return false;
    iValue = static_cast<int>(iRead);
    return true;
}

// Written and read in this order; a random flame's seed is judged once its functions are read.
const SChunk recordChunks[] = {
    {"Software", false, [](const SRecord&) -> TText { return sProgramVersion; }, nullptr},
    {"Iterations", true,
     [](const SRecord& record) -> TText { return std::to_string(record.run.iIterations); },
     [](const std::string& sText, SRecord& record) {
         return readWithin(sText, 1, INT_MAX, record.run.iIterations);
     }},
    {"Pattern", false,  // where there are no Functions
     [](const SRecord& record) -> TText {
         if (!writesPattern(record)) return std::nullopt;
         return std::to_string(record.run.iPattern);
     },
     [](const std::string& sText, SRecord& record) {
         return readWithin(sText, 1, iPatternCount, record.run.iPattern);
     }},
    {"Flame", false,  // the seed of a random flame
     [](const SRecord& record) -> TText {
         if (!record.run.flame.bRandom) return std::nullopt;
         return std::to_string(record.run.flame.uSeed);
     },
     [](const std::string& sText, SRecord& record) {
         record.run.flame.bRandom = readSeed(sText, record.run.flame.uSeed);
         return record.run.flame.bRandom;
     }},
    {"Functions", false,  // a flame, maybe edited by hand: drawn as written
     [](const SRecord& record) -> TText {
         if (writesPattern(record)) return std::nullopt;
         return flameText(record.run.flame);
     },
     [](const std::string& sText, SRecord& record) {
         std::string sError;
         SFlame flame;
         if (!readFlame(sText, flame, sError)) return false;
         flame.bRandom = record.run.flame.bRandom;
         flame.uSeed = record.run.flame.uSeed;
         record.run.flame = flame;
         return true;
     }},
    {"Colouring", true,
     [](const SRecord& record) -> TText { return std::to_string(record.iColourType); },
     [](const std::string& sText, SRecord& record) {
         return readWithin(sText, 1, iColourCount, record.iColourType);
     }},
    {"Seed", true, [](const SRecord& record) -> TText { return std::to_string(record.run.uSeed); },
     [](const std::string& sText, SRecord& record) { return readSeed(sText, record.run.uSeed); }},
    {"Size", false,
     [](const SRecord& record) -> TText {
         return sizeText(record.run.iWidth, record.run.iHeight);
     },
     [](const std::string& sText, SRecord& record) {
         return readSize(sText, record.run.iWidth, record.run.iHeight);
     }},
    {"View", false, [](const SRecord& record) -> TText { return viewText(record.run.view); },
     [](const std::string& sText, SRecord& record) { return readView(sText, record.run.view); }},
    {"Description", false,
     [](const SRecord& record) -> TText { return describeRun(record.run, record.iColourType); },
     nullptr},
    {"Done", false,  // a picture saved during its run holds that many iterations
     [](const SRecord& record) -> TText {
         if (record.iDone >= record.run.iIterations) return std::nullopt;
         return std::to_string(record.iDone);
     },
     [](const std::string& sText, SRecord& record) {
         return readWithin(sText, 0, record.run.iIterations, record.run.iIterations);
     }},
};

std::string colourPhrase(int iColourType) {
    if (!isColouring(iColourType)) return "not coloured";
    return std::string("in ") + colourTable[iColourType - 1].sName;
}

// The last chunk of that key, as a reader that keeps one text a key would take it.
const SPngText* textOf(const std::vector<SPngText>& vTexts, const std::string& sKey) {
    const auto found = std::find_if(vTexts.rbegin(), vTexts.rend(),
                                    [&](const SPngText& text) { return text.sKey == sKey; });
    return found == vTexts.rend() ? nullptr : &*found;
}

// 'its Iterations chunk "-1" is not what flames writes'
std::string notWritten(const std::string& sKey, const std::string& sText) {
    return "its " + sKey + " chunk \"" + shownText(sText, 60) + "\" is not what flames writes";
}

}  // namespace

std::string describeRun(const SRun& run, int iColourType) {
    return std::to_string(run.iIterations) + " iterations of " + drawnPhrase(run) + ", " +
           colourPhrase(iColourType) + ", seed " + std::to_string(run.uSeed);
}

std::vector<SPngText> recordTexts(const SRecord& record) {
    std::vector<SPngText> vTexts;
    for (const SChunk& chunk : recordChunks)
        if (const TText sText = chunk.pfWrite(record)) vTexts.push_back({chunk.sKey, *sText});
    return vTexts;
}

bool readRecord(const std::vector<SPngText>& vTexts, SRecord& record, std::string& sReason) {
    for (const SChunk& chunk : recordChunks) {
        if (!chunk.pfRead) continue;
        const SPngText* pText = textOf(vTexts, chunk.sKey);
        if (!pText) {
            if (!chunk.bNeeded) continue;
            sReason = std::string("no ") + chunk.sKey +
                      " chunk before its image: not a picture saved by flames";
            return false;
        }
        if (!chunk.pfRead(pText->sText, record)) {
            sReason = notWritten(chunk.sKey, pText->sText);
            return false;
        }
    }
    if (record.run.flame.bRandom && !drawsFlame(record.run)) {
        sReason = notWritten("Flame", textOf(vTexts, "Flame")->sText);
        return false;
    }
    if (!textOf(vTexts, "Pattern") && !textOf(vTexts, "Functions")) {
        sReason = "no Pattern chunk before its image: not a picture saved by flames";
        return false;
    }
    return true;
}

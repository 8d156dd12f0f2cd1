// The start-up dialogue under generated answers: the three choices must be exactly what integer
// extraction from a stream gives, worked out here by a small model of its rules, and the texts
// must be the same whatever was typed.

#include "app/dialogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <random>
#include <sstream>
#include <string>

namespace {

struct SModelChoices {
    int iIterations = 1000000;  // the defaults of a new CCalculation
    int iPattern = 1;
    int iColourType = 1;

    bool operator==(const SModelChoices& other) const {
        return iIterations == other.iIterations && iPattern == other.iPattern &&
               iColourType == other.iColourType;
    }
};

std::ostream& operator<<(std::ostream& out, const SModelChoices& choices) {
    return out << "{" << choices.iIterations << ", " << choices.iPattern << ", "
               << choices.iColourType << "}";
}

// What the dialogue makes of the input, and the text it writes meanwhile.
SModelChoices askWith(const std::string& sInput, std::string* pOutput = nullptr) {
    std::istringstream in(sInput);
    std::ostringstream out;
    SChoices choices;
    askChoices(in, out, choices);
    if (pOutput) *pOutput = out.str();
    return {choices.run.iIterations, choices.run.iPattern, choices.iColourType};
}

// The rules of reading an int, one answer after the other: skip the blanks of the C locale, take
// an optional sign and then every digit up to the first other character, which is left for the
// next answer. No digit, a value beyond an int, or a number that takes the word's first 64
// characters with the word going on, is a failure, and after a failure nothing more is read:
// every later choice keeps its default. piRead, when given, receives how many answers were read.
SModelChoices model(const std::string& sInput, int* piRead = nullptr) {
    const auto isBlank = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    SModelChoices choices;
    int* const pChoice[] = {&choices.iIterations, &choices.iPattern, &choices.iColourType};
    std::size_t uPos = 0;
    int iRead = 0;
    const std::size_t uEnd = sInput.size();
    for (int* pTarget : pChoice) {
        while (uPos < uEnd && isBlank(sInput[uPos])) uPos++;
        const std::size_t uWord = uPos;
        bool bNegative = false;
        if (uPos < uEnd && (sInput[uPos] == '+' || sInput[uPos] == '-'))
            bNegative = sInput[uPos++] == '-';
        const std::size_t uDigits = uPos;
        long long iMagnitude = 0;  // saturates just beyond every int
        while (uPos < uEnd && sInput[uPos] >= '0' && sInput[uPos] <= '9') {
            iMagnitude = std::min(iMagnitude * 10 + (sInput[uPos] - '0'), 1LL << 40);
            uPos++;
        }
        if (uPos == uDigits) break;
        constexpr std::size_t uKept = 64;  // of a word, which is judged on those
        if (uPos - uWord >= uKept && uWord + uKept < uEnd && !isBlank(sInput[uWord + uKept]))
            break;
        const long long iValue = bNegative ? -iMagnitude : iMagnitude;
        if (iValue < INT_MIN || iValue > INT_MAX) break;
        *pTarget = static_cast<int>(iValue);
        iRead++;
    }
    if (piRead) *piRead = iRead;
    return choices;
}

// Pieces of answers: each family of awkward input in turn, picked at random.
class AnswerGenerator {
public:
    explicit AnswerGenerator(std::uint64_t uSeed) : generator(uSeed) {}

    std::string token() {
        if (below(2) == 0) return number(-1000, 10000000);  // a plain answer half the time
        switch (below(16)) {
        case 0: return "";
        case 1: return blanks(1 + below(4));
        case 2: return letters(1 + below(6));
        case 3: return pick({"+", "-", "+-5", "-+5", "--5", "++5", "- 5", "+ 5"});
        case 4: return pick({"+5", "-0", "+0", "-00", "0", "00000"});
        case 5: return std::string(1 + below(30), '0') + number(1, 999);  // leading zeros
        case 6: return digits(20);
        case 7: return number(-99999, 99999) + pick({"e6", "E3", "abc", ".5", ",000", "k", "-3"});
        case 8: return pick({"0x10", "0X1f", "0xffffffff", "0b101", "010", "0o7", "0x"});
        case 9: return pick({"\xff\xfe", "\xc3", "\x80", "\xe2\x82", "\xc3\xa9" "5", "5\xff"});
        case 10: return std::string(1 + below(3), '\0') + pick({"", "5", "-7"});
        case 11: return number(1, 9) + std::string(1, '\0') + number(1, 9);
        case 12: return pick({"2147483647", "-2147483648", "2147483648", "-2147483649",
                              "+2147483647", "02147483647", "4294967295", "4294967296",
                              "9223372036854775807", "-9223372036854775808",
                              "9223372036854775808", "18446744073709551615",
                              "18446744073709551616", "-18446744073709551616"});
        case 13: return longLine();
        case 14: return randomBytes(1 + below(8));
        default: return number(-1000, 10000000);
        }
    }

    std::string separator() {
        switch (below(6)) {
        case 0: return "";  // glued to the next answer
        case 1: return " ";
        case 2: return "\n";
        case 3: return pick({"\t", "\r\n", "\v", "\f", " \t \n ", "\n\n\n"});
        case 4: return blanks(1 + below(12));
        default: return below(20) == 0 ? blanks(5000) : " ";
        }
    }

    std::string randomBytes(int iCount) {
        std::string sBytes;
        for (int i = 0; i < iCount; i++) sBytes += static_cast<char>(below(256));
        return sBytes;
    }

    int below(int iBound) { return std::uniform_int_distribution<int>(0, iBound - 1)(generator); }

private:
    std::string pick(std::initializer_list<const char*> choices) {
        return *(choices.begin() + below(static_cast<int>(choices.size())));
    }

    std::string number(int iMin, int iMax) {
        return std::to_string(std::uniform_int_distribution<int>(iMin, iMax)(generator));
    }

    std::string digits(int iCount) {
        std::string sDigits(1, static_cast<char>('1' + below(9)));
        while (static_cast<int>(sDigits.size()) < iCount)
            sDigits += static_cast<char>('0' + below(10));
        return (below(2) ? "-" : "") + sDigits;
    }

    std::string letters(int iCount) {
        std::string sLetters;
        for (int i = 0; i < iCount; i++) sLetters += static_cast<char>('a' + below(26));
        return sLetters;
    }

    std::string blanks(int iCount) {
        static const char cBlanks[] = " \t\n\v\f\r";
        std::string sBlanks;
        for (int i = 0; i < iCount; i++) sBlanks += cBlanks[below(6)];
        return sBlanks;
    }

    std::string longLine() {  // up to a hundred thousand characters on one line
        const int iLength = 1000 + below(100000);
        switch (below(4)) {
        case 0: return std::string(iLength, '0') + "42";  // still 42
        case 1: return std::string(iLength, '7');          // far beyond an int
        case 2: return std::string(iLength, 'x');
        default: return "-" + std::string(iLength, '0');  // zero
        }
    }

    std::mt19937_64 generator;
};

TEST(DialogueFuzzTest, ModelAgreesWithWorkedAnswers) {
    struct SCase {
        std::string sInput;
        SModelChoices expected;
    };
    const SCase cases[] = {
        {"1000 2 3\n", {1000, 2, 3}},    // on one line
        {"1000\n2\n3\n", {1000, 2, 3}},  // or on three
        {"  -7\t\t0\n 21 ", {-7, 0, 21}},  // out-of-range choices pass unchanged
        {"abc 2 3", {1000000, 1, 1}},     // a failed answer keeps its default and every later one
        {"500 x 3", {500, 1, 1}},
        {"500 7 ?", {500, 7, 1}},
        {"500", {500, 1, 1}},             // the end of input is a failed read
        {"", {1000000, 1, 1}},
        {" \t\n\v\f\r", {1000000, 1, 1}},
        {"+5 -0 007", {5, 0, 7}},
        {"1e6 2 3", {1, 1, 1}},           // 1 read, then "e6" fails
        {"0x10 4 4", {0, 1, 1}},          // 0 read, then "x10" fails
        {"12,5 6", {12, 1, 1}},
        {"3.7", {3, 1, 1}},
        {"2147483647 -2147483648 -0", {INT_MAX, INT_MIN, 0}},
        {"2147483648 2 3", {1000000, 1, 1}},
        {"-2147483649 2 3", {1000000, 1, 1}},
        {"4 -2147483649 3", {4, 1, 1}},
        {"4 5 99999999999999999999", {4, 5, 1}},
        {"- 5 6 7", {1000000, 1, 1}},     // a sign must be followed by its digits
        {"+-5", {1000000, 1, 1}},
        {std::string("7\0" "8 9", 5), {7, 1, 1}},  // NUL is no blank
        {"\xc3\xa9" "5 6 7", {1000000, 1, 1}},
        {"5\xff 6", {5, 1, 1}},
        {"1\n\n2\t3 trailing", {1, 2, 3}},
        {"1-2+3", {1, -2, 3}},
        {"000000000000000000000000000009 8 7", {9, 8, 7}},
    };
    for (const SCase& entry : cases) {
        EXPECT_EQ(model(entry.sInput), entry.expected) << testing::PrintToString(entry.sInput);
        EXPECT_EQ(askWith(entry.sInput), entry.expected) << testing::PrintToString(entry.sInput);
    }
}

TEST(DialogueFuzzTest, GeneratedAnswersReadAsStreamRulesSay) {
    std::string sReferenceText;
    askWith("", &sReferenceText);
    ASSERT_FALSE(sReferenceText.empty());

    AnswerGenerator generator(20240607);
    constexpr int iInputs = 4000;
    int iReadCounts[4] = {0, 0, 0, 0};  // inputs by the number of answers read
    for (int iInput = 0; iInput < iInputs; iInput++) {
        std::string sInput;
        if (iInput % 10 == 9) {
            sInput = generator.randomBytes(generator.below(40));  // any bytes at all
        } else {
            sInput = generator.separator();
            for (int iAnswer = 0; iAnswer < 3 + generator.below(2); iAnswer++)
                sInput += generator.token() + generator.separator();
        }
        std::string sText;
        const SModelChoices actual = askWith(sInput, &sText);
        int iRead = 0;
        const SModelChoices expected = model(sInput, &iRead);
        iReadCounts[iRead]++;
        const std::string sShown =
            sInput.size() > 200 ? sInput.substr(0, 200) + "... (" + std::to_string(sInput.size()) +
                                      " bytes)"
                                : sInput;
        ASSERT_EQ(actual, expected) << "input " << iInput << ": "
                                    << testing::PrintToString(sShown);
        ASSERT_EQ(sText, sReferenceText) << "input " << iInput << ": "
                                         << testing::PrintToString(sShown);
    }
    // The generator must reach every case: failing at the first answer, the second, the third,
    // and reading all three.
    for (int iRead = 0; iRead <= 3; iRead++)
        EXPECT_GT(iReadCounts[iRead], iInputs / 20) << iRead << " answers read";
}

}  // namespace

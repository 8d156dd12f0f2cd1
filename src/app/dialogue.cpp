#include "app/dialogue.h"

#include "base/number_text.h"
#include "core/colouring.h"
#include "core/patterns.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

constexpr int iFirstSinglePattern = 6;  // the note below stands before its menu line
const char* const singlePatternNote[] = {
    "The following are the original functions provided by Vantor.",
    "The used coefficients are taken from the above examples.",
    "These functions are not meant to be used separately,",
    "so the result is not very pleasing.",
};

constexpr size_t iShownLength = 24;  // of a text that did not read as a number

void emptyLines(std::ostream& out, int iCount) {
    for (int i = 0; i < iCount; i++) out << std::endl;
}

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Hands on the characters of another stream buffer one at a time and keeps what an answer took,
// so that one that fails to read can be shown as it was typed: its word (the blanks before it
// passed over), of which only the first iKeptLength characters are kept. A word is judged on
// those: its reader is told the input ends there, so that an endless word (/dev/zero) fails at
// once instead of being read for ever. The character last handed out is taken from the source
// only once the reader has moved past it, as the source itself would; the rest of a word that an
// answer read as a number is read ahead, to be shown, and handed out again in its turn.
class CTakenText : public std::streambuf {
public:
    static constexpr size_t iKeptLength = 64;

    explicit CTakenText(std::streambuf* pSource) : pSource(pSource) {}

    void startAnswer() {
        settle();
        sKept.clear();
        iLength = 0;
        bSigned = bDigitsOnly = true;
        bCut = false;
    }

    // What the answer took: its word's first characters, its length, and whether it is a sign
    // or none and then only digits.
    const std::string& kept() {
        settle();
        return sKept;
    }
    size_t length() const { return iLength; }
    bool cut() const { return bCut; }  // its word went on past iKeptLength characters
    bool numberShaped() const { return iLength > (bSigned ? 1u : 0u) && bDigitsOnly; }

    // The characters of the word after what the answer took, the one in hand first, up to a
    // blank or the end, at most iKeptLength of them. Called only with a character in hand that
    // is no blank, so that nothing is waited for beyond the word's line.
    std::string restOfWord() {
        if (bPeeked && !bPeekedAhead) {  // the character in hand moves ahead, still in hand
            pSource->sbumpc();
            sAhead.insert(sAhead.begin(), cPeeked);
            bPeekedAhead = true;
        }
        while (sAhead.size() < iKeptLength && !sourceEndsWord())
            sAhead += traits_type::to_char_type(pSource->sbumpc());
        return sAhead;
    }

    // Whether the reader stopped inside a word: the character in hand is none of a blank.
    bool wordGoesOn() const { return bPeeked && gptr() != egptr() && !isBlank(cPeeked); }

    void settle() {
        if (!bPeeked || gptr() != egptr()) return;
        if (bPeekedAhead) sAhead.erase(0, 1);
        else pSource->sbumpc();
        keep(cPeeked);
        bPeeked = false;
    }

protected:
    int_type underflow() override {
        settle();
        bPeekedAhead = !sAhead.empty();
        const int_type iNext =
            bPeekedAhead ? traits_type::to_int_type(sAhead[0]) : pSource->sgetc();
        if (traits_type::eq_int_type(iNext, traits_type::eof())) return iNext;
        cPeeked = traits_type::to_char_type(iNext);
        if (iLength >= iKeptLength && !isBlank(cPeeked)) {
            bCut = true;
            return traits_type::eof();
        }
        bPeeked = true;
        setg(&cPeeked, &cPeeked, &cPeeked + 1);
        return iNext;
    }

private:
    // Whether the source's next character is a blank, or there is none.
    bool sourceEndsWord() {
        const int_type iNext = pSource->sgetc();
        return traits_type::eq_int_type(iNext, traits_type::eof()) ||
               isBlank(traits_type::to_char_type(iNext));
    }

    void keep(char c) {
        if (iLength == 0 && isBlank(c)) return;
        if (iLength < iKeptLength) sKept += c;
        const bool bSign = iLength == 0 && (c == '-' || c == '+');
        if (iLength == 0) bSigned = bSign;
        if (!bSign) bDigitsOnly = bDigitsOnly && std::isdigit(static_cast<unsigned char>(c));
        iLength++;
    }

    std::streambuf* pSource;
    std::string sKept;
    std::string sAhead;  // read from the source ahead of the reader, for it to have in its turn
    size_t iLength = 0;
    bool bSigned = false;
    bool bDigitsOnly = true;
    bool bCut = false;
    char cPeeked = 0;
    bool bPeeked = false;
    bool bPeekedAhead = false;  // the character in hand is sAhead's first, not the source's
};

// The rest of the word a failed read stopped in, taken without changing the stream's state.
void takeRestOfWord(std::istream& in) {
    const std::ios::iostate state = in.rdstate();
    in.clear();
    for (int iNext = in.peek(); iNext != EOF && !isBlank(static_cast<char>(iNext));
         iNext = in.peek())
        in.get();
    in.clear(state);
}

// "a, b and c"
std::string listed(const std::vector<std::string>& vItems) {
    std::string sList;
    for (size_t i = 0; i < vItems.size(); i++)
        sList += (i == 0 ? "" : i + 1 == vItems.size() ? " and " : ", ") + vItems[i];
    return sList;
}

// The three questions: the choice each answer goes to, the answers that choice works with, what
// any other number is (and whether the range is said with it), and what it gives in the window.
struct SQuestion {
    const char* sName;
    int& (*pfChoice)(SChoices& choices);
    int         iLowest, iHighest;
    const char* sProblem;
    bool        bRangeSaid;
    const char* sInWindow;
};

enum EQuestion { iIterationsQuestion, iPatternQuestion, iColourQuestion };

const SQuestion questions[] = {
    {"iterations", [](SChoices& choices) -> int& { return choices.run.iIterations; }, 1, INT_MAX,
     " iterations compute nothing", false, "; the picture stays black"},
    {"pattern", [](SChoices& choices) -> int& { return choices.run.iPattern; }, 1, iPatternCount,
     " is no pattern", true, "; the point never moves and one pixel is lit"},
    {"colouring", [](SChoices& choices) -> int& { return choices.iColourType; }, 1, iColourCount,
     " is no colouring", true, "; nothing is coloured, the picture stays black"},
};

constexpr const char* sNothingSaved = "; nothing is saved";

// " is no pattern (1 to 20)"
std::string problemOf(const SQuestion& question) {
    if (!question.bRangeSaid) return question.sProblem;
    return std::string(question.sProblem) + " (" + std::to_string(question.iLowest) + " to " +
           std::to_string(question.iHighest) + ")";
}

// The choices a failed read keeps: its own and every later one.
std::string keptChoices(EQuestion question, const SChoices& choices) {
    std::vector<std::string> vKept;
    if (question <= iIterationsQuestion)
        vKept.push_back(std::to_string(choices.run.iIterations) + " iterations");
    if (question <= iPatternQuestion)
        vKept.push_back("pattern " + std::to_string(choices.run.iPattern));
    const int iColour = choices.iColourType;
    vKept.push_back(isColouring(iColour) ? colourTable[iColour - 1].sName
                                         : "colouring " + std::to_string(iColour));
    return listed(vKept);
}

// What an answer that did not read as an int was: nothing at all, a number beyond an int, or no
// number; shortened, and its control characters escaped.
// A word as a message quotes it: shortened, and its control characters escaped.
std::string quotedWord(const std::string& sWord, size_t iLength) {
    const bool bCut = iLength > iShownLength;
    return '"' + shownText(sWord.substr(0, bCut ? iShownLength - 3 : iShownLength)) +
           (bCut ? "..." : "") + '"';
}

std::string whatFailed(CTakenText& typed) {
    if (typed.length() == 0) return "no answer";
    if (typed.cut())
        return quotedWord(typed.kept(), typed.length() + 1) + " goes on past " +
               std::to_string(CTakenText::iKeptLength) + " characters";
    return quotedWord(typed.kept(), typed.length()) +
           (typed.numberShaped() ? " is beyond the range of a whole number"
                                 : " is not a whole number");
}

// An answer read as a number that its word goes on after ("1,000,000" read as 1): said, and not
// taken as given. The rest of the word stays for the next answer, as the stream leaves it.
bool gluedToItsWord(CTakenText& typed, std::ostream& err, const SQuestion& asked, int iAnswer) {
    if (!typed.wordGoesOn()) return false;
    const std::string sWord = typed.kept() + typed.restOfWord();
    err << "flames: " << asked.sName << ": " << quotedWord(sWord, sWord.size())
        << " was read as " << iAnswer << std::endl;
    return true;
}

// Stores the answer only when the extraction succeeded: a failed extraction into an int
// writes 0 or the int's limits, which would overwrite the default. True when the answer was
// read and is one the choice works with.
bool readAnswer(std::istream& in, CTakenText& typed, std::ostream& err, EQuestion question,
                SChoices& choices, EAnswers answers) {
    const SQuestion& asked = questions[question];
    const bool bWasFailed = in.fail();
    typed.startAnswer();
    int iAnswer = 0;
    if (in >> iAnswer && !typed.cut()) {
        asked.pfChoice(choices) = iAnswer;
        const bool bGlued = gluedToItsWord(typed, err, asked, iAnswer);
        if (iAnswer >= asked.iLowest && iAnswer <= asked.iHighest) return !bGlued;
        err << "flames: " << asked.sName << ": " << iAnswer << problemOf(asked)
            << (answers == eAnswersAsGiven ? sNothingSaved : asked.sInWindow) << std::endl;
    } else if (!bWasFailed) {  // said once, where the reading stopped
        in.setstate(std::ios::failbit);  // a word cut short reads no further, whatever it held
        takeRestOfWord(in);
        err << "flames: " << asked.sName << ": " << whatFailed(typed)
            << (answers == eAnswersAsGiven ? sNothingSaved
                                           : "; keeping " + keptChoices(question, choices))
            << std::endl;
    }
    return false;
}

}  // namespace

void askChoices(std::istream& in, std::ostream& out, SChoices& choices) {
    std::ostream quiet(nullptr);  // no buffer: what is written to it goes nowhere
    askChoices(in, out, quiet, choices);
}

bool askChoices(std::istream& in, std::ostream& out, std::ostream& err, SChoices& choices,
                EAnswers answers) {
    const std::ios::iostate state = in.rdstate();
    CTakenText typed(in.rdbuf());
    std::streambuf* pSource = in.rdbuf(&typed);
    in.clear(state);  // as rdbuf() found it

    emptyLines(out, 2);
    out << "----------------------------------------------" << std::endl;
    out << "--Welcome to Vemo's tests on fractal flames.--" << std::endl;
    out << "----------------------------------------------" << std::endl;
    emptyLines(out, 2);
    out << "Please choose the number of iterations" << std::endl;
    out << "(recommended between 100000 and 100000000," << std::endl;
    out << "for the colours 'rainbow' and 'all blues' even more)." << std::endl;
    emptyLines(out, 1);
    bool bAsGiven = readAnswer(in, typed, err, iIterationsQuestion, choices, answers);

    emptyLines(out, 2);
    out << "Please choose a pattern from the following list:" << std::endl;
    for (int iPattern = 1; iPattern <= iPatternCount; iPattern++) {
        if (iPattern == iFirstSinglePattern)
            for (const char* pLine : singlePatternNote) out << pLine << std::endl;
        out << patternTable[iPattern - 1].sMenuLine << std::endl;
    }
    emptyLines(out, 1);
    bAsGiven = readAnswer(in, typed, err, iPatternQuestion, choices, answers) && bAsGiven;

    emptyLines(out, 2);
    out << "Please choose the type of colouring from the following list:" << std::endl;
    for (const SColouringRow& colouring : colourTable) out << colouring.sMenuLine << std::endl;
    emptyLines(out, 1);
    bAsGiven = readAnswer(in, typed, err, iColourQuestion, choices, answers) && bAsGiven;
    emptyLines(out, 2);

    typed.settle();
    const std::ios::iostate endState = in.rdstate();
    in.rdbuf(pSource);
    in.clear(endState);
    return bAsGiven;
}

void sayCalculating(std::ostream& out) {
    out << "calculating......." << std::endl << std::endl << std::endl;
}

#include "cli/option_table.h"

#include "core/colouring.h"
#include "core/patterns.h"
#include "text/text_forms.h"
#include "variations/variations.h"

#include <string>

namespace {

constexpr size_t iHelpIndent = 17;  // where an option's lines begin
constexpr size_t iHelpWidth = 80;

const char* const sUsage =
    "Usage: flames [--iterations N] [--pattern P | --flame TEXT | --random SEED]\n"
    "              [--colouring C] [--size WxH]\n"
    "              [--view XMIN,YMIN,XMAX,YMAX | --fit] [--load FILE] [--seed N]\n"
    "              [--threads N] [--save FILE] [--live] [--help] [--version]\n"
    "              [GLUT options]\n"
    "       flames (--genome FILE [--pick N] [--lenient] | --random-genome SEED |\n"
    "              --load FILE)\n"
    "              [--quality Q] [--size WxH] [--fit] [--seed N] [--threads N]\n"
    "              [--save FILE [--depth BITS] [--transparent] [--strips N | --memory MIB]\n"
    "              | --write-genome FILE]\n"
    "              [GLUT options]\n"
    "       flames --genome FILE [--loop N | --sequence N]\n"
    "              [--frames FIRST:LAST[:STEP]] [--seed N] [--threads N]\n"
    "              [GLUT options]\n"
    "       flames --genome FILE [--loop N | --sequence N]\n"
    "              (--frames FIRST:LAST[:STEP] | --frame T) [--seed N] [--threads N]\n"
    "              (--save PREFIX [--depth BITS] [--transparent] |\n"
    "              --write-genome FILE)\n"
    "       flames (--genome FILE [--pick N] | --random-genome SEED | --load FILE)\n"
    "              [--quality Q] [--size WxH] [--fit] [--seed N] [--threads N]\n"
    "              --save-state FILE [--save FILE | --part K/N]\n"
    "       flames --resume FILE [--resume FILE ...] [--quality Q] [--threads N]\n"
    "              [--save FILE] [--save-state FILE [--part K/N]]\n";

// GLUT's options and the window's keys: after the options.
const char* const sAfterOptions =
    R"(GLUT's own options go to GLUT: -display NAME, -geometry WxH+X+Y (or +0+0),
-iconic, -indirect, -direct, -gldebug and -sync; any other word is refused.

Keys in the window (also on the right button's menu):
  1 to 5         colour the same hits again: black & white, logarithmic grey,
                 traffic light, rainbow, all blues
  n, p           the next, the previous pattern (also Page Down, Page Up)
  ], [           ten times, a tenth of the iterations
  +, -           zoom in, out by 2 about the centre (the wheel: the pointer)
  arrow keys     move the view by a quarter of its width or height
  f, 0           fit the view to the orbit; the default view
  r              a new random flame (the next flame seed)
  s              save the picture shown as flame-pP-cC-ITERATIONS-SEED.png in
                 the current folder (never over an existing file)
  q, Escape      quit, also in the middle of the run
Each browsing key starts the new run at once, with the same seed, shown
growing; the title says what it shows.

Keys in the window of a genome (also on the right button's menu, with the
file's flames):
  n, p           the next, the previous flame of the file (also Page Down,
                 Page Up; after r or m, on from the file's flame shown last);
                 a flame that cannot be drawn shows why in the title
  +, -           zoom in, out by 2 about the centre (the wheel: the pointer)
  arrow keys     move the centre by a quarter of the picture
  ,  .           turn the picture left, right by 15 degrees
  f, 0           fit the camera to the orbit; the camera the genome came with
  ], [           ten times, a tenth of the quality (not below 1)
  r              the next random genome at the window's size; m a mutation of
                 the genome shown; u back one step
  s              save the picture as it stands as flame-NAME-SEED.png, its
                 genome kept in it and, part way, how far it had come, so that
                 --load draws it again; w write the genome as flame-NAME.flame
                 (never over an existing file)
  Space          play the frames of the file's keyframes (--frames, else from
                 the first keyframe's time to the one before the last's; of
                 --loop or --sequence where given), looping, each drawn small
                 and quickly enough to keep up; again: pause, the frame shown
                 then drawn whole, as a genome is; s then saves it whole, the
                 picture --frame T --save draws
  <, >           pause on the frame before, after
  q, Escape      quit, also in the middle of the render
The title names the file, the flame and its name (or the frame, its place
and time), its quality and zoom, how much of it is drawn until it is done, or
that it plays, and for a few seconds what was saved.

)";

// The exit statuses and examples: last.
const char* const sEnd =
    R"(Exit status:
  0  done
  1  the picture could not be written or loaded, a genome file was refused,
     no display could be opened, an answer could not be taken as given with
     --save, there was not enough memory, or standard output failed; a state
     was refused, or a render with --save-state was stopped by a signal (its
     state written)
  2  the command line was wrong

Examples:
  printf '5000000\n3\n4\n' | flames --seed 7 --save flame.png
  flames --pattern 3 --colouring 4 --iterations 20000000 --fit
  flames --load flame.png --size 4000x4000 --save poster.png
  flames --random 3 --iterations 20000000 --colouring 4
  flames --genome flames.flame --pick 2 --quality 200 --save flame2.png
  flames --random-genome 5 --write-genome five.flame
  flames --genome keys.flame --frames 0:99 --seed 1 --save frame
  flames --genome flame.flame --loop 120 --seed 1
  flames --genome flame.flame --seed 1 --part 2/3 --save-state part2.state
  flames --resume part1.state --resume part2.state --resume part3.state --save poster.png
)";

std::string rangeOf(int iCount) { return "1 to " + std::to_string(iCount); }

std::string description() {
    return "Plays the chaos game with one point and shows the fractal flame it draws in an\n"
           "800 x 800 window. Three questions are asked on standard input, each answered\n"
           "with a whole number (typed without thousands separators), or all three on one\n"
           "line: the number of iterations (100000 to 100000000 is a good range), the\n"
           "pattern (" + rangeOf(iPatternCount) + ") and the colouring (" +
           rangeOf(iColourCount) + ").\n"
           "With --genome it draws a flame of a genome file (the XML format of flam3 and\n"
           "the flame editors) as flam3's renderer draws it, and asks nothing.\n";
}

// sLine, and as many more of its words as fit after it, each at the indent.
std::string wrapped(const std::string& sLine) {
    std::string sText, sRow;
    size_t iStart = 0;
    while (iStart <= sLine.size()) {
        size_t iEnd = sLine.find(' ', iStart);
        if (iEnd == std::string::npos) iEnd = sLine.size();
        const std::string sWord = sLine.substr(iStart, iEnd - iStart);
        if (!sRow.empty() && iHelpIndent + sRow.size() + 1 + sWord.size() > iHelpWidth) {
            sText += sRow + "\n" + std::string(iHelpIndent, ' ');
            sRow.clear();
        }
        sRow += (sRow.empty() ? "" : " ") + sWord;
        iStart = iEnd + 1;
    }
    return sText + sRow;
}

// The label at the margin, and its text after it at the indent, or from the next line.
std::string labelled(const std::string& sLabel) {
    return "  " + sLabel +
           (sLabel.size() + 4 <= iHelpIndent ? std::string(iHelpIndent - 2 - sLabel.size(), ' ')
                                             : "\n" + std::string(iHelpIndent, ' '));
}

// An option's lines as its row gives them, {names} filled in; a line too long for the width is
// folded.
std::string optionHelp(const SKnownOption& option) {
    std::string sHelp = labelled(option.sHelpLabel);
    std::string sText = option.sHelp;
    const size_t iNames = sText.find("{names}");
    if (iNames != std::string::npos) sText.replace(iNames, 7, flameFunctionNames());
    for (size_t iStart = 0; iStart < sText.size();) {
        const size_t iEnd = std::min(sText.find('\n', iStart), sText.size());
        sHelp += (iStart ? "\n" + std::string(iHelpIndent, ' ') : "") +
                 wrapped(sText.substr(iStart, iEnd - iStart));
        iStart = iEnd + 1;
    }
    return sHelp + "\n";
}

// Every variation a genome may use, by family, from the variation table.
std::string variationsHelp() {
    std::string sHelp = "Variations of a genome, by family, other names the editors write in "
                        "brackets\n(each also as pre_NAME and post_NAME, the editors' forms "
                        "before and after\nthe others):\n";
    for (const SVariationFamily& family : variationFamilies())
        sHelp += labelled(family.sName) + wrapped(familyNames(family)) + "\n";
    return sHelp + "\n";
}

}  // namespace

std::string helpText() {
    std::string sHelp = std::string(sUsage) + "\n" + description() + "\nOptions:\n";
    for (size_t i = 0; i < iKnownOptions; i++)
        if (knownOptions[i].sHelpLabel) sHelp += optionHelp(knownOptions[i]);
    return sHelp + sAfterOptions + variationsHelp() + sEnd;
}

#pragma once

// What a run draws, chosen from a saved picture, the command line or the dialogue: a pattern's
// or a flame's run and its colouring, or a genome.

#include "app/dialogue.h"
#include "app/genome_choice.h"
#include "base/exit_status.h"
#include "cli/options.h"

#include <iosfwd>

struct SDrawn {
    bool          bGenome = false;
    SChoices      choices;  // a pattern's or flame's run, and its colouring
    SGenomeChoice genome;   // or a genome's
};

enum class EChosen { eChosen, eFailed, eWrongCommandLine };  // the two last said on err

// The exit status of a choice that was not made, which has said why.
inline int statusOf(EChosen chosen) {
    return chosen == EChosen::eFailed ? iWorkFailed : iUsageError;
}

// The run recorded in a saved picture (a genome if it keeps one), or answered on the command
// line, or in the dialogue on in and out; then what the command line says besides, and a view
// framed on the orbit. The seed is the clock's second unless one of them gives it.
EChosen chooseDrawn(const SOptions& options, EAnswers answers, std::istream& in,
                    std::ostream& out, std::ostream& err, SDrawn& drawn);

// The threads to compute with, and a line on err where --threads was capped.
int threadsSaid(const SOptions& options, std::ostream& err);

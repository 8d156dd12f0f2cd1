#pragma once

// One line on a terminal's standard error while the iterations of a long run go on.

#include <string>

class CRunner;

// "  42% | 12.3 M iterations/s | 3 s left": the share done, the speed so far, the time left.
std::string progressLine(int iDone, int iTotal, double dSeconds);

// Shows the progress of the next run on standard error, as reported, refreshed a few times a
// second and cleared when the run ends.
void watchProgress();

// The same, only when standard error is a terminal: a redirected log stays free of it.
void watchProgressOnTerminal();

// Where the run has got to, said after a block of its iterations; nothing unless watched.
void reportProgress(int iDone, int iTotal);

// The whole run from its beginning, its progress reported after every block.
void calculateWithProgress(CRunner& runner);

// The progress line taken off the terminal, for a line that is printed during the run; the next
// report shows it again.
void clearProgressLine();

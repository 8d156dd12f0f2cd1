#pragma once

// One line on a terminal's standard error while the iterations of a long run go on.

#include <string>

// "  42% | 12.3 M iterations/s | 3 s left": the share done, the speed so far, the time left.
std::string progressLine(int iDone, int iTotal, double dSeconds);

// Shows the progress of the next run when standard error is a terminal, refreshed a few times a
// second and cleared when the run ends; does nothing otherwise.
void watchProgressOnTerminal();

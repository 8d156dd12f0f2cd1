#pragma once

// One line on a terminal's standard error while the iterations of a long run go on.

#include <string>

class CGenomeRender;
class CRunner;

// "  42% | 12.3 M iterations/s | 3 s left": the share done, the speed so far, the time left.
std::string progressLine(long long iDone, long long iTotal, double dSeconds);

// Shows the progress of the next run on standard error, as reported, refreshed a few times a
// second and cleared when the run ends.
void watchProgress();

// The same, only when standard error is a terminal: a redirected log stays free of it.
void watchProgressOnTerminal();

// Where the run has got to, said after a block of its iterations; nothing unless watched.
void reportProgress(long long iDone, long long iTotal);

// The whole run from its beginning, its progress reported after every block.
void calculateWithProgress(CRunner& runner);

// The whole render of a genome, its samples reported as a run's iterations are.
void renderWithProgress(CGenomeRender& render);

// A run of frames: "  42% | frame 12, 3 of 30 | 80 s left", the share of all the frames
// done and the time left for them, dSeconds since the first began.
std::string framesProgressLine(long long iFrame, int iNumber, int iFrames, double dShare,
                               double dSeconds);

// The whole render of frame iFrame, the iNumber-th of iFrames (from 1), reported with the
// frames before it; the line cleared after the last.
void renderFrameWithProgress(CGenomeRender& render, long long iFrame, int iNumber, int iFrames);

// The progress line taken off the terminal, for a line that is printed during the run; the next
// report shows it again.
void clearProgressLine();

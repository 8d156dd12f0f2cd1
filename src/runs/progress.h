#pragma once

// One line on a terminal's standard error while the iterations of a long run go on.

#include <functional>
#include <string>

class CRunner;

// Work done a slice at a time, as its progress is shown: each call of continueWork does a slice
// and says whether more is left; done and total count what the work is made of (a run's
// iterations, a render's samples). Given by the part that knows the work, which may lie above.
struct SSlicedWork {
    std::function<bool()>      continueWork;
    std::function<long long()> done;
    std::function<long long()> total;
};

// "  42% | 12.3 M iterations/s | 3 s left": the share done, the speed so far, the time left.
std::string progressLine(long long iDone, long long iTotal, double dSeconds);

// Shows the progress of the next run on standard error, as reported, refreshed a few times a
// second and cleared when the run ends.
void watchProgress();

// The same, only when standard error is a terminal: a redirected log stays free of it.
void watchProgressOnTerminal();

// Where the run has got to, said after a block of its iterations; nothing unless watched.
void reportProgress(long long iDone, long long iTotal);

// The whole of the work, its progress reported after every slice.
void workWithProgress(const SSlicedWork& work);

// The whole run from its beginning, its progress reported after every block.
void calculateWithProgress(CRunner& runner);

// A run of frames: "  42% | frame 12, 3 of 30 | 80 s left", the share of all the frames
// done and the time left for them, dSeconds since the first began.
std::string framesProgressLine(long long iFrame, int iNumber, int iFrames, double dShare,
                               double dSeconds);

// The whole of the work of frame iFrame (its render), the iNumber-th of iFrames (from 1),
// reported with the frames before it; the line cleared after the last.
void frameWithProgress(const SSlicedWork& work, long long iFrame, int iNumber, int iFrames);

// The progress line taken off the terminal, for a line that is printed during the run; the next
// report shows it again.
void clearProgressLine();

#pragma once

// The window: the picture's size through GLUT (or what GLUT's -geometry says; a picture larger
// than the screen shown at 1/k, the least whole k that makes it fit, and the title says so),
// the picture drawn into it at every redraw, and keys (also on the right button's menu). What
// it shows goes on in slices between the window's events, so that the window answers
// throughout and a browsing key stops it at once; of browsing keys queued together, only the
// last starts a run.

#include "app/genome_choice.h"
#include "core/run.h"
#include "display/x_link.h"
#include "genome_runs/frame_list.h"

#include <optional>
#include <string>
#include <vector>

// glutInit with those arguments, then the window for the run in that colouring, live or not,
// computed with that many threads, with its view set up and its callbacks. Throws
// std::bad_alloc, before the window opens, where the run's counts cannot be had.
void openWindow(std::vector<std::string> vGlutArgs, const SRun& run, int iColourType, bool bLive,
                int iThreads);

// The same for a genome, drawn with that many threads and shown growing, the options' size and
// quality applying to every genome the window shows. False, with sError, where its render
// cannot be made. With frames (of a keyframe file, a loop or a sequence), opened on the first,
// choice its genome and the run's seed, paused and drawn as --save draws it; Space plays them.
bool openGenomeWindow(std::vector<std::string> vGlutArgs, const SGenomeChoice& choice,
                      const SOptions& options, int iThreads, std::string& sError,
                      std::optional<CFrameList> frames = std::nullopt);

// The run, then the finished picture, in GLUT's event loop, which never returns. Live, the
// window shows the hits so far twice a second; otherwise it stays black until the picture is
// finished, as when the whole run came before the window.
[[noreturn]] void runInWindow();

// Clear colour, viewport and a projection of one unit per pixel, origin at the lower left.
void preset();

// The display callback: the view set up again and the whole picture drawn.
void display();

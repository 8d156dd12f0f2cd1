#pragma once

// What the genome window holds between GLUT's callbacks, shared by its view (genome_view.cpp)
// and its keys (genome_keys.cpp).

#include "cli/options.h"
#include "render/render.h"
#include "app/browsing.h"
#include "window/frame_play.h"
#include "display/shrink.h"
#include "xml/genome_xml.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

struct SGenomeWindow {
    using Clock = std::chrono::steady_clock;

    SGenomeNow                     now;
    std::unique_ptr<CGenomeRender> pRender;    // of now.genome; where it is refused, the last's
    std::vector<SGenomeNow>        vHistory;   // what u goes back to, the latest last
    CFlameFile                     file;       // the genome file's flames, read as they are shown
    std::string                    sFile;      // the file the genome came from; or none
    int                            iThreads = 1;
    SOptions                       options;    // their size and quality apply to every genome
    int                            iShownCount = 0;
    bool                           bFirstFrameDue = false;
    bool                           bFinished = false;
    bool                           bSaveAsked = false;  // by s, once or many times since
    Clock::time_point              nextRefresh;
    int                            iLastImageMs = 0;
    std::string                    sNote;      // what the title says for a few seconds: a save
    int                            iNotes = 0; // notes given so far, the last the one shown
    std::string                    sTitle;     // as last set
    // A picture larger than the screen is shown at 1/k. The window's bytes only, bottom row
    // first, as GL draws them.
    CShrinkRows                    shrunk{0, 0, 1};
    std::vector<unsigned char>     vBytes;
    SFramePlay                     play;       // the file's frames, where they are played
};

extern SGenomeWindow theGenomeWindow;

// The genome's render dropped and the next begun, or for a flame of the file that cannot be
// drawn, its refusal shown; the window takes its size. The frames played are left.
void showGenome(const SGenomeNow& next);
// The same with its render made (a frame's), or none where next is refused.
void showRendered(const SGenomeNow& next, std::unique_ptr<CGenomeRender> pNext);
void resizeWindowFor(const SGenome& genome);  // the window at the genome's size, shrunk as need be

// The title set again, with sNote for a few seconds where given.
void retitle(const std::string& sNote = "");

// What s asked for, once however many times it was pressed: the picture as it stands saved,
// with its record.
void saveAskedFor();

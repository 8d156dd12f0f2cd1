#pragma once

// The render of a genome in the window: run in slices between the window's events and shown
// growing, tone-mapped about twice a second; the keys (genome_keys.h) browse the genome file it
// came from, frame it, make random genomes and mutations, step back, save the picture and write
// the genome, and play the file's frames through the view's frame player.

#include "app/browsing.h"
#include "app/genome_choice.h"
#include "display/shrink.h"
#include "render/render.h"
#include "views/frame_play.h"
#include "views/view.h"
#include "xml/genome_xml.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class CGenomeView {
public:
    using Clock = std::chrono::steady_clock;

    // The genome to show, with that many threads; before the window opens. The options' size
    // and quality apply to every genome the window shows (the file's other flames, a random
    // one's). False, with sError, where the render cannot be made (its bucket grid too large,
    // say). pMade: the render already made (a frame's), else the genome's own.
    bool prepare(const SGenomeChoice& choice, const SOptions& options, int iThreads,
                 std::string& sError, std::unique_ptr<CGenomeRender> pMade = nullptr);
    // The same for frames (of a keyframe file, a loop or a sequence): on the first, choice its
    // genome and the run's seed, paused and drawn as --save draws it.
    bool prepareFrames(CFrameList frames, const SGenomeChoice& choice, const SOptions& options,
                       int iThreads, std::string& sError);

    // Once GLUT knows the screen: the picture shown at 1/k where it is larger than the screen.
    void fitTo(int iScreenWidth, int iScreenHeight);
    std::string title() const;  // the window's

    // What the window asks of its view (view.h).
    int  width() const { return shrunk.width(); }
    int  height() const { return shrunk.height(); }
    void begin();
    bool work();
    void draw() const;
    SShownState state() const;
    void showNext(const SShownState& next);
    int  shownCount() const { return iShownCount; }
    void wheel(int iX, int iY, double dFactor);

    // What the keys ask of it.
    const SGenomeNow& shown() const { return now; }
    const CFlameFile& genomeFile() const { return file; }
    const SOptions&   givenOptions() const { return options; }
    bool stepBack();  // u: the genome shown before the last key's; false where there is none
    void askSave() { bSaveAsked = true; }  // s: saved once the window's events are all read
    void playOrPause();    // Space
    void stepFrame(int iStep);  // < and >
    // A save or write said on the terminal, and for a few seconds in the title.
    void said(bool bDone, const std::string& sDone, const char* sFailed,
              const std::string& sError);
    void retitle(const std::string& sNote = "");  // with sNote for a few seconds where given
    void noteEnded(int iNote);  // a note's time over: the title without it, unless replaced

private:
    // The genome's render dropped and the next begun, or for a flame of the file that cannot
    // be drawn, its refusal shown; the window takes its size. The frames played are left.
    void showGenome(const SGenomeNow& next);
    // The same with its render made (a frame's), or none where next is refused.
    void showRendered(const SGenomeNow& next, std::unique_ptr<CGenomeRender> pNext);
    void resizeFor(const SGenome& genome);  // the window at the genome's size, shrunk as need be
    void takeRow(int iRow, const unsigned char* pRgb);
    void showSoFar();
    std::string caption() const;
    void saveAskedFor();

    // The frames: the one shown drawn whole, the one coming shown, a slice of its preview.
    bool haveFrames();
    void refine();
    void arrive(const std::string& sRefused);
    bool workFrames();
    void saveFrameOnceDrawn();

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
    CFramePlayer                   player;     // the file's frames, where they are played
};

// The window's genome view, as GLUT's callbacks reach it, and its part of the window's table.
CGenomeView& theGenomeView();
extern const SViewKind genomeView;

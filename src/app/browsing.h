#pragma once

// Browsing: what the window shows next, as a key, the wheel or the menu asks for it, made from
// what it shows once every event that came with the key has been read (freeglut reads them all
// before its idle callback). A later request takes the place of one still waiting: keys queued
// behind a slow moment start one run, not each its own. A slow one (a fit, a random flame or
// genome, a mutation: a tenth of a second or more) is made on a thread of the worker pool, so
// that the window goes on answering, q above all; it is never waited for, and what it makes is
// dropped if the window has moved on by then.

#include "core/run.h"
#include "genome/genome.h"
#include "workers/worker_pool.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// The genome a genome window shows, and how it came to be.
struct SGenomeNow {
    SGenome      genome;          // as drawn
    SGenome      original;        // as it came, from the file, a seed or a picture: its camera
    unsigned int uSeed = 0;       // of its render
    int          iPick = 0;       // its flame of the window's genome file, from 1; 0: none
    int          iFilePick = 0;   // the file's flame shown last, kept through r and m; 0: none
    std::string  sRefused;        // why flame iPick is not drawn; "" where it is
    bool         bRandom = false; // a random genome's, or one made from it
    uint32_t     uRandom = 0;     // that random genome's seed
    int          iMutations = 0;  // the mutations made since it was picked or drawn
};

// What the window shows: a pattern's or flame's run, or a genome.
struct SShownState {
    SRun       run;
    SGenomeNow genome;
};

using FNext = std::function<SShownState(const SShownState& shown)>;
using FShow = std::function<void(const SShownState& next)>;

// The requests of one window.
class CBrowsing {
public:
    // Asks for what next makes of the state shown; iKey, the key that asked (0: the wheel or the
    // menu), tells a slow request already in the making.
    void ask(FNext next, int iKey, bool bSlow);

    // From the idle callback, with the state shown and a count of what has been shown so far:
    // the latest request, or what a worker has made, is shown by show. True while a request
    // waits or is in the making, so that the idle callback goes on (waiting a moment when it
    // has nothing else to do).
    bool act(const SShownState& shown, int iShownCount, const FShow& show);

private:
    struct SRequest {
        FNext next;
        int   iKey;
        bool  bSlow;
    };
    // A slow request on a worker, which writes pMade before it finishes.
    struct SMaking {
        CBackgroundTask              task;
        std::shared_ptr<SShownState> pMade;
        int                          iKey;
        int                          iFromShown;  // the count shown when it was asked for
    };

    void startMaking(const SRequest& request, const SShownState& shown, int iShownCount);

    std::optional<SRequest> waiting;
    std::optional<SMaking>  making;
};

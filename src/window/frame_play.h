#pragma once

// Frames played in the genome window: Space plays and pauses, < and > step a frame. Playing,
// each frame is drawn as a preview that keeps up (frame_list.h), at most 25 a second, from the
// last back to the first. A frame stepped to, or paused on, shows its preview, then is drawn at
// the file's quality, growing as a still does; s saves it once it is whole, the very picture
// --frame T --save draws with the same seed. Any other browsing key leaves the frames for a still.

#include "app/frame_list.h"
#include "app/genome_choice.h"
#include "display/draw.h"

#include <optional>
#include <string>

struct SFramePlay {
    std::optional<CFrameList> frames;          // none until a key plays them, or none to play
    CEnlargedPicture          preview;         // the last frame's preview
    bool                      bPreviewShown = false;  // the window shows it
    double                    dPreviewQuality = 0;    // its quality
    bool                      bSaveOnceDrawn = false; // s on a frame not yet whole
};

// The frames' window before it opens: on the first frame (choice its genome and the run's
// seed), paused, drawn at the file's quality. False with sError where that cannot be drawn.
bool prepareFramesView(CFrameList frames, const SGenomeChoice& choice, const SOptions& options,
                       int iThreads, std::string& sError);

void playOrPause(int iKey);  // Space
void stepFrame(int iKey);    // < and >

bool frameShown();     // the window shows a frame, not a still
bool framePlaying();   // and plays on
bool framesBusy();     // a frame's preview is being made: the window's work goes to it
bool workFrames();     // a slice of it, where one is; false where none is
void leaveFrames();    // for a still
void saveFrameOnceDrawn();   // s on a frame: paused, drawn whole, then saved
unsigned int shownSeed();    // of the picture shown: a frame's own, or the run's

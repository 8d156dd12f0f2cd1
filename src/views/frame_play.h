#pragma once

// Frames played in the genome window: Space plays and pauses, < and > step a frame. Playing,
// each frame is drawn as a preview that keeps up (frame_list.h), at most 25 a second, from the
// last back to the first. A frame stepped to, or paused on, shows its preview, then is drawn at
// the file's quality, growing as a still does; s saves it once it is whole, the very picture
// --frame T --save draws with the same seed. Any other browsing key leaves the frames for a still.
//
// The player keeps the frames and the preview; the genome view (genome_view.h) owns it, gives it
// what it needs of the window (the seed, the threads, the shrink) and shows what it makes.

#include "app/browsing.h"
#include "cli/options.h"
#include "display/draw.h"
#include "genome_runs/frame_list.h"

#include <memory>
#include <optional>
#include <string>

class CFramePlayer {
public:
    // The frames, on the first, paused; the render of that one at the file's quality, seeded
    // from the run's uSeed; null, with sError naming the frame, where it cannot be drawn.
    std::unique_ptr<CGenomeRender> begin(CFrameList listed, unsigned int uSeed, int iThreads,
                                         std::string& sError);
    // The frames of the genome file sFile, listed at the first key that plays them: false, with
    // sWhy, where there are none.
    bool listed(const std::string& sFile, const SOptions& options, std::string& sWhy);

    bool shown() const { return frames && frames->isShown(); }  // a frame, not a still
    bool playing() const { return shown() && frames->playing(); }
    bool busy() const { return frames && frames->coming() >= 0; }  // a preview in the making

    // Space: false where the frames are paused, the frame shown then to be drawn whole.
    bool playOrPause();
    void step(int iStep);  // < and >: a frame back or on

    // A slice of the preview of the frame coming (in a window shrunk by iShrink): true once it
    // is to be shown, sRefused saying why where it is not drawn.
    bool prepareComing(int iShrink, unsigned int uSeed, int iThreads, std::string& sRefused);
    // The frame coming shown: its preview's picture (none where it is refused).
    void arrive(const std::string& sRefused, int iShrink);
    // The genome of the frame shown as the window holds it, from what it shows: the browsing
    // keys go on from it, n and p from the file's flame shown last.
    SGenomeNow frameNow(const SGenomeNow& shown, const std::string& sRefused) const;
    // The frame shown drawn whole (null where it is refused, sRefused saying why); its preview
    // stays until that render has drawn more than it did.
    std::unique_ptr<CGenomeRender> wholeRender(unsigned int uSeed, int iThreads,
                                               std::string& sRefused);
    void leave();  // for a still

    bool previewShown() const { return bPreviewShown; }
    void hidePreview() { bPreviewShown = false; }  // the render's own picture shown instead
    void drawPreview() const { preview.draw(); }
    double previewQuality() const { return dPreviewQuality; }
    std::string caption() const { return frames->caption(frames->shown()); }

    // s on a frame: paused, drawn whole, then saved. True where it was playing and is now
    // paused, its frame to be drawn whole.
    bool pauseToSave();
    bool saveDue() const { return bSaveOnceDrawn; }  // once the frame is drawn whole
    void saveDone() { bSaveOnceDrawn = false; }
    double timeToSave() const;  // of the frame coming, or else the frame shown
    unsigned int seedShown(unsigned int uSeed) const;  // a frame's own, or the run's uSeed

private:
    std::optional<CFrameList> frames;          // none until a key plays them, or none to play
    CEnlargedPicture          preview;         // the last frame's preview
    bool                      bPreviewShown = false;  // the window shows it
    double                    dPreviewQuality = 0;    // its quality
    bool                      bSaveOnceDrawn = false; // s on a frame not yet whole
};

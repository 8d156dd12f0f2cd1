#pragma once

// The frames a genome window plays: a keyframe file's, a flame's loop or a file's sequence, the
// frames --save would draw of them. Each is drawn at the file's quality, exactly as --frame T
// --save draws it with the same seed, or as a preview that keeps up while playing: at most
// iPreviewPixels (the picture divided by a whole number, drawn enlarged), about iPreviewSamples
// samples and iPreviewMoments moments, at most iFramesASecond of them. On two cores the preview
// of an 800 x 600 picture takes 23 to 48 ms (six genomes of flam3 and Electric Sheep, at about a
// tenth of a second the aim; make bench times it as BM_PreviewFrame).

#include "genome_runs/frames.h"
#include "render/render.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

constexpr int iPreviewPixels = 130000;   // 400 x 300, 480 x 270: the tone mapping's share
constexpr int iPreviewSamples = 360000;  // quality 3 at 400 x 300: the chaos game's share
constexpr int iPreviewMoments = 4;       // enough to show a blur, each costing little
constexpr int iFramesASecond = 25;       // a video's rate: a small picture's previews keep it

// The least divisor of a picture, a multiple of the window's own (iShrink), that brings it
// within iPreviewPixels; the preview is drawn enlarged by its quotient by iShrink.
int previewDivisor(int iWidth, int iHeight, int iShrink);

// A keyframe as a preview draws it: at 1/iDivisor of its size (the same framing), its quality
// lowered to about iPreviewSamples a frame (two digits, rounded down), its moments at most
// iPreviewMoments, one pass, supersample 1.
SGenome previewKeyframe(const SGenome& key, int iDivisor);

// The frames, and where playing them has come to: the frame shown, the one coming next (its
// preview being made), and whether they play on. Keys pressed in the window move it.
class CFrameList {
public:
    using Clock = std::chrono::steady_clock;

    // sKind: what the keyframes are, as the title says it ("loop of flame 2"; "" for a file's).
    CFrameList(SKeyframes keys, SFrameRange frames, std::string sKind);

    int count() const { return static_cast<int>(frames.count()); }
    int shown() const { return iShown; }     // the frame shown or shown last; -1: none yet
    bool isShown() const { return bShown; }  // a frame is shown, not a still
    int coming() const { return iComing; }   // the frame whose preview is made; -1: none
    bool playing() const { return bPlaying; }
    double timeOf(int iFrame) const { return static_cast<double>(frames.frame(iFrame)); }

    // The frame iStep on from iFrom, wrapping; from none (-1), the first or the last.
    int stepped(int iFrom, int iStep) const;

    // Space: plays on from the frame shown last (from the first where none was), or pauses on
    // the frame shown: false then, nothing coming. A single frame is not played, only shown.
    bool playOrPause();
    // < and >: paused on a frame back or on, from the one coming where one is (keys pressed
    // quickly all count), else from the one shown last.
    void step(int iStep);
    void pause();  // on the frame shown: nothing coming
    void leave();  // a still shown instead: nothing coming, nothing played

    // A slice (about slice) of the preview of the frame coming, made at the first for a window
    // shrunk by iShrink, seeded from the run's uSeed: true once it is to be shown, drawn (its
    // render preview()) or refused (sRefused saying why), and while playing, its turn come.
    bool prepareComing(int iShrink, unsigned int uSeed, int iThreads, Clock::duration slice,
                       std::string& sRefused);
    CGenomeRender* preview() { return pPreview.get(); }
    int previewScale() const { return iPreviewDivisor; }  // the divisor of the last preview
    void arrive();  // the frame coming is shown; while playing, the next one comes

    // "loop of flame 2, frame 12, 13 of 30, time 12": what the keyframes are, the frame's number
    // (its time, as --save numbers its file), its place in the list and its time.
    std::string caption(int iFrame) const;

    // The render of the frame as --frame T --save draws it, seeded as it seeds it from the
    // run's uSeed; null with sError where the frame cannot be drawn.
    std::unique_ptr<CGenomeRender> render(int iFrame, unsigned int uSeed, int iThreads,
                                          std::string& sError) const;
    SGenome genomeOf(int iFrame) const;
    unsigned int seedOf(int iFrame, unsigned int uSeed) const;

private:
    std::unique_ptr<CGenomeRender> renderOf(const SKeyframes& drawn, int iFrame,
                                            unsigned int uSeed, int iThreads,
                                            std::string& sError) const;
    void comeTo(int iFrame);

    SKeyframes keys;
    SFrameRange frames;
    std::string sKind;
    int  iShown = -1;
    bool bShown = false;
    int  iComing = -1;
    bool bPlaying = false;
    SKeyframes previewKeys;                    // the keyframes as previews draw them
    int iPreviewDivisor = 0;                   // the divisor they were made for
    std::unique_ptr<CGenomeRender> pPreview;   // of the frame coming, once begun
    Clock::time_point nextDue;                 // of the next frame shown while playing
};

// The frames of the options' keyframes, loop or sequence, as --save would draw them: false with
// the exit status, having said why on err.
bool listFrames(const SOptions& options, std::optional<CFrameList>& frames, std::ostream& err,
                int& iStatus);
// The same for a window that plays them at a key: what is wrong with them said on standard
// error, and the first of it in sWhy.
bool listFrames(const SOptions& options, std::optional<CFrameList>& frames, std::string& sWhy);

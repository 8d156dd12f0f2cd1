#pragma once

// The picture drawn into the window with GL: one pixel rectangle from the lower-left corner. A
// picture larger than the screen is shrunk to fit it first, each window pixel standing for a
// square of the picture's.

#include "core/colouring.h"
#include "display/shrink.h"

#include <chrono>
#include <optional>
#include <vector>

class screen;

// Every pixel of the picture in its colour, eight bits a channel, through vBytes, which the
// caller keeps between redraws; a picture not yet coloured is black.
void drawScreen(const screen& picture, std::vector<unsigned char>& vBytes);

// The least whole k for which a picture of iWidth x iHeight shown at 1/k, ceil(W / k) x
// ceil(H / k) pixels, fits a screen of iScreenWidth x iScreenHeight: 1 where it fits as it is.
int shrinkFactor(int iWidth, int iHeight, int iScreenWidth, int iScreenHeight);

// A picture shown at 1/k: each window pixel the average colour of the k x k pixels of the picture
// it stands for (of those the picture has, at its right and top edges). The colours are made
// from the counts a row of the window at a time, so that the colours of the whole picture are
// never held: only the window's pixels, in bytes. Colouring a large picture takes a while, so it
// goes in steps between the window's events; the window shows the last colouring finished.
class CShrunkPicture {
public:
    using Clock = std::chrono::steady_clock;

    CShrunkPicture(int iPictureWidth, int iPictureHeight, int iFactor);
    int width() const { return rows.width(); }  // the window's pixels
    int height() const { return rows.height(); }
    int factor() const { return rows.factor(); }

    // A colouring of every window pixel anew, in that colouring, against the most hits as they
    // are now; one in progress is dropped.
    void beginColouring(const screen& picture, int iColourType);
    bool colouring() const { return pass.has_value(); }  // begun and not yet through
    // Rows until the colouring is through, the time is up or pfStop says to stop (an event
    // waiting, say); true once it is through.
    bool colourRows(const screen& picture, Clock::time_point end, bool (*pfStop)());
    int lastColouringMs() const { return iLastMs; }  // from its beginning to its end

    void clear();  // black, and no colouring in progress
    void draw() const;

private:
    void colourRow(const screen& picture, int iRow);

    CShrinkRows rows;
    std::vector<unsigned char> vBytes;  // red, green, blue, alpha; bottom row first; or none yet
    std::optional<CColouring> pass;     // the colouring in progress
    int iNextRow = 0;
    Clock::time_point begun;
    int iLastMs = 0;
};

// A picture smaller than the window drawn enlarged, each pixel a square of k x k: a frame's
// preview, drawn small so that it keeps up. Its rows are taken as a render writes them, from
// the top, three bytes a pixel.
class CEnlargedPicture {
public:
    void resize(int iWidth, int iHeight, int iZoom);
    void takeRow(int iRow, const unsigned char* pRgb);
    void draw() const;

private:
    int iWidth = 0, iHeight = 0, iZoom = 1;
    std::vector<unsigned char> vBytes;  // red, green, blue, alpha; bottom row first
};

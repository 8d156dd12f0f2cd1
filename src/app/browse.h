#pragma once

// What browsing in the window makes of the run shown: another pattern, ten times or a tenth of
// the iterations, the view zoomed or moved. Each gives the next run; seed, size and colouring
// stay what they were. And the same run at another size, as dense as it was.

#include "core/run.h"

#include <string>

SRun stepPattern(SRun run, int iStep);         // +1 the next, -1 the previous; 20 wraps to 1
SRun scaleIterations(SRun run, bool bTenTimes);  // x10 or /10, within 1 to 2147483647

// The view dFactor times closer (2: in, 0.5: out), the point (dX, dY) staying where it is.
SRun zoomAbout(SRun run, double dX, double dY, double dFactor);
SRun zoomCentre(SRun run, double dFactor);

// The view moved by dRight of its width and dUp of its height.
SRun moveView(SRun run, double dRight, double dUp);

// The run at iWidth x iHeight with its iterations scaled by the ratio of the areas, so that the
// picture keeps its density (a poster of a saved picture); capped at 2147483647, bCapped then
// true.
SRun resizedAsDense(SRun run, int iWidth, int iHeight, bool& bCapped);

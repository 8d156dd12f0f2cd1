#pragma once

// A genome's picture saved in strips of rows where it is asked for (--strips, --memory) or where
// the whole would not fit in the memory the machine has: a render a strip, one after another,
// each strip's rows written to the file as it ends.

#include "cli/options.h"
#include "render/render_plan.h"
#include "runs/progress.h"

#include <functional>
#include <string>

// The strips to draw plan's picture in on iThreads: --strips, else as few as --memory or the
// memory available holds (1 where the whole fits; a genome that cannot be drawn is 1, for its
// render to say why). sNote, where it is more than one and not asked for by --strips, gets the
// line that says so. 0 where none will do, with sError and the exit status iStatus: 2 for more
// strips than rows, 1 for a bound too small for a strip of one row.
int stripsFor(const SOptions& options, const SRenderPlan& plan, int iThreads, std::string& sNote,
              std::string& sError, int& iStatus);

// The picture of plan in iStrips strips, each render limited to iSamplesLimit samples where it
// is 0 or more, to sPath: the whole run as one piece of work, through progress. False with
// sError "PATH: reason"; nothing is then left at sPath's place.
bool saveInStrips(const std::string& sPath, const SRenderPlan& plan, unsigned int uSeed,
                  int iThreads, int iStrips, long long iSamplesLimit,
                  const std::function<void(const SSlicedWork&)>& progress, std::string& sError);

#pragma once

// A still genome's render kept by batch: its state saved beside its picture (or alone), saved
// as far as it got when a signal stops it, gone on with from saved states, or drawn a share at a
// time on several machines and added up into the picture of one run.

#include "cli/options.h"

// The render --save-state, --resume and --part ask for, its state and picture written as they
// say; the exit status (1 with a line on standard error where it failed or was stopped).
int renderKeepingState(const SOptions& options);

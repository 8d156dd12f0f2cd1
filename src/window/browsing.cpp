#include "window/browsing.h"

#include <atomic>
#include <memory>
#include <optional>
#include <thread>

namespace {

struct SRequest {
    FNext next;
    int   iKey;
    bool  bSlow;
};

std::optional<SRequest> waiting;

struct SMade {
    std::atomic<bool> bMade{false};
    SShownState shown;
};

struct SMaking {
    std::shared_ptr<SMade> pMade;
    int iKey;
    int iFromShown;  // the count of what was shown when it was asked for
};

std::optional<SMaking> making;

void startMaking(const SRequest& request, const SShownState& shown, int iShownCount) {
    const std::shared_ptr<SMade> pMade = std::make_shared<SMade>();
    std::thread([pMade, next = request.next, shown] {
        pMade->shown = next(shown);
        pMade->bMade.store(true, std::memory_order_release);
    }).detach();
    making = SMaking{pMade, request.iKey, iShownCount};
}

}  // namespace

void browse(FNext next, int iKey, bool bSlow) { waiting = SRequest{std::move(next), iKey, bSlow}; }

// What was made is shown if nothing has come after it; one slow request is made at a time, so
// that keys of a slow kind take no more cores than one.
bool actOnBrowsing(const SShownState& shown, int iShownCount,
                   void (*pfShow)(const SShownState& next)) {
    if (making && making->pMade->bMade.load(std::memory_order_acquire)) {
        const bool bLatest = !waiting && making->iFromShown == iShownCount;
        const SShownState made = making->pMade->shown;
        making.reset();
        if (bLatest) pfShow(made);
        return waiting.has_value();
    }
    if (waiting && !waiting->bSlow) {
        const SRequest request = std::move(*waiting);
        waiting.reset();
        pfShow(request.next(shown));
        return false;
    }
    if (waiting) {
        const bool bSame = making && making->iKey == waiting->iKey &&
                           making->iFromShown == iShownCount;
        if (bSame) waiting.reset();  // the very thing is in the making
        if (!making && waiting) {
            startMaking(*waiting, shown, iShownCount);
            waiting.reset();
        }
    }
    return waiting.has_value() || making.has_value();
}

#include "app/browsing.h"

#include <utility>

void CBrowsing::ask(FNext next, int iKey, bool bSlow) {
    waiting = SRequest{std::move(next), iKey, bSlow};
}

// The worker has the state it starts from and a place for what it makes, both its own: the
// window may move on, or end, while it works.
void CBrowsing::startMaking(const SRequest& request, const SShownState& shown, int iShownCount) {
    const auto pMade = std::make_shared<SShownState>();
    CBackgroundTask task = CWorkerPool::shared().start(
        [pMade, next = request.next, shown] { *pMade = next(shown); });
    making = SMaking{std::move(task), pMade, request.iKey, iShownCount};
}

// What was made is shown if nothing has come after it; one slow request is made at a time, so
// that keys of a slow kind take no more cores than one.
bool CBrowsing::act(const SShownState& shown, int iShownCount, const FShow& show) {
    if (making && making->task.finished()) {
        const bool bLatest = !waiting && making->iFromShown == iShownCount;
        const std::shared_ptr<SShownState> pMade = std::move(making->pMade);
        making.reset();
        if (bLatest) show(*pMade);
        return waiting.has_value();
    }
    if (waiting && !waiting->bSlow) {
        const SRequest request = std::move(*waiting);
        waiting.reset();
        show(request.next(shown));
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

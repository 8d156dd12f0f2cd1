// Browsing: of the requests asked for together, the latest shown; a slow one made on a worker,
// once at a time, and dropped where the window has moved on by the time it is made.

#include "app/browsing.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

enum class EStep { Ask, AskSlow, Act, ShowOther, Release };

struct SStep {
    EStep kind;
    int   iPattern = 0;  // Ask, AskSlow: what the request makes
    int   iKey = 0;      // the key that asked
};

// The window's side of browsing: what it shows and how many it has shown, as its idle callback
// acts on the requests. A slow request's worker holds on until released.
class CWindowStub {
public:
    void run(const SStep& step) {
        switch (step.kind) {
        case EStep::Ask: return browsing.ask(madeOf(step.iPattern, nullptr), step.iKey, false);
        case EStep::AskSlow:
            return browsing.ask(madeOf(step.iPattern, pReleased), step.iKey, true);
        case EStep::Act: act(); return;
        case EStep::ShowOther: iShown++; return;  // u, say, which shows without a request
        case EStep::Release: pReleased->store(true); return;
        }
    }

    // As the idle callback goes on while anything waits or is in the making.
    void settle() {
        pReleased->store(true);
        while (act()) std::this_thread::yield();
    }

    std::vector<int> vShown;     // the patterns shown by browsing, in order
    std::atomic<int> iMade{0};   // requests made, slow or not

private:
    FNext madeOf(int iPattern, std::shared_ptr<std::atomic<bool>> pWait) {
        return [this, iPattern, pWait](const SShownState& from) {
            while (pWait && !pWait->load()) std::this_thread::yield();
            iMade++;
            SShownState next = from;
            next.run.iPattern = iPattern;
            return next;
        };
    }

    bool act() {
        return browsing.act(shown, iShown, [this](const SShownState& next) {
            shown = next;
            iShown++;
            vShown.push_back(next.run.iPattern);
        });
    }

    CBrowsing browsing;
    SShownState shown;
    int iShown = 0;
    std::shared_ptr<std::atomic<bool>> pReleased = std::make_shared<std::atomic<bool>>(false);
};

TEST(BrowsingTest, LatestRequestShownAndSlowOnesDroppedWhereTheWindowMovedOn) {
    const SStep ask2{EStep::Ask, 2, 'n'}, ask3{EStep::Ask, 3, 'p'};
    const SStep slow4{EStep::AskSlow, 4, 'r'}, slow5{EStep::AskSlow, 5, 'f'};
    const SStep act{EStep::Act}, other{EStep::ShowOther}, release{EStep::Release};
    const struct {
        const char* sName;
        std::vector<SStep> vSteps;
        std::vector<int> vShown;
        int iMade;
    } cases[] = {
        {"one request", {ask2}, {2}, 1},
        {"two together: the later only", {ask2, ask3}, {3}, 1},
        {"a slow one, on a worker", {slow4, act, act}, {4}, 1},
        {"a quick one while a slow one is made", {slow4, act, ask2, act, release}, {2}, 2},
        {"shown otherwise while a slow one is made", {slow4, act, other, release}, {}, 1},
        {"a slow one asked again while made: once", {slow4, act, slow4, act, release}, {4}, 1},
        {"another slow one waits its turn", {slow4, act, slow5, act, release}, {5}, 2},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.sName);
        CWindowStub window;
        for (const SStep& step : example.vSteps) window.run(step);
        window.settle();
        EXPECT_EQ(window.vShown, example.vShown);
        EXPECT_EQ(window.iMade.load(), example.iMade);
    }
}

}  // namespace

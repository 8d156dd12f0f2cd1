#include "render/strips.h"

#include "render/render.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>

SRows stripRows(int iHeight, int iStrips, int k) {
    const auto edge = [&](int i) {
        return static_cast<int>(static_cast<long long>(iHeight) * i / iStrips);
    };
    return {edge(k), edge(k + 1)};
}

namespace {

double renderBytesWithin(const SRenderPlan& plan, int iThreads, int iStrips) {
    const int iHeight = plan.picture.iHeight;
    double dMost = 0;
    for (int k = 0; k < iStrips; k++)
        dMost = std::max(dMost, renderBytesOf(plan, iThreads, stripRows(iHeight, iStrips, k)));
    return dMost;
}

// A strip's memory grows with its rows, each pixel row adding as many bucket rows: so the rows
// that fit are worked out from a strip of one row and one of half the picture, and the count
// they give is then checked, strip by strip, both ways.
int fewestStrips(const SRenderPlan& plan, int iThreads, double dBytes) {
    const int iHeight = plan.picture.iHeight;
    const int iMiddle = iHeight / 2, iHalf = std::max(1, iHeight / 4);
    const double dOne = renderBytesOf(plan, iThreads, {iMiddle, iMiddle + 1});
    if (dOne > dBytes) return 0;
    if (iHeight == 1) return 1;
    const double dMany = renderBytesOf(plan, iThreads, {iMiddle - iHalf, iMiddle + iHalf});
    const double dRow = (dMany - dOne) / (2 * iHalf - 1);
    const double dRows = dRow > 0 ? 1 + std::floor((dBytes - dOne) / dRow) : iHeight;
    int iStrips = static_cast<int>(std::ceil(iHeight / std::min<double>(dRows, iHeight)));
    const auto fits = [&](int iCount) {
        return renderBytesWithin(plan, iThreads, iCount) <= dBytes;
    };
    while (iStrips > 1 && fits(iStrips - 1)) iStrips--;
    while (iStrips < iHeight && !fits(iStrips)) iStrips++;
    return iStrips;
}

}  // namespace

int stripsWithin(const SRenderPlan& plan, int iThreads, double dBytes, long long& iLeastMiB) {
    const int iMiddle = plan.picture.iHeight / 2;
    const double dOne = dProgramBytes + renderBytesOf(plan, iThreads, {iMiddle, iMiddle + 1});
    iLeastMiB = static_cast<long long>(std::ceil(dOne / (1 << 20)));
    return fewestStrips(plan, iThreads, dBytes - dProgramBytes);
}

// MemAvailable counts the page cache the system would give up, which free memory does not.
double availableBytes() {
    std::ifstream meminfo("/proc/meminfo");
    std::string sKey;
    double dKiB = 0, dAvailable = -1;
    while (meminfo >> sKey >> dKiB) {
        if (sKey == "MemAvailable:") dAvailable = dKiB * 1024;
        meminfo.ignore(256, '\n');
    }
    if (dAvailable < 0)
        dAvailable = static_cast<double>(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE);
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        std::ifstream statm("/proc/self/statm");
        double dPages = 0;
        statm >> dPages;
        const double dLeft = static_cast<double>(limit.rlim_cur) - dPages * sysconf(_SC_PAGESIZE);
        dAvailable = std::min(dAvailable, std::max(0.0, dLeft));
    }
    return dAvailable;
}

// Rows through the pipe to a consumer beside the giver: every row, in order, whole, with a ring
// smaller than the rows and a consumer slower or faster than the giver; none lost when the pipe
// goes without being finished; and at once where it is not to run beside.

#include "workers/row_pipe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

constexpr size_t uRowBytes = 7;

std::vector<unsigned char> rowOf(int iRow) {
    std::vector<unsigned char> vRow(uRowBytes);
    for (size_t k = 0; k < uRowBytes; k++) vRow[k] = static_cast<unsigned char>(iRow * 7 + k);
    return vRow;
}

TEST(RowPipeTest, EveryRowArrivesInOrderWhole) {
    struct SCase {
        const char* sName;
        int iRing, iRows;
        bool bSlowConsumer, bSlowGiver;
    };
    const SCase cases[] = {{"ring of one", 1, 40, false, false},
                           {"slow consumer fills the ring", 4, 60, true, false},
                           {"slow giver empties it", 4, 60, false, true},
                           {"ring larger than the rows", 100, 30, false, false}};
    for (const SCase& test : cases) {
        std::vector<std::vector<unsigned char>> vGot;
        {
            CRowPipe pipe(uRowBytes, test.iRing, [&](const unsigned char* pRow) {
                if (test.bSlowConsumer) std::this_thread::sleep_for(std::chrono::microseconds(200));
                vGot.emplace_back(pRow, pRow + uRowBytes);
            });
            for (int i = 0; i < test.iRows; i++) {
                if (test.bSlowGiver) std::this_thread::sleep_for(std::chrono::microseconds(200));
                pipe.put(rowOf(i).data());
            }
            pipe.finish();
            ASSERT_EQ(vGot.size(), static_cast<size_t>(test.iRows)) << test.sName;
        }
        for (int i = 0; i < test.iRows; i++) EXPECT_EQ(vGot[i], rowOf(i)) << test.sName;
    }
}

TEST(RowPipeTest, NoRowLostWithoutFinishing) {
    int iGot = 0;
    {
        CRowPipe pipe(uRowBytes, 2, [&](const unsigned char*) { iGot++; });
        for (int i = 0; i < 25; i++) pipe.put(rowOf(i).data());
    }
    EXPECT_EQ(iGot, 25);
}

TEST(RowPipeTest, NotBesideConsumesAtOnce) {
    int iGot = 0;
    CRowPipe pipe(uRowBytes, 4, [&](const unsigned char*) { iGot++; }, false);
    pipe.put(rowOf(0).data());
    EXPECT_EQ(iGot, 1);
    pipe.put(rowOf(1).data());
    EXPECT_EQ(iGot, 2);
}

}  // namespace

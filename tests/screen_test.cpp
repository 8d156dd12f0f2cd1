// The image buffer: a new buffer is black and unhit; setPixelBW paints and clears the count.

#include "peer.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

TEST(ScreenTest, NewBufferIsZeroToItsCapacity) {
    // Construct over storage full of ones, so only the constructor can make the zeros.
    // 20 MB: never on the stack.
    auto pStorage = std::make_unique<unsigned char[]>(sizeof(screen));
    std::memset(pStorage.get(), 0xff, sizeof(screen));
    const screen* pScreen = new (pStorage.get()) screen;
    for (int i = 0; i < iBufferSide; i++) {
        for (int j = 0; j < iBufferSide; j++) {
            ASSERT_EQ(pScreen->iScreenHits[i][j], 0);
            for (int k = 0; k < 4; k++) ASSERT_EQ(pScreen->fScreenArray[i][j][k], 0.0f);
        }
    }
}

class SetPixelTest : public FlameTest {};

TEST_F(SetPixelTest, PaintsWhiteOrBlackAndClearsCount) {
    myScreen.iScreenHits[3][4] = 7;
    myScreen.setPixelBW(3, 4, 1);
    for (int k = 0; k < 4; k++) EXPECT_EQ(myScreen.fScreenArray[3][4][k], 1.0f);
    EXPECT_EQ(myScreen.iScreenHits[3][4], 0);

    myScreen.iScreenHits[3][4] = 7;
    myScreen.setPixelBW(3, 4, 0);
    for (int k = 0; k < 4; k++) EXPECT_EQ(myScreen.fScreenArray[3][4][k], 0.0f);
    EXPECT_EQ(myScreen.iScreenHits[3][4], 0);
}

TEST_F(SetPixelTest, OtherColourKeepsColourButClearsCount) {
    myScreen.fScreenArray[3][4][1] = 0.5f;
    myScreen.iScreenHits[3][4] = 7;
    myScreen.setPixelBW(3, 4, 2);
    EXPECT_EQ(myScreen.fScreenArray[3][4][1], 0.5f);
    EXPECT_EQ(myScreen.iScreenHits[3][4], 0);
}

}  // namespace

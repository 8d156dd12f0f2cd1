// The picture: a new one is unhit and uncoloured; setPixelBW paints and clears the count.

#include "peer.h"

#include <stdexcept>
#include <utility>
#include <vector>

namespace {

// A new picture has its size, no hit, and no colours until it is coloured; one without a pixel
// cannot be made.
TEST(ScreenTest, NewPictureIsUnhitAndUncoloured) {
    const screen picture(3, 2);
    EXPECT_EQ(picture.width(), 3);
    EXPECT_EQ(picture.height(), 2);
    EXPECT_EQ(picture.iScreenHits, std::vector<int>(6, 0));
    EXPECT_EQ(picture.iMaxHit, 0);
    EXPECT_TRUE(picture.fScreenArray.empty());
    for (const auto& [iWidth, iHeight] : {std::pair{0, 5}, {5, 0}, {-1, -1}})
        EXPECT_THROW(screen(iWidth, iHeight), std::invalid_argument);
}

class SetPixelTest : public FlameTest {};

TEST_F(SetPixelTest, PaintsWhiteOrBlackAndClearsCount) {
    myScreen.hits(3, 4) = 7;
    myScreen.setPixelBW(3, 4, 1);
    for (int k = 0; k < 4; k++) EXPECT_EQ(myScreen.colour(3, 4)[k], 1.0f);
    EXPECT_EQ(myScreen.hits(3, 4), 0);

    myScreen.hits(3, 4) = 7;
    myScreen.setPixelBW(3, 4, 0);
    for (int k = 0; k < 4; k++) EXPECT_EQ(myScreen.colour(3, 4)[k], 0.0f);
    EXPECT_EQ(myScreen.hits(3, 4), 0);
}

TEST_F(SetPixelTest, OtherColourKeepsColourButClearsCount) {
    myScreen.colour(3, 4)[1] = 0.5f;
    myScreen.hits(3, 4) = 7;
    myScreen.setPixelBW(3, 4, 2);
    EXPECT_EQ(myScreen.colour(3, 4)[1], 0.5f);
    EXPECT_EQ(myScreen.hits(3, 4), 0);
}

}  // namespace

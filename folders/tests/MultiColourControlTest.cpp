// The palette and its one-line text form.
#include <gtest/gtest.h>

#include "folders/MultiColourControl.h"

namespace bs {
namespace {

TEST(MultiColourControl, ReadsTheDefaultPaletteAsTheDesignTextAndTakesOnlyOneToEightColours) {
    TMultiColourControl control;
    EXPECT_EQ(control.NumColours(), 6);
    EXPECT_EQ(control.Colours(), "$00E0E0FF,$00E0FFFF,$00E0FFE0,$00FFFFE0,$00FFE0E0,$00FFE0FF");
    control.SetNumColours(8);
    EXPECT_EQ(control.Colours(), "$00E0E0FF,$00E0FFFF,$00E0FFE0,$00FFFFE0,$00FFE0E0,$00FFE0FF,"
                                 "$00FFFFFF,$00E0E0E0");
    EXPECT_EQ(control.Palette()[0], Rgb(255, 224, 224));
    for (int ignored : {0, 9, -1}) {
        control.SetNumColours(ignored);
        EXPECT_EQ(control.NumColours(), 8);
    }
    control.SetNumColours(1);
    EXPECT_EQ(control.Colours(), "$00E0E0FF");
}

TEST(MultiColourControl, WritingTwoGoodItemsSetsTwoColoursRepaintsAndRaisesTheEventOnce) {
    TMultiColourControl control;
    int changes = 0, repaints = 0;
    control.OnColourChange = [&] { ++changes; };
    control.RequestRepaint = [&] { ++repaints; };
    control.SetColours("$000000FF, 65280");
    EXPECT_EQ(control.NumColours(), 2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(control.Colours(), "$000000FF,$0000FF00");

    control.SetColours("\"$10\" 32,$ffffffff,-1");
    EXPECT_EQ(control.NumColours(), 4);
    EXPECT_EQ(control.Colours(), "$00000010,$00000020,$FFFFFFFF,$FFFFFFFF");
    EXPECT_EQ(changes, 2);

    control.SetColours("1,2,3,4,5,6,7,8,9,bad");
    EXPECT_EQ(control.NumColours(), 8) << "items past the eighth are not read";
}

TEST(MultiColourControl, ABadItemLeavesNoColoursKeepsTheSlotsBeforeItAndRaisesNothing) {
    TMultiColourControl control;
    int changes = 0, repaints = 0;
    control.OnColourChange = [&] { ++changes; };
    control.RequestRepaint = [&] { ++repaints; };
    control.SetColours("$00112233,zz,$00445566");
    EXPECT_EQ(control.NumColours(), 0);
    EXPECT_EQ(control.Palette()[0], 0x00112233u);
    EXPECT_EQ(control.Palette()[2], Rgb(224, 255, 224)) << "not reached";
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(repaints, 0);
    for (const char* bad : {"1,,2", "1,", "$", "$123456789", "4294967296", "1.5"}) {
        control.SetColours(bad);
        EXPECT_EQ(control.NumColours(), 0) << bad;
    }
    EXPECT_EQ(changes, 0);
    control.SetColours("");
    EXPECT_EQ(control.NumColours(), 0) << "an empty text has no colours";
    EXPECT_EQ(control.Colours(), "");
}

} // namespace
} // namespace bs

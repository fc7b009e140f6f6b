// The display-scale arithmetic: the banner's cut at the frames measured under Wine and on
// Windows, dialog units both ways, font heights at each scale.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

#include "DisplayScale.h"

namespace {

// Bitmap 157 and the larger banner it is scaled down from.
constexpr int kBannerCx = 273;
constexpr int kBannerCy = 47;
constexpr int kLargeBannerCx = 546;
constexpr int kLargeBannerCy = 94;

struct Frame
{
    int dpi;
    int cx;
    int cy;
};

// The banner's frame (182 x 29 dialog units) measured in Upvane's dialog under Wine 8.
constexpr Frame kWineFrames[] = {{96, 319, 47}, {120, 364, 54}, {144, 455, 69}, {192, 591, 87}};

TEST(DisplayScale, BannerCutFillsEveryMeasuredFrameUndistortedAndInsideThePicture)
{
    for (const Frame& frame : kWineFrames) {
        for (const auto& picture :
             {std::pair{kBannerCx, kBannerCy}, std::pair{kLargeBannerCx, kLargeBannerCy}}) {
            SCOPED_TRACE(testing::Message() << frame.dpi << " dpi, picture " << picture.first);
            const ScaleRect cut = PictureCutForFrame(frame.cx, frame.cy, picture.first, picture.second);
            EXPECT_GE(cut.x, 0);
            EXPECT_GE(cut.y, 0);
            EXPECT_LE(cut.x + cut.cx, picture.first);
            EXPECT_LE(cut.y + cut.cy, picture.second);
            // Wine's frames are wider than the picture: its whole width, cut evenly in height.
            EXPECT_EQ(picture.first, cut.cx);
            EXPECT_LE(std::abs(picture.second - cut.cy - 2 * cut.y), 1);
            // The same proportions as the frame, to within one pixel of the cut.
            EXPECT_NEAR(static_cast<double>(cut.cx) / cut.cy * frame.cy, frame.cx,
                        frame.cx / double(cut.cy) + 1);
        }
    }
}

TEST(DisplayScale, OnWindowsAt100PercentTheFrameIsTheBitmapAndNothingIsCut)
{
    // MS Sans Serif 8 at 96 dpi: base units 6 x 13.
    const ScaleRect frame = DialogUnitsToPixels({86, 15, 182, 29}, {6, 13});
    EXPECT_EQ(129, frame.x);
    EXPECT_EQ(24, frame.y);
    EXPECT_EQ(kBannerCx, frame.cx);
    EXPECT_EQ(kBannerCy, frame.cy);
    const ScaleRect cut = PictureCutForFrame(frame.cx, frame.cy, kBannerCx, kBannerCy);
    EXPECT_EQ(0, cut.x);
    EXPECT_EQ(0, cut.y);
    EXPECT_EQ(kBannerCx, cut.cx);
    EXPECT_EQ(kBannerCy, cut.cy);
}

TEST(DisplayScale, ATallerFrameKeepsThePicturesHeightAndCutsItsSides)
{
    const ScaleRect cut = PictureCutForFrame(200, 50, 400, 50);
    EXPECT_EQ(100, cut.x);
    EXPECT_EQ(0, cut.y);
    EXPECT_EQ(200, cut.cx);
    EXPECT_EQ(50, cut.cy);
    const ScaleRect none = PictureCutForFrame(0, 50, 400, 50);
    EXPECT_EQ(0, none.cx);
    EXPECT_EQ(0, none.cy);
}

TEST(DisplayScale, DialogUnitsComeBackExactlyFromThePixelsOfEveryScale)
{
    // Upvane's template rectangles, at the base units of 100 % on Windows and of 100 to 200 %
    // under Wine.
    const ScaleRect controls[] = {{205, 217, 50, 14}, {55, 49, 243, 11},  {55, 183, 87, 13},
                                  {55, 199, 117, 13}, {55, 71, 243, 67},  {63, 80, 222, 24},
                                  {55, 144, 243, 36}, {61, 155, 231, 19}, {163, 183, 135, 13},
                                  {86, 15, 182, 29},  {0, 0, 353, 245}};
    const DialogBaseUnits scales[] = {{6, 13}, {7, 13}, {8, 15}, {10, 19}, {13, 24}, {5, 9}};
    for (const DialogBaseUnits units : scales) {
        for (const ScaleRect& rc : controls) {
            const ScaleRect back = PixelsToDialogUnits(DialogUnitsToPixels(rc, units), units);
            EXPECT_EQ(rc.x, back.x) << units.cx;
            EXPECT_EQ(rc.y, back.y) << units.cy;
            EXPECT_EQ(rc.cx, back.cx) << units.cx;
            EXPECT_EQ(rc.cy, back.cy) << units.cy;
        }
    }
}

TEST(DisplayScale, BaseUnitsAreTheRoundedAverageLetterWidthAndTheFontHeight)
{
    EXPECT_EQ(6, BaseUnitsOfFont(312, 13).cx); // 6.0
    EXPECT_EQ(6, BaseUnitsOfFont(286, 13).cx); // 5.5 rounds up
    EXPECT_EQ(5, BaseUnitsOfFont(285, 13).cx); // 5.48
    EXPECT_EQ(13, BaseUnitsOfFont(312, 13).cy);
}

TEST(DisplayScale, FontsAndPixelsAtEachScale)
{
    // 8 points as the dialog makes them at each scale, from any of the others.
    const std::pair<int, int> heights[] = {{96, -11}, {120, -13}, {144, -16}, {192, -21}};
    for (const auto& from : heights)
        for (const auto& to : heights)
            EXPECT_EQ(to.second, FontHeightAtDpi(from.second, from.first, to.first))
                << from.first << "->" << to.first;
    EXPECT_EQ(48, ScaleToDpi(32, 96, 144));
    EXPECT_EQ(20, ScaleToDpi(16, 96, 120));
    EXPECT_EQ(16, ScaleToDpi(32, 192, 96));
    EXPECT_EQ(-3, ScaleMulDiv(-5, 3, 5));
    EXPECT_EQ(3, ScaleMulDiv(5, 1, 2)); // 2.5: halves away from zero
    EXPECT_EQ(-3, ScaleMulDiv(5, -1, 2));
    EXPECT_EQ(0, ScaleMulDiv(5, 1, 0));
}

} // namespace

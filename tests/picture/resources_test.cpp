// Carried pictures: decoded once while held and shared, decoded again after the last holder
// lets go, and clear errors for unknown names and unreadable bytes.
#include "ui/picture/Resources.h"

#include <gtest/gtest.h>

#include "tests/picture/Pictures.h"
#include "ui/picture/Png.h"

namespace {

using namespace picture_test;

class PictureResources : public ::testing::Test {
 protected:
  void TearDown() override { ui::ClearPictureResources(); }
};

TEST_F(PictureResources, OneDecodedCopyIsSharedWhileHeld) {
  const Bytes png = ui::EncodePng(PatternPixels(5, 4, true));
  ui::RegisterPictureResource(u"frame.png", png);
  auto a = ui::PictureResource(u"frame.png");
  auto b = ui::PictureResource(u"frame.png");
  EXPECT_EQ(a.get(), b.get());
  EXPECT_EQ(*a, PatternPixels(5, 4, true));
  std::weak_ptr<const ui::TPixels> gone = a;
  a.reset();
  b.reset();
  EXPECT_TRUE(gone.expired()) << "the registry must not keep pixels nobody shows";
  EXPECT_EQ(*ui::PictureResource(u"frame.png"), PatternPixels(5, 4, true));
}

TEST_F(PictureResources, ReRegisteringANameReplacesItsPicture) {
  const Bytes first = ui::EncodePng(PatternPixels(2, 2, false));
  const Bytes second = ui::EncodePng(PatternPixels(3, 3, false));
  ui::RegisterPictureResource(u"p", first);
  auto held = ui::PictureResource(u"p");
  ui::RegisterPictureResource(u"p", second);
  EXPECT_EQ(ui::PictureResource(u"p")->Width(), 3);
  EXPECT_EQ(held->Width(), 2) << "a picture still shown stays valid";
}

TEST_F(PictureResources, UnknownNamesAndUnreadableBytesFailClearly) {
  EXPECT_NE(ErrorOf<ui::EPictureError>([] {
              ui::PictureResource(u"missing.png");
            }).find("No picture named \"missing.png\" is registered"),
            std::string::npos);
  static const uint8_t junk[] = {'B', 'M', 0};
  ui::RegisterPictureResource(u"junk.bmp", junk);
  for (int i = 0; i < 2; ++i) {
    EXPECT_NE(ErrorOf<ui::EPictureError>([] {
                ui::PictureResource(u"junk.bmp");
              }).find("Bitmap: the file ends inside its header"),
              std::string::npos);
  }
  ui::ClearPictureResources();
  EXPECT_THROW(ui::PictureResource(u"junk.bmp"), ui::EPictureError);
}

}  // namespace

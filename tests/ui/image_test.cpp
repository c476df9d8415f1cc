// The image control on the offscreen backend: painted beneath windowed controls in one order
// with the labels, at its corner or centred, clipped to its bounds, blended over what lies
// beneath; sized to its picture on request; set from files, carried pictures and stored
// descriptions; one native bitmap per picture however many controls show it.
#include "ui/Image.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/picture/Pictures.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/Label.h"
#include "ui/offscreen/Offscreen.h"
#include "ui/picture/PictureError.h"
#include "ui/picture/Png.h"
#include "ui/picture/Resources.h"

namespace {

using picture_test::Bytes;
using ui::RgbaOf;
using ui::TPixels;
using ui::TRgba;
using ui::offscreen::PaintOp;

constexpr ui::TColor kRed = 0x0000FF;
constexpr ui::TColor kBlue = 0xFF0000;

// A picture of one colour, with alpha when the colour is not opaque.
std::shared_ptr<const TPixels> Solid(int width, int height, TRgba colour) {
  return std::make_shared<const TPixels>(width, height, colour.A != 255, colour);
}

class Images : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<ui::TForm>(nullptr);
    form->SetBorderStyle(ui::TBorderStyle::bsNone);
    form->SetAutoScroll(false);
    form->SetBounds(0, 0, 200, 100);
    form->SetColor(ui::clWhite);
    form->Show();
  }
  void TearDown() override {
    form.reset();
    ui::ClearPictureResources();
  }
  ui::TImage* NewImage(int left, int top, int width, int height,
                       std::shared_ptr<const TPixels> picture) {
    auto* image = new ui::TImage(form.get());
    image->SetParent(form.get());
    image->SetBounds(left, top, width, height);
    image->SetPicture(std::move(picture));
    return image;
  }
  TRgba At(int x, int y) { return backend.Render(*form).At(x, y); }

  ui::offscreen::OffscreenBackend& backend = ui::offscreen::Instance();
  std::unique_ptr<ui::TForm> form;
};

TEST_F(Images, PaintedInOneOrderWithLabelsBeneathTheWindowedControls) {
  auto* edit = new ui::TEdit(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(10, 10, 40, 20);
  ui::TImage* first = NewImage(0, 0, 30, 30, Solid(30, 30, {255, 0, 0, 255}));
  auto* label = new ui::TLabel(form.get());
  label->SetParent(form.get());
  label->SetBounds(20, 0, 0, 0);
  label->SetCaption(u"W");
  label->SetTransparent(true);
  ui::TImage* second = NewImage(25, 0, 30, 30, Solid(30, 30, {0, 0, 255, 255}));

  const std::vector<PaintOp> ops = backend.Paint(*form);
  ASSERT_EQ(ops.size(), 5u);
  EXPECT_EQ(ops[0].Painter, form.get());  // the background
  EXPECT_EQ(ops[1].Painter, first);
  EXPECT_EQ(ops[1].What, PaintOp::Image);
  EXPECT_EQ(ops[1].Picture, first->Picture()->Serial());
  EXPECT_EQ(ops[2].Painter, label);
  EXPECT_EQ(ops[3].Painter, second);
  EXPECT_EQ(ops[4].Painter, edit);  // created first, yet over all of them
  EXPECT_EQ(ops[4].What, PaintOp::Child);

  EXPECT_EQ(At(5, 5), RgbaOf(kRed));
  EXPECT_EQ(At(27, 2), RgbaOf(kBlue));         // the later image over the earlier one
  EXPECT_EQ(At(15, 15), RgbaOf(ui::clWhite));  // the edit over both
  EXPECT_EQ(At(45, 25), RgbaOf(ui::clWhite));
  EXPECT_EQ(At(52, 5), RgbaOf(kBlue));
}

TEST_F(Images, DrawnAtTheCornerOrCentredAndClippedToTheBounds) {
  ui::TImage* image = NewImage(20, 20, 10, 8, Solid(4, 2, {255, 0, 0, 255}));
  EXPECT_EQ(At(20, 20), RgbaOf(kRed));
  EXPECT_EQ(At(24, 20), RgbaOf(ui::clWhite));
  image->SetCenter(true);
  EXPECT_EQ(image->PictureOrigin(), (ui::TPoint{3, 3}));
  EXPECT_EQ(At(20, 20), RgbaOf(ui::clWhite));
  EXPECT_EQ(At(23, 23), RgbaOf(kRed));
  EXPECT_EQ(At(26, 24), RgbaOf(kRed));
  EXPECT_EQ(At(27, 24), RgbaOf(ui::clWhite));

  // Larger than the control: only what lies inside the bounds shows, centred or not.
  ui::TImage* big = NewImage(100, 50, 6, 4, Solid(20, 10, {0, 0, 255, 255}));
  for (bool centre : {false, true}) {
    big->SetCenter(centre);
    EXPECT_EQ(At(100, 50), RgbaOf(kBlue));
    EXPECT_EQ(At(105, 53), RgbaOf(kBlue));
    EXPECT_EQ(At(106, 53), RgbaOf(ui::clWhite));
    EXPECT_EQ(At(105, 54), RgbaOf(ui::clWhite));
    EXPECT_EQ(At(99, 50), RgbaOf(ui::clWhite));
  }
  const std::vector<PaintOp> ops = backend.Paint(*form);
  EXPECT_EQ(ops.back().Rect, big->BoundsRect());
  EXPECT_EQ(big->PictureOrigin(), (ui::TPoint{-7, -3}));
}

TEST_F(Images, AlphaBlendsOverTheBackgroundAndTheImagesPaintedBefore) {
  form->SetColor(kRed);
  NewImage(0, 0, 20, 20, Solid(20, 20, {0, 0, 255, 255}));  // opaque blue beneath, left part
  NewImage(10, 0, 20, 20, Solid(20, 20, {0, 0, 0, 128}));   // half black across both
  EXPECT_EQ(At(15, 5), (TRgba{0, 0, 127, 255}));            // over the blue image
  EXPECT_EQ(At(25, 5), (TRgba{127, 0, 0, 255}));            // over the red background
  EXPECT_EQ(At(35, 5), RgbaOf(kRed));
  // Fully transparent pixels leave what lies beneath.
  NewImage(40, 0, 5, 5, Solid(5, 5, {0, 255, 0, 0}));
  EXPECT_EQ(At(41, 1), RgbaOf(kRed));
}

TEST_F(Images, APictureFromAFileIsShownWithItsOwnPixels) {
  const TPixels rgba = picture_test::PatternPixels(7, 5, true);
  ui::TImage* image = NewImage(0, 0, 7, 5, nullptr);
  image->LoadFromBytes(ui::EncodePng(rgba));
  ASSERT_TRUE(image->Picture());
  EXPECT_EQ(*image->Picture(), rgba);
  form->SetColor(ui::clBlack);
  const TRgba p = rgba.At(3, 2);
  EXPECT_EQ(At(3, 2), ui::BlendOver(RgbaOf(ui::clBlack), p));
}

TEST_F(Images, AFileThatDoesNotReadKeepsTheCurrentPicture) {
  ui::TImage* image = NewImage(0, 0, 10, 10, Solid(10, 10, {255, 0, 0, 255}));
  const auto before = image->Picture();
  Bytes damaged = ui::EncodePng(picture_test::PatternPixels(4, 4, false));
  damaged[40] ^= 1;
  EXPECT_THROW(image->LoadFromBytes(damaged), ui::EPictureError);
  EXPECT_EQ(image->Picture(), before);
  EXPECT_THROW(image->LoadFromResource(u"nothing.png"), ui::EPictureError);
  EXPECT_EQ(image->Picture(), before);
  EXPECT_EQ(At(5, 5), RgbaOf(kRed));
}

TEST_F(Images, AutoSizeTakesThePicturesSizeNowAndWhenItChanges) {
  ui::TImage* image = NewImage(-4, -2, 50, 50, Solid(30, 7, {0, 0, 0, 255}));
  image->SetCenter(true);
  image->SetAutoSize(true);
  EXPECT_EQ(image->BoundsRect(), (ui::TRect{-4, -2, 26, 5}));
  EXPECT_EQ(image->PictureOrigin(), (ui::TPoint{0, 0}));
  image->SetPicture(Solid(12, 3, {0, 0, 0, 255}));
  EXPECT_EQ(image->BoundsRect(), (ui::TRect{-4, -2, 8, 1}));
  image->SetPicture(nullptr);
  EXPECT_EQ(image->BoundsRect(), (ui::TRect{-4, -2, 8, 1})) << "no picture: the size stays";
  EXPECT_EQ(backend.Paint(*form).size(), 1u) << "nothing to paint but the background";
}

TEST_F(Images, AChangedPictureOrPlacementRepaintsTheContainer) {
  ui::TImage* image = NewImage(0, 0, 10, 10, Solid(10, 10, {255, 0, 0, 255}));
  backend.Paint(*form);
  int before = backend.Invalidations(*form);
  image->SetPicture(Solid(10, 10, {0, 0, 255, 255}));
  EXPECT_GT(backend.Invalidations(*form), before);
  before = backend.Invalidations(*form);
  image->SetCenter(true);
  EXPECT_GT(backend.Invalidations(*form), before);
  before = backend.Invalidations(*form);
  image->SetCenter(true);
  image->SetPicture(image->Picture());
  EXPECT_EQ(backend.Invalidations(*form), before) << "nothing changed, nothing repainted";
}

TEST_F(Images, OneNativeBitmapPerPictureMadeOnceAndFreedWithTheLastImage) {
  const Bytes png = ui::EncodePng(picture_test::PatternPixels(16, 16, true));
  ui::RegisterPictureResource(u"frame.png", png);
  const size_t bitmaps = backend.Counts().Bitmaps;
  const int made = backend.BitmapsMade();
  auto* a = new ui::TImage(form.get());
  a->SetParent(form.get());
  a->SetBounds(0, 0, 16, 16);
  a->LoadFromResource(u"frame.png");
  auto* b = new ui::TImage(form.get());
  b->SetParent(form.get());
  b->SetBounds(20, 0, 16, 16);
  b->LoadFromResource(u"frame.png");
  EXPECT_EQ(a->Picture(), b->Picture()) << "one decoded copy, shared";
  for (int i = 0; i < 3; ++i) backend.Render(*form);
  EXPECT_EQ(backend.Counts().Bitmaps, bitmaps + 1);
  EXPECT_EQ(backend.BitmapsMade(), made + 1);
  delete a;
  EXPECT_EQ(backend.Counts().Bitmaps, bitmaps + 1);
  b->SetPicture(nullptr);
  EXPECT_EQ(backend.Counts().Bitmaps, bitmaps);
  delete b;
}

TEST_F(Images, StoredDescriptionsNameCarriedPicturesAndSetCentreAndAutoSize) {
  const Bytes png = ui::EncodePng(picture_test::PatternPixels(30, 6, true));
  ui::RegisterPictureResource(u"header.png", png);
  auto* image = new ui::TImage(form.get());
  image->SetParent(form.get());
  image->SetStoredProperty(u"Picture", u"header.png");
  image->SetStoredProperty(u"AutoSize", u"True");
  image->SetStoredProperty(u"center", u"true");
  EXPECT_EQ(image->Width(), 30);
  EXPECT_TRUE(image->Center());
  EXPECT_THROW(image->SetStoredProperty(u"Center", u"yes"), rt::Exception);
  EXPECT_THROW(image->SetStoredProperty(u"Stretch", u"True"), rt::Exception);
  EXPECT_THROW(image->SetStoredProperty(u"Picture", u"missing.png"), ui::EPictureError);
  EXPECT_EQ(image->Width(), 30);
}

}  // namespace

// Graphic controls: labels size themselves to their caption, are painted by their container
// in creation order beneath its windowed children, transparent or opaque, and repaint what they
// cover when they change.
#include <gtest/gtest.h>

#include <memory>

#include "ui/Canvas.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/GraphicControl.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/offscreen/Offscreen.h"

namespace {

using ui::offscreen::PaintOp;

class Painting : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<ui::TForm>(nullptr);
    form->SetBorderStyle(ui::TBorderStyle::bsNone);
    form->SetAutoScroll(false);
    form->SetBounds(0, 0, 300, 200);
    form->SetColor(ui::clWhite);
    form->Show();
  }
  ui::TLabel* NewLabel(std::u16string_view caption, int left, int top) {
    auto* label = new ui::TLabel(form.get());
    label->SetParent(form.get());
    label->SetLeft(left);
    label->SetTop(top);
    label->SetCaption(caption);
    return label;
  }

  ui::offscreen::OffscreenBackend& backend = ui::offscreen::Instance();
  std::unique_ptr<ui::TForm> form;
};

TEST_F(Painting, ALabelSizesItselfToItsCaptionInItsFontAndHasNoWindow) {
  const size_t windows = backend.Counts().Windows;
  ui::TLabel* label = NewLabel(u"Stamina", 57, 129);
  EXPECT_EQ(backend.Counts().Windows, windows);
  EXPECT_EQ(label->BoundsRect(), (ui::TRect{57, 129, 57 + 7 * 7, 129 + 13}));  // Tahoma -11
  label->SetFont({u"Tahoma", -16, ui::clWhite, ui::fsBold});
  EXPECT_EQ(label->Width(), 7 * 10);  // ceil(0.55 x 16) + 1 for bold, per character
  EXPECT_EQ(label->Height(), 19);
  label->SetAutoSize(false);
  label->SetCaption(u"x");
  EXPECT_EQ(label->Width(), 70);
  EXPECT_EQ(label->Height(), 19);
}

TEST_F(Painting, GraphicControlsPaintInCreationOrderBeneathTheWindowedChildren) {
  auto* edit = new ui::TEdit(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(5, 5, 60, 20);
  ui::TLabel* first = NewLabel(u"Nome:", 10, 10);
  ui::TLabel* second = NewLabel(u"/", 12, 12);
  second->SetColor(ui::clWhite);
  first->SetTransparent(true);
  second->SetVisible(false);
  NewLabel(u"", 0, 0)->SetTransparent(true);  // empty: paints nothing
  second->SetVisible(true);

  const std::vector<PaintOp> ops = backend.Paint(*form);
  ASSERT_EQ(ops.size(), 5u);
  EXPECT_EQ(ops[0].What, PaintOp::Fill);  // the form's background
  EXPECT_EQ(ops[0].Painter, form.get());
  EXPECT_EQ(ops[0].Color, ui::clWhite);
  EXPECT_EQ(ops[1].What, PaintOp::Text);  // the transparent label: text only
  EXPECT_EQ(ops[1].Painter, first);
  EXPECT_EQ(ops[1].String, u"Nome:");
  EXPECT_EQ(ops[1].Rect, first->BoundsRect());
  EXPECT_EQ(ops[2].What, PaintOp::Fill);  // the opaque one fills its box, then its text
  EXPECT_EQ(ops[2].Painter, second);
  EXPECT_EQ(ops[2].Rect, second->BoundsRect());
  EXPECT_EQ(ops[3].What, PaintOp::Text);
  EXPECT_EQ(ops[4].What, PaintOp::Child);  // the window, created first, lies over all of it
  EXPECT_EQ(ops[4].Painter, edit);
}

TEST_F(Painting, PixelsShowLabelsUnderTheirWindowedSiblingsAndInsideTheirPanel) {
  auto* panel = new ui::TPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(100, 50, 100, 100);
  panel->SetColor(ui::clBlack);
  auto* inPanel = new ui::TLabel(form.get());
  inPanel->SetParent(panel);
  inPanel->SetCaption(u"W");
  inPanel->SetFont({u"Tahoma", -16, ui::clWhite, ui::fsBold});
  inPanel->SetTransparent(true);
  inPanel->SetBounds(90, 5, 0, 0);  // sticks out of the panel: clipped
  ui::TLabel* box = NewLabel(u"/", 20, 20);
  box->SetColor(0x0000FF);  // red, opaque
  auto* edit = new ui::TEdit(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(24, 20, 30, 20);  // over the right part of the box

  const ui::TPixels pixels = backend.Render(*form);
  EXPECT_EQ(pixels.At(20, 20), ui::RgbaOf(0x0000FF));       // the box
  EXPECT_EQ(pixels.At(30, 30), ui::RgbaOf(ui::clWhite));    // the edit's own white
  EXPECT_EQ(pixels.At(150, 100), ui::RgbaOf(ui::clBlack));  // the panel
  EXPECT_EQ(pixels.At(191, 70), ui::RgbaOf(ui::clWhite));   // the white "W" on black
  EXPECT_EQ(pixels.At(201, 70), ui::RgbaOf(ui::clWhite));   // beyond the panel: the form
  EXPECT_EQ(inPanel->Width(), 10);
}

TEST_F(Painting, AChangedLabelRepaintsItsContainerAndAFreedOneIsNoLongerPainted) {
  ui::TLabel* label = NewLabel(u"PV", 10, 10);
  backend.Paint(*form);
  const int before = backend.Invalidations(*form);
  label->SetCaption(u"PV total");
  EXPECT_GT(backend.Invalidations(*form), before);
  const int moved = backend.Invalidations(*form);
  label->SetLeft(40);
  EXPECT_EQ(backend.Invalidations(*form), moved + 2);  // where it was and where it is
  delete label;
  const std::vector<PaintOp> ops = backend.Paint(*form);
  EXPECT_EQ(ops.size(), 1u);  // the background only
}

TEST_F(Painting, PicturesBlendOverWhatIsPaintedBeneathThem) {
  // A container of our own that draws a half-transparent picture over its background.
  class Picture : public ui::TGraphicControl {
   public:
    using TGraphicControl::TGraphicControl;
    void Paint(ui::TCanvas& canvas) override { canvas.Draw({0, 0}, pixels); }
    ui::TPixels pixels{4, 4, true, {0, 0, 0, 128}};
  };
  auto* picture = new Picture(form.get());
  picture->SetParent(form.get());
  picture->SetBounds(10, 10, 2, 2);  // smaller than the picture: clipped to the control
  const ui::TPixels out = backend.Render(*form);
  EXPECT_EQ(out.At(10, 10), (ui::TRgba{127, 127, 127, 255}));  // 50 % black over white
  EXPECT_EQ(out.At(12, 12), ui::RgbaOf(ui::clWhite));
  const std::vector<PaintOp> ops = backend.Paint(*form);
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_EQ(ops[1].What, PaintOp::Image);
  EXPECT_EQ(ops[1].Picture, picture->pixels.Serial());
  EXPECT_EQ(ops[1].Rect, (ui::TRect{10, 10, 12, 12}));
}

}  // namespace

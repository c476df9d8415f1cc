// Embedding a form into numbered host windows: re-parenting, filling the host's client area
// within the constraints, following the host's size, and leaving no native object behind.
#include <gtest/gtest.h>

#include <memory>

#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/offscreen/Offscreen.h"

namespace {

constexpr uint32_t W1 = 0x1001;
constexpr uint32_t W2 = 0x2002;

class Embedding : public ::testing::Test {
 protected:
  void SetUp() override {
    backend.SetHostClientSize(W1, 640, 480);
    backend.SetHostClientSize(W2, 300, 200);
    objects = backend.NativeObjectCount();
  }
  void TearDown() override { EXPECT_EQ(backend.NativeObjectCount(), objects); }

  std::unique_ptr<ui::TForm> NewView() {
    auto form = std::make_unique<ui::TForm>(nullptr);
    form->SetBorderStyle(ui::TBorderStyle::bsNone);
    form->SetBounds(509, 206, 472, 243);
    auto* edit = new ui::TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 1000, 50, 20);
    return form;
  }

  ui::offscreen::OffscreenBackend& backend = ui::offscreen::Instance();
  size_t objects = 0;
};

TEST_F(Embedding, AnEmbeddedViewFillsItsHostAndIsShown) {
  auto view = NewView();
  view->EmbedInto(W1);
  EXPECT_EQ(view->ParentWindow(), W1);
  EXPECT_EQ(backend.HostOf(*view), W1);
  EXPECT_EQ(view->Parent(), nullptr);  // inside the layer it stays a form without a parent
  EXPECT_TRUE(view->Visible());
  EXPECT_TRUE(backend.NativeVisible(*view));
  EXPECT_EQ(view->BoundsRect(), (ui::TRect{0, 0, 640, 480}));
  EXPECT_EQ(view->Align(), ui::TAlign::alClient);
}

TEST_F(Embedding, MovingToASecondHostKeepsTheSameNativeWindow) {
  auto view = NewView();
  view->EmbedInto(W1);
  const ui::NativeHandle handle = view->CurrentHandle();
  const int created = backend.HandlesCreated();
  view->EmbedInto(W2);
  EXPECT_EQ(view->CurrentHandle(), handle);
  EXPECT_EQ(backend.HandlesCreated(), created);
  EXPECT_EQ(backend.HostOf(*view), W2);
  EXPECT_EQ(view->BoundsRect(), (ui::TRect{0, 0, 300, 200}));
}

TEST_F(Embedding, TheViewFollowsItsHostsSizeWithinItsConstraints) {
  auto view = NewView();
  view->EmbedInto(W1);
  view->Constraints().SetMaxWidth(500);
  view->Constraints().SetMaxHeight(400);
  EXPECT_EQ(view->Width(), 500);
  EXPECT_EQ(view->Height(), 400);
  backend.SetHostClientSize(W1, 450, 900);
  EXPECT_EQ(view->Width(), 450);
  EXPECT_EQ(view->Height(), 400);
  view->Constraints().SetMaxWidth(0);
  view->Constraints().SetMaxHeight(0);  // no limits: the view grows back to the host's size
  EXPECT_EQ(view->Width(), 450);
  EXPECT_EQ(view->Height(), 900);
  backend.SetHostClientSize(W2, 10, 10);  // another host's size is none of its business
  EXPECT_EQ(view->Height(), 900);
}

TEST_F(Embedding, AViewEmbeddedInASmallHostScrollsItsContent) {
  auto view = NewView();
  view->EmbedInto(W2);
  EXPECT_TRUE(view->VertScrollBar().IsScrollBarVisible());
  EXPECT_EQ(view->VertScrollBar().Range(), 1020);
  view->Perform(ui::msgVScroll, ui::sbLineDown, 0);
  EXPECT_EQ(view->VertScrollBar().Position(), 8);
}

TEST_F(Embedding, AFreedViewLeavesNoNativeObjects) {
  for (int i = 0; i < 50; ++i) {
    auto view = NewView();
    view->EmbedInto(i % 2 ? W1 : W2);
  }
}

}  // namespace

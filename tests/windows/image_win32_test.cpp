// The image control on real windows: pictures painted by their container beneath its windowed
// children, blended with AlphaBlend over what lies beneath, and one DIB section per picture,
// made once however often the container repaints and freed with the last image showing it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>

#include "tests/windows/ui_test_host.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/Image.h"
#include "ui/picture/Png.h"
#include "ui/picture/Resources.h"
#include "ui/win32/Win32Backend.h"

namespace {

using testhost::AsHost;
using testhost::AsHwnd;

std::shared_ptr<const ui::TPixels> Solid(int width, int height, ui::TRgba colour) {
  return std::make_shared<const ui::TPixels>(width, height, colour.A != 255, colour);
}

bool Near(COLORREF got, int r, int g, int b) {
  return std::abs(GetRValue(got) - r) <= 1 && std::abs(GetGValue(got) - g) <= 1 &&
         std::abs(GetBValue(got) - b) <= 1;
}

class Win32Images : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(&ui::CurrentBackend(), &ui::win32::Instance());
    host = testhost::CreateHostWindow(400, 300);
    ASSERT_TRUE(host);
    view = std::make_unique<ui::TForm>(nullptr);
    view->SetBorderStyle(ui::TBorderStyle::bsNone);
    view->SetAutoScroll(false);
    view->SetColor(0x0000FF);  // red
  }
  void TearDown() override {
    view.reset();
    DestroyWindow(host);
    testhost::Pump();
    ui::ClearPictureResources();
  }
  ui::TImage* NewImage(int left, int top, int width, int height) {
    auto* image = new ui::TImage(view.get());
    image->SetParent(view.get());
    image->SetBounds(left, top, width, height);
    return image;
  }
  COLORREF Pixel(int x, int y) {
    HWND hwnd = AsHwnd(view->CurrentHandle());
    UpdateWindow(hwnd);
    HDC dc = GetDC(hwnd);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return c;
  }

  HWND host = nullptr;
  std::unique_ptr<ui::TForm> view;
};

TEST_F(Win32Images, PicturesBlendOverTheBackgroundBeneathTheWindowedChildren) {
  NewImage(0, 0, 40, 40)->SetPicture(Solid(40, 40, {0, 0, 255, 255}));
  NewImage(20, 0, 40, 40)->SetPicture(Solid(40, 40, {0, 0, 0, 128}));
  ui::TImage* centred = NewImage(100, 0, 20, 20);
  centred->SetCenter(true);
  centred->SetPicture(Solid(4, 4, {0, 255, 0, 255}));
  auto* edit = new ui::TEdit(view.get());
  edit->SetParent(view.get());
  edit->SetBounds(5, 50, 50, 20);
  ui::TImage* under = NewImage(0, 45, 60, 30);
  under->SetPicture(Solid(60, 30, {0, 0, 255, 255}));
  view->EmbedInto(AsHost(host));

  EXPECT_TRUE(Near(Pixel(10, 10), 0, 0, 255));
  EXPECT_TRUE(Near(Pixel(30, 10), 0, 0, 127)) << "half black over the blue image";
  EXPECT_TRUE(Near(Pixel(50, 10), 127, 0, 0)) << "half black over the red background";
  EXPECT_TRUE(Near(Pixel(109, 9), 0, 255, 0)) << "the centred picture";
  EXPECT_TRUE(Near(Pixel(101, 1), 255, 0, 0)) << "around it, the background";
  EXPECT_TRUE(Near(Pixel(2, 47), 0, 0, 255));
  EXPECT_FALSE(Near(Pixel(30, 60), 0, 0, 255)) << "the edit lies over the image";
}

TEST_F(Win32Images, OneDibPerPictureMadeOnceAndFreedWithTheLastImage) {
  const std::vector<uint8_t> png = ui::EncodePng(ui::TPixels(32, 32, true, {0, 0, 0, 200}));
  ui::RegisterPictureResource(u"frame.png", png);
  view->EmbedInto(AsHost(host));
  const size_t bitmaps = ui::win32::Counts().Bitmaps;
  ui::TImage* a = NewImage(0, 0, 32, 32);
  ui::TImage* b = NewImage(200, 0, 32, 32);
  a->LoadFromResource(u"frame.png");
  b->LoadFromResource(u"frame.png");
  HWND hwnd = AsHwnd(view->CurrentHandle());
  for (int i = 0; i < 3; ++i) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // A repaint elsewhere draws neither image; their bitmap must stay all the same.
    RECT elsewhere{100, 100, 150, 150};
    RedrawWindow(hwnd, &elsewhere, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  EXPECT_EQ(ui::win32::Counts().Bitmaps, bitmaps + 1);
  delete a;
  EXPECT_EQ(ui::win32::Counts().Bitmaps, bitmaps + 1);
  delete b;
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(ui::win32::Counts().Bitmaps, bitmaps);
}

}  // namespace

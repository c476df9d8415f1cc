// The image control.
#include "ui/Image.h"

#include <string>

#include "runtime/CodePage.h"
#include "ui/Description.h"
#include "ui/picture/Picture.h"
#include "ui/picture/Resources.h"

namespace ui {

TImage::TImage(rt::TComponent* owner) : TGraphicControl(owner) {}

TImage::~TImage() = default;

void TImage::SetPicture(std::shared_ptr<const TPixels> picture) {
  if (picture == picture_) return;
  hold_.reset();
  picture_ = std::move(picture);
  if (picture_ && picture_->Empty()) picture_.reset();
  AdjustSize();
  Invalidate();
}

void TImage::LoadFromBytes(std::span<const uint8_t> bytes) {
  SetPicture(std::make_shared<const TPixels>(DecodePicture(bytes)));
}

void TImage::LoadFromResource(std::u16string_view name) {
  SetPicture(PictureResource(name));
}

void TImage::SetCenter(bool value) {
  if (value == center_) return;
  center_ = value;
  Invalidate();
}

void TImage::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustSize();
}

void TImage::AdjustSize() {
  if (autoSize_ && picture_) SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
}

TPoint TImage::PictureOrigin() const {
  if (!center_ || !picture_) return {0, 0};
  return {(Width() - picture_->Width()) / 2, (Height() - picture_->Height()) / 2};
}

void TImage::Paint(TCanvas& canvas) {
  if (!picture_) return;
  if (!hold_) hold_ = CurrentBackend().Graphics().HoldPicture(*picture_);
  canvas.Draw(PictureOrigin(), *picture_);
}

void TImage::SetStoredProperty(std::u16string_view name, std::u16string_view value) {
  if (rt::SameTextAscii(name, u"Picture")) {
    LoadFromResource(value);
  } else if (rt::SameTextAscii(name, u"Center")) {
    SetCenter(StoredBoolean(name, value));
  } else if (rt::SameTextAscii(name, u"AutoSize")) {
    SetAutoSize(StoredBoolean(name, value));
  } else {
    TGraphicControl::SetStoredProperty(name, value);
  }
}

}  // namespace ui

// The image control: a picture painted on its container, without a window of its own, beneath
// the container's windowed children and in one creation order with the labels. The picture is
// drawn at the control's top-left corner without scaling, or centred in its bounds (Center);
// whatever falls outside the bounds is clipped; a picture with alpha is blended over what lies
// beneath it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "ui/Backend.h"
#include "ui/GraphicControl.h"
#include "ui/picture/Pixels.h"

namespace ui {

class TImage : public TGraphicControl {
 public:
  RT_CLASS_NAME(TImage)
  explicit TImage(rt::TComponent* owner);
  ~TImage() override;

  // The picture shown, or null. Pictures are shared, never copied: controls showing the same
  // picture share its pixels and its native bitmap.
  const std::shared_ptr<const TPixels>& Picture() const { return picture_; }
  void SetPicture(std::shared_ptr<const TPixels> picture);
  // A PNG or bitmap file's bytes. A file that does not read raises the reader's error and
  // leaves the current picture as it was.
  void LoadFromBytes(std::span<const uint8_t> bytes);
  // A picture the program carries (see RegisterPictureResource), with the same guarantee.
  void LoadFromResource(std::u16string_view name);

  // Draws the picture centred in the bounds instead of at their top-left corner.
  bool Center() const { return center_; }
  void SetCenter(bool value);
  // The control takes its picture's size, now and whenever the picture changes.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);

  // Where the picture's top-left corner lies, in the control's own coordinates.
  TPoint PictureOrigin() const;

  void Paint(TCanvas& canvas) override;

  // "Picture" names a carried picture; "Center" and "AutoSize" take True or False.
  void SetStoredProperty(std::u16string_view name, std::u16string_view value) override;

 private:
  void AdjustSize();

  std::shared_ptr<const TPixels> picture_;
  // The native bitmap, made at the first paint and kept while this picture is shown (declared
  // after the picture, so it goes first).
  std::unique_ptr<PictureHold> hold_;
  bool center_ = false;
  bool autoSize_ = false;
};

}  // namespace ui

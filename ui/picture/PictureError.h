// The errors a picture gives: a damaged or malformed file says what is wrong, a well-formed one
// of a kind the toolkit does not read says what is unsupported.
#pragma once

#include "runtime/Exception.h"

namespace ui {

// A damaged picture, or one that breaks its format's rules; also a picture too large to hold.
class EPictureError : public rt::Exception {
  using Exception::Exception;
};

// A well-formed picture of a kind the toolkit does not read (a palette, 16 bits, interlacing).
class EPictureUnsupported : public EPictureError {
  using EPictureError::EPictureError;
};

}  // namespace ui

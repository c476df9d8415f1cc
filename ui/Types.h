// Value types of the window layer: geometry, colours, fonts, alignment, shift state, and the
// portable messages and codes through which controls ask themselves to scroll.
#pragma once

#include <cstdint>
#include <string>

namespace ui {

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

// Colours are 0x00BBGGRR values, or a system colour: the high bit set and the window system's
// colour index in the low byte, resolved by the backend when it paints.
using TColor = uint32_t;
inline constexpr TColor kSystemColorBit = 0x80000000u;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clWindow = kSystemColorBit | 5;
inline constexpr TColor clWindowText = kSystemColorBit | 8;
inline constexpr TColor clBtnFace = kSystemColorBit | 15;
inline constexpr TColor clBtnShadow = kSystemColorBit | 16;
inline constexpr TColor clGrayText = kSystemColorBit | 17;
inline constexpr TColor clBtnText = kSystemColorBit | 18;
inline constexpr TColor clBtnHighlight = kSystemColorBit | 20;
inline constexpr bool IsSystemColor(TColor c) {
  return (c & kSystemColorBit) != 0;
}

using TFontStyles = uint8_t;
inline constexpr TFontStyles fsBold = 1;
inline constexpr TFontStyles fsItalic = 2;
inline constexpr TFontStyles fsUnderline = 4;
inline constexpr TFontStyles fsStrikeOut = 8;

inline constexpr uint8_t kDefaultCharset = 1;

// A font as controls carry it. Height is in pixels; negative heights give the character height
// (without internal leading), as the window system reads them.
struct TFont {
  std::u16string Name = u"Tahoma";
  int Height = -11;
  TColor Color = clWindowText;
  TFontStyles Style = 0;
  uint8_t Charset = kDefaultCharset;
  friend bool operator==(const TFont&, const TFont&) = default;
};

enum class TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum class TBorderStyle : uint8_t {
  bsNone,
  bsSingle,
  bsSizeable,
  bsDialog,
  bsToolWindow,
  bsSizeToolWin
};

enum class TScrollBarKind : uint8_t { sbHorizontal, sbVertical };

enum class TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

enum class TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

enum class TBiDiMode : uint8_t { bdLeftToRight, bdRightToLeft };

using TShiftState = uint8_t;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;
inline constexpr TShiftState ssLeft = 8;
inline constexpr TShiftState ssRight = 16;
inline constexpr TShiftState ssMiddle = 32;

enum class TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

// The mouse pointer over a control; crDefault leaves it to the window (an edit's I-beam...).
enum class TCursor : uint8_t { crDefault, crArrow, crCross, crIBeam, crHandPoint };

enum class TPanelBevel : uint8_t { bvNone, bvLowered, bvRaised };

// Virtual key codes the portable code handles itself (values of the window system's keys).
inline constexpr uint16_t vkBack = 0x08;
inline constexpr uint16_t vkTab = 0x09;
inline constexpr uint16_t vkReturn = 0x0D;
inline constexpr uint16_t vkEscape = 0x1B;
inline constexpr uint16_t vkPrior = 0x21;
inline constexpr uint16_t vkNext = 0x22;
inline constexpr uint16_t vkEnd = 0x23;
inline constexpr uint16_t vkHome = 0x24;
inline constexpr uint16_t vkLeft = 0x25;
inline constexpr uint16_t vkUp = 0x26;
inline constexpr uint16_t vkRight = 0x27;
inline constexpr uint16_t vkDown = 0x28;
inline constexpr uint16_t vkInsert = 0x2D;
inline constexpr uint16_t vkDelete = 0x2E;
inline constexpr uint16_t vkApps = 0x5D;  // the context-menu key
inline constexpr uint16_t vkF2 = 0x71;
inline constexpr uint16_t vkF10 = 0x79;

// Portable messages a control sends itself through Perform. The scroll requests carry the scroll
// code in the low word of wParam and, for thumb positions, the position in lParam.
inline constexpr uint32_t msgHScroll = 0x0114;
inline constexpr uint32_t msgVScroll = 0x0115;

inline constexpr uint16_t sbLineUp = 0;
inline constexpr uint16_t sbLineDown = 1;
inline constexpr uint16_t sbPageUp = 2;
inline constexpr uint16_t sbPageDown = 3;
inline constexpr uint16_t sbThumbPosition = 4;
inline constexpr uint16_t sbThumbTrack = 5;
inline constexpr uint16_t sbTop = 6;
inline constexpr uint16_t sbBottom = 7;
inline constexpr uint16_t sbEndScroll = 8;
// The horizontal names of the same codes.
inline constexpr uint16_t sbLineLeft = sbLineUp;
inline constexpr uint16_t sbLineRight = sbLineDown;

// Kinds of modal message box; each maps to the window system's icon of that kind.
enum class TMsgDlgType : uint8_t { mtInformation, mtWarning, mtError, mtConfirmation };

}  // namespace ui

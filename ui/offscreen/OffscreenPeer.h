// The offscreen window peer: the mirror of one native window. Sync writes into it what a native
// window would store; nothing else does. Verify compares it with the control. Kinds derive from
// it (one file each) for their own state and their native default behaviour.
#pragma once

#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/offscreen/Offscreen.h"

namespace ui::offscreen {

class OffscreenPeer : public WindowPeer {
 public:
  OffscreenPeer(OffscreenBackend& backend, TWinControl& control, NativeHandle handle);
  virtual ~OffscreenPeer();
  // Reads every aspect, as creating a window with the control's parameters does.
  virtual void Create();

  TWinControl& Control() const { return control_; }
  const OffscreenPeer* ParentPeer() const;

  NativeHandle Handle() const override { return handle_; }
  void Sync(Aspect aspect) override;
  void ScrollChildren(int dx, int dy) override;
  void SetFocus() override;
  void SetHostWindow(uint32_t host) override { host_ = host; }
  void Invalidate(const TRect& rect) override;
  TPoint ClientToScreen(TPoint point) const override;
  void Destroy() override;

  // The native defaults that follow a message the control did not consume.
  virtual void DefaultChar(char16_t /*ch*/) {}
  // A paste and a text set from outside; only text boxes take them.
  virtual void DefaultPaste(std::u16string_view /*text*/) {}
  virtual void DefaultSetText(std::u16string_view /*text*/) {}
  virtual void DefaultKeyDown(uint16_t key, TShiftState shift);
  virtual void DefaultMouseDown(TMouseButton /*button*/, TPoint /*pos*/) {}
  // A context menu nobody took: own windows pass it on (the portable walk has been up the
  // parents already), text boxes show their own.
  virtual void DefaultContextMenu() {}
  // The window's own look under its graphic children (background), in client coordinates.
  virtual void PaintBackground(TCanvas& canvas) const;

  // Appends one line per mirrored value that differs from the control.
  virtual void Verify(std::vector<std::u16string>& problems) const;

  // The mirror, as the native window holds it.
  TRect Bounds() const { return bounds_; }
  bool Visible() const { return visible_; }
  bool Enabled() const { return enabled_; }
  // Enabled, along with every native parent: whether the window takes input.
  bool TakesInput() const;
  const std::u16string& WindowText() const { return windowText_; }
  TColor Color() const { return color_; }
  uint32_t Host() const { return host_; }
  int Invalidations() const { return invalidations_; }
  void ClearInvalid() { invalid_ = {}; }

 protected:
  // Kind-specific aspects; Sync passes what it does not mirror itself.
  virtual void SyncKind(Aspect /*aspect*/) {}
  // Reports a mismatch of one value.
  template <class T>
  void Check(std::vector<std::u16string>& problems, const char* what, const T& native,
             const T& portable) const {
    if (!(native == portable)) problems.push_back(Describe(what));
  }
  std::u16string Describe(const char* what) const;
  // Where the client area starts inside the window (a form's frame).
  virtual TPoint ClientOrigin() const { return {}; }

  OffscreenBackend& backend_;
  std::u16string windowText_;
  TFont font_;

 private:
  TWinControl& control_;
  NativeHandle handle_;
  TRect bounds_;
  bool visible_ = false;
  bool enabled_ = true;
  TColor color_ = 0;
  TBiDiMode bidi_ = TBiDiMode::bdLeftToRight;
  uint32_t host_ = 0;
  int invalidations_ = 0;
  TRect invalid_;
};

// The native text box, modelled once: its own text, caret and selection, read-only state and
// length limit, as a native edit keeps them. Edits and memos mirror into it.
class TextBoxPeer : public OffscreenPeer {
 public:
  TextBoxPeer(OffscreenBackend& backend, TWinControl& control, NativeHandle handle, bool multiLine);
  void Create() override;

  bool GetSelection(int& start, int& length) const override;
  void DefaultChar(char16_t ch) override;
  void DefaultPaste(std::u16string_view text) override;
  void DefaultSetText(std::u16string_view text) override;
  void DefaultKeyDown(uint16_t key, TShiftState shift) override;
  void DefaultMouseDown(TMouseButton button, TPoint pos) override;
  void DefaultContextMenu() override;
  void PaintBackground(TCanvas& canvas) const override;
  void Verify(std::vector<std::u16string>& problems) const override;

  bool NativeReadOnly() const { return readOnly_; }
  int NativeMaxLength() const { return maxLength_; }

 protected:
  void SyncKind(Aspect aspect) override;

 private:
  // Replaces the selection with `insert` as the user's typing does, within the length limit,
  // and reports the change (EN_CHANGE).
  void ReplaceSelection(std::u16string_view insert);
  void Select(int start, int length);

  bool multiLine_;
  int selStart_ = 0;
  int selLength_ = 0;
  bool readOnly_ = false;
  int maxLength_ = 0;
  TBorderStyle border_ = TBorderStyle::bsSingle;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  bool wordWrap_ = true;
};

// Windows of the layer's own classes (forms, panels): a background and, for scrolling
// controls, scroll bars.
class ContainerPeer : public OffscreenPeer {
 public:
  using OffscreenPeer::OffscreenPeer;
  void Create() override;
  void Verify(std::vector<std::u16string>& problems) const override;

 protected:
  void SyncKind(Aspect aspect) override;

 private:
  struct Bar {
    bool Shown = false;
    int Range = 0;
    int Position = 0;
    friend bool operator==(const Bar&, const Bar&) = default;
  };
  Bar Read(bool vertical) const;
  Bar horz_, vert_;
};

using PeerFactory = OffscreenPeer* (*)(OffscreenBackend& backend, TWinControl& control,
                                       NativeHandle handle);
std::span<const PeerTableRow<PeerFactory>> PeerTable();

// Factories of the kinds, one file each.
OffscreenPeer* MakeFormPeer(OffscreenBackend&, TWinControl&, NativeHandle);
OffscreenPeer* MakeContainerPeer(OffscreenBackend&, TWinControl&, NativeHandle);
OffscreenPeer* MakeGridPeer(OffscreenBackend&, TWinControl&, NativeHandle);
OffscreenPeer* MakeEditPeer(OffscreenBackend&, TWinControl&, NativeHandle);
OffscreenPeer* MakeMemoPeer(OffscreenBackend&, TWinControl&, NativeHandle);
OffscreenPeer* MakeCheckBoxPeer(OffscreenBackend&, TWinControl&, NativeHandle);

}  // namespace ui::offscreen

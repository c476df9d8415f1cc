// The Windows backend. Forms and containers are windows of the layer's own classes; edits,
// memos and labels are the system's EDIT and STATIC controls, subclassed so that focus, keys,
// typing and the wheel reach the portable controls first. Every window procedure ends in the
// window-procedure guard. Fonts and brushes are shared by value and counted, so tests can see
// that nothing native outlives the controls.
#include "ui/win32/Win32Backend.h"

#include <windows.h>
// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

#include <map>
#include <string>
#include <tuple>
#include <unordered_map>

#include "runtime/Exception.h"
#include "runtime/HostGuard.h"
#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/Label.h"

namespace ui::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"VELSistemaForm";
constexpr wchar_t kContainerClass[] = L"VELSistemaContainer";
constexpr UINT_PTR kChildSubclassId = 1;

std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

std::u16string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, buffer.data(), length + 1);
  return std::u16string(buffer.begin(), buffer.begin() + std::max(0, got));
}

COLORREF ToColorRef(TColor color) {
  return IsSystemColor(color) ? GetSysColor(static_cast<int>(color & 0xFF))
                              : static_cast<COLORREF>(color & 0xFFFFFF);
}

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

TShiftState KeyShift() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

using FontKey = std::tuple<std::u16string, int, TFontStyles, uint8_t>;

// One native window and what it holds.
struct Record {
  TWinControl* control = nullptr;  // null once the portable side let go of it
  HWND hwnd = nullptr;
  HWND host = nullptr;  // the host window subclassed for its size, while embedded
  bool ready = false;   // creation finished: messages may reach the portable side
  bool subclassed = false;
  HFONT font = nullptr;
  FontKey fontKey;
  HBRUSH brush = nullptr;
  COLORREF brushColor = 0;
};

LRESULT CALLBACK OwnWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                           DWORD_PTR ref);
LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                          DWORD_PTR ref);

class Win32Backend final : public Backend {
 public:
  ~Win32Backend() override {
    // Classes registered by a library outlive it unless it removes them; a host that unloads
    // and reloads the library must not find a class whose procedure is gone.
    if (registered_ && records_.empty()) {
      UnregisterClassW(kFormClass, instance_);
      UnregisterClassW(kContainerClass, instance_);
    }
  }

  NativeHandle CreateHandle(TWinControl& control) override;
  void DestroyHandle(TWinControl& control) override;
  void Sync(TWinControl& control, Aspect aspect) override;
  void ScrollChildren(TWinControl& control, int dx, int dy) override;
  void SetFocus(TWinControl& control) override { ::SetFocus(Hwnd(control)); }
  void SetHostWindow(TWinControl& form, uint32_t host) override;
  TSize HostClientSize(uint32_t host) override {
    RECT r{};
    GetClientRect(reinterpret_cast<HWND>(static_cast<uintptr_t>(host)), &r);
    return {r.right - r.left, r.bottom - r.top};
  }
  TRect WorkArea() override {
    RECT r{0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return {r.left, r.top, r.right, r.bottom};
  }
  int ScrollBarSize() override { return GetSystemMetrics(SM_CXVSCROLL); }
  TRect NonClientExtents(TBorderStyle style) override {
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, FormStyle(style), FALSE, FormExStyle(style));
    return {-r.left, -r.top, r.right, r.bottom};
  }
  bool GetSelection(const TWinControl& control, int& start, int& length) override {
    if (control.Kind() != NativeKind::Edit && control.Kind() != NativeKind::Memo) return false;
    DWORD from = 0, to = 0;
    SendMessageW(Hwnd(control), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                 reinterpret_cast<LPARAM>(&to));
    start = static_cast<int>(from);
    length = static_cast<int>(to - from);
    return true;
  }
  int ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                     TMsgDlgType type) override {
    UINT icon = MB_ICONINFORMATION;
    if (type == TMsgDlgType::mtWarning) icon = MB_ICONWARNING;
    if (type == TMsgDlgType::mtError) icon = MB_ICONERROR;
    if (type == TMsgDlgType::mtConfirmation) icon = MB_ICONQUESTION;
    return MessageBoxW(GetActiveWindow(), Wide(text).c_str(), Wide(caption).c_str(), MB_OK | icon);
  }
  void Beep() override { MessageBeep(MB_OK); }
  size_t NativeObjectCount() const override {
    NativeObjectCounts c = Counts();
    return c.Windows + c.Fonts + c.Brushes + c.Bitmaps;
  }

  NativeObjectCounts Counts() const { return {records_.size(), fonts_.size(), brushes_.size(), 0}; }

  // Message handling shared by the layer's own windows and the subclassed controls. Returns true
  // when `result` answers the message; otherwise the default procedure runs (with wParam as
  // left here, so a key handler may replace a character).
  bool Dispatch(Record& r, UINT msg, WPARAM& wParam, LPARAM lParam, LRESULT& result,
                LRESULT (*callDefault)(Record&, UINT, WPARAM, LPARAM));
  void Forget(Record* r);
  Record* Find(HWND hwnd) {
    auto it = records_.find(hwnd);
    return it == records_.end() ? nullptr : it->second;
  }

  static DWORD FormStyle(TBorderStyle style) {
    switch (style) {
      case TBorderStyle::bsNone:
        return WS_POPUP;
      case TBorderStyle::bsSizeable:
      case TBorderStyle::bsSizeToolWin:
        return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
               WS_MAXIMIZEBOX;
      default:
        return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    }
  }
  static DWORD FormExStyle(TBorderStyle style) {
    switch (style) {
      case TBorderStyle::bsDialog:
        return WS_EX_DLGMODALFRAME;
      case TBorderStyle::bsToolWindow:
      case TBorderStyle::bsSizeToolWin:
        return WS_EX_TOOLWINDOW;
      default:
        return 0;
    }
  }

 private:
  static HWND Hwnd(const TWinControl& control) {
    return reinterpret_cast<HWND>(control.CurrentHandle());
  }
  void RegisterClasses();
  void Styles(const TWinControl& control, const wchar_t*& cls, DWORD& style, DWORD& ex) const;
  void ApplyFont(Record& r);
  void ApplyBrush(Record& r);
  void ReleaseFont(Record& r);
  void ReleaseBrush(Record& r);
  void ApplyScroll(Record& r);
  void Unhost(Record& r);

  std::unordered_map<HWND, Record*> records_;
  std::map<FontKey, std::pair<HFONT, int>> fonts_;
  std::map<COLORREF, std::pair<HBRUSH, int>> brushes_;
  HINSTANCE instance_ = nullptr;
  bool registered_ = false;
  bool syncingText_ = false;
  bool inWheel_ = false;
};

Win32Backend& Self() {
  static Win32Backend backend;
  return backend;
}

void Win32Backend::RegisterClasses() {
  if (registered_) return;
  instance_ = ThisModule();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = OwnWndProc;
  wc.hInstance = instance_;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kFormClass;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw rt::Exception(u"Cannot register the form window class");
  wc.lpszClassName = kContainerClass;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw rt::Exception(u"Cannot register the container window class");
  registered_ = true;
}

void Win32Backend::Styles(const TWinControl& c, const wchar_t*& cls, DWORD& style,
                          DWORD& ex) const {
  ex = 0;
  const bool rtl = c.BiDiMode() == TBiDiMode::bdRightToLeft;
  if (rtl) ex |= WS_EX_RTLREADING;
  switch (c.Kind()) {
    case NativeKind::Form: {
      const auto& form = static_cast<const TForm&>(c);
      cls = kFormClass;
      style = FormStyle(form.BorderStyle()) | WS_CLIPCHILDREN;
      ex |= FormExStyle(form.BorderStyle());
      return;
    }
    case NativeKind::Container:
      cls = kContainerClass;
      style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
      return;
    case NativeKind::Edit:
    case NativeKind::Memo: {
      const auto& edit = static_cast<const TCustomEdit&>(c);
      cls = L"EDIT";
      style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP;
      if (edit.Alignment() == TAlignment::taRightJustify) style |= ES_RIGHT;
      if (edit.Alignment() == TAlignment::taCenter) style |= ES_CENTER;
      if (edit.ReadOnly()) style |= ES_READONLY;
      if (edit.BorderStyle() != TBorderStyle::bsNone) ex |= WS_EX_CLIENTEDGE;
      if (c.Kind() == NativeKind::Edit) {
        style |= ES_AUTOHSCROLL;
        return;
      }
      const auto& memo = static_cast<const TCustomMemo&>(c);
      style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
      const TScrollStyle bars = memo.ScrollBars();
      if (bars == TScrollStyle::ssVertical || bars == TScrollStyle::ssBoth) style |= WS_VSCROLL;
      if (bars == TScrollStyle::ssHorizontal || bars == TScrollStyle::ssBoth)
        style |= WS_HSCROLL | ES_AUTOHSCROLL;
      else if (!memo.WordWrap())
        style |= ES_AUTOHSCROLL;
      return;
    }
    case NativeKind::Label: {
      const auto& label = static_cast<const TLabel&>(c);
      cls = L"STATIC";
      style = WS_CHILD | WS_CLIPSIBLINGS | SS_NOPREFIX;
      if (label.Alignment() == TAlignment::taRightJustify) style |= SS_RIGHT;
      if (label.Alignment() == TAlignment::taCenter) style |= SS_CENTER;
      return;
    }
  }
}

NativeHandle Win32Backend::CreateHandle(TWinControl& control) {
  RegisterClasses();
  const wchar_t* cls = nullptr;
  DWORD style = 0, ex = 0;
  Styles(control, cls, style, ex);
  HWND parent = control.Parent() ? Hwnd(*control.Parent()) : nullptr;
  if (parent && control.Visible()) style |= WS_VISIBLE;  // a top-level window shows when told
  if (!control.Enabled()) style |= WS_DISABLED;

  auto* r = new Record;
  r->control = &control;
  const bool own = cls == kFormClass || cls == kContainerClass;
  HWND hwnd = CreateWindowExW(ex, cls, Wide(control.Text()).c_str(), style, control.Left(),
                              control.Top(), control.Width(), control.Height(), parent, nullptr,
                              instance_, own ? r : nullptr);
  if (!hwnd) {
    delete r;
    throw rt::Exception(u"Cannot create a window for " + std::u16string(control.ClassName()));
  }
  r->hwnd = hwnd;
  records_[hwnd] = r;
  if (!own) {
    SetWindowSubclass(hwnd, ChildProc, kChildSubclassId, reinterpret_cast<DWORD_PTR>(r));
    r->subclassed = true;
  }
  ApplyFont(*r);
  ApplyBrush(*r);
  if (auto* edit = dynamic_cast<TCustomEdit*>(&control)) {
    SendMessageW(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(edit->MaxLength()), 0);
    SendMessageW(hwnd, EM_SETSEL, static_cast<WPARAM>(edit->StoredSelStart()),
                 edit->StoredSelStart() + edit->StoredSelLength());
  }
  r->ready = true;
  if (dynamic_cast<TScrollingWinControl*>(&control)) ApplyScroll(*r);
  return reinterpret_cast<NativeHandle>(hwnd);
}

void Win32Backend::DestroyHandle(TWinControl& control) {
  Record* r = Find(Hwnd(control));
  if (!r) return;
  r->control = nullptr;  // nothing the destruction sends may reach a control that is going
  Unhost(*r);
  DestroyWindow(r->hwnd);  // WM_NCDESTROY forgets the record
}

void Win32Backend::Forget(Record* r) {
  if (r->control) r->control->WndHandleDestroyed();  // destroyed from outside (by its host)
  Unhost(*r);
  ReleaseFont(*r);
  ReleaseBrush(*r);
  records_.erase(r->hwnd);
  delete r;
}

void Win32Backend::Unhost(Record& r) {
  if (!r.host) return;
  RemoveWindowSubclass(r.host, HostProc, reinterpret_cast<UINT_PTR>(&r));
  r.host = nullptr;
}

void Win32Backend::ApplyFont(Record& r) {
  const TFont& f = r.control->Font();
  FontKey key{f.Name, f.Height, f.Style, f.Charset};
  if (r.font && key == r.fontKey) return;
  auto it = fonts_.find(key);
  if (it == fonts_.end()) {
    HFONT font = CreateFontW(
        f.Height, 0, 0, 0, (f.Style & fsBold) ? FW_BOLD : FW_NORMAL, (f.Style & fsItalic) != 0,
        (f.Style & fsUnderline) != 0, (f.Style & fsStrikeOut) != 0, f.Charset, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, Wide(f.Name).c_str());
    if (!font) return;  // the window keeps the system font
    it = fonts_.emplace(key, std::make_pair(font, 0)).first;
  }
  ++it->second.second;
  SendMessageW(r.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(it->second.first), TRUE);
  ReleaseFont(r);
  r.font = it->second.first;
  r.fontKey = key;
}

void Win32Backend::ReleaseFont(Record& r) {
  if (!r.font) return;
  auto it = fonts_.find(r.fontKey);
  r.font = nullptr;
  if (it == fonts_.end() || --it->second.second > 0) return;
  DeleteObject(it->second.first);
  fonts_.erase(it);
}

void Win32Backend::ApplyBrush(Record& r) {
  const COLORREF color = ToColorRef(r.control->Color());
  if (r.brush && color == r.brushColor) return;
  auto it = brushes_.find(color);
  if (it == brushes_.end()) {
    HBRUSH brush = CreateSolidBrush(color);
    if (!brush) return;
    it = brushes_.emplace(color, std::make_pair(brush, 0)).first;
  }
  ++it->second.second;
  ReleaseBrush(r);
  r.brush = it->second.first;
  r.brushColor = color;
}

void Win32Backend::ReleaseBrush(Record& r) {
  if (!r.brush) return;
  auto it = brushes_.find(r.brushColor);
  r.brush = nullptr;
  if (it == brushes_.end() || --it->second.second > 0) return;
  DeleteObject(it->second.first);
  brushes_.erase(it);
}

void Win32Backend::ApplyScroll(Record& r) {
  auto* c = dynamic_cast<TScrollingWinControl*>(r.control);
  if (!c) return;
  for (const TControlScrollBar* bar : {&c->HorzScrollBar(), &c->VertScrollBar()}) {
    const int which = bar->Kind() == TScrollBarKind::sbVertical ? SB_VERT : SB_HORZ;
    const bool shown = bar->IsScrollBarVisible();
    ShowScrollBar(r.hwnd, which, shown);
    if (!shown) continue;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = bar->Range() - 1;
    si.nPage = static_cast<UINT>(bar->PageSize());
    si.nPos = bar->Position();
    SetScrollInfo(r.hwnd, which, &si, TRUE);
  }
}

void Win32Backend::Sync(TWinControl& control, Aspect aspect) {
  Record* r = Find(Hwnd(control));
  if (!r || !r->control) return;
  HWND h = r->hwnd;
  switch (aspect) {
    case Aspect::Bounds:
      SetWindowPos(h, nullptr, control.Left(), control.Top(), control.Width(), control.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    case Aspect::Text:
      syncingText_ = true;
      SetWindowTextW(h, Wide(control.Text()).c_str());
      syncingText_ = false;
      break;
    case Aspect::Visible:
      ShowWindow(h,
                 control.Visible() ? (control.Parent() || r->host ? SW_SHOWNA : SW_SHOW) : SW_HIDE);
      break;
    case Aspect::Enabled:
      EnableWindow(h, control.Enabled());
      break;
    case Aspect::Font:
      ApplyFont(*r);
      break;
    case Aspect::Color:
      ApplyBrush(*r);
      InvalidateRect(h, nullptr, TRUE);
      break;
    case Aspect::Style:
      if (control.Kind() == NativeKind::Form) {
        const auto& form = static_cast<const TForm&>(control);
        LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
        const DWORD frame =
            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        style &= ~static_cast<LONG_PTR>(frame);
        style |=
            r->host ? (FormStyle(form.BorderStyle()) & ~WS_POPUP) : FormStyle(form.BorderStyle());
        SetWindowLongPtrW(h, GWL_STYLE, style);
        SetWindowLongPtrW(h, GWL_EXSTYLE, FormExStyle(form.BorderStyle()));
        SetWindowPos(h, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      } else {
        // Text boxes and static text take alignment, frame and bars only when created.
        control.RecreateHandle();
      }
      break;
    case Aspect::ReadOnly:
      if (auto* edit = dynamic_cast<TCustomEdit*>(&control))
        SendMessageW(h, EM_SETREADONLY, edit->ReadOnly(), 0);
      break;
    case Aspect::MaxLength:
      if (auto* edit = dynamic_cast<TCustomEdit*>(&control))
        SendMessageW(h, EM_LIMITTEXT, static_cast<WPARAM>(edit->MaxLength()), 0);
      break;
    case Aspect::Selection:
      if (auto* edit = dynamic_cast<TCustomEdit*>(&control))
        SendMessageW(h, EM_SETSEL, static_cast<WPARAM>(edit->StoredSelStart()),
                     edit->StoredSelStart() + edit->StoredSelLength());
      break;
    case Aspect::Scroll:
      ApplyScroll(*r);
      break;
  }
}

void Win32Backend::ScrollChildren(TWinControl& control, int, int) {
  // The portable side has moved every child already: place the child windows where it says.
  // (Scrolling the window's pixels would move only the children inside the visible area.)
  HDWP batch = BeginDeferWindowPos(control.ControlCount());
  for (int i = 0; i < control.ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(control.Controls(i));
    if (!child || !child->HandleAllocated()) continue;
    if (batch)
      batch = DeferWindowPos(batch, Hwnd(*child), nullptr, child->Left(), child->Top(), 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
      SetWindowPos(Hwnd(*child), nullptr, child->Left(), child->Top(), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (batch) EndDeferWindowPos(batch);
  RedrawWindow(Hwnd(control), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32Backend::SetHostWindow(TWinControl& form, uint32_t host) {
  Record* r = Find(Hwnd(form));
  if (!r) return;
  HWND target = reinterpret_cast<HWND>(static_cast<uintptr_t>(host));
  if (host && !IsWindow(target)) throw rt::Exception(u"The host window is not a window");
  Unhost(*r);
  LONG_PTR style = GetWindowLongPtrW(r->hwnd, GWL_STYLE);
  // An embedded view is a child: clipped by its host, positioned in its client area and never
  // activated on its own.
  if (host)
    style = (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD;
  else
    style = (style & ~static_cast<LONG_PTR>(WS_CHILD)) | WS_POPUP;
  SetWindowLongPtrW(r->hwnd, GWL_STYLE, style);
  ::SetParent(r->hwnd, target);
  if (host) {
    SetWindowSubclass(target, HostProc, reinterpret_cast<UINT_PTR>(r),
                      reinterpret_cast<DWORD_PTR>(r));
    r->host = target;
  }
  SetWindowPos(r->hwnd, nullptr, form.Left(), form.Top(), form.Width(), form.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool Win32Backend::Dispatch(Record& r, UINT msg, WPARAM& wParam, LPARAM lParam, LRESULT& result,
                            LRESULT (*callDefault)(Record&, UINT, WPARAM, LPARAM)) {
  TWinControl* c = r.control;
  if (!c || !r.ready) return false;
  switch (msg) {
    case WM_SETFOCUS:
      c->WndSetFocus();
      return false;
    case WM_KILLFOCUS:
      c->WndKillFocus();
      return false;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      auto key = static_cast<uint16_t>(wParam);
      if (c->WndKeyDown(key, KeyShift())) {
        result = 0;
        return true;
      }
      wParam = key;
      return false;
    }
    case WM_CHAR: {
      auto ch = static_cast<char16_t>(wParam);
      if (c->WndChar(ch)) {
        result = 0;
        return true;
      }
      wParam = ch;
      return false;
    }
    case WM_MOUSEWHEEL: {
      // A text box's default handling passes the wheel to its parent; the portable routing has
      // offered it up the chain already, so a nested notification is dropped.
      result = 0;
      if (inWheel_) return true;
      inWheel_ = true;
      struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
      } reset{inWheel_};
      const int delta = static_cast<short>(HIWORD(wParam));
      TPoint pos{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (c->WndMouseWheel(KeyShift(), delta, pos)) return true;
      // Nobody took it: a memo scrolls its own text.
      if (c->Kind() == NativeKind::Memo) result = callDefault(r, msg, wParam, lParam);
      return true;
    }
    case WM_COMMAND: {
      Record* child = lParam ? Find(reinterpret_cast<HWND>(lParam)) : nullptr;
      if (child && child->control && child->ready && HIWORD(wParam) == EN_CHANGE && !syncingText_)
        child->control->WndTextChanged(WindowText(child->hwnd));
      result = 0;
      return child != nullptr;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      Record* child = Find(reinterpret_cast<HWND>(lParam));
      if (!child || !child->control) return false;
      TWinControl* cc = child->control;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, ToColorRef(cc->Enabled() ? cc->Font().Color : clGrayText));
      auto* label = dynamic_cast<TLabel*>(cc);
      if (label && label->Transparent()) {
        SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<LRESULT>(r.brush ? r.brush : GetStockObject(NULL_BRUSH));
        return true;
      }
      SetBkColor(dc, child->brushColor);
      result =
          reinterpret_cast<LRESULT>(child->brush ? child->brush : GetSysColorBrush(COLOR_WINDOW));
      return true;
    }
    case WM_ERASEBKGND: {
      if (!r.brush) return false;
      RECT rc;
      GetClientRect(r.hwnd, &rc);
      FillRect(reinterpret_cast<HDC>(wParam), &rc, r.brush);
      result = 1;
      return true;
    }
    case WM_VSCROLL:
    case WM_HSCROLL: {
      if (lParam != 0) return false;  // a scroll bar control's notice, not this window's bar
      const int which = msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
      const auto code = static_cast<uint16_t>(LOWORD(wParam));
      intptr_t pos = 0;
      if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(r.hwnd, which, &si);
        pos = si.nTrackPos;
      }
      c->Perform(msg == WM_VSCROLL ? msgVScroll : msgHScroll, code, pos);
      result = 0;
      return true;
    }
    case WM_WINDOWPOSCHANGED: {
      if (c->Kind() != NativeKind::Form) return false;
      const auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
      if ((wp->flags & SWP_NOSIZE) && (wp->flags & SWP_NOMOVE)) return false;
      RECT rc;
      GetWindowRect(r.hwnd, &rc);
      if (HWND parent = GetParent(r.hwnd))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
      c->WndBoundsChanged(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
      return false;
    }
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      const TSizeConstraints& k = c->Constraints();
      if (k.MaxWidth() > 0) info->ptMaxTrackSize.x = info->ptMaxSize.x = k.MaxWidth();
      if (k.MaxHeight() > 0) info->ptMaxTrackSize.y = info->ptMaxSize.y = k.MaxHeight();
      if (k.MinWidth() > 0) info->ptMinTrackSize.x = k.MinWidth();
      if (k.MinHeight() > 0) info->ptMinTrackSize.y = k.MinHeight();
      result = 0;
      return true;
    }
    case WM_CLOSE:
      if (c->Kind() != NativeKind::Form) return false;
      c->Hide();  // the form's owner decides when it is freed
      result = 0;
      return true;
    default:
      return false;
  }
}

LRESULT CallOwnDefault(Record& r, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(r.hwnd, msg, wParam, lParam);
}

LRESULT CallChildDefault(Record& r, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(r.hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK OwnWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* r = static_cast<Record*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    r->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(r));
  }
  auto* r = reinterpret_cast<Record*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!r) return DefWindowProcW(hwnd, msg, wParam, lParam);
  LRESULT result = 0;
  const bool handled = rt::GuardWindowProc(
      [&] { return Self().Dispatch(*r, msg, wParam, lParam, result, CallOwnDefault); }, true);
  if (handled) return result;
  const LRESULT answer = DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    // A window whose creation failed was never taken over by the backend: its creator frees it.
    if (Self().Find(hwnd) == r) rt::GuardWindowProc([&] { Self().Forget(r); });
  }
  return answer;
}

LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                           DWORD_PTR ref) {
  auto* r = reinterpret_cast<Record*>(ref);
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, ChildProc, id);
    const LRESULT answer = DefSubclassProc(hwnd, msg, wParam, lParam);
    rt::GuardWindowProc([&] { Self().Forget(r); });
    return answer;
  }
  LRESULT result = 0;
  const bool handled = rt::GuardWindowProc(
      [&] { return Self().Dispatch(*r, msg, wParam, lParam, result, CallChildDefault); }, true);
  return handled ? result : DefSubclassProc(hwnd, msg, wParam, lParam);
}

// Watches a host window for the embedded form: its size changes re-lay the form out, and its
// destruction ends the watch.
LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                          DWORD_PTR ref) {
  auto* r = reinterpret_cast<Record*>(ref);
  if (msg == WM_SIZE && r->control)
    if (auto* form = dynamic_cast<TForm*>(r->control))
      rt::GuardWindowProc([&] { form->WndHostResized(); });
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, HostProc, id);
    r->host = nullptr;
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace

Backend& Instance() {
  return Self();
}

NativeObjectCounts Counts() {
  return Self().Counts();
}

}  // namespace ui::win32

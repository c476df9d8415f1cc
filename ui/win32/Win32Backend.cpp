// The Windows backend: the screen part, the window classes of the layer's own windows, the two
// window procedures (own classes; subclassed system controls), which hand every message to its
// peer inside the window-procedure guard, and the peer factory. What a kind of window does lives
// in its peer's file, never here.
#include "runtime/Exception.h"
#include "runtime/HostGuard.h"
#include "ui/picture/Pixels.h"
#include "ui/win32/Win32Peer.h"

namespace ui::win32 {

std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

std::u16string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, buffer.data(), length + 1);
  return std::u16string(buffer.begin(), buffer.begin() + std::max(0, got));
}

TShiftState KeyShift() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

namespace {
constexpr UINT kRunPosted = WM_APP + 0x56;

LRESULT CALLBACK PostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kRunPosted) {
    Self().RunPosted();
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}
}  // namespace

Win32Backend& Self() {
  static Win32Backend backend;
  return backend;
}

Win32Backend::~Win32Backend() {
  // Classes registered by a library outlive it unless it removes them; a host that unloads
  // and reloads the library must not find a class whose procedure is gone.
  if (postWindow_) DestroyWindow(postWindow_);
  if (measuring_) DeleteDC(measuring_);
  if (registered_ && peers_.empty()) {
    UnregisterClassW(kFormClass, instance_);
    UnregisterClassW(kContainerClass, instance_);
    UnregisterClassW(kPostClass, instance_);
  }
}

HINSTANCE Win32Backend::Module() {
  RegisterClasses();
  return instance_;
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
  wc.lpfnWndProc = PostProc;
  wc.lpszClassName = kPostClass;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw rt::Exception(u"Cannot register the posting window class");
  registered_ = true;
}

void Win32Backend::Post(std::function<void()> job) {
  RegisterClasses();
  if (!postWindow_) {
    postWindow_ = CreateWindowExW(0, kPostClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  instance_, nullptr);
    if (!postWindow_) throw rt::Exception(u"Cannot create the posting window");
  }
  posted_.push_back(std::move(job));
  if (!PostMessageW(postWindow_, kRunPosted, 0, 0)) {
    posted_.pop_back();
    throw rt::Exception(u"Cannot post to the window system's queue");
  }
}

void Win32Backend::RunPosted() {
  if (posted_.empty()) return;
  std::function<void()> job = std::move(posted_.front());
  posted_.pop_front();
  rt::GuardWindowProc([&] { job(); });
}

WindowPeer* Win32Backend::CreatePeer(TWinControl& control) {
  const PeerFactory make = FindPeerFactory(PeerTable(), control.Kind());
  RegisterClasses();
  Win32Peer* peer = make(*this, control);
  try {
    peer->Create();
  } catch (...) {
    delete peer;
    throw;
  }
  return peer;
}

Win32Peer* Win32Backend::Find(HWND hwnd) const {
  auto it = peers_.find(hwnd);
  return it == peers_.end() ? nullptr : it->second;
}

NativeObjectCounts Win32Backend::Counts() const {
  NativeObjectCounts c;
  c.Windows = peers_.size();
  c.Menus = static_cast<size_t>(menus);
  gdi_.Count(c);
  return c;
}

size_t Win32Backend::WindowCount(const PeerKind& kind) const {
  size_t n = 0;
  for (const auto& [hwnd, peer] : peers_)
    if (peer->Control() && &peer->Control()->Kind() == &kind) ++n;
  return n;
}

TSize Win32Backend::HostClientSize(uint32_t host) {
  RECT r{};
  GetClientRect(reinterpret_cast<HWND>(static_cast<uintptr_t>(host)), &r);
  return {r.right - r.left, r.bottom - r.top};
}

TRect Win32Backend::WorkArea() {
  RECT r{0, 0, 1024, 768};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return {r.left, r.top, r.right, r.bottom};
}

TRect Win32Backend::NonClientExtents(TBorderStyle style) {
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, FormStyle(style), FALSE, FormExStyle(style));
  return {-r.left, -r.top, r.right, r.bottom};
}

int Win32Backend::ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                                 TMsgDlgType type) {
  UINT icon = MB_ICONINFORMATION;
  if (type == TMsgDlgType::mtWarning) icon = MB_ICONWARNING;
  if (type == TMsgDlgType::mtError) icon = MB_ICONERROR;
  if (type == TMsgDlgType::mtConfirmation) icon = MB_ICONQUESTION;
  return MessageBoxW(GetActiveWindow(), Wide(text).c_str(), Wide(caption).c_str(), MB_OK | icon);
}

TSize Win32Backend::TextExtent(const TFont& font, std::u16string_view text) {
  GdiRef f = gdi_.Font(font);
  if (!measuring_) measuring_ = CreateCompatibleDC(nullptr);
  HDC dc = measuring_ ? measuring_ : GetDC(nullptr);
  HGDIOBJ old = f ? SelectObject(dc, f.Font()) : nullptr;
  SIZE size{0, 0};
  const std::wstring wide = Wide(text);
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  if (text.empty()) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    size.cy = tm.tmHeight;
  }
  if (old) SelectObject(dc, old);
  if (dc != measuring_) ReleaseDC(nullptr, dc);
  return {size.cx, size.cy};
}

namespace {

// A picture's DIB section, held in the GDI cache for as long as a control shows the picture.
class Win32PictureHold final : public PictureHold {
 public:
  explicit Win32PictureHold(GdiRef bitmap) : bitmap_(std::move(bitmap)) {}

 private:
  GdiRef bitmap_;
};

}  // namespace

std::unique_ptr<PictureHold> Win32Backend::HoldPicture(const TPixels& picture) {
  return std::make_unique<Win32PictureHold>(gdi_.Bitmap(picture));
}

DWORD Win32Backend::FormStyle(TBorderStyle style) {
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

DWORD Win32Backend::FormExStyle(TBorderStyle style) {
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

LRESULT CALLBACK OwnWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Win32Backend& backend = Self();
  if (msg == WM_NCCREATE) {
    auto* peer = static_cast<Win32Peer*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (peer) {
      peer->Attach(hwnd);
      backend.Adopt(hwnd, peer);
    }
  }
  Win32Peer* peer = backend.Adopted(hwnd);
  if (!peer) return DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    const LRESULT answer = DefWindowProcW(hwnd, msg, wParam, lParam);
    backend.Abandon(hwnd);
    rt::GuardWindowProc([&] { peer->Destroyed(hwnd); });
    return answer;
  }
  return peer->Receive(msg, wParam, lParam);
}

void Win32Backend::Subclass(HWND hwnd) {
  const auto system = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChildProc)));
  systemProcs_[hwnd] = system;
}

WNDPROC Win32Backend::SystemProc(HWND hwnd) const {
  auto it = systemProcs_.find(hwnd);
  return it == systemProcs_.end() ? &DefWindowProcW : it->second;
}

LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Win32Backend& backend = Self();
  const WNDPROC system = backend.SystemProc(hwnd);
  Win32Peer* peer = backend.Find(hwnd);
  if (msg == WM_NCDESTROY) {
    backend.Unsubclass(hwnd);
    const LRESULT answer = CallWindowProcW(system, hwnd, msg, wParam, lParam);
    if (peer) rt::GuardWindowProc([&] { peer->Destroyed(hwnd); });
    return answer;
  }
  // A window the peer has replaced (a rebuild) takes no part any more.
  if (!peer || peer->Hwnd() != hwnd) return CallWindowProcW(system, hwnd, msg, wParam, lParam);
  return peer->Receive(msg, wParam, lParam);
}

Backend& Instance() {
  return Self();
}

NativeObjectCounts Counts() {
  return Self().Counts();
}

}  // namespace ui::win32

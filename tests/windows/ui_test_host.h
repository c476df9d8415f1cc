// A plain top-level window standing in for the host's pane, for the Windows tests of views.
#pragma once

#include <windows.h>

#include <cstdint>

namespace testhost {

inline HWND CreateHostWindow(int width, int height) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"VELTestHost";
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
  return CreateWindowExW(0, L"VELTestHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                         r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

inline uint32_t AsHost(HWND hwnd) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd));
}

inline HWND AsHwnd(uintptr_t handle) {
  return reinterpret_cast<HWND>(handle);
}

// Lets pending messages run, as the host's message loop would between calls.
inline void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

struct ThreadWindowCount {
  HWND a, b;
  int count;
};

inline BOOL CALLBACK CountOne(HWND hwnd, LPARAM p) {
  auto* d = reinterpret_cast<ThreadWindowCount*>(p);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  // Wine keeps an IME window per thread; it is none of ours.
  if (hwnd != d->a && hwnd != d->b && lstrcmpiW(cls, L"IME") != 0) ++d->count;
  return TRUE;
}

// Windows of this thread other than the hosts: what a test expects to be gone.
inline int CountThreadWindowsOtherThan(HWND a, HWND b) {
  ThreadWindowCount data{a, b, 0};
  EnumThreadWindows(GetCurrentThreadId(), CountOne, reinterpret_cast<LPARAM>(&data));
  return data.count;
}

}  // namespace testhost

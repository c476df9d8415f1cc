// What the Windows benchmarks that time real windows share: a millisecond clock, a message pump
// and a visible host window (with a plain class for the bare CreateWindowEx floor).
#pragma once

#include <windows.h>

namespace benchwin {

inline double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

inline void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Registers "VELBenchHost" and "VELBenchPlain" and returns a visible host window of the first.
inline HWND NewHost() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VELBenchHost";
  RegisterClassExW(&wc);
  wc.lpszClassName = L"VELBenchPlain";
  RegisterClassExW(&wc);
  return CreateWindowExW(0, L"VELBenchHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1000,
                         700, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace benchwin

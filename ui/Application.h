// The application object (the focused control of the whole application) and the calls that
// every part of the program shares: handling an exception the way the event loop does, modal
// message boxes and beeps, each one toolkit call so a backend can show or record it.
#pragma once

#include <string>
#include <string_view>

#include "runtime/HostGuard.h"
#include "ui/Types.h"

namespace ui {

class TWinControl;

class TApplication {
 public:
  // Installs the error box as the handler of failures that reach an event handler.
  TApplication();

  // The control that has the keyboard focus, among every form of the application; null when the
  // focus is outside them.
  TWinControl* FocusedControl() const { return focused_; }

  const std::u16string& Title() const { return title_; }
  void SetTitle(std::u16string_view title) { title_ = title; }

  // What the event loop does with an exception that reached it: a silent abort is swallowed,
  // anything else is shown in an error box. Call it inside a catch block only.
  void HandleException() noexcept { rt::HandleWindowProcException(); }

 private:
  friend class TWinControl;
  TWinControl* focused_ = nullptr;
  std::u16string title_ = u"VELSistema";
};

TApplication& Application();

// Runs `f` as an event handler runs: whatever it throws ends in Application().HandleException().
// Returns false when it threw.
template <class F>
bool RunGuarded(F&& f) noexcept {
  Application();  // the error box is installed
  return rt::GuardWindowProc(
      [&] {
        f();
        return true;
      },
      false);
}

// The modal message box; returns the window system's answer (1 for OK).
int ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                   TMsgDlgType type = TMsgDlgType::mtInformation);
// A message box with the application's title.
void ShowMessage(std::u16string_view text);
void Beep();

}  // namespace ui

// The application object and the shared modal calls.
#include "ui/Application.h"

#include "ui/Backend.h"

namespace ui {

namespace {
void ShowApplicationError(const std::u16string& message) {
  ShowMessageBox(message, Application().Title(), TMsgDlgType::mtError);
}
}  // namespace

TApplication::TApplication() {
  rt::SetApplicationErrorHandler(&ShowApplicationError);
}

TApplication& Application() {
  static TApplication app;
  return app;
}

int ShowMessageBox(std::u16string_view text, std::u16string_view caption, TMsgDlgType type) {
  return CurrentBackend().Screen().ShowMessageBox(text, caption, type);
}

void ShowMessage(std::u16string_view text) {
  ShowMessageBox(text, Application().Title(), TMsgDlgType::mtInformation);
}

void Beep() {
  CurrentBackend().Screen().Beep();
}

}  // namespace ui

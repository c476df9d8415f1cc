// Creating, embedding and destroying a form of 100 edits, 120 labels and 10 panels on the Windows
// backend, against the floor of creating and destroying the same native windows bare with
// CreateWindowEx in the same run (the labels add no window). Prints the median of each and their
// ratio, with the native windows and GDI objects the form held.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/WinBenchHost.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/win32/Win32Backend.h"

namespace {

constexpr int kRuns = 21;
constexpr int kPanels = 10, kEdits = 100, kLabels = 120;

using benchwin::NewHost;
using benchwin::Now;
using benchwin::Pump;

ui::NativeObjectCounts held;

double Toolkit(HWND host) {
  const double start = Now();
  {
    auto form = std::make_unique<ui::TForm>(nullptr);
    form->SetBorderStyle(ui::TBorderStyle::bsNone);
    form->SetBounds(0, 0, 1375, 909);
    form->SetColor(ui::clWhite);
    std::vector<ui::TPanel*> panels;
    for (int p = 0; p < kPanels; ++p) {
      auto* panel = new ui::TPanel(form.get());
      panel->SetParent(form.get());
      panel->SetBounds(10 + p * 130, 700, 120, 150);
      panels.push_back(panel);
    }
    for (int i = 0; i < kEdits; ++i) {
      auto* edit = new ui::TEdit(form.get());
      edit->SetParent(i < 80 ? static_cast<ui::TWinControl*>(form.get()) : panels[i % kPanels]);
      edit->SetBounds(10 + (i % 10) * 60, 10 + (i / 10) * 30, 50, 23);
      edit->SetFont({u"Tahoma", -16, ui::clWindowText, ui::fsBold});
    }
    for (int i = 0; i < kLabels; ++i) {
      auto* label = new ui::TLabel(form.get());
      label->SetParent(form.get());
      label->SetBounds(700 + (i % 6) * 100, 10 + (i / 6) * 20, 0, 0);
      label->SetFont({u"Tahoma", -16, ui::clWhite, ui::fsBold});
      label->SetTransparent(true);
      label->SetCaption(u"Stamina");
    }
    form->EmbedInto(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(host)));
    held = ui::win32::Counts();
  }
  return Now() - start;
}

double Floor(HWND host) {
  const double start = Now();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HWND form = CreateWindowExW(0, L"VELBenchPlain", L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 1375, 909,
                              nullptr, nullptr, instance, nullptr);
  std::vector<HWND> panels;
  for (int p = 0; p < kPanels; ++p)
    panels.push_back(CreateWindowExW(
        0, L"VELBenchPlain", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
        10 + p * 130, 700, 120, 150, form, nullptr, instance, nullptr));
  for (int i = 0; i < kEdits; ++i)
    CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | ES_AUTOHSCROLL,
                    10 + (i % 10) * 60, 10 + (i / 10) * 30, 50, 23,
                    i < 80 ? form : panels[static_cast<size_t>(i % kPanels)], nullptr, instance,
                    nullptr);
  SetParent(form, host);
  ShowWindow(form, SW_SHOWNA);
  DestroyWindow(form);
  return Now() - start;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  HWND host = NewHost();
  std::vector<double> toolkit, floor;
  Toolkit(host);  // warm: classes registered, fonts loaded
  Floor(host);
  for (int run = 0; run < kRuns; ++run) {
    toolkit.push_back(Toolkit(host));
    Pump();
    floor.push_back(Floor(host));
    Pump();
  }
  const double t = Median(toolkit), f = Median(floor);
  std::printf("form of %d edits, %d labels, %d panels: create + embed + destroy, median of %d\n",
              kEdits, kLabels, kPanels, kRuns);
  std::printf("  toolkit            %8.2f ms\n", t);
  std::printf("  CreateWindowEx floor %6.2f ms (%d windows)\n", f, 1 + kPanels + kEdits);
  std::printf("  ratio              %8.2f\n", t / f);
  std::printf("  held while shown: %u windows, %u fonts, %u brushes, %u pens, %u bitmaps\n",
              static_cast<unsigned>(held.Windows), static_cast<unsigned>(held.Fonts),
              static_cast<unsigned>(held.Brushes), static_cast<unsigned>(held.Pens),
              static_cast<unsigned>(held.Bitmaps));
  DestroyWindow(host);
  return 0;
}

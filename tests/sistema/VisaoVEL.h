// The VEL view embedded in a host window of the offscreen backend, over a document with a host
// controller: the fixture of the tests that drive the real view.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbui/DBEdits.h"
#include "host/Controller.h"
#include "runtime/Interfaced.h"
#include "sistema/VELficha.h"
#include "tests/sistema/FichaVEL.h"
#include "ui/offscreen/Offscreen.h"

namespace vel::test {

class VisaoVEL : public ::testing::Test {
 protected:
  // A host window of that client size.
  VisaoVEL(int largura, int altura) : largura_(largura), altura_(altura) {}

  void SetUp() override {
    backend.SetHostClientSize(kHost, largura_, altura_);
    doc->SetFichaVisaoController(controller.Get());
    Abrir();
  }
  void TearDown() override { doc->LiberarVisao(); }

  // Embeds the view (a new one after LiberarVisao), with no messages, beeps, menus or notices
  // recorded yet.
  void Abrir() {
    doc->AcoplarVisao(kHost);
    view = dynamic_cast<zarp::TfrmVELsistema*>(doc->VisaoInstanciada());
    ASSERT_NE(view, nullptr);
    Limpar();
  }
  void Limpar() {
    backend.ClearMessages();
    backend.ClearBeeps();
    backend.ClearMenus();
    controller->Reset();
  }

  // The view's component of that name and class (a bound edit unless said).
  template <class T = dbui::TDBEdit>
  T& C(std::u16string_view nome) {
    return view->Find<T>(nome);
  }
  // The texts of the message boxes shown so far.
  std::vector<std::u16string> Mensagens() const {
    std::vector<std::u16string> r;
    for (const auto& m : backend.Messages()) r.push_back(m.Text);
    return r;
  }

  static constexpr uint32_t kHost = 0x5001;
  ui::offscreen::OffscreenBackend& backend = ui::offscreen::Instance();
  rt::ComPtr<host::TController> controller = rt::MakeCounted<host::TController>();
  Documento doc;
  zarp::TfrmVELsistema* view = nullptr;

 private:
  int largura_, altura_;
};

}  // namespace vel::test

// The unit of the VEL view: TfrmVELsistema, the fixed page that shows a VEL sheet inside the
// host's window and scrolls there.
#pragma once

#include <cstdint>
#include <string_view>

#include "ui/Description.h"
#include "visao/ZARPVisaoFicha.h"

namespace db {
class TDataSource;
}

namespace zarp {

// The form of the page: 1375 x 909 on white, in the sheet's default font, opening scrolled down
// by 19 pixels (the position at which its stored control positions were taken). Its controls,
// artwork and lists come with the page's layout; each list's context menu inserts and removes
// its records.
class TfrmVELsistema : public TfrmVisaoFicha {
 public:
  ZARP_VISAO_CLASS(TfrmVELsistema)
  TfrmVELsistema(rt::TComponent* owner, uint32_t acoplarEm);

  static const ui::FormDescription kDescription;

  // The menu items' handlers, named by the stored items: each passes its list's data source to
  // the insert or the remove command. The clicked item is not consulted.
  void mitInserirSkillClick(rt::TComponent* sender);
  void mitRemoverSkillClick(rt::TComponent* sender);
  void mitInserirEquipClick(rt::TComponent* sender);
  void mitRemoverEquipClick(rt::TComponent* sender);
  void mitInserirDonsClick(rt::TComponent* sender);
  void mitRemoverDonsClick(rt::TComponent* sender);
  void mitInserirPerrClick(rt::TComponent* sender);
  void mitRemoverPerrClick(rt::TComponent* sender);

  // One of the handlers above by its name; null for any other name.
  using TManipulador = void (TfrmVELsistema::*)(rt::TComponent* sender);
  static TManipulador Manipulador(std::u16string_view nome);

 private:
  // Stores the list's pending record (a new one untouched too, as an empty record) and starts a
  // new one at the end. When the store fails, its error passes on and no record is started.
  void InserirRegistro(db::TDataSource* fonte);
  // Discards a new record, and nothing more; otherwise discards the current record's pending
  // changes and deletes it, without asking. An empty list fails with the dataset's message.
  void RemoverRegistro(db::TDataSource* fonte);
  db::TDataSource* Fonte(std::u16string_view nome) const;
};

}  // namespace zarp

// The plainest bound edit a grid test needs: shows its field, writes typed text back on leaving,
// and paints a copy of its value for the grid's other panels.
#pragma once

#include <string>

#include "db/DataSource.h"
#include "db/Field.h"
#include "dbui/DBCtrlGrid.h"
#include "runtime/CodePage.h"
#include "ui/Canvas.h"
#include "ui/Edits.h"

namespace dbuitest {

class BoundEdit : public ui::TEdit, public dbui::TRecordCopyPainter {
 public:
  explicit BoundEdit(rt::TComponent* owner) : ui::TEdit(owner) {
    SetColor(ui::clWhite);
    link.OnDataChange = [this] {
      showing_ = true;
      SetText(Value());
      showing_ = false;
    };
    link.OnUpdateData = [this] {
      if (db::TField* f = link.Field()) f->SetAsString(rt::ToAnsi(Text()));
    };
  }
  void Bind(db::TDataSource* source, std::u16string field) {
    link.SetDataSource(source);
    link.SetFieldName(std::move(field));
  }
  std::u16string Value() const {
    db::TField* f = link.Field();
    return f ? rt::FromAnsi(f->AsString()) : std::u16string();
  }
  void PaintRecordCopy(ui::TCanvas& canvas) const override {
    canvas.FillRect({0, 0, Width(), Height()}, Color());
    canvas.TextOut({2, 2}, Value(), Font());
  }

  db::TFieldDataLink link;

 protected:
  // A key that changes the text first starts the edit (whose redisplay must come before it).
  void KeyPress(char16_t& key) override {
    ui::TEdit::KeyPress(key);
    if (key && !link.Edit()) key = 0;
  }
  void Change() override {
    ui::TEdit::Change();
    if (!showing_) link.Modified();
  }
  void DoExit() override {
    if (link.IsModified()) link.UpdateRecord();
    ui::TEdit::DoExit();
  }

 private:
  bool showing_ = false;
};

}  // namespace dbuitest

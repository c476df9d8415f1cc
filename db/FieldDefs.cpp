// Field definitions.
#include "db/FieldDefs.h"

#include "runtime/CodePage.h"
#include "runtime/Numbers.h"

namespace db {

TFieldDef* TFieldDefs::Add(std::u16string name, TFieldType type, int size, bool required) {
  if (Find(name)) throw EDatabaseError(rt::Format(msg::kDuplicateFieldName, {name}));
  items_.push_back(std::make_unique<TFieldDef>(std::move(name), type, size, required, Count() + 1));
  return items_.back().get();
}

int TFieldDefs::IndexOf(std::u16string_view name) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (rt::SameTextAscii(items_[i]->Name(), name)) return static_cast<int>(i);
  return -1;
}

TFieldDef* TFieldDefs::Find(std::u16string_view name) const {
  int i = IndexOf(name);
  return i < 0 ? nullptr : Items(i);
}

}  // namespace db

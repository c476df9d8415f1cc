// Field definitions: the columns a dataset's storage offers (name, data type, size, precision),
// against which its declared fields are bound when it opens.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/DBTypes.h"

namespace db {

class TFieldDef {
 public:
  TFieldDef(std::u16string name, TFieldType type, int size, bool required, int fieldNo)
      : name_(std::move(name)), type_(type), size_(size), required_(required), fieldNo_(fieldNo) {}

  const std::u16string& Name() const { return name_; }
  TFieldType DataType() const { return type_; }
  int Size() const { return size_; }
  bool Required() const { return required_; }
  int Precision() const { return precision_; }
  void SetPrecision(int precision) { precision_ = precision; }
  // 1-based position among the definitions; a bound data field takes it as its FieldNo.
  int FieldNo() const { return fieldNo_; }

 private:
  std::u16string name_;
  TFieldType type_;
  int size_;
  bool required_;
  int fieldNo_;
  int precision_ = 0;
};

class TFieldDefs {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TFieldDef* Items(int index) const { return items_[static_cast<size_t>(index)].get(); }
  TFieldDef* operator[](int index) const { return Items(index); }
  TFieldDef* Add(std::u16string name, TFieldType type, int size = 0, bool required = false);
  void Clear() { items_.clear(); }
  // By name, ignoring ASCII case; -1 when absent.
  int IndexOf(std::u16string_view name) const;
  TFieldDef* Find(std::u16string_view name) const;

  // An update bracket: nested brackets count, and Updating() tells whether one is open.
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate() {
    if (updateCount_ > 0) --updateCount_;
  }
  bool Updating() const { return updateCount_ > 0; }

 private:
  std::vector<std::unique_ptr<TFieldDef>> items_;
  int updateCount_ = 0;
};

}  // namespace db

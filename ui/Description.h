// Stored descriptions: how a form or data module class states its properties and components
// declaratively, as C++ tables. Each class of a chain applies its own description in its
// constructor, after its base's, so the descriptions apply from the top of the chain down and a
// later one overrides only what it sets (an unset optional member sets nothing).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "runtime/Component.h"
#include "ui/Control.h"
#include "ui/Types.h"

namespace ui {

// A kind-specific property by name ("MaxLength", "DataField"...), set through the control's
// SetStoredProperty or handed to a component's factory.
struct StoredProperty {
  std::u16string_view Name{};
  std::u16string_view Value{};
};

// Creates a non-visual component owned by `owner` and applies its properties. Components are
// created in table order, so a property may refer to a component of an earlier row.
using ComponentFactory = rt::TComponent* (*)(rt::TComponent* owner,
                                             std::span<const StoredProperty> properties);

struct ComponentDescription {
  ComponentFactory Create = nullptr;
  std::u16string_view Name{};
  std::span<const StoredProperty> Properties{};
};

// Font members left unset keep the value the control already has (its parent's, by default).
struct FontDescription {
  std::optional<std::u16string_view> Name{};
  std::optional<int> Height{};
  std::optional<TColor> Color{};
  std::optional<TFontStyles> Style{};
  std::optional<uint8_t> Charset{};
  bool Empty() const { return !Name && !Height && !Color && !Style && !Charset; }
  // `base` with the members this description sets.
  TFont ApplyTo(TFont base) const;
};

using ControlFactory = TControl* (*)(rt::TComponent* owner);

// The factory of a control class with a (owner) constructor, for ControlDescription::Create.
template <class T>
TControl* ControlOf(rt::TComponent* owner) {
  return new T(owner);
}

// One child control. Rows are created in table order: later rows lie above earlier ones, and a
// row's Parent names a windowed control of an earlier row (empty: the form).
struct ControlDescription {
  ControlFactory Create = nullptr;
  std::u16string_view Name{};
  std::u16string_view Parent{};
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  std::optional<std::u16string_view> Text{};
  FontDescription Font{};
  std::optional<TColor> Color{};
  std::optional<TCursor> Cursor{};
  TControlFlags Flags = 0;
  std::optional<int> TabOrder{};
  std::optional<TAlign> Align{};
  // Kind-specific properties, applied last and in order; rows with an empty name are unused.
  std::array<StoredProperty, 8> Properties{};
};

struct FormDescription {
  std::u16string_view Name{};  // the component name; empty keeps the current one
  std::optional<TBorderStyle> BorderStyle{};
  std::optional<int> Left{};
  std::optional<int> Top{};
  std::optional<int> Width{};
  std::optional<int> Height{};
  std::optional<int> ClientWidth{};  // applied after Width, and so wins over it
  std::optional<int> ClientHeight{};
  std::optional<std::u16string_view> Caption{};
  std::optional<TColor> Color{};
  FontDescription Font{};
  std::optional<bool> AutoScroll{};
  std::optional<int> HorzScrollRange{};
  std::optional<int> VertScrollRange{};
  // The scroll positions at which the stored child positions were taken.
  std::optional<int> HorzScrollPosition{};
  std::optional<int> VertScrollPosition{};
  std::optional<int> PixelsPerInch{};
  std::optional<int> TextHeight{};
  std::optional<bool> Visible{};
  std::span<const ComponentDescription> Components{};
  std::span<const ControlDescription> Controls{};
};

struct DataModuleDescription {
  std::u16string_view Name{};
  std::span<const ComponentDescription> Components{};
};

// Stored property values as text, read the one way every class reads them; a value that does not
// read raises BadStoredValue's error.
bool StoredBoolean(std::u16string_view name, std::u16string_view value);  // True, False
int StoredInteger(std::u16string_view name, std::u16string_view value);   // -123, 45
TColor StoredColor(std::u16string_view name, std::u16string_view value);  // clBlack, $00BBGGRR
[[noreturn]] void BadStoredValue(std::u16string_view name, std::u16string_view value,
                                 std::u16string_view why);
// A stored reference ("Name", or "Module.Name") to a component of class T, as seen from `local`
// (a plain name is one of `local`'s own components).
template <class T>
T& StoredReference(std::u16string_view name, std::u16string_view value,
                   const rt::TComponent* local) {
  if (auto* found = dynamic_cast<T*>(rt::ResolveComponentReference(value, local))) return *found;
  BadStoredValue(name, value, u"names no component of that kind");
}

// Creates the components of a table, owned by `owner`, in order.
void CreateComponents(rt::TComponent& owner, std::span<const ComponentDescription> components);

// Constructs a form or data module and then runs its after-construction step (which fires its
// creation event). If that step fails, the object is freed and the failure passes on.
template <class T, class... Args>
T* Construct(Args&&... args) {
  std::unique_ptr<T> object(new T(std::forward<Args>(args)...));
  object->AfterConstruction();
  return object.release();
}

}  // namespace ui

// Applying the parts of stored descriptions that forms and data modules share.
#include "ui/Description.h"

#include "runtime/Exception.h"

namespace ui {

TFont FontDescription::ApplyTo(TFont base) const {
  if (Name) base.Name = *Name;
  if (Height) base.Height = *Height;
  if (Color) base.Color = *Color;
  if (Style) base.Style = *Style;
  if (Charset) base.Charset = *Charset;
  return base;
}

void CreateComponents(rt::TComponent& owner, std::span<const ComponentDescription> components) {
  for (const ComponentDescription& row : components) {
    if (!row.Create)
      throw rt::Exception(u"Component '" + std::u16string(row.Name) + u"' has no class");
    rt::TComponent* c = row.Create(&owner, row.Properties);
    if (!c) throw rt::Exception(u"Component '" + std::u16string(row.Name) + u"' was not created");
    c->SetName(std::u16string(row.Name));
  }
}

}  // namespace ui

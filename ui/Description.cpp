// Applying the parts of stored descriptions that forms and data modules share.
#include "ui/Description.h"

#include <limits>
#include <string>

#include "runtime/CodePage.h"
#include "runtime/Exception.h"

namespace ui {

void BadStoredValue(std::u16string_view name, std::u16string_view value, std::u16string_view why) {
  throw rt::Exception(std::u16string(name) + u" '" + std::u16string(value) + u"' " +
                      std::u16string(why));
}

bool StoredBoolean(std::u16string_view name, std::u16string_view value) {
  if (rt::SameTextAscii(value, u"True")) return true;
  if (rt::SameTextAscii(value, u"False")) return false;
  BadStoredValue(name, value, u"is neither True nor False");
}

int StoredInteger(std::u16string_view name, std::u16string_view value) {
  const bool negative = !value.empty() && value[0] == u'-';
  const std::u16string_view digits = negative ? value.substr(1) : value;
  if (digits.empty()) BadStoredValue(name, value, u"is not a whole number");
  int64_t n = 0;
  for (char16_t ch : digits) {
    if (ch < u'0' || ch > u'9') BadStoredValue(name, value, u"is not a whole number");
    n = n * 10 + (ch - u'0');
    if (n > int64_t{std::numeric_limits<int>::max()} + 1)
      BadStoredValue(name, value, u"is out of range");
  }
  if (negative) n = -n;
  if (n > std::numeric_limits<int>::max()) BadStoredValue(name, value, u"is out of range");
  return static_cast<int>(n);
}

TColor StoredColor(std::u16string_view name, std::u16string_view value) {
  struct Named {
    std::u16string_view Name;
    TColor Color;
  };
  static constexpr Named kNamed[] = {{u"clBlack", clBlack},
                                     {u"clWhite", clWhite},
                                     {u"clGray", clGray},
                                     {u"clWindow", clWindow},
                                     {u"clWindowText", clWindowText},
                                     {u"clBtnFace", clBtnFace},
                                     {u"clBtnShadow", clBtnShadow},
                                     {u"clGrayText", clGrayText},
                                     {u"clBtnText", clBtnText},
                                     {u"clBtnHighlight", clBtnHighlight}};
  for (const Named& n : kNamed)
    if (rt::SameTextAscii(value, n.Name)) return n.Color;
  // $00BBGGRR: a colour by its value.
  if (value.size() != 9 || value[0] != u'$') BadStoredValue(name, value, u"is not a colour");
  TColor c = 0;
  for (char16_t ch : value.substr(1)) {
    int digit;
    if (ch >= u'0' && ch <= u'9')
      digit = ch - u'0';
    else if (ch >= u'A' && ch <= u'F')
      digit = ch - u'A' + 10;
    else if (ch >= u'a' && ch <= u'f')
      digit = ch - u'a' + 10;
    else
      BadStoredValue(name, value, u"is not a colour");
    c = c << 4 | static_cast<TColor>(digit);
  }
  return c;
}

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

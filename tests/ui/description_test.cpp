// Stored descriptions: a class chain's descriptions apply from the top down, later ones
// overriding only what they set; child rows and components are built from tables; data modules
// fire their events around construction and destruction.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/Application.h"
#include "ui/DataModule.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/Label.h"
#include "ui/Menus.h"
#include "ui/Panel.h"
#include "ui/offscreen/Offscreen.h"

namespace {

constexpr ui::FontDescription kBold16{.Name = u"Tahoma", .Height = -16, .Style = ui::fsBold};

class TBaseForm : public ui::TForm {
 public:
  RT_CLASS_NAME(TBaseForm)
  explicit TBaseForm(rt::TComponent* owner) : ui::TForm(owner) { ApplyDescription(kDesc); }
  static constexpr ui::FormDescription kDesc{
      .Name = u"frmBase",
      .BorderStyle = ui::TBorderStyle::bsNone,
      .Left = 509,
      .Top = 206,
      .ClientWidth = 472,
      .ClientHeight = 243,
      .Caption = u"frmBase",
      .Color = ui::clBtnFace,
      .Font = {.Name = u"Tahoma", .Height = -11, .Color = ui::clWindowText, .Style = 0},
  };
};

const ui::ControlDescription kRows[] = {
    {.Create = ui::ControlOf<ui::TPanel>,
     .Name = u"Panel1",
     .Left = 10,
     .Top = 20,
     .Width = 200,
     .Height = 100,
     .Color = ui::clBlack,
     .TabOrder = 2},
    {.Create = ui::ControlOf<ui::TEdit>,
     .Name = u"Edit1",
     .Parent = u"Panel1",
     .Left = 3,
     .Top = 4,
     .Width = 50,
     .Height = 27,
     .Font = kBold16,
     .Flags = ui::cfNoBorder | ui::cfRightToLeft,
     .TabOrder = 1,
     .Properties = {{{u"MaxLength", u"2"}}}},
    {.Create = ui::ControlOf<ui::TEdit>,
     .Name = u"Edit2",
     .Parent = u"Panel1",
     .Left = 60,
     .Top = 4,
     .Width = 50,
     .Height = 27,
     .Flags = ui::cfDisabled | ui::cfReadOnly,
     .TabOrder = 0},
    {.Create = ui::ControlOf<ui::TMemo>,
     .Name = u"Memo1",
     .Left = 220,
     .Top = 20,
     .Width = 100,
     .Height = 60,
     .Text = u"notes",
     .Flags = ui::cfVertScrollBar,
     .TabOrder = 0},
    {.Create = ui::ControlOf<ui::TLabel>,
     .Name = u"Label1",
     .Left = 8,
     .Top = 2,
     .Width = 40,
     .Height = 16,
     .Text = u"Nome:",
     .Flags = ui::cfTransparent},
};

class TDerivedForm : public TBaseForm {
 public:
  RT_CLASS_NAME(TDerivedForm)
  explicit TDerivedForm(rt::TComponent* owner) : TBaseForm(owner) { ApplyDescription(kDesc); }
  static constexpr ui::FormDescription kDesc{
      .Name = u"frmDerived",
      .Left = 188,
      .Top = 114,
      .Width = 1375,
      .Height = 909,
      .Color = ui::clWhite,
      .PixelsPerInch = 96,
      .TextHeight = 13,
      .Controls = kRows,
  };
};

TEST(FormDescriptions, TheBaseDescriptionAloneSetsItsProperties) {
  TBaseForm form(nullptr);
  EXPECT_EQ(form.Name(), u"frmBase");
  EXPECT_EQ(form.BorderStyle(), ui::TBorderStyle::bsNone);
  EXPECT_EQ(form.Left(), 509);
  EXPECT_EQ(form.Top(), 206);
  EXPECT_EQ(form.ClientWidth(), 472);
  EXPECT_EQ(form.ClientHeight(), 243);
  EXPECT_EQ(form.Width(), 472);  // no frame
  EXPECT_EQ(form.Caption(), u"frmBase");
  EXPECT_EQ(form.Color(), ui::clBtnFace);
  EXPECT_EQ(form.Font(), (ui::TFont{u"Tahoma", -11, ui::clWindowText, 0}));
  EXPECT_FALSE(form.Visible());
}

TEST(FormDescriptions, ALaterDescriptionOverridesOnlyWhatItSets) {
  TDerivedForm form(nullptr);
  EXPECT_EQ(form.Name(), u"frmDerived");
  EXPECT_EQ(form.BorderStyle(), ui::TBorderStyle::bsNone);  // kept from the base
  EXPECT_EQ(form.Caption(), u"frmBase");
  EXPECT_EQ(form.Font().Name, u"Tahoma");
  EXPECT_EQ(form.Left(), 188);
  EXPECT_EQ(form.Top(), 114);
  EXPECT_EQ(form.Width(), 1375);
  EXPECT_EQ(form.Height(), 909);
  EXPECT_EQ(form.Color(), ui::clWhite);
}

TEST(FormDescriptions, ChildRowsAreBuiltWithTheirParentsFontsFlagsAndProperties) {
  TDerivedForm form(nullptr);
  auto& panel = form.Find<ui::TPanel>(u"panel1");
  auto& edit1 = form.Find<ui::TEdit>(u"Edit1");
  auto& edit2 = form.Find<ui::TEdit>(u"Edit2");
  auto& memo = form.Find<ui::TMemo>(u"Memo1");
  auto& label = form.Find<ui::TLabel>(u"Label1");
  EXPECT_EQ(panel.Parent(), &form);
  EXPECT_EQ(edit1.Parent(), &panel);
  EXPECT_EQ(edit1.BoundsRect(), (ui::TRect{3, 4, 53, 31}));
  EXPECT_EQ(edit1.Font(), (ui::TFont{u"Tahoma", -16, ui::clWindowText, ui::fsBold}));
  EXPECT_EQ(edit2.Font(), form.Font());  // no font of its own: the parent's
  EXPECT_EQ(panel.Color(), ui::clBlack);
  EXPECT_EQ(edit1.BorderStyle(), ui::TBorderStyle::bsNone);
  EXPECT_EQ(edit1.BiDiMode(), ui::TBiDiMode::bdRightToLeft);
  EXPECT_EQ(edit1.MaxLength(), 2);
  EXPECT_FALSE(edit2.Enabled());
  EXPECT_TRUE(edit2.ReadOnly());
  EXPECT_EQ(memo.ScrollBars(), ui::TScrollStyle::ssVertical);
  EXPECT_EQ(memo.Text(), u"notes");
  EXPECT_TRUE(label.Transparent());
  EXPECT_EQ(label.Caption(), u"Nome:");
  EXPECT_THROW(form.Find<ui::TEdit>(u"Panel1"), rt::Exception);  // wrong class
}

TEST(FormDescriptions, StoredTabOrdersSortEachContainerOnceAllRowsExist) {
  TDerivedForm form(nullptr);
  EXPECT_EQ(form.Find<ui::TMemo>(u"Memo1").TabOrder(), 0);
  EXPECT_EQ(form.Find<ui::TPanel>(u"Panel1").TabOrder(), 1);
  EXPECT_EQ(form.Find<ui::TEdit>(u"Edit2").TabOrder(), 0);
  EXPECT_EQ(form.Find<ui::TEdit>(u"Edit1").TabOrder(), 1);
}

const ui::ControlDescription kBadFlag[] = {
    {.Create = ui::ControlOf<ui::TPanel>, .Name = u"Panel1", .Flags = ui::cfReadOnly}};
const ui::ControlDescription kBadProperty[] = {
    {.Create = ui::ControlOf<ui::TEdit>, .Name = u"Edit1", .Properties = {{{u"Colour", u"1"}}}}};
const ui::ControlDescription kBadParent[] = {
    {.Create = ui::ControlOf<ui::TEdit>, .Name = u"Edit1", .Parent = u"Nowhere"}};

class TTableForm : public ui::TForm {
 public:
  TTableForm(rt::TComponent* owner, std::span<const ui::ControlDescription> rows)
      : ui::TForm(owner) {
    ApplyDescription({.Controls = rows});
  }
};

TEST(FormDescriptions, ASettingNoControlCanTakeIsAnErrorNotASilentLoss) {
  ui::TForm owner(nullptr);
  EXPECT_THROW(TTableForm form(&owner, kBadFlag), rt::Exception);
  EXPECT_THROW(TTableForm form(&owner, kBadProperty), rt::Exception);
  EXPECT_THROW(TTableForm form(&owner, kBadParent), rt::Exception);
  EXPECT_EQ(owner.ComponentCount(), 0);  // each failed form was freed with what it had built
}

// A container whose stored children go into a part of its own, as a grid's go into its panel.
class TFramedBox : public ui::TPanel {
 public:
  explicit TFramedBox(rt::TComponent* owner) : ui::TPanel(owner) {
    inner = new ui::TPanel(this);
    inner->SetParent(this);
    inner->SetBounds(5, 5, 50, 50);
  }
  ui::TWinControl& ChildParent() override { return *inner; }
  ui::TPanel* inner;
};

rt::TComponent* MakeMenu(rt::TComponent* owner, std::span<const ui::StoredProperty>) {
  return new ui::TPopupMenu(owner);
}

const ui::ComponentDescription kMenus[] = {{.Create = MakeMenu, .Name = u"Menu1"}};
const ui::ControlDescription kPlacedRows[] = {
    {.Create = ui::ControlOf<TFramedBox>, .Name = u"Box1", .Width = 60, .Height = 60},
    {.Create = ui::ControlOf<ui::TEdit>,
     .Name = u"Edit1",
     .Parent = u"Box1",
     .Cursor = ui::TCursor::crCross,
     .Properties = {{{u"PopupMenu", u"Menu1"}, {u"MaxLength", u"12"}}}}};

class TPlacedForm : public ui::TForm {
 public:
  TPlacedForm(rt::TComponent* owner, std::span<const ui::ControlDescription> rows)
      : ui::TForm(owner) {
    ApplyDescription({.Components = kMenus, .Controls = rows});
  }
};

TEST(FormDescriptions, RowsGoWhereTheirContainerPlacesThemAndReferToTheFormsComponents) {
  TPlacedForm form(nullptr, kPlacedRows);
  auto& edit = form.Find<ui::TEdit>(u"Edit1");
  EXPECT_EQ(edit.Parent(), form.Find<TFramedBox>(u"Box1").inner);
  EXPECT_EQ(edit.PopupMenu(), &form.Find<ui::TPopupMenu>(u"Menu1"));
  EXPECT_EQ(edit.Cursor(), ui::TCursor::crCross);
  EXPECT_EQ(edit.MaxLength(), 12);
}

TEST(FormDescriptions, StoredValuesThatDoNotReadAreErrors) {
  for (const ui::StoredProperty bad : {ui::StoredProperty{u"PopupMenu", u"Box1"},
                                       {u"PopupMenu", u"Nowhere"},
                                       {u"MaxLength", u"-1"},
                                       {u"MaxLength", u"1x"},
                                       {u"MaxLength", u""},
                                       {u"MaxLength", u"99999999999"}}) {
    const ui::ControlDescription rows[] = {
        {.Create = ui::ControlOf<TFramedBox>, .Name = u"Box1"},
        {.Create = ui::ControlOf<ui::TEdit>, .Name = u"Edit1", .Properties = {{bad}}}};
    EXPECT_THROW(TPlacedForm form(nullptr, rows), rt::Exception) << rt::Utf16ToUtf8(bad.Value);
  }
  EXPECT_EQ(ui::StoredInteger(u"N", u"-2147483648"), INT32_MIN);
  EXPECT_EQ(ui::StoredColor(u"C", u"clWindowText"), ui::clWindowText);
  EXPECT_EQ(ui::StoredColor(u"C", u"$000000FF"), 0x0000FFu);
  EXPECT_THROW(ui::StoredColor(u"C", u"red"), rt::Exception);
  EXPECT_THROW(ui::StoredBoolean(u"B", u"yes"), rt::Exception);
}

// --- data modules ----------------------------------------------------------------------------

std::vector<std::string>* g_log = nullptr;

class TLoggedComponent : public rt::TComponent {
 public:
  using rt::TComponent::TComponent;
  ~TLoggedComponent() override {
    if (g_log) g_log->push_back("free " + rt::Utf16ToUtf8(Name()));
  }
  std::u16string Source;
};

rt::TComponent* MakeLogged(rt::TComponent* owner, std::span<const ui::StoredProperty> props) {
  auto* c = new TLoggedComponent(owner);
  for (const auto& p : props)
    if (p.Name == u"Source") c->Source = p.Value;
  return c;
}

const ui::StoredProperty kSourceProps[] = {{u"Source", u"DATAA1"}};
const ui::ComponentDescription kBaseComponents[] = {{.Create = MakeLogged, .Name = u"DATAA1"}};
const ui::ComponentDescription kMoreComponents[] = {
    {.Create = MakeLogged, .Name = u"DataSourceDATAA1", .Properties = kSourceProps}};

class TBaseModule : public ui::TDataModule {
 public:
  explicit TBaseModule(rt::TComponent* owner) : ui::TDataModule(owner) {
    ApplyDescription({.Name = u"BaseModule", .Components = kBaseComponents});
    OnCreate = [this](rt::TComponent*) {
      g_log->push_back("create with " + std::to_string(ComponentCount()) + " components");
    };
    OnDestroy = [this](rt::TComponent*) {
      g_log->push_back("destroy with " + std::to_string(ComponentCount()) + " components");
    };
  }
};

class TDerivedModule : public TBaseModule {
 public:
  explicit TDerivedModule(rt::TComponent* owner) : TBaseModule(owner) {
    ApplyDescription({.Components = kMoreComponents});
  }
};

TEST(DataModules, ComponentsComeFromEveryDescriptionAndOnCreateRunsAfterConstruction) {
  std::vector<std::string> log;
  g_log = &log;
  {
    std::unique_ptr<TDerivedModule> module(ui::Construct<TDerivedModule>(nullptr));
    EXPECT_EQ(module->Name(), u"BaseModule");
    auto* source = dynamic_cast<TLoggedComponent*>(module->FindComponent(u"datasourcedataa1"));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->Source, u"DATAA1");
    module->BeforeDestruction();
  }
  g_log = nullptr;
  EXPECT_EQ(log, (std::vector<std::string>{"create with 2 components", "destroy with 2 components",
                                           "free DataSourceDATAA1", "free DATAA1"}));
}

TEST(DataModules, TheDestructorFiresOnDestroyWhenNobodyElseDid) {
  std::vector<std::string> log;
  g_log = &log;
  delete ui::Construct<TBaseModule>(nullptr);
  g_log = nullptr;
  EXPECT_EQ(log, (std::vector<std::string>{"create with 1 components", "destroy with 1 components",
                                           "free DATAA1"}));
}

class TFailingModule : public ui::TDataModule {
 public:
  explicit TFailingModule(rt::TComponent* owner) : ui::TDataModule(owner) {
    ApplyDescription({.Components = kBaseComponents});
    OnCreate = [](rt::TComponent*) { throw rt::Exception(u"no"); };
  }
};

TEST(DataModules, AFailingCreationEventFreesTheModuleAndPassesTheErrorOn) {
  std::vector<std::string> log;
  g_log = &log;
  ui::TForm owner(nullptr);
  EXPECT_THROW(ui::Construct<TFailingModule>(&owner), rt::Exception);
  g_log = nullptr;
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"free DATAA1"}));
}

}  // namespace

// The base and scrolling views: the stored definition, the host window kept from construction,
// and the view-class reference through which documents create views.
#include <gtest/gtest.h>

#include <memory>

#include "ui/Edits.h"
#include "visao/ZARPVisaoFicha.h"

namespace {

using zarp::TfrmVisaoFicha;

TEST(ScrollingView, CarriesTheSharedStoredDefinition) {
  TfrmVisaoFicha view(nullptr, 0x42);
  EXPECT_EQ(view.AcoplarEm(), 0x42u);
  EXPECT_EQ(view.ClassName(), u"TfrmVisaoFicha");
  EXPECT_EQ(view.Left(), 509);
  EXPECT_EQ(view.Top(), 206);
  EXPECT_EQ(view.BorderStyle(), ui::TBorderStyle::bsNone);
  EXPECT_EQ(view.Caption(), u"frmVisaoFicha");
  EXPECT_EQ(view.ClientWidth(), 472);
  EXPECT_EQ(view.ClientHeight(), 243);
  EXPECT_EQ(view.Color(), ui::clBtnFace);
  EXPECT_EQ(view.Font(), (ui::TFont{u"Tahoma", -11, ui::clWindowText, 0, ui::kDefaultCharset}));
  EXPECT_EQ(view.PixelsPerInch(), 96);
  EXPECT_EQ(view.TextHeight(), 13);
  EXPECT_FALSE(view.Visible());
  EXPECT_FALSE(view.HandleAllocated());  // construction creates no window
}

// A concrete view, as a sheet's view derives from the scrolling one. Its row factory records
// the host window the view already knew while its children were being created.
uint32_t g_seenWhileBuilding = 0;

ui::TControl* RecordingEdit(rt::TComponent* owner) {
  g_seenWhileBuilding = dynamic_cast<zarp::TFrmBaseVisaoFicha&>(*owner).AcoplarEm();
  return new ui::TEdit(owner);
}

const ui::ControlDescription kRows[] = {
    {.Create = RecordingEdit,
     .Name = u"DBEdit3",
     .Left = 7,
     .Top = 125,
     .Width = 41,
     .Height = 27,
     .Font = {.Height = -16, .Style = ui::fsBold},
     .TabOrder = 2},
};

class TfrmTeste : public TfrmVisaoFicha {
 public:
  ZARP_VISAO_CLASS(TfrmTeste)
  TfrmTeste(rt::TComponent* owner, uint32_t acoplarEm) : TfrmVisaoFicha(owner, acoplarEm) {
    ApplyDescription({.Name = u"frmTeste",
                      .Left = 188,
                      .Top = 114,
                      .Width = 1375,
                      .Height = 909,
                      .Color = ui::clWhite,
                      .AutoScroll = true,
                      .VertScrollPosition = 19,
                      .Controls = kRows});
  }
};

TEST(ScrollingView, ADescendantOverridesOnlyWhatItsDefinitionSets) {
  TfrmTeste view(nullptr, 7);
  EXPECT_EQ(view.BorderStyle(), ui::TBorderStyle::bsNone);
  EXPECT_EQ(view.Caption(), u"frmVisaoFicha");
  EXPECT_EQ(view.Name(), u"frmTeste");
  EXPECT_EQ(view.Width(), 1375);
  EXPECT_EQ(view.Height(), 909);
  EXPECT_EQ(view.Color(), ui::clWhite);
  auto& edit = view.Find<ui::TEdit>(u"DBEdit3");
  EXPECT_EQ(edit.Font(), (ui::TFont{u"Tahoma", -16, ui::clWindowText, ui::fsBold}));
  // Stored at a scroll position of 19, but the content fits: the view opens at the top, with
  // the edit at its content row.
  EXPECT_EQ(view.VertScrollBar().Position(), 0);
  EXPECT_EQ(edit.Top(), 125 + 19);
}

TEST(BaseView, TheHostWindowIsKnownBeforeAnyChildControlIsCreated) {
  g_seenWhileBuilding = 0;
  TfrmTeste view(nullptr, 0xBEEF);
  EXPECT_EQ(g_seenWhileBuilding, 0xBEEFu);
}

TEST(ViewClass, AClassReferenceConstructsItsClassAndRunsTheCreationStep) {
  zarp::TFrmBaseVisaoFichaClass cls = zarp::ClasseVisao<TfrmTeste>();
  EXPECT_EQ(cls->ClassName, u"TfrmTeste");
  EXPECT_EQ(cls, zarp::ClasseVisao<TfrmTeste>());
  EXPECT_NE(cls, zarp::ClasseVisao<TfrmVisaoFicha>());
  rt::TComponent owner(nullptr);
  zarp::TFrmBaseVisaoFicha* view = cls->Create(&owner, 0x99);
  EXPECT_EQ(view->ClassName(), u"TfrmTeste");
  EXPECT_EQ(view->AcoplarEm(), 0x99u);
  EXPECT_EQ(view->Owner(), &owner);  // the owner frees it
}

}  // namespace

// The non-visual container: it owns components built from its class chain's stored
// descriptions, fires OnCreate once construction is complete and OnDestroy before its
// components are freed.
#pragma once

#include "runtime/Component.h"
#include "ui/Control.h"
#include "ui/Description.h"

namespace ui {

class TDataModule : public rt::TComponent {
 public:
  RT_CLASS_NAME(TDataModule)
  explicit TDataModule(rt::TComponent* owner);
  // Fires OnDestroy if BeforeDestruction did not run, then frees the owned components while
  // this module's own members still exist.
  ~TDataModule() override;

  // Runs once the whole constructor chain has run (ui::Construct calls it): fires OnCreate.
  // Classes that must act after their creation event override it and call it first.
  virtual void AfterConstruction();
  // Runs before the destructor chain: fires OnDestroy, once.
  virtual void BeforeDestruction();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

 protected:
  // Applies one class's stored description: its name and its components, in table order.
  void ApplyDescription(const DataModuleDescription& description);

 private:
  bool destroyFired_ = false;
};

}  // namespace ui

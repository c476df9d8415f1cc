// The data module.
#include "ui/DataModule.h"

#include "ui/Application.h"

namespace ui {

TDataModule::TDataModule(rt::TComponent* owner) : rt::TComponent(owner) {}

TDataModule::~TDataModule() {
  if (!destroyFired_) RunGuarded([&] { TDataModule::BeforeDestruction(); });
  MarkDestroying();
  DestroyComponents();
}

void TDataModule::AfterConstruction() {
  if (OnCreate) OnCreate(this);
}

void TDataModule::BeforeDestruction() {
  if (destroyFired_) return;
  destroyFired_ = true;
  if (OnDestroy) OnDestroy(this);
}

void TDataModule::ApplyDescription(const DataModuleDescription& description) {
  if (!description.Name.empty()) SetName(std::u16string(description.Name));
  CreateComponents(*this, description.Components);
}

}  // namespace ui

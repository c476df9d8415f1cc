// The substitute host's plug-in registry: keeps a counted reference to every registered plug-in
// and records every call it receives, as tests and the demo host read them back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "modulo/ZARPModulo.h"
#include "runtime/Interfaced.h"

namespace host {

struct RegistroCall {
  std::string metodo;         // "RegistrarPlugin" or "DesregistrarPlugin"
  zarp::IZARPPlugin* plugin;  // as passed; never dereferenced after the call
  int32_t countAtCall;        // the plug-in's reference count when the call arrived
  std::string nome;           // the plug-in's name, as it answered at registration
};

class TRegistroPlugins : public rt::TInterfacedObject<zarp::IZARPRegistroPlugins> {
 public:
  explicit TRegistroPlugins(rt::Constructing c) : TInterfacedObject(c) {}

  // A plug-in is stored once, however often it is registered; unregistering lets go of it.
  rt::HRESULT ZARP_STDCALL RegistrarPlugin(zarp::IZARPPlugin* plugin) override;
  rt::HRESULT ZARP_STDCALL DesregistrarPlugin(zarp::IZARPPlugin* plugin) override;

  const std::vector<RegistroCall>& Calls() const { return calls_; }
  int Count(std::string_view metodo) const;
  void ClearCalls() { calls_.clear(); }

  int PluginCount() const { return static_cast<int>(plugins_.size()); }
  zarp::IZARPPlugin* Plugin(int index) const {
    return plugins_[static_cast<size_t>(index)].plugin.Get();
  }
  // Lets go of every stored plug-in, as a host does before it unloads the library.
  void ReleaseAll();

 protected:
  ~TRegistroPlugins() override { ReleaseAll(); }

 private:
  struct Stored {
    rt::ComPtr<zarp::IZARPPlugin> plugin;
    std::string nome;
  };
  // Asks the count the only way a host can: one reference added and dropped. Unregistering a
  // plug-in that nobody holds therefore destroys it, as it would in any host that probes.
  static int32_t CountOf(zarp::IZARPPlugin* plugin);

  std::vector<Stored> plugins_;
  std::vector<RegistroCall> calls_;
};

}  // namespace host

// The substitute host's plug-in registry.
#include "host/RegistroPlugins.h"

#include <algorithm>

namespace host {

int32_t TRegistroPlugins::CountOf(zarp::IZARPPlugin* plugin) {
  if (!plugin) return 0;
  int32_t count = static_cast<int32_t>(plugin->AddRef()) - 1;
  plugin->Release();
  return count;
}

rt::HRESULT TRegistroPlugins::RegistrarPlugin(zarp::IZARPPlugin* plugin) {
  if (!plugin) {
    calls_.push_back({"RegistrarPlugin", nullptr, 0, ""});
    return rt::kNoInterface;
  }
  // Held before it is probed: a plug-in arrives with no reference of the library's own (count 0),
  // and probing it bare would destroy it.
  rt::ComPtr<zarp::IZARPPlugin> held(plugin);
  std::string nome = plugin->ObterNome();
  calls_.push_back({"RegistrarPlugin", plugin, CountOf(plugin) - 1, nome});
  auto same = [&](const Stored& s) { return s.plugin.Get() == plugin; };
  if (std::none_of(plugins_.begin(), plugins_.end(), same)) plugins_.push_back({plugin, nome});
  return rt::kOk;
}

rt::HRESULT TRegistroPlugins::DesregistrarPlugin(zarp::IZARPPlugin* plugin) {
  auto it = std::find_if(plugins_.begin(), plugins_.end(),
                         [&](const Stored& s) { return s.plugin.Get() == plugin; });
  std::string nome = it != plugins_.end() ? it->nome : "";
  calls_.push_back({"DesregistrarPlugin", plugin, CountOf(plugin), nome});
  if (it == plugins_.end()) return rt::kNoInterface;
  // Out of the list before the reference goes: the last release may destroy the plug-in, whose
  // destruction may call back into this registry.
  rt::ComPtr<zarp::IZARPPlugin> released = std::move(it->plugin);
  plugins_.erase(it);
  released.Reset();
  return rt::kOk;
}

int TRegistroPlugins::Count(std::string_view metodo) const {
  return static_cast<int>(
      std::count_if(calls_.begin(), calls_.end(), [&](auto& c) { return c.metodo == metodo; }));
}

void TRegistroPlugins::ReleaseAll() {
  while (!plugins_.empty()) {
    rt::ComPtr<zarp::IZARPPlugin> released = std::move(plugins_.back().plugin);
    plugins_.pop_back();
  }
}

}  // namespace host

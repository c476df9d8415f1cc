// The substitute host's central services.
#include "host/Central.h"

namespace host {

TCentral::TCentral(rt::Constructing c, rt::ComPtr<TRegistroPlugins> registro)
    : TInterfacedObject(c),
      registro_(registro ? std::move(registro) : rt::MakeCounted<TRegistroPlugins>()) {}

rt::HRESULT TCentral::QueryInterface(const rt::GUID& iid, void** obj) {
  if (iid != zarp::IZARPRegistroPlugins::IID) return TInterfacedObject::QueryInterface(iid, obj);
  ++registroQueries_;
  if (!obj) return rt::kNoInterface;
  *obj = nullptr;
  if (recusarRegistro_) return rt::kNoInterface;
  return registro_->QueryInterface(iid, obj);
}

}  // namespace host

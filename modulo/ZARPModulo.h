// The interfaces between the library and its host, declared once for both sides. Every one has
// the COM layout and the Windows standard calling convention; slot order is part of the ABI.
#pragma once

#include <cstdint>

#include "runtime/Com.h"

namespace zarp {

struct IZARPFicha;
struct IZARPPlugin;

// Central services: no methods of its own; the library only asks it for the registry.
struct IZARPCentral : rt::IUnknown {
  static constexpr rt::GUID IID = {0x3F41B0B4, 0x4D16, 0x4838,
                                   {0xBD, 0xDD, 0x36, 0xF4, 0x91, 0x66, 0xA5, 0x9A}};
};

// The host's plug-in registry; results are ignored.
struct IZARPRegistroPlugins : rt::IUnknown {
  static constexpr rt::GUID IID = {0xD81E598F, 0x6772, 0x4CEF,
                                   {0x82, 0x70, 0x76, 0x56, 0xCB, 0x07, 0x45, 0x66}};
  virtual rt::HRESULT ZARP_STDCALL RegistrarPlugin(IZARPPlugin* plugin) = 0;     // slot 3
  virtual rt::HRESULT ZARP_STDCALL DesregistrarPlugin(IZARPPlugin* plugin) = 0;  // slot 4
};

// The host's byte stream. Sizes and positions are signed 64-bit; the results of Read and Write
// carry no meaning the library relies on.
struct IZARPStream : rt::IUnknown {
  virtual int64_t ZARP_STDCALL GetSize() = 0;                          // slot 3
  virtual int64_t ZARP_STDCALL GetPosition() = 0;                      // slot 4
  virtual void ZARP_STDCALL SetPosition(int64_t position) = 0;         // slot 5
  virtual int32_t ZARP_STDCALL Read(void* buffer, int32_t count) = 0;  // slot 6
  virtual int32_t ZARP_STDCALL Write(const void* buffer, int32_t count) = 0;  // slot 7
};

// The host's controller for one sheet: told of every change notice.
struct IZARPFichaVisaoController : rt::IUnknown {
  static constexpr rt::GUID IID = {0x31E111CC, 0xAD59, 0x4150,
                                   {0x8F, 0x66, 0x7A, 0x1E, 0x8F, 0x68, 0xF9, 0x27}};
  virtual rt::HRESULT ZARP_STDCALL FichaAlterada() = 0;  // slot 3
};

// The library's module object, obtained through the export.
struct IZARPModulo : rt::IUnknown {
  static constexpr rt::GUID IID = {0xCADEAC2E, 0x164E, 0x4413,
                                   {0xAD, 0x3E, 0x79, 0x2F, 0xDB, 0x99, 0x33, 0x6C}};
  virtual void ZARP_STDCALL SetCentral(IZARPCentral* central) = 0;  // slot 3
  virtual void ZARP_STDCALL AtivarModulo() = 0;                     // slot 4
  virtual void ZARP_STDCALL DesativarModulo() = 0;                  // slot 5
};

// One kind of character sheet. The texts are zero-terminated 8-bit strings owned by the plug-in.
struct IZARPPlugin : rt::IUnknown {
  static constexpr rt::GUID IID = {0xF58705D5, 0xF00A, 0x4F25,
                                   {0x8F, 0x76, 0x59, 0x6E, 0xCD, 0x08, 0x58, 0x1A}};
  virtual const char* ZARP_STDCALL ObterNome() = 0;                 // slot 3
  virtual const char* ZARP_STDCALL ObterDescricao() = 0;            // slot 4
  virtual const char* ZARP_STDCALL ObterID() = 0;                   // slot 5
  virtual void ZARP_STDCALL CriarFicha(IZARPFicha** ficha) = 0;     // slot 6
};

// A sheet document: persistence and read-only state. Note slot 5 is LimparFicha and slot 6
// SetFichaSomenteLeitura.
struct IZARPFicha : rt::IUnknown {
  static constexpr rt::GUID IID = {0x601A8ADF, 0x1D58, 0x4028,
                                   {0x94, 0x00, 0x97, 0xED, 0x88, 0xCC, 0x96, 0x78}};
  virtual void ZARP_STDCALL CarregarFicha(IZARPStream* stream) = 0;  // slot 3
  virtual void ZARP_STDCALL SalvarFicha(IZARPStream* stream) = 0;    // slot 4
  virtual void ZARP_STDCALL LimparFicha() = 0;                       // slot 5
  virtual void ZARP_STDCALL SetFichaSomenteLeitura(bool value) = 0;  // slot 6
};

// A sheet document's view: embedding into a host window, release, controller, size limits.
struct IZARPFichaVisao : rt::IUnknown {
  static constexpr rt::GUID IID = {0x12BF10F9, 0x5162, 0x41CF,
                                   {0x89, 0x83, 0xC5, 0x80, 0xD5, 0x2E, 0x40, 0xF8}};
  virtual void ZARP_STDCALL AcoplarVisao(uint32_t acoplarEm) = 0;  // slot 3
  virtual void ZARP_STDCALL LiberarVisao() = 0;                    // slot 4
  virtual void ZARP_STDCALL SetFichaVisaoController(IZARPFichaVisaoController* controller) = 0;
  virtual void ZARP_STDCALL SetVisaoConstraints(int32_t maxWidth, int32_t maxHeight) = 0;
};

// The library's only export, by name and as ordinal 1.
using EntryPointZARPModuloProc = void(ZARP_STDCALL*)(IZARPModulo** modulo);

}  // namespace zarp

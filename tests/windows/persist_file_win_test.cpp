// Sheet persistence on Windows through the document's host interface and the substitute host's
// file stream: a save and a load give the records back, and a truncated file reaches the host as
// the library's structured exception, which the host's handler catches instead of dying.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "dataset/ZARPDataSet.h"
#include "db/Field.h"
#include "ficha/ZARPFicha.h"
#include "host/Streams.h"
#include "runtime/HostGuard.h"

namespace {

// A sheet document with a list and a memo, as a host holds it: through its IZARPFicha.
class TFichaArquivo : public zarp::TZARPFicha {
 public:
  ZARP_FICHA_CLASS(TFichaArquivo)
  explicit TFichaArquivo(rt::TComponent* owner) : TZARPFicha(owner) {
    lista = new zarp::TZARPDataSet(this);
    lista->SetName(u"DATAA5");
    nome = db::DeclareField<db::TStringField>(this, lista, u"habilname", 999);
    nivel = db::DeclareField<db::TIntegerField>(this, lista, u"pgref");
    notas = new zarp::TZARPDataSet(this);
    notas->SetName(u"NOTAS");
    texto = db::DeclareField<db::TMemoField>(this, notas, u"texto");
    OnCreate = [this](rt::TComponent*) {
      lista->Open();
      notas->Open();
    };
  }
  void Preencher() {
    for (int i = 0; i < 50; ++i) {
      lista->Append();
      nome->SetAsString("Habilidade \xE9 " + std::to_string(i));
      nivel->SetAsInteger(i * 7);
      lista->Post();
    }
    notas->Append();
    texto->SetAsString(std::string(100000, 'n'));
    notas->Post();
  }
  std::vector<std::string> Linhas() {
    std::vector<std::string> out;
    for (lista->First(); !lista->Eof(); lista->Next())
      out.push_back(nome->AsString() + "|" + nivel->AsString());
    return out;
  }
  zarp::TZARPDataSet *lista, *notas;
  db::TStringField* nome;
  db::TIntegerField* nivel;
  db::TMemoField* texto;
};

// A new document and the host's one reference to it.
struct Ficha {
  Ficha() : doc(static_cast<TFichaArquivo*>(zarp::ClasseFicha<TFichaArquivo>()->Create(nullptr))) {
    void* p = nullptr;
    doc->QueryInterface(zarp::IZARPFicha::IID, &p);
    host = rt::ComPtr<zarp::IZARPFicha>::Adopt(static_cast<zarp::IZARPFicha*>(p));
  }
  TFichaArquivo* doc;
  rt::ComPtr<zarp::IZARPFicha> host;
};

std::string ArquivoTemporario(const char* nome) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + nome;
}

rt::ComPtr<host::TFileStream> Arquivo(const std::string& caminho, host::TFileStream::Mode modo) {
  return rt::MakeCounted<host::TFileStream>(caminho, modo);
}

// The host's side of a failing call: a vectored handler takes the library's exception on the
// host's thread and ends that thread, as a host that gives up the call would.
struct Falha {
  bool pega = false;
  DWORD codigo = 0;
  std::string mensagem;
};
Falha falha;
DWORD threadDoHost = 0;

LONG CALLBACK Tratador(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* r = info->ExceptionRecord;
  if (GetCurrentThreadId() != threadDoHost || r->ExceptionCode != rt::kHostExceptionCode)
    return EXCEPTION_CONTINUE_SEARCH;
  falha.pega = true;
  falha.codigo = r->ExceptionCode;
  if (r->NumberParameters >= 1)
    falha.mensagem = reinterpret_cast<const char*>(r->ExceptionInformation[0]);
  ExitThread(2);
}

template <class F>
DWORD WINAPI CorpoDoHost(LPVOID p) {
  (*static_cast<F*>(p))();
  return 0;
}

// Runs `chamada` on a host thread; answers 0 when it returned, 2 when the handler took a failure.
template <class F>
DWORD ChamarComoHost(F& chamada) {
  falha = {};
  PVOID h = AddVectoredExceptionHandler(1, Tratador);
  HANDLE t = CreateThread(nullptr, 0, &CorpoDoHost<F>, &chamada, CREATE_SUSPENDED, &threadDoHost);
  ResumeThread(t);
  WaitForSingleObject(t, INFINITE);
  DWORD saida = 99;
  GetExitCodeThread(t, &saida);
  CloseHandle(t);
  RemoveVectoredExceptionHandler(h);
  return saida;
}

TEST(PersistenciaEmArquivo, SaveAndLoadGiveTheRecordsBack) {
  const std::string caminho = ArquivoTemporario("vel_persist_roundtrip.bin");
  Ficha origem;
  origem.doc->Preencher();
  {
    auto s = Arquivo(caminho, host::TFileStream::Mode::Create);
    origem.host->SalvarFicha(s.Get());
  }
  Ficha destino;
  {
    auto s = Arquivo(caminho, host::TFileStream::Mode::Read);
    destino.host->CarregarFicha(s.Get());
  }
  EXPECT_EQ(destino.doc->Linhas(), origem.doc->Linhas());
  destino.doc->notas->First();
  EXPECT_EQ(destino.doc->texto->AsString(), std::string(100000, 'n'));
  DeleteFileA(caminho.c_str());
}

TEST(PersistenciaEmArquivo, ATruncatedFileReachesTheHostAsItsStructuredException) {
  const std::string inteiro = ArquivoTemporario("vel_persist_whole.bin");
  const std::string cortado = ArquivoTemporario("vel_persist_cut.bin");
  Ficha origem;
  origem.doc->Preencher();
  {
    auto s = Arquivo(inteiro, host::TFileStream::Mode::Create);
    origem.host->SalvarFicha(s.Get());
  }
  {
    std::ifstream in(inteiro, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream out(cortado, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size() - 50000));
  }

  Ficha destino;
  auto s = Arquivo(cortado, host::TFileStream::Mode::Read);
  auto carregar = [&] { destino.host->CarregarFicha(s.Get()); };
  EXPECT_EQ(ChamarComoHost(carregar), 2u);
  ASSERT_TRUE(falha.pega);
  EXPECT_EQ(falha.codigo, rt::kHostExceptionCode);
  EXPECT_EQ(falha.mensagem.rfind("Sheet stream ends inside section NOTAS (record 1 of 1)", 0), 0u)
      << falha.mensagem;
  // The section before the cut stays loaded, and the sheet is still usable.
  EXPECT_EQ(destino.doc->Linhas(), origem.doc->Linhas());
  EXPECT_EQ(destino.doc->notas->RecordCount(), 0);
  EXPECT_FALSE(destino.doc->notas->ControlsDisabled());
  s.Reset();
  DeleteFileA(inteiro.c_str());
  DeleteFileA(cortado.c_str());
}

}  // namespace

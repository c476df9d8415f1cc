// The demo host as its users run it: opened on an example, pictured and saved unchanged; a save
// that cannot replace its target keeps the original and says why; a damaged sheet is reported
// with the library's message and left untouched while the host goes on with an empty sheet.
// Each case runs demo-host.exe (beside this program and VELSistema.dll) in its batch mode.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

std::string Exemplo(const char* nome) {
  return std::string(VEL_EXAMPLES_DIR) + "/" + nome;
}

Bytes Ler(const std::string& caminho) {
  std::ifstream f(caminho, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void Escrever(const std::string& caminho, const Bytes& bytes) {
  std::ofstream f(caminho, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string PastaDoPrograma() {
  char caminho[MAX_PATH];
  GetModuleFileNameA(nullptr, caminho, MAX_PATH);
  std::string p = caminho;
  return p.substr(0, p.find_last_of("\\/") + 1);
}

struct Execucao {
  DWORD status = 99;
  std::string saida;
};

// Runs the demo host with `argumentos`, its standard output collected, for at most a minute.
Execucao Rodar(const std::string& argumentos) {
  Execucao e;
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE leitura = nullptr, escrita = nullptr;
  CreatePipe(&leitura, &escrita, &sa, 0);
  SetHandleInformation(leitura, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = escrita;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::string linha = "\"" + PastaDoPrograma() + "demo-host.exe\" " + argumentos;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, linha.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      PastaDoPrograma().c_str(), &si, &pi)) {
    ADD_FAILURE() << "cannot start demo-host.exe: " << GetLastError();
    return e;
  }
  CloseHandle(escrita);
  char buffer[4096];
  DWORD lidos = 0;
  while (ReadFile(leitura, buffer, sizeof buffer, &lidos, nullptr) && lidos > 0)
    e.saida.append(buffer, lidos);
  CloseHandle(leitura);
  if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 98);
    ADD_FAILURE() << "demo-host.exe did not end: " << e.saida;
  }
  GetExitCodeProcess(pi.hProcess, &e.status);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return e;
}

class DemoHost : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    pasta = std::string(temp) + "vel-demo-host-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    Limpar();
    CreateDirectoryA(pasta.c_str(), nullptr);
  }
  void TearDown() override { Limpar(); }

  std::string Em(const char* nome) const { return pasta + "\\" + nome; }
  std::vector<std::string> Arquivos() const {
    std::vector<std::string> nomes;
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((pasta + "\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return nomes;
    do {
      if (std::string(d.cFileName) != "." && std::string(d.cFileName) != "..")
        nomes.push_back(d.cFileName);
    } while (FindNextFileA(h, &d));
    FindClose(h);
    return nomes;
  }
  void Limpar() {
    for (const std::string& n : Arquivos()) {
      SetFileAttributesA((pasta + "\\" + n).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA((pasta + "\\" + n).c_str());
    }
    RemoveDirectoryA(pasta.c_str());
  }

  std::string pasta;
};

uint32_t Be32(const Bytes& b, size_t i) {
  return uint32_t{b[i]} << 24 | uint32_t{b[i + 1]} << 16 | uint32_t{b[i + 2]} << 8 | b[i + 3];
}

TEST_F(DemoHost, OpensAnExampleTakesItsPictureAndSavesItUnchanged) {
  const Execucao e = Rodar("--screenshot \"" + Em("ayla.png") + "\" --save-as \"" +
                           Em("copia.zarp") + "\" \"" + Exemplo("ayla.zarp") + "\"");
  ASSERT_EQ(e.status, 0u) << e.saida;
  EXPECT_NE(e.saida.find("plug-in \"VEL-Sistema\" (ZARP.VELSISTEMA.PLUGIN)"), std::string::npos)
      << e.saida;
  EXPECT_EQ(Ler(Em("copia.zarp")), Ler(Exemplo("ayla.zarp")));

  const Bytes png = Ler(Em("ayla.png"));
  ASSERT_GT(png.size(), 33u);
  EXPECT_EQ(Bytes(png.begin(), png.begin() + 8),
            Bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
  // The picture is the whole sheet, as the host reports it, at least the window's height.
  const std::string medida = std::to_string(Be32(png, 16)) + " x " + std::to_string(Be32(png, 20));
  EXPECT_NE(e.saida.find(": " + medida), std::string::npos) << e.saida << "\nIHDR: " << medida;
  EXPECT_GT(Be32(png, 16), 100u);
  EXPECT_GT(Be32(png, 20), 100u);
  // Only the two files asked for: no temporary file is left beside the saved one.
  EXPECT_EQ(Arquivos().size(), 2u);
}

TEST_F(DemoHost, ASaveThatCannotReplaceItsTargetKeepsTheOriginalAndSaysWhy) {
  const Bytes original = Ler(Exemplo("ayla.zarp"));
  Escrever(Em("alvo.zarp"), original);
  ASSERT_TRUE(SetFileAttributesA(Em("alvo.zarp").c_str(), FILE_ATTRIBUTE_READONLY));
  const Execucao e =
      Rodar("--save-as \"" + Em("alvo.zarp") + "\" \"" + Exemplo("empty.zarp") + "\"");
  EXPECT_EQ(e.status, 1u) << e.saida;
  EXPECT_NE(e.saida.find("Could not save " + Em("alvo.zarp") + ": cannot replace the file"),
            std::string::npos)
      << e.saida;
  EXPECT_NE(e.saida.find("The file on disk is unchanged."), std::string::npos) << e.saida;
  EXPECT_EQ(Ler(Em("alvo.zarp")), original);
  EXPECT_EQ(Arquivos(), std::vector<std::string>{"alvo.zarp"});
}

TEST_F(DemoHost, ADamagedSheetIsReportedLeftUntouchedAndTheHostGoesOnEmpty) {
  Bytes danificada = Ler(Exemplo("ayla.zarp"));
  danificada.resize(1000);
  Escrever(Em("danificada.zarp"), danificada);
  const Execucao e =
      Rodar("--save-as \"" + Em("depois.zarp") + "\" \"" + Em("danificada.zarp") + "\"");
  EXPECT_EQ(e.status, 1u) << e.saida;
  EXPECT_NE(e.saida.find("could not be opened, and the file is left as it is: Sheet stream ends"),
            std::string::npos)
      << e.saida;
  EXPECT_EQ(Ler(Em("danificada.zarp")), danificada);
  // What the host saves afterwards is a new, empty sheet.
  EXPECT_EQ(Ler(Em("depois.zarp")), Ler(Exemplo("empty.zarp")));
}

TEST_F(DemoHost, ASheetOpenedReadOnlySavesAsItWas) {
  const Execucao e =
      Rodar("--read-only --save-as \"" + Em("copia.zarp") + "\" \"" + Exemplo("ayla.zarp") + "\"");
  EXPECT_EQ(e.status, 0u) << e.saida;
  EXPECT_EQ(Ler(Em("copia.zarp")), Ler(Exemplo("ayla.zarp")));
}

TEST_F(DemoHost, AFileThatIsNotThereIsReported) {
  const Execucao e = Rodar("--save-as \"" + Em("x.zarp") + "\" \"" + Em("nada.zarp") + "\"");
  EXPECT_EQ(e.status, 1u);
  EXPECT_NE(e.saida.find("Cannot open " + Em("nada.zarp")), std::string::npos) << e.saida;
}

}  // namespace

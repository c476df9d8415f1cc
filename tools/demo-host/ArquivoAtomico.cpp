// Atomic replacement: temporary file, flush, MoveFileExW with write-through.
#include "tools/demo-host/ArquivoAtomico.h"

#include <windows.h>

namespace demo {

std::wstring TextoDoErro(unsigned long codigo) {
  wchar_t* texto = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, codigo, 0, reinterpret_cast<wchar_t*>(&texto), 0, nullptr);
  std::wstring t = texto ? texto : L"";
  if (texto) LocalFree(texto);
  while (!t.empty() && (t.back() == L'\n' || t.back() == L'\r' || t.back() == L' ')) t.pop_back();
  if (t.empty()) t = L"error " + std::to_wstring(codigo);
  return t;
}

std::wstring GravarAtomico(const std::wstring& caminho, const std::vector<uint8_t>& bytes) {
  // The folder of the target: the temporary file must be on the same volume to be moved in one
  // step.
  std::wstring pasta = caminho;
  const size_t barra = pasta.find_last_of(L"\\/");
  pasta = barra == std::wstring::npos ? L"." : pasta.substr(0, barra + 1);
  wchar_t temporario[MAX_PATH + 1];
  if (!GetTempFileNameW(pasta.c_str(), L"vel", 0, temporario))
    return L"cannot create a temporary file in " + pasta + L": " + TextoDoErro(GetLastError());

  auto falhar = [&](const wchar_t* passo) {
    const DWORD erro = GetLastError();
    DeleteFileW(temporario);
    return std::wstring(passo) + L": " + TextoDoErro(erro);
  };
  HANDLE h = CreateFileW(temporario, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return falhar(L"cannot write the temporary file");
  size_t feito = 0;
  while (feito < bytes.size()) {
    const DWORD parte = static_cast<DWORD>(std::min<size_t>(bytes.size() - feito, 1u << 20));
    DWORD escritos = 0;
    if (!WriteFile(h, bytes.data() + feito, parte, &escritos, nullptr) || escritos != parte) {
      CloseHandle(h);
      return falhar(L"cannot write the temporary file");
    }
    feito += parte;
  }
  if (!FlushFileBuffers(h)) {
    CloseHandle(h);
    return falhar(L"cannot flush the temporary file to disk");
  }
  if (!CloseHandle(h)) return falhar(L"cannot close the temporary file");
  // A read-only file is never replaced. Windows refuses the move itself; Wine, run by a user
  // the folder lets rename over any file, does not, so the attribute is asked first.
  const DWORD atributos = GetFileAttributesW(caminho.c_str());
  if (atributos != INVALID_FILE_ATTRIBUTES && (atributos & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return falhar(L"cannot replace the file");
  }
  if (!MoveFileExW(temporario, caminho.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return falhar(L"cannot replace the file");
  return {};
}

}  // namespace demo

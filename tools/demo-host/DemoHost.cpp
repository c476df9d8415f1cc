// The demo host: a small Windows program that drives VELSistema.dll the way a host does (load,
// export, central services, activation, a sheet document, loading a stored sheet, the view
// embedded in a host window, the message loop, deactivation, unload) and prints each step.
//
// Usage: demo-host [--dll PATH] [--save FILE] [--screenshot FILE.bmp] [--exit-after-ms N] [SHEET]
//   SHEET               a stored sheet file to load into the document
//   --save FILE         saves the document into FILE when the window closes
//   --screenshot FILE   writes the host window's client area as a 24-bit bitmap before closing
//   --exit-after-ms N   closes the window by itself after N milliseconds (headless runs)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "host/Central.h"
#include "host/Controller.h"
#include "host/Streams.h"
#include "modulo/ZARPModulo.h"
#include "runtime/HostGuard.h"

namespace {

// A failure inside the library arrives as the library's structured exception; a host reports it.
LONG CALLBACK ReportLibraryFailure(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  if (record->ExceptionCode != rt::kHostExceptionCode) return EXCEPTION_CONTINUE_SEARCH;
  const char* message = record->NumberParameters >= 1
                            ? reinterpret_cast<const char*>(record->ExceptionInformation[0])
                            : "";
  std::printf("library failure: %s\n", message);
  std::fflush(stdout);
  ExitProcess(3);
}

struct Options {
  std::string dll = "VELSistema.dll";
  std::string sheet;
  std::string save;
  std::string screenshot;
  unsigned exitAfterMs = 0;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--dll" && hasValue) {
      o.dll = argv[++i];
    } else if (a == "--save" && hasValue) {
      o.save = argv[++i];
    } else if (a == "--screenshot" && hasValue) {
      o.screenshot = argv[++i];
    } else if (a == "--exit-after-ms" && hasValue) {
      o.exitAfterMs = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    } else if (!a.empty() && a[0] != '-' && o.sheet.empty()) {
      o.sheet = a;
    } else {
      std::printf(
          "usage: demo-host [--dll PATH] [--save FILE] [--screenshot FILE.bmp] "
          "[--exit-after-ms N] [SHEET]\n");
      return false;
    }
  }
  return true;
}

// Writes the client area of `window` as it is on the screen (the embedded view included) as a
// bottom-up 24-bit bitmap file.
bool SaveScreenshot(HWND window, const std::string& path) {
  RECT client;
  GetClientRect(window, &client);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up, as bitmap files store rows
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<size_t>(stride) * static_cast<size_t>(height));
  const int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                             reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  if (rows != height) return false;

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  info.biSizeImage = static_cast<DWORD>(pixels.size());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

class DemoHost {
 public:
  explicit DemoHost(Options options) : options_(std::move(options)) {}
  ~DemoHost() { Unload(); }

  bool Load() {
    library_ = LoadLibraryA(options_.dll.c_str());
    if (!library_) {
      std::printf("cannot load %s (error %lu)\n", options_.dll.c_str(), GetLastError());
      return false;
    }
    FARPROC proc = GetProcAddress(library_, "EntryPointZARPModulo");
    entry_ = reinterpret_cast<zarp::EntryPointZARPModuloProc>(reinterpret_cast<void (*)()>(proc));
    std::printf("loaded %s; EntryPointZARPModulo %s\n", options_.dll.c_str(),
                entry_ ? "found" : "missing");
    return entry_ != nullptr;
  }

  bool ObtainModule() {
    zarp::IZARPModulo* modulo = nullptr;
    entry_(&modulo);
    modulo_ = rt::ComPtr<zarp::IZARPModulo>::Adopt(modulo);
    std::printf("module obtained: %s\n", modulo_ ? "yes" : "no");
    return static_cast<bool>(modulo_);
  }

  void Activate() {
    modulo_->SetCentral(central_.Get());
    modulo_->AtivarModulo();
    host::TRegistroPlugins* registro = central_->Registro();
    std::printf("module activated: %d plug-in(s) registered\n", registro->Count("RegistrarPlugin"));
    for (int i = 0; i < registro->PluginCount(); ++i) {
      zarp::IZARPPlugin* plugin = registro->Plugin(i);
      std::printf("  plug-in \"%s\" (%s): %s\n", plugin->ObterNome(), plugin->ObterID(),
                  plugin->ObterDescricao());
    }
  }

  // A document of the first registered plug-in, with the host's controller.
  bool CreateSheet() {
    host::TRegistroPlugins* registro = central_->Registro();
    if (registro->PluginCount() == 0) {
      std::printf("no plug-in to create a sheet with\n");
      return false;
    }
    zarp::IZARPFicha* ficha = nullptr;
    registro->Plugin(0)->CriarFicha(&ficha);
    ficha_ = rt::ComPtr<zarp::IZARPFicha>::Adopt(ficha);
    if (!ficha_) {
      std::printf("the plug-in created no sheet\n");
      return false;
    }
    void* p = nullptr;
    ficha_->QueryInterface(zarp::IZARPFichaVisao::IID, &p);
    visao_ = rt::ComPtr<zarp::IZARPFichaVisao>::Adopt(static_cast<zarp::IZARPFichaVisao*>(p));
    visao_->SetFichaVisaoController(controller_.Get());
    std::printf("sheet created\n");
    return true;
  }

  bool LoadSheet() {
    if (options_.sheet.empty()) return true;
    rt::ComPtr<host::TFileStream> stream;
    try {
      stream = rt::MakeCounted<host::TFileStream>(options_.sheet, host::TFileStream::Mode::Read);
    } catch (const std::exception& e) {
      std::printf("%s\n", e.what());
      return false;
    }
    ficha_->CarregarFicha(stream.Get());
    std::printf("sheet loaded from %s (%lld bytes)\n", options_.sheet.c_str(),
                static_cast<long long>(stream->GetSize()));
    return true;
  }

  // The host window with the sheet's view embedded, until the user (or the timer) closes it.
  void Show() {
    window_ = CreateHostWindow();
    visao_->AcoplarVisao(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window_)));
    std::printf("view embedded; running until the window is closed\n");
    std::fflush(stdout);
    if (options_.exitAfterMs) SetTimer(window_, kTimerClose, options_.exitAfterMs, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    std::printf("window closed; %d change notice(s) from the sheet\n",
                controller_->FichaAlteradaCount());
  }

  void SaveSheet() {
    if (options_.save.empty()) return;
    auto stream =
        rt::MakeCounted<host::TFileStream>(options_.save, host::TFileStream::Mode::Create);
    ficha_->SalvarFicha(stream.Get());
    std::printf("sheet saved to %s (%lld bytes)\n", options_.save.c_str(),
                static_cast<long long>(stream->GetSize()));
  }

  void ReleaseSheet() {
    if (visao_) visao_->LiberarVisao();
    visao_.Reset();
    ficha_.Reset();
    std::printf("sheet released\n");
  }

  void Deactivate() {
    modulo_->DesativarModulo();
    std::printf("module deactivated: %d plug-in(s) unregistered\n",
                central_->Registro()->Count("DesregistrarPlugin"));
    modulo_->SetCentral(nullptr);
  }

  void Unload() {
    central_->Registro()->ReleaseAll();
    modulo_.Reset();
    if (library_) {
      FreeLibrary(library_);
      library_ = nullptr;
      std::printf("library unloaded\n");
    }
  }

 private:
  static constexpr UINT_PTR kTimerClose = 1;

  HWND CreateHostWindow() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"VELDemoHost";
    RegisterClassExW(&wc);
    HWND w = CreateWindowExW(0, L"VELDemoHost", L"VELSistema demo host",
                             WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, 1024,
                             768, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    return w;
  }

  static LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
      SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<DemoHost*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    switch (msg) {
      case WM_TIMER:
        if (wp == kTimerClose && self) {
          KillTimer(w, kTimerClose);
          self->CloseByTimer(w);
        }
        return 0;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      default:
        return DefWindowProcW(w, msg, wp, lp);
    }
  }

  void CloseByTimer(HWND w) {
    if (!options_.screenshot.empty()) {
      RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      std::printf("screenshot %s: %s\n", options_.screenshot.c_str(),
                  SaveScreenshot(w, options_.screenshot) ? "written" : "failed");
    }
    DestroyWindow(w);
  }

  Options options_;
  HMODULE library_ = nullptr;
  zarp::EntryPointZARPModuloProc entry_ = nullptr;
  rt::ComPtr<zarp::IZARPModulo> modulo_;
  rt::ComPtr<host::TCentral> central_ = rt::MakeCounted<host::TCentral>();
  rt::ComPtr<host::TController> controller_ = rt::MakeCounted<host::TController>();
  rt::ComPtr<zarp::IZARPFicha> ficha_;
  rt::ComPtr<zarp::IZARPFichaVisao> visao_;
  HWND window_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return 2;
  AddVectoredExceptionHandler(1, ReportLibraryFailure);
  DemoHost demo(options);
  if (!demo.Load() || !demo.ObtainModule()) return 1;
  demo.Activate();
  if (!demo.CreateSheet() || !demo.LoadSheet()) {
    demo.ReleaseSheet();
    demo.Deactivate();
    return 1;
  }
  demo.Show();
  demo.SaveSheet();
  demo.ReleaseSheet();
  demo.Deactivate();
  demo.Unload();
  return 0;
}

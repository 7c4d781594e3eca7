#include "PluginLibrary.h"

#include <cstdlib>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace hostkit {
namespace {

#if defined(_WIN32)
std::string LastErrorText() {
  const DWORD code = GetLastError();
  char buffer[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      buffer, sizeof buffer, nullptr);
  std::string text(buffer, length);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text.empty() ? "error " + std::to_string(code) : text;
}
#else
std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}
#endif

}  // namespace

std::unique_ptr<PluginLibrary> PluginLibrary::Open(const std::string& path, std::string& error) {
  std::unique_ptr<PluginLibrary> library(new PluginLibrary());
  library->path_ = path;
#if defined(_WIN32)
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    error = "no such file: " + path;
    return nullptr;
  }
  HMODULE module = LoadLibraryA(path.c_str());
  if (!module) {
    error = "cannot load " + path + ": " + LastErrorText();
    return nullptr;
  }
  library->handle_ = module;
  for (const char* name : {"VSTPluginMain", "main"}) {
    // GetProcAddress only looks at this module's own exports.
    if (void* symbol = reinterpret_cast<void*>(GetProcAddress(module, name))) {
      library->entry_ = reinterpret_cast<PluginEntryProc>(symbol);
      library->entryName_ = name;
      break;
    }
  }
#else
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    error = "no such file: " + path;
    return nullptr;
  }
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    error = "cannot load " + path + ": " + (reason ? reason : "unknown error");
    return nullptr;
  }
  library->handle_ = handle;
  const std::string ownFile = RealPath(path);
  for (const char* name : {"VSTPluginMain", "main"}) {
    void* symbol = dlsym(handle, name);
    if (!symbol) continue;
    // dlsym also searches the library's dependencies; a "main" found there,
    // or in this program, is not the plug-in's entry point.
    Dl_info where;
    if (dladdr(symbol, &where) == 0 || !where.dli_fname || RealPath(where.dli_fname) != ownFile) continue;
    library->entry_ = reinterpret_cast<PluginEntryProc>(symbol);
    library->entryName_ = name;
    break;
  }
#endif
  if (!library->entry_) {
    error = path + " is not a VST 2 plug-in: it exports neither VSTPluginMain nor main";
    return nullptr;
  }
  return library;
}

PluginLibrary::~PluginLibrary() {
  if (!handle_) return;
#if defined(_WIN32)
  FreeLibrary(static_cast<HMODULE>(handle_));
#else
  dlclose(handle_);
#endif
}

std::string ExecutableDirectory() {
#if defined(_WIN32)
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return ".\\";
    if (length < buffer.size()) {
      std::string path(buffer.data(), length);
      const size_t slash = path.find_last_of("\\/");
      return slash == std::string::npos ? ".\\" : path.substr(0, slash + 1);
    }
    buffer.resize(buffer.size() * 2);
  }
#else
  char buffer[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return "./";
  std::string path(buffer, static_cast<size_t>(length));
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
#endif
}

std::string DefaultPluginPath() {
#if defined(_WIN32)
  return ExecutableDirectory() + "Ondrel.dll";
#else
  return ExecutableDirectory() + "Ondrel.so";
#endif
}

}  // namespace hostkit

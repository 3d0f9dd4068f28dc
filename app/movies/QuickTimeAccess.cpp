// Loading and unloading of the movie and component libraries, and the version check.
#include "app/movies/QuickTime.h"
#include "app/movies/QuickTimeState.h"

namespace kro {

// Static initialisation: the resolvers stand in both dispatcher fields before main runs.
QuickTimeState gQuickTime;

namespace {

constexpr char kMovieLibraryFile[] = "QTIM32.DLL";
constexpr char kComponentLibraryFile[] = "CMGR32.DLL";
constexpr char kEntryPoint[] = "_EntryPoint";
constexpr DWORD kVersionBlockBytes = 2048;
constexpr DWORD kModulePathBytes = 260;

// GetProcAddress answers a FARPROC; going through void* keeps the cast to another
// function type explicit (and quiet under -Wcast-function-type).
template <typename Function>
Function ProcAs(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

int32_t CallMovieLibrary(uint16_t selector) {
  const uintptr_t none[1] = {};
  return gQuickTime.movieDispatcher(selector, none);
}

// Step 2 of QTInitialize: 0, or 1/2 on failure with the resolver back in place.
int32_t LoadMovieLibrary() {
  QuickTimeState& s = gQuickTime;
  if (!s.movieLibrary) {
    s.movieLibrary = LoadLibraryA(kMovieLibraryFile);
    if (!s.movieLibrary) {
      s.movieDispatcher = MovieLibraryResolver;
      return 1;
    }
    const auto entry = ProcAs<qt::QtDispatcher>(s.movieLibrary, kEntryPoint);
    if (!entry) {
      // Unloaded, not just forgotten: a library we will never call should not stay mapped.
      s.movieDispatcher = MovieLibraryResolver;
      FreeLibrary(s.movieLibrary);
      s.movieLibrary = nullptr;
      return 2;
    }
    s.movieDispatcher = entry;
  }
  ++s.movieUsers;
  return 0;
}

// Step 4: the component library must also initialise itself.
int32_t LoadComponentLibrary() {
  QuickTimeState& s = gQuickTime;
  if (!s.componentLibrary) {
    s.componentLibrary = LoadLibraryA(kComponentLibraryFile);
    if (!s.componentLibrary) {
      s.componentDispatcher = ComponentLibraryResolver;
      return 1;
    }
    const auto entry = ProcAs<qt::QtDispatcher>(s.componentLibrary, kEntryPoint);
    const auto initialize = ProcAs<int32_t (*)()>(s.componentLibrary, "_CMgrInitialize");
    if (!entry || !initialize || initialize() != 0) {
      s.componentDispatcher = ComponentLibraryResolver;
      FreeLibrary(s.componentLibrary);
      s.componentLibrary = nullptr;
      return 2;
    }
    s.componentDispatcher = entry;
  }
  ++s.componentUsers;
  return 0;
}

void ReleaseComponentLibrary() {
  QuickTimeState& s = gQuickTime;
  if (s.componentUsers <= 0 || --s.componentUsers > 0) return;
  if (const auto terminate = ProcAs<void (*)()>(s.componentLibrary, "_CMgrTerminate")) terminate();
  FreeLibrary(s.componentLibrary);
  s.componentLibrary = nullptr;
  s.componentDispatcher = ComponentLibraryResolver;
}

bool RunningOnNt() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

void ReleaseMovieLibrary() {
  QuickTimeState& s = gQuickTime;
  if (s.movieUsers <= 0 || --s.movieUsers > 0) return;
  CallMovieLibrary(qt::kSelLibraryDetach);
  // On the older platforms the library stays mapped until the process ends: unloading
  // it there could pull code from under callbacks it left installed.
  if (RunningOnNt()) FreeLibrary(s.movieLibrary);
  s.movieLibrary = nullptr;
  s.movieDispatcher = MovieLibraryResolver;
}

// Restores the process error mode on every return path of QTInitialize.
class ErrorModeScope {
public:
  ErrorModeScope() : previous_(SetErrorMode(SEM_NOOPENFILEERRORBOX)) {}
  ~ErrorModeScope() { SetErrorMode(previous_); }
  ErrorModeScope(const ErrorModeScope&) = delete;
  ErrorModeScope& operator=(const ErrorModeScope&) = delete;

private:
  UINT previous_;
};

}  // namespace

int32_t FoldVersion(DWORD productVersionMs, DWORD productVersionLs) {
  const int32_t major = HIWORD(productVersionMs), minor = LOWORD(productVersionMs);
  const int32_t release = HIWORD(productVersionLs), build = LOWORD(productVersionLs);
  return (major * 16 + minor * 10 + release) * 256 + build;
}

int32_t ReadMovieLibraryVersion(HMODULE movieLibrary) {
  const HMODULE versionDll = LoadLibraryA("version.dll");
  if (!versionDll) return 0;
  using SizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
  using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
  const auto getSize = ProcAs<SizeFn>(versionDll, "GetFileVersionInfoSizeA");
  const auto getInfo = ProcAs<InfoFn>(versionDll, "GetFileVersionInfoA");
  const auto query = ProcAs<QueryFn>(versionDll, "VerQueryValueA");
  char path[kModulePathBytes];
  int32_t version = 0;
  if (getSize && getInfo && query && GetModuleFileNameA(movieLibrary, path, sizeof path) != 0) {
    DWORD ignored = 0;
    const DWORD size = getSize(path, &ignored);
    // A block larger than the buffer is reported as unreadable rather than read past it.
    alignas(8) BYTE block[kVersionBlockBytes];
    void* fixed = nullptr;
    UINT fixedBytes = 0;
    if (size != 0 && size <= sizeof block && getInfo(path, 0, sizeof block, block) &&
        query(block, "\\", &fixed, &fixedBytes) && fixed && fixedBytes >= sizeof(VS_FIXEDFILEINFO)) {
      const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
      version = FoldVersion(info->dwProductVersionMS, info->dwProductVersionLS);
    }
  }
  FreeLibrary(versionDll);
  return version;
}

int32_t QTInitialize(int32_t* version) {
  gQuickTime.loadAttempted = true;
  ErrorModeScope errorMode;
  if (const int32_t failure = LoadMovieLibrary()) return failure;
  if (const int32_t failure = LoadComponentLibrary()) {
    ReleaseMovieLibrary();
    return failure;
  }
  if (version) *version = ReadMovieLibraryVersion(gQuickTime.movieLibrary);
  if (gQuickTime.movieUsers == 1) CallMovieLibrary(qt::kSelLibraryAttach);
  return 0;
}

void QTTerminate() {
  ReleaseComponentLibrary();
  ReleaseMovieLibrary();
}

int32_t MovieLibraryResolver(uint32_t selector, const uintptr_t* args) {
  if (gQuickTime.loadAttempted) return qt::kNotLoaded;
  QTInitialize(nullptr);
  return gQuickTime.movieDispatcher(selector, args);
}

int32_t ComponentLibraryResolver(uint32_t selector, const uintptr_t* args) {
  if (gQuickTime.loadAttempted) return qt::kNotLoaded;
  QTInitialize(nullptr);
  return gQuickTime.componentDispatcher(selector, args);
}

}  // namespace kro

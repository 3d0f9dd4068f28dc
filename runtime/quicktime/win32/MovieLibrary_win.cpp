// QTIM32.DLL: the movie library's dispatcher. Each selector unpacks its argument words
// (runtime/quicktime/QtDispatch.h), works on objects owned by the handle tables below and
// answers a 32-bit result; the last failure is kept for the last-error selector.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "runtime/base/HandleTable.h"
#include "runtime/quicktime/QtDispatch.h"
#include "runtime/quicktime/core/PictureFormat.h"
#include "runtime/quicktime/win32/Controller_win.h"
#include "runtime/quicktime/win32/FileSource_win.h"
#include "runtime/quicktime/win32/Movie_win.h"
#include "runtime/quicktime/win32/Wic_win.h"

namespace kro::qt {
namespace {

// Picture files are read whole when opened; pictures larger than this are not pictures
// the programs show.
constexpr uint64_t kMaxPictureFileBytes = 64u << 20;

struct MovieFile {
  UniqueFile file;
};

struct PictureFile {
  std::vector<uint8_t> bytes;
};

struct Picture {
  Bitmap bitmap;
  PictureFormat format;
  uint32_t dataSize;
};

// Everything the library owns. Made on first use and emptied by ExitMovies and on detach,
// but kept: its tables go on counting, so a handle from before ExitMovies is refused after
// the next EnterMovies instead of naming the object that took its number.
struct Library {
  Wic wic;  // destroyed last: it leaves COM as it found it
  HandleTable<Movie> movies{0x4D};           // 'M'
  // Destroyed before the movies: a controller stops its movie when it goes.
  HandleTable<Controller> controllers{0x43}; // 'C'
  HandleTable<MovieFile> movieFiles{0x46};   // 'F'
  HandleTable<PictureFile> pictureFiles{0x50}; // 'P'
  HandleTable<Picture> pictures{0x49};       // 'I'
  int32_t lastError = kErrNone;

  void Empty() {
    pictures.Clear();
    pictureFiles.Clear();
    movieFiles.Clear();
    controllers.Clear();
    movies.Clear();
    wic.Release();
    lastError = kErrNone;
  }
};

std::unique_ptr<Library> gLibrary;

Library& Lib() {
  if (!gLibrary) gLibrary = std::make_unique<Library>();
  return *gLibrary;
}

// Records the outcome of an operation for the last-error selector and answers it.
int32_t Outcome(int32_t error) {
  Lib().lastError = error;
  return error;
}

template <typename T>
T* Arg(const uintptr_t* args, int index) { return reinterpret_cast<T*>(args[index]); }
uint32_t Handle(const uintptr_t* args, int index) { return static_cast<uint32_t>(args[index]); }

template <typename T>
void Store(T* out, T value) {
  if (out) *out = value;
}

int32_t OpenMovieFile(const uintptr_t* args) {
  auto* out = Arg<MovieFileHandle>(args, 1);
  Store<MovieFileHandle>(out, 0);
  const char* path = Arg<const char>(args, 0);
  if (!path || !out) return Outcome(kErrBadParameter);
  UniqueFile file = OpenForReading(path);
  if (!file) return Outcome(kErrFileNotFound);
  *out = Lib().movieFiles.Add(std::make_unique<MovieFile>(MovieFile{std::move(file)}));
  return Outcome(kErrNone);
}

int32_t NewMovieFromFile(const uintptr_t* args) {
  auto* out = Arg<MovieHandle>(args, 0);
  Store<MovieHandle>(out, 0);
  const MovieFile* file = Lib().movieFiles.Find(Handle(args, 1));
  if (!out || !file) return Outcome(out ? kErrBadHandle : kErrBadParameter);
  UniqueFile own = DuplicateFile(file->file);
  if (!own) return Outcome(kErrReadFailed);
  int32_t error = kErrNone;
  std::unique_ptr<Movie> movie = Movie::Open(std::move(own), &error);
  if (!movie) return Outcome(error);
  *out = Lib().movies.Add(std::move(movie));
  return Outcome(kErrNone);
}

int32_t CloseMovieFile(const uintptr_t* args) {
  return Outcome(Lib().movieFiles.Take(Handle(args, 0)) ? kErrNone : kErrBadHandle);
}

int32_t DisposeMovie(const uintptr_t* args) {
  std::unique_ptr<Movie> movie = Lib().movies.Take(Handle(args, 0));
  if (movie) movie->Stop();
  return Outcome(movie ? kErrNone : kErrBadHandle);
}

Movie* FindMovie(const uintptr_t* args) {
  Movie* movie = Lib().movies.Find(Handle(args, 0));
  Outcome(movie ? kErrNone : kErrBadHandle);
  return movie;
}

int32_t GetMovieBox(const uintptr_t* args) {
  RECT* box = Arg<RECT>(args, 1);
  const Movie* movie = FindMovie(args);
  if (box) *box = movie ? RECT{0, 0, movie->Width(), movie->Height()} : RECT{};
  return Lib().lastError;
}

int32_t GetMovieTime(const uintptr_t* args) {
  const Movie* movie = FindMovie(args);
  const uint32_t time = movie ? movie->Time() : 0;
  if (auto* record = Arg<TimeRecord>(args, 1))
    *record = {time, 0, movie ? movie->TimeScale() : 0, 0};
  return static_cast<int32_t>(time);
}

int32_t MovieValue(const uintptr_t* args, uint32_t (Movie::*value)() const) {
  const Movie* movie = FindMovie(args);
  return movie ? static_cast<int32_t>((movie->*value)()) : 0;
}

int32_t PrerollMovie(const uintptr_t* args) {
  Movie* movie = FindMovie(args);
  if (movie) movie->FrameAt(movie->Time(), Lib().wic);  // the first frame ready before play
  return Lib().lastError;
}

// Movies here are always active: the programs activate every movie they open.
int32_t SetMovieActive(const uintptr_t* args) {
  FindMovie(args);
  return Lib().lastError;
}

int32_t NewMovieController(const uintptr_t* args) {
  const MovieHandle movie = Handle(args, 0);
  const RECT* rect = Arg<const RECT>(args, 1);
  const HWND window = Arg<HWND__>(args, 3);
  if (!Lib().movies.Find(movie) || !rect || !IsWindow(window)) {
    Outcome(rect && IsWindow(window) ? kErrBadHandle : kErrBadParameter);
    return 0;
  }
  auto lookup = [](MovieHandle handle) { return gLibrary ? gLibrary->movies.Find(handle) : nullptr; };
  Outcome(kErrNone);
  return static_cast<int32_t>(Lib().controllers.Add(std::make_unique<Controller>(
      movie, *rect, static_cast<uint32_t>(args[2]), window, lookup, Lib().wic)));
}

int32_t DisposeMovieController(const uintptr_t* args) {
  return Outcome(Lib().controllers.Take(Handle(args, 0)) ? kErrNone : kErrBadHandle);
}

int32_t OpenPictureFile(const uintptr_t* args) {
  auto* out = Arg<PictureFileHandle>(args, 1);
  Store<PictureFileHandle>(out, 0);
  const char* path = Arg<const char>(args, 0);
  if (!path || !out) return Outcome(kErrBadParameter);
  UniqueFile file = OpenForReading(path);
  if (!file) return Outcome(kErrFileNotFound);
  FileSource source(std::move(file));
  if (source.Size() > kMaxPictureFileBytes) return Outcome(kErrBadPicture);
  auto picture = std::make_unique<PictureFile>();
  picture->bytes.resize(size_t(source.Size()));
  if (!source.Read(0, picture->bytes)) return Outcome(kErrReadFailed);
  *out = Lib().pictureFiles.Add(std::move(picture));
  return Outcome(kErrNone);
}

int32_t GetPictureFromFile(const uintptr_t* args) {
  const PictureFile* file = Lib().pictureFiles.Find(Handle(args, 0));
  const PictureSniff sniff = file ? SniffPicture(file->bytes).value_or({}) : PictureSniff{};
  if (sniff.format == PictureFormat::Unknown) {
    Outcome(file ? kErrBadPicture : kErrBadHandle);
    return 0;
  }
  auto picture = std::make_unique<Picture>();
  picture->format = sniff.format;
  picture->dataSize = static_cast<uint32_t>(file->bytes.size() - sniff.offset);
  if (!Lib().wic.Decode(std::span(file->bytes).subspan(sniff.offset), &picture->bitmap)) {
    Outcome(kErrDecodeFailed);
    return 0;
  }
  Outcome(kErrNone);
  return static_cast<int32_t>(Lib().pictures.Add(std::move(picture)));
}

int32_t GetPictureInfo(const uintptr_t* args) {
  const Picture* picture = Lib().pictures.Find(Handle(args, 0));
  auto* info = Arg<PictureInfo>(args, 1);
  if (!picture || !info) return Outcome(info ? kErrBadHandle : kErrBadParameter);
  *info = {};
  info->recordSize = sizeof(PictureInfo);
  info->format = PictureFormatCode(picture->format);
  info->dataSize = picture->dataSize;
  info->width = static_cast<uint16_t>(std::min(picture->bitmap.width, 0xFFFF));
  info->height = static_cast<uint16_t>(std::min(picture->bitmap.height, 0xFFFF));
  info->depth = 32;
  return Outcome(kErrNone);
}

int32_t DrawPicture(const uintptr_t* args) {
  const HDC dc = Arg<HDC__>(args, 0);
  const Picture* picture = Lib().pictures.Find(Handle(args, 1));
  const RECT* target = Arg<const RECT>(args, 2);
  if (!picture) return Outcome(kErrBadHandle);
  if (!dc || !target) return Outcome(kErrBadParameter);
  DrawBitmap(dc, picture->bitmap, *target);
  return Outcome(kErrNone);
}

int32_t ReleasePicture(const uintptr_t* args) {
  return Outcome(Lib().pictures.Take(Handle(args, 0)) ? kErrNone : kErrBadHandle);
}

int32_t ClosePictureFile(const uintptr_t* args) {
  return Outcome(Lib().pictureFiles.Take(Handle(args, 0)) ? kErrNone : kErrBadHandle);
}

// Movie-controller calls arrive through the component library as group 1.
int32_t ControllerEntry(uint32_t operation, const uintptr_t* args) {
  Controller* controller = gLibrary ? gLibrary->controllers.Find(Handle(args, 0)) : nullptr;
  switch (operation) {
    case kSelMCDoAction:
      return controller ? controller->DoAction(static_cast<int32_t>(args[1]), args[2]) : kErrBadHandle;
    case kSelMCGetControllerBoundsRect:
      if (!controller || !args[1]) return controller ? kErrBadParameter : kErrBadHandle;
      *Arg<RECT>(args, 1) = controller->Bounds();
      return kErrNone;
    case kSelMCIsPlayerEvent:
      // Anything non-zero means "consumed", so an unknown controller consumes nothing.
      return controller && controller->IsPlayerEvent(Arg<HWND__>(args, 1), static_cast<UINT>(args[2]),
                                                     static_cast<WPARAM>(args[3]),
                                                     static_cast<LPARAM>(args[4]));
    default:
      return kErrBadSelector;
  }
}

int32_t SafeControllerEntry(uint32_t operation, const uintptr_t* args) {
  try {
    return ControllerEntry(operation, args);
  } catch (const std::bad_alloc&) {
    return kErrNoMemory;
  }
}

template <typename Function>
Function ComponentExport(const char* name) {
  const HMODULE components = GetModuleHandleA("CMGR32.DLL");
  return components ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(components, name)))
                    : nullptr;
}

int32_t Attach() {
  using Register = int32_t (*)(uint32_t, QtDispatcher);
  if (const auto registerComponent = ComponentExport<Register>("_CMgrRegisterComponent"))
    registerComponent(kControllerGroup, SafeControllerEntry);
  return Outcome(kErrNone);
}

int32_t ExitMovies() {
  if (gLibrary) gLibrary->Empty();
  return kErrNone;
}

int32_t Detach() {
  using Unregister = void (*)(uint32_t);
  if (const auto unregister = ComponentExport<Unregister>("_CMgrUnregisterComponent"))
    unregister(kControllerGroup);
  return ExitMovies();
}

int32_t Dispatch(uint32_t selector, const uintptr_t* args) {
  switch (selector) {
    case kSelCloseMovieFile: return CloseMovieFile(args);
    case kSelClosePictureFile: return ClosePictureFile(args);
    case kSelDisposeMovie: return DisposeMovie(args);
    case kSelReleasePicture: return ReleasePicture(args);
    case kSelDrawPicture: return DrawPicture(args);
    case kSelEnterMovies: return Outcome(kErrNone);
    case kSelExitMovies: return ExitMovies();
    case kSelGetMovieBox: return GetMovieBox(args);
    case kSelGetMovieDuration: return MovieValue(args, &Movie::Duration);
    case kSelGetMovieTimePoint: return MovieValue(args, &Movie::PosterTime);
    case kSelGetMovieTimeScale: return MovieValue(args, &Movie::TimeScale);
    case kSelGetPictureFromFile: return GetPictureFromFile(args);
    case kSelGetPictureInfo: return GetPictureInfo(args);
    case kSelNewMovieFromFile: return NewMovieFromFile(args);
    case kSelOpenMovieFile: return OpenMovieFile(args);
    case kSelOpenPictureFile: return OpenPictureFile(args);
    case kSelPrerollMovie: return PrerollMovie(args);
    case kSelSetMovieActive: return SetMovieActive(args);
    case kSelGetMovieTime: return GetMovieTime(args);
    case kSelDisposeMovieController: return DisposeMovieController(args);
    case kSelNewMovieController: return NewMovieController(args);
    case kSelLibraryAttach: return Attach();
    case kSelLibraryDetach: return Detach();
    case kSelLastError: return gLibrary ? gLibrary->lastError : kErrNone;
    default: return Outcome(kErrBadSelector);
  }
}

}  // namespace
}  // namespace kro::qt

// No exception crosses the library boundary.
extern "C" int32_t EntryPoint(uint32_t selector, const uintptr_t* args) {
  if (!args) return kro::qt::kErrBadParameter;
  try {
    return kro::qt::Dispatch(selector, args);
  } catch (const std::bad_alloc&) {
    return kro::qt::Outcome(kro::qt::kErrNoMemory);
  }
}

// One stub per operation: the arguments become pointer-sized words in the caller's order
// and go, with the operation's selector, to whatever stands in the dispatcher field.
#include <initializer_list>

#include "app/movies/QuickTime.h"
#include "app/movies/QuickTimeState.h"

namespace kro {
namespace {

// Data pointers, and window and DC handles, which are pointers too.
template <typename T>
uintptr_t Word(T* pointer) { return reinterpret_cast<uintptr_t>(pointer); }
uintptr_t Word(int32_t value) { return static_cast<uintptr_t>(static_cast<intptr_t>(value)); }
uintptr_t Word(uint32_t value) { return value; }

// The dispatcher always gets at least one word, so an operation without arguments still
// passes a valid pointer.
int32_t Movies(uint16_t selector, std::initializer_list<uintptr_t> args = {0}) {
  return gQuickTime.movieDispatcher(selector, args.begin());
}

int32_t Controllers(uint16_t operation, std::initializer_list<uintptr_t> args) {
  return gQuickTime.componentDispatcher(qt::ComponentSelector(qt::kControllerGroup, operation),
                                        args.begin());
}

}  // namespace

int32_t CloseMovieFile(MovieFileHandle file) { return Movies(qt::kSelCloseMovieFile, {Word(file)}); }

int32_t ClosePictureFile(PictureFileHandle file) {
  return Movies(qt::kSelClosePictureFile, {Word(file)});
}

void DisposeMovie(MovieHandle movie) { Movies(qt::kSelDisposeMovie, {Word(movie)}); }

void ReleasePicture(PictureHandle picture) { Movies(qt::kSelReleasePicture, {Word(picture)}); }

int32_t DrawPicture(HDC dc, PictureHandle picture, const RECT* target, const void* progress) {
  return Movies(qt::kSelDrawPicture, {Word(dc), Word(picture), Word(target), Word(progress)});
}

int32_t EnterMovies() { return Movies(qt::kSelEnterMovies); }

int32_t ExitMovies() { return Movies(qt::kSelExitMovies); }

void GetMovieBox(MovieHandle movie, RECT* box) { Movies(qt::kSelGetMovieBox, {Word(movie), Word(box)}); }

uint32_t GetMovieDuration(MovieHandle movie) {
  return static_cast<uint32_t>(Movies(qt::kSelGetMovieDuration, {Word(movie)}));
}

uint32_t GetMovieTimePoint(MovieHandle movie) {
  return static_cast<uint32_t>(Movies(qt::kSelGetMovieTimePoint, {Word(movie)}));
}

uint32_t GetMovieTimeScale(MovieHandle movie) {
  return static_cast<uint32_t>(Movies(qt::kSelGetMovieTimeScale, {Word(movie)}));
}

PictureHandle GetPictureFromFile(PictureFileHandle file) {
  return static_cast<PictureHandle>(Movies(qt::kSelGetPictureFromFile, {Word(file)}));
}

int32_t GetPictureInfo(PictureHandle picture, qt::PictureInfo* info) {
  return Movies(qt::kSelGetPictureInfo, {Word(picture), Word(info)});
}

int32_t NewMovieFromFile(MovieHandle* movie, MovieFileHandle file, int32_t reserved1,
                         int32_t reserved2, int32_t reserved3, int32_t reserved4) {
  return Movies(qt::kSelNewMovieFromFile, {Word(movie), Word(file), Word(reserved1), Word(reserved2),
                                           Word(reserved3), Word(reserved4)});
}

int32_t OpenMovieFile(const char* path, MovieFileHandle* file, int32_t permission) {
  return Movies(qt::kSelOpenMovieFile, {Word(path), Word(file), Word(permission)});
}

int32_t OpenPictureFile(const char* path, PictureFileHandle* file, int32_t permission) {
  return Movies(qt::kSelOpenPictureFile, {Word(path), Word(file), Word(permission)});
}

int32_t PrerollMovie(MovieHandle movie, uint32_t time, int32_t rate) {
  return Movies(qt::kSelPrerollMovie, {Word(movie), Word(time), Word(rate)});
}

void SetMovieActive(MovieHandle movie, int32_t active) {
  Movies(qt::kSelSetMovieActive, {Word(movie), Word(active)});
}

uint32_t GetMovieTime(MovieHandle movie, qt::TimeRecord* time) {
  return static_cast<uint32_t>(Movies(qt::kSelGetMovieTime, {Word(movie), Word(time)}));
}

void DisposeMovieController(ControllerHandle controller) {
  Movies(qt::kSelDisposeMovieController, {Word(controller)});
}

ControllerHandle NewMovieController(MovieHandle movie, const RECT* movieRect, uint32_t flags,
                                    HWND window) {
  return static_cast<ControllerHandle>(
      Movies(qt::kSelNewMovieController, {Word(movie), Word(movieRect), Word(flags), Word(window)}));
}

int32_t GetMoviesLastError() { return Movies(qt::kSelLastError); }

int32_t MCDoAction(ControllerHandle controller, int32_t action, int32_t value) {
  return Controllers(qt::kSelMCDoAction, {Word(controller), Word(action), Word(value)});
}

int32_t MCDoAction(ControllerHandle controller, int32_t action, const void* parameter) {
  return Controllers(qt::kSelMCDoAction, {Word(controller), Word(action), Word(parameter)});
}

int32_t MCGetControllerBoundsRect(ControllerHandle controller, RECT* bounds) {
  return Controllers(qt::kSelMCGetControllerBoundsRect, {Word(controller), Word(bounds)});
}

int32_t MCIsPlayerEvent(ControllerHandle controller, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) {
  return Controllers(qt::kSelMCIsPlayerEvent,
                     {Word(controller), Word(window), Word(uint32_t{message}),
                      static_cast<uintptr_t>(wParam), static_cast<uintptr_t>(lParam)});
}

}  // namespace kro

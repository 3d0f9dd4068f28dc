#pragma once
// The programs' access layer to the movie and picture service (QTIM32.DLL, CMGR32.DLL).
// Nothing is linked at build time: the libraries are loaded on demand, each operation is
// handed to the library's dispatcher with its selector (runtime/quicktime/QtDispatch.h),
// and they are unloaded at exit. After a failed load every operation answers kNotLoaded.
#include <windows.h>

#include <cstdint>

#include "runtime/quicktime/QtDispatch.h"

namespace kro {

using qt::ControllerHandle;
using qt::MovieFileHandle;
using qt::MovieHandle;
using qt::PictureFileHandle;
using qt::PictureHandle;

// 0 loaded; 1 a library file cannot be loaded; 2 a library lacks its entry points or
// refuses to initialise. `version` (may be null) receives the folded version number.
int32_t QTInitialize(int32_t* version);
void QTTerminate();

// Start-up as both programs run it: the qtw.ini entry, loading, and the version messages.
// False when the program must end (through its shutdown path, QTShutDown included).
using QtMessageBoxFn = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
extern const char kQtLoadFailurePlayer[];
extern const char kQtLoadFailureArchive[];
bool QTStartUp(const char* loadFailureText, QtMessageBoxFn messageBox = MessageBoxA);
// ExitMovies, then QTTerminate: every exit path of the start-up code.
void QTShutDown();

// Movie library operations.
int32_t CloseMovieFile(MovieFileHandle file);
int32_t ClosePictureFile(PictureFileHandle file);
void DisposeMovie(MovieHandle movie);
void ReleasePicture(PictureHandle picture);
int32_t DrawPicture(HDC dc, PictureHandle picture, const RECT* target, const void* progress);
int32_t EnterMovies();
int32_t ExitMovies();
void GetMovieBox(MovieHandle movie, RECT* box);
uint32_t GetMovieDuration(MovieHandle movie);
uint32_t GetMovieTimePoint(MovieHandle movie);
uint32_t GetMovieTimeScale(MovieHandle movie);
PictureHandle GetPictureFromFile(PictureFileHandle file);
int32_t GetPictureInfo(PictureHandle picture, qt::PictureInfo* info);
int32_t NewMovieFromFile(MovieHandle* movie, MovieFileHandle file, int32_t reserved1,
                         int32_t reserved2, int32_t reserved3, int32_t reserved4);
int32_t OpenMovieFile(const char* path, MovieFileHandle* file, int32_t permission);
int32_t OpenPictureFile(const char* path, PictureFileHandle* file, int32_t permission);
int32_t PrerollMovie(MovieHandle movie, uint32_t time, int32_t rate);
void SetMovieActive(MovieHandle movie, int32_t active);
uint32_t GetMovieTime(MovieHandle movie, qt::TimeRecord* time);
void DisposeMovieController(ControllerHandle controller);
ControllerHandle NewMovieController(MovieHandle movie, const RECT* movieRect, uint32_t flags,
                                    HWND window);
int32_t GetMoviesLastError();

// Movie controller operations (component group 1).
int32_t MCDoAction(ControllerHandle controller, int32_t action, int32_t value);
int32_t MCDoAction(ControllerHandle controller, int32_t action, const void* parameter);
int32_t MCGetControllerBoundsRect(ControllerHandle controller, RECT* bounds);
int32_t MCIsPlayerEvent(ControllerHandle controller, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam);

}  // namespace kro

#pragma once
// The calling convention between the programs' access layer and the movie and picture
// service (QTIM32.DLL, the movie library, and CMGR32.DLL, the component library).
//
// Each library exports one dispatcher under the name "_EntryPoint":
//
//   int32_t _EntryPoint(uint32_t selector, const uintptr_t* args)   (C calling convention)
//
// - Movie library: selector is the operation number below (0..102).
// - Component library: selector is (group << 16) | operation; group 1 is the movie
//   controllers, whose operations are numbered 0..23.
// - args points at the operation's arguments in the caller's order, one pointer-sized word
//   each: pointers as they are, handles and unsigned numbers zero-extended, signed numbers
//   sign-extended. It is never null: an operation without arguments gets one spare word.
// - The result is the operation's 32-bit result (an error code, a handle, a time value).
//
// The component library also exports:
//   int32_t _CMgrInitialize(void)      0 when the library is ready
//   void    _CMgrTerminate(void)
//   int32_t _CMgrRegisterComponent(uint32_t group, QtDispatcher dispatcher)
//   void    _CMgrUnregisterComponent(uint32_t group)
// The movie library registers its controller dispatcher as group 1 when it attaches
// (selector 57) and withdraws it when it detaches (selector 58).
//
// Movie files, movies, controllers, picture files and pictures are opaque 32-bit handles;
// 0 is never a valid handle. This header is portable so the parser tests can share it.
#include <cstddef>
#include <cstdint>

namespace kro::qt {

using QtDispatcher = int32_t (*)(uint32_t selector, const uintptr_t* args);

using MovieFileHandle = uint32_t;
using MovieHandle = uint32_t;
using ControllerHandle = uint32_t;
using PictureFileHandle = uint32_t;
using PictureHandle = uint32_t;

// Movie library operations.
enum MovieSelector : uint16_t {
  kSelCloseMovieFile = 2,
  kSelClosePictureFile = 3,
  kSelDisposeMovie = 7,
  kSelReleasePicture = 8,
  kSelDrawPicture = 9,
  kSelEnterMovies = 11,
  kSelExitMovies = 12,
  kSelGetMovieBox = 15,
  kSelGetMovieDuration = 18,
  kSelGetMovieTimePoint = 22,
  kSelGetMovieTimeScale = 28,
  kSelGetPictureFromFile = 33,
  kSelGetPictureInfo = 34,
  kSelNewMovieFromFile = 42,
  kSelOpenMovieFile = 44,
  kSelOpenPictureFile = 45,
  kSelPrerollMovie = 47,
  kSelSetMovieActive = 49,
  kSelGetMovieTime = 54,
  kSelDisposeMovieController = 55,
  kSelNewMovieController = 56,
  kSelLibraryAttach = 57,
  kSelLibraryDetach = 58,
  kSelLastError = 94,
};
constexpr uint16_t kMovieSelectorCount = 103;

// Component groups and the movie controller operations of group 1.
constexpr uint32_t kControllerGroup = 1;
enum ControllerSelector : uint16_t {
  kSelMCDoAction = 1,
  kSelMCGetControllerBoundsRect = 4,
  kSelMCIsPlayerEvent = 11,
};
constexpr uint16_t kControllerSelectorCount = 24;
constexpr uint32_t ComponentSelector(uint32_t group, uint16_t operation) {
  return group << 16 | operation;
}

// MCDoAction action numbers.
enum ControllerAction : int32_t {
  kActionPlay = 8,          // parameter: 16.16 rate; 0 stops, 65536 plays forward
  kActionGoToTime = 12,     // parameter: const TimeRecord*
  kActionPrepare = 21,      // parameter 0; accepted, nothing to do
  kActionSetGrowBounds = 25,// parameter: RECT*; accepted, nothing read back
  kActionKeysEnabled = 32,  // parameter: 1 = Space toggles play
};

// NewMovieController flags.
enum ControllerFlags : uint32_t {
  kFlagTopLeftMovie = 1,    // the movie sits at the rectangle's top left
  kFlagScaleToFit = 2,      // the movie is stretched to the rectangle given
  kFlagBarHidden = 8,       // no controller bar
};

constexpr int32_t kFixedOne = 65536;  // 16.16 rate 1.0

// A time value with its scale. The programs fill valueLow and scale only.
struct TimeRecord {
  uint32_t valueLow;
  uint32_t valueHigh;
  uint32_t scale;
  uint32_t base;
};
static_assert(sizeof(TimeRecord) == 16);

// Filled by the picture information operation. The programs read width and height, which
// sit at bytes 32 and 34.
struct PictureInfo {
  uint32_t recordSize;      // sizeof(PictureInfo)
  uint32_t format;          // four-character code: 'jpeg', 'png ', 'bmp ', 'gif '
  uint32_t reserved[5];
  uint32_t dataSize;        // bytes of the encoded picture
  uint16_t width;           // byte 32
  uint16_t height;          // byte 34
  uint16_t depth;           // bits per pixel delivered (32)
  uint16_t reserved2;
};
static_assert(sizeof(PictureInfo) == 40);
static_assert(offsetof(PictureInfo, width) == 32 && offsetof(PictureInfo, height) == 34);

// Error codes (negative, 32-bit). 0 is success.
enum QtError : int32_t {
  kErrNone = 0,
  kErrBadParameter = -50,
  kErrFileNotFound = -43,
  kErrReadFailed = -36,
  kErrNoMemory = -108,
  kErrBadHandle = -2010,
  kErrBadMovie = -2048,
  kErrUnsupported = -2050,
  kErrBadPicture = -2060,
  kErrDecodeFailed = -2061,
  kErrBadSelector = -2100,
  kErrNoComponent = -2101,
  kErrNotInitialized = -2102,
};

// What every operation answers once the access layer has given up loading the libraries.
constexpr int32_t kNotLoaded = static_cast<int32_t>(0x80008001u);

}  // namespace kro::qt

// The start-up and shutdown steps both programs run around the movie service.
#include "app/movies/QuickTime.h"

namespace kro {

const char kQtLoadFailurePlayer[] =
    "Невозможно загрузить QuickTime!  Установите QuickTime for Windows версии  2.11.57.";
const char kQtLoadFailureArchive[] =
    "Невозможно загрузить QuickTime!  Установите QuickTime for Windows версии 2.01.";

namespace {

constexpr int32_t kLowestVersion = 4096;         // 1.0.0 build 0
constexpr int32_t kRecommendedVersion = 11065;   // 2.1.1 build 57

constexpr char kErrorCaption[] = "Ошибка";
constexpr char kWarningCaption[] = "Предупреждение";
constexpr char kInvalidVersion[] =
    "Недопустимая версия QuickTime! Установите QuickTime for Windows версии 2.11.57";
constexpr char kOlderVersion[] =
    "Установленная версия QuickTime for Windows не соответствует используемой программой!  "
    "Рекомендуем установить QuickTime for Windows версии 2.11.57";

}  // namespace

bool QTStartUp(const char* loadFailureText, QtMessageBoxFn messageBox) {
  // The service's own settings file gets this entry on every start, before loading.
  WritePrivateProfileStringA("Sound 32", "DisableAutoRateAdjust", "1", "qtw.ini");
  int32_t version = 0;
  if (QTInitialize(&version) != 0) {
    messageBox(nullptr, loadFailureText, kErrorCaption, MB_ICONHAND);
    return false;
  }
  // An unreadable version counts as 0 and stops here too.
  if (version < kLowestVersion) {
    messageBox(nullptr, kInvalidVersion, kErrorCaption, MB_ICONHAND);
    return false;
  }
  if (version < kRecommendedVersion) messageBox(nullptr, kOlderVersion, kWarningCaption, MB_ICONHAND);
  return true;
}

void QTShutDown() {
  ExitMovies();
  QTTerminate();
}

}  // namespace kro

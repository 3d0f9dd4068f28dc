#include "app/shell/SingleInstance_win.h"

namespace kro::shell {

SingleInstance::SingleInstance(const char* mutexName) {
  mutex_.Reset(CreateMutexA(nullptr, FALSE, mutexName));
  another_ = mutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace kro::shell

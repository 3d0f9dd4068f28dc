#pragma once
// The fake libraries report what happened to them in an environment variable of the
// process, which outlives their unloading; the tests read and clear it.
#include <windows.h>

#include <cstdio>
#include <cstring>

constexpr char kFakeLogVariable[] = "KRO_FAKE_QT_LOG";

inline void FakeLog(const char* format, unsigned long a = 0, unsigned long b = 0) {
  char log[4096] = "";
  GetEnvironmentVariableA(kFakeLogVariable, log, sizeof log);
  const size_t used = strlen(log);
  snprintf(log + used, sizeof log - used, format, a, b);
  SetEnvironmentVariableA(kFakeLogVariable, log);
}

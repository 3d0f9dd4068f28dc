#pragma once
// A printer for the tests: Wine's PostScript driver on the FILE: port, added to the prefix
// the first time a test needs it, so that documents can be written to PostScript files.
#include <windows.h>

#include <string>

namespace kro::article::test {

// The printer's name, installing it when the prefix has none; empty when that fails.
std::string TestPrinter();
// A printer DC on the test printer, or null.
HDC TestPrinterDc();

}  // namespace kro::article::test

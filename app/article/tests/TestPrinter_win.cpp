#include "app/article/tests/TestPrinter_win.h"

#include <winspool.h>

#include <vector>

#include "runtime/base/FileIo_win.h"

namespace kro::article::test {
namespace {

constexpr char kPrinterName[] = "Kro PostScript";
constexpr char kDriverName[] = "Wine PostScript Driver";
#ifdef _WIN64
constexpr char kWineSpooler[] = "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\winspool.drv";
#else
constexpr char kWineSpooler[] = "Z:\\usr\\lib\\i386-linux-gnu\\wine\\i386-windows\\winspool.drv";
#endif

std::string DefaultPrinter() {
  char name[256] = {};
  DWORD size = sizeof name;
  return GetDefaultPrinterA(name, &size) ? std::string(name) : std::string();
}

// Wine keeps a generic PPD inside its spooler; the driver needs it as a file.
bool WriteGenericPpd() {
  const auto spooler = ReadWholeFile(kWineSpooler);
  char folder[MAX_PATH] = {};
  DWORD needed = 0;
  if (!spooler || !GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder,
                                              &needed))
    return false;
  const std::string_view bytes(reinterpret_cast<const char*>(spooler->data()), spooler->size());
  const size_t start = bytes.find("*PPD-Adobe");
  if (start == std::string_view::npos) return false;
  const std::string_view ppd = bytes.substr(start, bytes.find('\0', start) - start);
  CreateDirectoryA(folder, nullptr);
  return ReplaceFileContents(std::string(folder) + "\\generic.ppd",
                             {reinterpret_cast<const uint8_t*>(ppd.data()), ppd.size()});
}

bool InstallPrinter() {
  if (!WriteGenericPpd()) return false;
  DRIVER_INFO_3A driver{};
  driver.cVersion = 3;
  driver.pName = const_cast<char*>(kDriverName);
  driver.pDriverPath = const_cast<char*>("wineps.drv");
  driver.pDataFile = const_cast<char*>("generic.ppd");
  driver.pConfigFile = const_cast<char*>("wineps.drv");
  if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver)) && GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
    return false;
  PRINTER_INFO_2A printer{};
  printer.pPrinterName = const_cast<char*>(kPrinterName);
  printer.pPortName = const_cast<char*>("FILE:");
  printer.pDriverName = const_cast<char*>(kDriverName);
  printer.pPrintProcessor = const_cast<char*>("WinPrint");
  printer.pDatatype = const_cast<char*>("RAW");
  HANDLE added = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
  if (!added && GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) return false;
  if (added) ClosePrinter(added);
  return SetDefaultPrinterA(kPrinterName) != FALSE;
}

}  // namespace

std::string TestPrinter() {
  std::string name = DefaultPrinter();
  if (name.empty() && InstallPrinter()) name = DefaultPrinter();
  return name;
}

HDC TestPrinterDc() {
  const std::string name = TestPrinter();
  return name.empty() ? nullptr : CreateDCA(nullptr, name.c_str(), nullptr, nullptr);
}

}  // namespace kro::article::test

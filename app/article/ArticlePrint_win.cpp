// A print job: a hidden pane whose display is put on each requested topic and printed by
// the runtime, which begins and ends the pages through the page callback; the callback
// draws the footer under every page it ends.
#include "app/article/ArticlePrint_win.h"

#include <cstring>
#include <string>

#include "app/article/Pane_win.h"
#include "app/toolkit/GlobalBlock.h"
#include "app/toolkit/ProgramInstance.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::article {
namespace {

constexpr int kFooterPoints = 8;

// 8-point bold in the product's face; GDI takes the nearest face where it is missing, and
// the default character set lets that face be one that has the Russian letters.
UniqueFont FooterFont(HDC printer) {
  return UniqueFont(CreateFontA(-(GetDeviceCaps(printer, LOGPIXELSY) * kFooterPoints) / 72, 0, 0, 0, FW_BOLD, 0, 0, 0,
                                DEFAULT_CHARSET, 0, 0, 0, 0, "PragmaticaZKD"));
}

struct PageContext {
  HFONT footer;
};

void DrawFooter(HDC dc, HFONT font, const RECT& page) {
  SelectGuard select(dc, font);
  TextOutA(dc, page.left, page.bottom, kPrintFooter, static_cast<int>(sizeof kPrintFooter - 1));
}

BOOL CALLBACK PageProc(LPMV, HDC dc, LONG, LONG, LONG, LPARAM user, LPRECT page, BOOL begin) {
  if (begin) return StartPage(dc) > 0;
  DrawFooter(dc, reinterpret_cast<const PageContext*>(user)->footer, *page);
  return EndPage(dc) > 0;
}

std::string DocumentName(LPMV display) {
  UniqueGlobal name(hMVGetName(display));
  toolkit::GlobalLockGuard lock(name.Get());
  const auto* text = static_cast<const char*>(lock.Data());
  return text ? std::string(text, strnlen(text, lock.SizeBytes())) : std::string();
}

// Everything a job holds, given back in the order the job ends: the document aborted
// unless it was finished, the cursor, the printer DC, the pane.
class PrintJob {
public:
  PrintJob(LPMV display, HDC printer)
      : printer_(printer), footer_(FooterFont(printer)), previousCursor_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {
    pane_ = CreatePane(hwndMVGetWindow(display), toolkit::ProgramInstance(), hMVGetTitle(display, 0), kBodyPane,
                       kKeepLayoutOnSize, nullptr);
  }
  ~PrintJob() {
    if (started_ && status_ != 0) AbortDoc(printer_);
    SetCursor(previousCursor_);
    DeleteDC(printer_);
    if (pane_) DestroyPane(pane_);
  }
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  int Run(const std::string& name, std::span<const PrintRequest> requests, const char* outputFile) {
    const int width = GetDeviceCaps(printer_, PHYSICALWIDTH), height = GetDeviceCaps(printer_, PHYSICALHEIGHT);
    if (!pane_ || width <= 0 || height <= 0) return status_;
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = name.c_str();
    doc.lpszOutput = outputFile;
    if (StartDocA(printer_, &doc) <= 0) return status_;
    started_ = true;
    const int dpiX = GetDeviceCaps(printer_, LOGPIXELSX), dpiY = GetDeviceCaps(printer_, LOGPIXELSY);
    const RECT page{dpiX, dpiY, width - dpiX, height - dpiY};  // an inch on every side of the sheet
    for (const PrintRequest& request : requests)
      if (!PrintTopic(request, page)) return status_;
    if (EndDoc(printer_) <= 0) return status_;
    return status_ = 0;
  }

private:
  // The heading and then the body, the body going on where the heading ends.
  bool PrintTopic(const PrintRequest& request, const RECT& page) {
    LPMV display = PaneDisplay(pane_);
    LONG err = 0;
    if (hMVGetTitle(display, 0) != request.title) fMVSetTitle(display, request.title, 0, &err);
    if (!fMVSetAddress(display, request.address, MV_REGION_HEADING, 0, &err))
      fMVSetAddress(display, request.address, MV_REGION_BODY, 0, &err);
    RECT pageRect = page, free = page;
    PageContext context{footer_.Get()};
    if (fMVHasNSR(display) && !PrintRegion(display, &pageRect, &free, context)) return false;
    if (fMVHasSR(display)) {
      fMVSetAddress(display, request.address, MV_REGION_BODY, 0, &err);
      if (!PrintRegion(display, &pageRect, &free, context)) return false;
    }
    DrawFooter(printer_, footer_.Get(), page);
    return EndPage(printer_) > 0;
  }

  bool PrintRegion(LPMV display, RECT* page, RECT* free, PageContext& context) {
    LONG pages = 0, err = 0;
    if (fMVPrintMedia(display, printer_, 0, page, free, &pages, PageProc, reinterpret_cast<LPARAM>(&context), &err))
      return true;
    if (err) status_ = static_cast<int>(err & 0xFFFF);
    return false;
  }

  HDC printer_;
  UniqueFont footer_;
  HCURSOR previousCursor_;
  HWND pane_ = nullptr;
  bool started_ = false;
  int status_ = kPrintFailed;
};

}  // namespace

int PrintTopics(LPMV display, HDC printer, std::span<const PrintRequest> requests, const char* outputFile) {
  if (!display || !printer) {
    if (printer) DeleteDC(printer);
    return kPrintFailed;
  }
  PrintJob job(display, printer);
  return job.Run(DocumentName(display), requests, outputFile);
}

int PrintCurrentArticle(LPMV display, HDC printer, const char* outputFile) {
  LONG address = -1, region = 0, scroll = 0;
  if (display) MVGetAddress(display, &address, &region, &scroll);
  const PrintRequest request{address, display ? hMVGetTitle(display, 0) : nullptr};
  return PrintTopics(display, printer, std::span(&request, 1), outputFile);
}

}  // namespace kro::article

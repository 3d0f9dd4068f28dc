#pragma once
// Printing articles page by page through the title runtime, with one-inch margins and a
// footer line naming the product on every page.
#include <windows.h>

#include <span>

#include "runtime/mediaview/MediaView.h"

namespace kro::article {

// What a job that could not start or was stopped answers, unless the runtime said more.
constexpr int kPrintFailed = 1006;
inline constexpr char kPrintFooter[] = "Энциклопедия России — мультимедийная энциклопедия на компакт-диске";

struct PrintRequest {
  LONG address;
  HMVTITLE title;
};

// Prints each topic's heading then its body, one topic after the other, on `printer`,
// which the job deletes. `outputFile` null sends the document to the printer's port.
// Answers 0, kPrintFailed or the runtime's error value (low 16 bits); a document that
// fails is aborted.
int PrintTopics(LPMV display, HDC printer, std::span<const PrintRequest> requests, const char* outputFile = nullptr);
// The topic `display` shows.
int PrintCurrentArticle(LPMV display, HDC printer, const char* outputFile = nullptr);

}  // namespace kro::article

#pragma once
// The reader's catalogue store: baggage files inside the title.
#include "app/media/CatalogueFile_win.h"
#include "runtime/mediaview/MediaView.h"

namespace kro::media {

class BaggageStore final : public CatalogueStore {
public:
  explicit BaggageStore(HMVTITLE title) : title_(title) {}
  std::unique_ptr<StoredFile> Open(const std::string& name) override;

private:
  HMVTITLE title_;
};

}  // namespace kro::media

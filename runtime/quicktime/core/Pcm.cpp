#include "runtime/quicktime/core/Pcm.h"

namespace kro::qt {

void AppendPcm(PcmEncoding encoding, std::span<const uint8_t> in, std::vector<uint8_t>& out) {
  switch (encoding) {
    case PcmEncoding::Unsigned8:
      out.insert(out.end(), in.begin(), in.end());
      break;
    case PcmEncoding::Signed8:
      for (const uint8_t b : in) out.push_back(b ^ 0x80);
      break;
    case PcmEncoding::Signed16LE:
      out.insert(out.end(), in.begin(), in.begin() + (in.size() & ~size_t{1}));
      break;
    case PcmEncoding::Signed16BE:
      for (size_t i = 0; i + 1 < in.size(); i += 2) {
        out.push_back(in[i + 1]);
        out.push_back(in[i]);
      }
      break;
  }
}

}  // namespace kro::qt

#pragma once
// The archive disc's help text as the read-only help window shows it. Portable.
#include <string>
#include <string_view>

namespace kro::archive {

// The text up to its first NUL, with every line ending (CR LF, LF or a lone CR) made
// CR LF, as a multi-line edit control needs.
std::string EditControlText(std::string_view text);

}  // namespace kro::archive

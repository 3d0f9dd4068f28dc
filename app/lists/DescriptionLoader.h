#pragma once
// Reading a whole list description: the header lines are handed to the list in order, the
// body's blocks fill the id tree. Portable: the list windows apply the header and build
// rows from the entry texts found here.
//
// Body grammar (after the "BEGIN:" line):
//   block  := head entry*
//   head   := a line holding "{": "{N" for the root, or "ID{N" for the node with that id
//   entry  := ID blanks text | ";" comment
// A block reads one entry per child slot of its node. N children are created only for a
// node that has none; a second block for the same node fills its slots again. Blanks
// before an entry and after its id may run over line ends. An unreadable or zero id ends
// the block; a head naming no node ends the body.
//
// The language reads on past such damage, and so does the loader; it still reports the
// first place where the description breaks the grammar (a header without BEGIN, a head or
// an entry without a usable id, a block cut short by the end, more than kMaxEntries).
#include <cstdint>
#include <string_view>

#include "app/lists/DescriptionText.h"
#include "app/toolkit/core/TreeNode.h"
#include "runtime/base/Result.h"

namespace kro::lists {

// A reference work's contents list has a few thousand entries; a description declaring
// more child slots than this in all is damaged, and must not make us allocate for it.
constexpr uint32_t kMaxEntries = 100000;

class HeaderSink {
public:
  virtual ~HeaderSink() = default;
  // One header line, in the order of the description; BEGIN included.
  virtual void Apply(Keyword keyword, std::string_view value) = 0;
};

// Reads the header into `sink` and the body into `root` (which gets id 0 and is shown;
// its children are shown with their index as row). Gives the number of entries read; on a
// fault, Recovered() gives the number the language's reading made all the same, and the
// tree holds those entries. Offsets count bytes from the start of `description`.
Result<uint32_t> LoadDescription(std::string_view description, SourceKind kind, toolkit::TreeNode& root,
                                 HeaderSink& sink);

// The text of the entry at `offset`: up to the end of its line (LF, or '^' in memory),
// at most kMaxLineChars characters; empty past the end.
std::string_view EntryText(std::string_view description, size_t offset, SourceKind kind);

}  // namespace kro::lists

#pragma once
// The text files of an authoring folder (docs/authoring.md): topic files with front
// matter, the manifest and word-wheel files. Values stay UTF-8 here; the compiler converts.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/titlec/Diagnostics.h"

namespace kro::titlec {

struct Located {
  std::string value;
  int line = 0;
};

enum class TopicKind { Article, Popup, Extra };

struct TopicFile {
  std::string file;  // as reported in diagnostics
  Located context;
  std::optional<Located> title;
  TopicKind kind = TopicKind::Article;
  std::vector<Located> lists;
  std::vector<Located> pict, port;
  std::optional<Located> move, maps, wave, browse;
  std::string body;
  int bodyLine = 1;  // file line of the body's first line
};

// Reports every front-matter fault; false when the file cannot take part in the build
// (no closed front matter or no context).
bool ParseTopicFile(const std::string& file, const std::string& text, TopicFile* out, Diagnostics* diags);

struct ListDeclaration {
  Located description;
  std::vector<Located> members;  // context strings added by "list NAME += ..."
};

struct BaggageEntry {
  Located source;  // path in the folder
  std::string name;
  bool text = false;  // UTF-8 text converted to cp1251 with CR LF line ends
};

struct Manifest {
  std::string file = "manifest.txt";
  std::optional<Located> contents;
  std::map<std::string, ListDeclaration> lists;
  std::map<std::string, Located> wordWheels;  // name -> word-wheel file
  std::vector<BaggageEntry> baggage;
  std::map<int, Located> fonts;               // index -> face
};

bool ParseManifest(const std::string& file, const std::string& text, Manifest* out, Diagnostics* diags);

struct WordWheelLine {
  Located key;
  std::vector<std::string> contexts;
};

bool ParseWordWheelFile(const std::string& file, const std::string& text, std::vector<WordWheelLine>* out, Diagnostics* diags);

// Splits on `sep`, trimming blanks; empty items are dropped.
std::vector<std::string> SplitList(const std::string& text, char sep);
std::string Trim(const std::string& s);

}  // namespace kro::titlec

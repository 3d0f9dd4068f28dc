#include "tools/bench/search/Peers.h"

#include <sqlite3.h>
#include <xapian.h>

#include <filesystem>

namespace kro::bench {
namespace {

std::string Quoted(const std::string& word) { return "\"" + word + "\""; }

// SQLite FTS5, contentless (the index alone, as ours), with positions (detail=full).
class Fts5 : public PeerEngine {
public:
  ~Fts5() override {
    if (query_) sqlite3_finalize(query_);
    if (db_) sqlite3_close(db_);
  }
  const char* name() const override { return "FTS5"; }

  bool Build(const std::vector<PeerArticle>& articles, const std::string& path) override {
    path_ = path;
    std::filesystem::remove(path);
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) return false;
    sqlite3_exec(db_, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;", nullptr, nullptr, nullptr);
    if (!Exec("CREATE VIRTUAL TABLE t USING fts5(title, body, content='')") || !Exec("BEGIN")) return false;
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db_, "INSERT INTO t(rowid, title, body) VALUES(?, ?, ?)", -1, &insert, nullptr);
    for (size_t i = 0; i < articles.size(); ++i) {
      sqlite3_bind_int64(insert, 1, static_cast<sqlite3_int64>(i));
      sqlite3_bind_text(insert, 2, articles[i].title.data(), static_cast<int>(articles[i].title.size()), SQLITE_STATIC);
      sqlite3_bind_text(insert, 3, articles[i].body.data(), static_cast<int>(articles[i].body.size()), SQLITE_STATIC);
      if (sqlite3_step(insert) != SQLITE_DONE) return false;
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    if (!Exec("COMMIT") || !Exec("INSERT INTO t(t) VALUES('optimize')") || !Exec("VACUUM")) return false;
    return sqlite3_prepare_v2(db_, "SELECT rowid FROM t WHERE t MATCH ?", -1, &query_, nullptr) == SQLITE_OK;
  }

  bool Open(const std::string& path) override {
    path_ = path;
    return std::filesystem::exists(path) && sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
           sqlite3_prepare_v2(db_, "SELECT rowid FROM t WHERE t MATCH ?", -1, &query_, nullptr) == SQLITE_OK;
  }

  uint64_t SizeBytes() const override { return std::filesystem::file_size(path_); }
  bool Supports(QueryOp op) const override { return op != QueryOp::Forms && op != QueryOp::WildPhrase; }

  std::vector<uint32_t> Run(QueryOp op, const std::vector<std::string>& words) override {
    std::string match;
    switch (op) {
      case QueryOp::Word: match = Quoted(words[0]); break;
      case QueryOp::And: match = Join(words, " AND "); break;
      case QueryOp::Phrase: match = Quoted(Joined(words)); break;
      case QueryOp::Prefix: match = Quoted(words[0]) + "*"; break;
      case QueryOp::Or: match = Join(words, " OR "); break;
      case QueryOp::Not: match = Join(words, " NOT "); break;
      // NEAR's distance counts the tokens between the two.
      case QueryOp::Near: match = "NEAR(" + Join(words, " ") + ", " + std::to_string(kNearWords - 1) + ")"; break;
      case QueryOp::Forms:
      case QueryOp::WildPhrase: break;
    }
    std::vector<uint32_t> out;
    sqlite3_bind_text(query_, 1, match.data(), static_cast<int>(match.size()), SQLITE_TRANSIENT);
    while (sqlite3_step(query_) == SQLITE_ROW) out.push_back(static_cast<uint32_t>(sqlite3_column_int64(query_, 0)));
    sqlite3_reset(query_);
    return out;
  }

private:
  bool Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

  static std::string Joined(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
    return out;
  }

  static std::string Join(const std::vector<std::string>& words, const char* op) {
    std::string out;
    for (const std::string& w : words) out += (out.empty() ? "" : op) + Quoted(w);
    return out;
  }

  sqlite3* db_ = nullptr;
  sqlite3_stmt* query_ = nullptr;
  std::string path_;
};

// Xapian with positions and, for the word-forms queries, its Russian stemmer (stemmed
// terms beside the unstemmed ones). Every match is fetched in document order, unweighted.
class XapianEngine : public PeerEngine {
public:
  const char* name() const override { return "Xapian"; }

  bool Build(const std::vector<PeerArticle>& articles, const std::string& path) override {
    path_ = path;
    std::filesystem::remove_all(path);
    Xapian::WritableDatabase db(path, Xapian::DB_CREATE_OR_OVERWRITE);
    Xapian::TermGenerator generator;
    generator.set_stemmer(stem_);
    generator.set_stemming_strategy(Xapian::TermGenerator::STEM_SOME);
    for (size_t i = 0; i < articles.size(); ++i) {
      Xapian::Document doc;
      generator.set_document(doc);
      generator.index_text(articles[i].title);
      generator.increase_termpos(100);
      generator.index_text(articles[i].body);
      db.replace_document(static_cast<Xapian::docid>(i + 1), doc);
    }
    db.commit();
    db.close();
    db_ = Xapian::Database(path);
    return true;
  }

  bool Open(const std::string& path) override {
    path_ = path;
    try {
      db_ = Xapian::Database(path);
    } catch (const Xapian::Error&) {
      return false;
    }
    return true;
  }

  uint64_t SizeBytes() const override {
    uint64_t total = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_)) {
      if (entry.is_regular_file()) total += entry.file_size();
    }
    return total;
  }

  bool Supports(QueryOp op) const override { return op != QueryOp::WildPhrase; }

  std::vector<uint32_t> Run(QueryOp op, const std::vector<std::string>& words) override {
    Xapian::Query query;
    switch (op) {
      case QueryOp::Word: query = Xapian::Query(words[0]); break;
      case QueryOp::And: query = Xapian::Query(Xapian::Query::OP_AND, words.begin(), words.end()); break;
      case QueryOp::Phrase:
        query = Xapian::Query(Xapian::Query::OP_PHRASE, words.begin(), words.end(), static_cast<Xapian::termcount>(words.size()));
        break;
      // The window spans the positions from the first word to the last.
      case QueryOp::Near: query = Xapian::Query(Xapian::Query::OP_NEAR, words.begin(), words.end(), kNearWords + 1); break;
      case QueryOp::WildPhrase: break;
      case QueryOp::Prefix: query = Xapian::Query(Xapian::Query::OP_WILDCARD, words[0]); break;
      case QueryOp::Or: query = Xapian::Query(Xapian::Query::OP_OR, words.begin(), words.end()); break;
      case QueryOp::Not:
        query = Xapian::Query(Xapian::Query::OP_AND_NOT, Xapian::Query(words[0]), Xapian::Query(words[1]));
        break;
      case QueryOp::Forms: query = Xapian::Query("Z" + stem_(words[0])); break;
    }
    Xapian::Enquire enquire(db_);
    enquire.set_query(query);
    enquire.set_weighting_scheme(Xapian::BoolWeight());
    enquire.set_docid_order(Xapian::Enquire::ASCENDING);
    const Xapian::MSet matches = enquire.get_mset(0, db_.get_doccount());
    std::vector<uint32_t> out;
    out.reserve(matches.size());
    for (auto it = matches.begin(); it != matches.end(); ++it) out.push_back(*it - 1);
    return out;
  }

private:
  Xapian::Stem stem_{"russian"};
  Xapian::Database db_;
  std::string path_;
};

}  // namespace

std::unique_ptr<PeerEngine> MakeFts5() { return std::make_unique<Fts5>(); }
std::unique_ptr<PeerEngine> MakeXapian() { return std::make_unique<XapianEngine>(); }

}  // namespace kro::bench

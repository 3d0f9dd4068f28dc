#include "runtime/mediaview/core/search/Query.h"

#include <cstdint>

#include "runtime/base/Cp1251.h"
#include "runtime/mediaview/core/search/Tokenizer.h"

namespace kro::search {
namespace {

// Tokens (words, operators, parentheses) a query may hold; bounds the parser's recursion,
// since operands without words (empty parentheses) escape the word limit.
constexpr size_t kMaxQueryTokens = 4 * kMaxQueryTerms;
constexpr uint8_t kOpenGuillemet = 0xAB;   // «
constexpr uint8_t kCloseGuillemet = 0xBB;  // »

enum class TokenKind { Word, Phrase, LeftParen, RightParen, And, Or, Not, Near, End };

struct Token {
  TokenKind kind = TokenKind::End;
  std::vector<std::string> words;  // Word: the parts of a hyphenated word; Phrase: its words
};

bool IsWildcard(uint8_t c) { return c == '*' || c == '?'; }
bool IsWordByte(uint8_t c) { return FoldWordChar(c) != 0 || IsWildcard(c) || c == kSoftHyphen; }

TokenKind OperatorKind(std::string_view raw) {
  static constexpr auto kI = KRO_CP1251(u8"И");
  static constexpr auto kIli = KRO_CP1251(u8"ИЛИ");
  static constexpr auto kNe = KRO_CP1251(u8"НЕ");
  static constexpr auto kRyadom = KRO_CP1251(u8"РЯДОМ");
  if (raw == "AND" || raw == kI.view()) return TokenKind::And;
  if (raw == "OR" || raw == kIli.view()) return TokenKind::Or;
  if (raw == "NOT" || raw == kNe.view()) return TokenKind::Not;
  if (raw == "NEAR" || raw == kRyadom.view()) return TokenKind::Near;
  return TokenKind::Word;
}

class Lexer {
public:
  explicit Lexer(std::string_view text) : text_(text) {}

  SearchError Run(std::vector<Token>* tokens) {
    while (pos_ < text_.size()) {
      const auto c = static_cast<uint8_t>(text_[pos_]);
      if (c == '"' || c == kOpenGuillemet) {
        Token phrase{TokenKind::Phrase, {}};
        if (const SearchError e = ReadPhrase(&phrase.words); e != SearchError::None) return e;
        tokens->push_back(std::move(phrase));
      } else if (c == '(' || c == ')') {
        tokens->push_back({c == '(' ? TokenKind::LeftParen : TokenKind::RightParen, {}});
        ++pos_;
      } else if (IsWordByte(c) && c != kSoftHyphen) {
        const size_t start = pos_;
        Token word{TokenKind::Word, {}};
        if (const SearchError e = ReadWord(&word.words); e != SearchError::None) return e;
        const TokenKind op = OperatorKind(text_.substr(start, pos_ - start));
        tokens->push_back(op == TokenKind::Word ? std::move(word) : Token{op, {}});
      } else {
        ++pos_;
      }
    }
    tokens->push_back({TokenKind::End, {}});
    return SearchError::None;
  }

private:
  // Reads one word; a hyphen between word characters joins parts into one token.
  SearchError ReadWord(std::vector<std::string>* parts) {
    std::string part;
    for (;;) {
      const auto c = static_cast<uint8_t>(text_[pos_]);
      if (IsWildcard(c)) {
        if (part.size() < kMaxTermBytes) part.push_back(static_cast<char>(c));
      } else if (FoldWordChar(c) != 0) {
        if (part.size() < kMaxTermBytes) part.push_back(static_cast<char>(FoldWordChar(c)));
      } else if (c != kSoftHyphen) {
        break;
      }
      if (++pos_ == text_.size()) break;
      const auto next = static_cast<uint8_t>(text_[pos_]);
      if (next == '-' && pos_ + 1 < text_.size() && IsWordByte(static_cast<uint8_t>(text_[pos_ + 1]))) {
        if (const SearchError e = EndPart(&part, parts); e != SearchError::None) return e;
        ++pos_;
      }
    }
    return EndPart(&part, parts);
  }

  static SearchError EndPart(std::string* part, std::vector<std::string>* parts) {
    bool onlyWildcards = true;
    for (char c : *part) onlyWildcards = onlyWildcards && IsWildcard(static_cast<uint8_t>(c));
    if (onlyWildcards) return part->empty() ? SearchError::None : SearchError::OnlyWildcards;
    parts->push_back(std::move(*part));
    part->clear();
    return SearchError::None;
  }

  SearchError ReadPhrase(std::vector<std::string>* words) {
    ++pos_;
    while (pos_ < text_.size()) {
      const auto c = static_cast<uint8_t>(text_[pos_]);
      if (c == '"' || c == kCloseGuillemet) {
        ++pos_;
        return SearchError::None;
      }
      if (IsWordByte(c) && c != kSoftHyphen) {
        if (const SearchError e = ReadWord(words); e != SearchError::None) return e;
      } else {
        ++pos_;
      }
    }
    return SearchError::MissingQuote;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

QueryNode WordNode(std::string word) { return {NodeKind::Word, std::move(word), {}}; }

QueryNode PhraseNode(const std::vector<std::string>& words) {
  if (words.empty()) return {};
  if (words.size() == 1) return WordNode(words[0]);
  QueryNode phrase{NodeKind::Phrase, {}, {}};
  for (const std::string& w : words) phrase.children.push_back(WordNode(w));
  return phrase;
}

// Joins two operands; chains of the same operator stay one node.
QueryNode Join(NodeKind kind, QueryNode left, QueryNode right) {
  if (left.kind == kind && (kind == NodeKind::And || kind == NodeKind::Or)) {
    left.children.push_back(std::move(right));
    return left;
  }
  QueryNode node{kind, {}, {}};
  node.children.push_back(std::move(left));
  node.children.push_back(std::move(right));
  return node;
}

class Parser {
public:
  explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  SearchError Run(QueryNode* root) {
    *root = ParseOr(0);
    if (error_ == SearchError::None && Peek() == TokenKind::RightParen) error_ = SearchError::MissingLeftParen;
    return error_;
  }

private:
  TokenKind Peek() const { return tokens_[next_].kind; }
  bool Failed() const { return error_ != SearchError::None; }

  QueryNode Fail(SearchError error) {
    if (!Failed()) error_ = error;
    return {};
  }

  static bool StartsOperand(TokenKind kind) {
    return kind == TokenKind::Word || kind == TokenKind::Phrase || kind == TokenKind::LeftParen;
  }

  QueryNode ParseOr(int depth) {
    QueryNode left = ParseAnd(depth);
    while (!Failed() && Peek() == TokenKind::Or) {
      ++next_;
      left = Join(NodeKind::Or, std::move(left), ParseAnd(depth));
    }
    return left;
  }

  QueryNode ParseAnd(int depth) {
    QueryNode left = ParseNear(depth);
    while (!Failed()) {
      NodeKind kind = NodeKind::And;
      if (Peek() == TokenKind::And) {
        ++next_;
        if (Peek() == TokenKind::Not) {
          ++next_;
          kind = NodeKind::Not;
        }
      } else if (Peek() == TokenKind::Not) {
        ++next_;
        kind = NodeKind::Not;
      } else if (!StartsOperand(Peek())) {
        break;
      }
      left = Join(kind, std::move(left), ParseNear(depth));
    }
    return left;
  }

  QueryNode ParseNear(int depth) {
    QueryNode left = ParsePrimary(depth);
    while (!Failed() && Peek() == TokenKind::Near) {
      ++next_;
      left = Join(NodeKind::Near, std::move(left), ParsePrimary(depth));
    }
    return left;
  }

  QueryNode ParsePrimary(int depth) {
    Token& token = tokens_[next_];
    switch (token.kind) {
      case TokenKind::Word:
        ++next_;
        return PhraseNode(token.words);
      case TokenKind::Phrase:
        ++next_;
        return PhraseNode(token.words);
      case TokenKind::LeftParen: {
        if (depth == kMaxQueryDepth) return Fail(SearchError::NestedTooDeep);
        ++next_;
        if (Peek() == TokenKind::RightParen) {
          ++next_;
          return {};
        }
        QueryNode inner = ParseOr(depth + 1);
        if (Failed()) return {};
        if (Peek() != TokenKind::RightParen) return Fail(SearchError::MissingRightParen);
        ++next_;
        return inner;
      }
      default:
        // An operator, a closing parenthesis or the end where an operand belongs.
        return Fail(SearchError::OperatorAtEdge);
    }
  }

  std::vector<Token> tokens_;
  size_t next_ = 0;
  SearchError error_ = SearchError::None;
};

void AppendString(const QueryNode& node, std::string* out) {
  switch (node.kind) {
    case NodeKind::Word:
      *out += node.word;
      return;
    case NodeKind::Empty:
      *out += "()";
      return;
    case NodeKind::Phrase:
      *out += '"';
      for (size_t i = 0; i < node.children.size(); ++i) {
        if (i > 0) *out += ' ';
        *out += node.children[i].word;
      }
      *out += '"';
      return;
    default:
      break;
  }
  static constexpr const char* kNames[] = {"", "", "AND", "OR", "NOT", "NEAR"};
  *out += '(';
  *out += kNames[static_cast<int>(node.kind)];
  for (const QueryNode& child : node.children) {
    *out += ' ';
    AppendString(child, out);
  }
  *out += ')';
}

}  // namespace

bool HasWildcard(std::string_view word) {
  return word.find_first_of("*?") != std::string_view::npos;
}

ParseResult ParseQuery(std::string_view text, int option) {
  ParseResult result;
  result.query.wordForms = option == kMatchWordForms;
  std::vector<Token> tokens;
  result.error = Lexer(text).Run(&tokens);
  if (result.error != SearchError::None) return result;
  size_t words = 0;
  for (const Token& token : tokens) words += token.words.size();
  if (tokens.size() == 1) {
    result.error = SearchError::NothingSearchable;
    return result;
  }
  if (words > kMaxQueryTerms || tokens.size() > kMaxQueryTokens) {
    result.error = SearchError::TooManyTerms;
    return result;
  }
  result.error = Parser(std::move(tokens)).Run(&result.query.root);
  if (result.error == SearchError::None && words == 0) result.error = SearchError::NothingSearchable;
  return result;
}

std::string ToString(const QueryNode& node) {
  std::string out;
  AppendString(node, &out);
  return out;
}

}  // namespace kro::search

#include "tools/titlec/Markdown.h"

#include <cmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/base/Cp1251.h"
#include "runtime/mediaview/core/RichText.h"
#include "runtime/mediaview/core/TitleFormat.h"

namespace kro::titlec {
namespace {

using mv::CharFormat;
using mv::ParagraphFormat;

constexpr uint32_t kTextColour = 0x000000;
constexpr uint32_t kHeadingColour = 0x602000;  // dark blue (0x00BBGGRR)
constexpr uint32_t kJumpColour = 0x008000;     // green, as links have always been
constexpr uint32_t kCommandColour = 0x800000;
constexpr int16_t kIndentStep = 360;  // a quarter inch in twips
constexpr uint16_t kParagraphGap = 120;
constexpr int kMaxDepth = 32;  // nesting of lists and quotes that still lays out sensibly

struct NodeDeleter {
  void operator()(cmark_node* n) const { cmark_node_free(n); }
};

class Renderer {
public:
  Renderer(const TopicFile& topic, RenderedTopic* out, Diagnostics* diags) : topic_(topic), out_(out), diags_(diags) {}

  void Run() {
    std::unique_ptr<cmark_node, NodeDeleter> doc(
        cmark_parse_document(topic_.body.data(), topic_.body.size(), CMARK_OPT_DEFAULT));
    cmark_node* heading = nullptr;
    for (cmark_node* n = cmark_node_first_child(doc.get()); n; n = cmark_node_next(n))
      if (cmark_node_get_type(n) == CMARK_NODE_HEADING) {
        heading = n;
        break;
      }
    if (heading) {
      HeadingRegion(heading);
      out_->heading = writer_.TakeBytes();
    }
    for (cmark_node* n = cmark_node_first_child(doc.get()); n; n = cmark_node_next(n))
      if (n != heading) Block(n, Context{});
    out_->body = writer_.TakeBytes();
  }

private:
  struct Context {
    int16_t indent = 0;
    bool italic = false;
    int depth = 0;
    std::string prefix;  // list marker for the first paragraph of an item
  };

  int Line(cmark_node* n) const {
    for (; n; n = cmark_node_parent(n))
      if (const int l = cmark_node_get_start_line(n); l > 0) return topic_.bodyLine + l - 1;
    return topic_.bodyLine;
  }

  void Error(cmark_node* n, std::string message) { diags_->Error(topic_.file, Line(n), std::move(message)); }

  std::string Convert(cmark_node* n, const char* utf8) {
    std::string out;
    ToCp1251(utf8 ? utf8 : "", topic_.file, Line(n), &out, diags_);
    return out;
  }

  void HeadingRegion(cmark_node* n) {
    ParagraphFormat p;
    p.spaceBefore = 60;
    p.spaceAfter = 60;
    writer_.Paragraph(p);
    base_ = CharFormat{kHeadingFont, 32, mv::kBold, kHeadingColour};
    Inlines(n);
    base_ = CharFormat{};
  }

  // A list item's first paragraph opens with its marker.
  void StartParagraph(const Context& ctx, ParagraphFormat p) {
    p.leftIndent = static_cast<int16_t>(p.leftIndent + ctx.indent);
    writer_.Paragraph(p);
    if (!ctx.prefix.empty()) {
      writer_.Format(Base(ctx));
      writer_.Text(ctx.prefix);
    }
  }

  CharFormat Base(const Context& ctx) const {
    CharFormat f = base_;
    if (ctx.italic) f.style |= mv::kItalic;
    return f;
  }

  void Block(cmark_node* n, Context ctx) {
    if (ctx.depth > kMaxDepth) return Error(n, "lists and quotes nest too deeply");
    switch (cmark_node_get_type(n)) {
      case CMARK_NODE_PARAGRAPH: {
        ParagraphFormat p;
        p.spaceAfter = kParagraphGap;
        if (!ctx.prefix.empty()) p.firstIndent = -kIndentStep;
        StartParagraph(ctx, p);
        const CharFormat saved = base_;
        base_ = Base(ctx);
        Inlines(n);
        base_ = saved;
        break;
      }
      case CMARK_NODE_HEADING: {
        ParagraphFormat p;
        p.spaceBefore = 240;
        p.spaceAfter = kParagraphGap;
        StartParagraph(ctx, p);
        const CharFormat saved = base_;
        const int level = cmark_node_get_heading_level(n);
        base_ = CharFormat{kHeadingFont, static_cast<uint8_t>(level <= 2 ? 28 : 24), mv::kBold, kHeadingColour};
        Inlines(n);
        base_ = saved;
        break;
      }
      case CMARK_NODE_BLOCK_QUOTE: {
        Context inner = ctx;
        inner.indent = static_cast<int16_t>(ctx.indent + 2 * kIndentStep);
        inner.italic = true;
        inner.depth++;
        Children(n, inner);
        break;
      }
      case CMARK_NODE_LIST: List(n, ctx); break;
      case CMARK_NODE_CODE_BLOCK: CodeBlock(n, ctx); break;
      case CMARK_NODE_THEMATIC_BREAK: {
        ParagraphFormat p;
        p.align = mv::Align::Centre;
        p.spaceAfter = kParagraphGap;
        StartParagraph(ctx, p);
        writer_.Format(Base(ctx));
        writer_.Text("* * *");
        break;
      }
      case CMARK_NODE_HTML_BLOCK: Error(n, "HTML is not part of the authoring format"); break;
      default: Error(n, std::string("unsupported block: ") + cmark_node_get_type_string(n)); break;
    }
  }

  void Children(cmark_node* n, Context ctx) {
    for (cmark_node* c = cmark_node_first_child(n); c; c = cmark_node_next(c)) {
      Block(c, ctx);
      ctx.prefix.clear();  // only the first block of an item carries the marker
    }
  }

  void List(cmark_node* n, const Context& ctx) {
    const bool ordered = cmark_node_get_list_type(n) == CMARK_ORDERED_LIST;
    int number = cmark_node_get_list_start(n);
    for (cmark_node* item = cmark_node_first_child(n); item; item = cmark_node_next(item)) {
      Context inner = ctx;
      inner.indent = static_cast<int16_t>(ctx.indent + kIndentStep);
      inner.depth++;
      inner.prefix = ordered ? std::to_string(number++) + ".\t" : "\x95\t";  // cp1251 bullet
      Children(item, inner);
    }
  }

  void CodeBlock(cmark_node* n, const Context& ctx) {
    ParagraphFormat p;
    p.spaceAfter = kParagraphGap;
    StartParagraph(ctx, p);
    writer_.Format(CharFormat{kCodeFont, 20, 0, kTextColour});
    std::string text = Convert(n, cmark_node_get_literal(n));
    while (!text.empty() && text.back() == '\n') text.pop_back();
    size_t start = 0;
    for (;;) {
      const size_t end = text.find('\n', start);
      writer_.Text(Printable(text.substr(start, end - start)));
      if (end == std::string::npos) break;
      writer_.LineBreak();
      start = end + 1;
    }
  }

  // Control bytes other than TAB cannot stand in rich text; they become spaces.
  static std::string Printable(std::string s) {
    for (char& c : s)
      if (static_cast<uint8_t>(c) < 0x20 && c != '\t') c = ' ';
    return s;
  }

  void Inlines(cmark_node* parent) {
    for (cmark_node* n = cmark_node_first_child(parent); n; n = cmark_node_next(n)) Inline(n);
  }

  void WithStyle(cmark_node* n, uint8_t style) {
    const CharFormat saved = base_;
    base_.style |= style;
    Inlines(n);
    base_ = saved;
  }

  void Inline(cmark_node* n) {
    switch (cmark_node_get_type(n)) {
      case CMARK_NODE_TEXT:
        writer_.Format(base_);
        writer_.Text(Printable(Convert(n, cmark_node_get_literal(n))));
        break;
      case CMARK_NODE_SOFTBREAK:
        writer_.Format(base_);
        writer_.Text(" ");
        break;
      case CMARK_NODE_LINEBREAK: writer_.LineBreak(); break;
      case CMARK_NODE_CODE: {
        CharFormat f = base_;
        f.font = kCodeFont;
        writer_.Format(f);
        writer_.Text(Printable(Convert(n, cmark_node_get_literal(n))));
        break;
      }
      case CMARK_NODE_EMPH: WithStyle(n, mv::kItalic); break;
      case CMARK_NODE_STRONG: WithStyle(n, mv::kBold); break;
      case CMARK_NODE_LINK: Link(n); break;
      case CMARK_NODE_IMAGE: Image(n); break;
      case CMARK_NODE_HTML_INLINE: Error(n, "HTML is not part of the authoring format"); break;
      default: Error(n, std::string("unsupported inline: ") + cmark_node_get_type_string(n)); break;
    }
  }

  void Link(cmark_node* n) {
    if (inLink_) return Error(n, "a link inside a link");
    const std::string url = Convert(n, cmark_node_get_url(n));
    mv::HotspotKind kind;
    std::string data;
    uint32_t hash = 0;
    CharFormat look = base_;
    if (url.starts_with("#") || url.starts_with("popup:")) {
      const bool jump = url[0] == '#';
      data = url.substr(jump ? 1 : 6);
      kind = jump ? mv::HotspotKind::Jump : mv::HotspotKind::Popup;
      hash = mv::ContextHash(data);
      out_->targets.push_back({data, Line(n)});
      look.colour = kJumpColour;
      if (jump) look.style |= mv::kUnderline;
    } else if (url.starts_with("cmd:")) {
      data = url.substr(4);
      kind = mv::HotspotKind::Command;
      if (const size_t gt = data.find('>'); gt != std::string::npos) out_->targets.push_back({data.substr(0, gt), Line(n)});
      look.colour = kCommandColour;
      look.style |= mv::kUnderline;
    } else {
      return Error(n, "link target '" + url + "' is not #context, popup:context or cmd:command");
    }
    if (data.empty() || data.size() > mv::kMaxHotspotDataBytes)
      return Error(n, "link target must hold 1 to 255 characters");
    writer_.BeginLink(kind, hash, data);
    const CharFormat saved = base_;
    base_ = look;
    inLink_ = true;
    Inlines(n);
    inLink_ = false;
    base_ = saved;
    writer_.EndLink();
  }

  static void PlainChildren(cmark_node* n, std::string* out) {
    for (cmark_node* c = cmark_node_first_child(n); c; c = cmark_node_next(c)) {
      if (const char* lit = cmark_node_get_literal(c)) *out += lit;
      PlainChildren(c, out);
    }
  }

  void Image(cmark_node* n) {
    const std::string name = Convert(n, cmark_node_get_url(n));
    std::string altUtf8;
    PlainChildren(n, &altUtf8);
    const std::string alt = Printable(Convert(n, altUtf8.c_str()));
    if (name.starts_with(kWindowScheme)) return Window(n, name.substr(kWindowScheme.size()), alt);
    if (name.empty() || name.size() > 255 || alt.size() > 255) return Error(n, "image name and caption hold 1 to 255 characters");
    out_->pictures.push_back({name, Line(n)});
    writer_.Format(base_);
    writer_.Picture(name, alt);
  }

  // ![data](window:Class@WIDTHxHEIGHT): a child window of Class, given the data as its text,
  // in a box of that many pixels.
  void Window(cmark_node* n, std::string_view target, const std::string& data) {
    const size_t at = target.rfind('@');
    const std::string_view className = target.substr(0, at);
    unsigned width = 0, height = 0;
    char tail = 0;
    const std::string size(at == std::string_view::npos ? std::string_view{} : target.substr(at + 1));
    if (at == std::string_view::npos || className.empty() || className.size() > 255 ||
        std::sscanf(size.c_str(), "%ux%u%c", &width, &height, &tail) != 2)
      return Error(n, "an embedded window is written ![data](window:Class@WIDTHxHEIGHT)");
    if (width == 0 || height == 0 || width > mv::kMaxEmbeddedSide || height > mv::kMaxEmbeddedSide)
      return Error(n, "an embedded window is 1 to " + std::to_string(mv::kMaxEmbeddedSide) + " pixels each way");
    if (data.size() > 255) return Error(n, "an embedded window's data holds at most 255 characters");
    writer_.Format(base_);
    writer_.Window(className, data, static_cast<uint16_t>(width), static_cast<uint16_t>(height));
  }

  static constexpr std::string_view kWindowScheme = "window:";

  const TopicFile& topic_;
  RenderedTopic* out_;
  Diagnostics* diags_;
  mv::RichTextWriter writer_;
  CharFormat base_;
  bool inLink_ = false;
};

}  // namespace

bool ToCp1251(const std::string& utf8, const std::string& file, int line, std::string* out, Diagnostics* diags) {
  size_t bad = 0;
  auto converted = Utf8ToCp1251(utf8, &bad);
  if (converted) {
    *out = std::move(*converted);
    return true;
  }
  // Name the offending character by its code point, or say the bytes are not UTF-8.
  const auto b = bad < utf8.size() ? static_cast<uint8_t>(utf8[bad]) : uint8_t{0};
  const size_t len = b >= 0xF0 && b < 0xF8 ? 4 : b >= 0xE0 && b < 0xF0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
  char32_t cp = len == 0 ? 0 : b & (0x7F >> len);
  bool wellFormed = len > 0 && bad + len <= utf8.size();
  for (size_t k = 1; wellFormed && k < len; ++k) {
    const auto c = static_cast<uint8_t>(utf8[bad + k]);
    wellFormed = (c & 0xC0) == 0x80;
    cp = cp << 6 | (c & 0x3F);
  }
  if (!wellFormed) {
    diags->Error(file, line, "text is not UTF-8");
  } else {
    char name[32];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
    diags->Error(file, line, std::string("character ") + name + " cannot be written in code page 1251");
  }
  out->clear();
  return false;
}

bool RenderBody(const TopicFile& topic, RenderedTopic* out, Diagnostics* diags) {
  const size_t before = diags->size();
  *out = RenderedTopic{};
  Renderer(topic, out, diags).Run();
  return diags->size() == before;
}

}  // namespace kro::titlec

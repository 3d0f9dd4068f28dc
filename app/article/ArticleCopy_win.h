#pragma once
// The whole text of an article on the clipboard: the heading followed directly by the body.
#include <windows.h>

#include <string>

#include "app/article/TopicWindow_win.h"

namespace kro::article {

// The heading's text then the body's, nothing between them; empty when neither region has
// text.
std::string ArticleText(TopicRecord* record);
// Puts ArticleText on the clipboard as CF_TEXT and CF_UNICODETEXT, owned by the topic
// window; with no text the clipboard is left as it was. Answers whether it was put.
bool CopyArticleText(TopicRecord* record);

}  // namespace kro::article

#pragma once
// Topic windows (class MV13TopicClass): one topic in two panes, the heading strip above
// the scrolling body; show topic, the single navigation step of the program; the main
// article window and the secondary window; the current title, letter and letter folder.
#include <windows.h>

#include <cstdint>

#include "app/article/LetterTable.h"
#include "app/article/Pane_win.h"
#include "runtime/mediaview/MediaView.h"

namespace kro::article {

inline constexpr char kTopicClass[] = "MV13TopicClass";

// One per topic window, kept in its window word; freed when the window is destroyed.
struct TopicRecord {
  int32_t alive;          // 1 while the topic window exists
  HWND topicWindow;
  HWND scrollingPane;     // kind 1, the article body
  HWND nonScrollingPane;  // kind 0, the heading strip
  HWND selectionPane;     // the pane last clicked; 0 at first
  HWND owner;             // receives kTopicActivated and kTopicClosed
};

// Messages a topic window sends to its owner, lParam = the topic window.
enum : UINT {
  kTopicActivated = WM_USER + 3000,
  kTopicClosed = WM_USER + 3001,  // closed by the user; the record is gone after it
};
// The steps PreviousNext takes, as the main window asks for them.
enum : UINT { kNextArticle = WM_USER + 12, kPreviousArticle = WM_USER + 13 };
enum : int { kLayOutDead = 2001 };

// What show topic and the panes need from the rest of the program.
class ArticleHost {
public:
  virtual ~ArticleHost() = default;
  virtual void RecordHistory(LPMV mainDisplay) = 0;  // before every navigation step
  virtual void NavigationChanged(bool hasPrevious, bool hasNext) = 0;
  virtual void LetterChanged(int letterIndex) = 0;
  virtual void ArticleShown(TopicRecord* record) = 0;  // media links, slide window
  virtual void ApplyHighlights(LPMV scrollingDisplay) = 0;
  virtual HWND MainWindow() = 0;
};
void SetArticleHost(ArticleHost* host);

// MV13TopicClass, then MV13PaneClass.
bool RegisterArticleClasses(HINSTANCE instance);

// Shows `context` (or the title's contents topic when it is null or unknown); null when a
// pane cannot be made. The window is not laid out until it gets a size.
TopicRecord* CreateTopicWindow(HINSTANCE instance, HMVTITLE title, HWND parent, DWORD style, const char* context,
                               HotspotCallback callback);
void DestroyTopicWindow(TopicRecord* record);
// Heading pane at its natural height (at most the window's), body below; kLayOutDead for
// a dead record.
int LayOut(TopicRecord* record);
// The body's display when the topic has a body, else the heading's.
LPMV MainDisplay(TopicRecord* record);

// The navigation step: shows `address` (-1: only re-reads the title and letter) and tells
// the host. Answers 1 when a topic was shown.
int ShowTopic(TopicRecord* record, LONG address, LONG scroll);
// kNextArticle or kPreviousArticle; 0 at the ends.
int PreviousNext(TopicRecord* record, UINT command);
void ShowByContextString(const char* context, TopicRecord* record);
// Shows the first topic of a stored topic list (the letter commands pass the folder).
void ShowByStoredList(const char* listName, TopicRecord* record);
void ClearSelection(TopicRecord* record);
void SetDisplayLook(LPMV display);

// The main article window: "topic_ros14" in the article area, visible, the look applied;
// the host hears of the article and the letter. `callback` 0: the standard handler.
TopicRecord* CreateMainArticleWindow(HINSTANCE instance, HMVTITLE title, HWND articleArea,
                                     HotspotCallback callback = nullptr);
TopicRecord* MainArticle();
TopicRecord* SecondaryWindow();
// Opens (or reuses) the secondary window on `context`, captioned with the linking topic's name.
void ShowInSecondaryWindow(const char* context, LPMV linkDisplay);
// The hotspot handler of the article windows: jumps record the history and show the
// whole article in the main article window, popups open full-screen, and authored
// commands open the secondary window or activate the display.
LONG CALLBACK ArticleHotspotHandler(LPMV display, LPMVHOTSPOTINFO hotspot);

const char* CurrentTitle();
int CurrentLetterIndex();
const char* CurrentLetterFolder();

// Copies the selection of the body, else of the heading, to the clipboard.
bool CopySelection(TopicRecord* record);

}  // namespace kro::article

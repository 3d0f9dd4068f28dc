// Journeys of a reader through the real player.exe, from start-up refusals to reading,
// finding, watching, printing and copying: driven from outside with clicks and keys,
// judged by window state, message texts and the pixels on the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/article/ArticlePrint_win.h"
#include "app/article/Pane_win.h"
#include "app/article/tests/TestPrinter_win.h"
#include "app/shell/MainWindow_win.h"
#include "app/shell/Program_win.h"
#include "runtime/base/FileIo_win.h"
#include "tests/e2e/PlayerFixture_win.h"
#include "tests/support/Canvas_win.h"
#include "tests/support/Clipboard_win.h"
#include "tests/support/HostCommand_win.h"
#include "tests/support/Messages_win.h"

namespace kro::e2e {
namespace {

using wintest::AutoRun;
using wintest::Descendant;
using wintest::HostPath;
using wintest::TextOf;
using namespace shell;  // the commands and window classes

// --- start-up refusals ------------------------------------------------------------------

constexpr char kReinstall[] = "Обнаружена ошибка в файлах инициализации. Пожалуйста, переустановите программу!";
constexpr char kNoTitle[] = "Невозможно открыть  файл\n с текстом Энциклопедии!!!";
constexpr char kNoQuickTime[] = "Невозможно загрузить QuickTime!  Установите QuickTime for Windows версии  2.11.57.";

class PlayerStartUpTest : public PlayerTest {
protected:
  // The message of the box that start-up shows instead of the main window, which the user
  // then dismisses; "<no box>" when none came.
  std::string Refusal(const char* caption) {
    const HWND box = player_.Window("#32770", kStartPolls);
    if (!box) return "<no box>";
    EXPECT_EQ(TextOf(box), caption);
    // The main window, where it is made yet, stays hidden.
    const HWND main = FindWindowA(kMainWindowClass, nullptr);
    EXPECT_TRUE(!main || !IsWindowVisible(main));
    const std::string message = wintest::BoxMessage(box);
    if (!shotTaken_) Screenshot(box, "startup-error.png");
    shotTaken_ = true;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return message;
  }
  bool shotTaken_ = false;
};

// A copy of the program in a folder of its own, without the movie service beside it.
bool CopyWithoutMovies(const wintest::TemporaryFolder& folder) {
  const std::string bin = HostPath(KRO_PLAYER_EXE).substr(0, HostPath(KRO_PLAYER_EXE).rfind('\\') + 1);
  return CopyFileA(HostPath(KRO_PLAYER_EXE).c_str(), (folder / "player.exe").c_str(), FALSE) &&
         CopyFileA((bin + "mvcl14n.dll").c_str(), (folder / "mvcl14n.dll").c_str(), FALSE);
}

TEST_F(PlayerStartUpTest, EachRefusalShowsItsMessageEndsWithOneAndGivesAutoRunBack) {
  const wintest::TemporaryFolder damaged, bare;
  ASSERT_TRUE(wintest::WriteTextFile(damaged / "kro.m14", "not a title at all"));
  ASSERT_TRUE(CopyWithoutMovies(bare));
  const struct {
    const char* what;
    std::string productDir;  // empty: the key is removed
    std::string exe;
    const char* message;
  } kCases[] = {
      {"no ProductDir", "", HostPath(KRO_PLAYER_EXE), kReinstall},
      {"a damaged title", damaged.Path(), HostPath(KRO_PLAYER_EXE), kNoTitle},
      {"no movie service", HostPath(KRO_PRODUCT_DIR), bare / "player.exe", kNoQuickTime},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    wintest::SetIni("ProductDir", c.productDir.empty() ? nullptr : c.productDir.c_str());
    // Started where the movie service cannot be found but beside the program.
    ASSERT_TRUE(player_.Launch(c.exe, {}, bare.Path()));
    EXPECT_EQ(Refusal("Ошибка"), c.message);
    EXPECT_EQ(ExitCode(), 1u);
    EXPECT_EQ(AutoRun(), kUserAutoRun);
  }
}

TEST_F(PlayerStartUpTest, ASecondCopyIsRefusedAndTheFirstKeepsAutoRunOff) {
  ASSERT_TRUE(Start());
  wintest::ProgramProcess second;
  ASSERT_TRUE(second.Launch(HostPath(KRO_PLAYER_EXE)));
  const HWND box = second.Window("#32770", kStartPolls);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(TextOf(box), "Энциклопедия");
  EXPECT_EQ(wintest::BoxMessage(box), "Энциклопедия уже запущена!");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(second.ExitCode(kExitPolls), 1u);
  EXPECT_EQ(AutoRun(), kRunningAutoRun);  // the second copy never took it for the user's
  EXPECT_EQ(Quit(), 0u);
  EXPECT_EQ(AutoRun(), kUserAutoRun);
}

// The prompts carry their texts in their pictures: the dialog must show the program's own
// bitmap of that name.
::testing::AssertionResult ShowsPrompt(HWND dialog, const char* bitmapName) {
  const HMODULE program = LoadLibraryExA(HostPath(KRO_PLAYER_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!program) return ::testing::AssertionFailure() << "the program's resources do not load";
  const auto bitmap = static_cast<HBITMAP>(LoadImageA(program, bitmapName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  FreeLibrary(program);
  if (!bitmap) return ::testing::AssertionFailure() << "no bitmap " << bitmapName;
  BITMAP size{};
  GetObjectA(bitmap, sizeof size, &size);
  wintest::Canvas expected(size.bmWidth, size.bmHeight), shown(size.bmWidth, size.bmHeight);
  {
    const HDC source = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(source, bitmap);
    BitBlt(expected.Dc(), 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(bitmap);
  }
  POINT origin{0, 0};
  ClientToScreen(dialog, &origin);
  const HDC screen = GetDC(nullptr);
  BitBlt(shown.Dc(), 0, 0, size.bmWidth, size.bmHeight, screen, origin.x, origin.y, SRCCOPY);
  ReleaseDC(nullptr, screen);
  // Above the buttons the picture is all there is.
  int same = 0, all = 0;
  for (int y = 2; y < 100 && y < size.bmHeight; y += 3)
    for (int x = 2; x < size.bmWidth; x += 3, ++all) same += wintest::Near(shown.At(x, y), expected.At(x, y), 8) ? 1 : 0;
  if (same * 10 >= all * 9) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << same << " of " << all << " pixels are those of " << bitmapName;
}

TEST_F(PlayerStartUpTest, WithoutTheDiscThePromptAsksForItAndADeclineEndsTheProgram) {
  const wintest::TemporaryFolder empty;
  wintest::SetIni("ProductDir", empty.Path().c_str());
  ASSERT_TRUE(Launch());
  const HWND prompt = player_.Window("#32770", kStartPolls);
  ASSERT_NE(prompt, nullptr);
  EXPECT_EQ(FindWindowA(kMainWindowClass, nullptr), nullptr);  // no main window before the disc
  EXPECT_EQ(AutoRun(), kRunningAutoRun);
  player_.Idle(10);
  EXPECT_TRUE(ShowsPrompt(prompt, "instal_2"));  // insert the encyclopedia disc
  Screenshot(prompt, "disc-prompt.png");
  const HWND no = ButtonAt(prompt, 130, 105);
  ASSERT_NE(no, nullptr);
  PostClick(no, {5, 5});
  EXPECT_EQ(ExitCode(), 1u);
  EXPECT_EQ(AutoRun(), kUserAutoRun);
}


// --- reading ----------------------------------------------------------------------------

// What the pane shows, in one number: paging has ended when it no longer changes.
uint64_t PaneLook(HWND pane) {
  RECT rect;
  GetWindowRect(pane, &rect);
  wintest::Canvas shown(rect.right - rect.left, rect.bottom - rect.top);
  const HDC screen = GetDC(nullptr);
  BitBlt(shown.Dc(), 0, 0, shown.Width(), shown.Height(), screen, rect.left, rect.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  uint64_t hash = 1469598103934665603ull;
  for (int y = 0; y < shown.Height(); y += 2)
    for (int x = 0; x < shown.Width(); x += 2) hash = (hash ^ shown.Rgb(x, y)) * 1099511628211ull;
  return hash;
}

// Pages the article with PageDown (or PageUp) until it moves no further.
void PageThrough(const wintest::ProgramProcess& player, HWND body, WPARAM key) {
  for (int page = 0; page < 60; ++page) {
    const uint64_t before = PaneLook(body);
    PostMessageA(body, WM_KEYDOWN, key, 1);
    if (!player.WaitFor([&] { return PaneLook(body) != before; }, 30)) break;
    player.Idle(5);  // the rest of the page painted
  }
}

// Clicks the first (or last) link word of the kind on the pane's screen; false when there
// is none.
bool ClickLink(HWND body, bool underlined, bool last = false) {
  const auto words = LinkWords(body);
  auto found = words.end();
  for (auto it = words.begin(); it != words.end(); ++it)
    if (it->underlined == underlined) {
      found = it;
      if (!last) break;
    }
  if (found == words.end()) return false;
  POINT at{(found->area.left + found->area.right) / 2, (found->area.top + found->area.bottom) / 2};
  ScreenToClient(body, &at);
  PostClick(body, at);
  return true;
}

// A reader's session: a popup, a link, the enlarged picture, another link and back, the
// way and a bookmark; the next start comes back to the article read last, at its top,
// with the bookmark kept.
TEST_F(PlayerTest, AReaderFollowsPopupsAndLinksGoesBackKeepsABookmarkAndComesBackToIt) {
  const std::string start = Named("topic_ros14"), linked = Named("topic_kaliningrad"), further = Named("topic_chukotka");
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Shows(start)) << TextOf(main_);
  HWND body = ArticleBody(main_);
  ASSERT_TRUE(body);
  player_.Idle(20);
  Screenshot(main_, "article.png");

  // The popup near the article's end ("герб"): green, not underlined.
  PageThrough(player_, body, VK_NEXT);
  ASSERT_TRUE(ClickLink(body, false));
  HWND popup = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (popup = wintest::ProcessWindow(player_.Id(), article::kPaneClass)) != nullptr; },
                      kStepPolls));
  EXPECT_TRUE(Shows(start));  // a popup shows over the article, which stays
  Screenshot(main_, "link-popup.png");  // the popup covers the screen
  PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(popup) || !IsWindowVisible(popup); }, kStepPolls));

  // Back at the top, the first link of the text ("Калининграде").
  PageThrough(player_, body, VK_PRIOR);
  EXPECT_EQ(GetScrollPos(body, SB_VERT), 0);
  ASSERT_TRUE(ClickLink(body, true));
  ASSERT_TRUE(Shows(linked)) << TextOf(main_);

  // The picture, enlarged: its own pixels on the screen, not a black frame.
  const HWND slide = FindWindowExA(main_, nullptr, kSlideWindowClass, nullptr);
  ASSERT_TRUE(slide);
  PostMessageA(slide, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(90, 100));
  HWND enlarged = Window("PopupClass");
  ASSERT_TRUE(enlarged);
  EXPECT_FALSE(IsWindowEnabled(main_));
  RECT picture;
  GetWindowRect(enlarged, &picture);
  player_.Idle(20);  // let it paint
  int dark = 0;
  {
    const HDC screen = GetDC(nullptr);
    for (int i = 1; i <= 9; ++i)
      for (int j = 1; j <= 9; ++j) {
        const COLORREF c = GetPixel(screen, picture.left + (picture.right - picture.left) * i / 10,
                                    picture.top + (picture.bottom - picture.top - 27) * j / 10);
        dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 24;
      }
    ReleaseDC(nullptr, screen);
  }
  EXPECT_LT(dark, 40) << "the enlarged picture is black on the screen";
  Screenshot(enlarged, "picture.png");
  const HWND caption = FindWindowExA(enlarged, nullptr, "Edit", nullptr);
  ASSERT_TRUE(caption);
  PostMessageA(caption, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(enlarged) && IsWindowEnabled(main_); }, kStepPolls));

  // The link at the article's end ("Чукотки"), and back by the toolbar's button.
  body = ArticleBody(main_);
  PageThrough(player_, body, VK_NEXT);
  ASSERT_TRUE(ClickLink(body, true, true));
  ASSERT_TRUE(Shows(further)) << TextOf(main_);
  const HWND back = ButtonAt(main_, 220, 25);
  ASSERT_TRUE(back);
  PostClick(back, {5, 5});
  ASSERT_TRUE(Shows(linked)) << TextOf(main_);

  // The way lists what was left, newest first: the back step left the article it came from.
  PostMessageA(main_, WM_COMMAND, kCmdHistory, 0);
  const HWND way = Window("HistoryDialog");
  ASSERT_TRUE(way);
  EXPECT_EQ(TextOf(way), "Путь");
  EXPECT_EQ(ListTexts(Descendant(way, "ListBox")), (std::vector<std::string>{further, linked, start}));
  Screenshot(way, "history.png");
  PostMessageA(way, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(way); }, kStepPolls));

  // A bookmark named in its field, added with Enter, the dialog closed with Esc.
  PostMessageA(main_, WM_COMMAND, kCmdBookmarks, 0);
  HWND marks = Window("BookmarkDialog");
  ASSERT_TRUE(marks);
  const HWND field = Descendant(marks, "Edit");
  ASSERT_TRUE(field);
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Янтарный край"));
  PostMessageA(field, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(WaitFor([&] { return Descendant(marks, "ListBox") != nullptr; }, kStepPolls));
  Screenshot(marks, "bookmarks.png");
  PostMessageA(field, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(marks); }, kStepPolls));
  ASSERT_EQ(Quit(), 0u);

  ASSERT_TRUE(Start());
  EXPECT_TRUE(Shows(linked)) << TextOf(main_);
  body = ArticleBody(main_);
  ASSERT_TRUE(body);
  EXPECT_EQ(GetScrollPos(body, SB_VERT), 0);  // at its top
  PostMessageA(main_, WM_COMMAND, kCmdBookmarks, 0);
  ASSERT_TRUE(marks = Window("BookmarkDialog"));
  EXPECT_EQ(ListTexts(Descendant(marks, "ListBox")), std::vector<std::string>{"Янтарный край"});
  PostMessageA(marks, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(marks); }, kStepPolls));
  EXPECT_EQ(Quit(), 0u);
}

// --- finding ----------------------------------------------------------------------------

class PlayerFindingTest : public PlayerTest {
protected:
  // Makes the dialog the active one, as the reader's click does: the dialog keys serve it.
  bool Activate(HWND dialog) {
    SetForegroundWindow(dialog);
    return WaitFor([&] { return GetForegroundWindow() == dialog; }, kStepPolls);
  }
  // Types the query into the search dialog and presses Enter, as the reader does.
  HWND Search(const std::string& query, bool everyForm, const char* shot = nullptr) {
    PostMessageA(main_, WM_COMMAND, kCmdSearch, 0);
    const HWND search = Window("SearchDialog");
    if (!search || !Activate(search)) return nullptr;
    const HWND option = FindWindowExA(search, nullptr, "Button", nullptr);
    if ((SendMessageA(option, BM_GETCHECK, 0, 0) == BST_CHECKED) != everyForm) PostClick(option, {3, 3});
    const HWND edit = GetWindow(FindWindowExA(search, nullptr, "ComboBox", nullptr), GW_CHILD);
    // The last query comes back selected, so typing replaces it.
    for (const char c : query) PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    if (shot) {
      WaitFor([&] { return TextOf(edit) == query; }, kStepPolls);
      Screenshot(search, shot);
    }
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    return search;
  }
  // The titles the results dialog lists once it has them.
  std::vector<std::string> Found(HWND* results) {
    *results = Window("SearchResultsDialog");
    const HWND list = *results ? FindWindowExA(*results, nullptr, "ListBox", nullptr) : nullptr;
    if (!list || !WaitFor([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) > 0; }, kStepPolls)) return {};
    return ListTexts(list);
  }
};

TEST_F(PlayerFindingTest, FindsArticlesByContentsAndSearchShowsTheFoundWordsAndExportsTheList) {
  ASSERT_TRUE(Start());
  PostMessageA(main_, WM_COMMAND, kCmdContents, 0);
  const HWND contents = Window("IndexDialog");
  ASSERT_TRUE(contents);
  EXPECT_EQ(TextOf(contents), "Содержание");
  const HWND list = FindWindowExA(contents, nullptr, "VirtualListBox", nullptr);
  const HWND prefix = FindWindowExA(contents, nullptr, "Edit", nullptr);
  const HWND illustrated = FindWindowExA(contents, nullptr, "Button", nullptr);
  ASSERT_TRUE(list && prefix && illustrated);
  const auto Count = [&] { return SendMessageA(list, WM_USER + 505, 0, 0); };
  const LRESULT total = Count();
  EXPECT_GT(total, 100);
  // By prefix: the entry named by the typed start.
  SetWindowTextA(prefix, "Волг");
  const auto volga = static_cast<LRESULT>(SampleTitle().TopicByContext("topic_volga"));
  EXPECT_TRUE(WaitFor([&] { return SendMessageA(list, WM_USER + 502, 0, 0) == volga; }, kStepPolls));
  Screenshot(contents, "contents.png");
  // The illustrated box alone: the articles with pictures.
  PostClick(illustrated, {3, 3});
  EXPECT_TRUE(WaitFor([&] { return SendMessageA(illustrated, BM_GETCHECK, 0, 0) == BST_CHECKED; }, kStepPolls));
  const LRESULT withPictures = Count();
  EXPECT_GT(withPictures, 0);
  EXPECT_LT(withPictures, total);
  // And two categories (rivers and lakes), as the category list reports the ticks: the
  // illustrated articles of either.
  for (int id : {4, 5}) SendMessageA(contents, WM_USER + 100, id, 1);
  SendMessageA(contents, WM_USER + 106, WM_USER + 100, 0);
  const LRESULT illustratedWaters = Count();
  EXPECT_GT(illustratedWaters, 1);
  EXPECT_LE(illustratedWaters, withPictures);
  // Without the box, every article of the two.
  PostClick(illustrated, {3, 3});
  EXPECT_TRUE(WaitFor([&] { return SendMessageA(illustrated, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }, kStepPolls));
  const LRESULT waters = Count();
  EXPECT_GE(waters, illustratedWaters);
  EXPECT_LT(waters, total);
  ASSERT_TRUE(Activate(contents));
  PostMessageA(prefix, WM_KEYDOWN, VK_ESCAPE, 1);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(contents); }, kStepPolls));

  // A phrase finds its words side by side, and the same words the other way round nothing.
  HWND results = nullptr;
  ASSERT_TRUE(Search("\"Тихим океаном\"", false));
  std::vector<std::string> titles = Found(&results);
  EXPECT_NE(std::find(titles.begin(), titles.end(), Named("topic_ros14")), titles.end());
  ASSERT_TRUE(results);
  PostMessageA(results, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(results); }, kStepPolls));
  const HWND search = Search("\"океаном Тихим\"", false);
  ASSERT_TRUE(search);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowA("#32770", "Поиск")) != nullptr; }, kStepPolls));
  EXPECT_EQ(wintest::BoxMessage(box), "Нет такого текста!");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kStepPolls));
  PostMessageA(search, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(search); }, kStepPolls));

  // Another form of a word, opened with the word highlighted on screen.
  ASSERT_TRUE(Search("Волгой", true, "search.png"));
  titles = Found(&results);
  ASSERT_FALSE(titles.empty());
  EXPECT_NE(std::find(titles.begin(), titles.end(), Named("topic_volga")), titles.end());
  Screenshot(results, "results.png");
  const HWND found = FindWindowExA(results, nullptr, "ListBox", nullptr);
  ASSERT_TRUE(Activate(results));
  PostMessageA(found, WM_KEYDOWN, VK_F9, 1);
  // The player holds the file unshared while it writes: it can be read once it is done.
  decltype(ReadWholeFile(work_ / "lsttxt0")) exported;
  ASSERT_TRUE(WaitFor([&] { return (exported = ReadWholeFile(work_ / "lsttxt0")).has_value(); }, kStepPolls));
  std::string expected;
  for (const auto& t : titles) expected += t + "\r\n";
  EXPECT_EQ(std::string(exported->begin(), exported->end()), expected);

  PostMessageA(found, WM_KEYDOWN, VK_RETURN, 1);  // opens the first found article
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(results); }, kStepPolls));
  EXPECT_TRUE(Shows(titles[0])) << TextOf(main_);
  const HWND pane = ArticleBody(main_);
  ASSERT_TRUE(pane);
  // The marker colour under the found word, somewhere in the article's view.
  RECT view;
  GetWindowRect(pane, &view);
  int marked = 0;
  ASSERT_TRUE(WaitFor([&] {
    const HDC screen = GetDC(nullptr);
    marked = 0;
    for (int y = view.top; y < view.bottom; y += 2)
      for (int x = view.left; x < view.right; x += 2) marked += GetPixel(screen, x, y) == RGB(246, 218, 120);
    ReleaseDC(nullptr, screen);
    return marked > 5;
  }, kStepPolls)) << marked;
  Screenshot(main_, "highlight.png");
  EXPECT_EQ(Quit(), 0u);
}

// --- watching, printing and copying -----------------------------------------------------

// A disc of the test's own in a scratch folder: hard links to the sample disc's files (a
// copy where links cannot be made), so that files can go and come back as a swapped disc
// would make them.
bool LinkTree(const std::string& from, const std::string& to) {
  if (!CreateDirectoryA(to.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA((from + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool all = true;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    const std::string source = from + "\\" + name, target = to + "\\" + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      all = LinkTree(source, target) && all;
    else
      all = (CreateHardLinkA(target.c_str(), source.c_str(), nullptr) || CopyFileA(source.c_str(), target.c_str(), FALSE)) && all;
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return all;
}

bool PutFile(const std::string& source, const std::string& target) {
  return CreateHardLinkA(target.c_str(), source.c_str(), nullptr) || CopyFileA(source.c_str(), target.c_str(), FALSE);
}

class PlayerDiscTest : public PlayerTest {
protected:
  void SetUp() override {
    PlayerTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(LinkTree(HostPath(KRO_PRODUCT_DIR), disc_ / "drive"));
    wintest::SetIni("ProductDir", (disc_ / "drive").c_str());
  }
  std::string OnDisc(const char* name) const { return disc_ / "drive\\" + name; }
  // The encyclopedia disc out of the drive and the archive disc in, or back.
  void SwapToArchive() {
    ASSERT_TRUE(DeleteFileA(OnDisc("sound.mov").c_str()));
    ASSERT_TRUE(PutFile(HostPath(KRO_ARCHIVE_DIR "/MOVIES/ORBITAL.MOV"), OnDisc("movies\\ORBITAL.MOV")));
  }
  // The archive's movie stays open while its window is up: it goes once the window has.
  void SwapToEncyclopedia() { ASSERT_TRUE(PutFile(HostPath(KRO_PRODUCT_DIR "/sound.mov"), OnDisc("sound.mov"))); }
  void TakeOutArchive() { ASSERT_TRUE(DeleteFileA(OnDisc("movies\\ORBITAL.MOV").c_str())); }
  // The disc prompt now up, once it shows the picture of that name.
  HWND Prompt(const char* picture) {
    HWND prompt = nullptr;
    WaitFor([&] { return (prompt = wintest::ProcessWindow(player_.Id(), "#32770")) != nullptr; }, kStepPolls);
    if (!prompt) return nullptr;
    player_.Idle(10);
    EXPECT_TRUE(ShowsPrompt(prompt, picture));
    return prompt;
  }
  // Presses the prompt's Yes (or No) button and waits for the prompt to go.
  bool Answer(HWND prompt, bool yes) {
    const HWND button = ButtonAt(prompt, yes ? 40 : 130, 105);
    if (!button) return false;
    PostClick(button, {5, 5});
    return WaitFor([&] { return !IsWindow(prompt); }, kStepPolls);
  }
  bool NoVideoWindow() {
    // Some rounds in which another prompt or the frame would have come up.
    player_.Idle(30);
    return !wintest::ProcessWindow(player_.Id(), "VideoParentClass") && !wintest::ProcessWindow(player_.Id(), "#32770");
  }
  wintest::TemporaryFolder disc_;
};

// The movie of the archive disc alone, from the video gallery: the player asks for that
// disc; without it, it lets the reader go with his own disc still in; with it, the movie
// plays, and closing it asks for the encyclopedia disc back.
TEST_F(PlayerDiscTest, TheVideoWindowAsksForTheArchiveDiscAndForItsOwnDiscBack) {
  ASSERT_TRUE(Start());
  PostMessageA(main_, WM_COMMAND, kCmdStartScreen, 0);
  PostMessageA(main_, WM_COMMAND, kCmdVideoGallery, 0);
  const HWND gallery = Window("GalleryDialog");
  ASSERT_TRUE(gallery);
  const HWND list = FindWindowExA(gallery, nullptr, "ListBox", nullptr);
  const LRESULT orbital = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Земля с орбиты"));
  ASSERT_GE(orbital, 0);
  const auto Play = [&] {
    SendMessageA(list, LB_SETCURSEL, orbital, 0);
    PostMessageA(gallery, WM_COMMAND, MAKEWPARAM(0, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  };

  // No archive disc: Yes asks again, No gives up.
  Play();
  HWND prompt = Prompt("instal_1");  // insert the archive disc
  ASSERT_TRUE(prompt);
  ASSERT_TRUE(Answer(prompt, true));
  ASSERT_TRUE(prompt = Prompt("instal_1"));
  ASSERT_TRUE(Answer(prompt, false));
  EXPECT_TRUE(NoVideoWindow());
  EXPECT_TRUE(IsWindowEnabled(gallery));

  // The archive disc put in: the movie plays.
  Play();
  ASSERT_TRUE(prompt = Prompt("instal_1"));
  SwapToArchive();
  ASSERT_TRUE(Answer(prompt, true));
  const HWND frame = Window("VideoParentClass");
  ASSERT_TRUE(frame);
  const HWND movie = FindWindowExA(frame, nullptr, "VideoClass", nullptr);
  EXPECT_TRUE(WaitFor([&] { return movie && IsWindowVisible(movie); }, kStepPolls));
  EXPECT_EQ(TextOf(FindWindowExA(frame, nullptr, "Static", nullptr)), "Земля с орбиты");
  Screenshot(frame, "video.png");

  // Closed without the encyclopedia disc: asked for, put back, closed.
  PostMessageA(frame, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(prompt = Prompt("instal_2"));  // insert the encyclopedia disc
  EXPECT_TRUE(IsWindow(frame));
  SwapToEncyclopedia();
  ASSERT_TRUE(Answer(prompt, true));
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(frame); }, kStepPolls));
  EXPECT_TRUE(NoVideoWindow());
  TakeOutArchive();
  PostMessageA(gallery, WM_COMMAND, 2, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(gallery); }, kStepPolls));
  EXPECT_EQ(CloseByCaptionButton(), 0u);
}

// The host's view of a file that a host command wrote in UTF-8, in the program's code page.
std::string HostText(const std::string& path) {
  const auto bytes = ReadWholeFile(path);
  if (!bytes) return "<unreadable>";
  const std::string utf8(bytes->begin(), bytes->end());
  std::wstring wide(utf8.size() + 1, L'\0');
  wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                                  static_cast<int>(wide.size())));
  std::string text(wide.size() * 2 + 1, '\0');
  text.resize(WideCharToMultiByte(1251, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                  static_cast<int>(text.size()), nullptr, nullptr));
  return wintest::WithoutCr(text);
}

std::string Squeezed(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const bool space = c == ' ' || c == '\n' || c == '\r' || c == '\t';
    if (space && (out.empty() || out.back() == ' ')) continue;
    out += space ? ' ' : c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

constexpr int kHostPolls = 3000;

// The whole article copied, as Windows programs and the host's own see the clipboard.
TEST_F(PlayerTest, CopiesTheArticleIntoTheClipboardOfTheHost) {
  const std::string start = Named("topic_ros14");
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Shows(start));
  wintest::ClearClipboard();
  PostMessageA(main_, WM_COMMAND, kCmdCopyArticle, 0);
  std::string copied;
  ASSERT_TRUE(WaitFor([&] { return (copied = wintest::ClipboardText(CF_TEXT)).size() > 100; }, kStepPolls)) << copied;
  // The heading and the body follow each other directly.
  EXPECT_EQ(copied.rfind(start + "Россия (Российская Федерация)", 0), 0u) << copied.substr(0, 80);
  EXPECT_NE(copied.find("Столица — город Москва."), std::string::npos);

  const wintest::TemporaryFolder out;
  const std::string file = wintest::UnixPath(out / "clipboard.txt");
  ASSERT_FALSE(file.empty());
  ASSERT_EQ(wintest::RunOnHost("xclip -o -selection clipboard -t UTF8_STRING > '" + file + "'", kHostPolls), 0);
  EXPECT_EQ(Squeezed(HostText(out / "clipboard.txt")), Squeezed(wintest::WithoutCr(copied)));
  EXPECT_EQ(Quit(), 0u);
}

// Printed on the test printer, whose port is a file: through the print dialog, Wine's
// spooler writes the job into a file named after the port in the player's working folder.
// The pages, read back as text on the host, carry the article from its first words to its
// last and the footer on each one.
TEST_F(PlayerTest, PrintsTheArticleIntoAFileOfPages) {
  ASSERT_FALSE(article::test::TestPrinter().empty());
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Shows(Named("topic_ros14")));
  const HWND print = ButtonAt(main_, 0, 395);
  ASSERT_TRUE(print);
  PostClick(print, {5, 5});
  const HWND dialog = Window("#32770");
  ASSERT_TRUE(dialog);
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, kStepPolls));
  const std::string document = work_ / "FILE:";
  ASSERT_TRUE(WaitFor([&] { return FileExists(document); }, kStartPolls));
  // Some rounds in which a failure's message would have come up.
  EXPECT_FALSE(WaitFor([&] { return wintest::ProcessWindow(player_.Id(), "#32770") != nullptr; }, 50));
  // The job runs on the player's one thread: once it has quit, the document is whole.
  EXPECT_EQ(Quit(), 0u);

  const wintest::TemporaryFolder out;
  const std::string pages = wintest::UnixPath(out / "page");
  ASSERT_EQ(wintest::RunOnHost("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite -sOutputFile='" + pages +
                                   "%03d.txt' '" + wintest::UnixPath(document) + "'",
                               kHostPolls),
            0);
  const auto Page = [&](int n) {
    char name[32];
    std::snprintf(name, sizeof name, "page%03d.txt", n);
    return out / name;
  };
  std::vector<std::string> texts;
  for (int n = 1; FileExists(Page(n)); ++n) texts.push_back(Squeezed(HostText(Page(n))));
  ASSERT_GE(texts.size(), 2u) << "a long article takes several pages";
  EXPECT_NE(texts[0].find("Россия (Российская Федерация)"), std::string::npos) << texts[0].substr(0, 200);
  for (size_t n = 0; n < texts.size(); ++n)
    EXPECT_NE(texts[n].find(Squeezed(article::kPrintFooter)), std::string::npos) << "page " << n + 1;
  EXPECT_NE(texts.back().find("Об энциклопедии"), std::string::npos) << "the article's last words";
}

}  // namespace
}  // namespace kro::e2e

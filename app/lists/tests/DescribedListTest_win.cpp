#include "app/lists/DescribedList_win.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/toolkit/Palette.h"
#include "app/toolkit/tests/TestBitmapFiles.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace kro::lists {
namespace {

using toolkit::RowElement;
using toolkit::testing::WritePatternBitmap;

using Note = wintest::Message;
std::vector<Note> gNotes;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= kEntryChecked && msg <= kCheckChangeDone) gNotes.push_back({msg, wParam, lParam});
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

constexpr const char* kDirectory = "dl_fixture";

// The contents list of two groups, as a description author would write it.
constexpr const char* kWorkedExample =
    "; contents, volume 1\n"
    "ITEMSTRUCT: 260, 18, TEXT\n"
    "GROUPSTRUCT: 260, 20, TEXT\n"
    "ITEM: \"\", 230, 18, \"Arial\", 14, 0, 000000, ffffffff, ffffff, 800000, 0000ff, ffffffff, \"Arial\", 14, 0, "
    "ff0000, ffffffff\n"
    "GROUPITEM: \"\", 230, 20, \"Arial\", 15, 0, 000000, ffffffff, ffffff, 800000, 0000ff, ffffffff, \"Arial\", 15, 0, "
    "ff0000, ffffffff\n"
    "EMPTY: \"\", 16, 18\n"
    "ITEMPREFIX: \"item.bmp\", 16, 18, ffffffff, \"item_chk.bmp\", ffffffff\n"
    "GROUPPREFIX: \"book.bmp\", 16, 20\n"
    "GROUPCHECKER: \"plus.bmp\", \"minus.bmp\", 12, 20\n"
    "BACKGROUND: ffffff, c0c0c0, \"back.bmp\"\n"
    "SPACE: 2, \"line.bmp\"\n"
    "BEGIN:\n"
    "{2\n"
    "10 \"History\"\n"
    "20 \"Geography\"\n"
    "10{2\n"
    "11 \"Ancient world\"\n"
    "12 \"Middle Ages\"\n";

// Categories with check boxes: a comment keeps a slot empty, Physics has a child.
constexpr const char* kCategories =
    "ITEMSTRUCT: 200, 18, TEXT\n"
    "GROUPSTRUCT: 200, 18, TEXT\n"
    "ITEM: \"\", 160, 18\n"
    "GROUPITEM: \"\", 160, 18\n"
    "GROUPCHECKER: \"plus.bmp\", \"minus.bmp\", 12, 18\n"
    "BACKGROUND: dceef4\n"
    "SELECTCHECKER: \"box.bmp\", \"ticked.bmp\", \"partial.bmp\", 16, 18\n"
    "BEGIN:\n"
    "{3\n"
    "1 \"Наука\"\n"
    "; slot 2 is kept empty\n"
    "3 \"Искусство\"\n"
    "1{3\n"
    "11 \"Физика\"\n"
    "12 \"Химия\"\n"
    "13 \"Биология\"\n"
    "11{1\n"
    "111 \"Оптика\"\n";

// Pictures in the list's colours: a boxed plus and minus, a bullet, a closed book.
void WritePictures() {
  CreateDirectoryA(kDirectory, nullptr);
  const std::string d = std::string(kDirectory) + "\\";
  const auto box = [](bool plus) {
    return [plus](int x, int y) -> unsigned {
      const int cx = x - 1, cy = y - 4;  // a 9 x 9 box in the 12 x 20 cell picture
      if (cx < 0 || cx > 8 || cy < 0 || cy > 8) return 0xFFFFFF;
      if (cx == 0 || cx == 8 || cy == 0 || cy == 8) return 0x3B4A6B;
      if ((cy == 4 && cx >= 2 && cx <= 6) || (plus && cx == 4 && cy >= 2 && cy <= 6)) return 0x1F2A44;
      return 0xFFFFFF;
    };
  };
  WritePatternBitmap(d + "plus.bmp", 12, 20, box(true));
  WritePatternBitmap(d + "minus.bmp", 12, 20, box(false));
  WritePatternBitmap(d + "item.bmp", 8, 8, [](int x, int y) {
    return (x - 3.5) * (x - 3.5) + (y - 3.5) * (y - 3.5) < 7 ? 0xC9A227u : 0xFFFFFFu;
  });
  WritePatternBitmap(d + "book.bmp", 14, 12, [](int x, int y) {
    if (y == 0 || y == 11 || x == 0 || x == 13) return 0x1F2A44u;
    return x == 2 ? 0xC9A227u : 0xA33B2Fu;
  });
  WritePatternBitmap(d + "back.bmp", 300, 200, [](int, int) { return 0xF4EEDCu; });
  WritePatternBitmap(d + "line.bmp", 260, 2, [](int, int y) { return y == 0 ? 0xE4DCC4u : 0xF4EEDCu; });
  for (const char* name : {"up.bmp", "down.bmp"}) WritePatternBitmap(d + name, 16, 64, [](int, int) { return 0x3B4A6Bu; });
  WritePatternBitmap(d + "thumb.bmp", 16, 80, [](int, int) { return 0xC9A227u; });
  WritePatternBitmap(d + "track.bmp", 16, 16, [](int, int) { return 0xE4DCC4u; });
  for (const char* name : {"box.bmp", "ticked.bmp", "partial.bmp"})
    WritePatternBitmap(d + name, 12, 12, [name](int x, int y) {
      if (x == 0 || y == 0 || x == 11 || y == 11) return 0x3B4A6Bu;
      if (name[0] == 't' && (x == y || x + 1 == y)) return 0x1F2A44u;
      if (name[0] == 'p' && x > 2 && x < 9 && y > 2 && y < 9) return 0x8090A8u;
      return 0xFFFFFFu;
    });
}

std::string RowText(const RowElement& row) {
  for (size_t i = 0; i < row.Count(); ++i)
    if (auto* text = dynamic_cast<const TextElement*>(row.Part(i))) return text->Text();
  return "?";
}

class DescribedListTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    wintest::RegisterTestClass("KroListParent", ParentProc, CreateSolidBrush(RGB(0x3B, 0x4A, 0x6B)));
    WritePictures();
    wintest::WriteTextFile(std::string(kDirectory) + "\\content1.txt", kWorkedExample);
    wintest::WriteTextFile(std::string(kDirectory) + "\\categories.txt", kCategories);
  }
  void SetUp() override {
    gNotes.clear();
    parent_ = CreateWindowA("KroListParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    list_.reset();
    DestroyWindow(parent_);
  }
  void Open(const char* file) {
    const std::string path = std::string(kDirectory) + "\\" + file;
    list_ = std::make_unique<DescribedList>(path.c_str(), GetModuleHandleA(nullptr), 20, 20, 300, 200, parent_);
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int r = 0; r < list_->Container()->RowCount(); ++r) rows.push_back(RowText(*list_->Container()->Row(r)));
    return rows;
  }
  // A click on the row's part of the given type (or at x within the row).
  void ClickPart(int row, int16_t partType) {
    const RowElement& r = *list_->Container()->Row(row);
    const toolkit::Element* part = r.FindPart(partType);
    ASSERT_NE(part, nullptr);
    SendMessageA(list_->Container()->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(r.x + part->x + part->width / 2, r.y + r.height / 2));
  }
  void DoubleClick(int row) {
    const RowElement& r = *list_->Container()->Row(row);
    SendMessageA(list_->Container()->Hwnd(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(r.x + r.width - 2, r.y + 2));
  }
  SelectCheckerElement* SelectCheckerOf(int row) {
    return static_cast<SelectCheckerElement*>(list_->Container()->Row(row)->FindPart(toolkit::kElementSelectChecker));
  }

  HWND parent_{};
  std::unique_ptr<DescribedList> list_;
};

TEST_F(DescribedListTest, WorkedExampleShowsTopLevelAndOpensHistory) {
  Open("content1.txt");
  EXPECT_EQ(list_->EntryCount(), 4);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"History", "Geography"}));
  const RowElement& history = *list_->Container()->Row(0);
  ASSERT_EQ(history.Count(), 3u);  // group checker, book, text
  EXPECT_EQ(history.Part(0)->type, toolkit::kElementGroupChecker);
  EXPECT_EQ(history.Part(1)->type, toolkit::kElementGroupPrefix);
  EXPECT_EQ(history.Part(2)->x, 28);
  EXPECT_EQ(history.height, 20);
  EXPECT_EQ(list_->Container()->Row(1)->Part(0)->type, toolkit::kElementItemPrefix);
  EXPECT_EQ(list_->Container()->Row(1)->y, 22);  // SPACE: 2 pixels below each row

  ClickPart(0, toolkit::kElementGroupChecker);
  const std::vector<Note> opened{{kEntryCurrent, 10, 0}, {kEntryCurrent, 10, 1}, {kGroupSwitched, 10, 1}};
  EXPECT_EQ(gNotes, opened);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"History", "Ancient world", "Middle Ages", "Geography"}));
  const RowElement& ancient = *list_->Container()->Row(1);
  ASSERT_EQ(ancient.Count(), 3u);  // one blank, the item picture, text
  EXPECT_EQ(ancient.Part(0)->type, toolkit::kElementEmpty);
  EXPECT_EQ(ancient.Part(2)->x, 32);
  EXPECT_EQ(list_->Root().FindById(20)->row, 3u);
  EXPECT_EQ(list_->Container()->Row(0)->Part(0)->GetState(), 1u);

  gNotes.clear();
  ClickPart(0, toolkit::kElementGroupChecker);
  EXPECT_EQ(gNotes.back(), (Note{kGroupSwitched, 10, 0}));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"History", "Geography"}));
  EXPECT_EQ(list_->Root().FindById(20)->row, 1u);
  EXPECT_EQ(list_->Root().FindById(11)->shown, 0u);
}

TEST_F(DescribedListTest, ClickOnEmptySpaceActsOnTheFirstPart) {
  Open("content1.txt");
  const RowElement& history = *list_->Container()->Row(0);
  SendMessageA(list_->Container()->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(history.width - 3, 5));
  EXPECT_EQ(gNotes.back(), (Note{kGroupSwitched, 10, 1}));
  // A double click on an item reports it; one on a row with a group checker reports it too.
  gNotes.clear();
  DoubleClick(1);
  DoubleClick(0);
  const std::vector<Note> activated{{kEntryActivated, 11, 0}, {kEntryActivated, 10, 0}};
  EXPECT_EQ(gNotes, activated);
}

TEST_F(DescribedListTest, CommentSlotGetsNoRow) {
  Open("categories.txt");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Наука", "Искусство"}));
  EXPECT_EQ(list_->Root().ChildCount(), 3);
  EXPECT_EQ(list_->Root().Child(1)->id, 0u);
}

TEST_F(DescribedListTest, CheckingAGroupChecksEveryDescendantInOrder) {
  Open("categories.txt");
  ClickPart(0, toolkit::kElementSelectChecker);
  const std::vector<Note> expected{
      {kEntryChecked, 1, 1},  {kEntryChecked, 11, 1},      {kEntryChecked, 111, 1}, {kEntryChecked, 12, 1},
      {kEntryChecked, 13, 1}, {kCheckChangeDone, kEntryChecked, 0}, {kEntryCurrent, 1, 0}, {kEntryCurrent, 1, 1},
  };
  EXPECT_EQ(gNotes, expected);
  ClickPart(0, toolkit::kElementGroupChecker);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Наука", "Физика", "Химия", "Биология", "Искусство"}));
  for (int r = 0; r < 4; ++r) EXPECT_TRUE(list_->Container()->Row(r)->IsChecked()) << r;

  // Unchecking one item unchecks the group, which stays partly checked.
  gNotes.clear();
  ClickPart(2, toolkit::kElementSelectChecker);
  const std::vector<Note> unchecked{{kEntryChecked, 12, 0}, {kEntryChecked, 1, 0}, {kCheckChangeDone, kEntryChecked, 0},
                                    {kEntryCurrent, 1, 0},  {kEntryCurrent, 12, 1}};
  EXPECT_EQ(gNotes, unchecked);
  EXPECT_FALSE(list_->Container()->Row(0)->IsChecked());
  EXPECT_TRUE(SelectCheckerOf(0)->IsPartial());
  EXPECT_EQ(list_->Root().FindById(1)->checked, 0u);
}

TEST_F(DescribedListTest, ReopenedGroupShowsCheckedDescendantsAsPartial) {
  Open("categories.txt");
  ClickPart(0, toolkit::kElementGroupChecker);  // Science open
  ClickPart(1, toolkit::kElementGroupChecker);  // Physics open
  ASSERT_EQ(Rows(), (std::vector<std::string>{"Наука", "Физика", "Оптика", "Химия", "Биология", "Искусство"}));
  ClickPart(2, toolkit::kElementSelectChecker);  // Optics checked
  EXPECT_TRUE(SelectCheckerOf(1)->IsPartial());
  EXPECT_TRUE(SelectCheckerOf(0)->IsPartial());
  ClickPart(0, toolkit::kElementGroupChecker);  // Science closed
  ClickPart(0, toolkit::kElementGroupChecker);  // and open again: Physics closed, partial
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Наука", "Физика", "Химия", "Биология", "Искусство"}));
  EXPECT_TRUE(SelectCheckerOf(1)->IsPartial());
  EXPECT_FALSE(SelectCheckerOf(2)->IsPartial());
}

TEST_F(DescribedListTest, SpaceAndSetAllChecked) {
  Open("categories.txt");
  SendMessageA(list_->Container()->Hwnd(), WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(list_->Container()->Hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  const std::vector<Note> art{{kEntryChecked, 3, 1}, {kCheckChangeDone, kEntryChecked, 0}};
  EXPECT_EQ(gNotes, art);
  gNotes.clear();
  list_->SetAllChecked(1);
  EXPECT_EQ(gNotes.front(), (Note{kEntryChecked, 0, 1}));  // the root is reported too
  EXPECT_EQ(gNotes.size(), 7u);                           // root, 1, 11, 111, 12, 13, slot 2 (id 0); Art was checked
  EXPECT_TRUE(list_->Container()->Row(0)->IsChecked());
  gNotes.clear();
  list_->SetAllChecked(0);
  EXPECT_EQ(gNotes.size(), 8u);
  EXPECT_NE(gNotes.back().message, static_cast<UINT>(kCheckChangeDone));
}

TEST_F(DescribedListTest, KeptChecksShowAgainWithTheirGroupsAndSayNothing) {
  Open("categories.txt");
  const int32_t kept[] = {111, 12, 999};  // 999 names no entry
  list_->ShowChecked(kept);
  EXPECT_TRUE(gNotes.empty());
  EXPECT_FALSE(list_->Container()->Row(0)->IsChecked());
  EXPECT_TRUE(SelectCheckerOf(0)->IsPartial());
  ClickPart(0, toolkit::kElementGroupChecker);
  ASSERT_EQ(Rows(), (std::vector<std::string>{"Наука", "Физика", "Химия", "Биология", "Искусство"}));
  // Physics has one entry, checked: the group is whole; Biology is not, so Science is not.
  for (int r : {1, 2}) EXPECT_TRUE(list_->Container()->Row(r)->IsChecked()) << r;
  for (int r : {0, 3, 4}) EXPECT_FALSE(list_->Container()->Row(r)->IsChecked()) << r;

  // Unchecking a kept entry is heard like any other change.
  gNotes.clear();
  ClickPart(2, toolkit::kElementSelectChecker);
  EXPECT_EQ(gNotes.front(), (Note{kEntryChecked, 12, 0}));
  const int32_t all[] = {13, 12};
  list_->ShowChecked(all);
  EXPECT_EQ(list_->Root().FindById(1)->checked, 1u);
  EXPECT_TRUE(list_->Container()->Row(0)->IsChecked());
}

HGLOBAL GlobalCopy(const std::string& text) {
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 4);
  std::memcpy(GlobalLock(block), text.c_str(), text.size());
  GlobalUnlock(block);
  return block;
}

TEST_F(DescribedListTest, HeaderKeywordsReachTheContainer) {
  SetDataDirectory("");
  const std::string text =
      "DATADIR: dl_fixture\\^PALETTE: \"book.bmp\"^ITEMSTRUCT: 200, 18, TEXT^SPACE: 4, \"line.bmp\"^"
      "SCROLLER: 284, 0, 16, 56, 1, \"up.bmp\", \"down.bmp\", \"thumb.bmp\", \"track.bmp\"^"
      "BEGIN:^{5^1 \"a\"^2 \"b\"^3 \"c\"^4 \"d\"^5 \"e\"^";
  list_ = std::make_unique<DescribedList>(GlobalCopy(text), 0, GetModuleHandleA(nullptr), 20, 20, 300, 56, parent_);
  EXPECT_EQ(DataDirectory(), "dl_fixture\\");
  EXPECT_NE(toolkit::ProgramPalette(), nullptr);
  toolkit::RowContainer& rows = *list_->Container();
  EXPECT_EQ(rows.Row(1)->y, 22);
  ASSERT_NE(rows.CustomBar(), nullptr);
  EXPECT_EQ(rows.BarWidth(), 16);
  EXPECT_TRUE(IsWindowVisible(rows.CustomBar()->Hwnd()));
  EXPECT_EQ(rows.CustomBar()->Maximum(), 3);  // five rows, three in view, the third cut
  for (int i = 0; i < 4; ++i) SendMessageA(rows.Hwnd(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(rows.Top(), 3);
  EXPECT_EQ(rows.CustomBar()->Position(), 3);
}

// Memory descriptions separate lines with '^'; a group without a group checker opens on a
// double click; CHECKER parts remember their state while their row is gone.
TEST_F(DescribedListTest, MemoryDescriptionGroupsAndCheckerMarks) {
  const std::string text =
      "ITEMSTRUCT: 200, 18, TEXT, CHECKER^GROUPSTRUCT: 200, 18, TEXT^"
      "ITEM: \"\", 150, 18|\"box.bmp\", \"ticked.bmp\", 16, 18^BEGIN:^{2^1 \"Group\"^2 \"Item\"^1{1^11 \"Child\"^";
  SetDataDirectory(std::string(kDirectory) + "\\");
  list_ = std::make_unique<DescribedList>(GlobalCopy(text), 0, GetModuleHandleA(nullptr), 20, 20, 300, 200, parent_);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Group", "Item"}));
  DoubleClick(1);
  EXPECT_EQ(gNotes, (std::vector<Note>{{kEntryActivated, 2, 0}}));
  gNotes.clear();
  DoubleClick(0);
  EXPECT_EQ(gNotes, (std::vector<Note>{{kGroupSwitched, 1, 1}}));
  ASSERT_EQ(Rows(), (std::vector<std::string>{"Group", "Child", "Item"}));
  gNotes.clear();
  ClickPart(1, toolkit::kElementChecker);
  EXPECT_EQ(gNotes.back(), (Note{kEntryCheckerSwitched, 11, 1 | 2 << 16}));  // after the blank and the text
  DoubleClick(0);
  DoubleClick(0);
  ASSERT_EQ(Rows(), (std::vector<std::string>{"Group", "Child", "Item"}));
  EXPECT_EQ(list_->Container()->Row(1)->FindPart(toolkit::kElementChecker)->GetState(), 1u);
}

TEST_F(DescribedListTest, MovedListKeepsItsRows) {
  Open("content1.txt");
  ClickPart(0, toolkit::kElementGroupChecker);
  list_->MoveTo({40, 30, 280, 60}, true);
  EXPECT_EQ(GetParent(list_->Container()->Hwnd()), list_->Hwnd());
  EXPECT_EQ(Rows().size(), 4u);
  EXPECT_TRUE(list_->Container()->BarVisible());  // 60 pixels hold three of the four rows
  EXPECT_EQ(GetFocus(), list_->Container()->Hwnd());
}

TEST_F(DescribedListTest, ExportWritesEveryItemWithCrLf) {
  const HWND box = CreateWindowA("LISTBOX", "", WS_CHILD, 0, 0, 100, 100, parent_, nullptr, nullptr, nullptr);
  char directory[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, directory);
  const auto exported = [&] {
    std::ifstream file(std::string(directory) + "\\lsttxt7", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  };
  ASSERT_TRUE(ExportListText(directory, 7, box));
  EXPECT_EQ(exported(), "");
  SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Москва"));
  SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Ока"));
  ASSERT_TRUE(ExportListText(directory, 7, box));
  EXPECT_EQ(exported(), "Москва\r\nОка\r\n");
  EXPECT_FALSE(ExportListText(std::string(directory) + "\\missing\\folder", 1, box));
}

// With KRO_LIST_HOLD_MS set the two lists then stay on screen that long, opened, for a look
// at them.
TEST_F(DescribedListTest, ListsOnScreen) {
  MoveWindow(parent_, 0, 0, 640, 260, TRUE);
  Open("content1.txt");
  ClickPart(0, toolkit::kElementGroupChecker);
  SendMessageA(list_->Container()->Hwnd(), WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(list_->Container()->Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(80, 70));  // over Geography
  DescribedList categories((std::string(kDirectory) + "\\categories.txt").c_str(), nullptr, 330, 20, 290, 200, parent_);
  const HWND rows = categories.Container()->Hwnd();
  SendMessageA(rows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));     // open the first group
  SendMessageA(rows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 45));   // check its second child
  SendMessageA(rows, WM_MOUSEMOVE, 0, MAKELPARAM(60, 65));
  wintest::Pump();
  EXPECT_EQ(list_->Container()->Current(), 1);
  EXPECT_EQ(categories.Root().FindById(12)->checked, 1u);
  if (const char* hold = std::getenv("KRO_LIST_HOLD_MS")) wintest::ShowFor(static_cast<UINT>(std::atoi(hold)));
}

}  // namespace
}  // namespace kro::lists

// The display calls of MVCL14N.DLL on real windows, driven as the panes of the reader
// drive them, over the fixture title.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/mediaview/MediaView.h"
#include "runtime/mediaview/win32/tests/DisplayPane_win.h"
#include "tests/support/Canvas_win.h"
#include "tests/support/Clipboard_win.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace {

using kro::wintest::BesideExe;
using kro::wintest::Canvas;
using kro::wintest::WithoutCr;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kParchment = RGB(0xF4, 0xEE, 0xDC);

class DisplayTest : public ::testing::Test {
protected:
  void SetUp() override {
    MVSetInstance(GetModuleHandleA(nullptr));
    title_ = hMVTitleOpenEx(BesideExe("fixture.m14").c_str(), nullptr, nullptr);
    ASSERT_NE(title_, nullptr);
    kro::wintest::RegisterTestClass("DisplayTestPane", kro::wintest::DisplayPaneProc);
  }
  void TearDown() override {
    for (LPMV d : displays_) MVDelete(d);
    for (HWND w : windows_) DestroyWindow(w);
    MVTitleClose(title_);
    MVTerminate(GetModuleHandleA(nullptr));
  }

  // A display in a visible window of the given client size, showing `context`.
  LPMV Open(const char* context, UINT region, int w, int h, LONG scroll = 0) {
    LONG err = 0;
    LPMV d = lpMVNew(title_, &err);
    displays_.push_back(d);
    RECT r{0, 0, w, h};
    AdjustWindowRect(&r, WS_POPUP, FALSE);
    HWND hwnd = CreateWindowA("DisplayTestPane", "", WS_POPUP | WS_VISIBLE, 0, 0, r.right - r.left, r.bottom - r.top,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    windows_.push_back(hwnd);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(d));
    EXPECT_TRUE(fMVSetWindow(d, hwnd, &err));
    fMVAllowEWSelection(d, TRUE);
    fMVSetAddress(d, vaMVConvertContextString(title_, context), region, scroll, &err);
    EXPECT_TRUE(fMVRealize(d, nullptr, &err)) << err;
    return d;
  }

  static std::vector<MVHOTSPOTINFO> Hotspots(LPMV d, std::vector<std::string>* data) {
    std::vector<MVHOTSPOTINFO> all;
    fMVMoveFocus(d, TRUE);
    for (int i = 0; i < 10; ++i) {
      char buffer[256] = {};
      MVHOTSPOTINFO h{40, {}, 0, 256, 0, buffer, -1};
      LONG err = 0;
      if (!fMVFocusInfo(d, &h, &err)) break;
      if (!all.empty() && all.front().rect.left == h.rect.left && all.front().rect.top == h.rect.top) break;
      all.push_back(h);
      data->push_back(buffer);
      fMVMoveFocus(d, TRUE);
    }
    return all;
  }

  HMVTITLE title_ = nullptr;
  std::vector<LPMV> displays_;
  std::vector<HWND> windows_;
};

TEST(DisplayExports, EveryDisplayCallIsExportedByItsPlainName) {
  HMODULE dll = GetModuleHandleA("MVCL14N.DLL");
  ASSERT_NE(dll, nullptr);
  for (const char* name :
       {"fMVSetWindow", "hwndMVGetWindow", "fMVAllowEWSelection", "MVSetKerningBoundary", "MVHidePartialLines",
        "MVSetBkColor", "MVSetTextColor", "fMVRealize", "ptMVGetSize", "ptMVGetScrollSizes", "xMVGetXScrollPos",
        "yMVGetYScrollPos", "yMVScrollY", "xMVScrollX", "fMVApplyToDC", "hwndMVGetEmbeddedWindow",
        "MVRemoveInsertedEmbeddedWindows", "fMVGetPointInfo", "fMVFocusInfo", "fMVMoveFocus", "MVSelectPoint",
        "MVSelectKey", "fMVClearSelection", "fMVIsSelected", "MVActivate", "hMVSetHighlights", "hMVGetHighlights",
        "fMVScrollToHighlight", "hMVCopyAdvanced", "hMVCopyMedia", "fMVPrintMedia"})
    EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
}

TEST_F(DisplayTest, NaturalSizeOfAPopupAndPaintingStaysInsideIt) {
  LPMV d = Open("pop_delta", MV_REGION_BODY, 400, 400);
  const DWORD size = ptMVGetSize(d);
  const int w = LOWORD(size), h = HIWORD(size);
  EXPECT_GT(w, 60);
  EXPECT_LT(w, 400);  // a short text asks for less than the window
  EXPECT_GT(h, 10);
  EXPECT_LT(h, 80);
  EXPECT_EQ(ptMVGetScrollSizes(d), 0u);

  // Realized at its natural size, the text fills it and nothing lands outside.
  LONG err = 0;
  RECT natural{0, 0, w, h};
  ASSERT_TRUE(fMVRealize(d, &natural, &err));
  EXPECT_EQ(ptMVGetSize(d), size);
  Canvas canvas(500, 200);
  RECT all{0, 0, 500, 200};
  FillRect(canvas.Dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ASSERT_TRUE(fMVApplyToDC(d, canvas.Dc(), &all, &err));
  EXPECT_GT(canvas.CountNot(kWhite, {0, 0, w, h}), 100);            // text present
  EXPECT_EQ(canvas.CountNot(RGB(0, 0, 0), {w, 0, 500, 200}), 0);    // nothing right of it
  EXPECT_EQ(canvas.CountNot(RGB(0, 0, 0), {0, h, w, 200}), 0);      // nor below
}

TEST_F(DisplayTest, HeadingOnlyAndBodyOnlyTopics) {
  LONG err = 0;
  LPMV heading = Open("topic_el", MV_REGION_HEADING, 300, 200);
  EXPECT_TRUE(fMVHasNSR(heading));
  EXPECT_FALSE(fMVHasSR(heading));
  const DWORD size = ptMVGetSize(heading);
  EXPECT_GT(LOWORD(size), 0);
  EXPECT_GT(HIWORD(size), 10);
  EXPECT_LT(HIWORD(size), 100);
  EXPECT_EQ(kro::wintest::TakeGlobalText(hMVCopyMedia(heading, &err)), "Ель");

  LPMV body = Open("topic_yolka", MV_REGION_BODY, 300, 200);
  EXPECT_FALSE(fMVHasNSR(body));
  EXPECT_TRUE(fMVHasSR(body));
  EXPECT_GT(HIWORD(ptMVGetSize(body)), 10);
  err = 0;
  EXPECT_FALSE(fMVSetAddress(body, vaMVConvertContextString(title_, "topic_yolka"), MV_REGION_HEADING, 0, &err));
  EXPECT_EQ(err, MVERR_NO_REGION);
  ASSERT_TRUE(fMVRealize(body, nullptr, &err));
  EXPECT_EQ(ptMVGetSize(body), 0u);  // the absent heading is empty
  EXPECT_EQ(hMVCopyMedia(body, &err), nullptr);
}

TEST_F(DisplayTest, HotspotsAreHitAtTheRectanglesTheyReport) {
  LPMV d = Open("topic_volga", MV_REGION_BODY, 420, 300);
  std::vector<std::string> data;
  const auto hotspots = Hotspots(d, &data);
  ASSERT_EQ(hotspots.size(), 4u);
  // Tab order is text order: jump, popup, two authored commands.
  EXPECT_EQ(data, (std::vector<std::string>{"topic_caspian", "pop_delta", "topic_caspian>main", "activate"}));
  const LONG kinds[] = {MV_HOTSPOT_JUMP, MV_HOTSPOT_POPUP, MV_HOTSPOT_COMMAND, MV_HOTSPOT_COMMAND};
  const LONG cursors[] = {MV_POINT_JUMP, MV_POINT_POPUP, MV_POINT_COMMAND, MV_POINT_COMMAND};
  for (size_t i = 0; i < hotspots.size(); ++i) {
    const RECT& r = hotspots[i].rect;
    ASSERT_LT(r.left, r.right);
    EXPECT_EQ(hotspots[i].kind, kinds[i]);
    char buffer[256] = {};
    MVPOINTINFO p{28, 0, 0, 0, 0, 0, 0};
    MVHOTSPOTINFO h{40, {}, 0, 256, 0, buffer, -1};
    LONG err = 0;
    ASSERT_TRUE(fMVGetPointInfo(d, (r.left + r.right) / 2, (r.top + r.bottom) / 2, &p, &h, &err)) << i;
    EXPECT_EQ(p.flags & MVPI_HOTSPOT, MVPI_HOTSPOT);
    EXPECT_EQ(p.kind, cursors[i]);
    EXPECT_EQ(h.kind, kinds[i]);
    EXPECT_EQ(std::string(buffer), data[i]);
    EXPECT_EQ(h.length, static_cast<LONG>(data[i].size()));
    EXPECT_EQ(h.hash, hotspots[i].hash);
    EXPECT_GE((r.left + r.right) / 2, h.rect.left);
    EXPECT_LT((r.left + r.right) / 2, h.rect.right);
  }
  EXPECT_EQ(static_cast<LONG>(vaMVConvertHash(title_, hotspots[0].hash)), vaMVConvertContextString(title_, "topic_caspian"));

  // Off every hotspot: text shows the I-beam code, the margin the arrow code.
  MVPOINTINFO p{28, 0, 0, 0, 0, 0, 0};
  LONG err = 0;
  EXPECT_FALSE(fMVGetPointInfo(d, 1, 1, &p, nullptr, &err));
  EXPECT_EQ(p.kind, MV_POINT_ELSEWHERE);
  EXPECT_EQ(p.flags, 0);
  bool textSeen = false;
  for (int y = 0; y < 40 && !textSeen; ++y)
    for (int x = 0; x < 40 && !textSeen; ++x)
      textSeen = !fMVGetPointInfo(d, x, y, &p, nullptr, &err) && p.kind == MV_POINT_TEXT && p.flags == 0;
  EXPECT_TRUE(textSeen);

  // A buffer too small for the data gets nothing, but the length is told.
  char small[4] = {'x', 'x', 'x', 'x'};
  MVHOTSPOTINFO h{40, {}, 0, 4, 0, small, -1};
  const RECT& r = hotspots[0].rect;
  ASSERT_TRUE(fMVGetPointInfo(d, r.left + 1, r.top + 1, nullptr, &h, &err));
  EXPECT_EQ(h.length, 13);
  EXPECT_EQ(small[0], 'x');
}

TEST_F(DisplayTest, TabFocusWrapsBothWaysAndShowsItsMark) {
  LPMV d = Open("topic_volga", MV_REGION_BODY, 420, 300);
  std::vector<std::string> data;
  const auto hotspots = Hotspots(d, &data);
  ASSERT_EQ(hotspots.size(), 4u);
  // Hotspots() left the focus back on the first; backwards wraps to the last.
  EXPECT_TRUE(fMVMoveFocus(d, FALSE));
  char buffer[256] = {};
  MVHOTSPOTINFO h{40, {}, 0, 256, 0, buffer, -1};
  LONG err = 0;
  ASSERT_TRUE(fMVFocusInfo(d, &h, &err));
  EXPECT_STREQ(buffer, "activate");

  Canvas canvas(420, 300);
  RECT all{0, 0, 420, 300};
  ASSERT_TRUE(fMVApplyToDC(d, canvas.Dc(), &all, &err));
  EXPECT_GT(canvas.Count(RGB(201, 162, 39), {h.rect.left - 2, h.rect.top, h.rect.right + 2, h.rect.bottom}), 10);
  EXPECT_EQ(canvas.Count(RGB(201, 162, 39), {0, 0, 420, hotspots[0].rect.bottom}), 0);

  LPMV plain = Open("topic_yolka", MV_REGION_BODY, 300, 200);
  EXPECT_FALSE(fMVMoveFocus(plain, TRUE));
  EXPECT_FALSE(fMVFocusInfo(plain, &h, &err));
}

// The selection's formats put on the clipboard as the reader puts them, then `format` read back.
std::string CopyThroughClipboard(LPMV d, HWND owner, UINT format) {
  LONG err = 0;
  HGLOBAL block = hMVCopyAdvanced(d, MV_COPY_SELECTION, 0, &err);
  if (!block) return "<nothing>";
  const auto* p = static_cast<const uint8_t*>(GlobalLock(block));
  LONG count = 0;
  memcpy(&count, p, sizeof count);
  std::vector<MVCOPYFORMAT> formats(count);
  memcpy(formats.data(), p + MV_COPY_FORMATS_OFFSET, count * sizeof(MVCOPYFORMAT));
  GlobalUnlock(block);
  GlobalFree(block);
  std::vector<std::pair<UINT, HANDLE>> blocks;
  for (const MVCOPYFORMAT& f : formats) blocks.emplace_back(f.format, f.data);
  EXPECT_TRUE(kro::wintest::PutOnClipboard(owner, blocks));
  return kro::wintest::ClipboardText(format);
}

TEST_F(DisplayTest, SelectionByPointsWordsKeysAndAllCopiesThroughTheClipboard) {
  LPMV d = Open("topic_volga", MV_REGION_BODY, 420, 300);
  HWND hwnd = hwndMVGetWindow(d);
  LONG err = 0;
  const std::string all = WithoutCr(kro::wintest::TakeGlobalText(hMVCopyMedia(d, &err)));
  ASSERT_EQ(all.rfind("Волга — крупнейшая", 0), 0u) << all;
  EXPECT_FALSE(fMVIsSelected(d));
  EXPECT_EQ(hMVCopyAdvanced(d, MV_COPY_SELECTION, 0, &err), nullptr);

  std::vector<std::string> data;
  const RECT link = Hotspots(d, &data)[0].rect;  // "Каспийское море"
  const int y = (link.top + link.bottom) / 2;
  MVSelectPoint(d, MV_SELECT_WORDS, link.left + 3, y, 0, &err);
  MVSelectPoint(d, MV_SELECT_WORDS, link.left + 3, y, 1, &err);
  EXPECT_TRUE(fMVIsSelected(d));
  EXPECT_EQ(CopyThroughClipboard(d, hwnd, CF_TEXT), "Каспийское");
  EXPECT_EQ(CopyThroughClipboard(d, hwnd, CF_UNICODETEXT), "Каспийское");

  // Drag across the link's first piece (the rest may be hyphenated onto the next line);
  // only the lines the selection changes on are repainted.
  UpdateWindow(hwnd);
  MVSelectPoint(d, MV_SELECT_CHARACTERS, link.left, y, 0, &err);
  MVSelectPoint(d, MV_SELECT_CHARACTERS, link.right - 1, y, 1, &err);
  RECT dirty{};
  ASSERT_TRUE(GetUpdateRect(hwnd, &dirty, FALSE));
  EXPECT_LE(dirty.top, link.top);
  EXPECT_GE(dirty.bottom, link.bottom);
  EXPECT_LT(dirty.bottom - dirty.top, 3 * (link.bottom - link.top));
  const std::string piece = CopyThroughClipboard(d, hwnd, CF_TEXT);
  EXPECT_GE(piece.size(), 3u);
  EXPECT_EQ(std::string("Каспийское море").rfind(piece, 0), 0u) << piece;

  // Keys: Shift+Right three times from the start, then Shift+End to the line end.
  MVSelectPoint(d, MV_SELECT_CHARACTERS, 0, 0, 0, &err);
  EXPECT_FALSE(fMVIsSelected(d));
  for (int i = 0; i < 3; ++i) MVSelectKey(d, MV_KEY_RIGHT, 0x8000);
  EXPECT_EQ(CopyThroughClipboard(d, hwnd, CF_TEXT), "Вол");
  MVSelectKey(d, MV_KEY_LEFT, 0x8000);
  EXPECT_EQ(CopyThroughClipboard(d, hwnd, CF_TEXT), "Во");
  MVSelectKey(d, MV_KEY_LINE_END, 0x8000);
  const std::string line = CopyThroughClipboard(d, hwnd, CF_TEXT);
  EXPECT_GT(line.size(), 10u);
  EXPECT_EQ(all.rfind(line, 0), 0u);
  MVSelectKey(d, MV_KEY_DOWN, 0x8000);
  EXPECT_GT(CopyThroughClipboard(d, hwnd, CF_TEXT).size(), line.size());
  MVSelectKey(d, MV_KEY_RIGHT, 0);  // without Shift the caret moves and the selection goes
  EXPECT_FALSE(fMVIsSelected(d));

  MVSelectPoint(d, MV_SELECT_ALL, 0, 0, 0, &err);
  EXPECT_EQ(WithoutCr(CopyThroughClipboard(d, hwnd, CF_TEXT)), all);
  // The RTF keeps the Cyrillic font table and the bold start.
  const std::string rtf = CopyThroughClipboard(d, hwnd, RegisterClipboardFormatA("Rich Text Format"));
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1251", 0), 0u) << rtf.substr(0, 80);
  EXPECT_NE(rtf.find("\\fcharset204"), std::string::npos);
  EXPECT_NE(rtf.find("\\b \\'c2\\'ee\\'eb\\'e3\\'e0}"), std::string::npos);  // bold "Волга"
  EXPECT_TRUE(fMVClearSelection(d));
  EXPECT_FALSE(fMVIsSelected(d));

  // A display that was not allowed to select keeps no selection.
  fMVAllowEWSelection(d, FALSE);
  MVSelectPoint(d, MV_SELECT_ALL, 0, 0, 0, &err);
  EXPECT_FALSE(fMVIsSelected(d));
}

HGLOBAL HighlightList(const std::vector<MVHIGHLIGHT>& items) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD) + items.size() * sizeof(MVHIGHLIGHT));
  auto* p = static_cast<uint8_t*>(GlobalLock(block));
  const DWORD count = static_cast<DWORD>(items.size());
  memcpy(p, &count, sizeof count);
  memcpy(p + sizeof count, items.data(), items.size() * sizeof(MVHIGHLIGHT));
  GlobalUnlock(block);
  return block;
}

TEST_F(DisplayTest, AHighlightIsScrolledIntoViewAndPaintedAsAMarker) {
  LPMV d = Open("topic_volga", MV_REGION_BODY, 140, 60);
  MVHidePartialLines(d, TRUE);
  LONG err = 0;
  const std::string all = WithoutCr(kro::wintest::TakeGlobalText(hMVCopyMedia(d, &err)));
  const DWORD mouth = static_cast<DWORD>(all.find("устье"));
  ASSERT_NE(mouth, static_cast<DWORD>(std::string::npos));
  HGLOBAL list = HighlightList({{MV_REGION_HEADING, 0, 5}, {MV_REGION_BODY, 0, 5}, {MV_REGION_BODY, mouth, 5}});
  EXPECT_EQ(hMVSetHighlights(d, list, TRUE, &err), list);
  EXPECT_EQ(hMVGetHighlights(d), list);
  EXPECT_EQ(yMVGetYScrollPos(d), 0);

  ASSERT_TRUE(fMVScrollToHighlight(d, 1, &err));  // the second of the body: "устье", at the end
  const LONG pos = yMVGetYScrollPos(d);
  EXPECT_GT(pos, HIWORD(ptMVGetScrollSizes(d)) / 2);
  Canvas canvas(140, 60);
  RECT all60{0, 0, 140, 60};
  ASSERT_TRUE(fMVApplyToDC(d, canvas.Dc(), &all60, &err));
  EXPECT_GT(canvas.Count(RGB(246, 218, 120), {0, 0, 140, 60}), 30);
  EXPECT_FALSE(fMVScrollToHighlight(d, 2, &err));

  EXPECT_EQ(hMVSetHighlights(d, nullptr, TRUE, &err), nullptr);
  EXPECT_EQ(hMVGetHighlights(d), nullptr);
  ASSERT_TRUE(fMVApplyToDC(d, canvas.Dc(), &all60, &err));
  EXPECT_EQ(canvas.Count(RGB(246, 218, 120), {0, 0, 140, 60}), 0);
  GlobalFree(list);
}

TEST_F(DisplayTest, ScrollingMovesByLinesAndPagesAndTheAddressKeepsTheText) {
  LPMV d = Open("topic_volga", MV_REGION_BODY, 140, 60);
  MVHidePartialLines(d, TRUE);
  const LONG extent = HIWORD(ptMVGetScrollSizes(d));
  ASSERT_GT(extent, 60);
  EXPECT_EQ(LOWORD(ptMVGetScrollSizes(d)), 0);  // never wider than the window
  POINT delta{};
  LONG top = -1, bottom = -1, err = 0;
  const LONG line = yMVScrollY(d, &delta, &top, &bottom, SB_LINEDOWN, 0, &err);
  EXPECT_GT(line, 5);
  EXPECT_LT(line, 40);
  EXPECT_EQ(delta.y, -line);
  EXPECT_EQ(top, 0);
  EXPECT_GE(bottom, line);  // the uncovered strip and the blank of the hidden partial line
  EXPECT_EQ(yMVGetYScrollPos(d), line);
  const LONG page = yMVScrollY(d, &delta, &top, &bottom, SB_PAGEDOWN, 0, &err);
  EXPECT_GT(page - line, line);
  EXPECT_LE(page - line, 60);
  EXPECT_EQ(yMVScrollY(d, &delta, &top, &bottom, SB_PAGEUP, 0, &err), line);
  EXPECT_EQ(top, page - line);
  EXPECT_EQ(yMVScrollY(d, &delta, &top, &bottom, SB_LINEUP, 0, &err), 0);
  EXPECT_EQ(yMVScrollY(d, &delta, &top, &bottom, SB_BOTTOM, 0, &err), extent);
  EXPECT_EQ(yMVScrollY(d, &delta, &top, &bottom, SB_THUMBPOSITION, line, &err), line);
  const LONG second = yMVScrollY(d, &delta, &top, &bottom, SB_LINEDOWN, 0, &err);
  EXPECT_GT(second, line);
  EXPECT_EQ(yMVScrollY(d, &delta, &top, &bottom, SB_LINEUP, 0, &err), line);

  // The address's scroll position is text: at the same width it comes back to the same
  // place, at another width to the line holding the same words.
  LONG va = 0, region = 0, scroll = 0;
  MVGetAddress(d, &va, &region, &scroll);
  EXPECT_GT(scroll, 0);
  LPMV same = Open("topic_volga", MV_REGION_BODY, 140, 60, scroll);
  EXPECT_EQ(yMVGetYScrollPos(same), line);
  LPMV wide = Open("topic_volga", MV_REGION_BODY, 300, 60, scroll);
  MVSelectPoint(wide, MV_SELECT_CHARACTERS, 0, 0, 0, &err);
  MVSelectKey(wide, MV_KEY_LINE_END, 0x8000);
  const std::string all = WithoutCr(kro::wintest::TakeGlobalText(hMVCopyMedia(d, &err)));
  const std::string first = CopyThroughClipboard(wide, hwndMVGetWindow(wide), CF_TEXT);
  const size_t at = all.find(first);
  ASSERT_NE(at, std::string::npos);
  EXPECT_LE(at, static_cast<size_t>(scroll));
  EXPECT_GE(at + first.size() + 1, static_cast<size_t>(scroll));
}

TEST_F(DisplayTest, PanesNarrowerThanTheLayoutScrollSideways) {
  LPMV d = Open("topic_volga", MV_REGION_BODY, 200, 100);
  LONG err = 0;
  RECT narrow{0, 0, 20, 100};
  ASSERT_TRUE(fMVRealize(d, &narrow, &err));
  EXPECT_EQ(LOWORD(ptMVGetScrollSizes(d)), 12);  // laid out at 32 px
  POINT delta{};
  EXPECT_EQ(xMVScrollX(d, &delta, SB_RIGHT, 0, &err), 12);
  EXPECT_EQ(delta.x, -12);
  EXPECT_EQ(xMVGetXScrollPos(d), 12);
  EXPECT_EQ(xMVScrollX(d, &delta, SB_LINELEFT, 0, &err), 0);
  EXPECT_EQ(delta.x, 12);
  EXPECT_EQ(xMVScrollX(d, &delta, SB_THUMBPOSITION, 5, &err), 5);
  RECT wide{0, 0, 200, 100};
  ASSERT_TRUE(fMVRealize(d, &wide, &err));
  EXPECT_EQ(LOWORD(ptMVGetScrollSizes(d)), 0);
  EXPECT_EQ(xMVGetXScrollPos(d), 0);
}

// Scrolling the window as the reader's pane does gives the same picture as a full repaint.
TEST_F(DisplayTest, StripScrollingPaintsWhatAFullRepaintPaints) {
  LPMV d = Open("topic_volga", MV_REGION_BODY, 160, 90);
  MVHidePartialLines(d, TRUE);
  MVSetBkColor(d, kParchment);
  HWND hwnd = hwndMVGetWindow(d);
  const auto capture = [&] {
    Canvas c(160, 90);
    HDC screen = GetDC(hwnd);
    BitBlt(c.Dc(), 0, 0, 160, 90, screen, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, screen);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 90; ++y)
      for (int x = 0; x < 160; ++x) pixels.push_back(c.At(x, y));
    return pixels;
  };
  InvalidateRect(hwnd, nullptr, TRUE);
  UpdateWindow(hwnd);
  for (const UINT code : {SB_LINEDOWN, SB_PAGEDOWN, SB_LINEUP, SB_PAGEUP}) {
    POINT delta{};
    LONG top = 0, bottom = 0, err = 0;
    yMVScrollY(d, &delta, &top, &bottom, code, 0, &err);
    ScrollWindow(hwnd, 0, delta.y, nullptr, nullptr);
    RECT strip{0, 90 - bottom, 160, 90};
    if (code == SB_LINEDOWN || code == SB_PAGEDOWN) {
      InvalidateRect(hwnd, &strip, FALSE);
      UpdateWindow(hwnd);
    } else {
      RECT topStrip{0, 0, 160, top};
      InvalidateRect(hwnd, &topStrip, FALSE);
      UpdateWindow(hwnd);
      ScrollWindowEx(hwnd, 0, bottom, &strip, &strip, nullptr, nullptr, SW_INVALIDATE);
    }
    UpdateWindow(hwnd);
    const auto scrolled = capture();
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    EXPECT_EQ(scrolled, capture()) << "code " << code;
  }
}

struct PrintLog {
  int begins = 0;
  int ends = 0;
  bool open = false;
  bool failTwice = false;
  std::vector<RECT> rects;
};

BOOL CALLBACK PageProc(LPMV, HDC, LONG, LONG, LONG, LPARAM user, LPRECT rect, BOOL begin) {
  auto* log = reinterpret_cast<PrintLog*>(user);
  if (begin) {
    if (log->open) ADD_FAILURE() << "a page begun twice";
    if (log->failTwice && log->begins == 1) return FALSE;
    ++log->begins;
    log->rects.push_back(*rect);
  } else {
    if (!log->open) ADD_FAILURE() << "a page ended that was not begun";
    ++log->ends;
  }
  log->open = begin != FALSE;
  return TRUE;
}

TEST_F(DisplayTest, PrintingFillsPagesThroughTheCallbackHeadingThenBody) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  LONG err = 0;
  LPMV d = lpMVNew(title_, &err);
  displays_.push_back(d);
  const LONG va = vaMVConvertContextString(title_, "topic_volga");
  RECT page{50, 40, 250, 120};
  RECT free = page;
  LONG pages = -1;
  PrintLog log;
  ASSERT_TRUE(fMVSetAddress(d, va, MV_REGION_HEADING, 0, &err));
  ASSERT_TRUE(fMVPrintMedia(d, dc, 0, &page, &free, &pages, PageProc, reinterpret_cast<LPARAM>(&log), &err));
  EXPECT_EQ(pages, 1);
  EXPECT_GT(free.top, page.top);  // the heading used the top of the page
  EXPECT_LT(free.top, page.top + 50);
  const LONG afterHeading = free.top;
  ASSERT_TRUE(fMVSetAddress(d, va, MV_REGION_BODY, 0, &err));
  ASSERT_TRUE(fMVPrintMedia(d, dc, 0, &page, &free, &pages, PageProc, reinterpret_cast<LPARAM>(&log), &err));
  EXPECT_GE(pages, 2);  // the body goes on below the heading and needs more pages
  EXPECT_EQ(log.begins, 1 + pages);
  EXPECT_EQ(log.ends, log.begins - 1);  // the last page stays open for the footer
  EXPECT_TRUE(log.open);
  EXPECT_GT(free.top, page.top);
  EXPECT_LE(free.bottom, page.bottom);
  for (const RECT& r : log.rects) EXPECT_TRUE(EqualRect(&r, &page));
  EXPECT_GT(afterHeading, page.top);
  DeleteEnhMetaFile(CloseEnhMetaFile(dc));

  // A refused page stops the job.
  HDC dc2 = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  PrintLog refusing;
  refusing.failTwice = true;
  free = page;
  EXPECT_FALSE(fMVPrintMedia(d, dc2, 0, &page, &free, &pages, PageProc, reinterpret_cast<LPARAM>(&refusing), &err));
  EXPECT_EQ(err, MVERR_PRINT_ABORTED);
  DeleteEnhMetaFile(CloseEnhMetaFile(dc2));
}

int CALLBACK CountPictures(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM count) {
  if (record->iType == EMR_STRETCHDIBITS) ++*reinterpret_cast<int*>(count);
  return 1;
}

BOOL CALLBACK AcceptPage(LPMV, HDC, LONG, LONG, LONG, LPARAM, LPRECT, BOOL) { return TRUE; }

// The typography title carries a real picture (a drawn river landscape) inline.
TEST(DisplayPictures, InlinePicturesArePaintedAndPrinted) {
  MVSetInstance(GetModuleHandleA(nullptr));
  HMVTITLE title = hMVTitleOpenEx(BesideExe("typography.m14").c_str(), nullptr, nullptr);
  ASSERT_NE(title, nullptr);
  LONG err = 0;
  LPMV d = lpMVNew(title, &err);
  ASSERT_TRUE(fMVSetAddress(d, vaMVConvertContextString(title, "topic_volga"), MV_REGION_BODY, 0, &err));
  RECT frame{0, 0, 640, 2000};
  ASSERT_TRUE(fMVRealize(d, &frame, &err));
  Canvas canvas(640, 2000);
  ASSERT_TRUE(fMVApplyToDC(d, canvas.Dc(), &frame, &err));
  // The river's blue and the hills' green, centred under the text.
  EXPECT_GT(canvas.Count(RGB(70, 110, 160), {0, 0, 640, 2000}), 500);
  EXPECT_EQ(canvas.Count(RGB(70, 110, 160), {0, 0, 100, 2000}), 0);

  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  RECT page{0, 0, 600, 800}, free = page;
  LONG pages = 0;
  ASSERT_TRUE(fMVPrintMedia(d, dc, 0, &page, &free, &pages, AcceptPage, 0, &err));
  HENHMETAFILE emf = CloseEnhMetaFile(dc);
  int pictures = 0;
  EnumEnhMetaFile(nullptr, emf, CountPictures, &pictures, nullptr);
  EXPECT_EQ(pictures, 1);
  DeleteEnhMetaFile(emf);
  MVDelete(d);
  MVTitleClose(title);
}

TEST(DisplayLook, KerningFromTheBoundaryUpAndLightTextOnDarkBackgrounds) {
  MVSetInstance(GetModuleHandleA(nullptr));
  HMVTITLE title = hMVTitleOpenEx(BesideExe("typography.m14").c_str(), nullptr, nullptr);
  ASSERT_NE(title, nullptr);
  LONG err = 0;
  LPMV d = lpMVNew(title, &err);
  ASSERT_TRUE(fMVSetAddress(d, vaMVConvertContextString(title, "topic_long"), MV_REGION_BODY, 0, &err));
  RECT frame{0, 0, 400, 300};
  ASSERT_TRUE(fMVRealize(d, &frame, &err));
  // Where the characters of the first lines fall, by the offsets at points along them.
  const auto offsets = [&] {
    std::vector<LONG> at;
    for (int y = 10; y < 120; y += 7)
      for (int x = 20; x < 390; x += 9) {
        MVPOINTINFO p{28, 0, 0, 0, 0, 0, 0};
        fMVGetPointInfo(d, x, y, &p, nullptr, &err);
        at.push_back(p.offset);
      }
    return at;
  };
  const std::vector<LONG> plain = offsets();
  MVSetKerningBoundary(d, 30);  // above every size of the article: nothing changes
  ASSERT_TRUE(fMVRealize(d, &frame, &err));
  EXPECT_EQ(offsets(), plain);
  MVSetKerningBoundary(d, 1);  // everything kerned: letters of kerned pairs move closer
  ASSERT_TRUE(fMVRealize(d, &frame, &err));
  EXPECT_NE(offsets(), plain);

  MVSetBkColor(d, RGB(0, 0, 0));
  Canvas canvas(400, 300);
  ASSERT_TRUE(fMVApplyToDC(d, canvas.Dc(), &frame, &err));
  EXPECT_GT(canvas.Count(kParchment, {0, 0, 400, 300}), 200);
  MVDelete(d);
  MVTitleClose(title);
}

TEST_F(DisplayTest, DuplicatesKeepTheLookAndActivateTakesTheFocus) {
  LPMV d = Open("topic_volga", MV_REGION_BODY, 200, 100);
  MVSetBkColor(d, kParchment);
  LONG err = 0;
  LPMV copy = lpMVDuplicate(d, &err);
  displays_.push_back(copy);
  EXPECT_EQ(hwndMVGetWindow(copy), hwndMVGetWindow(d));
  ASSERT_TRUE(fMVRealize(copy, nullptr, &err));
  Canvas canvas(200, 100);
  RECT all{0, 0, 200, 100};
  ASSERT_TRUE(fMVApplyToDC(copy, canvas.Dc(), &all, &err));
  EXPECT_GT(canvas.Count(kParchment, {0, 0, 200, 100}), 10000);
  EXPECT_EQ(hwndMVGetEmbeddedWindow(copy, nullptr, 0), nullptr);

  MVActivate(d, TRUE);
  EXPECT_EQ(GetFocus(), hwndMVGetWindow(d));

  // Without realize there is nothing to paint or point at.
  LPMV fresh = lpMVNew(title_, &err);
  displays_.push_back(fresh);
  err = 0;
  EXPECT_FALSE(fMVApplyToDC(fresh, canvas.Dc(), &all, &err));
  EXPECT_EQ(err, MVERR_NOT_REALIZED);
  EXPECT_FALSE(fMVGetPointInfo(fresh, 1, 1, nullptr, nullptr, &err));
  EXPECT_EQ(ptMVGetSize(fresh), 0u);
}

}  // namespace

// ---- Embedded windows ------------------------------------------------------------------

// The sound topic embeds a window of a class the test registers, given the data string as
// its text, and one of a class nobody registered, which leaves its box empty.
class EmbeddedTest : public DisplayTest {
protected:
  void SetUp() override {
    DisplayTest::SetUp();
    kro::wintest::RegisterTestClass("FixtureEmbed", DefWindowProcA);
  }
  static RECT InParent(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  static std::string Text(HWND w) {
    char buffer[64] = {};
    GetWindowTextA(w, buffer, sizeof buffer);
    return buffer;
  }
};

TEST_F(EmbeddedTest, LayoutMakesTheWindowsOfTheTopicOnTheDisplaysWindow) {
  LPMV d = Open("snd_volga", MV_REGION_BODY, 400, 100);
  HWND pane = hwndMVGetWindow(d);
  HWND first = hwndMVGetEmbeddedWindow(d, nullptr, 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetParent(first), pane);
  EXPECT_EQ(Text(first), "volga.mov");
  EXPECT_TRUE(IsWindowVisible(first));
  const RECT box = InParent(first);
  EXPECT_EQ(box.right - box.left, 120);
  EXPECT_EQ(box.bottom - box.top, 30);
  EXPECT_GE(box.left, 0);
  EXPECT_GE(box.top, 0);
  // The missing class made no window; the text after both boxes is still laid out.
  EXPECT_EQ(hwndMVGetEmbeddedWindow(d, first, 2), nullptr);
  EXPECT_EQ(hwndMVGetEmbeddedWindow(d, first, 1), nullptr);
  EXPECT_GT(LOWORD(ptMVGetSize(d)), 120 + 50);
  EXPECT_GE(HIWORD(ptMVGetSize(d)), 30);
  // A layout again (a resize) keeps the same window.
  LONG err = 0;
  ASSERT_TRUE(fMVRealize(d, nullptr, &err));
  EXPECT_EQ(hwndMVGetEmbeddedWindow(d, nullptr, 0), first);
}

TEST_F(EmbeddedTest, WindowsFollowTheTextWhenItScrolls) {
  LPMV d = Open("snd_volga", MV_REGION_BODY, 400, 20);
  HWND pane = hwndMVGetWindow(d);
  HWND w = hwndMVGetEmbeddedWindow(d, nullptr, 0);
  ASSERT_NE(w, nullptr);
  const RECT before = InParent(w);
  POINT delta{};
  LONG top = 0, bottom = 0, err = 0;
  yMVScrollY(d, &delta, &top, &bottom, SB_BOTTOM, 0, &err);
  ASSERT_LT(delta.y, 0);
  // Repainted without ScrollWindow moving the children: the paint puts the window back
  // under its text.
  InvalidateRect(pane, nullptr, FALSE);
  UpdateWindow(pane);
  EXPECT_EQ(InParent(w).top, before.top + delta.y);
  // ScrollWindow moves it as well; the paint must not move it a second time.
  yMVScrollY(d, &delta, &top, &bottom, SB_TOP, 0, &err);
  ScrollWindow(pane, delta.x, delta.y, nullptr, nullptr);
  UpdateWindow(pane);
  EXPECT_EQ(InParent(w).top, before.top);
}

TEST_F(EmbeddedTest, AnotherTopicRemovalAndDeletionDestroyTheWindows) {
  LPMV d = Open("snd_volga", MV_REGION_BODY, 400, 100);
  HWND w = hwndMVGetEmbeddedWindow(d, nullptr, 0);
  ASSERT_NE(w, nullptr);
  LONG err = 0;
  MVRemoveInsertedEmbeddedWindows(d);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(hwndMVGetEmbeddedWindow(d, nullptr, 0), nullptr);
  ASSERT_TRUE(fMVRealize(d, nullptr, &err));  // the next layout inserts them again
  w = hwndMVGetEmbeddedWindow(d, nullptr, 0);
  ASSERT_NE(w, nullptr);

  fMVSetAddress(d, vaMVConvertContextString(title_, "topic_volga"), MV_REGION_BODY, 0, &err);
  ASSERT_TRUE(fMVRealize(d, nullptr, &err));
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(hwndMVGetEmbeddedWindow(d, nullptr, 0), nullptr);

  fMVSetAddress(d, vaMVConvertContextString(title_, "snd_volga"), MV_REGION_BODY, 0, &err);
  ASSERT_TRUE(fMVRealize(d, nullptr, &err));
  w = hwndMVGetEmbeddedWindow(d, nullptr, 0);
  ASSERT_NE(w, nullptr);
  // A duplicate shows nothing of its own until it is laid out.
  LPMV copy = lpMVDuplicate(d, &err);
  EXPECT_EQ(hwndMVGetEmbeddedWindow(copy, nullptr, 0), nullptr);
  MVDelete(copy);
  EXPECT_TRUE(IsWindow(w));
  displays_.erase(std::find(displays_.begin(), displays_.end(), d));
  MVDelete(d);
  EXPECT_FALSE(IsWindow(w));
}

// The window goes with its parent; the display must not reach for the dead handle.
TEST_F(EmbeddedTest, AParentDestroyedFirstLeavesNothingBehind) {
  LPMV d = Open("snd_volga", MV_REGION_BODY, 400, 100);
  HWND pane = hwndMVGetWindow(d);
  ASSERT_NE(hwndMVGetEmbeddedWindow(d, nullptr, 0), nullptr);
  windows_.erase(std::find(windows_.begin(), windows_.end(), pane));
  DestroyWindow(pane);
  EXPECT_EQ(hwndMVGetEmbeddedWindow(d, nullptr, 0), nullptr);
  MVRemoveInsertedEmbeddedWindows(d);
}

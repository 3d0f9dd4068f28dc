#pragma once
// A child window showing a tree of groups and items read from a list description: its
// rows live in a RowContainer that fills the window; the list keeps the id tree, decides
// what the rows are, opens and closes groups, spreads check changes through the tree
// and reports everything to its parent with the entries' ids:
//   1124 (id, checked)   an entry's check state changed, once per entry, the clicked first
//   1125 (id, 0 or 1)    an entry stopped or started being the current row
//   1127 (id, 0)         an item (or a row with a group checker) was double-clicked
//   1128 (id, state | part << 16)  a CHECKER part of the entry's row was switched
//   1129 (id, expanded)  a group was opened (1) or closed (0)
//   1130 (1124, 0)       a check change and all its 1124 notifications are complete
#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "app/lists/DescriptionLoader.h"
#include "app/lists/ListParts_win.h"
#include "app/toolkit/ExplorerWindow.h"
#include "app/toolkit/RowContainer.h"
#include "app/toolkit/core/TreeNode.h"

namespace kro::lists {

enum ListMessage : UINT {
  kEntryChecked = WM_USER + 100,
  kEntryCurrent = WM_USER + 101,
  kEntryActivated = WM_USER + 103,
  kEntryCheckerSwitched = WM_USER + 104,
  kGroupSwitched = WM_USER + 105,
  kCheckChangeDone = WM_USER + 106,
};

class DescribedList : public toolkit::ExplorerWindow {
public:
  // From a description file; the data directory becomes the file's directory. A null
  // path reads nothing. A file that cannot be read is reported and leaves the list empty.
  DescribedList(const char* path, HINSTANCE instance, int16_t x, int16_t y, int16_t width, int16_t height, HWND parent);
  // From a global memory block (taken over: the list frees it), starting at `offset`.
  DescribedList(HGLOBAL memory, uint32_t offset, HINSTANCE instance, int16_t x, int16_t y, int16_t width,
                int16_t height, HWND parent);
  ~DescribedList() override;

  void SetActive(bool active) override;
  void Focus() override;
  // Destroys the window and creates it again at the new rectangle, the rows' container
  // over it, and focuses the container.
  void Move(int16_t x, int16_t y, int16_t width, int16_t height, bool repaint) override;
  void MoveTo(const toolkit::Box& box, bool repaint) override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Reads the whole description; called by the constructors.
  virtual bool Load();
  virtual void Redraw();

  // Builds the rows of every shown node again.
  void RebuildRows();
  // Every entry (the root, id 0, included) takes the state, the parent hears 1124 for
  // each that changes; no 1130 follows.
  void SetAllChecked(uint32_t state);
  // The entries with these ids show checked, without a word to the parent, which keeps
  // them already (a list made again over a kept choice); a group whose entries are all
  // checked is checked with them, one partly checked shows so.
  void ShowChecked(std::span<const int32_t> ids);

  toolkit::TreeNode& Root() { return root_; }
  toolkit::RowContainer* Container() { return container_.get(); }
  int32_t EntryCount() const { return entryCount_; }
  // The node a row shows, or null.
  toolkit::TreeNode* NodeOfRow(int row) const;

private:
  class HeaderReader;
  class ListElement;

  void Open();
  std::unique_ptr<toolkit::RowElement> BuildRow(toolkit::TreeNode& node);
  void InsertSpecialParts(toolkit::RowElement& row, const toolkit::TreeNode& node) const;
  void AppendSubtree(toolkit::TreeNode& top);
  void SwitchGroup(toolkit::TreeNode& group);
  void CloseGroup(toolkit::TreeNode& group);
  void OpenGroup(toolkit::TreeNode& group);
  void RenumberRows();
  void OnCheckChanged(int row, uint32_t state);
  void UncheckAncestors(toolkit::TreeNode& node);
  void SetPartial(const toolkit::TreeNode& node, bool partial);
  void OnActivated(int row);
  void Notify(UINT message, WPARAM wParam, LPARAM lParam) const;

  SourceKind kind_ = SourceKind::kFile;
  std::string path_;
  std::string text_;  // the description; entry texts are read from it again for every row
  UniqueGlobal memory_;
  toolkit::TreeNode root_{0, nullptr};
  std::unique_ptr<toolkit::RowContainer> container_;
  std::unique_ptr<toolkit::RowElement> itemTemplate_, groupTemplate_;
  std::unique_ptr<BitmapElement> indent_, itemPrefix_, groupPrefix_;
  std::unique_ptr<CheckerElement> groupChecker_;
  std::unique_ptr<SelectCheckerElement> selectChecker_;
  int32_t entryCount_ = 0;
};

// Writes the items of a list box, one per line ending CR LF, to `directory` + "\lsttxt"
// + number; false when the file cannot be written.
bool ExportListText(const std::string& directory, int number, HWND listBox);

}  // namespace kro::lists

#include "app/lists/DescribedList_win.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "app/lists/DescriptionFields.h"
#include "app/toolkit/Palette.h"
#include "app/toolkit/ProgramInstance.h"
#include "app/toolkit/core/TextUtilities.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::lists {
namespace {

using toolkit::Element;
using toolkit::RowContainer;
using toolkit::RowElement;
using toolkit::TreeNode;

// Rows are appended one by one; the array starts with room for a contents list's top level.
constexpr size_t kRowCapacity = 64;
// A description larger than this is not a list description.
constexpr size_t kMaxDescriptionBytes = 16u << 20;

bool ReadWholeFile(const char* path, std::string* text) {
  UniqueFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::array<char, 64 * 1024> chunk;
  DWORD read = 0;
  while (ReadFile(file.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr) && read > 0) {
    if (text->size() + read > kMaxDescriptionBytes) return false;
    text->append(chunk.data(), read);
  }
  return true;
}

// Field k of `text` to part k of the row; empty fields leave their part as it is. The
// parts are laid out again afterwards.
void ParseRowFields(RowElement& row, std::string_view text) {
  const auto fields = SplitParts(text);
  for (size_t k = 0; k < fields.size() && k < row.Count(); ++k)
    if (!fields[k].empty()) row.Part(k)->Parse(std::string(fields[k]).c_str());
  row.LayOut();
}

std::unique_ptr<RowElement> MakeTemplate(std::string_view value) {
  const RowStructFields f = ParseRowStruct(value);
  auto row = std::make_unique<RowElement>(f.width.value_or(0), f.height.value_or(0));
  for (PartType type : f.parts) row->Append(MakePart(type));
  return row;
}

bool AllChildrenChecked(const TreeNode& node) {
  for (int32_t i = 0; i < node.ChildCount(); ++i)
    if (!node.Child(i)->checked) return false;
  return true;
}

template <typename Part, typename... Args>
std::unique_ptr<Part> MakeSpecialPart(std::string_view value, Args... args) {
  auto part = std::make_unique<Part>(args...);
  part->Parse(std::string(value).c_str());
  return part;
}

}  // namespace

// Applies each header keyword to the list as the description is read.
class DescribedList::HeaderReader : public HeaderSink {
public:
  explicit HeaderReader(DescribedList& list) : list_(list) {}

  void Apply(Keyword keyword, std::string_view value) override {
    DescribedList& l = list_;
    switch (keyword) {
      case Keyword::kEmpty: l.indent_ = MakeSpecialPart<BitmapElement>(value, toolkit::kElementEmpty); break;
      case Keyword::kItemStruct: l.itemTemplate_ = MakeTemplate(value); break;
      case Keyword::kGroupStruct: l.groupTemplate_ = MakeTemplate(value); break;
      case Keyword::kItem:
        if (l.itemTemplate_) ParseRowFields(*l.itemTemplate_, value);
        break;
      case Keyword::kGroupItem:
        if (l.groupTemplate_) ParseRowFields(*l.groupTemplate_, value);
        break;
      case Keyword::kBegin: break;
      case Keyword::kBackground: ApplyBackground(value); break;
      case Keyword::kGroupChecker:
        l.groupChecker_ = MakeSpecialPart<CheckerElement>(value, toolkit::kElementGroupChecker);
        break;
      case Keyword::kSelectChecker: l.selectChecker_ = MakeSpecialPart<SelectCheckerElement>(value); break;
      case Keyword::kItemPrefix: l.itemPrefix_ = MakeSpecialPart<BitmapElement>(value, toolkit::kElementItemPrefix); break;
      case Keyword::kGroupPrefix:
        l.groupPrefix_ = MakeSpecialPart<BitmapElement>(value, toolkit::kElementGroupPrefix);
        break;
      case Keyword::kSpace: ApplySpace(value); break;
      case Keyword::kPalette: ApplyPalette(value); break;
      case Keyword::kScroller:
        if (l.container_ && !value.empty()) l.container_->UseCustomBar(std::string(value).c_str(), DataDirectory());
        break;
      case Keyword::kDataDir: SetDataDirectory(value); break;
    }
  }

private:
  static std::string Resolved(const Text& name) {
    if (!name || name->empty()) return {};
    return DataFile(*name).value_or("");
  }

  void ApplyBackground(std::string_view value) {
    const BackgroundFields f = ParseBackground(value);
    RowContainer& c = *list_.container_;
    c.SetBackground(f.colour.value_or(c.BackgroundColour()), f.currentColour.value_or(toolkit::kNoColour),
                    Resolved(f.picture).c_str(), Resolved(f.currentPicture).c_str(), Resolved(f.checkedPicture).c_str());
  }

  void ApplySpace(std::string_view value) {
    const SpaceFields f = ParseSpace(value);
    list_.container_->SetSpace(f.space.value_or(0), Resolved(f.picture).c_str());
  }

  static void ApplyPalette(std::string_view value) {
    const std::string file = Resolved(ParseStringValue(value));
    if (!file.empty()) toolkit::LoadProgramPalette(file.c_str());
  }

  DescribedList& list_;
};

// The list's own element: drawing the list redraws its rows.
class DescribedList::ListElement : public Element {
public:
  explicit ListElement(DescribedList& list) : Element(0, 0, 0, 0), list_(list) {}
  bool Draw(HDC, int, int) override {
    if (list_.container_) list_.container_->Redraw();
    return true;
  }

private:
  DescribedList& list_;
};

DescribedList::DescribedList(const char* path, HINSTANCE instance, int16_t x, int16_t y, int16_t width,
                             int16_t height, HWND parent)
    : ExplorerWindow(instance, x, y, width, height, parent) {
  ReplaceElement(std::make_unique<ListElement>(*this));
  if (!path) return;
  path_.assign(path, std::min<size_t>(std::strlen(path), 255));
  std::array<char, 512> directory{};
  toolkit::DirectoryOfPath(path_.c_str(), directory);
  SetDataDirectory(directory.data());
  if (!ReadWholeFile(path_.c_str(), &text_)) {
    MessageBoxA(nullptr, path_.c_str(), "error", MB_OK);
    return;
  }
  Open();
}

DescribedList::DescribedList(HGLOBAL memory, uint32_t offset, HINSTANCE instance, int16_t x, int16_t y,
                             int16_t width, int16_t height, HWND parent)
    : ExplorerWindow(instance, x, y, width, height, parent), kind_(SourceKind::kMemory), memory_(memory) {
  ReplaceElement(std::make_unique<ListElement>(*this));
  const size_t size = memory ? GlobalSize(memory) : 0;
  const auto* bytes = static_cast<const char*>(memory ? GlobalLock(memory) : nullptr);
  if (!bytes) return;
  // The block need not end in a NUL: its size bounds the description.
  if (offset < size) {
    const std::string_view all(bytes + offset, size - offset);
    text_ = all.substr(0, all.find('\0'));
  }
  GlobalUnlock(memory);
  Open();
}

// The rows and their container go before the templates they were copied from.
DescribedList::~DescribedList() { container_.reset(); }

void DescribedList::Open() {
  Load();
  RebuildRows();
  container_->SetCurrent(0);
  SetActive(true);
  container_->Redraw();
}

bool DescribedList::Load() {
  const Element& e = OwnElement();
  container_ = std::make_unique<RowContainer>(nullptr, Hwnd(), 0, 0, e.width, e.height, kRowCapacity);
  HeaderReader header(*this);
  entryCount_ = static_cast<int32_t>(LoadDescription(text_, kind_, root_, header).Recovered());
  if (!indent_) {
    const int16_t side = itemTemplate_ ? itemTemplate_->height : 0;
    indent_ = std::make_unique<BitmapElement>(toolkit::kElementEmpty);
    indent_->width = side;
    indent_->height = side;
  }
  return true;
}

void DescribedList::SetActive(bool active) {
  ExplorerWindow::SetActive(active);
  if (container_) container_->SetActive(active);
}

void DescribedList::Focus() {
  if (container_) container_->Focus();
}

void DescribedList::Redraw() {
  if (!Hwnd()) return;
  WindowDc dc(Hwnd());
  OwnElement().Draw(dc.Get(), 0, 0);
}

void DescribedList::Move(int16_t x, int16_t y, int16_t width, int16_t height, bool) {
  Element& e = OwnElement();
  e.x = x, e.y = y, e.width = width, e.height = height;
  // The container (and a custom bar in it) waits under a message-only parent while our
  // window is created again.
  if (container_ && container_->Hwnd()) SetParent(container_->Hwnd(), HWND_MESSAGE);
  Create();
  if (container_) container_->Recreate(Hwnd(), 0, 0, width, height);
  Focus();
}

void DescribedList::MoveTo(const toolkit::Box& box, bool repaint) {
  Move(static_cast<int16_t>(box.x), static_cast<int16_t>(box.y), static_cast<int16_t>(box.width),
       static_cast<int16_t>(box.height), repaint);
}

TreeNode* DescribedList::NodeOfRow(int row) const {
  const RowElement* r = container_ ? container_->Row(row) : nullptr;
  return r ? r->node : nullptr;
}

std::unique_ptr<RowElement> DescribedList::BuildRow(TreeNode& node) {
  const bool group = node.ChildCount() > 0;
  const RowElement* pattern = group && groupTemplate_ ? groupTemplate_.get() : itemTemplate_.get();
  if (!pattern || node.textOffset == 0) return nullptr;
  auto row = std::make_unique<RowElement>(*pattern);
  ParseRowFields(*row, EntryText(text_, node.textOffset, kind_));
  row->node = &node;
  InsertSpecialParts(*row, node);
  row->SetChecked(node.checked);
  for (uint16_t position : node.Marks())
    if (Element* part = row->Part(position)) part->SetState(1);
  return row;
}

// Left to right the row reads: indentation per level, group checker, prefix, select
// checker, the template's parts. Insertions into a full row are refused quietly.
void DescribedList::InsertSpecialParts(RowElement& row, const TreeNode& node) const {
  const bool group = node.ChildCount() > 0;
  if (selectChecker_) row.InsertFront(selectChecker_->Clone());
  if (itemPrefix_ && !group) row.InsertFront(itemPrefix_->Clone());
  if (groupPrefix_ && group) row.InsertFront(groupPrefix_->Clone());
  if (groupChecker_ && group) {
    auto checker = groupChecker_->Clone();
    checker->SetState(node.expanded);
    row.InsertFront(std::move(checker));
  }
  for (uint16_t level = 0; level < node.level && row.Count() < RowElement::kMaxParts; ++level)
    row.InsertFront(indent_->Clone());
}

void DescribedList::RebuildRows() {
  if (!container_) return;
  container_->ClearRows();
  for (int32_t i = 0; i < root_.ChildCount(); ++i) {
    TreeNode& child = *root_.Child(i);
    child.level = 0;
    AppendSubtree(child);
  }
  container_->SetCurrent(container_->Current());
}

// Pre-order over the shown nodes below `top` (an explicit stack: descriptions may nest
// deeply); every node with an entry text gets a row.
void DescribedList::AppendSubtree(TreeNode& top) {
  std::vector<TreeNode*> stack{&top};
  while (!stack.empty()) {
    TreeNode& node = *stack.back();
    stack.pop_back();
    if (!node.shown) continue;
    if (auto row = BuildRow(node)) node.row = static_cast<uint32_t>(container_->AppendRow(std::move(row)));
    for (int32_t i = node.ChildCount() - 1; i >= 0; --i) {
      TreeNode& child = *node.Child(i);
      child.level = static_cast<uint16_t>(node.level + 1);
      stack.push_back(&child);
    }
  }
}

void DescribedList::RenumberRows() {
  for (int r = 0; r < container_->RowCount(); ++r)
    if (TreeNode* node = NodeOfRow(r)) node->row = static_cast<uint32_t>(r);
}

void DescribedList::CloseGroup(TreeNode& group) {
  const int next = static_cast<int>(group.row) + 1;
  while (TreeNode* node = NodeOfRow(next)) {
    if (node->level <= group.level || !container_->RemoveRow(next)) break;
  }
  group.ResetDescendants();
  group.expanded = 0;
}

void DescribedList::OpenGroup(TreeNode& group) {
  int at = static_cast<int>(group.row) + 1;
  for (int32_t i = 0; i < group.ChildCount(); ++i) {
    TreeNode& child = *group.Child(i);
    child.expanded = 0;
    child.level = static_cast<uint16_t>(group.level + 1);
    auto row = BuildRow(child);
    if (!row) continue;
    RowElement* built = row.get();
    if (!container_->InsertRow(at, std::move(row))) continue;
    child.shown = 1;
    child.row = static_cast<uint32_t>(at++);
    if (child.ChildCount() > 0 && child.AnyChecked())
      if (auto* checker = static_cast<SelectCheckerElement*>(built->FindPart(toolkit::kElementSelectChecker)))
        checker->SetPartial(true);
  }
  group.expanded = 1;
}

void DescribedList::SwitchGroup(TreeNode& group) {
  if (group.expanded) {
    CloseGroup(group);
  } else {
    OpenGroup(group);
  }
  RenumberRows();
  container_->Redraw();
  Notify(kGroupSwitched, group.id, group.expanded);
}

void DescribedList::SetPartial(const TreeNode& node, bool partial) {
  if (!node.shown) return;
  RowElement* row = container_->Row(static_cast<int>(node.row));
  if (!row || row->node != &node) return;
  if (auto* checker = static_cast<SelectCheckerElement*>(row->FindPart(toolkit::kElementSelectChecker)))
    checker->SetPartial(partial);
}

void DescribedList::OnCheckChanged(int rowIndex, uint32_t state) {
  TreeNode* node = NodeOfRow(rowIndex);
  if (!node) return;
  node->checked = state;
  Notify(kEntryChecked, node->id, state);
  if (node->ChildCount() > 0)
    node->SetCheckedDeep(state, [this](uint32_t id, uint32_t value) { Notify(kEntryChecked, id, value); });
  if (node->expanded) {
    for (int r = rowIndex + 1; TreeNode* below = NodeOfRow(r); ++r) {
      if (below->level <= node->level) break;
      container_->Row(r)->SetChecked(below->checked);
    }
  }
  if (state) {
    for (TreeNode* up = node->Parent(); up && up != &root_; up = up->Parent()) {
      SetPartial(*up, true);
      if (up->checked) break;
    }
  } else {
    UncheckAncestors(*node);
  }
  container_->Redraw();
  Notify(kCheckChangeDone, kEntryChecked, 0);
}

void DescribedList::UncheckAncestors(TreeNode& node) {
  for (TreeNode* up = node.Parent(); up && up != &root_; up = up->Parent()) {
    if (up->checked) {
      up->checked = 0;
      Notify(kEntryChecked, up->id, 0);
    }
    if (!up->shown) continue;
    if (RowElement* row = container_->Row(static_cast<int>(up->row)); row && row->node == up) row->SetChecked(0);
    SetPartial(*up, up->AnyChecked());
  }
}

void DescribedList::OnActivated(int rowIndex) {
  RowElement* row = container_->Row(rowIndex);
  if (!row) return;
  if (row->FindPart(toolkit::kElementGroupChecker)) {
    if (row->node) Notify(kEntryActivated, row->node->id, 0);
    return;
  }
  if (row->Count() == 0 || !row->node) return;
  if (row->node->ChildCount() == 0) {
    Notify(kEntryActivated, row->node->id, 0);
  } else {
    SwitchGroup(*row->node);
  }
}

LRESULT DescribedList::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const int row = static_cast<int>(wParam);
  switch (message) {
    case toolkit::kRowChecked: OnCheckChanged(row, static_cast<uint32_t>(lParam)); return 0;
    case toolkit::kRowCurrent:
      if (TreeNode* node = NodeOfRow(row)) Notify(kEntryCurrent, node->id, lParam);
      return 0;
    case toolkit::kRowActivated: OnActivated(row); return 0;
    case toolkit::kRowCheckerSwitched:
      if (TreeNode* node = NodeOfRow(row)) {
        node->SetMark(LOWORD(lParam), HIWORD(lParam));
        Notify(kEntryCheckerSwitched, node->id, lParam);
      }
      return 0;
    case toolkit::kRowGroupSwitched:
      if (TreeNode* node = NodeOfRow(row)) SwitchGroup(*node);
      return 0;
    default: return ExplorerWindow::OnMessage(message, wParam, lParam);
  }
}

void DescribedList::SetAllChecked(uint32_t state) {
  root_.SetCheckedDeep(state, [this](uint32_t id, uint32_t value) { Notify(kEntryChecked, id, value); });
  if (!container_) return;
  for (int r = 0; r < container_->RowCount(); ++r) {
    RowElement& row = *container_->Row(r);
    row.SetChecked(state);
    // Nothing is partly checked once everything has one state.
    if (auto* checker = static_cast<SelectCheckerElement*>(row.FindPart(toolkit::kElementSelectChecker)))
      checker->SetPartial(false);
  }
  container_->Redraw();
}

void DescribedList::ShowChecked(std::span<const int32_t> ids) {
  for (const int32_t id : ids) {
    TreeNode* node = id > 0 ? root_.FindById(static_cast<uint32_t>(id)) : nullptr;
    if (!node) continue;
    node->checked = 1;
    for (TreeNode* up = node->Parent(); up && up != &root_ && AllChildrenChecked(*up); up = up->Parent()) up->checked = 1;
  }
  if (!container_) return;
  RebuildRows();
  for (int r = 0; TreeNode* node = NodeOfRow(r); ++r)
    if (node->ChildCount() > 0 && !node->checked && node->AnyChecked()) SetPartial(*node, true);
  container_->Redraw();
}

void DescribedList::Notify(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (Parent()) SendMessageA(Parent(), message, wParam, lParam);
}

bool ExportListText(const std::string& directory, int number, HWND listBox) {
  const std::string path = directory + "\\lsttxt" + std::to_string(number);
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::string text;
  for (WPARAM i = 0;; ++i) {
    const LRESULT length = SendMessageA(listBox, LB_GETTEXTLEN, i, 0);
    if (length == LB_ERR) break;
    std::string item(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got = SendMessageA(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    if (got == LB_ERR) break;
    text.append(item.data(), static_cast<size_t>(got));
    text += "\r\n";
  }
  DWORD written = 0;
  return WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
}

}  // namespace kro::lists

#pragma once
// One node of a described list's id tree. The list's description declares every node with
// a numeric id and a child count; rows refer back to their node. A node owns its children
// and its marks. Walks over the tree use an explicit stack, so a hostile description that
// nests deeply cannot exhaust the call stack.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace kro::toolkit {

class TreeNode {
public:
  // Told of every node whose check state a deep set changes.
  using CheckChanged = std::function<void(uint32_t id, uint32_t state)>;

  // Bounds CreateChildren: a description declaring more entries under one node than this
  // is damaged, and must not make us allocate for it.
  static constexpr uint32_t kMaxChildCount = 1u << 20;

  TreeNode(uint32_t textOffset, TreeNode* parent) : textOffset(textOffset), parent_(parent) {}
  ~TreeNode();
  TreeNode(const TreeNode&) = delete;
  TreeNode& operator=(const TreeNode&) = delete;

  // Allocates n children in one go; false when the node has children already, n is 0 or
  // above kMaxChildCount, or memory runs out (the slots filled so far stay).
  bool CreateChildren(uint32_t n);
  // Pre-order: the node itself, then each child's subtree in index order.
  TreeNode* FindById(uint32_t id);
  bool AnyChecked() const;
  void SetCheckedDeep(uint32_t state, const CheckChanged& onChange);
  // Clears shown, row, expanded and level below this node (not in it).
  void ResetDescendants();
  // Records (1) or forgets (0) that the CHECKER element at `position` of the row is on.
  void SetMark(uint32_t state, uint16_t position);

  TreeNode* Parent() const { return parent_; }
  int32_t ChildCount() const { return static_cast<int32_t>(children_.size()); }
  TreeNode* Child(int32_t index) const;
  std::span<const uint16_t> Marks() const { return marks_ ? std::span<const uint16_t>(*marks_) : std::span<const uint16_t>(); }
  bool HasMarksArray() const { return marks_ != nullptr; }

  uint32_t textOffset;
  uint32_t id = 0;
  uint32_t shown = 0;
  uint32_t row = 0;
  uint32_t expanded = 0;
  uint32_t checked = 0;
  uint16_t level = 0;

private:
  // Calls visit(node) for root and its descendants in pre-order until it answers true;
  // returns that node. Node is TreeNode or const TreeNode.
  template <typename Node, typename Visit>
  static Node* WalkPreOrder(Node* root, Visit visit);

  TreeNode* parent_;
  std::vector<std::unique_ptr<TreeNode>> children_;
  std::unique_ptr<std::vector<uint16_t>> marks_;
};

}  // namespace kro::toolkit

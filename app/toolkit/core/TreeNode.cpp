#include "app/toolkit/core/TreeNode.h"

#include <algorithm>
#include <new>

namespace kro::toolkit {

TreeNode::~TreeNode() {
  // Frees the subtree without recursing: each node's children join the pending list before
  // the node itself goes.
  std::vector<std::unique_ptr<TreeNode>> pending = std::move(children_);
  while (!pending.empty()) {
    std::unique_ptr<TreeNode> node = std::move(pending.back());
    pending.pop_back();
    if (!node) continue;
    for (auto& child : node->children_) pending.push_back(std::move(child));
    node->children_.clear();
  }
}

template <typename Node, typename Visit>
Node* TreeNode::WalkPreOrder(Node* root, Visit visit) {
  std::vector<Node*> stack{root};
  while (!stack.empty()) {
    Node* node = stack.back();
    stack.pop_back();
    if (visit(*node)) return node;
    for (auto child = node->children_.rbegin(); child != node->children_.rend(); ++child)
      if (*child) stack.push_back(child->get());
  }
  return nullptr;
}

bool TreeNode::CreateChildren(uint32_t n) {
  if (!children_.empty() || n == 0 || n > kMaxChildCount) return false;
  try {
    children_.resize(n);
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (auto& child : children_) {
    child.reset(new (std::nothrow) TreeNode(0, this));
    if (!child) return false;
  }
  return true;
}

TreeNode* TreeNode::Child(int32_t index) const {
  if (index < 0 || index >= ChildCount()) return nullptr;
  return children_[static_cast<size_t>(index)].get();
}

TreeNode* TreeNode::FindById(uint32_t wanted) {
  return WalkPreOrder(this, [wanted](const TreeNode& node) { return node.id == wanted; });
}

bool TreeNode::AnyChecked() const {
  return WalkPreOrder(this, [](const TreeNode& node) { return node.checked == 1; }) != nullptr;
}

void TreeNode::SetCheckedDeep(uint32_t state, const CheckChanged& onChange) {
  WalkPreOrder(this, [&](TreeNode& node) {
    if (node.checked != state) {
      node.checked = state;
      if (onChange) onChange(node.id, state);
    }
    return false;
  });
}

void TreeNode::ResetDescendants() {
  WalkPreOrder(this, [this](TreeNode& node) {
    if (&node != this) node.shown = node.row = node.expanded = node.level = 0;
    return false;
  });
}

void TreeNode::SetMark(uint32_t state, uint16_t position) {
  if (state == 1) {
    if (!marks_) marks_ = std::make_unique<std::vector<uint16_t>>();
    if (std::find(marks_->begin(), marks_->end(), position) == marks_->end()) marks_->push_back(position);
  } else if (state == 0 && marks_) {
    std::erase(*marks_, position);
    if (marks_->empty()) marks_.reset();
  }
}

}  // namespace kro::toolkit

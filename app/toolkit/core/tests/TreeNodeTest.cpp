#include "app/toolkit/core/TreeNode.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kro::toolkit {
namespace {

// root(0) -> a(10) [a1(11), a2(12) -> x(12)], b(20), c(12)
struct Tree {
  TreeNode root{0, nullptr};
  Tree() {
    root.CreateChildren(3);
    TreeNode* a = root.Child(0);
    a->id = 10;
    root.Child(1)->id = 20;
    root.Child(2)->id = 12;
    a->CreateChildren(2);
    a->Child(0)->id = 11;
    a->Child(1)->id = 12;
    a->Child(1)->CreateChildren(1);
    a->Child(1)->Child(0)->id = 12;
  }
};

TEST(TreeNode, CreatesChildrenOnceAndNotZero) {
  TreeNode node(5, nullptr);
  EXPECT_FALSE(node.CreateChildren(0));
  EXPECT_EQ(node.ChildCount(), 0);
  EXPECT_FALSE(node.CreateChildren(TreeNode::kMaxChildCount + 1));
  ASSERT_TRUE(node.CreateChildren(3));
  EXPECT_EQ(node.Child(2)->Parent(), &node);
  EXPECT_EQ(node.Child(2)->textOffset, 0u);
  EXPECT_FALSE(node.CreateChildren(2));
  EXPECT_EQ(node.ChildCount(), 3);
  EXPECT_EQ(node.Child(3), nullptr);
  EXPECT_EQ(node.Child(-1), nullptr);
}

TEST(TreeNode, FindsTheFirstNodeInPreOrder) {
  Tree t;
  EXPECT_EQ(t.root.FindById(12), t.root.Child(0)->Child(1));  // parent before its child, before c
  EXPECT_EQ(t.root.FindById(20), t.root.Child(1));
  EXPECT_EQ(t.root.FindById(0), &t.root);
  EXPECT_EQ(t.root.FindById(99), nullptr);
  EXPECT_EQ(t.root.Child(1)->FindById(11), nullptr);  // only below the node asked
}

TEST(TreeNode, DeepCheckNotifiesOnlyChangedNodes) {
  Tree t;
  t.root.Child(0)->Child(0)->checked = 1;
  EXPECT_TRUE(t.root.AnyChecked());
  EXPECT_FALSE(t.root.Child(1)->AnyChecked());

  std::vector<std::pair<uint32_t, uint32_t>> told;
  const TreeNode::CheckChanged record = [&](uint32_t id, uint32_t state) { told.emplace_back(id, state); };
  t.root.Child(0)->SetCheckedDeep(1, record);
  EXPECT_EQ(told, (std::vector<std::pair<uint32_t, uint32_t>>{{10, 1}, {12, 1}, {12, 1}}));
  told.clear();
  t.root.Child(0)->SetCheckedDeep(1, record);
  EXPECT_TRUE(told.empty());
  t.root.SetCheckedDeep(0, nullptr);
  EXPECT_FALSE(t.root.AnyChecked());
}

TEST(TreeNode, ResetClearsDescendantsOnly) {
  Tree t;
  for (TreeNode* n : {&t.root, t.root.Child(0), t.root.Child(0)->Child(1)->Child(0)}) {
    n->shown = n->expanded = 1;
    n->row = 7;
    n->level = 2;
    n->checked = 1;
  }
  t.root.ResetDescendants();
  EXPECT_EQ(t.root.shown + t.root.expanded + t.root.row + t.root.level, 1u + 1 + 7 + 2);
  for (TreeNode* n : {t.root.Child(0), t.root.Child(0)->Child(1)->Child(0)}) {
    EXPECT_EQ(n->shown + n->expanded + n->row + n->level, 0u);
    EXPECT_EQ(n->checked, 1u);  // check state is not part of the layout
  }
}

TEST(TreeNode, MarksComeAndGoWithTheirArray) {
  TreeNode node(0, nullptr);
  node.SetMark(0, 3);  // clearing an absent mark
  EXPECT_FALSE(node.HasMarksArray());
  node.SetMark(1, 3);
  node.SetMark(1, 1);
  node.SetMark(1, 3);  // already there
  EXPECT_EQ(std::vector<uint16_t>(node.Marks().begin(), node.Marks().end()), (std::vector<uint16_t>{3, 1}));
  node.SetMark(0, 3);
  EXPECT_TRUE(node.HasMarksArray());
  node.SetMark(0, 1);
  EXPECT_FALSE(node.HasMarksArray());
  EXPECT_TRUE(node.Marks().empty());
}

TEST(TreeNode, DeepChainsAreWalkedAndFreedWithoutRecursion) {
  auto root = std::make_unique<TreeNode>(0, nullptr);
  TreeNode* tip = root.get();
  for (uint32_t depth = 1; depth <= 200000; ++depth) {
    tip->CreateChildren(1);
    tip = tip->Child(0);
    tip->id = depth;
  }
  EXPECT_EQ(root->FindById(200000), tip);
  root.reset();  // a recursive destructor would overflow the stack here
}

}  // namespace
}  // namespace kro::toolkit

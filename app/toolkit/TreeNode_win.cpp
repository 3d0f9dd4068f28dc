#include "app/toolkit/TreeNode_win.h"

namespace kro::toolkit {

void SetCheckedDeep(TreeNode& node, uint32_t state, HWND notifyWindow) {
  TreeNode::CheckChanged notify;
  if (notifyWindow)
    notify = [notifyWindow](uint32_t id, uint32_t newState) {
      SendMessageA(notifyWindow, kCheckChangedMessage, id, static_cast<LPARAM>(newState));
    };
  node.SetCheckedDeep(state, notify);
}

}  // namespace kro::toolkit

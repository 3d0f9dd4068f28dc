#pragma once
// The id tree's check changes reported to a window, as the described lists do.
#include <windows.h>

#include "app/toolkit/core/TreeNode.h"

namespace kro::toolkit {

// Sent for every node whose check state changed: wParam the node's id, lParam the state.
inline constexpr UINT kCheckChangedMessage = WM_USER + 100;

// TreeNode::SetCheckedDeep telling notifyWindow (when not null) by kCheckChangedMessage.
void SetCheckedDeep(TreeNode& node, uint32_t state, HWND notifyWindow);

}  // namespace kro::toolkit

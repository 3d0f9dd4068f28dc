#pragma once
// The yes/cancel disc prompt (dialog templates 294 and 295): a prompt picture with two
// bitmap buttons over it. Start-up shows it when the title is missing from the product
// directory; it answers 1 for yes and 0 for cancel.
#include <windows.h>

namespace kro::shell {

constexpr int kDiscPromptTemplate = 295;
constexpr int kArchivePromptTemplate = 294;

// 1 shows "instal_2" (insert the encyclopedia disc), 2 shows "instal_1" (the archive disc).
void SetPromptMode(int mode);
INT_PTR CALLBACK DiscPromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kro::shell

#pragma once
// The clipboard and global memory blocks as the Wine-hosted tests read them.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace kro::wintest {

// The clipboard's text in `format`: CF_UNICODETEXT comes back in cp1251, any other format
// as its bytes up to the first NUL. "<none>" when the format is not there, "<closed>"
// when the clipboard cannot be opened.
std::string ClipboardText(UINT format = CF_TEXT);
// Empties the clipboard and puts the blocks on it, which it then owns.
bool PutOnClipboard(HWND owner, const std::vector<std::pair<UINT, HANDLE>>& blocks);
void ClearClipboard();

// The text of a global block up to its first NUL; the block is freed (a test fails if it
// was not a block we could free). "<none>" for no block.
std::string TakeGlobalText(HGLOBAL block);
std::string WithoutCr(std::string text);

}  // namespace kro::wintest

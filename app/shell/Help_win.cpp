#include "app/shell/Help_win.h"

#include <string>

#include "app/article/TopicWindow_win.h"
#include "app/shell/Program_win.h"
#include "runtime/base/FileIo_win.h"

namespace kro::shell {

void ShowHelp(HWND mainWindow) {
  const std::string helpFile = TheProgram().productDir + "kro97.hlp";
  // Current systems no longer show .hlp files, and nothing here makes them: a disc that
  // carries one gets its viewer, the others the title's help section.
  if (FileExists(helpFile)) {
    WinHelpA(mainWindow, helpFile.c_str(), HELP_CONTENTS, 0);
    return;
  }
  article::TopicRecord* main = article::MainArticle();
  if (!main) return;
  article::ShowInSecondaryWindow(kHelpContents, article::MainDisplay(main));
  if (article::TopicRecord* secondary = article::SecondaryWindow()) SetWindowTextA(secondary->topicWindow, kHelpCaption);
}

}  // namespace kro::shell

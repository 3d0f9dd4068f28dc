#include "app/shell/Classes_win.h"

#include "app/article/PicturePopup_win.h"
#include "app/article/SlideWindow_win.h"
#include "app/article/TopicWindow_win.h"
#include "app/lists/VirtualListBox_win.h"
#include "app/media/Galleries_win.h"
#include "app/movies/SoundWindow.h"
#include "app/movies/VideoWindow.h"
#include "app/navigation/ContentsDialog_win.h"
#include "app/navigation/ReadingDialogs_win.h"
#include "app/navigation/ResultsDialog_win.h"
#include "app/navigation/SearchDialog_win.h"
#include "app/shell/AboutWindow_win.h"
#include "app/shell/Cursors_win.h"
#include "app/shell/LogoWindow_win.h"
#include "app/shell/MainWindow_win.h"
#include "app/shell/Program_win.h"
#include "app/timeline/TimelineWindow_win.h"
#include "app/toolkit/BitmapButton.h"
#include "app/toolkit/MovieButton.h"

namespace kro::shell {
namespace {

struct ClassEntry {
  const char* name;
  WNDPROC procedure;
  int windowExtra;
  const char* icon;  // a resource of the program, or null
  bool arrowCursor;
  int brush;
  const char* failure;
};

// The classes of the windows this program has, in registration order. The classes of
// the dialogs, galleries and video windows join as their windows arrive.
const ClassEntry kClasses[] = {
    {kMainWindowClass, ArticleViewProc, 0, "myicon", true, WHITE_BRUSH,
     "Невозможно зарегистрировать класс EncWindowClass"},
    {navigation::kHistoryDialogClass, navigation::HistoryDialogProc, 0, nullptr, true, WHITE_BRUSH,
     "Невозможно зарегистрировать класс HistoryDialog"},
    {navigation::kBookmarkDialogClass, navigation::BookmarkDialogProc, 0, nullptr, true, WHITE_BRUSH,
     "Невозможно зарегистрировать класс BookmarkDialog"},
    {navigation::kSearchDialogClass, navigation::SearchDialogProc, 0, nullptr, true, WHITE_BRUSH,
     "Невозможно зарегистрировать класс SearchDialog"},
    {navigation::kResultsDialogClass, navigation::ResultsDialogProc, 0, nullptr, true, WHITE_BRUSH,
     "Невозможно зарегистрировать класс SearchResultsDialog"},
    {navigation::kContentsDialogClass, navigation::ContentsDialogProc, 0, nullptr, true, WHITE_BRUSH,
     "Невозможно зарегистрировать класс IndexDialog"},
    {kArticleAreaClass, DefWindowProcA, 0, nullptr, false, WHITE_BRUSH, "Невозможно зарегистрировать класс  окна  topic"},
    {kSlideWindowClass, article::SlideWindowProc, 0, nullptr, false, WHITE_BRUSH, "Невозможно зарегистрировать класс WINSLIDE"},
    {timeline::kTimelineFrameClass, timeline::TimelineFrameProc, 0, nullptr, true, LTGRAY_BRUSH,
     "Невозможно зарегистрировать класс TIMELINEMAINCLASS"},
    {timeline::kTimelineStripClass, timeline::TimelineStripProc, 0, nullptr, false, LTGRAY_BRUSH,
     "Невозможно зарегистрировать класс TIMELINECLASS"},
    {movies::kVideoParentClass, movies::VideoParentProc, 0, nullptr, false, WHITE_BRUSH,
     "Невозможно зарегистрировать класс VIDEOPARENTCLASS"},
    {movies::kVideoClass, movies::VideoProc, 0, nullptr, false, WHITE_BRUSH, "Невозможно зарегистрировать класс VIDEOCLASS"},
    {movies::kSoundClass, movies::SoundProc, 0, nullptr, false, BLACK_BRUSH, "Невозможно зарегистрировать класс SOUNDCLASS"},
    // The logo keeps its movie controller in its window word.
    {kLogoClass, LogoWindowProc, sizeof(LONG_PTR), nullptr, true, BLACK_BRUSH, "Невозможно зарегистрировать класс LOGOCLASS"},
    {kAboutClass, AboutWindowProc, 0, nullptr, true, WHITE_BRUSH, "Невозможно зарегистрировать класс AboutDialog"},
    {media::kGalleryDialogClass, media::GalleryDialogProc, 0, nullptr, true, WHITE_BRUSH,
     "Невозможно зарегистрировать класс GalleryDialog"},
    {media::kSlidesGalleryClass, media::SlidesGalleryProc, 0, nullptr, true, WHITE_BRUSH,
     "Невозможно зарегистрировать класс SlidesGalleryDialog"},
    {media::kSlidePanelClass, media::SlidePanelProc, 0, nullptr, false, WHITE_BRUSH,
     "Невозможно зарегистрировать класс SlideForDlg"},
};

bool Register(HINSTANCE instance, const ClassEntry& entry) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = entry.procedure;
  wc.cbWndExtra = entry.windowExtra;
  wc.hInstance = instance;
  wc.hIcon = entry.icon ? LoadIconA(instance, entry.icon) : nullptr;
  wc.hCursor = entry.arrowCursor ? LoadCursorA(nullptr, IDC_ARROW) : nullptr;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(entry.brush));
  wc.lpszClassName = entry.name;
  return RegisterClassA(&wc) != 0;
}

bool Fail(const char* message) {
  MessageBoxA(nullptr, message, "Ошибка", MB_OK);
  return false;
}

}  // namespace

bool RegisterClasses(HINSTANCE instance) {
  LoadSharedCursors(instance);
  for (const ClassEntry& entry : kClasses)
    if (!Register(instance, entry)) return Fail(entry.failure);
  if (!toolkit::RegisterMovieButtonClass(instance)) return Fail("Невозможно зарегистрировать класс VIDEOBUTTON");
  if (!toolkit::RegisterBitmapButtonClass(instance)) return Fail("Невозможно зарегистрировать класс MMBUTTON");
  if (!article::RegisterPicturePopupClass(instance, Cursors().zoom1)) return Fail("Невозможно зарегистрировать класс POPUPCLASS");
  // The article classes fail without a message.
  if (!article::RegisterArticleClasses(instance)) return false;
  if (!lists::RegisterVirtualListBoxClass(instance)) return Fail("Невозможно зарегистрировать класс VLB");
  return true;
}

}  // namespace kro::shell

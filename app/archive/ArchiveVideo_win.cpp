#include "app/archive/ArchiveVideo_win.h"

#include <string>

#include "app/archive/ArchiveProgram_win.h"
#include "app/movies/VideoWindow.h"
#include "app/shell/Cursors_win.h"

namespace kro::archive {
namespace {

// The file name field as the program's 256-byte buffer holds it.
constexpr size_t kMaxMovieFileName = 255;

struct MovieOnDisc {
  std::string path;
  std::string title;
  std::string caption;
};

MovieOnDisc LoadMovie(const media::OpenCatalogue& catalogue, int32_t record) {
  const std::string& disc = TheArchive().productDir;
  const std::string file = catalogue.Field(record, media::CatalogueField::kThird, kMaxMovieFileName);
  media::FolderStore store(disc);
  return {disc + "movies\\" + file, catalogue.Field(record, media::CatalogueField::kTitle, movies::kMaxMovieTitle),
          media::LookUpCaption(store, "videocap.txt", file, false)};
}

void UpdateStepButtons(const Playlist& playlist) { movies::SetStepButtons(playlist.HasPrevious(), playlist.HasNext()); }

}  // namespace

bool RegisterArchiveVideoClasses(HINSTANCE instance) {
  if (!movies::RegisterVideoClasses(instance)) {
    MessageBoxA(nullptr, "Невозможно зарегистрировать класс VIDEOPARENTCLASS", "Ошибка", MB_OK);
    return false;
  }
  return true;
}

void PlayTicked(HWND owner, Playlist& playlist, const media::OpenCatalogue* catalogue) {
  const auto first = playlist.Start();
  if (!first || !catalogue) return;
  const ArchiveProgram& program = TheArchive();
  movies::VideoSettings settings;
  settings.productDir = program.productDir;
  settings.discConversation = false;
  settings.stepButtons = true;
  settings.deviceAndPalette = false;
  settings.paletteMode = program.display.paletteMode;
  settings.titleFont = program.titleFont;
  settings.captionFont = program.captionFont;
  settings.staticBrush = program.lightGreyBrush.Get();
  settings.buttonCursor = shell::Cursors().handE;
  movies::SetVideoSettings(settings);
  SetCursor(shell::Cursors().wait);
  const MovieOnDisc movie = LoadMovie(*catalogue, *first);
  movies::OpenVideoWindow(movie.path.c_str(), owner, movie.title, movie.caption);
  if (movies::VideoFrame()) UpdateStepButtons(playlist);
  SetCursor(shell::Cursors().arrow);
}

bool StepPlaylist(UINT command, Playlist& playlist, const media::OpenCatalogue* catalogue) {
  if (command != movies::kPreviousMovieCommand && command != movies::kNextMovieCommand) return false;
  const auto record = command == movies::kNextMovieCommand ? playlist.Next() : playlist.Previous();
  if (!record || !catalogue || !movies::VideoFrame()) return true;
  const MovieOnDisc movie = LoadMovie(*catalogue, *record);
  movies::ReplaceMovie(movie.path.c_str(), movie.title, movie.caption);
  UpdateStepButtons(playlist);
  return true;
}

}  // namespace kro::archive

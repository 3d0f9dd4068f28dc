#include "app/setup/SetupPlan.h"

#include <gtest/gtest.h>

namespace kro::setup {
namespace {

using Strings = std::vector<std::string>;

TEST(SetupArguments, SplitAsTheCRuntimeDoes) {
  const struct {
    const char* line;
    Strings expected;
  } cases[] = {
      {"", {}},
      {"  /S\t/uninstall ", {"/S", "/uninstall"}},
      {R"("/disc=C:\Мои диски\disc1" /S)", {R"(/disc=C:\Мои диски\disc1)", "/S"}},
      {R"(/disc="C:\a b\\")", {R"(/disc=C:\a b\)"}},  // doubled before the closing quote
      {R"(a\\\"b)", {R"(a\"b)"}},
      {R"(a\\b c\)", {R"(a\\b)", R"(c\)"}},  // backslashes not before a quote are literal
      {R"("say ""hi""")", {R"(say "hi")"}},
      {R"("" x)", {"", "x"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitArguments(c.line), c.expected) << c.line;
}

TEST(SetupArguments, QuotingReadsBackUnchanged) {
  for (const char* argument : {"plain", "", "C:\\Program Files\\kro\\", "a \"quoted\" word", "end\\\\", "tab\there"}) {
    EXPECT_EQ(SplitArguments(QuoteArgument(argument) + " next"), (Strings{argument, "next"})) << argument;
  }
}

TEST(SetupCommand, ReadsEverySwitch) {
  auto command = ParseCommand(R"(/s "/DISC=D:\disc1\\" /archive=E:\ )");
  ASSERT_TRUE(command);
  EXPECT_EQ(command->action, Action::kInstall);
  EXPECT_TRUE(command->silent);
  EXPECT_EQ(command->discDir, "D:\\disc1");
  EXPECT_EQ(command->archiveDir, "E:\\");  // a drive root keeps its backslash

  command = ParseCommand("/Uninstall /S");
  ASSERT_TRUE(command);
  EXPECT_EQ(command->action, Action::kUninstall);

  command = ParseCommand("/run ARCHIVE");
  ASSERT_TRUE(command);
  EXPECT_EQ(command->action, Action::kRun);
  EXPECT_EQ(command->program, Program::kArchive);
  EXPECT_FALSE(command->silent);
}

TEST(SetupCommand, RefusesWhatItDoesNotKnow) {
  for (const char* line : {"/x", "/run", "/run viewer", "/disc=", "/disc", "/discs=C:\\", "install"}) {
    EXPECT_FALSE(ParseCommand(line)) << line;
  }
}

TEST(SetupIni, AnInstallationWritesTheKeysBothProgramsRead) {
  Installation installation{"C:\\kro\\disc1", "C:\\kro\\disc2", "C:\\kro\\x86_64", "C:\\ProgramData\\Kro97"};
  using Keys = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(IniKeys(installation), (Keys{{"ProductDir", "C:\\kro\\disc1"},
                                         {"Directory", "C:\\ProgramData\\Kro97"},
                                         {"IsDisk2Exists", "1"},
                                         {"ShowIntroduction", "1"},
                                         {"LUMFilDirectory", "C:\\ProgramData\\Kro97"}}));
  EXPECT_EQ(ProductDirFor(installation, Program::kPlayer), "C:\\kro\\disc1");
  EXPECT_EQ(ProductDirFor(installation, Program::kArchive), "C:\\kro\\disc2");

  installation.archiveDir.clear();
  EXPECT_EQ(IniKeys(installation)[2], (std::pair<std::string, std::string>{"IsDisk2Exists", "0"}));
  EXPECT_EQ(ProductDirFor(installation, Program::kArchive), std::nullopt);
}

TEST(SetupPaths, DiscsAreLookedForBesideTheInstallerFirst) {
  EXPECT_EQ(DiscCandidates("C:\\kro", {"D:\\", "E:\\"}),
            (Strings{"C:\\kro", "C:\\kro\\disc1", "C:\\kro\\disc2", "D:\\", "E:\\"}));
  EXPECT_EQ(Join("D:\\", "kro.m14"), "D:\\kro.m14");
  EXPECT_EQ(Join("C:\\kro", "kro.m14"), "C:\\kro\\kro.m14");
  EXPECT_EQ(WithoutTrailingBackslash("C:\\kro\\\\"), "C:\\kro");
}

TEST(SetupPaths, AFolderMustFitTheProgramsBuffersWithItsBackslash) {
  EXPECT_TRUE(FitsTheProgramsBuffers(std::string(kMaxDirLength, 'a')));
  EXPECT_FALSE(FitsTheProgramsBuffers(std::string(kMaxDirLength + 1, 'a')));
  EXPECT_FALSE(FitsTheProgramsBuffers(""));
}

}  // namespace
}  // namespace kro::setup

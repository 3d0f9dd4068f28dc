#include "tests/random/DefinedTexts_win.h"

#include <gtest/gtest.h>

#include <string>

namespace kro::randominput {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(DefinedTextsTest, ATextIsDefinedWhenTheImageCarriesItNarrowOrWide) {
  // A literal as the compiler leaves it, and a dialog's text in UTF-16, as in the resources.
  std::string image = std::string("\x00\x01", 2) + "Слишком много закладок!" + std::string(1, '\0');
  const std::wstring prompt = L"Вставьте диск";
  image.append(reinterpret_cast<const char*>(prompt.data()), prompt.size() * sizeof(wchar_t));
  const DefinedTexts defined(Bytes(image));
  ASSERT_TRUE(defined.Loaded());
  EXPECT_TRUE(defined.Contains("Слишком много закладок!"));
  EXPECT_TRUE(defined.Contains("Вставьте диск"));
  EXPECT_TRUE(defined.Contains("-2048"));  // an error number the program formats
  EXPECT_FALSE(defined.Contains("Нет принтера"));
  EXPECT_FALSE(defined.Contains("Слишком много закладок!!"));  // more than what is carried
  EXPECT_FALSE(defined.Contains("Вставьте диск 2"));
  EXPECT_FALSE(defined.Contains("-"));
  EXPECT_FALSE(defined.Contains(""));
}

TEST(DefinedTextsTest, AnImageThatWasNotReadDefinesNothing) {
  const DefinedTexts none({});
  EXPECT_FALSE(none.Loaded());
  EXPECT_FALSE(none.Contains("Ошибка"));
}

}  // namespace
}  // namespace kro::randominput

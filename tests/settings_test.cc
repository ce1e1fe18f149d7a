#include "plugin/settings.h"

#include <gtest/gtest.h>

#include <thread>

#include "test_support.h"

namespace velkaro {
namespace {

TEST(ReplaceAllTest, Table) {
  struct Case {
    const char *text, *find, *replacement, *expected;
  } cases[] = {
      {"a/b/c", "/", "_", "a_b_c"},
      {"aaa", "a", "aa", "aaaaaa"},  // inserted text is not scanned again
      {"<CR><CR>", "<CR>", "\r", "\r\r"},
      {"abc", "x", "y", "abc"},
      {"abc", "b", "b", "abc"},
      {"abab", "aba", "X", "Xb"},
      {"", "a", "b", ""},
      {"<cr>", "<CR>", "\r", "<cr>"},  // case matters
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReplaceAll(c.text, c.find, c.replacement), c.expected) << c.text;
  }
}

TEST(LineBreaksTest, RoundTripAndTypedMarkers) {
  EXPECT_EQ(EncodeLineBreaks("one\r\ntwo"), "one<CR><LF>two");
  EXPECT_EQ(DecodeLineBreaks("one<CR><LF>two"), "one\r\ntwo");
  // A marker the operator typed comes back as the byte it stands for.
  EXPECT_EQ(DecodeLineBreaks(EncodeLineBreaks("a<LF>b")), "a\nb");
  EXPECT_EQ(EncodeLineBreaks("\n\r"), "<LF><CR>");
}

TEST(LeadingIntegerTest, Table) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {{"200", 200},
               {"-20", -20},
               {"  42px", 42},
               {"+7", 7},
               {"", 0},
               {"abc", 0},
               {"0", 0},
               {"- 5", 0},
               {"\t-0", 0},
               {"12a3", 12},
               {"99999999999", 2147483647},
               {"-99999999999", -2147483647 - 1}};
  for (const Case& c : cases) EXPECT_EQ(LeadingInteger(c.text), c.value) << c.text;
}

// The settings file as the host's two threads use it: each write on its own
// is atomic, so two threads writing different keys lose nothing.
class SettingsStoreTest : public testing::ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    std::filesystem::create_directory("Plugins");
  }
  PortablePlatform platform_;
  Settings settings_{platform_};
};

TEST_F(SettingsStoreTest, TwoThreadsWritingDifferentKeysLoseNothing) {
  constexpr int kWrites = 10000;
  auto writer = [this](const std::string& key) {
    for (int i = 1; i <= kWrites; ++i) settings_.Write(key, std::to_string(i));
  };
  std::thread window(writer, "baud_x");
  writer("Claimed");
  window.join();
  EXPECT_EQ(settings_.Read("baud_x"), std::to_string(kWrites));
  EXPECT_EQ(settings_.Read("Claimed"), std::to_string(kWrites));
  const std::string file = testing::ReadBytes("Plugins/Velkaro.ini");
  EXPECT_TRUE(file == "[Settings]\r\nbaud_x=10000\r\nClaimed=10000\r\n" ||
              file == "[Settings]\r\nClaimed=10000\r\nbaud_x=10000\r\n")
      << file;
}

}  // namespace
}  // namespace velkaro

// The two threads meeting in the settings file: the mode-switch window's
// thread stores its position on every pointer move while the host's thread
// starts contests (the header form writes its fourteen keys), asks for
// results and closes and reopens the window. Built with ThreadSanitizer this
// finds data races; in any build it checks that no write is lost.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "core_driver.h"
#include "modewin/mode_window.h"
#include "plugin/settings.h"
#include "test_support.h"

namespace velkaro::testing {
namespace {

// A headless window whose pointer never rests: RunModeWindow reports a new
// position again and again until the window is closed.
class RestlessPointerPlatform : public FakePlatform {
 public:
  void RunModeWindow(ModeWindowEvents* events) override {
    close_.store(false);
    if (!events->Opened(this)) return;
    int left = 0;
    int top = 0;
    events->InitialPosition(&left, &top);
    while (!close_.load()) {
      const int step = moves_.fetch_add(1) + 1;
      left = step % 3000 - 500;
      top = 9000 - step % 7000;
      events->PointerOver(left, top);
      last_left_.store(left);
      last_top_.store(top);
      std::this_thread::yield();
    }
  }
  void CloseWindow(void*) override { close_.store(true); }
  void Sleep(int) override {
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }

  int moves() const { return moves_.load(); }
  int last_left() const { return last_left_.load(); }
  int last_top() const { return last_top_.load(); }

 private:
  std::atomic<bool> close_{false};
  std::atomic<int> moves_{0};
  std::atomic<int> last_left_{0};
  std::atomic<int> last_top_{0};
};

class ThreadsTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    std::filesystem::create_directory("Plugins");
  }
};

TEST_F(ThreadsTest, WindowPositionAndHostSettingsShareTheFile) {
  RestlessPointerPlatform platform;
  int moves = 0;
  {
    PluginState state(platform);
    platform.form_script = [](HeaderFormFields* fields) {
      fields->name = "Ivan";
      fields->soapbox = "line one\r\nline two";
      return FormResult::kOk;
    };
    for (int round = 0; round < 20; ++round) {
      ResetContest(state, 1, "N0CALL", {42152.0, OleDate::kValid},
                   {42153.0, OleDate::kValid});
      for (int i = 0; i <= round; ++i) AddQso(state, CoreQso("UA" + std::to_string(i)));
      int32_t points = 0;
      GetResult(state, &points);
      state.settings.Write("Round", std::to_string(round));
      // Every few rounds the window closes; the next reset opens it again.
      if (round % 4 == 1) state.ModeWindow.Close();
    }
    // Let the window move a while longer, then close it for good.
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (platform.moves() < 2000 && std::chrono::steady_clock::now() < give_up) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    state.ModeWindow.Close();
    moves = platform.moves();
  }
  ASSERT_GE(moves, 2000);

  // Each thread's last write of each key is in the file: nothing was lost to
  // the other thread's rewrite of the whole file.
  FakePlatform reader;
  auto value = [&reader](const std::string& key) {
    return reader.GetProfileString(kSettingsSection, key, "missing", kSettingsPath);
  };
  EXPECT_EQ(value("baud_x"), PositionText(platform.last_left()));
  EXPECT_EQ(value("baud_y"), PositionText(platform.last_top()));
  EXPECT_EQ(value("Round"), "19");
  EXPECT_EQ(value("Claimed"), "20");
  EXPECT_EQ(value("Name"), "Ivan");
  EXPECT_EQ(value("SoapBox"), "line one<CR><LF>line two");
  EXPECT_EQ(value("Start"), "1");
  for (const char* key :
       {"Band", "Power", "Operators", "Address", "Address-City", "Address-PostalCode",
        "Address-Country", "Category", "Contest", "Email", "Club", "Loc"}) {
    EXPECT_NE(value(key), "missing") << key;
  }
}

}  // namespace
}  // namespace velkaro::testing

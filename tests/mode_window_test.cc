#include "modewin/mode_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "log/contest_reset.h"
#include "test_support.h"

namespace velkaro {
namespace {

using namespace std::chrono_literals;

TEST(ModeWindowTest, CommandTable) {
  EXPECT_EQ(CommandsForButton(kButtonCw), (std::vector<std::string>{"<MODE:CW>"}));
  EXPECT_EQ(CommandsForButton(kButtonSsb), (std::vector<std::string>{"<MODE:SSB>"}));
  EXPECT_EQ(CommandsForButton(kButtonRtty45),
            (std::vector<std::string>{"<MODE:RTTY>", "<BAUDRATE:45.45>"}));
  EXPECT_TRUE(CommandsForButton(1).empty());
}

TEST(ModeWindowTest, PositionTextStaysAFourCharacterInteger) {
  const std::pair<int, const char*> cases[] = {
      {200, "200"},    {-20, "-20"},   {0, "0"},        {9999, "9999"},
      {10000, "9999"}, {-999, "-999"}, {-1000, "-999"}, {2147483647, "9999"}};
  for (const auto& [edge, text] : cases) {
    EXPECT_EQ(PositionText(edge), text);
    EXPECT_LE(PositionText(edge).size(), 4u);
  }
}

// A window that runs the test's actions on the window's thread, and a host
// that records the commands it receives.
class FakeWindowPlatform : public testing::FakePlatform {
 public:
  void RunModeWindow(ModeWindowEvents* events) override {
    std::unique_lock<std::mutex> hold(lock_);
    ++windows_opened_;
    opened_.notify_all();
    hold.unlock();
    if (!events->Opened(this)) return;
    int left = 0, top = 0;
    events->InitialPosition(&left, &top);
    hold.lock();
    position_ = {left, top};
    for (;;) {
      changed_.wait(hold, [this] { return closed_ || !actions_.empty(); });
      if (closed_) break;
      auto action = std::move(actions_.front());
      actions_.pop_front();
      hold.unlock();
      action(events);
      hold.lock();
      ++actions_done_;
      changed_.notify_all();
    }
    closed_ = false;
  }
  void CloseWindow(void*) override {
    std::lock_guard<std::mutex> hold(lock_);
    closed_ = true;
    changed_.notify_all();
  }
  // Runs `action` on the window's thread and waits until it has run.
  void OnWindow(std::function<void(ModeWindowEvents*)> action) {
    std::unique_lock<std::mutex> hold(lock_);
    const int target = actions_done_ + 1 + static_cast<int>(actions_.size());
    actions_.push_back(std::move(action));
    changed_.notify_all();
    ASSERT_TRUE(changed_.wait_for(hold, 10s, [&] { return actions_done_ >= target; }));
  }
  bool WaitForWindows(int count) {
    std::unique_lock<std::mutex> hold(lock_);
    return opened_.wait_for(hold, 10s, [&] { return windows_opened_ >= count; });
  }
  int windows_opened() {
    std::lock_guard<std::mutex> hold(lock_);
    return windows_opened_;
  }
  std::pair<int, int> position() {
    std::lock_guard<std::mutex> hold(lock_);
    return position_;
  }

  class Host : public HostSession {
   public:
    Host(FakeWindowPlatform& platform) : platform_(platform) {}
    ~Host() override { ++platform_.sessions_closed; }
    bool Connected() const override { return platform_.host_running; }
    bool Send(const std::string& command, std::string* error) override {
      platform_.sent.push_back(command);
      if (static_cast<int>(platform_.sent.size()) == platform_.fail_at) {
        *error = "method failed";
        return false;
      }
      return true;
    }

   private:
    FakeWindowPlatform& platform_;
  };
  std::unique_ptr<HostSession> OpenHostSession() override {
    return std::make_unique<Host>(*this);
  }
  void ShowError(const std::string& text) override {
    sessions_closed_at_error = sessions_closed;
    FakePlatform::ShowError(text);
  }

  // Window-thread only, read after OnWindow returns.
  bool host_running = true;
  int fail_at = 0;
  std::vector<std::string> sent;
  int sessions_closed = 0;
  int sessions_closed_at_error = -1;

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  std::condition_variable opened_;
  std::deque<std::function<void(ModeWindowEvents*)>> actions_;
  int actions_done_ = 0;
  int windows_opened_ = 0;
  bool closed_ = false;
  std::pair<int, int> position_{0, 0};
};

class ModeWindowControlTest : public testing::ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    std::filesystem::create_directory("Plugins");
  }
  void TearDown() override {
    control_.Shutdown();
    ScratchDirTest::TearDown();
  }
  void Open() {
    control_.Start();
    ASSERT_TRUE(platform_.WaitForWindows(++windows_));
    platform_.OnWindow([](ModeWindowEvents*) {});  // start-up has run
  }
  std::string Ini() { return testing::ReadBytes("Plugins/Velkaro.ini"); }

  FakeWindowPlatform platform_;
  Settings settings_{platform_};
  ModeWindowControl control_{platform_, settings_};
  int windows_ = 0;
};

TEST_F(ModeWindowControlTest, PositionFromTheSettings) {
  struct Case {
    const char* file;  // null: no settings file
    std::pair<int, int> position;
  } cases[] = {
      {nullptr, {10, 10}},
      {"[Settings]\r\nbaud_x=0\r\nbaud_y=0\r\n", {10, 10}},
      {"[Settings]\r\nbaud_x=-20\r\nbaud_y=300\r\n", {-20, 300}},
      {"[Settings]\r\nbaud_x=abc\r\nbaud_y= 42px\r\n", {10, 42}},
  };
  for (const Case& c : cases) {
    std::filesystem::remove("Plugins/Velkaro.ini");
    if (c.file) testing::WriteBytes("Plugins/Velkaro.ini", c.file);
    Open();
    EXPECT_EQ(platform_.position(), c.position) << (c.file ? c.file : "no file");
    control_.Close();
    EXPECT_FALSE(control_.IsOpen());
  }
}

TEST_F(ModeWindowControlTest, APositionIsWrittenOnlyWhenAnEdgeChanged) {
  testing::WriteBytes("Plugins/Velkaro.ini", "[Settings]\r\nbaud_x=0\r\n");
  Open();
  platform_.OnWindow([](ModeWindowEvents* e) { e->PointerOver(10, 10); });
  EXPECT_EQ(Ini(), "[Settings]\r\nbaud_x=0\r\n");
  platform_.OnWindow([](ModeWindowEvents* e) { e->PointerOver(200, 150); });
  EXPECT_EQ(Ini(), "[Settings]\r\nbaud_x=200\r\nbaud_y=150\r\n");
  testing::WriteBytes("Plugins/Velkaro.ini", "[Settings]\r\n");
  platform_.OnWindow([](ModeWindowEvents* e) { e->PointerOver(200, 150); });
  EXPECT_EQ(Ini(), "[Settings]\r\n");
  platform_.OnWindow([](ModeWindowEvents* e) { e->PointerOver(200, -5); });
  EXPECT_EQ(Ini(), "[Settings]\r\nbaud_y=-5\r\n");
  platform_.OnWindow([](ModeWindowEvents* e) { e->PointerOver(12345, -5); });
  EXPECT_EQ(Ini(), "[Settings]\r\nbaud_y=-5\r\nbaud_x=9999\r\n");
}

TEST_F(ModeWindowControlTest, ClicksSendTheButtonsCommands) {
  Open();
  for (int button : {kButtonCw, kButtonSsb, kButtonRtty45}) {
    platform_.OnWindow([button](ModeWindowEvents* e) { e->Clicked(button); });
  }
  EXPECT_EQ(platform_.sent,
            (std::vector<std::string>{"<MODE:CW>", "<MODE:SSB>", "<MODE:RTTY>",
                                      "<BAUDRATE:45.45>"}));
  EXPECT_EQ(platform_.sessions_closed, 3);
  EXPECT_TRUE(platform_.errors.empty());
}

TEST_F(ModeWindowControlTest, AFailedCommandShowsAnErrorAndStopsTheClick) {
  Open();
  platform_.fail_at = 1;
  platform_.OnWindow([](ModeWindowEvents* e) { e->Clicked(kButtonRtty45); });
  EXPECT_EQ(platform_.sent, (std::vector<std::string>{"<MODE:RTTY>"}));
  EXPECT_EQ(platform_.errors, (std::vector<std::string>{"method failed"}));
  EXPECT_EQ(platform_.sessions_closed, 1);  // released all the same
  // Released before the box waits for the operator, so that an unload while
  // it is open finds no host connection left to end on this thread.
  EXPECT_EQ(platform_.sessions_closed_at_error, 1);
}

TEST_F(ModeWindowControlTest, NoHostSendsNothingAndShowsNothing) {
  Open();
  platform_.host_running = false;
  platform_.OnWindow([](ModeWindowEvents* e) { e->Clicked(kButtonCw); });
  EXPECT_TRUE(platform_.sent.empty());
  EXPECT_TRUE(platform_.errors.empty());
  platform_.host_running = true;  // a later click after the host started works
  platform_.OnWindow([](ModeWindowEvents* e) { e->Clicked(kButtonCw); });
  EXPECT_EQ(platform_.sent, (std::vector<std::string>{"<MODE:CW>"}));
}

TEST_F(ModeWindowControlTest, QuickStartsGiveOneWindow) {
  for (int i = 0; i < 8; ++i) control_.Start();
  ASSERT_TRUE(platform_.WaitForWindows(1));
  platform_.OnWindow([](ModeWindowEvents*) {});
  platform_.Sleep(100);  // give the other threads time to try
  control_.Close();
  platform_.WaitForThreads();
  EXPECT_EQ(platform_.windows_opened(), 1);
  EXPECT_FALSE(control_.IsOpen());
}

TEST_F(ModeWindowControlTest, CloseWithoutAWindowReturnsAtOnce) {
  control_.Close();
  EXPECT_FALSE(control_.IsOpen());
}

// The window's thread can vanish without giving up the window (at process
// exit the system ends it): the close must still end.
class VanishingThreadPlatform : public testing::FakePlatform {
 public:
  bool StartThread(void (*)(void*), void*) override { return true; }
  bool ThreadRunning() override { return false; }
};

TEST(ModeWindowCloseTest, EndsWhenTheThreadIsGone) {
  VanishingThreadPlatform platform;
  Settings settings(platform);
  ModeWindowControl control(platform, settings);
  baud window(control);
  control.RunningModeWindow.store(&window);  // as the vanished thread left it
  control.Close();                           // returns although nobody cleared the window
  EXPECT_TRUE(control.IsOpen());
  control.RunningModeWindow.store(nullptr);
}

class ResetWithWindowTest : public testing::ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    std::filesystem::create_directory("Plugins");
  }
  FakeWindowPlatform platform_;
  PluginState state_{platform_};
};

TEST_F(ResetWithWindowTest, ASecondResetLeavesTheWindowOpenAndWritesNoStart) {
  const OleDate date{42152.0, OleDate::kValid};
  state_.ResultText = "last result";
  ResetContest(state_, 0, "N0CALL", date, date);
  ASSERT_TRUE(platform_.WaitForWindows(1));
  EXPECT_EQ(testing::ReadBytes("Plugins/Velkaro.ini"), "[Settings]\r\nStart=1\r\n");
  platform_.OnWindow([](ModeWindowEvents*) {});
  ASSERT_TRUE(state_.ModeWindow.IsOpen());
  std::filesystem::remove("Plugins/Velkaro.ini");
  ResetContest(state_, 0, "N0CALL", date, date);
  EXPECT_FALSE(testing::Exists("Plugins/Velkaro.ini"));
  EXPECT_EQ(state_.ResultText, "last result");
  // After the operator closed it, the next reset opens a new one.
  state_.ModeWindow.Close();
  ResetContest(state_, 0, "N0CALL", date, date);
  EXPECT_TRUE(platform_.WaitForWindows(2));
  EXPECT_EQ(testing::ReadBytes("Plugins/Velkaro.ini"), "[Settings]\r\nStart=1\r\n");
}

}  // namespace
}  // namespace velkaro

// Drives the built plug-in library the way the host does: loaded by path,
// entry points found by their plain names and called with the host's full
// argument lists. Unused positions carry junk that must not matter. Runs
// against libvelkaro.so natively and against Velkaro.dll under Wine.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "../ole_days.h"
#include "host_functions.h"
#include "plugin_library.h"

namespace velkaro::testing {
namespace {

namespace fs = std::filesystem;

using host_api::AddFn;
using host_api::CheckCallFn;
using host_api::CountFn;
using host_api::CountWithArgsFn;
using host_api::ExchangeFn;
using host_api::HostDate;
using host_api::ResetFn;
using host_api::ResultFn;
using host_api::SetNameFn;
using host_api::SetupFn;

// Texts that must never matter.
const char kJunk[] = "JUNK\xFF\x80";
HostDate junk_date{-1e300, 1};
const double kNaN = std::nan("");

#if defined(_WIN32)
// The Windows header form is modal: confirm it from a second thread, as an
// operator pressing OK would.
class FormConfirmer {
 public:
  FormConfirmer() : thread_([this] { Run(); }) {}
  ~FormConfirmer() {
    stop_ = true;
    thread_.join();
  }

 private:
  static BOOL CALLBACK Visit(HWND window, LPARAM) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId() && ::GetDlgItem(window, 1010) != nullptr &&
        ::IsWindowVisible(window)) {
      ::PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return TRUE;
  }
  void Run() {
    while (!stop_) {
      ::EnumWindows(&Visit, 0);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
#else
class FormConfirmer {};
#endif

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

std::string DefaultLibrary() {
#if defined(_WIN32)
  return "Velkaro.dll";
#else
  return "libvelkaro.so";
#endif
}

class AbiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_path_ = fs::absolute(PluginLibrary::PathFromEnvironment(DefaultLibrary()));
    previous_ = fs::current_path();
    std::random_device seed;
    dir_ = fs::temp_directory_path() / ("velkaro-abi-" + std::to_string(seed()));
    fs::create_directories(dir_ / "Plugins");
    fs::current_path(dir_);
    Load();
  }
  void TearDown() override {
    library_.reset();
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  void Load() {
    library_ = std::make_unique<PluginLibrary>(library_path_.string());
    ASSERT_TRUE(library_->loaded()) << library_path_;
    add_ = library_->Find<AddFn>("AddData0");
    remove_ = library_->Find<AddFn>("RemoveData0");
    reset_ = library_->Find<ResetFn>("ResetStats0");
    check_call_ = library_->Find<CheckCallFn>("CheckCall0");
    exchange_ = library_->Find<ExchangeFn>("IsValidExchg0");
    result_ = library_->Find<ResultFn>("GetResult0");
    sets_ = library_->Find<CountFn>("GetNumberOfSets");
    exchange_count_ = library_->Find<CountWithArgsFn>("GetExchgCount0");
    set_name_ = library_->Find<SetNameFn>("GetSetName");
    setup_ = library_->Find<SetupFn>("SetupSet0");
    for (void* f : {(void*)add_, (void*)remove_, (void*)reset_, (void*)check_call_,
                    (void*)exchange_, (void*)result_, (void*)sets_,
                    (void*)exchange_count_, (void*)set_name_, (void*)setup_}) {
      ASSERT_NE(f, nullptr);
    }
  }

  int Reset(int cabrillo, const char* own_call, HostDate start) {
    HostDate end{start.days + 1.0, 0};
    [[maybe_unused]] FormConfirmer confirm;
    return reset_(kJunk, cabrillo, own_call, &start, &end, kJunk, kJunk, kJunk, kJunk,
                  kJunk, kJunk, kJunk, kJunk, kJunk, kJunk, -7, 99, 1 << 30, kNaN, 1e308,
                  kJunk, kJunk, kJunk);
  }

  struct Qso {
    const char* call;
    HostDate time;
    unsigned freq_hz;
    const char* mode;
    const char* rst_sent;
    const char* rst_rcvd;
    const char* nr_sent;
    const char* nr_rcvd;
    const char* band;
  };

  int Add(AddFn* fn, const char* own_call, Qso q) {
    return fn(own_call, q.call, &q.time, &junk_date, &junk_date, &junk_date, 0xFFFFFFFFu,
              q.freq_hz, q.mode, q.rst_sent, q.rst_rcvd, q.nr_sent, q.nr_rcvd, kJunk,
              kJunk, kJunk, kJunk, kJunk, kJunk, kJunk, kJunk, kJunk, kJunk, -1, 0x5A5A,
              123456, kNaN, -0.0, kJunk, kJunk, kJunk, q.band, kJunk);
  }

  int CheckCall(const char* call, const char* mode, const char* band, char* exchange,
                char* notice) {
    return check_call_(call, 77, 88, mode, kJunk, kJunk, kJunk, kJunk, kJunk, kJunk,
                       kJunk, kJunk, kJunk, kJunk, 1, 2, 3, kNaN, 4.5, kJunk, kJunk,
                       kJunk, kJunk, kJunk, band, kJunk, exchange, notice);
  }

  fs::path library_path_;
  fs::path previous_;
  fs::path dir_;
  std::unique_ptr<PluginLibrary> library_;
  AddFn* add_ = nullptr;
  AddFn* remove_ = nullptr;
  ResetFn* reset_ = nullptr;
  CheckCallFn* check_call_ = nullptr;
  ExchangeFn* exchange_ = nullptr;
  ResultFn* result_ = nullptr;
  CountFn* sets_ = nullptr;
  CountWithArgsFn* exchange_count_ = nullptr;
  SetNameFn* set_name_ = nullptr;
  SetupFn* setup_ = nullptr;
};

HostDate At(int hour, int minute) { return {DayCount(2015, 5, 28, hour, minute), 0}; }

TEST_F(AbiTest, SetListAnswersWithoutState) {
  EXPECT_EQ(sets_(), 1);
  EXPECT_EQ(exchange_count_(kJunk, kJunk, kJunk), 1);
  EXPECT_STREQ(set_name_(0), "\xC4\xE5\xED\xFC \xE2\xE5\xEB\xEA\xE0\xF0\xEE (C)");
  EXPECT_STREQ(set_name_(1), "");
  EXPECT_STREQ(set_name_(-1), "");
  EXPECT_EQ(sets_(), 1);
}

TEST_F(AbiTest, ResultBeforeAnyResetIsAnEmptyTable) {
  int points = 12345;
  const std::string text = result_(&points);
  EXPECT_EQ(text,
            "\t\xC4\xE5\xED\xFC \xE2\xE5\xEB\xEA\xE0\xF0\xEE \r\n"
            "\t   Contestant:  \r\n"
            "\tQSOs\tPoints\tCW\tSSB\tRTTY\r\n"
            "Total\t 0\t 0\t 0\t 0\t 0\r\n"
            "\r\n"
            "Score:  = 0\r\n");
  EXPECT_EQ(points, 0);
  // No Cabrillo file without the switch.
  for (const auto& entry : fs::directory_iterator(dir_)) {
    EXPECT_NE(entry.path().extension(), ".cbr") << entry.path();
  }
}

TEST_F(AbiTest, WholeContestWithCabrilloSwitch) {
  {
    std::ofstream list(dir_ / "Plugins" / "velkar.dat", std::ios::binary);
    list << "1 R9XYZ Special one\r\n2 RK1B/9 another\r\n";
  }
  ASSERT_EQ(Reset(1, "N0CALL/P", At(0, 0)), 1);

  char exchange[16];
  char notice[32];
  std::memset(exchange, '#', sizeof exchange);
  std::memset(notice, '#', sizeof notice);
  EXPECT_EQ(CheckCall("R9XYZ", "SSB", "40m", exchange, notice), 2);
  EXPECT_STREQ(notice, "R9XYZ - \xC2\xE5\xEB\xEA\xE0\xF0\xED\xE0\xF2\xEE\xF0 !");
  EXPECT_STREQ(exchange, "PW");
  EXPECT_EQ(exchange_("PW", kJunk, kJunk, kJunk, 1, 2, 3), 1);
  EXPECT_EQ(exchange_("599", kJunk, kJunk, kJunk, 1, 2, 3), 0);
  EXPECT_EQ(exchange_("0599", kJunk, kJunk, kJunk, 1, 2, 3), 1);

  const char* own = "N0CALL/P";
  EXPECT_EQ(Add(add_, own,
                {"UA3AAA", At(14, 30), 7012345, "CW", "599", "579", "001", "005", "40m"}),
            1);
  EXPECT_EQ(CheckCall("UA3AAA", "CW", "40m", exchange, notice), 0);
  EXPECT_EQ(Add(add_, own,
                {"UA3AAA", At(14, 35), 7012999, "CW", "599", "579", "002", "006", "40m"}),
            1);
  EXPECT_EQ(Add(add_, own,
                {"R9XYZ", At(14, 40), 7100000, "SSB", "59", "57", "003", "PW", "40m"}),
            1);
  EXPECT_EQ(Add(add_, own,
                {"UA3AAA", At(14, 45), 7012000, "cw", "599", "579", "007", "008", "40m"}),
            0);
  EXPECT_EQ(
      Add(add_, own,
          {"RK1B", At(14, 46), 14080000, "RTTY", "599", "599", "009", "010", "20m"}),
      0);
  EXPECT_EQ(Add(add_, own,
                {"RK1B", At(14, 47), 7040000, "RTTY", "599", "599", "009", "", "40m"}),
            0);
  EXPECT_EQ(Add(add_, own,
                {"RK1B", At(14, 50), 7040999, "RTTY", "599", "599", "004", "010", "40m"}),
            1);
  // Removing a QSO that is not in the log, and one with an empty exchange.
  EXPECT_EQ(Add(remove_, own,
                {"ZZ9ZZ", At(15, 0), 7000000, "CW", "599", "599", "1", "2", "40m"}),
            1);
  EXPECT_EQ(Add(remove_, own,
                {"RK1B", At(15, 0), 7000000, "RTTY", "599", "599", "", "2", "40m"}),
            0);

  int points = 0;
  const char* returned = result_(&points);
  const std::string text = returned;
  EXPECT_EQ(points, -1);
  EXPECT_EQ(text,
            "\t\xC4\xE5\xED\xFC \xE2\xE5\xEB\xEA\xE0\xF0\xEE 28.05.2015\r\n"
            "\t   Contestant: N0CALL/P \r\n"
            "\tQSOs\tPoints\tCW\tSSB\tRTTY\r\n"
            "40m\t 3\t 5\t 1\t 1\t 1\r\n"
            "Total\t 4\t 5\t 1\t 1\t 1\r\n"
            "\r\n"
            "Score:  = 5\r\n");

  EXPECT_EQ(ReadBytes(dir_ / "err.txt"),
            "\xC4\xE5\xED\xFC \xE2\xE5\xEB\xEA\xE0\xF0\xEE UBN file \r\n"
            "QSO:  7012  CW  2015-05-28 1435  N0CALL/P  599  002  UA3AAA  579  006   "
            "DUPE !!!\r\n"
            "QSO:  7012  cw  2015-05-28 1445  N0CALL/P  599  007  UA3AAA  579  008   NO "
            "TEST MODE !!!\r\n"
            "QSO:  14080  RTTY  2015-05-28 1446  N0CALL/P  599  009  RK1B  599  010   NO "
            "CONTEST BAND !!!\r\n"
            "QSO:  7040  RTTY  2015-05-28 1447  N0CALL/P  599  009  RK1B  599     NO TX "
            "or RX NUMBER !!!\r\n");

  EXPECT_EQ(
      ReadBytes(dir_ / "N0CALL_P.cbr"),
      "START-OF-LOG: 3.0\r\n"
      "CONTEST: \xC4\xC5\xCD\xDC \xC2\xC5\xCB\xCA\xC0\xD0\xCE\r\n"
      "CALLSIGN: N0CALL/P\r\n"
      "CATEGORY-OPERATOR: SINGLE-OP\r\n"
      "CATEGORY-MODE: MIXED\r\n"
      "LOCATION: \r\n"
      "CLAIMED-SCORE: 5\r\n"
      "CLUB: \r\n"
      "CREATED-BY: Zelvo \r\n"
      "E-MAIL: \r\n"
      "NAME: \r\n"
      "ADDRESS: \r\n"
      "ADDRESS-CITY: \r\n"
      "ADDRESS-POSTALCODE: \r\n"
      "ADDRESS-COUNTRY: \r\n"
      "OPERATORS: N0CALL/P\r\n"
      "SOAPBOX: \r\n"
      //    freq  md date            own call      rst nr     call          rst nr
      "QSO:  7012 CW 2015-05-28 1430 N0CALL/P      599 001    UA3AAA        579 005\r\n"
      "QSO:  7012 CW 2015-05-28 1435 N0CALL/P      599 002    UA3AAA        579 006\r\n"
      "QSO:  7100 PH 2015-05-28 1440 N0CALL/P      59  003    R9XYZ         57  PW\r\n"
      "QSO:  7040 RY 2015-05-28 1450 N0CALL/P      599 004    RK1B          599 010\r\n"
      "END-OF-LOG:\r\n");

  const std::string settings = ReadBytes(dir_ / "Plugins" / "Velkaro.ini");
  EXPECT_EQ(settings,
            "[Settings]\r\n"
            "Band=40M\r\n"
            "Power=MIXED\r\n"
            "Operators=N0CALL/P\r\n"
            "Name=\r\n"
            "Address=\r\n"
            "Address-City=\r\n"
            "Address-PostalCode=\r\n"
            "Address-Country=\r\n"
            "Category=SINGLE-OP\r\n"
            "Contest=\xC4\xC5\xCD\xDC \xC2\xC5\xCB\xCA\xC0\xD0\xCE\r\n"
            "Email=\r\n"
            "Club=\r\n"
            "SoapBox=\r\n"
            "Loc=\r\n"
            "Start=1\r\n"
            "Claimed=5\r\n");

  // A second reset while the window is open writes no second "Start", and
  // the last result text stays readable.
  ASSERT_EQ(Reset(0, "N0CALL/P", At(0, 0)), 1);
  EXPECT_EQ(std::string(returned), text);
  EXPECT_EQ(ReadBytes(dir_ / "Plugins" / "Velkaro.ini"), settings);
}

TEST_F(AbiTest, CheckCallNeverWritesPastTheHostBuffers) {
  {
    std::ofstream list(dir_ / "Plugins" / "velkar.dat", std::ios::binary);
    list << "1 RA1234567890ABC long\n2 RA1ABC short\n";
  }
  ASSERT_EQ(Reset(0, "N0CALL", At(0, 0)), 1);
  char notice[40];
  char exchange[16];
  std::memset(notice, '#', sizeof notice);
  std::memset(exchange, '#', sizeof exchange);
  EXPECT_EQ(CheckCall("RA1234567890ABC", "CW", "40m", exchange, notice), 2);
  EXPECT_EQ(std::string(notice), std::string("RA1234567890ABC - \xC2\xE5\xEB\xEA", 22));
  for (size_t i = 23; i < sizeof notice; ++i) ASSERT_EQ(notice[i], '#') << i;
  EXPECT_STREQ(exchange, "PW");
  for (size_t i = 3; i < sizeof exchange; ++i) ASSERT_EQ(exchange[i], '#') << i;

  // A null exchange buffer; an unlisted call leaves both buffers alone.
  std::memset(notice, '#', sizeof notice);
  EXPECT_EQ(CheckCall("RA1ABC", "CW", "40m", nullptr, notice), 2);
  EXPECT_STREQ(notice, "RA1ABC - \xC2\xE5\xEB\xEA\xE0\xF0\xED\xE0\xF2\xEE\xF0 !");
  std::memset(notice, '#', sizeof notice);
  EXPECT_EQ(CheckCall("UA1AAA", "CW", "40m", exchange, notice), 1);
  EXPECT_EQ(notice[0], '#');
}

TEST_F(AbiTest, UnloadWithTheWindowOpenAndLoadAgain) {
  for (int cycle = 0; cycle < 5; ++cycle) {
    ASSERT_EQ(Reset(0, "N0CALL", At(0, 0)), 1);
    ASSERT_EQ(
        Add(add_, "N0CALL",
            {"UA3AAA", At(14, 30), 7012345, "CW", "599", "579", "001", "005", "40m"}),
        1);
    library_->Unload();  // closes the mode-switch window first
    Load();
    // A fresh load starts with an empty log.
    int points = -5;
    const std::string text = result_(&points);
    EXPECT_NE(text.find("Total\t 0\t 0"), std::string::npos) << text;
    EXPECT_EQ(points, 0);
  }
}

}  // namespace
}  // namespace velkaro::testing

// Drives the exported entry points with sequences of host calls built from
// the fuzzer's bytes: contest resets (Cabrillo switch either way), QSOs added
// and removed, call and exchange checks, result requests and set names, with
// arbitrary texts and dates, and special-station files written from the same
// bytes. CheckCall0 gets heap buffers of exactly the host's sizes, so any
// write past them is caught; every answer is compared with a plain model of
// the contest rules.
//
// The files go to a scratch directory below $TMPDIR, emptied for every input.

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "log/special_stations.h"
#include "plugin/exports.h"
#include "plugin/plugin_state.h"
#include "plugin/texts.h"

namespace {

namespace fs = std::filesystem;

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_entry_points: %s\n", what);
  std::abort();
}

constexpr size_t kExchangeSize = 10;
constexpr size_t kNoticeSize = 23;
constexpr int kMaxCalls = 48;

const char* const kWords[] = {"",
                              "40m",
                              "40M",
                              "40 m",
                              "20m",
                              "CW",
                              "SSB",
                              "RTTY",
                              "cw",
                              "ssb",
                              "BPSK63",
                              "PW",
                              "pw",
                              "599",
                              "0599",
                              "5990",
                              "001",
                              "1234",
                              "12",
                              "12345",
                              "R9XYZ",
                              "UA3AAA",
                              "RA1234567890ABC",
                              "N0CALL/P",
                              "\\/\\",
                              " ",
                              "  R9XYZ ",
                              "\xC0\xC1\xC2\xFF\x80",
                              "\r\n",
                              "%s%n%i",
                              "<CR><LF>"};

// The plug-in's view of a host text: the bytes up to the first NUL.
std::string HostText(const std::string& bytes) { return std::string(bytes.c_str()); }

struct ModelQso {
  std::string call, band, mode, nr_rcvd;
  bool dupe;
};

// The contest rules as the host sees them through the entry points.
struct Model {
  std::vector<ModelQso> log;
  std::vector<std::string> specials;
  bool cabrillo = false;

  int FirstMatch(const std::string& call, const std::string& band,
                 const std::string& mode) const {
    for (size_t i = 0; i < log.size(); ++i) {
      if (log[i].call == call && log[i].band == band && log[i].mode == mode) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }
  int Score() const {
    int points = 0;
    for (const ModelQso& q : log) {
      if (q.dupe || q.call.empty() || q.band != "40m") continue;
      points += q.nr_rcvd == "PW" ? 3 : 1;
    }
    return points;
  }
};

bool IsContestMode(const std::string& mode) {
  return mode == "CW" || mode == "SSB" || mode == "RTTY";
}

int ExpectedExchangeCheck(const std::string& t) {
  if (t == "599") return 0;
  if (t.size() == 3 || t.size() == 4) {
    for (char c : t) {
      if (c < '0' || c > '9') return 0;
    }
    return 1;
  }
  return t == "PW" ? 1 : 0;
}

class Session {
 public:
  Session(FuzzedDataProvider& in, Model& model) : in_(in), model_(model) {}

  void Run() {
    WriteStationList();
    Reset();
    for (int i = 0; i < kMaxCalls && in_.remaining_bytes() > 0; ++i) {
      switch (in_.ConsumeIntegralInRange<int>(0, 8)) {
        case 0:
          Reset();
          break;
        case 1:
        case 2:
          Add();
          break;
        case 3:
          Remove();
          break;
        case 4:
          CheckCall();
          break;
        case 5:
          ExchangeCheck();
          break;
        case 6:
          Result();
          break;
        case 7:
          SetName();
          break;
        case 8:
          WriteStationList();
          break;
      }
    }
    Result();
  }

 private:
  std::string Text() {
    switch (in_.ConsumeIntegralInRange<int>(0, 5)) {
      case 0:
      case 1:
        return in_.PickValueInArray(kWords);
      case 2:
        return HostText(in_.ConsumeRandomLengthString(24));
      case 3:
        if (!model_.log.empty()) {
          return model_.log[in_.ConsumeIntegralInRange<size_t>(0, model_.log.size() - 1)]
              .call;
        }
        return "";
      case 4:
        if (!model_.specials.empty()) {
          return HostText(model_.specials[in_.ConsumeIntegralInRange<size_t>(
              0, model_.specials.size() - 1)]);
        }
        return "R9XYZ";
      default: {
        // A long text of one byte.
        const size_t length = in_.ConsumeIntegralInRange<size_t>(0, 400);
        char c = in_.ConsumeIntegral<char>();
        if (c == '\0') c = 'A';
        return std::string(length, c);
      }
    }
  }

  velkaro::OleDate Date() {
    velkaro::OleDate date;
    switch (in_.ConsumeIntegralInRange<int>(0, 5)) {
      case 0:
        date.days = 42152.0 + in_.ConsumeProbability<double>();
        break;
      case 1:
        date.days = std::numeric_limits<double>::quiet_NaN();
        break;
      case 2:
        date.days = std::numeric_limits<double>::infinity();
        break;
      case 3:
        date.days = -std::numeric_limits<double>::infinity();
        break;
      default:
        date.days = in_.ConsumeFloatingPoint<double>();
        break;
    }
    date.status = in_.ConsumeBool() ? 0 : in_.ConsumeIntegral<int32_t>();
    return date;
  }

  void WriteStationList() {
    const std::string path = "Plugins/velkar.dat";
    std::string bytes;
    switch (in_.ConsumeIntegralInRange<int>(0, 3)) {
      case 0:
        fs::remove(path);
        return;
      case 1:
        bytes = in_.ConsumeRandomLengthString(2048);
        break;
      default: {
        // Numbered lines of call signs, some with remarks.
        const int lines = in_.ConsumeIntegralInRange<int>(0, 12);
        for (int i = 0; i < lines; ++i) {
          bytes += std::to_string(i) + " " + Text();
          if (in_.ConsumeBool()) bytes += " " + Text();
          bytes += in_.ConsumeBool() ? "\r\n" : "\n";
        }
        break;
      }
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    station_list_ = bytes;
  }

  void Reset() {
    const int cabrillo = in_.ConsumeBool() ? in_.ConsumeIntegral<int>() : 0;
    const std::string own = Text();
    velkaro::OleDate start = Date();
    velkaro::OleDate end = Date();
    const char* junk = "\xFF\x80junk";
    const int result = ResetStats0(junk, cabrillo, own.c_str(), &start, &end, junk, junk,
                                   junk, junk, junk, junk, junk, junk, junk, junk, -1, 0,
                                   7, NAN, 1e308, junk, junk, junk);
    Require(result == 1, "ResetStats0 did not return 1");
    model_.log.clear();
    model_.cabrillo = cabrillo != 0;
    model_.specials.clear();
    if (fs::exists("Plugins/velkar.dat")) {
      model_.specials = velkaro::ParseSpecialStations(station_list_);
    }
    const velkaro::PluginState& state = velkaro::TheState();
    Require(state.QsoLog.Count() == 0, "the log is not empty after a reset");
    Require(state.SpecialStations == model_.specials,
            "the special stations differ from the file");
  }

  struct Qso {
    std::string own, call, mode, rst_sent, rst_rcvd, nr_sent, nr_rcvd, band;
    velkaro::OleDate time;
    unsigned freq_hz;
  };

  Qso MakeQso() {
    Qso q;
    q.own = Text();
    q.call = Text();
    q.mode = in_.ConsumeBool() ? in_.PickValueInArray({"CW", "SSB", "RTTY"}) : Text();
    q.rst_sent = Text();
    q.rst_rcvd = Text();
    q.nr_sent = in_.ConsumeBool() ? "001" : Text();
    q.nr_rcvd = in_.ConsumeBool() ? in_.PickValueInArray({"002", "PW"}) : Text();
    q.band = in_.ConsumeBool() ? "40m" : Text();
    q.time = Date();
    q.freq_hz = in_.ConsumeIntegral<unsigned>();
    return q;
  }

  int Call(decltype(&AddData0) entry, Qso& q) {
    const char* junk = "\x80";
    velkaro::OleDate other{NAN, 7};
    return entry(q.own.c_str(), q.call.c_str(), &q.time, &other, &other, &other,
                 0xFFFFFFFFu, q.freq_hz, q.mode.c_str(), q.rst_sent.c_str(),
                 q.rst_rcvd.c_str(), q.nr_sent.c_str(), q.nr_rcvd.c_str(), junk, junk,
                 junk, junk, junk, junk, junk, junk, junk, junk, 1, 2, 3, NAN, -0.0, junk,
                 junk, junk, q.band.c_str(), junk);
  }

  void Add() {
    Qso q = MakeQso();
    const int result = Call(&AddData0, q);
    int expected = 0;
    if (!q.nr_rcvd.empty() && !q.nr_sent.empty() && IsContestMode(q.mode) &&
        q.band == "40m") {
      expected = 1;
      const bool dupe = model_.FirstMatch(q.call, q.band, q.mode) >= 0;
      model_.log.push_back({q.call, q.band, q.mode, q.nr_rcvd, dupe});
    }
    Require(result == expected, "AddData0 accepted or rejected wrongly");
    CompareLog();
  }

  void Remove() {
    Qso q = MakeQso();
    const int result = Call(&RemoveData0, q);
    int expected = 0;
    if (!q.nr_rcvd.empty() && !q.nr_sent.empty()) {
      expected = 1;
      const int at = model_.FirstMatch(q.call, q.band, q.mode);
      if (at >= 0) model_.log.erase(model_.log.begin() + at);
    }
    Require(result == expected, "RemoveData0 gave a wrong result");
    CompareLog();
  }

  void CompareLog() {
    const velkaro::QsoLogStore& log = velkaro::TheState().QsoLog;
    Require(log.Count() == static_cast<int>(model_.log.size()), "log size differs");
    for (int i = 0; i < log.Count(); ++i) {
      const velkaro::CInfo& r = log.At(i);
      const ModelQso& m = model_.log[static_cast<size_t>(i)];
      Require(r.call == m.call && r.band == m.band && r.mode == m.mode &&
                  r.nrRcvd == m.nr_rcvd && (r.isDupe != 0) == m.dupe,
              "log record differs from the model");
    }
  }

  void CheckCall() {
    // Null call, mode and band pointers count as empty texts.
    const bool null_call = in_.ConsumeIntegralInRange<int>(0, 15) == 0;
    const bool null_mode = in_.ConsumeIntegralInRange<int>(0, 15) == 0;
    const bool null_band = in_.ConsumeIntegralInRange<int>(0, 15) == 0;
    const std::string call = null_call ? "" : Text();
    const std::string mode = null_mode ? "" : Text();
    const std::string band = null_band ? "" : Text();
    const bool null_exchange = in_.ConsumeIntegralInRange<int>(0, 7) == 0;

    // Exactly the host's sizes, on the heap, holding whatever the host left.
    std::vector<char> exchange_before(kExchangeSize);
    std::vector<char> notice_before(kNoticeSize);
    for (char& c : exchange_before) c = in_.ConsumeIntegral<char>();
    for (char& c : notice_before) c = in_.ConsumeIntegral<char>();
    char* exchange = null_exchange ? nullptr : new char[kExchangeSize];
    char* notice = new char[kNoticeSize];
    if (exchange) std::memcpy(exchange, exchange_before.data(), kExchangeSize);
    std::memcpy(notice, notice_before.data(), kNoticeSize);

    const char* junk = "\xFE";
    const int result =
        CheckCall0(null_call ? nullptr : call.c_str(), 1, 2,
                   null_mode ? nullptr : mode.c_str(), junk, junk, junk, junk, junk, junk,
                   junk, junk, junk, junk, 4, 5, 6, NAN, 1.5, junk, junk, junk, junk,
                   junk, null_band ? nullptr : band.c_str(), junk, exchange, notice);

    int expected;
    bool filled = false;
    if (model_.FirstMatch(call, band, mode) >= 0) {
      expected = 0;
    } else if (model_.specials.empty()) {
      expected = 2;
    } else {
      expected = 1;
      for (const std::string& entry : model_.specials) {
        if (entry == call) {
          expected = 2;
          filled = true;
          break;
        }
      }
    }
    Require(result == expected, "CheckCall0 gave a wrong result");
    if (filled) {
      const std::string full = call + velkaro::texts::kSpecialNoticeTail;
      const void* end = std::memchr(notice, '\0', kNoticeSize);
      Require(end != nullptr, "the notice is not terminated inside its buffer");
      const size_t length =
          static_cast<size_t>(static_cast<char*>(const_cast<void*>(end)) - notice);
      Require(full.compare(0, length, notice, length) == 0,
              "the notice is not the call with the special-station text");
      if (full.size() < kNoticeSize) {
        Require(length == full.size(), "a notice that fits was cut");
      }
      Require(std::memcmp(notice + length + 1, notice_before.data() + length + 1,
                          kNoticeSize - length - 1) == 0,
              "bytes after the notice changed");
      if (exchange) {
        Require(std::memcmp(exchange, "PW", 3) == 0, "the exchange is not PW");
        Require(
            std::memcmp(exchange + 3, exchange_before.data() + 3, kExchangeSize - 3) == 0,
            "bytes after the exchange changed");
      }
    } else {
      Require(std::memcmp(notice, notice_before.data(), kNoticeSize) == 0,
              "the notice buffer changed without a special station");
      if (exchange) {
        Require(std::memcmp(exchange, exchange_before.data(), kExchangeSize) == 0,
                "the exchange buffer changed without a special station");
      }
    }
    delete[] exchange;
    delete[] notice;
  }

  void ExchangeCheck() {
    const std::string text = Text();
    const int result = IsValidExchg0(text.c_str(), "x", "y", "z", 1, 2, 3);
    Require(result == ExpectedExchangeCheck(text), "IsValidExchg0 gave a wrong result");
  }

  void Result() {
    const bool null_points = in_.ConsumeIntegralInRange<int>(0, 15) == 0;
    int points = 0x5A5A5A5A;
    const char* text = GetResult0(null_points ? nullptr : &points);
    Require(text != nullptr, "GetResult0 returned null");
    const velkaro::PluginState& state = velkaro::TheState();
    Require(text == state.ResultText.c_str(), "GetResult0 returned a foreign text");
    Require(std::strlen(text) == state.ResultText.size(), "result text holds a NUL");
    const int score = model_.Score();
    if (!null_points) {
      Require(points == (model_.cabrillo ? -1 : score), "GetResult0 stored a wrong int");
    }
    Require(state.ClaimedScore == score, "ClaimedScore is not the score");
    const std::string total = "Total\t " + std::to_string(model_.log.size()) + "\t " +
                              std::to_string(score) + "\t ";
    Require(std::strstr(text, total.c_str()) != nullptr, "wrong total line");
  }

  void SetName() {
    const int index = in_.ConsumeIntegral<int>();
    const char* name = GetSetName(index);
    Require(name != nullptr, "GetSetName returned null");
    Require(std::strcmp(name, index == 0 ? velkaro::texts::kSetName : "") == 0,
            "GetSetName gave a wrong name");
  }

  FuzzedDataProvider& in_;
  Model& model_;
  std::string station_list_;
};

fs::path scratch;

void RemoveScratch() {
  std::error_code ignored;
  fs::current_path("/", ignored);
  if (!scratch.empty()) fs::remove_all(scratch, ignored);
}

// Empties the current directory and gives it an empty Plugins folder.
void FreshDirectory() {
  for (const auto& entry : fs::directory_iterator(scratch)) fs::remove_all(entry.path());
  fs::create_directory(scratch / "Plugins");
}

}  // namespace

// The fuzzer works in its scratch directory, so the paths it was given (corpus
// folders, inputs) are made absolute first, and findings are kept where it
// was started unless -artifact_prefix says otherwise.
void AnchorArguments(int* argc, char*** argv) {
  static std::vector<std::string> texts;
  static std::vector<char*> pointers;
  const fs::path start = fs::current_path();
  bool has_prefix = false;
  for (int i = 0; i < *argc; ++i) {
    std::string arg = (*argv)[i];
    if (arg.rfind("-artifact_prefix=", 0) == 0) has_prefix = true;
    if (i > 0 && !arg.empty() && arg[0] != '-') arg = fs::absolute(arg).string();
    texts.push_back(arg);
  }
  if (!has_prefix) texts.push_back("-artifact_prefix=" + start.string() + "/");
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  *argc = static_cast<int>(texts.size());
  *argv = pointers.data();
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  AnchorArguments(argc, argv);
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/velkaro-fuzz-XXXXXX";
  Require(::mkdtemp(pattern.data()) != nullptr, "cannot make a scratch directory");
  scratch = pattern;
  fs::current_path(scratch);
  std::atexit(RemoveScratch);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FreshDirectory();
  FuzzedDataProvider in(data, size);
  Model model;
  Session(in, model).Run();
  return 0;
}

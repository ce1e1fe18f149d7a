#include "tools/replay_session.h"

#include <cstring>

namespace velkaro::replay {
namespace {

// A host buffer of `size` bytes followed by guard bytes that show whether the
// plug-in wrote past its end.
template <int size>
class GuardedBuffer {
 public:
  GuardedBuffer() {
    std::memset(bytes_, 0, size);
    std::memset(bytes_ + size, kGuard, kGuardSize);
  }
  char* data() { return bytes_; }
  bool Overrun() const {
    for (int i = size; i < size + kGuardSize; ++i) {
      if (static_cast<unsigned char>(bytes_[i]) != kGuard) return true;
    }
    return false;
  }
  // The text in the buffer, never read beyond it.
  std::string Text() const { return std::string(bytes_, strnlen(bytes_, size)); }

 private:
  static constexpr int kGuardSize = 64;
  static constexpr unsigned char kGuard = 0xA5;
  char bytes_[size + kGuardSize];
};

}  // namespace

ReplayOutcome PlayContest(const PluginApi& api, const ContestSetup& setup,
                          const std::vector<HostQso>& qsos) {
  ReplayOutcome outcome;
  const char* own = setup.own_call.c_str();
  HostDate start = setup.start;
  HostDate end = setup.start;
  if (end.status == kDateValid) end.days += 1.0;
  api.reset_stats("", setup.cabrillo ? 1 : 0, own, &start, &end, "", "", "", "", "", "",
                  "", "", "", "", 0, 0, 0, 0.0, 0.0, "", "", "");

  for (const HostQso& qso : qsos) {
    const char* call = qso.call.c_str();
    const char* mode = qso.mode.c_str();
    const char* band = qso.band.c_str();

    GuardedBuffer<kExchangeBufferSize> exchange;
    GuardedBuffer<kNoticeBufferSize> notice;
    const int check = api.check_call(call, 0, 0, mode, "", "", "", "", "", "", "", "", "",
                                     "", 0, 0, 0, 0.0, 0.0, "", "", "", "", "", band, "",
                                     exchange.data(), notice.data());
    if (exchange.Overrun() || notice.Overrun()) {
      outcome.faults.push_back(
          "CheckCall0 wrote past the host's " +
          std::string(exchange.Overrun() ? "10-byte exchange" : "23-byte notice") +
          " buffer for " + qso.call);
    }
    if (check == kCheckSpecial && !notice.Text().empty()) {
      outcome.specials.push_back({qso.call, notice.Text(), exchange.Text()});
    }

    if (api.is_valid_exchange(qso.nr_rcvd.c_str(), "", "", "", 0, 0, 0) == 0) {
      ++outcome.refused_exchanges;
    }

    HostDate time{qso.ole_days, kDateValid};
    HostDate unused{0.0, kDateNull};
    HostDate unused2 = unused;
    HostDate unused3 = unused;
    const int added =
        api.add_data(own, call, &time, &unused, &unused2, &unused3, 0, qso.freq_hz, mode,
                     qso.rst_sent.c_str(), qso.rst_rcvd.c_str(), qso.nr_sent.c_str(),
                     qso.nr_rcvd.c_str(), "", "", "", "", "", "", "", "", "", "", 0, 0, 0,
                     0.0, 0.0, "", "", "", band, "");
    if (added == 1) {
      ++outcome.accepted;
      if (check == kCheckDupe) ++outcome.duplicates;
    } else {
      ++outcome.rejected;
    }
  }

  const char* text = api.get_result(&outcome.result_int);
  if (text == nullptr) {
    outcome.faults.push_back("GetResult0 returned a null text");
  } else {
    outcome.result_text = text;
  }
  return outcome;
}

}  // namespace velkaro::replay

#include "tools/host_qso.h"

#include <limits>

#include "tools/cp1251.h"

namespace velkaro::replay {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' ||
                           text.front() == '\r' || text.front() == '\n')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' ||
                           text.back() == '\r' || text.back() == '\n')) {
    text.remove_suffix(1);
  }
  return text;
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// The trimmed value of the first of the named fields that is present and
// not blank, else "".
std::string_view FirstOf(const adif::Record& record,
                         std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) {
    const std::string* value = record.Find(name);
    if (value != nullptr && !Trim(*value).empty()) return Trim(*value);
  }
  return {};
}

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return !text.empty();
}

int Number(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

// The host's mode text: the three contest modes by their host names, SSB for
// its sidebands, any other mode (or its submode) as the log spells it.
std::string HostMode(std::string_view mode, std::string_view submode) {
  const std::string upper = Upper(mode);
  const std::string upper_sub = Upper(submode);
  if (upper == "SSB" || upper == "USB" || upper == "LSB") return "SSB";
  if (upper == "CW" || upper == "RTTY") return upper;
  if (upper_sub == "USB" || upper_sub == "LSB") return "SSB";
  if (!submode.empty()) return std::string(submode);
  return std::string(mode);
}

// The amateur bands as ADIF lists them, edges in Hz, with the host's names.
struct Band {
  uint64_t low_hz, high_hz;
  const char* name;
};
constexpr Band kBandPlan[] = {
    {135'700, 137'800, "2190m"},
    {472'000, 479'000, "630m"},
    {501'000, 504'000, "560m"},
    {1'800'000, 2'000'000, "160m"},
    {3'500'000, 4'000'000, "80m"},
    {5'060'000, 5'450'000, "60m"},
    {7'000'000, 7'300'000, "40m"},
    {10'100'000, 10'150'000, "30m"},
    {14'000'000, 14'350'000, "20m"},
    {18'068'000, 18'168'000, "17m"},
    {21'000'000, 21'450'000, "15m"},
    {24'890'000, 24'990'000, "12m"},
    {28'000'000, 29'700'000, "10m"},
    {40'000'000, 45'000'000, "8m"},
    {50'000'000, 54'000'000, "6m"},
    {54'000'001, 69'900'000, "5m"},
    {70'000'000, 71'000'000, "4m"},
    {144'000'000, 148'000'000, "2m"},
    {222'000'000, 225'000'000, "1.25m"},
    {420'000'000, 450'000'000, "70cm"},
    {902'000'000, 928'000'000, "33cm"},
    {1'240'000'000, 1'300'000'000, "23cm"},
    {2'300'000'000, 2'450'000'000, "13cm"},
    {3'300'000'000, 3'500'000'000, "9cm"},
};

}  // namespace

std::string BandOfFrequency(uint64_t hz) {
  for (const Band& band : kBandPlan) {
    if (hz >= band.low_hz && hz <= band.high_hz) return band.name;
  }
  return "";
}

std::optional<uint64_t> ParseMegahertz(std::string_view text) {
  text = Trim(text);
  const size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() && fraction.empty()) return std::nullopt;
  if ((!whole.empty() && !AllDigits(whole)) ||
      (!fraction.empty() && !AllDigits(fraction))) {
    return std::nullopt;
  }
  uint64_t hz = 0;
  for (char c : whole) {
    if (hz > std::numeric_limits<uint64_t>::max() / 100) return std::nullopt;
    hz = hz * 10 + static_cast<uint64_t>(c - '0');
  }
  if (hz > 1'000'000'000'000) return std::nullopt;  // no radio goes that high
  hz *= 1'000'000;
  uint64_t scale = 100'000;
  for (size_t i = 0; i < fraction.size() && i < 6; ++i, scale /= 10) {
    hz += static_cast<uint64_t>(fraction[i] - '0') * scale;
  }
  if (fraction.size() > 6 && fraction[6] >= '5') ++hz;  // to the nearest Hz
  return hz;
}

std::optional<int64_t> OleDayOfDate(int year, int month, int day) {
  static constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return std::nullopt;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (day > kDaysInMonth[month - 1] + (month == 2 && leap ? 1 : 0)) return std::nullopt;
  // Days from the civil calendar (H. Hinnant's algorithm), from 1970-01-01.
  auto days_from_civil = [](int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
  };
  return days_from_civil(year, month, day) - days_from_civil(1899, 12, 30);
}

std::optional<double> ParseAdifDate(std::string_view text) {
  text = Trim(text);
  if (text.size() != 8 || !AllDigits(text)) return std::nullopt;
  const int year = Number(text.substr(0, 4));
  if (year < 1930) return std::nullopt;  // ADIF's earliest date
  const std::optional<int64_t> day =
      OleDayOfDate(year, Number(text.substr(4, 2)), Number(text.substr(6, 2)));
  if (!day) return std::nullopt;
  return static_cast<double>(*day);
}

std::optional<double> ParseAdifTime(std::string_view text) {
  text = Trim(text);
  if ((text.size() != 4 && text.size() != 6) || !AllDigits(text)) return std::nullopt;
  const int hour = Number(text.substr(0, 2));
  const int minute = Number(text.substr(2, 2));
  const int second = text.size() == 6 ? Number(text.substr(4, 2)) : 0;
  if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
  return (hour * 3600 + minute * 60 + second) / 86400.0;
}

std::optional<HostQso> HostQsoFromRecord(const adif::Record& record,
                                         std::vector<FieldProblem>* problems) {
  const size_t problems_before = problems->size();
  auto problem = [&](const char* field, std::string message) {
    problems->push_back({field, std::move(message)});
  };
  auto quoted = [](std::string_view text) {
    std::string out(1, '"');
    out.append(text);
    out.push_back('"');
    return out;
  };

  HostQso qso;
  const std::string_view call = FirstOf(record, {"CALL"});
  if (call.empty()) problem("CALL", "missing");
  qso.call = Utf8ToCp1251(call);

  const std::string_view date_text = FirstOf(record, {"QSO_DATE"});
  const std::string_view time_text = FirstOf(record, {"TIME_ON"});
  const std::optional<double> date = ParseAdifDate(date_text);
  const std::optional<double> time = ParseAdifTime(time_text);
  if (date_text.empty()) {
    problem("QSO_DATE", "missing");
  } else if (!date) {
    problem("QSO_DATE", quoted(date_text) + " is not a date YYYYMMDD");
  }
  if (time_text.empty()) {
    problem("TIME_ON", "missing");
  } else if (!time) {
    problem("TIME_ON", quoted(time_text) + " is not a time HHMM or HHMMSS");
  }
  if (date && time) qso.ole_days = *date + *time;

  const std::string_view freq_text = FirstOf(record, {"FREQ"});
  std::optional<uint64_t> hz;
  if (!freq_text.empty()) {
    hz = ParseMegahertz(freq_text);
    if (!hz) {
      problem("FREQ", quoted(freq_text) + " is not a frequency in MHz");
    } else if (*hz > std::numeric_limits<uint32_t>::max()) {
      problem("FREQ", quoted(freq_text) + " MHz is beyond the host's 32-bit Hz");
    } else {
      qso.freq_hz = static_cast<uint32_t>(*hz);
    }
  }
  const std::string_view band = FirstOf(record, {"BAND"});
  qso.band = !band.empty() ? Utf8ToCp1251(Lower(band))
             : hz          ? BandOfFrequency(*hz)
                           : std::string();

  qso.mode =
      Utf8ToCp1251(HostMode(FirstOf(record, {"MODE"}), FirstOf(record, {"SUBMODE"})));
  qso.station_call = Utf8ToCp1251(FirstOf(record, {"STATION_CALLSIGN", "OPERATOR"}));
  qso.rst_sent = Utf8ToCp1251(FirstOf(record, {"RST_SENT"}));
  qso.rst_rcvd = Utf8ToCp1251(FirstOf(record, {"RST_RCVD"}));
  qso.nr_sent = Utf8ToCp1251(FirstOf(record, {"STX_STRING", "STX"}));
  qso.nr_rcvd = Utf8ToCp1251(FirstOf(record, {"SRX_STRING", "SRX"}));

  if (problems->size() != problems_before) return std::nullopt;
  return qso;
}

}  // namespace velkaro::replay

// velkaro-replay: a command-line stand-in for the host program. It loads the
// plug-in by path, replays an ADIF log through the plug-in's entry points as
// the host would, prints the result table the plug-in returns and a summary
// of what the plug-in reported, and leaves err.txt (and with --cabrillo the
// Cabrillo file) in the host's folder.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tools/adif_reader.h"
#include "tools/cp1251.h"
#include "tools/error_report_summary.h"
#include "tools/host_qso.h"
#include "tools/plugin_api.h"
#include "tools/plugin_library.h"
#include "tools/replay_session.h"

namespace velkaro::replay {
namespace {

namespace fs = std::filesystem;

constexpr int kExitFailure = 1;  // unreadable log, plug-in not loadable, bad folder
constexpr int kExitUsage = 2;

constexpr char kUsage[] =
    "Usage: velkaro-replay [options] LOG.adi\n"
    "\n"
    "Replays an ADIF log through the contest plug-in the way the host does:\n"
    "ResetStats0, then CheckCall0, IsValidExchg0 and AddData0 for every QSO,\n"
    "then GetResult0. Prints the plug-in's result table and a summary.\n"
    "\n"
    "Options:\n"
    "  --dir DIR          the host's current folder, holding err.txt, the\n"
    "                     Cabrillo file and Plugins/ (default: the current one)\n"
    "  --call CALL        own call sign (default: STATION_CALLSIGN or OPERATOR\n"
    "                     of the first QSO)\n"
    "  --date YYYY-MM-DD  contest date (default: the date of the first QSO)\n"
    "  --cabrillo         start the contest with the Cabrillo switch on\n"
    "  --plugin PATH      the plug-in library (default: the one built beside\n"
    "                     this program, or in its parent folder)\n"
    "  --result-file FILE also write the result text, as the plug-in returns it\n"
    "                     (Windows-1251, CR LF), to FILE\n"
    "  --help             show this text\n"
    "\n"
    "Malformed records are reported on standard error and skipped.\n"
    "Exit status: 0 done, 1 log unreadable, plug-in not loadable or folder\n"
    "missing, 2 bad command line.\n";

struct Options {
  std::string log_path;
  std::string dir = ".";
  std::optional<std::string> call;
  std::optional<std::string> date;
  bool cabrillo = false;
  std::string plugin;
  std::string result_file;
};

void Fail(const std::string& message) {
  std::cerr << "velkaro-replay: " << message << '\n';
}

// Returns 0 to go on, or the exit status.
int ParseOptions(int argc, char** argv, Options* options) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    std::optional<std::string> inline_value;
    if (arg.starts_with("--") && arg.find('=') != std::string::npos) {
      inline_value = arg.substr(arg.find('=') + 1);
      arg = arg.substr(0, arg.find('='));
    }
    auto value = [&](std::string* out) {
      if (inline_value) {
        *out = *inline_value;
        return true;
      }
      if (i + 1 >= args.size()) {
        Fail(arg + " needs a value (see --help)");
        return false;
      }
      *out = args[++i];
      return true;
    };
    std::string text;
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return -1;
    } else if (arg == "--cabrillo") {
      options->cabrillo = true;
    } else if (arg == "--dir") {
      if (!value(&options->dir)) return kExitUsage;
    } else if (arg == "--call") {
      if (!value(&text)) return kExitUsage;
      options->call = text;
    } else if (arg == "--date") {
      if (!value(&text)) return kExitUsage;
      options->date = text;
    } else if (arg == "--plugin") {
      if (!value(&options->plugin)) return kExitUsage;
    } else if (arg == "--result-file") {
      if (!value(&options->result_file)) return kExitUsage;
    } else if (arg.starts_with("-") && arg != "-") {
      Fail("unknown option " + arg + " (see --help)");
      return kExitUsage;
    } else if (options->log_path.empty()) {
      options->log_path = arg;
    } else {
      Fail("one log only, got " + options->log_path + " and " + arg);
      return kExitUsage;
    }
  }
  if (options->log_path.empty()) {
    Fail("no log given (see --help)");
    return kExitUsage;
  }
  return 0;
}

// "2015-05-28" as an OLE day count.
std::optional<double> ParseContestDate(const std::string& text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const std::string digits = text.substr(0, 4) + text.substr(5, 2) + text.substr(8, 2);
  return ParseAdifDate(digits);
}

bool ReadWholeFile(const fs::path& path, std::string* bytes) {
  std::error_code error;
  if (fs::is_directory(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return false;
  *bytes = buffer.str();
  return true;
}

// The plug-in's text for the terminal: UTF-8, line feeds only.
std::string ForTerminal(const std::string& cp1251) {
  std::string text = Cp1251ToUtf8(cp1251);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  return out;
}

std::string DefaultPluginPath() {
  const fs::path here = ExecutableDirectory();
  for (const fs::path& dir : {here, here.parent_path()}) {
    const fs::path candidate = dir / PluginFileName();
    std::error_code error;
    if (fs::exists(candidate, error)) return candidate.string();
  }
  return (here / PluginFileName()).string();
}

bool LoadApi(const PluginLibrary& library, PluginApi* api) {
  bool complete = true;
  auto find = [&](auto* slot, const char* name) {
    *slot = reinterpret_cast<std::remove_pointer_t<decltype(slot)>>(library.Find(name));
    if (*slot == nullptr) {
      Fail(std::string("the plug-in does not export ") + name);
      complete = false;
    }
  };
  find(&api->reset_stats, "ResetStats0");
  find(&api->check_call, "CheckCall0");
  find(&api->is_valid_exchange, "IsValidExchg0");
  find(&api->add_data, "AddData0");
  find(&api->get_result, "GetResult0");
  return complete;
}

// The newest *.cbr file in the current folder.
std::optional<fs::path> NewestCabrilloFile() {
  std::optional<fs::path> newest;
  fs::file_time_type newest_time;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(".", error)) {
    if (entry.path().extension() != ".cbr" || !entry.is_regular_file(error)) continue;
    const fs::file_time_type time = entry.last_write_time(error);
    if (!newest || time > newest_time) {
      newest = entry.path().filename();
      newest_time = time;
    }
  }
  return newest;
}

void PrintSummary(const std::string& log_name, int records, int skipped,
                  const ReplayOutcome& outcome, const ErrorReportSummary& report,
                  bool report_read, const fs::path& folder, bool cabrillo) {
  std::cout << "\nReplay of " << log_name << ": " << records << " records, "
            << records - skipped << " QSOs replayed, " << skipped
            << " skipped as malformed\n";
  std::cout << "  QSOs accepted:        " << outcome.accepted << '\n';
  std::cout << "  QSOs rejected:        " << outcome.rejected << '\n';
  for (const auto& [reason, count] : report.rejections) {
    std::cout << "    " << ForTerminal(reason) << ": " << count << '\n';
  }
  std::cout << "  duplicates:           " << outcome.duplicates << " QSOs, "
            << report.dupe_lines << " DUPE lines\n";
  std::set<std::string> stations;
  for (const SpecialStationMet& met : outcome.specials) stations.insert(met.call);
  std::cout << "  special stations met: " << outcome.specials.size() << " QSOs with "
            << stations.size() << " stations\n";
  std::cout << "  exchanges refused by IsValidExchg0: " << outcome.refused_exchanges
            << '\n';
  std::cout << "  GetResult0 reported:  " << outcome.result_int
            << (outcome.result_int == -1 ? " (Cabrillo file written)" : " points")
            << '\n';
  if (!report_read) {
    std::cout << "  (err.txt could not be read)\n";
  } else if (report.rejected_lines() != outcome.rejected) {
    std::cout << "  (err.txt lists " << report.rejected_lines()
              << " rejections, AddData0 " << outcome.rejected << ")\n";
  }
  for (const std::string& fault : outcome.faults) {
    std::cout << "  plug-in fault: " << ForTerminal(fault) << '\n';
  }
  std::cout << "Error report:  " << (folder / "err.txt").string() << '\n';
  if (cabrillo) {
    const std::optional<fs::path> cbr = NewestCabrilloFile();
    std::cout << "Cabrillo file: " << (cbr ? (folder / *cbr).string() : "(none written)")
              << '\n';
  }
}

int Run(int argc, char** argv) {
  Options options;
  const int parsed = ParseOptions(argc, argv, &options);
  if (parsed != 0) return parsed < 0 ? 0 : parsed;

  std::optional<HostDate> contest_date;
  if (options.date) {
    const std::optional<double> day = ParseContestDate(*options.date);
    if (!day) {
      Fail("--date " + *options.date + " is not a date YYYY-MM-DD");
      return kExitUsage;
    }
    contest_date = HostDate{*day, kDateValid};
  }

  // Every path is taken before the folder changes.
  const fs::path log_path = fs::absolute(options.log_path);
  const fs::path plugin_path =
      fs::absolute(options.plugin.empty() ? DefaultPluginPath() : options.plugin);
  const fs::path result_path =
      options.result_file.empty() ? fs::path() : fs::absolute(options.result_file);

  std::string bytes;
  if (!ReadWholeFile(log_path, &bytes)) {
    Fail("cannot read the log " + log_path.string());
    return kExitFailure;
  }
  const std::string log_name = log_path.filename().string();
  const adif::ReadResult log = adif::ReadAdif(bytes);
  int records = 0;  // the highest record number met, skipped records included
  // What is wrong with the log, reported in record order.
  std::vector<std::pair<int, std::string>> reports;
  for (const adif::Diagnostic& d : log.diagnostics) {
    reports.emplace_back(d.record,
                         (d.field.empty() ? "" : ", " + d.field) + ": " + d.message);
    records = std::max(records, d.record);
  }
  std::vector<HostQso> qsos;
  for (const adif::Record& record : log.records) {
    records = std::max(records, record.number);
    std::vector<FieldProblem> problems;
    std::optional<HostQso> qso = HostQsoFromRecord(record, &problems);
    for (const FieldProblem& p : problems) {
      reports.emplace_back(record.number,
                           ", " + p.field + ": " + p.message + "; record skipped");
    }
    if (qso) qsos.push_back(std::move(*qso));
  }
  std::stable_sort(reports.begin(), reports.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [record, text] : reports) {
    std::cerr << log_name << ": "
              << (record == 0 ? std::string("header")
                              : "record " + std::to_string(record))
              << text << '\n';
  }
  const int skipped = records - static_cast<int>(qsos.size());
  if (records == 0) Fail("warning: no ADIF records in " + log_path.string());

  ContestSetup setup;
  setup.cabrillo = options.cabrillo;
  if (options.call) {
    setup.own_call = Utf8ToCp1251(*options.call);
  } else {
    for (const HostQso& qso : qsos) {
      if (!qso.station_call.empty()) {
        setup.own_call = qso.station_call;
        break;
      }
    }
    if (setup.own_call.empty()) {
      Fail(
          "warning: no STATION_CALLSIGN or OPERATOR in the log and no --call: "
          "the own call sign is empty");
    }
  }
  if (contest_date) {
    setup.start = *contest_date;
  } else if (!qsos.empty()) {
    setup.start = HostDate{std::floor(qsos.front().ole_days), kDateValid};
  } else {
    setup.start = HostDate{0.0, kDateNull};
  }

  std::error_code error;
  fs::current_path(options.dir, error);
  if (error) {
    Fail("cannot change to the folder " + options.dir + ": " + error.message());
    return kExitFailure;
  }
  const fs::path folder = fs::current_path();

  std::string load_error;
  std::unique_ptr<PluginLibrary> library =
      PluginLibrary::Open(plugin_path.string(), &load_error);
  if (!library) {
    Fail("cannot load the plug-in " + plugin_path.string() + ": " + load_error);
    return kExitFailure;
  }
  PluginApi api;
  if (!LoadApi(*library, &api)) return kExitFailure;

  const ReplayOutcome outcome = PlayContest(api, setup, qsos);
  std::cout << ForTerminal(outcome.result_text) << std::flush;
  if (!result_path.empty()) {
    std::ofstream out(result_path, std::ios::binary | std::ios::trunc);
    out << outcome.result_text;
    if (!out) Fail("cannot write " + result_path.string());
  }
  library.reset();  // unloads the plug-in, as the host does when it closes
  std::string report_bytes;
  const bool report_read = ReadWholeFile("err.txt", &report_bytes);
  PrintSummary(log_name, records, skipped, outcome, SummariseErrorReport(report_bytes),
               report_read, folder, options.cabrillo);
  return 0;
}

}  // namespace
}  // namespace velkaro::replay

int main(int argc, char** argv) {
  try {
    return velkaro::replay::Run(argc, argv);
  } catch (const std::exception& e) {
    velkaro::replay::Fail(e.what());
    return 1;
  }
}

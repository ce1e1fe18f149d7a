#include "cabrillo/cabrillo_writer.h"

#include <cstdarg>
#include <cstdio>

#include "plugin/settings.h"
#include "plugin/texts.h"

namespace velkaro {
namespace {

std::string Format(const char* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, pattern, args);
  va_end(args);
  std::string out;
  if (length > 0) {
    out.resize(static_cast<size_t>(length) + 1);
    std::vsnprintf(out.data(), out.size(), pattern, again);
    out.resize(static_cast<size_t>(length));
  }
  va_end(again);
  return out;
}

// Pads with blanks to `width`, like printf's %Ns and %-Ns; longer texts stay
// whole.
void AppendRight(std::string* out, const std::string& text, size_t width) {
  if (text.size() < width) out->append(width - text.size(), ' ');
  *out += text;
}

void AppendLeft(std::string* out, const std::string& text, size_t width) {
  *out += text;
  if (text.size() < width) out->append(width - text.size(), ' ');
}

bool IsTrimmedSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

std::string CabrilloModeCode(const std::string& mode) {
  if (mode == "CW") return "CW";
  if (mode == "BPSK63" || mode == "BPSK62") return "PM";
  if (mode == "SSB") return "PH";
  if (mode == "RTTY") return "RY";
  return "??";
}

std::string FormatQsoLine(const std::string& own_call, const std::string& call,
                          uint32_t freqKhz, const std::string& mode_code,
                          const OleDate& time, const std::string& rstSent,
                          const std::string& nrSent, const std::string& rstRcvd,
                          const std::string& nrRcvd) {
  // The layout of "QSO: %5i %2s %s %-13s %-3s %-6s %-13s %-3s %s\r\n", built
  // by hand: an export formats every QSO of the log at every result request.
  const std::string date = FormatDateTime(time, "%Y-%m-%d %H%M");
  std::string line;
  line.reserve(80 + call.size() + own_call.size() + nrRcvd.size());
  line += "QSO: ";
  AppendRight(&line, std::to_string(freqKhz), 5);
  line += ' ';
  AppendRight(&line, mode_code, 2);
  line += ' ';
  line += date;
  line += ' ';
  AppendLeft(&line, own_call, 13);
  line += ' ';
  AppendLeft(&line, rstSent, 3);
  line += ' ';
  AppendLeft(&line, nrSent, 6);
  line += ' ';
  AppendLeft(&line, call, 13);
  line += ' ';
  AppendLeft(&line, rstRcvd, 3);
  line += ' ';
  line += nrRcvd;
  line += "\r\n";
  return line;
}

void AppendQsoLine(ContestSession& session, const std::string& call, uint32_t freqKhz,
                   const std::string& mode_code, const OleDate& time,
                   const std::string& rstSent, const std::string& nrSent,
                   const std::string& rstRcvd, const std::string& nrRcvd) {
  session.CabrilloLines.push_back(FormatQsoLine(session.callsign, call, freqKhz,
                                                mode_code, time, rstSent, nrSent, rstRcvd,
                                                nrRcvd));
}

std::string MakeFileStem(const std::string& own_call) {
  const std::string replaced = ReplaceAll(ReplaceAll(own_call, "/", "_"), "\\", "_");
  size_t begin = 0;
  size_t end = replaced.size();
  while (begin < end && IsTrimmedSpace(replaced[begin])) ++begin;
  while (end > begin && IsTrimmedSpace(replaced[end - 1])) --end;
  return begin == end ? "VARNO" : replaced.substr(begin, end - begin);
}

std::string FormatHostVersion(const FileVersion& version) {
  if (version[0] == 2) return Format("%d.%d", version[0], version[1]);
  return Format("%d.%d.%d", version[0], version[1], version[2]);
}

std::string HostVersionText(Platform& platform) {
  const char* executable =
      platform.CanOpenForReading("Zelvo2.exe") ? "Zelvo2.exe" : "Zelvo3.exe";
  const std::optional<FileVersion> version = platform.GetFileVersion(executable);
  return version ? FormatHostVersion(*version) : std::string();
}

constexpr char kEndOfLog[] = "END-OF-LOG:\r\n";

std::string CabrilloLogHeader(const ContestSession& session, int32_t claimed_score,
                              const std::string& host_version) {
  std::string text;
  text.reserve(1024 + session.soapbox.size());
  auto line = [&text](const char* tag, const std::string& value) {
    text += tag;
    text += value;
    text += "\r\n";
  };
  line("START-OF-LOG: 3.0", "");
  line("CONTEST: ", texts::kContestName);
  line("CALLSIGN: ", session.callsign);
  line("CATEGORY-OPERATOR: ", session.categoryOperator);
  line("CATEGORY-MODE: ", session.categoryMode);
  line("LOCATION: ", session.location);
  line("CLAIMED-SCORE: ", std::to_string(claimed_score));
  line("CLUB: ", session.club);
  line("CREATED-BY: Zelvo ", host_version);
  line("E-MAIL: ", session.email);
  line("NAME: ", session.name);
  line("ADDRESS: ", session.address);
  line("ADDRESS-CITY: ", session.city);
  line("ADDRESS-POSTALCODE: ", session.postalCode);
  line("ADDRESS-COUNTRY: ", session.country);
  line("OPERATORS: ", session.operators);
  line("SOAPBOX: ", session.soapbox);
  return text;
}

std::string CabrilloLogText(const ContestSession& session, int32_t claimed_score,
                            const std::string& host_version) {
  std::string text = CabrilloLogHeader(session, claimed_score, host_version);
  text += session.CabrilloLines.joined();
  text += kEndOfLog;
  return text;
}

void WriteCabrilloLog(Platform& platform, const ContestSession& session,
                      int32_t claimed_score) {
  if (session.fileStem.empty()) return;  // the header form never ran
  const std::string header =
      CabrilloLogHeader(session, claimed_score, HostVersionText(platform));
  // The QSO lines already stand back to back: written as they are, a long
  // log is not copied once more at every export.
  const std::string_view parts[] = {header, session.CabrilloLines.joined(), kEndOfLog};
  platform.ReplaceFileParts(session.fileStem + ".cbr", parts);
}

}  // namespace velkaro

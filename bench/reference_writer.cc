#include "reference_writer.h"

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace velkaro::bench {
namespace {

constexpr char kEnd[] = "END-OF-LOG:\r\n";

void Check(bool ok, const char* what) {
  if (ok) return;
  std::perror(what);
  std::abort();
}

bool IsCabrillo(const RecordedWrite& write) {
  return write.path.size() > 4 &&
         write.path.compare(write.path.size() - 4, 4, ".cbr") == 0;
}

}  // namespace

ReferenceWriter::ReferenceWriter(const std::string& last_cabrillo) {
  const RecordedWrite header = CabrilloHeaderOf("", last_cabrillo);
  const size_t end = last_cabrillo.rfind(kEnd);
  lines_ = last_cabrillo.substr(header.bytes.size(), end - header.bytes.size());
  line_ends_.push_back(0);
  for (size_t at = 0; (at = lines_.find("\r\n", at)) != std::string::npos; at += 2) {
    line_ends_.push_back(at + 2);
  }
}

std::string ReferenceWriter::BytesOf(const RecordedWrite& write) const {
  if (!IsCabrillo(write)) return write.bytes;
  return write.bytes + lines_.substr(0, line_ends_.at(write.qso_lines)) + kEnd;
}

void ReferenceWriter::Write(const RecordedWrite& write) const {
  const std::string target = NativePath(write.path);
  const bool cabrillo = IsCabrillo(write);
  iovec parts[3];
  int count = 0;
  parts[count++] = {const_cast<char*>(write.bytes.data()), write.bytes.size()};
  if (cabrillo) {
    parts[count++] = {const_cast<char*>(lines_.data()), line_ends_.at(write.qso_lines)};
    parts[count++] = {const_cast<char*>(kEnd), sizeof kEnd - 1};
  }
  size_t total = 0;
  for (int i = 0; i < count; ++i) total += parts[i].iov_len;

  if (write.kind == RecordedWrite::kReplace) {
    const std::string temporary = target + ".velkaro-new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    Check(fd >= 0, "open");
    Check(::writev(fd, parts, count) == static_cast<ssize_t>(total), "writev");
    Check(::close(fd) == 0, "close");
    Check(::rename(temporary.c_str(), target.c_str()) == 0, "rename");
    return;
  }
  // An append of nothing leaves the file as it is.
  if (write.kind == RecordedWrite::kAppend && total == 0) return;
  const int flags =
      O_WRONLY | O_CREAT | (write.kind == RecordedWrite::kTruncate ? O_TRUNC : O_APPEND);
  const int fd = ::open(target.c_str(), flags, 0644);
  Check(fd >= 0, "open");
  Check(::writev(fd, parts, count) == static_cast<ssize_t>(total), "writev");
  Check(::close(fd) == 0, "close");
}

}  // namespace velkaro::bench

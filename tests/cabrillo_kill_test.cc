// A process killed while it rewrites the Cabrillo file must leave a complete
// log behind: the old one or the new one, never a cut one.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "cabrillo/cabrillo_writer.h"
#include "test_support.h"

namespace velkaro {
namespace {

class CabrilloKillTest : public testing::ScratchDirTest {};

// Writes logs of a growing size forever; CLAIMED-SCORE tells the QSO count.
[[noreturn]] void RewriteForever() {
  PortablePlatform platform;
  ContestSession session;
  session.callsign = "UA9OWN";
  session.fileStem = "UA9OWN";
  const OleDate time{42152.5, OleDate::kValid};
  for (int round = 1;; ++round) {
    session.CabrilloLines.clear();
    const int count = 1 + round % 3000;
    for (int i = 0; i < count; ++i) {
      AppendQsoLine(session, "RK" + std::to_string(i), 7012, "CW", time, "599",
                    std::to_string(i), "599", "001");
    }
    WriteCabrilloLog(platform, session, count);
  }
}

// True when `file` is a whole log with as many QSO lines as it claims.
bool IsComplete(const std::string& file) {
  const std::string head = "START-OF-LOG: 3.0\r\n";
  const std::string tail = "\r\nEND-OF-LOG:\r\n";
  if (file.compare(0, head.size(), head) != 0) return false;
  if (file.size() < tail.size() ||
      file.compare(file.size() - tail.size(), tail.size(), tail) != 0) {
    return false;
  }
  const size_t claimed = file.find("CLAIMED-SCORE: ");
  if (claimed == std::string::npos) return false;
  const int expected = std::atoi(file.c_str() + claimed + 15);
  int lines = 0;
  for (size_t at = 0; (at = file.find("\r\nQSO: ", at)) != std::string::npos; ++at)
    ++lines;
  return lines == expected;
}

TEST_F(CabrilloKillTest, TheFileOnDiskIsAlwaysAWholeLog) {
  std::mt19937 random(2026);
  int checked = 0;
  for (int kill = 0; kill < 60; ++kill) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) RewriteForever();
    ::usleep(2000 + random() % 30000);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!testing::Exists("UA9OWN.cbr")) continue;  // killed before the first write
    const std::string file = testing::ReadBytes("UA9OWN.cbr");
    ASSERT_TRUE(IsComplete(file))
        << "after kill " << kill << ", " << file.size() << " bytes";
    ++checked;
  }
  EXPECT_GT(checked, 30);
}

}  // namespace
}  // namespace velkaro

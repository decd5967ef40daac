// A bar that stops reading (frozen, or paused by its window manager) and reads again later.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "run/BarOutput.h"

namespace pricora {
namespace {

// It gets the line it had begun, whole, and then only the newest: never a torn line, never the
// old news that came while it slept.
TEST(BarOutput, AStalledReaderGetsOnlyTheNewestLineWhenItReadsAgain) {
  struct Row {
    std::size_t length;     // of each line
    std::vector<int> read;  // the lines the reader gets
  };
  // Lines of 3000 bytes go into the pipe whole or not at all; lines of 6000 bytes in parts.
  for (const Row& row : {Row{3000, {1, 40}}, Row{6000, {1, 40}}}) {
    SCOPED_TRACE(row.length);
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    ASSERT_GT(fcntl(fds[1], F_SETPIPE_SZ, 4096), 0);  // the smallest a pipe can be
    ASSERT_EQ(fcntl(fds[0], F_SETFL, O_NONBLOCK), 0);
    const auto line = [&row](int n) {
      const std::string number = std::to_string(n) + " ";
      return number + std::string(row.length - number.size() - 1, 'x') + "\n";
    };
    {
      BarOutput output(fds[1]);
      EXPECT_TRUE(output.isChannel());
      EXPECT_EQ(output.offer(line(1)), row.length < 4096 ? 0 : EAGAIN);
      for (int n = 2; n <= 40; ++n) EXPECT_EQ(output.offer(line(n)), EAGAIN) << n;

      std::string received;
      for (int written = EAGAIN; written == EAGAIN;) {
        char buffer[65536];
        for (ssize_t got; (got = read(fds[0], buffer, sizeof buffer)) > 0;)
          received.append(buffer, static_cast<std::size_t>(got));
        written = output.flush();
        if (written == 0)
          for (ssize_t got; (got = read(fds[0], buffer, sizeof buffer)) > 0;)
            received.append(buffer, static_cast<std::size_t>(got));
      }
      std::string expected;
      for (int n : row.read) expected += line(n);
      EXPECT_EQ(received.size(), expected.size());
      EXPECT_TRUE(received == expected);
    }
    close(fds[0]);
    close(fds[1]);
  }
}

}  // namespace
}  // namespace pricora

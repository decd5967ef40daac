#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>  // before Asio, see HttpServer.cpp
#include <boost/asio.hpp>

#include "HttpGet.h"

extern char** environ;

namespace exsim::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// exchange-sim as a child process with its three standard streams on pipes. Whatever a test
// does, the child is killed and reaped.
class Child {
 public:
  explicit Child(std::vector<std::string> arguments) {
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) || pipe2(out, O_CLOEXEC) || pipe2(err, O_CLOEXEC)) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    arguments.insert(arguments.begin(), EXCHANGE_SIM_EXECUTABLE);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const int failed = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    close(err[1]);
    input_ = in[1];
    output_ = out[0];
    errors_ = err[0];
    if (failed) throw std::runtime_error("cannot start " EXCHANGE_SIM_EXECUTABLE);
  }

  ~Child() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    for (int fd : {input_, output_, errors_})
      if (fd >= 0) close(fd);
  }

  // The next line of standard output, or "" at its end or after the deadline.
  std::string readLine(Clock::duration patience = 10s) {
    const auto deadline = Clock::now() + patience;
    std::size_t end;
    while ((end = stdout_.find('\n')) == std::string::npos)
      if (!readSome(output_, stdout_, deadline)) return "";
    std::string line = stdout_.substr(0, end);
    stdout_.erase(0, end + 1);
    return line;
  }

  void write(const std::string& text) { ASSERT_EQ(::write(input_, text.data(), text.size()), static_cast<ssize_t>(text.size())); }
  void closeInput() {
    close(input_);
    input_ = -1;
  }
  void signal(int number) { kill(pid_, number); }

  // Its exit status, once its output ends; -1 if it does not end in time.
  int exitStatus(Clock::duration patience = 10s) {
    const auto deadline = Clock::now() + patience;
    while (readSome(output_, stdout_, deadline)) {
    }
    while (readSome(errors_, stderr_, deadline)) {
    }
    if (Clock::now() >= deadline) return -1;
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  const std::string& errors() const { return stderr_; }

 private:
  static bool readSome(int fd, std::string& into, Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd watched{fd, POLLIN, 0};
    if (left <= 0 || poll(&watched, 1, static_cast<int>(left)) <= 0) return false;
    char chunk[4096];
    const ssize_t size = read(fd, chunk, sizeof chunk);
    if (size <= 0) return false;
    into.append(chunk, static_cast<std::size_t>(size));
    return true;
  }

  pid_t pid_ = -1;
  int input_ = -1, output_ = -1, errors_ = -1;
  std::string stdout_, stderr_;
};

TEST(Executable, PrintsTheSettingsTakesCommandsAndStopsOnSigterm) {
  Child sim({"--control", "--seed", "3"});
  ASSERT_EQ(sim.readLine(), "[api]");
  std::string wex;
  for (const char* name : {"Wex", "Bitfinex", "Kraken", "Bitstamp", "OKCoin", "Poloniex", "CoinFloor", "GDAX", "OKCoinCNY"}) {
    const std::string line = sim.readLine();
    EXPECT_EQ(line.rfind(std::string(name) + "=http://127.0.0.1:", 0), 0u) << line;
    if (wex.empty()) wex = line.substr(4);
  }
  ASSERT_EQ(sim.readLine(), "# ready");

  sim.write("reply Wex /hello 203 {\"greeting\": \"hi there\"}\n");
  EXPECT_EQ(sim.readLine(), "ok");
  const HttpResult hello = httpGet(wex, "/hello");
  EXPECT_EQ(hello.status, 203);
  EXPECT_EQ(hello.body, "{\"greeting\": \"hi there\"}");
  sim.write("fault Wex /api/* http500 1\n");
  EXPECT_EQ(sim.readLine(), "ok");
  EXPECT_EQ(httpGet(wex, "/api/3/info").status, 500);
  EXPECT_EQ(httpGet(wex, "/api/3/info").status, 200);
  sim.write("fault Wex * explode\n");
  EXPECT_EQ(sim.readLine().rfind("error: ", 0), 0u);

  sim.signal(SIGTERM);
  EXPECT_EQ(sim.exitStatus(), 0);
}

TEST(Executable, QuitsAtTheEndOfControlInput) {
  Child sim({"--control"});
  while (sim.readLine() != "# ready") ASSERT_FALSE(HasFailure());
  sim.closeInput();
  EXPECT_EQ(sim.exitStatus(), 0);
}

TEST(Executable, RefusesBadOptionsAndBusyPorts) {
  Child badScale({"--scale", "huge"});
  EXPECT_EQ(badScale.exitStatus(), 1);
  EXPECT_NE(badScale.errors().find("usage:"), std::string::npos) << badScale.errors();

  // Holding the first port, Wex's, so that nothing else can take it meanwhile.
  boost::asio::io_context io;
  boost::asio::ip::tcp::acceptor holder(io, {boost::asio::ip::make_address_v4("127.0.0.1"), 0});
  const std::string port = std::to_string(holder.local_endpoint().port());
  Child busy({"--base-port", port});
  EXPECT_EQ(busy.exitStatus(), 1);
  EXPECT_NE(busy.errors().find("127.0.0.1:" + port + " for Wex"), std::string::npos) << busy.errors();
}

}  // namespace
}  // namespace exsim::test

#include "HeadlessProgram.h"

#include <spawn.h>
#include <unistd.h>

#include <cstdio>

extern char** environ;

namespace pricora::bench {

HeadlessProgram::HeadlessProgram(const std::string& settingsText) {
  home_.write("config/Pricora/Pricora.conf", settingsText);
  home_.write("resources/Experimental.plist",
              "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>refreshFrequency</key>"
              "<string>1</string></dict></plist>");
}

HeadlessProgram::~HeadlessProgram() {
  if (errorPipe_ >= 0) close(errorPipe_);
}

pid_t HeadlessProgram::start(const std::vector<std::string>& arguments, bool pipeStandardError) {
  std::vector<std::string> variables = {"XDG_CONFIG_HOME=" + home_.file("config"),
                                        "XDG_DATA_HOME=" + home_.file("data"),
                                        "PRICORA_RESOURCES=" + home_.file("resources"), "HOME=" + home_.file("home")};
  // The user's own settings, pairs and display must stay out of the measurement.
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (!text.starts_with("XDG_") && !text.starts_with("HOME=") && !text.starts_with("DISPLAY="))
      variables.push_back(text);
  }
  std::vector<char*> envp;
  for (std::string& text : variables) envp.push_back(text.data());
  envp.push_back(nullptr);

  std::vector<std::string> words = {PRICORA_BINARY, "--headless"};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  int fds[2] = {-1, -1};
  if (pipeStandardError) {
    if (pipe(fds) != 0) return -1;
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
  }
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (pipeStandardError) {
    close(fds[1]);
    errorPipe_ = fds[0];
  }
  if (failed != 0) {
    std::fprintf(stderr, "cannot start %s\n", argv[0]);
    return -1;
  }
  return pid;
}

}  // namespace pricora::bench

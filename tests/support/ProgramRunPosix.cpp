#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "support/ProgramRun.h"
#include "support/TempFolder.h"

extern char** environ;

namespace {

std::string TextOf(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace

ProgramRun RunProgram(const MapPath& program, const std::vector<MapPath>& arguments) {
  TempFolder folder;
  const std::string outPath = (folder.Path() / "out").string(), errPath = (folder.Path() / "err").string();
  std::vector<std::string> words = {std::filesystem::path(program).u8string()};
  for (const MapPath& argument : arguments) words.push_back(std::filesystem::path(argument).u8string());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t child = 0;
  const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) throw std::runtime_error("cannot start " + words[0]);

  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
  }
  ProgramRun run;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = TextOf(ReadBytes(folder.File(u"out")));
  run.err = TextOf(ReadBytes(folder.File(u"err")));
  return run;
}

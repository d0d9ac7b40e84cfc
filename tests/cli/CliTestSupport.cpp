#include "CliTestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "main/CommandLine.h"

namespace cli_testing {
namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

std::string TempPath(const char* name) {
  std::string pattern = testing::TempDir() + name + "-XXXXXX";
  close(mkstemp(pattern.data()));
  return pattern;
}

// argv for program and args; the strings live in storage.
std::vector<char*> Argv(std::vector<std::string>& storage) {
  std::vector<char*> argv;
  for (auto& arg : storage) argv.push_back(arg.data());
  argv.push_back(nullptr);
  return argv;
}

}  // namespace

CliResult RunInProcess(const std::vector<std::string>& args) {
  std::vector<std::string> storage{"dtu-config"};
  storage.insert(storage.end(), args.begin(), args.end());
  auto argv = Argv(storage);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  CliResult result;
  result.status = cli::RunCommandLine(static_cast<int>(storage.size()), argv.data());
  result.out = testing::internal::GetCapturedStdout();
  result.err = testing::internal::GetCapturedStderr();
  return result;
}

CliResult RunChild(const std::vector<std::string>& args, const std::function<void(pid_t)>& whileRunning,
                   const std::string& stdoutFile) {
  const std::string outPath = TempPath("cli-out");
  const std::string errPath = TempPath("cli-err");
  std::vector<std::string> storage{DTU_CONFIG_PROGRAM};
  storage.insert(storage.end(), args.begin(), args.end());
  auto argv = Argv(storage);
  const pid_t child = fork();
  if (child == 0) {
    dup2(stdoutFile.empty() ? open(outPath.c_str(), O_WRONLY)
                            : open(stdoutFile.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644),
         STDOUT_FILENO);
    dup2(open(errPath.c_str(), O_WRONLY), STDERR_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  CliResult result;
  if (whileRunning) whileRunning(child);
  int status = 0;
  waitpid(child, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
  result.out = ReadWhole(outPath);
  result.err = ReadWhole(errPath);
  std::remove(outPath.c_str());
  std::remove(errPath.c_str());
  return result;
}

CliResult RunBatch(platform::EventLoop& loop, const cli::CliOptions& options) {
  const std::string outPath = TempPath("batch-out");
  const std::string errPath = TempPath("batch-err");
  std::FILE* out = std::fopen(outPath.c_str(), "wb");
  std::FILE* err = std::fopen(errPath.c_str(), "wb");
  CliResult result;
  {
    cli::Console console(out, err, cli::TerminalCode::Utf8);
    result.status = cli::TBatchRun(loop, options, console).Run();
  }
  std::fclose(out);
  std::fclose(err);
  result.out = ReadWhole(outPath);
  result.err = ReadWhole(errPath);
  std::remove(outPath.c_str());
  std::remove(errPath.c_str());
  return result;
}

std::string LineStartingWith(const std::string& text, const std::string& prefix) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with(prefix)) return line;
  }
  return {};
}

}  // namespace cli_testing

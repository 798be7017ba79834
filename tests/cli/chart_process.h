// Runs solvane-chart as a user does, for the tests of the program as a whole: its exit status,
// what it printed, and what it said on standard error.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace solvane::testing {

struct ChartRun {
  int status;
  std::string out;
  std::string err;
};

// Runs `SOLVANE_CHART_EXE args` through the shell with `input` on standard input. `scratch` is a
// path prefix of the test's own for the input and error files (test cases may run as parallel
// processes); `environment` is put before the command ("NAME='value' ").
inline ChartRun RunChartProgram(const std::string& args, const std::string& input,
                                const std::string& scratch, const std::string& environment = "") {
  const std::string err_path = scratch + "_stderr.txt";
  const std::string in_path = scratch + "_stdin.txt";
  std::ofstream(in_path, std::ios::binary) << input;
  const std::string command =
      environment + SOLVANE_CHART_EXE + " " + args + " <'" + in_path + "' 2>'" + err_path + "'";
  ChartRun run{};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, "", "popen failed"};
  std::array<char, 4096> buffer;
  std::size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(err_path, std::ios::binary);
  run.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
  return run;
}

}  // namespace solvane::testing

// Every input a fuzz target once failed on (fuzz/regressions/<target>/) and every committed seed
// (fuzz/corpus/<target>/) is run through the same target in the normal test suite, so a fault found once
// stays found. A target fails by trapping, which ends this test binary.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int ReplayHandleReply(const uint8_t* data, size_t size);
extern "C" int ReplayLangList(const uint8_t* data, size_t size);
extern "C" int ReplayIniFile(const uint8_t* data, size_t size);
extern "C" int ReplaySettingsRoundTrip(const uint8_t* data, size_t size);
extern "C" int ReplayDtuSimulator(const uint8_t* data, size_t size);

namespace {

struct Target {
  const char* name;
  int (*run)(const uint8_t*, size_t);
};

std::vector<std::filesystem::path> InputsOf(const std::string& target) {
  std::vector<std::filesystem::path> inputs;
  for (const char* kind : {"regressions", "corpus"}) {
    const std::filesystem::path folder = std::filesystem::path(DTU_FUZZ_DIR) / kind / target;
    if (!std::filesystem::is_directory(folder)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
  }
  return inputs;
}

class FuzzRegression : public testing::TestWithParam<Target> {};

TEST_P(FuzzRegression, EveryKeptInputRunsClean) {
  const Target target = GetParam();
  const auto inputs = InputsOf(std::string(target.name) + "Fuzzer");
  EXPECT_FALSE(inputs.empty()) << "each target has committed seeds";
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.string());
    std::ifstream file(input, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(target.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegression,
                         testing::Values(Target{"HandleReply", ReplayHandleReply},
                                         Target{"LangList", ReplayLangList}, Target{"IniFile", ReplayIniFile},
                                         Target{"SettingsRoundTrip", ReplaySettingsRoundTrip},
                                         Target{"DtuSimulator", ReplayDtuSimulator}),
                         [](const testing::TestParamInfo<Target>& row) {
                           return std::string(row.param.name);
                         });

}  // namespace

#pragma once
// What the values suites' tables share: rows named by their name field, and values given as changes to the
// defaults.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "values/DtuValues.h"

namespace values_test {

struct ByName {
  template <typename Param>
  std::string operator()(const testing::TestParamInfo<Param>& row) const {
    return row.param.name;
  }
};

// [DTU] keys and values, in the order a row lists them.
using KeyValues = std::vector<std::pair<std::string, std::string>>;

inline values::DtuValues With(const KeyValues& changes, values::DtuValues values = {}) {
  for (const auto& [key, value] : changes) values.Set(key, value);
  return values;
}

}  // namespace values_test

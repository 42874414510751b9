// The case names of a parameterised test whose parameters each carry a `name`.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace tintelo::testing_support {

template <typename Param>
[[nodiscard]] std::string CaseName(const testing::TestParamInfo<Param>& info) {
  return info.param.name;
}

}  // namespace tintelo::testing_support

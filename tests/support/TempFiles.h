// Temporary file names that stay apart when tests run in parallel processes.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace zeltest {

// A path in the test temporary folder named after the running test and the process.
inline std::string UniqueTempPath(const std::string& Suffix) {
  const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string Name = Info ? std::string(Info->test_suite_name()) + "_" + Info->name() : "zel";
  for (char& C : Name)
    if (C == '/' || C == '\\') C = '_';
  return ::testing::TempDir() + Name + "_" + std::to_string(::getpid()) + Suffix;
}

}  // namespace zeltest

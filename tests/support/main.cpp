// Test entry: the library's units are started once for the whole run.
#include <gtest/gtest.h>

#include "zelgraph/Units.h"

namespace {
class ZelEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { zel::ZelStartUnits(); }
  void TearDown() override { zel::ZelEndUnits(); }
};
}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new ZelEnvironment);
  return RUN_ALL_TESTS();
}

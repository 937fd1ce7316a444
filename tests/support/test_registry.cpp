#include "support/test_registry.h"

namespace qvtest {

std::map<std::string, TestFactory>& Registry() {
  static std::map<std::string, TestFactory> registry;
  return registry;
}

bool RegisterTest(const char* name, TestFactory factory) {
  Registry()[name] = std::move(factory);
  return true;
}

}  // namespace qvtest

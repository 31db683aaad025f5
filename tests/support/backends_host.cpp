#include "tests/support/store_harness.h"

namespace p2pb::test {

std::vector<Backend> backends() { return {{"Memory", &makeMemoryHarness}}; }

}  // namespace p2pb::test

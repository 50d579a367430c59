// Checking that a run's calls came in an order, and at given times.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/sim/sim.h"

// A needle, and the virtual time its line must carry (-1: any).
struct Step {
  Step(const char* text) : needle(text) {}  // NOLINT: a plain needle reads best in a list
  Step(std::string text) : needle(std::move(text)) {}  // NOLINT
  Step(std::string text, int64_t time) : needle(std::move(text)), at(time) {}
  std::string needle;
  int64_t at = -1;
};

// Each needle's first line after the previous one's, so the calls came in this order.
inline void ExpectInOrder(const sim::Run& r, const std::vector<Step>& steps) {
  size_t next = 0;
  for (const sim::TraceLine& line : r.lines)
    if (next < steps.size() && line.text.find(steps[next].needle) != std::string::npos) {
      if (steps[next].at >= 0) {
        EXPECT_EQ(line.at, steps[next].at) << steps[next].needle;
      }
      next++;
    }
  EXPECT_EQ(next, steps.size()) << "missing or out of order: "
                                << (next < steps.size() ? steps[next].needle : "");
}

#include "cli/ordered_pipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

namespace solvane::cli {
namespace {

// Work that takes longer for some items than for others, so that they finish out of order.
int SlowSquare(int n) {
  if (n % 7 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
  return n * n;
}

// Answers come in the items' order whatever the threads and the window, and no item is worked on
// while it lies beyond the window.
TEST(OrderedPipeline, DeliversInOrderWithinTheWindow) {
  struct Case {
    int threads;
    std::size_t window;
  };
  const Case cases[] = {{1, 1}, {2, 1}, {2, 3}, {4, 8}, {8, 64}};
  constexpr int kItems = 500;
  for (const Case& c : cases) {
    std::vector<int> delivered;
    std::atomic<int> delivered_count{0};
    std::atomic<int> beyond_window{0};
    {
      OrderedPipeline<int, int> pipeline(
          c.threads, c.window,
          [&](int& n) {
            // Item n was let in only once fewer than `window` items were undelivered.
            if (n - delivered_count.load() >= static_cast<int>(c.window)) ++beyond_window;
            return SlowSquare(n);
          },
          [&](int& answer) {
            delivered.push_back(answer);
            ++delivered_count;
            return true;
          });
      for (int n = 0; n < kItems; ++n) ASSERT_TRUE(pipeline.Push(n));
      EXPECT_TRUE(pipeline.Drain());
    }
    ASSERT_EQ(delivered.size(), static_cast<std::size_t>(kItems)) << c.threads;
    for (int n = 0; n < kItems; ++n) EXPECT_EQ(delivered[n], n * n) << c.threads << " " << n;
    EXPECT_EQ(beyond_window, 0) << c.threads << " threads, window " << c.window;
  }
}

// Drain waits for every item pushed so far; the pipeline goes on afterwards.
TEST(OrderedPipeline, DrainWaitsForEverythingPushed) {
  std::atomic<int> delivered{0};
  OrderedPipeline<int, int> pipeline(
      3, 16, [](int& n) { return SlowSquare(n); },
      [&](int&) {
        ++delivered;
        return true;
      });
  for (int round = 1; round <= 3; ++round) {
    for (int n = 0; n < 20; ++n) ASSERT_TRUE(pipeline.Push(n));
    ASSERT_TRUE(pipeline.Drain());
    EXPECT_EQ(delivered, 20 * round);
  }
}

// A delivery that says stop ends the pipeline: nothing after it is delivered, whatever was already
// worked on, and further items are refused. A failure in the work is thrown to the pushing thread,
// with the answers before it delivered and none after.
TEST(OrderedPipeline, StopsAtARefusedDeliveryOrAFailure) {
  struct Case {
    const char* what;
    int refuse_at;  // the delivery that returns false, or -1
    int throw_at;   // the item whose work throws, or -1
    std::vector<int> want;
  };
  const Case cases[] = {
      {"the third delivery refused", 2, -1, {0, 1, 2}},
      {"the first delivery refused", 0, -1, {0}},
      {"the work of item 3 throws", -1, 3, {0, 1, 2}},
  };
  for (const Case& c : cases) {
    for (const int threads : {1, 2, 4}) {
      std::vector<int> delivered;
      bool refused_push = false, thrown = false;
      try {
        OrderedPipeline<int, int> pipeline(
            threads, 4,
            [&](int& n) {
              if (n == c.throw_at) throw std::runtime_error("no answer");
              return SlowSquare(n) >= 0 ? n : -1;
            },
            [&](int& n) {
              delivered.push_back(n);
              return n != c.refuse_at;
            });
        for (int n = 0; n < 100 && !refused_push; ++n) refused_push = !pipeline.Push(n);
        EXPECT_FALSE(pipeline.Drain()) << c.what;
      } catch (const std::runtime_error& failure) {
        thrown = true;
        EXPECT_STREQ(failure.what(), "no answer");
      }
      EXPECT_EQ(delivered, c.want) << c.what << ", " << threads << " threads";
      EXPECT_EQ(thrown, c.throw_at >= 0) << c.what;
      if (c.refuse_at >= 0) {
        EXPECT_TRUE(refused_push) << c.what;
      }
    }
  }
}

// Destroyed with items still in flight and nothing drained: the workers end without delivering the
// rest, and without touching what is gone.
TEST(OrderedPipeline, DestroyedBeforeTheEnd) {
  std::vector<std::string> delivered;
  {
    OrderedPipeline<int, std::string> pipeline(
        2, 8, [](int& n) { return std::to_string(SlowSquare(n)); },
        [&](std::string& text) {
          delivered.push_back(text);
          return true;
        });
    for (int n = 0; n < 8; ++n) ASSERT_TRUE(pipeline.Push(n));
  }
  ASSERT_LE(delivered.size(), 8u);
  for (std::size_t i = 0; i < delivered.size(); ++i)
    EXPECT_EQ(delivered[i], std::to_string(i * i));
}

}  // namespace
}  // namespace solvane::cli

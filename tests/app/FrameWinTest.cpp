#include "app/FrameWin.h"

#include <gtest/gtest.h>

namespace varnock {
namespace {

TEST(FrameWinTest, Builds) {
  FrameWin window;
  window.show();
  EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace varnock

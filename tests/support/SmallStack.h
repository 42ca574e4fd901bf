// Runs test code on a thread with a small stack, so that a walk that
// recursed once per nesting level would overflow it.
#pragma once

#include <functional>

namespace varnock::testing {

// Runs `work` on a thread with a 256 KiB stack and waits for it.
void RunOnSmallStack(const std::function<void()>& work);

}  // namespace varnock::testing

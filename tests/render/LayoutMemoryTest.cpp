// A paragraph of the game score that cannot be allocated: reported once,
// left out, and the rest of the score laid out. This program replaces the
// global allocation functions so that a test can make the growth of the
// paragraph list fail; it holds no other test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "RenderTesting.h"
#include "render/ScoreLayout.h"
#include "support/ScriptedPrompt.h"

namespace {
// While set, a request for a multiple of this many bytes, more than four of
// them, fails: the growth of a list of paragraphs past four.
std::size_t failingMultiple = 0;
}  // namespace

// Under AddressSanitizer the allocation functions are its own (the Qt
// libraries allocate through them before this program's could take over):
// the test runs in the plain build only.
#if !defined(__SANITIZE_ADDRESS__)
void* operator new(std::size_t size) {
  if (failingMultiple != 0 && size > 4 * failingMultiple && size % failingMultiple == 0) throw std::bad_alloc();
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#endif

namespace varnock {
namespace {

TEST(ScoreLayoutMemory, AParagraphThatCannotBeHadIsReportedAndLeftOut) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the allocation functions are AddressSanitizer's";
#endif
  NodeStore store;
  auto game = testing::ReadPgnGame(
      "1. e4 {one} e5 {two} 2. Nf3 {three} Nc6 {four} 3. Bb5 {five} a6 {six} 4. Ba4 {seven} Nf6 {eight} 1-0\n", store);
  testing::ScriptedPrompt prompt;
  ScoreLayoutOptions options;
  ScoreLayout whole(kRtfLayout, options, &prompt);
  const std::size_t all = whole.Layout(game->Tree(), true).size();
  ASSERT_GT(all, 8u);
  EXPECT_TRUE(prompt.Records().empty());

  ScoreLayout starved(kRtfLayout, options, &prompt);
  failingMultiple = sizeof(ScoreParagraph);
  const std::size_t kept = starved.Layout(game->Tree(), true).size();
  failingMultiple = 0;
  EXPECT_EQ(kept, 4u);  // the list held four, and could not grow
  ASSERT_EQ(prompt.Records().size(), 1u);
  EXPECT_EQ(prompt.Last().caption, "list_insert()");
  EXPECT_EQ(prompt.Last().text, "malloc: No memory available.");
}

}  // namespace
}  // namespace varnock

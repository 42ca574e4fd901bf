// Every scan that looks at sixteen characters at a time against its plain
// twin, at every offset of texts that hold what the reader meets: real
// movetext, every byte value, and the characters each scan looks for packed
// densely and sparsely.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "formats/TextScans.h"
#include "support/Corpus.h"

namespace varnock {
namespace {

std::vector<std::string> Texts() {
  std::vector<std::string> texts;
  std::mt19937 random(18);
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>(random() & 0xFF);
  texts.push_back(bytes);
  // Drawn from the characters of movetext and the ones the scans stop at.
  const std::string alphabet = std::string("abcdefgh12345678NBRQKxO-+#=.!? \t\r\n(){};[]\"%$\x80\xFF") + '\0';
  for (const int spread : {1, 4, 40}) {
    std::string text;
    for (int i = 0; i < 4096; ++i)
      text += random() % spread == 0 ? alphabet[random() % alphabet.size()] : "e4Nf3"[random() % 5];
    texts.push_back(text);
  }
  std::string corpus = testing::LargestCorpusText().substr(0, 1 << 16);
  if (!corpus.empty()) texts.push_back(corpus);
  return texts;
}

TEST(TextScans, EveryFastScanFindsWhatItsPlainTwinFinds) {
  for (const std::string& text : Texts()) {
    const char* data = text.data();
    const std::size_t size = text.size();
    for (std::size_t i = 0; i <= size; ++i) {
      ASSERT_EQ((scans::FirstOf<'(', ')', '{', ';', '[', '%', '\0'>(data, i, size)),
                (scans::FirstOfPlain<'(', ')', '{', ';', '[', '%', '\0'>(data, i, size)))
          << i;
      ASSERT_EQ((scans::FirstOf<'"', '\0', '%'>(data, i, size)), (scans::FirstOfPlain<'"', '\0', '%'>(data, i, size)));
      // A scan ending short of the text: what lies beyond is not looked at.
      const std::size_t end = std::min(size, i + 21);
      ASSERT_EQ((scans::FirstOf<']', '\0', '%'>(data, i, end)), (scans::FirstOfPlain<']', '\0', '%'>(data, i, end)));
      const std::size_t far = std::min(size, i + 1000);
      ASSERT_EQ(scans::CountLineFeeds(data + i, data + far), scans::CountLineFeedsPlain(data + i, data + far));
      if (size - i >= 16) {
        ASSERT_EQ(scans::MoveCharRun(data + i), scans::MoveCharRunPlain(data + i)) << i;
        ASSERT_EQ(scans::WordLength(data + i), scans::WordLengthPlain(data + i)) << i;
      }
    }
  }
  // More than 255 rounds of sixteen line feeds: the byte counters are added
  // up before they overflow.
  const std::string lines(16 * 1000 + 7, '\n');
  EXPECT_EQ(scans::CountLineFeeds(lines.data(), lines.data() + lines.size()), lines.size());
}

}  // namespace
}  // namespace varnock

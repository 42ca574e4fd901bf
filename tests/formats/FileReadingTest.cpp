// Reading a file into memory, in one piece or, when large, in two halves at
// once: the bytes land at their own offsets, and a file shorter than asked
// for is never taken for a whole one.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "formats/FileReading.h"
#include "formats/LoadFile.h"
#include "support/Corpus.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"

namespace varnock {
namespace {

using testing::TempFolder;

// The largest corpus file, repeated until the text is at least `size` long,
// then cut to it.
std::string CorpusTextOf(std::size_t size) {
  const std::string one = testing::LargestCorpusText();
  if (one.empty()) return {};
  std::string text;
  while (text.size() < size) text += one;
  text.resize(size);
  return text;
}

// What ReadFileInto gives for `claimed` bytes of the file, which holds `text`;
// the bytes past what was read are left as '?'.
std::string ReadBack(const std::string& path, std::size_t claimed, std::size_t& read) {
  std::string buffer(claimed, '?');
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  EXPECT_GE(fd, 0);
  ::lseek(fd, 12345, SEEK_SET);  // the file offset plays no part
  read = ReadFileInto(fd, buffer.data(), claimed);
  ::close(fd);
  return buffer;
}

TEST(FileReading, SmallAndLargeFilesArriveWhole) {
  // An odd size, so that the halves do not split the text in two equal parts.
  const std::string large = CorpusTextOf(kReadInTwoFrom + 3 * 1000 * 1000 + 7);
  if (large.empty()) GTEST_SKIP() << "no corpus";
  TempFolder folder;
  for (const std::size_t size : {std::size_t{1}, std::size_t{4096}, kReadInTwoFrom - 1, large.size()}) {
    const std::string text = large.substr(0, size);
    const std::string path = folder / "file.pgn";
    testing::WriteFile(path, text);
    std::size_t read = 0;
    const std::string back = ReadBack(path, size, read);
    EXPECT_EQ(read, size);
    EXPECT_TRUE(back == text) << size << " bytes";
  }
}

TEST(FileReading, AFileShorterThanItsSizeIsNotTakenWhole) {
  const std::string text = CorpusTextOf(kReadInTwoFrom + 1000);
  if (text.empty()) GTEST_SKIP() << "no corpus";
  TempFolder folder;
  const std::string path = folder / "short.pgn";
  // Shorter than claimed by a little: the second half comes back short.
  testing::WriteFile(path, text);
  std::size_t read = 0;
  std::string back = ReadBack(path, text.size() + 5000, read);
  EXPECT_EQ(read, text.size());
  EXPECT_TRUE(back.substr(0, read) == text);

  // Shorter than half the claim: the first half already ends early, and
  // nothing the helper read beyond the gap counts.
  testing::WriteFile(path, text.substr(0, 1 << 20));
  back = ReadBack(path, text.size(), read);
  EXPECT_EQ(read, std::size_t{1} << 20);
  EXPECT_TRUE(back.substr(0, read) == text.substr(0, 1 << 20));
}

}  // namespace
}  // namespace varnock

namespace varnock {
namespace {

// Another program changes the file between its opening and the end of the
// read: a file that grew gives what it held when it was opened, with a
// warning, and is not taken for the file's text; one that shrank gives nothing.
TEST(FileReading, AFileThatChangesWhileItIsReadIsNeverTakenForItsText) {
  TempFolder folder;
  const std::string path = folder / "changing.pgn";
  const std::string game = "[Event \"Growing\"]\n\n1. e4 e5 2. Nf3 Nc6 *\n\n";
  std::string text;
  while (text.size() < (std::size_t{1} << 20)) text += game;
  for (const bool grows : {true, false}) {
    SCOPED_TRACE(grows ? "grows" : "shrinks");
    testing::WriteFile(path, text);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    struct stat opened {};
    ASSERT_EQ(::fstat(fd, &opened), 0);
    if (grows) {
      const int writer = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
      ASSERT_EQ(::write(writer, game.data(), game.size()), static_cast<ssize_t>(game.size()));
      ::close(writer);
    } else {
      ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(text.size() / 2)), 0);
    }
    testing::ScriptedPrompt prompt;
    std::optional<LoadedFile> loaded = LoadOpenedFile(fd, opened, path, prompt);
    ::close(fd);
    ASSERT_EQ(prompt.Records().size(), 1u);
    if (!grows) {
      EXPECT_FALSE(loaded.has_value());
      EXPECT_EQ(prompt.Last().text, "'" + path + "'\n\nThe file changed while it was read: nothing was loaded");
      continue;
    }
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->size, text.size());
    EXPECT_TRUE(loaded->text.view() == text);
    EXPECT_FALSE(loaded->identity.known);
    EXPECT_EQ(prompt.Last().text, "'" + path + "'\n\nThe file grew while it was read: its first " +
                                      std::to_string(text.size()) + " bytes were loaded");
  }
}

}  // namespace
}  // namespace varnock

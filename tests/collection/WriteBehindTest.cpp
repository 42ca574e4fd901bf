// Writing a save's file with the disk sent each stretch behind the writing:
// the file holds exactly what was gathered, and the stretches already on the
// disk leave the page cache.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/magic.h>
#include <sys/mman.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "collection/SaveOutput.h"
#include "support/Corpus.h"
#include "support/TempFolder.h"

namespace varnock {
namespace {

using testing::TempFolder;

// Which pages of the file are in the page cache, one flag a page.
std::vector<bool> CachedPages(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  EXPECT_GE(fd, 0);
  const off_t size = ::lseek(fd, 0, SEEK_END);
  void* map = ::mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_SHARED, fd, 0);
  EXPECT_NE(map, MAP_FAILED);
  const long page = ::sysconf(_SC_PAGESIZE);
  std::vector<unsigned char> flags(static_cast<std::size_t>((size + page - 1) / page));
  EXPECT_EQ(::mincore(map, static_cast<std::size_t>(size), flags.data()), 0);
  ::munmap(map, static_cast<std::size_t>(size));
  ::close(fd);
  std::vector<bool> cached;
  for (unsigned char flag : flags) cached.push_back(flag & 1);
  return cached;
}

// Whether the file lies on a disk file system that lets go of written pages
// when asked to; tmpfs, for one, keeps them: they are its storage.
bool ReleasesWrittenPages(const std::string& path) {
  struct statfs about {};
  if (::statfs(path.c_str(), &about) != 0) return false;
  const auto type = static_cast<unsigned long>(about.f_type);
  return type == EXT4_SUPER_MAGIC || type == XFS_SUPER_MAGIC || type == BTRFS_SUPER_MAGIC;
}

int WriteWithStretch(const SaveOutput& output, const std::string& path, const RetainedSource* source) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  EXPECT_GE(fd, 0);
  int error = output.WriteTo(fd, source);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  ::close(fd);
  return error;
}

// A real collection, retained as a save retains it, with new text between
// its games, written with small stretches.
TEST(WriteBehind, ALargeSaveIsWrittenWholeAndLeavesTheCacheBehindIt) {
  const std::string text = testing::LargestCorpusText();
  if (text.empty()) GTEST_SKIP() << "no corpus";
  ASSERT_GT(text.size(), std::size_t{1} << 20);

  TempFolder folder;
  const std::string sourcePath = folder / "source.pgn";
  testing::WriteFile(sourcePath, text);
  const int sourceFd = ::open(sourcePath.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(sourceFd, 0);
  const RetainedSource source{sourceFd, text.data(), text.size()};

  SaveOutput output;
  output.writeBehindStretch = 64 << 10;
  const std::size_t third = text.size() / 3;
  output.AppendRetained(std::string_view(text).substr(0, third));
  output.Append("[Event \"changed\"]\r\n");
  output.AppendRetained(std::string_view(text).substr(third, third));
  output.Append(std::string(300000, 'x'));  // owned text longer than a stretch
  output.AppendRetained(std::string_view(text).substr(2 * third));

  for (const RetainedSource* from : {&source, static_cast<const RetainedSource*>(nullptr)}) {
    const std::string path = folder / "saved.pgn";
    ASSERT_EQ(WriteWithStretch(output, path, from), 0);
    EXPECT_TRUE(testing::ReadFile(path) == output.ToString()) << (from ? "copied" : "from memory");
  }
  ::close(sourceFd);

  // Written again, without reading it back first: the first stretches are
  // out of the cache, the last ones (flushed at the end) still in it.
  const std::string path = folder / "fresh.pgn";
  ASSERT_EQ(WriteWithStretch(output, path, nullptr), 0);
  if (!ReleasesWrittenPages(path)) GTEST_SKIP() << "this file system keeps its pages";
  const std::vector<bool> cached = CachedPages(path);
  const std::size_t pagesPerStretch = (64 << 10) / static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  ASSERT_GT(cached.size(), 4 * pagesPerStretch);
  EXPECT_FALSE(cached[0]);
  EXPECT_FALSE(cached[pagesPerStretch]);
  EXPECT_TRUE(cached.back());
}

TEST(WriteBehind, AFileShorterThanTwoStretchesStaysCached) {
  TempFolder folder;
  SaveOutput output;
  output.writeBehindStretch = 64 << 10;
  output.Append(std::string(100 << 10, 'a'));
  const std::string path = folder / "small.pgn";
  ASSERT_EQ(WriteWithStretch(output, path, nullptr), 0);
  EXPECT_EQ(testing::ReadFile(path), output.ToString());
  for (bool cached : CachedPages(path)) EXPECT_TRUE(cached);
}

}  // namespace
}  // namespace varnock

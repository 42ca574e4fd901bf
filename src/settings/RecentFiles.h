// The recent-file list: at most 15 paths, newest first, kept in the section
// "FileList" as "File1" (newest) to "File15".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varnock {

class IniFile;

class RecentFiles {
 public:
  static constexpr std::size_t kCapacity = 15;
  static constexpr std::size_t kMenuNameLength = 30;

  // Puts the path first; an equal entry further down is dropped, and the
  // oldest falls off a full list.
  void Add(const std::string& path);
  void Remove(const std::string& path);
  const std::vector<std::string>& Entries() const { return entries_; }
  // The newest entry, empty when there is none.
  std::string Newest() const { return entries_.empty() ? std::string() : entries_.front(); }

  void Read(const IniFile& ini);
  void Write(IniFile& ini) const;

  bool operator==(const RecentFiles&) const = default;

 private:
  std::vector<std::string> entries_;
};

// A path shortened for the menu to at most kMenuNameLength characters: the
// first folder, "...", and as many trailing folders as fit before the file
// name; the file name alone when even that does not fit.
std::string RecentFileMenuName(std::string_view path, std::size_t limit = RecentFiles::kMenuNameLength);

}  // namespace varnock

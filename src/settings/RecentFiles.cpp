#include "settings/RecentFiles.h"

#include <algorithm>

#include "settings/IniFile.h"

namespace varnock {

namespace {

constexpr std::string_view kSection = "FileList";

std::string EntryKey(std::size_t index) { return "File" + std::to_string(index + 1); }

}  // namespace

void RecentFiles::Add(const std::string& path) {
  if (path.empty()) return;
  Remove(path);
  entries_.insert(entries_.begin(), path);
  if (entries_.size() > kCapacity) entries_.resize(kCapacity);
}

void RecentFiles::Remove(const std::string& path) { std::erase(entries_, path); }

void RecentFiles::Read(const IniFile& ini) {
  entries_.clear();
  for (std::size_t i = 0; i < kCapacity; ++i) {
    std::string path = ini.GetText(kSection, EntryKey(i), "");
    if (!path.empty() && std::find(entries_.begin(), entries_.end(), path) == entries_.end())
      entries_.push_back(std::move(path));
  }
}

void RecentFiles::Write(IniFile& ini) const {
  for (std::size_t i = 0; i < kCapacity; ++i) {
    if (i < entries_.size())
      ini.SetText(kSection, EntryKey(i), entries_[i]);
    else
      ini.Remove(kSection, EntryKey(i));
  }
}

std::string RecentFileMenuName(std::string_view path, std::size_t limit) {
  if (path.size() <= limit) return std::string(path);
  const std::size_t lastSlash = path.rfind('/');
  const std::string_view name = lastSlash == std::string_view::npos ? path : path.substr(lastSlash + 1);
  const std::size_t firstSlash = path.find('/', 1);
  if (firstSlash == std::string_view::npos || firstSlash >= lastSlash) return std::string(name);
  const std::string head = std::string(path.substr(0, firstSlash + 1)) + "...";
  // Trailing folders are added from the file name outwards while they fit.
  std::size_t tailStart = lastSlash;
  for (;;) {
    if (tailStart <= firstSlash) break;
    const std::size_t previous = path.rfind('/', tailStart - 1);
    if (previous == std::string_view::npos || previous <= firstSlash) break;
    if (head.size() + (path.size() - previous) > limit) break;
    tailStart = previous;
  }
  if (head.size() + (path.size() - tailStart) > limit) return std::string(name);
  return head + std::string(path.substr(tailStart));
}

}  // namespace varnock

#include "settings/IniFile.h"

// SimpleIni as Debian ships it keeps its definitions behind SI_IMPLEMENTATION;
// this is the one file that includes it.
#define SI_IMPLEMENTATION
#define SI_NO_CONVERSION
#include <SimpleIni.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <list>

namespace varnock {

struct IniFile::Store {
  Store() {
    ini.SetUnicode(false);
    ini.SetMultiKey(false);
    ini.SetMultiLine(false);
    ini.SetSpaces(false);
    ini.SetQuotes(false);
    // Lines without "=" are no entries; they are not kept (an empty value
    // must be written as "key=", which the key-only mode would not do).
    ini.SetAllowKeyOnly(false);
  }
  CSimpleIniA ini;
};

IniFile::IniFile() : store_(std::make_unique<Store>()) {}
IniFile::~IniFile() = default;
IniFile::IniFile(IniFile&&) noexcept = default;
IniFile& IniFile::operator=(IniFile&&) noexcept = default;

bool IniFile::Load(const std::string& path) {
  store_->ini.Reset();
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return !error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > kMaxFileBytes) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string text(static_cast<std::size_t>(size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  Parse(text);
  return true;
}

void IniFile::Parse(std::string_view text) {
  store_->ini.Reset();
  // The parser stops at a NUL byte; what follows one is not INI text anyway.
  const std::size_t end = text.find('\0');
  if (end != std::string_view::npos) text = text.substr(0, end);
  // The parser would read a section name that lacks its "]" on to the next
  // "]", lines included: such a line is kept as a comment instead.
  std::string lines;
  lines.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t stop = text.find_first_of("\r\n", at);
    if (stop == std::string_view::npos) stop = text.size();
    const std::string_view line = text.substr(at, stop - at);
    const std::size_t first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos && line[first] == '[' && line.find(']', first) == std::string_view::npos)
      lines += ';';
    lines += line;
    lines += '\n';
    at = stop + (text.substr(stop, 2) == "\r\n" ? 2 : 1);
  }
  store_->ini.LoadData(lines.data(), lines.size());
}

bool IniFile::Has(std::string_view section, std::string_view key) const {
  return store_->ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr) != nullptr;
}

std::string IniFile::GetText(std::string_view section, std::string_view key, std::string_view fallback) const {
  const char* value = store_->ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
  return value ? std::string(value) : std::string(fallback);
}

void IniFile::SetText(std::string_view section, std::string_view key, std::string_view value) {
  // A line break in a value would end the value and start a new line of the
  // file: it is written as a blank.
  std::string line(value);
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  store_->ini.SetValue(std::string(section).c_str(), std::string(key).c_str(), line.c_str());
}

void IniFile::Remove(std::string_view section, std::string_view key) {
  store_->ini.Delete(std::string(section).c_str(), std::string(key).c_str());
}

std::vector<std::string> IniFile::Keys(std::string_view section) const {
  CSimpleIniA::TNamesDepend keys;
  store_->ini.GetAllKeys(std::string(section).c_str(), keys);
  keys.sort(CSimpleIniA::Entry::LoadOrder());
  std::vector<std::string> names;
  for (const auto& key : keys) names.emplace_back(key.pItem);
  return names;
}

std::string IniFile::Text() const {
  std::string text;
  store_->ini.Save(text);
  return text;
}

namespace {

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

bool WriteInPlace(const std::string& path, const std::string& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
  return ::close(fd) == 0 && written;
}

}  // namespace

bool IniFile::Save(const std::string& path) const {
  namespace fs = std::filesystem;
  std::error_code error;
  // A settings file that is a link is written where the link points.
  fs::path target = path;
  if (fs::is_symlink(target, error)) {
    const fs::path resolved = fs::weakly_canonical(target, error);
    if (!error) target = resolved;
  }
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), error);
  const std::string text = Text();

  std::string temporary = target.string() + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return WriteInPlace(target.string(), text);
  struct stat old {};
  const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  bool written = ::fchmod(fd, mode) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (written && ::rename(temporary.c_str(), target.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

}  // namespace varnock

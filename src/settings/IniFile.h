// One INI file held in memory with the semantics of profile strings: section
// and key names compare without regard to letter case, values are trimmed
// text, and every section, key and comment the program does not know (other
// programs' entries, keys written by hand) is written back as it was read.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace varnock {

class IniFile {
 public:
  IniFile();
  ~IniFile();
  IniFile(IniFile&&) noexcept;
  IniFile& operator=(IniFile&&) noexcept;

  // Replaces the contents with the file at `path`. A missing file is no
  // error: the contents are then empty. False when the file exists but cannot
  // be read (or is larger than kMaxFileBytes); the contents are then empty too.
  bool Load(const std::string& path);
  // Replaces the contents with the INI text.
  void Parse(std::string_view text);

  bool Has(std::string_view section, std::string_view key) const;
  // The stored text, or `fallback` when the key is absent.
  std::string GetText(std::string_view section, std::string_view key, std::string_view fallback) const;
  void SetText(std::string_view section, std::string_view key, std::string_view value);
  void Remove(std::string_view section, std::string_view key);
  // The key names of a section, in file order.
  std::vector<std::string> Keys(std::string_view section) const;

  // The whole file as text ("key=value" lines).
  std::string Text() const;
  // Writes the file through a temporary file renamed over it (in place when
  // the folder cannot take a temporary file), creating missing folders.
  bool Save(const std::string& path) const;

  static constexpr std::size_t kMaxFileBytes = 16u << 20;

 private:
  struct Store;
  std::unique_ptr<Store> store_;
};

}  // namespace varnock

// Where the settings file is looked for: beside the executable in a portable
// install, else in the user's configuration folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "settings/SettingsLocation.h"
#include "support/TempFolder.h"

namespace varnock {
namespace {

using testing::TempFolder;
using testing::WriteFile;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class SettingsLocationTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  std::string program_ = folder_ / "bin";
  std::string home_ = folder_ / "home";
  ScopedEnv home_env_{"HOME", home_.c_str()};
  ScopedEnv config_env_{"XDG_CONFIG_HOME", nullptr};

  void SetUp() override { std::filesystem::create_directories(program_); }
};

TEST_F(SettingsLocationTest, ConfigFolderByDefault) {
  EXPECT_EQ(SettingsFilePath(program_), home_ + "/.config/varnock/varnock.ini");
  ScopedEnv config("XDG_CONFIG_HOME", (folder_ / "config").c_str());
  EXPECT_EQ(SettingsFilePath(program_), folder_ / "config/varnock/varnock.ini");
  // A relative XDG_CONFIG_HOME is ignored, as the base-directory rules say.
  ScopedEnv relative("XDG_CONFIG_HOME", "config");
  EXPECT_EQ(SettingsFilePath(program_), home_ + "/.config/varnock/varnock.ini");
}

TEST_F(SettingsLocationTest, AWritableFileBesideTheProgramMakesItPortable) {
  ScopedEnv config("XDG_CONFIG_HOME", (folder_ / "config").c_str());
  WriteFile(program_ + "/varnock.ini", "[Settings]\n");
  EXPECT_EQ(SettingsFilePath(program_), program_ + "/varnock.ini");

  // A folder of that name does not count.
  const std::string other = folder_ / "other";
  std::filesystem::create_directories(other + "/varnock.ini");
  EXPECT_EQ(SettingsFilePath(other), folder_ / "config/varnock/varnock.ini");
}

TEST_F(SettingsLocationTest, AReadOnlyFileBesideTheProgramIsNotUsed) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
  WriteFile(program_ + "/varnock.ini", "[Settings]\n");
  ::chmod((program_ + "/varnock.ini").c_str(), 0444);
  EXPECT_EQ(SettingsFilePath(program_), home_ + "/.config/varnock/varnock.ini");
}

// This user's home folder as /etc/passwd lists it ("name:x:uid:gid:gecos:home:shell"),
// or nothing when the file does not list the user.
std::optional<std::string> ListedHome() {
  std::istringstream lines(testing::ReadFile("/etc/passwd"));
  const std::string uid = std::to_string(::getuid());
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::istringstream parts(line);
    for (std::string field; std::getline(parts, field, ':');) fields.push_back(field);
    if (fields.size() >= 6 && fields[2] == uid && !fields[5].empty()) return fields[5];
  }
  return std::nullopt;
}

TEST_F(SettingsLocationTest, WithoutHomeTheUsersEntryGivesTheFolder) {
  const std::optional<std::string> listed = ListedHome();
  if (!listed) GTEST_SKIP() << "this user is not listed in /etc/passwd";
  ScopedEnv home("HOME", nullptr);
  EXPECT_EQ(SettingsFilePath(program_), *listed + "/.config/varnock/varnock.ini");
  ScopedEnv empty("HOME", "");
  EXPECT_EQ(SettingsFilePath(program_), *listed + "/.config/varnock/varnock.ini");
}

TEST_F(SettingsLocationTest, ExecutableFolderIsThisTestsFolder) {
  const std::string folder = ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(SettingsFilePath(), SettingsFilePath(folder));
}

}  // namespace
}  // namespace varnock

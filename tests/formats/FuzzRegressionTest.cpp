// The inputs the fuzz targets failed on, kept under regressions/, go through
// the same checks as in the targets: reading in every mode, writing back and
// reading again. (regressions/open/ holds inputs of faults not fixed yet,
// which no test reads.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "RoundTrips.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;

using Check = std::string (*)(std::string_view);

const fs::path kRegressions = fs::path(VARNOCK_SOURCE_DIR) / "tests" / "formats" / "regressions";

Check CheckFor(const fs::path& file) {
  const std::string extension = file.extension().string();
  if (extension == ".pgn") return fuzz::CheckPgnText;
  if (extension == ".ech") return fuzz::CheckEchText;
  if (extension == ".fen") return fuzz::CheckFenText;
  return nullptr;
}

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(FuzzRegression, KeptInputsReadWriteAndReadBack) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(kRegressions))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  ASSERT_GE(files.size(), 10u) << "the inputs are missing from " << kRegressions;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    const Check check = CheckFor(file);
    ASSERT_NE(check, nullptr) << "a regression input is named .pgn, .ech or .fen";
    EXPECT_EQ(check(Bytes(file)), "");
  }
}

}  // namespace
}  // namespace varnock

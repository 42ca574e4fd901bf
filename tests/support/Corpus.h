// The shared PGN corpus (xz-compressed real collections) for tests.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace varnock::testing {

// The whole text of a compressed corpus file, or "" when it cannot be read.
std::string ReadCorpusFile(const std::filesystem::path& path);

// The .pgn.xz files below the corpus folders named (e.g. "annotated", "big"),
// sorted; none when the corpus is not there.
std::vector<std::filesystem::path> CorpusFiles(std::initializer_list<const char*> folders);

}  // namespace varnock::testing

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

// The files for the tests that read the whole corpus: all of them, or, when
// VARNOCK_CORPUS_SAMPLE is set (the sanitizer run, which is many times
// slower), every file up to 100 KB compressed and every fourth larger one.
std::vector<std::filesystem::path> CorpusSample(std::initializer_list<const char*> folders);
bool CorpusSampled();

// The whole text of the largest compressed file below the corpus folder
// "big", or "" when the corpus is not there.
std::string LargestCorpusText();

}  // namespace varnock::testing

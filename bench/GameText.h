// Game files for the benchmarks: loading (plain or xz-compressed) and
// finding the largest file of the corpus.
#pragma once

#include <filesystem>
#include <string>

namespace varnock::bench {

// The file's text as a load sees it (bytes 0x00, 0xFE and 0xFF removed);
// a name ending in ".xz" is decompressed with xz. Throws when it cannot be
// read.
std::string LoadGameText(const std::filesystem::path& path);

// The corpus file with the most uncompressed bytes, by the corpus's
// MANIFEST.tsv; empty when there is none.
std::filesystem::path LargestCorpusFile(const std::filesystem::path& corpusDir);

}  // namespace varnock::bench

// Game files for the benchmarks: loading (plain or xz-compressed) and
// finding the largest file of the corpus.
#pragma once

#include <filesystem>
#include <string>

#include "formats/TextBuffer.h"

namespace varnock::bench {

// The file's text as a load sees it (bytes 0x00, 0xFE and 0xFF removed);
// a name ending in ".xz" is decompressed with xz. Throws when it cannot be
// read.
std::string LoadGameText(const std::filesystem::path& path);

// The same text read as a load reads a plain file (one read into a buffer
// that is not zero-filled first, then cleaned in place); an ".xz" file is
// decompressed first. Throws when it cannot be read.
TextBuffer LoadFileText(const std::filesystem::path& path);

// The games the collection benchmarks work on: the file VARNOCK_BENCH_PGN
// names, else three large corpus files, joined. Throws when one cannot be
// read.
std::string CollectionBenchText(const std::filesystem::path& corpusDir);

// The corpus file with the most uncompressed bytes, by the corpus's
// MANIFEST.tsv; empty when there is none.
std::filesystem::path LargestCorpusFile(const std::filesystem::path& corpusDir);

}  // namespace varnock::bench

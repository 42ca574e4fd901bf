#include "openings/CollectionStatsBuild.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "formats/AtomicFile.h"
#include "openings/CompressedContainer.h"

namespace varnock {

CollectionStatsBuild::CollectionStatsBuild(Collection& collection, PositionWalk walk)
    : collection_(collection),
      walk_(walk),
      source_(ReadSource::Of(collection)),
      reader_(source_),
      total_(collection.Count()) {}

void CollectionStatsBuild::Count(std::size_t place, const GameTree& tree) {
  facts_.clear();
  CollectGamePositions(tree, walk_, facts_);
  const auto outcome = OutcomeOfResult(collection_.Game(place).header.Get(HeaderField::Result));
  if (!outcome) {
    ++unfinished_;
    return;
  }
  builder_.AddGame(facts_, *outcome);
}

bool CollectionStatsBuild::Step() {
  if (Finished()) return false;
  // The reader numbers a chunk's games from its chunk index: steps follow
  // the chunks.
  const std::size_t chunk = next_ / kChunkGames;
  const std::size_t end = std::min(total_, (chunk + 1) * kChunkGames);
  std::vector<ScannedGame> games;
  for (std::size_t place = next_; place < end; ++place) games.push_back(ScannedOf(collection_.Game(place), place));
  ChunkReports reports;
  reader_.Read(
      chunk, games, [this](std::size_t place, GameTree& tree) { Count(place, tree); }, reports);
  if (reports.failure) std::rethrow_exception(reports.failure);
  // The games read already were passed over by the reader.
  for (std::size_t i = 0; i < reports.ends.size(); ++i)
    if (!reports.ends[i].visited) Count(next_ + i, collection_.Game(next_ + i).Tree());
  next_ = end;
  return !Finished();
}

namespace {

std::nullopt_t Report(UserPrompt& prompt, const std::string& path, const std::string& text, int code) {
  prompt.Inform(kExplorerBuildCaption, "'" + path + "'\n" + text + "\nError Code is " + std::to_string(code));
  return std::nullopt;
}

}  // namespace

std::optional<std::size_t> WriteExplorerDatabase(const std::string& path, const StatsBuilder& builder,
                                                 UserPrompt& prompt) {
  const std::vector<std::uint8_t> container = DeflateContainer(builder.TreeBytes());
  if (container.empty()) return Report(prompt, path, "The statistics are too large for the file format", EFBIG);
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code error;
  if (!folder.empty()) std::filesystem::create_directories(folder, error);
  if (error) return Report(prompt, folder.string(), error.message(), error.value());
  std::string errorText;
  int errorCode = 0;
  if (!WriteFileAtomically(path, {reinterpret_cast<const char*>(container.data()), container.size()}, errorText,
                           errorCode))
    return Report(prompt, path, errorText, errorCode);
  return container.size();
}

}  // namespace varnock

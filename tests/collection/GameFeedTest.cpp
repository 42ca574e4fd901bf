// The hand-out of scanned games to reading threads.
#include <gtest/gtest.h>

#include <thread>

#include "collection/GameFeed.h"

namespace varnock {
namespace {

ScannedGame GameAt(std::size_t place) { return {place, place * 100, 100, false, place == 0}; }

TEST(GameFeed, ChunksAreClaimedInOrderOnceAndTheShortLastOneOnlyWithTheClose) {
  GameFeed feed;
  std::size_t chunk = 99;
  std::span<const ScannedGame> games;
  for (std::size_t place = 0; place < 40; ++place) EXPECT_EQ(feed.Add(GameAt(place)), place == kChunkGames - 1);
  ASSERT_TRUE(feed.Claim(chunk, games, false));
  EXPECT_EQ(chunk, 0u);
  ASSERT_EQ(games.size(), kChunkGames);
  EXPECT_TRUE(games[0].loaded);
  EXPECT_EQ(games[31].textOffset, 3100u);
  // The eight games after the first chunk do not make one until the close.
  EXPECT_FALSE(feed.Claim(chunk, games, false));
  feed.Close();
  ASSERT_TRUE(feed.Claim(chunk, games, true));
  EXPECT_EQ(chunk, 1u);
  ASSERT_EQ(games.size(), 8u);
  EXPECT_EQ(games[7].place, 39u);
  EXPECT_FALSE(feed.Claim(chunk, games, true));
  EXPECT_EQ(feed.Count(), 40u);
  EXPECT_EQ(feed.Chunks(), 2u);
  EXPECT_EQ(feed.Game(33).textOffset, 3300u);
}

TEST(GameFeed, AWaitingClaimEndsWithAChunkTheCloseOrTheStop) {
  for (const bool stop : {false, true}) {
    GameFeed feed;
    bool claimed = true;
    std::thread reader([&] {
      std::size_t chunk = 0;
      std::span<const ScannedGame> games;
      claimed = feed.Claim(chunk, games, true);
    });
    if (stop)
      feed.Stop();
    else
      feed.Close();
    reader.join();
    EXPECT_FALSE(claimed);
  }
  GameFeed feed;
  std::size_t claimedChunk = 99;
  std::thread reader([&] {
    std::span<const ScannedGame> games;
    if (!feed.Claim(claimedChunk, games, true) || games.size() != kChunkGames) claimedChunk = 99;
  });
  for (std::size_t place = 0; place < kChunkGames; ++place) feed.Add(GameAt(place));
  reader.join();
  EXPECT_EQ(claimedChunk, 0u);
  // Nothing is handed out after a stop.
  feed.Add(GameAt(kChunkGames));
  feed.Stop();
  feed.Close();
  std::span<const ScannedGame> games;
  EXPECT_FALSE(feed.Claim(claimedChunk, games, true));
}

TEST(GameFeed, AGameOutOfPlaceBreaksTheFeed) {
  GameFeed feed;
  feed.Add(GameAt(0));
  feed.Add(GameAt(2));
  feed.Add(GameAt(1));
  EXPECT_TRUE(feed.Broken());
  EXPECT_EQ(feed.Count(), 1u);
}

}  // namespace
}  // namespace varnock

// Reading what engines send: reply keywords, option lines and the option
// commands they lead to, the processor-option name pattern, line assembly.
#include <gtest/gtest.h>

#include "engine/EngineCapabilities.h"
#include "engine/OptionNamePattern.h"
#include "engine/ReplyLines.h"
#include "engine/UciText.h"

namespace varnock {
namespace {

TEST(ReplyKeywords, MatchAtTheStartIgnoringCaseWithTabsAndSpaceRuns) {
  EXPECT_EQ(MatchReply("id name Stockfish 15", "id name"), 7u);
  EXPECT_EQ(ReplyRest("ID\t  Name   Fake One", MatchReply("ID\t  Name   Fake One", "id name")), "Fake One");
  EXPECT_EQ(MatchReply("UCIOK", "uciok"), 5u);
  EXPECT_EQ(MatchReply("readyok", "uciok"), kNoMatch);
  EXPECT_EQ(MatchReply("idname x", "id name"), kNoMatch);
  EXPECT_EQ(MatchReply(" info depth 1", "info"), kNoMatch);  // lines arrive with leading spaces skipped
  EXPECT_EQ(MatchReply("option\tname Hash type spin", "option name"), 11u);
}

TEST(ReplyKeywords, NumbersFollowWholeKeywords) {
  EXPECT_EQ(NumberAfter("Max CPUs type spin default 2 min 1 max 8", "max"), 8);
  EXPECT_EQ(NumberAfter("Minimum Thinking Time type spin default 20 min 0 max 5000", "min"), 0);
  EXPECT_EQ(NumberAfter("Hash type spin default 16 min 1 max 33554432", "MAX"), 33554432);
  EXPECT_EQ(NumberAfter("Hash type spin max 99999999999999", "max"), 2147483647);
  EXPECT_EQ(NumberAfter("Hash type spin min -5", "min"), -5);
  EXPECT_EQ(NumberAfter("Hash type spin", "min"), std::nullopt);
}

TEST(ProcessorOptionName, WordsAndPattern) {
  auto words = [](std::string_view name) {
    std::vector<std::string> texts;
    for (const NameWord& word : SplitNameWords(name))
      texts.emplace_back(name.substr(word.start, word.end - word.start));
    return texts;
  };
  EXPECT_EQ(words("MaxCPUs"), (std::vector<std::string>{"Max", "CPUs"}));
  EXPECT_EQ(words("Max_Threads"), (std::vector<std::string>{"Max", "Threads"}));
  EXPECT_EQ(words("  Number of\tProcessors"), (std::vector<std::string>{"Number", "of", "Processors"}));
  EXPECT_EQ(words(std::string(200, 'a')).front().size(), 126u);

  const std::string_view pattern = kProcessorOptionPattern;
  EXPECT_EQ(MatchNamePattern("Max CPUs type spin", pattern), 8u);
  EXPECT_EQ(MatchNamePattern("Number of Processors type spin", pattern), 20u);
  EXPECT_EQ(MatchNamePattern("Maximum Number of Cores type spin", pattern), 23u);
  EXPECT_EQ(MatchNamePattern("MaxCPUs type spin", pattern), 7u);
  EXPECT_EQ(MatchNamePattern("Threads type spin", pattern), 0u);
  EXPECT_EQ(MatchNamePattern("Engine Max CPUs type spin", pattern), 0u);  // no "*" before the first group
  EXPECT_EQ(MatchNamePattern("Max Threads type spin default 1", pattern), 0u);
  EXPECT_EQ(MatchNamePattern("Max Cores", "max-cores"), 9u);
  EXPECT_EQ(MatchNamePattern("Max Of Cores", "max-cores"), 0u);
}

TEST(EngineOptions, CapabilitiesAndTheirCommands) {
  EngineCapabilities engine;
  engine.Record("MultiPV type spin default 1 min 0 max 500");
  engine.Record("Hash type spin default 1 min 1 max 1");
  engine.Record("Number of Processors type spin default 4 min 0 max 0");
  engine.Record("UCI_AnalyseMode type check default false");
  engine.Record("UCI_ShowCurrLine type check default false");
  engine.Record("HashFile type spin default 1 min 1 max 4");  // not the Hash option
  EXPECT_EQ(engine.multiPVMin, 1);
  EXPECT_EQ(engine.multiPVMax, 500);
  EXPECT_EQ(engine.hashMax, 17);
  EXPECT_EQ(engine.processorOption, "Number of Processors");
  EXPECT_EQ(engine.processorMin, 1);
  EXPECT_EQ(engine.processorMax, 1);

  EXPECT_EQ(OptionCommands(engine, {600, 64, true, 4}),
            "setoption name MultiPV value 500\r\nsetoption name Hash value 17\r\n"
            "setoption name Number of Processors value 1\r\nsetoption name UCI_AnalyseMode value true\r\n"
            "setoption name UCI_ShowCurrLine value true\r\nisready\r\n");
  // One line asked for, one processor in the computer, or the flag off: no command.
  EXPECT_EQ(OptionCommands(engine, {1, 0, true, 1}),
            "setoption name Hash value 1\r\nsetoption name UCI_AnalyseMode value true\r\n"
            "setoption name UCI_ShowCurrLine value true\r\nisready\r\n");

  EngineCapabilities odd;
  odd.Record("MultiPV type spin min 5 max 2");
  odd.Record("Hash type spin min -8 max -9");
  odd.Record("Max CPUs type spin min 3 max 2");
  odd.Record("UCI_AnalyseMode type string default x");
  EXPECT_EQ(odd.multiPVMax, 2);
  EXPECT_EQ(odd.hashMin, 0);
  EXPECT_EQ(odd.hashMax, 16);
  EXPECT_EQ(odd.processorMin, 3);
  EXPECT_FALSE(odd.analyseMode);
  EXPECT_EQ(OptionCommands(odd, {8, 64, true, 2}),
            "setoption name MultiPV value 2\r\nsetoption name Hash value 16\r\nsetoption name Max CPUs value "
            "3\r\nisready\r\n");

  EngineCapabilities longName;
  longName.Record("Maximum " + std::string(100, 'a') + " CPUs type spin min 1 max 4");
  EXPECT_EQ(longName.processorOption.size(), 79u);
}

TEST(ReplyLineAssembly, PiecesJoinCarriageReturnsGoAndLongLinesAreCut) {
  ReplyLines lines;
  std::vector<std::string> seen;
  auto collect = [&](std::string_view line) {
    seen.emplace_back(line);
    return true;
  };
  for (std::string_view piece : {"id na", "me X\r", "\n\r\n   \n  uci", "ok\r\nread"})
    lines.Feed(piece.data(), piece.size(), collect);
  EXPECT_EQ(seen, (std::vector<std::string>{"id name X", "uciok"}));
  EXPECT_EQ(lines.PendingSize(), 4u);

  seen.clear();
  lines.Clear();
  const std::string huge = std::string(9000, 'y') + "\nnext\n";
  lines.Feed(huge.data(), huge.size(), collect);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], std::string(ReplyLines::kCapacity - 1, 'y'));
  EXPECT_EQ(seen[1], "next");

  // A handler that refuses stops the feed.
  seen.clear();
  const std::string two = "a\nb\n";
  EXPECT_FALSE(lines.Feed(two.data(), two.size(), [&](std::string_view line) {
    seen.emplace_back(line);
    return false;
  }));
  EXPECT_EQ(seen.size(), 1u);
}

}  // namespace
}  // namespace varnock

// The live checks in their forked children: the same findings the engine's
// layout rules and the reachability verdict give for the level, the quick
// ones first and the proof with the enemies after, answers for the latest
// revision only, and a level the engine cannot place.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "authoring/LayoutRules.h"
#include "authoring/Reachability.h"
#include "authoring/ReachabilityVerdict.h"
#include "authoring/Replay.h"
#include "game/Game.h"
#include "game/ReplayFile.h"
#include "shell/MediaOverlay.h"
#include "tests/support/FileText.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"
#include "tools/edit/LiveChecks.h"

namespace {

// A floor at row 300, a claimable tile high above it that nothing leads
// to, and a ladder standing in the air.
LevelText brokenLevel() {
  LevelText level;
  for (int x = 0; x < 640; x += 32) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  level.tiles.push_back("400 100 brick brick_clear 1 10");
  level.ladders = {"200 150 64 rungs"};
  return level;
}

LevelData loaded(GameTree& tree, const LevelText& text) {
  tree.writeLevel("level1.inf", text.str());
  LevelData data;
  data.load("level1.inf");
  return data;
}

// Polls as a front end would between frames, for at most 30 s.
bool waitFor(LiveChecks& checks) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < until) {
    if (checks.poll()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

// Polls until the child has given both its answers.
bool waitForProof(LiveChecks& checks) {
  while (checks.running()) {
    if (!waitFor(checks)) return false;
  }
  return true;
}

std::vector<std::string> messagesOf(const std::vector<ReportFinding>& findings) {
  std::vector<std::string> messages;
  for (const ReportFinding& f : findings) messages.push_back(f.message);
  return messages;
}

TEST(EditorChecks, ReportWhatTheEngineFindsWhereItIs) {
  GameTree tree;
  set_config_file("media/pwe.cfg");
  const LevelData level = loaded(tree, brokenLevel());
  // The layout rules as pwe-check runs them, in this process.
  Game game(640, 480, 100);
  game.startLevel("level1.inf");
  game.beginLife();
  std::vector<std::string> expected;
  for (const LayoutFinding& f : LayoutRules(game).check()) expected.push_back(f.message);
  ASSERT_FALSE(expected.empty());
  expected.push_back("claimable tile at 400, 100 cannot be reached from the start position");
  expected.push_back(
      "claimable tile at 400, 100 is a near miss: the highest jump from the floor at row 300 "
      "reaches row 262, 162 px short of it");
  expected.push_back("the level cannot be cleared: 1 claimable tile cannot be reached");

  LiveChecks checks(640, 480, 100);
  checks.start(level, 7);
  EXPECT_TRUE(checks.running());
  ASSERT_TRUE(waitForProof(checks));
  EXPECT_FALSE(checks.running());
  EXPECT_EQ(checks.revision(), 7u);
  EXPECT_EQ(messagesOf(checks.findings()), expected);
  const ReportFinding& tile = checks.findings()[checks.findings().size() - 3];
  EXPECT_EQ(tile.element, LayoutElement::Record);
  EXPECT_EQ(tile.kind, ElementKind::Tile);
  EXPECT_EQ(tile.index, 20);
  EXPECT_TRUE(tile.unreachable);
  EXPECT_FALSE(tile.warning);
  // Shown at the same tile, as the editor shows what cannot be reached.
  const ReportFinding& near = checks.findings()[checks.findings().size() - 2];
  EXPECT_EQ(near.element, LayoutElement::Record);
  EXPECT_EQ(near.kind, ElementKind::Tile);
  EXPECT_EQ(near.index, 20);
  EXPECT_TRUE(near.unreachable);
  EXPECT_TRUE(near.warning);
  const ReportFinding& whole = checks.findings().back();
  EXPECT_EQ(whole.element, LayoutElement::Level);
  EXPECT_EQ(whole.index, -1);
  EXPECT_FALSE(whole.unreachable);
  EXPECT_EQ(checks.errorCount() + checks.warningCount(),
            static_cast<int>(checks.findings().size()));
}

TEST(EditorChecks, AnswerOnlyForTheLatestRevision) {
  GameTree tree;
  set_config_file("media/pwe.cfg");
  const LevelData broken = loaded(tree, brokenLevel());
  const LevelData sound = loaded(tree, LevelText{[] {
    LevelText level;
    for (int x = 0; x < 640; x += 32) {
      level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
    }
    return level;
  }()});
  LiveChecks checks(640, 480, 100);
  checks.start(broken, 1);
  checks.start(sound, 2);  // the first child is killed unanswered
  ASSERT_TRUE(waitForProof(checks));
  EXPECT_EQ(checks.revision(), 2u);
  EXPECT_EQ(messagesOf(checks.findings()), std::vector<std::string>{});
  EXPECT_FALSE(checks.poll());  // nothing more comes
}

TEST(EditorChecks, TellWhyTheEngineCannotPlaceTheLevel) {
  GameTree tree;
  set_config_file("media/pwe.cfg");
  LevelText text = brokenLevel();
  text.items = {"10 10 ruby 5"};
  const LevelData level = loaded(tree, text);
  LiveChecks checks(640, 480, 100);
  checks.start(level, 3);
  ASSERT_TRUE(waitForProof(checks));
  ASSERT_EQ(checks.findings().size(), 1u);
  EXPECT_EQ(checks.findings()[0].message,
            "the engine stops when it places this level: No graphics to correspond with name "
            "ruby");
  EXPECT_EQ(checks.errorCount(), 1);
}

// F7 plays what the checks found: a route that, played by the engine
// from the life's start, clears the level the checks were given; none,
// with the reason, for a level no route clears or the engine cannot place.
TEST(EditorChecks, CarryTheRouteFoundOrWhyThereIsNone) {
  GameTree tree;
  set_config_file("media/pwe.cfg");
  LevelText soundText;
  for (int x = 0; x < 640; x += 32) {
    soundText.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  const LevelData sound = loaded(tree, soundText);
  LiveChecks checks(640, 480, 100);
  checks.start(sound, 1);
  ASSERT_TRUE(waitForProof(checks));
  ASSERT_TRUE(checks.hasRoute()) << checks.noRoute();
  EXPECT_GT(checks.route().tickCount(), 0);
  Game game(640, 480, 100);
  game.level = sound;
  const ReplayOutcome played = playReplay(game, checks.route());
  EXPECT_TRUE(played.cleared) << game.floorManager.tilesLeft() << " tiles left";
  EXPECT_EQ(played.ticks, checks.route().tickCount());

  LevelText unplaceable = brokenLevel();
  unplaceable.items = {"10 10 ruby 5"};
  const struct {
    LevelText text;
    const char* why;  // part of the reason
  } cases[] = {
      {brokenLevel(), "no route clears the level"},
      {unplaceable, "cannot place this level"},
  };
  for (const auto& c : cases) {
    checks.start(loaded(tree, c.text), 2);
    ASSERT_TRUE(waitForProof(checks));
    EXPECT_FALSE(checks.hasRoute()) << c.why;
    EXPECT_NE(checks.noRoute().find(c.why), std::string::npos) << checks.noRoute();
  }
}

LevelText soundFloor() {
  LevelText level;
  for (int x = 0; x < 640; x += 32) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  return level;
}

// The same floor with an enemy patrolling it.
LevelText patrolledFloor() {
  LevelText level = soundFloor();
  level.enemies = {"200 299 1 50 300 1.5 1 0 blob 300 50"};
  return level;
}

// What pwe-check reports for level1.inf: the layout rules, then the whole
// verdict (notes apart), as the live checks list their findings.
struct Verdict {
  std::vector<std::string> messages;
  std::size_t layout = 0;  // of the messages, the layout rules' first ones
  std::string note;
};

Verdict pweCheckVerdict() {
  Verdict verdict;
  Game rules(640, 480, 100);
  rules.startLevel("level1.inf");
  rules.beginLife();
  for (const LayoutFinding& f : LayoutRules(rules).check()) verdict.messages.push_back(f.message);
  verdict.layout = verdict.messages.size();
  Game game(640, 480, 100);
  game.startLevel("level1.inf");
  game.beginLife();
  Reachability search(game);
  search.run();
  for (const LayoutFinding& f : judgeLevel(game, search).findings) {
    if (f.note) {
      verdict.note = f.message;
    } else {
      verdict.messages.push_back(f.message);
    }
  }
  return verdict;
}

// The quick answer is taken in, and can be shown, before the proof's,
// which adds pwe-check's note and the route played with the enemies.
TEST(EditorChecks, AnswerQuicklyThenWithTheProof) {
  GameTree tree;
  set_config_file("media/pwe.cfg");
  const struct {
    const char* name;
    LevelText text;
    bool proven;  // the proof finds a route with the enemies
  } cases[] = {
      {"a floor", soundFloor(), true},
      {"a patrolled floor", patrolledFloor(), true},
      {"a tile out of reach", brokenLevel(), false},
  };
  LiveChecks checks(640, 480, 100);
  unsigned revision = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const LevelData level = loaded(tree, c.text);
    const Verdict expected = pweCheckVerdict();
    EXPECT_EQ(!expected.note.empty(), c.proven);
    checks.start(level, ++revision);
    // The layout rules' findings come first, on their own: the search's
    // seconds never hold them up.
    ASSERT_TRUE(waitFor(checks));
    EXPECT_EQ(checks.revision(), revision);
    EXPECT_TRUE(checks.searching());
    EXPECT_FALSE(checks.proving());
    EXPECT_FALSE(checks.hasRoute());
    const std::vector<std::string> layout(expected.messages.begin(),
                                          expected.messages.begin() + expected.layout);
    EXPECT_EQ(messagesOf(checks.findings()), layout);
    ASSERT_TRUE(waitFor(checks));
    EXPECT_FALSE(checks.searching());
    EXPECT_TRUE(checks.proving());
    EXPECT_TRUE(checks.running());
    EXPECT_EQ(checks.clearedNote(), "");
    EXPECT_TRUE(!checks.hasRoute() || checks.route().enemiesAbsent);
    const std::size_t quick = checks.findings().size();

    ASSERT_TRUE(waitFor(checks));
    EXPECT_FALSE(checks.proving());
    EXPECT_FALSE(checks.running());
    EXPECT_EQ(checks.clearedNote(), expected.note);
    EXPECT_EQ(messagesOf(checks.findings()), expected.messages);
    EXPECT_GE(checks.findings().size(), quick);
    // A note is neither an error nor a warning.
    EXPECT_EQ(checks.errorCount() + checks.warningCount(),
              static_cast<int>(checks.findings().size()));
    EXPECT_FALSE(checks.poll());
    if (!c.proven) continue;
    EXPECT_EQ(checks.warningCount(), 0);
    EXPECT_EQ(checks.errorCount(), 0);
    ASSERT_TRUE(checks.hasRoute()) << checks.noRoute();
    EXPECT_FALSE(checks.route().enemiesAbsent);
    Game game(640, 480, 100);
    game.level = level;
    EXPECT_TRUE(playReplay(game, checks.route()).cleared);
  }
}

// This process's children, as the kernel lists them.
std::vector<int> childProcesses() {
  std::ifstream list("/proc/self/task/" + std::to_string(gettid()) + "/children");
  std::vector<int> pids;
  for (int pid = 0; list >> pid;) pids.push_back(pid);
  return pids;
}

// An edit kills the run of the revision before, whichever answer it was
// at: its proof never comes, and only the new child is left.
TEST(EditorChecks, KillAStaleRunInEitherStage) {
  GameTree tree;
  set_config_file("media/pwe.cfg");
  const LevelData patrolled = loaded(tree, patrolledFloor());
  const LevelData broken = loaded(tree, brokenLevel());
  LiveChecks checks(640, 480, 100);
  for (const bool quickTaken : {false, true}) {
    SCOPED_TRACE(quickTaken ? "proving" : "searching");
    checks.start(patrolled, 1);
    if (quickTaken) {
      ASSERT_TRUE(waitFor(checks));  // the layout rules'
      ASSERT_TRUE(waitFor(checks));  // the search's
      ASSERT_TRUE(checks.proving());
    }
    checks.start(broken, 2);
    EXPECT_FALSE(checks.proving());
    EXPECT_EQ(childProcesses().size(), 1u);
    ASSERT_TRUE(waitForProof(checks));
    EXPECT_EQ(checks.revision(), 2u);
    EXPECT_EQ(checks.clearedNote(), "");
    EXPECT_EQ(checks.findings().back().message,
              "the level cannot be cleared: 1 claimable tile cannot be reached");
    EXPECT_TRUE(childProcesses().empty());
  }
}

// The checks run in a forked child of an editor laid over a set: the child
// keeps the overlay, so a floor of the set's own look is placed and
// cleared, and the route is made for the set's player.inf, not the tree's.
TEST(EditorChecks, TheChildSeesTheLevelsSet) {
  GameTree tree;
  set_config_file("media/pwe.cfg");
  tree.writeSolidPng("set/gfx/static/floor tiles/normal/moss.png", GameTree::tileWidth,
                     GameTree::tileHeight, 40, 200, 90);
  tree.writeText("set/player.inf", readFile("media/player.inf") + "\n");
  LevelText text;
  for (int x = 0; x < 640; x += 32) text.tiles.push_back(std::to_string(x) + " 300 moss brick_clear 1 10");
  layMediaSet(tree.root() + "/set");
  const LevelData level = loaded(tree, text);
  LiveChecks checks(640, 480, 100);
  checks.start(level, 1);
  const bool answered = waitForProof(checks);
  liftMediaSet();
  ASSERT_TRUE(answered);
  EXPECT_EQ(checks.errorCount(), 0) << (checks.findings().empty() ? "" : checks.findings()[0].message);
  ASSERT_TRUE(checks.hasRoute()) << checks.noRoute();
  EXPECT_EQ(checks.route().playerHash, fileHash(tree.root() + "/set/player.inf"));
  EXPECT_NE(checks.route().playerHash, fileHash("media/player.inf"));
}

}  // namespace

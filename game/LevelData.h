#pragma once
// One level file in memory: HUD placement, the player's start and the six
// element lists, read token by token with the stream's formatted-input rules.
#include <iosfwd>
#include <string>
#include <vector>

struct TileSpec {
  int x = 0;                 // left column
  int y = 0;                 // top row
  std::string tile_name;     // normal image
  std::string cleared_name;  // image once claimed
  int claimable = 0;         // 1: must be claimed to clear the level
  int points = 0;            // scored when claimed
};

struct LadderSpec {
  int x = 0;                 // left column
  int y = 0;                 // top row
  int height = 0;            // pixels down from y
  std::string name;          // ladder graphic
};

struct ChuteSpec {
  int x = 0;                 // left column of the top step
  int y = 0;                 // top row
  int height = 0;            // pixels down from y
  int dx = 0;                // horizontal shift per step
  int direction = 0;         // 0 runs down to the left, else to the right
  std::string name;          // step graphic
};

struct EnemySpec {
  int x = 0;                 // horizontal centre
  int y = 0;                 // lowest row covered
  int direction = 0;         // 0 left, 1 right
  int min_x = 0;             // left end of the patrol
  int max_x = 0;             // right end of the patrol
  float speed = 0.0f;        // pixels per patrol step
  int changes = 0;           // non-zero: turns vulnerable on an item pickup
  int state = 0;             // 0 dangerous, 1 vulnerable
  std::string name;          // enemy kind (.nme name)
  int safe_time = 0;         // ticks vulnerable after a pickup
  int points = 0;            // scored when killed
};

struct ItemSpec {
  int x = 0;                 // left column
  int y = 0;                 // top row
  std::string type;          // item image
  int points = 0;            // scored when collected
};

struct TeleporterSpec {
  int x = 0;                 // left column
  int y = 0;                 // top row
  std::string name;          // normal image
  std::string cooldown_name; // image while the cooldown runs
  int number = 0;            // chosen with the digit keys
};

struct LevelData {
  // Each kind's bound (game/ElementKinds.h): a count outside 0 to it
  // rejects the file like an unopenable one.
  static constexpr int maxElementCount = 10000;
  // A number that positions, sizes or scores are computed from beyond this
  // bound, either way, rejects the file too (game/LevelFields.h lists them).
  static constexpr int maxNumber = 1000000;

  int countdown_start = 0;   // countdown at the start of every life
  int countdown_x = 0;       // countdown panel, top-left
  int countdown_y = 0;
  int countdown_align = 0;   // 0 left, 1 right, 2 centred, else hidden
  int score_x = 0;           // score panel, top-left
  int score_y = 0;
  int score_align = 0;       // 0 left, 1 right, 2 centred, else hidden
  int pip_offset = 0;        // gap between score text and pips
  int pip_spacing = 0;       // gap between two pips
  int start_x = 0;           // player start, bottom centre
  int start_y = 0;
  int start_animation = 0;   // player animation at every life start

  int tileCount = 0;
  int ladderCount = 0;
  int chuteCount = 0;
  int enemyCount = 0;
  int itemCount = 0;
  int teleporterCount = 0;

  std::vector<TileSpec> tiles;
  std::vector<LadderSpec> ladders;
  std::vector<ChuteSpec> chutes;
  std::vector<EnemySpec> enemies;
  std::vector<ItemSpec> items;
  std::vector<TeleporterSpec> teleporters;

  // Reads media/<fileName>. 0 when the file was opened, -1 when it could
  // not be (or held an impossible count).
  int load(const std::string& fileName);
  // The same from any stream: 0 when it was read, -1 when the text cannot
  // be a level (an impossible count or number, or a read error). A rejected
  // text changes nothing; fields a short text lacks keep their values.
  int read(std::istream& in);
};

#pragma once
// Input recordings: the key states of every tick of one life through a
// level, with hashes of the level file and player.inf so that a recording
// made for other data is refused with a clear message instead of failing
// as if the engine were broken. The one reader and writer of the format,
// used by the game's --replay, the recorder, the tests, pwe-check --route
// and the editor.
//
// Text format:
//   pwe-replay 1
//   level level1.inf
//   level-hash <16 hex digits, FNV-1a 64 of media/<level>>
//   player-hash <16 hex digits, FNV-1a 64 of media/player.inf>
//   expect-score <score gained in the level>
//   enemies absent      only in a recording made with the enemies taken away
//   keys
//   <ticks> <keys>      one line per run of equal key states
// <keys> is "-" for none, or letters: L left, R right, U up, D down,
// J jump, 1-9 the teleport digits.
#include <cstddef>
#include <istream>
#include <string>
#include <vector>

class Game;

// The keys a replay letter stands for, as bits of one tick's key state.
enum ReplayKey : unsigned {
  replayLeft = 1u,
  replayRight = 2u,
  replayUp = 4u,
  replayDown = 8u,
  replayJump = 16u,
};

// The letters of one tick: the keys of the bits held, then the teleport
// digit when it is 1 to 9; "-" when nothing is held. Empty for a digit
// outside 1 to 9, which the format has no letter for.
std::string replayKeyText(unsigned keys, int digit);

struct ReplayRun {
  int ticks = 0;     // how many ticks these keys are held
  std::string keys;  // "-" or letters as above
};

struct Replay {
  std::string level;           // level file name, e.g. "level1.inf"
  std::string levelHash;       // of media/<level> when recorded
  std::string playerHash;      // of media/player.inf when recorded
  int expectScore = 0;         // score gained in the level
  bool enemiesAbsent = false;  // recorded with the level's enemies taken away
  std::vector<ReplayRun> runs; // key states, tick by tick, run-length coded

  int tickCount() const;
  std::string keysAt(int tick) const;  // keys held in a tick (0-based)
  void append(const std::string& keys);  // one more tick
};

// FNV-1a 64 of a file's bytes as 16 hex digits; empty when unreadable.
std::string fileHash(const std::string& path);
// The same of bytes held in memory (a level not saved yet).
std::string textHash(const std::string& bytes);

bool readReplay(const std::string& path, Replay& out, std::string& error);
// The same of a recording passed as text; name stands for the file in the
// messages.
bool readReplayText(const std::string& text, const std::string& name, Replay& out,
                    std::string& error);
// The recording as the text above; the tools write it through the one
// writer of replaced files (authoring/FileReplace).
std::string replayText(const Replay& replay);

// Holds exactly the keys of one tick in the Game's input record, which from
// then on the Game reads instead of the keyboard and the joystick.
void applyKeys(Game& game, const std::string& keys);
// The record with nothing held, read instead of the devices.
void releaseAllKeys(Game& game);

// Empty when the recording can be played on the media tree in the working
// directory; otherwise why not: its level is none of the sequence's, or
// the level file or player.inf changed since it was made.
std::string replayMismatch(const Replay& replay);

// The life a recording starts from: the level the Game has loaded, begun
// afresh, without its enemies when the recording was made without them.
void beginReplayLife(Game& game, const Replay& replay);

// Hands the recorded keys to a Game one tick at a time. Borrows the
// recording, which must outlive it.
class ReplayFeed {
 public:
  explicit ReplayFeed(const Replay& replay) : replay_(replay) {}
  // Holds the keys of the next tick in the Game's input record; false,
  // with nothing held, once every recorded tick has been handed over.
  bool next(Game& game);
  int handed() const { return handed_; }  // ticks whose keys were handed over

 private:
  const Replay& replay_;
  std::size_t run_ = 0;  // the run the next tick belongs to
  int intoRun_ = 0;      // ticks of it already handed over
  int handed_ = 0;
};

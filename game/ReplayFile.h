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
//   set <folder>        only for a level of a set: the set's folder, absolute,
//                       the rest of the line
//   level-hash <16 hex digits, FNV-1a 64 of media/<level>>
//   player-hash <16 hex digits, FNV-1a 64 of media/player.inf>
//   expect-score <score gained in the level>
//   enemies absent      only in a recording made with the enemies taken away
//   keys
//   <ticks> <keys>      one line per run of equal key states
// <keys> is "-" for none, or letters: L left, R right, U up, D down,
// J jump, then at most one teleporter number: 1-9 as its digit, 10 and
// above (up to Game::lastDigitNumber) as '#' and its decimal digits
// ("R#12"), so that every recording written before the numbers past 9
// reads, and is written, byte for byte as it was.
//
// A file longer than maxReplayBytes is refused by its size before it is
// read; one that fits is read in time linear in its size (under 0.3 s)
// and in memory of twice its size and 40 bytes a line (under 30 MB).
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

// The routes the tools write take a few hundred bytes a level, and
// a route that changed keys every tick of a life would still take less
// than this for over 15 minutes at 100 ticks a second: anything longer is
// no recording.
inline constexpr long maxReplayBytes = 1L << 20;

// The letters of one tick: the keys of the bits held, then the teleporter
// number; "-" when nothing is held. Empty for a number no key chooses
// (below 1, past Game::lastDigitNumber, or the one on Escape's key, which
// ends the game).
std::string replayKeyText(unsigned keys, int digit);

// What the letters of one tick hold.
struct ReplayKeys {
  unsigned bits = 0;  // ReplayKey bits
  int digit = 0;      // the teleporter number chosen, 0 for none
};
// Reads the letters of one tick as replayKeyText writes them (the key
// letters in any order); false, with why, for what the format has no
// meaning for: an unknown letter, the digit 0, a second teleporter number,
// or a number no key chooses.
bool readReplayKeys(const std::string& text, ReplayKeys& out, std::string& why);

struct ReplayRun {
  int ticks = 0;     // how many ticks these keys are held
  std::string keys;  // "-" or letters as above
};

struct Replay {
  std::string level;           // level file name, e.g. "level1.inf"
  std::string set;             // the folder of the set it lay in; empty for the tree's own
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

// false, with why, for a file that is missing, not a regular file, longer
// than maxReplayBytes or not a recording; out is then as it was.
bool readReplay(const std::string& path, Replay& out, std::string& error);
// The same of a recording passed as text; name stands for the file in the
// messages.
bool readReplayText(const std::string& text, const std::string& name, Replay& out,
                    std::string& error);
// The recording as the text above; the tools write it through the one
// writer of replaced files (authoring/FileReplace).
std::string replayText(const Replay& replay);
// Whether a file's text may be replaced by a recording: it is empty or
// starts as every recording does, so that a recording written to a wrong
// name never takes the place of an author's other file.
bool replaceableByRecording(const std::string& text);

// Holds exactly the keys of one tick in the Game's input record, which from
// then on the Game reads instead of the keyboard and the joystick.
void applyKeys(Game& game, const std::string& keys);
// The record with nothing held, read instead of the devices.
void releaseAllKeys(Game& game);

// Names the level a recording is of as the engine reads it now (through
// the set laid over the tree, if any): its file name, its set's folder, and
// the hashes of the level file and player.inf.
void nameRecordedLevel(Replay& replay, const std::string& level);

// Empty when the recording can be played on the media tree in the working
// directory, with the set laid over it if any; otherwise why not: its
// level is none of the tree's four (with no set laid) or no file of the
// set or tree, or the level file or player.inf changed since it was made.
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

// The checks of a level's actors (enemies, items, teleporters) and the
// wording and geometry every record check shares.
#include <allegro.h>

#include <string>

#include "game/Game.h"
#include "tools/check/LevelFileCheck.h"

namespace {

bool zeroOrOne(int value) { return value == 0 || value == 1; }

// The player's teleport keys: teleporter n answers to scan code
// Game::firstDigitCode + n, and the key table ends below KEY_MAX.
const int firstUnreachableNumber = KEY_MAX - Game::firstDigitCode;

}  // namespace

std::string point(int x, int y) { return std::to_string(x) + ", " + std::to_string(y); }

std::string size(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

bool LevelFileCheck::whollyOnScreen(int64_t left, int64_t top, int64_t width,
                                    int64_t height) const {
  return left >= 0 && top >= 0 && left + width <= facts_.screenWidth &&
         top + height <= facts_.screenHeight;
}

bool LevelFileCheck::pointOnScreen(int x, int y) const {
  return x >= 0 && y >= 0 && x < facts_.screenWidth && y < facts_.screenHeight;
}

void LevelFileCheck::checkOnScreen(Position where, const std::string& opening, int64_t x,
                                   int64_t y, int64_t width, int64_t height) {
  if (whollyOnScreen(x, y, width, height)) return;
  report(where, opening + std::to_string(width) + "x" + std::to_string(height) + " at " +
                    std::to_string(x) + ", " + std::to_string(y) + ") is not wholly on the " +
                    screen_ + " screen");
}

// A directory without images was reported once already; its names are not
// reported again for every element.
int LevelFileCheck::lookUp(const NamedImages& set, const std::string& name, Position where) {
  const int index = set.find(name);
  if (index < 0 && !set.names.empty()) {
    std::string message = "no " + set.label + " named '" + name + "'";
    const std::string variant = set.caseVariant(name);
    if (!variant.empty()) message += "; did you mean '" + variant + "'?";
    report(where, message);
  }
  return index;
}

void LevelFileCheck::check(const FieldReads<EnemySpec>& read, int i) {
  const EnemySpec& enemy = read.record;
  if (read.has<&EnemySpec::name>() && !facts_.enemyKinds.empty() &&
      findName(facts_.enemyKinds, enemy.name) < 0) {
    std::string message = "no enemy kind named '" + enemy.name + "' (no " + enemy.name + ".nme)";
    const std::string variant = caseVariantOf(facts_.enemyKinds, enemy.name);
    if (!variant.empty()) message += "; did you mean '" + variant + "'?";
    report(read.at<&EnemySpec::name>(), message);
  }
  if (read.has<&EnemySpec::direction>() && !zeroOrOne(enemy.direction)) {
    report(read.at<&EnemySpec::direction>(), of("direction", ElementKind::Enemy, i) +
                                                 " must be 0 or 1, found " +
                                                 std::to_string(enemy.direction));
  }
  if (read.has<&EnemySpec::state>() && !zeroOrOne(enemy.state)) {
    report(read.at<&EnemySpec::state>(), of("state", ElementKind::Enemy, i) +
                                             " must be 0 or 1, found " +
                                             std::to_string(enemy.state));
  }
  if (read.has<&EnemySpec::x>() && read.has<&EnemySpec::y>() &&
      !pointOnScreen(enemy.x, enemy.y)) {
    report(read.at<&EnemySpec::x>(), label(ElementKind::Enemy, i) + " at (" +
                                         point(enemy.x, enemy.y) + ") is off the " + screen_ +
                                         " screen");
  }
  if (read.has<&EnemySpec::min_x>() && read.has<&EnemySpec::max_x>()) {
    checkPatrol(enemy, read.at<&EnemySpec::min_x>(), i);
  }
}

void LevelFileCheck::checkPatrol(const EnemySpec& enemy, Position where, int i) {
  if (enemy.min_x > enemy.max_x) {
    report(where, "min_x " + std::to_string(enemy.min_x) + " of " + label(ElementKind::Enemy, i) +
                      " is above its max_x " + std::to_string(enemy.max_x));
  } else if (enemy.min_x < 0 || enemy.max_x >= facts_.screenWidth) {
    report(where, "the patrol of " + label(ElementKind::Enemy, i) + " (" +
                      std::to_string(enemy.min_x) + " to " + std::to_string(enemy.max_x) +
                      ") leaves the " + screen_ + " screen");
  }
}

void LevelFileCheck::check(const FieldReads<ItemSpec>& read, int i) {
  const ItemSpec& item = read.record;
  const int image = read.has<&ItemSpec::type>()
                        ? lookUp(facts_.items, item.type, read.at<&ItemSpec::type>())
                        : -1;
  if (read.has<&ItemSpec::x>() && read.has<&ItemSpec::y>() && image >= 0 &&
      facts_.items.widths[image] > 0) {
    checkOnScreen(read.at<&ItemSpec::x>(), label(ElementKind::Item, i) + " ('" + item.type + "', ",
                  item.x, item.y, facts_.items.widths[image], facts_.items.heights[image]);
  }
}

void LevelFileCheck::check(const FieldReads<TeleporterSpec>& read, int i) {
  const TeleporterSpec& teleporter = read.record;
  const int image =
      read.has<&TeleporterSpec::name>()
          ? lookUp(facts_.teleporters, teleporter.name, read.at<&TeleporterSpec::name>())
          : -1;
  if (read.has<&TeleporterSpec::cooldown_name>()) {
    lookUp(facts_.teleporterCooldowns, teleporter.cooldown_name,
           read.at<&TeleporterSpec::cooldown_name>());
  }
  if (read.has<&TeleporterSpec::number>()) {
    checkNumber(teleporter.number, read.at<&TeleporterSpec::number>(), i);
    if (read.has<&TeleporterSpec::name>()) {
      checkShownNumber(facts_.teleporters, teleporter.name, teleporter.number,
                       read.at<&TeleporterSpec::name>(), i);
    }
    if (read.has<&TeleporterSpec::cooldown_name>()) {
      checkShownNumber(facts_.teleporterCooldowns, teleporter.cooldown_name, teleporter.number,
                       read.at<&TeleporterSpec::cooldown_name>(), i);
    }
  }
  if (read.has<&TeleporterSpec::x>() && read.has<&TeleporterSpec::y>() && image >= 0 &&
      facts_.teleporters.widths[image] > 0) {
    checkOnScreen(read.at<&TeleporterSpec::x>(),
                  label(ElementKind::Teleporter, i) + " ('" + teleporter.name + "', ", teleporter.x,
                  teleporter.y, facts_.teleporters.widths[image],
                  facts_.teleporters.heights[image]);
  }
}

// The player reads the number on the pad to choose the key: a look showing
// another number than the teleporter's own sends the player astray.
void LevelFileCheck::checkShownNumber(const NamedImages& set, const std::string& look, int n,
                                      Position where, int i) {
  const int shown = set.shownNumber(look);
  if (shown < 0 || shown == n) return;
  std::string message = label(ElementKind::Teleporter, i) + " ('" + look + "') shows the number " +
                        std::to_string(shown) + ", not its own number " + std::to_string(n);
  const std::string own = set.lookShowing(look, n);
  if (!own.empty()) message += "; did you mean '" + own + "'?";
  warn(where, message);
}

// A teleporter past 9 answers to a key that is no digit: one a control
// uses does both, and the player walks into a teleport. (pwe.cfg's own
// check names the digits 1 to 9.)
void LevelFileCheck::checkControlClash(int n, Position where) {
  if (n <= 9) return;
  const int code = Game::firstDigitCode + n;
  for (const auto& [control, controlCode] : facts_.controls) {
    if (controlCode != code) continue;
    warn(where, "teleporter number " + std::to_string(n) + " answers to key scan code " +
                    std::to_string(code) + ", the key for " + control +
                    ": that key does both");
  }
}

void LevelFileCheck::checkNumber(int n, Position where, int i) {
  const std::string number = "teleporter number " + std::to_string(n);
  const int count = teleporterCount_;
  // A teleporter no key reaches plays as one to leave by, never to arrive
  // at: an author may mean it.
  if (n < 1 || n > count) {
    warn(where, number + " cannot be reached: on a level with " + std::to_string(count) +
                    " teleporter" + (count == 1 ? "" : "s") + " the keys reach 1 to " +
                    std::to_string(count));
  } else if (n >= firstUnreachableNumber) {
    warn(where, number + " cannot be reached: it would need key scan code " +
                    std::to_string(Game::firstDigitCode + n) + ", and the codes end at " +
                    std::to_string(KEY_MAX - 1));
  } else if (Game::firstDigitCode + n == KEY_ESC) {
    warn(where, number + " answers to the Escape key, which ends the game instead");
  } else {
    checkControlClash(n, where);
  }
  const auto first = numbers_.find(n);
  if (first != numbers_.end()) {
    report(where, number + " of " + label(ElementKind::Teleporter, i) + " repeats that of " +
                      label(ElementKind::Teleporter, first->second.first) + " (at " +
                      at(first->second.second) + "): only the first is ever a destination");
  } else {
    numbers_[n] = {i, where};
  }
}

// The enemy kinds (.nme) and the animations (.anm) they and player.inf
// name, checked by the formats' one description as the engine loads them.
#include <string>

#include "actors/EnemyKindFormat.h"
#include "game/ElementKinds.h"
#include "graphics/AnimationFormat.h"
#include "graphics/FileSearch.h"
#include "shell/MediaPaths.h"
#include "shell/Utf8.h"
#include "tools/check/MediaChecker.h"
#include "tools/check/TokenReader.h"

void MediaChecker::checkEnemyKinds() {
  const std::string dir = kindFacts(ElementKind::Enemy).looksFolder;
  // The tree's kinds and the set's, as the engine finds them.
  std::vector<std::string> files =
      findMediaFiles(mediaDir + dir, EnemyKindFormat::filePattern(), root_);
  if (files.empty()) {
    out_.report(pathOf(dir.substr(0, dir.size() - 1)),
                "no .nme enemy definitions: the engine needs at least one");
    return;
  }
  for (const std::string& fileName : files) {
    facts_.enemyKinds.push_back(EnemyKindFormat::kindName(fileName));
    checkEnemyKind(dir, fileName);
  }
}

void MediaChecker::checkEnemyKind(const std::string& dir, const std::string& fileName) {
  TextFile text;
  if (!text.read(pathOf(dir + fileName))) {
    out_.report(pathOf(dir + fileName), text.problem());
    return;
  }
  TokenReader reader(text, out_, NumberRule::WholeToken);
  reader.setEndNote(" (an enemy definition names four animations)");
  constexpr int count = EnemyKindFormat::animationCount;
  std::string names[count];
  Position at[count];
  bool complete = true;
  for (int i = 0; i < count; ++i) {
    complete = reader.readWord(names[i], EnemyKindFormat::roles[i]) && complete;
    at[i] = reader.lastPosition();
  }
  // The engine refuses a short definition before it loads any animation.
  if (!complete) return;
  for (int i = 0; i < count; ++i) checkAnimation(dir, names[i], text.path(), at[i]);
}

bool MediaChecker::checkAnimation(const std::string& baseDirectory, const std::string& name,
                                  const std::string& namedIn, Position namedAt) {
  // Each file where the engine reads it: the set's own, else the tree's.
  const std::string file = pathOf(baseDirectory + name + ".anm");
  auto known = animations_.find(file);
  if (known != animations_.end()) return known->second;
  TextFile text;
  if (!text.read(file)) {
    // A missing description is the naming file's mistake, reported where it
    // is named; one that cannot be read is the file's own.
    if (text.missing()) {
      out_.report(namedIn, namedAt, "no animation '" + name + "': " + file + " is missing");
    } else {
      out_.report(file, text.problem());
      animations_[file] = false;
    }
    return false;
  }
  TokenReader reader(text, out_, NumberRule::WholeToken);
  AnimationHead head;
  bool ok = readAnimationHead(reader, file, head);
  if (ok) {
    ok = checkFrames(baseDirectory, file, head);
    ok = checkDurations(reader, head) && ok;
  }
  animations_[file] = ok;
  return ok;
}

bool MediaChecker::readAnimationHead(TokenReader& reader, const std::string& file,
                                     AnimationHead& head) {
  bool ok = reader.readWord(head.directory, AnimationFormat::directoryWhat);
  head.directoryAt = reader.lastPosition();
  ok = ok && reader.readInt(head.count, AnimationFormat::countWhat);
  head.countAt = reader.lastPosition();
  if (ok && !AnimationFormat::countAllowed(head.count)) {
    out_.report(file, head.countAt, AnimationFormat::countProblem(std::to_string(head.count)));
    return false;
  }
  if (ok && !wellFormedUtf8(head.directory)) {
    out_.report(file, head.directoryAt, "the frame directory is not UTF-8 text: the engine stops");
    return false;
  }
  return ok;
}

// Missing frames are reported in runs, so a count that is far too high
// gives one line rather than hundreds.
bool MediaChecker::checkFrames(const std::string& baseDirectory, const std::string& file,
                               const AnimationHead& head) {
  auto framePath = [&](int i) {
    return pathOf(AnimationFormat::framePath(baseDirectory, head.directory, i));
  };
  bool ok = true;
  int missingFrom = -1;
  auto endMissingRun = [&](int next) {
    if (missingFrom < 0) return;
    if (missingFrom == next - 1) {
      out_.report(file, head.directoryAt,
                  "frame " + std::to_string(missingFrom) +
                      " is missing: " + framePath(missingFrom));
    } else {
      out_.report(file, head.directoryAt,
                  "frames " + std::to_string(missingFrom) + " to " + std::to_string(next - 1) +
                      " are missing: " + framePath(missingFrom) + " to " + framePath(next - 1));
    }
    missingFrom = -1;
  };
  for (int i = 0; i < head.count; ++i) {
    if (!fileExists(framePath(i))) {
      if (missingFrom < 0) missingFrom = i;
      ok = false;
      continue;
    }
    endMissingRun(i);
    int width = 0;
    int height = 0;
    if (!checkImage(framePath(i), ImageUse::Alpha, width, height)) ok = false;
  }
  endMissingRun(head.count);
  return ok;
}

bool MediaChecker::checkDurations(TokenReader& reader, const AnimationHead& head) {
  reader.setEndNote(" (the frame count at " + std::to_string(head.countAt.line) + ":" +
                    std::to_string(head.countAt.column) + " is " + std::to_string(head.count) +
                    ")");
  bool ok = true;
  for (int i = 0; i < head.count; ++i) {
    int duration = 0;
    if (!reader.readInt(duration, AnimationFormat::durationWhat(i))) ok = false;
    if (reader.ended()) break;
  }
  reader.reportTrailing("the last duration");
  return ok;
}

#include "graphics/AnimationFormat.h"

std::string AnimationFormat::durationWhat(int frame) {
  return "the duration of frame " + std::to_string(frame);
}

std::string AnimationFormat::countProblem(const std::string& count) {
  return "frame count " + count + " is not between " + std::to_string(minFrames) + " and " +
         std::to_string(maxFrames);
}

std::string AnimationFormat::framePath(const std::string& baseDirectory,
                                       const std::string& directory, int frame) {
  return baseDirectory + directory + "/" + std::to_string(frame) + ".png";
}

#include "graphics/ImageSet.h"

#include "graphics/FileSearch.h"
#include "graphics/ImageFile.h"
#include "shell/Fatal.h"
#include "shell/Log.h"
#include "shell/MediaOverlay.h"
#include "shell/MediaPaths.h"

const ImageSetTexts floorTileTexts = {
    "Locating floor tile images.",
    "%d floor tile images located.",
    "No floor tile graphics located!",
    "No floor graphics located. Exiting.",
    "Loading floor tile images.",
    "Floor tile image %d loaded.",
    "All floor tile images successfully loaded",
    false,
    false,
};

const ImageSetTexts clearedFloorTileTexts = {
    "Locating cleared floor tile images.",
    "%d cleared floor tiles located.",
    "No cleared floor graphics located!",
    "No item cleared floor located. Exiting.",
    "Loading cleared floor tile images.",
    "Cleared floor tile image %d loaded.",
    "All cleared floor tile images successfully loaded.",
    false,
    false,
};

const ImageSetTexts ladderTexts = {
    "Locating ladder images.",
    "%d ladder images located.",
    "No ladder graphics located!",
    "No ladder graphics located. Exiting.",
    "Loading ladder images.",
    "Ladder image %d loaded.",
    "All ladder images successfully loaded.",
    false,
    false,
};

const ImageSetTexts chuteTexts = {
    "Locating chute images.",
    "%d chute images located.",
    "No chute graphics located!",
    "No chute graphics located. Exiting.",
    "Loading chute images.",
    "Chute image %d loaded.",
    "All chute images successfully loaded.",
    false,
    false,
};

const ImageSetTexts itemTexts = {
    "Locating item images.",
    "%d item images located.",
    "No item graphics located!",
    "No item graphics located. Exiting.",
    "Loading item images.",
    "Item image %d loaded.",
    "All item images successfully loaded.",
    false,
    false,
};

const ImageSetTexts teleporterTexts = {
    "Locating teleporter images.",
    "%d teleporter images located.",
    "No teleporter graphics located!",
    "No teleporter graphics located. Exiting.",
    "Loading teleporter images.",
    "Teleporter image %d loaded.",
    "All teleporter images successfully loaded.",
    true,
    false,
};

const ImageSetTexts teleporterCooldownTexts = {
    "Locating teleporter cooldown images.",
    "%d teleporter cooldown images located.",
    "No teleporter cooldown graphics located!",
    "No teleporter cooldown graphics located. Exiting.",
    "Loading teleporter cooldown images.",
    "Teleporter cooldown image %d loaded.",
    "All teleporter cooldown images successfully loaded.",
    true,
    true,
};

namespace {

// Names are cut by length, not at a dot: "big.tile.png" keeps "big.tile".
std::string imageNameOf(const std::string& fileName) {
  return fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4) : std::string();
}

}  // namespace

void ImageSet::load(const std::string& directory, const ImageSetTexts& texts) {
  search(directory, texts);
  loadImages();
}

void ImageSet::search(const std::string& directory, const ImageSetTexts& texts) {
  directory_ = directory;
  texts_ = &texts;
  log_message("%s", texts.locating);
  fileNames_ = findMediaFiles(std::string(staticGfxDir) + directory, "*.png");
  if (fileNames_.empty()) dataFailure(texts.none, texts.noneExiting);
  if (texts.logFound) {
    for (const std::string& name : fileNames_) log_message("Found %s", name.c_str());
  }
  // The kind's texts are formats taking exactly one int.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  log_message(texts.located, static_cast<int>(fileNames_.size()));
#pragma GCC diagnostic pop
}

void ImageSet::loadImages() {
  if (texts_ == nullptr) return;  // nothing was searched for
  const ImageSetTexts& texts = *texts_;
  images_.clear();
  imageNames_.clear();
  images_.reserve(fileNames_.size());
  imageNames_.reserve(fileNames_.size());
  log_message("%s", texts.loading);
  for (size_t i = 0; i < fileNames_.size(); ++i) {
    std::string path = mediaPath(std::string(staticGfxDir) + directory_ + fileNames_[i]);
    if (texts.logLoadingPath) log_message("Loading %s", path.c_str());
    BITMAP* bitmap = loadImageFile(path);
    if (bitmap == nullptr) {
      dataFailure(formatText("Error loading \"%s\".", path.c_str()),
                  formatText("Error loading \"%s\". Exiting.", path.c_str()));
    }
    images_.emplace_back(bitmap);
    imageNames_.push_back(imageNameOf(fileNames_[i]));
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    log_message(texts.imageLoaded, static_cast<int>(i));
#pragma GCC diagnostic pop
  }
  log_message("%s", texts.allLoaded);
}

int ImageSet::find(const std::string& name) const {
  for (size_t i = 0; i < imageNames_.size(); ++i) {
    if (imageNames_[i] == name) return static_cast<int>(i);
  }
  return -1;
}

#pragma once
// Every PNG in one directory below media/gfx/static/, found by name (the
// file name less its last four characters).
#include <allegro.h>

#include <string>
#include <vector>

#include "graphics/Resources.h"

// The log and message texts of one kind of image set.
struct ImageSetTexts {
  const char* locating;      // logged before the search
  const char* located;       // "%d ... located." with the count
  const char* none;          // message box when nothing matches
  const char* noneExiting;   // log line when nothing matches
  const char* loading;       // logged before the images load
  const char* imageLoaded;   // "... %d loaded." with the index
  const char* allLoaded;     // logged after the last image
  bool logFound;             // log "Found %s" for each match (teleporters)
  bool logLoadingPath;       // log "Loading %s" with each path (teleporter cooldown)
};

extern const ImageSetTexts floorTileTexts;
extern const ImageSetTexts clearedFloorTileTexts;
extern const ImageSetTexts ladderTexts;
extern const ImageSetTexts chuteTexts;
extern const ImageSetTexts itemTexts;
extern const ImageSetTexts teleporterTexts;
extern const ImageSetTexts teleporterCooldownTexts;

class ImageSet {
 public:
  // Search and load in one go; ends the program on failure.
  void load(const std::string& directory, const ImageSetTexts& texts);
  // The two halves, for managers that search all their directories first.
  void search(const std::string& directory, const ImageSetTexts& texts);
  void loadImages();

  int find(const std::string& name) const;  // index or -1; case counts
  int imageCount() const { return static_cast<int>(images_.size()); }
  BITMAP* image(int index) const { return images_[index].get(); }
  const std::string& imageName(int index) const { return imageNames_[index]; }

 private:
  std::string directory_;              // below media/gfx/static/, with trailing slash
  const ImageSetTexts* texts_ = nullptr;
  std::vector<std::string> fileNames_; // matches of the search, in order
  std::vector<BitmapPtr> images_;      // the loaded images, owned
  std::vector<std::string> imageNames_;// file name less its last four characters
};

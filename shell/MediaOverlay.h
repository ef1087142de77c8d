#pragma once
// A level set laid over the media tree. While one is laid, a file of the
// tree that the set's folder also holds at the same place is read from the
// set, and an image folder lists the files of both; whatever the set lacks
// comes from media/ of the working directory, as it always does without a
// set. Every loader of the engine asks here where its file is.
#include <string>

// directory: the set's folder as an absolute path, since the programs
// change their working directory to the base tree's. Replaces any set laid
// before.
void layMediaSet(const std::string& directory);
// Back to media/ alone.
void liftMediaSet();
// The set's folder, or empty when none is laid.
const std::string& mediaSetDirectory();

// Where the engine reads the file it names by its place in the tree
// ("media/gfx/static/back.png"): the set's own file when something stands
// at that place in the set (a damaged or special file is then refused at
// the set's path, never passed over for the base's), else path itself.
std::string mediaPath(const std::string& path);

// How a refusal names the file of the tree at path, which the tree's own
// messages call name: so when the tree's file was read, and by the set's
// whole path when the set's was, so that the user sees which was refused.
std::string refusedName(const std::string& path, const std::string& name);

// The set's file at the place path names, whether or not it is there;
// empty when no set is laid or path is not below media/.
std::string setPathOf(const std::string& path);

// Whether the laid set has something standing at the place path names:
// the one rule by which mediaPath chooses the set's file over the tree's.
bool setHolds(const std::string& path);

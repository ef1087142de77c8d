#pragma once
// The bare names of everything matching a pattern (al_findfirst with any
// attribute), in the order the search reports them.
#include <string>
#include <vector>

std::vector<std::string> findFiles(const std::string& pattern);

// The same in a folder of the media tree ("media/gfx/static/items/"), with
// a level set laid over it (shell/MediaOverlay.h): the tree's names, then
// those only the set has, so that a folder is the union of both and a
// name the two share is listed once (and read from the set).
std::vector<std::string> findMediaFiles(const std::string& directory, const std::string& pattern);
// The same for a tool that reads the tree where it stands, without entering
// it: tree is the media folder as the tool reaches it ("levels", "/x/media").
std::vector<std::string> findMediaFiles(const std::string& directory, const std::string& pattern,
                                        const std::string& tree);

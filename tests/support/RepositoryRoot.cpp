#include "tests/support/RepositoryRoot.h"

#include <allegro.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/support/Headless.h"

bool enterRepositoryRoot() {
  const char* root = std::getenv("PWE_SOURCE_DIR");
  if (root == nullptr || chdir(root) != 0) {
    ADD_FAILURE() << "PWE_SOURCE_DIR must name the repository root";
    return false;
  }
  ensureHeadlessAllegro();
  set_config_file("media/pwe.cfg");
  return true;
}

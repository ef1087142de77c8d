// The session's zoom: the window a scale larger or smaller, the dialogs'
// font and boxes with it.
#include <string>

#include "tools/edit/EditorDialogs.h"
#include "tools/edit/EditorSession.h"
#include "tools/edit/EditorWindow.h"

void EditorSession::zoomBy(int step) {
  const int wanted = window_.zoom() + step;
  if (wanted < 1) {
    notice("Zoom 1, one screen pixel a level pixel: the smallest");
    return;
  }
  const std::string why = window_.setZoom(wanted);
  setDialogZoom(window_.zoom());
  title_.clear();  // named again on the new window
  const std::string zoom = "Zoom " + std::to_string(window_.zoom());
  notice(why.empty() ? zoom : zoom + " stays: " + why);
}

#include "tools/edit/EditorSession.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>

#include "game/Game.h"
#include "shell/CloseButton.h"
#include "tools/edit/EditorDialogs.h"
#include "tools/edit/EditorHelp.h"
#include "tools/edit/EditorOverlay.h"
#include "tools/edit/TeleporterNumbers.h"
#include "tools/edit/EditorWindow.h"
#include "tools/edit/FieldForm.h"
#include "tools/edit/LevelEditor.h"
#include "tools/edit/LiveChecks.h"
#include "tools/edit/LookCatalog.h"
#include "tools/edit/PatrolMarks.h"
#include "tools/edit/ToolStrip.h"

namespace {

constexpr int noticeMilliseconds = 4000;
// Long enough to read the route's par and moments scrolling by.
constexpr int routeNoticeMilliseconds = 12000;
constexpr int frameRest = 10;  // milliseconds between frames while idle

// "12.34 s" of a count of ticks at the tree's tick rate.
std::string seconds(int ticks, int ticksPerSecond) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", ticks / static_cast<double>(ticksPerSecond));
  return text;
}

const char* endText(PlaytestOutcome::End end) {
  switch (end) {
    case PlaytestOutcome::Cleared: return "level cleared";
    case PlaytestOutcome::LifeLost: return "life lost";
    case PlaytestOutcome::Closed: return "window closed";
    case PlaytestOutcome::KeysRanOut: return "the route's keys ran out";
    default: return "left with Escape";
  }
}

}  // namespace

EditorSession::EditorSession(Game& game, const LookCatalog& looks, LevelEditor& editor,
                             LiveChecks& checks, EditorWindow& window)
    : game_(game), looks_(looks), editor_(editor), checks_(checks), window_(window),
      strip_(layOutToolStrip(game.width, EditorWindow::stripWidth, game.height)) {}

void EditorSession::run() {
  clearKeys();
  watchKeyPresses();
  watchMousePresses();
  while (!done_) {
    keepForSignals();
    readKeys();
    readMouse();
    const std::string refused = editor_.takeRefusal();
    if (!refused.empty()) notice(refused);
    const std::string note = editor_.takeNote();
    if (!note.empty()) notice(note);
    keepForSignals();
    if (closeRequested()) {
      setCloseRequested(false);
      leave();
    }
    followChecks();
    autosave();
    updateTitle();
    draw();
    rest(frameRest);
  }
}

void EditorSession::readKeys() {
  while (keypressed() && !done_) {
    const int code = readkey();
    const KeyCommand key =
        withSelection(commandForKey(code, modifiersAtPress(code)), !editor_.selection().empty());
    if (!keyForPanels(key)) command(key);
  }
}

// The help covers the map: F1 turns its page (closing it after the last),
// any other key closes it and does nothing else. Escape closes the palette.
bool EditorSession::keyForPanels(const KeyCommand& key) {
  if (helpPage_ >= 0) {
    helpPage_ = key.command == EditorCommand::ShowHelp ? helpPage_ + 1 : -1;
    return true;
  }
  if (paletteShown_ && key.command == EditorCommand::Leave) {
    paletteShown_ = false;
    return true;
  }
  return false;
}

// A press closes the help; a press on the palette's thumbnail chooses its
// look and closes the palette. Neither reaches the map.
bool EditorSession::mouseForPanels(const MouseSample& sample) {
  const int pressed = (sample.buttons | sample.pressed) & ~mouseButtons_;
  mouseButtons_ = sample.buttons;
  if (helpPage_ >= 0) {
    if (pressed != 0) helpPage_ = -1;
    return true;
  }
  if (strip_.panel.contains(sample.x, sample.y)) {
    if ((pressed & 1) != 0) chooseFromStrip(strip_, sample.x, sample.y, editor_);
    return true;
  }
  if (!paletteShown_) return false;
  layOutPalette();
  if (!palette_.panel.contains(sample.x, sample.y)) return false;
  if ((pressed & 1) != 0 && choosePaletteLook(palette_, sample.x, sample.y, editor_)) {
    paletteShown_ = false;
  }
  return true;
}

void EditorSession::layOutPalette() {
  palette_ = placePalette(looks_.count(editor_.tool()), game_.width, game_.height,
                          paletteClearance(editor_, mouseX_, mouseY_), mouseX_, mouseY_,
                          palette_);
}

void EditorSession::readMouse() {
  // Polling once would switch Allegro to polling for good, and a click
  // between two polls would never be reported.
  if (mouse_needs_poll()) poll_mouse();
  MouseSample sample;
  sample.x = window_.toCanvas(mouse_x);
  sample.y = window_.toCanvas(mouse_y);
  sample.buttons = mouse_b;
  sample.pressed = takeMousePresses();
  sample.wheel = mouse_z;
  sample.shift = (key_shifts & KB_SHIFT_FLAG) != 0;
  sample.ctrl = (key_shifts & KB_CTRL_FLAG) != 0;
  sample.time = milliseconds();
  sample.afterDialog = takeDialogEnded();
  mouseX_ = sample.x;
  mouseY_ = sample.y;
  if (sample.ctrl && sample.wheel != wheel_) zoomBy(sample.wheel > wheel_ ? 1 : -1);
  wheel_ = sample.wheel;
  const bool onPanel = mouseForPanels(sample);
  MouseRequest request = MouseRequest::None;
  gestures_.update(sample, window_.inLevel(sample.x, sample.y) && !onPanel, editor_, request);
  if (request == MouseRequest::Properties) elementProperties();
}

void EditorSession::command(const KeyCommand& key) {
  switch (key.command) {
    case EditorCommand::ChooseTool: editor_.setTool(key.tool); break;
    case EditorCommand::PreviousLook: editor_.cycleLook(-1); break;
    case EditorCommand::NextLook: editor_.cycleLook(1); break;
    case EditorCommand::ShowPalette:
      paletteShown_ = !paletteShown_;
      palette_ = PaletteLayout{};
      break;
    case EditorCommand::ToggleSnap: editor_.setSnapping(!editor_.snapping()); break;
    case EditorCommand::ToggleGrid: gridShown_ = !gridShown_; break;
    case EditorCommand::Undo: undo(); break;
    case EditorCommand::Redo: redo(); break;
    case EditorCommand::NewLevel: newLevel(); break;
    case EditorCommand::OpenLevel: openLevel(); break;
    case EditorCommand::Save: save(); break;
    case EditorCommand::SaveAs: saveAs(); break;
    case EditorCommand::ZoomIn: zoomBy(1); break;
    case EditorCommand::ZoomOut: zoomBy(-1); break;
    case EditorCommand::PreviousSetLevel: openSetLevel(-1); break;
    case EditorCommand::NextSetLevel: openSetLevel(1); break;
    case EditorCommand::ShowHelp: helpPage_ = 0; break;
    case EditorCommand::ElementProperties: elementProperties(); break;
    case EditorCommand::LevelProperties: levelProperties(); break;
    case EditorCommand::NextMessage:
      messages_.next();
      noticeUntil_ = 0;
      break;
    case EditorCommand::Playtest: playtest(false); break;
    case EditorCommand::PlaytestFromCursor: playtest(true); break;
    case EditorCommand::PlayRoute: askForRoute(); break;
    case EditorCommand::Leave: leave(); break;
    case EditorCommand::None: break;
    default: groupCommand(key); break;
  }
}

// A change starts a new run (the model kills one still going); each
// answer of a run replaces the messages, the proof's adding its note.
void EditorSession::followChecks() {
  if (editor_.revision() != checkedRevision_) {
    checkedRevision_ = editor_.revision();
    checks_.start(editor_.level(), checkedRevision_);
  }
  if (checks_.poll()) {
    // The findings are of the level as it was when they were asked for;
    // a row of them alike is one message however they were found.
    groups_ = groupFindings(checks_.findings(), editor_.level());
    messages_.setMessages(cycledMessages(groups_, checks_.clearedNote()));
  }
  playRouteWhenFound();
}

void EditorSession::draw() {
  window_.drawLevel();
  BITMAP* view = window_.levelView();
  const bool current = checks_.revision() == editor_.revision();
  const int shown = messages_.current();
  static const std::vector<int> none;
  const std::vector<int>& highlighted =
      current && shown >= 0 && shown < static_cast<int>(groups_.size()) ? groups_[shown].findings
                                                                         : none;
  if (gridShown_) drawGrid(view, editor_);
  drawMarks(view, checks_.findings(), highlighted, editor_, game_);
  drawTeleporterNumbers(view, editor_);
  drawPatrolMarks(view, editor_);
  if (pathRevision_ == editor_.revision()) {
    drawPath(view, path_);
    drawRouteMarks(view, routeMarks_);
  }
  drawSelection(view, editor_);
  const bool onPalette = paletteShown_ && palette_.panel.contains(mouseX_, mouseY_);
  if (window_.inLevel(mouseX_, mouseY_) && !onPalette) drawCursor(view, editor_, mouseX_, mouseY_);
  drawToolStrip(window_.canvas(), strip_, looks_, editor_);
  if (paletteShown_) {
    layOutPalette();
    drawPalette(view, palette_, looks_, editor_, mouseX_, mouseY_);
    if (onPalette) drawCross(view, mouseX_, mouseY_);
  }

  StatusFacts facts;
  facts.inLevel = window_.inLevel(mouseX_, mouseY_);
  facts.x = mouseX_;
  facts.y = mouseY_;
  facts.tool = editor_.selecting() ? "select" : toolName(editor_.tool());
  facts.look = editor_.selecting() ? selectionLook() : editor_.lookName();
  facts.snapping = editor_.snapping();
  facts.file = fileLabel();
  facts.modified = editor_.modified();
  facts.checking = !current || checks_.searching();
  facts.proving = checks_.proving();
  facts.errors = checks_.errorCount();
  facts.warnings = checks_.warningCount();
  std::string second = messages_.line();
  if (!editor_.autosaveError().empty()) second = "Autosave failed: " + editor_.autosaveError();
  if (milliseconds() < noticeUntil_) second = notice_;
  if (!editor_.placementError().empty()) second = editor_.placementError();
  if (routeAsked_) {
    second = checks_.proving() ? "Finding a route with the enemies..." : "Finding a route...";
  }
  if (second.empty() && facts.checking) second = "Checking the level...";
  if (second.empty()) {
    second = "No problems found. F1 keys, F5 play-test, F7 route, L level fields, Enter properties";
  }
  const std::vector<std::string> factLines = wrapText(statusLine(facts), window_.statusTextWidth());
  const int rows = std::max(1, EditorWindow::statusLines - static_cast<int>(factLines.size()));
  window_.drawStatus(factLines,
                     visibleLines(wrapText(second, window_.statusTextWidth()), rows, milliseconds()));
  if (helpPage_ >= 0 && drawHelp(window_.canvas(), helpPage_) <= helpPage_) helpPage_ = -1;
  window_.present();
}

// Several elements selected open together; else the one under the cursor.
void EditorSession::elementProperties() {
  const Selection& selection = editor_.selection();
  if (selection.size() > 1) {
    FieldForm form = FieldForm::forElements(editor_.level(), selection.refs(), looks_);
    if (form.fieldCount() == 0) {
      notice("Select elements of one kind to edit them together");
      return;
    }
    LevelData edited = editor_.level();
    if (editForm(form) && form.applyTo(edited)) {
      editor_.replaceLevel(edited, groupName("edit", selection));
    }
    return;
  }
  const ElementRef element = editor_.elementAt(mouseX_, mouseY_);
  if (!element.valid()) {
    notice("Nothing under the cursor to open");
    return;
  }
  FieldForm form = FieldForm::forElement(editor_.level(), element, looks_);
  LevelData edited = editor_.level();
  if (editForm(form) && form.applyTo(edited)) editor_.replaceLevel(edited);
}

void EditorSession::levelProperties() {
  FieldForm form = FieldForm::forLevel(editor_.level(), looks_);
  LevelData edited = editor_.level();
  if (editForm(form) && form.applyTo(edited)) editor_.replaceLevel(edited);
}

void EditorSession::playtest(bool fromCursor) {
  if (!editor_.placementError().empty()) {
    tell("This level cannot be played:", editor_.placementError());
    return;
  }
  const bool atCursor = fromCursor && window_.inLevel(mouseX_, mouseY_);
  const LevelData level =
      atCursor ? startingAt(editor_.level(), mouseX_, mouseY_) : editor_.level();
  window_.drawStatus({"Play-test: Escape returns to the editor"}, {});
  window_.present();
  const PlaytestOutcome outcome = playTest(game_, window_, level);
  afterPlay(outcome, "Play-test");
}

void EditorSession::askForRoute() {
  if (!editor_.placementError().empty()) {
    tell("This level cannot be played:", editor_.placementError());
    return;
  }
  routeAsked_ = true;
  playRouteWhenFound();
}

// The checks of the revision on show carry its route, the one played with
// the enemies once their proof has found it, so F7 waits for the proof;
// an edit meanwhile starts new checks, and the route waits for those.
void EditorSession::playRouteWhenFound() {
  if (!routeAsked_ || checks_.running() || checks_.revision() != editor_.revision()) return;
  routeAsked_ = false;
  if (!checks_.hasRoute()) {
    const std::string why = checks_.noRoute();
    notice("No route to play: " + (why.empty() ? std::string("the search found none") : why));
    return;
  }
  window_.drawStatus({"Route: Escape returns to the editor"}, {});
  window_.present();
  const Replay route = checks_.route();
  const PlaytestOutcome outcome = playTest(game_, window_, editor_.level(), &route);
  afterPlay(outcome, "Route");
  // The proof's moments are of this route: its marks go with its path.
  routeMarks_ = routeMarks(checks_.moments());
  const std::string moments = routeMomentsLine(checks_.clearedTicks(), checks_.parTicks(),
                                               checks_.moments(), game_);
  if (outcome.end != PlaytestOutcome::Closed && !moments.empty()) {
    notice(notice_ + "; " + moments, routeNoticeMilliseconds);
  }
}

void EditorSession::afterPlay(const PlaytestOutcome& outcome, const char* what) {
  editor_.restoreGame();
  path_ = outcome.path;
  pathRevision_ = editor_.revision();
  routeMarks_.clear();
  notice(std::string(what) + ": " + endText(outcome.end) + " after " +
         seconds(outcome.ticks, game_.updatesPerSecond));
  if (outcome.end == PlaytestOutcome::Closed) {
    setCloseRequested(false);
    leave();
  }
}

void EditorSession::undo() {
  const std::string what = editor_.undoName();
  notice(editor_.undo() ? "Undid: " + what : "Nothing to undo");
}

void EditorSession::redo() {
  const std::string what = editor_.redoName();
  notice(editor_.redo() ? "Redid: " + what : "Nothing to redo");
}

void EditorSession::notice(const std::string& text) { notice(text, noticeMilliseconds); }

void EditorSession::notice(const std::string& text, int lastsMilliseconds) {
  notice_ = text;
  noticeUntil_ = milliseconds() + lastsMilliseconds;
}

int EditorSession::milliseconds() const {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - started_)
                              .count());
}

#include "tools/edit/EditorKeys.h"

#include <allegro.h>

#include <cctype>
#include <string>

namespace {

using C = EditorCommand;
using S = ShiftState;

KeyBinding byCharacter(const char* chord, int character, S shift, C command, const char* help) {
  KeyBinding b{chord, help, command};
  b.character = character;
  b.shift = shift;
  return b;
}

KeyBinding byScan(const char* chord, int scan, S shift, C command, const char* help) {
  KeyBinding b{chord, help, command};
  b.scan = scan;
  b.shift = shift;
  return b;
}

KeyBinding control(const char* chord, int letter, S shift, C command, const char* help) {
  KeyBinding b = byCharacter(chord, letter, shift, command, help);
  b.ctrl = true;
  return b;
}

KeyBinding mouse(const char* chord, const char* help) {
  KeyBinding b{chord, help, C::None};
  b.mouse = true;
  return b;
}

// One row for the tools, whose keys run in a row: "1 to 7".
KeyBinding toolKeys() {
  const EditTool first = toolAt(0);
  const EditTool last = toolAt(editToolCount - 1);
  static const std::string chord = std::string(1, toolKey(first)) + " to " + toolKey(last);
  static const std::string help = [] {
    std::string text = "choose the tool:";
    for (int i = 0; i < editToolCount; ++i) {
      text += std::string(i == 0 ? " " : ", ") + toolName(toolAt(i));
    }
    return text;
  }();
  KeyBinding tools = byCharacter(chord.c_str(), toolKey(first), S::Either, C::ChooseTool,
                                 help.c_str());
  tools.count = editToolCount;
  return tools;
}

std::vector<KeyBinding> makeKeys() {
  std::vector<KeyBinding> keys;
  keys.push_back(toolKeys());
  keys.push_back(byCharacter("S", 's', S::Either, C::ChooseSelectTool, "choose the select tool"));
  keys.push_back(byCharacter("[", '[', S::Either, C::PreviousLook,
                             "the current tool's previous look, in name order"));
  keys.push_back(byCharacter("]", ']', S::Either, C::NextLook, "the current tool's next look"));
  keys.push_back(byScan("Tab", KEY_TAB, S::Either, C::ShowPalette,
                        "show or hide the palette of the current tool's looks"));
  keys.push_back(byCharacter("G", 'g', S::Without, C::ToggleSnap,
                             "snapping to the grid on or off; the grid is the size of the "
                             "current tile look"));
  keys.push_back(byCharacter("Shift+G", 'g', S::With, C::ToggleGrid,
                             "show or hide the grid over the map"));
  KeyBinding enter = byScan("Enter", KEY_ENTER, S::Either, C::ElementProperties,
                            "the fields of the element under the cursor in a dialog; with "
                            "several of one kind selected, the fields of them all in one");
  enter.scanAlso = KEY_ENTER_PAD;
  keys.push_back(enter);
  keys.push_back(byCharacter("L", 'l', S::Either, C::LevelProperties,
                             "the level's own fields: countdown, panels, pips, the start"));
  keys.push_back(byCharacter("N", 'n', S::Either, C::NextMessage,
                             "the next problem in the status bar, round and round"));
  keys.push_back(control("Ctrl+A", 'a', S::Either, C::SelectAll, "select every element"));
  keys.push_back(control("Ctrl+C", 'c', S::Either, C::Copy, "copy the selection"));
  keys.push_back(control("Ctrl+X", 'x', S::Either, C::Cut, "cut the selection"));
  keys.push_back(control("Ctrl+V", 'v', S::Either, C::Paste, "paste at the cursor"));
  keys.push_back(control("Ctrl+D", 'd', S::Either, C::Duplicate, "duplicate the selection"));
  keys.push_back(byScan("Delete", KEY_DEL, S::Either, C::DeleteSelection,
                        "delete the selection"));
  KeyBinding arrows = byScan("arrows", KEY_LEFT, S::Without, C::Nudge,
                             "move the selection one grid step");
  arrows.count = 4;
  keys.push_back(arrows);
  arrows.chord = "Shift+arrows";
  arrows.shift = S::With;
  arrows.help = "move the selection one pixel";
  keys.push_back(arrows);
  keys.push_back(control("Ctrl+Z", 'z', S::Either, C::Undo,
                         "undo, as far back as the editor has run; the status bar names "
                         "what was undone"));
  keys.push_back(control("Ctrl+Y", 'y', S::Either, C::Redo, "redo what was undone"));
  keys.push_back(control("Ctrl+N", 'n', S::Either, C::NewLevel,
                         "start a new level, asking first about unsaved changes"));
  keys.push_back(control("Ctrl+O", 'o', S::Either, C::OpenLevel,
                         "open a level file, asking first about unsaved changes"));
  keys.push_back(control("Ctrl+S", 's', S::Without, C::Save,
                         "save (a new level asks for a file name first)"));
  keys.push_back(control("Ctrl+Shift+S", 's', S::With, C::SaveAs,
                         "save under a new name, which the editor edits from then on"));
  KeyBinding zoomIn = byScan("Ctrl+Plus", KEY_EQUALS, S::Either, C::ZoomIn,
                             "zoom in: each level pixel a block one larger, the status bar, "
                             "dialogs, palette and help with it, as far as the desktop holds");
  zoomIn.ctrl = true;
  zoomIn.scanAlso = KEY_PLUS_PAD;
  keys.push_back(zoomIn);
  KeyBinding zoomOut = byScan("Ctrl+Minus", KEY_MINUS, S::Either, C::ZoomOut,
                              "zoom out, down to one screen pixel a level pixel");
  zoomOut.ctrl = true;
  zoomOut.scanAlso = KEY_MINUS_PAD;
  keys.push_back(zoomOut);
  keys.push_back(byScan("Page Up", KEY_PGUP, S::Either, C::PreviousSetLevel,
                        "open the previous level of the level's set, asking first about "
                        "unsaved changes"));
  keys.push_back(byScan("Page Down", KEY_PGDN, S::Either, C::NextSetLevel,
                        "open the next level of the set, round from its last to its first"));
  keys.push_back(byScan("F1", KEY_F1, S::Either, C::ShowHelp,
                        "this list of keys and mouse actions; F1 again for its next page"));
  keys.push_back(byScan("F5", KEY_F5, S::Either, C::Playtest,
                        "play the level in the game from its start, unsaved changes included"));
  keys.push_back(byScan("F6", KEY_F6, S::Either, C::PlaytestFromCursor,
                        "play it with the player's feet at the cursor"));
  keys.push_back(byScan("F7", KEY_F7, S::Either, C::PlayRoute,
                        "play the route pwe-check finds through the level, then mark on its path "
                        "the tight presses (rings) and near passes (crosses)"));
  KeyBinding escape = byScan("Escape", KEY_ESC, S::Either, C::Leave,
                             "close the help or the palette, else clear the selection, else "
                             "leave the editor (asking first about unsaved changes)");
  escape.withSelection = C::ClearSelection;
  keys.push_back(escape);

  keys.push_back(mouse("left click", "place the current tool's element at the cursor, snapped "
                                     "to the grid; an item, teleporter, enemy or the start "
                                     "sits on the floor under it; the start tool moves the "
                                     "start"));
  keys.push_back(mouse("Shift+left click", "place it where the mouse is, on no floor"));
  keys.push_back(mouse("left drag (tile tool)", "paint a row of tiles along the drag"));
  keys.push_back(mouse("Ctrl+left drag (tile tool)", "fill the rectangle dragged with tiles; "
                                                     "only its top row is claimable"));
  keys.push_back(mouse("Shift+left drag", "move the element under the cursor (an enemy's "
                                          "patrol goes with it); an item, teleporter, enemy "
                                          "or the start lands on the floor under it, unless "
                                          "Ctrl is held as it is let go"));
  keys.push_back(mouse("double click", "open the fields of the element under the cursor, as "
                                       "Enter does; the first click's edit is taken back"));
  keys.push_back(mouse("right click", "delete the topmost element under the cursor (never the "
                                      "start)"));
  keys.push_back(mouse("middle click", "pick the tool, look and fields of the element under "
                                       "the cursor for the next one placed"));
  keys.push_back(mouse("wheel", "the current tool's previous or next look, as [ and ]"));
  keys.push_back(mouse("Ctrl+wheel", "zoom in or out, as Ctrl+Plus and Ctrl+Minus"));
  keys.push_back(mouse("left drag (select tool)", "select what the rectangle dragged touches"));
  keys.push_back(mouse("Shift+left drag (select tool)", "add to the selection"));
  keys.push_back(mouse("left drag inside the selection", "move the selection"));
  keys.push_back(mouse("left drag on a handle", "stretch a selected ladder or chute, or a "
                                                "selected enemy's patrol"));
  keys.push_back(mouse("left click in the palette", "choose that look"));
  keys.push_back(mouse("left click in the tool strip", "choose that tool"));
  return keys;
}

bool shiftMatches(ShiftState wanted, bool shifted) {
  if (wanted == ShiftState::Either) return true;
  return shifted == (wanted == ShiftState::With);
}

bool isControlCode(int character, const KeyBinding& b) {
  return b.ctrl && character == std::toupper(b.character) - '@';
}

// The offset of the key within the row's keys, or -1 when it is none of them.
int offsetIn(const KeyBinding& b, int scan, int character) {
  if (b.scan != 0) {
    if (b.scanAlso != 0 && scan == b.scanAlso) return 0;
    return scan >= b.scan && scan < b.scan + b.count ? scan - b.scan : -1;
  }
  const int lower = std::tolower(character);
  return lower >= b.character && lower < b.character + b.count ? lower - b.character : -1;
}

bool isTableControlCode(int character) {
  for (const KeyBinding& b : editorKeys()) {
    if (isControlCode(character, b)) return true;
  }
  return false;
}

// A key of its own (Enter, F5) is known by its scan code whatever
// character comes with it.
bool isTableScan(int scan) {
  for (const KeyBinding& b : editorKeys()) {
    if (!b.mouse && b.scan != 0 && offsetIn(b, scan, 0) >= 0) return true;
  }
  return false;
}

// Ctrl with a letter gives its control code (Ctrl+Z is 26) in the key's
// character, fixed when the key went down; key_shifts is read later, by
// when a quick chord may have let go of Ctrl, so the code decides first,
// and the scan code only for a character that is none. A capital letter
// likewise witnesses Shift, unless Caps Lock made it.
bool matches(const KeyBinding& b, int scan, int character, int shifts) {
  if (b.mouse) return false;
  const bool capital = std::isupper(character) && (shifts & KB_CAPSLOCK_FLAG) == 0;
  const bool shifted = (shifts & KB_SHIFT_FLAG) != 0 || capital;
  if (!shiftMatches(b.shift, shifted)) return false;
  const bool code = isTableControlCode(character);
  const bool ctrl = code || (shifts & KB_CTRL_FLAG) != 0;
  if (!b.ctrl && b.scan == 0 && isTableScan(scan)) return false;
  if (!b.ctrl) return !ctrl && offsetIn(b, scan, character) >= 0;
  // A key of its own with Ctrl (Ctrl+Plus): its scan code, no control code.
  if (b.scan != 0) return ctrl && !code && offsetIn(b, scan, character) >= 0;
  if (code) return isControlCode(character, b);
  return ctrl && scan == KEY_A + (b.character - 'a');
}

// The arrows in Allegro's order: left, right, up, down.
void nudgeStep(int offset, KeyCommand& command) {
  const int dx[] = {-1, 1, 0, 0};
  const int dy[] = {0, 0, -1, 1};
  command.dx = dx[offset];
  command.dy = dy[offset];
}

void appendMarkdownTable(std::string& out, bool mouseRows) {
  out += mouseRows ? "Mouse:\n\n| Action | Does |\n|---|---|\n"
                   : "Keys:\n\n| Key | Does |\n|---|---|\n";
  for (const KeyBinding& b : editorKeys()) {
    if (b.mouse != mouseRows) continue;
    out += mouseRows ? std::string("| ") + b.chord : std::string("| `") + b.chord + "`";
    out += std::string(" | ") + b.help + " |\n";
  }
}

// roff reads a backslash as an escape, a hyphen as a hyphen rather than a
// minus, and a leading dot as a request.
std::string roff(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\e";
    else if (c == '-') out += "\\-";
    else out += c;
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
  return out;
}

std::string sentence(const char* help) {
  std::string text = help;
  text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return text + ".";
}

}  // namespace

const std::vector<KeyBinding>& editorKeys() {
  static const std::vector<KeyBinding> keys = makeKeys();
  return keys;
}

int bindingFor(int key, int shifts) {
  const std::vector<KeyBinding>& keys = editorKeys();
  for (int i = 0; i < static_cast<int>(keys.size()); ++i) {
    if (bindingMatches(keys[i], key, shifts)) return i;
  }
  return -1;
}

bool bindingMatches(const KeyBinding& binding, int key, int shifts) {
  const int character = key & 0xff;
  return matches(binding, key >> 8, character, shifts);
}

KeyCommand commandForKey(int key, int shifts, bool selection) {
  const int row = bindingFor(key, shifts);
  if (row < 0) return KeyCommand{};
  const KeyBinding& b = editorKeys()[row];
  KeyCommand command;
  command.command = selection && b.withSelection != EditorCommand::None ? b.withSelection
                                                                        : b.command;
  const int offset = offsetIn(b, key >> 8, key & 0xff);
  if (b.command == EditorCommand::ChooseTool) command.tool = toolAt(offset);
  if (b.command == EditorCommand::Nudge) {
    nudgeStep(offset, command);
    command.pixel = b.shift == ShiftState::With;
  }
  return command;
}

std::string keysMarkdown() {
  std::string out;
  appendMarkdownTable(out, false);
  out += "\n";
  appendMarkdownTable(out, true);
  return out;
}

std::string keysManual() {
  std::string out;
  for (bool mouseRows : {false, true}) {
    out += mouseRows ? ".SH MOUSE\n" : ".SH KEYS\n";
    for (const KeyBinding& b : editorKeys()) {
      if (b.mouse != mouseRows) continue;
      out += ".TP\n.B " + roff(b.chord) + "\n" + roff(sentence(b.help)) + "\n";
    }
  }
  return out;
}

#include "player/KeyNames.h"

#include <allegro.h>
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

struct KeyName {
  const char* name;
  int code;
};

// The keypad's digits go by KP_0 to KP_9 alone: "8_PAD" starts like a
// number and reads as 8, as it always did.
constexpr KeyName keyNames[] = {
    {"A", KEY_A},
    {"B", KEY_B},
    {"C", KEY_C},
    {"D", KEY_D},
    {"E", KEY_E},
    {"F", KEY_F},
    {"G", KEY_G},
    {"H", KEY_H},
    {"I", KEY_I},
    {"J", KEY_J},
    {"K", KEY_K},
    {"L", KEY_L},
    {"M", KEY_M},
    {"N", KEY_N},
    {"O", KEY_O},
    {"P", KEY_P},
    {"Q", KEY_Q},
    {"R", KEY_R},
    {"S", KEY_S},
    {"T", KEY_T},
    {"U", KEY_U},
    {"V", KEY_V},
    {"W", KEY_W},
    {"X", KEY_X},
    {"Y", KEY_Y},
    {"Z", KEY_Z},
    {"0", KEY_0},
    {"1", KEY_1},
    {"2", KEY_2},
    {"3", KEY_3},
    {"4", KEY_4},
    {"5", KEY_5},
    {"6", KEY_6},
    {"7", KEY_7},
    {"8", KEY_8},
    {"9", KEY_9},
    {"KP_0", KEY_0_PAD},
    {"KP_1", KEY_1_PAD},
    {"KP_2", KEY_2_PAD},
    {"KP_3", KEY_3_PAD},
    {"KP_4", KEY_4_PAD},
    {"KP_5", KEY_5_PAD},
    {"KP_6", KEY_6_PAD},
    {"KP_7", KEY_7_PAD},
    {"KP_8", KEY_8_PAD},
    {"KP_9", KEY_9_PAD},
    {"F1", KEY_F1},
    {"F2", KEY_F2},
    {"F3", KEY_F3},
    {"F4", KEY_F4},
    {"F5", KEY_F5},
    {"F6", KEY_F6},
    {"F7", KEY_F7},
    {"F8", KEY_F8},
    {"F9", KEY_F9},
    {"F10", KEY_F10},
    {"F11", KEY_F11},
    {"F12", KEY_F12},
    {"ESC", KEY_ESC},
    {"TILDE", KEY_TILDE},
    {"MINUS", KEY_MINUS},
    {"EQUALS", KEY_EQUALS},
    {"BACKSPACE", KEY_BACKSPACE},
    {"TAB", KEY_TAB},
    {"OPENBRACE", KEY_OPENBRACE},
    {"CLOSEBRACE", KEY_CLOSEBRACE},
    {"ENTER", KEY_ENTER},
    {"COLON", KEY_COLON},
    {"QUOTE", KEY_QUOTE},
    {"BACKSLASH", KEY_BACKSLASH},
    {"BACKSLASH2", KEY_BACKSLASH2},
    {"COMMA", KEY_COMMA},
    {"STOP", KEY_STOP},
    {"SLASH", KEY_SLASH},
    {"SPACE", KEY_SPACE},
    {"INSERT", KEY_INSERT},
    {"DEL", KEY_DEL},
    {"HOME", KEY_HOME},
    {"END", KEY_END},
    {"PGUP", KEY_PGUP},
    {"PGDN", KEY_PGDN},
    {"LEFT", KEY_LEFT},
    {"RIGHT", KEY_RIGHT},
    {"UP", KEY_UP},
    {"DOWN", KEY_DOWN},
    {"SLASH_PAD", KEY_SLASH_PAD},
    {"ASTERISK", KEY_ASTERISK},
    {"MINUS_PAD", KEY_MINUS_PAD},
    {"PLUS_PAD", KEY_PLUS_PAD},
    {"DEL_PAD", KEY_DEL_PAD},
    {"ENTER_PAD", KEY_ENTER_PAD},
    {"PRTSCR", KEY_PRTSCR},
    {"PAUSE", KEY_PAUSE},
    {"ABNT_C1", KEY_ABNT_C1},
    {"YEN", KEY_YEN},
    {"KANA", KEY_KANA},
    {"CONVERT", KEY_CONVERT},
    {"NOCONVERT", KEY_NOCONVERT},
    {"AT", KEY_AT},
    {"CIRCUMFLEX", KEY_CIRCUMFLEX},
    {"COLON2", KEY_COLON2},
    {"KANJI", KEY_KANJI},
    {"EQUALS_PAD", KEY_EQUALS_PAD},
    {"BACKQUOTE", KEY_BACKQUOTE},
    {"SEMICOLON", KEY_SEMICOLON},
    {"COMMAND", KEY_COMMAND},
    {"LSHIFT", KEY_LSHIFT},
    {"RSHIFT", KEY_RSHIFT},
    {"LCONTROL", KEY_LCONTROL},
    {"RCONTROL", KEY_RCONTROL},
    {"ALT", KEY_ALT},
    {"ALTGR", KEY_ALTGR},
    {"LWIN", KEY_LWIN},
    {"RWIN", KEY_RWIN},
    {"MENU", KEY_MENU},
    {"SCRLOCK", KEY_SCRLOCK},
    {"NUMLOCK", KEY_NUMLOCK},
    {"CAPSLOCK", KEY_CAPSLOCK},
};

// Letters added, removed or changed to turn one name into the other,
// compared without regard to case.
int editDistance(const std::string& a, const std::string& b) {
  std::vector<int> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<int>(j);
  for (size_t i = 1; i <= a.size(); ++i) {
    int diagonal = row[0];
    row[0] = static_cast<int>(i);
    for (size_t j = 1; j <= b.size(); ++j) {
      const int above = row[j];
      const bool same = std::toupper(static_cast<unsigned char>(a[i - 1])) ==
                        std::toupper(static_cast<unsigned char>(b[j - 1]));
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

int keyCodeNamed(const std::string& name) {
  for (const KeyName& key : keyNames) {
    if (strcasecmp(key.name, name.c_str()) == 0) return key.code;
  }
  return -1;
}

const char* keyNameOf(int code) {
  for (const KeyName& key : keyNames) {
    if (key.code == code) return key.name;
  }
  return nullptr;
}

std::string nearestKeyName(const std::string& name) {
  constexpr int farthest = 2;
  const char* nearest = nullptr;
  int best = farthest + 1;
  for (const KeyName& key : keyNames) {
    const int distance = editDistance(name, key.name);
    if (distance < best) {
      best = distance;
      nearest = key.name;
    }
  }
  return nearest != nullptr ? nearest : "";
}

#include "shell/ConfigReport.h"

#include <allegro.h>

#include <filesystem>
#include <vector>

#include "player/KeyNames.h"
#include "shell/ConfigFields.h"
#include "shell/Startup.h"
#include "shell/UserConfig.h"

namespace {

// Which file writes a setting: the last layer holding the key wins.
struct Layer {
  std::string path;   // as printed
  std::string text;
};

bool holds(const Layer& layer, const char* section, const char* key) {
  set_config_data(layer.text.data(), static_cast<int>(layer.text.size()));
  // The layer alone: no file selected before stays over it.
  override_config_file(nullptr);
  return get_config_string(section, key, nullptr) != nullptr;
}

std::string sourceOf(const std::vector<Layer>& layers, const char* section, const char* key) {
  for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
    if (holds(*layer, section, key)) return layer->path;
  }
  return "";
}

// "from SRC", "from the default, for a value in SRC", and what is wrong
// with the value written, if anything.
void printLine(std::FILE* out, const char* section, const char* key, const std::string& value,
               const std::string& source, bool usable, const std::string& flaw = "") {
  std::string from = source.empty() ? "the default" : source;
  if (!source.empty() && !usable) from = "the default, for a value in " + source;
  if (!flaw.empty()) from += " (" + flaw + ")";
  std::fprintf(out, "[%s] %s = %s from %s\n", section, key, value.c_str(), from.c_str());
}

void printNumber(std::FILE* out, const ConfigField& field, const std::string& source) {
  const ConfigReading reading = readConfigValue(field);
  const ConfigUse use = useConfigReading(field, reading);
  std::string value = std::to_string(use.used);
  const char* name = field.keyName ? keyNameOf(use.used) : nullptr;
  if (name != nullptr) value += std::string(" (") + name + ")";
  std::string flaw = configFlaw(field, reading);
  if (use.stops) flaw += ": the game cannot start";
  printLine(out, field.section, field.key, value, source, use.usable || use.stops, flaw);
}

void printWord(std::FILE* out, const ConfigText& field, const std::string& source) {
  const std::string word = readConfigText(field);
  const bool known = word == field.chosen || word == field.otherWord;
  const std::string flaw = known ? "" : "'" + word + "' is neither " + field.chosen + " nor " +
                                            field.otherWord + ": " + field.otherwise;
  // Any other mode is a full screen, as written; any other idle is polling.
  const std::string value = known || !field.strict ? word : field.fallback;
  printLine(out, field.section, field.key, value, source, known || !field.strict, flaw);
}

}  // namespace

void printConfiguration(std::FILE* out, const std::string& treePath, const std::string& userPath,
                        bool withPackageSettings) {
  std::vector<Layer> layers;
  const UserConfigFile tree = readUserConfig(treePath);
  if (tree.used) layers.push_back({std::filesystem::absolute(treePath).string(), tree.text});
  const std::string setPath = setConfigPath(treePath);
  const UserConfigFile set = readUserConfig(setPath);
  if (set.used) layers.push_back({setPath, set.text});
  if (withPackageSettings) layers.push_back({packageSettingsSource, packageSettingsText()});
  const UserConfigFile user = readUserConfig(userPath);
  if (user.used) layers.push_back({userPath, user.text});
  std::vector<std::string> sources;
  for (const ConfigField* field : config::numbers) {
    sources.push_back(sourceOf(layers, field->section, field->key));
  }
  const std::string modeSource = sourceOf(layers, config::mode.section, config::mode.key);
  const std::string idleSource = sourceOf(layers, config::idle.section, config::idle.key);

  selectConfiguration(treePath, userPath, withPackageSettings);
  size_t index = 0;
  for (const ConfigField* field : config::numbers) printNumber(out, *field, sources[index++]);
  printWord(out, config::mode, modeSource);
  printWord(out, config::idle, idleSource);
}

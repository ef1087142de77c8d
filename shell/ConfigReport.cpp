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
  return get_config_string(section, key, nullptr) != nullptr;
}

std::string sourceOf(const std::vector<Layer>& layers, const char* section, const char* key) {
  for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
    if (holds(*layer, section, key)) return layer->path;
  }
  return "";
}

void printLine(std::FILE* out, const char* section, const char* key, const std::string& value,
               const std::string& source, bool usable) {
  std::string from = source.empty() ? "the default" : source;
  if (!source.empty() && !usable) from = "the default, for an unusable value in " + source;
  std::fprintf(out, "[%s] %s = %s from %s\n", section, key, value.c_str(), from.c_str());
}

}  // namespace

void printConfiguration(std::FILE* out, const std::string& treePath, const std::string& userPath) {
  std::vector<Layer> layers;
  const UserConfigFile tree = readUserConfig(treePath);
  if (tree.used) layers.push_back({std::filesystem::absolute(treePath).string(), tree.text});
  const UserConfigFile user = readUserConfig(userPath);
  if (user.used) layers.push_back({userPath, user.text});
  std::vector<std::string> sources;
  for (const ConfigField* field : config::numbers) {
    sources.push_back(sourceOf(layers, field->section, field->key));
  }
  const std::string modeSource = sourceOf(layers, config::mode.section, config::mode.key);
  const std::string idleSource = sourceOf(layers, config::idle.section, config::idle.key);

  selectConfiguration(treePath, userPath);
  size_t index = 0;
  for (const ConfigField* field : config::numbers) {
    const ConfigReading reading = readConfigValue(*field);
    const int used = readConfig(*field);
    std::string value = std::to_string(used);
    const char* name = field->keyName ? keyNameOf(used) : nullptr;
    if (name != nullptr) value += std::string(" (") + name + ")";
    const bool usable = !reading.unknownName && useConfigValue(*field, reading.read).usable;
    printLine(out, field->section, field->key, value, sources[index++], usable);
  }
  printLine(out, config::mode.section, config::mode.key, readConfigText(config::mode),
            modeSource, true);
  printLine(out, config::idle.section, config::idle.key, readConfigText(config::idle),
            idleSource, true);
}

#include "shell/ConfigFields.h"

#include <cstdlib>

#include "player/KeyNames.h"
#include "shell/Log.h"

ConfigUse useConfigValue(const ConfigField& field, int read) {
  ConfigUse use;
  use.used = read;
  use.usable = read >= field.low && read <= field.high;
  if (use.usable) return use;
  switch (field.outside) {
    case ConfigOutside::usesDefault:
      use.used = field.fallback;
      break;
    case ConfigOutside::stops:
      use.stops = true;
      break;
    case ConfigOutside::isOn:
      use.used = read != 0 ? 1 : 0;
      break;
  }
  return use;
}

std::string configFallbackLine(const ConfigField& field, int read) {
  std::string line = std::string(field.noun) + " " + std::to_string(read);
  if ((field.logFlags & namesKey) != 0) line += std::string(" for \"") + field.key + "\"";
  line += std::string(" ") + field.complaint;
  if ((field.logFlags & showsRange) != 0) {
    line += " " + std::to_string(field.low) + " to " + std::to_string(field.high);
  }
  return line + "; using " + std::to_string(field.fallback) + ".";
}

int usableConfigValue(const ConfigField& field, int read) {
  const ConfigUse use = useConfigValue(field, read);
  if (!use.usable && field.outside == ConfigOutside::usesDefault) {
    log_message("%s", configFallbackLine(field, read).c_str());
  }
  return use.used;
}

std::string configFallbackLine(const ConfigField& field, const ConfigReading& reading) {
  if (!reading.unknownName) return configFallbackLine(field, reading.read);
  return "Key name '" + reading.text + "' for \"" + field.key + "\" is not a key; using " +
         std::to_string(field.fallback) + ".";
}

namespace {

bool startsLikeNumber(const std::string& text) {
  char* end = nullptr;
  std::strtol(text.c_str(), &end, 0);
  return end != text.c_str();
}

}  // namespace

ConfigReading readConfigValue(const ConfigField& field) {
  ConfigReading reading;
  reading.read = get_config_int(field.section, field.key, field.fallback);
  const char* value = get_config_string(field.section, field.key, nullptr);
  if (!field.keyName || value == nullptr) return reading;
  std::string text = value;
  text.erase(0, text.find_first_not_of(" \t\r"));
  text.erase(text.find_last_not_of(" \t\r") + 1);
  if (text.empty() || startsLikeNumber(text)) return reading;
  reading.text = text;
  const int code = keyCodeNamed(text);
  reading.unknownName = code < 0;
  reading.read = code < 0 ? field.fallback : code;
  return reading;
}

int readConfig(const ConfigField& field) {
  const ConfigReading reading = readConfigValue(field);
  if (reading.unknownName) {
    log_message("%s", configFallbackLine(field, reading).c_str());
    return field.fallback;
  }
  return usableConfigValue(field, reading.read);
}

std::string readConfigText(const ConfigText& field) {
  return get_config_string(field.section, field.key, field.fallback);
}

bool readConfig(const ConfigText& field) { return readConfigText(field) == field.chosen; }

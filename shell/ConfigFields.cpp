#include "shell/ConfigFields.h"

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

int readConfig(const ConfigField& field) {
  return usableConfigValue(field, get_config_int(field.section, field.key, field.fallback));
}

std::string readConfigText(const ConfigText& field) {
  return get_config_string(field.section, field.key, field.fallback);
}

bool readConfig(const ConfigText& field) { return readConfigText(field) == field.chosen; }

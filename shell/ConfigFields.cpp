#include "shell/ConfigFields.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <set>

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

ConfigUse useConfigReading(const ConfigField& field, const ConfigReading& reading) {
  const bool misread = reading.form == ConfigForm::wraps || reading.form == ConfigForm::notNumber;
  if (reading.unknownName() || (field.strict && misread)) {
    ConfigUse use;
    use.used = field.fallback;
    use.usable = false;
    return use;
  }
  return useConfigValue(field, reading.read);
}

namespace {

std::string rangeText(const ConfigField& field) {
  if (field.high == INT_MAX) return std::to_string(field.low) + " or more";
  return std::to_string(field.low) + " to " + std::to_string(field.high);
}

// "<noun> '<text>'[ for "<key>"]".
std::string namedValue(const ConfigField& field, const std::string& value) {
  std::string line = std::string(field.noun) + " " + value;
  if ((field.logFlags & namesKey) != 0) line += std::string(" for \"") + field.key + "\"";
  return line;
}

}  // namespace

const char* configFormFlaw(ConfigForm form) {
  switch (form) {
    case ConfigForm::wraps: return "does not fit in 32 bits";
    case ConfigForm::notNumber: return "is not a whole number";
    case ConfigForm::unknownName: return "is no key's name";
    case ConfigForm::number:
    case ConfigForm::keyName: break;
  }
  return "";
}

namespace {

const char* sayingProgram = nullptr;

// Logged always; on standard error too for the game, once a run however
// often the setting is read again.
void sayFallback(const ConfigField& field, const std::string& line) {
  log_message("%s", line.c_str());
  if (sayingProgram == nullptr || !field.strict) return;
  static std::set<std::string> said;
  if (said.insert(line).second) std::fprintf(stderr, "%s: %s\n", sayingProgram, line.c_str());
}

}  // namespace

std::string configFallbackLine(const ConfigField& field, int read) {
  std::string line = namedValue(field, std::to_string(read));
  line += std::string(" ") + field.complaint;
  if ((field.logFlags & showsRange) != 0) line += " " + rangeText(field);
  return line + "; using " + std::to_string(field.fallback) + ".";
}

std::string configFallbackLine(const ConfigField& field, const ConfigReading& reading) {
  if (reading.unknownName()) {
    return "Key name '" + reading.text + "' for \"" + field.key + "\" is not a key; using " +
           std::to_string(field.fallback) + ".";
  }
  if (reading.form == ConfigForm::number || reading.form == ConfigForm::keyName) {
    return configFallbackLine(field, reading.read);
  }
  return namedValue(field, "'" + reading.text + "'") + " " + configFormFlaw(reading.form) +
         "; using " + std::to_string(field.fallback) + ".";
}

std::string configFlaw(const ConfigField& field, const ConfigReading& reading) {
  const ConfigUse use = useConfigReading(field, reading);
  if (reading.form != ConfigForm::number && reading.form != ConfigForm::keyName) {
    std::string flaw = "'" + reading.text + "' " + configFormFlaw(reading.form);
    if (use.usable || use.stops) flaw += ", read as " + std::to_string(reading.read);
    return flaw;
  }
  if (use.usable) return "";
  // A range open above has only its low end to fall outside of.
  const std::string value = std::to_string(reading.read);
  if (field.high == INT_MAX) return value + " is below " + std::to_string(field.low);
  return value + " is outside " + rangeText(field);
}

int usableConfigValue(const ConfigField& field, int read) {
  const ConfigUse use = useConfigValue(field, read);
  if (!use.usable && field.outside == ConfigOutside::usesDefault) {
    sayFallback(field, configFallbackLine(field, read));
  }
  return use.used;
}

void sayConfigFallbacks(const char* program) { sayingProgram = program; }

ConfigReading readConfigValue(const ConfigField& field, const char* value) {
  ConfigReading reading;
  reading.read = field.fallback;
  if (value == nullptr) return reading;
  std::string text = value;
  text.erase(0, text.find_first_not_of(" \t\r"));
  text.erase(text.find_last_not_of(" \t\r") + 1);
  reading.text = text;
  // Allegro takes an empty value for a missing one.
  if (text.empty()) return reading;
  char* end = nullptr;
  errno = 0;
  const long number = std::strtol(text.c_str(), &end, 0);
  const bool overflow = errno == ERANGE;
  if (end == text.c_str() && field.keyName) {
    const int code = keyCodeNamed(text);
    reading.form = code < 0 ? ConfigForm::unknownName : ConfigForm::keyName;
    reading.read = code < 0 ? field.fallback : code;
    return reading;
  }
  // Allegro's own reading: the long cut to int.
  reading.read = static_cast<int>(static_cast<unsigned long>(number));
  if (*end != '\0') {
    reading.form = ConfigForm::notNumber;
  } else if (overflow || number < INT_MIN || number > INT_MAX) {
    reading.form = ConfigForm::wraps;
  }
  return reading;
}

ConfigReading readConfigValue(const ConfigField& field) {
  return readConfigValue(field, get_config_string(field.section, field.key, nullptr));
}

int readConfig(const ConfigField& field) {
  const ConfigReading reading = readConfigValue(field);
  const ConfigUse use = useConfigReading(field, reading);
  // A flag's number outside 0 and 1 is taken as on, as it always was.
  const bool replaced = field.outside == ConfigOutside::usesDefault ||
                        (field.outside == ConfigOutside::isOn && reading.form != ConfigForm::number);
  if (!use.usable && !use.stops && replaced) sayFallback(field, configFallbackLine(field, reading));
  return use.used;
}

std::string readConfigText(const ConfigText& field) {
  return get_config_string(field.section, field.key, field.fallback);
}

bool readConfig(const ConfigText& field) {
  const std::string word = readConfigText(field);
  if (field.strict && word != field.chosen && word != field.otherWord && sayingProgram != nullptr) {
    static std::set<std::string> said;
    const std::string line = std::string("[") + field.section + "] " + field.key + " '" + word +
                             "' is neither " + field.chosen + " nor " + field.otherWord +
                             "; using " + field.fallback + ".";
    log_message("%s", line.c_str());
    if (said.insert(line).second) std::fprintf(stderr, "%s: %s\n", sayingProgram, line.c_str());
  }
  return word == field.chosen;
}

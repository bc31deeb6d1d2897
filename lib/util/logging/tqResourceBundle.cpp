#include "lib/util/logging/tqResourceBundle.h"

#include "lib/util/logging/Placeholders.h"
#include "lib/util/tqLineReader.h"
#include "platform/Console.h"
#include "platform/Paths.h"

const tqTypeDescriptor tqResourceBundle::descriptor{"16TQRESOURCEBUNDLE", &tqObject::descriptor};

namespace {

std::string_view trimmed(std::string_view text, std::string_view blanks) {
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

const tqTypeDescriptor& tqResourceBundle::typeDescriptor() const { return descriptor; }

String tqResourceBundle::ownValue(std::string_view key) const { return entries_.get(String(key)); }

bool tqResourceBundle::containsKey(std::string_view key) const {
  for (const tqResourceBundle* bundle = this; bundle != nullptr; bundle = bundle->parent_) {
    if (bundle->entries_.containsKey(String(key))) return true;
  }
  return false;
}

String tqResourceBundle::getString(std::string_view key) const {
  for (const tqResourceBundle* bundle = this; bundle != nullptr; bundle = bundle->parent_) {
    String value = bundle->ownValue(key);
    if (!value.empty()) return value;
  }
  return {};
}

String tqResourceBundle::getString(std::string_view key, const std::vector<String>& parameters) const {
  for (const tqResourceBundle* bundle = this; bundle != nullptr; bundle = bundle->parent_) {
    String value = substitutePlaceholders(bundle->ownValue(key), parameters);
    if (!value.empty()) return value;
  }
  return {};
}

String tqResourceBundle::getString(std::string_view key, std::string_view parameterText) const {
  std::vector<String> parameters;
  tqString(parameterText).split(tqString(" "), parameters);
  return getString(key, parameters);
}

bool tqResourceBundle::getStringArray(std::string_view key, std::vector<String>& array) const {
  const tqList<String> texts = getStringList(key);
  array.clear();
  for (std::int64_t index = 0; index < texts.size(); ++index) array.push_back(texts.at(index));
  return true;
}

tqSet<String> tqResourceBundle::keySet() const {
  tqSet<String> keys;
  for (const tqResourceBundle* bundle = this; bundle != nullptr; bundle = bundle->parent_) {
    keys.addAll(bundle->handleKeySet());
  }
  return keys;
}

void tqResourceBundle::setParent(const tqResourceBundle* bundle) { parent_ = bundle; }

tqList<String> tqResourceBundle::getStringList(std::string_view key) const {
  tqList<String> texts;
  for (const tqResourceBundle* bundle = this; bundle != nullptr; bundle = bundle->parent_) {
    String value = bundle->ownValue(key);
    if (!value.empty()) texts.add(value);
  }
  return texts;
}

tqSet<String> tqResourceBundle::handleKeySet() const { return entries_.keySet(); }

tqResourceBundle tqResourceBundle::getBundle(std::string_view baseName, std::string_view locale) {
  std::string fileName(baseName);
  if (!locale.empty()) fileName.append("_").append(locale);
  fileName.append(".properties");

  tqResourceBundle bundle;
  tqLineReader reader(platform::executableDirectory() + platform::pathSeparator() + fileName);
  for (std::string line; reader.readLine(line);) {
    if (line.empty() || trimmed(line, " \t\n\r").starts_with('#')) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string_view text = line;
    bundle.entries_.put(String(trimmed(text.substr(0, equals), " \t")),
                        String(trimmed(text.substr(equals + 1), " \t")));
  }
  // A file opened but not read to its end, such as a folder on systems that
  // open one, is as unreadable as one that could not be opened.
  if (!reader.isOpen() || reader.hasReadError()) {
    platform::writeConsole("Error: Can't load language file " + fileName + "\r\n");
    return {};
  }
  bundle.locale_ = tqString(locale);
  return bundle;
}

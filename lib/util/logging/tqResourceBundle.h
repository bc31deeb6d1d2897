#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lib/lang/tqObject.h"
#include "lib/lang/tqString.h"
#include "lib/lang/tqTypes.h"
#include "lib/util/tqList.h"
#include "lib/util/tqMap.h"
#include "lib/util/tqSet.h"

// Texts by key, read from a ".properties" file beside the executable, with an
// optional parent bundle that answers for keys this one lacks. An empty value
// counts as missing. Missing keys answer the empty text.
class tqResourceBundle : public tqObject {
 public:
  tqResourceBundle() = default;

  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;

  // Here or in a parent.
  virtual bool containsKey(std::string_view key) const;
  virtual String getString(std::string_view key) const;
  // The value with "{0}", "{1}"... replaced by the parameters as log messages
  // have them; a parent answers when that leaves it empty.
  virtual String getString(std::string_view key, const std::vector<String>& parameters) const;
  // The parameters are `parameterText` cut at every blank.
  virtual String getString(std::string_view key, std::string_view parameterText) const;
  // Replaces `array` with getStringList's texts; true.
  virtual bool getStringArray(std::string_view key, std::vector<String>& array) const;
  // This bundle's keys in file order, then its parents' new ones.
  virtual tqSet<String> keySet() const;
  // Not owned; it must outlive this bundle's lookups. Null for none.
  virtual void setParent(const tqResourceBundle* bundle);
  // This bundle's value for the key when it is not empty, then the parents' ones.
  virtual tqList<String> getStringList(std::string_view key) const;
  // This bundle's own keys only.
  virtual tqSet<String> handleKeySet() const;

  // The bundle in the file baseName "_" locale ".properties" (no "_" for an
  // empty locale) in the executable's directory. A file that cannot be read
  // gives the console line "Error: Can't load language file " and the file
  // name, and an empty bundle.
  static tqResourceBundle getBundle(std::string_view baseName, std::string_view locale = {});

 private:
  String ownValue(std::string_view key) const;

  tqMap<String, String> entries_;
  const tqResourceBundle* parent_ = nullptr;
  tqString locale_;
};

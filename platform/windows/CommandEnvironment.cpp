#include "platform/CommandEnvironment.h"

#include <windows.h>

#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/windows/PreparedEnvironment.h"
#include "platform/windows/WideText.h"

namespace platform {

namespace {

// A variable's name; the hidden ones that keep each drive's current folder,
// "=C:=C:\...", begin with "=".
std::wstring_view nameOf(std::wstring_view variable) { return variable.substr(0, variable.find(L'=', 1)); }

int compareNames(std::wstring_view left, std::wstring_view right) {
  return CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right.data(),
                              static_cast<int>(right.size()), TRUE);
}

std::vector<std::wstring> daemonVariables() {
  std::vector<std::wstring> variables;
  wchar_t* const block = GetEnvironmentStringsW();
  if (block == nullptr) return variables;
  for (const wchar_t* variable = block; *variable != L'\0';) {
    const std::wstring_view text(variable);
    variables.emplace_back(text);
    variable += text.size() + 1;
  }
  FreeEnvironmentStringsW(block);
  return variables;
}

}  // namespace

CommandEnvironment::CommandEnvironment(std::vector<Setting> settings) {
  std::vector<std::wstring> variables = daemonVariables();
  for (const Setting& setting : settings) {
    const std::wstring name = windows::toWide(setting.name);
    std::wstring variable = name + L"=" + windows::toWide(setting.value);
    // Names are one whatever their case: the setting replaces each.
    std::erase_if(variables,
                  [&name](const std::wstring& existing) { return compareNames(nameOf(existing), name) == CSTR_EQUAL; });
    variables.push_back(std::move(variable));
  }
  std::stable_sort(variables.begin(), variables.end(), [](const std::wstring& left, const std::wstring& right) {
    return compareNames(nameOf(left), nameOf(right)) == CSTR_LESS_THAN;
  });
  auto prepared = std::make_shared<Prepared>();
  for (const std::wstring& variable : variables) prepared->block.append(variable).push_back(L'\0');
  prepared->block.push_back(L'\0');
  made_ = std::make_shared<const Made>(Made{std::move(settings), std::move(prepared)});
}

}  // namespace platform

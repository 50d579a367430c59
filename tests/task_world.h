// Logon tasks as the scheduler would hold them, for worlds with a task from before.
#pragma once
#include <string>

#include "common/logon_task.h"
#include "tests/security_world.h"

namespace task {

// The definition a program registers for `folder`, as this user (ASCII texts).
inline std::string Ours(const LogonTaskBase& base, const std::string& folder, const std::string& user = sddl::kAlice) {
  char16_t xml[kTaskXmlSize];
  std::u16string wide_user(user.begin(), user.end()), wide_folder(folder.begin(), folder.end());
  if (!BuildLogonTaskXml(base, wide_user.c_str(), wide_folder.c_str(), xml, kTaskXmlSize)) return "";
  std::u16string text = xml;
  return std::string(text.begin(), text.end());
}

// `xml` with its first `from` after `after` made `to`.
inline std::string With(std::string xml, const std::string& after, const std::string& from, const std::string& to) {
  size_t at = xml.find(from, xml.find(after));
  return at == std::string::npos ? "" : xml.replace(at, from.size(), to);
}

}  // namespace task

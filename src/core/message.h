// A message for the user, as the models ask for it; the front end decides how to show it.
#pragma once

#include <string>

namespace solvane::core {

enum class MessageIcon { kError, kInformation };

struct Message {
  std::string text;
  MessageIcon icon = MessageIcon::kInformation;
  friend bool operator==(const Message&, const Message&) = default;
};

}  // namespace solvane::core

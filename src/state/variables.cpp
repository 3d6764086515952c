// The game variables' tables.
#include "state/variables.hpp"

namespace vesk {

std::int32_t* Variables::grow_numbered(std::int32_t number) {
  if (number < 1 || number > kMaxNumberedVariables) return nullptr;
  if (numbered.size() < static_cast<std::size_t>(number)) numbered.resize(static_cast<std::size_t>(number), 0);
  return &numbered[static_cast<std::size_t>(number - 1)];
}

std::string* Variables::string_variable(std::int32_t number) {
  if (number < 1 || number > kMaxStringVariables) return nullptr;
  if (strings.size() < static_cast<std::size_t>(number)) strings.resize(static_cast<std::size_t>(number));
  return &strings[static_cast<std::size_t>(number - 1)];
}

std::int32_t Variables::*named_field(std::string_view name) {
  for (const NamedVariable& variable : kNamedVariables) {
    if (variable.name == name) return variable.field;
  }
  return nullptr;
}

}  // namespace vesk

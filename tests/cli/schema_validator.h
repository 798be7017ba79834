// A JSON Schema validator for the keywords solvane-chart's schema uses: type, enum, minimum,
// maximum, pattern, properties, required, additionalProperties, items, minItems, maxItems, anyOf
// and $ref to "#/$defs/...". Any other keyword that would constrain a value is reported as a
// fault of the schema, so that the schema cannot come to rely on a check nobody makes.
#pragma once

#include <algorithm>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace solvane::testing {

class SchemaValidator {
 public:
  explicit SchemaValidator(nlohmann::json schema) : schema_(std::move(schema)) {}

  // Where `value` breaks the schema at `pointer` ("#" or "#/$defs/Chart"): one fault a line, each
  // with the path of the value it concerns. None when the value is valid.
  std::vector<std::string> Check(const nlohmann::json& value,
                                 const std::string& pointer = "#") const {
    std::vector<std::string> faults;
    Validate(Resolve(pointer), value, "$", faults);
    return faults;
  }

 private:
  using json = nlohmann::json;

  const json& Resolve(const std::string& pointer) const {
    if (pointer == "#") return schema_;
    const std::string prefix = "#/$defs/";
    if (pointer.rfind(prefix, 0) != 0) throw std::runtime_error("unsupported $ref " + pointer);
    return schema_.at("$defs").at(pointer.substr(prefix.size()));
  }

  static bool HasType(const json& value, const std::string& type) {
    if (type == "object") return value.is_object();
    if (type == "array") return value.is_array();
    if (type == "string") return value.is_string();
    if (type == "integer") return value.is_number_integer();
    if (type == "number") return value.is_number();
    if (type == "boolean") return value.is_boolean();
    if (type == "null") return value.is_null();
    throw std::runtime_error("unknown type " + type);
  }

  void Validate(const json& schema, const json& value, const std::string& path,
                std::vector<std::string>& faults) const {
    static const std::set<std::string> kAnnotations = {
        "$schema", "$id", "$defs", "title", "description", "$comment", "examples"};
    for (const auto& [keyword, argument] : schema.items()) {
      if (kAnnotations.count(keyword) == 0) Apply(schema, keyword, argument, value, path, faults);
    }
  }

  // One keyword of `schema` applied to `value`.
  void Apply(const json& schema, const std::string& keyword, const json& argument,
             const json& value, const std::string& path, std::vector<std::string>& faults) const {
    const auto fault = [&](const std::string& what) { faults.push_back(path + ": " + what); };
    if (keyword == "$ref") {
      Validate(Resolve(argument.get<std::string>()), value, path, faults);
    } else if (keyword == "type") {
      if (!HasType(value, argument.get<std::string>()))
        fault("not of type " + argument.get<std::string>());
    } else if (keyword == "enum") {
      if (std::find(argument.begin(), argument.end(), value) == argument.end())
        fault(value.dump() + " is not one of " + argument.dump());
    } else if (keyword == "minimum" || keyword == "maximum") {
      const bool below = keyword == "minimum";
      if (value.is_number() && (below ? value.get<double>() < argument.get<double>()
                                      : value.get<double>() > argument.get<double>()))
        fault(value.dump() + " is " + (below ? "below " : "above ") + argument.dump());
    } else if (keyword == "pattern") {
      if (value.is_string() &&
          !std::regex_search(value.get<std::string>(), std::regex(argument.get<std::string>())))
        fault(value.dump() + " does not match " + argument.get<std::string>());
    } else if (keyword == "minItems" || keyword == "maxItems") {
      const bool fewer = keyword == "minItems";
      if (value.is_array() && (fewer ? value.size() < argument.get<std::size_t>()
                                     : value.size() > argument.get<std::size_t>()))
        fault(std::to_string(value.size()) + " items, " + keyword + " " + argument.dump());
    } else if (keyword == "items") {
      if (value.is_array())
        for (std::size_t i = 0; i < value.size(); ++i)
          Validate(argument, value[i], path + "[" + std::to_string(i) + "]", faults);
    } else if (keyword == "required") {
      if (value.is_object())
        for (const json& name : argument)
          if (!value.contains(name.get<std::string>())) fault("lacks " + name.get<std::string>());
    } else if (keyword == "properties") {
      if (value.is_object())
        for (const auto& [name, member] : value.items())
          if (argument.contains(name)) Validate(argument[name], member, path + "." + name, faults);
    } else if (keyword == "additionalProperties") {
      ApplyAdditional(schema, argument, value, path, faults);
    } else if (keyword == "anyOf") {
      ApplyAnyOf(argument, value, path, faults);
    } else {
      faults.push_back("schema: unsupported keyword " + keyword + " at " + path);
    }
  }

  // Members not named under "properties" of the same schema: refused (false) or checked against
  // `argument` (a schema).
  void ApplyAdditional(const json& schema, const json& argument, const json& value,
                       const std::string& path, std::vector<std::string>& faults) const {
    if (!value.is_object()) return;
    const json named = schema.value("properties", json::object());
    for (const auto& [name, member] : value.items()) {
      if (named.contains(name)) continue;
      if (argument.is_boolean()) {
        if (!argument.get<bool>())
          faults.push_back(path + ": member " + name + " is not in the schema");
      } else {
        Validate(argument, member, path + "." + name, faults);
      }
    }
  }

  void ApplyAnyOf(const json& argument, const json& value, const std::string& path,
                  std::vector<std::string>& faults) const {
    std::string reasons;
    for (const json& choice : argument) {
      std::vector<std::string> choice_faults;
      Validate(choice, value, path, choice_faults);
      if (choice_faults.empty()) return;
      reasons += " [" + choice_faults.front() + (choice_faults.size() > 1 ? " ..." : "") + "]";
    }
    faults.push_back(path + ": matches none of anyOf:" + reasons);
  }

  json schema_;
};

}  // namespace solvane::testing

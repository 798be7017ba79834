// Shared by the store's tests: a scratch folder and a typical birth.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "store/birth_record.h"

namespace solvane::store::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "solvane-store-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// The built-in sample birth: 15 August 1980, 06:30 IST, New Delhi.
inline BirthRecord SampleBirth(std::string name = "ASHA RAO") {
  BirthRecord r;
  r.name = std::move(name);
  r.year = 1980, r.month = 8, r.day = 15, r.hour = 6, r.minute = 30;
  r.zone_index = 34;  // "Indian Time, IST, +5.3"
  r.longitude_deg = 77, r.longitude_min = 13, r.east = true;
  r.latitude_deg = 28, r.latitude_min = 36, r.south = false;
  r.city = "New Delhi", r.state = "Delhi", r.country = "India";
  return r;
}

}  // namespace solvane::store::testing

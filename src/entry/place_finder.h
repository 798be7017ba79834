// The place lookup answered from the built-in atlas: a small window listing the places that
// match, with their coordinates as the entry form writes them. Choosing one hands it to the
// form, which fills in its coordinates and place.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "entry/atlas.h"
#include "entry/entry_window.h"
#include "widgets/url_opener.h"

namespace solvane::entry {

// The place boxes' texts as one search asks for them.
struct PlaceParts {
  QString city, state, country;
};

class AtlasPlaceSearch final : public PlaceSearch {
 public:
  // The window opens over `parent_window` and lives on after this object is gone; `opener`
  // must outlive it.
  AtlasPlaceSearch(QWidget* parent_window, widgets::UrlOpener& opener,
                   const Atlas& atlas = Atlas::BuiltIn());

  // The window asking (nullptr: the one given above) and its place boxes as typed. Without
  // them, Search() splits its query into the three again, which cannot always tell where a name
  // of several words ends.
  void SetPlace(QWidget* window, const QString& city, const QString& state,
                const QString& country) override;

  // Called with the place the user chooses; without it the user reads the coordinates off.
  void SetPlaceChosen(PlaceChosen chosen) override;

  // Opens the window, replacing one that an earlier search left open over the same window.
  void Search(const QString& query, const QString& home_page) override;

  // City, state and country from a query "CITY STATE COUNTRY Latitude Longitude": the longest
  // leading words that name a place, then the division of the rest that narrows the matches most.
  static PlaceParts SplitQuery(const QString& query, const Atlas& atlas);

 private:
  QWidget* parent_window_;
  widgets::UrlOpener& opener_;
  const Atlas& atlas_;
  std::optional<PlaceParts> parts_;
  PlaceChosen chosen_;
};

}  // namespace solvane::entry

#include "entry/place_finder.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <limits>
#include <string>
#include <vector>

namespace solvane::entry {
namespace {

// Enough for every Springfield in the United States; more is a list nobody reads.
constexpr std::size_t kMostPlaces = 50;
// Large enough to tell which way of splitting a query narrows the matches most.
constexpr std::size_t kCountLimit = 1000;
constexpr int kVisibleRows = 12;
constexpr int kMostWidthChars = 110;
constexpr int kMessageChars = 56;

const QString kQuerySuffix = QStringLiteral(" Latitude Longitude");

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string S(const QString& s) { return s.toStdString(); }

QLabel* TextLabel(const QString& object_name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(object_name);
  label->setTextFormat(Qt::PlainText);  // place names are data, never markup
  label->setWordWrap(true);
  return label;
}

QTableWidget* PlaceTable(const std::vector<Place>& places, QWidget* parent) {
  auto* table = new QTableWidget(static_cast<int>(places.size()), 5, parent);
  table->setObjectName(QStringLiteral("tblPlaces"));
  table->setHorizontalHeaderLabels({QStringLiteral("Place"), QStringLiteral("State / Province"),
                                    QStringLiteral("Country"), QStringLiteral("Latitude"),
                                    QStringLiteral("Longitude")});
  table->verticalHeader()->hide();
  // Rows a little taller than the text rather than the style's roomy default: more places show.
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() * 3 / 2);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setAlternatingRowColors(true);
  table->setWordWrap(false);
  table->setTabKeyNavigation(false);  // Tab leaves the list; the arrows move within it
  for (int row = 0; row < table->rowCount(); ++row) {
    const Place& place = places[static_cast<std::size_t>(row)];
    const QString cells[] = {Q(place.name), Q(place.division), Q(CountryName(place.country_code)),
                             Q(FormatCoordinate(place.latitude, true)),
                             Q(FormatCoordinate(place.longitude, false))};
    for (int column = 0; column < 5; ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      if (column >= 3) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table->setItem(row, column, item);
    }
  }
  table->resizeColumnsToContents();
  table->horizontalHeader()->setStretchLastSection(true);
  if (table->rowCount() > 0) table->setCurrentCell(0, 0);

  // Room for every column and a dozen rows, all in units of the font so that it scales.
  const QFontMetrics metrics = table->fontMetrics();
  int width = table->frameWidth() * 2 + metrics.averageCharWidth() * 4;  // scroll bar
  for (int column = 0; column < 5; ++column) width += table->columnWidth(column);
  table->setMinimumWidth(std::min(width, metrics.averageCharWidth() * kMostWidthChars));
  const int rows = std::min(std::max(table->rowCount(), 3), kVisibleRows);
  const int height = table->horizontalHeader()->sizeHint().height() +
                     table->verticalHeader()->defaultSectionSize() * rows + table->frameWidth() * 2;
  table->setMinimumHeight(height);
  // A short list gains nothing from growing; a long one scrolls and may be made taller.
  if (table->rowCount() < kVisibleRows) table->setMaximumHeight(height);
  return table;
}

// The message of a search that found nothing.
void AddNoMatch(QVBoxLayout* layout, const PlaceParts& parts, QDialog* window) {
  QLabel* message = TextLabel(
      QStringLiteral("lblNoMatch"),
      QStringLiteral("No place called \"%1\" was found in the atlas. It lists towns of about "
                     "a thousand people and more; a map search on the web may know smaller "
                     "places.")
          .arg(parts.city),
      window);
  // Wide enough to break into a few lines rather than a tall column.
  message->setMinimumWidth(message->fontMetrics().averageCharWidth() * kMessageChars);
  layout->addWidget(message);
}

// The list of matches with its heading, note and hint; the table, and "Use this place" when the
// form can take a place.
struct MatchWidgets {
  QTableWidget* table = nullptr;
  QPushButton* use = nullptr;
};

MatchWidgets AddMatches(QVBoxLayout* layout, const PlaceParts& parts, const PlaceMatches& matches,
                        const PlaceChosen& chosen, QDialog* window) {
  const std::vector<Place>& places = matches.places;
  const QString heading =
      places.size() == kMostPlaces
          ? QStringLiteral("The first %1 places called \"%2\", best matches first:")
                .arg(places.size())
                .arg(parts.city)
          : QStringLiteral("Places called \"%1\", best matches first:").arg(parts.city);
  layout->addWidget(TextLabel(QStringLiteral("lblFound"), heading, window));
  if (!matches.note.empty())
    layout->addWidget(TextLabel(QStringLiteral("lblNote"), Q(matches.note), window));
  MatchWidgets made;
  made.table = PlaceTable(places, window);
  layout->addWidget(made.table, 1);
  layout->addWidget(TextLabel(QStringLiteral("lblHint"),
                              chosen ? QStringLiteral("Double-click the right place, or select "
                                                      "it and press \"Use this place\", to "
                                                      "fill in the form.")
                                     : QStringLiteral("Type the latitude and longitude of the "
                                                      "right place into the form."),
                              window));
  if (!chosen) return made;
  made.use = new QPushButton(QStringLiteral("&Use this place"), window);
  made.use->setObjectName(QStringLiteral("cmdUsePlace"));
  // Reads the row when pressed: the callback outlives the vector this window was built from.
  const auto use_row = [window, table = made.table, places, chosen] {
    const int row = table->currentRow();
    if (row < 0 || row >= static_cast<int>(places.size())) return;
    chosen(places[static_cast<std::size_t>(row)]);
    window->accept();
  };
  QObject::connect(made.use, &QPushButton::clicked, window, use_row);
  QObject::connect(made.table, &QTableWidget::cellDoubleClicked, window, use_row);
  made.use->setDefault(true);  // Enter in the list uses the selected place
  return made;
}

QPushButton* Button(const QString& text, const QString& name, QDialog* window) {
  auto* button = new QPushButton(text, window);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

// The window: built once per search, deleted when closed.
QDialog* FinderWindow(QWidget* parent, widgets::UrlOpener& opener, const QString& query,
                      const PlaceParts& parts, const PlaceMatches& matches,
                      const PlaceChosen& chosen) {
  auto* window = new QDialog(parent);
  window->setObjectName(QStringLiteral("frmFindPlace"));
  window->setWindowTitle(QStringLiteral("Find Latitude & Longitude"));
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setModal(false);
  auto* layout = new QVBoxLayout(window);

  QPushButton* search_web =
      Button(QStringLiteral("Search the &Web"), QStringLiteral("cmdSearchWeb"), window);
  QObject::connect(search_web, &QPushButton::clicked, window, [&opener, query] {
    opener.Open(QStringLiteral("https://www.openstreetmap.org/search?query=") +
                QString::fromLatin1(QUrl::toPercentEncoding(query)));
  });
  QPushButton* close = Button(QStringLiteral("&Close"), QStringLiteral("cmdClose"), window);
  QObject::connect(close, &QPushButton::clicked, window, &QDialog::reject);

  MatchWidgets made;
  if (matches.places.empty()) {
    AddNoMatch(layout, parts, window);
    search_web->setDefault(true);
  } else {
    made = AddMatches(layout, parts, matches, chosen, window);
    if (!made.use) close->setDefault(true);
  }
  layout->addWidget(TextLabel(QStringLiteral("lblSource"),
                              QStringLiteral("Places from GeoNames (geonames.org), CC BY 4.0."),
                              window));
  auto* buttons = new QHBoxLayout;
  if (made.use) buttons->addWidget(made.use);
  buttons->addWidget(search_web);
  buttons->addStretch();
  buttons->addWidget(close);
  layout->addLayout(buttons);

  QWidget* first_focus = made.table ? static_cast<QWidget*>(made.table) : search_web;
  if (made.use) {
    QWidget::setTabOrder(first_focus, made.use);
    QWidget::setTabOrder(made.use, search_web);
  } else if (first_focus != search_web) {
    QWidget::setTabOrder(first_focus, search_web);
  }
  QWidget::setTabOrder(search_web, close);
  first_focus->setFocus();
  // A message has nothing to gain from resizing, and wrapped labels reflow badly when it is.
  if (matches.places.empty()) layout->setSizeConstraint(QLayout::SetFixedSize);
  window->adjustSize();
  return window;
}

}  // namespace

AtlasPlaceSearch::AtlasPlaceSearch(QWidget* parent_window, widgets::UrlOpener& opener,
                                   const Atlas& atlas)
    : parent_window_(parent_window), opener_(opener), atlas_(atlas) {}

void AtlasPlaceSearch::SetPlace(QWidget* window, const QString& city, const QString& state,
                                const QString& country) {
  if (window) parent_window_ = window;
  parts_ = PlaceParts{city, state, country};
}

void AtlasPlaceSearch::SetPlaceChosen(PlaceChosen chosen) { chosen_ = std::move(chosen); }

void AtlasPlaceSearch::Search(const QString& query, const QString& /*home_page*/) {
  const PlaceParts parts = parts_ ? *parts_ : SplitQuery(query, atlas_);
  const PlaceMatches matches =
      atlas_.Lookup(S(parts.city), S(parts.state), S(parts.country), kMostPlaces);

  // One finder per window: a new search replaces the list rather than piling up windows.
  if (parent_window_) {
    for (QDialog* old : parent_window_->findChildren<QDialog*>(QStringLiteral("frmFindPlace"),
                                                               Qt::FindDirectChildrenOnly))
      old->close();
  }
  QDialog* window = FinderWindow(parent_window_, opener_, query, parts, matches, chosen_);
  window->show();
  window->activateWindow();
}

PlaceParts AtlasPlaceSearch::SplitQuery(const QString& query, const Atlas& atlas) {
  QString text = query.simplified();
  if (text.endsWith(kQuerySuffix)) text.chop(kQuerySuffix.size());
  const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
  const auto join = [&words](qsizetype from, qsizetype to) {
    return words.mid(from, to - from).join(u' ');
  };
  const qsizetype n = words.size();
  if (n < 3) return {join(0, 1), join(1, 2), QString()};

  // The state and the country take at least a word each.
  qsizetype city_words = 0;
  for (qsizetype k = n - 2; k >= 1 && city_words == 0; --k)
    if (!atlas.Find(S(join(0, k)), {}, {}, 1).empty()) city_words = k;
  if (city_words == 0) return {join(0, n - 2), words[n - 2], words[n - 1]};

  const std::string city = S(join(0, city_words));
  PlaceParts best{join(0, city_words), join(city_words, n - 1), words[n - 1]};
  std::pair<std::size_t, bool> best_score{std::numeric_limits<std::size_t>::max(), false};
  for (qsizetype split = city_words + 1; split < n; ++split) {
    const std::string state = S(join(city_words, split));
    const std::string country = S(join(split, n));
    // Fewest matches wins; between equals, a country the atlas knows by that name is likelier
    // whole ("Uttar Pradesh" + "India", not "Uttar" + "Pradesh India").
    const std::size_t count = atlas.Find(city, state, country, kCountLimit).size();
    const std::pair<std::size_t, bool> score{count, !NamesCountry(country)};
    if (score < best_score) {
      best_score = score;
      best = {join(0, city_words), join(city_words, split), join(split, n)};
    }
  }
  return best;
}

}  // namespace solvane::entry

// The atlas window behind the place-lookup button: what it lists, what it offers when it finds
// nothing, and how it opens, closes and makes way for the next search.
#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "entry/place_finder.h"
#include "shell/fakes.h"

using solvane::entry::Atlas;
using solvane::entry::AtlasPlaceSearch;
using solvane::entry::PlaceParts;
using solvane::testing::RecordingOpener;

namespace {

const QString kHome = QStringLiteral("https://www.solvane.app");

QString Query(const QString& city, const QString& state, const QString& country) {
  return city + u' ' + state + u' ' + country + QStringLiteral(" Latitude Longitude");
}

QList<QDialog*> Finders(QWidget& parent) {
  return parent.findChildren<QDialog*>(QStringLiteral("frmFindPlace"), Qt::FindDirectChildrenOnly);
}

// Lets closed windows finish deleting themselves.
void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// Runs one search the way the entry form does: a fresh search object, gone right after.
QDialog* SearchFor(QWidget& parent, RecordingOpener& opener, const QString& city,
                   const QString& state, const QString& country, bool give_parts = true) {
  {
    AtlasPlaceSearch search(give_parts ? nullptr : &parent, opener);
    if (give_parts) search.SetPlace(&parent, city, state, country);
    search.Search(Query(city, state, country), kHome);
  }
  Settle();
  const QList<QDialog*> finders = Finders(parent);
  return finders.size() == 1 ? finders.front() : nullptr;
}

QStringList Row(const QTableWidget* table, int row) {
  QStringList cells;
  for (int column = 0; column < table->columnCount(); ++column)
    cells << (table->item(row, column) ? table->item(row, column)->text() : QString());
  return cells;
}

// Where Tab goes from `widget`: the next visible widget that takes focus by Tab.
QWidget* NextTabStop(QWidget* widget) {
  QWidget* next = widget->nextInFocusChain();
  while (next != widget && !(next->isVisibleTo(widget->window()) && next->isEnabled() &&
                             (next->focusPolicy() & Qt::TabFocus)))
    next = next->nextInFocusChain();
  return next;
}

}  // namespace

class PlaceFinderTest : public QObject {
  Q_OBJECT

 private slots:
  void ListsMatchesInTheFormsStyle_data();
  void ListsMatchesInTheFormsStyle();
  void ChoosingAPlaceHandsItBack_data();
  void ChoosingAPlaceHandsItBack();
  void NoteOfTheLookupShowsAboveTheList();
  void WindowIsNonModalTitledAndKeyboardReady();
  void NothingFoundOffersTheWeb();
  void EnterOnNothingFoundSearchesTheWeb();
  void EscapeClosesAndDeletes();
  void NextSearchReplacesTheWindow();
  void ColumnsShowTheirTextWhole();
  void SplitsAQueryWithoutItsParts_data();
  void SplitsAQueryWithoutItsParts();
};

void PlaceFinderTest::ListsMatchesInTheFormsStyle_data() {
  QTest::addColumn<QString>("city");
  QTest::addColumn<QString>("state");
  QTest::addColumn<QString>("country");
  QTest::addColumn<QStringList>("first_row");
  QTest::newRow("narrowed by state and country")
      << "Springfield"
      << "Illinois"
      << "USA" << QStringList{"Springfield", "Illinois", "United States", "39° 48' N", "89° 39' W"};
  QTest::newRow("accents ignored")
      << "sao paulo"
      << "SP"
      << "Brazil" << QStringList{"São Paulo", "São Paulo", "Brazil", "23° 33' S", "46° 38' W"};
  QTest::newRow("old name") << "Bombay"
                            << "Maharashtra"
                            << "India"
                            << QStringList{"Mumbai", "Maharashtra", "India", "19° 4' N",
                                           "72° 53' E"};
}

void PlaceFinderTest::ListsMatchesInTheFormsStyle() {
  QFETCH(QString, city);
  QFETCH(QString, state);
  QFETCH(QString, country);
  QFETCH(QStringList, first_row);
  QWidget parent;
  RecordingOpener opener;
  QDialog* window = SearchFor(parent, opener, city, state, country);
  QVERIFY(window);
  auto* table = window->findChild<QTableWidget*>(QStringLiteral("tblPlaces"));
  QVERIFY(table);
  QVERIFY(table->rowCount() >= 1);
  QCOMPARE(Row(table, 0), first_row);
  QVERIFY(!window->findChild<QLabel*>(QStringLiteral("lblNoMatch")));
  QVERIFY(opener.opened.isEmpty());  // nothing leaves the program unless asked
  // The list is for reading: no cell can be edited into something else.
  QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
}

void PlaceFinderTest::WindowIsNonModalTitledAndKeyboardReady() {
  QWidget parent;
  RecordingOpener opener;
  QDialog* window = SearchFor(parent, opener, "Madrid", "Madrid", "Spain");
  QVERIFY(window);
  QVERIFY(window->isVisible());
  QVERIFY(!window->isModal());
  QCOMPARE(window->windowTitle(), QStringLiteral("Find Latitude & Longitude"));
  auto* table = window->findChild<QTableWidget*>(QStringLiteral("tblPlaces"));
  QVERIFY(table);
  QCOMPARE(window->focusWidget(), table);
  QCOMPARE(table->currentRow(), 0);
  QCOMPARE(Row(table, 0).front(), QStringLiteral("Madrid"));
  // Tab walks out of the list to the buttons rather than from cell to cell.
  QVERIFY(!table->tabKeyNavigation());
  auto* web = window->findChild<QPushButton*>(QStringLiteral("cmdSearchWeb"));
  auto* close = window->findChild<QPushButton*>(QStringLiteral("cmdClose"));
  QVERIFY(web && close);
  QCOMPARE(NextTabStop(table), static_cast<QWidget*>(web));
  QCOMPARE(NextTabStop(web), static_cast<QWidget*>(close));
  QCOMPARE(NextTabStop(close), static_cast<QWidget*>(table));
  QVERIFY(close->isDefault());
  QVERIFY(window->findChild<QLabel*>(QStringLiteral("lblSource"))->text().contains("GeoNames"));
}

void PlaceFinderTest::NothingFoundOffersTheWeb() {
  QWidget parent;
  RecordingOpener opener;
  QDialog* window = SearchFor(parent, opener, "Xqzzyville", "Nowhere", "Narnia & Co");
  QVERIFY(window);
  QVERIFY(!window->findChild<QTableWidget*>(QStringLiteral("tblPlaces")));
  auto* label = window->findChild<QLabel*>(QStringLiteral("lblNoMatch"));
  QVERIFY(label);
  QVERIFY2(label->text().startsWith(
               QStringLiteral("No place called \"Xqzzyville\" was found in the atlas.")),
           qPrintable(label->text()));
  auto* web = window->findChild<QPushButton*>(QStringLiteral("cmdSearchWeb"));
  QVERIFY(web);
  QCOMPARE(web->text(), QStringLiteral("Search the &Web"));
  QCOMPARE(window->focusWidget(), static_cast<QWidget*>(web));
  QVERIFY(opener.opened.isEmpty());
  // The search object is long gone; the window still reaches the browser.
  QTest::mouseClick(web, Qt::LeftButton);
  QCOMPARE(opener.opened,
           QStringList{"https://www.openstreetmap.org/search?query="
                       "Xqzzyville%20Nowhere%20Narnia%20%26%20Co%20Latitude%20Longitude"});
  QVERIFY(window->isVisible());  // the user may still want to read the message
}

void PlaceFinderTest::EnterOnNothingFoundSearchesTheWeb() {
  QWidget parent;
  RecordingOpener opener;
  QDialog* window = SearchFor(parent, opener, "Xqzzyville", "Nowhere", "Narnia");
  QVERIFY(window);
  QTest::keyClick(window, Qt::Key_Return);
  QCOMPARE(opener.opened.size(), 1);
}

void PlaceFinderTest::EscapeClosesAndDeletes() {
  QWidget parent;
  RecordingOpener opener;
  QPointer<QDialog> window = SearchFor(parent, opener, "Madrid", "", "Spain");
  QVERIFY(window);
  QTest::keyClick(window, Qt::Key_Escape);
  Settle();
  QVERIFY(window.isNull());
  QVERIFY(opener.opened.isEmpty());

  window = SearchFor(parent, opener, "Madrid", "", "Spain");
  QVERIFY(window);
  QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
  Settle();
  QVERIFY(window.isNull());
}

void PlaceFinderTest::NextSearchReplacesTheWindow() {
  QWidget parent;
  RecordingOpener opener;
  QPointer<QDialog> first = SearchFor(parent, opener, "Madrid", "", "Spain");
  QVERIFY(first);
  // This one from the query alone, as a search not told the place boxes works.
  QDialog* second = SearchFor(parent, opener, "Sydney", "NSW", "Australia", false);
  QVERIFY(first.isNull());
  QVERIFY(second);
  QCOMPARE(Row(second->findChild<QTableWidget*>(QStringLiteral("tblPlaces")), 0).front(),
           QStringLiteral("Sydney"));
}

void PlaceFinderTest::ColumnsShowTheirTextWhole() {
  QWidget parent;
  RecordingOpener opener;
  // Long division names and many rows: the widest list a common name gives.
  QDialog* window = SearchFor(parent, opener, "San", "", "");
  QVERIFY(window);
  auto* table = window->findChild<QTableWidget*>(QStringLiteral("tblPlaces"));
  QVERIFY(table);
  QCOMPARE(table->rowCount(), 50);
  const QFontMetrics metrics = table->fontMetrics();
  for (int column = 0; column < table->columnCount() - 1; ++column) {
    for (int row = 0; row < table->rowCount(); ++row) {
      const QString text = table->item(row, column)->text();
      QVERIFY2(table->columnWidth(column) >= metrics.horizontalAdvance(text),
               qPrintable(QStringLiteral("column %1 cuts %2").arg(column).arg(text)));
    }
  }
  QVERIFY(window->width() >= table->minimumWidth());
  QVERIFY(window->findChild<QLabel*>(QStringLiteral("lblFound"))->text().contains("first 50"));
}

void PlaceFinderTest::SplitsAQueryWithoutItsParts_data() {
  QTest::addColumn<QString>("query");
  QTest::addColumn<QString>("city");
  QTest::addColumn<QString>("state");
  QTest::addColumn<QString>("country");
  const auto row = [](const char* name, const char* city, const char* state, const char* country) {
    QTest::newRow(name) << Query(city, state, country) << city << state << country;
  };
  row("one word each", "Madrid", "Madrid", "Spain");
  row("city of two words", "New Delhi", "Delhi", "India");
  row("city of three words", "Frankfurt am Main", "Hesse", "Germany");
  row("state of two words", "Varanasi", "Uttar Pradesh", "India");
  row("country of two words", "Springfield", "Illinois", "United States");
  row("accents", "São Paulo", "SP", "Brazil");
  row("unknown city", "Xqzzyville", "Nowhere", "Narnia");
  QTest::newRow("extra blanks") << QStringLiteral("  Madrid   Madrid  Spain Latitude Longitude ")
                                << "Madrid"
                                << "Madrid"
                                << "Spain";
}

void PlaceFinderTest::SplitsAQueryWithoutItsParts() {
  QFETCH(QString, query);
  QFETCH(QString, city);
  QFETCH(QString, state);
  QFETCH(QString, country);
  const PlaceParts parts = AtlasPlaceSearch::SplitQuery(query, Atlas::BuiltIn());
  QCOMPARE(parts.city, city);
  QCOMPARE(parts.state, state);
  QCOMPARE(parts.country, country);
}

// Each way of choosing hands the selected row's place back once and closes the window.
void PlaceFinderTest::ChoosingAPlaceHandsItBack_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("button") << "button";
  QTest::newRow("double-click") << "double-click";
  QTest::newRow("Enter") << "Enter";
}

void PlaceFinderTest::ChoosingAPlaceHandsItBack() {
  QFETCH(QString, how);
  QWidget parent;
  RecordingOpener opener;
  std::vector<solvane::entry::Place> chosen;
  {
    AtlasPlaceSearch search(nullptr, opener);
    search.SetPlace(&parent, "Mumbai", "Maharashtra", "India");
    search.SetPlaceChosen([&chosen](const solvane::entry::Place& p) { chosen.push_back(p); });
    search.Search(Query("Mumbai", "Maharashtra", "India"), kHome);
  }
  Settle();
  QPointer<QDialog> window = Finders(parent).value(0);
  QVERIFY(window);
  auto* table = window->findChild<QTableWidget*>(QStringLiteral("tblPlaces"));
  auto* use = window->findChild<QPushButton*>(QStringLiteral("cmdUsePlace"));
  QVERIFY(table && use);
  QVERIFY(use->isDefault());
  QCOMPARE(NextTabStop(table), static_cast<QWidget*>(use));
  if (how == "button") {
    QTest::mouseClick(use, Qt::LeftButton);
  } else if (how == "double-click") {
    const QRect cell = table->visualRect(table->model()->index(0, 0));
    // The first click of a double-click selects; the second one is the double-click itself.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  } else {
    QTest::keyClick(window, Qt::Key_Return);
  }
  Settle();
  QCOMPARE(chosen.size(), std::size_t{1});
  QCOMPARE(QString::fromStdString(chosen[0].name), QStringLiteral("Mumbai"));
  QCOMPARE(chosen[0].time_zone, std::string("Asia/Kolkata"));
  QVERIFY(window.isNull());
  QVERIFY(opener.opened.isEmpty());
}

// The atlas's own note (a state holding no such place) is what the window says first.
void PlaceFinderTest::NoteOfTheLookupShowsAboveTheList() {
  QWidget parent;
  RecordingOpener opener;
  QDialog* window = SearchFor(parent, opener, "Lagos", "", "Brazil");
  QVERIFY(window);
  const std::string expected = Atlas::BuiltIn().Lookup("Lagos", "", "Brazil", 50).note;
  QVERIFY(!expected.empty());
  auto* note = window->findChild<QLabel*>(QStringLiteral("lblNote"));
  QVERIFY(note);
  QCOMPARE(note->text(), QString::fromStdString(expected));
}

QTEST_MAIN(PlaceFinderTest)
#include "place_finder_qtest.moc"

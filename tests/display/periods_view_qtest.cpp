// The nakshatras and periods tab: its table, the tree and its marks, the date box, the keyboard.
#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "core/civil_date.h"
#include "display/periods_view.h"

using solvane::display::PeriodsInputFor;
using solvane::display::PeriodsView;
using solvane::display::PeriodsViewInput;
namespace vedic = solvane::vedic;
namespace core = solvane::core;

namespace {

// Longitudes indexed by core::Body (Midheaven is not in the table). The Moon at 6°40' is half-way
// through Ashwini: Ketu's balance is 3.5 years.
constexpr std::array<double, core::kPositionCount> kLongitudes = {
    0.0,    20.0 / 3, 40.0 / 3, 100.0, 200.0, 250.0, 300.0, 10.0, 20.0, 30.0,
    359.99,  // Ascendant
    270.0,   // Midheaven
    123.4,   // Rahu
    303.4,   // Ketu
};
const double kBirth = core::DaysFromCivil(1980, 8, 15) + 390 / 1440.0;

PeriodsViewInput Input(long marked_day, bool approximate = false) {
  PeriodsViewInput input =
      PeriodsInputFor(kLongitudes, kBirth, vedic::kJulianYearDays, approximate);
  input.marked_day = marked_day;
  return input;
}

QDate DateOf(long day) {
  const core::CivilDate d = core::CivilFromDays(day);
  return QDate(d.year, d.month, d.day);
}

// The tree's texts of the marked periods, "Ketu / Rahu / Mercury".
QString MarkedPath(const PeriodsView& view) {
  QStringList lords;
  for (const QTreeWidgetItem* item : view.MarkedItems()) lords << item->text(0);
  return lords.join(QStringLiteral(" / "));
}

bool LooksMarked(const QTreeWidgetItem* item) {
  return item->font(0).bold() && item->background(0).style() != Qt::NoBrush;
}

}  // namespace

class PeriodsViewTest : public QObject {
  Q_OBJECT

 private slots:
  void TableHasEveryBody() {
    PeriodsView view(Input(core::DaysFromCivil(2000, 1, 1)));
    QTableWidget* table = view.findChild<QTableWidget*>(QStringLiteral("tblNakshatras"));
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 13);
    const QStringList bodies = {"Sun",     "Moon",   "Mercury",  "Venus",   "Mars",
                                "Jupiter", "Saturn", "Uranus",   "Neptune", "Pluto",
                                "Rahu",    "Ketu",   "Ascendant"};
    for (int row = 0; row < bodies.size(); ++row)
      QCOMPARE(table->item(row, 0)->text(), bodies[row]);
    struct Row {
      int row;
      const char *number, *name, *pada, *lord, *navamsa;
    };
    const Row rows[] = {
        // Navamsa: the 3°20' part of the zodiac, counted from Aries, modulo 12.
        {0, "1", "Ashwini", "1", "Ketu", "Aries"},       // 0°: part 0
        {1, "1", "Ashwini", "3", "Ketu", "Gemini"},      // 6°40': part 2
        {2, "2", "Bharani", "1", "Venus", "Leo"},        // 13°20': part 4
        {3, "8", "Pushya", "3", "Saturn", "Libra"},      // 100° = 93°20' + 6°40': part 30
        {4, "16", "Vishakha", "1", "Jupiter", "Aries"},  // 200° = 15 x 13°20': part 60
        {12, "27", "Revati", "4", "Mercury", "Pisces"},  // 359.99°: part 107
    };
    for (const Row& r : rows) {
      QCOMPARE(table->item(r.row, 1)->text(), QString::fromLatin1(r.number));
      QCOMPARE(table->item(r.row, 2)->text(), QString::fromLatin1(r.name));
      QCOMPARE(table->item(r.row, 3)->text(), QString::fromLatin1(r.pada));
      QCOMPARE(table->item(r.row, 4)->text(), QString::fromLatin1(r.lord));
      QCOMPARE(table->item(r.row, 5)->text(), QString::fromLatin1(r.navamsa));
    }
  }

  // A Moon half-way through Ashwini: at birth Ketu / Rahu / Mercury run (see the model's tests).
  void TreeOpensOnTheRunningPeriods() {
    const long birth_date = core::DaysFromCivil(1980, 8, 15);
    PeriodsView view(Input(birth_date));
    QTreeWidget* tree = view.findChild<QTreeWidget*>(QStringLiteral("treeDasha"));
    QVERIFY(tree);
    QCOMPARE(tree->topLevelItemCount(), 10);  // nine and Ketu's return to complete 120 years
    QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Ketu"));
    QCOMPARE(tree->topLevelItem(0)->text(1), QStringLiteral("1980-08-15"));
    QVERIFY(!tree->topLevelItem(0)->toolTip(1).isEmpty());  // says when it really began
    QCOMPARE(tree->topLevelItem(0)->childCount(), 4);       // Rahu, Jupiter, Saturn, Mercury

    QCOMPARE(MarkedPath(view), QStringLiteral("Ketu / Rahu / Mercury"));
    const auto marked = view.MarkedItems();
    for (const QTreeWidgetItem* item : marked) QVERIFY(LooksMarked(item));
    QVERIFY(marked[0]->isExpanded());
    QVERIFY(marked[1]->isExpanded());
    QCOMPARE(tree->currentItem(), marked[2]);
    QVERIFY(!marked[2]->isSelected());
    QVERIFY(!LooksMarked(tree->topLevelItem(1)));
    QCOMPARE(
        view.findChild<QLabel*>(QStringLiteral("lblDashaBalance"))->text(),
        QStringLiteral("Balance at birth: Ketu 3 years 6 months 0 days (Moon in Ashwini, pada 3)"));
  }

  // Each date against the model's answer, and the marks leave the items they left.
  void ChangingTheDateMovesTheMark() {
    const vedic::Vimshottari periods =
        *vedic::Vimshottari::FromMoon(kLongitudes[core::kMoon], kBirth);
    PeriodsView view(Input(core::DaysFromCivil(1980, 8, 15)));
    QDateEdit* box = view.findChild<QDateEdit*>(QStringLiteral("dteDashaDate"));
    QVERIFY(box);
    QTreeWidget* tree = view.Tree();
    const long dates[] = {core::DaysFromCivil(1984, 2, 14),   // the day Ketu hands over to Venus
                          core::DaysFromCivil(1984, 2, 13),   // still Ketu
                          core::DaysFromCivil(2031, 7, 4),    // inside
                          core::DaysFromCivil(2100, 8, 15)};  // the listing's last day
    for (long day : dates) {
      const auto before = view.MarkedItems();
      box->setDate(DateOf(day));
      const auto want = periods.RunningOnDate(day);
      QVERIFY2(want.has_value(), want ? "" : want.error().message.c_str());
      QCOMPARE(MarkedPath(view), QString::fromStdString(vedic::PathText(*want)));
      QCOMPARE(view.MarkedItems()[0]->text(1),
               QString::fromStdString(vedic::DateText(want->mahadasha.shown_start_day)));
      for (QTreeWidgetItem* item : before)
        if (!view.MarkedItems().empty() && item != view.MarkedItems()[0] &&
            item != view.MarkedItems()[1] && item != view.MarkedItems()[2])
          QVERIFY(!LooksMarked(item));
      QCOMPARE(tree->currentItem(), view.MarkedItems()[2]);
    }
    // Outside the listing nothing is marked and the label says why.
    box->setDate(QDate(1979, 1, 1));
    QVERIFY(view.MarkedItems().empty());
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
      QVERIFY(!LooksMarked(tree->topLevelItem(i)));
    QVERIFY(view.findChild<QLabel*>(QStringLiteral("lblDashaRunning"))
                ->text()
                .contains(QStringLiteral("before the birth")));
  }

  // 2025-06-01 runs in Mars' mahadasha, whose expanded rows reach below a tree this small: the
  // marked rows are scrolled into view once the tab is shown and laid out.
  void ShownTreeIsScrolledToTheMark() {
    // In a tab, as in the chart window: laid out only when shown.
    QTabWidget tabs;
    auto* view_in_tab = new PeriodsView(Input(core::DaysFromCivil(2025, 6, 1)));
    tabs.addTab(view_in_tab, QStringLiteral("Periods"));
    tabs.resize(520, 640);
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    PeriodsView& view = *view_in_tab;
    QTreeWidget* tree = view.Tree();
    const auto marked = view.MarkedItems();
    QCOMPARE(marked.size(), size_t{3});
    // The antardasha is on screen with its running pratyantardasha, not scrolled out above it.
    QTRY_VERIFY(tree->viewport()->rect().contains(tree->visualItemRect(marked[1])));
    QVERIFY(tree->viewport()->rect().contains(tree->visualItemRect(marked[2])));
    QVERIFY(tree->verticalScrollBar()->value() > 0);
    // Another date far up scrolls back.
    view.SetDate(QDate(1981, 1, 1));
    QVERIFY(tree->viewport()->rect().contains(tree->visualItemRect(view.MarkedItems()[2])));
  }

  void NoteSaysWhenDatesAreApproximate() {
    const QString why = QString::fromUtf8(vedic::kApproximateNote.data(),
                                          static_cast<int>(vedic::kApproximateNote.size()));
    for (bool approximate : {false, true}) {
      PeriodsView view(Input(core::DaysFromCivil(2000, 1, 1), approximate));
      const QString note = view.findChild<QLabel*>(QStringLiteral("lblDashaNote"))->text();
      QVERIFY(note.startsWith(QStringLiteral("Years of 365.25 days.")));
      QCOMPARE(note.contains(why), approximate);
    }
  }

  void WithoutAMoonThereAreNoPeriods() {
    PeriodsViewInput input = Input(0);
    input.moon_row = 42;
    PeriodsView view(input);
    QCOMPARE(view.Tree()->topLevelItemCount(), 0);
    QVERIFY(!view.DateBox()->isEnabled());
    QVERIFY(view.MarkedItems().empty());
    QCOMPARE(view.Table()->rowCount(), 13);
  }

  void KeyboardOrderAndAccessKeys() {
    PeriodsView view(Input(core::DaysFromCivil(2000, 1, 1)));
    view.show();
    view.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    auto focused = [](QWidget* w) {
      QWidget* f = QApplication::focusWidget();
      return f && (f == w || w->isAncestorOf(f));
    };
    view.Table()->setFocus();
    QVERIFY(focused(view.Table()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(focused(view.DateBox()));
    // Tab walks the date's year, month and day first, as every Qt date box does, then leaves.
    for (int section = 0; section < 3 && focused(view.DateBox()); ++section)
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(focused(view.Tree()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QVERIFY(focused(view.DateBox()));

    struct Key {
      Qt::Key key;
      QWidget* target;
    };
    const Key keys[] = {
        {Qt::Key_V, view.Tree()}, {Qt::Key_K, view.Table()}, {Qt::Key_D, view.DateBox()}};
    for (const Key& k : keys) {
      QTest::keyClick(&view, k.key, Qt::AltModifier);
      QVERIFY2(focused(k.target), qPrintable(k.target->objectName()));
    }
  }
};

QTEST_MAIN(PeriodsViewTest)
#include "periods_view_qtest.moc"

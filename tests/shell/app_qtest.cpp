// The desktop program driven as a user drives it, without a display.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QSvgWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include "display/chart_window.h"
#include "entry/entry_window.h"
#include "entry/sample.h"
#include "shell/app.h"
#include "shell/exit_screen.h"
#include "shell/fakes.h"
#include "shell/main_window.h"
#include "shell/two_scales.h"

using solvane::core::MessageIcon;
using solvane::shell::App;
using solvane::testing::RecordingMessages;
using solvane::testing::RecordingOpener;

namespace {

class RecordingSearch final : public solvane::entry::PlaceSearch {
 public:
  explicit RecordingSearch(QStringList& calls) : calls_(calls) {}
  void Search(const QString& query, const QString& home_page) override {
    calls_ << query + u'|' + home_page;
  }

 private:
  QStringList& calls_;
};

template <typename T>
T* Find(QWidget* root, const QString& name) {
  T* widget = root->findChild<T*>(name);
  if (!widget) qFatal("no widget %s", qPrintable(name));
  return widget;
}

QString Label(QWidget* root, const QString& name) { return Find<QLabel>(root, name)->text(); }

// Key by key, as a keyboard of the script types it (QTest::keyClicks takes Latin-1 only).
void TypeText(QWidget* box, const QString& text) {
  for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, c, {});
}

}  // namespace

class AppTest : public QObject {
  Q_OBJECT

 private:
  // A started program with its own lock and settings in a temporary folder.
  struct Session {
    RecordingMessages messages;
    RecordingOpener opener;
    QStringList searches;
    std::unique_ptr<App> app;
    std::unique_ptr<QSettings> settings;
  };

  std::unique_ptr<Session> Started(const QDateTime& now = QDateTime::currentDateTime()) {
    auto s = std::make_unique<Session>();
    s->app = std::make_unique<App>(s->messages, s->opener, [&searches = s->searches] {
      return std::make_unique<RecordingSearch>(searches);
    });
    s->settings = std::make_unique<QSettings>(dir_.filePath("settings.ini"), QSettings::IniFormat);
    if (!s->app->Start(dir_.filePath("solvane.lock"), *s->settings, now)) return nullptr;
    return s;
  }

  // Types a birth into the entry form the way a user would.
  void TypeLondon(solvane::entry::EntryWindow* entry) {
    QTest::keyClicks(Find<QLineEdit>(entry, "txtName"), "test");
    Find<QComboBox>(entry, "cboYear")->setCurrentIndex(2000 - 1901);
    Find<QComboBox>(entry, "cboHH")->setCurrentIndex(12);
    QTest::keyClicks(Find<QLineEdit>(entry, "txtLonD"), "0");
    QTest::keyClicks(Find<QLineEdit>(entry, "txtLonM"), "0");
    QTest::keyClicks(Find<QLineEdit>(entry, "txtLatD"), "51");
    QTest::keyClicks(Find<QLineEdit>(entry, "txtLatM"), "30");
    QTest::keyClicks(Find<QLineEdit>(entry, "txtMCity"), "London");
  }

  QTemporaryDir dir_;

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);  // the chart window's own settings
    QSettings().clear();
  }
  void cleanupTestCase() { QSettings().clear(); }

  void init() {
    QFile::remove(dir_.filePath("solvane.lock"));
    QFile::remove(dir_.filePath("settings.ini"));
  }

  void EntryFormAtLoad() {
    auto s = Started();
    QVERIFY(s);
    auto* entry = s->app->Entry();
    QVERIFY(entry->isVisible());
    QCOMPARE(entry->windowTitle(), QStringLiteral("Solvane v1.15"));
    QCOMPARE(Find<QComboBox>(entry, "cboMonth")->currentText(), QStringLiteral("January"));
    QCOMPARE(Find<QComboBox>(entry, "cboYear")->count(), 150);
    // The 71 zones, then the entry for an exact offset.
    QCOMPARE(Find<QComboBox>(entry, "cmbTimeZone")->count(), 72);
    QCOMPARE(Find<QComboBox>(entry, "cmbTimeZone")->itemText(71),
             QStringLiteral("Other offset\u2026"));
    QCOMPARE(Find<QComboBox>(entry, "cmbTimeZone")->currentText(),
             QStringLiteral("Greenwich Mean Time,GMT,0.0"));
    QCOMPARE(Find<QLineEdit>(entry, "txtLonD")->maxLength(), 3);
    QCOMPARE(Find<QLineEdit>(entry, "txtLatD")->maxLength(), 2);
    QVERIFY(Find<QRadioButton>(entry, "optLong0")->isChecked());
    QVERIFY(Find<QRadioButton>(entry, "optLat0")->isChecked());
    QCOMPARE(Find<QPushButton>(entry, "cmdBrowser")->text(),
             QStringLiteral("Click Here To Find Latitude && Longitude"));
    QVERIFY(s->messages.shown.empty());
  }

  void WholePathThereAndBackAgain() {
    auto s = Started();
    auto* entry = s->app->Entry();
    TypeLondon(entry);
    QCOMPARE(Find<QLineEdit>(entry, "txtName")->text(), QStringLiteral("TEST"));
    QTest::mouseClick(Find<QPushButton>(entry, "cmdRashi"), Qt::LeftButton);
    QVERIFY(s->messages.shown.empty());
    auto* main = s->app->Main();
    QVERIFY(main && main->isVisible());
    QVERIFY(!entry->isVisible());
    auto* chart = main->Chart();
    QCOMPARE(Label(chart, "lblSunSign"), QStringLiteral("Sagittarius"));
    QCOMPARE(Label(chart, "lblLagna"), QStringLiteral("Aries (Mesha)"));
    QCOMPARE(Label(chart, "lblRashi"), QStringLiteral("Libra (Thula)"));
    QCOMPARE(Label(chart, "lblPlanet0"), QStringLiteral("16 Sag 31"));
    QCOMPARE(Label(chart, "lblPlanet10"), QStringLiteral("00 Ari 26"));
    QCOMPARE(Label(chart, "lblName"), QStringLiteral("TEST"));
    QCOMPARE(Label(chart, "lblLatitude"), QStringLiteral("51° 30' N"));
    QCOMPARE(Label(chart, "lblCity"), QStringLiteral("London"));
    QCOMPARE(Label(chart, "lblNatal0"), QStringLiteral("Jupiter\nSaturn (R) \nAsc"));
    QCOMPARE(Label(chart, "lblNatal6"), QStringLiteral("Moon"));
    QCOMPARE(Find<QSvgWidget>(chart, "imgSign0")->property("signEntry").toInt(), 1);
    QCOMPARE(Find<QSvgWidget>(chart, "imgSign11")->property("signEntry").toInt(), 12);
    QVERIFY(!Find<QLabel>(chart, "lblNatalAries")->isVisible());
    QCOMPARE(Label(chart, "lblNatalPosition0"), QStringLiteral("12"));
    const QString report = Find<QTextEdit>(chart, "RTBHouseDesc")->toPlainText();
    QVERIFY(report.startsWith(QStringLiteral("Jupiter In First House\n")));
    const QString first_chart = report;

    QTest::mouseClick(Find<QPushButton>(main, "cmdBack"), Qt::LeftButton);
    QVERIFY(entry->isVisible());
    QCOMPARE(Find<QLineEdit>(entry, "txtName")->text(), QStringLiteral("TEST"));
    QCOMPARE(Find<QLineEdit>(entry, "txtLatD")->text(), QStringLiteral("51"));
    QCOMPARE(Find<QComboBox>(entry, "cboYear")->currentText(), QStringLiteral("2000"));

    // The menu entry "Proceed" does what the button does.
    Find<QAction>(entry, "mnuNext")->trigger();
    QVERIFY(s->app->Main() && s->app->Main()->isVisible());
    QCOMPARE(Find<QTextEdit>(s->app->Main()->Chart(), "RTBHouseDesc")->toPlainText(), first_chart);
  }

  void DelhiChart() {
    auto s = Started();
    auto* entry = s->app->Entry();
    entry->FillForm(solvane::entry::SampleBirth());  // 15 August 1980, 06:30 IST, New Delhi
    entry->Proceed();
    auto* chart = s->app->Main()->Chart();
    QCOMPARE(Label(chart, "lblLagna"), QStringLiteral("Leo (Simha)"));
    QCOMPARE(Label(chart, "lblTOB"), QStringLiteral("6:30"));
    QCOMPARE(Label(chart, "lblLongitude"), QStringLiteral("77° 13' E"));
    QCOMPARE(Label(chart, "lblNatal0"), QStringLiteral("Jupiter\nAsc"));
    QCOMPARE(Find<QSvgWidget>(chart, "imgSign0")->property("signEntry").toInt(), 5);
    QCOMPARE(Find<QSvgWidget>(chart, "imgSign8")->property("signEntry").toInt(), 1);
  }

  void ChartViewMenuBetweenFileAndHelp() {
    auto s = Started();
    s->app->Entry()->FillForm(solvane::entry::SampleBirth());
    s->app->Entry()->Proceed();
    auto* main = s->app->Main();
    const QList<QAction*> menus = main->menuBar()->actions();
    QVERIFY(menus.size() >= 3);
    QCOMPARE(menus[0]->text(), QStringLiteral("&File"));
    QCOMPARE(menus[1]->text(), QStringLiteral("&View"));
    QCOMPARE(menus[1]->menu(), main->Chart()->ViewMenu());

    // A square style chosen there replaces the wheel, in this chart and the next one.
    Find<QAction>(main->Chart(), "mnuStyle_south")->trigger();
    QVERIFY(Find<QSvgWidget>(main->Chart(), "picNatal")->isHidden());
    QTest::mouseClick(Find<QPushButton>(main, "cmdBack"), Qt::LeftButton);
    s->app->Entry()->Proceed();
    QVERIFY(s->app->Main());
    QCOMPARE(s->app->Main()->Chart()->Style(),
             std::optional(solvane::display::ChartStyle::kSouthIndian));
    QVERIFY(Find<QSvgWidget>(s->app->Main()->Chart(), "picNatal")->isHidden());
    QSettings().clear();
  }

  // The View menu's engine charts the same birth again in a new window, and is remembered.
  void ChoosingAnEngineChartsTheBirthAgainWithIt() {
    auto s = Started();
    s->app->Entry()->FillForm(solvane::entry::SampleBirth());
    s->app->Entry()->Proceed();
    QCOMPARE(Label(s->app->Main()->Chart(), "lblPlanet0"), QStringLiteral("28 Can 46"));
    s->app->Main()->Chart()->ChooseEngine(QStringLiteral("precise"));
    // The request is queued: the window that asked is replaced once its event is done.
    QTRY_COMPARE(s->app->State().engine, std::string("precise"));
    auto* chart = s->app->Main()->Chart();
    QVERIFY(chart->isVisible());
    // solvane-chart --sample --ephemeris precise prints the same texts.
    QCOMPARE(Label(chart, "lblPlanet0"), QStringLiteral("28 Can 46' 14\""));
    QCOMPARE(Label(chart, "lblPlanet2"), QStringLiteral("16 Can 59' 08\""));
    QCOMPARE(chart->ShownEngine(), QStringLiteral("precise"));
    QCOMPARE(s->app->State().positions.node, solvane::core::NodeKind::kMean);
    QVERIFY(s->messages.shown.empty());

    // The true node, a choice of the precise engine only, charts again with Rahu moved.
    const double mean_rahu = s->app->State().positions.longitude[solvane::core::kRahu].Degrees();
    Find<QAction>(chart, "mnuTrueNode")->trigger();
    QTRY_COMPARE(s->app->State().positions.node, solvane::core::NodeKind::kTrue);
    QVERIFY(s->app->State().positions.longitude[solvane::core::kRahu].Degrees() != mean_rahu);
    Find<QAction>(s->app->Main()->Chart(), "mnuTrueNode")->trigger();
    QTRY_COMPARE(s->app->State().positions.node, solvane::core::NodeKind::kMean);

    // The next chart keeps the choice; going back to classic gives the classic texts again.
    QTest::mouseClick(Find<QPushButton>(s->app->Main(), "cmdBack"), Qt::LeftButton);
    s->app->Entry()->Proceed();
    QCOMPARE(s->app->State().engine, std::string("precise"));
    s->app->Main()->Chart()->ChooseEngine(QStringLiteral("classic"));
    QTRY_COMPARE(s->app->State().engine, std::string("classic"));
    QVERIFY(!Find<QAction>(s->app->Main()->Chart(), "mnuTrueNode")->isEnabled());
    QCOMPARE(Label(s->app->Main()->Chart(), "lblPlanet2"), QStringLiteral("17 Can 00"));
    QSettings().clear();
  }

  void KeystrokeFilters() {
    auto s = Started();
    auto* entry = s->app->Entry();
    auto* name = Find<QLineEdit>(entry, "txtName");
    QTest::keyClicks(name, "ab c");
    QCOMPARE(name->text(), QStringLiteral("AB C"));
    QTest::keyClick(name, '1');
    QCOMPARE(name->text(), QStringLiteral("AB C"));
    QCOMPARE(s->messages.shown.size(), 1u);
    QCOMPARE(s->messages.shown[0].text, QStringLiteral("Please Enter only Letters"));
    QCOMPARE(s->messages.shown[0].icon, MessageIcon::kInformation);
    QTest::keyClick(name, Qt::Key_Backspace);
    QCOMPARE(name->text(), QStringLiteral("AB "));
    // A key held with Alt that no menu takes types its character, and is filtered too.
    QTest::keyClick(name, '2', Qt::AltModifier);
    QCOMPARE(name->text(), QStringLiteral("AB "));
    QCOMPARE(s->messages.shown.size(), 2u);
    s->messages.shown.pop_back();
    // What an input method composes is filtered as typed keys are.
    QInputMethodEvent digit(QString(), {});
    digit.setCommitString(QStringLiteral("7"));
    QCoreApplication::sendEvent(name, &digit);
    QCOMPARE(name->text(), QStringLiteral("AB "));
    QCOMPARE(s->messages.shown.size(), 2u);

    auto* lon = Find<QLineEdit>(entry, "txtLonD");
    QTest::keyClicks(lon, "1.5");
    QCOMPARE(lon->text(), QStringLiteral("15"));
    QCOMPARE(s->messages.shown.back().text, QStringLiteral("Only Numbers Are Accepted"));
    QCOMPARE(s->messages.shown.back().icon, MessageIcon::kError);
    QTest::keyClicks(lon, "99");  // the box holds three characters
    QCOMPARE(lon->text(), QStringLiteral("159"));

    // Pasting bypasses the filters; the check before a chart catches the text.
    lon->clear();
    lon->insert(QStringLiteral("-5"));
    QCOMPARE(lon->text(), QStringLiteral("-5"));
  }

  void NamesInEveryScript_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("accents") << QStringLiteral("josé zoë") << QStringLiteral("JOSÉ ZOË");
    QTest::newRow("apostrophe, hyphen, full stop")
        << QStringLiteral("o'brien mary-ann j.") << QStringLiteral("O'BRIEN MARY-ANN J.");
    QTest::newRow("Greek") << QStringLiteral("ζωή") << QStringLiteral("ΖΩΉ");
    QTest::newRow("Cyrillic") << QStringLiteral("юлия") << QStringLiteral("ЮЛИЯ");
    QTest::newRow("Devanagari, no case") << QStringLiteral("राम") << QStringLiteral("राम");
    QTest::newRow("Tamil, no case") << QStringLiteral("முருகன்") << QStringLiteral("முருகன்");
  }

  // Typed key by key and composed by an input method alike, then charted under that name.
  void NamesInEveryScript() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    for (const bool composed : {false, true}) {
      auto s = Started();
      auto* entry = s->app->Entry();
      TypeLondon(entry);
      auto* name = Find<QLineEdit>(entry, "txtName");
      name->clear();
      if (composed) {
        QInputMethodEvent commit(QString(), {});
        commit.setCommitString(typed);
        QCoreApplication::sendEvent(name, &commit);
      } else {
        TypeText(name, typed);
      }
      QCOMPARE(name->text(), shown);
      QVERIFY(s->messages.shown.empty());
      QTest::mouseClick(Find<QPushButton>(entry, "cmdRashi"), Qt::LeftButton);
      QVERIFY(s->app->Main());
      QCOMPARE(Label(s->app->Main()->Chart(), "lblName"), shown);
    }
  }

  void PastedNameIsCheckedOnProceed() {
    auto s = Started();
    auto* entry = s->app->Entry();
    entry->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(entry));
    TypeLondon(entry);
    Find<QLineEdit>(entry, "txtMCity")->setFocus();
    Find<QLineEdit>(entry, "txtName")->setText(QStringLiteral("Asha 2"));
    QTest::mouseClick(Find<QPushButton>(entry, "cmdRashi"), Qt::LeftButton);
    QCOMPARE(s->messages.shown.size(), 1u);
    QCOMPARE(s->messages.shown[0].text, QStringLiteral("Please Enter only Letters"));
    QCOMPARE(s->messages.shown[0].icon, MessageIcon::kInformation);
    QVERIFY(Find<QLineEdit>(entry, "txtName")->hasFocus());
    QVERIFY(!s->app->Main());
  }

  void EnterInAnyBoxPressesProceed_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");
    for (const char* box : {"txtName", "txtLonD", "txtLonM", "txtLatD", "txtLatM", "txtMCity",
                            "txtMState", "txtMCountry"}) {
      QTest::newRow(box) << QString::fromLatin1(box) << int(Qt::Key_Return);
      QTest::newRow(qPrintable(QString::fromLatin1(box) + QStringLiteral(", keypad")))
          << QString::fromLatin1(box) << int(Qt::Key_Enter);
    }
  }

  void EnterInAnyBoxPressesProceed() {
    QFETCH(QString, box);
    QFETCH(int, key);
    auto s = Started();
    auto* entry = s->app->Entry();
    TypeLondon(entry);
    QVERIFY(Find<QPushButton>(entry, "cmdRashi")->isDefault());
    QTest::keyClick(Find<QLineEdit>(entry, box), Qt::Key(key));
    QVERIFY(s->messages.shown.empty());
    QVERIFY(s->app->Main() && s->app->Main()->isVisible());
    // With a box wrong, Enter gives that box's message, as the button does.
    QTest::mouseClick(Find<QPushButton>(s->app->Main(), "cmdBack"), Qt::LeftButton);
    Find<QLineEdit>(entry, "txtLatD")->setText(QStringLiteral("90"));
    QTest::keyClick(Find<QLineEdit>(entry, box), Qt::Key(key));
    QCOMPARE(s->messages.shown.size(), 1u);
    QCOMPARE(s->messages.shown[0].text,
             QStringLiteral("Please Enter Value Between 0 And 89 in the Degree of Latitude"));
  }

  // At 100% and at 200% (on the test screen, then 400 x 400 logical pixels) every window opens
  // inside the screen, and the chart's buttons are on it.
  void WindowsOpenInsideTheScreen() {
    auto s = Started();
    auto* entry = s->app->Entry();
    const QRect screen = entry->screen()->availableGeometry();
    QVERIFY2(screen.contains(entry->frameGeometry()),
             qPrintable(QStringLiteral("entry form %1,%2 %3x%4")
                            .arg(entry->x())
                            .arg(entry->y())
                            .arg(entry->width())
                            .arg(entry->height())));
    TypeLondon(entry);
    QTest::mouseClick(Find<QPushButton>(entry, "cmdRashi"), Qt::LeftButton);
    auto* main = s->app->Main();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    QVERIFY(screen.contains(main->frameGeometry()));
    for (const char* name : {"Command1", "cmdBack", "cmdMdiExit"}) {
      auto* button = Find<QPushButton>(main, name);
      QVERIFY2(button->isVisible(), name);
      const QRect on_window(button->mapTo(main, QPoint(0, 0)), button->size());
      QVERIFY2(main->rect().contains(on_window), name);
    }
  }

  // Made as small as it goes, the form scrolls; its boxes and captions keep their full size.
  void EntryFormAtItsMinimumSize() {
    auto s = Started();
    auto* entry = s->app->Entry();
    entry->resize(1, 1);
    QVERIFY(QTest::qWaitForWindowExposed(entry));
    QCoreApplication::processEvents();
    QWidget* page = Find<QWidget>(entry, "formPage");
    QVERIFY(page->width() >= page->minimumSizeHint().width());
    QVERIFY(page->height() >= page->minimumSizeHint().height());
    for (const char* name : {"txtLonD", "txtLonM", "txtLatD", "txtLatM"}) {
      auto* box = Find<QLineEdit>(entry, name);
      // QLineEdit keeps two pixels either side of its text inside the frame.
      const int room = box->contentsRect().width() - box->textMargins().left() -
                       box->textMargins().right() - 2 * 2;
      QVERIFY2(room >= box->fontMetrics().horizontalAdvance(QStringLiteral("000")), name);
      QVERIFY2(box->height() >= box->minimumSizeHint().height(), name);
    }
    for (QLabel* label : page->findChildren<QLabel*>()) {
      const int needed = label->wordWrap() ? label->heightForWidth(label->width())
                                           : label->minimumSizeHint().height();
      QVERIFY2(label->height() >= needed, qPrintable(label->text()));
      if (!label->wordWrap())
        QVERIFY2(label->width() >= label->minimumSizeHint().width(), qPrintable(label->text()));
    }
  }

  void ValidationMessagesIconsAndFocus() {
    struct Case {
      const char* box;
      const char* text;
      const char* message;
      MessageIcon icon;
      const char* focus;
    };
    const Case cases[] = {
        {"txtName", "", "Please Enter Name", MessageIcon::kError, "txtName"},
        {"txtLonD", "180", "Please Enter Value Between 0 And 179 in the Degree of Longitude",
         MessageIcon::kError, "txtLonD"},
        {"txtLonM", "-1", "Please Enter Value Between 0 And 59 in the  Minute of Longitude",
         MessageIcon::kError, "txtLonM"},
        {"txtLatD", "90", "Please Enter Value Between 0 And 89 in the Degree of Latitude",
         MessageIcon::kError, "txtLatD"},
        {"txtLatM", "", "Please Enter Value Between 0 And 59 in the  Minute of Latitude",
         MessageIcon::kError, "txtLatM"},
    };
    for (const Case& c : cases) {
      auto s = Started();
      auto* entry = s->app->Entry();
      entry->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(entry));
      TypeLondon(entry);
      Find<QLineEdit>(entry, "txtMCity")->setFocus();
      Find<QLineEdit>(entry, c.box)->setText(QString::fromUtf8(c.text));
      QTest::mouseClick(Find<QPushButton>(entry, "cmdRashi"), Qt::LeftButton);
      QCOMPARE(s->messages.shown.size(), 1u);
      QCOMPARE(s->messages.shown[0].text, QString::fromUtf8(c.message));
      QCOMPARE(s->messages.shown[0].icon, c.icon);
      QVERIFY2(Find<QLineEdit>(entry, c.focus)->hasFocus(), c.focus);
      QVERIFY(!s->app->Main());
      QVERIFY(entry->isVisible());
    }
    // A date check: the message has the information icon, and the focus stays.
    auto s = Started();
    auto* entry = s->app->Entry();
    TypeLondon(entry);
    Find<QComboBox>(entry, "cboMonth")->setCurrentIndex(3);
    Find<QComboBox>(entry, "cboDate")->setCurrentIndex(30);
    Find<QAction>(entry, "mnuNext")->trigger();
    QCOMPARE(s->messages.shown.size(), 1u);
    QCOMPARE(s->messages.shown[0].text, QStringLiteral("Please Enter Correct Date Or Month !"));
    QCOMPARE(s->messages.shown[0].icon, MessageIcon::kInformation);
  }

  void PlaceLookup() {
    auto s = Started();
    auto* entry = s->app->Entry();
    auto* button = Find<QPushButton>(entry, "cmdBrowser");
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(s->messages.shown.back().text, QStringLiteral("Please Enter City"));
    Find<QLineEdit>(entry, "txtMCity")->setText(QStringLiteral(" "));  // blanks count as text
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(s->messages.shown.back().text, QStringLiteral("Please Enter State"));
    Find<QLineEdit>(entry, "txtMState")->setText(QStringLiteral("Delhi"));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(s->messages.shown.back().text, QStringLiteral("Please Enter Country"));
    QVERIFY(s->searches.isEmpty());
    Find<QLineEdit>(entry, "txtMCity")->setText(QStringLiteral("New Delhi"));
    Find<QLineEdit>(entry, "txtMCountry")->setText(QStringLiteral("India"));
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(s->searches.size(), 2);  // a search per click
    QCOMPARE(s->searches[0],
             QStringLiteral("New Delhi Delhi India Latitude Longitude|https://www.solvane.app"));
    QCOMPARE(s->messages.shown.size(), 3u);
  }

  void UpdateReminder_data() {
    QTest::addColumn<int>("stored_days_ago");  // 9999: nothing stored; -9999: garbage
    QTest::addColumn<bool>("reminded");
    QTest::newRow("first start") << 9999 << false;
    QTest::newRow("garbled date") << -9999 << false;
    QTest::newRow("14 days ago") << 14 << false;
    QTest::newRow("15 days ago") << 15 << true;
    QTest::newRow("14 days ahead") << -14 << false;
    QTest::newRow("15 days ahead, clock set back") << -15 << true;
  }

  void UpdateReminder() {
    QFETCH(int, stored_days_ago);
    QFETCH(bool, reminded);
    const QDateTime now(QDate(2026, 6, 15), QTime(10, 0));
    {
      QSettings settings(dir_.filePath("settings.ini"), QSettings::IniFormat);
      if (stored_days_ago == -9999)
        settings.setValue("Settings/LastReminder", "not a date");
      else if (stored_days_ago != 9999)
        settings.setValue("Settings/LastReminder",
                          now.addDays(-stored_days_ago).toString(Qt::ISODate));
    }
    auto s = Started(now);
    QCOMPARE(s->messages.shown.size(), reminded ? 1u : 0u);
    if (reminded) {
      QCOMPARE(s->messages.shown[0].text,
               QStringLiteral("There maybe an update to this software available\rDo you want to "
                              "check for an update?"));
      QCOMPARE(s->messages.shown[0].buttons, solvane::widgets::MessageButtons::kYesNo);
    }
    QVERIFY(s->opener.opened.isEmpty());  // the answer was No
    const QString stored = s->settings->value("Settings/LastReminder").toString();
    const bool moved = reminded || stored_days_ago == 9999 || stored_days_ago == -9999;
    QCOMPARE(stored == now.toString(Qt::ISODate), moved);
  }

  void ReminderYesOpensTheDownloadPage() {
    const QDateTime now(QDate(2026, 6, 15), QTime(10, 0));
    {
      QSettings settings(dir_.filePath("settings.ini"), QSettings::IniFormat);
      settings.setValue("Settings/LastReminder", now.addDays(-40).toString(Qt::ISODate));
    }
    auto s = std::make_unique<Session>();
    s->messages.answer = solvane::widgets::MessageAnswer::kYes;
    s->app = std::make_unique<App>(s->messages, s->opener, [] { return nullptr; });
    s->settings = std::make_unique<QSettings>(dir_.filePath("settings.ini"), QSettings::IniFormat);
    QVERIFY(s->app->Start(dir_.filePath("solvane.lock"), *s->settings, now));
    QCOMPARE(s->opener.opened, QStringList{QStringLiteral("https://www.solvane.app/download")});
  }

  void SecondInstanceRefused() {
    auto first = Started();
    QVERIFY(first);
    RecordingMessages messages;
    RecordingOpener opener;
    App second(messages, opener, [] { return nullptr; });
    QSettings settings(dir_.filePath("settings.ini"), QSettings::IniFormat);
    QVERIFY(!second.Start(dir_.filePath("solvane.lock"), settings, QDateTime::currentDateTime()));
    QCOMPARE(messages.shown.size(), 1u);
    QCOMPARE(messages.shown[0].text, QStringLiteral("Application is already running"));
    QCOMPARE(messages.shown[0].icon, MessageIcon::kInformation);
    QVERIFY(!second.Entry()->isVisible());
    QVERIFY(first->app->Entry()->isVisible());
  }

  void LockOfACrashedInstanceIsTakenOver() {
    // A lock file naming a process that no longer runs.
    QFile lock(dir_.filePath("solvane.lock"));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write("999999\n" + QCoreApplication::applicationName().toUtf8() + "\n" +
               QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    auto s = Started();
    QVERIFY(s);
    QVERIFY(s->messages.shown.empty());
  }

  void LockWithoutAnOwner() {
    // What an instance killed before writing its id leaves: an empty lock file. A fresh one may
    // belong to an instance that is starting right now; an old one is taken over.
    const QString path = dir_.filePath("solvane.lock");
    for (const bool old : {false, true}) {
      QFile lock(path);
      QVERIFY(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
      lock.close();
      const QDateTime now = QDateTime::currentDateTime();
      if (old) {
        QVERIFY(lock.open(QIODevice::ReadWrite));
        QVERIFY(lock.setFileTime(now.addSecs(-60), QFileDevice::FileModificationTime));
        lock.close();
      }
      auto s = Started(now);
      QCOMPARE(bool(s), old);
      if (s) QVERIFY(s->messages.shown.empty());
      s.reset();  // releases the lock it holds
      QFile::remove(path);
    }
  }

  void ExitFromEitherWindowShowsTheExitScreen() {
    auto s = Started();
    QSignalSpy finished(s->app.get(), &App::Finished);
    s->app->Entry()->close();
    QVERIFY(s->app->Exit() && s->app->Exit()->isVisible());
    QVERIFY(finished.isEmpty());
    s->app->Exit()->close();
    QCOMPARE(finished.size(), 1);
  }
};

SOLVANE_QTEST_MAIN_AT_TWO_SCALES(AppTest)
#include "app_qtest.moc"

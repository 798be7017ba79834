// The entry form's saved births (File menu) and the place finder filling the form, with the zone
// it suggests for the place.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "entry/birth_record_form.h"
#include "entry/entry_window.h"
#include "entry/place_finder.h"
#include "shell/fakes.h"
#include "store/births_store.h"

using solvane::entry::BirthFormSnapshot;
using solvane::entry::EntryWindow;
using solvane::testing::RecordingMessages;
using solvane::testing::RecordingOpener;
using solvane::widgets::MessageAnswer;

namespace {

// Person-list prompts are never reached in these tests; answering nothing is cancelling.
class NoPrompt final : public solvane::store::TextPrompt {
 public:
  std::optional<QString> Ask(QWidget*, const QString&, const QString&, bool) override {
    return std::nullopt;
  }
};

// A birth typed into every box: 15 August 1980, 06:30, Indian Time, 72°50' E, 18°58' N.
BirthFormSnapshot Asha() {
  BirthFormSnapshot form;
  form.txtName = "ASHA RAO";
  form.cboMonth = 7;
  form.cboDate = 14;
  form.cboYear = 1980 - 1901;
  form.cboHH = 6;
  form.cboMM = 30;
  form.cmbTimeZone = 34;  // "Indian Time, IST, +5.3"
  form.txtLonD = "72";
  form.txtLonM = "50";
  form.txtLatD = "18";
  form.txtLatM = "58";
  form.txtMCity = "Mumbai";
  form.txtMState = "Maharashtra";
  form.txtMCountry = "India";
  return form;
}

// Every field, so that a failure names the one that differs.
void CompareForms(const BirthFormSnapshot& got, const BirthFormSnapshot& want) {
  QCOMPARE(got.txtName, want.txtName);
  QCOMPARE(got.cboMonth, want.cboMonth);
  QCOMPARE(got.cboDate, want.cboDate);
  QCOMPARE(got.cboYear, want.cboYear);
  QCOMPARE(got.cboHH, want.cboHH);
  QCOMPARE(got.cboMM, want.cboMM);
  QCOMPARE(got.cmbTimeZone, want.cmbTimeZone);
  QCOMPARE(got.chkDST, want.chkDST);
  QCOMPARE(got.txtLonD, want.txtLonD);
  QCOMPARE(got.txtLonM, want.txtLonM);
  QCOMPARE(got.optLongEast, want.optLongEast);
  QCOMPARE(got.txtLatD, want.txtLatD);
  QCOMPARE(got.txtLatM, want.txtLatM);
  QCOMPARE(got.optLatSouth, want.optLatSouth);
  QCOMPARE(got.txtMCity, want.txtMCity);
  QCOMPARE(got.txtMState, want.txtMState);
  QCOMPARE(got.txtMCountry, want.txtMCountry);
}

std::int64_t SavedCount(const QString& path) {
  auto store = solvane::store::Store::Open(path.toStdString());
  if (!store) return -1;
  auto count = store->Count();
  return count ? *count : -1;
}

}  // namespace

class EntryWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();
  void SaveThenOpenInANewWindow();
  void SavingAgainAsksBeforeReplacing();
  void RefusedFormIsNotSavedAndNothingIsCreated();
  void RecordConversionRoundTrips_data();
  void RecordConversionRoundTrips();
  void RecordTheFormCannotShowIsRefused_data();
  void RecordTheFormCannotShowIsRefused();
  void FinderFillsTheFormAndSuggestsTheZone();

 private:
  std::unique_ptr<EntryWindow> NewWindow();
  void ShowAndActivate(EntryWindow& window);

  std::unique_ptr<QTemporaryDir> dir_;
  QString store_path_;
  RecordingMessages messages_;
  RecordingOpener opener_;
  NoPrompt prompt_;
};

void EntryWindowTest::initTestCase() { QStandardPaths::setTestModeEnabled(true); }

void EntryWindowTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(dir_->isValid());
  store_path_ = dir_->filePath(QStringLiteral("births.sqlite"));
  messages_.shown.clear();
  messages_.answer = MessageAnswer::kNo;
}

void EntryWindowTest::cleanup() { dir_.reset(); }

std::unique_ptr<EntryWindow> EntryWindowTest::NewWindow() {
  auto window = std::make_unique<EntryWindow>(messages_, opener_, nullptr);
  window->SetStorePath(store_path_.toStdString());
  window->SetTextPrompt(prompt_);
  return window;
}

void EntryWindowTest::ShowAndActivate(EntryWindow& window) {
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
}

void EntryWindowTest::SaveThenOpenInANewWindow() {
  const BirthFormSnapshot typed = Asha();
  {
    auto first = NewWindow();
    ShowAndActivate(*first);
    BirthFormSnapshot without_name = typed;
    without_name.txtName.clear();
    first->FillForm(without_name);
    auto* name = first->findChild<QLineEdit*>(QStringLiteral("txtName"));
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("asha rao"));  // the box capitalises as it is typed
    QTest::keySequence(first.get(), QKeySequence::Save);
    QCOMPARE(SavedCount(store_path_), 1);
    auto* recent = first->findChild<QAction*>(QStringLiteral("mnuRecent0"));
    QVERIFY(recent && recent->isVisible());
    QVERIFY2(recent->text().contains(QStringLiteral("ASHA RAO, 1980-08-15")),
             qPrintable(recent->text()));
    QVERIFY(!first->findChild<QAction*>(QStringLiteral("mnuRecent1"))->isVisible());
  }
  auto second = NewWindow();
  ShowAndActivate(*second);
  bool answered = false;
  QTimer::singleShot(0, this, [&answered] {
    auto* list = qobject_cast<solvane::store::PersonListWindow*>(QApplication::activeModalWidget());
    if (!list) return;
    auto* table = list->findChild<QTableView*>();
    if (table) table->selectRow(0);
    answered = QMetaObject::invokeMethod(list, "OpenSelected");
    if (list->isVisible()) list->reject();  // never leave the test waiting on the list
  });
  QTest::keySequence(second.get(), QKeySequence::Open);
  QVERIFY(answered);
  CompareForms(second->ReadForm(), typed);
  QCOMPARE(messages_.shown.size(), std::size_t{0});
}

void EntryWindowTest::SavingAgainAsksBeforeReplacing() {
  auto window = NewWindow();
  window->FillForm(Asha());
  window->SaveBirth();
  BirthFormSnapshot moved = Asha();
  moved.cboHH = 7;
  window->FillForm(moved);

  messages_.answer = MessageAnswer::kNo;
  window->SaveBirth();
  QCOMPARE(messages_.shown.size(), std::size_t{1});
  QCOMPARE(messages_.shown[0].buttons, solvane::widgets::MessageButtons::kYesNo);
  QVERIFY(messages_.shown[0].text.contains(QStringLiteral("ASHA RAO")));

  messages_.answer = MessageAnswer::kYes;
  window->SaveBirth();
  QCOMPARE(messages_.shown.size(), std::size_t{2});
  QCOMPARE(SavedCount(store_path_), 1);
  auto store = solvane::store::Store::Open(store_path_.toStdString());
  QVERIFY(store);
  const auto all = store->All();
  QVERIFY(all && all->size() == 1);
  QCOMPARE(all->front().hour, 7);  // replaced, not kept twice
}

void EntryWindowTest::RefusedFormIsNotSavedAndNothingIsCreated() {
  auto window = NewWindow();
  BirthFormSnapshot no_longitude = Asha();
  no_longitude.txtLonD.clear();
  window->FillForm(no_longitude);
  window->SaveBirth();
  QCOMPARE(messages_.shown.size(), std::size_t{1});
  QVERIFY(!QFile::exists(store_path_));  // the list is opened only for a birth that can be kept
}

// Forms as ValidateBirthForm accepts them come back from their record unchanged.
void EntryWindowTest::RecordConversionRoundTrips_data() {
  QTest::addColumn<int>("which");
  QTest::newRow("Mumbai, east and north") << 0;
  QTest::newRow("west and south, daylight saving") << 1;
  QTest::newRow("last year, 23:59, 180 degrees") << 2;
}

void EntryWindowTest::RecordConversionRoundTrips() {
  QFETCH(int, which);
  BirthFormSnapshot form = Asha();
  if (which == 1) {
    form.optLongEast = false;
    form.optLatSouth = true;
    form.chkDST = true;
    form.cmbTimeZone = 3;
  } else if (which == 2) {
    form.cboYear = 2050 - 1901;
    form.cboMonth = 11;
    form.cboDate = 30;
    form.cboHH = 23;
    form.cboMM = 59;
    form.txtLonD = "180";
    form.txtLonM = "0";
  }
  const auto record = solvane::entry::RecordFromForm(form, "Asia/Kolkata");
  QVERIFY(record);
  QCOMPARE(record->year, 1901 + form.cboYear);
  QCOMPARE(record->month, form.cboMonth + 1);
  QCOMPARE(record->day, form.cboDate + 1);
  QCOMPARE(record->tz_name, std::string("Asia/Kolkata"));
  QVERIFY(!solvane::store::CheckRecord(*record));
  const auto back = solvane::entry::FormFromRecord(*record);
  QVERIFY(back);
  CompareForms(*back, form);
}

void EntryWindowTest::RecordTheFormCannotShowIsRefused_data() {
  QTest::addColumn<int>("which");
  QTest::addColumn<QString>("says");
  QTest::newRow("exact offset beyond 18 hours") << 0 << "UT+19:00";
  QTest::newRow("year before the list") << 1 << "1900";
  QTest::newRow("minute 60") << 2 << "out of range";
}

void EntryWindowTest::RecordTheFormCannotShowIsRefused() {
  QFETCH(int, which);
  QFETCH(QString, says);
  auto record = *solvane::entry::RecordFromForm(Asha());
  if (which == 0) {
    record.zone_index = solvane::store::kExactOffsetZone;
    record.offset_seconds_east = 19 * 3600;
  }
  if (which == 1) record.year = 1900;
  if (which == 2) record.minute = 60;
  const auto form = solvane::entry::FormFromRecord(record);
  QVERIFY(!form);
  QVERIFY2(QString::fromStdString(form.error().message).contains(says),
           form.error().message.c_str());
}

void EntryWindowTest::FinderFillsTheFormAndSuggestsTheZone() {
  EntryWindow window(messages_, opener_, [this, &window] {
    return std::make_unique<solvane::entry::AtlasPlaceSearch>(&window, opener_);
  });
  window.SetStorePath(store_path_.toStdString());
  BirthFormSnapshot form;
  form.txtName = "ASHA RAO";
  form.cboYear = 1990 - 1901;
  form.cboMonth = 2;
  form.cboDate = 20;
  form.cboHH = 14;
  form.cboMM = 45;
  form.txtMCity = "Mumbai";
  form.txtMState = "Maharashtra";
  form.txtMCountry = "India";
  window.FillForm(form);
  auto* suggestion = window.findChild<QLabel*>(QStringLiteral("lblZoneSuggestion"));
  auto* use_zone = window.findChild<QPushButton*>(QStringLiteral("cmdUseZone"));
  QVERIFY(suggestion && use_zone);
  QVERIFY(!suggestion->isVisibleTo(&window));  // no place from the atlas yet

  window.LookUpPlace();
  auto* finder = window.findChild<QDialog*>(QStringLiteral("frmFindPlace"));
  QVERIFY(finder);
  QTest::mouseClick(finder->findChild<QPushButton*>(QStringLiteral("cmdUsePlace")), Qt::LeftButton);
  // Mumbai in GeoNames: 19.07283 N, 72.88261 E, rounded to the nearest minute.
  const BirthFormSnapshot filled = window.ReadForm();
  QCOMPARE(filled.txtLatD, std::string("19"));
  QCOMPARE(filled.txtLatM, std::string("4"));
  QCOMPARE(filled.txtLonD, std::string("72"));
  QCOMPARE(filled.txtLonM, std::string("53"));
  QVERIFY(filled.optLongEast && !filled.optLatSouth);
  QCOMPARE(filled.txtMCity, std::string("Mumbai"));
  QCOMPARE(filled.txtMCountry, std::string("India"));

  QVERIFY(suggestion->isVisibleTo(&window));
  QVERIFY2(suggestion->text().contains(QStringLiteral("Indian Time, IST, +5.3")),
           qPrintable(suggestion->text()));
  QVERIFY(use_zone->isEnabled());
  QTest::mouseClick(use_zone, Qt::LeftButton);
  auto* zone = window.findChild<QComboBox*>(QStringLiteral("cmbTimeZone"));
  auto* dst = window.findChild<QCheckBox*>(QStringLiteral("chkDST"));
  QCOMPARE(zone->currentText(), QStringLiteral("Indian Time, IST, +5.3"));
  QVERIFY(!dst->isChecked());

  // India kept war time (one hour ahead) from September 1942 to October 1945: a new date is a
  // new suggestion, the same listed zone with daylight saving ticked.
  window.findChild<QComboBox*>(QStringLiteral("cboYear"))->setCurrentIndex(1943 - 1901);
  QTest::mouseClick(use_zone, Qt::LeftButton);
  QCOMPARE(zone->currentText(), QStringLiteral("Indian Time, IST, +5.3"));
  QVERIFY(dst->isChecked());

  if (qEnvironmentVariableIsSet("SOLVANE_SHOT")) {  // a picture to look at, not a check
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    window.grab().save(qEnvironmentVariable("SOLVANE_SHOT"));
  }

  // A place typed by hand is no longer the atlas place: the suggestion goes.
  auto* city = window.findChild<QLineEdit*>(QStringLiteral("txtMCity"));
  city->setFocus();
  QTest::keyClicks(city, QStringLiteral("x"));
  QVERIFY(!suggestion->isVisibleTo(&window));
  QVERIFY(messages_.shown.empty());
}

QTEST_MAIN(EntryWindowTest)
#include "entry_window_qtest.moc"

// The entry form's birth moment: the "Other offset…" entry and its boxes, "Use" for every kind of
// suggestion, the question at Proceed, and saved births with an exact offset.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <map>
#include <memory>

#include "entry/atlas.h"
#include "entry/birth_record_form.h"
#include "entry/entry_window.h"
#include "shell/fakes.h"
#include "store/birth_record.h"
#include "zones/suggestion.h"

using solvane::entry::BirthFormSnapshot;
using solvane::entry::EntryWindow;
using solvane::testing::RecordingMessages;
using solvane::testing::RecordingOpener;
using Choice = solvane::entry::EntryWindow::SuggestionChoice;

Q_DECLARE_METATYPE(solvane::entry::BirthFormSnapshot)

namespace {

constexpr int kOther = solvane::zones::kOtherOffsetIndex;
constexpr int kIndianTime = 34;       // "Indian Time, IST, +5.3"
constexpr int kCentralEuropean = 20;  // "Central European Time,CET,+1.0"
constexpr int kGreenwich = 29;        // the form's first selection

// A birth at `hour`:`minute` on the date given, typed up to the place.
BirthFormSnapshot Birth(int year, int month, int day, int hour, int minute) {
  BirthFormSnapshot form;
  form.txtName = "ASHA RAO";
  form.cboYear = year - solvane::entry::kFirstYear;
  form.cboMonth = month - 1;
  form.cboDate = day - 1;
  form.cboHH = hour;
  form.cboMM = minute;
  return form;
}

// The atlas's best match, as the place finder hands it to the form.
solvane::entry::Place AtlasPlace(const char* text) {
  const auto matches = solvane::entry::Atlas::BuiltIn().Lookup(text, 1);
  return matches.places.empty() ? solvane::entry::Place{} : matches.places.front();
}

template <typename T>
T* Find(QWidget& window, const char* name) {
  T* found = window.findChild<T*>(QString::fromLatin1(name));
  if (!found) qFatal("no %s in the form", name);
  return found;
}

// What the question at Proceed was asked, and what it answers.
struct RecordingQuestion {
  int asked = 0;
  bool two_readings = false;
  QString text;
  Choice answer = Choice::kCancel;
};

// The letter after a single '&', upper case; none for "&&" or no '&'.
QChar AccessKey(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] == u'&') {
      ++i;
      continue;
    }
    return caption[i + 1].toUpper();
  }
  return {};
}

}  // namespace

class EntryMomentFormTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void OtherOffsetBoxesReachTheSnapshot_data();
  void OtherOffsetBoxesReachTheSnapshot();
  void AccessKeysAreUnique();
  void UseTakesTheSuggestedZone_data();
  void UseTakesTheSuggestedZone();
  void TwoReadingsAreOfferedNotChosen_data();
  void TwoReadingsAreOfferedNotChosen();
  void ProceedAsksOnceWhenTheZoneDiffers_data();
  void ProceedAsksOnceWhenTheZoneDiffers();
  void ProceedAsksWhichReading();
  void QuestionBoxOffersBothAnswersAndEscapeCancels();
  void ExactOffsetRecordRoundTrips_data();
  void ExactOffsetRecordRoundTrips();
  void ExactOffsetBeyondTheFormIsRefused();

 private:
  // A window whose question and chart run are recorded.
  std::unique_ptr<EntryWindow> NewWindow();
  // A window with `form` typed and `place` picked from the atlas.
  std::unique_ptr<EntryWindow> WindowAt(const BirthFormSnapshot& form, const char* place);

  RecordingMessages messages_;
  RecordingOpener opener_;
  RecordingQuestion question_;
  std::vector<BirthFormSnapshot> charted_;
};

void EntryMomentFormTest::init() {
  messages_.shown.clear();
  question_ = {};
  charted_.clear();
}

std::unique_ptr<EntryWindow> EntryMomentFormTest::NewWindow() {
  auto window = std::make_unique<EntryWindow>(messages_, opener_, nullptr);
  window->SetStorePath("/nonexistent/never-opened.sqlite");
  window->SetSuggestionQuestion([this](QWidget*, const QString& text, bool two_readings) {
    ++question_.asked;
    question_.text = text;
    question_.two_readings = two_readings;
    return question_.answer;
  });
  window->SetProceedHandler([this](const BirthFormSnapshot& form) {
    charted_.push_back(form);
    return solvane::entry::Verdict();
  });
  return window;
}

std::unique_ptr<EntryWindow> EntryMomentFormTest::WindowAt(const BirthFormSnapshot& form,
                                                           const char* place) {
  auto window = NewWindow();
  window->FillForm(form);
  window->UsePlace(AtlasPlace(place));
  return window;
}

// Offsets as the database gives them (Amsterdam's mean time 1909-1937, Madras time 1906) and
// made-up ones on both sides of Greenwich, seconds east.
void EntryMomentFormTest::OtherOffsetBoxesReachTheSnapshot_data() {
  QTest::addColumn<int>("hours");
  QTest::addColumn<int>("minutes");
  QTest::addColumn<int>("seconds");
  QTest::addColumn<bool>("west");
  QTest::addColumn<int>("seconds_east");
  QTest::newRow("Amsterdam mean time UT+0:19:32") << 0 << 19 << 32 << false << 1172;
  QTest::newRow("Madras time UT+5:21:10") << 5 << 21 << 10 << false << 19270;
  QTest::newRow("Newfoundland UT-3:30") << 3 << 30 << 0 << true << -12600;
  QTest::newRow("seconds alone, west") << 0 << 0 << 45 << true << -45;
  QTest::newRow("Kiribati UT+14:00") << 14 << 0 << 0 << false << 50400;
  QTest::newRow("the most the boxes hold, UT-18:00") << 18 << 0 << 0 << true << -64800;
}

void EntryMomentFormTest::OtherOffsetBoxesReachTheSnapshot() {
  QFETCH(int, hours);
  QFETCH(int, minutes);
  QFETCH(int, seconds);
  QFETCH(bool, west);
  QFETCH(int, seconds_east);
  auto window = WindowAt(Birth(1990, 3, 21, 14, 45), "Mumbai, India");
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  auto* zone = Find<QComboBox>(*window, "cmbTimeZone");
  auto* boxes = Find<QWidget>(*window, "fraExactOffset");
  QCOMPARE(zone->count(), 72);
  QCOMPARE(zone->itemText(kOther), QStringLiteral("Other offset\u2026"));
  QVERIFY(!boxes->isVisible());

  // Chosen with the keyboard: End goes to the last entry.
  zone->setFocus();
  QTest::keyClick(zone, Qt::Key_End);
  QCOMPARE(zone->currentIndex(), kOther);
  QVERIFY(boxes->isVisible());
  // Typed, as a user types them, Tab going from one box to the next.
  QTest::keyClick(zone, Qt::Key_Tab);  // past "Daylight Saving Time"
  for (const auto& [name, value] :
       {std::pair{"spnOffsetH", hours}, std::pair{"spnOffsetM", minutes},
        std::pair{"spnOffsetS", seconds}}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    auto* box = Find<QSpinBox>(*window, name);
    QCOMPARE(QApplication::focusWidget(), box);
    box->selectAll();
    QTest::keyClicks(box, QString::number(value));
    QCOMPARE(box->value(), value);
  }
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), Find<QComboBox>(*window, "cboOffsetSide"));
  if (west) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  // Typing an offset is no new place: the suggestion stays.
  QVERIFY(Find<QLabel>(*window, "lblZoneSuggestion")->isVisible());
  const BirthFormSnapshot read = window->ReadForm();
  QCOMPARE(read.cmbTimeZone, kOther);
  QCOMPARE(read.otherOffsetSecondsEast, seconds_east);

  // The same form filled from its snapshot into another window reads back the same.
  auto copy = NewWindow();
  copy->FillForm(read);
  QCOMPARE(copy->ReadForm().otherOffsetSecondsEast, seconds_east);
  QVERIFY(Find<QWidget>(*copy, "fraExactOffset")->isVisibleTo(copy.get()));

  // A listed zone hides the boxes and gives no offset of its own.
  zone->setCurrentIndex(kIndianTime);
  QVERIFY(!boxes->isVisible());
  QCOMPARE(window->ReadForm().otherOffsetSecondsEast, 0);
}

// Two controls that share an access key make Alt+key go to one of them only ("&Use" and
// "So&uth" did): every key on the form, its hidden buttons and the menu bar is used once.
void EntryMomentFormTest::AccessKeysAreUnique() {
  auto window = NewWindow();
  std::map<QChar, QString> owners;
  const auto claim = [&owners](const QString& caption) {
    const QChar key = AccessKey(caption);
    if (key.isNull()) return;
    QVERIFY2(
        !owners.count(key),
        qPrintable(QStringLiteral("Alt+%1 in \"%2\" and \"%3\"").arg(key, owners[key], caption)));
    owners[key] = caption;
  };
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) claim(button->text());
  for (QLabel* label : window->findChildren<QLabel*>())
    if (label->buddy()) claim(label->text());
  for (QAction* menu : window->menuBar()->actions()) claim(menu->text());
  QVERIFY(owners.count(u'U'));  // "Use" keeps its key
}

// Where the numbers come from: the tz database as zdump shows it. Europe/Amsterdam kept
// Amsterdam mean time (+0:19:32) until 1937; Asia/Kolkata read Madras time (+5:21:10) until
// 1906, +0630 (IST and one hour of war time) from 1 September 1942, and IST in 1990.
void EntryMomentFormTest::UseTakesTheSuggestedZone_data() {
  QTest::addColumn<QString>("place");
  QTest::addColumn<BirthFormSnapshot>("form");
  QTest::addColumn<int>("zone");
  QTest::addColumn<bool>("dst");
  QTest::addColumn<int>("seconds_east");
  QTest::newRow("Amsterdam 1930-01-15")
      << "Amsterdam, Netherlands" << Birth(1930, 1, 15, 12, 0) << kOther << false << 1172;
  QTest::newRow("Mumbai 1905-06-01")
      << "Mumbai, India" << Birth(1905, 6, 1, 10, 0) << kOther << false << 19270;
  QTest::newRow("Mumbai 1942-09-01")
      << "Mumbai, India" << Birth(1942, 9, 1, 12, 0) << kIndianTime << true << 0;
  QTest::newRow("Mumbai 1990-03-21")
      << "Mumbai, India" << Birth(1990, 3, 21, 14, 45) << kIndianTime << false << 0;
}

void EntryMomentFormTest::UseTakesTheSuggestedZone() {
  QFETCH(QString, place);
  QFETCH(BirthFormSnapshot, form);
  QFETCH(int, zone);
  QFETCH(bool, dst);
  QFETCH(int, seconds_east);
  form.chkDST = !dst;  // the form starts out wrong both ways
  auto window = WindowAt(form, qPrintable(place));
  auto* use = Find<QPushButton>(*window, "cmdUseZone");
  QVERIFY(use->isVisibleTo(window.get()) && use->isEnabled());
  QVERIFY(!Find<QPushButton>(*window, "cmdUseEarlier")->isVisibleTo(window.get()));
  // A suggestion, never a silent change: the form is as typed until "Use".
  QCOMPARE(window->ReadForm().cmbTimeZone, kGreenwich);
  QTest::mouseClick(use, Qt::LeftButton);
  const BirthFormSnapshot read = window->ReadForm();
  QCOMPARE(read.cmbTimeZone, zone);
  QCOMPARE(read.chkDST, dst);
  QCOMPARE(read.otherOffsetSecondsEast, seconds_east);
  QVERIFY(Find<QWidget>(*window, "fraExactOffset")->isVisibleTo(window.get()) == (zone == kOther));
}

// Europe/Berlin, 2023: clocks went forward at 02:00 on 26 March and back at 03:00 on 29 October.
void EntryMomentFormTest::TwoReadingsAreOfferedNotChosen_data() {
  QTest::addColumn<BirthFormSnapshot>("form");
  QTest::addColumn<QString>("says");
  QTest::addColumn<bool>("earlier_dst");
  QTest::newRow("repeated 2023-10-29 02:30")
      << Birth(2023, 10, 29, 2, 30) << "showed twice" << true;
  QTest::newRow("skipped 2023-03-26 02:30") << Birth(2023, 3, 26, 2, 30) << "never showed" << false;
}

void EntryMomentFormTest::TwoReadingsAreOfferedNotChosen() {
  QFETCH(BirthFormSnapshot, form);
  QFETCH(QString, says);
  QFETCH(bool, earlier_dst);
  auto window = WindowAt(form, "Berlin, Germany");
  const QString line = Find<QLabel>(*window, "lblZoneSuggestion")->text();
  QVERIFY2(line.contains(says) && line.contains(QStringLiteral("UT+1:00")) &&
               line.contains(QStringLiteral("UT+2:00")),
           qPrintable(line));
  QVERIFY(!Find<QPushButton>(*window, "cmdUseZone")->isVisibleTo(window.get()));
  auto* earlier = Find<QPushButton>(*window, "cmdUseEarlier");
  auto* later = Find<QPushButton>(*window, "cmdUseLater");
  QVERIFY(earlier->isVisibleTo(window.get()) && later->isVisibleTo(window.get()));
  QCOMPARE(window->ReadForm().cmbTimeZone, kGreenwich);  // nothing chosen in silence

  QTest::mouseClick(earlier, Qt::LeftButton);
  QCOMPARE(window->ReadForm().cmbTimeZone, kCentralEuropean);
  QCOMPARE(window->ReadForm().chkDST, earlier_dst);
  QTest::mouseClick(later, Qt::LeftButton);
  QCOMPARE(window->ReadForm().cmbTimeZone, kCentralEuropean);
  QCOMPARE(window->ReadForm().chkDST, !earlier_dst);
}

void EntryMomentFormTest::ProceedAsksOnceWhenTheZoneDiffers_data() {
  QTest::addColumn<int>("answer");
  QTest::addColumn<int>("charted_zone");  // -1: nothing charted
  QTest::newRow("chart as entered") << int(Choice::kAsEntered) << kGreenwich;
  QTest::newRow("use the suggestion") << int(Choice::kSuggestion) << kIndianTime;
  QTest::newRow("cancel") << int(Choice::kCancel) << -1;
}

void EntryMomentFormTest::ProceedAsksOnceWhenTheZoneDiffers() {
  QFETCH(int, answer);
  QFETCH(int, charted_zone);
  auto window = WindowAt(Birth(1990, 3, 21, 14, 45), "Mumbai, India");
  question_.answer = static_cast<Choice>(answer);
  QTest::mouseClick(Find<QPushButton>(*window, "cmdRashi"), Qt::LeftButton);
  QCOMPARE(question_.asked, 1);
  QVERIFY(!question_.two_readings);
  QVERIFY2(question_.text.contains(QStringLiteral("Greenwich Mean Time")) &&
               question_.text.contains(QStringLiteral("Indian Time, IST, +5.3")),
           qPrintable(question_.text));
  if (charted_zone < 0) {
    QVERIFY(charted_.empty());
    return;
  }
  QCOMPARE(charted_.size(), std::size_t{1});
  QCOMPARE(charted_.back().cmbTimeZone, charted_zone);
  QCOMPARE(window->ReadForm().cmbTimeZone, charted_zone);

  // Answered for this form: Proceed again (a refused chart, the chart closed) does not ask.
  window->Proceed();
  QCOMPARE(question_.asked, 1);
  QCOMPARE(charted_.size(), std::size_t{2});
  // A new time is a new question, unless the form now holds the suggestion.
  Find<QComboBox>(*window, "cboHH")->setCurrentIndex(15);
  window->Proceed();
  QCOMPARE(question_.asked, charted_zone == kGreenwich ? 2 : 1);
  // So is a new zone, even one the user changes back.
  auto* zone = Find<QComboBox>(*window, "cmbTimeZone");
  zone->setCurrentIndex(kGreenwich);
  question_.answer = Choice::kAsEntered;
  window->Proceed();
  const int asked = question_.asked;
  zone->setCurrentIndex(kIndianTime);
  zone->setCurrentIndex(kGreenwich);
  window->Proceed();
  QCOMPARE(question_.asked, asked + 1);
}

void EntryMomentFormTest::ProceedAsksWhichReading() {
  auto window = WindowAt(Birth(2023, 10, 29, 2, 30), "Berlin, Germany");
  question_.answer = Choice::kLater;
  window->Proceed();
  QCOMPARE(question_.asked, 1);
  QVERIFY(question_.two_readings);
  QCOMPARE(charted_.size(), std::size_t{1});
  QCOMPARE(charted_.back().cmbTimeZone, kCentralEuropean);
  QVERIFY(!charted_.back().chkDST);  // the second 02:30 was standard time, UT+1:00
  // A form holding either reading is the user's choice already: no question.
  QTest::mouseClick(Find<QPushButton>(*window, "cmdUseEarlier"), Qt::LeftButton);
  window->Proceed();
  QCOMPARE(question_.asked, 1);
  QVERIFY(charted_.back().chkDST);
}

void EntryMomentFormTest::QuestionBoxOffersBothAnswersAndEscapeCancels() {
  auto window = std::make_unique<EntryWindow>(messages_, opener_, nullptr);
  window->SetProceedHandler([this](const BirthFormSnapshot& form) {
    charted_.push_back(form);
    return solvane::entry::Verdict();
  });
  window->FillForm(Birth(1990, 3, 21, 14, 45));
  window->UsePlace(AtlasPlace("Mumbai, India"));
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  QStringList buttons;
  bool escaped = false;
  QTimer::singleShot(0, this, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    for (QAbstractButton* button : box->buttons()) buttons << button->text();
    QTest::keyClick(box, Qt::Key_Escape);
    escaped = !box->isVisible();
    if (box->isVisible()) box->reject();  // never leave the test waiting on the box
  });
  window->Proceed();
  QVERIFY2(buttons.contains(QStringLiteral("Chart as &Entered")) &&
               buttons.contains(QStringLiteral("&Use Suggestion")),
           qPrintable(buttons.join(u'|')));
  QVERIFY(escaped);
  QVERIFY(charted_.empty());
  QCOMPARE(window->ReadForm().cmbTimeZone, kGreenwich);
}

// The store keeps an exact offset as zone kExactOffsetZone with its seconds; the atlas zone and
// place (GeoNames 1275339 is Mumbai) travel with the record.
void EntryMomentFormTest::ExactOffsetRecordRoundTrips_data() {
  QTest::addColumn<int>("zone");
  QTest::addColumn<int>("seconds_east");
  QTest::addColumn<int>("record_zone");
  QTest::newRow("Madras time UT+5:21:10") << kOther << 19270 << solvane::store::kExactOffsetZone;
  QTest::newRow("UT-3:30 with seconds 0") << kOther << -12600 << solvane::store::kExactOffsetZone;
  QTest::newRow("UT+0:00 exact") << kOther << 0 << solvane::store::kExactOffsetZone;
  QTest::newRow("a listed zone keeps its place") << kIndianTime << 0 << kIndianTime;
}

void EntryMomentFormTest::ExactOffsetRecordRoundTrips() {
  QFETCH(int, zone);
  QFETCH(int, seconds_east);
  QFETCH(int, record_zone);
  BirthFormSnapshot form = Birth(1905, 6, 1, 10, 0);
  form.cmbTimeZone = zone;
  form.otherOffsetSecondsEast = seconds_east;
  form.txtLonD = "72";
  form.txtLonM = "53";
  form.txtLatD = "19";
  form.txtLatM = "4";
  form.txtMCity = "Mumbai";
  const auto record = solvane::entry::RecordFromForm(form, "Asia/Kolkata", "1275339");
  QVERIFY(record);
  QCOMPARE(record->zone_index, record_zone);
  QCOMPARE(record->offset_seconds_east, seconds_east);
  QCOMPARE(record->tz_name, std::string("Asia/Kolkata"));
  QCOMPARE(record->place_id, std::string("1275339"));
  QVERIFY(!solvane::store::CheckRecord(*record));
  const auto back = solvane::entry::FormFromRecord(*record);
  QVERIFY2(back, back ? "" : back.error().message.c_str());
  QCOMPARE(back->cmbTimeZone, zone);
  QCOMPARE(back->otherOffsetSecondsEast, seconds_east);
  // And through the window's boxes.
  auto window = NewWindow();
  window->FillForm(*back);
  QCOMPARE(window->ReadForm().cmbTimeZone, zone);
  QCOMPARE(window->ReadForm().otherOffsetSecondsEast, seconds_east);
}

void EntryMomentFormTest::ExactOffsetBeyondTheFormIsRefused() {
  // Neither the store nor the form's boxes take more than 18 hours either side: a damaged record.
  solvane::store::BirthRecord record;
  record.name = "ASHA RAO";
  record.year = 1990;
  record.zone_index = solvane::store::kExactOffsetZone;
  record.offset_seconds_east = -19 * 3600;
  const auto form = solvane::entry::FormFromRecord(record);
  QVERIFY(!form);
  QVERIFY2(form.error().message.find("UT-19:00") != std::string::npos,
           form.error().message.c_str());
}

QTEST_MAIN(EntryMomentFormTest)
#include "entry_moment_form_qtest.moc"

// The person list window driven from the keyboard and the mouse, as a user would.
#include <sqlite3.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <deque>
#include <memory>

#include "store/person_list_window.h"
#include "store/store_test_support.h"

using solvane::store::BirthRecord;
using solvane::store::PersonListWindow;
using solvane::store::Store;
using solvane::store::TextPrompt;
using solvane::store::testing::SampleBirth;
using solvane::store::testing::ScratchFolder;

namespace {

class RecordingMessages final : public solvane::widgets::MessageService {
 public:
  solvane::widgets::MessageAnswer Show(QWidget*, const QString& text, solvane::core::MessageIcon,
                                     solvane::widgets::MessageButtons) override {
    shown << text;
    return solvane::widgets::MessageAnswer::kOk;
  }
  using MessageService::Show;
  QStringList shown;
};

// Answers each question with the next prepared answer (nothing: the user cancels).
class ScriptedPrompt final : public TextPrompt {
 public:
  std::optional<QString> Ask(QWidget*, const QString& label, const QString& text,
                             bool several_lines) override {
    asked << label + u'|' + text + (several_lines ? QStringLiteral("|lines") : QString());
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::optional<QString>> answers;
  QStringList asked;
};

// Types `text` key by key; unlike QTest::keyClicks it also takes letters beyond Latin-1.
void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

BirthRecord Birth(const char* name, int year, const char* city) {
  BirthRecord r = SampleBirth(name);
  r.year = year, r.city = city, r.state = "", r.country = "";
  return r;
}

}  // namespace

class PersonListTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void TypingNarrowsTheTable_data();
  void TypingNarrowsTheTable();
  void EnterOpensTheSelectedBirth();
  void DoubleClickOpensThatRow();
  void DeleteKeyDeletesAndUndoBringsItBack();
  void HeaderClicksSortBothWays();
  void RenameAndNoteAskThenStore();
  void AccessKeysReachEveryAction();
  void ReadOnlyListOffersNoChanges();

 private:
  QTableView* Table() { return window_->findChild<QTableView*>(QStringLiteral("tblBirths")); }
  QLineEdit* Search() { return window_->findChild<QLineEdit*>(QStringLiteral("txtSearch")); }
  QPushButton* Button(const char* name) {
    return window_->findChild<QPushButton*>(QString::fromLatin1(name));
  }
  QStringList Column(int column) {
    QStringList cells;
    QAbstractItemModel* model = Table()->model();
    for (int row = 0; row < model->rowCount(); ++row)
      cells << model->index(row, column).data().toString();
    return cells;
  }
  void OpenWindow() {
    window_ = std::make_unique<PersonListWindow>(*store_, messages_, prompt_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }
  // A key as the user presses it: to whichever widget has the focus.
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : window_.get(), key, modifiers);
  }

  std::unique_ptr<ScratchFolder> folder_;
  std::unique_ptr<Store> store_;
  RecordingMessages messages_;
  ScriptedPrompt prompt_;
  std::unique_ptr<PersonListWindow> window_;
};

void PersonListTest::init() {
  folder_ = std::make_unique<ScratchFolder>();
  auto opened = Store::Open(*folder_ / "births.sqlite");
  QVERIFY2(opened, opened ? "" : opened.error().message.c_str());
  store_ = std::make_unique<Store>(std::move(opened).value());
  for (const BirthRecord& r :
       {Birth("ASHA RAO", 1980, "New Delhi"), Birth("José Álvarez", 1975, "Madrid"),
        Birth("Zoë Smith", 1999, "New York"), Birth("Дмитрий Ёлкин", 1962, "Москва")})
    QVERIFY(store_->Save(r));
  messages_.shown.clear();
  prompt_ = ScriptedPrompt();
  OpenWindow();
}

void PersonListTest::cleanup() {
  window_.reset();
  store_.reset();
  folder_.reset();
}

void PersonListTest::TypingNarrowsTheTable_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QStringList>("names");
  QTest::newRow("nothing typed: all, by name")
      << QString() << QStringList{"ASHA RAO", "José Álvarez", "Zoë Smith", "Дмитрий Ёлкин"};
  QTest::newRow("accent left out") << "jose" << QStringList{"José Álvarez"};
  QTest::newRow("place in capitals") << "МОСКВА" << QStringList{"Дмитрий Ёлкин"};
  QTest::newRow("two places share a word") << "new" << QStringList{"ASHA RAO", "Zoë Smith"};
  QTest::newRow("year") << "1999" << QStringList{"Zoë Smith"};
  QTest::newRow("no match") << "qqq" << QStringList{};
}

void PersonListTest::TypingNarrowsTheTable() {
  QFETCH(QString, typed);
  QFETCH(QStringList, names);
  Type(Search(), typed);
  QCOMPARE(Column(0), names);
  QCOMPARE(Button("cmdOpen")->isEnabled(), !names.isEmpty());
}

void PersonListTest::EnterOpensTheSelectedBirth() {
  QTest::keyClicks(Search(), QStringLiteral("zoe"));
  QTest::keyClick(Search(), Qt::Key_Return);
  QCOMPARE(window_->result(), int(QDialog::Accepted));
  QVERIFY(window_->chosen());
  QCOMPARE(window_->chosen()->name, std::string("Zoë Smith"));
  QCOMPARE(*window_->chosen(), **store_->Find(window_->chosen()->id));

  // From the table: Down from the search box, Down again, Enter opens the second row.
  OpenWindow();
  QTest::keyClick(Search(), Qt::Key_Down);
  QVERIFY(Table()->hasFocus());
  QTest::keyClick(Table(), Qt::Key_Down);
  QTest::keyClick(Table(), Qt::Key_Return);
  QVERIFY(window_->chosen());
  QCOMPARE(window_->chosen()->name, std::string("José Álvarez"));
}

void PersonListTest::DoubleClickOpensThatRow() {
  QTableView* table = Table();
  const QRect cell = table->visualRect(table->model()->index(2, 0));
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  QVERIFY(window_->chosen());
  QCOMPARE(window_->chosen()->name, std::string("Zoë Smith"));
}

void PersonListTest::DeleteKeyDeletesAndUndoBringsItBack() {
  QVERIFY(!Button("cmdUndoDelete")->isEnabled());
  QTest::keyClick(Search(), Qt::Key_Down);  // to the table, first row: ASHA RAO
  const BirthRecord asha = store_->FindByName("ASHA RAO")->front();
  QTest::keyClick(Table(), Qt::Key_Delete);
  QCOMPARE(Column(0), (QStringList{"José Álvarez", "Zoë Smith", "Дмитрий Ёлкин"}));
  QCOMPARE(*store_->Count(), 3);
  QVERIFY(Button("cmdUndoDelete")->isEnabled());
  QVERIFY(window_->findChild<QLabel*>(QStringLiteral("lblStatus"))->text().contains("ASHA RAO"));

  QTest::keyClicks(Search(), QStringLiteral("zoe"));  // undo shows the birth even when filtered
  QTest::mouseClick(Button("cmdUndoDelete"), Qt::LeftButton);
  QCOMPARE(Column(0).size(), 4);
  QCOMPARE(*store_->Find(asha.id), asha);
  QCOMPARE(Table()->selectionModel()->selectedRows().front().row(), 0);
  QVERIFY(!Button("cmdUndoDelete")->isEnabled());
  QVERIFY(messages_.shown.isEmpty());
}

void PersonListTest::HeaderClicksSortBothWays() {
  QHeaderView* header = Table()->horizontalHeader();
  const int date_x = header->sectionViewportPosition(1) + header->sectionSize(1) / 2;
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(date_x, 5));
  QCOMPARE(Column(1), (QStringList{"1962-08-15", "1975-08-15", "1980-08-15", "1999-08-15"}));
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(date_x, 5));
  QCOMPARE(Column(1), (QStringList{"1999-08-15", "1980-08-15", "1975-08-15", "1962-08-15"}));
}

void PersonListTest::RenameAndNoteAskThenStore() {
  QTest::keyClicks(Search(), QStringLiteral("asha"));
  prompt_.answers = {QStringLiteral("ASHA KAPOOR"), QStringLiteral("born at dawn\nsecond line")};
  QTest::mouseClick(Button("cmdRename"), Qt::LeftButton);
  QTest::mouseClick(Button("cmdNote"), Qt::LeftButton);
  QCOMPARE(prompt_.asked, (QStringList{"New name:|ASHA RAO", "Note for ASHA KAPOOR:||lines"}));
  const BirthRecord changed = store_->FindByName("ASHA KAPOOR")->front();
  QCOMPARE(changed.note, std::string("born at dawn\nsecond line"));
  QCOMPARE(Column(0), QStringList{"ASHA KAPOOR"});  // still matches "asha", so still shown

  Search()->clear();
  QTest::keyClicks(Search(), QStringLiteral("kapoor"));
  prompt_.answers = {std::nullopt, QStringLiteral("   ")};  // cancel, then a blank name
  QTest::mouseClick(Button("cmdRename"), Qt::LeftButton);
  QVERIFY2(messages_.shown.isEmpty(), "cancel says nothing");
  QTest::mouseClick(Button("cmdRename"), Qt::LeftButton);
  QCOMPARE(messages_.shown.size(), 1);
  QVERIFY(messages_.shown[0].contains("no name"));
  QCOMPARE(Column(0), QStringList{"ASHA KAPOOR"});
}

void PersonListTest::AccessKeysReachEveryAction() {
  QVERIFY2(Search()->hasFocus(), "the window opens ready for typing");
  Press(Qt::Key_Tab);
  QVERIFY2(Table()->hasFocus(), "Tab goes from the search box to the list");
  prompt_.answers = {std::nullopt, std::nullopt};
  // A button's access key clicks it a moment later, as the button shows itself pressed.
  Press(Qt::Key_R, Qt::AltModifier);
  QTRY_COMPARE(prompt_.asked.size(), 1);
  Press(Qt::Key_N, Qt::AltModifier);
  QTRY_COMPARE(prompt_.asked.size(), 2);
  Press(Qt::Key_D, Qt::AltModifier);
  QTRY_COMPARE(*store_->Count(), 3);
  Press(Qt::Key_U, Qt::AltModifier);
  QTRY_COMPARE(*store_->Count(), 4);
  Press(Qt::Key_S, Qt::AltModifier);
  QVERIFY(Search()->hasFocus());
  Press(Qt::Key_C, Qt::AltModifier);
  QTRY_VERIFY(!window_->isVisible());
  QCOMPARE(window_->result(), int(QDialog::Rejected));
  QVERIFY(!window_->chosen());
}

void PersonListTest::ReadOnlyListOffersNoChanges() {
  window_.reset();
  store_.reset();
  {
    sqlite3* db = nullptr;  // as a newer program would leave it
    sqlite3_open((*folder_ / "births.sqlite").c_str(), &db);
    sqlite3_exec(db, "PRAGMA user_version = 9", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  auto opened = Store::Open(*folder_ / "births.sqlite");
  QVERIFY(opened && opened->read_only());
  store_ = std::make_unique<Store>(std::move(opened).value());
  OpenWindow();
  QCOMPARE(Column(0).size(), 4);
  QVERIFY(Button("cmdOpen")->isEnabled());
  for (const char* name : {"cmdRename", "cmdNote", "cmdDelete", "cmdUndoDelete"})
    QVERIFY2(!Button(name)->isEnabled(), name);
  QTest::keyClick(Search(), Qt::Key_Down);
  QTest::keyClick(Table(), Qt::Key_Delete);
  QCOMPARE(*store_->Count(), 4);
  QVERIFY(
      window_->findChild<QLabel*>(QStringLiteral("lblStatus"))->text().contains("reading only"));
}

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  PersonListTest test;
  const int failed = QTest::qExec(&test, argc, argv);
  // Pictures for review: SOLVANE_PERSON_LIST_PNG=/path/list.png (QT_SCALE_FACTOR=2 for 200%),
  // with SOLVANE_PERSON_LIST_QUERY typed into the search box.
  if (const QByteArray png = qgetenv("SOLVANE_PERSON_LIST_PNG"); !png.isEmpty()) {
    ScratchFolder folder;
    auto store = Store::Open(folder / "births.sqlite");
    for (const BirthRecord& r :
         {Birth("ASHA RAO", 1980, "New Delhi"), Birth("José Álvarez", 1975, "Madrid"),
          Birth("Zoë Smith", 1999, "New York"), Birth("Дмитрий Ёлкин", 1962, "Москва"),
          Birth("अमित शर्मा", 2001, "काठमाडौं")})
      store->Save(r);
    RecordingMessages messages;
    ScriptedPrompt prompt;
    PersonListWindow window(*store, messages, prompt);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    Type(window.findChild<QLineEdit*>(QStringLiteral("txtSearch")),
         qEnvironmentVariable("SOLVANE_PERSON_LIST_QUERY"));
    window.grab().save(QString::fromLocal8Bit(png));
  }
  return failed;
}

#include "person_list_qtest.moc"

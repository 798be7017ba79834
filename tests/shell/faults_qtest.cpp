// Starting the desktop program on a damaged machine: a settings file that is garbage or cannot be
// read, and a lock file left behind by an instance that was killed. None of them may stop the
// program from starting, and none may bring up the update reminder.
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "entry/entry_window.h"
#include "shell/app.h"
#include "shell/fakes.h"

using solvane::shell::App;
using solvane::testing::RecordingMessages;
using solvane::testing::RecordingOpener;

namespace {

const QDateTime kNow(QDate(2026, 6, 15), QTime(10, 0));

struct Started {
  RecordingMessages messages;
  RecordingOpener opener;
  std::unique_ptr<App> app;
  bool running = false;
};

std::unique_ptr<Started> Start(const QString& lock, const QString& settings_path,
                               const QDateTime& now = kNow) {
  auto s = std::make_unique<Started>();
  s->app = std::make_unique<App>(s->messages, s->opener, [] { return nullptr; });
  QSettings settings(settings_path, QSettings::IniFormat);
  s->running = s->app->Start(lock, settings, now);
  return s;
}

// The id of a process that has just ended: started, reaped, gone.
qint64 DeadProcessId() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  int status = 0;
  waitpid(child, &status, 0);
  return child;
}

// The lock file exactly as an instance leaves it when it is killed while holding the lock.
QByteArray LockOfKilledInstance(const QString& path) {
  const pid_t child = fork();
  if (child == 0) {
    QLockFile lock(path);
    if (!lock.tryLock(0)) _exit(1);
    kill(getpid(), SIGKILL);  // no destructor, no unlock
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFSIGNALED(status)) return {};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray content = file.readAll();
  file.remove();
  return content;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray Garbage(int size, quint32 seed) {
  QByteArray bytes(size, '\0');
  for (int i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes[i] = static_cast<char>(seed >> 16);
  }
  return bytes;
}

}  // namespace

class FaultsTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString Path(const QString& name) const { return dir_.filePath(name); }

 private slots:
  void init() {
    QDir(dir_.path()).removeRecursively();
    QDir().mkpath(dir_.path());
  }

  // A settings file that is not INI at all reads as no date: the first start's behaviour, with no
  // reminder now and none on the next start either (whether or not the date could be stored).
  void GarbageSettingsFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("random bytes") << Garbage(4096, 1);
    QTest::newRow("random bytes with NULs") << Garbage(300, 7).replace('A', '\0');
    QTest::newRow("malformed UTF-8")
        << QByteArray("[Settings]\nLastReminder=\xff\xfe\xc3(\xed\xa0\x80\n");
    QTest::newRow("a date in the distant past, garbled") << QByteArray(
        "[Settings]\nLastReminder=1\xff"
        "999-01-01T00:00:00\n");
    QTest::newRow("unterminated group")
        << QByteArray("[Settings\nLastReminder=2026-01-01T00:00:00");
    QTest::newRow("one huge line") << QByteArray(4 << 20, '[');
    QTest::newRow("a PNG picture") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
  }

  void GarbageSettingsFile() {
    QFETCH(QByteArray, bytes);
    WriteFile(Path("settings.ini"), bytes);
    for (int start = 0; start < 2; ++start) {
      auto s = Start(Path("solvane.lock"), Path("settings.ini"), kNow.addDays(start));
      QVERIFY(s->running);
      QVERIFY(s->app->Entry()->isVisible());
      QCOMPARE(s->messages.shown.size(), 0u);
      QVERIFY(s->opener.opened.isEmpty());
    }
  }

  // Settings that cannot be read at all.
  void UnreadableSettings_data() {
    QTest::addColumn<QString>("what");
    QTest::newRow("a folder where the file should be") << QStringLiteral("folder");
    QTest::newRow("a file where its folder should be") << QStringLiteral("file as folder");
    QTest::newRow("a dangling link") << QStringLiteral("dangling link");
  }

  void UnreadableSettings() {
    QFETCH(QString, what);
    QString settings_path = Path("settings.ini");
    if (what == "folder") {
      QVERIFY(QDir().mkpath(settings_path));
      WriteFile(settings_path + "/inside", "[Settings]\nLastReminder=2000-01-01T00:00:00\n");
    } else if (what == "file as folder") {
      WriteFile(Path("config"), "plain file");
      settings_path = Path("config/solvane/settings.ini");
    } else {
      QVERIFY(QFile::link(Path("nowhere/settings.ini"), settings_path));
    }
    for (int start = 0; start < 2; ++start) {
      auto s = Start(Path("solvane.lock"), settings_path);
      QVERIFY(s->running);
      QVERIFY(s->app->Entry()->isVisible());
      QVERIFY(s->messages.shown.empty());
    }
    // What stood in the way is still there, unharmed.
    if (what == "folder") QVERIFY(QFileInfo(Path("settings.ini")).isDir());
    if (what == "file as folder") QVERIFY(QFileInfo(Path("config")).isFile());
  }

  // A lock left by an instance that did not get to remove it.
  void LockOfAKilledInstance_data() {
    QTest::addColumn<QByteArray>("content");
    const QByteArray app = QCoreApplication::applicationName().toUtf8();
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QByteArray dead = QByteArray::number(DeadProcessId());
    QTest::newRow("as the killed instance wrote it") << LockOfKilledInstance(Path("killed.lock"));
    QTest::newRow("three-line form") << dead + "\n" + app + "\n" + host + "\n";
    QTest::newRow("dead process, other program name") << dead + "\nsomething\n" + host + "\n";
    // Process 1 always runs, and is never this program: the id was reused since the kill.
    QTest::newRow("process id reused by another program") << "1\n" + app + "\n" + host + "\n";
  }

  void LockOfAKilledInstance() {
    QFETCH(QByteArray, content);
    QVERIFY(!content.isEmpty());
    WriteFile(Path("solvane.lock"), content);
    auto s = Start(Path("solvane.lock"), Path("settings.ini"));
    QVERIFY(s->running);
    QVERIFY(s->messages.shown.empty());
    QVERIFY(s->app->Entry()->isVisible());
    // The lock is now this instance's: a second start is refused.
    auto second = Start(Path("solvane.lock"), Path("settings.ini"));
    QVERIFY(!second->running);
    QCOMPARE(second->messages.shown.size(), 1u);
  }
};

QTEST_MAIN(FaultsTest)
#include "faults_qtest.moc"

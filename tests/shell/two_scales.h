// A main() for window tests that must hold at 100% and at 200% scaling: the tests run as
// QTEST_MAIN runs them, then once more in a child process with QT_SCALE_FACTOR=2 (without a
// display the screen is then half as large in logical pixels, a small screen as well).
#pragma once

#include <QApplication>
#include <QProcess>
#include <QTest>

namespace solvane::testing {

template <typename TestClass>
int RunAtTwoScales(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setAttribute(Qt::AA_Use96Dpi, true);  // as QTEST_MAIN does
  QTEST_SET_MAIN_SOURCE_PATH
  int status = 0;
  {
    TestClass tests;
    status = QTest::qExec(&tests, argc, argv);
  }
  if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) return status;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
  QProcess at_200;
  at_200.setProcessEnvironment(environment);
  at_200.setProcessChannelMode(QProcess::ForwardedChannels);
  at_200.start(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1));
  const bool ran = at_200.waitForFinished(-1) && at_200.exitStatus() == QProcess::NormalExit;
  if (!ran) qWarning("the run at 200%% did not finish");
  return status != 0 ? status : ran ? at_200.exitCode() : 1;
}

}  // namespace solvane::testing

#define SOLVANE_QTEST_MAIN_AT_TWO_SCALES(TestClass)                 \
  int main(int argc, char** argv) {                                 \
    return solvane::testing::RunAtTwoScales<TestClass>(argc, argv); \
  }

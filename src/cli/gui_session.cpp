#include "cli/gui_session.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGlobal>

namespace solvane::cli {

core::Result<void, CliFailure> WithGui(const DrawingWork& work) {
  if (QCoreApplication::instance() != nullptr) return work();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "solvane-chart";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);
  return work();
}

}  // namespace solvane::cli

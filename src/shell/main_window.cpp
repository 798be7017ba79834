#include "shell/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "display/chart_window.h"
#include "widgets/link_label.h"
#include "widgets/menus.h"
#include "widgets/windows.h"

namespace solvane::shell {

MainWindow::MainWindow(const display::ChartWindowModel& chart, UrlOpener& opener, QWidget* parent)
    : QMainWindow(parent) {
  setObjectName(QStringLiteral("MDI"));
  setWindowTitle(ProgramTitle());

  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);

  auto* banner = new LinkLabel(QStringLiteral("lblVelmoraBanner"),
                               QStringLiteral("Solvane - Vedic astrology for everyone"),
                               LinkTarget::HomePage, opener);
  banner->setAlignment(Qt::AlignHCenter);
  layout->addWidget(banner);

  // The program's name in the middle, the buttons at the right edge at every width.
  auto* top = new QHBoxLayout;
  auto* name = new QLabel(QStringLiteral("Solvane"));
  name->setObjectName(QStringLiteral("lblSoftwareName"));
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  name->setFont(big);
  auto* print = new QPushButton(QStringLiteral("&Print"));
  print->setObjectName(QStringLiteral("Command1"));
  auto* back = new QPushButton(QStringLiteral("&Back"));
  back->setObjectName(QStringLiteral("cmdBack"));
  auto* exit = new QPushButton(QStringLiteral("&Exit"));
  exit->setObjectName(QStringLiteral("cmdMdiExit"));
  top->addStretch(1);
  top->addWidget(name);
  top->addStretch(1);
  top->addWidget(print);
  top->addWidget(back);
  top->addWidget(exit);
  layout->addLayout(top);

  chart_ = new display::ChartWindow(chart, opener);
  auto* scroll = new QScrollArea;
  scroll->setObjectName(QStringLiteral("chartArea"));
  scroll->setWidget(chart_);
  scroll->setWidgetResizable(true);
  scroll->setAlignment(Qt::AlignHCenter);
  layout->addWidget(scroll, 1);

  layout->addWidget(new LinkLabel(QStringLiteral("Label8"),
                                  QStringLiteral("Earn with your own branded edition of Solvane"),
                                  LinkTarget::FullBrandPage, opener));
  setCentralWidget(page);

  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("mnuFile"));
  QAction* back_item = file->addAction(QStringLiteral("&Back"));
  back_item->setObjectName(QStringLiteral("mnuBack"));
  QAction* exit_item = file->addAction(QStringLiteral("E&xit"));
  exit_item->setObjectName(QStringLiteral("mnuExit"));
  AddHelpMenus(
      menuBar(), opener, [this] { emit AboutRequested(); }, true);

  connect(print, &QPushButton::clicked, this, &MainWindow::PrintRequested);
  connect(back, &QPushButton::clicked, this, &MainWindow::BackRequested);
  connect(back_item, &QAction::triggered, this, &MainWindow::BackRequested);
  connect(exit, &QPushButton::clicked, this, &QWidget::close);
  connect(exit_item, &QAction::triggered, this, &QWidget::close);
  print->setFocus();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closing the main window leaves the program, through the exit screen.
  event->ignore();
  emit ExitRequested();
}

}  // namespace solvane::shell

#include "widgets/menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace solvane::widgets {
namespace {

QAction* AddLink(QMenu* menu, const char* name, const QString& text, LinkTarget target,
                 UrlOpener& opener) {
  QAction* action = menu->addAction(text);
  action->setObjectName(QString::fromLatin1(name));
  QObject::connect(action, &QAction::triggered, [&opener, target] { opener.Open(target); });
  return action;
}

}  // namespace

void AddHelpMenus(QMenuBar* bar, UrlOpener& opener, const std::function<void()>& show_about,
                  bool main_window_separators) {
  QMenu* help = bar->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("mnuHelp"));
  AddLink(help, "mnuOnline", QStringLiteral("&Online Help"), LinkTarget::OnlineHelpPage, opener);
  AddLink(help, "mnuVisit", QStringLiteral("&Visit Us Online"), LinkTarget::HomePage, opener);
  help->addSeparator()->setObjectName(main_window_separators ? QStringLiteral("mnuSep1")
                                                             : QStringLiteral("mnuHelp1"));
  AddLink(help, "mnuUpdate", QStringLiteral("Check for Software &Update"), LinkTarget::DownloadPage,
          opener);
  help->addSeparator()->setObjectName(main_window_separators ? QStringLiteral("mnuSep2")
                                                             : QStringLiteral("mnuHelp2"));
  QAction* about = help->addAction(QStringLiteral("&About Software"));
  about->setObjectName(QStringLiteral("mnuAbout"));
  QObject::connect(about, &QAction::triggered, [show_about] { show_about(); });
  AddLink(help, "mnuDonate", QStringLiteral("&Donate"), LinkTarget::DonationPage, opener);

  QAction* money = bar->addAction(QStringLiteral("Make Money &Online"));
  money->setObjectName(QStringLiteral("mkmoney"));
  QObject::connect(money, &QAction::triggered,
                   [&opener] { opener.Open(LinkTarget::FullBrandPage); });
}

}  // namespace solvane::widgets

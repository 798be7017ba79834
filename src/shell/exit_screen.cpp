#include "shell/exit_screen.h"

#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "widgets/link_label.h"
#include "widgets/windows.h"

namespace solvane::shell {
namespace {

constexpr int kIconSide = 64;
constexpr int kTextColumnChars = 56;

QLabel* TextLabel(const QString& object_name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(object_name);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  return label;
}

// No recipient: the user's mail program asks for one, and nothing leaves until the user sends it.
QString RecommendationMailto() {
  const QString subject = QStringLiteral("Have a look at Solvane");
  // Mail programs expect CRLF line breaks in a mailto: body.
  const QString body =
      QStringLiteral(
          "Hello,\r\n\r\n"
          "I have been using Solvane to cast Vedic natal charts. It shows in which of "
          "the twelve houses each planet stands and explains what that means. I "
          "thought you might like it too.\r\n\r\n"
          "You can get it from ") +
      AddressOf(LinkTarget::HomePage) + QStringLiteral("\r\n");
  return QStringLiteral("mailto:?subject=") +
         QString::fromLatin1(QUrl::toPercentEncoding(subject)) + QStringLiteral("&body=") +
         QString::fromLatin1(QUrl::toPercentEncoding(body));
}

}  // namespace

ExitScreen::ExitScreen(UrlOpener& opener, QWidget* parent)
    : QWidget(parent, Qt::Window), opener_(opener) {
  EnsureResources();  // the icon lives in the compiled-in resources
  setObjectName(QStringLiteral("frmExit"));
  setWindowTitle(ProgramTitle());
  // The owner holds the screen and may show it again; deleting it on close would pull it away
  // from under the owner.
  setAttribute(Qt::WA_DeleteOnClose, false);

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("picIcon"));
  icon->setPixmap(QIcon(QStringLiteral(":/solvane.svg")).pixmap(QSize(kIconSide, kIconSide)));

  QLabel* heading =
      TextLabel(QStringLiteral("lblThanks"), QStringLiteral("Thank you for using Solvane"), this);
  QFont heading_font = heading->font();
  heading_font.setPointSizeF(heading_font.pointSizeF() * 1.5);
  heading_font.setBold(true);
  heading->setFont(heading_font);
  heading->setWordWrap(false);  // a heading broken over two lines reads as two headings

  QLabel* invitation = TextLabel(
      QStringLiteral("lblInvitation"),
      QStringLiteral("We hope Solvane served you well. We have written other programs too, and "
                     "you will find them all on our web site. If Solvane was of use to you, a "
                     "friend may like it as well."),
      this);
  invitation->setMinimumWidth(invitation->fontMetrics().averageCharWidth() * kTextColumnChars);

  auto* more_programs = new LinkLabel(QStringLiteral("lblMorePrograms"),
                                      QStringLiteral("More programs from the makers of Solvane"),
                                      LinkTarget::HomePage, opener, this);
  auto* own_brand = new LinkLabel(QStringLiteral("lblFullBrand"),
                                  QStringLiteral("Sell this program under your own name and logo"),
                                  LinkTarget::FullBrandPage, opener, this);

  auto* recommend = new QPushButton(QStringLiteral("&Recommend to a friend"), this);
  recommend->setObjectName(QStringLiteral("cmdRecommend"));
  connect(recommend, &QPushButton::clicked, this, &ExitScreen::Recommend);

  auto* close_button = new QPushButton(QStringLiteral("&Close"), this);
  close_button->setObjectName(QStringLiteral("cmdClose"));
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);

  auto* heading_row = new QHBoxLayout;
  heading_row->addWidget(icon, 0, Qt::AlignVCenter);
  heading_row->addSpacing(fontMetrics().averageCharWidth() * 2);
  heading_row->addWidget(heading, 1, Qt::AlignVCenter);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(recommend);
  buttons->addStretch();
  buttons->addWidget(close_button);

  auto* body = new QVBoxLayout;
  body->addLayout(heading_row);
  body->addSpacing(fontMetrics().height() / 2);
  body->addWidget(invitation);
  body->addSpacing(fontMetrics().height() / 2);
  body->addWidget(more_programs);
  body->addWidget(own_brand);
  body->addStretch();
  // On a screen too small for it the text scrolls and the buttons stay in view.
  LayOutScrollingBody(*this, body, buttons);

  setTabOrder(more_programs, own_brand);
  setTabOrder(own_brand, recommend);
  setTabOrder(recommend, close_button);
  close_button->setFocus();
}

void ExitScreen::Recommend() { opener_.Open(RecommendationMailto()); }

void ExitScreen::closeEvent(QCloseEvent* event) {
  event->accept();
  if (closed_) return;
  closed_ = true;
  emit Closed();
}

void ExitScreen::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void ExitScreen::showEvent(QShowEvent* event) {
  closed_ = false;
  QWidget::showEvent(event);
}

}  // namespace solvane::shell

#include "shell/about_box.h"

#include <QFont>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/link_label.h"
#include "widgets/windows.h"

namespace solvane::shell {
namespace {

constexpr int kIconSide = 96;  // logical pixels; QIcon renders the SVG at the screen's ratio
// Wide enough for the description to break into a handful of lines rather than a tall column.
constexpr int kTextColumnChars = 52;

QLabel* TextLabel(const QString& object_name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(object_name);
  label->setTextFormat(Qt::PlainText);  // fixed texts, shown as written: no guessing at markup
  label->setWordWrap(true);
  return label;
}

// The column of texts: the title, the description, the links, the branding and the credit.
// Returns the two links, which come first in the reading order for Tab.
std::pair<QWidget*, QWidget*> AddTextColumn(QVBoxLayout* column, UrlOpener& opener,
                                            QWidget* parent) {
  QLabel* title = TextLabel(QStringLiteral("Label2"), ProgramTitle(), parent);
  QFont title_font = title->font();
  title_font.setPointSizeF(title_font.pointSizeF() * 1.5);
  title_font.setBold(true);
  title->setFont(title_font);

  QLabel* description =
      TextLabel(QStringLiteral("Label1"),
                QStringLiteral(
                    "Solvane shows the positions of the planets in the twelve houses in your natal "
                    "chart. The distribution of the planets in the different houses play an "
                    "important role in interpreting the birth chart of an individual.\n\n"
                    "Copyright (C) 2026 Solvane. All rights reserved."),
                parent);
  description->setMinimumWidth(description->fontMetrics().averageCharWidth() * kTextColumnChars);

  auto* home_page =
      new LinkLabel(QStringLiteral("lblHomePage"),
                    QStringLiteral("Click here to visit ") + AddressOf(LinkTarget::HomePage),
                    LinkTarget::HomePage, opener, parent);
  QLabel* branding = TextLabel(
      QStringLiteral("Label3"),
      QStringLiteral("Would you like this program with your own name and logo on it? We make "
                     "co-branded copies of Solvane for astrologers, shops and web sites."),
      parent);
  auto* co_brand =
      new LinkLabel(QStringLiteral("lblCoBrand"), QStringLiteral("Click here for more details."),
                    LinkTarget::CoBrandPage, opener, parent);
  // The place lookup's atlas is GeoNames data under CC BY 4.0, which asks for this credit.
  QLabel* attribution = TextLabel(
      QStringLiteral("lblAttribution"),
      QStringLiteral("Place data \u00A9 GeoNames (geonames.org), licensed under CC BY 4.0."),
      parent);

  const int line = title->fontMetrics().height();
  column->addWidget(title);
  column->addSpacing(line / 2);
  column->addWidget(description);
  column->addSpacing(line / 4);
  column->addWidget(home_page);
  column->addSpacing(line / 2);
  column->addWidget(branding);
  column->addWidget(co_brand);
  column->addSpacing(line / 2);
  column->addWidget(attribution);
  column->addStretch();
  return {home_page, co_brand};
}

}  // namespace

AboutBox::AboutBox(UrlOpener& opener, QWidget* parent) : QDialog(parent) {
  EnsureResources();  // the icon lives in the compiled-in resources
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(ProgramTitle());
  setModal(true);

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("picIcon"));
  icon->setPixmap(QIcon(QStringLiteral(":/solvane.svg")).pixmap(QSize(kIconSide, kIconSide)));
  icon->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

  auto* text_column = new QVBoxLayout;
  const auto [home_page, co_brand] = AddTextColumn(text_column, opener, this);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* body = new QHBoxLayout;
  body->addWidget(icon, 0, Qt::AlignTop);
  body->addSpacing(icon->fontMetrics().averageCharWidth() * 2);
  body->addLayout(text_column, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  // On a screen too small for it (200% on a laptop) the text scrolls and OK stays in view.
  LayOutScrollingBody(*this, body, buttons);

  // Reading order for Tab; OK holds the focus so that Enter closes the box at once.
  setTabOrder(home_page, co_brand);
  setTabOrder(co_brand, ok);
  ok->setFocus();
}

}  // namespace solvane::shell

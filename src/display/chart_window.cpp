#include "display/chart_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSvgWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include "display/wheel_geometry.h"
#include "report/report_box.h"
#include "widgets/link_label.h"
#include "widgets/windows.h"

namespace solvane::display {
namespace {

// The wheel counts whole signs, the report 30-degree houses: say so where the two meet the eye.
constexpr const char* kHouseNote =
    "The report counts each house as 30° from the Ascendant's degree, while the wheel gives "
    "each house a whole sign from the Ascendant's sign; a planet near the edge of a sign can "
    "therefore stand one house apart in the two.";

QPoint Rounded(Point p) { return {qRound(p.x), qRound(p.y)}; }

constexpr const char* kSignFiles[kSignCount] = {"aries",       "taurus",    "gemini",   "cancer",
                                                "leo",         "virgo",     "libra",    "scorpio",
                                                "sagittarius", "capricorn", "aquarius", "pisces"};

QString Q(const std::string& s) { return QString::fromStdString(s); }

QLabel* Value(const char* name, const std::string& text) {
  auto* label = new QLabel(Q(text));
  label->setObjectName(QString::fromLatin1(name));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

QGroupBox* Frame(const char* name, const QString& title) {
  auto* frame = new QGroupBox(title);
  frame->setObjectName(QString::fromLatin1(name));
  return frame;
}

// House k + 1's box of bodies, from its "\r\n"-separated lines.
void AddHouseBox(QWidget* wheel, int house, const std::string& bodies) {
  QString text = Q(bodies);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (text.startsWith(u'\n')) text.remove(0, 1);  // the box's first line is empty by design
  auto* box = new QLabel(text, wheel);
  box->setObjectName(QStringLiteral("lblNatal%1").arg(house));
  box->setStyleSheet(QStringLiteral("color: blue; background: transparent;"));
  box->adjustSize();
  box->move(Rounded(BoxTopLeft(house, {double(box->width()), double(box->height())})));
}

// House k + 1's sign glyph: entry 1 (Aries) .. 12 (Pisces) of the glyph list, 0 while unset.
void AddGlyph(QWidget* wheel, int house, int sign) {
  auto* glyph = new QSvgWidget(wheel);
  glyph->setObjectName(QStringLiteral("imgSign%1").arg(house));
  if (sign >= 1 && sign <= kSignCount) {
    glyph->load(QStringLiteral(":/signs/%1.svg").arg(QString::fromLatin1(kSignFiles[sign - 1])));
    glyph->setProperty("signEntry", sign);
    glyph->setToolTip(QString::fromLatin1(kSignBoxNames[sign - 1]));
  }
  glyph->setGeometry(
      QRect(Rounded(GlyphTopLeft(house)), QSize(kGlyphSidePixels, kGlyphSidePixels)));
}

}  // namespace

ChartWindow::ChartWindow(const ChartWindowModel& model, widgets::UrlOpener& opener, QWidget* parent)
    : QWidget(parent) {
  widgets::EnsureResources();
  setObjectName(QStringLiteral("frmDisplay"));
  setWindowTitle(widgets::ProgramTitle());

  auto* columns = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  left->addWidget(BuildDetails(model));
  left->addWidget(BuildSigns(model));
  left->addWidget(BuildPositions(model));
  left->addStretch();
  columns->addLayout(left);

  auto* right = new QVBoxLayout;
  right->addWidget(BuildWheel(model), 0, Qt::AlignHCenter);
  report_box_ = new QTextEdit;
  report_box_->setObjectName(QStringLiteral("RTBHouseDesc"));
  report_box_->setReadOnly(true);
  report_box_->setMinimumHeight(160);
  report::FillReportBox(*report_box_, model.RTBHouseDesc);
  report_box_->moveCursor(QTextCursor::Start);
  right->addWidget(report_box_, 1);
  auto* note = new QLabel(QString::fromUtf8(kHouseNote));
  note->setObjectName(QStringLiteral("lblHouseNote"));
  note->setWordWrap(true);
  note->setTextFormat(Qt::PlainText);
  right->addWidget(note);
  right->addWidget(new widgets::LinkLabel(QStringLiteral("Label7"),
                                        QStringLiteral("More about Solvane on our web site"),
                                        core::LinkTarget::HomePage, opener));
  columns->addLayout(right, 1);
}

QWidget* ChartWindow::BuildDetails(const ChartWindowModel& model) {
  auto* frame = Frame("fraDetails", QStringLiteral("Your Details"));
  auto* grid = new QGridLayout(frame);
  grid->addWidget(Value("lblName", model.lblName), 0, 0, 1, 2);
  const struct {
    const char* caption;
    const char* name;
    const std::string& text;
  } rows[] = {{"Date of Birth :", "lblDOB", model.lblDOB},
              {"Time of Birth :", "lblTOB", model.lblTOB},
              {"Latitude   :", "lblLatitude", model.lblLatitude},
              {"Longitude :", "lblLongitude", model.lblLongitude},
              {"City :", "lblCity", model.lblCity},
              {"State :", "lblState", model.lblState},
              {"Country :", "lblCountry", model.lblCountry}};
  int row = 1;
  for (const auto& r : rows) {
    grid->addWidget(new QLabel(QString::fromLatin1(r.caption)), row, 0);
    grid->addWidget(Value(r.name, r.text), row++, 1);
  }
  return frame;
}

QWidget* ChartWindow::BuildSigns(const ChartWindowModel& model) {
  auto* frame = Frame("fraVedic", QStringLiteral("Other Details"));
  auto* grid = new QGridLayout(frame);
  const struct {
    const char* caption;
    const char* name;
    const std::string& text;
  } rows[] = {{"Sun Sign", "lblSunSign", model.lblSunSign},
              {"Ascendant", "lblLagna", model.lblLagna},
              {"Moon Sign", "lblRashi", model.lblRashi}};
  int row = 0;
  for (const auto& r : rows) {
    grid->addWidget(new QLabel(QString::fromLatin1(r.caption)), row, 0);
    grid->addWidget(Value(r.name, r.text), row++, 1);
  }
  return frame;
}

QWidget* ChartWindow::BuildPositions(const ChartWindowModel& model) {
  static constexpr const char* kNames[kPositionRows] = {"Sun",     "Moon",    "Mercury", "Venus",
                                                        "Mars",    "Jupiter", "Saturn",  "Uranus",
                                                        "Neptune", "Pluto",   "Asc"};
  auto* frame = Frame("fraWestern", QStringLiteral("Planetary Positions"));
  auto* grid = new QGridLayout(frame);
  QFont fixed(QStringLiteral("monospace"));
  fixed.setStyleHint(QFont::TypeWriter);
  for (int i = 0; i < kPositionRows; ++i) {
    auto* name = new QLabel(QString::fromLatin1(kNames[i]));
    name->setObjectName(QStringLiteral("PlanetName%1").arg(i));
    auto* value = new QLabel(Q(model.lblPlanet[i]));
    value->setObjectName(QStringLiteral("lblPlanet%1").arg(i));
    value->setFont(fixed);
    grid->addWidget(name, i, 0);
    grid->addWidget(value, i, 1);
  }
  return frame;
}

QWidget* ChartWindow::BuildWheel(const ChartWindowModel& model) {
  auto* wheel = new QSvgWidget(QStringLiteral(":/wheel.svg"));
  wheel->setObjectName(QStringLiteral("picNatal"));
  wheel->setFixedSize(TwipsToPixels(kWheelWidthTwips), TwipsToPixels(kWheelHeightTwips));

  // The sign boxes are scratch lists: by the time the window shows, the wheel has been arranged.
  for (int i = 0; i < kSignCount; ++i) {
    auto* box = new QLabel(Q(model.sign_boxes[i]), wheel);
    box->setObjectName(QStringLiteral("lblNatal") + QString::fromLatin1(kSignBoxNames[i]));
    box->setVisible(model.sign_boxes_visible);
  }
  for (int k = 0; k < kSignCount; ++k) {
    AddHouseBox(wheel, k, model.lblNatal[k]);
    AddGlyph(wheel, k, model.imgSign[k]);
    // House k + 1's number stands by its glyph; the label array starts with "12".
    auto* number = new QLabel(QString::number(k + 1), wheel);
    number->setObjectName(QStringLiteral("lblNatalPosition%1").arg((k + 1) % kSignCount));
    number->move(Rounded(NumberTopLeft(k)));
    number->setStyleSheet(QStringLiteral("color: #444; font-size: 9px; background: transparent;"));
  }
  return wheel;
}

}  // namespace solvane::display

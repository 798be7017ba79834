#include "display/chart_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSvgWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include "report/report_box.h"
#include "shell/link_label.h"

namespace solvane::display {
namespace {

// Twips of the wheel's layout to device-independent pixels.
constexpr int Px(int twips) { return twips / 15; }

struct HousePlace {
  int box_left, box_top, glyph_left, glyph_top;
};
// House k + 1: its box of bodies and its glyph, in twips from the wheel's top-left corner. House 1
// is at the left (the Ascendant's side); the houses follow counter-clockwise.
constexpr HousePlace kHousePlaces[kSignCount] = {
    {960, 3240, 360, 3720},   {1680, 4080, 885, 4920},  {2535, 4440, 2040, 5800},
    {3480, 4560, 3840, 5975}, {4440, 3960, 5100, 5400}, {5055, 3240, 6060, 4080},
    {5160, 2160, 6200, 2400}, {4695, 1080, 5640, 1200}, {3480, 480, 4320, 240},
    {2400, 600, 2520, 120},   {1440, 1200, 1320, 720},  {840, 2160, 375, 2040},
};
constexpr int kWheelWidth = 6780, kWheelHeight = 6495, kGlyphSize = 300;

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

}  // namespace

ChartWindow::ChartWindow(const ChartWindowModel& model, shell::UrlOpener& opener, QWidget* parent)
    : QWidget(parent) {
  shell::EnsureResources();
  setObjectName(QStringLiteral("frmDisplay"));
  setWindowTitle(QStringLiteral("Solvane v1.15"));

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
  right->addWidget(new shell::LinkLabel(QStringLiteral("Label7"),
                                        QStringLiteral("More about Solvane on our web site"),
                                        report::LinkTarget::HomePage, opener));
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
  wheel->setFixedSize(Px(kWheelWidth), Px(kWheelHeight));

  // The sign boxes are scratch lists: by the time the window shows, the wheel has been arranged.
  for (int i = 0; i < kSignCount; ++i) {
    auto* box = new QLabel(Q(model.sign_boxes[i]), wheel);
    box->setObjectName(QStringLiteral("lblNatal") + QString::fromLatin1(kSignBoxNames[i]));
    box->setVisible(model.sign_boxes_visible);
  }
  for (int k = 0; k < kSignCount; ++k) {
    const HousePlace& place = kHousePlaces[k];
    QString text = Q(model.lblNatal[k]);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.startsWith(u'\n')) text.remove(0, 1);  // the box's first line is empty by design
    auto* box = new QLabel(text, wheel);
    box->setObjectName(QStringLiteral("lblNatal%1").arg(k));
    box->setStyleSheet(QStringLiteral("color: blue; background: transparent;"));
    box->move(Px(place.box_left), Px(place.box_top));
    box->adjustSize();

    auto* glyph = new QSvgWidget(wheel);
    glyph->setObjectName(QStringLiteral("imgSign%1").arg(k));
    const int sign = model.imgSign[k];
    if (sign >= 1 && sign <= kSignCount) {
      glyph->load(QStringLiteral(":/signs/%1.svg").arg(QString::fromLatin1(kSignFiles[sign - 1])));
      glyph->setProperty("signEntry", sign);
      glyph->setToolTip(QString::fromLatin1(kSignBoxNames[sign - 1]));
    }
    glyph->setGeometry(Px(place.glyph_left), Px(place.glyph_top), Px(kGlyphSize), Px(kGlyphSize));

    // House k + 1's number; the label array starts with "12".
    auto* number = new QLabel(QString::number(k == 0 ? 12 : k), wheel);
    number->setObjectName(QStringLiteral("lblNatalPosition%1").arg(k));
    const HousePlace& own =
        kHousePlaces[(k + 11) % kSignCount];  // lblNatalPosition k sits by house k
    number->move(Px(own.glyph_left) + Px(kGlyphSize), Px(own.glyph_top));
    number->setStyleSheet(QStringLiteral("color: #444; font-size: 9px; background: transparent;"));
  }
  return wheel;
}

}  // namespace solvane::display

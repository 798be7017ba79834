// The chart window's "Nakshatras and periods" tab: each body's nakshatra, pada, lord and navamsa,
// and the Vimshottari periods as a tree with the ones running on a chosen date marked.
#pragma once

#include <QDate>
#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/chart_state.h"
#include "vedic/dasha.h"

class QDateEdit;
class QLabel;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace solvane::display {

inline constexpr const char* kPeriodsTabTitle = "Nakshatras and periods";

// What the tab shows, as plain values.
struct PeriodsViewInput {
  std::vector<std::string> body_names;   // the table's rows, in order
  std::vector<double> sidereal_degrees;  // each row's sidereal longitude
  int moon_row = 1;                      // the row whose longitude the periods start from
  double birth_day = 0;  // local day number: days since 1970-01-01 00:00 of the birth's clock
  double year_days = vedic::kJulianYearDays;
  bool approximate = false;        // the Moon may be a few arc-minutes off (the classic engine)
  std::optional<long> marked_day;  // date to mark first (days since 1970-01-01); today if empty
};

// The input for the usual table (Sun to Pluto, Rahu, Ketu, Ascendant) from longitudes indexed by
// `core::Body`.
PeriodsViewInput PeriodsInputFor(const std::array<double, core::kPositionCount>& sidereal_by_body,
                                 double birth_day, double year_days, bool approximate);

class PeriodsView : public QWidget {
  Q_OBJECT
 public:
  explicit PeriodsView(const PeriodsViewInput& input, QWidget* parent = nullptr);

  // Marks the periods running on `date`, as picking it in the date box does.
  void SetDate(const QDate& date);
  QDate Date() const;
  // Lists the periods again with years of `year_days` days, the date marked as it was.
  void SetYearDays(double year_days);
  double YearDays() const { return input_.year_days; }

  QTableWidget* Table() const { return table_; }
  QTreeWidget* Tree() const { return tree_; }
  QDateEdit* DateBox() const { return date_box_; }
  // The marked mahadasha, antardasha and pratyantardasha items; none when no period runs then.
  std::vector<QTreeWidgetItem*> MarkedItems() const;

 private:
  QWidget* BuildTable(const PeriodsViewInput& input);
  QWidget* BuildPeriods();
  void ComputePeriods();
  void ShowPeriodTexts();
  void FillTree();
  void MarkRunning(const QDate& date);
  void SetMarked(QTreeWidgetItem* item, bool marked);
  void ScrollToMarked();
  void showEvent(QShowEvent* event) override;

  PeriodsViewInput input_;
  std::optional<vedic::Vimshottari> periods_;
  QTableWidget* table_ = nullptr;
  QTreeWidget* tree_ = nullptr;
  QDateEdit* date_box_ = nullptr;
  QLabel* running_ = nullptr;
  QLabel* balance_ = nullptr;
  QLabel* note_ = nullptr;
  std::array<QTreeWidgetItem*, vedic::kDashaLevelCount> marked_{};
};

}  // namespace solvane::display

// The person list: the saved births, searched as you type, to open, rename, annotate or delete.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <QString>
#include <optional>
#include <vector>

#include "widgets/messages.h"
#include "store/births_store.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace solvane::store {

// Asks the user for a line or a few lines of text. The desktop program shows a QInputDialog;
// tests answer at once, so that no test waits on a modal dialog.
class TextPrompt {
 public:
  virtual ~TextPrompt() = default;
  // The text entered, or nothing when the user cancels.
  virtual std::optional<QString> Ask(QWidget* parent, const QString& label, const QString& text,
                                     bool several_lines) = 0;
};

class QtTextPrompt final : public TextPrompt {
 public:
  std::optional<QString> Ask(QWidget* parent, const QString& label, const QString& text,
                             bool several_lines) override;
};

// The table's rows: one saved birth each, in the order the store returned them.
class BirthsTableModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { kName, kDate, kTime, kPlace, kChanged, kColumnCount };

  explicit BirthsTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
  void SetRecords(std::vector<BirthRecord> records);
  const std::vector<BirthRecord>& records() const { return records_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<BirthRecord> records_;
};

class PersonListWindow : public QDialog {
  Q_OBJECT
 public:
  // Rows shown at most; typing narrows a longer list.
  static constexpr int kRowsShown = 1000;

  PersonListWindow(Store& store, widgets::MessageService& messages, TextPrompt& prompt,
                   QWidget* parent = nullptr);

  // The birth the user opened; nothing after Close.
  const std::optional<BirthRecord>& chosen() const { return chosen_; }

  // Shows the window modally and returns the birth opened, if any.
  static std::optional<BirthRecord> Choose(Store& store, widgets::MessageService& messages,
                                           TextPrompt& prompt, QWidget* parent = nullptr);

 public slots:
  void Refresh();
  void OpenSelected();
  void RenameSelected();
  void NoteSelected();
  void DeleteSelected();
  void UndoDelete();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  void Connect();
  std::optional<BirthRecord> Selected() const;
  void SelectRow(int row);
  void SelectId(std::int64_t id);
  void UpdateButtons();
  void ShowError(const std::string& message);

  Store& store_;
  widgets::MessageService& messages_;
  TextPrompt& prompt_;
  BirthsTableModel model_;
  SortOrder order_;
  std::optional<BirthRecord> chosen_;

  QLineEdit* search_ = nullptr;
  QTableView* table_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* open_ = nullptr;
  QPushButton* rename_ = nullptr;
  QPushButton* note_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* undo_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace solvane::store

#pragma once

#include <QAbstractTableModel>
#include <QButtonGroup>
#include <QLabel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "platform/ManageWindow.h"

namespace pricora {

// The rows of the management table as they were at the last reload, with two check columns and
// text columns for the pair's alerts and holding.
class ManageTableModel final : public QAbstractTableModel {
 public:
  enum Column { Pair, Favourite, MenuBar, Alert, Holding, ColumnCount };

  void reload(ManageWindowDelegate* delegate);
  void setDelegate(ManageWindowDelegate* delegate) { delegate_ = delegate; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  // The first note of a row's alerts or holding, with its pair, to show under the table; empty when none.
  QString note(bool* isError) const;

 private:
  ManageWindowDelegate* delegate_ = nullptr;
  std::vector<ManageRow> rows_;
};

// Draws each Alert or Holding cell as the text field it is: a frame, and in an empty field under
// the pointer or selected a dim example; knows while a field is open for typing.
class AlertFieldDelegate final : public QStyledItemDelegate {
 public:
  // example: in the context "ManageWindow", to be translated.
  AlertFieldDelegate(QTableView* table, const char* example);
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  bool editing() const { return editing_; }

 private:
  const char* example_;
  mutable bool editing_ = false;
};

// The management window: a row of exchange buttons over the table of that exchange's pairs.
// It stays above other windows; the table is dark; everything works from the keyboard.
class QtManageWindow final : public QWidget, public ManageWindow {
 public:
  explicit QtManageWindow(const std::vector<std::string>& exchangeNames);

  void setDelegate(ManageWindowDelegate* delegate) override;
  std::optional<std::string> selectedSegmentLabel() const override;
  void reloadData() override;
  void makeKeyAndOrderFront() override;
  void setDarkTableAppearance() override;
  void setFloating() override;

  QTableView* table() { return table_; }
  QButtonGroup* segments() { return segments_; }
  // Under the table: what became of the alerts last typed, when there is something to say.
  QLabel* note() { return note_; }

 private:
  ManageWindowDelegate* delegate_ = nullptr;
  QButtonGroup* segments_;
  QTableView* table_;
  QLabel* note_;
  AlertFieldDelegate* field_;
  AlertFieldDelegate* holdingField_;
  ManageTableModel model_;
  bool reloadWaiting_ = false;  // for the open field to close
};

}  // namespace pricora

#pragma once

#include <QAbstractTableModel>
#include <QButtonGroup>
#include <QTableView>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "platform/ManageWindow.h"

namespace pricora {

// The rows of the management table as they were at the last reload, with two check columns.
class ManageTableModel final : public QAbstractTableModel {
 public:
  enum Column { Pair, Favourite, MenuBar, ColumnCount };

  void reload(ManageWindowDelegate* delegate);
  void setDelegate(ManageWindowDelegate* delegate) { delegate_ = delegate; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  ManageWindowDelegate* delegate_ = nullptr;
  std::vector<ManageRow> rows_;
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

 private:
  ManageWindowDelegate* delegate_ = nullptr;
  QButtonGroup* segments_;
  QTableView* table_;
  ManageTableModel model_;
};

}  // namespace pricora

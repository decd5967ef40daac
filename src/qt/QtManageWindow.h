#pragma once

#include <QAbstractTableModel>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QWidget>

#include <functional>
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

// The rows whose pair, or whose exchange, contains the filter's text, without regard to case.
class ManageFilter final : public QSortFilterProxyModel {
 public:
  // exchange: the name of the exchange the rows are of.
  explicit ManageFilter(std::function<QString()> exchange) : exchange_(std::move(exchange)) {}
  void setText(const QString& text);

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

 private:
  std::function<QString()> exchange_;
  QString text_;
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

// The management window: a row of exchange buttons and a filter field over the table of that
// exchange's pairs. It stays above other windows, is as wide as its columns, follows the
// desktop's palette, light or dark, and everything works from the keyboard: Ctrl+F goes to the
// filter, Esc there clears it. A row's context menu, or a double click on its pair, shows the
// pair's chart.
class QtManageWindow final : public QWidget, public ManageWindow {
 public:
  explicit QtManageWindow(const std::vector<std::string>& exchangeNames);

  void setDelegate(ManageWindowDelegate* delegate) override;
  std::optional<std::string> selectedSegmentLabel() const override;
  void reloadData() override;
  void makeKeyAndOrderFront() override;
  void setDarkTableAppearance() override;
  void setFloating() override;

  // Shows a pair's chart: its exchange and title.
  void setShowChart(std::function<void(const std::string&, const std::string&)> showChart) {
    showChart_ = std::move(showChart);
  }

  QTableView* table() { return table_; }
  QButtonGroup* segments() { return segments_; }
  QLineEdit* filter() { return filter_; }
  // Under the table: what became of the alerts last typed, when there is something to say.
  QLabel* note() { return note_; }

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void followPalette();
  void showChartOf(const QModelIndex& index);
  // As wide as the exchange buttons and the columns need, and no wider.
  void fitWidth();

  ManageWindowDelegate* delegate_ = nullptr;
  std::function<void(const std::string&, const std::string&)> showChart_;
  QButtonGroup* segments_;
  QLineEdit* filter_;
  QTableView* table_;
  QLabel* note_;
  AlertFieldDelegate* field_;
  AlertFieldDelegate* holdingField_;
  ManageTableModel model_;
  ManageFilter filtered_;
  bool reloadWaiting_ = false;  // for the open field to close
  bool fitted_ = false;
};

}  // namespace pricora

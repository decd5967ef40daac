#pragma once

#include <QButtonGroup>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "core/chart/PriceChart.h"
#include "platform/Clock.h"

namespace pricora {

// What a chart reads each time it is drawn anew: the pair's prices, alerts and holding.
using ChartSource = std::function<ChartData(ChartSpan)>;

// The plot of a chart window: paints the chart, and moves the read-out with the pointer or the
// keys (Left and Right by one sample, Home and End to the first and the last).
class PriceChartCanvas final : public QWidget {
 public:
  explicit PriceChartCanvas(QWidget* parent);

  void setChart(const PriceChart* chart);
  std::optional<std::size_t> pointed() const { return pointed_; }
  void point(std::optional<std::size_t> index);
  std::function<void()> pointedChanged;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const PriceChart* chart_ = nullptr;
  std::optional<std::size_t> pointed_;
};

// A small window with one followed pair's price over the last 24 hours or 7 days (two buttons
// switch), the high and the low, the pair's alert levels, the holding's value on a second scale,
// and a read-out of the sample under the pointer. Esc closes it. Its accessible name is the
// chart's summary.
class PriceChartWindow final : public QWidget {
 public:
  PriceChartWindow(const PairName& pair, ChartSource source, const Clock& clock, const LocaleFormat& format,
                   AppHost& host);

  // Reads the data again and draws the span.
  void showSpan(ChartSpan span);
  void reload();
  const PriceChart* chart() const { return chart_.get(); }
  PriceChartCanvas* canvas() { return canvas_; }
  QLabel* readout() { return readout_; }
  QButtonGroup* spans() { return spans_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void showReadout();

  ChartSource source_;
  const Clock& clock_;
  const LocaleFormat& format_;
  AppHost& host_;
  ChartSpan span_ = ChartSpan::day;
  std::unique_ptr<PriceChart> chart_;
  QButtonGroup* spans_;
  PriceChartCanvas* canvas_;
  QLabel* readout_;
  QTimer refresh_;
};

// The chart windows of the running application: one per pair, opened again where it was.
class PriceChartWindows {
 public:
  // holding: the amount of a pair the user holds, if any.
  PriceChartWindows(HistoryFile& file, const Clock& clock, const LocaleFormat& format, AppHost& host,
                    std::function<std::optional<double>(const PairName&)> holding = {});
  ~PriceChartWindows();

  // Shows the pair's chart in front, with the keyboard focus.
  void show(const PairName& pair);
  PriceChartWindow* window(const PairName& pair) const;

 private:
  HistoryFile& file_;
  const Clock& clock_;
  const LocaleFormat& format_;
  AppHost& host_;
  std::function<std::optional<double>(const PairName&)> holding_;
  std::map<PairName, std::unique_ptr<PriceChartWindow>> windows_;
};

}  // namespace pricora

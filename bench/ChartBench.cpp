// A week of one pair's chart, worked out and painted into an image offscreen, as the chart window
// does each time it is shown: one price a minute (the default refresh) and one every 10 seconds
// (the most the history keeps), at scale 1 and 2, with a gap of an afternoon and two alerts.
//
//   chart_bench [benchmark options]
//     Prints the time each takes; the chart window is meant to draw a week in under 50 ms.
//   chart_bench --png FOLDER [--dark]
//     Writes the chart window as it shows that week (one price a minute) to
//     FOLDER/chart-{day,week}-{light,dark}@{scale}x.png, at the scale QT_SCALE_FACTOR asks for.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "qt/PriceChartPainter.h"
#include "qt/PriceChartWindow.h"

namespace pricora {
namespace {

// Monday 7 December 2026, 14:05 UTC.
const WallTime kNow = WallTime(std::chrono::seconds(1796652300));
const PairName kPair{"Kraken", "XBT/USD"};

class EnglishHost final : public AppHost {
 public:
  bool presentError(const Error&) override { return false; }
  std::size_t runModal(const Alert&) override { return 0; }
  std::string localizedString(const std::string& key, const std::string&) override { return key; }
  void log(const std::string&) override {}
  void printLine(const std::string&) override {}
  void activateIgnoringOtherApps() override {}
  void quit() override {}
};

class FixedClock final : public Clock {
 public:
  WallTime now() const override { return kNow; }
  std::chrono::nanoseconds sinceBoot() const override { return {}; }
};

// A random walk around 10,500 over the week, nothing recorded on Thursday afternoon (Pricora was
// not running), an alert above and one below, and a quarter of a coin held.
ChartData week(std::chrono::seconds every) {
  ChartData data{kPair, {}, {}, 0.25};
  std::mt19937 random(7);
  std::normal_distribution<double> step(0, 6.0 * std::sqrt(every.count() / 60.0));
  double price = 10412;
  const WallTime gapFrom = kNow - std::chrono::hours(96), gapTo = gapFrom + std::chrono::hours(5);
  for (WallTime time = kNow - std::chrono::hours(24 * 7); time <= kNow; time += every) {
    price += step(random) + (10500 - price) * 0.002;
    if (time < gapFrom || time > gapTo) data.samples.push_back({time, std::round(price * 10) / 10});
  }
  data.alerts.push_back({.pair = kPair, .kind = AlertKind::above, .level = 10800});
  data.alerts.push_back({.pair = kPair, .kind = AlertKind::below, .level = 10250});
  return data;
}

void BM_ChartWeek(benchmark::State& state) {
  const ChartData data = week(std::chrono::seconds(state.range(0)));
  const int scale = static_cast<int>(state.range(1));
  EnglishHost host;
  const LocaleFormat format("en_GB", "UTC");
  QImage image(760 * scale, 400 * scale, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(scale);
  for (auto _ : state) {
    const PriceChart chart(data, ChartSpan::week, kNow, format, host);
    QPainter painter(&image);
    paintPriceChart(painter, QRectF(0, 0, 760, 400), chart, QGuiApplication::palette(), chart.samples().size() / 2);
    painter.end();
    benchmark::DoNotOptimize(image.bits());
  }
  state.counters["samples"] = static_cast<double>(data.samples.size());
}
BENCHMARK(BM_ChartWeek)->ArgsProduct({{60, 10}, {1, 2}})->Unit(benchmark::kMillisecond);

QPalette darkPalette() {
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2e));
  dark.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
  dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x20));
  dark.setColor(QPalette::AlternateBase, QColor(0x26, 0x26, 0x29));
  dark.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
  dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x39));
  dark.setColor(QPalette::ButtonText, QColor(0xe6, 0xe6, 0xe6));
  dark.setColor(QPalette::Highlight, QColor(0x3d, 0x8b, 0xe0));
  dark.setColor(QPalette::HighlightedText, Qt::white);
  dark.setColor(QPalette::PlaceholderText, QColor(0x9a, 0x9a, 0x9a));
  return dark;
}

int writePictures(const QString& folder, bool dark) {
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
  EnglishHost host;
  FixedClock clock;
  const LocaleFormat format("en_GB", "UTC");
  const ChartData data = week(std::chrono::seconds(60));
  PriceChartWindow window(
      kPair,
      [&data](ChartSpan span) {
        ChartData shown = data;
        if (span == ChartSpan::day)
          std::erase_if(shown.samples,
                        [](const PriceSample& sample) { return sample.time < kNow - std::chrono::hours(24); });
        return shown;
      },
      clock, format, host);
  const int scale = std::max(1, qEnvironmentVariableIntValue("QT_SCALE_FACTOR"));
  for (const ChartSpan span : {ChartSpan::day, ChartSpan::week}) {
    window.showSpan(span);
    window.show();
    window.canvas()->point(window.chart()->samples().size() * 3 / 5);
    const QString name = QStringLiteral("%1/chart-%2-%3@%4x.png")
                             .arg(folder, span == ChartSpan::day ? "day" : "week", dark ? "dark" : "light")
                             .arg(scale);
    if (!window.grab().save(name)) return 1;
    std::printf("%s\n%s\n", qPrintable(name), qPrintable(window.accessibleName()));
  }
  return 0;
}

}  // namespace
}  // namespace pricora

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "--png") {
    QApplication app(argc, argv);
    return pricora::writePictures(QString::fromLocal8Bit(argv[2]), argc >= 4 && std::string(argv[3]) == "--dark");
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

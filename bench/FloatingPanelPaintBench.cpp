#include "support/StagedPortfolio.h"
#include "views/floating/FloatingPortfolioView.h"
#include "views/floating/FloatingViewModel.h"
#include "views/kit/WindowAppearanceBridge.h"
#include "window/FloatingPanelGeometry.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QImage>
#include <QPainter>

#include <memory>

// One paint of the floating panel in its busiest form (full style, five exchange cards, each
// with its sparkline) into an image, beside a plain widget of the same size painted the same
// way. One frame at 60 Hz is 16.7 ms.

namespace {

using namespace vantrell;

const QSize panelSize = FloatingPanelGeometry::metrics(FloatingDisplayStyle::full).contentSize;

struct PanelWorld {
    PanelWorld()
    {
        staged.stageAllExchanges();
        staged.refresh();
        staged.settings().setFloatingStyle(FloatingDisplayStyle::full);
        view = std::make_unique<FloatingPortfolioView>(staged.store(), staged.settings());
        // The sparklines show while the data is not live: draw the live accounts that way.
        FloatingViewModel::Inputs inputs =
            FloatingViewModel::inputsOf(staged.store(), staged.settings());
        inputs.isLive = false;
        view->render(FloatingViewModel::make(inputs, staged.settings()));
        view->resize(panelSize);
        view->setAttribute(Qt::WA_DontShowOnScreen);
        view->show();
        QApplication::processEvents();
    }

    test::StagedPortfolio staged;
    std::unique_ptr<FloatingPortfolioView> view;
};

void paintInto(QWidget& widget, benchmark::State& state)
{
    QImage image(panelSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::transparent);
        widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_PaintFloatingPanel(benchmark::State& state)
{
    static PanelWorld world;
    paintInto(*world.view, state);
}
BENCHMARK(BM_PaintFloatingPanel)->Unit(benchmark::kMicrosecond)->Repetitions(9);

void BM_PaintPlainWidget(benchmark::State& state)
{
    static QWidget plain;
    plain.resize(panelSize);
    paintInto(plain, state);
}
BENCHMARK(BM_PaintPlainWidget)->Unit(benchmark::kMicrosecond)->Repetitions(9);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    WindowAppearanceBridge::installStyle();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

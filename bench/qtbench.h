// main() of the benchmarks that need the toolkit: a QApplication on the
// offscreen platform (unless one is named) at 96 dpi with the program's
// fonts, around Google Benchmark's own run.
#pragma once

#include "widgets/fonts.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <functional>

inline int runWithQt(int argc, char **argv, const std::function<void()> &setUp = {},
                     const std::function<void()> &tearDown = {})
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_FONT_DPI", "96");
    QApplication app(argc, argv);
    fonts::load();
    if (setUp) setUp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (tearDown) tearDown();
    return 0;
}

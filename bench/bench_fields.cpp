// A megabyte of digits pasted into a numeric field with Ctrl+V, from the key
// press to the committed value, beside its floor: the field's text rules
// (the paste rule and reading the number) on the same clip.
#include "bench/qtbench.h"
#include "widgets/NumEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QWidget>

#include <benchmark/benchmark.h>

namespace {

const QString &hugeClip()
{
    static const QString clip(1 << 20, QLatin1Char('9'));
    return clip;
}

// The jacket-side flow field of the main window: 0..150, two decimals.
NumEdit::Settings flowField()
{
    return {7, 0, 150, QStringLiteral("0.###"), 2, false, false, true, true};
}

void HugePaste(benchmark::State &state)
{
    QWidget window;
    auto *field = new NumEdit(&window);
    field->setDecimalSeparator(QLatin1Char('.'));
    field->setThousandsSeparator(QLatin1Char(','));
    field->setSettings(flowField());
    field->setGeometry(20, 20, 65, 19);
    window.show();
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowActive(&window)) {
        state.SkipWithError("the window did not become active");
        return;
    }
    field->setFocus(Qt::TabFocusReason);
    QGuiApplication::clipboard()->setText(hugeClip());
    for (auto _ : state) {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        benchmark::DoNotOptimize(field->storedValue());
        state.PauseTiming();
        if (field->storedValue() != 150) {
            state.SkipWithError("the paste did not commit the limit");
            break;
        }
        field->setValue(7);
        state.ResumeTiming();
    }
}
BENCHMARK(HugePaste)->Unit(benchmark::kMillisecond);

void HugePasteRules(benchmark::State &state)
{
    numfield::Separators seps;
    numfield::CommitRules rules;
    rules.maxValue = 150;
    const QString text = QStringLiteral("7");
    for (auto _ : state) {
        const numfield::Paste p = numfield::pasteInto(text, 0, 1, hugeClip(), 32767);
        benchmark::DoNotOptimize(numfield::commitText(p.text, seps, rules));
    }
}
BENCHMARK(HugePasteRules)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) { return runWithQt(argc, argv); }

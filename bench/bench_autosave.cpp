// Speed of the autosave. What holds the window is its part on the window's
// thread: the unsaved state taken from the main window (the fields as they
// are typed), the recovery file's text, the hand-over to the writer thread;
// a frame is 16.7 ms at 60 Hz. Beside it, the text alone, and the write to
// the disk (fsync included) that the writer thread does and the window never
// waits for.
#include "app/windows.h"
#include "bench/qtbench.h"
#include "platform/platform.h"
#include "projectwindows/Recovery.h"

#include <QTemporaryDir>

#include <cstdint>
#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> state;
std::unique_ptr<Windows> windows;

// 1000 cases spread over the types, counts, units, flows and inlets.
project::Project thousand()
{
    project::Project p;
    p.details.name = "Boiler house B, hot water";
    std::uint32_t seed = 12345;
    auto next = [&](std::uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    for (int i = 0; i < project::maxCases; ++i) {
        project::Case c;
        c.name = "alternative " + std::to_string(i + 1);
        rating::Case &in = c.inputs;
        in.Tipus = static_cast<int>(next(rating::TipusCount));
        in.Soros = 1 + static_cast<int>(next(4));
        in.Parh = 1 + static_cast<int>(next(3));
        in.MVk = 0.5 + next(1000) / 100.0;
        in.MVs = 0.5 + next(500) / 100.0;
        in.tkb = 60 + next(3000) / 100.0;
        in.tsb = 5 + next(3000) / 100.0;
        p.cases.push_back(std::move(c));
    }
    return p;
}

// A project of `cases` cases with unsaved changes in the main window.
void prepare(int cases)
{
    Windows &w = *windows;
    w.document.replace(cases == 1 ? projects::ProjectDocument::newProject(1) : thousand(), QString());
    w.document.setModified(true);
}

void AutosaveWindowPart(benchmark::State &s)
{
    const int cases = static_cast<int>(s.range(0));
    prepare(cases);
    Windows &w = *windows;
    for (auto _ : s) w.files.autosaveNow();
    w.files.autosave().wait();
}
BENCHMARK(AutosaveWindowPart)->Arg(1)->Arg(1000)->Unit(benchmark::kMicrosecond);

void RecoveryText(benchmark::State &s)
{
    prepare(static_cast<int>(s.range(0)));
    const project::Project p = windows->document.project();
    const projects::RecoveryNote note{QString(), QDateTime::currentDateTime()};
    for (auto _ : s) benchmark::DoNotOptimize(projects::recoveryBytes(p, note));
}
BENCHMARK(RecoveryText)->Arg(1)->Arg(1000)->Unit(benchmark::kMicrosecond);

void RecoveryFileWrite(benchmark::State &s)
{
    prepare(1);
    const QByteArray bytes = projects::recoveryBytes(windows->document.project(), {});
    const QString path = state->filePath(QStringLiteral("write-bench.ventrano"));
    for (auto _ : s) benchmark::DoNotOptimize(platform::writeWholeFile(path, bytes));
}
BENCHMARK(RecoveryFileWrite)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return runWithQt(
        argc, argv,
        [] {
            // The recovery files of the benchmark go to a folder of its own.
            state = std::make_unique<QTemporaryDir>();
            qputenv("XDG_STATE_HOME", QFile::encodeName(state->path()));
            windows = std::make_unique<Windows>();
        },
        [] {
            windows.reset();
            state.reset();
        });
}

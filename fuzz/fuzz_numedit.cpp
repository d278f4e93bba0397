// Fuzzes a real NumEdit through key events: typing, deleting, moving,
// selecting, pasting (up to large pastes), undo, Esc, Enter, leaving and
// coming back, and the calculator with its keys, Esc and clicks outside.
// After every step the field's value must be finite and within its limits,
// and the field editable unless the calculator is open.
// Run with ASAN_OPTIONS=detect_leaks=0 (the toolkit keeps caches to the end).
#include "widgets/Calculator.h"
#include "widgets/NumEdit.h"
#include "platform/platform.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#define CHECK(cond)                                                              \
    do {                                                                         \
        if (!(cond)) {                                                           \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #cond, __LINE__); \
            std::abort();                                                        \
        }                                                                        \
    } while (0)

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_numedit";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
    platform::setErrorHandler([](const QString &) {});
    platform::setBeepHandler([] {});
    return 0;
}

namespace {

const NumEdit::Settings kFields[] = {
    {1, 0, 150, QStringLiteral(",0.###"), 2, false, false, true, true},
    {20, -5, 150, QStringLiteral(",0.##"), 2, false, false, true, true},
    {7, 0, 150, QStringLiteral("0.###"), 2, false, false, true, true},
    {80, -5, 150, QStringLiteral("0.##"), 2, true, true, false, true},
};

void checkField(NumEdit *e)
{
    const double v = e->storedValue();
    CHECK(std::isfinite(v));
    CHECK(v >= e->minValue() && v <= e->maxValue());
    CHECK(e->isCalculatorOpen() || !e->isReadOnly());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    QWidget window;
    window.resize(300, 200);
    auto *e = new NumEdit(&window);
    auto *other = new NumEdit(&window);
    const bool comma = data[0] & 4;
    for (NumEdit *f : {e, other}) {
        f->setDecimalSeparator(comma ? QLatin1Char(',') : QLatin1Char('.'));
        f->setThousandsSeparator((data[0] & 8) ? QChar() : (comma ? QLatin1Char('.') : QLatin1Char(',')));
    }
    e->setSettings(kFields[data[0] & 3]);
    other->setSettings(kFields[0]);
    e->setGeometry(20, 20, 65, 19);
    other->setGeometry(120, 20, 65, 19);
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    e->setFocus(Qt::TabFocusReason);

    static const char typable[] = "0123456789.,-+eE x";
    static const char calcKeys[] = "0123456789.,+-*/=%QR_Cq\b";
    for (size_t i = 1; i < size; ++i) {
        const uint8_t op = data[i] % 17;
        const uint8_t arg = i + 1 < size ? data[i + 1] : 0;
        QWidget *target = e->isCalculatorOpen() && e->calculator() ? static_cast<QWidget *>(e->calculator()) : e;
        switch (op) {
        case 0: QTest::keyClick(target, typable[arg % (sizeof typable - 1)]); ++i; break;
        case 1: QTest::keyClick(target, Qt::Key_Backspace); break;
        case 2: QTest::keyClick(target, Qt::Key_Delete); break;
        case 3: QTest::keyClick(target, Qt::Key_Left, (arg & 1) ? Qt::ShiftModifier : Qt::NoModifier); ++i; break;
        case 4: QTest::keyClick(target, Qt::Key_Right, (arg & 1) ? Qt::ShiftModifier : Qt::NoModifier); ++i; break;
        case 5: QTest::keyClick(target, Qt::Key_Home, (arg & 1) ? Qt::ShiftModifier : Qt::NoModifier); ++i; break;
        case 6: QTest::keyClick(target, Qt::Key_End, (arg & 1) ? Qt::ShiftModifier : Qt::NoModifier); ++i; break;
        case 7: QTest::keyClick(target, Qt::Key_Escape); break;
        case 8: QTest::keyClick(target, Qt::Key_Return); break;
        case 9: { // paste: a slice of the input, or a large run of digits
            const size_t n = std::min<size_t>(arg, size - i - 2 < size ? size - i - 2 : 0);
            QString clip = arg == 255 ? QString(200000, QLatin1Char('9'))
                                      : QString::fromLatin1(reinterpret_cast<const char *>(data + i + 2), qsizetype(n));
            QGuiApplication::clipboard()->setText(clip);
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
            i += 1 + (arg == 255 ? 0 : n);
            break;
        }
        case 10: QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier); break;
        case 11: QTest::keyClick(target, Qt::Key_X, Qt::ControlModifier); break;
        case 12: // leave and come back
            if (e->isCalculatorOpen())
                QTest::keyClick(target, Qt::Key_Escape);
            QTest::keyClick(e, Qt::Key_Tab);
            QCoreApplication::processEvents();
            e->setFocus(Qt::TabFocusReason);
            break;
        case 13: QTest::keyClick(target, Qt::Key_Down, Qt::AltModifier); break;
        case 14:
            if (e->isCalculatorOpen())
                QTest::keyClick(target, calcKeys[arg % (sizeof calcKeys - 1)]);
            ++i;
            break;
        case 15:
            if (e->isCalculatorOpen())
                QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(-30, -30));
            else
                QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
            break;
        default: {
            const double v = e->value();   // what the main window reads
            CHECK(std::isfinite(v) && v >= e->minValue() && v <= e->maxValue());
            break;
        }
        }
        checkField(e);
    }
    if (e->isCalculatorOpen())
        QTest::keyClick(e->calculator(), Qt::Key_Escape);
    QTest::keyClick(e, Qt::Key_Tab);
    QCoreApplication::processEvents();
    checkField(e);
    const double v = e->value();
    CHECK(std::isfinite(v) && v >= e->minValue() && v <= e->maxValue());
    return 0;
}

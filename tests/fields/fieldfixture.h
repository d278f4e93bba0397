// A shown, active window with two numeric fields, counting notifications,
// beeps and error boxes.
#pragma once

#include "widgets/NumEdit.h"
#include "platform/platform.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <cmath>
#include <limits>
#include <memory>

namespace fields {

// Settings of the main window's fields (value, min, max, display format,
// decimals, round, format on editing, beep, zero empty).
inline const NumEdit::Settings tsbEd{20, -5, 150, QStringLiteral(",0.##"), 2, false, false, true, true};
inline const NumEdit::Settings MVkEd{7, 0, 150, QStringLiteral("0.###"), 2, false, false, true, true};
inline const NumEdit::Settings tkbEd{80, -5, 150, QStringLiteral("0.##"), 2, true, true, false, true};
inline const NumEdit::Settings SorosEd{1, 0, 150, QStringLiteral(",0.###"), 2, false, false, true, true};

struct Form {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    NumEdit *field = nullptr;
    NumEdit *other = nullptr;
    int changed = 0, exited = 0, otherChanged = 0, otherExited = 0, beeps = 0;
    QStringList errors;
    double valueAtExit = std::numeric_limits<double>::quiet_NaN();
    QString textAtExit;
    platform::ErrorHandler oldError;
    platform::BeepHandler oldBeep;

    explicit Form(const NumEdit::Settings &s, QChar dec = QLatin1Char('.'), QChar thou = QLatin1Char(','))
    {
        window->resize(300, 120);
        field = new NumEdit(window.get());
        other = new NumEdit(window.get());
        for (NumEdit *e : {field, other}) {
            e->setDecimalSeparator(dec);
            e->setThousandsSeparator(thou);
        }
        field->setSettings(s);
        other->setSettings(SorosEd);
        field->setGeometry(20, 20, 65, 19);
        other->setGeometry(120, 20, 65, 19);
        QObject::connect(field, &NumEdit::changed, [this] { ++changed; });
        QObject::connect(field, &NumEdit::exited, [this] {
            ++exited;
            textAtExit = field->text();
            valueAtExit = field->value();   // what the main window does on exit
        });
        QObject::connect(other, &NumEdit::changed, [this] { ++otherChanged; });
        QObject::connect(other, &NumEdit::exited, [this] { ++otherExited; });
        oldError = platform::setErrorHandler([this](const QString &m) { errors << m; });
        oldBeep = platform::setBeepHandler([this] { ++beeps; });
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        // Start with the focus on the other field, as if the user came from there.
        other->setFocus(Qt::OtherFocusReason);
        changed = exited = 0;
    }
    ~Form()
    {
        window.reset();
        platform::setErrorHandler(oldError);
        platform::setBeepHandler(oldBeep);
    }

    // Enters the field by keyboard (whole text selected).
    void enter()
    {
        field->setFocus(Qt::TabFocusReason);
        otherChanged = otherExited = 0;
    }
    void type(const QString &keys) { QTest::keyClicks(field, keys); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(field, k, m); }
    void leaveByTab() { QTest::keyClick(field, Qt::Key_Tab); }
};

} // namespace fields

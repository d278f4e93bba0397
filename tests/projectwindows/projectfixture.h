// What the tests of projects in the windows share: folders of a test's own
// for the user's settings and recovery files, the modal dialogs a gesture
// brings up answered through their real controls, and the user's gestures
// in the main window.
#pragma once

#include "platform/platform.h"
#include "project/project.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

// Keys that type the text, any letter of it: QTest::keyClicks takes ASCII
// only.
inline void typeText(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 128) QTest::keyClick(w, c.toLatin1());
        else QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// A home of the test's own: the recovery files ($XDG_STATE_HOME) and the
// settings (the recent projects) go into a temporary folder, gone with it.
class UserDirs {
public:
    UserDirs()
    {
        qputenv("XDG_STATE_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("state"))));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.filePath(QStringLiteral("config")));
    }
    bool ok() const { return dir_.isValid(); }
    QString recoveryFolder() const { return dir_.filePath(QStringLiteral("state/ventrano")); }
    // The recovery files there now.
    QStringList recoveryFiles() const
    {
        return QDir(recoveryFolder()).entryList({QStringLiteral("recovery-*.ventrano")}, QDir::Files);
    }

private:
    QTemporaryDir dir_;
};

// The modal dialogs a gesture brings up, each answered in its turn once it
// shows, from the event loop that the code under test waits in. A dialog
// nobody expected is closed after a few seconds and recorded, so that a
// test fails rather than hangs.
class Answers : public QObject {
public:
    using Act = std::function<void(QWidget *)>;

    Answers()
    {
        poll_.setInterval(10);
        connect(&poll_, &QTimer::timeout, this, [this] { step(); });
        poll_.start();
    }
    // The next dialog, by its object name, and what to do with it.
    void expect(const QString &name, Act act) { steps_.append({name, std::move(act)}); }
    // Every expected dialog has shown and been answered.
    bool done() const { return steps_.isEmpty(); }
    const QStringList &unexpected() const { return unexpected_; }
    // The texts of the message boxes answered, in order.
    const QStringList &texts() const { return texts_; }

    // ---- answers
    static Act click(const QString &button)
    {
        return [button](QWidget *d) {
            auto *b = d->findChild<QPushButton *>(button);
            if (!b) {
                // A button of a standard box: by its text.
                for (QPushButton *p : d->findChildren<QPushButton *>())
                    if (p->text().remove(QLatin1Char('&')) == button) b = p;
            }
            if (b) QTest::mouseClick(b, Qt::LeftButton);
            else if (auto *dialog = qobject_cast<QDialog *>(d)) dialog->reject();
        };
    }
    // A file dialog: the name typed into its field, then Return.
    static Act typeFile(const QString &name)
    {
        return [name](QWidget *d) {
            auto *edit = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QApplication::setActiveWindow(d);
            if (!edit || !QTest::qWaitForWindowActive(d)) {
                static_cast<QDialog *>(d)->reject();
                return;
            }
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, name);
            QTest::keyClick(edit, Qt::Key_Return);
        };
    }

private:
    struct Step {
        QString name;
        Act act;
    };
    void step()
    {
        if (acting_) return;
        QWidget *d = QApplication::activeModalWidget();
        if (!d || !d->isVisible()) {
            stray_.invalidate();
            return;
        }
        if (!steps_.isEmpty() && d->objectName() == steps_.first().name) {
            stray_.invalidate();
            const Step s = steps_.takeFirst();
            if (auto *box = qobject_cast<QMessageBox *>(d)) texts_.append(box->text());
            acting_ = true;
            s.act(d);
            acting_ = false;
            return;
        }
        if (!stray_.isValid()) stray_.start();
        if (stray_.elapsed() < 3000) return;
        QString what = d->objectName();
        if (auto *box = qobject_cast<QMessageBox *>(d)) what += QStringLiteral(": ") + box->text();
        unexpected_.append(what);
        stray_.invalidate();
        if (auto *dialog = qobject_cast<QDialog *>(d)) dialog->reject();
        else d->close();
    }

    QList<Step> steps_;
    QStringList unexpected_, texts_;
    QTimer poll_;
    QElapsedTimer stray_;
    bool acting_ = false;
};

// The error boxes of a test, caught.
class Errors {
public:
    Errors()
    {
        previous_ = platform::setErrorHandler([this](const QString &m) { list.append(m); });
    }
    ~Errors() { platform::setErrorHandler(previous_); }
    Errors(const Errors &) = delete;
    Errors &operator=(const Errors &) = delete;
    QStringList list;

private:
    platform::ErrorHandler previous_;
};

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The example of docs/project-file.md: two cases, details, stored results.
inline QByteArray exampleProject()
{
    return QByteArray(R"({
  "format": "ventrano-project",
  "version": 1,
  "project": {
    "name": "Boiler house B, hot water",
    "customer": "Thermo Kft.",
    "reference": "ENQ-2026-114",
    "revision": "B",
    "author": "K. Szabó",
    "date": "2026-12-11",
    "notes": "Boiler water 80 °C, 7 m3/h.\nCoil side 1 m3/h from 20 °C."
  },
  "cases": [
    {
      "name": "VT/R-2, one unit",
      "type": "VT/R-2",
      "series": 1,
      "parallel": 1,
      "jacket_flow": 7,
      "jacket_unit": "m3/h",
      "jacket_inlet": 80,
      "coil_flow": 1,
      "coil_unit": "m3/h",
      "coil_inlet": 20,
      "fouling_m2K_W": 5.5e-05,
      "results": {
        "duty_kW": 61.5358590502138,
        "jacket_outlet_C": 72.23270126055345,
        "coil_outlet_C": 73.18876917358632,
        "jacket_dp_kPa": 31.7516975308642,
        "coil_dp_kPa": 17.193854734776266,
        "jacket_mass_flow_kg_s": 1.8896480983157962,
        "coil_mass_flow_kg_s": 0.27722307913001976,
        "jacket_velocity_m_s": 1.3318112633181127,
        "coil_velocity_m_s": 0.7589556769884639,
        "jacket_film_W_m2K": 20215.566113770685,
        "coil_film_W_m2K": 11142.56978841478,
        "overall_W_m2K": 5148.992919655688
      }
    },
    {
      "name": "coil pump off",
      "type": "VT/R-2",
      "series": 1,
      "parallel": 1,
      "jacket_flow": 7,
      "jacket_unit": "m3/h",
      "jacket_inlet": 80,
      "coil_flow": 0,
      "coil_unit": "m3/h",
      "coil_inlet": 20,
      "fouling_m2K_W": 5.5e-05,
      "results": {
        "error": "the coil flow is 0: nothing to rate"
      }
    }
  ],
  "current": 0
}
)");
}

// Seeded random input to the main window, wired to the chart window as the
// program wires them: typing, pasting, Esc, Tab, the calculators, the type,
// unit and language lists, clicks on the picture and anywhere else, and the
// four chart buttons, all through the windows' own event delivery (so that
// popups open, close and take keys as they do for a user).
//
// After every action: the program is alive and its window shown, the action
// raised at most one message (the message box is modal, as the program's
// is), the result labels show the model's texts, the language and type lists
// agree with what was applied; and when the action recalculated and left the
// results up to date, the twelve results agree with a fresh rating model
// given the same inputs, whose arithmetic fault, if any, was reported.
//
// VENTRANO_RANDOM_SEED replays a run (the seed is printed at the start and
// with every failure), VENTRANO_RANDOM_ACTIONS sets the number of actions and
// VENTRANO_RANDOM_TRACE=1 prints every action as it is made.
#include "charts/grTerfKop.h"
#include "widgets/Calculator.h"
#include "widgets/NumEdit.h"
#include "languages/languages.h"
#include "mainwindow/main.h"
#include "platform/platform.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMap>
#include <QMenu>
#include <QPointer>
#include <QStyleHints>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <utility>

namespace {

// The offscreen platform says so each time a window is raised or a popup
// grabs the keyboard; that is the platform, not the program.
QtMessageHandler qtMessages = nullptr;
void quietPlatform(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    qtMessages(type, context, message);
}

quint64 envNumber(const char *name, quint64 fallback)
{
    bool ok = false;
    const quint64 v = qEnvironmentVariable(name).toULongLong(&ok, 0);
    return ok ? v : fallback;
}

// Ends the process with the seed and the action under way when one action
// takes longer than a minute: a hang, not a slow machine.
class Watchdog {
public:
    explicit Watchdog(quint64 seed) : seed_(seed), thread_([this] { run(); }) {}
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }
    void started(const QString &action)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        action_ = action.toStdString();
        since_ = std::chrono::steady_clock::now();
    }

private:
    void run()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::seconds(1), [this] { return stop_; })) {
            if (std::chrono::steady_clock::now() - since_ > std::chrono::seconds(60)) {
                std::fprintf(stderr, "HANG: seed %llu, action \"%s\" runs for over a minute\n",
                             static_cast<unsigned long long>(seed_), action_.c_str());
                std::fflush(stderr);
                std::abort();
            }
        }
    }

    quint64 seed_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::string action_ = "start";
    std::chrono::steady_clock::time_point since_ = std::chrono::steady_clock::now();
    std::thread thread_;
};

// Written into the state before every action; the recalculation overwrites
// it with the regional separator, and nothing but the recalculation reads it.
const std::string kNotRecalculated = "\x01 not recalculated";

// The double-click interval of the run, in milliseconds.
constexpr int kClickInterval = 10000;

const char *const kClips[] = {
    "12.5", "0,987", "-3", "150", "7", "0", "1e2", "2E-1", "0.004", "  42\n", "+8",
    "1e308", "-1e999", "123456789012345678901234567890", "1e-400", "99999999999999999999.5",
    "abc", "1..2", "--1", "1e", "e5", ".", ",", "-", "1,000.5", "1 000", "½", "١٢", "\t", "",
    "7 m3/h", "0x10", "nan", "inf", "1-", "٫5",
};

// Keys typed into whatever has the focus, digits most often.
const char kTyped[] = "0123456789012345678901234567890123456789..,,--+eE a/x*%=_QRCqrc";
// Keys a calculator takes.
const char kCalcKeys[] = "0123456789.,+-*/=%QR_Cqr";

} // namespace

class TestRandomInput : public QObject {
    Q_OBJECT

    std::unique_ptr<TmainF> w;
    std::unique_ptr<TgrTerfKopF> chart;
    std::mt19937_64 rng;
    quint64 seed = 0;
    qint64 actionIndex = 0;
    QString action;
    std::deque<QString> recent;
    QStringList messages; // raised by the action under way
    qint64 recalculations = 0, faults = 0;
    QMap<QString, int> messageKinds;

    Watchdog *dog = nullptr;
    // Names the action about to be made (for the failure report and a hang).
    void begin(const QString &a)
    {
        action = a;
        if (dog) dog->started(QStringLiteral("#%1 %2").arg(actionIndex).arg(a));
    }

    int below(int n) { return int(rng() % quint64(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <class T, std::size_t N> const T &pick(const T (&a)[N]) { return a[below(int(N))]; }
    template <class T> T pick(const QList<T> &l) { return l[below(int(l.size()))]; }

    QList<NumEdit *> fields() const { return {w->SorosEd, w->ParhEd, w->MVsEd, w->tsbEd, w->MVkEd, w->tkbEd}; }
    QList<QComboBox *> lists() const { return {w->CbTipus, w->CbMVs, w->CbMVk, w->ComboBox1}; }
    QList<QToolButton *> chartButtons() const
    {
        return {w->SpeedButton1, w->SpeedButton2, w->SpeedButton3, w->SpeedButton4};
    }

    QString where() const
    {
        QString s = QStringLiteral("seed %1, action %2 (%3); last actions:").arg(seed).arg(actionIndex).arg(action);
        for (const QString &a : recent) s += QStringLiteral("\n    ") + a;
        return s;
    }

    // ---- input through the windows, as the platform delivers it

    // Keys go to the window that has the keyboard; with a popup open the
    // popup takes them. Every press and release, the modifiers' too, goes
    // to the window that has the keyboard at that moment: a key may close a
    // popup (Alt closes a menu), and a context menu is deleted once closed.
    QWindow *keyWindow() const
    {
        if (QWidget *p = QApplication::activePopupWidget()) return p->windowHandle();
        if (QWindow *f = QGuiApplication::focusWindow()) return f;
        return w->windowHandle();
    }
    void keyEvent(bool press, Qt::Key k, Qt::KeyboardModifiers m, const QString &text = QString())
    {
        QTest::simulateEvent(keyWindow(), press, k, m, text, false);
    }
    void keyClick(Qt::Key k, const QString &text, Qt::KeyboardModifiers m)
    {
        static const std::pair<Qt::KeyboardModifier, Qt::Key> modifierKeys[] = {
            {Qt::ShiftModifier, Qt::Key_Shift}, {Qt::ControlModifier, Qt::Key_Control}, {Qt::AltModifier, Qt::Key_Alt}};
        Qt::KeyboardModifiers held;
        for (const auto &[mod, key] : modifierKeys)
            if (m & mod) keyEvent(true, key, held), held |= mod;
        keyEvent(true, k, m, text);
        keyEvent(false, k, m, text);
        for (auto it = std::rbegin(modifierKeys); it != std::rend(modifierKeys); ++it)
            if (m & it->first) keyEvent(false, it->second, held), held &= ~it->first;
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        const char ascii = QTest::keyToAscii(k);
        keyClick(k, ascii ? QString(QLatin1Char(ascii)) : QString(), m);
    }
    // A list searches its entries by the keys typed within the keyboard
    // interval; a pause makes every key a search of its own, whatever the
    // speed of the machine.
    static void pauseBeforeListSearch()
    {
        if (qobject_cast<QComboBox *>(QApplication::focusWidget()) ||
            qobject_cast<QAbstractItemView *>(QApplication::focusWidget()))
            QTest::qSleep(2);
    }
    void typeChar(char c)
    {
        pauseBeforeListSearch();
        keyClick(QTest::asciiToKey(c), QString(QLatin1Char(c)), Qt::NoModifier);
    }
    void typeText(const QString &t)
    {
        pauseBeforeListSearch();
        keyClick(Qt::Key_unknown, t, Qt::NoModifier);
    }
    // A click at a point of a widget, delivered to the widget's window; the
    // release goes to the main window when the press closed that window.
    void click(QWidget *target, QPoint at, Qt::MouseButton b = Qt::LeftButton)
    {
        QWidget *top = target->window();
        const QPoint pos = target->mapTo(top, at);
        const QPoint global = top->mapToGlobal(pos);
        QPointer<QWindow> window = top->windowHandle();
        // A message box that the press raises is up when the button is
        // released (see messageBox()).
        pendingRelease = [this, window, b, pos, global] {
            if (window) QTest::mouseRelease(window, b, {}, pos);
            else QTest::mouseRelease(w->windowHandle(), b, {}, w->mapFromGlobal(global));
        };
        QTest::mousePress(window, b, {}, pos);
        if (pendingRelease) std::exchange(pendingRelease, nullptr)();
        // The next click comes after the double-click interval.
        if (QTest::lastMouseTimestamp > (1 << 30)) QTest::lastMouseTimestamp = 0;
        QTest::lastMouseTimestamp += kClickInterval;
    }
    void clickCentre(QWidget *target) { click(target, target->rect().center()); }
    void wheel(QWidget *target, int delta)
    {
        const QPointF at = QRectF(target->rect()).center();
        QWheelEvent e(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &e);
    }

    // The program's message box, as the user meets it: a modal window that
    // takes the activation and the rest of the gesture that raised it (the
    // release of a click), runs the event loop while it is up, and is closed
    // at once, the activation going back where it was.
    std::function<void()> pendingRelease;
    void messageBox(const QString &m)
    {
        messages << m;
        ++messageKinds[m.startsWith('\'') ? QStringLiteral("'...' is not a valid floating point value") : m];
        QWidget *active = QApplication::activeWindow();
        QWidget box;
        box.setWindowModality(Qt::ApplicationModal);
        box.resize(250, 90);
        box.show();
        if (pendingRelease) std::exchange(pendingRelease, nullptr)();
        QEventLoop loop;
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
        box.hide();
        if (active && active->isVisible()) active->activateWindow();
    }

    // ---- the actions

    void general()
    {
        const int r = below(100);
        QWidget *focus = QApplication::focusWidget();
        if (r < 28) {
            const char c = kTyped[below(int(sizeof kTyped) - 1)];
            begin(QStringLiteral("type '%1'").arg(QLatin1Char(c)));
            typeChar(c);
        } else if (r < 30) {
            const QString t = pick(QList<QString>{QStringLiteral("ő"), QStringLiteral("٣"), QStringLiteral("€")});
            begin(QStringLiteral("type \"%1\"").arg(t));
            typeText(t);
        } else if (r < 40) {
            struct K { Qt::Key k; Qt::KeyboardModifiers m; const char *name; };
            static const K keys[] = {
                {Qt::Key_Backspace, {}, "Backspace"}, {Qt::Key_Backspace, {}, "Backspace"},
                {Qt::Key_Delete, {}, "Delete"},       {Qt::Key_Delete, {}, "Delete"},
                {Qt::Key_Home, {}, "Home"},           {Qt::Key_Left, {}, "Left"},
                {Qt::Key_Right, {}, "Right"},         {Qt::Key_Home, {}, "Home"},
                {Qt::Key_End, Qt::ShiftModifier, "Shift+End"}, {Qt::Key_Home, Qt::ShiftModifier, "Shift+Home"},
                {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"}, {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
                {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"}, {Qt::Key_C, Qt::ControlModifier, "Ctrl+C"},
                {Qt::Key_Return, {}, "Return"},       {Qt::Key_Up, {}, "Up"},
                {Qt::Key_Down, {}, "Down"},           {Qt::Key_PageDown, {}, "PageDown"},
                {Qt::Key_End, {}, "End"},             {Qt::Key_Space, {}, "Space"},
                {Qt::Key_Escape, {}, "Esc"},          {Qt::Key_Escape, {}, "Esc"},
            };
            const K &k = pick(keys);
            begin(QString::fromLatin1(k.name));
            key(k.k, k.m);
        } else if (r < 45) {
            const QString clip = QString::fromUtf8(pick(kClips));
            QGuiApplication::clipboard()->setText(clip);
            const bool shiftInsert = chance(20);
            begin(QStringLiteral("paste \"%1\"%2").arg(clip, shiftInsert ? " (Shift+Insert)" : ""));
            if (shiftInsert) key(Qt::Key_Insert, Qt::ShiftModifier);
            else key(Qt::Key_V, Qt::ControlModifier);
        } else if (r < 53) {
            const bool back = chance(30);
            begin(back ? "Backtab" : "Tab");
            if (back) key(Qt::Key_Backtab, Qt::ShiftModifier);
            else key(Qt::Key_Tab);
        } else if (r < 60) {
            NumEdit *e = pick(fields());
            const bool right = chance(15);
            begin(QStringLiteral("%1 into %2").arg(right ? "right click" : "click", e->objectName()));
            click(e, QPoint(2 + below(e->width() - 20), e->height() / 2), right ? Qt::RightButton : Qt::LeftButton);
        } else if (r < 65) {
            NumEdit *e = qobject_cast<NumEdit *>(focus);
            if (e && chance(50)) {
                begin(QStringLiteral("Alt+Down in %1").arg(e->objectName()));
                key(Qt::Key_Down, Qt::AltModifier);
            } else {
                e = pick(fields());
                begin(QStringLiteral("calculator button of %1").arg(e->objectName()));
                clickCentre(e->dropDownButton());
            }
        } else if (r < 71) {
            QComboBox *cb = qobject_cast<QComboBox *>(focus);
            if (cb && chance(40)) {
                const bool f4 = chance(50);
                begin(QStringLiteral("%1 on %2").arg(f4 ? "F4" : "Alt+Down", cb->objectName()));
                key(f4 ? Qt::Key_F4 : Qt::Key_Down, f4 ? Qt::NoModifier : Qt::AltModifier);
            } else {
                cb = pick(lists());
                begin(QStringLiteral("click on %1").arg(cb->objectName()));
                clickCentre(cb);
            }
        } else if (r < 76) {
            QComboBox *cb = chance(60) && qobject_cast<QComboBox *>(focus) ? static_cast<QComboBox *>(focus) : pick(lists());
            const int delta = chance(50) ? 120 : -120;
            begin(QStringLiteral("wheel %1 on %2").arg(delta).arg(cb->objectName()));
            wheel(cb, delta);
        } else if (r < 84) {
            // A point of the picture itself, not of a control on it.
            QPoint at;
            for (int i = 0; i < 20; ++i) {
                at = QPoint(below(w->Image1->width()), 25 + below(w->Image1->height() - 25));
                if (w->Panel1->childAt(at) == w->Image1) break;
            }
            begin(QStringLiteral("click on the picture at %1,%2").arg(at.x()).arg(at.y()));
            click(w->Image1, at);
        } else if (r < 88) {
            // Anywhere in the window but the report button.
            QPoint at;
            do at = QPoint(below(w->width()), below(w->height()));
            while (w->SpeedButton5->geometry().adjusted(-2, -2, 2, 2).contains(w->SpeedButton5->parentWidget()->mapFrom(w.get(), at)));
            const bool right = chance(25);
            begin(QStringLiteral("%1 click at %2,%3").arg(right ? "right" : "left").arg(at.x()).arg(at.y()));
            click(w.get(), at, right ? Qt::RightButton : Qt::LeftButton);
        } else if (r < 91) {
            const int i = below(4);
            begin(QStringLiteral("chart button %1").arg(i + 1));
            clickCentre(chartButtons()[i]);
        } else if (r < 96) {
            if (!w->isActiveWindow()) {
                begin("activate the main window");
                w->activateWindow();
            } else {
                begin("Esc");
                key(Qt::Key_Escape);
            }
        } else {
            chartWindow();
        }
    }

    void chartWindow()
    {
        const int r = below(3);
        if (r == 0) {
            begin("close the chart window");
            chart->close();
        } else if (r == 1) {
            const QSize s(300 + below(600), 250 + below(400));
            begin(QStringLiteral("resize the chart window to %1x%2").arg(s.width()).arg(s.height()));
            chart->resize(s);
        } else {
            QWidget *view = chart->clientArea();
            const QPoint at(below(view->width()), below(view->height()));
            begin(QStringLiteral("hover over the chart at %1,%2").arg(at.x()).arg(at.y()));
            QTest::mouseMove(view, at);
        }
    }

    void calculator(CalculatorPopup *calc)
    {
        const int r = below(100);
        if (r < 55) {
            const char c = kCalcKeys[below(int(sizeof kCalcKeys) - 1)];
            begin(QStringLiteral("calculator key '%1'").arg(QLatin1Char(c)));
            typeChar(c);
        } else if (r < 75) {
            const char c = kCalcKeys[below(int(sizeof kCalcKeys) - 1)];
            QToolButton *b = calc->button(c == ',' ? '.' : char(QChar::toUpper(uint(c))));
            if (!b) b = calc->button('=');
            begin(QStringLiteral("calculator button '%1'").arg(b->text()));
            clickCentre(b);
        } else if (r < 83) {
            static const Qt::Key keys[] = {Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape};
            const Qt::Key k = pick(keys);
            begin(QStringLiteral("calculator key %1").arg(QKeySequence(k).toString()));
            key(k);
        } else {
            general();
            action = QStringLiteral("calculator open: ") + action;
        }
    }

    void list(QComboBox *cb, QAbstractItemView *view)
    {
        const int r = below(100);
        if (r < 40) {
            static const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End, Qt::Key_PageDown};
            const Qt::Key k = pick(keys);
            begin(QStringLiteral("%1 in the list of %2").arg(QKeySequence(k).toString(), cb->objectName()));
            key(k);
        } else if (r < 55) {
            begin(QStringLiteral("Return in the list of %1").arg(cb->objectName()));
            key(Qt::Key_Return);
        } else if (r < 62) {
            begin(QStringLiteral("Esc in the list of %1").arg(cb->objectName()));
            key(Qt::Key_Escape);
        } else if (r < 80) {
            const int row = below(cb->count());
            const QPoint at(view->viewport()->width() / 2, view->visualRect(view->model()->index(row, 0)).center().y());
            begin(QStringLiteral("click on entry %1 of %2").arg(row).arg(cb->objectName()));
            QTest::mouseMove(view->viewport(), at);
            click(view->viewport(), at);
        } else if (r < 85) {
            const char c = pick(QList<char>{'v', 'r', 'm', 'l', 'e', 'd'});
            begin(QStringLiteral("type '%1' in the list of %2").arg(QLatin1Char(c)).arg(cb->objectName()));
            typeChar(c);
        } else {
            general();
            action = QStringLiteral("list open: ") + action;
        }
    }

    void menu(QMenu *m)
    {
        const int r = below(100);
        if (r < 50) {
            static const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Return, Qt::Key_Escape};
            const Qt::Key k = pick(keys);
            begin(QStringLiteral("%1 in the context menu").arg(QKeySequence(k).toString()));
            key(k);
        } else if (r < 80) {
            const QList<QAction *> actions = m->actions();
            QAction *a = pick(actions);
            begin(QStringLiteral("context menu: %1").arg(a->text()));
            const QRect g = m->actionGeometry(a);
            if (g.isValid()) click(m, g.center());
        } else {
            general();
            action = QStringLiteral("menu open: ") + action;
        }
    }

    void step()
    {
        QWidget *popup = QApplication::activePopupWidget();
        if (auto *calc = qobject_cast<CalculatorPopup *>(popup)) return calculator(calc);
        if (auto *m = qobject_cast<QMenu *>(popup)) return menu(m);
        if (popup) {
            for (QComboBox *cb : lists())
                if (cb->view()->window() == popup) return list(cb, cb->view());
        }
        general();
    }

    // Queued work (a list's close-up, a field's message) belongs to the
    // action that caused it.
    void settle()
    {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // ---- the checks

    QString shownLanguageProblem() const
    {
        const int i = w->ComboBox1->currentIndex();
        if (w->model.Nyelv != i) return QStringLiteral("list shows language %1, applied %2").arg(i).arg(w->model.Nyelv);
        const lang::Language *l = lang::language(i);
        if (w->model.SzHoteljesitmeny != l->texts[lang::SzHoteljesitmeny] ||
            w->model.SzHoatbocsT != l->texts[lang::SzHoatbocsT])
            return QStringLiteral("phrases are not those of language %1").arg(i);
        if (w->LbTipus->text() != lang::text(*l, lang::LbTipus))
            return QStringLiteral("captions are not those of language %1").arg(i);
        return {};
    }

    // The labels show the model's result texts.
    QString shownResultsProblem() const
    {
        const rating::Model &m = w->model;
        const std::pair<const widgets::Label *, const std::string *> rows[] = {
            {w->DPK, &m.DPK},
            {w->DPS, &m.DPS},
            {w->QLabel, &m.QLabel},
            {w->LbTKK, &m.LbTKK},
            {w->LbTSK, &m.LbTSK},
            {w->LbTomegaramK, &m.LbTomegaramK},
            {w->LbArsebK, &m.LbArsebK},
            {w->LbHoatadK, &m.LbHoatadK},
            {w->LbTomegaramS, &m.LbTomegaramS},
            {w->LbArsebS, &m.LbArsebS},
            {w->LbHoatadS, &m.LbHoatadS},
            {w->LbHoatbocsT, &m.LbHoatbocsT},
        };
        for (const auto &[label, text] : rows)
            if (label->text() != QString::fromStdString(*text))
                return QStringLiteral("%1 shows \"%2\", the model \"%3\"")
                    .arg(label->objectName(), label->text(), QString::fromStdString(*text));
        return {};
    }

    bool resultsMarked() const
    {
        const rating::Model &m = w->model;
        for (const std::string *t : {&m.DPK, &m.DPS, &m.QLabel, &m.LbTKK, &m.LbTSK})
            if (*t != "***") return false;
        for (const std::string *t : {&m.LbTomegaramK, &m.LbArsebK, &m.LbHoatadK, &m.LbTomegaramS, &m.LbArsebS,
                                     &m.LbHoatadS, &m.LbHoatbocsT})
            if (*t != " ") return false;
        return true;
    }

    // The inputs of the last recalculation, read again from the controls.
    QString inputsProblem() const
    {
        const rating::Model &m = w->model;
        QStringList bad;
        auto same = [&](const char *name, double a, double b) {
            if (a != b) bad << QStringLiteral("%1 %2, field %3").arg(name).arg(a, 0, 'g', 17).arg(b, 0, 'g', 17);
        };
        same("tkb", m.tkb, w->tkbEd->storedValue());
        same("MVk", m.MVk, w->MVkEd->storedValue());
        same("tsb", m.tsb, w->tsbEd->storedValue());
        same("MVs", m.MVs, w->MVsEd->storedValue());
        same("Soros", m.Soros, std::trunc(w->SorosEd->storedValue()));
        same("Parh", m.Parh, std::trunc(w->ParhEd->storedValue()));
        same("Tipus", m.Tipus, w->CbTipus->currentIndex());
        same("jacket unit", m.CbMVkIndex, w->CbMVk->currentIndex());
        same("coil unit", m.CbMVsIndex, w->CbMVs->currentIndex());
        if (m.DecimalSeparator != platform::decimalSeparator().toStdString()) bad << "decimal separator";
        return bad.join(QStringLiteral("; "));
    }

    // A fresh model on the same inputs; every text that its run writes must
    // be on the label of the same name, and its arithmetic fault must have
    // been reported.
    void compareWithFreshRun()
    {
        const rating::Model &m = w->model;
        rating::Model fresh;
        fresh.Tipus = m.Tipus;
        fresh.Soros = m.Soros;
        fresh.Parh = m.Parh;
        fresh.tkb = m.tkb;
        fresh.tsb = m.tsb;
        fresh.MVk = m.MVk;
        fresh.MVs = m.MVs;
        fresh.CbMVkIndex = m.CbMVkIndex;
        fresh.CbMVsIndex = m.CbMVsIndex;
        fresh.DecimalSeparator = m.DecimalSeparator;
        fresh.SzHoteljesitmeny = m.SzHoteljesitmeny;
        fresh.SzBelhomK = m.SzBelhomK;
        fresh.SzBelhomS = m.SzBelhomS;
        fresh.SzTerfaramK = m.SzTerfaramK;
        fresh.SzTerfaramS = m.SzTerfaramS;
        fresh.SzHocserelo = m.SzHocserelo;
        fresh.SzHoatbocsT = m.SzHoatbocsT;
        QString fault;
        try {
            fresh.Szamitas();
        } catch (const rating::ArithmeticError &e) {
            fault = QString::fromUtf8(e.what());
        }
        if (!fault.isEmpty()) {
            ++faults;
            QVERIFY2(messages.contains(fault), qPrintable(QStringLiteral("the rating fails with \"%1\", shown: \"%2\"; %3")
                                                              .arg(fault, messages.join("\", \""), where())));
        }
        const std::pair<const widgets::Label *, const std::string *> rows[] = {
            {w->DPK, &fresh.DPK},
            {w->DPS, &fresh.DPS},
            {w->QLabel, &fresh.QLabel},
            {w->LbTKK, &fresh.LbTKK},
            {w->LbTSK, &fresh.LbTSK},
            {w->LbTomegaramK, &fresh.LbTomegaramK},
            {w->LbArsebK, &fresh.LbArsebK},
            {w->LbHoatadK, &fresh.LbHoatadK},
            {w->LbTomegaramS, &fresh.LbTomegaramS},
            {w->LbArsebS, &fresh.LbArsebS},
            {w->LbHoatadS, &fresh.LbHoatadS},
            {w->LbHoatbocsT, &fresh.LbHoatbocsT},
        };
        for (const auto &[label, text] : rows) {
            if (text->empty()) continue; // not reached by the run: the label keeps what it had
            const QString want = QString::fromStdString(*text);
            QVERIFY2(label->text() == want, qPrintable(QStringLiteral("%1 shows \"%2\", a fresh rating \"%3\"; %4")
                                                           .arg(label->objectName(), label->text(), want, where())));
        }
    }

    void check()
    {
        QVERIFY2(w->isVisible(), qPrintable("the main window closed; " + where()));
        QVERIFY2(messages.size() <= 1, qPrintable(QStringLiteral("%1 messages: \"%2\"; %3")
                                                      .arg(messages.size()).arg(messages.join("\", \""), where())));
        const QString language = shownLanguageProblem();
        QVERIFY2(language.isEmpty(), qPrintable(language + "; " + where()));
        QVERIFY2(w->model.Tipus == w->CbTipus->currentIndex(),
                 qPrintable(QStringLiteral("type list shows %1, rated %2; ").arg(w->CbTipus->currentIndex()).arg(w->model.Tipus) + where()));
        const QString shown = shownResultsProblem();
        QVERIFY2(shown.isEmpty(), qPrintable(shown + "; " + where()));
        if (w->model.DecimalSeparator == kNotRecalculated) return;
        // An input changed after the recalculation (the click that left a
        // field also chose an entry of a list): the results are marked out
        // of date, and there is nothing to compare.
        if (resultsMarked()) return;
        ++recalculations;
        const QString inputs = inputsProblem();
        QVERIFY2(inputs.isEmpty(), qPrintable("the rating did not use the inputs shown: " + inputs + "; " + where()));
        compareWithFreshRun();
    }

private slots:
    void initTestCase()
    {
        seed = envNumber("VENTRANO_RANDOM_SEED", 20240611);
        rng.seed(seed);
        std::fprintf(stderr, "random input: seed %llu (VENTRANO_RANDOM_SEED replays it), decimal separator '%s'\n",
                     static_cast<unsigned long long>(seed), qPrintable(platform::decimalSeparator()));
        platform::setErrorHandler([this](const QString &m) { messageBox(m); });
        platform::setBeepHandler([] {});
        qtMessages = qInstallMessageHandler(quietPlatform);
        // Real time must not change what happens. A list ignores the release
        // of the click that opened it for a double-click interval, and an
        // entry clicked at that very spot within it: make that interval
        // longer than any run, and keep clicks from pairing into double
        // clicks (see click()). Keys typed into a list search on their own
        // (see pauseBeforeListSearch()).
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(kClickInterval);
        QGuiApplication::styleHints()->setKeyboardInputInterval(0);

        w = std::make_unique<TmainF>();
        chart = std::make_unique<TgrTerfKopF>(w.get());
        attachChartWindow(*w, *chart);
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }

    void cleanupTestCase()
    {
        chart.reset();
        w.reset();
        platform::setErrorHandler({});
        platform::setBeepHandler({});
        qInstallMessageHandler(qtMessages);
    }

    void randomInput()
    {
        const qint64 count = qint64(envNumber("VENTRANO_RANDOM_ACTIONS", 30000));
        const bool trace = qEnvironmentVariableIntValue("VENTRANO_RANDOM_TRACE") != 0;
        Watchdog watchdog(seed);
        dog = &watchdog;
        for (actionIndex = 0; actionIndex < count; ++actionIndex) {
            messages.clear();
            w->model.DecimalSeparator = kNotRecalculated;
            begin(QString());
            step();
            settle();
            if (trace) std::fprintf(stderr, "%lld %s\n", static_cast<long long>(actionIndex), qPrintable(action));
            check();
            if (QTest::currentTestFailed()) return;
            recent.push_back(QStringLiteral("#%1 %2").arg(actionIndex).arg(action));
            if (recent.size() > 25) recent.pop_front();
        }
        std::fprintf(stderr, "random input: %lld actions, %lld recalculations compared (%lld with an arithmetic fault)\n",
                     static_cast<long long>(count), static_cast<long long>(recalculations), static_cast<long long>(faults));
        for (auto it = messageKinds.cbegin(); it != messageKinds.cend(); ++it)
            std::fprintf(stderr, "    %6d x %s\n", it.value(), qPrintable(it.key()));
        dog = nullptr;
        // The run went where it should: recalculations, faults among them.
        QVERIFY(recalculations > count / 50);
        if (count >= 10000) QVERIFY(faults > 0);
    }
};

QTEST_MAIN(TestRandomInput)
#include "test_random_input.moc"

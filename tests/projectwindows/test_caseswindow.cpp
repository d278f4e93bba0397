// The cases window and the comparison in the program's wiring, driven as
// the user drives them: the main window's menu and shortcut, keys in the
// list, the buttons, the question before deleting several cases, the
// comparison's marks and its Copy. Runs a second time with a comma as the
// regional decimal separator.
#include "app/windows.h"
#include "languages/languages.h"
#include "platform/platform.h"
#include "projectwindows/casetexts.h"
#include "tests/gestures.h"
#include "widgets/NumEdit.h"
#include "widgets/fonts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <memory>

using gestures::activate;
using projects::CasesWindow;
using namespace projects;

namespace {

QString sep() { return platform::decimalSeparator(); }
// A decimal as the user types it and the window writes it here.
QString local(const char *s) { return QString::fromLatin1(s).replace(QLatin1Char('.'), sep()); }

} // namespace

class TestCasesWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<Windows> w;
    CasesWindow *cases = nullptr;
    QStringList errors;
    platform::ErrorHandler previous;

    // ---- the user's gestures

    void openByShortcut()
    {
        activate(&w->mainF);
        QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : &w->mainF;
        QTest::keyClick(focus, Qt::Key_K, Qt::ControlModifier);
        QVERIFY(QTest::qWaitFor([this] { return cases->isVisible(); }));
        activate(cases);
        QCOMPARE(QApplication::focusWidget(), cases->table);
    }
    // A field of the main window typed into and left.
    void typeInto(NumEdit *e, const QString &text)
    {
        activate(&w->mainF);
        e->setFocus(Qt::TabFocusReason);
        e->selectAll();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Tab);
    }
    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(cases->table, Qt::Key(k), m); }
    QPoint cellAt(int row, int column) const
    {
        return cases->table->visualRect(cases->model()->index(row, column)).center();
    }
    void clickRow(int row, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::mouseClick(cases->table->viewport(), Qt::LeftButton, m, cellAt(row, ColType));
    }
    // Runs body on the next message box that becomes modal.
    template <class F> void whenQuestion(F body)
    {
        QTimer::singleShot(0, this, [body] {
            QTRY_VERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
            body(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
        });
    }

    // ---- what the window shows

    QString text(int row, int column) const { return cases->model()->index(row, column).data().toString(); }
    int rows() const { return cases->model()->rowCount(); }
    std::vector<double> jacketFlows() const
    {
        std::vector<double> out;
        for (const project::Case &c : w->document.project().cases) out.push_back(c.inputs.MVk);
        return out;
    }
    // The main window's row: marked and bold, and the only one.
    void expectCurrent(int row)
    {
        QCOMPARE(w->document.current(), row);
        for (int r = 0; r < rows(); ++r) {
            const bool marked = text(r, ColNumber).startsWith(QChar(currentMark));
            QCOMPARE(marked, r == row);
            QCOMPARE(cases->model()->index(r, ColName).data(Qt::FontRole).value<QFont>().bold(), r == row);
        }
    }
    // The text of a main-window result label without its unit.
    static QString number(const QString &label)
    {
        const QString t = label.section(QLatin1Char('='), -1);
        return t.left(t.indexOf(QLatin1Char(' ')));
    }

private slots:
    void initTestCase()
    {
        fonts::load();
        previous = platform::setErrorHandler([this](const QString &m) { errors << m; });
    }
    void cleanupTestCase() { platform::setErrorHandler(previous); }
    void init()
    {
        errors.clear();
        w = std::make_unique<Windows>();
        cases = &w->casesF;
        w->mainF.show();
        activate(&w->mainF);
    }
    void cleanup()
    {
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
        w.reset();
    }

    // The main window's context menu and Ctrl+K open it on the main window's
    // case, its numbers as the main window shows them.
    void opensFromTheMenuAndTheShortcut()
    {
        bool clicked = false;
        auto *poll = new QTimer(this);
        poll->setInterval(10);
        connect(poll, &QTimer::timeout, this, [=, &clicked] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu || !menu->isVisible()) return;
            poll->stop();
            poll->deleteLater();
            for (QAction *a : menu->actions())
                if (a->text() == QStringLiteral("Cases…")) {
                    QCOMPARE(a->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_K));
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                    clicked = true;
                }
        });
        poll->start();
        QTest::mouseClick(w->mainF.windowHandle(), Qt::RightButton, {}, QPoint(600, 300));
        QVERIFY(QTest::qWaitFor([&] { return clicked; }, 2000));
        QTRY_VERIFY(cases->isVisible());
        cases->close();
        openByShortcut();

        QCOMPARE(rows(), 1);
        expectCurrent(0);
        QCOMPARE(cases->table->currentIndex().row(), 0);
        QCOMPARE(text(0, ColName), QStringLiteral("Case 1"));
        const TmainF &m = w->mainF;
        QCOMPARE(text(0, ColType), m.CbTipus->currentText());
        QCOMPARE(text(0, ColShellFlow), QStringLiteral("7 m3/h"));
        QCOMPARE(text(0, ColSpiralInlet), QStringLiteral("20"));
        QCOMPARE(text(0, ColDuty), number(m.QLabel->text()));
        QCOMPARE(text(0, ColShellOutlet), number(m.LbTKK->text()));
        QCOMPARE(text(0, ColSpiralOutlet), number(m.LbTSK->text()));
        QCOMPARE(text(0, ColShellDp), number(m.DPK->text()));
        QCOMPARE(text(0, ColSpiralDp), number(m.DPS->text()));
        QCOMPARE(text(0, ColDuty), local("46.37"));
        QCOMPARE(cases->windowTitle(), QStringLiteral("Cases \u2013 Untitled"));
        QVERIFY(!cases->deleteButton->isEnabled()); // the last case stays
    }

    // Insert, Enter, F2, Ctrl+D, Ctrl+Up/Down, the buttons and a double
    // click, each followed by the list and the main window.
    void keysAndButtons()
    {
        openByShortcut();
        // Insert: the main window's case as a new case, which it shows.
        key(Qt::Key_Insert);
        QCOMPARE(rows(), 2);
        expectCurrent(1);
        QCOMPARE(cases->selectedRows(), std::vector<int>{1});
        QCOMPARE(text(1, ColName), QStringLiteral("Case 2"));

        // The main window edits its case: the list follows; a flow of 0
        // cannot be rated and the row says why across its results.
        typeInto(w->mainF.MVsEd, QStringLiteral("0"));
        QCOMPARE(text(1, ColSpiralFlow), QStringLiteral("0 m3/h"));
        QCOMPARE(text(1, ColDuty), QStringLiteral("There is no flow on the spiral side: nothing to rate."));
        QCOMPARE(cases->table->columnSpan(1, ColDuty), CaseColumnCount - ColDuty);
        QCOMPARE(text(1, ColShellDp), QString());
        QCOMPARE(text(0, ColSpiralFlow), QStringLiteral("1 m3/h")); // the other case stays

        // Enter opens the row's case in the main window.
        activate(cases);
        cases->table->setFocus();
        key(Qt::Key_Up);
        key(Qt::Key_Return);
        expectCurrent(0);
        QCOMPARE(w->mainF.MVsEd->storedValue(), 1.0);
        QVERIFY(w->mainF.resultsCurrent());

        // F2 edits the name in place; a blank name keeps the old one.
        key(Qt::Key_F2);
        QLineEdit *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("Boiler A"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(QString::fromStdString(w->document.project().cases[0].name), QStringLiteral("Boiler A"));
        QVERIFY(w->document.isModified());
        key(Qt::Key_F2);
        editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Space);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!cases->table->findChild<QLineEdit *>());
        QCOMPARE(text(0, ColName), QStringLiteral("Boiler A"));
        expectCurrent(0);

        // Ctrl+D: a copy after it, selected; the main window stays.
        key(Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(rows(), 3);
        QCOMPARE(text(1, ColName), QStringLiteral("Boiler A"));
        QCOMPARE(cases->selectedRows(), std::vector<int>{1});
        expectCurrent(0);

        // Update: the selected case takes the main window's inputs.
        typeInto(w->mainF.tkbEd, QStringLiteral("70")); // the main window's case, 0
        activate(cases);
        QVERIFY(cases->updateButton->isEnabled());
        QTest::mouseClick(cases->updateButton, Qt::LeftButton);
        QCOMPARE(w->document.project().cases[1].inputs.tkb, 70.0);
        QCOMPARE(text(1, ColShellInlet), QStringLiteral("70"));

        // Ctrl+Down and Ctrl+Up move the selected case; the marks and the
        // selection go with the cases.
        clickRow(0);
        cases->table->setFocus();
        key(Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(text(1, ColShellInlet), QStringLiteral("70"));
        QCOMPARE(w->document.project().cases[2].inputs.MVs, 0.0);
        expectCurrent(1);
        QCOMPARE(cases->selectedRows(), std::vector<int>{1});
        key(Qt::Key_Down, Qt::ControlModifier);
        expectCurrent(2);
        QVERIFY(!cases->downButton->isEnabled());
        QTest::mouseClick(cases->upButton, Qt::LeftButton);
        expectCurrent(1);
        QCOMPARE(w->document.project().cases[2].inputs.MVs, 0.0);

        // A double click opens a case, as Enter does.
        QTest::mouseDClick(cases->windowHandle(), Qt::LeftButton, {},
                           cases->table->viewport()->mapTo(cases, cellAt(2, ColDuty)));
        expectCurrent(2);
        QCOMPARE(w->mainF.MVsEd->storedValue(), 0.0);
        QVERIFY(!w->mainF.resultsCurrent());
    }

    // One case goes on Del at once; several only after the question, which
    // Cancel answers by keeping them; every case never.
    void deleting()
    {
        openByShortcut();
        for (int i = 0; i < 3; ++i) key(Qt::Key_Insert);
        QCOMPARE(rows(), 4);
        for (int r = 0; r < 4; ++r) w->document.renameCase(r, QStringLiteral("c%1").arg(r));

        clickRow(1);
        key(Qt::Key_Delete);
        QCOMPARE(rows(), 3);
        QCOMPARE(text(1, ColName), QStringLiteral("c2"));
        QCOMPARE(cases->selectedRows(), std::vector<int>{1}); // the one that took its place

        clickRow(2, Qt::ControlModifier);
        QCOMPARE(cases->selectedRows(), (std::vector<int>{1, 2}));
        QString asked;
        whenQuestion([&](QMessageBox *box) {
            asked = box->text();
            QPushButton *cancel = nullptr;
            for (QAbstractButton *b : box->buttons())
                if (b->text() == QStringLiteral("Cancel")) cancel = qobject_cast<QPushButton *>(b);
            QVERIFY(cancel);
            QTest::mouseClick(cancel, Qt::LeftButton);
        });
        key(Qt::Key_Delete);
        QCOMPARE(asked, QStringLiteral("Delete the 2 selected cases from the project?"));
        QCOMPARE(rows(), 3);
        whenQuestion([](QMessageBox *box) {
            for (QAbstractButton *b : box->buttons())
                if (b->text() == QStringLiteral("Delete")) QTest::mouseClick(b, Qt::LeftButton);
        });
        QTest::mouseClick(cases->deleteButton, Qt::LeftButton);
        QCOMPARE(rows(), 1);
        QCOMPARE(text(0, ColName), QStringLiteral("c0"));
        expectCurrent(0);
        QVERIFY(project::sameInputs(w->mainF.inputs(), w->document.project().cases[0].inputs));

        // Selecting every case leaves nothing to delete.
        key(Qt::Key_Insert);
        cases->table->selectAll();
        QVERIFY(!cases->deleteButton->isEnabled());
        QCOMPARE(cases->deleteButton->toolTip(), QStringLiteral("A project keeps at least one case."));
        key(Qt::Key_Delete);
        QCOMPARE(rows(), 2);
    }

    // The list follows the language list: headings, buttons, the reason a
    // case is not rated, the title with the project's name.
    void followsTheLanguage()
    {
        openByShortcut();
        typeInto(w->mainF.MVkEd, QStringLiteral("0"));
        w->document.setDetails({"Kazánház", "", "", "", "", "", ""});
        w->mainF.ComboBox1->setCurrentIndex(2);
        w->mainF.ComboBox1CloseUp();
        QCOMPARE(cases->windowTitle(), QStringLiteral("Варианты \u2013 Kazánház"));
        QCOMPARE(cases->compareButton->text(), QStringLiteral("Сравнить"));
        QCOMPARE(cases->model()->headerData(ColName, Qt::Horizontal).toString(), QStringLiteral("Название"));
        QCOMPARE(text(0, ColDuty), QStringLiteral("Нет потока (кожухная сторона): рассчитывать нечего."));
        // Every language fits its buttons' texts.
        for (int n = 0; n < lang::count(); ++n) {
            w->mainF.ComboBox1->setCurrentIndex(n);
            w->mainF.ComboBox1CloseUp();
            for (QPushButton *b : cases->findChildren<QPushButton *>())
                QVERIFY2(b->width() >= b->fontMetrics().horizontalAdvance(b->text()) + 8,
                         qPrintable(QStringLiteral("%1: %2").arg(n).arg(b->text())));
        }
    }

    // Compare: the selected cases side by side, the differences from the
    // first column bold on a tint, on the clipboard as text and HTML; the
    // comparison follows the cases, and says when too few are left.
    void comparison()
    {
        openByShortcut();
        key(Qt::Key_Insert);
        typeInto(w->mainF.MVkEd, local("8.5"));
        activate(cases);
        key(Qt::Key_Insert);
        typeInto(w->mainF.MVsEd, QStringLiteral("0"));
        activate(cases);
        QCOMPARE(jacketFlows(), (std::vector<double>{7, 8.5, 8.5}));
        cases->table->selectAll();
        QTest::mouseClick(cases->compareButton, Qt::LeftButton);
        CompareWindow &cmp = w->compareF;
        QVERIFY(cmp.isVisible());
        QCOMPARE(cmp.windowTitle(), QStringLiteral("Comparison of cases \u2013 Untitled"));
        QCOMPARE(cmp.grid->columnCount(), 4); // the unit, three cases
        QCOMPARE(cmp.grid->horizontalHeaderItem(1)->text(), QStringLiteral("Case 1"));

        auto row = [&](const QString &caption) {
            for (int r = 0; r < cmp.grid->rowCount(); ++r)
                if (cmp.grid->verticalHeaderItem(r)->text() == caption) return r;
            return -1;
        };
        const int flow = row(QStringLiteral("Volume flow rate, shell side"));
        const int type = row(QStringLiteral("Type"));
        const int duty = row(QStringLiteral("Heat duty"));
        const int why = row(QStringLiteral("Not rated"));
        QVERIFY(flow >= 0 && type >= 0 && duty >= 0 && why >= 0);
        auto item = [&](int r, int c) { return cmp.grid->item(r, c); };
        QCOMPARE(item(flow, 2)->text(), local("8.5") + QStringLiteral(" m3/h"));
        const QColor tint(QString::fromLatin1(platform::markedTint));
        for (int c = 1; c <= 3; ++c) {
            const bool marked = c > 1;
            QCOMPARE(item(flow, c)->font().bold(), marked);
            QCOMPARE(item(flow, c)->background().color() == tint, marked);
            QVERIFY(!item(type, c)->font().bold());
        }
        QCOMPARE(item(duty, 3)->text(), QString()); // not rated
        QVERIFY(item(duty, 3)->font().bold());      // and so shown differently
        QCOMPARE(item(why, 3)->text(), QStringLiteral("There is no flow on the spiral side: nothing to rate."));
        QCOMPARE(cmp.message->text(), QStringLiteral("Bold on a tint: differs from the first case."));

        // Ctrl+C: the table as tab-separated text and as HTML.
        QGuiApplication::clipboard()->clear();
        activate(&cmp);
        QTest::keyClick(cmp.grid, Qt::Key_C, Qt::ControlModifier);
        const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime && mime->hasText() && mime->hasHtml());
        const QStringList lines = mime->text().split(QLatin1Char('\n'));
        QCOMPARE(lines[0], QStringLiteral("\t\tCase 1\tCase 2\tCase 3"));
        QVERIFY(lines.contains(QStringLiteral("Volume flow rate, shell side\t\t7 m3/h\t") + local("8.5") +
                               QStringLiteral(" m3/h\t") + local("8.5") + QStringLiteral(" m3/h")));
        QVERIFY(lines.contains(QStringLiteral("Heat duty\tkW\t") + local("46.37") + QLatin1Char('\t') +
                               item(duty, 2)->text()));
        const QString html = mime->html();
        const QString marked = QStringLiteral("style=\"background-color:%1;font-weight:bold\"><b>%2</b>")
                                   .arg(QLatin1String(platform::markedTint));
        QVERIFY(html.contains(marked.arg(local("8.5") + QStringLiteral(" m3/h"))));
        QVERIFY(!html.contains(marked.arg(QStringLiteral("7 m3/h"))));
        QCOMPARE(html.count(QStringLiteral("<b>")), html.count(QStringLiteral("</b>")));

        // A compared case deleted leaves its column; one more, and too few
        // are left to compare.
        activate(cases);
        clickRow(1);
        key(Qt::Key_Delete);
        QCOMPARE(cmp.grid->columnCount(), 3);
        QCOMPARE(cmp.grid->horizontalHeaderItem(2)->text(), QStringLiteral("Case 3"));
        QVERIFY(cmp.copyButton->isEnabled());
        clickRow(1);
        key(Qt::Key_Delete);
        QCOMPARE(cmp.grid->columnCount(), 0);
        QVERIFY(!cmp.copyButton->isEnabled());
        QVERIFY(cmp.message->text().startsWith(QStringLiteral("Fewer than two of the compared cases")));
        QVERIFY(!cmp.table());
    }

    // Another project put in place of the open one (opened, new, restored),
    // even of as many cases: what was chosen and compared is forgotten,
    // never taken for the new project's cases.
    void anotherProjectForgetsTheChoice()
    {
        openByShortcut();
        key(Qt::Key_Insert);
        cases->table->selectAll();
        QTest::mouseClick(cases->compareButton, Qt::LeftButton);
        QVERIFY(w->compareF.comparison());
        project::Project other = w->document.project();
        other.details.name = "Other";
        w->document.replace(other, QStringLiteral("other.ventrano"));
        QVERIFY(!w->compareF.comparison());
        QVERIFY(cases->selectedRows().empty());
        QCOMPARE(cases->windowTitle(), QStringLiteral("Cases \u2013 Other"));
        QCOMPARE(w->compareF.windowTitle(), QStringLiteral("Comparison of cases \u2013 Other"));
    }

    // Cases dragged in the list land where they are dropped, in their order.
    void dragging()
    {
        for (int i = 1; i < 5; ++i) w->document.addCase(rating::Case{}, QStringLiteral("c%1").arg(i));
        w->document.renameCase(0, QStringLiteral("c0"));
        openByShortcut();
        CaseModel *m = cases->model();
        QMimeData *dragged = m->mimeData({m->index(1, ColName), m->index(3, ColType), m->index(1, ColDuty)});
        QVERIFY(!m->dropMimeData(dragged, Qt::MoveAction, 5, 0, QModelIndex())); // nothing for the view to remove
        delete dragged;
        auto names = [&] {
            QStringList out;
            for (int r = 0; r < m->rowCount(); ++r) out << text(r, ColName);
            return out;
        };
        QCOMPARE(names(), QStringList({"c0", "c2", "c4", "c1", "c3"}));
        dragged = m->mimeData({m->index(4, ColName)});
        m->dropMimeData(dragged, Qt::MoveAction, -1, -1, m->index(0, ColName)); // onto the first row
        delete dragged;
        QCOMPARE(names(), QStringList({"c3", "c0", "c2", "c4", "c1"}));
        expectCurrent(1);
    }
};

QTEST_MAIN(TestCasesWindow)
#include "test_caseswindow.moc"

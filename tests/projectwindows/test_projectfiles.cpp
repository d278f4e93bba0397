// Projects as files in the main window, through its real controls: save and
// open again in a fresh program, keys the program does not know, files that
// are refused, the question about unsaved changes, saves that fail, a file
// dropped on the window, the recent projects, the title, the buttons, the
// details dialog.
#include "app/windows.h"
#include "assets/assets.h"
#include "project/messages.h"
#include "projectwindows/DetailsDialog.h"
#include "tests/filesize.h"
#include "tests/gestures.h"
#include "tests/projectwindows/projectfixture.h"
#include "widgets/NumEdit.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using gestures::activate;
using projects::DetailsDialog;

namespace {

const QString kTitle = QStringLiteral(" – Hőcserélő méretezés");

// The window as the user sees it and what it holds.
struct Seen {
    rating::Case inputs;
    project::Details details;
    int cases = 0;
    QString fileName, title;
    bool modified = false;
    QImage image;
};

QByteArray withJacketFlow(QByteArray project, const char *flow)
{
    return project.replace("\"jacket_flow\": 7,", QByteArray("\"jacket_flow\": ") + flow + ",");
}

std::array<double, 12> results(const TmainF &w) { return project::resultValues(w.resultValues()); }

} // namespace

class TestProjectFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<UserDirs> dirs;
    std::unique_ptr<Errors> errors;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<Windows> w;

    std::unique_ptr<Windows> program()
    {
        auto p = std::make_unique<Windows>();
        // Closing the window ends a test, not the test program.
        QObject::disconnect(&p->mainF, &TmainF::closed, qApp, nullptr);
        p->mainF.show();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(&p->mainF);
        return p;
    }
    QString file(const QString &name) const { return folder->filePath(name); }
    QString project(const QString &name, const QByteArray &bytes = exampleProject()) const
    {
        const QString path = file(name);
        writeAll(path, bytes);
        return path;
    }

    // ---- the user's gestures
    // A field typed into and, unless `stay`, left with Tab.
    void type(NumEdit *field, const QString &text, bool stay = false)
    {
        activate(&w->mainF);
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        QTest::keyClicks(field, QString(text).replace(QLatin1Char('.'), platform::decimalSeparator()));
        if (!stay) QTest::keyClick(field, Qt::Key_Tab);
    }
    void keys(QKeyCombination k)
    {
        activate(&w->mainF);
        QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : &w->mainF;
        QTest::keyClick(focus, k.key(), k.keyboardModifiers());
    }
    void chooseLanguage(int row)
    {
        activate(&w->mainF);
        w->mainF.ComboBox1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w->mainF.ComboBox1, Qt::Key_Down, Qt::AltModifier);
        QAbstractItemView *view = w->mainF.ComboBox1->view();
        QVERIFY(QTest::qWaitFor([view] { return view->isVisible(); }));
        const int from = view->currentIndex().row();
        for (int i = from; i < row; ++i) QTest::keyClick(view, Qt::Key_Down);
        for (int i = from; i > row; --i) QTest::keyClick(view, Qt::Key_Up);
        QTest::keyClick(view, Qt::Key_Return);
        QVERIFY(QTest::qWaitFor([view] { return !view->isVisible(); }));
        QCOMPARE(w->mainF.language(), row);
    }
    QToolButton *button(const char *name) const
    {
        return w->mainF.findChild<QToolButton *>(QString::fromLatin1(name) + QStringLiteral("Button"));
    }
    QString shownTitle() const { return w->mainF.windowHandle()->title(); }
    Seen seen() const
    {
        return {w->mainF.inputs(),          w->document.project().details, w->document.caseCount(),
                w->document.fileName(),     shownTitle(),                  w->document.isModified(),
                w->mainF.grab().toImage()};
    }
    // The entries of the recent projects' menu as it pops up: their files.
    QStringList recentEntries()
    {
        QMenu *menu = w->files.recentMenu();
        menu->popup(w->mainF.mapToGlobal(QPoint(40, 60)));
        [[maybe_unused]] const bool shown = QTest::qWaitFor([menu] { return menu->isVisible(); });
        QStringList files;
        for (QAction *a : menu->actions())
            if (!a->data().toString().isEmpty()) files.append(a->data().toString());
        return files;
    }
    void clickEntry(QMenu *menu, QAction *a)
    {
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
    }

private slots:
    void init()
    {
        dirs = std::make_unique<UserDirs>();
        QVERIFY(dirs->ok());
        folder = std::make_unique<QTemporaryDir>();
        errors = std::make_unique<Errors>();
        w = program();
        activate(&w->mainF);
    }
    void cleanup()
    {
        w.reset();
        errors.reset();
        folder.reset();
        dirs.reset();
    }

    // The main window's project saved, then opened in a fresh program: the
    // same inputs, results and details; saved again, the same bytes.
    void roundTrip()
    {
        Answers a;
        a.expect(QStringLiteral("projectDetailsDialog"), [](QWidget *d) {
            auto *dd = static_cast<DetailsDialog *>(d);
            const std::pair<QLineEdit *, QString> fields[] = {
                {dd->nameEdit, "Boiler house B"}, {dd->customerEdit, "Thermo Kft."},
                {dd->referenceEdit, "ENQ-2026-114"}, {dd->revisionEdit, "B"},
                {dd->authorEdit, "K. Szabó"}, {dd->dateEdit, "2026-12-11"}};
            for (const auto &[e, text] : fields) {
                e->setFocus();
                typeText(e, text);
            }
            dd->notesEdit->setFocus();
            typeText(dd->notesEdit, QStringLiteral("Boiler water 80 °C."));
            QTest::keyClick(dd->notesEdit, Qt::Key_Return);
            typeText(dd->notesEdit, QStringLiteral("Coil side from 20 °C."));
            QTest::mouseClick(dd->okButton, Qt::LeftButton);
        });
        QTest::mouseClick(button("projectDetails"), Qt::LeftButton);
        QVERIFY(a.done());
        type(w->mainF.MVkEd, "3.5");
        type(w->mainF.tsbEd, "12.25");
        w->mainF.CbMVs->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w->mainF.CbMVs, Qt::Key_Up); // l/min
        QTest::keyClick(w->mainF.CbMVs, Qt::Key_Tab);
        QVERIFY(w->document.isModified());
        QCOMPARE(shownTitle(), "Boiler house B*" + kTitle);

        // Save on a project without a file asks for the name; the
        // extension comes on its own.
        a.expect(QStringLiteral("saveProjectDialog"), Answers::typeFile(file("boiler")));
        keys(Qt::CTRL | Qt::Key_S);
        QVERIFY(a.done());
        QVERIFY(a.unexpected().isEmpty());
        const QString path = file("boiler.ventrano");
        QCOMPARE(w->document.fileName(), path);
        QVERIFY(!w->document.isModified());
        QCOMPARE(shownTitle(), "Boiler house B" + kTitle);
        const QByteArray saved = readAll(path);
        QVERIFY(saved.startsWith("{\n  \"format\": \"ventrano-project\""));

        auto again = program();
        QVERIFY(again->files.openFile(path));
        QVERIFY(project::sameInputs(again->mainF.inputs(), w->mainF.inputs()));
        QCOMPARE(again->mainF.inputs().MVk, 3.5);
        QCOMPARE(again->mainF.inputs().CbMVsIndex, 0);
        QCOMPARE(results(again->mainF), results(w->mainF));
        QVERIFY(again->document.project().details == w->document.project().details);
        QCOMPARE(again->document.project().details.notes, std::string("Boiler water 80 °C.\nCoil side from 20 °C."));
        QVERIFY(!again->document.isModified());
        QVERIFY(again->files.save());
        QCOMPARE(readAll(path), saved);
        QVERIFY2(errors->list.isEmpty(), qPrintable(errors->list.join('\n')));
    }

    // Keys the program does not know stay where they were; those under a
    // case's results go once its inputs change.
    void unknownKeysSurviveASave()
    {
        QByteArray bytes = exampleProject();
        // Laid out as the program writes them: saved unchanged, the same bytes.
        bytes.replace("  \"version\": 1,\n",
                      "  \"version\": 1,\n  \"later\": {\n    \"a\": [\n      1,\n      2\n    ]\n  },\n");
        bytes.replace("    \"revision\": \"B\",\n", "    \"revision\": \"B\",\n    \"site\": \"Győr\",\n");
        bytes.replace("      \"coil_inlet\": 20,\n", "      \"coil_inlet\": 20,\n      \"pump\": \"P-7\",\n");
        bytes.replace("        \"duty_kW\": 61.5358590502138,\n",
                      "        \"duty_kW\": 61.5358590502138,\n        \"lmtd_K\": 12.5,\n");
        const QString path = project("later.ventrano", bytes);
        QVERIFY(w->files.openFile(path));
        QVERIFY(w->files.save());
        QCOMPARE(readAll(path), bytes); // opened and saved unchanged: the same bytes

        type(w->mainF.MVkEd, "3");
        keys(Qt::CTRL | Qt::Key_S);
        const QByteArray saved = readAll(path);
        for (const char *kept : {"  \"later\": {\n    \"a\": [\n      1,\n      2\n    ]\n  },\n  \"project\"",
                                 "\"revision\": \"B\",\n    \"site\": \"Győr\",", "\"coil_inlet\": 20,\n      \"pump\": \"P-7\","})
            QVERIFY2(saved.contains(kept), kept);
        QVERIFY(!saved.contains("lmtd_K"));
        QVERIFY(saved.contains("\"jacket_flow\": 3,"));
        QVERIFY(errors->list.isEmpty());
    }

    // Every file that is no project: one message naming it, in the
    // window's language, and the window exactly as it was.
    void hostileFilesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("language");
        const QByteArray ex = exampleProject();
        auto with = [&ex](const char *from, const char *to) { return QByteArray(ex).replace(from, to); };
        QByteArray thousandAndOne = "{\"format\":\"ventrano-project\",\"version\":1,\"cases\":[";
        for (int i = 0; i <= project::maxCases; ++i)
            thousandAndOne += QByteArray(i ? "," : "") +
                              "{\"name\":\"c\",\"type\":\"VT/R-0\",\"series\":1,\"parallel\":1,\"jacket_flow\":7,"
                              "\"jacket_unit\":\"m3/h\",\"jacket_inlet\":80,\"coil_flow\":1,\"coil_unit\":\"m3/h\","
                              "\"coil_inlet\":20}";
        thousandAndOne += "]}";
        QTest::newRow("not JSON") << "notes.ventrano" << QByteArray("Boiler house B\n") << 1;
        QTest::newRow("not JSON, in Hungarian") << "notes.ventrano" << QByteArray("{\"format\": ") << 0;
        QTest::newRow("empty") << "empty.ventrano" << QByteArray() << 1;
        QTest::newRow("not UTF-8") << "latin1.ventrano" << with("Szabó", "Szab\xF3") << 1;
        QTest::newRow("another format") << "other.ventrano" << with("ventrano-project", "other-project") << 1;
        QTest::newRow("a newer version") << "newer.ventrano" << with("\"version\": 1", "\"version\": 2") << 1;
        QTest::newRow("no cases key") << "nocases.ventrano"
                                      << QByteArray("{\"format\":\"ventrano-project\",\"version\":1}") << 1;
        QTest::newRow("a count as text") << "text.ventrano" << with("\"series\": 1", "\"series\": \"1\"") << 1;
        QTest::newRow("an inlet out of range") << "hot.ventrano" << with("\"jacket_inlet\": 80", "\"jacket_inlet\": 200") << 1;
        QTest::newRow("an unknown type") << "type.ventrano" << with("\"type\": \"VT/R-2\"", "\"type\": \"VT/R-9\"") << 1;
        QTest::newRow("an unknown unit") << "unit.ventrano" << with("\"jacket_unit\": \"m3/h\"", "\"jacket_unit\": \"gpm\"") << 1;
        QTest::newRow("no case") << "none.ventrano"
                                 << QByteArray("{\"format\":\"ventrano-project\",\"version\":1,\"cases\":[]}") << 1;
        QTest::newRow("1001 cases") << "many.ventrano" << thousandAndOne << 1;
        QTest::newRow("a current naming no case") << "current.ventrano" << with("\"current\": 0", "\"current\": 2") << 1;
        QTest::newRow("nested too deep") << "deep.ventrano"
                                         << QByteArray("{\"format\":\"ventrano-project\",\"version\":1,\"x\":") +
                                                QByteArray(100, '[') + QByteArray(100, ']') + "}"
                                         << 1;
        QTest::newRow("over 10 MB") << "big.ventrano" << QByteArray(int(project::maxFileBytes) + 1, ' ') << 1;
        QTest::newRow("missing") << "missing.ventrano" << QByteArray("(none)") << 1;
        QTest::newRow("a folder") << "folder.ventrano" << QByteArray("(folder)") << 1;
        QTest::newRow("a named pipe") << "pipe.ventrano" << QByteArray("(pipe)") << 1;
        QTest::newRow("a device") << "zero.ventrano" << QByteArray("(device)") << 1;
    }
    void hostileFilesAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, language);
        const QString path = file(name);
        if (bytes == "(folder)") QVERIFY(QDir().mkpath(path));
        else if (bytes == "(pipe)") QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        else if (bytes == "(device)") QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        else if (bytes != "(none)") QVERIFY(writeAll(path, bytes));

        // A project open with unsaved changes, in the language of the row.
        QVERIFY(w->files.openFile(project("good.ventrano")));
        type(w->mainF.MVkEd, "3");
        if (language != w->mainF.language()) chooseLanguage(language);
        w->mainF.CbTipus->setFocus(Qt::TabFocusReason); // no blinking text cursor in the pictures
        const Seen before = seen();
        QVERIFY(before.modified);

        QVERIFY(!w->files.openFile(path));
        QCOMPARE(errors->list.size(), 1);
        const QString message = errors->list.first();
        QVERIFY2(message.contains(name), qPrintable(message));
        if (bytes == "(pipe)" || bytes == "(device)") {
            QVERIFY2(message.contains("it is not a regular file"), qPrintable(message));
        } else {
            // The core's sentence, naming the file without its folder.
            project::Error e = project::openFile(QFile::encodeName(path).toStdString()).error();
            e.fileName = name.toStdString();
            QCOMPARE(message, QString::fromStdString(project::sentence(e, language, platform::decimalSeparator().toStdString())));
        }

        const Seen after = seen();
        QVERIFY(project::sameInputs(after.inputs, before.inputs));
        QVERIFY(after.details == before.details);
        QCOMPARE(after.cases, before.cases);
        QCOMPARE(after.fileName, before.fileName);
        QCOMPARE(after.modified, before.modified);
        QCOMPARE(after.title, before.title);
        QCOMPARE(after.image, before.image);
    }

    // Close, New and Open with unsaved changes ask Save / Discard / Cancel,
    // answered through the question's own buttons.
    void unsavedChangesAsked_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("untitled");
        for (const char *g : {"close", "new", "open"})
            for (const char *a : {"save", "discard", "cancel"})
                QTest::addRow("%s, %s", g, a) << g << a << false;
        QTest::newRow("close, save, untitled") << "close" << "save" << true;
    }
    void unsavedChangesAsked()
    {
        QFETCH(QString, gesture);
        QFETCH(QString, answer);
        QFETCH(bool, untitled);
        const QString a = project("a.ventrano"), b = project("b.ventrano", withJacketFlow(exampleProject(), "5"));
        if (!untitled) QVERIFY(w->files.openFile(a));
        type(w->mainF.MVkEd, "3");
        QVERIFY(w->document.isModified());
        const QByteArray before = readAll(a);

        Answers answers;
        if (gesture == "open") answers.expect(QStringLiteral("openProjectDialog"), Answers::typeFile(b));
        answers.expect(QStringLiteral("unsavedChangesQuestion"), Answers::click(answer));
        const QString saved = untitled ? file("new.ventrano") : a;
        if (untitled) answers.expect(QStringLiteral("saveProjectDialog"), Answers::typeFile(saved));
        QSignalSpy closed(&w->mainF, &TmainF::closed);
        if (gesture == "close") w->mainF.close();
        else if (gesture == "new") keys(Qt::CTRL | Qt::Key_N);
        else keys(Qt::CTRL | Qt::Key_O);
        QVERIFY(answers.done());
        QVERIFY2(answers.unexpected().isEmpty(), qPrintable(answers.unexpected().join('\n')));
        QVERIFY(answers.texts().first().contains(untitled ? "Untitled" : "Boiler house B, hot water"));

        if (answer == "save") {
            const auto written = project::readFile(QFile::encodeName(saved).toStdString());
            QVERIFY(written.ok());
            QCOMPARE(written.value().cases[0].inputs.MVk, 3.0);
        } else {
            QCOMPARE(readAll(a), before);
        }
        if (answer == "cancel") {
            QCOMPARE(closed.count(), 0);
            QVERIFY(w->mainF.isVisible());
            QVERIFY(w->document.isModified());
            QCOMPARE(w->mainF.inputs().MVk, 3.0);
            QCOMPARE(w->document.fileName(), untitled ? QString() : a);
        } else if (gesture == "close") {
            QCOMPARE(closed.count(), 1);
            QVERIFY(!w->mainF.isVisible());
        } else if (gesture == "new") {
            QVERIFY(w->document.fileName().isEmpty());
            QVERIFY(!w->document.isModified());
            QVERIFY(project::sameInputs(w->mainF.inputs(), rating::Case{}));
            QCOMPARE(w->document.caseCount(), 1);
        } else {
            QCOMPARE(w->document.fileName(), b);
            QCOMPARE(w->mainF.inputs().MVk, 5.0);
            QVERIFY(!w->document.isModified());
        }
        QVERIFY2(errors->list.isEmpty(), qPrintable(errors->list.join('\n')));
    }

    // A save that fails says why, leaves the old file as it was, and the
    // changes stay in the window, still unsaved.
    void failedSaveKeepsFileAndChanges_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("a read-only file") << "read-only file";
        QTest::newRow("a read-only folder") << "read-only folder";
        QTest::newRow("a full disk") << "full disk";
        QTest::newRow("a folder as the name") << "folder";
    }
    void failedSaveKeepsFileAndChanges()
    {
        QFETCH(QString, where);
        const QString sub = file("sub");
        QVERIFY(QDir().mkpath(sub));
        const QString path = sub + "/a.ventrano";
        QVERIFY(writeAll(path, exampleProject()));
        QVERIFY(w->files.openFile(path));
        type(w->mainF.MVkEd, "3");
        const QByteArray before = readAll(path);
        if (where == "read-only file") QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        if (where == "read-only folder") QVERIFY(QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner));
        if (where == "folder") QVERIFY(QFile::remove(path) && QDir().mkpath(path));
        const QStringList entries = QDir(sub).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        if (where.startsWith("read-only") && ::access(QFile::encodeName(where == "read-only file" ? path : sub).constData(), W_OK) == 0) {
            QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("this user writes where the permissions say no one may");
        }

        bool saved = true;
        if (where == "full disk") {
            // The file may grow to a few hundred bytes only.
            const FileSizeLimit limit(300);
            QVERIFY(limit.set());
            saved = w->files.save();
        } else {
            saved = w->files.save();
        }
        QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!saved);
        QCOMPARE(errors->list.size(), 1);
        const QString message = errors->list.first();
        QVERIFY2(message.startsWith("The project could not be saved as '" + path + "': "), qPrintable(message));
        const QString why = message.section(QStringLiteral("': "), 1).section(QStringLiteral(".\n\n"), 0, 0);
        QVERIFY2(!why.isEmpty() && why != "Unknown error", qPrintable(message));
        QCOMPARE(QDir(sub).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), entries);
        if (where == "folder") QVERIFY(QFileInfo(path).isDir() && QDir(path).isEmpty());
        else QCOMPARE(readAll(path), before);
        QVERIFY(w->document.isModified());
        QCOMPARE(w->mainF.inputs().MVk, 3.0);
        QVERIFY(shownTitle().startsWith("Boiler house B, hot water*"));
    }

    // A local file dropped on the window opens; anything else is refused
    // without a word.
    void droppedFileOpens()
    {
        const QString a = project("a.ventrano"), b = project("b.ventrano");
        auto mime = [](const QList<QUrl> &urls, const QString &text = QString()) {
            auto *m = new QMimeData;
            if (!urls.isEmpty()) m->setUrls(urls);
            if (!text.isEmpty()) m->setText(text);
            return std::unique_ptr<QMimeData>(m);
        };
        auto enters = [this](const QMimeData *m) {
            QDragEnterEvent e(QPoint(300, 300), Qt::CopyAction, m, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&w->mainF, &e);
            return e.isAccepted();
        };
        auto drop = [this](const QMimeData *m) {
            QDropEvent e(QPointF(300, 300), Qt::CopyAction, m, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&w->mainF, &e);
            QTest::qWait(20);
        };
        const std::unique_ptr<QMimeData> refused[] = {
            mime({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)}),
            mime({QUrl(QStringLiteral("https://example.com/a.ventrano"))}),
            mime({QUrl::fromLocalFile(folder->path())}),
            mime({}, a),
        };
        for (const auto &m : refused) {
            QVERIFY(!enters(m.get()));
            drop(m.get());
        }
        QVERIFY(w->document.fileName().isEmpty());

        const auto one = mime({QUrl::fromLocalFile(a)});
        QVERIFY(enters(one.get()));
        drop(one.get());
        QTRY_COMPARE(w->document.fileName(), a);
        QVERIFY(errors->list.isEmpty());

        // A file dropped that is no project: said once, as any opened file.
        const auto notes = mime({QUrl::fromLocalFile(project("notes.txt", "Boiler house B\n"))});
        QVERIFY(enters(notes.get()));
        drop(notes.get());
        QTRY_COMPARE(errors->list.size(), 1);
        QVERIFY(errors->list.first().contains("notes.txt"));
        QCOMPARE(w->document.fileName(), a);
    }

    // The eight projects opened or saved last, newest first, kept for the
    // next start; an entry opens its file, one that is gone leaves the list.
    void recentProjects()
    {
        QStringList paths;
        for (int i = 1; i <= 9; ++i) {
            paths.prepend(project(QStringLiteral("p%1.ventrano").arg(i)));
            QVERIFY(w->files.openFile(paths.first()));
        }
        QCOMPARE(recentEntries(), paths.mid(0, 8));
        QMenu *menu = w->files.recentMenu();
        QTest::keyClick(menu, Qt::Key_3); // the third by its number
        QTRY_COMPARE(w->document.fileName(), paths[2]);
        QCOMPARE(recentEntries().first(), paths[2]);

        QVERIFY(QFile::remove(paths[5]));
        clickEntry(menu, menu->actions().at(5));
        QTRY_COMPARE(errors->list.size(), 1);
        QVERIFY(errors->list.first().contains("p4.ventrano"));
        QVERIFY(!recentEntries().contains(paths[5]));
        menu->hide();

        // Saved under a new name: at the top; the next start lists the same.
        Answers a;
        a.expect(QStringLiteral("saveProjectDialog"), Answers::typeFile(file("copy.ventrano")));
        keys(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        QVERIFY(a.done());
        const QStringList now = recentEntries();
        QCOMPARE(now.first(), file("copy.ventrano"));
        menu->hide();
        w = program();
        QCOMPARE(recentEntries(), now);

        QMenu *again = w->files.recentMenu();
        clickEntry(again, again->findChild<QAction *>(QStringLiteral("clearRecentProjects")));
        QVERIFY(recentEntries().isEmpty());
        QCOMPARE(again->actions().size(), 1);
        QVERIFY(!again->actions().first()->isEnabled()); // "No recent projects"
        again->hide();
    }

    // The title: the project's name, the mark of unsaved changes, the
    // program; "Untitled" in the window's language.
    void titleShowsTheProjectAndItsChanges()
    {
        QCOMPARE(shownTitle(), "Untitled" + kTitle);
        type(w->mainF.MVkEd, "3");
        QCOMPARE(shownTitle(), "Untitled*" + kTitle);
        chooseLanguage(0);
        QCOMPARE(shownTitle(), "Névtelen*" + kTitle);
        project::Details d;
        d.name = "Line [*] two\nlines";
        w->document.setDetails(d);
        QCOMPARE(shownTitle(), "Line [*] two lines*" + kTitle);
        Answers a;
        a.expect(QStringLiteral("unsavedChangesQuestion"), Answers::click(QStringLiteral("discard")));
        QVERIFY(w->files.openFile(project("a.ventrano")));
        QVERIFY(a.done());
        QCOMPARE(shownTitle(), "Boiler house B, hot water" + kTitle);
    }

    // The buttons cover nothing of the schematic, its labels or the title
    // strip, in any language; each runs its command.
    void buttonsOnAFreePartOfTheSchematic()
    {
        const QList<QToolButton *> buttons = w->mainF.actionButtons();
        QCOMPARE(buttons.size(), 5);
        QRect row;
        for (QToolButton *b : buttons) {
            QCOMPARE(b->parentWidget(), w->mainF.Panel1);
            QCOMPARE(b->focusPolicy(), Qt::NoFocus);
            QVERIFY(b->isVisible());
            for (QToolButton *o : buttons) QVERIFY(o == b || !o->geometry().intersects(b->geometry()));
            row |= b->geometry();
        }
        QVERIFY(row.top() >= w->mainF.Panel4->geometry().bottom() + 3);
        const QRect ring = row.adjusted(-2, -2, 2, 2);
        const QImage pic = assets::schematic();
        for (int y = ring.top(); y <= ring.bottom(); ++y)
            for (int x = std::max(0, ring.left()); x <= ring.right(); ++x)
                QVERIFY2(pic.pixel(x, y) == assets::schematicBackground, qPrintable(QStringLiteral("picture at %1,%2").arg(x).arg(y)));
        QStringList english;
        for (QToolButton *b : buttons) english.append(b->defaultAction()->text());
        for (int language = 0; language < lang::count(); ++language) {
            chooseLanguage(language);
            // The commands speak the language at once.
            for (qsizetype i = 0; i < buttons.size(); ++i) {
                const QString text = buttons[i]->defaultAction()->text();
                QVERIFY(!text.isEmpty());
                QVERIFY2(language == lang::DefaultLanguage || text != english[i], qPrintable(text));
                QVERIFY(buttons[i]->toolTip().startsWith(QString(text).remove(QChar(0x2026))));
            }
            for (QWidget *c : w->mainF.findChildren<QWidget *>()) {
                if (c == w->mainF.Panel1 || c == w->mainF.Image1 || !c->isVisible() || c->window() != &w->mainF ||
                    std::any_of(buttons.begin(), buttons.end(), [c](QToolButton *b) { return b == c || b->isAncestorOf(c); }))
                    continue;
                const QRect g(c->mapTo(&w->mainF, QPoint(0, 0)), c->size());
                QVERIFY2(!g.intersects(ring), qPrintable(QStringLiteral("%1 in language %2").arg(c->objectName()).arg(language)));
            }
            const QImage shot = w->mainF.grab().toImage();
            for (int y = ring.top(); y <= ring.bottom(); ++y)
                for (int x = std::max(0, ring.left()); x <= ring.right(); ++x)
                    if (!row.contains(x, y))
                        QVERIFY2(shot.pixel(x, y) == assets::schematicBackground,
                                 qPrintable(QStringLiteral("shown at %1,%2 in language %3").arg(x).arg(y).arg(language)));
        }

        // Each runs its command; the open button drops the recent projects.
        QCOMPARE(button("openProject")->menu(), w->files.recentMenu());
        const std::pair<const char *, const char *> commands[] = {
            {"newProject", nullptr},
            {"openProject", "openProjectDialog"},
            {"saveProject", "saveProjectDialog"},
            {"saveProjectAs", "saveProjectDialog"},
            {"projectDetails", "projectDetailsDialog"}};
        for (const auto &[name, dialog] : commands) {
            QToolButton *b = button(name);
            QVERIFY(b);
            QSignalSpy ran(b->defaultAction(), &QAction::triggered);
            Answers a;
            if (dialog) a.expect(QString::fromLatin1(dialog), [](QWidget *d) { static_cast<QDialog *>(d)->reject(); });
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
            QCOMPARE(ran.count(), 1);
            QVERIFY(a.done());
            QVERIFY(!b->accessibleName().isEmpty());
        }
        QVERIFY(errors->list.isEmpty());
    }

    // The schematic's context menu holds the commands; their shortcuts work
    // from a field.
    void contextMenuAndShortcuts()
    {
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(300, 200), w->mainF.mapToGlobal(QPoint(300, 200)));
        QApplication::sendEvent(&w->mainF, &e);
        QMenu *menu = nullptr;
        QVERIFY(QTest::qWaitFor([&] {
            for (QMenu *m : w->mainF.findChildren<QMenu *>())
                if (m->isVisible()) menu = m;
            return menu != nullptr;
        }));
        QStringList shown;
        for (QAction *a : menu->actions())
            if (!a->isSeparator()) shown.append(a->text());
        const QStringList commands = {"New project", "Open project…", "Recent projects",
                                      "Save project", "Save project as…", "Project details…"};
        const qsizetype at = shown.indexOf(commands.first());
        QVERIFY(at >= 0);
        QCOMPARE(shown.mid(at, commands.size()), commands);
        QTest::keyClick(menu, Qt::Key_Escape);

        QCOMPARE(w->files.newAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(w->files.openAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(w->files.saveAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(w->files.saveAsAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
        // From a field typed into and not left: the value typed is an
        // unsaved change too.
        Answers a;
        a.expect(QStringLiteral("openProjectDialog"), Answers::typeFile(project("a.ventrano")));
        a.expect(QStringLiteral("unsavedChangesQuestion"), Answers::click(QStringLiteral("discard")));
        type(w->mainF.tsbEd, "30", true);
        keys(Qt::CTRL | Qt::Key_O);
        QVERIFY(a.done());
        QVERIFY(a.unexpected().isEmpty());
        QCOMPARE(w->document.fileName(), file("a.ventrano"));
        QCOMPARE(w->mainF.inputs().tsb, 20.0);
    }

    // The details dialog: a date in ISO 8601 or none, typed or picked; a
    // file's own date and texts stay as they were until changed.
    void detailsDialog()
    {
        QByteArray bytes = exampleProject();
        bytes.replace("\"date\": \"2026-12-11\"", "\"date\": \"Dec 2026\"");
        bytes.replace("7 m3/h.\\nCoil", "7 m3/h.\\r\\nCoil");
        QVERIFY(w->files.openFile(project("a.ventrano", bytes)));
        const project::Details was = w->document.project().details;

        Answers a;
        a.expect(QStringLiteral("projectDetailsDialog"), [](QWidget *d) {
            auto *dd = static_cast<DetailsDialog *>(d);
            QVERIFY(dd->okButton->isEnabled()); // the file's own date
            for (const char *bad : {"11.12.2026", "2026-02-30", "2026-1-5"}) {
                dd->dateEdit->setFocus();
                dd->dateEdit->selectAll();
                QTest::keyClicks(dd->dateEdit, QString::fromLatin1(bad));
                QVERIFY2(!dd->okButton->isEnabled(), bad);
                QVERIFY(dd->dateHint->isVisible());
            }
            QTest::mouseClick(dd->calendarButton, Qt::LeftButton);
            QVERIFY(QTest::qWaitFor([dd] { return dd->calendar->isVisible(); }));
            QTest::keyClick(dd->calendar->findChild<QTableView *>(), Qt::Key_Return);
            QCOMPARE(dd->dateEdit->text(), QDate::currentDate().toString(Qt::ISODate));
            QVERIFY(dd->okButton->isEnabled());
            QTest::mouseClick(dd->cancelButton, Qt::LeftButton);
        });
        QTest::mouseClick(button("projectDetails"), Qt::LeftButton);
        QVERIFY(a.done());
        QVERIFY(w->document.project().details == was);

        a.expect(QStringLiteral("projectDetailsDialog"), [](QWidget *d) {
            QTest::mouseClick(static_cast<DetailsDialog *>(d)->okButton, Qt::LeftButton);
        });
        QTest::mouseClick(button("projectDetails"), Qt::LeftButton);
        QVERIFY(a.done());
        QVERIFY(w->document.project().details == was);
        QVERIFY(!w->document.isModified());
        QVERIFY(errors->list.isEmpty());
    }

    // Stored results that differ from the recalculated ones: said once, in
    // the window, naming the cases; the project is open.
    void differingResultsSaidOnce()
    {
        QByteArray bytes = exampleProject();
        bytes.replace("61.5358590502138", "61.6");
        bytes.replace("nothing to rate", "no flow");
        QVERIFY(w->files.openFile(project("old.ventrano", bytes)));
        QList<QMessageBox *> notes;
        QVERIFY(QTest::qWaitFor([&] {
            notes = w->mainF.findChildren<QMessageBox *>(QStringLiteral("differingResults"));
            return !notes.isEmpty() && notes.first()->isVisible();
        }));
        QCOMPARE(notes.size(), 1);
        const QString text = notes.first()->text();
        QVERIFY2(text.contains("'old.ventrano'") && text.contains("1 (VT/R-2, one unit), 2 (coil pump off)"), qPrintable(text));
        QVERIFY(errors->list.isEmpty());
        QVERIFY(!w->document.isModified());
        QCOMPARE(w->document.fileName(), file("old.ventrano"));
        notes.first()->close();
    }
};

QTEST_MAIN(TestProjectFiles)
#include "test_projectfiles.moc"

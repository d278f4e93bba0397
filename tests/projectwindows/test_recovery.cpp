// Unsaved work kept for after a crash: the autosave into the user's state
// folder, the recovery file's lock that keeps programs apart, the offer at
// the next start to restore or discard it. (The real program killed and
// started again is tests/e2e/projects.sh.)
#include "app/windows.h"
#include "projectwindows/Recovery.h"
#include "tests/projectwindows/projectfixture.h"
#include "widgets/NumEdit.h"

#include <QFileInfo>
#include <QWindow>

#include <memory>

#include <sys/wait.h>
#include <unistd.h>

using namespace projects;

class TestRecovery : public QObject {
    Q_OBJECT

    std::unique_ptr<UserDirs> dirs;
    std::unique_ptr<Errors> errors;
    std::unique_ptr<QTemporaryDir> folder;

    std::unique_ptr<Windows> program()
    {
        auto p = std::make_unique<Windows>();
        QObject::disconnect(&p->mainF, &TmainF::closed, qApp, nullptr);
        p->mainF.show();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(&p->mainF);
        p->mainF.activateWindow();
        QApplication::setActiveWindow(&p->mainF);
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&p->mainF);
        return p;
    }
    void type(Windows &w, NumEdit *field, const QString &text, bool leave)
    {
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        QTest::keyClicks(field, text);
        if (leave) QTest::keyClick(field, Qt::Key_Tab);
        Q_UNUSED(w);
    }
    QString projectFile(const QString &name, const QByteArray &bytes = exampleProject())
    {
        const QString path = folder->filePath(name);
        writeAll(path, bytes);
        return path;
    }
    static project::Project example()
    {
        const std::string bytes = exampleProject().toStdString();
        return project::read(bytes, "example").value();
    }
    // A recovery file left by a program that is gone: its lock, as a real
    // lock has it, names a process that has ended.
    QString orphan(const project::Project &p, const RecoveryNote &note, const QString &name = "recovery-7-7.ventrano")
    {
        QDir().mkpath(dirs->recoveryFolder());
        const QString path = QDir(dirs->recoveryFolder()).filePath(name);
        writeAll(path, recoveryBytes(p, note));
        QByteArray lock;
        {
            QLockFile held(path + ".lock");
            held.tryLock(0);
            lock = readAll(path + ".lock");
        }
        const pid_t child = ::fork();
        if (child == 0) ::_exit(0);
        ::waitpid(child, nullptr, 0);
        lock = QByteArray::number(child) + lock.mid(lock.indexOf('\n'));
        writeAll(path + ".lock", lock);
        return path;
    }

private slots:
    void init()
    {
        dirs = std::make_unique<UserDirs>();
        errors = std::make_unique<Errors>();
        folder = std::make_unique<QTemporaryDir>();
    }
    void cleanup()
    {
        folder.reset();
        errors.reset();
        dirs.reset();
    }

    // Within two seconds of a change (a field only typed into counts) the
    // unsaved state is in the state folder, nothing beside the project;
    // a save, and a close that discards, remove it.
    void autosaveKeepsUnsavedWork()
    {
        auto w = program();
        const QString a = projectFile("a.ventrano");
        QVERIFY(w->files.openFile(a));
        QVERIFY(dirs->recoveryFiles().isEmpty());

        QElapsedTimer since;
        type(*w, w->mainF.MVkEd, "3", false);
        since.start();
        QTRY_VERIFY_WITH_TIMEOUT(!dirs->recoveryFiles().isEmpty(), 2000);
        QVERIFY(since.elapsed() <= 2000);
        QCOMPARE(dirs->recoveryFiles().size(), 1);
        const QString kept = QDir(dirs->recoveryFolder()).filePath(dirs->recoveryFiles().first());
        QCOMPARE(w->files.autosave().path(), kept);
        QVERIFY(QFileInfo::exists(kept + ".lock"));
        const auto r = readRecovery(kept);
        QVERIFY(r.ok());
        QCOMPARE(r.value().note.projectFile, a);
        QVERIFY(qAbs(r.value().note.written.secsTo(QDateTime::currentDateTime())) < 10);
        QCOMPARE(r.value().project.cases[0].inputs.MVk, 3.0);
        QVERIFY(r.value().project.details == w->document.project().details);
        QVERIFY(r.value().project.layout == example().layout); // the note is no part of the project
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList{"a.ventrano"});
        QCOMPARE(readAll(a), exampleProject());

        // Saved: nothing left to recover.
        QTest::keyClick(w->mainF.MVkEd, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!w->document.isModified());
        w->files.autosave().wait();
        QVERIFY(dirs->recoveryFiles().isEmpty());

        // Changed again, then the window closed without saving: gone too.
        type(*w, w->mainF.tsbEd, "30", true);
        QTRY_VERIFY_WITH_TIMEOUT(!dirs->recoveryFiles().isEmpty(), 2000);
        Answers answers;
        answers.expect(QStringLiteral("unsavedChangesQuestion"), Answers::click(QStringLiteral("discard")));
        QVERIFY(w->mainF.close());
        QVERIFY(answers.done());
        w->files.autosave().wait();
        QVERIFY(dirs->recoveryFiles().isEmpty());
        w.reset();
        QCOMPARE(QDir(dirs->recoveryFolder()).entryList(QDir::Files | QDir::Hidden), QStringList());
        QVERIFY(errors->list.isEmpty());
    }

    // The next start offers the work of a program that is gone: when it was
    // kept and which project; Restore puts it in as unsaved changes of that
    // project, Discard removes it.
    void offeredAtTheNextStart_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("named");
        QTest::newRow("restore") << "restore" << true;
        QTest::newRow("restore, untitled") << "restore" << false;
        QTest::newRow("discard") << "discard" << true;
    }
    void offeredAtTheNextStart()
    {
        QFETCH(QString, answer);
        QFETCH(bool, named);
        const QString a = projectFile("a.ventrano");
        project::Project p = example();
        p.cases[0].inputs.MVk = 3;
        p.current = 0;
        if (!named) p.details = {};
        const QDateTime written(QDate(2026, 12, 11), QTime(14, 3, 5));
        const QString left = orphan(p, {named ? a : QString(), written});
        const QString other = projectFile("b.ventrano");

        auto w = program();
        Answers answers;
        answers.expect(QStringLiteral("recoveryOffer"), Answers::click(answer));
        w->files.start(answer == "discard" ? other : QString());
        QVERIFY(answers.done());
        const QString text = answers.texts().first();
        QVERIFY2(text.contains("2026-12-11 14:03:05"), qPrintable(text));
        QVERIFY2(text.contains(named ? "Boiler house B, hot water (" + a + ")" : QStringLiteral("Project: Untitled")),
                 qPrintable(text));

        if (answer == "discard") {
            QVERIFY(!QFileInfo::exists(left));
            QVERIFY(!QFileInfo::exists(left + ".lock"));
            QCOMPARE(w->document.fileName(), other); // the file named at the start, after the offer
            QVERIFY(!w->document.isModified());
            QVERIFY(errors->list.isEmpty());
            return;
        }
        QCOMPARE(w->document.fileName(), named ? a : QString());
        QVERIFY(w->document.isModified());
        QCOMPARE(w->mainF.inputs().MVk, 3.0);
        QVERIFY(w->document.project().details == p.details);
        QVERIFY(w->mainF.windowHandle()->title().startsWith(named ? "Boiler house B, hot water*" : "Untitled*"));
        // Its file is this program's now, and stays while the work is unsaved.
        QCOMPARE(w->files.autosave().path(), left);
        QVERIFY(findOrphans().empty());
        if (named) {
            // Save writes the project's own file, without asking for a name.
            QVERIFY(w->files.save());
            const auto saved = project::readFile(QFile::encodeName(a).toStdString());
            QVERIFY(saved.ok());
            QCOMPARE(saved.value().cases[0].inputs.MVk, 3.0);
            QVERIFY(!readAll(a).contains(recoveryKey));
            w->files.autosave().wait();
            QVERIFY(!QFileInfo::exists(left));
        }
        QVERIFY(errors->list.isEmpty());
    }

    // Two programs at once: each its own file, and neither offers the
    // other's while the other runs; a file that holds nothing to restore
    // goes.
    void programsNeverShareAFile()
    {
        {
            Autosave first, second;
            first.store("{\"first\": 1}\n");
            second.store("{\"second\": 2}\n");
            first.wait();
            second.wait();
            QVERIFY(first.path() != second.path());
            QCOMPARE(readAll(first.path()), QByteArray("{\"first\": 1}\n"));
            QCOMPARE(readAll(second.path()), QByteArray("{\"second\": 2}\n"));
            QVERIFY(findOrphans().empty()); // both alive
            const QString gone = first.path();
            first.remove();
            first.wait();
            QVERIFY(!QFileInfo::exists(gone));
            QVERIFY(QFileInfo::exists(second.path()));
        }
        QVERIFY(dirs->recoveryFiles().isEmpty());

        const QString junk = orphan(example(), {}, "recovery-8-8.ventrano");
        writeAll(junk, "{ not a project");
        const QString left = orphan(example(), {QString(), QDateTime::currentDateTime()});
        std::vector<Orphan> found = findOrphans();
        QCOMPARE(found.size(), std::size_t(1));
        QCOMPARE(found.front().path, left);
        QVERIFY(!QFileInfo::exists(junk));
        QVERIFY(findOrphans().empty()); // held by the first finder
        found.clear();
        QCOMPARE(findOrphans().size(), std::size_t(1)); // released, for a later start
    }

    // A state folder that cannot be written: said once, not at every
    // change.
    void failedAutosaveSaidOnce()
    {
        const QString blocker = folder->filePath("state");
        writeAll(blocker, "a file where the state folder would be\n");
        qputenv("XDG_STATE_HOME", QFile::encodeName(blocker));
        auto w = program();
        type(*w, w->mainF.MVkEd, "3", true);
        QTRY_COMPARE_WITH_TIMEOUT(errors->list.size(), 1, 3000);
        QVERIFY2(errors->list.first().startsWith("Unsaved changes could not be kept for recovery in '" + blocker),
                 qPrintable(errors->list.first()));
        type(*w, w->mainF.MVkEd, "4", true);
        QTest::qWait(2 * ProjectFiles::autosaveDelayMs);
        QCOMPARE(errors->list.size(), 1);
    }
};

QTEST_MAIN(TestRecovery)
#include "test_recovery.moc"

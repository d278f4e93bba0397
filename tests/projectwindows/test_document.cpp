// The open project and the main window: the main window's case is the
// current case, whatever happens to the list of cases around it.
#include "projectwindows/ProjectDocument.h"

#include "mainwindow/main.h"
#include "widgets/NumEdit.h"

#include <QSignalSpy>
#include <QTest>

using projects::ProjectDocument;

namespace {

rating::Case withJacketFlow(double mvk)
{
    rating::Case c;
    c.MVk = mvk;
    return c;
}

} // namespace

class TestDocument : public QObject {
    Q_OBJECT
private slots:
    void startsWithTheMainWindowsCaseUnchanged()
    {
        TmainF w;
        ProjectDocument d(&w);
        QCOMPARE(d.caseCount(), 1);
        QVERIFY(project::sameInputs(d.project().cases[0].inputs, w.inputs()));
        QVERIFY(d.outcomes()[0].ok());
        QCOMPARE(d.outcomes()[0].rating.values.QLabel, w.resultValues().QLabel);
        QVERIFY(!d.isModified());
        QCOMPARE(d.displayName(), QStringLiteral("Untitled"));
    }

    // A field typed into and left changes the current case, rated as the
    // window rates it, and marks the project changed.
    void aFieldLeftChangesTheCurrentCase()
    {
        TmainF w;
        ProjectDocument d(&w);
        QSignalSpy changed(&d, &ProjectDocument::changed);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.MVkEd->setFocus();
        w.MVkEd->selectAll();
        QTest::keyClicks(w.MVkEd, QStringLiteral("3"));
        QVERIFY(!d.isModified()); // typing alone is not yet a change of the case
        QTest::keyClick(w.MVkEd, Qt::Key_Tab);
        QCOMPARE(d.project().cases[0].inputs.MVk, 3.0);
        QCOMPARE(d.outcomes()[0].rating.values.QLabel, w.resultValues().QLabel);
        QVERIFY(d.isModified());
        QVERIFY(!changed.isEmpty());
    }

    void theCurrentCaseFollowsMovesAndRemovals()
    {
        TmainF w;
        ProjectDocument d(&w);
        QCOMPARE(d.addCase(withJacketFlow(2)), 1);
        QCOMPARE(d.addCase(withJacketFlow(3)), 2);
        QVERIFY(d.openCase(1));
        QCOMPARE(w.inputs().MVk, 2.0);

        d.moveCase(1, 2); // the current case moves: it stays current
        QCOMPARE(d.current(), 2);
        d.moveCase(0, 2); // one before it moves behind it
        QCOMPARE(d.current(), 1);
        QCOMPARE(d.project().cases[1].inputs.MVk, 2.0);
        QCOMPARE(w.inputs().MVk, 2.0);

        QCOMPARE(d.duplicateCase(0), 1);
        QCOMPARE(d.current(), 2);
        QCOMPARE(d.project().cases[2].inputs.MVk, 2.0);

        // Removing the current case puts the one that takes its place into
        // the main window.
        QVERIFY(d.removeCase(2));
        QCOMPARE(d.current(), 2);
        QCOMPARE(w.inputs().MVk, d.project().cases[2].inputs.MVk);
        while (d.caseCount() > 1) QVERIFY(d.removeCase(0));
        QVERIFY(!d.removeCase(0)); // a project keeps one case
        QCOMPARE(d.current(), 0);
        QCOMPARE(int(d.outcomes().size()), d.caseCount());
    }

    void updatingTheCurrentCaseUpdatesTheMainWindow()
    {
        TmainF w;
        ProjectDocument d(&w);
        d.addCase(withJacketFlow(5));
        d.updateCase(1, withJacketFlow(6)); // another case: the window stays
        QCOMPARE(w.inputs().MVk, 7.0);
        d.updateCase(0, withJacketFlow(4));
        QCOMPARE(w.inputs().MVk, 4.0);
        QCOMPARE(d.project().cases[0].inputs.MVk, 4.0);
        QCOMPARE(d.outcomes()[0].rating.values.QLabel, w.resultValues().QLabel);
    }

    // A case's fouling (a file's) goes into the main window with the rest
    // of its inputs and stays through recalculations and edits of the
    // others.
    void aCaseKeepsItsFouling()
    {
        TmainF w;
        ProjectDocument d(&w);
        project::Project p = ProjectDocument::newProject(1);
        p.cases[0].inputs.Rf = 0.0001;
        d.replace(p, QString());
        QCOMPARE(w.inputs().Rf, 0.0001);
        QVERIFY(w.recalculate()); // as a language chosen does
        QVERIFY(!d.hasUnsavedChanges());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.MVkEd->setFocus();
        w.MVkEd->selectAll();
        QTest::keyClicks(w.MVkEd, QStringLiteral("3"));
        QCOMPARE(d.snapshot().cases[0].inputs.Rf, 0.0001);
        QTest::keyClick(w.MVkEd, Qt::Key_Tab);
        QCOMPARE(d.project().cases[0].inputs.MVk, 3.0);
        QCOMPARE(d.project().cases[0].inputs.Rf, 0.0001);
    }

    void newNamesAreFree()
    {
        TmainF w;
        ProjectDocument d(&w);
        d.renameCase(0, QStringLiteral("Case 2"));
        QCOMPARE(d.newCaseName(), QStringLiteral("Case 3"));
        QCOMPARE(d.addCase(rating::Case{}), 1);
        QCOMPARE(QString::fromStdString(d.project().cases[1].name), QStringLiteral("Case 3"));
    }
};

QTEST_MAIN(TestDocument)
#include "test_document.moc"

// The selection list's table model on its own, under Qt's model tester:
// every change the window makes (a new list, an empty one, headers, the
// decimal separator) keeps the model consistent, also behind the sorting
// proxy the window puts over it.
#include "selectionwindow/EntryTable.h"

#include <QAbstractItemModelTester>
#include <QSortFilterProxyModel>
#include <QTest>

using namespace selectionwindow;

namespace {

selection::Result listFor(double dutyKW, int maxParallel = 10)
{
    selection::Request r;
    r.dutyKW = dutyKW;
    r.maxParallel = maxParallel;
    return selection::select(r);
}

} // namespace

class TestEntryModel : public QObject {
    Q_OBJECT
private slots:
    void staysConsistentThroughTheWindowsChanges()
    {
        EntryModel model;
        QSortFilterProxyModel sorted;
        sorted.setSourceModel(&model);
        sorted.setSortRole(SortRole);
        QAbstractItemModelTester modelTest(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAbstractItemModelTester proxyTest(&sorted, QAbstractItemModelTester::FailureReportingMode::QtTest);

        const selection::Result many = listFor(40), few = listFor(40, 2), none = listFor(80);
        QVERIFY(many.entries.size() > few.entries.size());
        QVERIFY(!few.entries.empty());
        QVERIFY(none.entries.empty());

        QStringList headers, tips;
        for (int c = 0; c < ColumnCount; ++c) headers << QStringLiteral("h%1\nunit").arg(c), tips << QString::number(c);
        model.setHeaders(headers, tips);
        sorted.sort(ColDuty, Qt::DescendingOrder);
        for (const selection::Result *r : {&many, &none, &few, &many}) {
            model.setEntries(r->entries);
            QCOMPARE(sorted.rowCount(), int(r->entries.size()));
            model.setDecimalSeparator(QStringLiteral(","));
            model.setDecimalSeparator(QStringLiteral("."));
        }

        // The proxy sorts by the number behind the text, not by the text.
        for (int row = 1; row < sorted.rowCount(); ++row)
            QVERIFY(sorted.index(row - 1, ColDuty).data(SortRole).toDouble() >=
                    sorted.index(row, ColDuty).data(SortRole).toDouble());
        // Text in the window's format: the type's name, numbers with the
        // separator set.
        model.setDecimalSeparator(QStringLiteral(","));
        const selection::Entry &e = many.entries.front();
        QCOMPARE(model.index(0, ColType).data().toString(), QString::fromLatin1(rating::TipusNevek[e.Tipus]));
        QCOMPARE(model.index(0, ColDuty).data().toString(),
                 QString::fromStdString(rating::FixedText(e.dutyKW, 2, ",")));
        QCOMPARE(model.rowOf(e.Tipus, e.Soros, e.Parh), 0);
        QCOMPARE(model.rowOf(e.Tipus, 151, e.Parh), -1);
    }
};

QTEST_GUILESS_MAIN(TestEntryModel)
#include "test_entrymodel.moc"

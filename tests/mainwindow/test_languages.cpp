// Language tables: exact texts where typos would hide, completeness of every
// language, font flags and the guard against a bad list position.
#include "languages/languages.h"

#include <QSet>
#include <QTest>

#include <limits>

using namespace lang;

class TestLanguages : public QObject
{
    Q_OBJECT

private slots:
    void listOrder();
    void exactTexts_data();
    void exactTexts();
    void everyTextPresent();
    void fontFlags_data();
    void fontFlags();
    void outOfRangeIndex_data();
    void outOfRangeIndex();
    void targetNames();
};

void TestLanguages::listOrder()
{
    const QStringList expected = {"Magyar", "English", "RUS", "Slovensko",
                                  "Deutsch", QString::fromUtf8("Roman\u0103"), "Italiano"};
    QCOMPARE(count(), int(expected.size()));
    QStringList names;
    for (int i = 0; i < count(); ++i)
        names << QString::fromUtf8(language(i)->name);
    QCOMPARE(names, expected);
    QCOMPARE(QString::fromUtf8(language(DefaultLanguage)->name), QStringLiteral("English"));
}

void TestLanguages::exactTexts_data()
{
    QTest::addColumn<int>("nyelv");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("text");

    auto row = [](const char *tag, int nyelv, Target t, const char16_t *s) {
        QTest::newRow(tag) << nyelv << int(t) << QString::fromUtf16(s);
    };
    // Written the way the product shows them, misspellings included.
    row("en title", 1, LbVARDOTORLEX, u"VARDO-TORLEX heat exchanger in couter flow (water-water)");
    row("en check box", 1, CbPwc, u"print with grafikon");
    row("en serial", 1, LbSoros, u"Serial");
    row("en parallel", 1, LbParhuzamos, u"Paralel");
    row("en heat duty", 1, SzHoteljesitmeny, u"Total heat transfer");
    row("en overall coeff", 1, SzHoatbocsT, u"Overall heat transfer coefficient");
    row("it velocity", 6, LbArseb, u"Velocit del flusso");
    row("de heat duty", 4, SzHoteljesitmeny, u"Gesamte w\u00e4rmet\u00fcbertragung");
    row("de type", 4, LbTipus, u"Typ");
    row("de parallel", 4, LbParhuzamos, u"Paralel");
    // The coil-side inlet caption keeps its trailing blank, the jacket-side one has none.
    row("ro inlet coil", 5, LbBelhomS, u"Temperatura de intrare ");
    row("ro inlet jacket", 5, LbBelhomK, u"Temperatura de intrare");
    row("ro title", 5, LbVARDOTORLEX, u"Parametri de func\u0163ionare la schimb\u0103torul (ap\u0103-ap\u0103)");
    row("ru heat duty", 2, SzHoteljesitmeny,
        u"\u0442\u0435\u043f\u043b\u043e\u0432\u0430\u044f \u043c\u043e\u0449\u043d\u043e\u0441\u0442\u044c");
    row("sk film coeff", 3, LbHoatad, u"S\u00fa\u010dinite\u013e odovzdania tepla");
    row("sk jacket", 3, SzBelhomK, u"Vstupn\u00e1 teplota na strane pl\u00e1\u0161\u0165a");
    row("hu title", 0, LbVARDOTORLEX,
        u"Ellen\u00e1ram\u00falag kapcsolt VARDO-TORLEX h\u0151cser\u00e9l\u0151 (v\u00edz-v\u00edz)");
    // Longest phrase: 50 characters (phrase fields hold at most 255).
    row("it longest phrase", 6, SzTerfaramK, u"Ampiezza del tasso di flusso nel lato a conchiglia");
}

void TestLanguages::exactTexts()
{
    QFETCH(int, nyelv);
    QFETCH(int, target);
    QFETCH(QString, text);
    const Language *l = language(nyelv);
    QVERIFY(l);
    QCOMPARE(lang::text(*l, Target(target)), text);
}

void TestLanguages::everyTextPresent()
{
    for (int i = 0; i < count(); ++i) {
        const Language &l = *language(i);
        for (int t = 0; t < TargetCount; ++t) {
            const QByteArray raw(l.texts[t]);
            const QString s = QString::fromUtf8(raw);
            QVERIFY2(!s.trimmed().isEmpty(), qPrintable(QString("%1 %2").arg(l.name, targetName(Target(t)))));
            // Valid UTF-8 that survives the round trip (no mangled bytes).
            QCOMPARE(s.toUtf8(), raw);
            if (isPhrase(Target(t)))
                QVERIFY(s.size() <= 50);
        }
        // Every language writes all targets in its own words: the title and
        // the check box caption differ from every other language's.
        for (int j = 0; j < i; ++j) {
            QVERIFY(QByteArray(l.texts[LbVARDOTORLEX]) != QByteArray(language(j)->texts[LbVARDOTORLEX]));
            QVERIFY(QByteArray(l.texts[CbPwc]) != QByteArray(language(j)->texts[CbPwc]));
        }
    }
    // Only the Russian texts are Cyrillic.
    for (int i = 0; i < count(); ++i) {
        const Language &l = *language(i);
        bool cyrillic = false;
        for (int t = 0; t < TargetCount; ++t)
            for (QChar c : QString::fromUtf8(l.texts[t]))
                cyrillic |= c.script() == QChar::Script_Cyrillic;
        QCOMPARE(cyrillic, i == 2);
    }
}

void TestLanguages::fontFlags_data()
{
    QTest::addColumn<int>("nyelv");
    QTest::addColumn<int>("charset");
    QTest::addColumn<bool>("title7");
    QTest::addColumn<bool>("chart7");
    QTest::newRow("Magyar") << 0 << 1 << false << false;
    QTest::newRow("English") << 1 << 1 << false << false;
    QTest::newRow("RUS") << 2 << 204 << true << true;
    QTest::newRow("Slovensko") << 3 << 1 << true << false;
    QTest::newRow("Deutsch") << 4 << 1 << false << false;
    QTest::newRow("Romana") << 5 << 1 << false << false;
    QTest::newRow("Italiano") << 6 << 1 << false << false;
}

void TestLanguages::fontFlags()
{
    QFETCH(int, nyelv);
    QFETCH(int, charset);
    QFETCH(bool, title7);
    QFETCH(bool, chart7);
    const Language *l = language(nyelv);
    QVERIFY(l);
    QCOMPARE(l->charset, charset);
    QCOMPARE(l->titleSize7, title7);
    QCOMPARE(l->chartSize7, chart7);
}

void TestLanguages::outOfRangeIndex_data()
{
    QTest::addColumn<int>("nyelv");
    QTest::newRow("-1") << -1;
    QTest::newRow("7") << 7;
    QTest::newRow("int min") << std::numeric_limits<int>::min();
    QTest::newRow("int max") << std::numeric_limits<int>::max();
}

void TestLanguages::outOfRangeIndex()
{
    QFETCH(int, nyelv);
    QVERIFY(language(nyelv) == nullptr);
}

void TestLanguages::targetNames()
{
    QCOMPARE(int(TargetCount), 25);
    QCOMPARE(targetName(LbVARDOTORLEX), "LbVARDOTORLEX");
    QCOMPARE(targetName(SzHoteljesitmeny), "SzHoteljesitmeny");
    QCOMPARE(targetName(CbPwc), "CbPwc");
    QVERIFY(targetName(TargetCount) == nullptr);
    QSet<QByteArray> names;
    int phrases = 0;
    for (int t = 0; t < TargetCount; ++t) {
        const QByteArray n = targetName(Target(t));
        names << n;
        // Phrase fields are exactly the Sz... names.
        QCOMPARE(isPhrase(Target(t)), n.startsWith("Sz"));
        phrases += isPhrase(Target(t));
    }
    QCOMPARE(names.size(), int(TargetCount));
    QCOMPARE(phrases, 7);
}

QTEST_APPLESS_MAIN(TestLanguages)
#include "test_languages.moc"

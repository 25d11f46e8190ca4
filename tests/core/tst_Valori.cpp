#include "core/Valori.h"

#include <QtTest>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

class TestValori : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale::c()); }

    void valori_data()
    {
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<double>("numero"); // ValNum
        QTest::addColumn<QString>("testo"); // ValTesto with the default "d"
        const double marzo2010 = QDate(1899, 12, 30).daysTo(QDate(2010, 3, 12));
        QTest::newRow("null") << QVariant() << 0.0 << u"d"_s;
        QTest::newRow("null field") << QVariant(QMetaType::fromType<QString>()) << 0.0 << u"d"_s;
        QTest::newRow("blank") << QVariant(u"   "_s) << 0.0 << u"d"_s;
        QTest::newRow("starts with NUL") << QVariant(u"\0 7"_s) << 0.0 << u"d"_s;
        QTest::newRow("spaced 7") << QVariant(u" 7 "_s) << 7.0 << u" 7 "_s;
        QTest::newRow("7a") << QVariant(u"7a"_s) << 0.0 << u"7a"_s;
        QTest::newRow("sign and fraction") << QVariant(u"-2.5"_s) << -2.5 << u"-2.5"_s;
        QTest::newRow("infinity") << QVariant(u"inf"_s) << 0.0 << u"inf"_s;
        QTest::newRow("plus sign, fraction only") << QVariant(u"+.5"_s) << 0.5 << u"+.5"_s;
        QTest::newRow("exponent") << QVariant(u"1e3"_s) << 0.0 << u"1e3"_s;
        QTest::newRow("group separator") << QVariant(u"1,000"_s) << 0.0 << u"1,000"_s;
        QTest::newRow("inner space") << QVariant(u"1 000"_s) << 0.0 << u"1 000"_s;
        QTest::newRow("TAB is no space") << QVariant(u"\t7"_s) << 0.0 << u"\t7"_s;
        QTest::newRow("sign alone") << QVariant(u"-"_s) << 0.0 << u"-"_s;
        QTest::newRow("date") << QVariant(u"12/03/2010"_s) << marzo2010 << u"12/03/2010"_s;
        QTest::newRow("date and time")
            << QVariant(u"12/3/2010 18:00"_s) << marzo2010 + 0.75 << u"12/3/2010 18:00"_s;
        QTest::newRow("two-digit year") << QVariant(u"12/03/10"_s) << marzo2010 << u"12/03/10"_s;
        QTest::newRow("before the origin") << QVariant(u"29/12/1899"_s) << -1.0 << u"29/12/1899"_s;
        QTest::newRow("not a date") << QVariant(u"1/2/x"_s) << 0.0 << u"1/2/x"_s;
        QTest::newRow("impossible day") << QVariant(u"31/02/2010"_s) << 0.0 << u"31/02/2010"_s;
        QTest::newRow("three slashes") << QVariant(u"1/2/3/4"_s) << 0.0 << u"1/2/3/4"_s;
        QTest::newRow("int field") << QVariant(42) << 42.0 << u"42"_s;
        QTest::newRow("date field") << QVariant(QDateTime(QDate(2010, 3, 12), QTime(6, 0, 1)))
                                    << marzo2010 + 0.25 + 1 / 86400.0 << u"12/03/2010 06:00:01"_s;
    }
    void valori()
    {
        QFETCH(QVariant, valore);
        QFETCH(double, numero);
        QFETCH(QString, testo);
        QCOMPARE(ValNum(valore), numero);
        QCOMPARE(ValTesto(valore, u"d"_s), testo);
    }

    void arrotondamentoEPredefiniti()
    {
        // Halves go to the even neighbour; 16-bit values are clamped to their range.
        QVERIFY(ArrotondaPari(2.5) == 2 && ArrotondaPari(3.5) == 4 && ArrotondaPari(-2.5) == -2);
        QVERIFY(ArrotondaPari(2.5001) == 3 && ArrotondaPari(std::nan("")) == 0);
        QVERIFY(InteroCorto(40000.0) == 32767 && InteroCorto(-40000.0) == -32768 && InteroCorto(3.5) == 4);
        QCOMPARE(ValTesto(QVariant()), u" "_s);
        QCOMPARE(ValTesto(QVariant(), u"   "_s), u" "_s);
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        QCOMPARE(ValNum(u"2,5"_s), 2.5);
        QCOMPARE(ValNum(u"1.000"_s), 0.0); // the group separator makes no number
        QCOMPARE(ValNum(u"2.5"_s), 0.0);
        QCOMPARE(TestoNumero(11220.5), u"11220,5"_s);
        QCOMPARE(TestoNumero(123456), u"123456"_s); // no group separator
    }
};

QTEST_GUILESS_MAIN(TestValori)
#include "tst_Valori.moc"

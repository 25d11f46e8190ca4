#include "core/Valori.h"

#include <QtTest>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

class TestValori : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale::c()); }

    void valNum_data()
    {
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<double>("numero");
        const double marzo2010 = QDate(1899, 12, 30).daysTo(QDate(2010, 3, 12));
        QTest::newRow("null field") << QVariant(QMetaType::fromType<QString>()) << 0.0;
        QTest::newRow("spaced -2.5") << QVariant(u" -2.5 "_s) << -2.5;
        // What a lenient conversion would take: none of it is a number here.
        for (const QString& n : {u"1e3"_s, u"1,000"_s, u"1 000"_s, u"\t7"_s, u"-"_s})
            QTest::addRow("%s", qPrintable(n)) << QVariant(n) << 0.0;
        QTest::newRow("date and time") << QVariant(u"12/3/2010 18:00"_s) << marzo2010 + 0.75;
        QTest::newRow("two-digit year") << QVariant(u"12/03/10"_s) << marzo2010;
        QTest::newRow("impossible day") << QVariant(u"31/02/2010"_s) << 0.0;
        QTest::newRow("int field") << QVariant(42) << 42.0;
        QTest::newRow("date field") << QVariant(QDateTime(QDate(2010, 3, 12), QTime(6, 0, 1)))
                                    << marzo2010 + 0.25 + 1 / 86400.0;
    }
    void valNum()
    {
        QFETCH(QVariant, valore);
        QTEST(ValNum(valore), "numero");
    }

    // ValTesto keeps the text as it is; null, blank or starting with NUL give the default, a blank
    // default a single space.
    void testoArrotondamentoELocale()
    {
        QCOMPARE((QStringList{ValTesto(QVariant(), u"   "_s), ValTesto(u"   "_s, u"d"_s),
                              ValTesto(u"\0 7"_s, u"d"_s), ValTesto(u" 7 "_s, u"d"_s)}),
                 (QStringList{u" "_s, u"d"_s, u"d"_s, u" 7 "_s}));
        QCOMPARE((QList<qint64>{ArrotondaPari(2.5), ArrotondaPari(3.5), ArrotondaPari(-2.5),
                                ArrotondaPari(2.5001), ArrotondaPari(std::nan(""))}),
                 (QList<qint64>{2, 4, -2, 3, 0}));
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        QCOMPARE((QList<double>{ValNum(u"2,5"_s), ValNum(u"1.000"_s), ValNum(u"2.5"_s)}),
                 (QList<double>{2.5, 0, 0}));
        QCOMPARE(TestoNumero(11220.5) + u' ' + TestoNumero(123456), u"11220,5 123456"_s);
    }
};

QTEST_GUILESS_MAIN(TestValori)
#include "tst_Valori.moc"

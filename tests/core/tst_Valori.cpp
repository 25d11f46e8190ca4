#include "core/Valori.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestValori : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale::c()); }

    void valNum_data()
    {
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<double>("atteso");

        const double marzo2010 = QDate(1899, 12, 30).daysTo(QDate(2010, 3, 12));
        QTest::newRow("null") << QVariant() << 0.0;
        QTest::newRow("null field") << QVariant(QMetaType::fromType<QString>()) << 0.0;
        QTest::newRow("empty") << QVariant(u""_s) << 0.0;
        QTest::newRow("blank") << QVariant(u"   "_s) << 0.0;
        QTest::newRow("spaced 7") << QVariant(u"  7  "_s) << 7.0;
        QTest::newRow("7a") << QVariant(u"7a"_s) << 0.0;
        QTest::newRow("negative") << QVariant(u"-12"_s) << -12.0;
        QTest::newRow("plus") << QVariant(u"+3"_s) << 3.0;
        QTest::newRow("fraction") << QVariant(u"2.5"_s) << 2.5;
        QTest::newRow("date") << QVariant(u"12/03/2010"_s) << marzo2010;
        QTest::newRow("date 1 digit")
            << QVariant(u"1/2/2010"_s) << double(QDate(1899, 12, 30).daysTo(QDate(2010, 2, 1)));
        QTest::newRow("date and time") << QVariant(u"12/03/2010 18:00"_s) << marzo2010 + 0.75;
        QTest::newRow("two-digit year") << QVariant(u"12/03/10"_s) << marzo2010;
        QTest::newRow("serial origin") << QVariant(u"30/12/1899"_s) << 0.0;
        QTest::newRow("before origin") << QVariant(u"29/12/1899"_s) << -1.0;
        QTest::newRow("not a date") << QVariant(u"1/2/x"_s) << 0.0;
        QTest::newRow("impossible day") << QVariant(u"31/02/2010"_s) << 0.0;
        QTest::newRow("three slashes") << QVariant(u"1/2/3/4"_s) << 0.0;
        QTest::newRow("one slash") << QVariant(u"1/2"_s) << 0.0;
        QTest::newRow("int field") << QVariant(42) << 42.0;
        QTest::newRow("double field") << QVariant(0.25) << 0.25;
        QTest::newRow("date field") << QVariant(QDateTime(QDate(2010, 3, 12), QTime(6, 0)))
                                    << marzo2010 + 0.25;
        QTest::newRow("infinity text") << QVariant(u"inf"_s) << 0.0;
    }
    void valNum()
    {
        QFETCH(QVariant, valore);
        QFETCH(double, atteso);
        QCOMPARE(ValNum(valore), atteso);
    }

    void valNumSeparatoreDelLocale()
    {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        QCOMPARE(ValNum(u"2,5"_s), 2.5);
        QCOMPARE(TestoNumero(11220.5), u"11220,5"_s);
        QCOMPARE(TestoNumero(123456), u"123456"_s);
        QCOMPARE(ValNum(TestoNumero(-0.75)), -0.75);
    }

    void valTesto_data()
    {
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<QString>("predefinito");
        QTest::addColumn<QString>("atteso");

        QTest::newRow("text kept untrimmed") << QVariant(u" a "_s) << QString() << u" a "_s;
        QTest::newRow("null, no default") << QVariant() << QString() << u" "_s;
        QTest::newRow("null field") << QVariant(QMetaType::fromType<QString>()) << u"x"_s << u"x"_s;
        QTest::newRow("blank default") << QVariant() << u"   "_s << u" "_s;
        QTest::newRow("empty text") << QVariant(u""_s) << u"d"_s << u"d"_s;
        QTest::newRow("spaces only") << QVariant(u"   "_s) << u"d"_s << u"d"_s;
        QTest::newRow("starts with NUL") << QVariant(QString(QChar(u'\0')) + u"abc"_s) << u"d"_s << u"d"_s;
        QTest::newRow("number") << QVariant(12) << u"d"_s << u"12"_s;
        QTest::newRow("date field") << QVariant(QDateTime(QDate(2010, 3, 12), QTime(9, 5, 1))) << QString()
                                    << u"12/03/2010 09:05:01"_s;
    }
    void valTesto()
    {
        QFETCH(QVariant, valore);
        QFETCH(QString, predefinito);
        QFETCH(QString, atteso);
        QCOMPARE(ValTesto(valore, predefinito), atteso);
    }

    void arrotondamento_data()
    {
        QTest::addColumn<double>("numero");
        QTest::addColumn<qint64>("atteso");
        QTest::addColumn<int>("corto");

        QTest::newRow("2.5") << 2.5 << qint64(2) << 2;
        QTest::newRow("3.5") << 3.5 << qint64(4) << 4;
        QTest::newRow("-2.5") << -2.5 << qint64(-2) << -2;
        QTest::newRow("-3.5") << -3.5 << qint64(-4) << -4;
        QTest::newRow("2.4999") << 2.4999 << qint64(2) << 2;
        QTest::newRow("2.5001") << 2.5001 << qint64(3) << 3;
        QTest::newRow("half of screen") << 11220.5 << qint64(11220) << 11220;
        QTest::newRow("beyond 16 bits") << 40000.0 << qint64(40000) << 32767;
        QTest::newRow("below 16 bits") << -40000.0 << qint64(-40000) << -32768;
        QTest::newRow("nan") << std::nan("") << qint64(0) << 0;
    }
    void arrotondamento()
    {
        QFETCH(double, numero);
        QFETCH(qint64, atteso);
        QFETCH(int, corto);
        QCOMPARE(ArrotondaPari(numero), atteso);
        QCOMPARE(int(InteroCorto(numero)), corto);
    }
};

QTEST_GUILESS_MAIN(TestValori)
#include "tst_Valori.moc"

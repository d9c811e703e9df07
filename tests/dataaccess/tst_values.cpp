#include "Decimal.h"
#include "Formats.h"
#include "TestDatabase.h"
#include <QtTest>

// Decimals and the text forms that fields show, in German notation.
class TestValues : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void parseGerman_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("scale");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("units");
        QTest::newRow("comma") << "0,3" << 4 << true << qint64(3000);
        QTest::newRow("grouped") << "1.234,5" << 4 << true << qint64(12345000);
        QTest::newRow("negative") << "-2,25" << 4 << true << qint64(-22500);
        QTest::newRow("round half up") << "6,87505" << 4 << true << qint64(68751);
        QTest::newRow("whole number") << "12" << 0 << true << qint64(12);
        QTest::newRow("blank around") << "  7,5 " << 1 << true << qint64(75);
        QTest::newRow("point is not a decimal separator") << "0.5" << 4 << false << qint64(0);
        QTest::newRow("bad grouping") << "12.34" << 4 << false << qint64(0);
        QTest::newRow("letters") << "abc" << 4 << false << qint64(0);
        QTest::newRow("empty") << "" << 4 << false << qint64(0);
        QTest::newRow("two commas") << "1,2,3" << 4 << false << qint64(0);
        QTest::newRow("too long") << "12345678901234567" << 4 << false << qint64(0);
    }
    void parseGerman()
    {
        QFETCH(QString, text);
        QFETCH(int, scale);
        QFETCH(bool, ok);
        QFETCH(qint64, units);
        const auto d = TDecimal::parse(text, scale, QLocale());
        QCOMPARE(d.has_value(), ok);
        if (ok) {
            QCOMPARE(d->units(), units);
            QCOMPARE(d->scale(), scale);
        }
    }

    void compareAcrossScales()
    {
        QVERIFY(TDecimal(3000, 4) == TDecimal(3, 1));
        QVERIFY(TDecimal(3001, 4) > TDecimal(3, 1));
        QCOMPARE(TDecimal(12345, 4).rescaled(2).units(), qint64(123)); // 1.2345 -> 1.23
        QCOMPARE(TDecimal(-12355, 4).rescaled(2).units(), qint64(-124));
        QCOMPARE(TDecimal(3000, 4).toPlainString(), QStringLiteral("0.3"));
        QCOMPARE(TDecimal(-50000, 4).toPlainString(), QStringLiteral("-5"));
    }

    void numberPatterns_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("grouped two places") << qint64(12345000) << "#,##0.00" << "1.234,50";
        QTest::newRow("small") << qint64(3000) << "#,##0.00" << "0,30";
        QTest::newRow("rounds half away") << qint64(68750) << "#,##0.00" << "6,88";
        QTest::newRow("four places") << qint64(3000) << "0.0000" << "0,3000";
        QTest::newRow("one place") << qint64(162500) << "#,##0.0" << "16,3";
        QTest::newRow("millions") << qint64(12345678901) << "#,##0.0000" << "1.234.567,8901";
        QTest::newRow("negative") << qint64(-15000) << "#,##0.00" << "-1,50";
        QTest::newRow("optional places") << qint64(15000) << "0.##" << "1,5";
    }
    void numberPatterns()
    {
        QFETCH(qint64, units);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(formats::formatNumber(TDecimal(units, 4), pattern), expected);
    }

    void datePatterns_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("date and time") << "dd.mm.yyyy hh:mm" << "31.01.2024 14:05";
        QTest::newRow("date only") << "dd.mm.yyyy" << "31.01.2024";
        QTest::newRow("twelve-hour clock") << "dd.mm.yyyy hh:mm AMPM" << "31.01.2024 02:05 PM";
    }
    void datePatterns()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        const QDateTime dt(QDate(2024, 1, 31), QTime(14, 5));
        QCOMPARE(formats::formatDateTime(dt, pattern, QLocale(QLocale::English)), expected);
        if (!pattern.contains(QStringLiteral("AMPM")))
            QCOMPARE(formats::formatDateTime(dt, pattern), expected);
    }
};

QTEST_GUILESS_MAIN(TestValues)
#include "tst_values.moc"

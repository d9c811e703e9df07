#include "LabelPayload.h"
#include <QtTest>

class TestLabelPayload : public QObject {
    Q_OBJECT
private slots:
    void roundTrip()
    {
        const TLabelPayload payload{101, 1001, QStringLiteral("85")};
        const QString text = labelPayloadText(payload);
        QCOMPARE(text, QStringLiteral("VPP1;K101;G1001;N85"));
        const auto parsed = parseLabelPayload(text);
        QVERIFY(parsed);
        QCOMPARE(parsed->customerId, 101);
        QCOMPARE(parsed->deviceId, 1001);
        QCOMPARE(parsed->deviceNumber, QStringLiteral("85"));
    }

    void scannedTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isPayload");
        QTest::newRow("with blanks and lower case") << QStringLiteral("  vpp1;k7;g8;n  ") << true;
        QTest::newRow("eighteen digit number") << QStringLiteral("VPP1;K1;G2;N999999999999999999") << true;
        QTest::newRow("plain search text") << QStringLiteral("Bohrmaschine") << false;
        QTest::newRow("other prefix") << QStringLiteral("VPP2;K1;G2;N3") << false;
        QTest::newRow("key too large") << QStringLiteral("VPP1;K99999999999;G2;N3") << false;
        QTest::newRow("missing part") << QStringLiteral("VPP1;K1;N3") << false;
        QTest::newRow("fraction as number") << QStringLiteral("VPP1;K1;G2;N3,5") << false;
    }
    void scannedTexts()
    {
        QFETCH(QString, text);
        QFETCH(bool, isPayload);
        QCOMPARE(parseLabelPayload(text).has_value(), isPayload);
    }
};

QTEST_GUILESS_MAIN(TestLabelPayload)
#include "tst_labelpayload.moc"

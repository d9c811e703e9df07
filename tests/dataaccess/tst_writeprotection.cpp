// Whether a file counts as write-protected, from its mode: read from the
// permission bits, so that it holds for root too, whom the system would let
// write anyway.
#include "WriteProtection.h"
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

class TestWriteProtection : public QObject {
    Q_OBJECT
private slots:
    void fromTheMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("writeProtected");
        QTest::newRow("0644") << 0644 << false;
        QTest::newRow("0600") << 0600 << false;
        QTest::newRow("0664 of a group") << 0664 << false;
        QTest::newRow("0444") << 0444 << true;
        QTest::newRow("0400") << 0400 << true;
        QTest::newRow("0000") << 0000 << true;
    }
    void fromTheMode()
    {
        QFETCH(int, mode);
        QFETCH(bool, writeProtected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Prüf ordner.fdb"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode)) == 0);
        QCOMPARE(isWriteProtected(path), writeProtected);
    }
};

QTEST_GUILESS_MAIN(TestWriteProtection)
#include "tst_writeprotection.moc"

// Reading exports without a database: profiles and their JSON, the text
// encodings, splitting lines into cells, and reading a cell.
#include "DelimitedText.h"
#include "ImportCells.h"
#include "ImportProfile.h"
#include "TextDecoding.h"
#include "ExportFiles.h"
#include <QtTest>

class TestImportCore : public QObject {
    Q_OBJECT
private slots:
    void profileTravelsAsJson()
    {
        TImportProfile p = profileFor({u'\t', false, TextEncoding::Windows1252, false, "\r\n"});
        p.name = QStringLiteral("Prüfgerät Süd");
        p.customerByKey = true;
        QString error;
        const auto back = TImportProfile::fromJsonText(p.toJsonText(), &error);
        QVERIFY2(back, qPrintable(error));
        QCOMPARE(back->name, p.name);
        QCOMPARE(back->separator, QChar(u'\t'));
        QCOMPARE(back->encoding, TextEncoding::Windows1252);
        QCOMPARE(back->decimalComma, false);
        QCOMPARE(back->customerByKey, true);
        QVERIFY(back->columns == p.columns);
    }

    void faultyProfilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("message");
        const QByteArray head = R"({"format":"velmora-importprofil","name":"X",)";
        QTest::newRow("not json") << QByteArray("{kaputt") << "kein gültiges JSON";
        QTest::newRow("other format") << QByteArray(R"({"name":"X"})") << "kein Importprofil";
        QTest::newRow("encoding") << head + R"("zeichensatz":"UTF-16","spalten":{}})" << "UTF-16";
        QTest::newRow("no device") << head + R"("spalten":{"datum":1,"sichtpruefung":2,"funktionspruefung":3}})"
                                   << "QR-Code oder Kunde und Prüflingsnummer";
        QTest::newRow("column twice") << head + R"("spalten":{"qrcode":1,"datum":1,"sichtpruefung":2,"funktionspruefung":3}})"
                                      << "Spalte 1 ist zweimal vergeben";
        QTest::newRow("unknown column") << head + R"("spalten":{"farbe":1}})" << "„farbe“";
        QTest::newRow("comma twice") << head + R"("trennzeichen":",","dezimalkomma":true,"spalten":{"qrcode":1,"datum":2,)"
                                                R"("sichtpruefung":3,"funktionspruefung":4}})"
                                     << "Dezimalzeichen";
    }
    void faultyProfilesAreRefused()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, message);
        QString error;
        QVERIFY(!TImportProfile::fromJsonText(json, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    void windows1252HasItsOwnSigns()
    {
        const QByteArray bytes("\x80 \x84" "Z\x93 \x96 \x81 \xE4");
        QCOMPARE(decodeWindows1252(bytes), QStringLiteral("€ „Z“ – \uFFFD ä"));
        QCOMPARE(decodeExport(bytes, TextEncoding::Latin1).text, QString::fromLatin1(bytes));
    }

    void utf8IsCheckedAndItsMarkSkipped()
    {
        QCOMPARE(decodeExport("\xEF\xBB\xBFK\xC3\xBC" "che", TextEncoding::Utf8).text, QStringLiteral("Küche"));
        const TDecodedText latin = decodeExport("K\xFC" "che", TextEncoding::Utf8);
        QVERIFY(latin.text.isEmpty());
        QVERIFY(latin.error.contains(u"nicht in UTF-8"));
    }

    void emptyAndBinaryFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QByteArray() << "Die Datei ist leer.";
        QTest::newRow("blank lines") << QByteArray("\r\n \n") << "Die Datei ist leer.";
        QTest::newRow("nul byte") << QByteArray("PK\x03\x04\x00\x00" "abc", 9) << "Binärdaten";
    }
    void emptyAndBinaryFilesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QVERIFY(decodeExport(bytes, TextEncoding::Utf8).error.contains(message));
    }

    void linesSplitInEveryDialect()
    {
        const TSplitText split = splitDelimited(QStringLiteral("a;\"b;1\";c\r\nd;\"e \"\"x\"\"\nf\";g\rh;i;j\n\n"), u';', u'"');
        QCOMPARE(split.records.size(), 3);
        QCOMPARE(split.records[0].cells, QStringList({"a", "b;1", "c"}));
        QCOMPARE(split.records[1].cells, QStringList({"d", "e \"x\"\nf", "g"}));
        QCOMPARE(split.records[1].line, 2);
        QCOMPARE(split.records[2].line, 4);
        QVERIFY(!split.endsWithoutLineEnd);
        QVERIFY(!split.endsInsideQuotes);
        const TSplitText cut = splitDelimited(QStringLiteral("a\tb\nc\t\"d"), u'\t', u'"');
        QVERIFY(cut.endsWithoutLineEnd);
        QVERIFY(cut.endsInsideQuotes);
        QCOMPARE(cut.records.size(), 2);
    }

    void measuredValuesAreNeverGuessed_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<bool>("comma");
        QTest::addColumn<QString>("value"); // plain, or empty when refused or empty
        QTest::addColumn<QString>("message");
        QTest::newRow("comma") << "0,12" << true << "0.12" << "";
        QTest::newRow("point") << " 19.99 " << false << "19.99" << "";
        QTest::newRow("whole") << "2" << true << "2" << "";
        QTest::newRow("empty") << "" << true << "" << "";
        QTest::newRow("unit") << "0,12 Ω" << true << "" << "Einheit";
        QTest::newRow("unit glued") << "0.12mA" << false << "" << "Einheit";
        QTest::newRow("other sign") << "0.12" << true << "" << "Dezimalzeichen";
        QTest::newRow("grouping") << "1.234,5" << true << "" << "keine Zahl";
        QTest::newRow("negative") << "-0,1" << true << "" << "negativ";
        QTest::newRow("text") << "OL" << true << "" << "keine Zahl";
        QTest::newRow("over range") << ">19,99" << true << "" << "keine Zahl";
    }
    void measuredValuesAreNeverGuessed()
    {
        QFETCH(QString, cell);
        QFETCH(bool, comma);
        QFETCH(QString, value);
        QFETCH(QString, message);
        const TCellNumber n = parseMeasuredValue(cell, comma, QStringLiteral("Schutzleiterwiderstand"));
        QCOMPARE(n.value ? n.value->toPlainString() : QString(), value);
        if (message.isEmpty()) {
            QVERIFY(n.error.isEmpty());
        } else {
            QVERIFY2(n.error.contains(message), qPrintable(n.error));
            QVERIFY(n.error.startsWith(QStringLiteral("Schutzleiterwiderstand: „%1“").arg(cell.trimmed())));
        }
    }

    void checksReadAsInstrumentsWriteThem_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("passed"); // 1, 0, -1 empty, -2 refused
        for (const char *yes : {"bestanden", "i.O.", "OK", "ja", "1", "PASS"})
            QTest::newRow(yes) << QString::fromUtf8(yes) << 1;
        for (const char *no : {"nicht bestanden", "n.i.O.", "Fehler", "nein", "0", "FAIL"})
            QTest::newRow(no) << QString::fromUtf8(no) << 0;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("maybe") << "vielleicht" << -2;
    }
    void checksReadAsInstrumentsWriteThem()
    {
        QFETCH(QString, cell);
        QFETCH(int, passed);
        const TCellCheck c = parseCheck(cell, QStringLiteral("Sichtprüfung"));
        QCOMPARE(c.passed ? int(*c.passed) : c.error.isEmpty() ? -1 : -2, passed);
    }

    void datesFollowTheProfile_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time"); // "-" for no time column
        QTest::addColumn<QString>("timeFormat");
        QTest::addColumn<QDateTime>("expected");
        QTest::addColumn<bool>("missing");
        const QDateTime t(QDate(2025, 11, 3), QTime(9, 15));
        QTest::newRow("two columns") << "03.11.2025" << "09:15" << "HH:mm" << t << false;
        QTest::newRow("one column") << "03.11.2025 09:15" << "-" << "HH:mm" << t << false;
        QTest::newRow("date only") << "03.11.2025" << "-" << "" << QDateTime(QDate(2025, 11, 3), QTime(0, 0)) << false;
        QTest::newRow("no date") << "" << "09:15" << "HH:mm" << QDateTime() << true;
        QTest::newRow("no time") << "03.11.2025" << "" << "HH:mm" << QDateTime() << true;
        QTest::newRow("wrong format") << "2025-11-03" << "09:15" << "HH:mm" << QDateTime() << false;
        QTest::newRow("no such day") << "31.02.2025" << "09:15" << "HH:mm" << QDateTime() << false;
    }
    void datesFollowTheProfile()
    {
        QFETCH(QString, date);
        QFETCH(QString, time);
        QFETCH(QString, timeFormat);
        QFETCH(QDateTime, expected);
        QFETCH(bool, missing);
        const TCellDateTime d = parseDateTime(date, time == u"-" ? std::nullopt : std::optional<QString>(time),
                                              QStringLiteral("dd.MM.yyyy"), timeFormat);
        QCOMPARE(d.value, expected);
        QCOMPARE(d.missing, missing);
        QCOMPARE(d.error.isEmpty(), expected.isValid());
    }
};

QTEST_GUILESS_MAIN(TestImportCore)
#include "tst_importcore.moc"

// What a protocol's table says about each line: a failing line stands out
// in bold with "nicht bestanden", a protective conductor that a device of
// class II or III does not have is "entfällt", and every PDF is proposed
// under a name that tells what it holds.
#include "AppTestMain.h"
#include "LayoutCheck.h"
#include "ReportSelection.h"
#include "ReportWorld.h"
#include "UEtiketten.h"
#include "UMain.h"
#include "UPreviewExt.h"
#include <QComboBox>
#include <QFileInfo>

namespace {

const QStringList kTableLines = {"Sichtprüfung",    "Schutzleiterwiderstand", "Isolationswiderstand", "Ersatzableitstrom",
                                 "Differenzstrom", "Berührungsstrom",        "Funktionsprüfung"};

// One customer with one device of a protection class and one inspection of
// 10.12.2026, whose columns after the device are given.
QStringList oneInspection(const QString &customer, const QString &device, const QString &schutzklasse, const QString &columns,
                          const QString &values)
{
    return {QStringLiteral("INSERT INTO KUNDEN (ID, NAME) VALUES (300, '%1')").arg(customer),
            QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, PRUEFINTERVAL, KUNDEN_ID, SCHUTZKLASSE) "
                           "VALUES (3000, '%1', 7, 12, 300, %2)")
                .arg(device, schutzklasse.isEmpty() ? QStringLiteral("NULL") : QStringLiteral("'%1'").arg(schutzklasse)),
            QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID%1) "
                           "VALUES (30000, '2026-12-10 10:00', '2027-12-10', 11, 11, 3000%2)")
                .arg(columns.isEmpty() ? QString() : QStringLiteral(", ") + columns, values.isEmpty() ? QString() : QStringLiteral(", ") + values)};
}

struct Running : TRunningProgram {
    explicit Running(const QStringList &changes) : TRunningProgram(changes, QDateTime(QDate(2026, 12, 11), QTime(8, 0))) {}

    std::unique_ptr<TPreviewExt> protocol()
    {
        TReportSelection selection;
        selection.inspectionId = 30000;
        return TPreviewExt::create(selection, QStringLiteral("Prüfprotokoll"), frmMain);
    }
};

// The texts of a line of the protocol's table, left to right, each with
// whether it is printed bold.
struct Line {
    QStringList texts;
    QList<bool> bold;
};

Line lineOf(const TPageStream &stream, const QString &label)
{
    const TPage &page = stream.pages.first();
    const auto start = std::find_if(page.begin(), page.end(), [&](const TPiece &p) { return p.kind == TPiece::Kind::Text && p.text == label; });
    if (start == page.end())
        return {};
    QList<const TPiece *> pieces;
    for (const TPiece &p : page)
        if (p.kind == TPiece::Kind::Text && qAbs(p.baseline - start->baseline) < 2)
            pieces << &p;
    std::sort(pieces.begin(), pieces.end(), [](const TPiece *a, const TPiece *b) { return a->rect.left() < b->rect.left(); });
    Line line;
    for (const TPiece *p : pieces) {
        line.texts << p->text;
        line.bold << p->font->bold();
    }
    return line;
}

QString pdfLayoutText(const QString &path)
{
    return runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
}

// The line of the PDF's text that holds a label.
QString pdfLine(const QString &text, const QString &label)
{
    for (const QString &line : text.split(u'\n'))
        if (line.contains(label))
            return line.simplified();
    return QString();
}

} // namespace

class TestProtocolLines : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void failingLineIsBold_data()
    {
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QString>("values");
        QTest::addColumn<QString>("failing");
        const QString checks = QStringLiteral("SICHTPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN");
        const QString measured = checks + QStringLiteral(", SCHUTZLEITWIDERSTAND, SCHUTZLEITWIDERSTAND_BESTANDEN, "
                                                         "ISOLATIONSPRUEFUNG, ISOLATIONSPRUEFUNG_BESTANDEN, "
                                                         "ERSATZABLEITSTROM, ERSATZABLEITSTROM_BESTANDEN");
        QTest::newRow("alles bestanden") << measured << "1, 1, 0.1, 1, 20, 1, 0.2, 1" << "";
        QTest::newRow("Sichtprüfung") << checks << "0, 1" << "Sichtprüfung";
        QTest::newRow("Schutzleiter") << measured << "1, 1, 0.9, 0, 20, 1, 0.2, 1" << "Schutzleiterwiderstand";
        QTest::newRow("Isolation") << measured << "1, 1, 0.1, 1, 0.2, 0, 0.2, 1" << "Isolationswiderstand";
        QTest::newRow("Ableitstrom") << measured << "1, 1, 0.1, 1, 20, 1, 5, 0" << "Ersatzableitstrom";
        QTest::newRow("Funktionsprüfung") << checks << "1, 0" << "Funktionsprüfung";
    }
    void failingLineIsBold()
    {
        QFETCH(QString, columns);
        QFETCH(QString, values);
        QFETCH(QString, failing);
        Running r(oneInspection("Bäckerei Süß", "Mixer", "I", columns, values));
        const auto window = r.protocol();
        QVERIFY(window);
        for (const QString &label : kTableLines) {
            const Line line = lineOf(window->InputStream(), label);
            QVERIFY2(!line.texts.isEmpty(), qPrintable(label));
            const bool fails = label == failing;
            QCOMPARE(line.bold, QList<bool>(line.bold.size(), fails));
            if (fails)
                QCOMPARE(line.texts.last(), QStringLiteral("nicht bestanden"));
            else
                QVERIFY2(line.texts.last() != u"nicht bestanden", qPrintable(label));
        }
        QVERIFY2(layoutFaults(window->InputStream()).isEmpty(), qPrintable(layoutFaults(window->InputStream()).join('\n')));

        // Printed without colour, the PDF's line reads the same.
        const QString pdf = r.home.dir.filePath(QStringLiteral("Prüf ordner/protokoll.pdf"));
        r.dialogs.paths.enqueue(pdf);
        r.click(window.get(), "btnSavePDF");
        const QString text = pdfLayoutText(pdf);
        for (const QString &label : kTableLines)
            QCOMPARE(pdfLine(text, label).endsWith(QStringLiteral("nicht bestanden")), label == failing);
    }

    void protectiveConductorOfClassTwoAndThree_data()
    {
        QTest::addColumn<QString>("schutzklasse");
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QString>("values");
        QTest::addColumn<QStringList>("line");
        const QString checks = QStringLiteral("SICHTPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN");
        const QString measured = checks + QStringLiteral(", SCHUTZLEITWIDERSTAND, SCHUTZLEITWIDERSTAND_BESTANDEN");
        const QString name = QStringLiteral("Schutzleiterwiderstand");
        QTest::newRow("I") << "I" << checks << "1, 1" << QStringList{name, "≤ 0,30 Ω", "nicht gemessen", "nicht gemessen"};
        QTest::newRow("II") << "II" << checks << "1, 1" << QStringList{name, "entfällt", "entfällt", "entfällt"};
        QTest::newRow("III") << "III" << checks << "1, 1" << QStringList{name, "entfällt", "entfällt", "entfällt"};
        QTest::newRow("ohne Klasse") << "" << checks << "1, 1" << QStringList{name, "≤ 0,30 Ω", "nicht gemessen", "nicht gemessen"};
        QTest::newRow("II gemessen") << "II" << measured << "1, 1, 0.12, 1" << QStringList{name, "≤ 0,30 Ω", "0,12 Ω", "bestanden"};
    }
    void protectiveConductorOfClassTwoAndThree()
    {
        QFETCH(QString, schutzklasse);
        QFETCH(QString, columns);
        QFETCH(QString, values);
        QFETCH(QStringList, line);
        Running r(oneInspection("Bäckerei Süß", "Föhn", schutzklasse, columns, values));
        const auto window = r.protocol();
        QVERIFY(window);
        QCOMPARE(lineOf(window->InputStream(), line.first()).texts, line);
        // The other measurements were not taken: the class changes nothing there.
        QCOMPARE(lineOf(window->InputStream(), QStringLiteral("Differenzstrom")).texts.last(), QStringLiteral("nicht gemessen"));
        QVERIFY(layoutFaults(window->InputStream()).isEmpty());
    }

    void proposedPdfName_data()
    {
        QTest::addColumn<QString>("customer");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("name");
        QTest::newRow("ein Protokoll") << "Müller & Söhne" << "Bohrmaschine" << "protocol"
                                       << "Prüfprotokoll 2026-12-10 Müller & Söhne Bohrmaschine.pdf";
        QTest::newRow("Zeichen, die kein Dateiname hält") << "AC/DC: Elektro" << "Kabel \"3*4\"?" << "protocol"
                                                         << "Prüfprotokoll 2026-12-10 AC-DC- Elektro Kabel -3-4--.pdf";
        QTest::newRow("ein Prüftag") << "Müller & Söhne" << "Bohrmaschine" << "day" << "Prüfprotokolle 2026-12-10 Müller & Söhne.pdf";
        QTest::newRow("Inventarliste") << "Müller & Söhne" << "Bohrmaschine" << "inventory" << "Inventarliste 2026-12-11 Müller & Söhne.pdf";
        QTest::newRow("Fälligkeiten") << "Müller & Söhne" << "Bohrmaschine" << "due" << "Fälligkeiten 2026-12-11 alle Kunden.pdf";
        QTest::newRow("Etiketten") << "Müller & Söhne" << "Bohrmaschine" << "labels" << "Etiketten 2026-12-11 Müller & Söhne.pdf";
    }
    void proposedPdfName()
    {
        QFETCH(QString, customer);
        QFETCH(QString, device);
        QFETCH(QString, output);
        QFETCH(QString, name);
        Running r(oneInspection(customer, device, "I", "SICHTPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN", "1, 1"));
        std::unique_ptr<QWidget> window;
        const char *button = "btnSavePDF";
        if (output == u"labels") {
            window = std::make_unique<TfrmEtiketten>(TLabelChoice{3000, {}, 300}, frmMain);
            button = "btnPdf";
        } else if (output == u"due") {
            TReportSelection due;
            due.report = TReportSelection::Report::Due;
            due.dueUntil = QDate(2028, 1, 1);
            window = TPreviewExt::create(due, QStringLiteral("Fälligkeiten"), frmMain);
        } else if (output == u"protocol") {
            window = r.protocol();
        } else {
            window = TPreviewExt::create(1, frmMain);
            auto *customers = r.find<QComboBox>(window.get(), "cbKunden");
            customers->setFocus();
            for (int i = 0; i < customers->count() && customers->currentData().toInt() != 300; ++i)
                QTest::keyClick(customers, Qt::Key_Down);
            QCOMPARE(customers->currentData().toInt(), 300);
            if (output == u"inventory")
                r.click(window.get(), "rbInventar");
        }
        QVERIFY(window);
        r.click(window.get(), button); // cancelled in the save dialog
        QCOMPARE(r.dialogs.shown.last().kind, QStringLiteral("save"));
        QCOMPARE(QFileInfo(r.dialogs.shown.last().text).fileName(), name);
    }
};

VELMORA_APP_TEST_MAIN(TestProtocolLines)
#include "tst_protocollines.moc"

// What a report shows on its pages: texts that flow instead of being cut,
// the complete inspection protocol and the inventory list, each checked for
// texts outside their boxes, outside the printable area and over each other.
#include "AppTestMain.h"
#include "DbError.h"
#include "LayoutCheck.h"
#include "Outputs.h"
#include "PageWriter.h"
#include "Preview.h"
#include "ReportSelection.h"
#include "ReportWorld.h"
#include "TextBox.h"
#include "UDM.h"
#include "DateField.h"
#include "UMain.h"
#include "UPreviewExt.h"
#include <QCalendarWidget>
#include <QRegularExpression>
#include <QtTest>

namespace {

// A report "Probe" of the given bands (JSON), opened as a project file.
void openBands(TReportProject &project, const QString &bandsJson)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("probe.rav");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QStringLiteral("{\"reports\": [{\"name\": \"Probe\", \"bands\": [%1]}]}").arg(bandsJson).toUtf8());
    file.close();
    project.open(path);
    project.selectReport("Probe");
}

// A one-band report from JSON items, laid out with no data.
TPageStream runItems(const QString &itemsJson, double bandHeight = 20)
{
    TReportProject project;
    openBands(project, QStringLiteral("{\"kind\": \"title\", \"height\": %1, \"items\": [%2]}").arg(bandHeight).arg(itemsJson));
    TPageStream stream;
    TPageWriter().execute(*project.selected(), {}, stream);
    return stream;
}

QString words(int count)
{
    QStringList w;
    for (int i = 0; i < count; ++i)
        w << QStringLiteral("Wort%1").arg(i);
    return w.join(u' ');
}

// With VELMORA_PICTURES set, the pages are kept as a PDF in that folder
// for the README's pictures (scripts/readme-pictures.sh).
void keepForPictures(const TPageStream &stream, const QString &name)
{
    const QString folder = qEnvironmentVariable("VELMORA_PICTURES");
    if (!folder.isEmpty())
        renderPdf(stream, folder + u'/' + name + QStringLiteral(".pdf"));
}

std::unique_ptr<TPreviewExt> inventoryOf(int customer)
{
    auto window = TPreviewExt::create(1, frmMain);
    chooseCustomer(window.get(), customer);
    window->fillLbPruefungen();
    TRunningProgram::find<QAbstractButton>(window.get(), "rbInventar")->setChecked(true);
    window->rbAuswahlClick(3);
    return window;
}

} // namespace

class TestReportLayout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    // The engine on small layouts: growing, eliding, and the faults the
    // check reports.
    void engine_data()
    {
        QTest::addColumn<QString>("items");
        QTest::addColumn<int>("faults");
        QTest::addColumn<bool>("wrapped"); // the first box holds several lines
        const QString longText = words(40);
        QTest::newRow("a long text grows its box") << QStringLiteral("{\"x\":0,\"y\":0,\"w\":40,\"h\":5,\"text\":\"%1\"}").arg(longText) << 0 << true;
        QTest::newRow("the box below moves down")
            << QStringLiteral("{\"x\":0,\"y\":0,\"w\":40,\"h\":5,\"text\":\"%1\"},{\"x\":0,\"y\":5,\"w\":40,\"h\":5,\"text\":\"darunter\"}").arg(longText)
            << 0 << true;
        QTest::newRow("a word wider than its box breaks")
            << QStringLiteral("{\"x\":0,\"y\":0,\"w\":15,\"h\":5,\"text\":\"123456789012345678-30000\"}") << 0 << true;
        QTest::newRow("elided where the layout says")
            << QStringLiteral("{\"x\":0,\"y\":0,\"w\":40,\"h\":5,\"elide\":true,\"text\":\"%1\"}").arg(longText) << 0 << false;
        QTest::newRow("boxes over each other") << QStringLiteral("{\"x\":0,\"y\":0,\"w\":40,\"h\":5,\"text\":\"eins\"},{\"x\":2,\"y\":1,\"w\":40,\"h\":5,\"text\":\"zwei\"}")
                                                << 1 << false;
        QTest::newRow("beyond the right margin") << QStringLiteral("{\"x\":180,\"y\":0,\"w\":30,\"h\":5,\"text\":\"rechts\"}") << 1 << false;
    }
    void engine()
    {
        QFETCH(QString, items);
        QFETCH(int, faults);
        QFETCH(bool, wrapped);
        const TPageStream stream = runItems(items);
        QCOMPARE(layoutFaults(stream).size(), faults);
        const double lineHeight = QFontMetricsF(reportFont(9.0, false)).height();
        QCOMPARE(qRound(stream.boxes.first().needed.height() / lineHeight) > 1, wrapped);
        if (wrapped) // the box grew with its lines
            QVERIFY(stream.boxes.first().given.height() >= stream.boxes.first().needed.height());
    }

    void elidedTextEndsWithEllipsis()
    {
        const TPageStream stream = runItems(QStringLiteral("{\"x\":0,\"y\":0,\"w\":40,\"h\":5,\"elide\":true,\"text\":\"%1\"}").arg(words(40)));
        QVERIFY(stream.texts.first().endsWith(QStringLiteral("…")));
        QVERIFY(stream.texts.first().startsWith(QStringLiteral("Wort0 Wort1")));
    }

    void aBandTallerThanAPageContinues()
    {
        QStringList lines;
        for (int i = 1; i <= 150; ++i)
            lines << QStringLiteral("Zeile %1").arg(i);
        const TPageStream stream = runItems(QStringLiteral("{\"x\":0,\"y\":0,\"w\":190,\"h\":5,\"text\":\"%1\"}").arg(lines.join(QStringLiteral("\\n"))));
        QVERIFY(stream.pages.size() >= 2);
        QVERIFY2(layoutFaults(stream).isEmpty(), qPrintable(layoutFaults(stream).join(u'\n')));
        QVERIFY(showsWhole(stream, lines.join(u' ')));
    }

    // The page header is laid out once, when its page begins; a footer with
    // the page count only when every page is known. Each page still shows
    // its own numbers.
    void pageNumbersInHeaderAndFooter()
    {
        QStringList lines;
        for (int i = 1; i <= 150; ++i)
            lines << QStringLiteral("Zeile %1").arg(i);
        TReportProject project;
        openBands(project, QStringLiteral(
                               "{\"kind\": \"pageHeader\", \"height\": 8, \"items\": [{\"x\":0,\"y\":0,\"w\":190,\"h\":5,\"text\":\"Kopf {page}\"}]},"
                               "{\"kind\": \"title\", \"height\": 5, \"items\": [{\"x\":0,\"y\":0,\"w\":190,\"h\":5,\"text\":\"%1\"}]},"
                               "{\"kind\": \"pageFooter\", \"height\": 8, \"items\": [{\"x\":0,\"y\":0,\"w\":190,\"h\":5,\"text\":\"Seite {page} von {pages}\"}]}")
                               .arg(lines.join(QStringLiteral("\\n"))));
        TPageStream stream;
        TPageWriter().execute(*project.selected(), {}, stream);
        const int pages = static_cast<int>(stream.pages.size());
        QVERIFY(pages >= 3);
        for (int page = 1; page <= pages; ++page) {
            QStringList shown;
            for (const TTextBox &box : stream.boxes)
                if (box.page == page)
                    shown << box.text;
            QVERIFY2(shown.contains(QStringLiteral("Kopf %1").arg(page)), qPrintable(shown.join(u'|')));
            QVERIFY2(shown.contains(QStringLiteral("Seite %1 von %2").arg(page).arg(pages)), qPrintable(shown.join(u'|')));
        }
        QVERIFY2(layoutFaults(stream).isEmpty(), qPrintable(layoutFaults(stream).join(u'\n')));
    }

    // Geometry no page can hold is refused when the file is read, naming
    // the band or box.
    void impossibleLayoutsAreRefused_data()
    {
        QTest::addColumn<QString>("bands");
        QTest::addColumn<QString>("fault");
        QTest::newRow("a band taller than the page") << "{\"kind\":\"title\",\"height\":400}"
                                                     << "Band „title“ ist 400,0 mm hoch, die Seite bietet 277,0 mm.";
        QTest::newRow("a negative height") << "{\"kind\":\"detail\",\"height\":-5}" << "Band „detail“: die Höhe ist keine gültige Zahl.";
        QTest::newRow("a box taller than the page")
            << "{\"kind\":\"title\",\"height\":20,\"items\":[{\"x\":0,\"y\":0,\"w\":40,\"h\":300,\"field\":\"NAME\"}]}"
            << "Band „title“, Feld NAME ist 300,0 mm hoch";
        QTest::newRow("a box of negative width")
            << "{\"kind\":\"title\",\"height\":20,\"items\":[{\"x\":0,\"y\":0,\"w\":-40,\"h\":5,\"text\":\"Kopf\"}]}"
            << "Band „title“, Text „Kopf“: eine Angabe ist keine gültige Zahl.";
        QTest::newRow("header and footer fill the page")
            << "{\"kind\":\"pageHeader\",\"height\":140},{\"kind\":\"pageFooter\",\"height\":140}"
            << "Seitenkopf und Seitenfuß lassen auf der Seite keinen Platz.";
    }
    void impossibleLayoutsAreRefused()
    {
        QFETCH(QString, bands);
        QFETCH(QString, fault);
        TReportProject project;
        try {
            openBands(project, bands);
            QFAIL("the layout was accepted");
        } catch (const EDatabaseError &e) {
            QVERIFY2(e.message().contains("ist fehlerhaft: Bericht „Probe“, " + fault), qPrintable(e.message()));
        }
    }

    // A page header whose text grows past the page leaves no room for any
    // row: the pages stop at the writer's limit instead of growing forever.
    void runawayPagesStop()
    {
        QStringList lines;
        for (int i = 1; i <= 150; ++i)
            lines << QStringLiteral("Zeile %1").arg(i);
        TReportProject project;
        openBands(project, QStringLiteral("{\"kind\":\"pageHeader\",\"height\":5,\"items\":[{\"x\":0,\"y\":0,\"w\":190,\"h\":5,"
                                          "\"text\":\"%1\"}]},{\"kind\":\"title\",\"height\":10}")
                               .arg(lines.join(QStringLiteral("\\n"))));
        TPageWriter writer;
        writer.maxPages = 50;
        TPageStream stream;
        try {
            writer.execute(*project.selected(), {}, stream);
            QFAIL("the pages did not stop");
        } catch (const EDatabaseError &e) {
            QCOMPARE(e.message(), QStringLiteral("Der Bericht würde mehr als 50 Seiten lang. Bitte die Auswahl einschränken."));
        }
    }

    void protocolsFlowWithoutFaults()
    {
        TReportWorld world;
        const auto window = TPreviewExt::create(1, frmMain);
        QVERIFY(window);
        QCOMPARE(world.find<QComboBox>(window.get(), "cbKunden")->currentText(), longtext::CustomerName);
        const TPageStream &s = window->InputStream();
        keepForPictures(s, QStringLiteral("protokoll"));
        QVERIFY2(layoutFaults(s).isEmpty(), qPrintable(layoutFaults(s).join(u'\n')));
        // Each protocol on pages of its own; the long remark runs over
        // several, the header with the report number on each of them.
        const QList<int> first = pagesShowing(s, "Bericht-Nr. " + longtext::DeviceNumber + "-30000");
        const QList<int> second = pagesShowing(s, "Bericht-Nr. 2-30001");
        QCOMPARE(first.size(), 1);
        QVERIFY2(second.size() >= 3, qPrintable(QString::number(second.size())));
        QCOMPARE(second.last() - second.first() + 1, second.size()); // one after the other
        QVERIFY(!second.contains(first.first()));
        QCOMPARE(s.pages.size(), 1 + second.size());
        QVERIFY(s.texts.contains(QStringLiteral("Seite 1 von 1")));
        QVERIFY(s.texts.contains(QStringLiteral("Seite %1 von %1").arg(second.size())));
        // Every text whole: the remarks to their last line, the names at
        // their full width.
        for (const QString &line : longtext::longRemark().split(u'\n'))
            QVERIFY2(showsWhole(s, line), qPrintable(line));
        for (const QString &text : {longtext::shortRemark(), longtext::CustomerName, longtext::Manufacturer,
                                    longtext::ContractorName, QStringLiteral("Gerätetester Universal Profi für ortsveränderliche Geräte"),
                                    QStringLiteral("Lagerhalle 3, Regal 14, Fach 7 (hinter der Rampe)"),
                                    QStringLiteral("Maximilian Alexander Schwarzenberger-Hohenlohe")})
            QVERIFY2(showsWhole(s, text), qPrintable(text));
    }

    void protocolContents()
    {
        TReportWorld world;
        const auto window = TPreviewExt::create(1, frmMain);
        const TPageStream &s = window->InputStream();
        const QStringList expected = {
            // contractor, customer with every address line, the town without postcode
            "Industriestraße 7", "52062 Aachen", "Telefon 0241 9876543", "Niederlassung Süd",
            "z. Hd. Frau Dr. Müller-Lüdenscheidt", "Hauptstraße 123", "Musterstadt", "Telefon 0123 456789",
            // device, standard, measurements with limits and units, verdicts
            "Bericht-Nr. " + longtext::DeviceNumber + "-30000", longtext::DeviceNumber, "DIN VDE 0701-0702", "≤ 0,30 Ω", "0,12 Ω",
            "≥ 2,00 MΩ", "250,00 MΩ", "≤ 3,50 mA", "0,80 mA", "nicht gemessen", "bestanden", "Die Prüfung wurde bestanden",
            "Ergebnis: Keine Mängel",
            // the date the user stored, not the interval's
            "Nächste Prüfung bis zum 10.07.2024", "Prüfdatum", "10.01.2024",
            // second protocol: its own limit, a failed measurement, the cable
            "≤ 0,60 Ω", "0,75 Ω", "nicht bestanden", "Leitungslänge 25 m", "≤ 0,50 mA", "Die Prüfung wurde nicht bestanden",
            "Ergebnis: Defekt",
            // signature, print date
            "Ort, Datum / Unterschrift des Prüfers", "Gedruckt am 31.01.2024"};
        for (const QString &text : expected)
            QVERIFY2(s.texts.contains(text), qPrintable(text));
        // the database's identity under the fingerprint
        static const QRegularExpression identity(QStringLiteral("^Datenbank [0-9a-f]{8}$"));
        QVERIFY(std::any_of(s.texts.cbegin(), s.texts.cend(), [](const QString &t) { return identity.match(t).hasMatch(); }));
    }

    // A failing line stands out without colour: every box of it bold, its
    // verdict "nicht bestanden"; a passing line stays plain. A measurement
    // that does not belong to a class II device reads "entfällt", not
    // "nicht gemessen".
    void protocolLinesShowTheirVerdict_data()
    {
        QTest::addColumn<int>("inspection");
        QTest::addColumn<QStringList>("boldTexts");
        QTest::addColumn<QStringList>("plainTexts");
        QTest::addColumn<int>("inapplicable");
        QTest::newRow("class II, protective conductor failed")
            << longtext::LongRemarkInspection
            << QStringList{"Schutzleiterwiderstand", "≤ 0,60 Ω", "0,75 Ω", "nicht bestanden"}
            << QStringList{"Sichtprüfung", "Funktionsprüfung", "bestanden", "nicht gemessen"} << 0;
        QTest::newRow("class II, nothing measured") << 30002 << QStringList{}
                                                    << QStringList{"Schutzleiterwiderstand", "bestanden", "nicht gemessen"} << 3;
        QTest::newRow("class I, all passed") << longtext::ShortRemarkInspection << QStringList{}
                                             << QStringList{"Schutzleiterwiderstand", "≤ 0,30 Ω", "0,12 Ω", "bestanden"} << 0;
    }
    void protocolLinesShowTheirVerdict()
    {
        QFETCH(int, inspection);
        QFETCH(QStringList, boldTexts);
        QFETCH(QStringList, plainTexts);
        QFETCH(int, inapplicable);
        TReportWorld world;
        TReportSelection selection;
        selection.inspectionId = inspection;
        const auto window = TPreviewExt::create(selection, QStringLiteral("Prüfprotokoll"), frmMain);
        const TPageStream &s = window->InputStream();
        QVERIFY2(layoutFaults(s).isEmpty(), qPrintable(layoutFaults(s).join(u'\n')));
        // The font of each text in the measurement table (what a text
        // outside it, such as the result line, shows does not count).
        QMap<QString, bool> boldOf;
        for (const TPiece &piece : s.pages.first())
            if (piece.kind == TPiece::Kind::Text && piece.font && piece.font->pointSizeF() < 10 && !boldOf.contains(piece.text))
                boldOf.insert(piece.text, piece.font->bold());
        for (const QString &text : boldTexts)
            QVERIFY2(boldOf.value(text, false), qPrintable(text));
        for (const QString &text : plainTexts)
            QVERIFY2(boldOf.contains(text) && !boldOf.value(text), qPrintable(text));
        QCOMPARE(s.texts.count(QStringLiteral("entfällt")), inapplicable);
        if (inapplicable)
            QVERIFY(!s.texts.contains(QStringLiteral("≤ 0,30 Ω")));
    }

    void inventoryList()
    {
        TReportWorld world;
        const auto window = inventoryOf(longtext::Customer);
        const TPageStream &s = window->InputStream();
        keepForPictures(s, QStringLiteral("inventarliste"));
        QVERIFY2(layoutFaults(s).isEmpty(), qPrintable(layoutFaults(s).join(u'\n')));
        QCOMPARE(s.orientation, QPageLayout::Landscape);
        // By number, the device without one last; one row per device.
        const QStringList devices = {"Leuchte nie geprüft", "Verlängerungskabel 25 m",
                                     "Hochdruckreiniger mit Heißwasserstufe und Zubehör", "Bohrmaschine ohne Nummer"};
        qsizetype previous = -1;
        for (const QString &device : devices) {
            QCOMPARE(s.texts.count(device), 1);
            QVERIFY2(s.texts.indexOf(device) > previous, qPrintable(device));
            previous = s.texts.indexOf(device);
        }
        QVERIFY(s.texts.contains(QStringLiteral("überfällig")));
        QVERIFY(s.texts.contains(QStringLiteral("nie geprüft")));
        QVERIFY(s.texts.contains(QStringLiteral("Alle Prüflinge, alle Prüftermine")));
        QVERIFY(s.texts.contains(QStringLiteral("Stand: 31.01.2024")));
        // The manufacturer's column is elided, as the layout says.
        const auto elided = std::find_if(s.texts.begin(), s.texts.end(), [](const QString &t) { return t.startsWith("Kärcher"); });
        QVERIFY(elided != s.texts.end() && elided->endsWith(QStringLiteral("…")));
        // The counts at the end.
        const auto countAfter = [&](const QString &label) { return s.texts.value(s.texts.indexOf(label) + 1); };
        QCOMPARE(countAfter("Aufgeführte Prüflinge"), QStringLiteral("4"));
        QCOMPARE(countAfter("Letzte Prüfung bestanden"), QStringLiteral("2"));
        QCOMPARE(countAfter("Letzte Prüfung nicht bestanden"), QStringLiteral("1"));
        QCOMPARE(countAfter("Zu prüfen bis zum 29.02.2024"), QStringLiteral("2"));
    }

    void inventoryHeaderOnEveryPage()
    {
        TReportWorld world;
        const auto window = inventoryOf(longtext::ManyDevicesCustomer);
        const TPageStream &s = window->InputStream();
        QVERIFY2(layoutFaults(s).isEmpty(), qPrintable(layoutFaults(s).join(u'\n')));
        QVERIFY(s.pages.size() >= 2);
        for (const QString &header : QStringList{"Inventarliste", "Zentrallager mit vielen Geräten", "Bezeichnung", "Nächste Prüfung"})
            QCOMPARE(pagesShowing(s, header).size(), s.pages.size());
        // Numbers ascending, the seven without number ("Gerät 1", "Gerät 11",
        // ... "Gerät 61") at the end.
        QVERIFY(s.texts.indexOf("Gerät 2") < s.texts.indexOf("Gerät 3"));
        QVERIFY(s.texts.indexOf("Gerät 69") < s.texts.indexOf("Gerät 70"));
        QVERIFY(s.texts.indexOf("Gerät 70") < s.texts.indexOf("Gerät 1"));
        QVERIFY(s.texts.indexOf("Gerät 70") < s.texts.indexOf("Gerät 61"));
    }

    void dueDateShownAndCounted()
    {
        TReportWorld world;
        const auto window = inventoryOf(longtext::Customer);
        world.find<QAbstractButton>(window.get(), "chkNextDatum")->click();
        const TPageStream &s = window->InputStream();
        QVERIFY(s.texts.contains(QStringLiteral("Alle Prüflinge, nur zu prüfen bis zum 29.02.2024")));
        QCOMPARE(s.texts.count(QStringLiteral("Hochdruckreiniger mit Heißwasserstufe und Zubehör")), 0);
        // A day picked in the calendar pop-up rebuilds the list at once.
        QCalendarWidget *calendar = world.find<DateField>(window.get(), "dtPicker")->calendarWidget();
        calendar->setSelectedDate(QDate(2024, 8, 1));
        emit calendar->clicked(QDate(2024, 8, 1));
        QTRY_VERIFY(s.texts.contains(QStringLiteral("Alle Prüflinge, nur zu prüfen bis zum 01.08.2024")));
        QCOMPARE(s.texts.count(QStringLiteral("Hochdruckreiniger mit Heißwasserstufe und Zubehör")), 1);
    }

    // The date typed over the selected one is taken on Enter; a text that
    // is no date is refused and the date before stays.
    void dueDateTypedOverTheSelection()
    {
        TReportWorld world;
        const auto window = inventoryOf(longtext::Customer);
        window->show();
        world.find<QAbstractButton>(window.get(), "chkNextDatum")->click();
        auto *date = world.find<QLineEdit>(window.get(), "dtPicker");
        QCOMPARE(date->text(), QStringLiteral("29.02.2024"));
        const TPageStream &s = window->InputStream();
        world.type(date, QStringLiteral("31.12.27"));
        QCOMPARE(date->text(), QStringLiteral("31.12.2027"));
        QVERIFY(s.texts.contains(QStringLiteral("Alle Prüflinge, nur zu prüfen bis zum 31.12.2027")));
        QCOMPARE(world.dialogs.messages(), QStringList());

        world.type(date, QStringLiteral("31.12."));
        QCOMPARE(world.dialogs.beeps(), 1);
        QCOMPARE(world.dialogs.messages(), QStringList{QStringLiteral("\u201E31.12.\u201C ist kein gültiges Datum.")});
        QCOMPARE(date->text(), QStringLiteral("31.12.2027"));
        QVERIFY(s.texts.contains(QStringLiteral("Alle Prüflinge, nur zu prüfen bis zum 31.12.2027")));
    }
};

VELMORA_APP_TEST_MAIN(TestReportLayout)
#include "tst_reportlayout.moc"

// Reports to PDF: the report engine (layout into the page stream, then the
// PDF writer) against drawing the same texts at the same places straight
// onto a QPdfWriter with QPainter, in the same run. Two reports: the
// inventory list of 10,000 devices and a day of 1,000 inspection protocols.
// Prints the median times, the ratio and the peak resident memory of each.
#include "NewDatabase.h"
#include "Outputs.h"
#include "PageWriter.h"
#include "PdfMetadata.h"
#include "ProcessMemory.h"
#include "QrCode.h"
#include "Query.h"
#include "ReportJob.h"
#include "ScriptedDialogs.h"
#include "UDM.h"
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QBuffer>
#include <QFile>
#include <QPdfWriter>
#include <algorithm>
#include <limits>
#include <cstdio>

namespace {

constexpr int kCustomer = 500;
const QDate kDay(2024, 3, 1);

qint64 count(TDatabase &db, const QString &sql)
{
    TQuery q(&db);
    q.setSql(sql);
    q.execQuery();
    return q.asInteger(0);
}

// A program database with one customer of `devices` devices, each
// inspected once in 2023, and `inspections` of them inspected again on kDay.
void ensureData(const QString &path, int devices, int inspections)
{
    TDatabase db;
    TTransaction t(&db);
    db.params = connectionParams();
    if (QFile::exists(path)) {
        db.setDatabaseName(path);
        db.open();
        if (count(db, QStringLiteral("SELECT COUNT(*) FROM PRUEFLINGE WHERE KUNDEN_ID = %1").arg(kCustomer)) == devices &&
            count(db, QStringLiteral("SELECT COUNT(*) FROM PRUEFUNGEN WHERE CAST(PRUEFDATUM AS DATE) = '2024-03-01'")) == inspections)
            return;
        db.close();
        QFile::remove(path);
    }
    std::fprintf(stderr, "generating %d devices, %d inspections in %s\n", devices, inspections, qPrintable(path));
    createVelmoraDatabase(db, path);
    TQuery q(&db);
    q.setSql(QStringLiteral("INSERT INTO KUNDEN (ID, NAME, STRASSE, PLZ, ORT) VALUES (%1, 'Benchmark Industriebedarf GmbH', "
                            "'Am Prüfstand 1', '12345', 'Messstadt')").arg(kCustomer));
    q.execQuery();
    TQuery device(&db), inspection(&db);
    device.setSql(QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, ORT, PRUEFINTERVAL, KUNDEN_ID, "
                                 "HERSTELLER, SERIENNR) VALUES (:ID, :B, :N, :K, :O, 12, %1, :H, :S)").arg(kCustomer));
    inspection.setSql(QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, "
                                     "PRUEFLINGE_ID, SICHTPRUEFUNG_BESTANDEN, SCHUTZLEITWIDERSTAND, SCHUTZLEITWIDERSTAND_BESTANDEN, "
                                     "ISOLATIONSPRUEFUNG, ISOLATIONSPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN, BEMERKUNG) "
                                     "VALUES (:ID, :D, :ND, 11, 11, :P, 1, 0.12, 1, 250, 1, 1, :R)"));
    int id = 200000;
    auto inspect = [&](int deviceId, const QDateTime &when, const QString &remark) {
        inspection.paramByName("ID").setAsInteger(id++);
        inspection.paramByName("D").setAsDateTime(when);
        inspection.paramByName("ND").setAsDateTime(when.addMonths(12));
        inspection.paramByName("P").setAsInteger(deviceId);
        inspection.paramByName("R").setAsString(remark);
        inspection.execQuery();
    };
    for (int i = 0; i < devices; ++i) {
        device.paramByName("ID").setAsInteger(100000 + i);
        device.paramByName("B").setAsString(QStringLiteral("Gerät %1 Bohrhammer mit Koffer").arg(i + 1));
        device.paramByName("N").setAsInteger(i + 1);
        device.paramByName("K").setAsString(i % 3 ? QStringLiteral("II") : QStringLiteral("I"));
        device.paramByName("O").setAsString(QStringLiteral("Halle %1, Regal %2").arg(i / 500 + 1).arg(i % 40 + 1));
        device.paramByName("H").setAsString(QStringLiteral("Werkzeugbau Nord %1").arg(i % 17));
        device.paramByName("S").setAsString(QStringLiteral("SN-%1").arg(900000 + i));
        device.execQuery();
        inspect(100000 + i, QDateTime(QDate(2023, 1, 1).addDays(i % 300), QTime(8, 0)), QString());
    }
    for (int i = 0; i < inspections; ++i)
        inspect(100000 + i, QDateTime(kDay, QTime(8, 0).addSecs(i * 20)),
                QStringLiteral("Stecker geprüft, Zugentlastung in Ordnung.\nGehäuse ohne Beschädigung."));
    t.commit();
}

// What the bare side draws: every line of text of a finished page stream in
// its font at its place, every frame, rule, shade and picture, and the text
// of every QR code with its box; and the document's title and metadata.
struct BareContent {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSizeF pageSizeMm;
    QString title, author, subject;
    struct Shape {
        int page;
        TPiece::Kind kind;
        QRectF rect;
        QString text; // a line of text, or the text of a QR code
        const QFont *font;
        double baseline;
        QImage image;
    };
    QList<Shape> shapes;
};

BareContent bareContent(const TPageStream &stream)
{
    BareContent c{stream.orientation, stream.pageSizeMm(), stream.title, stream.author, stream.subject, {}};
    for (qsizetype page = 0; page < stream.pages.size(); ++page)
        for (const TPiece &p : stream.pages.at(page))
            c.shapes.push_back({static_cast<int>(page) + 1, p.kind, p.rect, p.text, p.font, p.baseline, p.image});
    return c;
}

// Each line drawn as one run of text, the shapes as plain rectangles and
// lines, each QR code encoded and filled as one path, the same PDF/A
// settings and metadata: the least a program can do to print the same pages.
void bareDrawing(const BareContent &content, const QString &path)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        describePdf(writer, content.title, content.author, content.subject);
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), content.orientation, QMarginsF()));
        QPainter painter(&writer);
        const double scale = writer.width() / (content.pageSizeMm.width() * TPageStream::UnitsPerMm);
        painter.scale(scale, scale);
        const QPen line(Qt::black, 2);
        const QFont *font = nullptr;
        int page = 1;
        for (const BareContent::Shape &shape : content.shapes) {
            for (; page < shape.page; ++page)
                writer.newPage();
            switch (shape.kind) {
            case TPiece::Kind::Text:
                if (font != shape.font && shape.font) {
                    font = shape.font;
                    painter.setFont(*font);
                }
                painter.drawText(QPointF(shape.rect.left(), shape.baseline), shape.text);
                break;
            case TPiece::Kind::QrCode:
                painter.fillPath(qrCodePath(encodeQrCode(shape.text), shape.rect), Qt::black);
                break;
            case TPiece::Kind::Image:
                painter.drawImage(shape.rect, shape.image);
                break;
            case TPiece::Kind::Shade:
                painter.fillRect(shape.rect, QColor(232, 232, 232));
                break;
            case TPiece::Kind::Frame:
                painter.setPen(line);
                painter.drawRect(shape.rect);
                painter.setPen(Qt::black);
                break;
            case TPiece::Kind::Rule:
                painter.setPen(line);
                painter.drawLine(shape.rect.topLeft(), shape.rect.topRight());
                painter.setPen(Qt::black);
                break;
            }
        }
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(withInfoEntries(buffer.data(), {{"Author", content.author}, {"Subject", content.subject}}));
}

struct Timing {
    QList<qint64> report, bare, layout;
    qint64 reportPeak = -1, barePeak = -1;
    int pages = 0;
};

qint64 median(QList<qint64> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

Timing measure(TfrmDM &dm, TReportProject &project, const QString &reportName, const QString &folder, int rounds)
{
    Timing t;
    project.selectReport(reportName);
    TPageWriter writer;
    reportjob::prepare(writer, *project.selected(), dm);
    reportjob::setInventorySelection(writer, 100, kDay, false);
    for (int round = 0; round < rounds; ++round) {
        TPageStream stream;
        resetPeak();
        QElapsedTimer timer;
        timer.start();
        writer.execute(*project.selected(), reportjob::connections(dm), stream);
        t.layout << timer.elapsed();
        renderPdf(stream, folder + QStringLiteral("/report.pdf"));
        t.report << timer.elapsed();
        t.reportPeak = std::max(t.reportPeak, procStatusKiB("VmHWM"));
        t.pages = static_cast<int>(stream.pages.size());
        // The bare side gets the texts ready-made; its peak is its own.
        const BareContent content = bareContent(stream);
        stream.clear();
        resetPeak();
        timer.start();
        bareDrawing(content, folder + QStringLiteral("/bare.pdf"));
        t.bare << timer.elapsed();
        t.barePeak = std::max(t.barePeak, procStatusKiB("VmHWM"));
    }
    return t;
}

void print(const char *what, const Timing &t)
{
    const double ratio = double(median(t.report)) / std::max<qint64>(1, median(t.bare));
    std::printf("%s: %d pages\n", what, t.pages);
    std::printf("  report (layout + page stream + PDF): %lld ms median\n", static_cast<long long>(median(t.report)));
    std::printf("    of which layout into the stream:   %lld ms median\n", static_cast<long long>(median(t.layout)));
    std::printf("  bare QPdfWriter drawing:             %lld ms median\n", static_cast<long long>(median(t.bare)));
    std::printf("  peak RSS (VmHWM) during report:      %s\n", qPrintable(mib(t.reportPeak)));
    std::printf("  peak RSS (VmHWM) during bare:        %s\n", qPrintable(mib(t.barePeak)));
    std::printf("  ratio: %.2f\n", ratio);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption folderOpt("folder", "Folder for the database and the PDF files.", "folder",
                                 QDir::tempPath() + QStringLiteral("/velmora-bench"));
    QCommandLineOption devicesOpt("devices", "Devices in the inventory list (default 10000).", "n", "10000");
    QCommandLineOption inspectionsOpt("inspections", "Inspections of the day (default 1000).", "n", "1000");
    QCommandLineOption roundsOpt("rounds", "Timed rounds of each (default 3).", "n", "3");
    parser.addOptions({folderOpt, devicesOpt, inspectionsOpt, roundsOpt});
    parser.process(app);
    const QString folder = parser.value(folderOpt);
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/reports.fdb");
    ensureData(path, parser.value(devicesOpt).toInt(), parser.value(inspectionsOpt).toInt());

    TScriptedDialogs messages;
    TfrmDM dm;
    if (!dm.Connect(path)) {
        std::fprintf(stderr, "%s\n", qPrintable(messages.messages().join(u'\n')));
        return 1;
    }
    TReportProject project;
    project.open(QCoreApplication::applicationDirPath() + QStringLiteral("/velmora.rav"));
    const int rounds = std::max(1, parser.value(roundsOpt).toInt());

    dm.openReportInventar(kCustomer, kDay, false);
    print("Inventarliste", measure(dm, project, QStringLiteral("Inventarliste"), folder, rounds));
    dm.openReportPruefungenForDay(kCustomer, kDay);
    print("Pruefungen (one day)", measure(dm, project, QStringLiteral("Pruefungen"), folder, rounds));
    return 0;
}

#include "DataGenerator.h"
#include "Database.h"
#include "DbError.h"
#include "Decimal.h"
#include "Query.h"
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <algorithm>
#include <random>

namespace {

void say(bool verbose, const QString &text)
{
    if (verbose) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        std::fflush(stderr);
    }
}

// Things that get inspected, with the protection class they usually have.
struct DeviceKind {
    const char *name;
    bool protectiveEarth; // protection class I: has a protective conductor
};

const DeviceKind kKinds[] = {
    {"Bohrmaschine", false},          {"Bohrhammer", true},
    {"Winkelschleifer", false},       {"Kabeltrommel 25 m", true},
    {"Verlängerungskabel 10 m", true}, {"Mehrfachsteckdose 5-fach", true},
    {"Kaffeemaschine", true},         {"Wasserkocher", true},
    {"Kühlschrank", true},            {"Mikrowelle", true},
    {"Monitor", false},               {"PC Arbeitsplatz", true},
    {"Laptop-Netzteil", false},       {"Drucker", true},
    {"Stehleuchte", false},           {"Heizlüfter", true},
    {"Staubsauger", false},           {"Lötstation", true},
    {"Akku-Ladegerät", false},        {"Tischkreissäge", true},
};

const char *const kPlaces[] = {"Büro", "Werkstatt", "Lager", "Teeküche", "Halle", "Labor", "Empfang", "Versand"};

const char *const kRemarks[] = {
    "Stecker getauscht",
    "Zuleitung beschädigt, ersetzt",
    "Gehäuse gerissen, Gerät ausgesondert",
    "Nachprüfung nach Reparatur",
    "Knickschutz lose, nachgezogen",
    "Gerät stark verschmutzt, gereinigt",
    "Typschild unleserlich, neu beschriftet",
    "Schutzleiter unterbrochen, Gerät gesperrt",
    "Prüfung unter Aufsicht des Nutzers",
    "Zugentlastung defekt, instand gesetzt und erneut geprüft",
};

// Raised whenever the generated values change, so that files of an older
// generator are not taken for current ones.
constexpr int kGeneratorVersion = 1;

} // namespace

QStringList TBenchData::createParams()
{
    return {QStringLiteral("/* CREATE DATABASE */"), QStringLiteral("USER 'SYSDBA'"), QStringLiteral("PASSWORD 'lindgrove'"),
            QStringLiteral("DEFAULT CHARACTER SET UTF8")};
}

QStringList TBenchData::connectionParams()
{
    return {QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=lindgrove"), QStringLiteral("lc_ctype=UTF8")};
}

QString TBenchData::defaultFolder() { return QDir::tempPath() + QStringLiteral("/velmora-bench"); }

QString TBenchData::filePath(const QString &folder, int rows)
{
    return QDir(folder).absoluteFilePath(QStringLiteral("pruefungen-%1-v%2.fdb").arg(rows).arg(kGeneratorVersion));
}

QString TBenchData::createTableSql()
{
    return QStringLiteral(
        "CREATE TABLE PRUEFUNGEN (ID INTEGER NOT NULL,BEZEICHNUNG VARCHAR(50),"
        "PRUEFDATUM TIMESTAMP DEFAULT current_timestamp NOT NULL,NEXT_PRUEFDATUM TIMESTAMP NOT NULL,"
        "PRUEFER_ID INTEGER NOT NULL,PRUEFGERAETE_ID INTEGER NOT NULL,PRUEFLINGE_ID INTEGER NOT NULL,"
        "SICHTPRUEFUNG_BESTANDEN SMALLINT,SCHUTZLEITWIDERSTAND DECIMAL(18,4),SCHUTZLEITWIDERSTAND_BESTANDEN SMALLINT,"
        "ISOLATIONSPRUEFUNG DECIMAL(18,4),ISOLATIONSPRUEFUNG_BESTANDEN SMALLINT,ERSATZABLEITSTROM DECIMAL(18,4),"
        "ERSATZABLEITSTROM_BESTANDEN SMALLINT,DIFFERENZSTROM DECIMAL(18,4),DIFFERENZSTROM_BESTANDEN SMALLINT,"
        "BERUEHRUNGSSTROM DECIMAL(18,4),BERUEHRUNGSSTROM_BESTANDEN SMALLINT,FUNKTIONSPRUEFUNG_BESTANDEN SMALLINT,"
        "BEMERKUNG BLOB SUB_TYPE TEXT ,PRIMARY KEY (ID))");
}

const QStringList &TBenchData::columnNames()
{
    static const QStringList names = {
        QStringLiteral("ID"),
        QStringLiteral("BEZEICHNUNG"),
        QStringLiteral("PRUEFDATUM"),
        QStringLiteral("NEXT_PRUEFDATUM"),
        QStringLiteral("PRUEFER_ID"),
        QStringLiteral("PRUEFGERAETE_ID"),
        QStringLiteral("PRUEFLINGE_ID"),
        QStringLiteral("SICHTPRUEFUNG_BESTANDEN"),
        QStringLiteral("SCHUTZLEITWIDERSTAND"),
        QStringLiteral("SCHUTZLEITWIDERSTAND_BESTANDEN"),
        QStringLiteral("ISOLATIONSPRUEFUNG"),
        QStringLiteral("ISOLATIONSPRUEFUNG_BESTANDEN"),
        QStringLiteral("ERSATZABLEITSTROM"),
        QStringLiteral("ERSATZABLEITSTROM_BESTANDEN"),
        QStringLiteral("DIFFERENZSTROM"),
        QStringLiteral("DIFFERENZSTROM_BESTANDEN"),
        QStringLiteral("BERUEHRUNGSSTROM"),
        QStringLiteral("BERUEHRUNGSSTROM_BESTANDEN"),
        QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"),
        QStringLiteral("BEMERKUNG"),
    };
    return names;
}

QString TBenchData::selectSql()
{
    return QStringLiteral("SELECT ") + columnNames().join(QStringLiteral(", ")) + QStringLiteral(" FROM PRUEFUNGEN");
}

qint64 TBenchData::countRows(const QString &path)
{
    if (!QFileInfo::exists(path))
        return -1;
    try {
        TDatabase db;
        new TTransaction(&db, &db);
        db.setDatabaseName(path);
        db.params = connectionParams();
        db.open();
        qint64 n = -1;
        {
            TQuery q(&db);
            q.setSql(QStringLiteral("SELECT COUNT(*) FROM PRUEFUNGEN"));
            q.execQuery();
            n = q.eof() ? -1 : q.asInteger(0);
            q.close();
        }
        db.close();
        return n;
    } catch (const EDatabaseError &) {
        return -1;
    }
}

QString TBenchData::ensureDatabase(const QString &folder, int rows, bool verbose)
{
    if (!QDir().mkpath(folder))
        throw EDatabaseError(QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(folder));
    const QString path = filePath(folder, rows);
    const qint64 existing = countRows(path);
    if (existing == rows) {
        say(verbose, QStringLiteral("Using existing %1 (%2 rows)").arg(path).arg(rows));
        return path;
    }
    generate(path, rows, 20240611u, verbose);
    return path;
}

void TBenchData::generate(const QString &path, int rows, quint32 seed, bool verbose)
{
    QElapsedTimer timer;
    timer.start();
    say(verbose, QStringLiteral("Creating %1 with %2 rows ...").arg(path).arg(rows));
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw EDatabaseError(QStringLiteral("Die Datei %1 kann nicht ersetzt werden.").arg(path));

    TDatabase db;
    auto *transaction = new TTransaction(&db, &db);
    db.setDatabaseName(path);
    db.params = createParams();
    db.createDatabase();
    db.close();
    db.params = connectionParams();
    db.open();

    {
        TQuery ddl(&db);
        ddl.setSql(createTableSql());
        ddl.execQuery();
        ddl.close();
        transaction->commit();
    }

    TQuery insert(&db);
    QStringList placeholders;
    for (const QString &c : columnNames())
        placeholders << u':' + c;
    insert.setSql(QStringLiteral("INSERT INTO PRUEFUNGEN (%1) VALUES (%2)")
                      .arg(columnNames().join(QStringLiteral(", ")), placeholders.join(QStringLiteral(", "))));
    insert.prepare();

    TParam &pId = insert.paramByName(QStringLiteral("ID"));
    TParam &pName = insert.paramByName(QStringLiteral("BEZEICHNUNG"));
    TParam &pDate = insert.paramByName(QStringLiteral("PRUEFDATUM"));
    TParam &pNext = insert.paramByName(QStringLiteral("NEXT_PRUEFDATUM"));
    TParam &pInspector = insert.paramByName(QStringLiteral("PRUEFER_ID"));
    TParam &pMeter = insert.paramByName(QStringLiteral("PRUEFGERAETE_ID"));
    TParam &pDevice = insert.paramByName(QStringLiteral("PRUEFLINGE_ID"));
    TParam &pVisual = insert.paramByName(QStringLiteral("SICHTPRUEFUNG_BESTANDEN"));
    TParam &pEarth = insert.paramByName(QStringLiteral("SCHUTZLEITWIDERSTAND"));
    TParam &pEarthOk = insert.paramByName(QStringLiteral("SCHUTZLEITWIDERSTAND_BESTANDEN"));
    TParam &pIso = insert.paramByName(QStringLiteral("ISOLATIONSPRUEFUNG"));
    TParam &pIsoOk = insert.paramByName(QStringLiteral("ISOLATIONSPRUEFUNG_BESTANDEN"));
    TParam &pSubst = insert.paramByName(QStringLiteral("ERSATZABLEITSTROM"));
    TParam &pSubstOk = insert.paramByName(QStringLiteral("ERSATZABLEITSTROM_BESTANDEN"));
    TParam &pDiff = insert.paramByName(QStringLiteral("DIFFERENZSTROM"));
    TParam &pDiffOk = insert.paramByName(QStringLiteral("DIFFERENZSTROM_BESTANDEN"));
    TParam &pTouch = insert.paramByName(QStringLiteral("BERUEHRUNGSSTROM"));
    TParam &pTouchOk = insert.paramByName(QStringLiteral("BERUEHRUNGSSTROM_BESTANDEN"));
    TParam &pFunction = insert.paramByName(QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"));
    TParam &pRemark = insert.paramByName(QStringLiteral("BEMERKUNG"));

    std::mt19937 rng(seed);
    auto between = [&](qint64 lo, qint64 hi) { return std::uniform_int_distribution<qint64>(lo, hi)(rng); };
    auto chance = [&](double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(rng) < p; };
    auto setFlag = [](TParam &p, bool ok) { p.setAsInteger(ok ? 1 : 0); };
    // A meter reading in units of 1/10000, shown with two places (0.06, 19.99).
    auto reading = [&](qint64 lo, qint64 hi) { return std::max<qint64>(100, between(lo, hi) / 100 * 100); };
    // A measured value with its verdict, or NULL for both.
    auto setMeasure = [](TParam &value, TParam &verdict, qint64 units, bool ok) {
        value.setAsDecimal(TDecimal(units, 4));
        verdict.setAsInteger(ok ? 1 : 0);
    };
    auto clearMeasure = [](TParam &value, TParam &verdict) {
        value.clear();
        verdict.clear();
    };

    const int kindCount = static_cast<int>(std::size(kKinds));
    const int placeCount = static_cast<int>(std::size(kPlaces));
    const int remarkCount = static_cast<int>(std::size(kRemarks));
    const qint64 devices = std::max<qint64>(1, rows / 4); // each device comes back about four times
    const QDate firstDay(2011, 1, 3);
    const qint64 spanDays = firstDay.daysTo(QDate(2024, 12, 20));

    for (int i = 1; i <= rows; ++i) {
        const qint64 device = between(1, devices);
        // A device keeps its kind and place for life: derive them from its id.
        const quint32 h = static_cast<quint32>(device) * 2654435761u;
        const DeviceKind &kind = kKinds[(h >> 8) % static_cast<quint32>(kindCount)];
        const bool classOne = kind.protectiveEarth;

        pId.setAsInteger(i);
        if (chance(0.03))
            pName.clear();
        else
            pName.setAsString(QStringLiteral("%1 %2 %3")
                                  .arg(QString::fromUtf8(kind.name), QString::fromUtf8(kPlaces[(h >> 16) % static_cast<quint32>(placeCount)]))
                                  .arg(device % 40 + 1));

        const QDate day = firstDay.addDays(between(0, spanDays));
        const QTime time(static_cast<int>(between(7, 17)), static_cast<int>(between(0, 59)), static_cast<int>(between(0, 59)));
        const QDateTime when(day, time);
        static const int kIntervals[] = {6, 12, 12, 12, 24};
        pDate.setAsDateTime(when);
        pNext.setAsDateTime(QDateTime(day.addMonths(kIntervals[between(0, 4)]), QTime(0, 0)));
        pInspector.setAsInteger(between(1, 12));
        pMeter.setAsInteger(between(1, 5));
        pDevice.setAsInteger(device);

        bool failed = false;
        if (chance(0.01)) {
            pVisual.clear();
        } else {
            const bool ok = !chance(0.03);
            failed |= !ok;
            setFlag(pVisual, ok);
        }

        // Protective conductor resistance: only class I; limit 0.3 ohm.
        if (classOne && !chance(0.02)) {
            const qint64 units = chance(0.01) ? reading(3100, 12000) : reading(300, 3000); // 0.03 .. 0.30 ohm
            failed |= units > 3000;
            setMeasure(pEarth, pEarthOk, units, units <= 3000);
        } else {
            clearMeasure(pEarth, pEarthOk);
        }

        // Insulation resistance: the meter's top reading 19.99 megohm for most.
        if (chance(0.05)) {
            clearMeasure(pIso, pIsoOk);
        } else {
            const qint64 units = chance(0.85) ? 199900 : reading(5000, 199800);
            const qint64 limit = classOne ? 10000 : 20000; // 1 or 2 megohm
            failed |= units < limit;
            setMeasure(pIso, pIsoOk, units, units >= limit);
        }

        // Substitute leakage current: limit 3.5 mA (class I), 0.5 mA (class II).
        if (chance(0.6)) {
            const qint64 units = chance(0.005) ? reading(36000, 60000) : reading(100, 5000);
            const qint64 limit = classOne ? 35000 : 5000;
            failed |= units > limit;
            setMeasure(pSubst, pSubstOk, units, units <= limit);
        } else {
            clearMeasure(pSubst, pSubstOk);
        }

        // Differential current, measured for a quarter of the devices.
        if (chance(0.25)) {
            const qint64 units = reading(100, 4000);
            setMeasure(pDiff, pDiffOk, units, units <= 35000);
        } else {
            clearMeasure(pDiff, pDiffOk);
        }

        // Touch current: class II devices, about half of them.
        if (!classOne && chance(0.5)) {
            const qint64 units = reading(100, 2500);
            setMeasure(pTouch, pTouchOk, units, units <= 5000);
        } else {
            clearMeasure(pTouch, pTouchOk);
        }

        if (chance(0.02)) {
            pFunction.clear();
        } else {
            const bool ok = !chance(0.02);
            failed |= !ok;
            setFlag(pFunction, ok);
        }

        // A remark for about one row in ten, more often after a failure.
        if (chance(failed ? 0.6 : 0.08))
            pRemark.setAsString(QString::fromUtf8(kRemarks[between(0, remarkCount - 1)]));
        else
            pRemark.clear();

        insert.execQuery();
        if (verbose && i % 20000 == 0)
            say(verbose, QStringLiteral("  %1 rows, %2 s").arg(i).arg(timer.elapsed() / 1000.0, 0, 'f', 1));
    }
    insert.close();
    transaction->commit();
    db.close();
    say(verbose, QStringLiteral("Created %1 rows in %2 s").arg(rows).arg(timer.elapsed() / 1000.0, 0, 'f', 1));
}

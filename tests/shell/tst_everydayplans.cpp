// The plans of every statement the running program prepares on its everyday
// path: recorded while a user's steps are walked, then each prepared again
// and its plan read. A statement about one customer or one device must find
// its rows through an index: no full scan of the big tables, no sort of more
// than the rows one key finds. A new statement on the path is checked
// without a line here.
#include "AppTestMain.h"
#include "DbError.h"
#include "Fingerprints.h"
#include "ImportLookups.h"
#include "IndexStatistics.h"
#include "ManyDevices.h"
#include "NewDatabase.h"
#include "PreparedStatements.h"
#include "RunningProgram.h"
#include "SchemaVersion.h"
#include "StatementPlan.h"
#include "UMain.h"
#include "UPruefling.h"
#include "UPruefung.h"
#include <QComboBox>
#include <QRegularExpression>
#include <QtTest>

namespace {

const QString kBigTables = QStringLiteral("PRUEFUNGEN|PRUEFLINGE|FINGERABDRUECKE");

int indentOf(const QString &line) { return static_cast<int>(line.size() - QStringView(line).trimmed().size()); }

// What in an explained plan grows with a whole table: a table read in full,
// an index walked in full under a filter, or a sort over a table whose rows
// no equality on an index bounded.
QStringList growingSteps(const QString &plan)
{
    static const QRegularExpression fullScan(QStringLiteral("Table \"(%1)\".* Full Scan").arg(kBigTables));
    static const QRegularExpression table(QStringLiteral("Table \"(%1)\"").arg(kBigTables));
    QStringList found;
    const QStringList lines = plan.split(u'\n');
    static const QRegularExpression indexWalk(QStringLiteral("-> Index \"\\w+\" Full Scan"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto m = fullScan.match(lines[i]); m.hasMatch())
            found << QStringLiteral("NATURAL ") + m.captured(1);
        // An index walked in its order while another index filters the rows
        // (for the first row of a key in key order): it may pass every entry
        // of the table before the one it looks for. Walking one without a
        // filter (the newest row of all) stops at the first.
        if (indexWalk.match(lines[i]).hasMatch() && i + 1 < lines.size() && indentOf(lines[i + 1]) > indentOf(lines[i]))
            for (qsizetype t = i - 1; t >= 0; --t)
                if (indentOf(lines[t]) < indentOf(lines[i])) {
                    if (const auto m = table.match(lines[t]); m.hasMatch())
                        found << QStringLiteral("WALK ") + m.captured(1);
                    break;
                }
        if (!lines[i].trimmed().startsWith(QStringLiteral("-> Sort")))
            continue;
        // The sort's input: the lines indented under it. A big table in it
        // is fine only when found by a full match of an index.
        const int indent = indentOf(lines[i]);
        for (qsizetype j = i + 1; j < lines.size() && indentOf(lines[j]) > indent; ++j) {
            const auto m = table.match(lines[j]);
            if (!m.hasMatch())
                continue;
            bool bounded = false;
            for (qsizetype k = j + 1; k < lines.size() && indentOf(lines[k]) > indentOf(lines[j]); ++k)
                bounded = bounded || lines[k].contains(QStringLiteral("(full match)")) || lines[k].contains(QStringLiteral("Unique Scan"));
            if (!bounded)
                found << QStringLiteral("SORT ") + m.captured(1);
        }
    }
    found.removeDuplicates();
    return found;
}

// A new file's first start upgrades it once, reading every inspection;
// done before the walk, which is about every start after that.
void upgradeOnce(const QString &path)
{
    TDatabase db;
    TTransaction t(&db);
    db.params = connectionParams();
    db.setDatabaseName(path);
    db.open();
    runMigrations(db);
}

// Records from the program's start on, not the making of its file.
struct Walk : TRunningProgram {
    explicit Walk(std::optional<PreparedStatements> &recording)
        : TRunningProgram(
              [&recording](TAppHome &home) {
                  home.createDatabase(customerWithDevices(201, 60) + customerWithDevices(202, 60));
                  upgradeOnce(home.dbPath);
                  recording.emplace();
              },
              QDateTime(QDate(2026, 12, 10), QTime(9, 30)))
    {
    }
    void chooseCustomer(const QString &name)
    {
        auto *customers = find<QComboBox>(frmMain, "cbKunden");
        const int index = customers->findText(name);
        customers->setCurrentIndex(index);
        emit customers->activated(index);
    }
};

struct Step {
    QString name;
    QString sql;
};

} // namespace

class TestEverydayPlans : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void everydayStatementsUseIndexes()
    {
        std::optional<PreparedStatements> recorded;
        QList<Step> steps;
        const auto step = [&](const QString &name, const std::function<void()> &walk) {
            const qsizetype before = recorded ? recorded->texts().size() : 0;
            walk();
            for (const QString &sql : recorded->texts().mid(before))
                steps << Step{name, sql};
        };
        std::unique_ptr<Walk> program;
        step(QStringLiteral("Programmstart"), [&] { program = std::make_unique<Walk>(recorded); });
        Walk &p = *program;
        step(QStringLiteral("Kunde wechseln"), [&] { p.chooseCustomer(QStringLiteral("Kunde 201")); });
        step(QStringLiteral("Prüfling wechseln"), [&] {
            auto *devices = p.find<QAbstractItemView>(frmMain, "gridPrueflinge");
            p.clickRow(devices, 1);
            QTest::keyClick(devices, Qt::Key_Down);
        });
        step(QStringLiteral("Neuer Prüfling"), [&] { p.click(frmMain, "DBNavButton1"); });
        step(QStringLiteral("Prüfling sichern"), [&] {
            p.typeWithoutReturn(p.find<QComboBox>(frmPruefling, "cbBezeichnung")->lineEdit(), QStringLiteral("Bohrmaschine"));
            p.click(frmPruefling, "btnSave");
        });
        step(QStringLiteral("Prüfling bearbeiten"), [&] {
            p.click(frmMain, "DBNavButton2");
            p.click(frmPruefling, "BitBtn1");
        });
        step(QStringLiteral("Neue Prüfung"), [&] { p.click(frmMain, "btnNeuePruefung"); });
        step(QStringLiteral("Prüfung sichern"), [&] {
            p.type(p.find<QLineEdit>(frmPruefung, "editSchutzleitwiderstand"), QStringLiteral("0,12"));
            p.click(frmPruefung, "btnSave");
        });
        step(QStringLiteral("Fälligkeiten eines Kunden"), [&] {
            p.find<QAction>(frmMain, "Faelligkeiten1")->trigger();
            auto *customer = p.find<QComboBox>("cbFaelligKunde");
            customer->setCurrentIndex(customer->findText(QStringLiteral("Kunde 202")));
        });
        step(QStringLiteral("Fingerabdruck einer Prüfung (Protokoll, Löschen)"), [&] {
            const std::optional<TFingerprintEntry> latest = latestFingerprint(frmDM->Database, 1001);
            fingerprintByValue(frmDM->Database, latest ? latest->value : QString());
        });
        step(QStringLiteral("Import: Nachschlagen"), [&] {
            TImportLookups lookups(frmDM->Database);
            bool ambiguous = false;
            lookups.customerByName(QStringLiteral("Kunde 202"), &ambiguous);
            lookups.devicesByNumber(202, QStringLiteral("7"));
            lookups.inspected(202007, QDateTime(QDate(2025, 6, 10), QTime(0, 0)));
        });
        QVERIFY(steps.size() > 10);

        // Plans judged with the statistics a file has after an upgrade or import.
        recomputeIndexStatistics(frmDM->Database);
        static const QRegularExpression bigTable(QStringLiteral("\\b(%1)\\b").arg(kBigTables));
        QStringList faults;
        for (const Step &s : std::as_const(steps)) {
            if (!s.sql.contains(bigTable))
                continue;
            QString plan;
            try {
                plan = explainedStatementPlan(frmDM->Database, s.sql);
            } catch (const EDatabaseError &e) {
                faults << QStringLiteral("%1 | not prepared: %2 | %3").arg(s.name, e.message(), QString(s.sql).simplified());
                continue;
            }
            const QStringList growing = growingSteps(plan);
            if (!growing.isEmpty())
                faults << QStringLiteral("%1 | %2 | %3\n%4").arg(s.name, growing.join(u','), QString(s.sql).simplified(), plan);
        }
        if (!faults.isEmpty())
            QFAIL(qPrintable(QStringLiteral("step | grows with | statement, then its plan\n") + faults.join(QStringLiteral("\n\n"))));
    }
};

VELMORA_APP_TEST_MAIN(TestEverydayPlans)
#include "tst_everydayplans.moc"

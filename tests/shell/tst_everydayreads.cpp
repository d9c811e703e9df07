// What the everyday steps read does not grow with the firm's file: beside
// the demo customer, another customer holds many devices, and each step
// reads about as many rows as it reads without them.
#include "AppTestMain.h"
#include "ManyDevices.h"
#include "RowsRead.h"
#include "RunningProgram.h"
#include "UMain.h"
#include "UPruefling.h"
#include "UPruefung.h"
#include <QComboBox>
#include <QLabel>
#include <QtTest>

namespace {

const QStringList kDeviceTables = {"PRUEFLINGE", "PRUEFUNGEN"};
constexpr int kOtherDevices = 300;

struct Running : TRunningProgram {
    explicit Running(int otherDevices)
        : TRunningProgram(otherDevices ? customerWithDevices(201, otherDevices) : QStringList(),
                          QDateTime(QDate(2026, 12, 10), QTime(9, 30)))
    {
    }
    // Rows of devices and inspections the step reads.
    static qint64 rowsReadBy(const std::function<void()> &step)
    {
        const qint64 before = rowsRead(frmDM->Database, kDeviceTables);
        step();
        return rowsRead(frmDM->Database, kDeviceTables) - before;
    }
    static QStringList offered(const char *box)
    {
        auto *list = find<QComboBox>(frmPruefling, box);
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        return items;
    }
};

} // namespace

class TestEverydayReads : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    // The first opening of the device window reads one device per distinct
    // name and place, not every device; opening it again offers the names
    // and places of before without reading them again; a saved device adds
    // its own at once.
    void deviceWindowSuggestions()
    {
        qint64 firstOpening[2] = {};
        qint64 reopening[2] = {};
        qint64 saving[2] = {};
        for (const int other : {0, kOtherDevices}) {
            Running r(other);
            const auto openDevice = [&r] { r.click(frmMain, "DBNavButton2"); }; // "Prüfling bearbeiten"
            firstOpening[other ? 1 : 0] = r.rowsReadBy(openDevice);
            QCOMPARE(r.offered("cbBezeichnung"), other ? QStringList({"Drucker", "Gerät", "Mikrowelle"}) : QStringList({"Drucker", "Mikrowelle"}));
            r.click(frmPruefling, "BitBtn1");
            reopening[other ? 1 : 0] = r.rowsReadBy(openDevice);

            r.typeWithoutReturn(r.find<QComboBox>(frmPruefling, "cbOrt")->lineEdit(), "Keller");
            r.typeWithoutReturn(r.find<QComboBox>(frmPruefling, "cbBezeichnung")->lineEdit(), "Bohrmaschine");
            saving[other ? 1 : 0] = r.rowsReadBy([&r] { r.click(frmPruefling, "btnSave"); });
            QCOMPARE(r.text("SELECT BEZEICHNUNG FROM PRUEFLINGE WHERE ID = 1001"), QStringLiteral("Bohrmaschine"));
            openDevice();
            QVERIFY(r.offered("cbBezeichnung").contains("Bohrmaschine"));
            QVERIFY(r.offered("cbBezeichnung").contains("Drucker")); // still carried by no device, offered until reconnecting
            QVERIFY(r.offered("cbOrt").contains("Keller"));
            r.click(frmPruefling, "BitBtn1");
        }
        // The other customer's devices all carry one name: one more text.
        QVERIFY2(firstOpening[1] - firstOpening[0] <= 2, qPrintable(QStringLiteral("%1 %2").arg(firstOpening[0]).arg(firstOpening[1])));
        QCOMPARE(reopening[1], reopening[0]);
        QCOMPARE(saving[1], saving[0]);
    }

    // The "Fälligkeiten" window showing one customer reads that customer's
    // devices, when chosen and again after an inspection is stored.
    void dueListOfOneCustomer()
    {
        qint64 reading[2] = {};
        for (const int other : {0, kOtherDevices}) {
            Running r(other);
            r.find<QAction>(frmMain, "Faelligkeiten1")->trigger();
            auto *customer = r.find<QComboBox>("cbFaelligKunde");
            reading[other ? 1 : 0] = r.rowsReadBy([&] {
                customer->setCurrentIndex(customer->findText(QStringLiteral("Demo-Kunde")));
                r.click(frmMain, "btnNeuePruefung");
                r.type(r.find<QLineEdit>(frmPruefung, "editSchutzleitwiderstand"), QStringLiteral("0,12"));
                r.click(frmPruefung, "btnSave");
            });
            QCOMPARE(r.find<QLabel>("lblFaelligGesamt")->text(), QStringLiteral("Gesamt: 1 fällige Prüflinge"));
        }
        QCOMPARE(reading[1], reading[0]);
    }
};

VELMORA_APP_TEST_MAIN(TestEverydayReads)
#include "tst_everydayreads.moc"

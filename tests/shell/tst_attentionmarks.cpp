#include "DataSetModel.h"
#include "ManyDevices.h"
#include "RowsRead.h"
#include "RunningProgram.h"
#include "UMain.h"
#include "UPruefung.h"
#include <QComboBox>
#include <QTableView>
#include <QtTest>

namespace {

// The running program on the demo database on 10.12.2026: the printer
// (row 0, latest inspection 10002 due 10.01.2015) and the microwave (row 1,
// never inspected).
struct Running : TRunningProgram {
    explicit Running(const QStringList &changes = {})
        : TRunningProgram(changes, QDateTime(QDate(2026, 12, 10), QTime(9, 30)))
    {
    }
    static QVariant cell(int row, int role)
    {
        QTableView *devices = find<QTableView>(frmMain, "gridPrueflinge");
        return devices->model()->data(devices->model()->index(row, 0), role);
    }
    static QString symbol(int row) { return cell(row, TDataSetModel::MarkSymbolRole).toString(); }
    static QString toolTip(int row) { return cell(row, Qt::ToolTipRole).toString(); }
};

} // namespace

class TestAttentionMarks : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void deviceGridMarks_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("overdue") << "" << "!" << "überfällig\nÜberfällig seit 10.01.2015.";
        QTest::newRow("due soon and near its limit")
            << "UPDATE PRUEFUNGEN SET NEXT_PRUEFDATUM = '2027-01-05', SCHUTZLEITWIDERSTAND = 0.28 WHERE ID = 10002"
            << "FG"
            << "bald fällig, nahe Grenzwert\nFällig am 05.01.2027 (in 26 Tagen).\n"
               "Schutzleiterwiderstand 0,28 Ohm nahe am Grenzwert 0,30 Ohm.";
        QTest::newRow("nothing to mark") << "UPDATE PRUEFUNGEN SET NEXT_PRUEFDATUM = '2027-06-01' WHERE ID = 10002" << ""
                                         << "";
    }
    void deviceGridMarks()
    {
        QFETCH(QString, change);
        QFETCH(QString, symbol);
        QFETCH(QString, toolTip);
        Running r(change.isEmpty() ? QStringList() : QStringList{change});
        QCOMPARE(r.symbol(0), symbol);
        QCOMPARE(r.toolTip(0), toolTip);
        QCOMPARE(r.cell(0, Qt::BackgroundRole).isValid(), !symbol.isEmpty()); // colour only beside the symbol
        QCOMPARE(r.cell(0, Qt::DecorationRole).isValid(), !symbol.isEmpty());
        QCOMPARE(r.symbol(1), QStringLiteral("!"));
        QCOMPARE(r.toolTip(1), QStringLiteral("überfällig\nNoch nie geprüft: gilt als fällig."));
    }

    // The marks stand before the key in the first column; both are shown
    // whole, also with two symbols.
    void firstColumnHoldsMarksAndKey()
    {
        Running r({"UPDATE PRUEFUNGEN SET SICHTPRUEFUNG_BESTANDEN = 0 WHERE ID = 10002"});
        QTableView *devices = r.find<QTableView>(frmMain, "gridPrueflinge");
        QCOMPARE(r.symbol(0).size(), 2);
        const QPixmap marks = r.cell(0, Qt::DecorationRole).value<QPixmap>();
        const int key = devices->fontMetrics().horizontalAdvance(r.cell(0, Qt::DisplayRole).toString());
        QVERIFY2(devices->columnWidth(0) >= marks.width() + key + 8,
                 qPrintable(QStringLiteral("%1 < %2 + %3").arg(devices->columnWidth(0)).arg(marks.width()).arg(key)));
    }

    // A step down the device list reads the same rows whether the customer
    // has twenty devices or two hundred: no other device's marks.
    void stepDownReadsOnlyWhatIsShown()
    {
        Running r(customerWithDevices(201, 20) + customerWithDevices(202, 200));
        const auto rowsReadByStepDown = [&r](const QString &customer) {
            auto *customers = r.find<QComboBox>(frmMain, "cbKunden");
            customers->setCurrentIndex(customers->findText(customer));
            emit customers->activated(customers->currentIndex());
            QTableView *devices = r.find<QTableView>(frmMain, "gridPrueflinge");
            r.clickRow(devices, 0);
            const QStringList tables = {"PRUEFLINGE", "PRUEFUNGEN"};
            const qint64 before = rowsRead(frmDM->Database, tables);
            QTest::keyClick(devices, Qt::Key_Down);
            return rowsRead(frmDM->Database, tables) - before;
        };
        const qint64 fewDevices = rowsReadByStepDown("Kunde 201");
        QCOMPARE(frmDM->dsetPrueflinge.recNo(), 2);
        QCOMPARE(rowsReadByStepDown("Kunde 202"), fewDevices);
        QCOMPARE(frmDM->dsetPrueflinge.recNo(), 2);
        QCOMPARE(r.symbol(1), QString()); // its marks are known: next inspection on 10.06.2027
        QVERIFY(r.toolTip(1).isEmpty());
    }

    // A failed inspection, once stored, marks its device at once.
    void storedInspectionMarksAtOnce()
    {
        Running r({"UPDATE PRUEFUNGEN SET NEXT_PRUEFDATUM = '2027-06-01' WHERE ID = 10002"});
        QCOMPARE(r.symbol(0), QString());
        r.click(frmMain, "btnNeuePruefung");
        r.type(r.find<QLineEdit>(frmPruefung, "editSchutzleitwiderstand"), "0,31");
        r.click(frmPruefung, "btnSave");
        QCOMPARE(r.symbol(0), QStringLiteral("×"));
        QVERIFY(r.toolTip(0).contains("Letzte Prüfung am 10.12.2026 nicht bestanden."));
    }
};

QTEST_MAIN(TestAttentionMarks)
#include "tst_attentionmarks.moc"

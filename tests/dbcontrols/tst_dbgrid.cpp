// The grid over a record set: titles and cells from the fields, the current
// row kept in step both ways, title clicks, editing in place.
#include "ControlsFixture.h"
#include "DBEdit.h"
#include "DBGrid.h"
#include <QFont>
#include <QHeaderView>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

namespace {

struct GridForm : ControlsFixture {
    TDBGrid *grdKunden;
    TDBEdit *edtRabatt;

    GridForm()
    {
        auto *layout = new QVBoxLayout(&window);
        grdKunden = new TDBGrid;
        grdKunden->setObjectName("grdKunden");
        grdKunden->setDataSource(dsrcKunden.get());
        layout->addWidget(grdKunden);
        edtRabatt = new TDBEdit;
        edtRabatt->setObjectName("edtRabatt");
        edtRabatt->setDataSource(dsrcKunden.get());
        edtRabatt->setDataField("RABATT");
        layout->addWidget(edtRabatt);
        kunden->open();
    }

    QStringList titles() const
    {
        QStringList result;
        for (int c = 0; c < grdKunden->model()->columnCount(); ++c)
            result << grdKunden->model()->headerData(c, Qt::Horizontal).toString();
        return result;
    }

    int selectedRow() const
    {
        const QModelIndexList rows = grdKunden->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.constFirst().row() : -1;
    }

    // The grid's current row, the one selected row and the record set's row.
    bool inStep(int row) const
    {
        return grdKunden->currentIndex().row() == row && selectedRow() == row && kunden->recNo() - 1 == row;
    }

    void clickRow(int row, int column = 0)
    {
        const QRect cell = grdKunden->visualRect(grdKunden->model()->index(row, column));
        QTest::mouseClick(grdKunden->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

} // namespace

class TestDBGrid : public QObject {
    Q_OBJECT

private slots:
    void titlesAreFieldLabels_data()
    {
        QTest::addColumn<QList<TGridColumn>>("columns");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("fieldNames");
        QTest::newRow("every visible field") << QList<TGridColumn>()
                                             << QStringList{"Name", "Ort", "Rabatt", "Aktiv", "Bemerkung", "GRUPPE_ID", "Anrede"}
                                             << QStringList{"NAME", "ORT", "RABATT", "AKTIV", "BEMERKUNG", "GRUPPE_ID", "ANREDE"};
        QTest::newRow("chosen columns") << QList<TGridColumn>{{"ORT", {}, 0, false},
                                                               {"NAME", "Kunde", 120, false},
                                                               {"ID", {}, 0, true},
                                                               {"RABATT", {}, 0, false}}
                                        << QStringList{"Ort", "Kunde", "Rabatt"} << QStringList{"ORT", "NAME", "RABATT"};
    }
    void titlesAreFieldLabels()
    {
        QFETCH(QList<TGridColumn>, columns);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, fieldNames);
        GridForm f;
        f.grdKunden->setColumns(columns);
        QCOMPARE(f.titles(), titles);
        for (int c = 0; c < fieldNames.size(); ++c)
            QCOMPARE(f.grdKunden->dataModel()->fieldNameAt(c), fieldNames.at(c));
        QCOMPARE(f.grdKunden->model()->rowCount(), 3);
        // Reopening keeps the columns.
        f.kunden->close();
        f.kunden->open();
        QCOMPARE(f.titles(), titles);
    }

    void explicitWidthIsApplied()
    {
        GridForm f;
        f.grdKunden->setColumns({{"NAME", "Kunde", 140, false}, {"ORT", {}, 0, false}});
        QCOMPARE(f.grdKunden->columnWidth(0), 140);
        QVERIFY(f.grdKunden->columnWidth(1) > 0);
    }

    void cellsShowDisplayTexts_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("alignment");
        QTest::newRow("text") << 2 << "NAME" << "Ärzte GmbH" << int(Qt::AlignLeft);
        QTest::newRow("decimal with format") << 2 << "RABATT" << "1.234,50" << int(Qt::AlignRight);
        QTest::newRow("null decimal") << 1 << "RABATT" << "" << int(Qt::AlignRight);
        QTest::newRow("flag") << 1 << "AKTIV" << "Nein" << int(Qt::AlignLeft);
        QTest::newRow("memo") << 0 << "BEMERKUNG" << "erste Zeile" << int(Qt::AlignLeft);
    }
    void cellsShowDisplayTexts()
    {
        QFETCH(int, row);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(int, alignment);
        GridForm f;
        const TDataSetModel *model = f.grdKunden->dataModel();
        int column = 0;
        while (model->fieldNameAt(column) != field)
            ++column;
        const QModelIndex cell = model->index(row, column);
        QCOMPARE(cell.data().toString(), text);
        QCOMPARE(int(cell.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask), alignment);
        QCOMPARE(f.kunden->recNo(), 1); // reading cells does not move the record set
    }

    void selectionFollowsRecordSet()
    {
        GridForm f;
        QVERIFY(f.inStep(0));
        f.kunden->last();
        QVERIFY(f.inStep(2));
        f.kunden->prior();
        QVERIFY(f.inStep(1));
    }

    void recordSetFollowsSelection()
    {
        GridForm f;
        QVERIFY(f.showWindow());
        f.clickRow(2, 1);
        QVERIFY(f.inStep(2));
        QCOMPARE(f.edtRabatt->text(), "1.234,50");
        f.grdKunden->setFocus();
        QTest::keyClick(f.grdKunden, Qt::Key_Up);
        QVERIFY(f.inStep(1));
        QCOMPARE(f.kunden->state(), TDataSetState::Browse);
    }

    // After the rows change the record set's row is selected again.
    void changedRowsKeepCurrentRowSelected()
    {
        GridForm f;
        f.kunden->moveTo(1);
        f.kunden->refresh();
        QVERIFY(f.inStep(1));

        f.kunden->append();
        QCOMPARE(f.grdKunden->model()->rowCount(), 4);
        QVERIFY(f.inStep(3));
        f.kunden->cancel();
        QCOMPARE(f.grdKunden->model()->rowCount(), 3);
        QVERIFY(f.inStep(2));

        f.kunden->moveTo(1);
        f.kunden->edit();
        f.kunden->fieldByName("NAME")->setAsString("Zahnarzt");
        f.kunden->post();
        QVERIFY(f.inStep(1));
        QCOMPARE(f.grdKunden->model()->index(1, 0).data().toString(), "Zahnarzt");

        f.kunden->deleteRecord();
        QCOMPARE(f.grdKunden->model()->rowCount(), 2);
        QVERIFY(f.inStep(1));
    }

    void titleClickIsReported()
    {
        GridForm f;
        QVERIFY(f.showWindow());
        QSignalSpy clicked(f.grdKunden, &TDBGrid::titleClicked);
        QHeaderView *header = f.grdKunden->horizontalHeader();
        const int x = header->sectionViewportPosition(2) + header->sectionSize(2) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.at(0).at(0).toInt(), 2);
        QCOMPARE(clicked.at(0).at(1).toString(), "RABATT");
        QCOMPARE(f.kunden->recNo(), 1); // a title click moves nothing
    }

    void underlinedTitleSurvivesReopen()
    {
        GridForm f;
        TDataSetModel *model = f.grdKunden->dataModel();
        auto underlined = [model](int column) {
            return model->headerData(column, Qt::Horizontal, Qt::FontRole).value<QFont>().underline();
        };
        model->setTitleUnderlined(1, true);
        QVERIFY(underlined(1));
        QVERIFY(!underlined(0));
        f.kunden->close();
        f.kunden->open();
        QVERIFY(underlined(1));
        model->setTitleUnderlined(1, false);
        model->setTitleUnderlined(2, true);
        QVERIFY(!underlined(1));
        QVERIFY(underlined(2));
    }

    void choosingRowWritesPendingInput()
    {
        GridForm f;
        QVERIFY(f.showWindow());
        f.edtRabatt->setFocus();
        QTest::keyClick(f.edtRabatt, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(f.edtRabatt, "7,5");
        f.grdKunden->selectionModel()->setCurrentIndex(f.grdKunden->model()->index(2, 0),
                                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QVERIFY(f.inStep(2));
        QCOMPARE(f.stored(1, "RABATT"), "7.5");
    }

    // The record set refuses to leave a row whose input is refused; the grid
    // goes back to that row.
    void refusedMoveKeepsGridOnRow()
    {
        GridForm f;
        QVERIFY(f.showWindow());
        f.edtRabatt->setFocus();
        QTest::keyClick(f.edtRabatt, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(f.edtRabatt, "abc");
        f.grdKunden->selectionModel()->setCurrentIndex(f.grdKunden->model()->index(2, 0),
                                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QCOMPARE(f.dialogs.messages().size(), 1);
        QCOMPARE(f.kunden->recNo(), 1);
        QCOMPARE(f.kunden->state(), TDataSetState::Edit);
        QCoreApplication::processEvents(); // the grid selects the row again once the event is done
        QVERIFY(f.inStep(0));
    }

    void cellsAreEditedOnlyInEditableGrid_data()
    {
        QTest::addColumn<bool>("editable");
        QTest::addColumn<QString>("stored");
        QTest::newRow("read-only grid") << false << "Zahn";
        QTest::newRow("editable grid") << true << "Zahnweh";
    }
    void cellsAreEditedOnlyInEditableGrid()
    {
        QFETCH(bool, editable);
        QFETCH(QString, stored);
        GridForm f;
        f.grdKunden->setEditable(editable);
        QVERIFY(f.showWindow());
        f.grdKunden->setFocus();
        f.clickRow(1);
        QTest::keyClick(f.grdKunden, Qt::Key_F2);
        QWidget *editor = QApplication::focusWidget();
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClicks(editor, "weh");
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the delegate commits the editor in a queued call
        QCOMPARE(f.kunden->state(), editable ? TDataSetState::Edit : TDataSetState::Browse);
        f.kunden->checkBrowseMode();
        QCOMPARE(f.stored(2, "NAME"), stored);
    }

    // Text in a cell editor that is still open reaches the row when the
    // record set posts or moves.
    void openCellEditorIsWrittenByUpdateStep_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("post") << "post";
        QTest::newRow("next") << "next";
    }
    void openCellEditorIsWrittenByUpdateStep()
    {
        QFETCH(QString, trigger);
        GridForm f;
        f.grdKunden->setEditable(true);
        QVERIFY(f.showWindow());
        f.grdKunden->setFocus();
        f.clickRow(1);
        QTest::keyClick(f.grdKunden, Qt::Key_F2);
        QCOMPARE(f.kunden->state(), TDataSetState::Edit); // the open editor has started the edit
        QWidget *editor = QApplication::focusWidget();
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClicks(editor, "weh");
        if (trigger == "post")
            f.kunden->post();
        else
            f.kunden->next();
        QCOMPARE(f.stored(2, "NAME"), "Zahnweh");
        QCOMPARE(f.kunden->state(), TDataSetState::Browse);
        QVERIFY(f.inStep(trigger == "post" ? 1 : 2));
    }

    void invalidCellTextIsRefused()
    {
        GridForm f;
        f.grdKunden->setEditable(true);
        TDataSetModel *model = f.grdKunden->dataModel();
        const QModelIndex cell = model->index(0, 2); // RABATT
        QVERIFY(!model->setData(cell, "viel"));
        QCOMPARE(f.dialogs.messages(), QStringList{"\u201Eviel\u201C ist keine g\u00FCltige Zahl."});
        QCOMPARE(cell.data().toString(), "0,10");
        QVERIFY(model->setData(cell, "0,25"));
        QCOMPARE(cell.data().toString(), "0,25");
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    prepareTestEnvironment();
    TestDBGrid test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_dbgrid.moc"

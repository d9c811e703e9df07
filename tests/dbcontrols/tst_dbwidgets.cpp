// Check box, drop-down list, lookup combo box and label bound to fields.
#include "ControlsFixture.h"
#include "DBCheckBox.h"
#include "DBComboBox.h"
#include "DBDropDownList.h"
#include "DBLookupComboBox.h"
#include "DBText.h"
#include <QVBoxLayout>
#include <QtTest>

namespace {

struct WidgetForm : ControlsFixture {
    TDBCheckBox *chkAktiv;
    TDBComboBox *cbAnrede;
    TDBDropDownList *dlAnrede;
    TDBLookupComboBox *cbGruppe;
    TDBText *lblRabatt, *lblAktiv;

    WidgetForm()
    {
        auto *layout = new QVBoxLayout(&window);
        auto bind = [this, layout](auto *control, const char *name, const char *field) {
            control->setObjectName(name);
            control->setDataSource(dsrcKunden.get());
            control->setDataField(field);
            layout->addWidget(control);
            return control;
        };
        chkAktiv = bind(new TDBCheckBox("&Aktiv"), "chkAktiv", "AKTIV");
        cbAnrede = bind(new TDBComboBox, "cbAnrede", "ANREDE");
        cbAnrede->addItems({"Herr", "Frau", "Firma"});
        dlAnrede = bind(new TDBDropDownList, "dlAnrede", "ANREDE");
        dlAnrede->addItems({"Herr", "Frau", "Firma"});
        cbGruppe = bind(new TDBLookupComboBox, "cbGruppe", "GRUPPE_ID");
        cbGruppe->setListSource(dsrcGruppen.get());
        cbGruppe->setKeyField("ID");
        cbGruppe->setListField("NAME");
        lblRabatt = bind(new TDBText, "lblRabatt", "RABATT");
        lblAktiv = bind(new TDBText, "lblAktiv", "AKTIV");
        gruppen->open();
        kunden->open();
    }
};

} // namespace

class TestDBWidgets : public QObject {
    Q_OBJECT

private slots:
    // Rows of the customers: AKTIV is 1, 0 and null.
    void checkBoxClickCycle_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<Qt::CheckState>("shown");
        QTest::addColumn<QString>("afterFirstClick");
        QTest::addColumn<QString>("afterSecondClick");
        QTest::newRow("true") << 0 << Qt::Checked << "0" << "1";
        QTest::newRow("false") << 1 << Qt::Unchecked << "1" << "0";
        QTest::newRow("null") << 2 << Qt::PartiallyChecked << "1" << "0";
    }
    void checkBoxClickCycle()
    {
        QFETCH(int, row);
        QFETCH(Qt::CheckState, shown);
        QFETCH(QString, afterFirstClick);
        QFETCH(QString, afterSecondClick);
        WidgetForm f;
        QVERIFY(f.showWindow());
        TField *aktiv = f.kunden->fieldByName("AKTIV");
        f.kunden->moveTo(row);
        QCOMPARE(f.chkAktiv->checkState(), shown);
        QCOMPARE(f.kunden->state(), TDataSetState::Browse);

        QTest::mouseClick(f.chkAktiv, Qt::LeftButton, {}, QPoint(6, f.chkAktiv->height() / 2)); // on the box itself
        QCOMPARE(f.kunden->state(), TDataSetState::Edit);
        QCOMPARE(aktiv->asString(), afterFirstClick); // written at once
        QCOMPARE(f.chkAktiv->checkState(), afterFirstClick == "1" ? Qt::Checked : Qt::Unchecked);

        QTest::keyClick(f.chkAktiv, Qt::Key_Space);
        QCOMPARE(aktiv->asString(), afterSecondClick);
        QCOMPARE(f.chkAktiv->checkState(), afterSecondClick == "1" ? Qt::Checked : Qt::Unchecked);

        f.kunden->post();
        QCOMPARE(f.stored(row + 1, "AKTIV"), afterSecondClick);
    }

    void checkBoxRefusesClickWhereNothingMayChange_data()
    {
        QTest::addColumn<bool>("lockControl");
        QTest::newRow("read-only record set") << false;
        QTest::newRow("read-only control") << true;
    }
    void checkBoxRefusesClickWhereNothingMayChange()
    {
        QFETCH(bool, lockControl);
        WidgetForm f;
        if (lockControl)
            f.chkAktiv->setReadOnly(true);
        else
            f.kunden->readOnly = true;
        QVERIFY(f.showWindow());
        QTest::mouseClick(f.chkAktiv, Qt::LeftButton, {}, QPoint(6, f.chkAktiv->height() / 2)); // on the box itself
        QCOMPARE(f.chkAktiv->checkState(), Qt::Checked);
        QCOMPARE(f.kunden->state(), TDataSetState::Browse);
        QCOMPARE(f.kunden->fieldByName("AKTIV")->asString(), "1");
    }

    // Picking an item writes its text at once, from either kind of box.
    void pickedItemIsWrittenAtOnce_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("editable combo box") << "cbAnrede";
        QTest::newRow("drop-down list") << "dlAnrede";
    }
    void pickedItemIsWrittenAtOnce()
    {
        QFETCH(QString, control);
        WidgetForm f;
        QVERIFY(f.showWindow());
        auto *box = f.window.findChild<QComboBox *>(control);
        QCOMPARE(box->currentText(), "Herr");
        box->setFocus();
        QCOMPARE(f.kunden->state(), TDataSetState::Browse);

        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->currentText(), "Frau");
        QCOMPARE(f.kunden->state(), TDataSetState::Edit);
        QCOMPARE(f.kunden->fieldByName("ANREDE")->asString(), "Frau");
        f.kunden->post();
        QCOMPARE(f.stored(1, "ANREDE"), "Frau");
    }

    void dropDownListShowsNoItemForOtherValues()
    {
        WidgetForm f;
        f.kunden->moveTo(1);
        QCOMPARE(f.dlAnrede->currentText(), "Frau");
        f.kunden->moveTo(2); // null
        QCOMPARE(f.dlAnrede->currentIndex(), -1);
        f.kunden->edit();
        f.kunden->fieldByName("ANREDE")->setAsString("Dr.");
        QCOMPARE(f.dlAnrede->currentIndex(), -1);
        f.kunden->fieldByName("ANREDE")->setAsString("Firma");
        QCOMPARE(f.dlAnrede->currentText(), "Firma");
    }

    void lookupComboShowsListRowOfKey()
    {
        WidgetForm f;
        QCOMPARE(f.cbGruppe->count(), 3);
        QCOMPARE(f.cbGruppe->itemText(0), "Handel"); // the list set's own order
        QCOMPARE(f.cbGruppe->currentText(), "Handel");
        f.kunden->next();
        QCOMPARE(f.cbGruppe->currentText(), "Handwerk");
        f.kunden->next(); // no group
        QCOMPARE(f.cbGruppe->currentIndex(), -1);

        // The list follows its record set.
        f.gruppen->close();
        QCOMPARE(f.cbGruppe->count(), 0);
        f.gruppen->open();
        QCOMPARE(f.cbGruppe->count(), 3);
        QCOMPARE(f.cbGruppe->currentIndex(), -1);
        QCOMPARE(f.kunden->state(), TDataSetState::Browse);
    }

    void lookupComboWritesKey()
    {
        WidgetForm f;
        QVERIFY(f.showWindow());
        f.kunden->last();
        f.cbGruppe->setFocus();
        QTest::keyClick(f.cbGruppe, Qt::Key_End); // "Praxis", key 3
        QCOMPARE(f.cbGruppe->currentText(), "Praxis");
        QCOMPARE(f.kunden->state(), TDataSetState::Edit);
        QCOMPARE(f.kunden->fieldByName("GRUPPE_ID")->asInteger(), 3);
        f.kunden->post();
        QCOMPARE(f.stored(3, "GRUPPE_ID"), "3");
        QCOMPARE(f.cbGruppe->currentText(), "Praxis");
    }

    void labelShowsDisplayText()
    {
        WidgetForm f;
        QCOMPARE(f.lblRabatt->text(), "0,10");
        QCOMPARE(f.lblAktiv->text(), "Ja");
        f.kunden->next();
        QCOMPARE(f.lblRabatt->text(), QString());
        QCOMPARE(f.lblAktiv->text(), "Nein");
        f.kunden->edit();
        f.kunden->fieldByName("RABATT")->setEditText("1234,5");
        QCOMPARE(f.lblRabatt->text(), "1.234,50");
        f.kunden->close();
        QCOMPARE(f.lblRabatt->text(), QString());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    prepareTestEnvironment();
    TestDBWidgets test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_dbwidgets.moc"

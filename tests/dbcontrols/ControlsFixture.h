#pragma once
#include "DataSet.h"
#include "DataSource.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <memory>

// Customers with text, decimal, flag, memo and key columns, and customer
// groups as a list to pick from; record sets declared the way the program
// declares them, and a window to put controls in.
struct ControlsFixture {
    TTestDatabase t;
    TScriptedDialogs dialogs;
    std::unique_ptr<TDataSet> kunden, gruppen;
    std::unique_ptr<TDataSource> dsrcKunden, dsrcGruppen;
    QWidget window; // last, so its controls go before the sources they are bound to

    ControlsFixture()
    {
        t.exec("CREATE TABLE KUNDEN (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(30), ORT VARCHAR(40), "
               "RABATT DECIMAL(18,4), AKTIV SMALLINT, BEMERKUNG BLOB SUB_TYPE TEXT, GRUPPE_ID INTEGER, "
               "ANREDE VARCHAR(10))");
        t.exec("CREATE TABLE GRUPPEN (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(30))");
        t.exec("INSERT INTO KUNDEN VALUES (1, 'Bauer', 'Kassel', 0.1, 1, 'erste Zeile', 1, 'Herr')");
        t.exec("INSERT INTO KUNDEN VALUES (2, 'Zahn', NULL, NULL, 0, NULL, 2, 'Frau')");
        t.exec("INSERT INTO KUNDEN VALUES (3, 'Ärzte GmbH', 'Köln', 1234.5, NULL, NULL, NULL, NULL)");
        t.exec("INSERT INTO GRUPPEN VALUES (1, 'Handel')");
        t.exec("INSERT INTO GRUPPEN VALUES (2, 'Handwerk')");
        t.exec("INSERT INTO GRUPPEN VALUES (3, 'Praxis')");
        t.transaction->start();

        kunden = std::make_unique<TDataSet>(&t.database);
        kunden->setSelectSql("SELECT ID, NAME, ORT, RABATT, AKTIV, BEMERKUNG, GRUPPE_ID, ANREDE FROM KUNDEN ORDER BY ID");
        kunden->modifySql = {"UPDATE KUNDEN SET NAME = :NAME, ORT = :ORT, RABATT = :RABATT, AKTIV = :AKTIV,",
                             "BEMERKUNG = :BEMERKUNG, GRUPPE_ID = :GRUPPE_ID, ANREDE = :ANREDE WHERE ID = :OLD_ID"};
        kunden->insertSql = {"INSERT INTO KUNDEN (ID, NAME, ORT, RABATT, AKTIV, BEMERKUNG, GRUPPE_ID, ANREDE)",
                             "VALUES (:ID, :NAME, :ORT, :RABATT, :AKTIV, :BEMERKUNG, :GRUPPE_ID, :ANREDE)"};
        kunden->deleteSql = {"DELETE FROM KUNDEN WHERE ID = :OLD_ID"};
        kunden->addField("ID", TFieldType::Integer)->visible = false;
        kunden->addField("NAME", TFieldType::String, 30)->displayLabel = "Name";
        kunden->addField("ORT", TFieldType::String, 40)->displayLabel = "Ort";
        TField *rabatt = kunden->addField("RABATT", TFieldType::Decimal, 4);
        rabatt->displayLabel = "Rabatt";
        rabatt->displayFormat = "#,##0.00";
        TField *aktiv = kunden->addField("AKTIV", TFieldType::Boolean);
        aktiv->displayLabel = "Aktiv";
        aktiv->displayValues = "Ja;Nein";
        kunden->addField("BEMERKUNG", TFieldType::Memo)->displayLabel = "Bemerkung";
        kunden->addField("GRUPPE_ID", TFieldType::Integer);
        kunden->addField("ANREDE", TFieldType::String, 10)->displayLabel = "Anrede";
        dsrcKunden = std::make_unique<TDataSource>(nullptr, kunden.get());

        gruppen = std::make_unique<TDataSet>(&t.database);
        gruppen->setSelectSql("SELECT ID, NAME FROM GRUPPEN ORDER BY NAME");
        gruppen->addField("ID", TFieldType::Integer);
        gruppen->addField("NAME", TFieldType::String, 30);
        dsrcGruppen = std::make_unique<TDataSource>(nullptr, gruppen.get());

        window.resize(640, 480);
    }

    // Shows the window and makes it active, so focus changes are real.
    bool showWindow()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
    }

    // What the database holds for one customer, read with a fresh query.
    QString stored(int id, const QString &column)
    {
        TQuery q(&t.database);
        q.setSql(QStringLiteral("SELECT %1 FROM KUNDEN WHERE ID = %2").arg(column).arg(id));
        q.execQuery();
        const QString text = q.isNull(0) ? QStringLiteral("<null>") : q.asString(0);
        q.close();
        return text;
    }
};

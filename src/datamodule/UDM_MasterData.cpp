// Record sets of customers, inspectors, instruments and the contractor,
// and their rules.
#include "UDM.h"
#include "CustomerNames.h"
#include "DbError.h"
#include "Dialogs.h"
#include "RequiredFields.h"
#include "RuleRefusal.h"
#include "Query.h"

namespace {

TField *text(TDataSet &d, const QString &name, int size, const QString &label = {}, int width = 0)
{
    TField *f = d.addField(name, TFieldType::String, size);
    f->displayLabel = label;
    f->displayWidth = width;
    f->visible = !label.isEmpty();
    return f;
}

TField *hiddenId(TDataSet &d)
{
    TField *f = d.addField(QStringLiteral("ID"), TFieldType::Integer);
    f->visible = false;
    return f;
}

void declareEdited(TDataSet &d, const QString &table, const QStringList &columns, const QString &sequence)
{
    d.setSelectSql(QStringLiteral("SELECT %1 FROM %2 ORDER BY NAME").arg(columns.join(QStringLiteral(", ")), table));
    declareTableStatements(d, table, columns);
    d.generatorName = sequence;
    d.generatorField = QStringLiteral("ID");
}

// Lookup values are taken when rows are read: the list that shows them is
// read again too, unless its row is being edited.
void rereadLookup(TDataSet &lookup, TDataSet &shownIn)
{
    if (!lookup.active())
        return;
    lookup.refresh();
    if (shownIn.active() && !shownIn.editing())
        shownIn.refresh();
}

} // namespace

QList<QPair<int, QString>> TfrmDM::customerNames() { return ::customerNames(Database, CustomerScope::All); }

void TfrmDM::declareMasterData()
{
    declareEdited(dsetKunden, QStringLiteral("KUNDEN"),
                  {"ID", "AKTIV", "NAME", "NAME2", "ZUSATZ", "STRASSE", "PLZ", "ORT", "LAND", "TELEFON", "MOBIL", "FAX",
                   "BEMERKUNG", "EMAIL"},
                  QStringLiteral("SEQ_KUNDEN"));
    hiddenId(dsetKunden);
    TField *aktiv = dsetKunden.addField(QStringLiteral("AKTIV"), TFieldType::Boolean);
    aktiv->visible = false;
    aktiv->defaultExpression = QStringLiteral("True");
    text(dsetKunden, QStringLiteral("NAME"), 60, QStringLiteral("Name"), 34);
    text(dsetKunden, QStringLiteral("NAME2"), 60);
    text(dsetKunden, QStringLiteral("ZUSATZ"), 60);
    text(dsetKunden, QStringLiteral("STRASSE"), 60, QStringLiteral("Straße"), 32);
    text(dsetKunden, QStringLiteral("PLZ"), 10, QStringLiteral("PLZ"), 11);
    text(dsetKunden, QStringLiteral("ORT"), 50, QStringLiteral("Ort"), 30);
    text(dsetKunden, QStringLiteral("LAND"), 50);
    text(dsetKunden, QStringLiteral("TELEFON"), 30);
    text(dsetKunden, QStringLiteral("MOBIL"), 30);
    text(dsetKunden, QStringLiteral("FAX"), 30);
    dsetKunden.addField(QStringLiteral("BEMERKUNG"), TFieldType::Memo)->visible = false;
    text(dsetKunden, QStringLiteral("EMAIL"), 200);

    declareEdited(dsetPruefer, QStringLiteral("PRUEFER"), {"ID", "NAME"}, QStringLiteral("SEQ_PRUEFER"));
    hiddenId(dsetPruefer);
    text(dsetPruefer, QStringLiteral("NAME"), 50, QStringLiteral("Name"), 35);

    declareEdited(dsetPruefgeraete, QStringLiteral("PRUEFGERAETE"), {"ID", "NAME", "BEZEICHNUNG", "SERIENNUMMER"},
                  QStringLiteral("SEQ_PRUEFGERAETE"));
    hiddenId(dsetPruefgeraete);
    text(dsetPruefgeraete, QStringLiteral("NAME"), 60, QStringLiteral("Name"), 19);
    text(dsetPruefgeraete, QStringLiteral("BEZEICHNUNG"), 60, QStringLiteral("Bezeichnung"), 23);
    text(dsetPruefgeraete, QStringLiteral("SERIENNUMMER"), 50, QStringLiteral("Seriennummer"), 21);

    const QStringList contractor = {"ID", "NAME", "NAME2", "ZUSATZ", "STRASSE", "PLZ", "ORT", "LAND", "TELEFON", "MOBIL",
                                    "FAX", "EMAIL", "LOGO", "KURZNAME"};
    dsetAuftragnehmer.setSelectSql(QStringLiteral("SELECT %1 FROM AUFTRAGNEHMER").arg(contractor.join(QStringLiteral(", "))));
    declareTableStatements(dsetAuftragnehmer, QStringLiteral("AUFTRAGNEHMER"), contractor);
    dsetAuftragnehmer.addField(QStringLiteral("ID"), TFieldType::Integer);
    for (const char *name : {"NAME", "NAME2", "ZUSATZ", "STRASSE"})
        dsetAuftragnehmer.addField(QString::fromLatin1(name), TFieldType::String, 60);
    dsetAuftragnehmer.fieldByName(QStringLiteral("NAME"))->displayLabel = QStringLiteral("Name");
    dsetAuftragnehmer.addField(QStringLiteral("PLZ"), TFieldType::String, 10);
    dsetAuftragnehmer.addField(QStringLiteral("ORT"), TFieldType::String, 50);
    dsetAuftragnehmer.addField(QStringLiteral("LAND"), TFieldType::String, 50);
    for (const char *name : {"TELEFON", "MOBIL", "FAX"})
        dsetAuftragnehmer.addField(QString::fromLatin1(name), TFieldType::String, 30);
    dsetAuftragnehmer.addField(QStringLiteral("EMAIL"), TFieldType::String, 200);
    // The name on inspection labels, where the full name has no room.
    dsetAuftragnehmer.addField(QStringLiteral("KURZNAME"), TFieldType::String, 30);
    // The logo's image file, its bytes one character each (see TLogoChooser).
    dsetAuftragnehmer.addField(QStringLiteral("LOGO"), TFieldType::Memo)->visible = false;
    dsetAuftragnehmer.addCalculatedField(QStringLiteral("PlzOrt"), TFieldType::String, 72)->displayWidth = 72;
    // The firm is one row; a file without it gets it when the user first
    // types into the contractor dialog.
    dsetAuftragnehmer.onNewRecord = [](TDataSet &d) { d.fieldByName(QStringLiteral("ID"))->setAsInteger(1); };
    dsetAuftragnehmer.onCalcFields = [](TDataSet &d) {
        TField *plzOrt = d.fieldByName(QStringLiteral("PlzOrt"));
        plzOrt->emptyAsNull = false;
        plzOrt->setAsString(d.fieldByName(QStringLiteral("PLZ"))->asString() + u' ' +
                            d.fieldByName(QStringLiteral("ORT"))->asString());
    };

    dsetPrueferLookup.setSelectSql(QStringLiteral("SELECT ID, NAME FROM PRUEFER"));
    dsetPrueferLookup.addField(QStringLiteral("ID"), TFieldType::Integer);
    dsetPrueferLookup.addField(QStringLiteral("NAME"), TFieldType::String, 50);
    dsetPruefgeraeteLookup.setSelectSql(QStringLiteral("SELECT ID, NAME, BEZEICHNUNG, SERIENNUMMER FROM PRUEFGERAETE"));
    dsetPruefgeraeteLookup.addField(QStringLiteral("ID"), TFieldType::Integer);
    dsetPruefgeraeteLookup.addField(QStringLiteral("NAME"), TFieldType::String, 60);
    dsetPruefgeraeteLookup.addField(QStringLiteral("BEZEICHNUNG"), TFieldType::String, 60);
    dsetPruefgeraeteLookup.addField(QStringLiteral("SERIENNUMMER"), TFieldType::String, 50);
    dsetKunden.beforeDelete = [this](TDataSet &) { dsetKundenBeforeDelete(); };
    // The stored files let deleting an inspector or an instrument take its
    // inspections along; the rule keeps them.
    dsetPruefer.beforeDelete = [this](TDataSet &d) {
        refuseDeleteWhileUsed(d, QStringLiteral("SELECT COUNT(*) FROM PRUEFUNGEN WHERE PRUEFER_ID = :ID"),
                              QStringLiteral("Es sind noch Prüfungen mit diesem Prüfer gespeichert."));
    };
    dsetPruefgeraete.beforeDelete = [this](TDataSet &d) {
        refuseDeleteWhileUsed(d, QStringLiteral("SELECT COUNT(*) FROM PRUEFUNGEN WHERE PRUEFGERAETE_ID = :ID"),
                              QStringLiteral("Es sind noch Prüfungen mit diesem Prüfgerät gespeichert."));
    };
    dsetKunden.afterPost = [this](TDataSet &) { reloadCustomerList(); };
    dsetKunden.afterDelete = [this](TDataSet &) { reloadCustomerList(); };
    // The inspection window's choice lists offer what was just saved; the
    // list keeps its current row, which a new inspection may take. The
    // inspection list names inspectors and instruments through the lookup
    // sets, which are read again so a new or renamed one shows at once.
    dsetPruefer.afterPost = [this](TDataSet &d) {
        if (FInspectionView)
            d.refresh();
        rereadLookup(dsetPrueferLookup, dsetPruefungen);
    };
    dsetPruefgeraete.afterPost = [this](TDataSet &d) {
        if (FInspectionView)
            d.refresh();
        rereadLookup(dsetPruefgeraeteLookup, dsetPruefungen);
    };

    // The columns NOT NULL without a default, but the key the program draws:
    // an empty one is refused in German before the database sees the row.
    RequiredFields::declare(dsetKunden, {QStringLiteral("NAME")});
    RequiredFields::declare(dsetPruefer, {QStringLiteral("NAME")});
    RequiredFields::declare(dsetPruefgeraete, {QStringLiteral("NAME"), QStringLiteral("BEZEICHNUNG"), QStringLiteral("SERIENNUMMER")});
    RequiredFields::declare(dsetAuftragnehmer, {QStringLiteral("NAME")});

    for (TDataSet *lookup : {&dsetPrueferLookup, &dsetPruefgeraeteLookup}) {
        lookup->readOnly = true;
        lookup->autoCommit = false;
    }
}

void TfrmDM::refuseDeleteWhileUsed(TDataSet &dataSet, const QString &countSql, const QString &message)
{
    TQuery count(&Database);
    count.setSql(countSql);
    count.paramByName(QStringLiteral("ID")).setAsInteger(dataSet.fieldByName(QStringLiteral("ID"))->asInteger());
    count.execQuery();
    if (count.asInteger(0) > 0)
        refuse(message);
}

void TfrmDM::dsetKundenBeforeDelete()
{
    refuseDeleteWhileUsed(dsetKunden, QStringLiteral("SELECT COUNT(*) FROM PRUEFLINGE WHERE KUNDEN_ID = :ID"),
                          QStringLiteral("Es sind noch Prüflinge für den Kunden definiert.\rLöschen Sie zuerst die Prüflinge."));
}

void TfrmDM::reloadCustomerList()
{
    if (FMainView)
        FMainView->fillCbKunden();
}

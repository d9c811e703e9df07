#include "MasterDataDialog.h"
#include "Application.h"
#include "DBGrid.h"
#include "DBNavButton.h"
#include "DataSet.h"
#include "Dialogs.h"
#include "EditingWindow.h"
#include "FieldControl.h"
#include "RequiredFields.h"
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>

TMasterDataDialog::TMasterDataDialog(QWidget *parent, TDataSource *source, bool askBeforeClosing)
    : QDialog(parent), m_source(source), m_askBeforeClosing(askBeforeClosing)
{
    if (RequiredFields *required = dataSet() ? RequiredFields::of(*dataSet()) : nullptr)
        required->onMissing = [dialog = QPointer<TMasterDataDialog>(this)](TField &field) {
            if (QWidget *control = dialog ? dialog->controlOf(field.fieldName()) : nullptr)
                control->setFocus();
        };
}

TDataSet *TMasterDataDialog::dataSet() const { return m_source->dataSet(); }

void TMasterDataDialog::bind(TFieldControl *control, const QString &field)
{
    control->setDataSource(m_source);
    control->setDataField(field);
}

QWidget *TMasterDataDialog::controlOf(const QString &fieldName) const
{
    for (QWidget *widget : findChildren<QWidget *>()) {
        const auto *control = dynamic_cast<const TFieldControl *>(widget);
        if (control && control->dataSource() == m_source && control->dataField() == fieldName)
            return widget;
    }
    return nullptr;
}

void TMasterDataDialog::setupNavigator(TDBNavButton *neu, TDBNavButton *loeschen, TDBNavButton *aendern,
                                       TDBNavButton *sichern, TDBNavButton *abbruch)
{
    const struct {
        TDBNavButton *button;
        TNavBtnStyle style;
        const char *hint;
    } buttons[] = {{neu, nbsInsert, "Neue Buchung eingeben"},
                   {loeschen, nbsDelete, "Buchung löschen"},
                   {aendern, nbsEdit, "Buchung ändern"},
                   {sichern, nbsPost, "Buchung sichern"},
                   {abbruch, nbsCancel, "Bearbeitung abbrechen"}};
    for (const auto &b : buttons) {
        b.button->setButtonStyle(b.style);
        b.button->setToolTip(QString::fromUtf8(b.hint));
        b.button->setDataSource(m_source);
    }
    const RequiredFields *required = dataSet() ? RequiredFields::of(*dataSet()) : nullptr;
    if (QWidget *first = required && !required->fieldNames().isEmpty() ? controlOf(required->fieldNames().first()) : nullptr) {
        const auto focus = [first](TDBNavButton *) { first->setFocus(); };
        neu->BeforeAction = focus;
        aendern->BeforeAction = focus;
    }
}

void TMasterDataDialog::setupList(TDBGrid *grid, const QStringList &fields)
{
    m_grid = grid;
    QList<TGridColumn> columns;
    for (const QString &f : fields)
        columns << TGridColumn{f, {}, 0, false};
    grid->setDataSource(m_source);
    grid->setColumns(columns);
    grid->setFitColumnsToWidth(true); // every column shows at the dialog's designed size
    grid->installEventFilter(this);
}

bool TMasterDataDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::ControlModifier) {
            TDataSet *d = dataSet();
            try {
                // As the delete button does: a refusal comes before the question.
                if (d && d->active() && !d->isEmpty())
                    confirmAndDelete(*d, QStringLiteral("Datensatz löschen?"));
            } catch (...) {
                TApplication::showException(std::current_exception());
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TMasterDataDialog::closeEvent(QCloseEvent *event)
{
    if (!m_askBeforeClosing || !dataSet() || mayCloseEditing(*dataSet()))
        event->accept();
    else
        event->ignore();
}

void TMasterDataDialog::reject() { close(); }

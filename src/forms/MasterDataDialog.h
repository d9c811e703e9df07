#pragma once
#include <QDialog>

class TDataSet;
class TDataSource;
class TDBGrid;
class TDBNavButton;
class TFieldControl;

// What the dialogs for customers, inspectors, instruments and the contractor
// share: their navigator buttons with hints, the list with Ctrl+Del, binding
// fields, "Schließen" and Escape, and the question before closing in the
// middle of an edit, the focus in a required field that was left empty.
// They live for the whole run and are hidden when closed.
class TMasterDataDialog : public QDialog {
    Q_OBJECT
public:
    TMasterDataDialog(QWidget *parent, TDataSource *source, bool askBeforeClosing);

protected:
    TDataSet *dataSet() const;
    void bind(TFieldControl *control, const QString &field);
    // The five buttons "&Neu", "&Löschen", "Änd&ern", "&Sichern", "&Abbruch";
    // "Neu" and "Ändern" first put the focus into the first required field.
    // Call after binding the fields.
    void setupNavigator(TDBNavButton *neu, TDBNavButton *loeschen, TDBNavButton *aendern, TDBNavButton *sichern,
                        TDBNavButton *abbruch);
    // The control bound to a field of the record set; null when none is.
    QWidget *controlOf(const QString &fieldName) const;
    void setupList(TDBGrid *grid, const QStringList &fields);
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    void reject() override; // Escape closes as "Schließen" does

private:
    TDataSource *m_source;
    bool m_askBeforeClosing;
    TDBGrid *m_grid = nullptr;
};

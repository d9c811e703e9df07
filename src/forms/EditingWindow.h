#pragma once
#include <QDialog>

class TDataSet;

// The close rule of the windows that edit one record: when the record set
// is editing or inserting, asks "Daten in Bearbeitung...\r\nSichern?";
// Yes posts, No cancels, Cancel keeps the window. True when the window may
// close. A refused post is shown and keeps the window open.
bool mayCloseEditing(TDataSet &dataSet);
// The same question for each record set that is still being edited, in the
// given order; false as soon as one of them may not be left.
bool mayCloseAllEditing(const QList<TDataSet *> &dataSets);

// A window that edits the current record of one record set: it lives for
// the whole run, the record set's rules show it, "Sichern und Schließen"
// posts, "Abbrechen und Schließen" and Escape cancel (after asking
// "Eingaben verwerfen?" when anything was typed), and any other way of
// closing asks first.
class TEditingWindow : public QDialog {
    Q_OBJECT
public:
    TEditingWindow(QWidget *parent, TDataSet &dataSet);
    void showWindow(); // not modally; brings a visible window forward

public slots:
    void reject() override; // Escape: as "Abbrechen und Schließen"

protected:
    void btnSaveClick();   // a refused post keeps the window open
    void btnCancelClick();
    void closeEvent(QCloseEvent *event) override;

private:
    TDataSet &m_dataSet;
};

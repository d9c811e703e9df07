// Text controls bound to fields: editing starts with the first key, the
// pending text reaches the field on every path out of the box, refused
// input keeps the box and the row as they are.
#include "ControlsFixture.h"
#include "DBComboBox.h"
#include "DBEdit.h"
#include "DBMemo.h"
#include "DbError.h"
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

namespace {

struct EditForm : ControlsFixture {
    TDBEdit *edtName, *edtOrt, *edtRabatt;
    TDBMemo *memBemerkung;
    TDBComboBox *cbAnrede;
    QLineEdit *other; // somewhere else to put the focus

    EditForm()
    {
        auto *layout = new QVBoxLayout(&window);
        auto bind = [this, layout](auto *control, const char *name, const char *field) {
            control->setObjectName(name);
            control->setDataSource(dsrcKunden.get());
            control->setDataField(field);
            layout->addWidget(control);
            return control;
        };
        edtName = bind(new TDBEdit, "edtName", "NAME");
        edtOrt = bind(new TDBEdit, "edtOrt", "ORT");
        edtRabatt = bind(new TDBEdit, "edtRabatt", "RABATT");
        memBemerkung = bind(new TDBMemo, "memBemerkung", "BEMERKUNG");
        cbAnrede = bind(new TDBComboBox, "cbAnrede", "ANREDE");
        cbAnrede->addItems({"Herr", "Frau", "Firma"});
        other = new QLineEdit;
        other->setObjectName("other");
        layout->addWidget(other);
        kunden->open();
    }

    QWidget *control(const QString &name) { return window.findChild<QWidget *>(name); }

    // Puts the focus into a control and replaces its whole text by typing.
    void typeInto(QWidget *w, const QString &text)
    {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(w, Qt::Key_Backspace);
        else
            typeKeys(w, text);
    }

    // QTest::keyClicks takes ASCII only; umlauts and the like go in as
    // key events carrying their text.
    static void typeKeys(QWidget *w, const QString &text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(w, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    QString shownText(QWidget *w)
    {
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            return edit->text();
        if (auto *memo = qobject_cast<QPlainTextEdit *>(w))
            return memo->toPlainText();
        if (auto *combo = qobject_cast<QComboBox *>(w))
            return combo->currentText();
        return {};
    }

    bool pending(QWidget *w)
    {
        if (auto *edit = qobject_cast<TDBEdit *>(w))
            return edit->hasPendingInput();
        if (auto *memo = qobject_cast<TDBMemo *>(w))
            return memo->hasPendingInput();
        if (auto *combo = qobject_cast<TDBComboBox *>(w))
            return combo->hasPendingInput();
        return false;
    }
};

} // namespace

class TestDBEdit : public QObject {
    Q_OBJECT

private slots:
    void typingStartsEditingAndKeepsTextPending_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("field");
        QTest::newRow("edit") << "edtName" << "NAME";
        QTest::newRow("memo") << "memBemerkung" << "BEMERKUNG";
        QTest::newRow("combo box") << "cbAnrede" << "ANREDE";
    }
    void typingStartsEditingAndKeepsTextPending()
    {
        QFETCH(QString, control);
        QFETCH(QString, field);
        EditForm f;
        QVERIFY(f.showWindow());
        QWidget *w = f.control(control);
        const QString before = f.kunden->fieldByName(field)->asString();

        w->setFocus();
        QCOMPARE(f.kunden->state(), TDataSetState::Browse); // the focus alone starts nothing
        QTest::keyClicks(w, "xy");

        QCOMPARE(f.kunden->state(), TDataSetState::Edit);
        QVERIFY(f.pending(w));
        QVERIFY(f.shownText(w).contains("xy"));
        QCOMPARE(f.kunden->fieldByName(field)->asString(), before); // not written yet
    }

    void showingRecordsChangesNothing()
    {
        EditForm f;
        QVERIFY(f.showWindow());
        const QList<QWidget *> controls = {f.edtName, f.edtOrt, f.edtRabatt, f.memBemerkung, f.cbAnrede};
        for (int row = 0; row < 3; ++row) {
            f.kunden->moveTo(row);
            for (QWidget *w : controls) {
                w->setFocus();
                QVERIFY(w->hasFocus());
                QVERIFY2(f.kunden->state() == TDataSetState::Browse, qPrintable(w->objectName() + QString::number(row)));
            }
            f.other->setFocus();
            QCOMPARE(f.kunden->state(), TDataSetState::Browse);
            QVERIFY(!f.kunden->modified());
        }
        // The last row shown is the third customer, whose memo is null.
        QCOMPARE(f.edtName->text(), "Ärzte GmbH");
        QCOMPARE(f.memBemerkung->toPlainText(), QString());
        QCOMPARE(f.cbAnrede->currentText(), QString());
        f.kunden->first();
        QCOMPARE(f.edtName->text(), "Bauer");
        QCOMPARE(f.memBemerkung->toPlainText(), "erste Zeile");
        QCOMPARE(f.cbAnrede->currentText(), "Herr");
        QCOMPARE(f.kunden->state(), TDataSetState::Browse);
    }

    void decimalShowsDisplayTextUnfocusedAndEditTextFocused()
    {
        EditForm f;
        QVERIFY(f.showWindow());
        f.kunden->last();
        QCOMPARE(f.edtRabatt->text(), "1.234,50");
        f.edtRabatt->setFocus();
        QCOMPARE(f.edtRabatt->text(), "1234,5");
        f.other->setFocus();
        QCOMPARE(f.edtRabatt->text(), "1.234,50");
        QCOMPARE(f.kunden->state(), TDataSetState::Browse);
    }

    // Every way out of the box writes the text it holds.
    void pendingTextReachesField_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        const QStringList textTriggers = {"post", "next", "updateRecord", "focus out", "Enter"};
        for (const QString &trigger : textTriggers) {
            QTest::addRow("edit, %s", qPrintable(trigger)) << "edtName" << "NAME" << trigger << "Meier" << "Meier";
            QTest::addRow("combo box, %s", qPrintable(trigger)) << "cbAnrede" << "ANREDE" << trigger << "Dr." << "Dr.";
        }
        for (const char *trigger : {"post", "next", "updateRecord", "focus out"})
            QTest::addRow("memo, %s", trigger) << "memBemerkung" << "BEMERKUNG" << trigger << "neu" << "neu";
        QTest::newRow("decimal in German, post") << "edtRabatt" << "RABATT" << "post" << "2,5" << "2.5";
        QTest::newRow("decimal with groups, next") << "edtRabatt" << "RABATT" << "next" << "1.000,25" << "1000.25";
    }
    void pendingTextReachesField()
    {
        QFETCH(QString, control);
        QFETCH(QString, column);
        QFETCH(QString, trigger);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        EditForm f;
        QVERIFY(f.showWindow());
        QWidget *w = f.control(control);
        TField *field = f.kunden->fieldByName(column);
        f.typeInto(w, typed);
        QVERIFY(f.pending(w));

        if (trigger == "post")
            f.kunden->post();
        else if (trigger == "next")
            f.kunden->next();
        else if (trigger == "updateRecord")
            f.kunden->updateRecord();
        else if (trigger == "focus out")
            f.other->setFocus();
        else if (trigger == "Enter")
            QTest::keyClick(w, Qt::Key_Return);

        QVERIFY(!f.pending(w));
        QCOMPARE(field->plainTextOf(f.kunden->valueAt(0, field)), expected);
        if (f.kunden->editing())
            f.kunden->post();
        QCOMPARE(f.stored(1, column), expected);
    }

    void emptiedTextWritesNull_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("column");
        QTest::newRow("text") << "edtOrt" << "ORT";
        QTest::newRow("decimal") << "edtRabatt" << "RABATT";
        QTest::newRow("memo") << "memBemerkung" << "BEMERKUNG";
        QTest::newRow("combo box") << "cbAnrede" << "ANREDE";
    }
    void emptiedTextWritesNull()
    {
        QFETCH(QString, control);
        QFETCH(QString, column);
        EditForm f;
        QVERIFY(f.showWindow());
        QVERIFY(f.stored(1, column) != "<null>");
        f.typeInto(f.control(control), QString());
        f.kunden->post();
        QVERIFY(f.kunden->fieldByName(column)->isNull());
        QCOMPARE(f.stored(1, column), "<null>");
    }

    void maxLengthFollowsFieldSize_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("maxLength");
        QTest::newRow("VARCHAR(30)") << "edtName" << 30;
        QTest::newRow("VARCHAR(40)") << "edtOrt" << 40;
        QTest::newRow("combo box on VARCHAR(10)") << "cbAnrede" << 10;
        QTest::newRow("decimal: no limit") << "edtRabatt" << 32767;
    }
    void maxLengthFollowsFieldSize()
    {
        QFETCH(QString, control);
        QFETCH(int, maxLength);
        EditForm f;
        QVERIFY(f.showWindow());
        QWidget *w = f.control(control);
        auto *edit = qobject_cast<QLineEdit *>(w);
        if (!edit)
            edit = qobject_cast<QComboBox *>(w)->lineEdit();
        QCOMPARE(edit->maxLength(), maxLength);
        if (maxLength < 100) {
            f.typeInto(w, QString(maxLength + 5, u'7'));
            QCOMPARE(edit->text().size(), maxLength);
        }
    }

    // A pasted text longer than the column is cut to its size, and the user
    // is told so instead of losing the rest unnoticed, whether pasted by key
    // or from the context menu.
    void pastedTextLongerThanColumnIsCutWithMessage_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("Ctrl+V") << false;
        QTest::newRow("context menu") << true;
    }
    void pastedTextLongerThanColumnIsCutWithMessage()
    {
        QFETCH(bool, byMenu);
        EditForm f;
        QVERIFY(f.showWindow());
        const QString pasted = QString(40, u'a') + QString(4960, u'b');
        QGuiApplication::clipboard()->setText(pasted);
        f.edtName->setFocus();
        QTest::keyClick(f.edtName, Qt::Key_A, Qt::ControlModifier);
        if (byMenu) {
            QTimer::singleShot(0, [] {
                auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                QVERIFY(menu);
                for (QAction *action : menu->actions())
                    if (action->text().startsWith(QLineEdit::tr("&Paste")))
                        action->trigger();
                menu->close();
            });
            QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), f.edtName->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(f.edtName, &click);
        } else {
            QTest::keyClick(f.edtName, Qt::Key_V, Qt::ControlModifier);
        }
        QCOMPARE(f.edtName->text(), pasted.left(30));
        QCOMPARE(f.dialogs.messages(), QStringList{"„Name“ fasst höchstens 30 Zeichen; der Rest wurde nicht übernommen."});
        f.kunden->post();
        QCOMPARE(f.stored(1, "NAME"), pasted.left(30));
    }

    // The number pad's decimal key gives the decimal comma in a number with
    // a fraction, though a layout may send a point.
    void numberPadDecimalKeyGivesComma_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("point") << Qt::Key_Period;
        QTest::newRow("comma") << Qt::Key_Comma;
    }
    void numberPadDecimalKeyGivesComma()
    {
        QFETCH(Qt::Key, key);
        EditForm f;
        QVERIFY(f.showWindow());
        f.typeInto(f.edtRabatt, "1");
        QTest::keyClick(f.edtRabatt, key, Qt::KeypadModifier);
        QTest::keyClick(f.edtRabatt, Qt::Key_5, Qt::KeypadModifier);
        QCOMPARE(f.edtRabatt->text(), QStringLiteral("1,5"));
        f.kunden->post();
        QCOMPARE(f.stored(1, "RABATT"), "1.5");
        QCOMPARE(f.dialogs.messages(), QStringList());
    }

    // A text the field cannot take: the message comes through the seam, the
    // text and the focus stay, the row stays in editing and is not stored.
    void invalidNumberIsRefused_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("post") << "post";
        QTest::newRow("next") << "next";
        QTest::newRow("focus out") << "focus out";
        QTest::newRow("Enter") << "Enter";
    }
    void invalidNumberIsRefused()
    {
        QFETCH(QString, trigger);
        EditForm f;
        QVERIFY(f.showWindow());
        f.typeInto(f.edtRabatt, "zwölf");

        if (trigger == "post")
            QVERIFY_THROWS_EXCEPTION(EAbort, f.kunden->post());
        else if (trigger == "next")
            QVERIFY_THROWS_EXCEPTION(EAbort, f.kunden->next());
        else if (trigger == "focus out")
            f.other->setFocus();
        else
            QTest::keyClick(f.edtRabatt, Qt::Key_Return);

        QCOMPARE(f.dialogs.messages(), QStringList{"\u201Ezw\u00F6lf\u201C ist keine g\u00FCltige Zahl."});
        QCOMPARE(f.dialogs.shown.constFirst().caption, "Fehler");
        QVERIFY(f.edtRabatt->hasFocus());
        QCOMPARE(f.edtRabatt->text(), "zwölf");
        QVERIFY(f.edtRabatt->hasPendingInput());
        QCOMPARE(f.kunden->state(), TDataSetState::Edit);
        QCOMPARE(f.kunden->recNo(), 1);
        QCOMPARE(f.stored(1, "RABATT"), "0.1");

        // Corrected, the same row goes through.
        f.typeInto(f.edtRabatt, "12");
        f.kunden->post();
        QCOMPARE(f.stored(1, "RABATT"), "12");
        QCOMPARE(f.dialogs.messages().size(), 1);
    }

    void nameInAnyEuropeanSpellingIsStored_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *spelling : {"Yılmaz", "Łukasiewicz", "Dvořák", "€"})
            QTest::newRow(spelling) << QString::fromUtf8(spelling);
    }
    void nameInAnyEuropeanSpellingIsStored()
    {
        QFETCH(QString, name);
        EditForm f;
        QVERIFY(f.showWindow());
        f.typeInto(f.edtName, name);
        f.kunden->post();
        QVERIFY(f.dialogs.messages().isEmpty());
        QCOMPARE(f.stored(1, "NAME"), name);
    }

    // A rule that refuses the value has shown its own message; the box
    // shows the value the field kept.
    void refusedAssignmentShowsOldValue_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("focus out") << "focus out";
        QTest::newRow("post") << "post";
    }
    void refusedAssignmentShowsOldValue()
    {
        QFETCH(QString, trigger);
        EditForm f;
        f.kunden->fieldByName("NAME")->onChange = [](TField &field) {
            if (field.asString() == "Verboten") {
                dialogs().message("Dieser Name ist nicht erlaubt.", IDialogs::Icon::Warning);
                abortSilently();
            }
        };
        QVERIFY(f.showWindow());
        f.typeInto(f.edtName, "Verboten");
        if (trigger == "post")
            QVERIFY_THROWS_EXCEPTION(EAbort, f.kunden->post());
        else
            f.other->setFocus();

        QCOMPARE(f.dialogs.messages(), QStringList{"Dieser Name ist nicht erlaubt."});
        QCOMPARE(f.kunden->fieldByName("NAME")->asString(), "Bauer");
        QVERIFY(!f.edtName->hasPendingInput());
        QCOMPARE(f.edtName->text(), "Bauer");
        QCOMPARE(f.stored(1, "NAME"), "Bauer");
    }

    void typingIsRefusedWhereNothingMayChange_data()
    {
        QTest::addColumn<QString>("lock");
        QTest::newRow("read-only record set") << "record set";
        QTest::newRow("read-only field") << "field";
        QTest::newRow("read-only control") << "control";
    }
    void typingIsRefusedWhereNothingMayChange()
    {
        QFETCH(QString, lock);
        EditForm f;
        if (lock == "record set")
            f.kunden->readOnly = true;
        else if (lock == "field")
            f.kunden->fieldByName("NAME")->readOnly = true;
        else
            f.edtName->setReadOnly(true);
        QVERIFY(f.showWindow());
        f.edtName->setFocus();
        QTest::keyClicks(f.edtName, "xy");
        QTest::keyClick(f.edtName, Qt::Key_Backspace);
        QCOMPARE(f.edtName->text(), "Bauer");
        QCOMPARE(f.kunden->state(), TDataSetState::Browse);
        QVERIFY(!f.edtName->hasPendingInput());
    }

    void escapeDropsPendingText()
    {
        EditForm f;
        QVERIFY(f.showWindow());
        f.typeInto(f.edtName, "Meier");
        QTest::keyClick(f.edtName, Qt::Key_Escape);
        QCOMPARE(f.edtName->text(), "Bauer");
        QVERIFY(!f.edtName->hasPendingInput());
        f.kunden->post();
        QCOMPARE(f.stored(1, "NAME"), "Bauer");
    }

    void cancelShowsStoredValue()
    {
        EditForm f;
        QVERIFY(f.showWindow());
        f.typeInto(f.edtOrt, "Bonn");
        f.kunden->updateRecord();
        QCOMPARE(f.kunden->fieldByName("ORT")->asString(), "Bonn");
        f.kunden->cancel();
        QCOMPARE(f.edtOrt->text(), "Kassel");
        QVERIFY(!f.edtOrt->hasPendingInput());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    prepareTestEnvironment();
    TestDBEdit test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_dbedit.moc"

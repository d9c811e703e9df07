// The production dialog seam: German buttons and captions, answers for
// every way of closing a question, file filters, the copy with progress.
#include "QtDialogs.h"
#include "SmallDisk.h"
#include "TestDatabase.h"
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// The real seam, with its own questions and messages answered from a list,
// so that the copy can be driven without boxes.
class AnsweredQtDialogs : public TQtDialogs {
public:
    QStringList asked, told;
    bool progressShownWithMessage = false;
    Answer answer = Answer::Yes;
    Answer ask(const QString &text, Buttons, const QString &) override
    {
        asked << text;
        return answer;
    }
    void message(const QString &text, Icon, const QString &) override
    {
        told << text;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<QProgressDialog *>(w) && w->isVisible())
                progressShownWithMessage = true;
    }
};

QByteArray pattern(qint64 size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 7 + i / 4096) % 251);
    return data;
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(IDialogs::Buttons)
Q_DECLARE_METATYPE(IDialogs::Answer)

class TestQtDialogs : public QObject {
    Q_OBJECT

private slots:
    void filterBecomesQtFilter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("qtFilter");
        QTest::newRow("one pair") << "Firebird-Datenbank|*.fdb" << "Firebird-Datenbank (*.fdb)";
        QTest::newRow("two pairs") << "Firebird-Datenbank|*.fdb|Alle Dateien|*.*"
                                   << "Firebird-Datenbank (*.fdb);;Alle Dateien (*.*)";
        QTest::newRow("several patterns") << "Sicherungen|*.fbk;*.zip" << "Sicherungen (*.fbk *.zip)";
        QTest::newRow("patterns already named") << "PDF-Datei (*.pdf)|*.pdf" << "PDF-Datei (*.pdf)";
        QTest::newRow("empty") << "" << "";
    }
    void filterBecomesQtFilter()
    {
        QFETCH(QString, filter);
        QFETCH(QString, qtFilter);
        QCOMPARE(TQtDialogs::toQtFilter(filter), qtFilter);
    }

    // How the box is left: a button by its text, Escape, or the title bar.
    void askAnswersForEachWayOut_data()
    {
        QTest::addColumn<IDialogs::Buttons>("buttons");
        QTest::addColumn<QStringList>("buttonTexts");
        QTest::addColumn<QString>("leave");
        QTest::addColumn<IDialogs::Answer>("answer");
        using B = IDialogs::Buttons;
        using A = IDialogs::Answer;
        const QStringList yesNo{"&Ja", "&Nein"}, yesNoCancel{"&Ja", "&Nein", "Abbrechen"};
        QTest::newRow("Ja") << B::YesNo << yesNo << "&Ja" << A::Yes;
        QTest::newRow("Nein") << B::YesNo << yesNo << "&Nein" << A::No;
        QTest::newRow("yes/no, Escape") << B::YesNo << yesNo << "Escape" << A::No;
        QTest::newRow("yes/no, closed") << B::YesNo << yesNo << "close" << A::No;
        QTest::newRow("three buttons, Nein") << B::YesNoCancel << yesNoCancel << "&Nein" << A::No;
        QTest::newRow("three buttons, Abbrechen") << B::YesNoCancel << yesNoCancel << "Abbrechen" << A::Cancel;
        QTest::newRow("three buttons, closed") << B::YesNoCancel << yesNoCancel << "close" << A::Cancel;
        QTest::newRow("OK") << B::OkCancel << QStringList{"OK", "Abbrechen"} << "OK" << A::Ok;
        QTest::newRow("ok/cancel, closed") << B::OkCancel << QStringList{"OK", "Abbrechen"} << "close" << A::Cancel;
        QTest::newRow("OK alone, closed") << B::Ok << QStringList{"OK"} << "close" << A::Ok;
    }
    void askAnswersForEachWayOut()
    {
        QFETCH(IDialogs::Buttons, buttons);
        QFETCH(QStringList, buttonTexts);
        QFETCH(QString, leave);
        QFETCH(IDialogs::Answer, answer);
        TQtDialogs seam;
        QString caption;
        QStringList texts;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            caption = box->windowTitle();
            for (QAbstractButton *b : box->buttons())
                texts << b->text();
            if (leave == "Escape")
                QTest::keyClick(box, Qt::Key_Escape);
            else if (leave == "close")
                box->close();
            else
                for (QAbstractButton *b : box->buttons())
                    if (b->text() == leave)
                        b->click();
        });
        QCOMPARE(seam.ask("Wirklich?", buttons), answer);
        QCOMPARE(caption, "Bestätigen");
        texts.sort();
        buttonTexts.sort();
        QCOMPARE(texts, buttonTexts);
    }

    void messageHasGermanCaption_data()
    {
        QTest::addColumn<IDialogs::Icon>("icon");
        QTest::addColumn<QString>("caption");
        QTest::newRow("information") << IDialogs::Icon::Information << "Informationen";
        QTest::newRow("warning") << IDialogs::Icon::Warning << "Warnung";
        QTest::newRow("error") << IDialogs::Icon::Error << "Fehler";
    }
    void messageHasGermanCaption()
    {
        QFETCH(IDialogs::Icon, icon);
        QFETCH(QString, caption);
        TQtDialogs seam;
        QString shownCaption, buttonText;
        QTimer::singleShot(0, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shownCaption = box->windowTitle();
                buttonText = box->buttons().value(0)->text();
                box->close();
            }
        });
        seam.message("Gespeichert.", icon);
        QCOMPARE(shownCaption, caption);
        QCOMPARE(buttonText, "OK");
    }

    void copyWritesCompleteTarget()
    {
        QTemporaryDir dir;
        const QByteArray data = pattern(3 * 1024 * 1024 + 12345); // several chunks and a rest
        const QString source = dir.filePath("quelle.fdb"), target = dir.filePath("ziel.fdb");
        QVERIFY(writeFile(source, data));
        AnsweredQtDialogs seam;
        QVERIFY(seam.copyFileWithProgress(source, target));
        QCOMPARE(readFile(target), data);
        QVERIFY(!QFile::exists(target + ".part"));
        QVERIFY(seam.asked.isEmpty());
    }

    void copyAsksBeforeReplacing_data()
    {
        QTest::addColumn<IDialogs::Answer>("answer");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("Ja") << IDialogs::Answer::Yes << true;
        QTest::newRow("Nein") << IDialogs::Answer::No << false;
    }
    void copyAsksBeforeReplacing()
    {
        QFETCH(IDialogs::Answer, answer);
        QFETCH(bool, replaced);
        QTemporaryDir dir;
        const QString source = dir.filePath("quelle.fdb"), target = dir.filePath("ziel.fdb");
        QVERIFY(writeFile(source, "neu"));
        QVERIFY(writeFile(target, "alt"));
        AnsweredQtDialogs seam;
        seam.answer = answer;
        QCOMPARE(seam.copyFileWithProgress(source, target), replaced);
        QCOMPARE(seam.asked, QStringList{QStringLiteral("Die Datei %1 existiert bereits. Ersetzen?").arg(target)});
        QCOMPARE(readFile(target), replaced ? QByteArray("neu") : QByteArray("alt"));
        QVERIFY(!QFile::exists(target + ".part"));
    }

    void cancelledCopyLeavesNothing()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath("quelle.fdb"), target = dir.filePath("ziel.fdb");
        QVERIFY(writeFile(source, pattern(6 * 1024 * 1024)));
        AnsweredQtDialogs seam;
        seam.progressDelay = 0;
        // The progress dialog handles events while it is shown; the user
        // presses its cancel button then.
        QTimer canceller;
        connect(&canceller, &QTimer::timeout, this, [] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *progress = qobject_cast<QProgressDialog *>(w); progress && progress->isVisible())
                    progress->cancel();
        });
        canceller.start(0);
        QVERIFY(!seam.copyFileWithProgress(source, target));
        QVERIFY(!QFile::exists(target));
        QVERIFY(!QFile::exists(target + ".part"));
        QVERIFY(seam.told.isEmpty()); // cancelling is no error
    }

    void failedCopyIsReported()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath("quelle.fdb"), target = dir.filePath("fehlt/ziel.fdb");
        QVERIFY(writeFile(source, "daten"));
        AnsweredQtDialogs seam;
        QVERIFY(!seam.copyFileWithProgress(source, target));
        QCOMPARE(seam.told.size(), 1);
        QCOMPARE(seam.told.constFirst(), QStringLiteral("Den Ordner von %1.part gibt es nicht.").arg(target));
        QVERIFY(!seam.copyFileWithProgress(dir.filePath("gibtsnicht.fdb"), dir.filePath("ziel.fdb")));
        QCOMPARE(seam.told.size(), 2);
        QVERIFY(!QFile::exists(dir.filePath("ziel.fdb.part")));
    }

    void fullDiskIsReportedWithoutProgressBox()
    {
        TSmallDisk disk;
        if (!disk.mounted())
            QSKIP("a small tmpfs cannot be mounted here");
        QTemporaryDir dir;
        const QString source = dir.filePath("quelle.fdb");
        QVERIFY(writeFile(source, pattern(3 * 1024 * 1024)));
        AnsweredQtDialogs seam;
        seam.progressDelay = 0;
        QVERIFY(!seam.copyFileWithProgress(source, disk.path + "/ziel.fdb"));
        QCOMPARE(seam.told.size(), 1);
        QVERIFY2(seam.told.first().startsWith("Auf dem Datenträger ist nicht genug Platz"), qPrintable(seam.told.first()));
        QVERIFY(!seam.progressShownWithMessage); // the error box answers at once
        QVERIFY(disk.files().isEmpty());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    prepareTestEnvironment();
    TestQtDialogs test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_qtdialogs.moc"

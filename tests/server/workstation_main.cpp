// Another workstation for the server tests: one program process with its
// own login that connects through the server and does one thing.
//
//   velmora_workstation DATABASE USER PASSWORD KUNDE_ID COMMAND ...
//     edit-device ID FIELD TEXT   stores a text of a device
//     delete-device ID
//     add-device                  a new device with the proposed number
//     load SECONDS                inspections (and every tenth time a new
//                                 device) until the time is up
//
// Prints "I <id>" after every stored inspection and "D <id> <number>" after
// every stored device; exits 0, or 1 with the message on standard error.
#include "DbError.h"
#include "ScriptedDialogs.h"
#include "ServerLogin.h"
#include "Workstation.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextStream>

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

int fail(const QString &text)
{
    QTextStream(stderr) << text << Qt::endl;
    return 1;
}

bool findDevice(TfrmDM &dm, qint64 id) { return dm.dsetPrueflinge.locate(QStringLiteral("ID"), TValue(id)); }

// A new device with the proposed number; a number another workstation took
// meanwhile is refused, and the next proposal is taken, as a user would.
void addDevice(TfrmDM &dm, TScriptedDialogs &dialogs)
{
    for (int attempt = 0;; ++attempt) {
        dm.dsetPrueflinge.append();
        dm.dsetPrueflinge.fieldByName(QStringLiteral("BEZEICHNUNG"))->setAsString(QStringLiteral("Lastgerät"));
        try {
            dm.dsetPrueflinge.post();
            out() << "D " << dm.dsetPrueflinge.fieldByName(QStringLiteral("ID"))->asInteger() << ' '
                  << dm.dsetPrueflinge.fieldByName(QStringLiteral("NUMMER"))->asString() << Qt::endl;
            return;
        } catch (const EAbort &) {
            dm.dsetPrueflinge.cancel();
            if (attempt > 50)
                throw EDatabaseError(dialogs.messages().join(u'\n'));
        }
    }
}

void addInspection(TfrmDM &dm)
{
    dm.dsetPruefungen.append();
    dm.dsetPruefungen.fieldByName(QStringLiteral("SCHUTZLEITWIDERSTAND"))->setAsDecimal(TDecimal(1200, 4));
    dm.dsetPruefungen.post();
    out() << "I " << dm.dsetPruefungen.fieldByName(QStringLiteral("ID"))->asInteger() << Qt::endl;
}

void load(TfrmDM &dm, TScriptedDialogs &dialogs, int seconds)
{
    QElapsedTimer clock;
    clock.start();
    for (int n = 0; clock.elapsed() < seconds * 1000LL; ++n) {
        if (n % 10 == 0)
            addDevice(dm, dialogs);
        dm.dsetPrueflinge.moveTo(static_cast<int>(QRandomGenerator::global()->bounded(dm.dsetPrueflinge.recordCount())));
        addInspection(dm);
    }
}

int run(const QStringList &args)
{
    if (args.size() < 5)
        return fail(QStringLiteral("Aufruf: velmora_workstation DATENBANK BENUTZER KENNWORT KUNDE_ID BEFEHL ..."));
    TScriptedDialogs dialogs;
    TfrmDM dm;
    TWorkstationView view(args[3].toInt());
    dm.setMainView(&view);
    dm.setServerLogin(args[0], TServerLogin{args[1], args[2]});
    if (!dm.Connect(args[0]))
        return fail(dialogs.messages().join(u'\n'));
    dm.setPrueflingeSQL();
    const QString command = args[4];
    if (command == u"edit-device" && args.size() == 8) {
        if (!findDevice(dm, args[5].toLongLong()))
            return fail(QStringLiteral("Gerät nicht gefunden"));
        dm.dsetPrueflinge.edit();
        dm.dsetPrueflinge.fieldByName(args[6])->setAsString(args[7]);
        dm.dsetPrueflinge.post();
    } else if (command == u"delete-device" && args.size() == 6) {
        if (!findDevice(dm, args[5].toLongLong()))
            return fail(QStringLiteral("Gerät nicht gefunden"));
        dm.dsetPrueflinge.deleteRecord();
    } else if (command == u"add-device") {
        addDevice(dm, dialogs);
    } else if (command == u"load" && args.size() == 6) {
        load(dm, dialogs, args[5].toInt());
    } else {
        return fail(QStringLiteral("Unbekannter Befehl ") + command);
    }
    dm.setMainView(nullptr);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    app.setOrganizationName(QStringLiteral("Orbenta"));
    app.setApplicationName(QStringLiteral("Tarnholm"));
    try {
        return run(app.arguments().mid(1));
    } catch (const EDatabaseError &e) {
        return fail(e.message());
    } catch (const EAbort &) {
        return fail(QStringLiteral("abgebrochen"));
    }
}

#pragma once
// Where velmora-db's commands write: results to standard output, messages
// to standard error.
#include <QString>
#include <QTextStream>

inline QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

inline QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

// Says why a command refuses and gives its exit code 1.
inline int refuse(const QString &message)
{
    err() << message << Qt::endl;
    return 1;
}

// Says what was not understood, how to call the command, and gives exit code 2.
inline int usageWith(const QString &why, const char *calls)
{
    if (!why.isEmpty())
        err() << why << "\n";
    err() << "Aufruf:\n" << calls << Qt::flush;
    return 2;
}

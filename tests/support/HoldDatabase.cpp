// Holds a database file open in a process of its own, the way a second
// running program does: prints "gehalten" once attached and lets go when its
// standard input closes.
#include "Database.h"
#include "TestDatabase.h"
#include <QCoreApplication>
#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    TDatabase db;
    db.params = TTestDatabase::connectionParams();
    db.setDatabaseName(QString::fromUtf8(argv[1]));
    db.open();
    std::puts("gehalten");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    db.close();
    return 0;
}

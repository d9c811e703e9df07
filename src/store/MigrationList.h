#pragma once
#include "Migration.h"
#include <QList>

// The steps of the schema's history, in order (MigrationList.cpp).
const QList<Migration> &migrations();

#include "Clock.h"

namespace {
QDateTime g_fixed;
}

QDateTime TClock::now() { return g_fixed.isValid() ? g_fixed : QDateTime::currentDateTime(); }
void TClock::setFixedNow(const QDateTime &fixed) { g_fixed = fixed; }

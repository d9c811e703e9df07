#pragma once
// A test main for window tests: the program's own application object, so
// that an error or a silent abort leaving a click is handled as in the
// program (shown through the dialog seam, or passed over) instead of ending
// the test.
#include "Application.h"
#include <QtTest>

#define VELMORA_APP_TEST_MAIN(TestObject)                                                                              \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        TApplication app(argc, argv);                                                                                  \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }

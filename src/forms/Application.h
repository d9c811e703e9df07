#pragma once
#include <QApplication>

// The application object: every exception that leaves an event handler
// ends here. A silent abort passes without a word; any other error is shown
// with its own text in a "Fehler" box, and the program goes on.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    // Shows an error the way notify() does; for code that catches itself.
    static void showException(std::exception_ptr error);
};


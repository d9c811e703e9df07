#pragma once
#include <QMainWindow>

// Stands in for the main window until it is built: shows that the program
// starts, with its caption and a short notice.
class TPlaceholderWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TPlaceholderWindow(QWidget *parent = nullptr);
};

#include "PlaceholderWindow.h"
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

TPlaceholderWindow::TPlaceholderWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Velmora Prüfprotokolle"));
    QMenu *datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    datei->addAction(QStringLiteral("&Ende"), this, &QWidget::close);
    auto *notice = new QLabel(QStringLiteral("Velmora Prüfprotokolle\n\nDas Grundgerüst steht; die Fenster für Kunden, "
                                             "Prüflinge und Prüfungen folgen."),
                              this);
    notice->setAlignment(Qt::AlignCenter);
    setCentralWidget(notice);
    statusBar()->showMessage(QStringLiteral("Datenbank nicht verbunden"));
    resize(966, 505);
}

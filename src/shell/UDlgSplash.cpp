#include "UDlgSplash.h"
#include "UMisc.h"
#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TdlgSplash::TdlgSplash(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TdlgSplash"));
    setWindowTitle(QStringLiteral("Info"));
    auto *layout = new QVBoxLayout(this);
    lblTitle = new QLabel(titleFor(GetFileVersionString()), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setAlignment(Qt::AlignCenter);
    QFont bold = lblTitle->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 4);
    lblTitle->setFont(bold);
    auto *logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setPixmap(QIcon(QStringLiteral(":/velmora/logo.svg")).pixmap(96, 96));
    logo->setAlignment(Qt::AlignCenter);
    auto *notice = new QLabel(QStringLiteral("Prüfprotokolle für die Prüfung elektrischer Geräte\n"
                                             "Schutzleiter, Isolation, Ableit- und Berührungsströme"),
                              this);
    notice->setObjectName(QStringLiteral("lblNotice"));
    notice->setAlignment(Qt::AlignCenter);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->setCenterButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(lblTitle);
    layout->addWidget(logo);
    layout->addWidget(notice);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString TdlgSplash::titleFor(const QString &version) { return QStringLiteral("Velmora V") + version.left(6); }

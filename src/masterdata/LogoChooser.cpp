#include "LogoChooser.h"
#include "DataSet.h"
#include "Dialogs.h"
#include "UMisc.h"
#include <QFile>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kField = QStringLiteral("LOGO");
}

TLogoChooser::TLogoChooser(TDataSet *contractor, QWidget *parent)
    : QWidget(parent), m_contractor(contractor), m_picture(new QLabel), m_choose(new QPushButton(QStringLiteral("Logo &wählen..."))),
      m_remove(new QPushButton(QStringLiteral("Logo ent&fernen")))
{
    setObjectName(QStringLiteral("LogoChooser"));
    m_picture->setObjectName(QStringLiteral("imgLogo"));
    m_choose->setObjectName(QStringLiteral("btnLogoWaehlen"));
    m_remove->setObjectName(QStringLiteral("btnLogoEntfernen"));
    m_picture->setFixedSize(120, 48);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setFrameShape(QFrame::StyledPanel);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_choose);
    buttons->addWidget(m_remove);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Logo")));
    layout->addWidget(m_picture);
    layout->addLayout(buttons);
    connect(m_choose, &QPushButton::clicked, this, &TLogoChooser::chooseFile);
    connect(m_remove, &QPushButton::clicked, this, &TLogoChooser::removeLogo);
}

void TLogoChooser::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    showLogo();
}

void TLogoChooser::showLogo()
{
    const bool ready = m_contractor->active() && !m_contractor->isEmpty();
    const QImage image = ready ? QImage::fromData(m_contractor->fieldByName(kField)->asString().toLatin1()) : QImage();
    m_picture->setPixmap(image.isNull() ? QPixmap()
                                        : QPixmap::fromImage(image.scaled(m_picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    m_picture->setText(image.isNull() ? QStringLiteral("kein Logo") : QString());
    m_choose->setEnabled(ready);
    m_remove->setEnabled(ready && !image.isNull());
}

void TLogoChooser::chooseFile()
{
    const QString path = dialogs().chooseOpenFile(QStringLiteral("Logo wählen"), GetSpecialFolderPath(CSIDL_PERSONAL),
                                                  QStringLiteral("Bilder|*.png;*.jpg;*.jpeg;*.bmp;*.gif"), QStringLiteral("png"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (file.size() > MaxBytes) {
        dialogs().message(QStringLiteral("Das Bild %1 ist zu groß: Ein Logo darf höchstens 2 MB haben.").arg(path), IDialogs::Icon::Warning);
        return;
    }
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (QImage::fromData(bytes).isNull()) {
        dialogs().message(QStringLiteral("Die Datei %1 ist kein lesbares Bild.").arg(path), IDialogs::Icon::Warning);
        return;
    }
    setLogo(bytes);
}

void TLogoChooser::removeLogo() { setLogo(QByteArray()); }

void TLogoChooser::setLogo(const QByteArray &bytes)
{
    if (!m_contractor->editing())
        m_contractor->edit();
    // The BLOB keeps the file's bytes; the record set carries them as text
    // of one character per byte.
    TField *logo = m_contractor->fieldByName(kField);
    if (bytes.isEmpty())
        logo->setValue(TValue());
    else
        logo->setAsString(QString::fromLatin1(bytes));
    showLogo();
}

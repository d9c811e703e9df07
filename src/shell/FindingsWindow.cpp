#include "FindingsWindow.h"
#include "Dialogs.h"
#include "FileCopy.h"
#include "ScreenFit.h"
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

FindingsWindow::FindingsWindow(const QString &title, const QString &text, QWidget *parent)
    : QDialog(parent), m_text(new QPlainTextEdit(text, this))
{
    setObjectName(QStringLiteral("findingsWindow"));
    setWindowTitle(title);
    m_text->setObjectName(QStringLiteral("findings"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto *buttons = new QDialogButtonBox(this);
    auto *copy = buttons->addButton(QStringLiteral("Kopieren"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("btnKopieren"));
    auto *save = buttons->addButton(QStringLiteral("Speichern…"), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("btnSpeichern"));
    auto *close = buttons->addButton(QStringLiteral("Schließen"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("btnSchliessen"));
    close->setDefault(true);
    connect(copy, &QPushButton::clicked, this, &FindingsWindow::copyText);
    connect(save, &QPushButton::clicked, this, &FindingsWindow::saveText);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
    resizeWithinScreen(this, QSize(760, 480));
}

QString FindingsWindow::text() const { return m_text->toPlainText(); }

void FindingsWindow::copyText() { QApplication::clipboard()->setText(text()); }

void FindingsWindow::saveText()
{
    const QString path = dialogs().chooseSaveFile(windowTitle(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                                                  QStringLiteral("Textdatei|*.txt"), QStringLiteral("txt"));
    if (path.isEmpty())
        return;
    if (const QString failure = writeFileCompletely(path, text().toUtf8() + '\n'); !failure.isEmpty())
        dialogs().message(failure, IDialogs::Icon::Error);
}

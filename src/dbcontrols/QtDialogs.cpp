#include "QtDialogs.h"
#include "FileCopy.h"
#include <QPrintDialog>
#include <QPrinter>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

QMessageBox::Icon toQtIcon(IDialogs::Icon icon)
{
    switch (icon) {
    case IDialogs::Icon::Information: return QMessageBox::Information;
    case IDialogs::Icon::Warning: return QMessageBox::Warning;
    case IDialogs::Icon::Error: return QMessageBox::Critical;
    case IDialogs::Icon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString nativePath(const QString &path) { return QDir::toNativeSeparators(path); }

QString chooseFile(QFileDialog::AcceptMode mode, const QString &caption, const QString &folder,
                   const QString &filter, const QString &defaultSuffix)
{
    QFileDialog chooser(QApplication::activeWindow(), caption, folder, TQtDialogs::toQtFilter(filter));
    chooser.setAcceptMode(mode);
    chooser.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    chooser.setDefaultSuffix(defaultSuffix.startsWith(u'.') ? defaultSuffix.mid(1) : defaultSuffix);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return {};
    return chooser.selectedFiles().constFirst();
}

} // namespace

void TQtDialogs::message(const QString &text, Icon icon, const QString &caption)
{
    QMessageBox box(toQtIcon(icon), caption.isEmpty() ? defaultCaption(icon) : caption, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

IDialogs::Answer TQtDialogs::ask(const QString &text, Buttons buttons, const QString &caption)
{
    QMessageBox box(QMessageBox::Question, caption.isEmpty() ? defaultCaption(Icon::Question) : caption, text,
                    QMessageBox::NoButton, QApplication::activeWindow());
    QList<QPair<QAbstractButton *, Answer>> answers;
    auto add = [&](const QString &label, QMessageBox::ButtonRole role, Answer answer) {
        QPushButton *button = box.addButton(label, role);
        answers.append({button, answer});
        return button;
    };
    QAbstractButton *escape = nullptr;
    switch (buttons) {
    case Buttons::Ok:
        escape = add(QStringLiteral("OK"), QMessageBox::AcceptRole, Answer::Ok);
        break;
    case Buttons::OkCancel:
        add(QStringLiteral("OK"), QMessageBox::AcceptRole, Answer::Ok);
        escape = add(QStringLiteral("Abbrechen"), QMessageBox::RejectRole, Answer::Cancel);
        break;
    case Buttons::YesNo:
        add(QStringLiteral("&Ja"), QMessageBox::YesRole, Answer::Yes);
        escape = add(QStringLiteral("&Nein"), QMessageBox::NoRole, Answer::No);
        break;
    case Buttons::YesNoCancel:
        add(QStringLiteral("&Ja"), QMessageBox::YesRole, Answer::Yes);
        add(QStringLiteral("&Nein"), QMessageBox::NoRole, Answer::No);
        escape = add(QStringLiteral("Abbrechen"), QMessageBox::RejectRole, Answer::Cancel);
        break;
    }
    // A question with Cancel is asked before something would be stored or
    // dropped: Enter must do neither.
    QAbstractButton *defaultButton = buttons == Buttons::YesNoCancel ? escape : answers.constFirst().first;
    box.setDefaultButton(static_cast<QPushButton *>(defaultButton));
    box.setEscapeButton(escape);
    box.exec();
    // Closing the box through its title bar counts as the escape button.
    QAbstractButton *clicked = box.clickedButton() ? box.clickedButton() : escape;
    for (const auto &[button, answer] : std::as_const(answers))
        if (button == clicked)
            return answer;
    return answers.constLast().second;
}

void TQtDialogs::beep() { QApplication::beep(); }

QString TQtDialogs::chooseOpenFile(const QString &caption, const QString &folder, const QString &filter,
                                   const QString &defaultSuffix)
{
    return chooseFile(QFileDialog::AcceptOpen, caption, folder, filter, defaultSuffix);
}

QString TQtDialogs::chooseSaveFile(const QString &caption, const QString &folder, const QString &filter,
                                   const QString &defaultSuffix)
{
    return chooseFile(QFileDialog::AcceptSave, caption, folder, filter, defaultSuffix);
}

QString TQtDialogs::chooseFolder(const QString &caption, const QString &startFolder)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), caption, startFolder,
                                             QFileDialog::ShowDirsOnly);
}

bool TQtDialogs::openUrl(const QUrl &url) { return QDesktopServices::openUrl(url); }

QString TQtDialogs::toQtFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts).join(u' ').trimmed();
        const QString suffix = QStringLiteral("(%1)").arg(patterns);
        // A description that already names its patterns keeps its text.
        result << (description.endsWith(suffix) ? description : QStringLiteral("%1 %2").arg(description, suffix));
    }
    if (result.isEmpty() && !filter.trimmed().isEmpty())
        result << filter.trimmed();
    return result.join(QStringLiteral(";;"));
}

bool TQtDialogs::copyFileWithProgress(const QString &source, const QString &target)
{
    if (QFile::exists(target) &&
        ask(QStringLiteral("Die Datei %1 existiert bereits. Ersetzen?").arg(nativePath(target)), Buttons::YesNo) !=
            Answer::Yes)
        return false;

    TFileCopyResult result;
    {
        constexpr int steps = 1000;
        QProgressDialog progress(QStringLiteral("Kopiere %1 …").arg(nativePath(source)), QStringLiteral("Abbrechen"), 0,
                                 steps, QApplication::activeWindow());
        progress.setWindowTitle(QStringLiteral("Kopieren"));
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(progressDelay);
        progress.setAutoClose(false);
        progress.setAutoReset(false);
        progress.setValue(0);
        result = copyFileCompletely(source, target, [&](qint64 done, qint64 total) {
            progress.setValue(total > 0 ? static_cast<int>(done * steps / total) : steps);
            return !progress.wasCanceled();
        });
        progress.close();
    }
    // The progress box is gone before an error shows, so the error's OK
    // answers at once.
    if (!result.ok() && !result.cancelled)
        message(result.failure, Icon::Error);
    return result.ok();
}

bool TQtDialogs::choosePrint(QPrinter &printer, int pageCount)
{
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCollateCopies |
                      QAbstractPrintDialog::PrintCurrentPage | QAbstractPrintDialog::PrintToFile |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, std::max(pageCount, 1));
    dialog.setFromTo(1, std::max(pageCount, 1));
    dialog.setPrintRange(QAbstractPrintDialog::PageRange);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QString> TQtDialogs::askText(const QString &text, const QString &caption, int maxLength)
{
    QInputDialog box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setLabelText(text);
    box.setInputMode(QInputDialog::TextInput);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (auto *edit = box.findChild<QLineEdit *>())
        edit->setMaxLength(maxLength);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

std::optional<QString> TQtDialogs::askPassword(const QString &text, bool &remember)
{
    QDialog box(QApplication::activeWindow());
    box.setWindowTitle(QStringLiteral("Anmeldung"));
    auto *layout = new QFormLayout(&box);
    layout->addRow(new QLabel(text));
    auto *password = new QLineEdit;
    password->setEchoMode(QLineEdit::Password);
    layout->addRow(QStringLiteral("&Kennwort"), password);
    auto *keep = new QCheckBox(QStringLiteral("Kennwort &merken"));
    keep->setChecked(remember);
    layout->addRow(keep);
    auto *buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    layout->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    remember = keep->isChecked();
    return password->text();
}

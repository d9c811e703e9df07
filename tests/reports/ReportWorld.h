#pragma once
// The running program over a database in a folder with "ü" that holds the
// long real-world texts, and helpers to read what reports show.
#include "LongTextData.h"
#include "PageStream.h"
#include "RunningProgram.h"
#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>

struct TReportWorld : TRunningProgram {
    explicit TReportWorld(const QStringList &extra = {})
        : TRunningProgram(longtext::changes() + extra, QDateTime(QDate(2024, 1, 31), QTime(9, 0)))
    {
    }
    QString file(const QString &name) const { return home.dir.filePath(name); }
};

// Picks a customer in a report window's list, as the program does.
inline void chooseCustomer(QWidget *reportWindow, int customer)
{
    auto *customers = TRunningProgram::find<QComboBox>(reportWindow, "cbKunden");
    customers->setCurrentIndex(customers->findData(customer));
}

// Runs a command and returns its standard output.
inline QString runTool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline QString pdfText(const QString &path, int page = 0)
{
    QStringList args;
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    return runTool(QStringLiteral("pdftotext"), args << path << QStringLiteral("-"));
}

inline int pdfPages(const QString &path)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(runTool(QStringLiteral("pdfinfo"), {path}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// All the stream's visible text without blanks and line breaks, so that a
// wrapped text is found whole.
inline QString visibleWithoutBlanks(const TPageStream &stream)
{
    return stream.texts.join(QString()).remove(QRegularExpression(QStringLiteral("\\s")));
}

inline bool showsWhole(const TPageStream &stream, const QString &text)
{
    return visibleWithoutBlanks(stream).contains(QString(text).remove(QRegularExpression(QStringLiteral("\\s"))));
}

// The pages (1-based) on which a text is visible.
inline QList<int> pagesShowing(const TPageStream &stream, const QString &text)
{
    QList<int> pages;
    for (const TTextBox &b : stream.boxes)
        if (b.text == text && !pages.contains(b.page))
            pages << b.page;
    return pages;
}

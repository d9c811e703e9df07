#pragma once
// A database file held open by another process for as long as this object
// lives (the embedded engine then refuses it to everybody else).
#include <QProcess>
#include <QString>

class THeldDatabase {
public:
    explicit THeldDatabase(const QString &path)
    {
        m_process.start(QStringLiteral(VELMORA_HOLD_DATABASE), {path});
        m_process.waitForReadyRead(30000);
        held = m_process.readAllStandardOutput().startsWith("gehalten");
    }
    ~THeldDatabase()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(30000))
            m_process.kill();
    }
    bool held = false;

private:
    QProcess m_process;
};

#include "ProgressWindow.h"
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

ProgressWindow::ProgressWindow(const QString &title, bool cancellable, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          (cancellable ? Qt::WindowCloseButtonHint : Qt::WindowType(0))),
      m_text(new QLabel(QStringLiteral("Einen Moment bitte..."), this)), m_bar(new QProgressBar(this))
{
    setObjectName(QStringLiteral("frmFortschritt"));
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);
    setMinimumWidth(420);
    m_text->setObjectName(QStringLiteral("lblFortschritt"));
    m_bar->setObjectName(QStringLiteral("pbFortschritt"));
    // Until the work tells its total, the bar only shows that it is busy.
    m_bar->setRange(0, 0);
    m_bar->setTextVisible(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    if (cancellable) {
        m_cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
        m_cancel->setObjectName(QStringLiteral("btnAbbrechen"));
        layout->addWidget(m_cancel, 0, Qt::AlignRight);
        connect(m_cancel, &QPushButton::clicked, this, &ProgressWindow::reject);
    }
}

void ProgressWindow::showProgress(const QString &text, qint64 done, qint64 total)
{
    if (m_cancel && !m_cancel->isEnabled())
        return; // the stop is on its way; the text says so
    m_text->setText(text);
    constexpr int steps = 1000;
    m_bar->setRange(0, steps);
    m_bar->setValue(total > 0 ? static_cast<int>(done * steps / total) : steps);
}

void ProgressWindow::reject()
{
    if (!m_cancel || !m_cancel->isEnabled())
        return;
    m_cancel->setEnabled(false);
    m_text->setText(QStringLiteral("Wird abgebrochen, sobald das ohne Schaden geht ..."));
    emit cancelRequested();
}

#include "ImportRunWindow.h"
#include "ScreenFit.h"
#include "BackgroundImport.h"
#include "DeviceFromRow.h"
#include "Dialogs.h"
#include "ImportBatch.h"
#include "ImportWidgets.h"
#include "Measurements.h"
#include "NewDeviceDialog.h"
#include "ProfileStore.h"
#include "USettings.h"
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The message comes right after the state, so that why a row is not ready
// is in view; its full text is the tooltip of every cell of the row.
constexpr int kMessageColumn = 2;
constexpr int kMessageWidth = 380;

QStringList headers()
{
    QStringList h{QStringLiteral("Zeile"), QStringLiteral("Zustand"), QStringLiteral("Meldung"), QStringLiteral("Prüfling"),
                  QStringLiteral("Datum")};
    for (const Measurement &m : kMeasurements)
        h << QStringLiteral("%1 [%2]").arg(m.germanLabel(), m.germanUnit());
    return h << QStringLiteral("Urteil") << QStringLiteral("Messgerät");
}

QColor stateColour(RowState state)
{
    switch (state) {
    case RowState::Ready:
        return QColor(0xd9, 0xf2, 0xd9);
    case RowState::AlreadyImported:
        return QColor(0xe6, 0xe6, 0xe6);
    case RowState::UnknownCustomer:
    case RowState::UnknownDevice:
    case RowState::VerdictDiffers:
        return QColor(0xff, 0xeb, 0xc2);
    default:
        return QColor(0xf8, 0xd0, 0xd0);
    }
}

QString verdictText(std::optional<bool> verdict)
{
    return !verdict ? QString() : *verdict ? QStringLiteral("bestanden") : QStringLiteral("nicht bestanden");
}

} // namespace

TfrmImportRun::TfrmImportRun(TDatabase &database, int inspectorId, int instrumentId, QWidget *parent)
    : QWidget(parent, Qt::Window), m_database(database)
{
    setObjectName(QStringLiteral("frmImportRun"));
    setWindowTitle(QStringLiteral("Messwerte importieren"));
    buildControls();
    fillKeyedCombo(m_inspector, database, QStringLiteral("PRUEFER"), inspectorId);
    fillKeyedCombo(m_instrument, database, QStringLiteral("PRUEFGERAETE"), instrumentId);
    m_profile->addItems(storedProfileNames(database));
    if (m_profile->count() == 0)
        m_counts->setText(QStringLiteral("Noch kein Importprofil angelegt: bitte zuerst unter Bearbeiten → Importprofile eines anlegen."));
    for (QComboBox *c : {m_profile, m_inspector, m_instrument})
        connect(c, &QComboBox::currentIndexChanged, this, &TfrmImportRun::rerun);
    resizeWithinScreen(this, QSize(1100, 520));
    rememberChoices();
    updateButtons();
}

void TfrmImportRun::buildControls()
{
    m_profile = new QComboBox(this);
    m_profile->setObjectName(QStringLiteral("cbProfil"));
    m_inspector = new QComboBox(this);
    m_inspector->setObjectName(QStringLiteral("cbPruefer"));
    m_instrument = new QComboBox(this);
    m_instrument->setObjectName(QStringLiteral("cbPruefgeraet"));
    m_file = new QLabel(QStringLiteral("(keine Datei gewählt)"), this);
    m_file->setObjectName(QStringLiteral("lblDatei"));
    auto *choose = new QPushButton(QStringLiteral("Datei &wählen..."), this);
    choose->setObjectName(QStringLiteral("btnDatei"));
    connect(choose, &QPushButton::clicked, this, &TfrmImportRun::chooseFile);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(choose);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Datei:"), fileRow);
    form->addRow(QStringLiteral("&Profil:"), m_profile);
    form->addRow(QStringLiteral("Prü&fer (für Zeilen ohne Prüfer):"), m_inspector);
    form->addRow(QStringLiteral("Prüf&gerät:"), m_instrument);

    m_table = newListTable(this, headers(), QStringLiteral("gridZeilen"));
    m_table->horizontalHeader()->setStretchLastSection(false);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &TfrmImportRun::updateButtons);
    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("lblAnzahl"));
    m_counts->setWordWrap(true);

    m_createDevice = new QPushButton(QStringLiteral("Prüfling &anlegen..."), this);
    m_createDevice->setObjectName(QStringLiteral("btnPrueflingAnlegen"));
    connect(m_createDevice, &QPushButton::clicked, this, &TfrmImportRun::createDevice);
    m_import = new QPushButton(QStringLiteral("&Importieren..."), this);
    m_import->setObjectName(QStringLiteral("btnImportieren"));
    connect(m_import, &QPushButton::clicked, this, &TfrmImportRun::confirmImport);
    auto *close = new QPushButton(QStringLiteral("S&chließen"), this);
    close->setObjectName(QStringLiteral("btnSchliessen"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_createDevice);
    buttons->addStretch(1);
    buttons->addWidget(m_import);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_counts);
    layout->addLayout(buttons);
}

void TfrmImportRun::chooseFile()
{
    const QString path = dialogs().chooseOpenFile(QStringLiteral("Export des Prüfgeräts öffnen"), QFileInfo(m_path).path(),
                                                  QStringLiteral("Exportdateien|*.csv *.txt *.tsv|Alle Dateien|*"), QString());
    if (!path.isEmpty())
        openFile(path);
}

void TfrmImportRun::openFile(const QString &path)
{
    const std::optional<QByteArray> bytes = readFileShowingErrors(path);
    if (bytes && judge(path, *bytes))
        m_file->setText(QDir::toNativeSeparators(path));
}

void TfrmImportRun::rerun() { judge(m_path, m_bytes); }

bool TfrmImportRun::judge(const QString &path, const QByteArray &bytes)
{
    TDryRun run;
    if (!path.isEmpty() && m_profile->count() > 0) {
        QString error;
        const auto profile = loadProfile(m_database, m_profile->currentText(), &error);
        if (!profile) {
            run.fileError = error;
        } else {
            const TImportChoice choice{m_inspector->currentData().toInt(), m_instrument->currentData().toInt()};
            try {
                if (!showingErrors([&] { run = dryRunInBackground(m_database, *profile, path, bytes, choice); })) {
                    restoreChoices();
                    return false;
                }
            } catch (const EWorkCancelled &) {
                restoreChoices();
                dialogs().message(kDryRunCancelled);
                return false;
            }
        }
    }
    m_path = path;
    m_bytes = bytes;
    m_run = run;
    rememberChoices();
    showRows();
    return true;
}

void TfrmImportRun::rememberChoices()
{
    m_shownChoices = {m_profile->currentIndex(), m_inspector->currentIndex(), m_instrument->currentIndex()};
}

void TfrmImportRun::restoreChoices()
{
    const QList<QComboBox *> combos{m_profile, m_inspector, m_instrument};
    for (qsizetype i = 0; i < combos.size(); ++i) {
        const QSignalBlocker quiet(combos[i]);
        combos[i]->setCurrentIndex(m_shownChoices[static_cast<size_t>(i)]);
    }
}

void TfrmImportRun::showRows()
{
    m_table->setRowCount(0);
    m_table->setRowCount(static_cast<int>(m_run.rows.size()));
    for (int r = 0; r < m_run.rows.size(); ++r) {
        const TImportRow &row = m_run.rows.at(r);
        QStringList cells{QString::number(row.line), rowStateText(row.state), row.message(), row.deviceText,
                          row.when.isValid() ? row.when.toString(QStringLiteral("dd.MM.yyyy HH:mm")) : QString()};
        for (const auto &v : row.values)
            cells << (v ? QLocale().toString(v->toDouble(), 'f', 2) : QString());
        cells << (row.judged ? verdictText(row.ourVerdict) : QString()) << verdictText(row.instrumentVerdict);
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            item->setBackground(stateColour(row.state));
            item->setToolTip(row.message());
            m_table->setItem(r, c, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->setColumnWidth(kMessageColumn, std::min(m_table->columnWidth(kMessageColumn), kMessageWidth));
    if (!m_run.fileError.isEmpty())
        m_counts->setText(m_run.fileError);
    else if (!m_path.isEmpty())
        m_counts->setText(m_run.countsText() + (m_run.fileNotice.isEmpty() ? QString() : u'\n' + m_run.fileNotice));
    updateButtons();
}

const TImportRow *TfrmImportRun::selectedRow() const
{
    const int r = m_table->currentRow();
    return r >= 0 && r < m_run.rows.size() && !m_table->selectedItems().isEmpty() ? &m_run.rows.at(r) : nullptr;
}

void TfrmImportRun::updateButtons()
{
    const TImportRow *row = selectedRow();
    m_createDevice->setEnabled(row && deviceCreationRefusal(*row, m_run.profile).isEmpty());
    m_import->setEnabled(m_run.fileError.isEmpty() && !m_run.rows.isEmpty());
}

void TfrmImportRun::createDevice()
{
    const TImportRow *row = selectedRow();
    if (!row)
        return;
    TdlgNewDevice dialog(row->customerText, row->deviceNumber, TSettings().DefaultIntervallPruefling(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (showingErrors([&] { createDeviceFromRow(m_database, *row, m_run.profile, dialog.choice()); })) {
        emit dataChanged();
        rerun();
    }
}

void TfrmImportRun::confirmImport()
{
    const int ready = m_run.readyCount();
    const int leftOut = static_cast<int>(m_run.rows.size()) - ready;
    if (ready == 0) {
        dialogs().message(QStringLiteral("Keine Zeile ist bereit; es wird nichts importiert.\n%1").arg(m_run.countsText()));
        return;
    }
    const QString file = QFileInfo(m_path).fileName();
    QString text = ready == 1 ? QStringLiteral("Aus „%1“ wird 1 Prüfung importiert.").arg(file)
                              : QStringLiteral("Aus „%1“ werden %2 Prüfungen importiert.").arg(file).arg(ready);
    if (leftOut == 1)
        text += QStringLiteral("\n1 Zeile wird ausgelassen (%1).").arg(m_run.leftOutText());
    else if (leftOut > 1)
        text += QStringLiteral("\n%1 Zeilen werden ausgelassen (%2).").arg(leftOut).arg(m_run.leftOutText());
    text += QStringLiteral("\n\nImportieren?");
    if (dialogs().ask(text, IDialogs::Buttons::YesNo) != IDialogs::Answer::Yes)
        return;
    TImportResult result;
    try {
        if (!showingErrors([&] { result = importInBackground(m_database, m_run); })) {
            rerun();
            return;
        }
    } catch (const EWorkCancelled &) {
        dialogs().message(kImportCancelled);
        return;
    }
    const QString imported = result.imported == 1 ? QStringLiteral("1 Prüfung importiert")
                                                  : QStringLiteral("%1 Prüfungen importiert").arg(result.imported);
    dialogs().message(QStringLiteral("%1 (Importstapel %2). Unter Bearbeiten → Importstapel lässt sich der Import als "
                                     "Ganzes zurücknehmen.")
                          .arg(imported)
                          .arg(result.batchId));
    emit dataChanged();
    rerun();
}

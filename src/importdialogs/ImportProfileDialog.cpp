#include "ImportProfileDialog.h"
#include "DryRun.h"
#include "Dialogs.h"
#include "ImportWidgets.h"
#include "ProfileStore.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPreviewRows = 10;
const QString kTab = QStringLiteral("Tab");

QString fieldLabel(const ImportFieldInfo &f) { return QString::fromUtf8(f.label); }

QPushButton *button(QWidget *parent, const QString &text, const QString &name)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TdlgImportProfile::TdlgImportProfile(TDatabase &database, QWidget *parent) : QDialog(parent), m_database(database)
{
    setObjectName(QStringLiteral("dlgImportProfile"));
    setWindowTitle(QStringLiteral("Importprofile"));
    buildControls();
    reloadList();
    if (m_list->count() == 0)
        showProfile(TImportProfile{});
    resize(1000, 640);
}

void TdlgImportProfile::buildControls()
{
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstProfile"));
    connect(m_list, &QListWidget::currentTextChanged, this, &TdlgImportProfile::listChosen);
    auto *newProfile = button(this, QStringLiteral("&Neu"), QStringLiteral("btnNeu"));
    connect(newProfile, &QPushButton::clicked, this, [this] {
        m_list->clearSelection();
        showProfile(TImportProfile{});
    });
    auto *remove = button(this, QStringLiteral("&Löschen"), QStringLiteral("btnLoeschen"));
    connect(remove, &QPushButton::clicked, this, &TdlgImportProfile::remove);
    auto *load = button(this, QStringLiteral("JSON la&den..."), QStringLiteral("btnJsonLaden"));
    connect(load, &QPushButton::clicked, this, &TdlgImportProfile::importJson);
    auto *store = button(this, QStringLiteral("JSON e&xportieren..."), QStringLiteral("btnJsonExport"));
    connect(store, &QPushButton::clicked, this, &TdlgImportProfile::exportJson);
    auto *left = new QVBoxLayout;
    left->addWidget(m_list, 1);
    for (QPushButton *b : {newProfile, remove, load, store})
        left->addWidget(b);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("edName"));
    m_name->setMaxLength(kProfileNameLength);
    m_encoding = new QComboBox(this);
    m_encoding->setObjectName(QStringLiteral("cbZeichensatz"));
    for (const TextEncoding e : {TextEncoding::Utf8, TextEncoding::Latin1, TextEncoding::Windows1252})
        m_encoding->addItem(encodingName(e), static_cast<int>(e));
    m_separator = new QComboBox(this);
    m_separator->setObjectName(QStringLiteral("cbTrennzeichen"));
    m_separator->setEditable(true);
    m_separator->addItems({QStringLiteral(";"), QStringLiteral(","), kTab, QStringLiteral("|")});
    m_quote = new QLineEdit(this);
    m_quote->setObjectName(QStringLiteral("edAnfuehrungszeichen"));
    m_quote->setMaxLength(1);
    m_decimalComma = new QCheckBox(QStringLiteral("Dezimal&komma (sonst Dezimalpunkt)"), this);
    m_decimalComma->setObjectName(QStringLiteral("chkDezimalkomma"));
    m_dateFormat = new QLineEdit(this);
    m_dateFormat->setObjectName(QStringLiteral("edDatumsformat"));
    m_timeFormat = new QLineEdit(this);
    m_timeFormat->setObjectName(QStringLiteral("edZeitformat"));
    m_headerLines = new QSpinBox(this);
    m_headerLines->setObjectName(QStringLiteral("spKopfzeilen"));
    m_headerLines->setRange(0, 100);
    m_customerByKey = new QCheckBox(QStringLiteral("Kunde als Sc&hlüssel (sonst Name)"), this);
    m_customerByKey->setObjectName(QStringLiteral("chkKundeSchluessel"));
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Na&me:"), m_name);
    form->addRow(QStringLiteral("&Zeichensatz:"), m_encoding);
    form->addRow(QStringLiteral("&Trennzeichen:"), m_separator);
    form->addRow(QStringLiteral("&Anführungszeichen:"), m_quote);
    form->addRow(QString(), m_decimalComma);
    form->addRow(QStringLiteral("Datums&format:"), m_dateFormat);
    form->addRow(QStringLiteral("Zeitf&ormat:"), m_timeFormat);
    form->addRow(QStringLiteral("Kopfzeil&en:"), m_headerLines);
    form->addRow(QString(), m_customerByKey);

    auto *columns = new QGroupBox(QStringLiteral("Spalte (0 = fehlt)"), this);
    auto *grid = new QGridLayout(columns);
    for (const ImportFieldInfo &f : importFields()) {
        const int i = static_cast<int>(f.field);
        auto *spin = new QSpinBox(columns);
        spin->setObjectName(QStringLiteral("spSpalte_") + QLatin1String(f.key));
        spin->setRange(0, 200);
        m_columns[static_cast<size_t>(i)] = spin;
        grid->addWidget(new QLabel(fieldLabel(f) + u':', columns), i % 8, (i / 8) * 2);
        grid->addWidget(spin, i % 8, (i / 8) * 2 + 1);
        connect(spin, &QSpinBox::valueChanged, this, &TdlgImportProfile::updatePreview);
    }
    for (QLineEdit *e : {m_name, m_quote, m_dateFormat, m_timeFormat})
        connect(e, &QLineEdit::textChanged, this, &TdlgImportProfile::updatePreview);
    connect(m_encoding, &QComboBox::currentIndexChanged, this, &TdlgImportProfile::updatePreview);
    connect(m_separator, &QComboBox::currentTextChanged, this, &TdlgImportProfile::updatePreview);
    connect(m_headerLines, &QSpinBox::valueChanged, this, &TdlgImportProfile::updatePreview);
    for (QCheckBox *c : {m_decimalComma, m_customerByKey})
        connect(c, &QCheckBox::toggled, this, &TdlgImportProfile::updatePreview);

    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("lblProblem"));
    m_problem->setWordWrap(true);
    m_preview = newListTable(this, {}, QStringLiteral("gridVorschau"));
    auto *sample = button(this, QStringLiteral("&Beispieldatei..."), QStringLiteral("btnBeispiel"));
    connect(sample, &QPushButton::clicked, this, [this] {
        const QString path = dialogs().chooseOpenFile(QStringLiteral("Beispiel-Export wählen"), QString(),
                                                      QStringLiteral("Exportdateien|*.csv *.txt *.tsv|Alle Dateien|*"), QString());
        if (!path.isEmpty())
            setSampleFile(path);
    });
    auto *save = button(this, QStringLiteral("&Sichern"), QStringLiteral("btnSichern"));
    connect(save, &QPushButton::clicked, this, &TdlgImportProfile::save);
    auto *close = button(this, QStringLiteral("S&chließen"), QStringLiteral("btnSchliessen"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(sample);
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(close);

    auto *right = new QVBoxLayout;
    auto *top = new QHBoxLayout;
    top->addLayout(form);
    top->addWidget(columns);
    right->addLayout(top);
    right->addWidget(m_problem);
    right->addWidget(new QLabel(QStringLiteral("Vorschau der ersten Zeilen:"), this));
    right->addWidget(m_preview, 1);
    right->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);
}

void TdlgImportProfile::reloadList(const QString &select)
{
    m_list->clear();
    m_list->addItems(storedProfileNames(m_database));
    const QList<QListWidgetItem *> found = m_list->findItems(select, Qt::MatchExactly);
    if (!found.isEmpty())
        m_list->setCurrentItem(found.first());
    else if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

void TdlgImportProfile::listChosen()
{
    if (!m_list->currentItem())
        return;
    QString error;
    if (const auto p = loadProfile(m_database, m_list->currentItem()->text(), &error))
        showProfile(*p);
    else
        dialogs().message(error, IDialogs::Icon::Error);
}

void TdlgImportProfile::showProfile(const TImportProfile &p)
{
    m_loading = true;
    m_name->setText(p.name);
    m_encoding->setCurrentIndex(m_encoding->findData(static_cast<int>(p.encoding)));
    m_separator->setCurrentText(p.separator == u'\t' ? kTab : QString(p.separator));
    m_quote->setText(QString(p.quote));
    m_decimalComma->setChecked(p.decimalComma);
    m_dateFormat->setText(p.dateFormat);
    m_timeFormat->setText(p.timeFormat);
    m_headerLines->setValue(p.headerLines);
    m_customerByKey->setChecked(p.customerByKey);
    for (size_t i = 0; i < m_columns.size(); ++i)
        m_columns[i]->setValue(p.columns[i]);
    m_loading = false;
    updatePreview();
}

TImportProfile TdlgImportProfile::profile() const
{
    TImportProfile p;
    p.name = m_name->text().trimmed();
    p.encoding = static_cast<TextEncoding>(m_encoding->currentData().toInt());
    const QString separator = m_separator->currentText();
    p.separator = separator == kTab ? QChar(u'\t') : separator.isEmpty() ? QChar() : separator.at(0);
    p.quote = m_quote->text().isEmpty() ? QChar(u'"') : m_quote->text().at(0);
    p.decimalComma = m_decimalComma->isChecked();
    p.dateFormat = m_dateFormat->text();
    p.timeFormat = m_timeFormat->text();
    p.headerLines = m_headerLines->value();
    p.customerByKey = m_customerByKey->isChecked();
    for (size_t i = 0; i < m_columns.size(); ++i)
        p.columns[i] = m_columns[i]->value();
    return p;
}

void TdlgImportProfile::setSampleFile(const QString &path)
{
    if (const std::optional<QByteArray> bytes = readFileShowingErrors(path, 64 * 1024)) { // the first rows are enough
        m_sample = *bytes;
        updatePreview();
    }
}

// The sample's first rows split as the form says; each column headed by
// its number and the field the profile reads from it.
void TdlgImportProfile::updatePreview()
{
    if (m_loading)
        return;
    const TImportProfile p = profile();
    const QString problem = p.problem();
    m_problem->setText(problem.isEmpty() ? QString() : QStringLiteral("Noch nicht verwendbar: ") + problem);
    QString error;
    const QList<QStringList> rows = m_sample.isEmpty() ? QList<QStringList>() : previewRows(p, m_sample, kPreviewRows, &error);
    if (!error.isEmpty())
        m_problem->setText(error);
    int width = p.lastColumn();
    for (const QStringList &r : rows)
        width = std::max(width, static_cast<int>(r.size()));
    QStringList headers;
    for (int c = 1; c <= width; ++c) {
        QStringList used;
        for (const ImportFieldInfo &f : importFields())
            if (p.column(f.field) == c)
                used << fieldLabel(f);
        headers << (used.isEmpty() ? QString::number(c) : QStringLiteral("%1: %2").arg(c).arg(used.join(QStringLiteral(", "))));
    }
    m_preview->clear();
    m_preview->setColumnCount(width);
    m_preview->setHorizontalHeaderLabels(headers);
    m_preview->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c) {
            auto *item = new QTableWidgetItem(rows[r][c]);
            if (r < p.headerLines)
                item->setForeground(Qt::gray); // skipped header lines
            m_preview->setItem(r, c, item);
        }
    m_preview->resizeColumnsToContents();
}

void TdlgImportProfile::save()
{
    const TImportProfile p = profile();
    if (showingErrors([&] { saveProfile(m_database, p); }))
        reloadList(p.name);
}

void TdlgImportProfile::remove()
{
    if (!m_list->currentItem())
        return;
    const QString name = m_list->currentItem()->text();
    if (dialogs().ask(QStringLiteral("Importprofil „%1“ löschen?").arg(name), IDialogs::Buttons::OkCancel) != IDialogs::Answer::Ok)
        return;
    if (showingErrors([&] { deleteProfile(m_database, name); }))
        reloadList();
}

void TdlgImportProfile::importJson()
{
    const QString path = dialogs().chooseOpenFile(QStringLiteral("Importprofil laden"), QString(),
                                                  QStringLiteral("Importprofile|*.json"), QStringLiteral("json"));
    if (path.isEmpty())
        return;
    const std::optional<QByteArray> bytes = readFileShowingErrors(path);
    if (!bytes)
        return;
    QString error;
    const auto p = TImportProfile::fromJsonText(*bytes, &error);
    if (!p) {
        dialogs().message(error, IDialogs::Icon::Error);
        return;
    }
    m_list->clearSelection();
    showProfile(*p); // shown, stored only on "Sichern"
}

void TdlgImportProfile::exportJson()
{
    const TImportProfile p = profile();
    if (const QString problem = p.problem(); !problem.isEmpty()) {
        dialogs().message(problem, IDialogs::Icon::Warning);
        return;
    }
    const QString path = dialogs().chooseSaveFile(QStringLiteral("Importprofil speichern"), p.name + QStringLiteral(".json"),
                                                  QStringLiteral("Importprofile|*.json"), QStringLiteral("json"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(p.toJsonText()) < 0 || !file.commit())
        dialogs().message(QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2").arg(path, file.errorString()),
                          IDialogs::Icon::Error);
}

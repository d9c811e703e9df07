#pragma once
#include "PageStream.h"
#include "PageWriter.h"
#include "ReportProject.h"
#include "ReportSelection.h"
#include <QElapsedTimer>
#include <QMainWindow>
#include <memory>

namespace Ui {
class TPreviewExt;
}
class TPreview;
class TfrmStatus;
class TDataSet;

// The report window: a report page by page on screen, printed or saved as
// PDF from the same pages. Mode 0 shows one inspection; mode 1 lets the
// user choose customer, report kind, devices and day or due date.
class TPreviewExt : public QMainWindow {
    Q_OBJECT
public:
    explicit TPreviewExt(QWidget *parent = nullptr);
    ~TPreviewExt() override;

    // Builds the window for a mode as the main window's "showBericht" does,
    // without showing it; null when the report project cannot be used.
    static std::unique_ptr<TPreviewExt> create(int mode, QWidget *parent);
    // The window over one fixed selection (the due list), without the
    // choice of customer and report; null when the project cannot be used.
    static std::unique_ptr<TPreviewExt> create(const TReportSelection &selection, const QString &title, QWidget *parent);

    void fillCbKunden();
    void fillLbPruefungen();
    bool SetReport(const QString &reportName = QStringLiteral("Pruefungen"));
    void ShowReport();
    void UpdateReport();
    void rbAuswahlClick(int tag);
    void rbAuswahlPrueflingeClick(int tag);
    void btnPrintClick();
    void btnSavePDFClick();
    // A protocol printed or saved as PDF is handed over: its inspections
    // are closed.
    void protocolsHandedOver();

    Ui::TPreviewExt *ui() const { return m_ui.get(); }
    TPreview *preview() const { return m_preview; }
    const TPageStream &InputStream() const { return m_stream; }
    QString ReportName;
    QString pdfFolder;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static std::unique_ptr<TPreviewExt> newWindow(const QString &title, QWidget *parent);
    // Opens the selection's record sets and shows its report; false when
    // the report project cannot be used.
    bool showSelection(const TReportSelection &selection);
    void FormCreate();
    void connectControls();
    void showProgress(const QString &text);
    std::optional<int> selectedCustomer() const;
    void clearPreview();

    std::unique_ptr<Ui::TPreviewExt> m_ui;
    TPreview *m_preview;
    TfrmStatus *FfrmStatus = nullptr;
    TReportProject m_project;
    bool m_projectOpen = false;
    QString m_projectError;
    TPageWriter m_writer;
    TPageStream m_stream;
    QElapsedTimer m_progressClock;
    bool m_generating = false;
    TReportSelection m_shown; // what the pages show, for the PDF's name
};

#include "DBNavButton.h"
#include "DataSet.h"
#include "Dialogs.h"
#include "EditingWindow.h"
#include <QApplication>
#include <QStyle>

void TDBNavDataLink::activeChanged() { FNavButton->activeChanged(); }
void TDBNavDataLink::dataSetChanged() { FNavButton->dataChanged(); }
void TDBNavDataLink::editingChanged() { FNavButton->editingChanged(); }

TDBNavButton::TDBNavButton(QWidget *parent) : QPushButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    resize(75, 25);
    setEnabled(false);
    setIcon(defaultPicture(FNavBtnStyle));
    connect(this, &QPushButton::clicked, this, [this] { BtnClick(); });
}

TDBNavButton::~TDBNavButton() = default;

void confirmAndDelete(TDataSet &dataSet, const QString &question)
{
    if (dataSet.beforeDelete)
        dataSet.beforeDelete(dataSet); // refuses with its message and EAbort
    if (dialogs().ask(question, IDialogs::Buttons::OkCancel) == IDialogs::Answer::Ok)
        dataSet.deleteRecord();
}

void TDBNavButton::followCondition(TDataSource *source)
{
    FConditionLink.onChange = [this] { refreshState(); };
    FConditionLink.setDataSource(source);
}

QString TDBNavButton::pictureName(TNavBtnStyle style)
{
    static const char *const names[] = {"FIRST",  "PRIOR", "NEXT", "LAST",   "APPEND", "INSERT",
                                        "DELETE", "EDIT",  "POST", "CANCEL", "REFRESH"};
    return QStringLiteral("DBNX_") + QString::fromLatin1(names[style]);
}

QIcon TDBNavButton::defaultPicture(TNavBtnStyle style)
{
    static const QStyle::StandardPixmap pixmaps[] = {
        QStyle::SP_MediaSkipBackward, QStyle::SP_MediaSeekBackward, QStyle::SP_MediaSeekForward,
        QStyle::SP_MediaSkipForward,  QStyle::SP_FileDialogNewFolder, QStyle::SP_FileIcon,
        QStyle::SP_TrashIcon,         QStyle::SP_FileDialogDetailedView, QStyle::SP_DialogApplyButton,
        QStyle::SP_DialogCancelButton, QStyle::SP_BrowserReload};
    return QApplication::style()->standardIcon(pixmaps[style]);
}

void TDBNavButton::setDataSource(TDataSource *source)
{
    FDataLink.setDataSource(source); // tells activeChanged, which sets the state
}

void TDBNavButton::setButtonStyle(TNavBtnStyle style)
{
    FNavBtnStyle = style;
    if (!FHasOwnPicture)
        setIcon(defaultPicture(style));
    activeChanged();
}

bool TDBNavButton::canModify() const
{
    const TDataSet *d = FDataLink.dataSet();
    return d && d->active() && d->canModify();
}

void TDBNavButton::activeChanged()
{
    if (!FDataLink.active()) {
        applyEnabled(false);
        return;
    }
    dataChanged();
    editingChanged();
}

void TDBNavButton::dataChanged()
{
    const TDataSet *d = FDataLink.dataSet();
    const bool active = FDataLink.active();
    switch (FNavBtnStyle) {
    case nbsFirst:
    case nbsPrior:
        applyEnabled(active && !d->bof());
        break;
    case nbsNext:
    case nbsLast:
        applyEnabled(active && !d->eof());
        break;
    case nbsDelete:
        applyEnabled(canModify() && !d->isEmpty());
        break;
    default:
        editingChanged(); // the owner's condition may depend on the rows
        break;
    }
}

void TDBNavButton::editingChanged()
{
    const bool editing = FDataLink.editing();
    switch (FNavBtnStyle) {
    case nbsAppend:
    case nbsInsert:
    case nbsRefresh:
        applyEnabled(canModify());
        break;
    case nbsEdit:
        applyEnabled(canModify() && !editing);
        break;
    case nbsPost:
    case nbsCancel:
        applyEnabled(canModify() && editing);
        break;
    default:
        break;
    }
}

void TDBNavButton::BtnClick()
{
    TDataSource *source = DataSource();
    if (source && source->dataSet() && source->state() != TDataSetState::Inactive) {
        const bool startsRow = FNavBtnStyle == nbsAppend || FNavBtnStyle == nbsInsert;
        if (startsRow && AskAboutUnfinishedRow && !mayCloseEditing(*source->dataSet()))
            return;
        if (BeforeAction)
            BeforeAction(this);
        TDataSet *d = source->dataSet();
        switch (FNavBtnStyle) {
        case nbsFirst: d->first(); break;
        case nbsPrior: d->prior(); break;
        case nbsNext: d->next(); break;
        case nbsLast: d->last(); break;
        case nbsAppend: d->append(); break;
        case nbsInsert: d->insert(); break;
        case nbsEdit:
            if (!d->isEmpty()) // editing nothing would start a new row
                d->edit();
            break;
        case nbsPost: d->post(); break;
        case nbsCancel: d->cancel(); break;
        case nbsRefresh: d->refresh(); break;
        case nbsDelete:
            if (ConfirmDelete)
                confirmAndDelete(*d, DeleteQuestion ? DeleteQuestion() : QStringLiteral("Datensatz löschen?"));
            else
                d->deleteRecord();
            break;
        }
    }
    if (OnClick)
        OnClick(this);
}

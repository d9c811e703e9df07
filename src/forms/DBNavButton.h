#pragma once
#include "DataSource.h"
#include <QPushButton>
#include <functional>

enum TNavBtnStyle { nbsFirst, nbsPrior, nbsNext, nbsLast, nbsAppend, nbsInsert, nbsDelete, nbsEdit, nbsPost, nbsCancel, nbsRefresh };

class TDBNavButton;

// Deletes the current row after asking question (OK deletes). The record
// set's own refusal (beforeDelete) comes first: a row that may not go is
// refused before the user is asked.
void confirmAndDelete(TDataSet &dataSet, const QString &question);

using ENavBtnClick = std::function<void(TDBNavButton *sender)>;

// Hears the record set behind the button's data source.
class TDBNavDataLink : public TDataLink {
public:
    explicit TDBNavDataLink(TDBNavButton *button) : FNavButton(button) {}
    void activeChanged() override;
    void dataSetChanged() override;
    void editingChanged() override;

private:
    TDBNavButton *FNavButton;
};

// A push button fixed to one record-set action (first, next, append, edit,
// post, delete, …) on the record set behind its data source. It enables
// itself from that record set's state and never takes the keyboard focus.
class TDBNavButton : public QPushButton {
    Q_OBJECT
public:
    explicit TDBNavButton(QWidget *parent = nullptr);
    ~TDBNavButton() override;

    TDataSource *DataSource() const { return FDataLink.dataSource(); }
    void setDataSource(TDataSource *source);
    TNavBtnStyle ButtonStyle() const { return FNavBtnStyle; }
    void setButtonStyle(TNavBtnStyle style);
    bool ConfirmDelete = true;
    // The delete question, naming the record; "Datensatz löschen?" without.
    std::function<QString()> DeleteQuestion;
    // Append and insert first ask about a row that is still being edited
    // (store, drop, or go on editing it) instead of storing it silently.
    bool AskAboutUnfinishedRow = false;
    ENavBtnClick BeforeAction;
    ENavBtnClick OnClick;
    // A further condition of the owner's for being enabled (for example: a
    // customer is selected). Checked with every state change.
    std::function<bool()> OnEnabledCheck;
    void refreshState() { activeChanged(); }
    // The enabled check reads another record set too (a new inspection
    // needs a stored device): re-check it whenever that one changes,
    // most of all when its new row is posted.
    void followCondition(TDataSource *source);
    // A picture of the button's own instead of the style's default.
    void setPicture(const QIcon &icon)
    {
        FHasOwnPicture = true;
        setIcon(icon);
    }

    // The click action; a derived button may replace it.
    virtual void BtnClick();

    // The default picture of a style ("dbnx_" and the style's name).
    static QIcon defaultPicture(TNavBtnStyle style);
    static QString pictureName(TNavBtnStyle style);

private:
    friend class TDBNavDataLink;
    void activeChanged();
    void dataChanged();
    void editingChanged();
    bool canModify() const;
    void applyEnabled(bool enabled) { setEnabled(enabled && (!OnEnabledCheck || OnEnabledCheck())); }

    TDBNavDataLink FDataLink{this};
    TChangeLink FConditionLink;
    TNavBtnStyle FNavBtnStyle = nbsFirst;
    bool FHasOwnPicture = false;
};

#pragma once
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class TDataSet;
class TDataLink;
class TField;
enum class TDataSetState;

// What a record set tells the data sources bound to it.
enum class TDataEvent { ActiveChanged, DataSetChanged, DataSetScrolled, RecordChanged, EditingChanged, UpdateData };

// Connects controls, buttons and detail record sets to one record set, which
// can be switched while they stay bound.
class TDataSource : public QObject {
    Q_OBJECT
public:
    explicit TDataSource(QObject *parent = nullptr, TDataSet *dataSet = nullptr);
    ~TDataSource() override;

    TDataSet *dataSet() const;
    void setDataSet(TDataSet *dataSet);
    TDataSetState state() const;

    // After every change of the record set's state (open, close, edit,
    // insert, browse).
    std::function<void(TDataSource &)> onStateChange;
    // After a move, a change of rows, or a change of a field (field given).
    std::function<void(TDataSource &, TField *)> onDataChange;

    void addLink(TDataLink *link);
    void removeLink(TDataLink *link);
    void notify(TDataEvent event, TField *field = nullptr);

private:
    QPointer<TDataSet> m_dataSet;
    QList<TDataLink *> m_links;
};

// The owner's end of a data source: overridden by controls, buttons and
// detail record sets to hear what the record set does.
class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink &) = delete;
    TDataLink &operator=(const TDataLink &) = delete;

    TDataSource *dataSource() const { return m_source; }
    void setDataSource(TDataSource *source);
    TDataSet *dataSet() const;
    bool active() const;  // the record set is open
    bool editing() const; // in edit or insert state
    // Starts editing the current row if the record set allows changes.
    bool edit();

    virtual void activeChanged() {}
    virtual void dataSetChanged() {}
    virtual void dataSetScrolled() { dataSetChanged(); }
    virtual void recordChanged([[maybe_unused]] TField *field) {}
    virtual void editingChanged() {}
    virtual void updateData() {} // write pending input into the record

private:
    friend class TDataSource;
    void dispatch(TDataEvent event, TField *field);
    QPointer<TDataSource> m_source;
};

// A link for owners that only re-check a condition: calls one function after
// every change of the record set's state, rows or position.
class TChangeLink : public TDataLink {
public:
    std::function<void()> onChange;
    void activeChanged() override { changed(); }
    void dataSetChanged() override { changed(); }
    void editingChanged() override { changed(); }

private:
    void changed()
    {
        if (onChange)
            onChange();
    }
};

#include "DBLookupComboBox.h"
#include "DataSet.h"

// Hears the list source: any change of its rows fills the list again.
class TDBLookupComboBox::ListLink : public TDataLink {
public:
    explicit ListLink(TDBLookupComboBox *owner) : m_owner(owner) {}
    void activeChanged() override { m_owner->fillList(); }
    void dataSetChanged() override { m_owner->fillList(); }
    void dataSetScrolled() override {} // the list reads rows without moving
    void recordChanged(TField *) override { m_owner->fillList(); }
    void editingChanged() override { m_owner->fillList(); }

private:
    TDBLookupComboBox *m_owner;
};

TDBLookupComboBox::TDBLookupComboBox(QWidget *parent)
    : TFieldPickBox(parent), m_listLink(std::make_unique<ListLink>(this))
{
    m_link.onDataChange = [this] { showValue(); };
}

TDBLookupComboBox::~TDBLookupComboBox() = default;

TDataSource *TDBLookupComboBox::listSource() const { return m_listLink->dataSource(); }
void TDBLookupComboBox::setListSource(TDataSource *source) { m_listLink->setDataSource(source); }

void TDBLookupComboBox::setKeyField(const QString &name)
{
    m_keyField = name;
    fillList();
}

void TDBLookupComboBox::setListField(const QString &name)
{
    m_listField = name;
    fillList();
}

void TDBLookupComboBox::fillList()
{
    clear();
    m_keys.clear();
    TDataSet *list = m_listLink->dataSet();
    if (list && list->active()) {
        const TField *key = m_keyField.isEmpty() ? nullptr : list->findField(m_keyField);
        const TField *shown = m_listField.isEmpty() ? key : list->findField(m_listField);
        if (key && shown) {
            const int rows = list->recordCount();
            m_keys.reserve(static_cast<size_t>(rows));
            for (int row = 0; row < rows; ++row) {
                addItem(shown->displayTextOf(list->valueAt(row, shown)));
                m_keys.push_back(list->valueAt(row, key));
            }
        }
    }
    showValue();
}

void TDBLookupComboBox::showValue()
{
    const TField *f = m_link.field();
    int found = -1;
    if (f && !f->isNull()) {
        const TValue &value = f->value();
        for (size_t i = 0; i < m_keys.size() && found < 0; ++i) {
            TValue key = m_keys[i];
            try {
                key = f->normalized(key); // an integer key against a decimal field and the like
            } catch (...) {
                continue;
            }
            if (key == value)
                found = static_cast<int>(i);
        }
    }
    setCurrentIndex(found);
}

TValue TDBLookupComboBox::currentKey() const
{
    const int index = currentIndex();
    return index >= 0 && static_cast<size_t>(index) < m_keys.size() ? m_keys[static_cast<size_t>(index)] : TValue();
}

bool TDBLookupComboBox::writeItem(int index)
{
    return index >= 0 && static_cast<size_t>(index) < m_keys.size() &&
           m_link.writeValue(m_keys[static_cast<size_t>(index)]) == TFieldDataLink::WriteResult::Written;
}
